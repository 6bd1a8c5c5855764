#include "files/airfoil_file_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"

namespace quilane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

// Five points around a diamond: trailing edge, lower surface, nose, upper
// surface, trailing edge.
const std::string kDiamond =
    "Diamond\n"
    "5\n"
    "  1  1  0\n"
    "  2  0.5  0.05\n"
    "  3  0  0\n"
    "  4  0.5  -0.05\n"
    "  5  1  0\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A workspace at its start values apart from the path of the file to read.
AirfoilWorkspace OnlyPath(const std::string& path) {
  AirfoilWorkspace ws;
  ws.InputPath = path;
  return ws;
}

std::vector<double> Entries(const PointArray& array, int n) {
  return std::vector<double>(array.begin() + 1, array.begin() + 1 + n);
}

class ReaderTest : public ::testing::Test {
 protected:
  // Writes `bytes` to a file of the scratch folder and reads it.
  FileResult Read(const std::string& bytes, const std::string& name = "section.arf") {
    ws_.InputPath = folder_.File(name);
    WriteBytes(ws_.InputPath, bytes);
    return ReadAirfoilFile(ws_);
  }

  ScratchFolder folder_;
  AirfoilWorkspace ws_;
};

struct ReadCase {
  const char* name;
  std::string bytes;
  std::string title;
  int ile;
  double xmin;
  double chord;
  std::vector<double> x;
  std::vector<double> y;
};

TEST_F(ReaderTest, ReadsFindsTheNoseAndNormalises) {
  const std::vector<double> diamond_x = {1, 0.5, 0, 0.5, 1};
  const std::vector<double> diamond_y = {0, 0.05, 0, -0.05, 0};
  const ReadCase cases[] = {
      {"diamond", kDiamond, "Diamond", 3, 0, 1, diamond_x, diamond_y},
      {"shifted_and_scaled",
       "Wide\n5\n1 110 0\n2 60 0.05\n3 10 0\n4 60 -0.05\n5 110 0\n", "Wide", 3, 10, 100,
       diamond_x, diamond_y},
      {"crlf", Replace(kDiamond, "\n", "\r\n"), "Diamond", 3, 0, 1, diamond_x, diamond_y},
      {"cr_only", Replace(kDiamond, "\n", "\r"), "Diamond", 3, 0, 1, diamond_x, diamond_y},
      {"utf8_byte_order_mark", "\xEF\xBB\xBF" + kDiamond, "Diamond", 3, 0, 1, diamond_x,
       diamond_y},
      {"unquoted_title_cut_at_comma_rest_is_count",
       "Diamond, 5\n1 1 0\n2 0.5 0.05\n3 0 0\n4 0.5 -0.05\n5 1 0\n", "Diamond", 3, 0, 1,
       diamond_x, diamond_y},
      {"quoted_title_keeps_comma",
       "\"Diamond, thin\"\n5\n1 1 0\n2 0.5 0.05\n3 0 0\n4 0.5 -0.05\n5 1 0\n", "Diamond, thin",
       3, 0, 1, diamond_x, diamond_y},
      {"quoted_title_then_count_on_same_line",
       "  \"  Diamond \" , 5\n1 1 0\n2 0.5 0.05\n3 0 0\n4 0.5 -0.05\n5 1 0\n", "  Diamond ", 3,
       0, 1, diamond_x, diamond_y},
      {"title_blanks_around_dropped", " \t Diamond \t \n" + kDiamond.substr(8), "Diamond", 3, 0,
       1, diamond_x, diamond_y},
      {"empty_first_line_is_empty_title", "\n" + kDiamond.substr(8), "", 3, 0, 1, diamond_x,
       diamond_y},
      {"records_spanning_lines",
       "Diamond\n5 1\n1\n0\n2\n0.5\n0.05 3 0\n\n   0 4,0.5,-0.05,5\t1\t0", "Diamond", 3, 0, 1,
       diamond_x, diamond_y},
      {"comma_separated_with_blanks",
       "Diamond\n5\n1 , 1 , 0\n2 ,0.5, 0.05\n3,0,0\n4, 0.5 ,-0.05\n5,1,0\n", "Diamond", 3, 0, 1,
       diamond_x, diamond_y},
      {"signs_exponents_and_bare_points",
       "Diamond\n+5\n+1 1E0 +0\n2 5.e-1 .05\n3 -0 0.\n4 .5 -5e-2\n5 1.0 0\n", "Diamond", 3, 0,
       1, diamond_x, diamond_y},
      {"rest_after_the_records_ignored", kDiamond + std::string("6 7 8\nnot a record at all\0\xFF", 27),
       "Diamond", 3, 0, 1, diamond_x, diamond_y},
      {"last_record_without_line_end", kDiamond.substr(0, kDiamond.size() - 1), "Diamond", 3,
       0, 1, diamond_x, diamond_y},
      {"equal_x_at_nose_first_is_nose",
       "Flat nose\n6\n1 1 0\n2 0.5 -0.05\n3 0 -0.01\n4 0 0.01\n5 0.5 0.05\n6 1 0\n",
       "Flat nose", 3, 0, 1, {1, 0.5, 0, 0, 0.5, 1}, {0, -0.05, -0.01, 0.01, 0.05, 0}},
      {"last_decrease_and_last_increase_count",
       "Wavy\n6\n1 4 0\n2 2 0\n3 3 0\n4 1 0\n5 2 0\n6 5 0\n", "Wavy", 4, 1, 4,
       {0.75, 0.25, 0.5, 0, 0.25, 1}, {0, 0, 0, 0, 0, 0}},
      {"trailing_edge_not_last_point",
       "Hook\n4\n1 3 0\n2 1 0\n3 5 0\n4 4 0\n", "Hook", 4, 4, 1, {-1, -3, 1, 0}, {0, 0, 0, 0}},
      {"utf8_title", "Profil \xC3\x96l\xC3\xA7\x65k\n" + kDiamond.substr(8),
       "Profil \xC3\x96l\xC3\xA7\x65k", 3, 0, 1, diamond_x, diamond_y},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ws_ = AirfoilWorkspace();
    const FileResult result = Read(c.bytes);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(ws_.AirfoilTitle, c.title);
    EXPECT_EQ(ws_.N, static_cast<int>(c.x.size()));
    EXPECT_EQ(ws_.ILE, c.ile);
    EXPECT_EQ(ws_.Xmin, c.xmin);
    EXPECT_EQ(ws_.Chord, c.chord);
    EXPECT_EQ(Entries(ws_.X, ws_.N), c.x);
    EXPECT_EQ(Entries(ws_.Y, ws_.N), c.y);
  }
}

