#include "platform/forms/form_reader.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QPointer>
#include <utility>
#include <vector>

#include "platform/core/class_registry.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_parser.h"
#include "platform/forms/property_kinds.h"

namespace {

// A description read while another is being read (a component that loads its
// own description in its constructor) is fine; a chain deeper than this is a
// description that, directly or not, contains itself.
constexpr int kMaxNestedReads = 16;
thread_local int gNestedReads = 0;

class NestedReadGuard {
 public:
  explicit NestedReadGuard(const QString& name) {
    if (gNestedReads >= kMaxNestedReads)
      throw EReadError(QStringLiteral("%1: form descriptions nested too deeply").arg(name));
    ++gNestedReads;
  }
  ~NestedReadGuard() { --gNestedReads; }
  NestedReadGuard(const NestedReadGuard&) = delete;
  NestedReadGuard& operator=(const NestedReadGuard&) = delete;
};

bool EqualsIgnoringCase(const QString& a, const char* b) {
  return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

class FormReader {
 public:
  FormReader(const QString& text, TComponent* root, const QString& descriptionName)
      : parser_(text), root_(root), descriptionName_(descriptionName) {}

  void Read() {
    try {
      try {
        ReadRoot();
        ResolveFixups();
      } catch (const TFormSyntaxError& error) {
        Fail(error.line, error.column, Where(error.property), error.message);
      }
    } catch (...) {
      FreeCreated();
      throw;
    }
    CallLoaded();
  }

 private:
  struct Fixup {
    QPointer<QObject> target;
    QMetaProperty property;
    const QMetaObject* pointee = nullptr;
    QString name;
    int line = 0;
    int column = 0;
    QString where;
    TComponent* resolved = nullptr;
  };

  [[noreturn]] void Fail(int line, int column, const QString& where, const QString& message) const {
    QString text = QStringLiteral("%1(%2,%3): ").arg(descriptionName_).arg(line).arg(column);
    if (!where.isEmpty()) text += where + QStringLiteral(": ");
    throw EReadError(text + message);
  }

  QString Where(const QString& property) const {
    if (property.isEmpty()) return objectPath_;
    if (objectPath_.isEmpty()) return property;
    return objectPath_ + u'.' + property;
  }

  // Runs component code (constructors, setters), turning whatever it raises
  // into a read error at the given place.
  template <typename F>
  void Guard(int line, int column, const QString& where, F&& call) {
    try {
      call();
    } catch (const Exception& e) {
      Fail(line, column, where, e.Message());
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& e) {
      Fail(line, column, where, QString::fromUtf8(e.what()));
    }
  }

  TFormLexer& Lexer() { return parser_.Lexer(); }

  void ExpectObjectKeyword() {
    const TFormToken& token = Lexer().Peek();
    if (!token.IsKeyword(QLatin1String("object")))
      Lexer().Fail(token.line, token.column,
                   QStringLiteral("'object' expected but %1 found").arg(Lexer().Describe(token)));
    Lexer().Next();
  }

  // "Name: TClass", or just "TClass" for a component without a name.
  void ReadHeader(TFormToken& name, TFormToken& className) {
    TFormToken first = parser_.ExpectIdent("Component name");
    if (Lexer().Peek().IsSymbol(u':')) {
      Lexer().Next();
      name = std::move(first);
      className = parser_.ExpectIdent("Class name");
    } else {
      className = std::move(first);
      name = TFormToken();
    }
  }

  void ReadRoot() {
    ExpectObjectKeyword();
    TFormToken name, className;
    ReadHeader(name, className);
    objectPath_ = name.text.isEmpty() ? className.text : name.text;
    bool matches = false;
    for (const QMetaObject* meta = root_->metaObject(); meta && !matches; meta = meta->superClass())
      matches = EqualsIgnoringCase(className.text, meta->className());
    if (!matches)
      Fail(className.line, className.column, objectPath_,
           QStringLiteral("The description is for a %1, not for a %2")
               .arg(className.text, root_->ClassName()));
    root_->SetComponentStateFlag(csLoading, true);
    root_->SetComponentStateFlag(csReading, true);
    rootLoading_ = true;
    if (!name.text.isEmpty() && name.text != root_->Name())
      Guard(name.line, name.column, objectPath_, [&] { root_->SetName(name.text); });
    ReadBody(root_, 0);
    const TFormToken& rest = Lexer().Peek();
    if (rest.kind != TFormTokenKind::End)
      Fail(rest.line, rest.column, objectPath_,
           QStringLiteral("Text after the end of the description: %1").arg(Lexer().Describe(rest)));
  }

  void ReadBody(TComponent* instance, int depth) {
    for (;;) {
      const TFormToken& token = Lexer().Peek();
      if (token.IsKeyword(QLatin1String("end"))) {
        Lexer().Next();
        return;
      }
      if (token.IsKeyword(QLatin1String("object"))) {
        ReadChild(instance, depth + 1);
      } else if (token.kind == TFormTokenKind::Ident) {
        const TFormAssignment assignment = parser_.ParseAssignment(depth);
        Apply(instance, assignment, QString(), depth);
      } else if (token.kind == TFormTokenKind::End) {
        Fail(token.line, token.column, objectPath_, QStringLiteral("'end' expected but end of text found"));
      } else {
        Fail(token.line, token.column, objectPath_,
             QStringLiteral("Property name, 'object' or 'end' expected but %1 found")
                 .arg(Lexer().Describe(token)));
      }
    }
  }

  void ReadChild(TComponent* parent, int depth) {
    const TFormToken keyword = Lexer().Next();
    TFormToken name, className;
    ReadHeader(name, className);
    const QString rootPath = RootPath();
    const QString path = rootPath + u'.' + (name.text.isEmpty() ? className.text : name.text);
    if (depth > TFormParser::kMaxDepth)
      Fail(keyword.line, keyword.column, path, QStringLiteral("Nesting too deep"));
    const TRegisteredClass* registered = FindClass(className.text);
    if (!registered)
      Fail(className.line, className.column, path, QStringLiteral("Class %1 not found").arg(className.text));
    if (!name.text.isEmpty() && root_->FindComponent(name.text))
      Fail(name.line, name.column, path,
           QStringLiteral("A component named %1 already exists").arg(name.text));
    TComponent* component = nullptr;
    Guard(keyword.line, keyword.column, path, [&] { component = registered->create(root_); });
    if (!component)
      Fail(keyword.line, keyword.column, path,
           QStringLiteral("A %1 could not be created").arg(className.text));
    created_.emplace_back(component);
    component->SetComponentStateFlag(csLoading, true);
    component->SetComponentStateFlag(csReading, true);
    if (!name.text.isEmpty()) Guard(name.line, name.column, path, [&] { component->SetName(name.text); });
    if (component->HasParent())
      Guard(keyword.line, keyword.column, path, [&] { component->SetParentComponent(parent); });
    const QString saved = std::exchange(objectPath_, path);
    ReadBody(component, depth);
    objectPath_ = saved;
  }

  QString RootPath() const { return root_->Name().isEmpty() ? root_->ClassName() : root_->Name(); }

  void Apply(QObject* target, const TFormAssignment& assignment, const QString& prefix, int depth) {
    QObject* object = target;
    QString path = prefix;
    for (qsizetype i = 0; i < assignment.path.size(); ++i) {
      const QString& name = assignment.path[i];
      path = path.isEmpty() ? name : path + u'.' + name;
      QMetaProperty property;
      if (!FindPublishedProperty(object->metaObject(), name, property))
        Fail(assignment.line, assignment.column, Where(path),
             QStringLiteral("Property %1 does not exist").arg(name));
      const TPropertyInfo info = DescribeProperty(property);
      if (i + 1 == assignment.path.size()) {
        ApplyValue(object, info, assignment.value, path, depth);
        return;
      }
      if (info.kind != TPropertyKind::Object)
        Fail(assignment.line, assignment.column, Where(path),
             QStringLiteral("Property %1 has no properties of its own").arg(name));
      object = NestedObject(object, info, assignment.line, assignment.column, path);
    }
  }

  QObject* NestedObject(QObject* object, const TPropertyInfo& info, int line, int column,
                        const QString& path) {
    QObject* nested = nullptr;
    Guard(line, column, Where(path), [&] { nested = ObjectFromVariant(info.property.read(object)); });
    if (!nested)
      Fail(line, column, Where(path),
           QStringLiteral("Property %1 holds no object").arg(info.property.name()));
    return nested;
  }

  void ApplyValue(QObject* object, const TPropertyInfo& info, const TFormValue& value, const QString& path,
                  int depth) {
    const QString where = Where(path);
    const QMetaProperty& property = info.property;
    using Type = TFormValue::Type;
    switch (info.kind) {
      case TPropertyKind::Object: {
        if (value.type != Type::Block && !value.IsEmptyParentheses())
          Fail(value.line, value.column, where,
               QStringLiteral("%1 is not a valid nested property block").arg(value.raw));
        QObject* nested = NestedObject(object, info, value.line, value.column, path);
        for (const TFormAssignment& inner : value.block) Apply(nested, inner, path, depth + 1);
        return;
      }
      case TPropertyKind::Event:
        if (value.type != Type::Ident)
          Fail(value.line, value.column, where,
               QStringLiteral("%1 is not a valid event handler name").arg(value.raw));
        RequireWritable(info, value, where);
        SetEvent(object, info, value, where);
        return;
      case TPropertyKind::Reference:
        if (value.type != Type::Ident)
          Fail(value.line, value.column, where,
               QStringLiteral("%1 is not a valid component reference").arg(value.raw));
        if (EqualsIgnoringCase(value.text, "nil")) {
          Guard(value.line, value.column, where,
                [&] { WriteOrFail(object, property, VariantFromObject(property.metaType(), nullptr)); });
        } else {
          fixups_.push_back(
              Fixup{object, property, info.pointee, value.text, value.line, value.column, where});
        }
        return;
      case TPropertyKind::Unsupported:
        Fail(value.line, value.column, where,
             QStringLiteral("Property %1 has a type (%2) that form descriptions cannot hold")
                 .arg(QLatin1String(property.name()), QLatin1String(property.metaType().name())));
      default:
        break;
    }
    RequireWritable(info, value, where);
    QVariant converted;
    try {
      converted = ValueToVariant(info, value);
    } catch (const EConvertError& e) {
      Fail(value.line, value.column, where, e.Message());
    }
    Guard(value.line, value.column, where, [&] { WriteOrFail(object, property, std::move(converted)); });
  }

  void RequireWritable(const TPropertyInfo& info, const TFormValue& value, const QString& where) {
    if (!info.property.isWritable())
      Fail(value.line, value.column, where,
           QStringLiteral("Property %1 is read-only").arg(info.property.name()));
  }

  static void WriteOrFail(QObject* object, const QMetaProperty& property, QVariant value) {
    if (!property.write(object, std::move(value)))
      throw EReadError(QStringLiteral("Property %1 could not be set").arg(property.name()));
  }

  void SetEvent(QObject* object, const TPropertyInfo& info, const TFormValue& value, const QString& where) {
    const QMetaProperty& property = info.property;
    QVariant event = property.read(object);
    if (event.metaType() != property.metaType())
      Fail(value.line, value.column, where,
           QStringLiteral("Property %1 could not be read").arg(property.name()));
    if (EqualsIgnoringCase(value.text, "nil")) {
      info.event->clear(event.data());
    } else {
      // Handler names ignore case like every other name; bind by the method's own spelling.
      // Only slots and invokable methods are handlers: firing a signal
      // (destroyed, objectNameChanged) would tell its receivers something
      // that did not happen.
      const QMetaObject* meta = root_->metaObject();
      QByteArray method;
      bool signal = false;
      for (int i = 0; i < meta->methodCount() && method.isEmpty(); ++i) {
        const QMetaMethod candidate = meta->method(i);
        if (value.text.compare(QLatin1String(candidate.name()), Qt::CaseInsensitive) != 0) continue;
        if (candidate.methodType() == QMetaMethod::Slot || candidate.methodType() == QMetaMethod::Method)
          method = candidate.name();
        else if (candidate.methodType() == QMetaMethod::Signal)
          signal = true;
      }
      if (method.isEmpty() && signal)
        Fail(
            value.line, value.column, where,
            QStringLiteral("%1 is a signal of %2, not an event handler").arg(value.text, root_->ClassName()));
      if (method.isEmpty())
        Fail(value.line, value.column, where,
             QStringLiteral("Method %1 not found in %2").arg(value.text, root_->ClassName()));
      if (!info.event->bind(event.data(), root_, method))
        Fail(value.line, value.column, where,
             QStringLiteral("Method %1 of %2 does not take the arguments of %3")
                 .arg(value.text, root_->ClassName(), QLatin1String(property.name())));
    }
    Guard(value.line, value.column, where, [&] { WriteOrFail(object, property, std::move(event)); });
  }

  // Component references may name components read later, so they are set
  // once the whole text is read. Every name is checked before any is set, so
  // a failure leaves no reference to a component that is about to be freed.
  void ResolveFixups() {
    for (Fixup& fixup : fixups_) {
      TComponent* found = nullptr;
      if (!root_->Name().isEmpty() && fixup.name.compare(root_->Name(), Qt::CaseInsensitive) == 0)
        found = root_;
      else
        found = root_->FindComponent(fixup.name);
      if (!found)
        Fail(fixup.line, fixup.column, fixup.where, QStringLiteral("Component %1 not found").arg(fixup.name));
      if (!found->metaObject()->inherits(fixup.pointee))
        Fail(fixup.line, fixup.column, fixup.where,
             QStringLiteral("%1 is a %2, not a %3")
                 .arg(fixup.name, found->ClassName(), QLatin1String(fixup.pointee->className())));
      fixup.resolved = found;
    }
    for (Fixup& fixup : fixups_) {
      if (!fixup.target) continue;
      Guard(fixup.line, fixup.column, fixup.where, [&] {
        WriteOrFail(fixup.target, fixup.property,
                    VariantFromObject(fixup.property.metaType(), fixup.resolved));
      });
    }
  }

  void FreeCreated() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) delete it->data();
    created_.clear();
    if (rootLoading_) {
      root_->SetComponentStateFlag(csLoading, false);
      root_->SetComponentStateFlag(csReading, false);
    }
  }

