#include "files/dat_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "files/dat_file_reader.h"

namespace quilane {
namespace {

using testing::FolderContents;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

namespace fs = std::filesystem;

// A workspace whose new points are the diamond in the program's order.
AirfoilWorkspace DiamondWorkspace() {
  AirfoilWorkspace ws;
  ws.AirfoilTitle = "Diamond";
  ws.NI = 5;
  const double x[] = {1, 0.5, 0, 0.5, 1};
  const double y[] = {0, -0.05, 0, 0.05, 0};
  for (int i = 1; i <= 5; ++i) {
    ws.XI[i] = x[i - 1];
    ws.YI[i] = y[i - 1];
  }
  return ws;
}

TEST(SeligFileTextTest, ListsTheUpperSurfaceFirstInSixDecimalColumns) {
  const AirfoilWorkspace ws = DiamondWorkspace();
  EXPECT_EQ(SeligFileText("Diamond - redistributed", 5, ws.XI, ws.YI),
            "Diamond - redistributed\n"
            " 1.000000  0.000000\n"
            " 0.500000  0.050000\n"
            " 0.000000  0.000000\n"
            " 0.500000 -0.050000\n"
            " 1.000000  0.000000\n");
  EXPECT_EQ(SeligFileText("Nothing", 0, ws.XI, ws.YI), "Nothing\n");
}

TEST(SeligFileTextTest, WritesEachValueRoundedWithASignColumn) {
  struct Case {
    const char* name;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {"one", 1.0, " 1.000000"},
      {"small", 0.00126, " 0.001260"},
      {"negative_small", -0.00126, "-0.001260"},
      {"rounds_up", 0.0012606, " 0.001261"},
      {"negative_rounding_to_zero_loses_its_sign", -4e-7, " 0.000000"},
      {"negative_zero", -0.0, " 0.000000"},
      {"large", 123.4567891, " 123.456789"},
      {"beyond_one_from_an_open_edge", 1.00003, " 1.000030"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PointArray x{};
    PointArray y{};
    x[1] = c.value;
    y[1] = -c.value;
    const std::string text = SeligFileText("T", 1, x, y);
    const std::string line = text.substr(2, text.size() - 3);
    EXPECT_EQ(line.substr(0, line.find(' ', 1)), c.text);
    EXPECT_EQ(line.size(), 2 * std::string(c.text).size() + 1) << line;
  }
}

TEST(SeligNameLineTest, KeepsTheTitleReadableAsAName) {
  struct Case {
    const char* name;
    const char* title;
    const char* line;
  };
  const Case cases[] = {
      {"plain", "NACA 23012 - redistributed", "NACA 23012 - redistributed"},
      {"blanks_around", " \t E387 \t", "E387"},
      {"empty", "", "Airfoil"},
      {"blanks_only", "   ", "Airfoil"},
      {"comment_mark_in_front", "# 3 wing root", "3 wing root"},
      {"comment_marks_only", "##", "Airfoil"},
      {"mark_inside_kept", "Rib #3", "Rib #3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SeligNameLine(c.title), c.line);
  }
}

class SeligWriterTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
};

TEST_F(SeligWriterTest, NamesTheFileAfterThePlotTitleOrElseTheAirfoilTitle) {
  AirfoilWorkspace ws = DiamondWorkspace();
  const std::string path = folder_.File("out.dat");
  ASSERT_TRUE(WriteSeligFile(ws, path).ok);
  EXPECT_EQ(ReadBytes(path).substr(0, 8), "Diamond\n");
  ws.PlotTitle = "Diamond - redistributed";
  const AirfoilWorkspace before = ws;
  ASSERT_TRUE(WriteSeligFile(ws, path).ok);
  EXPECT_EQ(ReadBytes(path), SeligFileText(ws.PlotTitle, 5, ws.XI, ws.YI));
  EXPECT_TRUE(ws == before);
}

TEST_F(SeligWriterTest, RefusesWithoutWritingAndKeepsAnEarlierFile) {
  const std::string earlier = folder_.File("earlier.dat");
  WriteBytes(earlier, "Earlier\n1 0\n");
  fs::create_directory(folder_.path() / "sub");
  AirfoilWorkspace no_points;
  AirfoilWorkspace not_finite = DiamondWorkspace();
  not_finite.YI[3] = std::numeric_limits<double>::quiet_NaN();
  AirfoilWorkspace too_many = DiamondWorkspace();
  too_many.NI = kPointCapacity + 1;
  struct Case {
    const char* name;
    const AirfoilWorkspace* ws;
    std::string path;
    std::vector<std::string> parts;
  };
  const AirfoilWorkspace diamond = DiamondWorkspace();
  const Case cases[] = {
      {"no_new_points", &no_points, earlier, {"\"" + earlier + "\"", "no new points"}},
      {"count_beyond_capacity", &too_many, earlier, {"no new points"}},
      {"not_finite", &not_finite, earlier, {"new point 3", "nan"}},
      {"empty_name", &diamond, "", {"No name", "Selig file"}},
      {"folder", &diamond, folder_.File("sub"), {"folder"}},
      {"missing_folder", &diamond, folder_.File("nowhere/out.dat"), {"does not exist"}},
  };
  const auto contents = FolderContents(folder_.path());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FileResult result = WriteSeligFile(*c.ws, c.path);
    EXPECT_FALSE(result.ok);
    for (const auto& part : c.parts) {
      EXPECT_NE(result.message.find(part), std::string::npos)
          << "missing \"" << part << "\" in: " << result.message;
    }
    EXPECT_EQ(FolderContents(folder_.path()), contents);
  }
}

// What is written reads back as the same points to the six written decimals,
// in the program's order, for every published section as loaded.
TEST_F(SeligWriterTest, ExportReimportsToTheWrittenPrecision) {
  const fs::path shared = QUILANE_SHARED_AIRFOILS_DIR;
  if (!fs::is_directory(shared)) GTEST_SKIP() << "no published sections at " << shared;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(shared)) {
    if (entry.path().extension() != ".dat") continue;
    SCOPED_TRACE(entry.path().string());
    ++files;
    AirfoilWorkspace ws;
    ASSERT_TRUE(LoadDatFile(ws, entry.path().string()).ok);
    const std::string path = folder_.File("export.dat");
    ASSERT_TRUE(WriteSeligFile(ws, path).ok);

    AirfoilWorkspace back;
    const FileResult read = LoadDatFile(back, path);
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_EQ(back.AirfoilTitle, ws.AirfoilTitle);
    ASSERT_EQ(back.N, ws.NI);
    EXPECT_EQ(back.ILE, ws.ILE);
    // Half a unit in the sixth decimal, ties included (the published files
    // with seven decimals have values ending in 5).
    const double half_unit = 0.5e-6 * (1.0 + 1e-9);
    for (int i = 1; i <= back.N; ++i) {
      // Undo the reader's normalisation, which the rounding may move slightly.
      EXPECT_NEAR(back.X[i] * back.Chord + back.Xmin, ws.XI[i], half_unit) << "point " << i;
      EXPECT_NEAR(back.Y[i], ws.YI[i], half_unit) << "point " << i;
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace quilane
