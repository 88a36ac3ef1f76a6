#pragma once
// One line of the window for short messages that must outlive the status panel's refresh (the
// link rewrites the panel every 250 ms): a refused request, a note about kept edits. A message
// stays for a few seconds, or until the next one replaces it; the line is empty otherwise.
#include <QLabel>
#include <QTimer>

namespace zorv {

class MessageLine final : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kHeight = 18;
  static constexpr int kShownMs = 5000;
  enum class Tone { Note, Warning };

  explicit MessageLine(QWidget* parent = nullptr);

  // Shows `text` for `shownMs` (0: until replaced or cleared).
  void Show(const QString& text, Tone tone = Tone::Warning, int shownMs = kShownMs);
  void Clear();
  bool Showing() const { return !text().isEmpty(); }
  Tone CurrentTone() const { return tone_; }

 private:
  QTimer expiry_;
  Tone tone_ = Tone::Note;
};

}  // namespace zorv
