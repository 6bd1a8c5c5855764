#include "files/dat_file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"
#include "test_sections.h"

namespace quilane {
namespace {

using testing::ExpectedRefusal;

// The five-point diamond in the program's order: trailing edge, lower
// surface, nose, upper surface, trailing edge; and as the layouts list it.
const Contour kDiamond = test::DiamondContour();
const std::string kPoints = "1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n";
const std::string kSelig = "Diamond\n" + kPoints;
const std::string kLednicer =
    "Diamond\n3.       3.\n\n0 0\n0.5 0.05\n1 0\n\n0 0\n0.5 -0.05\n1 0\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

using DatReaderTest = testing::ScratchFileTest;

TEST_F(DatReaderTest, TurnsEitherLayoutIntoTheProgramsOrder) {
  using L = DatLayout;
  const struct {
    const char* name;
    std::string bytes;
    std::string title;
    DatLayout layout;
    bool reversed;
    int dropped;
    long long first_line;
    long long last_line;
    Contour points;
  } cases[] = {
      {"selig", kSelig, "Diamond", L::kSelig, false, 0, 2, 6, kDiamond},
      {"selig_listed_backwards", "Diamond\n1 0\n0.5 -0.05\n0 0\n0.5 0.05\n1 0\n", "Diamond",
       L::kSelig, true, 0, 2, 6, kDiamond},
      {"lednicer_doubled_nose_dropped", kLednicer, "Diamond", L::kLednicer, false, 1, 4, 10,
       kDiamond},
      {"lednicer_lower_surface_first",
       "Diamond\n3 3\n0 0\n0.5 -0.05\n1 0\n0 0\n0.5 0.05\n1 0\n", "Diamond", L::kLednicer,
       true, 1, 3, 8, kDiamond},
      {"lednicer_counts_written_with_zeros",
       "Diamond\n3.0 2.0\n0 0\n0.5 0.05\n1 0\n0.5 -0.05\n1 0\n", "Diamond", L::kLednicer,
       false, 0, 3, 7, kDiamond},
      {"crlf", Replace(kSelig, "\n", "\r\n"), "Diamond", L::kSelig, false, 0, 2, 6, kDiamond},
      {"cr_only", Replace(kLednicer, "\n", "\r"), "Diamond", L::kLednicer, false, 1, 4, 10,
       kDiamond},
      {"byte_order_mark", "\xEF\xBB\xBF" + kSelig, "Diamond", L::kSelig, false, 0, 2, 6,
       kDiamond},
      {"comments_anywhere_and_blank_lines",
       "# from the wind tunnel\n\n  Diamond\n# trailing edge\n1 0\n\n0.5 0.05\n  # nose\n0 0\n"
       "0.5 -0.05\n1 0\n# end\n",
       "Diamond", L::kSelig, false, 0, 5, 11, kDiamond},
      {"name_trimmed_blanks_and_tabs_inside_kept",
       " \t NACA 23012  12% \t\n" + kPoints, "NACA 23012  12%", L::kSelig, false, 0, 2, 6,
       kDiamond},
      {"tabs_commas_and_trailing_blanks",
       "Diamond\n1\t0  \n 0.5 , 0.05\n0,0\n\t0.5\t-0.05\t\n1 0   ", "Diamond", L::kSelig,
       false, 0, 2, 6, kDiamond},
      {"numbers_without_leading_zero_and_exponents",
       "Diamond\n1.0 +0\n.5 5e-2\n0. -0\n5E-1 -.05\n1 0.\n", "Diamond", L::kSelig, false, 0, 2,
       6, kDiamond},
      {"repeated_neighbours_dropped",
       "Diamond\n1 0\n0.5 0.05\n0.5 0.05\n0 0\n0 0\n0.5 -0.05\n1 0\n", "Diamond", L::kSelig,
       false, 2, 2, 8, kDiamond},
      {"equal_x_or_equal_y_alone_kept", "Box\n1 0\n0 0.1\n0 -0.1\n1 0\n", "Box", L::kSelig,
       false, 0, 2, 5, {{1, 0, 0, 1}, {0, -0.1, 0.1, 0}}},
      {"open_trailing_edge", "Open\n1 0.01\n0 0\n1 -0.01\n", "Open", L::kSelig, false, 0, 2, 4,
       {{1, 0, 1}, {-0.01, 0, 0.01}}},
      {"zero_area_keeps_the_layouts_rule", "Line\n1 0\n0.5 0\n0 0\n0.25 0\n1 0\n", "Line",
       L::kSelig, false, 0, 2, 6, {{1, 0.25, 0, 0.5, 1}, {0, 0, 0, 0, 0}}},
      {"first_and_last_equal_both_kept", "Closed\n1 0\n0 0.1\n1 0\n", "Closed", L::kSelig, false,
       0, 2, 4, {{1, 0, 1}, {0, 0.1, 0}}},
      {"number_like_name_is_a_name", "0012\n" + kPoints, "0012", L::kSelig, false, 0, 2, 6,
       kDiamond},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<DatContour> read = ReadDatContour(Write(c.bytes));
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read->title, c.title);
    EXPECT_EQ(read->layout, c.layout);
    EXPECT_EQ(read->reversed, c.reversed);
    EXPECT_EQ(read->dropped, c.dropped);
    EXPECT_EQ(read->first_line, c.first_line);
    EXPECT_EQ(read->last_line, c.last_line);
    EXPECT_EQ(read->points.x, c.points.x);
    EXPECT_EQ(read->points.y, c.points.y);
  }
}

// What published files carry around their coordinates, each read as the
// same diamond, with what was passed over counted; a file that begins with
// its coordinates is named after the file.
TEST_F(DatReaderTest, ReadsWhatPublishedFilesCarryAroundTheCoordinates) {
  using L = DatLayout;
  const struct {
    const char* name;
    std::string bytes;
    DatLayout layout;
    std::string title;
    int header_lines;
    int ignored_lines;
  } cases[] = {
      {"notes_after_a_blank_line",
       kSelig + "\nSource: a report\nhttps://example.org/diamond.htm\n", L::kSelig, "Diamond", 0,
       2},
      {"note_right_after_the_last_point", kSelig + "source from http://example.org/p.htm",
       L::kSelig, "Diamond", 0, 1},
      {"notes_with_numbers_in_them",
       kSelig + "\nProfildicke(d): 7,85 %\nCLmax 1.72 @ RE 100,000, N = 9\n26/10/2001\n",
       L::kSelig, "Diamond", 0, 3},
      {"numbers_after_a_blank_line_are_notes", kSelig + "\n2007\n0.0 0.1 -> 0.0 0.2\n",
       L::kSelig, "Diamond", 0, 2},
      {"a_note_line_longer_than_any_coordinate_line",
       kSelig + "\n" + std::string(5000, 'n') + "\nend\n", L::kSelig, "Diamond", 0, 2},
      {"comment_and_blank_lines_after_the_notes", kSelig + "\nnote\n\n# end\n\n", L::kSelig,
       "Diamond", 0, 2},
      {"header_lines_after_the_name",
       "SC(2)-0714 airfoil\nThese are model coordinates.\nFrom NASA TP-2890 \n" + kPoints,
       L::kSelig, "SC(2)-0714 airfoil", 2, 0},
      {"a_second_name_line", "Ornithopter airfoil.\nS1020\n" + kPoints, L::kSelig,
       "Ornithopter airfoil.", 1, 0},
      {"a_comment_before_the_name", "# measured\nDiamond\n" + kPoints, L::kSelig, "Diamond", 1,
       0},
      {"point_count_line", "Diamond\n  5\n" + kPoints, L::kSelig, "Diamond", 1, 0},
      {"ises_domain_box", "Diamond\n  -2.000000  3.000000  -2.500000  3.500000\n" + kPoints,
       L::kIses, "Diamond", 0, 0},
      {"fortran_exponents",
       "Diamond\n0.1000000E+01 0.0\n0.5D+00 0.5d-01\n0 0\n5.0E-01 -5.0D-02\n1.D0 0\n",
       L::kSelig, "Diamond", 0, 0},
      {"end_of_text_mark", kSelig + "\x1a", L::kSelig, "Diamond", 0, 0},
      {"nul_padding", kSelig + std::string(9, '\0'), L::kSelig, "Diamond", 0, 0},
      {"mark_and_padding_without_a_last_line_end",
       "Diamond\n" + kPoints.substr(0, kPoints.size() - 1) + "\x1a" + std::string(3, '\0'),
       L::kSelig, "Diamond", 0, 0},
      {"latin1_name", "Profil \xe9t\xe9\n" + kPoints, L::kSelig, "Profil \xc3\xa9t\xc3\xa9", 0,
       0},
      {"utf8_name_kept", "Profil \xc3\xa9t\xc3\xa9\n" + kPoints, L::kSelig,
       "Profil \xc3\xa9t\xc3\xa9", 0, 0},
      {"latin1_notes", kSelig + "\nl'\xe9quipe Genvrin\n", L::kSelig, "Diamond", 0, 1},
      {"lednicer_with_notes", kLednicer + "\nfrom a book\n", L::kLednicer, "Diamond", 0, 1},
      {"unnamed_coordinates_from_the_first_line", kPoints, L::kSelig, "section", 0, 0},
      {"unnamed_after_a_comment", "# measured 2001\n" + kPoints, L::kSelig, "section", 1, 0},
      {"unnamed_with_notes_after_the_contour", kPoints + "\nfrom a wind tunnel report\n",
       L::kSelig, "section", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<DatContour> read = ReadDatContour(Write(c.bytes));
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read->layout, c.layout);
    EXPECT_EQ(read->title, c.title);
    EXPECT_EQ(read->unnamed, c.title == "section");
    EXPECT_EQ(read->header_lines, c.header_lines);
    EXPECT_EQ(read->ignored_lines, c.ignored_lines);
    EXPECT_EQ(read->points.x, kDiamond.x);
    EXPECT_EQ(read->points.y, kDiamond.y);
  }
}

// Every refusal of the reader: its code, the line it names and the message
// after "The airfoil file \"...\" ". Whatever would lose or invent a point
// is refused.
TEST_F(DatReaderTest, RefusesMalformedFilesNamingTheLine) {
  constexpr auto kMalformed = RefusalCode::kMalformedFile;
  constexpr auto kUnusable = RefusalCode::kUnusableContour;
  std::string too_many_lines = "Many\n";
  for (int i = 0; i <= 2000; ++i) too_many_lines += "1 0\n";
  std::string too_many_points = "Many\n";
  for (int i = 0; i <= 1000; ++i) {
    too_many_points += std::to_string(1000 - i) + " " + std::to_string(i % 2) + "\n";
  }
  const std::string holds_x_and_y = "; every coordinate line holds x and y.";
  const std::string as_numbers = "; every coordinate line holds x and y as decimal numbers.";
  const std::string inside = ", inside the contour: coordinate lines follow on line ";
  const std::string inside_advice = "; every line from the first to the last coordinate line "
                                    "holds x and y, or is blank.";
  const std::string box = "has four numbers on line 2 (like the domain box of an ISES file), ";
  const struct {
    const char* name;
    std::string bytes;
    ExpectedRefusal refusal;
  } cases[] = {
      {"empty_file", "",
       {kMalformed, 1, "holds no name line and no coordinates (line 1); choose a coordinate "
                       "file."}},
      {"only_comments", "# a\n# b\n\n",
       {kMalformed, 3, "holds no name line and no coordinates (line 3); choose a coordinate "
                       "file."}},
      {"name_only", "Diamond\n\n",
       {kMalformed, 1, "has no coordinate lines after its name on line 1; add the points as "
                       "\"x y\" lines."}},
      {"lednicer_counts_without_name", "61. 61.\n0 0\n0.5 0.05\n",
       {kMalformed, 1,
        "has two whole numbers on line 1 where the section's name should stand (like the "
        "surface counts of a Lednicer file); put the name on a line of its own before them."}},
      {"three_fields", "Diamond\n1 0\n0.5 0.05 7\n",
       {kMalformed, 3, "has 3 fields on line 3" + holds_x_and_y}},
      {"count_of_an_arf_file", "Diamond\n 61 \n  1  1.0  0.0\n",
       {kMalformed, 2,
        "has a single number (like the point count of a *.arf file) on line 2" +
            holds_x_and_y}},
      {"a_damaged_last_line", "Diamond\n1 0\n0.5 0.05\n0 abc\n",
       {kMalformed, 4, "has the y value \"abc\", which is not a number, on line 4" + as_numbers}},
      {"nan", "Diamond\n1 0\nnan 0\n",
       {kMalformed, 3,
        "has the x value \"nan\", which is not a finite number, on line 3" + as_numbers}},
      {"numbers_below_a_header_line", "Diamond\nheader\n-2 3 -2.5 3.5\n" + kPoints,
       {kMalformed, 3, "has 4 fields on line 3" + holds_x_and_y}},
      {"number_too_long", "Diamond\n" + std::string(401, '1') + " 0\n",
       {kMalformed, 2, "has more than 400 characters in the x value on line 2; correct the "
                       "file."}},
      {"line_too_long", "Diamond\n" + std::string(1001, ' ') + "1 0\n",
       {kMalformed, 2, "has more than 1000 characters on line 2; a coordinate file has short "
                       "lines."}},
      {"text_between_the_surfaces",
       "Diamond\n1 0\n0.5 0.05\nLower surface\n0 0\n0.5 -0.05\n1 0\n",
       {kMalformed, 4, "has the text \"Lower surface\" on line 4" + inside + "5" + inside_advice}},
      {"text_between_the_surfaces_after_blank_lines",
       "Diamond\n1 0\n0.5 0.05\n\nLower\n\n0 0\n0.5 -0.05\n1 0\n",
       {kMalformed, 5, "has the text \"Lower\" on line 5" + inside + "7" + inside_advice}},
      {"dotted_value_in_a_table", "Diamond\n1 0\n...... 0.05\n0 0\n0.5 -0.05\n1 0\n",
       {kMalformed, 3,
        "has the x value \"......\", which is not a number, on line 3" + inside + "4" +
            inside_advice}},
      {"a_long_line_inside_the_contour",
       "Diamond\n1 0\n0.5 0.05\n" + std::string(1200, 'x') + "\n0 0\n0.5 -0.05\n1 0\n",
       {kMalformed, 4, "has more than 1000 characters on line 4" + inside + "5" + inside_advice}},
      {"lednicer_counts_too_high", "Diamond\n61. 61.\n0 0\n1 0\n0 0\n1 0\n",
       {kMalformed, 2,
        "gives the surface counts 61 and 61 on line 2, which make 122 points, but 4 "
        "coordinate lines follow (lines 3 to 6); correct the counts or the points."}},
      {"lednicer_counts_without_points", "Diamond\n3. 3.\n",
       {kMalformed, 2,
        "gives the surface counts 3 and 3 on line 2, which make 6 points, but 0 coordinate "
        "lines follow; correct the counts or the points."}},
      // Read three numbers at a time, as a *.arf file, these lines would give
      // three points; the count does not match them.
      {"a_point_count_that_does_not_match", "Diamond\n3\n" + kPoints,
       {kMalformed, 2,
        "gives the point count 3 on line 2, but 5 coordinate lines follow (lines 3 to 7); "
        "correct the count or the points."}},
      {"several_elements", kSelig + "999.0 999.0\n1.1 0\n1.05 0.01\n1.2 0\n",
       {kMalformed, 7,
        "has the element separator \"999.0 999.0\" on line 7: it holds several elements, and "
        "only one element can be re-spaced; save the element you want in a file of its own."}},
      {"domain_box_without_coordinates", "Diamond\n-2 3 -2.5 3.5\nsomething\n" + kPoints,
       {kMalformed, 3, box + "but line 3 after them holds no x and y; correct the file."}},
      {"domain_box_at_the_end", "Diamond\n-2 3 -2.5 3.5\n",
       {kMalformed, 2, box + "but no x and y lines after them; correct the file."}},
      {"too_many_lines", too_many_lines,
       {kUnusable, 2002,
        "has more than 2000 coordinate lines (line 2002 is one too many); the program holds at "
        "most 1000 points."}},
      {"too_many_points", too_many_points,
       {kUnusable, 2, "has 1001 points (lines 2 to 1002); the program holds at most 1000 "
                      "points."}},
      {"single_point", "Dot\n1 0\n1 0\n",
       {kUnusable, 2, "has a single point (line 2); a contour needs at least 3 points."}},
      {"two_points_before_a_note", "Diamond\n1 0\n0 0\n\nnote\n",
       {kUnusable, 2,
        "has only 2 points (lines 2 to 3), and the contour ends at line 5, which holds the "
        "text \"note\"; a contour needs at least 3 points."}},
      {"utf16", std::string("\xFF\xFE" "D\0i\0\n\0", 8),
       {RefusalCode::kNotPlainText, 1,
        "is UTF-16 text (it starts with a UTF-16 byte-order mark, line 1); save it as plain "
        "text (UTF-8 or ASCII) and choose it again."}},
      {"nul_byte_before_the_end", std::string("Diamond\n1 0\n0.5\0 0\n0 0\n", 23),
       {RefusalCode::kNotPlainText, 3,
        "is not a plain-text file (line 3 holds a NUL byte); choose a plain-text coordinate "
        "file."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, std::string(c.name) + ".dat");
    const Expected<DatContour> read = ReadDatContour(path);
    ASSERT_FALSE(read);
    testing::ExpectFileRefusal(read.error(), path, c.refusal);
  }
}

}  // namespace
}  // namespace quilane