TEST_F(ReaderTest, KeepsEntriesAboveTheCountFromAnEarlierFile) {
  ASSERT_TRUE(Read("Seven\n7\n1 2 0\n2 1.5 -1\n3 1 -2\n4 0 -3\n5 1 4\n6 1.5 5\n7 2 6\n").ok);
  const AirfoilWorkspace first = ws_;
  ASSERT_TRUE(Read(kDiamond, "second.arf").ok);
  EXPECT_EQ(ws_.N, 5);
  EXPECT_EQ(ws_.X[6], first.X[6]);
  EXPECT_EQ(ws_.X[7], 1.0);
  EXPECT_EQ(ws_.Y[6], 5.0);
  EXPECT_EQ(ws_.Y[7], 6.0);
  EXPECT_EQ(ws_.X[8], 0.0);
  EXPECT_EQ(ws_.X[0], 0.0);
}

TEST_F(ReaderTest, ReadsTheLargestCount) {
  std::string bytes = "Thousand\n1000\n";
  for (int i = 1; i <= 1000; ++i) {
    const int x = i <= 500 ? 501 - i : i - 500;
    bytes += std::to_string(i) + " " + std::to_string(x) + " 0\n";
  }
  const FileResult result = Read(bytes);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(ws_.N, 1000);
  EXPECT_EQ(ws_.ILE, 500);
  EXPECT_EQ(ws_.Xmin, 1.0);
  EXPECT_EQ(ws_.Chord, 499.0);
  EXPECT_EQ(ws_.X[1000], 1.0);
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> message_parts;  // each must appear in the message
};

