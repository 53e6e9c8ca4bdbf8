#include "files/record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>
#include <utility>

namespace zel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The longest text a RecordLoad keeps of what it found.
constexpr size_t kFoundLimit = 24;

// '0'..'9' for 0 to 9, 'A'.. for 10 and up.
char HexDigit(int value) {
  return static_cast<char>(value < 10 ? '0' + value : value + 55);
}

// The board's "Goo" row label of a 0-based row: '1'..'9', then 'A'..'F'.
char RowLabel(int row) {
  return static_cast<char>(row < 9 ? '1' + row : 'A' + row - 9);
}

// The inverse of HexDigit for the digits a record may hold; -1 for any other character.
int DecodeDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'E') return ch - 55;
  return -1;
}

// White space inside a line; the line ends are gone by then.
bool IsSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f';
}

// Splits the next line off `text`: LF, CR LF and a lone CR each end a line.
std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find_first_of("\r\n");
  const std::string_view line = text.substr(0, end);
  if (end == std::string_view::npos) {
    text = {};
    return line;
  }
  const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  text.remove_prefix(end + (crlf ? 2 : 1));
  return line;
}

// The first kFoundLimit bytes of `text`, with "..." when there are more.
std::string Excerpt(std::string_view text) {
  if (text.size() <= kFoundLimit) return std::string(text);
  return std::string(text.substr(0, kFoundLimit)) + "...";
}

// A cursor over one line, skipping white space the way the record reader always has.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  void SkipSpace() {
    while (pos_ < line_.size() && IsSpace(line_[pos_]))
      ++pos_;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == line_.size();
  }
  // An optionally signed decimal integer, as written.
  std::optional<std::string_view> ReadNumber() {
    SkipSpace();
    size_t p = pos_;
    if (p < line_.size() && (line_[p] == '+' || line_[p] == '-')) ++p;
    const size_t digits = p;
    while (p < line_.size() && line_[p] >= '0' && line_[p] <= '9')
      ++p;
    if (p == digits) return std::nullopt;
    const std::string_view number = line_.substr(pos_, p - pos_);
    pos_ = p;
    return number;
  }
  // The next character that is not white space.
  bool ReadChar(char& ch) {
    if (AtEnd()) return false;
    ch = line_[pos_++];
    return true;
  }
  // The rest of the line without its surrounding white space.
  std::string_view Rest() {
    SkipSpace();
    std::string_view rest = line_.substr(pos_);
    while (!rest.empty() && IsSpace(rest.back()))
      rest.remove_suffix(1);
    return rest;
  }

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

// The value of a number ReadNumber found, held at +-1000000 beyond that: no move number is
// near, and a huge number must not overflow.
long NumberValue(std::string_view number) {
  const bool negative = number.front() == '-';
  if (number.front() == '+' || negative) number.remove_prefix(1);
  long value = 0;
  for (const char ch : number) {
    if (value < 1'000'000) value = value * 10 + (ch - '0');
  }
  return negative ? -value : value;
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

RecordLoad FileError(RecordStop stop, std::string found, int error = 0) {
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
    if (written < 0) {
      if (errno == EINTR) continue;
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

// `text` with every byte outside printable ASCII written \xNN, in double quotes.
std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char ch : text) {
    if (ch >= ' ' && ch <= '~') {
      quoted += ch;
    } else {
      std::array<char, 8> escape;
      std::snprintf(escape.data(), escape.size(), "\\x%02X", static_cast<unsigned char>(ch));
      quoted += escape.data();
    }
  }
  return quoted + "\"";
}

std::string CountMoves(size_t count) {
  return std::to_string(count) + (count == 1 ? " move" : " moves");
}

}  // namespace

std::string FormatMoveLine(int number, Point p) {
  std::array<char, 32> buffer;
  std::snprintf(buffer.data(), buffer.size(), "%3d  %c %c  %c %c\n", number, HexDigit(p.row),
                HexDigit(p.col), RowLabel(p.row), static_cast<char>('a' + p.col));
  return buffer.data();
}

std::string FormatRecord(std::span<const Point> moves) {
  std::string text;
  for (size_t k = 0; k < moves.size(); ++k) {
    text += FormatMoveLine(static_cast<int>(k + 1), moves[k]);
  }
  text += '\n';
  return text;
}

