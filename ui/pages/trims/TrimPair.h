#pragma once
// One valve output's trim pair on a product page: a group box with a minimum and a maximum bar,
// their value labels and the "Test Min" / "Test Max" buttons.
//
// Reuse on any page that carries trims: describe the pair with a TrimPairDef (caption, object
// names, the two image bytes and the live-test command; TrimPairsOf takes all but the buttons
// and the command from the catalogue), create it on the page, and bind its widgets; each
// handler calls the matching rule below:
//
//   bar valueChanged      -> MinBarChange() / MaxBarChange()
//   button mouseDown      -> TestMinDown() / TestMaxDown()
//   button mouseUp        -> ReleaseToIdle()     (pages whose release stops every output)
//                         or ReleaseOwnCommand() (pages whose release sends (command, 0))
//
// In the page's refresh call ShowBars() where the bars are set and ShowLabels() where the
// labels are. Bars show 256 - byte (position 2 at the top is trim 254); moving one bar past
// the other drags the other along, so minimum <= maximum after every move.
#include <QObject>
#include <cstddef>
#include <span>
#include <string>
#include <vector>
#include <cstdint>

#include "image/Catalogue.h"
#include "image/SettingsImage.h"
#include "ui/PageHost.h"

class QGroupBox;
class QLabel;
class QScrollBar;
class QWidget;

namespace zorv {

class TestButton;

struct TrimPairDef {
  const char* caption;       // group caption, shown as given
  const char* port;          // output port shown in the group ("A6"); nullptr for none
  const char* minBar;        // object names
  const char* maxBar;
  const char* minLabel;
  const char* maxLabel;
  const char* minButton;
  const char* maxButton;
  std::size_t minByte;       // image offsets of the pair
  std::size_t maxByte;
  std::uint8_t command;      // live-test command of this output
};

// What a page adds to a pair whose caption, bars, labels and bytes come from the catalogue.
struct TrimPairButtons {
  const char* minButton;
  const char* maxButton;
  std::uint8_t command;
  const char* port = nullptr;
};

// The pairs of the catalogue's trim rows of `layout` on `page` (minimum, then maximum), in the
// catalogue's order; `buttons` gives each pair's buttons, in the same order, and must have one
// entry per pair. The def's texts point into the catalogue and `buttons`.
std::vector<TrimPairDef> TrimPairsOf(Layout layout, const std::string& page,
                                     std::span<const TrimPairButtons> buttons);

// Bar limits shared by every trim bar.
inline constexpr int kTrimBarMin = 2;
inline constexpr int kTrimBarMax = 254;
inline constexpr int kTrimBarSmallStep = 2;
inline constexpr int kTrimBarLargeStep = 20;

// Ends any live test: (0, 0) to the link and no test time stamp. The shared release of the
// pages whose buttons all stop the same way.
void StopLiveTest(PageHost& host);

// A label for a trim in volts, wide enough for "12.8v".
QLabel* MakeTrimValueLabel(const char* name, QWidget* parent);

// A vertical trim bar with the limits and steps above, at its initial position.
QScrollBar* MakeTrimBar(const char* name, QWidget* parent);

class TrimPair {
 public:
  TrimPair(PageHost& host, const TrimPairDef& def, QWidget* parent);
  ~TrimPair();
  TrimPair(const TrimPair&) = delete;
  TrimPair& operator=(const TrimPair&) = delete;

  QGroupBox* group() const { return group_; }
  QScrollBar* minBar() const { return minBar_; }
  QScrollBar* maxBar() const { return maxBar_; }
  QLabel* minLabel() const { return minLabel_; }
  QLabel* maxLabel() const { return maxLabel_; }
  TestButton* minButton() const { return minButton_; }
  TestButton* maxButton() const { return maxButton_; }
  const TrimPairDef& def() const { return def_; }

  // Minimum bar moved: minimum := its trim; maximum raised to it if lower; refresh.
  void MinBarChange();
  // Maximum bar moved: maximum := its trim; minimum lowered to it if higher; refresh.
  void MaxBarChange();
  // Drive the output at the trim byte the image holds now and stamp the test start.
  void TestMinDown();
  void TestMaxDown();
  // Stop every output; no test runs any more (StopLiveTest).
  void ReleaseToIdle();
  // Send (command, 0); the window's timer sends (0, 0) at its next tick.
  void ReleaseOwnCommand();

  void ShowBars(const SettingsImage& local);
  void ShowLabels(const SettingsImage& local);

 private:
  void StartTest(std::size_t byte);

  PageHost& host_;
  std::vector<QMetaObject::Connection> focusLost_;
  TrimPairDef def_;
  QGroupBox* group_;
  QScrollBar* minBar_;
  QScrollBar* maxBar_;
  QLabel* minLabel_;
  QLabel* maxLabel_;
  TestButton* minButton_;
  TestButton* maxButton_;
};

}  // namespace zorv
