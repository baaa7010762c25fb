#include "platform/forms/property_kinds.h"

#include <QStringList>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/core/component.h"
#include "platform/core/exceptions.h"
#include "platform/core/types.h"
#include "platform/forms/color_idents.h"

static_assert(std::endian::native == std::endian::little,
              "integer values are copied into meta-typed storage by their low bytes");

namespace {

struct IntegerShape {
  int bits = 0;
  bool isSigned = true;
};

bool IntegerShapeOf(QMetaType type, IntegerShape& shape) {
  switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
      shape = {int(type.sizeOf()) * 8, true};
      return true;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
      shape = {int(type.sizeOf()) * 8, false};
      return true;
    default:
      return false;
  }
}

// An integer as written: optional minus, then decimal digits or "$" and hex
// digits. `magnitude` holds the absolute value.
struct IntegerText {
  bool negative = false;
  bool hex = false;
  quint64 magnitude = 0;
};

bool ParseIntegerText(const QString& text, IntegerText& out) {
  qsizetype i = 0;
  if (i < text.size() && text[i] == u'-') {
    out.negative = true;
    ++i;
  }
  if (i < text.size() && text[i] == u'$') {
    out.hex = true;
    ++i;
  }
  if (i >= text.size()) return false;
  const quint64 base = out.hex ? 16 : 10;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    int digit;
    if (c >= u'0' && c <= u'9')
      digit = c.unicode() - u'0';
    else if (out.hex && c >= u'a' && c <= u'f')
      digit = c.unicode() - u'a' + 10;
    else if (out.hex && c >= u'A' && c <= u'F')
      digit = c.unicode() - u'A' + 10;
    else
      return false;
    if (out.magnitude > (std::numeric_limits<quint64>::max() - quint64(digit)) / base) return false;
    out.magnitude = out.magnitude * base + quint64(digit);
  }
  return true;
}

// Fits a written integer into `shape`, giving its bit pattern. A hex number
// may spell a negative value of the type in two's complement ($FFFFFFFF = -1
// for a 32-bit signed property), as colours and masks are usually written.
bool FitInteger(const IntegerText& n, IntegerShape shape, quint64& bits) {
  const quint64 full =
      shape.bits >= 64 ? std::numeric_limits<quint64>::max() : (quint64(1) << shape.bits) - 1;
  if (shape.isSigned) {
    const quint64 maxPositive = full >> 1;
    if (n.negative) {
      if (n.magnitude > maxPositive + 1) return false;
      bits = quint64(0) - n.magnitude;
      return true;
    }
    if (n.magnitude <= maxPositive || (n.hex && n.magnitude <= full)) {
      bits = n.magnitude;
      return true;
    }
    return false;
  }
  if (n.negative) {
    bits = 0;
    return n.magnitude == 0;
  }
  bits = n.magnitude;
  return n.magnitude <= full;
}

// Signed value of integer-like storage (built-in integers and enumerations).
qint64 StoredInteger(const QVariant& value) {
  const QMetaType type = value.metaType();
  const bool isUnsigned = (type.flags() & QMetaType::IsUnsignedEnumeration) || type.id() == QMetaType::UInt ||
                          type.id() == QMetaType::ULong || type.id() == QMetaType::UShort ||
                          type.id() == QMetaType::UChar;
  const void* data = value.constData();
  switch (type.sizeOf()) {
    case 1: {
      quint8 v;
      std::memcpy(&v, data, 1);
      return isUnsigned ? qint64(v) : qint64(qint8(v));
    }
    case 2: {
      quint16 v;
      std::memcpy(&v, data, 2);
      return isUnsigned ? qint64(v) : qint64(qint16(v));
    }
    case 4: {
      quint32 v;
      std::memcpy(&v, data, 4);
      return isUnsigned ? qint64(v) : qint64(qint32(v));
    }
    case 8: {
      qint64 v;
      std::memcpy(&v, data, 8);
      return v;
    }
    default:
      return 0;
  }
}

QVariant IntegerVariant(QMetaType type, quint64 bits) {
  // Little-endian: the first sizeOf() bytes of the 64-bit pattern are the value.
  return QVariant(type, &bits);
}

QString ShortTypeName(const QMetaEnum& e) {
  return QString::fromLatin1(e.name());
}

bool FindEnumKey(const QMetaEnum& e, const QString& key, int& value) {
  for (int i = 0; i < e.keyCount(); ++i) {
    if (key.compare(QLatin1String(e.key(i)), Qt::CaseInsensitive) == 0) {
      value = e.value(i);
      return true;
    }
  }
  return false;
}

bool IsDeclaredEnumValue(const QMetaEnum& e, qint64 value) {
  for (int i = 0; i < e.keyCount(); ++i)
    if (e.value(i) == value) return true;
  return false;
}

