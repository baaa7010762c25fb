#include "platform/forms/form_writer.h"

#include <QHash>
#include <QMetaMethod>
#include <algorithm>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/forms/form_parser.h"
#include "platform/forms/property_kinds.h"

namespace {

// Nested objects deeper than this are not written: a property chain that
// long can only be a cycle through objects that point back at each other.
constexpr int kMaxObjectDepth = 16;

class FormWriter {
 public:
  explicit FormWriter(TComponent* root) : root_(root) {}

  QString Write() {
    PlaceComponents();
    WriteComponent(root_, 0);
    return out_;
  }

 private:
  // Decides in which block each named owned component goes: inside the block
  // of its visual parent when that is written too, else in the root's block.
  void PlaceComponents() {
    std::vector<TComponent*> named;
    for (int i = 0; i < root_->ComponentCount(); ++i)
      if (!root_->Components(i)->Name().isEmpty()) named.push_back(root_->Components(i));
    QHash<TComponent*, TComponent*> placedIn;
    for (TComponent* component : named) {
      TComponent* parent = component->HasParent() ? component->GetParentComponent() : nullptr;
      const bool written =
          parent && parent != root_ && std::find(named.begin(), named.end(), parent) != named.end();
      placedIn.insert(component, written ? parent : root_);
    }
    // Parents that contain each other would never be reached from the root.
    for (TComponent* component : named) {
      TComponent* at = placedIn.value(component);
      for (size_t steps = 0; at != root_; ++steps) {
        if (steps > named.size()) {
          placedIn.insert(component, root_);
          break;
        }
        at = placedIn.value(at);
      }
    }
    for (TComponent* component : named) children_[placedIn.value(component)].push_back(component);
  }

  void Line(int indent, const QString& text) {
    out_ += QString(indent * 2, u' ');
    out_ += text;
    out_ += u'\n';
  }

  void WriteComponent(TComponent* component, int indent) {
    const QString header = component->Name().isEmpty()
                               ? component->ClassName()
                               : component->Name() + QStringLiteral(": ") + component->ClassName();
    Line(indent, QStringLiteral("object ") + header);
    WriteProperties(component, QString(), indent + 1, 0);
    for (TComponent* child : children_.value(component)) WriteComponent(child, indent + 1);
    Line(indent, QStringLiteral("end"));
  }

  [[noreturn]] void Error(QObject* object, const QString& path, const QString& message) const {
    throw EWriteError(
        QStringLiteral("%1.%2: %3").arg(QLatin1String(object->metaObject()->className()), path, message));
  }

  bool StoredByMethod(QObject* object, const QMetaProperty& property, const QString& path) {
    const QMetaObject* meta = object->metaObject();
    const int info = meta->indexOfClassInfo(QByteArray("stored:") + property.name());
    if (info < 0) return true;
    const QByteArray method = QByteArray(meta->classInfo(info).value()) + "()";
    const int index = meta->indexOfMethod(method.constData());
    bool stored = true;
    if (index < 0 || meta->method(index).returnMetaType() != QMetaType::fromType<bool>() ||
        !meta->method(index).invoke(object, Qt::DirectConnection, Q_RETURN_ARG(bool, stored)))
      Error(object, path, QStringLiteral("no invokable method %1 returning bool").arg(QLatin1String(method)));
    return stored;
  }

  // Whether `text` (the value as it would be written) equals the default the
  // object's class declares for the property.
  bool IsDefault(QObject* object, const TPropertyInfo& info, const QVariant& value, const QString& path) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfClassInfo(QByteArray("default:") + info.property.name());
    if (index < 0) return false;
    const QString declared = QString::fromUtf8(meta->classInfo(index).value());
    try {
      TFormParser parser(declared);
      const TFormValue parsed = parser.ParseValue();
      if (parser.Lexer().Peek().kind != TFormTokenKind::End)
        throw TFormSyntaxError{1, 1, QString(), QString()};
      return FormatVariant(info, ValueToVariant(info, parsed), 0) == FormatVariant(info, value, 0);
    } catch (const TFormSyntaxError&) {
    } catch (const EConvertError&) {
    }
    Error(object, path, QStringLiteral("the declared default '%1' is not a valid value").arg(declared));
  }

  void WriteProperties(QObject* object, const QString& prefix, int indent, int depth) {
    if (depth > kMaxObjectDepth || std::find(visiting_.begin(), visiting_.end(), object) != visiting_.end())
      return;
    visiting_.push_back(object);
    const QMetaObject* meta = object->metaObject();
    const bool isComponent = qobject_cast<TComponent*>(object) != nullptr;
    for (int i = FirstPublishedProperty(); i < meta->propertyCount(); ++i) {
      const QMetaProperty property = meta->property(i);
      if (meta->indexOfProperty(property.name()) != i) continue;  // redeclared further down
      const QString name = QLatin1String(property.name());
      if (isComponent && name == QLatin1String("Name")) continue;
      const QString path = prefix + name;
      if (!property.isStored() || !property.isReadable() || !StoredByMethod(object, property, path)) continue;
      const TPropertyInfo info = DescribeProperty(property);
      const QVariant value = property.read(object);
      switch (info.kind) {
        case TPropertyKind::Unsupported:
          break;
        case TPropertyKind::Object:
          if (QObject* nested = ObjectFromVariant(value))
            WriteProperties(nested, path + u'.', indent, depth + 1);
          break;
        case TPropertyKind::Event: {
          if (!property.isWritable() || value.metaType() != property.metaType()) break;
          const QByteArray method = info.event->methodName(value.constData());
          if (!method.isEmpty()) Line(indent, path + QStringLiteral(" = ") + QLatin1String(method));
          break;
        }
        case TPropertyKind::Reference: {
          auto* target = qobject_cast<TComponent*>(ObjectFromVariant(value));
          if (target && !target->Name().isEmpty() && (target == root_ || target->Owner() == root_))
            Line(indent, path + QStringLiteral(" = ") + target->Name());
          break;
        }
        default: {
          if (!property.isWritable() || IsDefault(object, info, value, path)) break;
          QString text;
          try {
            text = FormatVariant(info, value, indent * 2);
          } catch (const EConvertError& e) {
            Error(object, path, e.Message());
          }
          Line(indent, path + QStringLiteral(" = ") + text);
          break;
        }
      }
    }
    visiting_.pop_back();
  }

  TComponent* root_;
  QString out_;
  QHash<TComponent*, std::vector<TComponent*>> children_;
  std::vector<QObject*> visiting_;
};

}  // namespace

QString WriteComponentToText(TComponent* root) {
  if (!root) throw EWriteError(QStringLiteral("No component to write"));
  return FormWriter(root).Write();
}
