#pragma once

namespace orv::platform {

// What the main window tells assistive technology (a screen reader, over AT-SPI on Linux)
// where Qt's own account of its widgets falls short. The window is a frame named by its
// title, as readers announce windows, not a bare pane. A boxed label is named by its text
// alone (an empty one by nothing, not by its caption), in the role it was made with
// (BoxedLabel's accessibleRole(): static text, or the status line's status bar, whose
// changes readers announce), and a caption labels its buddy, focusable or not. Call it
// once a QApplication exists and before the window's widgets are made: Qt keeps the first
// account it gives of a widget. Later calls do nothing.
//
//   installAccessibleInterfaces();
//   new BoxedLabel("", look::kLightPink, window, QAccessible::StatusBar);  // a status bar
//   caption->setBuddy(value);  // read as "アーティスト名 テスト歌手"
void installAccessibleInterfaces();

}  // namespace orv::platform
