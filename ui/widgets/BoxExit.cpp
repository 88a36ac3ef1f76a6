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
    if (IsCommitRequest(*event)) {
      event->accept();
      Store();
      return true;
    }
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

QEvent::Type CommitRequestType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool IsCommitRequest(const QEvent& event) { return event.type() == CommitRequestType(); }

void CommitTypedText(QWidget* focus) {
  // The focus may sit in the line edit inside a spin edit: the first widget that answers stores.
  for (QWidget* w = focus; w != nullptr; w = w->isWindow() ? nullptr : w->parentWidget()) {
    QEvent request(CommitRequestType());
    request.ignore();
    QCoreApplication::sendEvent(w, &request);
    if (request.isAccepted()) return;
  }
}

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
