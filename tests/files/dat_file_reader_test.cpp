#include "files/dat_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "files/airfoil_file_reader.h"
#include "files/coordinate_file.h"

namespace quilane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

namespace fs = std::filesystem;

// The five-point diamond in the program's order: trailing edge, lower
// surface, nose, upper surface, trailing edge.
const std::vector<double> kDiamondX = {1, 0.5, 0, 0.5, 1};
const std::vector<double> kDiamondY = {0, -0.05, 0, 0.05, 0};

// The same diamond as the two layouts list it.
const std::string kSeligDiamond = "Diamond\n1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n";
const std::string kLednicerDiamond =
    "Diamond\n3.       3.\n\n0 0\n0.5 0.05\n1 0\n\n0 0\n0.5 -0.05\n1 0\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::vector<double> Entries(const PointArray& array, int n) {
  return std::vector<double>(array.begin() + 1, array.begin() + 1 + n);
}

const fs::path kShared = QUILANE_SHARED_AIRFOILS_DIR;

std::vector<fs::path> PublishedFiles() {
  std::vector<fs::path> files;
  if (!fs::is_directory(kShared)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(kShared)) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The lines of a text file, without their ends.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

using DatReaderTest = testing::ScratchFileTest;

struct ContourCase {
  const char* name;
  std::string bytes;
  std::string title;
  DatLayout layout;
  bool reversed;
  int dropped;
  long long first_line;
  long long last_line;
  std::vector<double> x;
  std::vector<double> y;
};

TEST_F(DatReaderTest, TurnsEitherLayoutIntoTheProgramsOrder) {
  using L = DatLayout;
  const ContourCase cases[] = {
      {"selig", kSeligDiamond, "Diamond", L::kSelig, false, 0, 2, 6, kDiamondX, kDiamondY},
      {"selig_listed_backwards", "Diamond\n1 0\n0.5 -0.05\n0 0\n0.5 0.05\n1 0\n", "Diamond",
       L::kSelig, true, 0, 2, 6, kDiamondX, kDiamondY},
      {"lednicer_doubled_nose_dropped", kLednicerDiamond, "Diamond", L::kLednicer, false, 1, 4,
       10, kDiamondX, kDiamondY},
      {"lednicer_lower_surface_first",
       "Diamond\n3 3\n0 0\n0.5 -0.05\n1 0\n0 0\n0.5 0.05\n1 0\n", "Diamond", L::kLednicer,
       true, 1, 3, 8, kDiamondX, kDiamondY},
      {"lednicer_counts_written_with_zeros",
       "Diamond\n3.0 2.0\n0 0\n0.5 0.05\n1 0\n0.5 -0.05\n1 0\n", "Diamond", L::kLednicer,
       false, 0, 3, 7, kDiamondX, kDiamondY},
      {"crlf", Replace(kSeligDiamond, "\n", "\r\n"), "Diamond", L::kSelig, false, 0, 2, 6,
       kDiamondX, kDiamondY},
      {"cr_only", Replace(kLednicerDiamond, "\n", "\r"), "Diamond", L::kLednicer, false, 1, 4,
       10, kDiamondX, kDiamondY},
      {"byte_order_mark", "\xEF\xBB\xBF" + kSeligDiamond, "Diamond", L::kSelig, false, 0, 2, 6,
       kDiamondX, kDiamondY},
      {"comments_anywhere_and_blank_lines",
       "# from the wind tunnel\n\n  Diamond\n# trailing edge\n1 0\n\n0.5 0.05\n  # nose\n0 0\n"
       "0.5 -0.05\n1 0\n# end\n",
       "Diamond", L::kSelig, false, 0, 5, 11, kDiamondX, kDiamondY},
      {"name_trimmed_blanks_and_tabs_inside_kept", " \t NACA 23012  12% \t\n1 0\n0.5 0.05\n0 0\n"
       "0.5 -0.05\n1 0\n",
       "NACA 23012  12%", L::kSelig, false, 0, 2, 6, kDiamondX, kDiamondY},
      {"tabs_commas_and_trailing_blanks",
       "Diamond\n1\t0  \n 0.5 , 0.05\n0,0\n\t0.5\t-0.05\t\n1 0   ", "Diamond", L::kSelig,
       false, 0, 2, 6, kDiamondX, kDiamondY},
      {"numbers_without_leading_zero_and_exponents",
       "Diamond\n1.0 +0\n.5 5e-2\n0. -0\n5E-1 -.05\n1 0.\n", "Diamond", L::kSelig, false, 0, 2,
       6, kDiamondX, kDiamondY},
      {"repeated_neighbours_dropped",
       "Diamond\n1 0\n0.5 0.05\n0.5 0.05\n0 0\n0 0\n0.5 -0.05\n1 0\n", "Diamond", L::kSelig,
       false, 2, 2, 8, kDiamondX, kDiamondY},
      {"equal_x_or_equal_y_alone_kept", "Box\n1 0\n0 0.1\n0 -0.1\n1 0\n", "Box", L::kSelig,
       false, 0, 2, 5, {1, 0, 0, 1}, {0, -0.1, 0.1, 0}},
      {"open_trailing_edge", "Open\n1 0.01\n0 0\n1 -0.01\n", "Open", L::kSelig, false, 0, 2, 4,
       {1, 0, 1}, {-0.01, 0, 0.01}},
      {"zero_area_keeps_the_layouts_rule", "Line\n1 0\n0.5 0\n0 0\n0.25 0\n1 0\n", "Line",
       L::kSelig, false, 0, 2, 6, {1, 0.25, 0, 0.5, 1}, {0, 0, 0, 0, 0}},
      {"first_and_last_equal_both_kept", "Closed\n1 0\n0 0.1\n1 0\n", "Closed", L::kSelig, false,
       0, 2, 4, {1, 0, 1}, {0, 0.1, 0}},
      {"number_like_name_is_a_name", "0012\n1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n", "0012",
       L::kSelig, false, 0, 2, 6, kDiamondX, kDiamondY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DatContour contour;
    const FileResult result = ReadDatContour(Write(c.bytes), contour);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(contour.title, c.title);
    EXPECT_EQ(contour.layout, c.layout);
    EXPECT_EQ(contour.reversed, c.reversed);
    EXPECT_EQ(contour.dropped, c.dropped);
    EXPECT_EQ(contour.first_line, c.first_line);
    EXPECT_EQ(contour.last_line, c.last_line);
    EXPECT_EQ(contour.x, c.x);
    EXPECT_EQ(contour.y, c.y);
  }
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> message_parts;  // each must appear in the message
};

TEST_F(DatReaderTest, RefusesMalformedFilesNamingTheLineAndLeavingTheWorkspace) {
  std::string too_many_lines = "Many\n";
  for (int i = 0; i <= 2000; ++i) too_many_lines += "1 0\n";
  std::string too_many_points = "Many\n";
  for (int i = 0; i <= 1000; ++i) {
    too_many_points += std::to_string(1000 - i) + " " + std::to_string(i % 2) + "\n";
  }
  const RefusedCase cases[] = {
      {"empty_file", "", {"no name line", "line 1"}},
      {"only_comments", "# a\n# b\n\n", {"no name line"}},
      {"name_only", "Diamond\n\n", {"no coordinate lines", "line 1"}},
      {"lednicer_counts_without_name", "61. 61.\n0 0\n0.5 0.05\n", {"line 1", "two whole numbers", "name"}},
      {"three_fields", "Diamond\n1 0\n0.5 0.05 7\n", {"line 3", "3 fields"}},
      {"count_of_an_arf_file", "Diamond\n 61 \n  1  1.0  0.0\n", {"line 2", "single number"}},
      {"not_a_number", "Diamond\n1 0\n0.5 0.05\n0 abc\n", {"line 4", "y value \"abc\"",
                                                               "not a number"}},
      {"decimal_comma", "Diamond\n1 0\n0,5 0,05\n", {"line 3", "4 fields"}},
      {"nan", "Diamond\n1 0\nnan 0\n", {"line 3", "x value", "not a finite number"}},
      {"overflow", "Diamond\n1 0\n1e400 0\n", {"line 3", "\"1e400\"", "finite"}},
      {"lednicer_counts_too_high", "Diamond\n61. 61.\n0 0\n1 0\n0 0\n1 0\n",
       {"line 2", "61 and 61", "122 points", "4 coordinate lines follow", "lines 3 to 6"}},
      {"lednicer_counts_without_points", "Diamond\n3. 3.\n", {"line 2", "0 coordinate lines"}},
      {"line_too_long", "Diamond\n" + std::string(1001, ' ') + "1 0\n",
       {"line 2", "1000 characters"}},
      {"number_too_long", "Diamond\n" + std::string(401, '1') + " 0\n",
       {"line 2", "400 characters", "x value"}},
      {"too_many_lines", too_many_lines, {"line 2002", "2000 coordinate lines", "1000 points"}},
      {"too_many_points", too_many_points, {"1001 points", "lines 2 to 1002", "at most 1000"}},
      {"single_point", "Dot\n1 0\n1 0\n", {"single point", "line 2"}},
      {"utf16", std::string("\xFF\xFE" "D\0i\0\n\0", 8), {"UTF-16", "line 1"}},
      {"nul_byte", std::string("Diamond\n1 0\n0.5\0 0\n", 19), {"NUL", "line 3"}},
      // Refused when stored, by the same rules as a *.arf file.
      {"all_x_equal", "Dot\n1 0\n1 1\n1 2\n", {"lines 2 to 4", "chord is 0"}},
      {"x_never_decreases", "Ramp\n0 0\n0.5 -0.1\n1 -0.3\n", {"lines 2 to 4", "no nose"}},
  };

  // A workspace that already holds an earlier section and other state.
  AirfoilWorkspace ws;
  ASSERT_TRUE(LoadDatFile(ws, Write(kSeligDiamond, "earlier.dat")).ok);
  ws.NCamber = 3.5;
  ws.PlotX0 = 0.2;

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, std::string(c.name) + ".dat");
    const AirfoilWorkspace before = ws;
    const FileResult result = LoadDatFile(ws, path);
    testing::ExpectRefusal(result, path, c.message_parts);
    EXPECT_TRUE(ws == before);
  }
}

