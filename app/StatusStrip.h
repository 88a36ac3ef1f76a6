#pragma once
// The strip at the bottom of the main window: link status, activity lamps, progress, the three
// link buttons, and below them the byte log, hidden until the user asks for it.
#include <QColor>
#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zorv {

inline const QColor kLampIdle(128, 128, 128);
inline const QColor kLampActive(255, 0, 0);

class StatusStrip final : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kHeight = 55;
  static constexpr int kLogHeight = 250;
  // The log keeps its last lines only, so a long transfer with the log open stays fast.
  static constexpr int kLogLines = 100000;

  explicit StatusStrip(QWidget* parent = nullptr);

  QLabel* ConnectedPanel() const { return connected_; }
  QFrame* TXPanel() const { return tx_; }
  QFrame* RXPanel() const { return rx_; }
  QProgressBar* ProgressGauge() const { return gauge_; }
  QPushButton* UploadButton() const { return upload_; }
  QPushButton* DownloadButton() const { return download_; }
  QPushButton* ResetButton() const { return reset_; }
  QFrame* MemoPanel() const { return memoPanel_; }
  QPlainTextEdit* Memo1() const { return memo_; }

  void SetStatus(const QString& text, const QColor& colour);
  static void SetLamp(QFrame* lamp, const QColor& colour);
  static QColor LampColour(const QFrame* lamp);
  static QColor PanelColour(const QWidget* panel);

  // Shows or hides the byte log and grows or shrinks the strip with it.
  void ShowLog(bool shown);
  bool LogShown() const;
  void AppendLogLine(const QString& line);

 private:
  QLabel* connected_;
  QFrame* tx_;
  QFrame* rx_;
  QProgressBar* gauge_;
  QPushButton* upload_;
  QPushButton* download_;
  QPushButton* reset_;
  QFrame* memoPanel_;
  QPlainTextEdit* memo_;
};

}  // namespace zorv
