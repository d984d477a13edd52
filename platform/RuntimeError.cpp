#include "platform/RuntimeError.h"

#include <cerrno>
#include <cstring>

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
    case ErrorCode::kSubscriptOutOfRange:
      return QStringLiteral("インデックスが有効範囲にありません。");
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
    case ErrorCode::kCancel:
      return QStringLiteral("キャンセルが選択されました。");
  }
  return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
}

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
  return RuntimeError(code, what + QStringLiteral("（") +
                                QString::fromLocal8Bit(std::strerror(err)) + QStringLiteral("）"));
}

}  // namespace orv
