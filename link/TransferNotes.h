#pragma once
// Texts about a transfer that the window and the command line both say.

namespace zorv {

// An upload ended after some of the image had gone out.
inline constexpr const char* kHalfSentText =
    "Settings half-sent: the controller holds a mix of old and new settings; send again";

}  // namespace zorv
