#include "input/point_input.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// A pipe, a terminal or a socket: anything but a regular file or a stream
// without a file descriptor may make a read wait for its writer.
bool mayMakeReadsWait(std::FILE* stream) {
  struct stat status {};
  const int descriptor = stream == nullptr ? -1 : ::fileno(stream);
  return descriptor >= 0 && ::fstat(descriptor, &status) == 0 && !S_ISREG(status.st_mode);
}

}  // namespace

PointInput::PointInput(std::FILE* stream, bool ownsStream)
    : stream_(stream),
      ownsStream_(ownsStream),
      mayWait_(mayMakeReadsWait(stream)),
      failed_(stream == nullptr) {}

PointInput::PointInput(std::string_view bytes) : data_(bytes.data()), end_(bytes.size()) {}

PointInput::PointInput() : failed_(true) {}

PointInput PointInput::notOpened(int errorNumber) {
  PointInput input;
  input.didNotOpen_ = true;
  input.errorNumber_ = errorNumber;
  return input;
}

PointInput::PointInput(PointInput&& other) noexcept {
  *this = std::move(other);
}

PointInput& PointInput::operator=(PointInput&& other) noexcept {
  if (this != &other) {
    close();
    const bool dataInBuffer = other.buffer_ != nullptr && other.data_ == other.buffer_.get();
    stream_ = std::exchange(other.stream_, nullptr);
    ownsStream_ = std::exchange(other.ownsStream_, false);
    mayWait_ = other.mayWait_;
    beforeWait_ = std::move(other.beforeWait_);
    failed_ = std::exchange(other.failed_, true);
    hadReadError_ = other.hadReadError_;
    didNotOpen_ = other.didNotOpen_;
    errorNumber_ = other.errorNumber_;
    buffer_ = std::move(other.buffer_);
    bufferSize_ = std::exchange(other.bufferSize_, 0);
    data_ = dataInBuffer ? buffer_.get() : other.data_;
    begin_ = other.begin_;
    end_ = other.end_;
    scannedUpTo_ = other.scannedUpTo_;
    droppedBytes_ = other.droppedBytes_;
    ahead_ = std::move(other.ahead_);
    aheadBegin_ = std::exchange(other.aheadBegin_, 0);
    aheadEnded_ = other.aheadEnded_;
  }
  return *this;
}

PointInput::~PointInput() {
  close();
}

void PointInput::close() {
  if (stream_ != nullptr && ownsStream_) {
    std::fclose(stream_);
  }
  stream_ = nullptr;
}

bool PointInput::refill() {
  if (stream_ == nullptr) {
    return false;
  }
  // Read behind the held bytes while the buffer has room, so a file that
  // fits in it stays whole from its first byte, as bytes checked in memory
  // are. A full buffer moves the unread bytes to the front, or grows when a
  // single line fills it, so memory follows the longest line.
  const std::size_t unread = end_ - begin_;
  if (buffer_ == nullptr) {
    buffer_.reset(new char[kBlockSize]);
    bufferSize_ = kBlockSize;
  } else if (unread == bufferSize_) {
    std::unique_ptr<char[]> grown(new char[2 * bufferSize_]);
    std::memcpy(grown.get(), buffer_.get(), unread);
    buffer_ = std::move(grown);
    bufferSize_ *= 2;
  } else if (end_ == bufferSize_) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, unread);
    droppedBytes_ += begin_;
    begin_ = 0;
    end_ = unread;
  }
  data_ = buffer_.get();
  const std::size_t got = readSome(buffer_.get() + end_, bufferSize_ - end_);
  end_ += got;
  if (got == 0) {
    close();
    return false;
  }
  return true;
}

std::size_t PointInput::readSome(char* into, std::size_t size) {
  if (aheadBegin_ < ahead_.size()) {
    const std::size_t got = std::min(size, ahead_.size() - aheadBegin_);
    std::memcpy(into, ahead_.data() + aheadBegin_, got);
    aheadBegin_ += got;
    if (aheadBegin_ == ahead_.size()) {
      std::string().swap(ahead_);
      aheadBegin_ = 0;
    }
    return got;
  }
  return aheadEnded_ ? 0 : readFromStream(into, size);
}

