#include "platform/qt/QtMainWindow.h"

#include "platform/qt/BoxedLabel.h"
#include "platform/qt/ControlAdapters.h"
#include "platform/qt/DrawnFrame.h"
#include "platform/qt/EventGuard.h"
#include "platform/qt/Look.h"
#include "platform/qt/PushButton.h"
#include "platform/qt/QtGrid.h"
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
  QRect twips;
  double points;
  std::optional<QColor> background;  // a boxed label's colour
};

const std::array<LabelLayout, kLabelCount>& labelLayouts() {
  static const std::array<LabelLayout, kLabelCount> layouts{{
      {"albumCaptionLabel",
       QStringLiteral("アルバム名"),
       {180, 1200, 1755, 315},
       14.25,
       look::kLightYellow},
      {"artistCaptionLabel",
       QStringLiteral("アーティスト名"),
       {180, 840, 1755, 315},
       14.25,
       look::kLightYellow},
      {"albumTitleLabel", {}, {1980, 1200, 7275, 315}, 14.25, look::kLightYellow},
      {"albumArtistLabel", {}, {1980, 840, 7275, 315}, 14.25, look::kLightYellow},
      {"titleLabel",
       QStringLiteral("ソナリス（アルバムバージョン）"),
       {1500, 180, 6435, 435},
       15.75,
       std::nullopt},
      {"statusLabel", {}, {180, 5760, 9075, 315}, 14.25, look::kLightPink},
  }};
  return layouts;
}

std::array<BoxedLabel*, kLabelCount> newLabels(QWidget* window) {
  std::array<BoxedLabel*, kLabelCount> labels{};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const LabelLayout& layout = labelLayouts()[i];
    auto* label = new BoxedLabel(layout.caption, layout.background, window);
    label->setObjectName(QString::fromLatin1(layout.name));
    const QRect& t = layout.twips;
    label->setGeometry(look::twipsRect(t.x(), t.y(), t.width(), t.height()));
    label->setFont(look::uiFont(layout.points));
    labels[i] = label;
  }
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
        trackGrid(client),
        labels(newLabels(client)),
        buildButtonAdapter(*buildButton),
        albumTitleAdapter(*labels[kAlbumTitleLabel]),
        albumArtistAdapter(*labels[kAlbumArtistLabel]),
        statusAdapter(*labels[kStatusLabel]) {
    buildButton->setObjectName(QStringLiteral("buildButton"));
    buildButton->setGeometry(look::twipsRect(7500, 1740, 1755, 1035));
    quitButton->setObjectName(QStringLiteral("quitButton"));
    quitButton->setGeometry(look::twipsRect(7500, 5100, 1755, 495));
    for (QPushButton* button : {static_cast<PushButton*>(buildButton), quitButton}) {
      button->setFont(look::uiFont(12));
      button->setAutoDefault(false);
    }
    trackGrid.view()->setGeometry(look::twipsRect(180, 1740, 7215, 3855));
    // Tab order: the build button, the grid, the quit button (the labels take no focus).
    QWidget::setTabOrder(buildButton, trackGrid.view());
    QWidget::setTabOrder(trackGrid.view(), quitButton);
  }

  WrappingButton* buildButton;
  PushButton* quitButton;
  QtGrid trackGrid;
  std::array<BoxedLabel*, kLabelCount> labels;
  ButtonAdapter buildButtonAdapter;
  LabelAdapter albumTitleAdapter;
  LabelAdapter albumArtistAdapter;
  LabelAdapter statusAdapter;
};

QtMainWindow::QtMainWindow(WindowSystem& windowSystem, TitleBar titleBar)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      windowSystem_(windowSystem),
      controls_(std::make_unique<Controls>(clientArea(this, titleBar))) {
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
          .trackGrid = controls_->trackGrid,
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

void QtMainWindow::setMousePointer(int pointer) {
  if (pointer == kPointerHourglass) {
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