  void CallLoaded() {
    std::vector<QPointer<TComponent>> order;
    order.reserve(created_.size() + 1);
    order.emplace_back(root_);
    order.insert(order.end(), created_.begin(), created_.end());
    for (const QPointer<TComponent>& component : order)
      if (component) component->SetComponentStateFlag(csReading, false);
    try {
      for (const QPointer<TComponent>& component : order) {
        if (!component) continue;
        component->Loaded();
        // Loaded overrides that forget to call the base still leave loading.
        if (component) component->SetComponentStateFlag(csLoading, false);
      }
    } catch (...) {
      for (const QPointer<TComponent>& component : order)
        if (component) component->SetComponentStateFlag(csLoading, false);
      throw;
    }
  }

  TFormParser parser_;
  TComponent* root_;
  QString descriptionName_;
  QString objectPath_;
  bool rootLoading_ = false;
  std::vector<QPointer<TComponent>> created_;
  std::vector<Fixup> fixups_;
};

}  // namespace

void ReadComponentFromText(const QString& text, TComponent* root, const QString& descriptionName) {
  if (!root) throw EReadError(QStringLiteral("%1: no component to read into").arg(descriptionName));
  NestedReadGuard guard(descriptionName);
  FormReader(text, root, descriptionName).Read();
}

QString FindFormResource(const QString& name) {
  if (name.isEmpty()) return QString();
  QString exact, byBaseName;
  QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString fileName = it.fileName();
    if (fileName.compare(name, Qt::CaseInsensitive) == 0) {
      if (exact.isEmpty() || path < exact) exact = path;
    } else if (fileName.section(u'.', 0, -2).compare(name, Qt::CaseInsensitive) == 0) {
      if (byBaseName.isEmpty() || path < byBaseName) byBaseName = path;
    }
  }
  return exact.isEmpty() ? byBaseName : exact;
}

void ReadComponentRes(const QString& resourceName, TComponent* root) {
  const QString path = FindFormResource(resourceName);
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
    throw EResNotFound(Exception::Fmt("Resource %s not found", resourceName));
  ReadComponentFromText(QString::fromUtf8(file.readAll()), root, resourceName);
}
