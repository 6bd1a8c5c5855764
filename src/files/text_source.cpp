#include "files/text_source.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "files/field_text.h"
#include "files/file_path.h"
#include "files/number_text.h"

namespace quilane {

namespace {

// What a path that is neither a folder nor a regular file is, for a message.
const char* SpecialFileKind(std::filesystem::file_type type) {
  switch (type) {
    case std::filesystem::file_type::fifo:
      return "a named pipe";
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
      return "a device";
    case std::filesystem::file_type::socket:
      return "a socket";
    default:
      return "a special file";
  }
}

}  // namespace

std::optional<Refusal> OpenCoordinateFile(const std::string& path_text, std::ifstream& in) {
  const std::filesystem::path path = PathFromUtf8(path_text);
  std::error_code status_error;
  const std::filesystem::file_status status = std::filesystem::status(path, status_error);
  if (std::filesystem::is_directory(status)) {
    return FileRefusal(
        RefusalCode::kUnreadableFile, path_text, 0,
        "\"" + path_text +
            "\" is a folder, not an airfoil file; choose a coordinate file inside it.");
  }
  // Opening a named pipe waits for a writer and a device may never end, so
  // whatever is not a regular file is refused before it is opened.
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return FileRefusal(RefusalCode::kUnreadableFile, path_text, 0,
                       AirfoilFileNamed(path_text) + " is " + SpecialFileKind(status.type()) +
                           ", not a regular file; choose a coordinate file saved on disk.");
  }
  errno = 0;
  in.open(path, std::ios::binary);
  if (!in.is_open()) {
    const int error = errno;
    std::string reason = "it cannot be opened for reading";
    if (!std::filesystem::exists(path, status_error)) {
      reason = "it does not exist";
    } else if (error != 0) {
      reason = std::generic_category().message(error);
    }
    return FileRefusal(RefusalCode::kUnreadableFile, path_text, 0,
                       AirfoilFileNamed(path_text) + " cannot be opened (" + reason +
                           "); choose a readable coordinate file.");
  }
  return std::nullopt;
}

bool TextSource::TakeByteOrderMark() {
  if (Available() >= 2) {
    const auto b0 = static_cast<unsigned char>(buffer_[0]);
    const auto b1 = static_cast<unsigned char>(buffer_[1]);
    if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) return false;
  }
  if (Available() >= 3 && static_cast<unsigned char>(buffer_[0]) == 0xEF &&
      static_cast<unsigned char>(buffer_[1]) == 0xBB &&
      static_cast<unsigned char>(buffer_[2]) == 0xBF) {
    position_ = 3;
  }
  return true;
}

int TextSource::Get() {
  const int c = RawPeek();
  if (c == kEnd) return kEnd;
  ++position_;
  after_line_end_ = c == '\r' || c == '\n';
  if (c == '\r' && RawPeek() == '\n') ++position_;
  if (after_line_end_) {
    ++line_;
    return '\n';
  }
  return c;
}

void TextSource::Fill() {
  position_ = 0;
  size_ = 0;
  if (!in_.good()) return;
  errno = 0;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  size_ = static_cast<std::size_t>(in_.gcount());
  if (in_.bad()) {
    read_failed_ = true;
    read_errno_ = errno;
  }
  if (reads_ == 0) {
    first_size_ = size_;
    first_read_failed_ = read_failed_;
    first_read_errno_ = read_errno_;
  } else if (size_ > 0 || in_.bad()) {
    reread_needed_ = true;  // the first chunk is no longer all there is
  }
  ++reads_;
}

void TextSource::Rewind() {
  line_ = 1;
  after_line_end_ = false;
  nul_found_ = false;
  if (!reread_needed_) {
    // Only the first chunk was read: it is still in the buffer, and the file
    // stands where that read left it.
    position_ = 0;
    size_ = first_size_;
    read_failed_ = first_read_failed_;
    read_errno_ = first_read_errno_;
    return;
  }
  reads_ = 0;
  reread_needed_ = false;
  read_failed_ = false;
  read_errno_ = 0;
  in_.clear();
  errno = 0;
  in_.seekg(0, std::ios::beg);
  if (in_.fail()) {
    position_ = 0;
    size_ = 0;
    read_failed_ = true;
    read_errno_ = errno;
    reread_needed_ = true;  // a later Rewind tries again
    return;
  }
  Fill();
}

bool TextSource::TakePaddingAtEnd() {
  for (std::size_t i = position_; i < size_; ++i) {
    if (buffer_[i] != '\0' && buffer_[i] != '\x1a') return false;
  }
  if (in_.bad()) return false;
  const bool at_end =
      in_.good() ? in_.peek() == std::char_traits<char>::eof() : in_.eof();
  if (!at_end) return false;
  position_ = size_;
  nul_found_ = false;
  return true;
}

int TextSource::RawPeek() {
  if (nul_found_) return kEnd;
  if (position_ == size_) Fill();
  if (position_ == size_) return kEnd;
  const char c = buffer_[position_];
  if (c == '\0') {
    nul_found_ = true;
    return kEnd;
  }
  return static_cast<unsigned char>(c);
}

std::optional<Refusal> OpenedText::Open(const std::string& path_text) {
  std::optional<Refusal> refused = OpenCoordinateFile(path_text, in_);
  if (!refused) source_ = std::make_unique<TextSource>(in_);
  return refused;
}

void OpenedText::Hold(std::string bytes) {
  held_.str(std::move(bytes));
  source_ = std::make_unique<TextSource>(held_);
}

std::optional<Refusal> SourceFault(const TextSource& source, const std::string& path) {
  if (source.nul_found()) {
    return RefuseFile(RefusalCode::kNotPlainText, path, source.line(),
                      "is not a plain-text file (line " + FormatWhole(source.line()) +
                          " holds a NUL byte); choose a plain-text coordinate file.");
  }
  if (source.read_failed()) {
    const std::string reason = source.read_errno() != 0
                                   ? std::generic_category().message(source.read_errno())
                                   : std::string("read error");
    return RefuseFile(RefusalCode::kUnreadableFile, path, source.line(),
                      "could not be read beyond line " + FormatWhole(source.line()) + " (" +
                          reason + "); check the disk or copy the file elsewhere and try again.");
  }
  return std::nullopt;
}

}  // namespace quilane
