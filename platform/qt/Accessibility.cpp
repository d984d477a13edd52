#include "platform/qt/Accessibility.h"

#include "platform/qt/BoxedLabel.h"
#include "platform/qt/QtMainWindow.h"

#include <QAccessibleWidget>

namespace orv::platform {

namespace {

// A boxed label in its role, named by its text alone: Qt would name an empty label by the
// caption whose buddy it is, and an album's empty title would be read as its caption.
class LabelAccessible : public QAccessibleWidget {
 public:
  explicit LabelAccessible(BoxedLabel* label) : QAccessibleWidget(label, label->accessibleRole()) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) {
      return QAccessibleWidget::text(t);
    }
    return label().text();
  }

  // Qt's part relates a label to the caption whose buddy it is; a caption is related to
  // its buddy here.
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    auto relations = QAccessibleWidget::relations(match);
    QWidget* buddy = label().buddy();
    if ((match & QAccessible::Labelled) && buddy != nullptr) {
      if (QAccessibleInterface* labelled = QAccessible::queryAccessibleInterface(buddy)) {
        relations.append({labelled, QAccessible::Labelled});
      }
    }
    return relations;
  }

 private:
  const QLabel& label() const { return *static_cast<const QLabel*>(widget()); }
};

QAccessibleInterface* accessibleInterface(const QString&, QObject* object) {
  if (auto* window = qobject_cast<QtMainWindow*>(object)) {
    return new QAccessibleWidget(window, QAccessible::Window);
  }
  if (auto* label = dynamic_cast<BoxedLabel*>(object)) return new LabelAccessible(label);
  return nullptr;
}

}  // namespace

void installAccessibleInterfaces() {
  // The factory installed last is asked first: Qt's own, installed with the QApplication,
  // answers for every other widget.
  [[maybe_unused]] static const bool installed = [] {
    QAccessible::installFactory(&accessibleInterface);
    return true;
  }();
}

}  // namespace orv::platform
