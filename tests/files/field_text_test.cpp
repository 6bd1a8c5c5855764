#include "files/field_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"
#include "files/text_source.h"

namespace quilane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

// Every line ReadLine gives for `bytes` ("!" marks one that was too long),
// then whether the text ended with a NUL fault.
struct LinesRead {
  std::vector<std::string> lines;
  bool fault = false;
  bool operator==(const LinesRead&) const = default;
};

LinesRead ReadAll(const std::string& bytes, std::size_t max_characters = 10) {
  ScratchFolder folder;
  const std::string path = folder.File("lines.txt");
  WriteBytes(path, bytes);
  OpenedText text;
  EXPECT_FALSE(text.Open(path));
  LinesRead read;
  std::string line;
  for (LineStatus status;
       (status = ReadLine(text.source(), line, max_characters)) != LineStatus::kEnd;) {
    read.lines.push_back(status == LineStatus::kTooLong ? "!" + line : line);
  }
  read.fault = SourceFault(text.source(), path).has_value();
  return read;
}

TEST(ReadLineTest, EndsTheTextAtPaddingAndNowhereElse) {
  struct Case {
    const char* name;
    std::string bytes;
    LinesRead expected;
  };
  const Case cases[] = {
      {"line_ends_of_every_kind", "a\r\nb\rc\nd", {{"a", "b", "c", "d"}, false}},
      {"end_of_text_mark", "a\nb\n\x1a", {{"a", "b"}, false}},
      {"mark_ending_the_last_line", "a\nb\x1a", {{"a", "b"}, false}},
      {"nul_padding", std::string("a\nb\n\0\0\0", 7), {{"a", "b"}, false}},
      {"mark_then_nul_padding", std::string("a\x1a\0\0", 4), {{"a"}, false}},
      {"mark_inside_the_text", "a\x1a" "b\nc\n", {{"a\x1a" "b", "c"}, false}},
      {"nul_inside_the_text", std::string("a\0b\nc\n", 6), {{"a"}, true}},
      {"nul_then_more_lines", std::string("a\n\0\nb\n", 6), {{"a"}, true}},
      {"long_line_taken_whole", "0123456789abc\nnext\n", {{"!0123456789", "next"}, false}},
      {"multibyte_characters_count_once", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
                                          "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\n",
       {{"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"},
        false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LinesRead read = ReadAll(c.bytes);
    EXPECT_EQ(read.lines, c.expected.lines);
    EXPECT_EQ(read.fault, c.expected.fault);
  }
}

TEST(FieldTextTest, Utf8TextKeepsUtf8AndTurnsLatin1IntoIt) {
  struct Case {
    const char* name;
    std::string text;
    std::string utf8;
  };
  const Case cases[] = {
      {"ascii", "NACA 2412", "NACA 2412"},
      {"utf8_two_and_three_bytes", "\xc3\xa9t\xc3\xa9 \xe2\x82\xac",
       "\xc3\xa9t\xc3\xa9 \xe2\x82\xac"},
      {"utf8_four_bytes", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
      {"latin1", "Profil \xe9t\xe9", "Profil \xc3\xa9t\xc3\xa9"},
      {"latin1_at_the_end", "\xb0", "\xc2\xb0"},
      {"cut_sequence", "\xc3", "\xc3\x83"},
      {"overlong_form", "\xc0\xaf", "\xc3\x80\xc2\xaf"},
      {"surrogate", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},
      {"beyond_unicode", "\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8Text(c.text), c.utf8);
  }
}

TEST(FieldTextTest, FieldsAreRunsBetweenBlanksTabsAndCommas) {
  EXPECT_EQ(Fields(" 1.0,\t-0.5 , x"), (std::vector<std::string_view>{"1.0", "-0.5", "x"}));
  EXPECT_TRUE(Fields(" ,\t, ").empty());
  EXPECT_EQ(Trimmed(" \t a b \t"), "a b");
  EXPECT_EQ(Shown("abc"), "\"abc\"");
  // Cut at a character boundary: the two-byte letter at bytes 40 and 41 is left out whole.
  EXPECT_EQ(Shown(std::string(39, 'a') + "\xc3\xa9" + "zzz"),
            "\"" + std::string(39, 'a') + "...\"");
}

}  // namespace
}  // namespace quilane