TEST_F(DatReaderTest, RefusesWhatIsNotAReadableFile) {
  fs::create_directory(folder_.path() / "sub.dat");
  struct Case {
    const char* name;
    std::string path;
    std::string part;
  };
  const Case cases[] = {
      {"missing_file", folder_.File("nowhere.dat"), "does not exist"},
      {"folder", folder_.File("sub.dat"), "is a folder"},
      {"empty_path", "", "cannot be opened"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AirfoilWorkspace ws;
    const FileResult result = LoadDatFile(ws, c.path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(ws == AirfoilWorkspace());
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
  }
}

// Importing a section is choosing its *.arf file: the same workspace, with
// the .dat file's path as InputPath.
TEST_F(DatReaderTest, LoadsExactlyAsTheSameSectionInAnArfFile) {
  const std::string arf =
      Write("Wide\n5\n1 110 0\n2 60 -0.05\n3 10 0\n4 60 0.05\n5 110 0\n", "wide.arf");
  const std::string dat = Write("Wide\n110 0\n60 0.05\n10 0\n60 -0.05\n110 0\n", "wide.dat");
  AirfoilWorkspace from_arf;
  from_arf.NCamber = 25.5;
  from_arf.PlotTitle = "Old - redistributed";
  from_arf.PlotX0 = 0.5;
  AirfoilWorkspace from_dat = from_arf;
  from_arf.InputPath = arf;
  ASSERT_TRUE(LoadAirfoilFile(from_arf).ok);
  ASSERT_TRUE(LoadDatFile(from_dat, dat).ok);
  EXPECT_EQ(from_dat.InputPath, dat);
  from_dat.InputPath = arf;
  EXPECT_TRUE(from_dat == from_arf);
  EXPECT_EQ(from_dat.Chord, 100.0);
  EXPECT_EQ(from_dat.ILE, 3);
  EXPECT_EQ(Entries(from_dat.XI, 5), kDiamondX);
}

TEST_F(DatReaderTest, ReadDatFileKeepsThePathAndTheNewPoints) {
  AirfoilWorkspace ws;
  ws.InputPath = "earlier.arf";
  ws.NI = 7;
  const FileResult result = ReadDatFile(ws, Write(kLednicerDiamond));
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(ws.InputPath, "earlier.arf");
  EXPECT_EQ(ws.NI, 7);
  EXPECT_FALSE(ws.FileLoaded);
  EXPECT_EQ(ws.N, 5);
  EXPECT_EQ(Entries(ws.Y, 5), kDiamondY);
}

struct DetectCase {
  const char* name;
  std::string bytes;
  std::string detected;
  std::string loaded;
};

TEST_F(DatReaderTest, TellsTheKindOfFileFromItsContent) {
  const DetectCase cases[] = {
      {"arf", "Diamond\n5\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n", "arf", "arf"},
      {"arf_title_with_count", "Diamond, 5\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n",
       "arf", "arf"},
      {"arf_count_and_label_on_one_line",
       "Diamond\n5 1\n1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n", "Selig", "arf"},
      {"selig", kSeligDiamond, "Selig", "Selig"},
      {"lednicer", kLednicerDiamond, "Lednicer", "Lednicer"},
      {"selig_after_comments", "# header\n\nDiamond\n# first point\n1 0\n0.5 0.05\n0 0\n"
       "0.5 -0.05\n1 0\n",
       "Selig", "Selig"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, "section.txt");
    EXPECT_EQ(DetectCoordinateFormat(path), c.detected);
    AirfoilWorkspace ws;
    LoadSummary loaded;
    const FileResult result = LoadCoordinateFile(ws, path, &loaded);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(loaded.format, c.loaded);
    EXPECT_EQ(ws.InputPath, path);
    EXPECT_EQ(ws.N, 5);
    EXPECT_EQ(Entries(ws.X, 5), kDiamondX);
  }
}

// The file is opened once and its text read again for the reader; when
// telling its kind reads past the first chunk, the reader still gets the
// whole text from its start.
TEST_F(DatReaderTest, LoadsFilesLongerThanOneChunkAsTheReaderOfTheirKind) {
  const std::string blank_lines(70000, '\n');
  std::string comments;
  while (comments.size() < 70000) comments += "# a comment line of the header\n";
  const DetectCase cases[] = {
      {"arf_with_blank_lines_beyond_the_chunk",
       "Diamond\n5\n" + blank_lines + "1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n",
       "arf", "arf"},
      {"selig_after_a_chunk_of_comments", comments + kSeligDiamond, "Selig", "Selig"},
      {"arf_count_and_label_beyond_the_chunk",
       "Diamond\n" + blank_lines + "5 1\n1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n",
       "Selig", "arf"},
      {"arf_in_one_chunk", "Diamond\n5\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n",
       "arf", "arf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.bytes, "section.txt");
    EXPECT_EQ(DetectCoordinateFormat(path), c.detected);
    AirfoilWorkspace ws;
    LoadSummary loaded;
    const FileResult result = LoadCoordinateFile(ws, path, &loaded);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(loaded.format, c.loaded);
    AirfoilWorkspace direct;
    if (c.loaded == "arf") {
      direct.InputPath = path;
      ASSERT_TRUE(LoadAirfoilFile(direct).ok);
    } else {
      ASSERT_TRUE(LoadDatFile(direct, path).ok);
    }
    EXPECT_TRUE(ws == direct);
    EXPECT_EQ(Entries(ws.X, 5), kDiamondX);
  }
}

TEST_F(DatReaderTest, RefusedEitherWayGivesTheDetectedKindsMessage) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string part;
  };
  const Case cases[] = {
      {"broken_selig", "Diamond\n1 0\n0.5 x\n", "y value \"x\""},
      {"broken_arf", "Diamond\n5\n1 1 0\n", "record 2 of 5"},
      {"missing", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path =
        c.bytes.empty() ? folder_.File("nowhere.dat") : Write(c.bytes, "broken.dat");
    AirfoilWorkspace ws;
    ws.InputPath = "earlier.arf";
    const AirfoilWorkspace before = ws;
    const FileResult result = LoadCoordinateFile(ws, path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(ws == before);
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
  }
}

// ---------------------------------------------------------------------------
// The published sections.

TEST(PublishedDatTest, EveryFileImportsAsAContourWithItsNoseAtZero) {
  const auto files = PublishedFiles();
  if (files.empty()) GTEST_SKIP() << "no published sections at " << kShared;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    AirfoilWorkspace ws;
    const FileResult result = LoadDatFile(ws, file.string());
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_FALSE(ws.AirfoilTitle.empty());
    EXPECT_TRUE(ws.AirfoilTitle.front() != ' ' && ws.AirfoilTitle.back() != ' ');
    EXPECT_GE(ws.N, 50);
    EXPECT_EQ(ws.X[ws.ILE], 0.0);
    EXPECT_EQ(ws.X[ws.N], 1.0);
    EXPECT_GT(ws.X[1], 0.9999);
    EXPECT_NEAR(ws.Chord, 1.0, 1e-3);
    // Lower surface first: below the upper one at the trailing edge and
    // through the chord, x falling to the nose and rising after it.
    EXPECT_LT(ws.Y[1], ws.Y[ws.N] + 1e-12);
    for (int i = 2; i <= ws.N; ++i) {
      if (i <= ws.ILE) {
        EXPECT_LT(ws.X[i], ws.X[i - 1]) << "point " << i;
      } else {
        EXPECT_GT(ws.X[i], ws.X[i - 1]) << "point " << i;
      }
    }
    const int quarter_lower = ws.ILE / 2;
    const int quarter_upper = ws.ILE + (ws.N - ws.ILE) / 2;
    EXPECT_LT(ws.Y[quarter_lower], ws.Y[quarter_upper]);
    // The *.arf reader refuses the same file rather than misreading it.
    AirfoilWorkspace arf;
    arf.InputPath = file.string();
    EXPECT_FALSE(ReadAirfoilFile(arf).ok);
  }
}

TEST(PublishedDatTest, SeligAndLednicerFilesOfOneSectionGiveTheSameContour) {
  const fs::path lednicer = kShared / "lednicer";
  if (!fs::is_directory(lednicer)) GTEST_SKIP() << "no published sections at " << kShared;
  int pairs = 0;
  for (const auto& entry : fs::directory_iterator(lednicer)) {
    const fs::path selig = kShared / "selig" / entry.path().filename();
    if (!fs::exists(selig)) continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++pairs;
    DatContour from_lednicer;
    DatContour from_selig;
    ASSERT_TRUE(ReadDatContour(entry.path().string(), from_lednicer).ok);
    ASSERT_TRUE(ReadDatContour(selig.string(), from_selig).ok);
    EXPECT_EQ(from_lednicer.layout, DatLayout::kLednicer);
    EXPECT_EQ(from_selig.layout, DatLayout::kSelig);
    EXPECT_EQ(from_lednicer.dropped, 1);  // the nose both surfaces start at
    EXPECT_EQ(from_lednicer.x, from_selig.x);
    EXPECT_EQ(from_lednicer.y, from_selig.y);
  }
  EXPECT_EQ(pairs, 3);
}

// Every published Selig file rewritten in the scratch folder the other way
// round, and with its name line after a comment, reads as the same contour.
TEST(PublishedDatTest, SeligFilesListedBackwardsGiveTheSameContour) {
  const fs::path selig = kShared / "selig";
  if (!fs::is_directory(selig)) GTEST_SKIP() << "no published sections at " << kShared;
  ScratchFolder folder;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(selig)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    std::vector<std::string> lines = Lines(testing::ReadBytes(entry.path()));
    while (!lines.empty() && lines.back().find_first_not_of(" \t\r") == std::string::npos) {
      lines.pop_back();
    }
    std::string backwards = "# listed from the lower trailing edge\n" + lines.front() + "\n";
    for (std::size_t i = lines.size() - 1; i >= 1; --i) backwards += lines[i] + "\n";
    const std::string path = folder.File(entry.path().filename().string());
    WriteBytes(path, backwards);

    DatContour forwards_contour;
    DatContour backwards_contour;
    ASSERT_TRUE(ReadDatContour(entry.path().string(), forwards_contour).ok);
    const FileResult result = ReadDatContour(path, backwards_contour);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_FALSE(forwards_contour.reversed);
    EXPECT_TRUE(backwards_contour.reversed);
    EXPECT_EQ(backwards_contour.title, forwards_contour.title);
    EXPECT_EQ(backwards_contour.x, forwards_contour.x);
    EXPECT_EQ(backwards_contour.y, forwards_contour.y);
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace quilane