quint64 FlagMask(const QMetaEnum& e) {
  quint64 mask = 0;
  for (int i = 0; i < e.keyCount(); ++i) mask |= quint32(e.value(i));
  return mask;
}

// The enumerator of an enum or flags type that moc could not attach to the
// property (a type named without its namespace in the declaration): look it up
// in the meta object that declares the type.
bool FindEnumeratorOfType(QMetaType type, bool& isFlags, QMetaEnum& out) {
  const QMetaObject* scope = type.metaObject();
  if (!scope) return false;
  QByteArray name(type.name());
  isFlags = name.startsWith("QFlags<") && name.endsWith('>');
  if (isFlags) name = name.mid(7, name.size() - 8);
  const qsizetype colons = name.lastIndexOf("::");
  if (colons >= 0) name = name.mid(colons + 2);
  for (int i = 0; i < scope->enumeratorCount(); ++i) {
    const QMetaEnum e = scope->enumerator(i);
    if (e.isFlag() == isFlags && name == e.enumName()) {
      out = e;
      return true;
    }
  }
  return false;
}

[[noreturn]] void Invalid(const TFormValue& value, const QString& what) {
  throw EConvertError(QStringLiteral("%1 is not a valid %2").arg(value.raw, what));
}

quint64 ParseIntegerFor(const TFormValue& value, IntegerShape shape, const QString& what) {
  IntegerText n;
  if (value.type != TFormValue::Type::Integer || !ParseIntegerText(value.text, n)) Invalid(value, what);
  quint64 bits = 0;
  if (!FitInteger(n, shape, bits)) throw EConvertError(QStringLiteral("%1 is out of range").arg(value.raw));
  return bits;
}

template <typename F>
QVariant ParseFloat(const TFormValue& value) {
  if (value.type != TFormValue::Type::Integer && value.type != TFormValue::Type::Float)
    Invalid(value, QStringLiteral("floating point value"));
  const QByteArray text = value.text.toLatin1();
  F result{};
  const auto [end, error] = std::from_chars(text.constData(), text.constData() + text.size(), result);
  if (error == std::errc::result_out_of_range)
    throw EConvertError(QStringLiteral("%1 is out of range").arg(value.raw));
  if (error != std::errc() || end != text.constData() + text.size())
    Invalid(value, QStringLiteral("floating point value"));
  // Zero has one value, +0: a setter that returns early on an equal value
  // could not store -0 over 0, so keeping the sign would make what a
  // description sets depend on what the property held before.
  if (result == 0) result = 0;
  return QVariant::fromValue(result);
}

template <typename F>
QString FormatFloat(F value) {
  if (!std::isfinite(value))
    throw EConvertError(QStringLiteral("A value that is not finite cannot be stored"));
  if (value == 0) value = 0;  // -0 is written as 0, as the reader reads it
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString Indentation(int indent) {
  return QString(indent, u' ');
}

}  // namespace

int FirstPublishedProperty() {
  return QObject::staticMetaObject.propertyCount();
}

bool FindPublishedProperty(const QMetaObject* meta, QStringView name, QMetaProperty& property) {
  const int first = FirstPublishedProperty();
  const int exact = meta->indexOfProperty(name.toLatin1().constData());
  if (exact >= first) {
    property = meta->property(exact);
    return true;
  }
  for (int i = meta->propertyCount() - 1; i >= first; --i) {
    const QMetaProperty candidate = meta->property(i);
    if (name.compare(QLatin1String(candidate.name()), Qt::CaseInsensitive) == 0) {
      property = candidate;
      return true;
    }
  }
  return false;
}

TPropertyInfo DescribeProperty(const QMetaProperty& property) {
  TPropertyInfo info;
  info.property = property;
  const QMetaType type = property.metaType();
  if (const TEventTypeInfo* event = FindEventType(type)) {
    info.kind = TPropertyKind::Event;
    info.event = event;
    return info;
  }
  if (type.flags() & QMetaType::PointerToQObject) {
    info.pointee = type.metaObject();
    if (!info.pointee) return info;
    if (property.isWritable() && info.pointee->inherits(&TComponent::staticMetaObject))
      info.kind = TPropertyKind::Reference;
    else if (info.pointee->inherits(&TPersistent::staticMetaObject))
      info.kind = TPropertyKind::Object;
    return info;
  }
  if (type == QMetaType::fromType<TColor>()) {
    info.kind = TPropertyKind::Color;
    return info;
  }
  if (property.isEnumType() && property.enumerator().isValid()) {
    info.enumerator = property.enumerator();
    info.kind = property.isFlagType() ? TPropertyKind::Set : TPropertyKind::Enumeration;
    return info;
  }
  if (type.flags() & QMetaType::IsEnumeration) {
    bool isFlags = false;
    if (FindEnumeratorOfType(type, isFlags, info.enumerator))
      info.kind = isFlags ? TPropertyKind::Set : TPropertyKind::Enumeration;
    return info;
  }
  IntegerShape shape;
  if (IntegerShapeOf(type, shape)) {
    info.kind = TPropertyKind::Integer;
    return info;
  }
  switch (type.id()) {
    case QMetaType::Bool:
      info.kind = TPropertyKind::Boolean;
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      info.kind = TPropertyKind::Float;
      break;
    case QMetaType::QString:
      info.kind = TPropertyKind::String;
      break;
    case QMetaType::QStringList:
      info.kind = TPropertyKind::StringList;
      break;
    case QMetaType::QByteArray:
      info.kind = TPropertyKind::Binary;
      break;
    default:
      break;
  }
  return info;
}

