#pragma once
// When an edit box stores on leaving. Only a real edit counts: text the user typed since a
// refresh last set it (QLineEdit's modified flag). It is stored when the user leaves the box
// within its window (another control, the menus) or presses Enter. The focus going to another
// window (a message box, a dialog, another program) stores nothing; the typed text stays in the
// box and is stored when the user later leaves it within the window. So a box the user merely
// sat in never writes its old text over a download that arrived meanwhile.
#include <QMetaObject>
#include <functional>

class QEvent;
class QFocusEvent;
class QLineEdit;
class QObject;
class QWidget;

namespace zorv {

// Connects `handler` to the exits of `box` that store; the connection ends with `context`.
QMetaObject::Connection OnBoxExit(QLineEdit* box, const QObject* context,
                                  std::function<void()> handler);

// Asks the box holding the focus (or the spin edit around it) to store its typed text now, as
// leaving it would: the window does this before every action that reads or replaces the image.
void CommitTypedText(QWidget* focus);
// Whether `event` is that request; the box that answers it accepts it.
bool IsCommitRequest(const QEvent& event);

// Whether this focus-out hands the focus to another window: nothing is stored or clamped then.
bool FocusLeavesWindow(const QFocusEvent& event);

}  // namespace zorv
