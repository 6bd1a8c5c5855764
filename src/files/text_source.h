// Reading a coordinate file as text: the file opened by its UTF-8 name, its
// bytes taken in chunks with every line end given as one '\n' and the lines
// counted. Shared by the readers of the *.arf and the .dat files.
#ifndef QUILANE_FILES_TEXT_SOURCE_H_
#define QUILANE_FILES_TEXT_SOURCE_H_

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "base/refusal.h"

namespace quilane {

// Characters of a UTF-8 text as the person counts them: every byte that is
// not a continuation byte.
inline bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// Opens `path_text` (UTF-8) for reading into `in`. Refuses
// (kUnreadableFile), with a message naming the file: a folder ("is a folder, not an airfoil file");
// a named pipe, a device or a socket ("not a regular file"), before opening it, so that a pipe
// cannot keep the reader waiting; a file that does not exist or cannot be opened (with the system's
// reason).
std::optional<Refusal> OpenCoordinateFile(const std::string& path_text, std::ifstream& in);

// The file's bytes, read in chunks of 64 KiB, with every line end (LF, CR LF
// or CR) given as one '\n' and the line counted from 1. A NUL byte or a read
// error ends the text as if the file ended there; the caller asks which it
// was (SourceFault). Memory use is the one chunk, whatever the file's size.
class TextSource {
 public:
  static constexpr int kEnd = -1;

  explicit TextSource(std::istream& in) : in_(in) { Fill(); }

  // Looks at the start of the file: skips a UTF-8 byte-order mark; returns
  // false for a UTF-16 byte-order mark (the text is then not read).
  bool TakeByteOrderMark();

  // The next character ('\n' for any line end) or kEnd, without taking it.
  int Peek() {
    const int c = RawPeek();
    return c == '\r' ? '\n' : c;
  }

  // Takes the next character ('\n' for any line end) or gives kEnd.
  int Get();

  // Goes back to the start of the file, as a source just made on it would
  // be (line 1, no NUL met, the byte-order mark not yet taken), so that a
  // second reader can take the same text. While everything read so far lies
  // in the first chunk, that chunk is read again from memory and the file is
  // not touched; otherwise the file is read again from its start.
  void Rewind();

  // When everything from here to the end of the file is padding (NUL bytes
  // and 0x1A end-of-text marks, as old editors and transfers leave behind)
  // and lies in the chunk in memory, takes it, so that the text ends here and
  // a NUL met here is no fault, and returns true. Otherwise changes nothing.
  bool TakePaddingAtEnd();

  long long line() const { return line_; }
  // The line on which the text ended: the last line that holds anything, not
  // the empty one after a final line end.
  long long EndLine() const { return after_line_end_ && line_ > 1 ? line_ - 1 : line_; }
  bool nul_found() const { return nul_found_; }
  bool read_failed() const { return read_failed_; }
  int read_errno() const { return read_errno_; }

 private:
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  std::size_t Available() const { return size_ - position_; }
  void Fill();
  int RawPeek();

  std::istream& in_;
  // The state after the first chunk was read, for Rewind; `reread_needed_`
  // once a later read brought more bytes or failed.
  int reads_ = 0;
  std::size_t first_size_ = 0;
  bool first_read_failed_ = false;
  int first_read_errno_ = 0;
  bool reread_needed_ = false;
  std::array<char, kChunkBytes> buffer_{};
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  long long line_ = 1;
  bool after_line_end_ = false;
  bool nul_found_ = false;
  bool read_failed_ = false;
  int read_errno_ = 0;
};

// A coordinate file opened by its UTF-8 name with a source on its text, so
// that opening and wrapping are written once. The source is large (one
// chunk), so the object lives on the heap of its owner.
class OpenedText {
 public:
  // OpenCoordinateFile on `path_text` and a source at the start of its text.
  std::optional<Refusal> Open(const std::string& path_text);
  // A source on `bytes`, the whole text of a file handed over rather than
  // opened (the web page's); the source reads them as it reads a file.
  void Hold(std::string bytes);
  TextSource& source() { return *source_; }

 private:
  std::ifstream in_;
  std::istringstream held_;
  std::unique_ptr<TextSource> source_;
};

// What went wrong with the source of the file `path` so far: a NUL byte
// (kNotPlainText, "The airfoil file \"...\" is not a plain-text file (line 3
// holds a NUL byte); ...") or a read error (kUnreadableFile), at the line
// reached; nothing when the text so far was read cleanly.
std::optional<Refusal> SourceFault(const TextSource& source, const std::string& path);

}  // namespace quilane

#endif  // QUILANE_FILES_TEXT_SOURCE_H_
