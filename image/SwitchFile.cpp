#include "SwitchFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zorv {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string TemporaryNameBeside(const std::filesystem::path& target) {
  std::random_device device;
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(device));
  return target.string() + suffix;
}

// Pushes the bytes to the disk before the rename makes them the file, so a crash or power loss
// cannot leave an empty file under the old name. Errors the disk reports only now count too.
int SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
  if (::_commit(::_fileno(file)) != 0) return errno != 0 ? errno : EIO;
#else
  if (::fsync(::fileno(file)) != 0) return errno != 0 ? errno : EIO;
#endif
  return 0;
}

// A file the user marked read-only is not replaced: a rename would ignore the mark.
bool IsReadOnlyFile(const std::filesystem::path& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (ec || !fs::is_regular_file(status)) return false;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (status.permissions() & write) == fs::perms::none;
}

}  // namespace

std::string IoErrorText(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return "File not found";
    case ENOTDIR: return "Path not found";
    case EACCES:
    case EPERM: return "Permission denied";
    case EROFS: return "Read-only file system";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "Disk full";
    case EISDIR: return "Is a folder, not a file";
    case EMFILE:
    case ENFILE: return "Too many open files";
    case ENAMETOOLONG: return "Invalid filename";
    default: return "I/O error " + std::to_string(errorNumber);
  }
}

Outcome ReadSwitchFile(const std::string& fileName, SettingsImage& image) {
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) return Outcome::Failure(IoErrorText(EISDIR));
  errno = 0;
  FilePtr file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return Outcome::Failure(IoErrorText(errno != 0 ? errno : EIO));

  ImageBytes buffer{};
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
  if (std::ferror(file.get())) return Outcome::Failure(IoErrorText(errno != 0 ? errno : EIO));
  // An empty file is at its end at once and yields zeros; a partial record is an error.
  if (got != 0 && got != buffer.size()) return Outcome::Failure("Read beyond end of file");
  image.bytes = buffer;
  return Outcome::Success();
}

Outcome WriteSwitchFile(const std::string& fileName, const SettingsImage& image) {
  namespace fs = std::filesystem;
  const fs::path target(fileName);
  std::error_code ec;
  if (fs::is_directory(target, ec)) return Outcome::Failure(IoErrorText(EISDIR));
  if (IsReadOnlyFile(target)) return Outcome::Failure(IoErrorText(EACCES));

  const std::string temporary = TemporaryNameBeside(target);
  errno = 0;
  FilePtr file(std::fopen(temporary.c_str(), "wbx"));
  if (!file) return Outcome::Failure(IoErrorText(errno != 0 ? errno : EIO));

  auto fail = [&](int errorNumber) {
    file.reset();
    fs::remove(temporary, ec);
    return Outcome::Failure(IoErrorText(errorNumber != 0 ? errorNumber : EIO));
  };
  errno = 0;
  if (std::fwrite(image.bytes.data(), 1, image.bytes.size(), file.get()) != image.bytes.size()) {
    return fail(errno);
  }
  errno = 0;
  if (std::fflush(file.get()) != 0) return fail(errno);
  if (const int code = SyncToDisk(file.get()); code != 0) return fail(code);
  errno = 0;
  if (std::fclose(file.release()) != 0) return fail(errno);

  fs::rename(temporary, target, ec);
  if (ec) {
    const int code = ec.value();
    fs::remove(temporary, ec);
    return Outcome::Failure(IoErrorText(code));
  }
  return Outcome::Success();
}

}  // namespace zorv
