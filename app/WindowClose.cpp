#include "app/WindowClose.h"

#include <QWidget>

#include "app/ExitQuestion.h"
#include "app/WindowLink.h"
#include "session/TruckSession.h"

namespace zorv {

void WindowClose::Exit() {
  if (!parts_.link.MayStop() || !MayClose()) return;
  CloseNow();
}

bool WindowClose::Accept() {
  if (!closing_ && (!parts_.link.MayStop() || !MayClose())) return false;
  closing_ = true;
  return true;
}

void WindowClose::CloseNow() {
  closing_ = true;
  parts_.link.Stop();
  parts_.window.close();
}

void WindowClose::EndWithoutAsking() {
  parts_.session.BeforeReplace();
  CloseNow();
}

bool WindowClose::MayClose() {
  TruckSession& session = parts_.session;
  session.CommitPendingEdit();
  session.ShowModified();
  if (!session.Modified()) return true;
  switch (AskExit(parts_.link.InState(LinkState::ConnectedIdle), parts_.prompts, &parts_.window)) {
    case ExitAnswer::Send:
      session.CloseAfterUpload();
      parts_.send();
      return false;
    case ExitAnswer::Save:
      return parts_.save();
    case ExitAnswer::Discard:
      return true;
    default:
      return false;  // Cancel, Escape, the close box
  }
}

}  // namespace zorv