QVariant ValueToVariant(const TPropertyInfo& info, const TFormValue& value) {
  const QMetaType type = info.property.metaType();
  using Type = TFormValue::Type;
  switch (info.kind) {
    case TPropertyKind::Boolean:
      if (value.type == Type::Ident) {
        if (value.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return QVariant(true);
        if (value.text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return QVariant(false);
      }
      Invalid(value, QStringLiteral("boolean value"));
    case TPropertyKind::Integer: {
      IntegerShape shape;
      IntegerShapeOf(type, shape);
      return IntegerVariant(type, ParseIntegerFor(value, shape, QStringLiteral("integer value")));
    }
    case TPropertyKind::Float:
      if (type.id() == QMetaType::Float) return ParseFloat<float>(value);
      return ParseFloat<double>(value);
    case TPropertyKind::String:
      if (value.type != Type::String) Invalid(value, QStringLiteral("string value"));
      return QVariant(value.text);
    case TPropertyKind::StringList:
      if (value.type != Type::List) Invalid(value, QStringLiteral("string list"));
      return QVariant(value.items);
    case TPropertyKind::Binary:
      if (value.type != Type::Binary) Invalid(value, QStringLiteral("binary value"));
      return QVariant(value.bytes);
    case TPropertyKind::Color: {
      if (value.type == Type::Ident) {
        TColor color;
        if (!IdentToColor(value.text, color)) Invalid(value, QStringLiteral("colour value"));
        return QVariant::fromValue(color);
      }
      const quint64 bits = ParseIntegerFor(value, {32, true}, QStringLiteral("colour value"));
      return QVariant::fromValue(TColor(int32_t(quint32(bits))));
    }
    case TPropertyKind::Enumeration: {
      const QString what = ShortTypeName(info.enumerator) + QStringLiteral(" value");
      int key = 0;
      if (value.type == Type::Ident) {
        if (!FindEnumKey(info.enumerator, value.text, key)) Invalid(value, what);
        return IntegerVariant(type, quint64(qint64(key)));
      }
      const quint64 bits = ParseIntegerFor(value, {int(type.sizeOf()) * 8, true}, what);
      // Sign-extend the pattern before comparing with the declared values.
      const qint64 ordinal = type.sizeOf() >= 8
                                 ? qint64(bits)
                                 : qint64(bits << (64 - type.sizeOf() * 8)) >> (64 - type.sizeOf() * 8);
      if (!IsDeclaredEnumValue(info.enumerator, ordinal) &&
          !IsDeclaredEnumValue(info.enumerator, qint64(bits)))
        throw EConvertError(
            QStringLiteral("%1 is out of range for %2").arg(value.raw, ShortTypeName(info.enumerator)));
      return IntegerVariant(type, bits);
    }
    case TPropertyKind::Set: {
      const QString what = ShortTypeName(info.enumerator) + QStringLiteral(" value");
      quint64 bits = 0;
      if (value.type == Type::Set) {
        for (const QString& element : value.items) {
          int flag = 0;
          if (!FindEnumKey(info.enumerator, element, flag))
            throw EConvertError(QStringLiteral("%1 is not a valid element of %2")
                                    .arg(element, ShortTypeName(info.enumerator)));
          bits |= quint32(flag);
        }
      } else {
        bits = ParseIntegerFor(value, {int(type.sizeOf()) * 8, false}, what);
        if (bits & ~FlagMask(info.enumerator))
          throw EConvertError(
              QStringLiteral("%1 is out of range for %2").arg(value.raw, ShortTypeName(info.enumerator)));
      }
      return IntegerVariant(type, bits);
    }
    default:
      throw EConvertError(QStringLiteral("Property %1 has a type (%2) that form descriptions cannot hold")
                              .arg(QLatin1String(info.property.name()), QLatin1String(type.name())));
  }
}

namespace {
// Printable characters go into the quotes as they are; line and paragraph
// separators would break lines in editors, so they get codes like controls.
bool WrittenAsIs(char32_t code) {
  if (code < 32 || !QChar::isPrint(code)) return false;
  const QChar::Category category = QChar::category(code);
  return category != QChar::Separator_Line && category != QChar::Separator_Paragraph;
}
}  // namespace

QString QuoteString(const QString& text) {
  if (text.isEmpty()) return QStringLiteral("''");
  QString out;
  bool quoted = false;
  auto openQuote = [&] {
    if (!quoted) out.append(u'\'');
    quoted = true;
  };
  auto closeQuote = [&] {
    if (quoted) out.append(u'\'');
    quoted = false;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
      if (WrittenAsIs(code)) {
        openQuote();
        out.append(c).append(text[i + 1]);
      } else {
        closeQuote();
        out.append(u'#').append(QString::number(code));
      }
      ++i;
      continue;
    }
    if (!c.isSurrogate() && WrittenAsIs(c.unicode())) {
      openQuote();
      out.append(c);
      if (c == u'\'') out.append(c);
    } else {
      closeQuote();
      out.append(u'#').append(QString::number(c.unicode()));
    }
  }
  closeQuote();
  return out;
}

QString FormatVariant(const TPropertyInfo& info, const QVariant& value, int indent) {
  const QMetaType type = info.property.metaType();
  switch (info.kind) {
    case TPropertyKind::Boolean:
      return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TPropertyKind::Integer: {
      IntegerShape shape;
      IntegerShapeOf(type, shape);
      if (!shape.isSigned && shape.bits == 64) return QString::number(value.toULongLong());
      return QString::number(StoredInteger(value));
    }
    case TPropertyKind::Float:
      if (type.id() == QMetaType::Float) return FormatFloat(value.value<float>());
      return FormatFloat(value.toDouble());
    case TPropertyKind::String:
      return QuoteString(value.toString());
    case TPropertyKind::StringList: {
      const QStringList items = value.toStringList();
      if (items.isEmpty()) return QStringLiteral("()");
      QString out = QStringLiteral("(\n");
      for (const QString& item : items) out += Indentation(indent + 2) + QuoteString(item) + u'\n';
      return out + Indentation(indent) + u')';
    }
    case TPropertyKind::Binary: {
      const QByteArray bytes = value.toByteArray();
      if (bytes.isEmpty()) return QStringLiteral("{}");
      constexpr qsizetype kBytesPerLine = 32;
      QString out = QStringLiteral("{\n");
      for (qsizetype at = 0; at < bytes.size(); at += kBytesPerLine)
        out += Indentation(indent + 2) + QString::fromLatin1(bytes.mid(at, kBytesPerLine).toHex().toUpper()) +
               u'\n';
      return out + Indentation(indent) + u'}';
    }
    case TPropertyKind::Color:
      return ColorToString(value.value<TColor>());
    case TPropertyKind::Enumeration: {
      const qint64 ordinal = StoredInteger(value);
      if (ordinal >= std::numeric_limits<int>::min() && ordinal <= std::numeric_limits<int>::max())
        if (const char* key = info.enumerator.valueToKey(int(ordinal))) return QString::fromLatin1(key);
      return QString::number(ordinal);
    }
    case TPropertyKind::Set: {
      const quint64 bits = quint64(StoredInteger(value)) &
                           (type.sizeOf() >= 8 ? ~quint64(0) : (quint64(1) << (type.sizeOf() * 8)) - 1);
      QStringList names;
      quint64 covered = 0;
      for (int i = 0; i < info.enumerator.keyCount(); ++i) {
        const quint64 flag = quint32(info.enumerator.value(i));
        if (flag != 0 && std::has_single_bit(flag) && (bits & flag) == flag && !(covered & flag)) {
          names.append(QLatin1String(info.enumerator.key(i)));
          covered |= flag;
        }
      }
      if (covered != bits) return QString::number(bits);  // bits without a name
      return u'[' + names.join(QStringLiteral(", ")) + u']';
    }
    default:
      throw EConvertError(QStringLiteral("Property %1 has a type (%2) that form descriptions cannot hold")
                              .arg(QLatin1String(info.property.name()), QLatin1String(type.name())));
  }
}

QObject* ObjectFromVariant(const QVariant& value) {
  if (!(value.metaType().flags() & QMetaType::PointerToQObject)) return nullptr;
  return *static_cast<QObject* const*>(value.constData());
}

QVariant VariantFromObject(QMetaType type, QObject* object) {
  return QVariant(type, &object);
}
