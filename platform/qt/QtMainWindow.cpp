#include "platform/qt/QtMainWindow.h"

#include "platform/RuntimeError.h"
#include "platform/qt/BoxedLabel.h"
#include "platform/qt/ControlAdapters.h"
#include "platform/qt/EventGuard.h"
#include "platform/qt/Look.h"
#include "platform/qt/PushButton.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/WrappingButton.h"

#include <QCloseEvent>

#include <array>
#include <optional>
#include <vector>

namespace orv::platform {

namespace {

struct LabelLayout {
  const char* name;
  QString caption;
  QRect twips;
  double points;
  std::optional<QColor> background;
};

// Label1 to Label6, in that order.
const std::array<LabelLayout, 6>& labelLayouts() {
  static const std::array<LabelLayout, 6> layouts{{
      {"Label1", QStringLiteral("アルバム名"), {180, 1200, 1755, 315}, 14.25, look::kLightYellow},
      {"Label2",
       QStringLiteral("アーティスト名"),
       {180, 840, 1755, 315},
       14.25,
       look::kLightYellow},
      {"Label3", {}, {1980, 1200, 7275, 315}, 14.25, look::kLightYellow},
      {"Label4", {}, {1980, 840, 7275, 315}, 14.25, look::kLightYellow},
      {"Label5",
       QStringLiteral("ソナリス（アルバムバージョン）"),
       {1500, 180, 6435, 435},
       15.75,
       std::nullopt},
      {"Label6", {}, {180, 5760, 9075, 315}, 14.25, look::kLightPink},
  }};
  return layouts;
}

QRect pixels(const QRect& twips) {
  return look::twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

}  // namespace

struct QtMainWindow::Controls {
  explicit Controls(QWidget* window)
      : command1(new WrappingButton(QStringLiteral("フォルダー選択＆ html 作成"), window)),
        command3(new PushButton(QStringLiteral("終了"), window)),
        grid(window),
        command1Adapter(*command1),
        command3Adapter(*command3) {
    labels.reserve(labelLayouts().size());
    for (const LabelLayout& layout : labelLayouts()) {
      auto* label = new BoxedLabel(layout.caption, layout.background, window);
      label->setObjectName(QString::fromLatin1(layout.name));
      label->setGeometry(pixels(layout.twips));
      label->setFont(look::uiFont(layout.points));
      labels.emplace_back(*label);
    }
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(look::twipsRect(7500, 1740, 1755, 1035));
    command3->setObjectName(QStringLiteral("Command3"));
    command3->setGeometry(look::twipsRect(7500, 5100, 1755, 495));
    for (QPushButton* button : {static_cast<PushButton*>(command1), command3}) {
      button->setFont(look::uiFont(12));
      button->setAutoDefault(false);
    }
    grid.view()->setGeometry(look::twipsRect(180, 1740, 7215, 3855));
    // Tab order: Command1, the grid, Command3 (the labels take no focus).
    QWidget::setTabOrder(command1, grid.view());
    QWidget::setTabOrder(grid.view(), command3);
  }

  WrappingButton* command1;
  PushButton* command3;
  QtGrid grid;
  ButtonAdapter command1Adapter;
  ButtonAdapter command3Adapter;
  std::vector<LabelAdapter> labels;  // Label1 … Label6
};

QtMainWindow::QtMainWindow(WindowSystem& windowSystem)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      windowSystem_(windowSystem),
      controls_(std::make_unique<Controls>(this)) {
  setObjectName(QStringLiteral("Frm010_Orv"));
  setWindowTitle(QStringLiteral("Sonalith AlbumVersion"));
  setWindowIcon(look::appIcon());
  setFixedSize(624, 416);
  connect(controls_->command1, &QPushButton::clicked, this,
          [this] { handle(&FormEvents::Command1_Click); });
  connect(controls_->command3, &QPushButton::clicked, this,
          [this] { handle(&FormEvents::Command3_Click); });
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::setEvents(FormEvents* events) { events_ = events; }

Button& QtMainWindow::command1() { return controls_->command1Adapter; }

Button& QtMainWindow::command3() { return controls_->command3Adapter; }

Label& QtMainWindow::label(int number) {
  if (number < 1 || number > int(controls_->labels.size())) {
    throw RuntimeError(ErrorCode::kSubscriptOutOfRange);
  }
  return controls_->labels[static_cast<std::size_t>(number - 1)];
}

Grid& QtMainWindow::grid() { return controls_->grid; }

void QtMainWindow::show() {
  QWidget::show();
  controls_->command1->setFocus(Qt::OtherFocusReason);
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
      unloading_ || !events_ || guarded(windowSystem_, [this] { return events_->QueryUnload(); });
  event->setAccepted(mayClose);
}

void QtMainWindow::handle(void (FormEvents::*handler)()) {
  if (!events_) return;
  guarded(windowSystem_, [this, handler] { (events_->*handler)(); });
}

}  // namespace orv::platform