TEST_F(ReaderTest, RefusesMalformedFilesLeavingTheWorkspaceAsItWas) {
  const std::string head = "Diamond\n5\n1 1 0\n2 0.5 0.05\n";
  const RefusedCase cases[] = {
      {"empty_file", "", {"line 1", "before the point count"}},
      {"title_only", "Diamond\n", {"line 1", "before the point count"}},
      {"count_with_exponent", "Diamond\n1e3\n", {"line 2", "\"1e3\"", "2 to 1000"}},
      {"count_with_fraction", "Diamond\n61.5\n", {"line 2", "\"61.5\""}},
      {"count_with_point", "Diamond\n61.       61.\n", {"line 2", "\"61.\""}},
      {"count_negative", "Diamond\n-3\n", {"line 2", "\"-3\""}},
      {"count_huge", "Diamond\n1000000000000\n", {"line 2", "\"1000000000000\""}},
      {"count_above_capacity", "Diamond\n1001\n", {"line 2", "\"1001\""}},
      {"count_one", "Diamond\n1\n1 1 0\n", {"line 2", "\"1\""}},
      {"count_zero", "Diamond\n0\n", {"line 2", "\"0\""}},
      {"count_as_power", "Diamond\n10^12\n", {"line 2", "\"10^12\""}},
      {"count_text", "Diamond\nfive\n", {"line 2", "\"five\""}},
      {"count_empty_field", "Diamond,,5\n", {"line 1", "empty point count"}},
      {"records_missing", head, {"line 4", "record 3 of 5", "label"}},
      {"y_missing", head + "3 0", {"line 5", "record 3 of 5", "y value"}},
      {"count_beyond_file", "Diamond\n1000\n1 1 0\n", {"line 3", "record 2 of 1000"}},
      {"x_not_a_number", "Diamond\n5\n1 1 0\n2 abc 0.05\n", {"line 4", "record 2 of 5",
                                                               "x value \"abc\"", "not a number"}},
      {"label_not_a_number", head + "#3 0 0\n", {"line 5", "record 3 of 5", "label"}},
      {"two_commas_empty_field", head + "3,,0\n", {"line 5", "record 3 of 5", "empty x value"}},
      {"nan", head + "3 0 nan\n", {"line 5", "record 3 of 5", "not a finite number"}},
      {"inf", head + "3 inf 0\n", {"line 5", "record 3 of 5", "not a finite number"}},
      {"overflow", head + "3 0 1e400\n", {"line 5", "record 3 of 5", "\"1e400\"", "finite"}},
      {"all_x_equal", "Dot\n3\n1 2 0\n2 2 1\n3 2 2\n", {"lines 3 to 5", "chord is 0"}},
      {"x_never_decreases", "Ramp\n5\n1 0 0\n2 0.25 0\n3 0.5 0\n4 0.75 0\n5 1 0\n",
       {"lines 3 to 7", "no nose"}},
      {"x_too_far_apart", "Far\n3\n1 1e308 0\n2 -1e308 0\n3 1e308 0\n", {"lines 3 to 5"}},
      {"x_far_beyond_the_chord", "Far\n3\n1 1e308 0\n2 -1e308 0\n3 2 0\n",
       {"point 1 (lines 3 to 5) too far from the nose"}},
      {"chord_too_short_to_divide_by", "Tiny\n3\n1 1 0\n2 0 0\n3 4.9e-324 0\n",
       {"point 1", "chord of 4.94065645841247E-324"}},
      {"gap_beyond_a_double_short_chord", "Big\n3\n1 10 3\n2 0.69 0\n3 1 1e308\n",
       {"first and last points (lines 3 to 5)", "trailing-edge gap", "chord of 0.31"}},
      {"gap_beyond_a_double_opposite_y", "Big\n3\n1 1 1e308\n2 0 0\n3 1 -1e308\n",
       {"first and last points", "trailing-edge gap", "chord of 1"}},
      {"utf16_le", std::string("\xFF\xFE" "D\0i\0a\0\n\0", 10), {"UTF-16", "line 1"}},
      {"utf16_be", std::string("\xFE\xFF\0D\0i\0a\0\n", 10), {"UTF-16", "line 1"}},
      {"nul_byte", std::string("Diamond\n5\n1 1\0 0\n", 17), {"NUL", "line 3"}},
      {"nul_in_title", std::string("Dia\0mond\n", 9), {"NUL", "line 1"}},
      {"title_too_long", std::string(1001, 'a') + "\n5\n", {"title", "1000", "line 1"}},
      {"quoted_title_tail_too_long", "\"T\"" + std::string(2000, 'a') + "\n5\n",
       {"title", "1000", "line 1"}},
      {"field_too_long", "Diamond\n5\n1 " + std::string(401, '1') + " 0\n",
       {"400", "x value", "record 1 of 5", "line 3"}},
  };

  // A workspace that already holds an earlier file and other state.
  WriteBytes(folder_.File("earlier.arf"),
             "Earlier\n6\n1 2 0\n2 1 -0.1\n3 0 0\n4 1 0.1\n5 2 0\n6 3 0\n");
  ws_.InputPath = folder_.File("earlier.arf");
  ASSERT_TRUE(LoadAirfoilFile(ws_).ok);
  ws_.NCamber = 3.5;
  ws_.PlotX0 = 0.2;

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = std::string(c.name) + ".arf";
    const std::string path = folder_.File(name);
    WriteBytes(path, c.bytes);
    ws_.InputPath = path;
    const AirfoilWorkspace before = ws_;
    const FileResult result = ReadAirfoilFile(ws_);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(ws_ == before);
    EXPECT_NE(result.message.find("\"" + path + "\""), std::string::npos) << result.message;
    for (const auto& part : c.message_parts) {
      EXPECT_NE(result.message.find(part), std::string::npos)
          << "missing \"" << part << "\" in: " << result.message;
    }
  }
}

