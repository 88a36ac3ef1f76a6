#include "BoxExit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

namespace zorv {

namespace {

// Remembers whether the box last lost the focus to another window.
class LeaveWatch final : public QObject {
 public:
  explicit LeaveWatch(QLineEdit* box) : QObject(box) { box->installEventFilter(this); }
  bool LeftWindow() const { return leftWindow_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      leftWindow_ = FocusLeavesWindow(*static_cast<QFocusEvent*>(event));
    } else if (event->type() == QEvent::FocusIn) {
      leftWindow_ = false;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool leftWindow_ = false;
};

}  // namespace

bool FocusLeavesWindow(const QFocusEvent& event) {
  return event.reason() == Qt::ActiveWindowFocusReason;
}

QMetaObject::Connection OnBoxExit(QLineEdit* box, const QObject* context,
                                  std::function<void()> handler) {
  auto* watch = new LeaveWatch(box);
  return QObject::connect(box, &QLineEdit::editingFinished, context,
                          [box, watch, handler = std::move(handler)] {
                            if (!box->isModified()) return;  // what the refresh showed
                            if (watch->LeftWindow() && !box->hasFocus()) return;
                            box->setModified(false);
                            handler();
                          });
}

}  // namespace zorv
