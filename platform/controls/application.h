#pragma once
// TApplication and the global `Application`: creates the forms (the first
// one is the main form), runs the event loop until the main form is closed or
// Terminate is called, and is where every exception caught at an entry from
// Qt ends up (HandleException -> OnException or ShowException). Message boxes
// go through MessageBox, which a test can replace with a handler; without a
// usable display they are written to stderr instead of shown.

#include <QApplication>
#include <QEventLoop>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <type_traits>

#include "platform/controls/form.h"
#include "platform/controls/safe_call.h"
#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/core/exceptions.h"

using TExceptionEvent = TEvent<TObject*, const Exception&>;

// Message box buttons, icons and default button (combine with |).
inline constexpr int MB_OK = 0x0000;
inline constexpr int MB_OKCANCEL = 0x0001;
inline constexpr int MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr int MB_YESNOCANCEL = 0x0003;
inline constexpr int MB_YESNO = 0x0004;
inline constexpr int MB_RETRYCANCEL = 0x0005;
inline constexpr int MB_ICONHAND = 0x0010;
inline constexpr int MB_ICONSTOP = MB_ICONHAND;
inline constexpr int MB_ICONERROR = MB_ICONHAND;
inline constexpr int MB_ICONQUESTION = 0x0020;
inline constexpr int MB_ICONEXCLAMATION = 0x0030;
inline constexpr int MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr int MB_ICONASTERISK = 0x0040;
inline constexpr int MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr int MB_DEFBUTTON1 = 0x0000;
inline constexpr int MB_DEFBUTTON2 = 0x0100;
inline constexpr int MB_DEFBUTTON3 = 0x0200;
// Button ids a message box returns.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Answers a message box instead of showing it: (text, caption, flags) -> id.
using TMessageBoxHandler = std::function<int(const QString& text, const QString& caption, int flags)>;

class TApplication : public TComponent {
  Q_OBJECT
 public:
  // Uses the QApplication that already exists (creating one if there is none
  // is the other constructor's job). The first application object becomes
  // the global `Application`.
  explicit TApplication(TComponent* AOwner = nullptr);
  // Creates the QApplication too; without a usable display it runs on the
  // offscreen platform, so that errors still reach stderr. That application
  // also catches, as a last resort, any exception a handler outside SafeCall
  // lets escape into Qt's event delivery.
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  // Gives the program's windows the program's icon: the compiled-in
  // resource MAINICON, when there is one.
  void Initialize();

  // Creates a form owned by the application; the first one becomes the main
  // form. Raises OnCreate after the form is constructed.
  template <typename T>
  void CreateForm(T*& reference) {
    static_assert(std::is_base_of_v<TComponent, T>, "CreateForm makes components");
    T* instance = new T(this);
    reference = instance;
    if constexpr (std::is_base_of_v<TForm, T>) FormCreated(instance);
  }

  // Shows the main form and processes events until it is closed or
  // Terminate is called.
  void Run();
  // Processes the pending events once. GUI thread only: from another thread
  // it does nothing.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  TForm* MainForm() const { return mainForm_.data(); }
  // Caption of the application's message boxes; the executable's name unless set.
  QString Title() const;
  void SetTitle(const QString& value) { title_ = value; }
  QString ExeName() const;

  // Handles an exception caught at an entry from Qt: OnException when
  // assigned, else ShowException. A non-framework exception is treated as
  // an Exception with its what() text, an unknown object as one with an
  // empty message. Never throws.
  void HandleException(std::exception_ptr error);
  void HandleException() { HandleException(std::current_exception()); }
  // The standard error box: the message, caption = Title, an OK button.
  void ShowException(const Exception& E);
  const TExceptionEvent& OnException() const { return onException_; }
  void SetOnException(const TExceptionEvent& value) { onException_ = value; }

  // Shows a message box and returns the id of the button pressed.
  int MessageBox(const QString& Text, const QString& Caption, int Flags = MB_OK);
  // Replaces the display of message boxes (an empty handler restores it);
  // returns the previous handler.
  TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);
  // Whether windows and dialogs can be shown to a person.
  static bool DisplayAvailable();

 private:
  void FormCreated(TForm* form);
  static int DefaultButton(int flags);

  std::unique_ptr<QApplication> ownQtApp_;
  QEventLoop* loop_ = nullptr;  // the loop of the running Run, if any
  bool terminated_ = false;
  QPointer<TForm> mainForm_;
  QString title_;
  TExceptionEvent onException_;
  TMessageBoxHandler messageBoxHandler_;
};

// The application object of the process (null before one is created).
extern TApplication* Application;
