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
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zorv {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

#if defined(_WIN32)
std::string TemporaryNameBeside(const std::filesystem::path& target) {
  std::random_device device;
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(device));
  return target.string() + suffix;
}
#endif

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

namespace {

#if !defined(_WIN32)
// Where the bytes go: a symbolic link is saved through to the file it names.
std::filesystem::path SaveTarget(const std::filesystem::path& named) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_symlink(named, ec)) return named;
  const fs::path real = fs::canonical(named, ec);
  if (!ec) return real;
  const fs::path link = fs::read_symlink(named, ec);  // a link to a file not yet there
  if (ec) return named;
  return link.is_absolute() ? link : named.parent_path() / link;
}

// The folder cannot take a new file but the file itself may be written: write it in place,
// and put the old bytes back if that fails.
Outcome WriteInPlace(const std::string& file, const std::uint8_t* data, std::size_t size) {
  errno = 0;
  FilePtr f(std::fopen(file.c_str(), "r+b"));
  if (!f) return Outcome::Failure(IoErrorText(errno != 0 ? errno : EIO));
  std::string old(4096, '\0');
  old.resize(std::fread(old.data(), 1, old.size(), f.get()));
  const auto put = [&](const void* bytes, std::size_t count) {
    errno = 0;
    if (std::fseek(f.get(), 0, SEEK_SET) != 0) return errno != 0 ? errno : EIO;
    if (std::fwrite(bytes, 1, count, f.get()) != count) return errno != 0 ? errno : EIO;
    if (std::fflush(f.get()) != 0) return errno != 0 ? errno : EIO;
    if (::ftruncate(::fileno(f.get()), static_cast<off_t>(count)) != 0) return errno;
    return SyncToDisk(f.get());
  };
  if (const int code = put(data, size); code != 0) {
    put(old.data(), old.size());
    return Outcome::Failure(IoErrorText(code));
  }
  errno = 0;
  if (std::fclose(f.release()) != 0) return Outcome::Failure(IoErrorText(errno != 0 ? errno : EIO));
  return Outcome::Success();
}
#endif

}  // namespace

Outcome WriteSwitchFile(const std::string& fileName, const SettingsImage& image) {
  return WriteFileSafely(fileName, image.bytes.data(), image.bytes.size());
}

Outcome WriteFileSafely(const std::string& fileName, const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
#if defined(_WIN32)
  const fs::path target(fileName);
#else
  const fs::path target = SaveTarget(fs::path(fileName));
#endif
  std::error_code ec;
  if (fs::is_directory(target, ec)) return Outcome::Failure(IoErrorText(EISDIR));
  if (IsReadOnlyFile(target)) return Outcome::Failure(IoErrorText(EACCES));

#if defined(_WIN32)
  const std::string temporary = TemporaryNameBeside(target);
  errno = 0;
  FilePtr file(std::fopen(temporary.c_str(), "wbx"));
  if (!file) return Outcome::Failure(IoErrorText(errno != 0 ? errno : EIO));
#else
  // A short name beside the target, so a name near the length limit still saves.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temporary = (folder / ".joy-XXXXXX").string();
  errno = 0;
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    const int code = errno != 0 ? errno : EIO;
    if ((code == EACCES || code == EPERM || code == EROFS) && fs::is_regular_file(target, ec)) {
      return WriteInPlace(target.string(), data, size);
    }
    return Outcome::Failure(IoErrorText(code));
  }
  // The file keeps its mode and, where the system allows, its owner; a new one gets the mode
  // any new file of the user gets.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) { /* not allowed: the saver owns it */ }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  FilePtr file(::fdopen(fd, "wb"));
  if (!file) {
    ::close(fd);
    fs::remove(temporary, ec);
    return Outcome::Failure(IoErrorText(EIO));
  }
#endif

  auto fail = [&](int errorNumber) {
    file.reset();
    fs::remove(temporary, ec);
    return Outcome::Failure(IoErrorText(errorNumber != 0 ? errorNumber : EIO));
  };
  errno = 0;
  if (std::fwrite(data, 1, size, file.get()) != size) {
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
