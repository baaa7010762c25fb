#pragma once
// The framework's exception classes. Every failure the library reports is one
// of these; the application object shows the Message of one that escapes a
// message handler.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }
  // Printf-like construction with %s placeholders filled in order.
  template <typename... Args>
  static QString Fmt(const char* pattern, const Args&... args) {
    QString s = QString::fromUtf8(pattern);
    (ReplaceNext(s, args), ...);
    return s;
  }

 private:
  static void ReplaceNext(QString& s, const QString& arg) {
    const qsizetype at = s.indexOf(QLatin1String("%s"));
    if (at >= 0) s.replace(at, 2, arg);
  }
  static void ReplaceNext(QString& s, const char* arg) { ReplaceNext(s, QString::fromUtf8(arg)); }
  static void ReplaceNext(QString& s, long long arg) { ReplaceNext(s, QString::number(arg)); }
  static void ReplaceNext(QString& s, int arg) { ReplaceNext(s, QString::number(arg)); }
  QString message_;
  std::string utf8_;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidCast : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};
class EListError : public Exception {
 public:
  using Exception::Exception;
};
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};
class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};
class EResNotFound : public Exception {
 public:
  using Exception::Exception;
};
class EFilerError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public EFilerError {
 public:
  using EFilerError::EFilerError;
};
class EWriteError : public EFilerError {
 public:
  using EFilerError::EFilerError;
};
class EThread : public Exception {
 public:
  using Exception::Exception;
};
// Arithmetic errors.
class EMathError : public Exception {
 public:
  using Exception::Exception;
};
class EZeroDivide : public EMathError {
 public:
  using EMathError::EMathError;
};
class EInvalidOp : public EMathError {
 public:
  using EMathError::EMathError;
};
class EOverflow : public EMathError {
 public:
  using EMathError::EMathError;
};
class EIntError : public Exception {
 public:
  using Exception::Exception;
};
class EDivByZero : public EIntError {
 public:
  using EIntError::EIntError;
};

// Messages of the framework's own errors.
inline constexpr const char* SInvalidCast = "Invalid class typecast";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SZeroDivide = "Floating point division by zero";
inline constexpr const char* SInvalidOp = "Invalid floating point operation";
inline constexpr const char* SOverflow = "Floating point overflow";
inline constexpr const char* SDivByZero = "Division by zero";
