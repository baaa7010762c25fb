// Feeds arbitrary bytes as a form description into the root of a small test
// form. Whatever the input, reading must either succeed or raise EReadError
// naming the description, free every component it created and leave no
// component loading. What reads successfully must write out and read back to
// the same text.

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/core/class_registry.h"
#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace FuzzForm {
Q_NAMESPACE
enum TFuzzAlign { faNone, faTop, faClient };
Q_ENUM_NS(TFuzzAlign)
enum TFuzzStyle { fsBold = 1, fsItalic = 2, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFuzzStyles, TFuzzStyle)
Q_FLAG_NS(TFuzzStyles)
}  // namespace FuzzForm

using TFuzzValueEvent = TEvent<TObject*, int>;
Q_DECLARE_METATYPE(TFuzzValueEvent)

namespace {
int gLive = 0;

[[noreturn]] void Die(const char* why, const QString& detail = QString()) {
  std::fprintf(stderr, "fuzz_form_reader: %s\n%s\n", why, detail.toUtf8().constData());
  std::abort();
}
}  // namespace

class TFuzzFont : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Name MEMBER name)
  Q_PROPERTY(int Height MEMBER height)
  Q_PROPERTY(FuzzForm::TFuzzStyles Style MEMBER style)
  Q_PROPERTY(TColor Color MEMBER color)
  Q_CLASSINFO("default:Name", "'MS Sans Serif'")
  Q_CLASSINFO("default:Height", "-11")
 public:
  QString name = QStringLiteral("MS Sans Serif");
  int height = -11;
  FuzzForm::TFuzzStyles style;
  TColor color = clWindowText;
};

class TFuzzItem : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool Flag MEMBER flag)
  Q_PROPERTY(int Count MEMBER count)
  Q_PROPERTY(qint64 Big MEMBER big)
  Q_PROPERTY(uchar Byte MEMBER byte)
  Q_PROPERTY(double Ratio MEMBER ratio)
  Q_PROPERTY(float Single MEMBER single)
  Q_PROPERTY(QString Text MEMBER text)
  Q_PROPERTY(QStringList Items MEMBER items)
  Q_PROPERTY(QByteArray Data MEMBER data)
  Q_PROPERTY(TColor Color MEMBER color)
  Q_PROPERTY(FuzzForm::TFuzzAlign Align MEMBER align)
  Q_PROPERTY(FuzzForm::TFuzzStyles Styles MEMBER styles)
  Q_PROPERTY(TFuzzFont* Font READ Font)
  Q_PROPERTY(TNotifyEvent OnClick MEMBER onClick)
  Q_PROPERTY(TFuzzValueEvent OnValue MEMBER onValue)
  Q_PROPERTY(TFuzzItem* Buddy READ Buddy WRITE SetBuddy)
  Q_CLASSINFO("default:Count", "0")
  Q_CLASSINFO("default:Color", "clBtnFace")
 public:
  explicit TFuzzItem(TComponent* owner = nullptr) : TComponent(owner) { ++gLive; }
  ~TFuzzItem() override { --gLive; }
  TFuzzFont* Font() { return &font; }
  TFuzzItem* Buddy() const { return buddy; }
  void SetBuddy(TFuzzItem* value) {
    // The free-notification link serves both directions; it stays when the
    // reference changes, as the other one may still point back here.
    buddy = value;
    if (buddy) buddy->FreeNotification(this);
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == buddy) buddy = nullptr;
  }
  void Loaded() override {
    if (loadedCalls++ != 0) Die("Loaded ran twice");
    if (!(ComponentState() & csLoading)) Die("Loaded without csLoading");
    TComponent::Loaded();
  }

  bool flag = false;
  int count = 0;
  qint64 big = 0;
  uchar byte = 0;
  double ratio = 0;
  float single = 0;
  QString text;
  QStringList items;
  QByteArray data;
  TColor color = clBtnFace;
  FuzzForm::TFuzzAlign align = FuzzForm::faNone;
  FuzzForm::TFuzzStyles styles;
  TFuzzFont font;
  TNotifyEvent onClick;
  TFuzzValueEvent onValue;
  TFuzzItem* buddy = nullptr;
  int loadedCalls = 0;
};

class TFuzzPanel : public TFuzzItem {
  Q_OBJECT
 public:
  using TFuzzItem::TFuzzItem;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* value) override { parent_ = value; }

 private:
  TComponent* parent_ = nullptr;
};

class TFuzzForm : public TFuzzItem {
  Q_OBJECT
  Q_PROPERTY(QString Caption MEMBER caption)
 public:
  using TFuzzItem::TFuzzItem;
  Q_INVOKABLE void Button1Click(TObject*) {}
  Q_INVOKABLE void ValueChanged(TObject*, int) {}
  QString caption;
};

namespace {

bool AnyLoading(TComponent* root) {
  if (root->ComponentState() & (csLoading | csReading)) return true;
  for (int i = 0; i < root->ComponentCount(); ++i)
    if (root->Components(i)->ComponentState() & (csLoading | csReading)) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = [] {
    RegisterEventType<TFuzzValueEvent>();
    RegisterComponentClass<TFuzzItem>();
    RegisterComponentClass<TFuzzPanel>();
    RegisterComponentClass<TFuzzForm>();
    return true;
  }();
  (void)registered;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  {
    TFuzzForm form;
    bool read = true;
    try {
      ReadComponentFromText(text, &form, QStringLiteral("FUZZ"));
    } catch (const EReadError& e) {
      read = false;
      if (!e.Message().startsWith(QLatin1String("FUZZ(")))
        Die("message does not name the description", e.Message());
      if (form.ComponentCount() != 0 || gLive != 1) Die("components survived a failed read", e.Message());
    }
    if (AnyLoading(&form)) Die("a component is still loading");
    if (read) {
      for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* item = qobject_cast<TFuzzItem*>(form.Components(i)); item && item->loadedCalls != 1)
          Die("Loaded did not run once");
      const QString written = WriteComponentToText(&form);
      TFuzzForm again;
      try {
        ReadComponentFromText(written, &again, QStringLiteral("FUZZ-WRITTEN"));
      } catch (const EReadError& e) {
        Die("written text does not read back", e.Message() + u'\n' + written);
      }
      const QString rewritten = WriteComponentToText(&again);
      if (rewritten != written) Die("written text changes on a round trip", written + u'\n' + rewritten);
    }
  }
  if (gLive != 0) Die("components leaked");
  return 0;
}

#include "fuzz_form_reader.moc"
