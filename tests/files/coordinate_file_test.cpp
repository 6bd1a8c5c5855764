#include "files/coordinate_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"

namespace quilane {
namespace {


// The five-point diamond in the program's order, and as a Selig file lists it.
const std::vector<double> kDiamondX = {1, 0.5, 0, 0.5, 1};
const std::vector<double> kDiamondY = {0, -0.05, 0, 0.05, 0};
const std::string kPoints = "1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n";
const std::string kSelig = "Diamond\n" + kPoints;

std::vector<double> Entries(const PointArray& array, int n) {
  return std::vector<double>(array.begin() + 1, array.begin() + 1 + n);
}

using CoordinateFileTest = testing::ScratchFileTest;

struct TolerantCase {
  const char* name;
  std::string bytes;
  std::string format;
  std::string title;
  int header_lines;
  int ignored_lines;
};

// What published files carry around their coordinates, each read as the
// same diamond, with what was passed over counted.
TEST_F(CoordinateFileTest, ReadsWhatPublishedFilesCarryAroundTheCoordinates) {
  const TolerantCase cases[] = {
      {"plain_selig", kSelig, "Selig", "Diamond", 0, 0},
      {"notes_after_a_blank_line",
       kSelig + "\nSource: a report\nhttps://example.org/diamond.htm\n", "Selig", "Diamond", 0,
       2},
      {"note_right_after_the_last_point", kSelig + "source from http://example.org/p.htm",
       "Selig", "Diamond", 0, 1},
      {"notes_with_numbers_in_them",
       kSelig + "\nProfildicke(d): 7,85 %\nCLmax 1.72 @ RE 100,000, N = 9\n26/10/2001\n",
       "Selig", "Diamond", 0, 3},
      {"numbers_after_a_blank_line_are_notes", kSelig + "\n2007\n0.0 0.1 -> 0.0 0.2\n", "Selig",
       "Diamond", 0, 2},
      {"a_note_line_longer_than_any_coordinate_line",
       kSelig + "\n" + std::string(5000, 'n') + "\nend\n", "Selig", "Diamond", 0, 2},
      {"comment_and_blank_lines_after_the_notes", kSelig + "\nnote\n\n# end\n\n", "Selig",
       "Diamond", 0, 2},
      {"header_lines_after_the_name",
       "SC(2)-0714 airfoil\nThese are model coordinates.\nFrom NASA TP-2890 \n" + kPoints,
       "Selig", "SC(2)-0714 airfoil", 2, 0},
      {"a_second_name_line", "Ornithopter airfoil.\nS1020\n" + kPoints, "Selig",
       "Ornithopter airfoil.", 1, 0},
      {"a_comment_before_the_name", "# measured\nDiamond\n" + kPoints, "Selig", "Diamond", 1,
       0},
      {"point_count_line", "Diamond\n  5\n" + kPoints, "Selig", "Diamond", 1, 0},
      {"ises_domain_box", "Diamond\n  -2.000000  3.000000  -2.500000  3.500000\n" + kPoints,
       "ISES", "Diamond", 0, 0},
      {"fortran_exponents",
       "Diamond\n0.1000000E+01 0.0\n0.5D+00 0.5d-01\n0 0\n5.0E-01 -5.0D-02\n1.D0 0\n", "Selig",
       "Diamond", 0, 0},
      {"blanks_tabs_and_commas", "Diamond\n1,0\n 0.5,\t0.05 \n0\t0\n.5 , -.05\n1 0.", "Selig",
       "Diamond", 0, 0},
      {"end_of_text_mark", kSelig + "\x1a", "Selig", "Diamond", 0, 0},
      {"nul_padding", kSelig + std::string(9, '\0'), "Selig", "Diamond", 0, 0},
      {"mark_and_padding_without_a_last_line_end",
       "Diamond\n" + kPoints.substr(0, kPoints.size() - 1) + "\x1a" + std::string(3, '\0'),
       "Selig", "Diamond", 0, 0},
      {"latin1_name", "Profil \xe9t\xe9\n" + kPoints, "Selig", "Profil \xc3\xa9t\xc3\xa9", 0,
       0},
      {"utf8_name_kept", "Profil \xc3\xa9t\xc3\xa9\n" + kPoints, "Selig",
       "Profil \xc3\xa9t\xc3\xa9", 0, 0},
      {"latin1_notes", kSelig + "\nl'\xe9quipe Genvrin\n", "Selig", "Diamond", 0, 1},
      {"lednicer_with_notes",
       "Diamond\n3.       3.\n\n0 0\n0.5 0.05\n1 0\n\n0 0\n0.5 -0.05\n1 0\n\nfrom a book\n",
       "Lednicer", "Diamond", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes);
    AirfoilWorkspace ws;
    LoadSummary summary;
    const FileResult result = LoadCoordinateFile(ws, path, &summary);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(DetectCoordinateFormat(path), c.format);
    EXPECT_EQ(summary.format, c.format);
    EXPECT_EQ(ws.AirfoilTitle, c.title);
    EXPECT_EQ(summary.header_lines, c.header_lines);
    EXPECT_EQ(summary.ignored_lines, c.ignored_lines);
    EXPECT_EQ(summary.points, 5);
    EXPECT_EQ(summary.nose_index, 3);
    EXPECT_EQ(ws.N, 5);
    EXPECT_EQ(Entries(ws.X, 5), kDiamondX);
    EXPECT_EQ(Entries(ws.Y, 5), kDiamondY);
    EXPECT_EQ(ws.InputPath, path);
    EXPECT_FALSE(summary.unnamed);
  }
}

// A file that begins with its coordinates keeps every line as a point and
// takes the file's name; the load says so.
TEST_F(CoordinateFileTest, AFileWithoutANameLineIsNamedAfterTheFile) {
  const struct {
    const char* name;
    std::string bytes;
    int header_lines;
    int ignored_lines;
  } cases[] = {
      {"coordinates_from_the_first_line", kPoints, 0, 0},
      {"a_comment_first", "# measured 2001\n" + kPoints, 1, 0},
      {"notes_after_the_contour", kPoints + "\nfrom a wind tunnel report\n", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, "phonix10.dat");
    AirfoilWorkspace ws;
    LoadSummary summary;
    const FileResult result = LoadCoordinateFile(ws, path, &summary);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(ws.AirfoilTitle, "phonix10");
    EXPECT_TRUE(summary.unnamed);
    EXPECT_EQ(summary.header_lines, c.header_lines);
    EXPECT_EQ(summary.ignored_lines, c.ignored_lines);
    EXPECT_EQ(Entries(ws.X, 5), kDiamondX);
    EXPECT_EQ(Entries(ws.Y, 5), kDiamondY);
    EXPECT_NE(DescribeLoad(summary).find("no name line (named after the file)"),
              std::string::npos)
        << DescribeLoad(summary);
  }
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> message_parts;  // each must appear in the message
};

// Whatever would lose or invent a point is refused, naming the line and
// what it holds in the file's own terms.
TEST_F(CoordinateFileTest, RefusesWhatWouldLoseAPointNamingTheLine) {
  const RefusedCase cases[] = {
      {"text_between_the_surfaces",
       "Diamond\n1 0\n0.5 0.05\nLower surface\n0 0\n0.5 -0.05\n1 0\n",
       {"the text \"Lower surface\" on line 4", "inside the contour", "line 5"}},
      {"text_between_the_surfaces_after_blank_lines",
       "Diamond\n1 0\n0.5 0.05\n\nLower\n\n0 0\n0.5 -0.05\n1 0\n",
       {"line 5", "inside the contour", "line 7"}},
      {"dotted_value_in_a_table", "Diamond\n1 0\n...... 0.05\n0 0\n0.5 -0.05\n1 0\n",
       {"x value \"......\"", "not a number", "line 3", "inside the contour", "line 4"}},
      {"bracketed_value", "Diamond\n1 0\n0.5 (0.0022)\n0 0\n0.5 -0.05\n1 0\n",
       {"y value \"(0.0022)\"", "line 3"}},
      {"a_damaged_last_line", "Diamond\n1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0.0o1\n",
       {"y value \"0.0o1\"", "not a number", "line 6"}},
      {"three_numbers_right_after_the_contour", kSelig + "1 0 0\n", {"3 fields", "line 7"}},
      {"a_single_number_inside", "Diamond\n1 0\n0.5\n0 0\n0.5 -0.05\n1 0\n",
       {"single number", "line 3"}},
      {"a_pair_in_the_notes", kSelig + "\nPolar:\n0.0 0.51\n", {"line 8", "line 9"}},
      // Read three numbers at a time, as a *.arf file, these lines would
      // give three points; the count does not match them.
      {"a_point_count_that_does_not_match", "Diamond\n3\n" + kPoints,
       {"point count 3 on line 2", "5 coordinate lines follow", "lines 3 to 7"}},
      // A title and a count: a *.arf file, refused in its terms.
      {"a_count_followed_by_text", "Diamond\n5\nUpper\n" + kPoints,
       {"label \"Upper\"", "line 3", "record 1 of 5"}},
      {"several_elements", kSelig + "999.0 999.0\n1.1 0\n1.05 0.01\n1.2 0\n",
       {"element separator \"999.0 999.0\"", "line 7", "only one element"}},
      {"domain_box_without_coordinates", "Diamond\n-2 3 -2.5 3.5\nsomething\n" + kPoints,
       {"four numbers on line 2", "line 3"}},
      {"domain_box_at_the_end", "Diamond\n-2 3 -2.5 3.5\n", {"four numbers on line 2"}},
      {"numbers_below_a_header_line", "Diamond\nheader\n-2 3 -2.5 3.5\n" + kPoints,
       {"4 fields on line 3"}},
      {"two_points_before_a_note", "Diamond\n1 0\n0 0\n\nnote\n",
       {"only 2 points", "lines 2 to 3", "line 5", "at least 3 points"}},
      {"a_nul_byte_before_the_end", std::string("Diamond\n1 0\n0.5 0.05\0\n0 0\n", 26),
       {"NUL", "line 3"}},
      {"an_end_of_text_mark_before_more_text", "Diamond\n1 0\n0.5 0.05\x1a\n0 0\n",
       {"y value", "line 3"}},
      {"a_long_line_inside_the_contour",
       "Diamond\n1 0\n0.5 0.05\n" + std::string(1200, 'x') + "\n0 0\n0.5 -0.05\n1 0\n",
       {"more than 1000 characters on line 4", "inside the contour", "line 5"}},
      {"a_long_line_after_the_name", "Diamond\n" + std::string(1200, 'x') + "\n" + kPoints,
       {"characters", "line 2"}},
      {"a_long_header_line", "Diamond\nheader\n" + std::string(1200, 'x') + "\n" + kPoints,
       {"more than 1000 characters on line 3"}},
  };

  AirfoilWorkspace ws;
  ASSERT_TRUE(LoadCoordinateFile(ws, Write(kSelig, "earlier.dat")).ok);
  ws.NCamber = 3.5;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, std::string(c.name) + ".dat");
    const AirfoilWorkspace before = ws;
    const FileResult result = LoadCoordinateFile(ws, path);
    testing::ExpectRefusal(result, path, c.message_parts);
    EXPECT_TRUE(ws == before);
  }
}

