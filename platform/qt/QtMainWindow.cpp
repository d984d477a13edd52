#include "platform/qt/QtMainWindow.h"

#include "platform/qt/Accessibility.h"
#include "platform/qt/BoxedLabel.h"
#include "platform/qt/ControlAdapters.h"
#include "platform/qt/DrawnFrame.h"
#include "platform/qt/EventGuard.h"
#include "platform/qt/Look.h"
#include "platform/qt/PushButton.h"
#include "platform/qt/QtTrackList.h"
#include "platform/qt/WrappingButton.h"

#include <QCloseEvent>

#include <array>
#include <optional>

namespace orv::platform {

namespace {

// The window's labels, in the order they are created.
enum LabelIndex {
  kAlbumCaptionLabel,   // "アルバム名"
  kArtistCaptionLabel,  // "アーティスト名"
  kAlbumTitleLabel,
  kAlbumArtistLabel,
  kTitleLabel,  // the program's name, at the top
  kStatusLabel,
  kLabelCount
};

struct LabelLayout {
  const char* name;
  QString caption;
  QRect geometry;
  double points;
  std::optional<QColor> background;  // a boxed label's colour
  QAccessible::Role accessibleRole = QAccessible::StaticText;
};

const std::array<LabelLayout, kLabelCount>& labelLayouts() {
  static const std::array<LabelLayout, kLabelCount> layouts{{
      {"albumCaptionLabel",
       QStringLiteral("アルバム名"),
       {12, 80, 117, 21},
       14.25,
       look::kLightYellow},
      {"artistCaptionLabel",
       QStringLiteral("アーティスト名"),
       {12, 56, 117, 21},
       14.25,
       look::kLightYellow},
      {"albumTitleLabel", {}, {132, 80, 485, 21}, 14.25, look::kLightYellow},
      {"albumArtistLabel", {}, {132, 56, 485, 21}, 14.25, look::kLightYellow},
      {"titleLabel",
       QStringLiteral("ソナリス（アルバムバージョン）"),
       {100, 12, 429, 29},
       15.75,
       std::nullopt},
      // Its changes are announced.
      {"statusLabel", {}, {12, 384, 605, 21}, 14.25, look::kLightPink, QAccessible::StatusBar},
  }};
  return layouts;
}

std::array<BoxedLabel*, kLabelCount> newLabels(QWidget* window) {
  std::array<BoxedLabel*, kLabelCount> labels{};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const LabelLayout& layout = labelLayouts()[i];
    auto* label = new BoxedLabel(layout.caption, layout.background, window, layout.accessibleRole);
    label->setObjectName(QString::fromLatin1(layout.name));
    label->setGeometry(layout.geometry);
    label->setFont(look::uiFont(layout.points));
    labels[i] = label;
  }
  // A screen reader says each value with its caption.
  labels[kArtistCaptionLabel]->setBuddy(labels[kAlbumArtistLabel]);
  labels[kAlbumCaptionLabel]->setBuddy(labels[kAlbumTitleLabel]);
  return labels;
}

constexpr QSize kClientSize(624, 416);

// The widget the controls sit on: the window itself, or the client area of its own frame.
QWidget* clientArea(QWidget* window, TitleBar titleBar) {
  if (titleBar == TitleBar::kDrawn) return (new DrawnFrame(window, kClientSize))->client();
  window->setFixedSize(kClientSize);
  return window;
}

}  // namespace

// The widgets, created in this order (the order of painting, should any overlap), and
// the adapters through which the form drives them.
struct QtMainWindow::Controls {
  explicit Controls(QWidget* client)
      : buildButton(new WrappingButton(QStringLiteral("フォルダー選択＆ html 作成"), client)),
        quitButton(new PushButton(QStringLiteral("終了"), client)),
        trackList(client),
        labels(newLabels(client)),
        buildButtonAdapter(*buildButton),
        albumTitleAdapter(*labels[kAlbumTitleLabel]),
        albumArtistAdapter(*labels[kAlbumArtistLabel]),
        statusAdapter(*labels[kStatusLabel]) {
    buildButton->setObjectName(QStringLiteral("buildButton"));
    buildButton->setGeometry(500, 116, 117, 69);
    quitButton->setObjectName(QStringLiteral("quitButton"));
    quitButton->setGeometry(500, 340, 117, 33);
    for (QPushButton* button : {static_cast<PushButton*>(buildButton), quitButton}) {
      button->setFont(look::uiFont(12));
      button->setAutoDefault(false);
    }
    trackList.view()->setGeometry(12, 116, 481, 257);
    // Tab order: the build button, the grid, the quit button (the labels take no focus).
    QWidget::setTabOrder(buildButton, trackList.view());
    QWidget::setTabOrder(trackList.view(), quitButton);
  }

  WrappingButton* buildButton;
  PushButton* quitButton;
  QtTrackList trackList;
  std::array<BoxedLabel*, kLabelCount> labels;
  ButtonAdapter buildButtonAdapter;
  LabelAdapter albumTitleAdapter;
  LabelAdapter albumArtistAdapter;
  LabelAdapter statusAdapter;
};

QtMainWindow::QtMainWindow(WindowSystem& windowSystem, TitleBar titleBar)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      windowSystem_(windowSystem) {
  // Before any control exists: Qt keeps the first description of each widget.
  installAccessibleInterfaces();
  controls_ = std::make_unique<Controls>(clientArea(this, titleBar));
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QStringLiteral("Sonalith AlbumVersion"));
  setWindowIcon(look::appIcon());
  connect(controls_->buildButton, &QPushButton::clicked, this,
          [this] { handle(&FormEvents::buildAlbum); });
  connect(controls_->quitButton, &QPushButton::clicked, this,
          [this] { handle(&FormEvents::quit); });
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::setEvents(FormEvents* events) { events_ = events; }

FormControls QtMainWindow::controls(OpenFileDialog& openFileDialog) {
  return {.window = *this,
          .buildButton = controls_->buildButtonAdapter,
          .albumTitleLabel = controls_->albumTitleAdapter,
          .albumArtistLabel = controls_->albumArtistAdapter,
          .statusLabel = controls_->statusAdapter,
          .trackList = controls_->trackList,
          .openFileDialog = openFileDialog};
}

void QtMainWindow::show() {
  QWidget::show();
  controls_->buildButton->setFocus(Qt::OtherFocusReason);
}

void QtMainWindow::unload() {
  unloading_ = true;
  close();
}

void QtMainWindow::setMousePointer(Pointer pointer) {
  if (pointer == Pointer::kBusy) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  // A close that unload() started needs no permission; the close box asks the form.
  const bool mayClose =
      unloading_ || !events_ || guarded(windowSystem_, [this] { return events_->queryClose(); });
  event->setAccepted(mayClose);
}

void QtMainWindow::handle(void (FormEvents::*handler)()) {
  if (!events_) return;
  guarded(windowSystem_, [this, handler] { (events_->*handler)(); });
}

}  // namespace orv::platform
