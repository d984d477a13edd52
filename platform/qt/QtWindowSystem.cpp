#include "platform/qt/QtWindowSystem.h"

#include "platform/qt/Look.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace orv::platform {

namespace {

void showMessageBox(QMessageBox::Icon icon, const QString& text, const QString& title) {
  QMessageBox box(icon, title.isEmpty() ? kAppTitle : title, QString(text).replace("\r\n", "\n"),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

QtWindowSystem::QtWindowSystem(QApplication& app, const QString& lockName) : lockName_(lockName) {
  // The window is Japanese whatever the user's locale, so Qt's own texts are too.
  if (qtTranslator_.load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&qtTranslator_);
  }
  app.setWindowIcon(look::appIcon());
}

QtWindowSystem::~QtWindowSystem() = default;

bool QtWindowSystem::previousInstanceRunning() {
  if (lock_) return false;  // this copy holds the lock
  // Per user: a lock in the shared /tmp could be left by another user and block for good.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) {
    std::fprintf(stderr, "orv: no runtime folder; a second copy is not detected\n");
    return false;
  }
  // Qt takes a lock file older than its stale-lock age (30 s) for one a crash left
  // behind and tries to remove it; the holder's flock() on the file stops that for as
  // long as the holder runs, so a copy that has run for hours still counts.
  auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(lockName_ + ".lock"));
  if (lock->tryLock(0)) {
    lock_ = std::move(lock);
    return false;
  }
  if (lock->error() == QLockFile::LockFailedError) return true;
  std::fprintf(stderr, "orv: cannot create the lock in %s; a second copy is not detected\n",
               qPrintable(folder));
  return false;
}

void QtWindowSystem::messageBox(const QString& text, MessageIcon icon, const QString& title) {
  showMessageBox(icon == MessageIcon::kWarning ? QMessageBox::Warning : QMessageBox::NoIcon, text,
                 title);
}

void QtWindowSystem::processPendingMessages() {
  // Deferred deletes stay for the main loop: a handler that is running may still use
  // an object whose deletion was asked for.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtWindowSystem::endProgram(int exitCode) {
  if (lock_) lock_->unlock();
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

void QtWindowSystem::reportUnhandledError(const RuntimeError& error) {
  showMessageBox(QMessageBox::Critical,
                 QStringLiteral("実行時エラー '%1':\r\n\r\n%2")
                     .arg(QString::number(error.number()), error.description()),
                 {});
  QtWindowSystem::endProgram(1);
}

}  // namespace orv::platform
