#pragma once
// The framework's exception classes. Every failure the library reports is one
// of these; the application object shows the Message of one that escapes a
// message handler.

#include <QString>
#include <exception>
#include <iterator>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }
  // Printf-like construction with %s placeholders filled in order, in one
  // pass over the pattern: an argument that itself holds "%s" stays as it is.
  // Placeholders without an argument stay; arguments without one are dropped.
  template <typename... Args>
  static QString Fmt(const char* pattern, const Args&... args) {
    const QString parts[] = {QString(), ToText(args)...};
    const QString format = QString::fromUtf8(pattern);
    QString s;
    s.reserve(format.size());
    std::size_t next = 1;
    for (qsizetype i = 0; i < format.size(); ++i) {
      if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u's' && next < std::size(parts)) {
        s += parts[next++];
        ++i;
      } else {
        s += format[i];
      }
    }
    return s;
  }

 private:
  static QString ToText(const QString& arg) { return arg; }
  static QString ToText(const char* arg) { return QString::fromUtf8(arg); }
  static QString ToText(long long arg) { return QString::number(arg); }
  static QString ToText(int arg) { return QString::number(arg); }
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
