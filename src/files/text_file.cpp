#include "files/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace zel {
namespace {

// The error of the system call that just failed.
std::error_code LastError() {
  return {errno, std::generic_category()};
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  // Closes now; false when close() reports an error (a write that failed late).
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

RecordLoad Refusal(RecordStop stop, std::string found, int error = 0) {
  return {.moves = {}, .stop = stop, .line = 0, .found = std::move(found), .error = error};
}

// "a directory" and so on, for a file that is not a regular one.
std::string FileKind(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

// Writes all of `text`, through partial writes and interruptions.
bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;  // no progress and no reason: do not spin
      return false;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Syncs a directory so that a rename in it survives a crash. Best effort: the rename has been
// made either way.
void SyncDirectory(const std::filesystem::path& dir) {
  const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::optional<RecordLoad> ReadTextFile(const std::filesystem::path& path, long limit,
                                       std::string& text) {
  // O_NONBLOCK: opening a pipe with no writer returns at once, to be refused below. The checks
  // run on the open descriptor, so the file checked is the file read.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Refusal(RecordStop::kCannotRead, {}, errno);
  const FileDescriptor file(fd);
  struct stat status {};
  if (fstat(fd, &status) != 0) return Refusal(RecordStop::kCannotRead, {}, errno);
  if (!S_ISREG(status.st_mode))
    return Refusal(RecordStop::kNotRegularFile, FileKind(status.st_mode));
  const auto tooLarge = [limit] { return Refusal(RecordStop::kTooLarge, std::to_string(limit)); };
  if (status.st_size > limit) return tooLarge();

  // The file may have grown since fstat(): read one byte past the limit to tell.
  const size_t most = static_cast<size_t>(limit);
  text.clear();
  text.reserve(static_cast<size_t>(status.st_size) + 1);
  std::array<char, 65536> buffer;
  while (text.size() <= most) {
    const size_t wanted = std::min(buffer.size(), most + 1 - text.size());
    const ssize_t got = read(fd, buffer.data(), wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Refusal(RecordStop::kCannotRead, {}, errno);
    }
    if (got == 0) break;
    text.append(buffer.data(), static_cast<size_t>(got));
  }
  if (text.size() > most) return tooLarge();
  return std::nullopt;
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view text) {
  const std::string name = path.filename().string();
  // A path without a file name ("dir/") names a directory, which a text file cannot replace.
  if (name.empty()) return std::make_error_code(std::errc::is_a_directory);

  // 1. Create a temporary file of a name no one else uses, beside the target so that the
  // rename stays within one file system. O_EXCL refuses a stale file of the same name.
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
    temp = path.parent_path() /
           ("." + name + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp");
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return LastError();
  }
  if (fd < 0) return LastError();

  // 2. Write it whole and sync it, then 3. rename it over the target. The first step that fails
  // gives the error; the temporary file is removed after it.
  FileDescriptor file(fd);
  std::error_code error;
  if (!WriteAll(file.get(), text) || fsync(file.get()) != 0) error = LastError();
  if (!file.Close() && !error) error = LastError();
  if (!error && std::rename(temp.c_str(), path.c_str()) != 0) error = LastError();
  if (error) {
    unlink(temp.c_str());
    return error;
  }
  SyncDirectory(path.parent_path());
  return {};
}

}  // namespace zel