// A file is read by the reader of the format it looks like, so a refusal
// speaks of that format and never of the point count of a *.arf file.
TEST_F(CoordinateFileTest, ARefusalSpeaksOfTheFormatTheFileIsIn) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string format;
  };
  const Case cases[] = {
      {"ises_with_a_broken_point", "E120\n -2.0 3.0 -2.5 3.5\n1 0\n0.5 x\n0 0\n", "ISES"},
      {"selig_with_two_header_lines_and_a_broken_point",
       "Name\nmore\nand more\n1 0\n0.5 0.05\nx 0\n0 0\n", "Selig"},
      {"lednicer_with_wrong_counts", "Diamond\n4. 4.\n0 0\n1 0\n0 0\n1 0\n", "Lednicer"},
      {"arf_with_a_record_missing", "Diamond\n5\n1 1 0\n2 0.5 -0.05\n", "arf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes);
    EXPECT_EQ(DetectCoordinateFormat(path), c.format);
    AirfoilWorkspace ws;
    const FileResult result = LoadCoordinateFile(ws, path);
    ASSERT_FALSE(result.ok);
    const bool speaks_of_arf = result.message.find("point count") != std::string::npos ||
                               result.message.find("record") != std::string::npos;
    EXPECT_EQ(speaks_of_arf, c.format == "arf") << result.message;
  }
}

