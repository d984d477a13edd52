#include "batch/AlbumMessages.h"

namespace orv::batch {

void AlbumMessages::messageBox(const QString& text, int, const QString&) { messages_ << text; }

void AlbumMessages::endProgram(int) {
  // No stage ends the program without a message; should one, the album still fails
  // with a text rather than none.
  throw AlbumEnded{std::nullopt, messages_.isEmpty()
                                     ? standardDescription(int(ErrorCode::kInternalError))
                                     : messages_.join(QStringLiteral("\r\n"))};
}

void AlbumMessages::reportUnhandledError(const RuntimeError& error) {
  throw AlbumEnded{error.number(), error.description()};
}

void AlbumMessages::endWithMessage(const QString& text, const RuntimeError& error) {
  messages_ << text;
  throw AlbumEnded{error.number(), text};
}

}  // namespace orv::batch