std::size_t PointInput::readFromStream(char* into, std::size_t size) {
  if (!mayWait_) {
    const std::size_t got = std::fread(into, 1, size, stream_);
    hadReadError_ = got == 0 && std::ferror(stream_) != 0;
    errorNumber_ = hadReadError_ ? errno : 0;
    return got;
  }
  if (beforeWait_) {
    beforeWait_();
  }
  // A pipe gives what its writer has written so far, so rows are checked
  // as they arrive rather than when a whole block has come.
  for (;;) {
    const ssize_t got = ::read(::fileno(stream_), into, size);
    if (got >= 0) {
      return static_cast<std::size_t>(got);
    }
    if (errno != EINTR) {
      hadReadError_ = true;
      errorNumber_ = errno;
      return 0;
    }
  }
}

void PointInput::peekRest(const std::function<bool(std::string_view)>& take) {
  if (failed_ || !take(std::string_view(data_, end_).substr(begin_)) ||
      !take(std::string_view(ahead_).substr(aheadBegin_)) || stream_ == nullptr || aheadEnded_ ||
      (!mayWait_ && peekInPlace(take))) {
    return;
  }
  for (;;) {
    const std::size_t kept = ahead_.size();
    ahead_.resize(kept + kBlockSize);
    const std::size_t got = readFromStream(ahead_.data() + kept, kBlockSize);
    ahead_.resize(kept + got);
    if (got == 0) {
      aheadEnded_ = true;
      return;
    }
    if (!take(std::string_view(ahead_).substr(kept))) {
      return;
    }
  }
}

bool PointInput::peekInPlace(const std::function<bool(std::string_view)>& take) {
  std::fpos_t here;
  if (std::fgetpos(stream_, &here) != 0) {
    return false;
  }
  std::unique_ptr<char[]> block(new char[kBlockSize]);
  for (;;) {
    const std::size_t got = std::fread(block.get(), 1, kBlockSize, stream_);
    if (got == 0 || !take(std::string_view(block.get(), got))) {
      break;
    }
  }
  // A failed read here is met again when the lines get there. A file that
  // cannot be set back could not give the rest of its lines: that is a
  // failed read, not an end.
  std::clearerr(stream_);
  if (std::fsetpos(stream_, &here) != 0) {
    hadReadError_ = true;
    errorNumber_ = errno;
    aheadEnded_ = true;
  }
  return true;
}

bool readLine(PointInput& input, std::string_view& line) {
  line = {};
  if (input.failed_) {
    return false;
  }
  for (;;) {
    const std::size_t searchFrom = input.begin_ + input.scannedUpTo_;
    const std::optional<std::size_t> found =
        searchFrom < input.end_
            ? findByte(std::string_view(input.data_ + searchFrom, input.end_ - searchFrom), '\n')
            : std::nullopt;
    if (found) {
      const std::size_t lineFeed = searchFrom + *found;
      std::size_t lineEnd = lineFeed;
      if (lineEnd > input.begin_ && input.data_[lineEnd - 1] == '\r') {
        --lineEnd;
      }
      line = std::string_view(input.data_ + input.begin_, lineEnd - input.begin_);
      input.begin_ = lineFeed + 1;
      input.scannedUpTo_ = 0;
      return true;
    }
    input.scannedUpTo_ = input.end_ - input.begin_;
    if (!input.refill()) {
      break;
    }
  }
  if (input.begin_ < input.end_) {
    // The last line ends without LF; a CR at its end is an ordinary byte.
    line = std::string_view(input.data_ + input.begin_, input.end_ - input.begin_);
    input.begin_ = input.end_;
    input.scannedUpTo_ = 0;
    return true;
  }
  input.failed_ = true;
  return false;
}

PointInput openPointInput(const std::string& path) {
  if (path == "-") {
    return PointInput(stdin, false);
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return PointInput::notOpened(errno);
  }
  return PointInput(file, true);
}

}  // namespace marlint
