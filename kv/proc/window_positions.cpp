#include "kv/proc/window_positions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtEndian>

#include "kv/proc/proc_values.h"
#include "platform/storage/registry.h"

namespace {

const QString kPositionValue = QStringLiteral("Position");

QSize PrimaryScreenSize() {
  const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::primaryScreen()
                              : nullptr;
  return screen ? screen->geometry().size() : QSize();
}

TScreenSizeSource& ScreenSource() {
  static TScreenSizeSource source = &PrimaryScreenSize;
  return source;
}

QString KeyOf(const TForm* form) {
  return QString::fromLatin1(KavelKeyPath) + form->ClassName();
}

}  // namespace

TScreenSizeSource KvSetScreenSizeSource(TScreenSizeSource source) {
  TScreenSizeSource previous = ScreenSource();
  ScreenSource() = source ? std::move(source) : TScreenSizeSource(&PrimaryScreenSize);
  return previous;
}

TPoint KvClampFormPos(TPoint position, int width, int height, QSize screen) {
  if (position.X < 0) position.X = 0;
  if (screen.isValid() && screen.width() < width + position.X) position.X = screen.width() - width;
  if (position.Y < 0) position.Y = 0;
  if (screen.isValid() && screen.height() < height + position.Y) position.Y = screen.height() - height;
  return position;
}

void KvSaveFormPos(TForm* Form) {
  if (!Form) return;
  const TPoint p =
      KvClampFormPos(TPoint(Form->Left(), Form->Top()), Form->Width(), Form->Height(), ScreenSource()());
  char data[8];
  qToLittleEndian<int32_t>(p.X, data);
  qToLittleEndian<int32_t>(p.Y, data + 4);
  TRegistry reg;
  reg.SetRootKey(KavelRootKey);
  // When the key cannot be opened, no key is open and the write raises.
  reg.OpenKey(KeyOf(Form), true);
  reg.WriteBinaryData(kPositionValue, data, sizeof data);
  reg.CloseKey();
}

void KvLoadFormPos(TForm* Form) {
  if (!Form) return;
  char data[8];
  qToLittleEndian<int32_t>(Form->Left(), data);
  qToLittleEndian<int32_t>(Form->Top(), data + 4);
  TRegistry reg;
  reg.SetRootKey(KavelRootKey);
  if (reg.OpenKey(KeyOf(Form), false)) {
    reg.ReadBinaryData(kPositionValue, data, sizeof data);  // raises before anything moves
    reg.CloseKey();
  }
  const TPoint stored(qFromLittleEndian<int32_t>(data), qFromLittleEndian<int32_t>(data + 4));
  const TPoint p = KvClampFormPos(stored, Form->Width(), Form->Height(), ScreenSource()());
  Form->SetBounds(p.X, p.Y, Form->Width(), Form->Height());
}
