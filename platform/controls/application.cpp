#include "platform/controls/application.h"

#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "platform/controls/safe_call.h"
#include "platform/graphics/resources.h"

TApplication* Application = nullptr;

namespace {

void RegisterApplicationEvents() {
  static const bool registered = [] {
    RegisterEventType<TExceptionEvent>();
    return true;
  }();
  (void)registered;
}

// Whether a platform plugin that shows windows can be started: without an
// explicit choice, an X11 or Wayland display must be named.
bool DisplayNamed() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

void WriteToStderr(const QString& caption, const QString& text) {
  const QByteArray line = (caption.isEmpty() ? text : caption + QStringLiteral(": ") + text).toLocal8Bit();
  std::fprintf(stderr, "%s\n", line.constData());
  std::fflush(stderr);
}

// The buttons of a message box type, in their order on the box.
std::vector<int> ButtonsOf(int flags) {
  switch (flags & 0x0F) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

QMessageBox::StandardButton StandardButtonOf(int id) {
  switch (id) {
    case IDCANCEL:
      return QMessageBox::Cancel;
    case IDABORT:
      return QMessageBox::Abort;
    case IDRETRY:
      return QMessageBox::Retry;
    case IDIGNORE:
      return QMessageBox::Ignore;
    case IDYES:
      return QMessageBox::Yes;
    case IDNO:
      return QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

// The Qt application the framework creates: an exception that a handler
// outside SafeCall lets escape still ends here, never in Qt's event loop.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    bool result = false;
    SafeCall([&] { result = QApplication::notify(receiver, event); });
    return result;
  }
};

}  // namespace

void HandleExceptionAtEntry(std::exception_ptr error) noexcept {
  if (!error) return;
  if (Application) {
    Application->HandleException(error);
    return;
  }
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    WriteToStderr(QString(), e.Message());
  } catch (const std::exception& e) {
    WriteToStderr(QString(), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    WriteToStderr(QString(), QStringLiteral("Unknown exception"));
  }
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  RegisterApplicationEvents();
  if (!Application) Application = this;
}

TApplication::TApplication(int& argc, char** argv) : TComponent(nullptr) {
  RegisterApplicationEvents();
  if (!QCoreApplication::instance()) {
    // No display: run on the offscreen platform so the program still starts
    // and reports its errors on stderr.
    if (!DisplayNamed()) qputenv("QT_QPA_PLATFORM", "offscreen");
    ownQtApp_ = std::make_unique<GuardedApplication>(argc, argv);
  }
  if (!Application) Application = this;
}

TApplication::~TApplication() {
  // The forms are freed while the application says it is being destroyed.
  Destroying();
  terminated_ = true;
  DestroyComponents();
  if (Application == this) Application = nullptr;
}

QString TApplication::ExeName() const {
  return QCoreApplication::applicationFilePath();
}

void TApplication::Initialize() {
  const QString icon = FindResource(QStringLiteral("MAINICON"));
  if (!icon.isEmpty()) QApplication::setWindowIcon(QIcon(icon));
}

QString TApplication::Title() const {
  if (!title_.isEmpty()) return title_;
  return QFileInfo(ExeName()).completeBaseName();
}

void TApplication::FormCreated(TForm* form) {
  if (!mainForm_) mainForm_ = form;
  form->AfterConstruction();
}

void TApplication::Run() {
  if (terminated_ || !mainForm_) return;
  SafeCall([this] { mainForm_->Show(); });
  if (terminated_ || !mainForm_) return;
  QEventLoop loop;
  // Freeing the main form ends the program as closing it does.
  QMetaObject::Connection connection =
      QObject::connect(mainForm_.data(), &QObject::destroyed, &loop, [this] { Terminate(); });
  loop_ = &loop;
  if (!terminated_) loop.exec();
  loop_ = nullptr;
  QObject::disconnect(connection);
}

void TApplication::ProcessMessages() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Terminate() {
  terminated_ = true;
  if (loop_) loop_->exit(0);
}

void TApplication::HandleException(std::exception_ptr error) {
  if (!error) return;
  try {
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      if (onException_)
        onException_(this, e);
      else
        ShowException(e);
    } catch (const std::exception& e) {
      const Exception wrapped(QString::fromLocal8Bit(e.what()));
      if (onException_)
        onException_(this, wrapped);
      else
        ShowException(wrapped);
    } catch (...) {
      // Not an exception object: shown as an exception with an empty message.
      const Exception wrapped{QString()};
      if (onException_)
        onException_(this, wrapped);
      else
        ShowException(wrapped);
    }
  } catch (...) {
    // The exception handler failed itself; there is nobody left to ask.
    WriteToStderr(Title(), QStringLiteral("Exception in the exception handler"));
  }
}

void TApplication::ShowException(const Exception& E) {
  MessageBox(E.Message(), Title(), MB_OK | MB_ICONSTOP);
}

TMessageBoxHandler TApplication::SetMessageBoxHandler(TMessageBoxHandler handler) {
  TMessageBoxHandler previous = std::move(messageBoxHandler_);
  messageBoxHandler_ = std::move(handler);
  return previous;
}

bool TApplication::DisplayAvailable() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int TApplication::DefaultButton(int flags) {
  const std::vector<int> buttons = ButtonsOf(flags);
  const size_t index = size_t((flags >> 8) & 0x03);
  return buttons[index < buttons.size() ? index : 0];
}

int TApplication::MessageBox(const QString& Text, const QString& Caption, int Flags) {
  if (messageBoxHandler_) return messageBoxHandler_(Text, Caption, Flags);
  if (!DisplayAvailable()) {
    WriteToStderr(Caption, Text);
    return DefaultButton(Flags);
  }
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (Flags & 0xF0) {
    case MB_ICONHAND:
      icon = QMessageBox::Critical;
      break;
    case MB_ICONQUESTION:
      icon = QMessageBox::Question;
      break;
    case MB_ICONEXCLAMATION:
      icon = QMessageBox::Warning;
      break;
    case MB_ICONASTERISK:
      icon = QMessageBox::Information;
      break;
    default:
      break;
  }
  QMessageBox box(icon, Caption, Text);
  for (int id : ButtonsOf(Flags)) box.addButton(StandardButtonOf(id));
  box.setDefaultButton(StandardButtonOf(DefaultButton(Flags)));
  const std::vector<int> buttons = ButtonsOf(Flags);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (int id : buttons)
    if (clicked && box.button(StandardButtonOf(id)) == clicked) return id;
  // Closed without a button: Cancel when there is one, else the only button.
  for (int id : buttons)
    if (id == IDCANCEL) return id;
  return buttons.size() == 1 ? buttons.front() : IDCANCEL;
}
