#pragma once
// Whether a standard stream is a terminal: the progress bar and the questions need one.
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zorv::cli {

inline bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) == 1;
#endif
}

}  // namespace zorv::cli