TEST_F(ReaderTest, RefusesWhatIsNotAReadableFile) {
  const std::filesystem::path sub = folder_.path() / "sub.arf";
  std::filesystem::create_directory(sub);
  // Opening a named pipe would wait for a writer for ever.
  const std::string pipe = folder_.File("pipe.arf");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::string path;
    std::string part;
  };
  const Case cases[] = {
      {"missing_file", folder_.File("nowhere.arf"), "does not exist"},
      {"missing_folder", folder_.File("nowhere/x.arf"), "does not exist"},
      {"folder", sub.string(), "is a folder"},
      {"empty_path", "", "cannot be opened"},
      {"named_pipe", pipe, "is a named pipe, not a regular file"},
      {"device", "/dev/zero", "is a device, not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ws_.InputPath = c.path;
    const AirfoilWorkspace before = ws_;
    const FileResult result = LoadAirfoilFile(ws_);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(ws_ == before);
    EXPECT_NE(result.message.find("\"" + c.path + "\""), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
  }
}

// A file that is one enormous line is refused at the field limit, without
// holding the line.
TEST_F(ReaderTest, RefusesAFiftyMegabyteLine) {
  const std::size_t size = 50u << 20;
  struct Case {
    const char* name;
    std::string head;
    char fill;
    std::string part;
  };
  const Case cases[] = {
      {"title", "", 'a', "title"},
      {"count", "Long\n", '7', "point count"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FileResult result = Read(c.head + std::string(size, c.fill), "long.arf");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
    EXPECT_TRUE(ws_ == OnlyPath(ws_.InputPath));
  }
}

TEST_F(ReaderTest, LoadMakesThePointsTheFirstNewPoints) {
  ws_.NCamber = 25.5;
  ws_.XCamber[1] = 0.25;
  ws_.PlotTitle = "Old - redistributed";
  ws_.PlotScale = 3.0;
  ws_.PlotX0 = 0.5;
  ws_.InputPath = folder_.File("wide.arf");
  WriteBytes(ws_.InputPath, "Wide\n5\n1 110 0\n2 60 0.05\n3 10 0\n4 60 -0.05\n5 110 0\n");
  const FileResult result = LoadAirfoilFile(ws_);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(ws_.NI.IsSet());
  EXPECT_EQ(ws_.NI, 5);
  EXPECT_EQ(Entries(ws_.XI, 5), (std::vector<double>{1, 0.5, 0, 0.5, 1}));
  EXPECT_EQ(Entries(ws_.YI, 5), (std::vector<double>{0, 0.05, 0, -0.05, 0}));
  EXPECT_EQ(ws_.PlotScale, 1.0);
  EXPECT_EQ(ws_.PlotTitle, "");
  EXPECT_TRUE(ws_.FileLoaded);
  // What the last calculation left stays.
  EXPECT_EQ(ws_.NCamber, 25.5);
  EXPECT_EQ(ws_.XCamber[1], 0.25);
  EXPECT_EQ(ws_.PlotX0, 0.5);
}

// Sections as published elsewhere give x and y only, without a count or
// labels: they are refused at the count, not misread.
TEST_F(ReaderTest, RefusesPublishedSectionsWithoutACount) {
  const std::filesystem::path shared = QUILANE_SHARED_AIRFOILS_DIR;
  if (!std::filesystem::is_directory(shared)) GTEST_SKIP() << "no published sections";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(shared)) {
    if (entry.path().extension() != ".dat") continue;
    SCOPED_TRACE(entry.path().string());
    ++files;
    AirfoilWorkspace ws;
    ws.InputPath = entry.path().string();
    const FileResult result = ReadAirfoilFile(ws);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("point count"), std::string::npos) << result.message;
    EXPECT_TRUE(ws == OnlyPath(ws.InputPath));
  }
  EXPECT_GT(files, 0);
}

// Every coordinate file shipped with the project reads as a contour with its
// nose at x = 0.
TEST(ReaderSamplesTest, ReadsEveryShippedSample) {
  const std::filesystem::path samples = QUILANE_SAMPLES_DIR;
  int files = 0;
  if (std::filesystem::is_directory(samples)) {
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
      if (entry.path().extension() != ".arf") continue;
      SCOPED_TRACE(entry.path().string());
      ++files;
      AirfoilWorkspace ws;
      ws.InputPath = entry.path().string();
      const FileResult result = ReadAirfoilFile(ws);
      ASSERT_TRUE(result.ok) << result.message;
      EXPECT_GE(ws.N, 2);
      EXPECT_EQ(ws.X[ws.ILE], 0.0);
      EXPECT_GT(ws.Chord, 0.0);
    }
  }
  if (files == 0) GTEST_SKIP() << "no samples shipped yet";
}

}  // namespace
}  // namespace quilane
