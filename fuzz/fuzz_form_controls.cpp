// Feeds arbitrary bytes as a form description into a form of the real
// standard controls and the library's gradient control (the calculator's own
// description is a seed). Whatever the input, reading must either succeed or
// raise EReadError naming the description and free every component it
// created. What reads is shown, painted, clicked and written out; the written
// text must read back and write the same again.

#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "kv/controls/kv_gradient.h"
#include "platform/controls/form.h"
#include "platform/controls/std_control_types.h"
#include "platform/core/class_registry.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

// The calculator's handlers by name, doing nothing.
class TFuzzForm1 : public TForm {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TFuzzForm1(TComponent* owner = nullptr) : TForm(owner) {}
  Q_INVOKABLE void UpDown1Click(TObject*, TUDBtnType) { ++calls; }
  Q_INVOKABLE void UpDown2Click(TObject*, TUDBtnType) { ++calls; }
  Q_INVOKABLE void Button1Click(TObject*) { ++calls; }
  int calls = 0;
};

namespace {

constexpr const char* kTarget = "fuzz_form_controls";

void Exercise(TFuzzForm1& form) {
  QWidget* widget = form.Widget();
  if (!widget) return;
  const QImage shot = widget->grab().toImage();
  (void)shot;
  // Mouse input goes through the form's own routing to the control under it.
  const QPointer<QWidget> alive(widget);
  for (const QPoint p : {QPoint(5, 5), QPoint(40, 30), QPoint(150, 120)}) {
    for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      if (!alive) return;
      const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
      const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
      QMouseEvent event(type, QPointF(p), widget->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &event);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  RegisterStandardControls();
  KvgradientUnit().Require();
  RegisterComponentClass<TFuzzForm1>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  TFuzzForm1 form(nullptr);
  try {
    ReadComponentFromText(text, &form, QStringLiteral("FUZZ"));
  } catch (const EReadError& e) {
    if (!e.Message().startsWith(QLatin1String("FUZZ(")))
      fuzz::Die(kTarget, "message does not name the description", e.Message());
    if (form.ComponentCount() != 0) fuzz::Die(kTarget, "components survived a failed read", e.Message());
    return 0;
  }
  Exercise(form);
  QString written;
  try {
    written = WriteComponentToText(&form);
  } catch (const EWriteError&) {
    return 0;  // what cannot be written faithfully is refused, not garbled
  }
  TFuzzForm1 again(nullptr);
  try {
    ReadComponentFromText(written, &again, QStringLiteral("FUZZ-WRITTEN"));
  } catch (const EReadError& e) {
    fuzz::Die(kTarget, "written text does not read back", e.Message() + u'\n' + written);
  }
  const QString rewritten = WriteComponentToText(&again);
  if (rewritten != written)
    fuzz::Die(kTarget, "written text changes on a round trip", written + u'\n' + rewritten);
  return 0;
}

#include "fuzz_form_controls.moc"
