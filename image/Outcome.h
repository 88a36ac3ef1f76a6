#pragma once
// Success or a failure with the text the user is shown. The core never shows errors itself.
#include <string>
#include <utility>

namespace zorv {

struct Outcome {
  bool ok = true;
  std::string error;

  static Outcome Success() { return {}; }
  static Outcome Failure(std::string text) { return {false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

}  // namespace zorv
