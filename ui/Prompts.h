#pragma once
// Every modal interaction of the window goes through this seam: message boxes, the text query,
// file dialogs, the printer setup and modal secondary windows. Production shows real dialogs;
// GUI tests script the answers, and a dialog a test did not expect fails it.
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace zorv {

class Prompts {
 public:
  enum class Kind { Information, Warning, Error, Confirmation };

  virtual ~Prompts() = default;

  // A box with an OK button.
  virtual void Message(Kind kind, const QString& title, const QString& text) = 0;
  // A box with Yes and No buttons; true for Yes.
  virtual bool Confirm(const QString& title, const QString& text) = 0;
  // A box with buttons of its own, left to right; the index of the one pressed, or -1 when
  // the box was closed otherwise. `defaultButton` is what Enter presses.
  virtual int Choose(Kind kind, const QString& title, const QString& text,
                     const QStringList& buttons, int defaultButton) = 0;
  // A text query with OK and Cancel; nullopt for Cancel.
  virtual std::optional<QString> QueryText(const QString& caption, const QString& prompt,
                                           const QString& initial) = 0;
  // File dialogs; "" when the user cancels. `filter` is in the toolkit's form.
  virtual QString OpenFileName(const QString& caption, const QString& initialPath,
                               const QString& filter) = 0;
  virtual QString SaveFileName(const QString& caption, const QString& initialPath,
                               const QString& filter) = 0;  // asks before overwriting
  // Printer setup; false when cancelled.
  virtual bool SetUpPrinter(QPrinter& printer) = 0;
  // A modal secondary window; returns its result code.
  virtual int ShowModal(QDialog& dialog) = 0;
};

}  // namespace zorv
