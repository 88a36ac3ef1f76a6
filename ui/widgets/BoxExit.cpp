#include "BoxExit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>

namespace zorv {

namespace {

// Runs the exit handler of one box. Qt emits editingFinished once per edit, also when the focus
// goes to another window; so leaving is watched here, and the signal (Enter, or fired by hand)
// counts only while the box still holds a real edit.
class ExitWatch final : public QObject {
 public:
  ExitWatch(QLineEdit* box, std::function<void()> handler)
      : QObject(box), box_(box), handler_(std::move(handler)) {
    box->installEventFilter(this);
  }

  void Finished() {
    if (leftWindow_ && !box_->hasFocus()) return;  // waits until the user leaves it here
    Store();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) leftWindow_ = false;
    if (event->type() == QEvent::FocusOut) {
      const auto* focus = static_cast<QFocusEvent*>(event);
      leftWindow_ = FocusLeavesWindow(*focus);
      // The box's own context menu is not leaving it.
      const QWidget* popup = QApplication::activePopupWidget();
      const bool ownMenu = focus->reason() == Qt::PopupFocusReason && popup != nullptr &&
                           popup->parentWidget() == box_;
      if (!leftWindow_ && !ownMenu) Store();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Store() {
    if (!box_->isModified()) return;  // still what the refresh showed
    box_->setModified(false);
    handler_();
  }

  QLineEdit* box_;
  std::function<void()> handler_;
  bool leftWindow_ = false;
};

}  // namespace

bool FocusLeavesWindow(const QFocusEvent& event) {
  return event.reason() == Qt::ActiveWindowFocusReason;
}

QMetaObject::Connection OnBoxExit(QLineEdit* box, const QObject* context,
                                  std::function<void()> handler) {
  // The handler runs only while `context` lives, also when called from the focus watch.
  QPointer<const QObject> alive(context);
  auto* watch = new ExitWatch(box, [alive, handler = std::move(handler)] {
    if (alive) handler();
  });
  return QObject::connect(box, &QLineEdit::editingFinished, context, [watch] { watch->Finished(); });
}

}  // namespace zorv
