// A user at the keyboard for the real program where no input device is at hand (weston's
// headless backend has none): a Qt generic plugin that the program's QApplication loads
// when QT_PLUGIN_PATH and QT_QPA_GENERIC_PLUGINS=orvdriver name it. The program knows
// nothing of it and it is built for the tests only. It hands key presses to Qt's platform
// layer, as the compositor's keyboard would, and reports on standard output what the
// windows show, a line "driver: …" each.
//
//   ORV_DRIVE=build   ORV_DRIVE_FILE=/album/01.mp3  ORV_DRIVE_QUIT=/tmp/quit
//     Space on the build button, the file's path typed into the dialog and Return; once
//     the page is built, "driver: ready"; once ORV_DRIVE_QUIT exists, Tab to the quit
//     button and Space.
//   ORV_DRIVE=answer
//     Reads the warning that a second copy shows, and presses Return.

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

void report(const QString& line) {
  std::printf("driver: %s\n", qPrintable(line));
  std::fflush(stdout);
}

QWidget* shownWindow(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == name && w->isVisible() && w->windowHandle() != nullptr &&
        w->windowHandle()->isExposed()) {
      return w;
    }
  }
  return nullptr;
}

// A key pressed once the step has returned: a press that opens a dialog runs the dialog's
// own event loop, within which the steps' timer would not fire again.
void press(QWidget* window, Qt::Key key) {
  QTimer::singleShot(0, window, [target = QPointer<QWindow>(window->windowHandle()), key] {
    if (target) QTest::keyClick(target, key);
  });
}

// `text` entered at once, as an input method commits it: typed letter by letter, a path
// makes the file dialog's completion change folders on the way.
void type(QWidget* window, const QString& text) {
  QTest::sendKeyEvent(QTest::Click, window->windowHandle(), Qt::Key_unknown, text, Qt::NoModifier);
}

// Steps tried every 50 ms, each until it returns true; a minute for all of them.
class Driver : public QObject {
 public:
  explicit Driver(std::vector<std::function<bool()>> steps) : steps_(std::move(steps)) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (++ticks_ > 1200) {
        report(QStringLiteral("timed out at step %1").arg(next_ + 1));
        std::_Exit(3);
      }
      if (next_ < steps_.size() && steps_[next_]()) ++next_;
    });
    timer_.start(50);
  }

 private:
  std::vector<std::function<bool()>> steps_;
  std::size_t next_ = 0;
  int ticks_ = 0;
  QTimer timer_;
};

QString describeMainWindow(QWidget* window) {
  QWidget* client = window->findChild<QWidget*>(QStringLiteral("buildButton"))->parentWidget();
  const auto* frame = window->findChild<QWidget*>(QStringLiteral("drawnFrame"));
  return QStringLiteral(
             "window \"%1\" platform %2 app-id %3 icon %4 client %5x%6 fixed %7 "
             "qt-decoration %8 drawn-frame %9 buttons-in-frame %10")
      .arg(window->windowTitle(), QGuiApplication::platformName(),
           QGuiApplication::desktopFileName(),
           window->windowIcon().isNull() ? QStringLiteral("none") : QStringLiteral("yes"))
      .arg(client->width())
      .arg(client->height())
      .arg(window->minimumSize() == window->maximumSize() ? QStringLiteral("yes")
                                                          : QStringLiteral("no"))
      .arg(window->windowHandle()->frameMargins().top())
      .arg(frame != nullptr ? QStringLiteral("yes") : QStringLiteral("no"))
      .arg(frame != nullptr
               ? frame->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly).size()
               : 0);
}

std::vector<std::function<bool()>> buildSteps() {
  const QString file = qEnvironmentVariable("ORV_DRIVE_FILE");
  const QString quit = qEnvironmentVariable("ORV_DRIVE_QUIT");
  return {
      [] {
        QWidget* window = shownWindow(QStringLiteral("mainWindow"));
        if (window == nullptr) return false;
        report(describeMainWindow(window));
        press(window, Qt::Key_Space);  // the build button has the focus
        return true;
      },
      [file] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->windowHandle() || !dialog->windowHandle()->isExposed())
          return false;
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (dialog->focusWidget() != edit) return false;
        report(QStringLiteral("dialog \"%1\"").arg(dialog->windowTitle()));
        type(dialog, file);
        return true;
      },
      [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (QWidget* popup = QApplication::activePopupWidget()) popup->hide();  // completions
        press(dialog, Qt::Key_Return);
        return true;
      },
      [] {
        QWidget* window = shownWindow(QStringLiteral("mainWindow"));
        const auto* status = window->findChild<QLabel*>(QStringLiteral("statusLabel"));
        if (status->text().isEmpty()) return false;
        const auto* grid = window->findChild<QTableView*>(QStringLiteral("trackGrid"));
        report(QStringLiteral("status \"%1\" album \"%2\" rows %3")
                   .arg(status->text(),
                        window->findChild<QLabel*>(QStringLiteral("albumTitleLabel"))->text())
                   .arg(grid->model()->rowCount()));
        report(QStringLiteral("ready"));
        return true;
      },
      [quit] {
        if (!QFile::exists(quit)) return false;
        QWidget* window = shownWindow(QStringLiteral("mainWindow"));
        QWidget* focused = window->focusWidget();
        if (focused == nullptr || focused->objectName() != u"quitButton") {
          press(window, Qt::Key_Tab);
          return false;
        }
        report(QStringLiteral("quit"));
        press(window, Qt::Key_Space);
        return true;
      },
  };
}

std::vector<std::function<bool()>> answerSteps() {
  return {[] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box == nullptr || !box->isVisible() || !box->windowHandle()->isExposed()) continue;
      report(QStringLiteral("box \"%1\" \"%2\" warning %3 main-window %4")
                 .arg(box->windowTitle(), box->text(),
                      box->icon() == QMessageBox::Warning ? QStringLiteral("yes")
                                                          : QStringLiteral("no"),
                      shownWindow(QStringLiteral("mainWindow")) ? QStringLiteral("yes")
                                                                : QStringLiteral("no")));
      press(box, Qt::Key_Return);
      return true;
    }
    return false;
  }};
}

}  // namespace

class KeyboardDriverPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "KeyboardDriver.json")

 public:
  QObject* create(const QString&, const QString&) override {
    const QString drive = qEnvironmentVariable("ORV_DRIVE");
    return new Driver(drive == u"answer" ? answerSteps() : buildSteps());
  }
};

#include "KeyboardDriver.moc"
