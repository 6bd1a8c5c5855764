#include "files/coordinate_file.h"

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"
#include "files/dat_file_reader.h"
#include "test_sections.h"

namespace quilane {
namespace {

// The five-point diamond in the program's order, and as the formats list it.
const Contour kDiamond = test::DiamondContour();
const std::string kPoints = "1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n";
const std::string kSelig = "Diamond\n" + kPoints;
const std::string kArf = "Diamond\n5\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n";

// The refusal of the reader of `format` for the file `path`.
Refusal RefusalOfReader(const std::string& format, const std::string& path) {
  if (format == "arf") return testing::ReadArfFile(path).error();
  return ReadDatContour(path).error();
}

using CoordinateFileTest = testing::ScratchFileTest;

// The kind is told from the content, and the file loads as the reader of its
// kind reads it, or as another when that one refuses it. The file is opened
// once; when telling its kind reads past the first chunk, the reader still
// gets the whole text from its start. Bytes handed over load as the file does.
TEST_F(CoordinateFileTest, TellsTheKindOfFileFromItsContent) {
  const std::string blank_lines(70000, '\n');
  std::string comments;
  while (comments.size() < 70000) comments += "# a comment line of the header\n";
  const struct {
    const char* name;
    std::string bytes;
    std::string detected;
    std::string loaded;
  } cases[] = {
      {"arf", kArf, "arf", "arf"},
      {"arf_title_with_count", "Diamond, 5\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n",
       "arf", "arf"},
      {"arf_count_and_label_on_one_line",
       "Diamond\n5 1\n1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n", "Selig", "arf"},
      {"selig", kSelig, "Selig", "Selig"},
      {"selig_after_comments", "# header\n\nDiamond\n# first point\n" + kPoints, "Selig",
       "Selig"},
      {"selig_with_a_point_count", "Diamond\n  5\n" + kPoints, "Selig", "Selig"},
      {"lednicer", "Diamond\n3.       3.\n\n0 0\n0.5 0.05\n1 0\n\n0 0\n0.5 -0.05\n1 0\n",
       "Lednicer", "Lednicer"},
      {"ises", "Diamond\n  -2.0  3.0  -2.5  3.5\n" + kPoints, "ISES", "ISES"},
      {"arf_with_blank_lines_beyond_the_chunk",
       "Diamond\n5\n" + blank_lines + "1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n", "arf",
       "arf"},
      {"selig_after_a_chunk_of_comments", comments + kSelig, "Selig", "Selig"},
      {"arf_count_and_label_beyond_the_chunk",
       "Diamond\n" + blank_lines + "5 1\n1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n", "Selig",
       "arf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, "section.txt");
    EXPECT_EQ(DetectCoordinateFormat(path), c.detected);
    const Expected<LoadedFile> loaded = LoadCoordinateFile(path);
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_EQ(loaded->path, path);
    EXPECT_EQ(loaded->summary.format, c.loaded);
    EXPECT_EQ(loaded->section.title, "Diamond");
    EXPECT_EQ(loaded->section.contour.x, kDiamond.x);
    EXPECT_EQ(loaded->section.contour.y, kDiamond.y);
    // The same bytes handed over rather than read from the disk load alike.
    const Expected<LoadedFile> held = LoadCoordinateText(path, c.bytes);
    ASSERT_TRUE(held) << held.error().message;
    EXPECT_EQ(held->summary.format, c.loaded);
    EXPECT_EQ(held->section.contour.x, kDiamond.x);
    EXPECT_EQ(held->section.contour.y, kDiamond.y);
  }
}

// A file is refused by the reader of the format it looks like, so that the
// refusal speaks of that format (never of the point count of a *.arf file
// for a .dat file).
TEST_F(CoordinateFileTest, ARefusalIsThatOfTheFormatTheFileIsIn) {
  const struct {
    const char* name;
    std::string bytes;
    std::string format;
  } cases[] = {
      {"ises_with_a_broken_point", "E120\n -2.0 3.0 -2.5 3.5\n1 0\n0.5 x\n0 0\n", "ISES"},
      {"selig_with_two_header_lines_and_a_broken_point",
       "Name\nmore\nand more\n1 0\n0.5 0.05\nx 0\n0 0\n", "Selig"},
      {"lednicer_with_wrong_counts", "Diamond\n4. 4.\n0 0\n1 0\n0 0\n1 0\n", "Lednicer"},
      {"arf_with_a_record_missing", "Diamond\n5\n1 1 0\n2 0.5 -0.05\n", "arf"},
      {"a_count_followed_by_text", "Diamond\n5\nUpper\n" + kPoints, "arf"},
      {"missing", "", "arf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.bytes.empty() ? folder_.File("nowhere.dat") : Write(c.bytes);
    EXPECT_EQ(DetectCoordinateFormat(path), c.format);
    const Expected<LoadedFile> loaded = LoadCoordinateFile(path);
    ASSERT_FALSE(loaded);
    const Refusal expected = RefusalOfReader(c.format, path);
    testing::ExpectRefusal(loaded.error(), path, {expected.code, expected.line, expected.message});
  }
}

// A contour that makes no section is refused naming the file, the first
// coordinate line and the lines that held the points, whichever the reader.
TEST_F(CoordinateFileTest, ARefusedSectionNamesItsFileAndLines) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"arf", "Dot\n3\n1 2 0\n2 2 1\n3 2 2\n"},
      {"selig_after_a_header_line", "Ramp\nheader\n0 0\n0.5 -0.1\n1 -0.3\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes);
    const Expected<LoadedFile> loaded = LoadCoordinateFile(path);
    ASSERT_FALSE(loaded);
    const Refusal& refusal = loaded.error();
    EXPECT_EQ(static_cast<int>(refusal.code), static_cast<int>(RefusalCode::kUnusableContour));
    EXPECT_EQ(refusal.file, path);
    EXPECT_EQ(refusal.line, 3);
    EXPECT_TRUE(refusal.message.starts_with("The airfoil file \"" + path + "\" "))
        << refusal.message;
    EXPECT_NE(refusal.message.find("(lines 3 to 5)"), std::string::npos) << refusal.message;
  }
}

// The window's file list reads its *.arf files with the *.arf reader alone.
TEST_F(CoordinateFileTest, LoadArfFileReadsOnlyTheArfLayout) {
  const Expected<LoadedFile> arf = LoadArfFile(Write(kArf, "diamond.arf"));
  ASSERT_TRUE(arf) << arf.error().message;
  EXPECT_EQ(arf->summary.format, "arf");
  EXPECT_EQ(arf->section.contour.y, kDiamond.y);

  const std::string selig = Write(kSelig);
  ASSERT_TRUE(LoadCoordinateFile(selig));
  const Expected<LoadedFile> refused = LoadArfFile(selig);
  ASSERT_FALSE(refused);
  const Refusal expected = RefusalOfReader("arf", selig);
  testing::ExpectRefusal(refused.error(), selig, {expected.code, expected.line, expected.message});
}

// The summary carries what the reader saw, in the words of DescribeLoad.
TEST_F(CoordinateFileTest, SummaryTellsWhatTheLoadSaw) {
  const std::string plain = ", 5 points, nose at point 3, trailing edge gap ";
  const struct {
    const char* name;
    std::string bytes;
    double gap;
    std::string description;  // "" where the gap has too many digits to show
  } cases[] = {
      {"selig_as_usual", kSelig, 0.0, "Selig" + plain + "0.00000"},
      {"selig_from_the_lower_surface", "D\n1 0\n0.5 -0.05\n0 0\n0.5 0.05\n1 0\n", 0.0,
       "Selig" + plain + "0.00000, listed the other way round"},
      {"repeated_nose", "D\n1 0\n0.5 0.05\n0 0\n0 0\n0.5 -0.05\n1 0\n", 0.0,
       "Selig" + plain + "0.00000, 1 repeated point dropped"},
      // Chord 2: the gap of 0.02 between the ends is 0.01 of the chord.
      {"open_trailing_edge_in_chords", "D\n2 0.01\n1 0.05\n0 0\n1 -0.05\n2 -0.01\n", 0.01,
       "Selig" + plain + "0.01000"},
      {"unnamed_with_header_and_notes", "# measured\n" + kPoints + "\nnote\n", 0.0,
       "Selig" + plain + "0.00000, no name line (named after the file), 1 line of header, "
       "1 line of notes ignored"},
      {"arf", kArf, 0.0, "arf" + plain + "0.00000"},
      // The ends' y differ by more than a double holds; the gap in chords does not.
      {"ends_near_the_double_limit", "D\n5\n1 2 1e308\n2 1 0.05\n3 0 0\n4 1 -0.05\n5 2 -1e308\n",
       1e308, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<LoadedFile> loaded = LoadCoordinateFile(Write(c.bytes));
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_DOUBLE_EQ(loaded->summary.trailing_edge_gap, c.gap);
    if (!c.description.empty()) {
      EXPECT_EQ(DescribeLoad(loaded->summary), c.description);
    }
  }
}

TEST(DescribeLoadTest, CountsInTheSingularAndThePlural) {
  const struct {
    const char* name;
    LoadSummary summary;
    std::string text;
  } cases[] = {
      {"one_of_each",
       {"Lednicer", 121, 61, 0.001264, 1, 1, 1, true, true},
       "Lednicer, 121 points, nose at point 61, trailing edge gap 0.00126, no name line (named "
       "after the file), 1 line of header, listed the other way round, 1 repeated point "
       "dropped, 1 line of notes ignored"},
      {"several_of_each",
       {"ISES", 300, 150, 0.5, 3, 4, 2, false, false},
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
