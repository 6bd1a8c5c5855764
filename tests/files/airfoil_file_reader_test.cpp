#include "files/airfoil_file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"

namespace quilane {
namespace {

using testing::ExpectedRefusal;

// Five points around a diamond, as listed: trailing edge, upper surface,
// nose, lower surface, trailing edge.
const std::string kDiamond =
    "Diamond\n"
    "5\n"
    "  1  1  0\n"
    "  2  0.5  0.05\n"
    "  3  0  0\n"
    "  4  0.5  -0.05\n"
    "  5  1  0\n";
const std::vector<double> kDiamondX = {1, 0.5, 0, 0.5, 1};
const std::vector<double> kDiamondY = {0, 0.05, 0, -0.05, 0};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

using ArfReaderTest = testing::ScratchFileTest;

// Every layout of the fields gives the diamond as listed, with the title and
// the lines of the first and the last record.
TEST_F(ArfReaderTest, ReadsTheTitleAndTheRecordsAsGiven) {
  const std::string records = kDiamond.substr(8);  // from the count on
  const struct {
    const char* name;
    std::string bytes;
    std::string title;
    long long first_line;
    long long last_line;
  } cases[] = {
      {"diamond", kDiamond, "Diamond", 3, 7},
      {"crlf", Replace(kDiamond, "\n", "\r\n"), "Diamond", 3, 7},
      {"cr_only", Replace(kDiamond, "\n", "\r"), "Diamond", 3, 7},
      {"utf8_byte_order_mark", "\xEF\xBB\xBF" + kDiamond, "Diamond", 3, 7},
      {"unquoted_title_cut_at_comma_rest_is_count",
       "Diamond, 5\n1 1 0\n2 0.5 0.05\n3 0 0\n4 0.5 -0.05\n5 1 0\n", "Diamond", 2, 6},
      {"quoted_title_keeps_comma", "\"Diamond, thin\"\n" + records, "Diamond, thin", 3, 7},
      {"quoted_title_then_count_on_same_line",
       "  \"  Diamond \" , 5\n1 1 0\n2 0.5 0.05\n3 0 0\n4 0.5 -0.05\n5 1 0\n", "  Diamond ", 2,
       6},
      {"title_blanks_around_dropped", " \t Diamond \t \n" + records, "Diamond", 3, 7},
      {"empty_first_line_is_empty_title", "\n" + records, "", 3, 7},
      {"records_spanning_lines",
       "Diamond\n5 1\n1\n0\n2\n0.5\n0.05 3 0\n\n   0 4,0.5,-0.05,5\t1\t0", "Diamond", 2, 9},
      {"comma_separated_with_blanks",
       "Diamond\n5\n1 , 1 , 0\n2 ,0.5, 0.05\n3,0,0\n4, 0.5 ,-0.05\n5,1,0\n", "Diamond", 3, 7},
      {"signs_exponents_and_bare_points",
       "Diamond\n+5\n+1 1E0 +0\n2 5.e-1 .05\n3 -0 0.\n4 .5 -5e-2\n5 1.0 0\n", "Diamond", 3, 7},
      {"rest_after_the_records_ignored",
       kDiamond + std::string("6 7 8\nnot a record at all\0\xFF", 27), "Diamond", 3, 7},
      {"last_record_without_line_end", kDiamond.substr(0, kDiamond.size() - 1), "Diamond", 3,
       7},
      {"utf8_title", "Profil \xC3\x96l\xC3\xA7\x65k\n" + records, "Profil \xC3\x96l\xC3\xA7\x65k",
       3, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<FileContour> read = testing::ReadArfFile(Write(c.bytes, "section.arf"));
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read->title, c.title);
    EXPECT_EQ(read->format, "arf");
    EXPECT_EQ(read->points.x, kDiamondX);
    EXPECT_EQ(read->points.y, kDiamondY);
    EXPECT_EQ(read->first_line, c.first_line);
    EXPECT_EQ(read->last_line, c.last_line);
  }
}

TEST_F(ArfReaderTest, ReadsTheLargestCount) {
  std::string bytes = "Thousand\n1000\n";
  for (int i = 1; i <= 1000; ++i) bytes += std::to_string(i) + " " + std::to_string(i) + " 0\n";
  const Expected<FileContour> read = testing::ReadArfFile(Write(bytes, "thousand.arf"));
  ASSERT_TRUE(read) << read.error().message;
  EXPECT_EQ(read->points.x.size(), 1000u);
  EXPECT_EQ(read->points.x.back(), 1000.0);
  EXPECT_EQ(read->last_line, 1002);
}

// Every refusal of the reader: its code, the line it names and the message
// after "The airfoil file \"...\" ".
TEST_F(ArfReaderTest, RefusesMalformedFilesNamingTheLine) {
  constexpr auto kMalformed = RefusalCode::kMalformedFile;
  constexpr auto kNotText = RefusalCode::kNotPlainText;
  const std::string count_range = ", which is not a whole number from 2 to 1000; write the number "
                                  "of points in plain digits.";
  const std::string record_fields = "; every record needs a label, x and y as decimal numbers.";
  const std::string no_count = " before the point count; put the number of points on the line "
                               "after the title.";
  const std::string missing = "; add the missing points or correct the point count.";
  const std::string utf16 = "is UTF-16 text (it starts with a UTF-16 byte-order mark, line 1); "
                            "save it as plain text (UTF-8 or ASCII) and choose it again.";
  const std::string long_title = "has a title longer than 1000 characters on line 1; shorten "
                                 "the title.";
  const std::string head = "Diamond\n5\n1 1 0\n2 0.5 0.05\n";
  const struct {
    const char* name;
    std::string bytes;
    ExpectedRefusal refusal;
  } cases[] = {
      {"empty_file", "", {kMalformed, 1, "ends at line 1" + no_count}},
      {"title_only", "Diamond\n", {kMalformed, 1, "ends at line 1" + no_count}},
      {"count_with_exponent", "Diamond\n1e3\n",
       {kMalformed, 2, "has the point count \"1e3\" on line 2" + count_range}},
      {"count_with_fraction", "Diamond\n61.5\n",
       {kMalformed, 2, "has the point count \"61.5\" on line 2" + count_range}},
      {"count_negative", "Diamond\n-3\n",
       {kMalformed, 2, "has the point count \"-3\" on line 2" + count_range}},
      {"count_beyond_a_long", "Diamond\n100000000000000000000\n",
       {kMalformed, 2, "has the point count \"100000000000000000000\" on line 2" + count_range}},
      {"count_above_capacity", "Diamond\n1001\n",
       {kMalformed, 2, "has the point count \"1001\" on line 2" + count_range}},
      {"count_one", "Diamond\n1\n1 1 0\n",
       {kMalformed, 2, "has the point count \"1\" on line 2" + count_range}},
      {"count_text", "Diamond\nfive\n",
       {kMalformed, 2, "has the point count \"five\" on line 2" + count_range}},
      {"count_empty_field", "Diamond,,5\n",
       {kMalformed, 1, "has an empty point count on line 1" + count_range}},
      {"records_missing", head,
       {kMalformed, 4, "ends at line 4 in record 3 of 5 (its label is missing)" + missing}},
      {"y_missing", head + "3 0",
       {kMalformed, 5, "ends at line 5 in record 3 of 5 (its y value is missing)" + missing}},
      {"x_not_a_number", "Diamond\n5\n1 1 0\n2 abc 0.05\n",
       {kMalformed, 4,
        "has the x value \"abc\", which is not a number, on line 4 in record 2 of 5" +
            record_fields}},
      {"label_not_a_number", head + "#3 0 0\n",
       {kMalformed, 5,
        "has the label \"#3\", which is not a number, on line 5 in record 3 of 5" +
            record_fields}},
      {"two_commas_empty_field", head + "3,,0\n",
       {kMalformed, 5,
        "has an empty x value (two separators in a row) on line 5 in record 3 of 5" +
            record_fields}},
      {"nan", head + "3 0 nan\n",
       {kMalformed, 5,
        "has the y value \"nan\", which is not a finite number, on line 5 in record 3 of 5" +
            record_fields}},
      {"overflow", head + "3 0 1e400\n",
       {kMalformed, 5,
        "has the y value \"1e400\", which is not a finite number, on line 5 in record 3 of 5" +
            record_fields}},
      {"utf16_le", std::string("\xFF\xFE" "D\0i\0a\0\n\0", 10), {kNotText, 1, utf16}},
      {"utf16_be", std::string("\xFE\xFF\0D\0i\0a\0\n", 10), {kNotText, 1, utf16}},
      {"nul_byte", std::string("Diamond\n5\n1 1\0 0\n", 17),
       {kNotText, 3,
        "is not a plain-text file (line 3 holds a NUL byte); choose a plain-text coordinate "
        "file."}},
      {"nul_in_title", std::string("Dia\0mond\n", 9),
       {kNotText, 1,
        "is not a plain-text file (line 1 holds a NUL byte); choose a plain-text coordinate "
        "file."}},
      {"title_too_long", std::string(1001, 'a') + "\n5\n", {kMalformed, 1, long_title}},
      {"quoted_title_tail_too_long", "\"T\"" + std::string(2000, 'a') + "\n5\n",
       {kMalformed, 1, long_title}},
      {"field_too_long", "Diamond\n5\n1 " + std::string(401, '1') + " 0\n",
       {kMalformed, 3,
        "has more than 400 characters without a separator where the x value of record 1 of 5 "
        "should stand (line 3); correct the file."}},
      // A file of one enormous line is refused at the field limit, without
      // holding the line.
      {"count_of_fifty_megabytes", "Long\n" + std::string(50u << 20, '7'),
       {kMalformed, 2,
        "has more than 400 characters without a separator where the point count should stand "
        "(line 2); correct the file."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, std::string(c.name) + ".arf");
    const Expected<FileContour> read = testing::ReadArfFile(path);
    ASSERT_FALSE(read);
    testing::ExpectFileRefusal(read.error(), path, c.refusal);
  }
}

}  // namespace
}  // namespace quilane