RecordLoad ParseRecord(std::string_view text) {
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  RecordLoad load;
  std::array<std::array<bool, kBoardSize>, kBoardSize> taken{};
  int lineNumber = 0;
  auto stopAt = [&](RecordStop stop, std::string_view found) {
    load.stop = stop;
    load.line = lineNumber;
    load.found = Excerpt(found);
    return std::move(load);
  };

  while (!text.empty()) {
    LineReader line(NextLine(text));
    ++lineNumber;
    if (line.AtEnd()) continue;  // blank lines are white space between moves

    const std::optional<std::string_view> number = line.ReadNumber();
    if (!number) return stopAt(RecordStop::kNotAMove, line.Rest());
    if (NumberValue(*number) != static_cast<long>(load.moves.size()) + 1) {
      return stopAt(RecordStop::kOutOfSequence, *number);
    }
    std::array<char, 4> fields{};
    for (char& field : fields) {
      if (!line.ReadChar(field)) return stopAt(RecordStop::kTruncated, {});
    }
    const Point p{DecodeDigit(fields[0]), DecodeDigit(fields[1])};
    if (p.row < 0) return stopAt(RecordStop::kBadRow, {&fields[0], 1});
    if (p.col < 0) return stopAt(RecordStop::kBadColumn, {&fields[1], 1});
    if (load.moves.size() == static_cast<size_t>(kBoardSize * kBoardSize)) {
      return stopAt(RecordStop::kTooManyMoves, {});
    }
    if (taken[p.row][p.col]) {
      return stopAt(RecordStop::kOccupied, std::string{fields[0], ' ', fields[1]});
    }
    taken[p.row][p.col] = true;
    load.moves.push_back(p);
    // The classic reader took this move and stopped at the text after it; so does this one.
    if (!line.AtEnd()) return stopAt(RecordStop::kTrailingText, line.Rest());
  }
  if (load.moves.empty()) load.stop = RecordStop::kNoMoves;
  return load;
}

bool SaveRecord(const std::filesystem::path& path, std::span<const Point> moves) {
  const std::string name = path.filename().string();
  if (name.empty()) return false;
  const std::string text = FormatRecord(moves);

  // 1. Create a temporary file of a name no one else uses, beside the target so that the
  // rename stays within one file system. O_EXCL refuses a stale file of the same name.
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
    temp = path.parent_path() /
           ("." + name + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp");
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  // 2. Write it whole and sync it, then 3. rename it over the target: the target holds either
  // its old content or the whole new record, whenever the program or the machine stops.
  FileDescriptor file(fd);
  const bool written = WriteAll(file.get(), text) && fsync(file.get()) == 0;
  if (!file.Close() || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  SyncDirectory(path.parent_path());
  return true;
}

RecordLoad LoadRecord(const std::filesystem::path& path) {
  // O_NONBLOCK: opening a pipe with no writer returns at once, to be refused below. The checks
  // run on the open descriptor, so the file checked is the file read.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return FileError(RecordStop::kCannotRead, {}, errno);
  const FileDescriptor file(fd);
  struct stat status {};
  if (fstat(fd, &status) != 0) return FileError(RecordStop::kCannotRead, {}, errno);
  if (!S_ISREG(status.st_mode))
    return FileError(RecordStop::kNotRegularFile, FileKind(status.st_mode));
  if (status.st_size > kRecordSizeLimit) return FileError(RecordStop::kTooLarge, {});

  // The file may have grown since fstat(): read one byte past the limit to tell.
  const size_t limit = static_cast<size_t>(kRecordSizeLimit);
  std::string text;
  text.reserve(static_cast<size_t>(status.st_size) + 1);
  std::array<char, 16384> buffer;
  while (text.size() <= limit) {
    const size_t wanted = std::min(buffer.size(), limit + 1 - text.size());
    const ssize_t got = read(fd, buffer.data(), wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      return FileError(RecordStop::kCannotRead, {}, errno);
    }
    if (got == 0) break;
    text.append(buffer.data(), static_cast<size_t>(got));
  }
  if (text.size() > limit) return FileError(RecordStop::kTooLarge, {});
  return ParseRecord(text);
}

std::string DescribeLoad(const RecordLoad& load) {
  const std::string at = "line " + std::to_string(load.line) + ": ";
  const std::string stops = "; loading stops there, after " + CountMoves(load.moves.size());
  switch (load.stop) {
    case RecordStop::kEnd:
      return CountMoves(load.moves.size()) + ", to the end of the record";
    case RecordStop::kNoMoves:
      return "no move line; the game is empty";
    case RecordStop::kNotAMove:
      return at + "not a move line: " + Quote(load.found) + stops;
    case RecordStop::kOutOfSequence:
      // An out-of-sequence line always stands where the move after the loaded ones belongs.
      return at + "move number " + load.found + " where " + std::to_string(load.moves.size() + 1) +
             " was expected" + stops;
    case RecordStop::kBadRow:
      return at + "row digit " + Quote(load.found) + " is not one of 0-9, A-E" + stops;
    case RecordStop::kBadColumn:
      return at + "column digit " + Quote(load.found) + " is not one of 0-9, A-E" + stops;
    case RecordStop::kTruncated:
      return at + "move " + std::to_string(load.moves.size() + 1) +
             " breaks off before its four fields" + stops;
    case RecordStop::kTooManyMoves:
      return at + "a 226th move, more than the board has points" + stops;
    case RecordStop::kOccupied:
      return at + "point " + load.found + " is taken by an earlier move" + stops;
    case RecordStop::kTrailingText:
      return at + "text after the move: " + Quote(load.found) + stops;
    case RecordStop::kCannotRead:
      return "cannot read: " + std::generic_category().message(load.error);
    case RecordStop::kNotRegularFile:
      return "not a regular file but " + load.found;
    case RecordStop::kTooLarge:
      return "larger than " + std::to_string(kRecordSizeLimit) +
             " bytes, more than any game record can be";
  }
  return "unknown";
}

}  // namespace zel
