#pragma once

#include <QString>

#include <exception>
#include <string>

namespace orv {

// Error numbers the program raises or tests. They keep the numbering users know from
// the message boxes of earlier versions.
enum class ErrorCode : int {
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kInternalError = 51,  // a fault of the program itself
  kFileNotFound = 53,
  kFileAlreadyExists = 58,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

// A run-time error: a number and a Japanese description for the user. Every failure in
// the program travels as one of these until a handler takes it.
//
//   throw RuntimeError(ErrorCode::kFileNotFound, "head.txt が見つかりません。");
//   catch (const RuntimeError& e) { box(e.description()); if (e.is(ErrorCode::kFileNotFound)) ... }
class RuntimeError : public std::exception {
 public:
  // Uses the standard description of `code`.
  explicit RuntimeError(ErrorCode code);
  RuntimeError(ErrorCode code, QString description);
  RuntimeError(int number, QString description);

  int number() const { return number_; }
  bool is(ErrorCode code) const { return number_ == static_cast<int>(code); }
  const QString& description() const { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  QString description_;
  std::string what_;
};

// The standard Japanese description of an error number, e.g. "オーバーフローしました。" for
// ErrorCode::kOverflow.
QString standardDescription(int number);

// Any exception as the run-time error a handler reports: a RuntimeError as it is, memory
// running out as ErrorCode::kOutOfMemory, anything else as ErrorCode::kInternalError
// (with the exception's own text where it has one). For the handlers that take every
// failure: the scan's, and the one around each window event.
//
//   catch (...) { report(asRuntimeError(std::current_exception())); }
//   asRuntimeError(std::make_exception_ptr(std::bad_alloc())).is(ErrorCode::kOutOfMemory)
RuntimeError asRuntimeError(std::exception_ptr error);

// The error for a failed system call: errno mapped to the nearest error number, and a
// description made of `what` (which names the file, in Japanese) and the system's reason.
//
//   if (::rename(a, b) != 0) throw errnoError(errno, "名前を変更できません: " + name);
RuntimeError errnoError(int err, const QString& what);

}  // namespace orv
