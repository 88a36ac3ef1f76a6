#pragma once
// A private folder per fuzzing process for the files the readers are given.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zorv::fuzz {

// Never destroyed, so the clean-up at exit can still use it.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path* folder = [] {
    // Memory-backed when the system has it: every input is written, and saves sync to disk.
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "zorv-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchFolder(), ec);
    });
    return new std::filesystem::path(pattern);
  }();
  return *folder;
}

inline std::string WriteScratchFile(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string file = (ScratchFolder() / name).string();
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  if (std::fclose(out) != 0) std::abort();
  return file;
}

}  // namespace zorv::fuzz
