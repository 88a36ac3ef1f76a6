#pragma once
// The window's note that an upload stopped after its image had started to go out (a failure,
// an unplug, Reset): the controller then holds part new, part old settings. The note stays on
// the message line, over other messages once they go, until a later upload ends.
#include "link/LinkJobs.h"

namespace zorv {

class MessageLine;

class HalfSentNote final {
 public:
  explicit HalfSentNote(MessageLine& line) : line_(line) {}

  // Every event of the window's present link.
  void Seen(const LinkEvent& event);
  // The present link is being replaced (Reset, another port): an upload under way is cut.
  void LinkReplaced();
  // On the window's timer: shows the note again once another message has gone.
  void Tick();
  bool Holds() const { return held_; }

 private:
  void Hold();

  MessageLine& line_;
  bool uploading_ = false;  // image bytes of the present upload have started to go out
  bool held_ = false;
};

}  // namespace zorv
