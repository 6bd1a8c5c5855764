#include "files/text_source.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "file_test_support.h"

namespace quilane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

// What a reader sees of a source: each character with its line, then where
// the text ended and why.
struct Seen {
  std::string text;
  std::vector<long long> lines;
  long long end_line = 0;
  bool nul_found = false;
  bool read_failed = false;
  bool byte_order_mark_ok = false;
  bool operator==(const Seen&) const = default;
};

// Takes the byte-order mark, then up to `limit` characters (all when < 0).
Seen Take(TextSource& source, long long limit = -1) {
  Seen seen;
  seen.byte_order_mark_ok = source.TakeByteOrderMark();
  for (long long k = 0; limit < 0 || k < limit; ++k) {
    const long long line = source.line();
    const int c = source.Get();
    if (c == TextSource::kEnd) break;
    seen.text.push_back(static_cast<char>(c));
    seen.lines.push_back(line);
  }
  seen.end_line = source.EndLine();
  seen.nul_found = source.nul_found();
  seen.read_failed = source.read_failed();
  return seen;
}

std::string Lines(std::size_t bytes, const std::string& line_end) {
  std::string text;
  for (int k = 0; text.size() < bytes; ++k) text += "line " + std::to_string(k) + line_end;
  return text;
}

// Whatever was read before, a rewound source gives what a new source on the
// same file gives.
TEST(TextSourceTest, ARewoundSourceGivesWhatANewOneGives) {
  constexpr long long kChunk = 64 * 1024;
  struct Case {
    const char* name;
    std::string bytes;
    long long taken_before;  // characters read before the rewind; < 0: all
  };
  const std::string big = Lines(150000, "\n");
  const Case cases[] = {
      {"empty file", "", -1},
      {"short file read whole", "Title\n5\n1 1 0\n", -1},
      {"short file read in part", "Title\n5\n1 1 0\n", 3},
      {"nothing read", "Title\n5\n", 0},
      {"CR LF and CR line ends", "a\r\nb\rc\r\n\r\nd", -1},
      {"CR LF split by the rewind", "a\r\nb\r\nc", 2},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBFTitle\n5\n", -1},
      {"UTF-16 byte-order mark", std::string("\xFF\xFEx\0y\0", 6), -1},
      {"NUL byte in the first chunk", std::string("ab\ncd\0ef\n", 9), -1},
      {"exactly one chunk", Lines(kChunk, "\n").substr(0, kChunk), -1},
      {"three chunks, read in the first", big, 100},
      {"three chunks, read into the second", big, kChunk + 100},
      {"three chunks, read whole", big, -1},
      {"three chunks of CR LF lines, read whole", Lines(150000, "\r\n"), -1},
      {"NUL byte in the second chunk", big.substr(0, 70000) + std::string(1, '\0') + "tail",
       -1},
  };
  ScratchFolder folder;
  const std::string path = folder.File("text.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(path, c.bytes);
    std::ifstream fresh_in(path, std::ios::binary);
    auto fresh = std::make_unique<TextSource>(fresh_in);
    const Seen expected = Take(*fresh);

    std::ifstream in(path, std::ios::binary);
    auto source = std::make_unique<TextSource>(in);
    Take(*source, c.taken_before);
    source->Rewind();
    EXPECT_EQ(source->line(), 1);
    EXPECT_TRUE(Take(*source) == expected);
    // And once more, after reading it whole.
    source->Rewind();
    EXPECT_TRUE(Take(*source) == expected);
  }
}

// What cannot be read as a file is refused before a reader sees it, and a
// pipe or a device before it is opened, so that nothing waits.
TEST(OpenCoordinateFileTest, RefusesWhatIsNotAReadableFile) {
  ScratchFolder folder;
  const std::string sub = folder.File("sub.arf");
  std::filesystem::create_directory(sub);
  const std::string pipe = folder.File("pipe.arf");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string not_opened = " cannot be opened (it does not exist); choose a readable "
                                 "coordinate file.";
  const std::string not_regular = ", not a regular file; choose a coordinate file saved on disk.";
  const struct {
    const char* name;
    std::string path;
    std::string message;
  } cases[] = {
      {"missing_file", folder.File("nowhere.arf"),
       "The airfoil file \"" + folder.File("nowhere.arf") + "\"" + not_opened},
      {"missing_folder", folder.File("nowhere/x.arf"),
       "The airfoil file \"" + folder.File("nowhere/x.arf") + "\"" + not_opened},
      {"empty_path", "", "The airfoil file \"\"" + not_opened},
      {"folder", sub,
       "\"" + sub + "\" is a folder, not an airfoil file; choose a coordinate file inside it."},
      {"named_pipe", pipe, "The airfoil file \"" + pipe + "\" is a named pipe" + not_regular},
      {"device", "/dev/zero", "The airfoil file \"/dev/zero\" is a device" + not_regular},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenedText text;
    const std::optional<Refusal> refused = text.Open(c.path);
    ASSERT_TRUE(refused);
    testing::ExpectRefusal(*refused, c.path, {RefusalCode::kUnreadableFile, 0, c.message});
  }
}

}  // namespace
}  // namespace quilane
