#include "input/point_input.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace marlint {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

PointInput::PointInput(std::FILE* stream, bool ownsStream)
    : stream_(stream), ownsStream_(ownsStream), failed_(stream == nullptr) {}

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
    const bool dataInBuffer = other.data_ == other.buffer_.data();
    stream_ = std::exchange(other.stream_, nullptr);
    ownsStream_ = std::exchange(other.ownsStream_, false);
    failed_ = std::exchange(other.failed_, true);
    hadReadError_ = other.hadReadError_;
    didNotOpen_ = other.didNotOpen_;
    errorNumber_ = other.errorNumber_;
    buffer_ = std::move(other.buffer_);
    data_ = dataInBuffer ? buffer_.data() : other.data_;
    begin_ = other.begin_;
    end_ = other.end_;
    scannedUpTo_ = other.scannedUpTo_;
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
  // Move the unread bytes to the front, then grow only when a single line
  // fills the whole buffer, so memory follows the longest line.
  const std::size_t unread = end_ - begin_;
  if (begin_ > 0 && unread > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, unread);
  }
  begin_ = 0;
  end_ = unread;
  if (buffer_.size() < kBlockSize) {
    buffer_.resize(kBlockSize);
  } else if (unread == buffer_.size()) {
    buffer_.resize(buffer_.size() * 2);
  }
  data_ = buffer_.data();
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, stream_);
  end_ += got;
  if (got == 0) {
    hadReadError_ = std::ferror(stream_) != 0;
    errorNumber_ = hadReadError_ ? errno : 0;
    close();
    return false;
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
    const void* found = searchFrom < input.end_
                            ? std::memchr(input.data_ + searchFrom, '\n', input.end_ - searchFrom)
                            : nullptr;
    if (found != nullptr) {
      const std::size_t lineFeed = static_cast<const char*>(found) - input.data_;
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