TEST_F(CoordinateFileTest, SummaryTellsTheOrderTheRepeatsAndTheGap) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string format;
    bool reversed;
    int dropped;
    double gap;
  };
  const Case cases[] = {
      {"selig_as_usual", kSelig, "Selig", false, 0, 0.0},
      {"selig_from_the_lower_surface", "D\n1 0\n0.5 -0.05\n0 0\n0.5 0.05\n1 0\n", "Selig", true,
       0, 0.0},
      {"repeated_nose", "D\n1 0\n0.5 0.05\n0 0\n0 0\n0.5 -0.05\n1 0\n", "Selig", false, 1, 0.0},
      // Chord 2: the gap of 0.02 between the ends is 0.01 of the chord.
      {"open_trailing_edge_in_chords", "D\n2 0.01\n1 0.05\n0 0\n1 -0.05\n2 -0.01\n", "Selig",
       false, 0, 0.01},
      {"arf", "D\n5\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n", "arf", false, 0, 0.0},
      // The ends' y differ by more than a double holds; the gap in chords does not.
      {"ends_near_the_double_limit", "D\n5\n1 2 1e308\n2 1 0.05\n3 0 0\n4 1 -0.05\n5 2 -1e308\n",
       "arf", false, 0, 1e308},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AirfoilWorkspace ws;
    LoadSummary summary;
    ASSERT_TRUE(LoadCoordinateFile(ws, Write(c.bytes), &summary).ok);
    EXPECT_EQ(summary.format, c.format);
    EXPECT_EQ(summary.reversed, c.reversed);
    EXPECT_EQ(summary.dropped_points, c.dropped);
    EXPECT_DOUBLE_EQ(summary.trailing_edge_gap, c.gap);
    EXPECT_EQ(summary.header_lines, 0);
    EXPECT_EQ(summary.ignored_lines, 0);
  }
}

TEST(DescribeLoadTest, NamesWhatWasReadAndWhatWasPassedOver) {
  struct Case {
    const char* name;
    LoadSummary summary;
    std::string text;
  };
  const Case cases[] = {
      {"plain", {"Selig", 61, 31, 0.0, 0, 0, 0, false},
       "Selig, 61 points, nose at point 31, trailing edge gap 0.00000"},
      {"notes", {"Selig", 61, 31, 0.0, 0, 2, 0, false},
       "Selig, 61 points, nose at point 31, trailing edge gap 0.00000, 2 lines of notes "
       "ignored"},
      {"every_part_once",
       {"Lednicer", 121, 61, 0.001264, 1, 1, 1, true},
       "Lednicer, 121 points, nose at point 61, trailing edge gap 0.00126, 1 line of header, "
       "listed the other way round, 1 repeated point dropped, 1 line of notes ignored"},
      {"several_of_each",
       {"ISES", 300, 150, 0.5, 3, 4, 2, false},
       "ISES, 300 points, nose at point 150, trailing edge gap 0.50000, 3 lines of header, "
       "2 repeated points dropped, 4 lines of notes ignored"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DescribeLoad(c.summary), c.text);
  }
}

}  // namespace
}  // namespace quilane
