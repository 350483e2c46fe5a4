#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace marlint {

// A sequential, read-only byte input: a named point file, standard input, or
// bytes already in memory. All three are read by the same `readLine`, in
// large blocks, without any character-set conversion. Once a read has failed
// (or the file did not open) every further read fails.
class PointInput {
 public:
  // Reads `stream`; closes it on `close()` or destruction when `ownsStream`.
  PointInput(std::FILE* stream, bool ownsStream);
  // Reads `bytes`, which must outlive the input.
  explicit PointInput(std::string_view bytes);
  // An input in the failed state: there is nothing to read.
  PointInput();

  PointInput(const PointInput&) = delete;
  PointInput& operator=(const PointInput&) = delete;
  PointInput(PointInput&& other) noexcept;
  PointInput& operator=(PointInput&& other) noexcept;
  ~PointInput();

  // Closes an owned stream; standard input is left open.
  void close();

  // Calls `beforeWait` before each read from a pipe or terminal, where the
  // read may wait for the writer: a report can pass on what it has found by
  // then. Files and bytes in memory never wait, and never call it.
  void setBeforeWait(std::function<void()> beforeWait) { beforeWait_ = std::move(beforeWait); }

  // An input for a file that did not open, with the errno of the attempt.
  static PointInput notOpened(int errorNumber);

  // True once reading stopped because the stream failed rather than ended.
  bool hadReadError() const { return hadReadError_; }
  // True for the input of a file that did not open.
  bool didNotOpen() const { return didNotOpen_; }
  // The errno of the failed open or read, 0 when there was none.
  int errorNumber() const { return errorNumber_; }

  // Hands the bytes after the last line read to `take`, in order and in
  // pieces, until `take` returns false or the input ends, and leaves them
  // to be read as lines afterwards as if they had not been looked at.
  // Nothing held moves, so the last line read stays valid. Bytes in memory
  // are looked at where they are, and a regular file is read from here on
  // and set back; a pipe or another stream that cannot go back keeps what
  // was read of it in memory until lines reach it.
  void peekRest(const std::function<bool(std::string_view)>& take);

  // The bytes read and not yet dropped: the last line read and what was
  // read around it, for a report that looks at more than one line. They
  // start at the input's first byte while no block was dropped, and reach
  // its last once the stream ended; bytes in memory are held whole.
  std::string_view heldBytes() const { return {data_, end_}; }
  bool holdsFirstByte() const { return droppedBytes_ == 0; }
  // How many bytes of the input come before the held ones.
  std::size_t heldBytesOffset() const { return droppedBytes_; }
  bool holdsLastByte() const { return stream_ == nullptr; }

  friend bool readLine(PointInput& input, std::string_view& line);

 private:
  // Reads more bytes from the stream behind the unread ones; false when the
  // stream had none left.
  bool refill();

  // Reads at most `size` bytes into `into`: the bytes a look ahead kept,
  // then what the stream has now; 0 at its end or on an error.
  std::size_t readSome(char* into, std::size_t size);
  // The same from the stream itself.
  std::size_t readFromStream(char* into, std::size_t size);

  // Hands the rest of a regular file to `take` and sets the stream back;
  // false, with nothing read, for a stream that cannot go back.
  bool peekInPlace(const std::function<bool(std::string_view)>& take);

  std::FILE* stream_ = nullptr;
  bool ownsStream_ = false;
  bool mayWait_ = false;  // a pipe or terminal rather than a file
  std::function<void()> beforeWait_;
  bool failed_ = false;
  bool hadReadError_ = false;
  bool didNotOpen_ = false;
  int errorNumber_ = 0;
  // The one buffer a stream is read into, reused for every block and grown
  // only for a line longer than it. Not zeroed: only what is read is touched.
  std::unique_ptr<char[]> buffer_;
  std::size_t bufferSize_ = 0;
  const char* data_ = nullptr;    // buffer_ or the caller's bytes
  std::size_t begin_ = 0;         // first unread byte
  std::size_t end_ = 0;           // one past the last byte available
  std::size_t scannedUpTo_ = 0;   // bytes from begin_ known to hold no LF
  std::size_t droppedBytes_ = 0;  // bytes of the stream before data_[0]
  // Bytes a look ahead read from a stream that cannot go back, from
  // aheadBegin_ on not yet read as lines; aheadEnded_ once it met the
  // stream's end or a failed read, which then stands for the stream's.
  std::string ahead_;
  std::size_t aheadBegin_ = 0;
  bool aheadEnded_ = false;
};

// Opens the point input for `path`: exactly "-" means standard input, any
// other text names a file, opened in binary mode. A file that does not open
// gives an input in the failed state; no message is produced here.
PointInput openPointInput(const std::string& path);

// Reads the next line into `line` without its line end; a CR directly before
// the LF is dropped too, a CR anywhere else is an ordinary byte. A last line
// without LF is still a line. Returns false, with `line` empty, when there is
// no line left. `line` stays valid until the next read from `input`.
bool readLine(PointInput& input, std::string_view& line);

}  // namespace marlint
