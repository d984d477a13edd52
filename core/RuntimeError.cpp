#include "core/RuntimeError.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace orv {

RuntimeError::RuntimeError(ErrorCode code)
    : RuntimeError(static_cast<int>(code), standardDescription(static_cast<int>(code))) {}

RuntimeError::RuntimeError(ErrorCode code, QString description)
    : RuntimeError(static_cast<int>(code), std::move(description)) {}

RuntimeError::RuntimeError(int number, QString description)
    : number_(number),
      description_(std::move(description)),
      what_(std::to_string(number) + ": " + description_.toStdString()) {}

QString standardDescription(int number) {
  switch (static_cast<ErrorCode>(number)) {
    case ErrorCode::kOverflow:
      return QStringLiteral("オーバーフローしました。");
    case ErrorCode::kOutOfMemory:
      return QStringLiteral("メモリが不足しています。");
    case ErrorCode::kSubscriptOutOfRange:
      return QStringLiteral("インデックスが有効範囲にありません。");
    case ErrorCode::kInternalError:
      return QStringLiteral("内部エラーが発生しました。");
    case ErrorCode::kFileNotFound:
      return QStringLiteral("ファイルが見つかりません。");
    case ErrorCode::kFileAlreadyExists:
      return QStringLiteral("既に同名のファイルが存在しています。");
    case ErrorCode::kPermissionDenied:
      return QStringLiteral("書き込みできません。");
    case ErrorCode::kPathFileAccessError:
      return QStringLiteral("パス名が無効です。");
    case ErrorCode::kPathNotFound:
      return QStringLiteral("パスが見つかりません。");
  }
  return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
}

RuntimeError asRuntimeError(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const RuntimeError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return RuntimeError(ErrorCode::kOutOfMemory);
  } catch (const std::exception& e) {
    return RuntimeError(
        ErrorCode::kInternalError,
        QStringLiteral("内部エラーが発生しました（%1）。").arg(QString::fromLocal8Bit(e.what())));
  } catch (...) {
    return RuntimeError(ErrorCode::kInternalError);
  }
}

namespace {

// The system's reason for `err`, in the user's language. strerror may share one buffer
// among threads, and albums are built in parallel; the GNU strerror_r does not.
QString systemReason(int err) {
  char buffer[256];
  return QString::fromLocal8Bit(strerror_r(err, buffer, sizeof buffer));
}

}  // namespace

RuntimeError errnoError(int err, const QString& what) {
  ErrorCode code = ErrorCode::kPathFileAccessError;
  switch (err) {
    case ENOENT:
      code = ErrorCode::kFileNotFound;
      break;
    case EEXIST:
      code = ErrorCode::kFileAlreadyExists;
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      code = ErrorCode::kPermissionDenied;
      break;
    case ENOTDIR:
      code = ErrorCode::kPathNotFound;
      break;
    default:
      break;
  }
  return RuntimeError(code, what + QStringLiteral("（") + systemReason(err) + QStringLiteral("）"));
}

}  // namespace orv
