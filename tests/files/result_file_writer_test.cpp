#include "files/result_file_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "files/coordinate_file.h"
#include "files/dat_file_writer.h"

namespace quilane {
namespace {

using testing::FolderContents;
using testing::ReadBytes;
using testing::WriteBytes;

// The lines of a text whose lines all end in CR LF; fails the test for a bare
// CR or LF or a last line without its end.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF: " << text.substr(start);
      break;
    }
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line end in: " << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

// The result of a calculation with 51 new points on a symmetric section:
// cosine spacing in x, nose at point 26, and its 26-point camber line.
class WriterTest : public ::testing::Test {
 protected:
  WriterTest() {
    const double pi = 4.0 * std::atan(1.0);
    for (int i = 1; i <= 51; ++i) {
      const double angle = 2.0 * pi * (i - 1) / 50.0;
      x_.push_back((std::cos(angle) + 1.0) / 2.0);
      y_.push_back(-0.06 * std::sin(angle));
    }
    camber_x_.assign(x_.begin(), x_.begin() + 26);
    camber_y_.assign(26, 0.0);
  }

  // The files of the result, the new points in the file `name` of the
  // scratch folder and the camber line beside it.
  ResultFiles Files(const std::string& name, ResultFormat format = ResultFormat::kArf) const {
    const std::string path = folder_.File(name);
    return {"NACA 0012 - redistributed", {51.0, x_, y_}, {26.0, camber_x_, camber_y_}, format,
            path, CamberOutputName(path, format)};
  }

  testing::ScratchFolder folder_;
  std::vector<double> x_, y_, camber_x_, camber_y_;
};

TEST_F(WriterTest, WritesTheCoordinateAndCamberFiles) {
  const ResultFiles files = Files("naca0012_51.arf");
  ASSERT_FALSE(WriteResultFiles(files));

  const auto coordinates = CrLfLines(ReadBytes(files.points_path));
  ASSERT_EQ(coordinates.size(), 53u);
  EXPECT_EQ(coordinates[0], "NACA 0012 - redistributed");
  EXPECT_EQ(coordinates[1], " 51 ");
  EXPECT_EQ(coordinates[2], "  1  1.00000  0.00000");
  EXPECT_EQ(coordinates[3], "  2  0.99606  -0.00752");
  EXPECT_EQ(coordinates[27], "  26  0.00000  0.00000");
  EXPECT_EQ(coordinates[28], "  27  0.00394  0.00752");
  EXPECT_EQ(coordinates[52], "  51  1.00000  0.00000");

  EXPECT_EQ(files.camber_path, folder_.File("Camber_naca0012_51.arf"));
  const auto camber = CrLfLines(ReadBytes(files.camber_path));
  ASSERT_EQ(camber.size(), 28u);
  EXPECT_EQ(camber[0], "NACA 0012 - redistributed");
  EXPECT_EQ(camber[1], " 26 ");
  EXPECT_EQ(camber[3], "  2  0.99606  0.00000");
  EXPECT_EQ(camber[27], "  26  0.00000  0.00000");

  EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);  // no temporary file left
}

// A Selig result lists the new points as a .dat file; the camber line stays
// in the program's layout, in a *.arf file beside it.
TEST_F(WriterTest, WritesASeligResultWithItsCamberLineAsArf) {
  const ResultFiles files = Files("naca0012_51.dat", ResultFormat::kSelig);
  ASSERT_FALSE(WriteResultFiles(files));
  EXPECT_EQ(ReadBytes(files.points_path), SeligFileText(files.title, x_, y_));
  EXPECT_EQ(ReadBytes(folder_.File("Camber_naca0012_51.arf")),
            ResultFileText(files.title, files.camber));
}

TEST_F(WriterTest, ReadsBackWhatItWrote) {
  const ResultFiles files = Files("round_trip.arf");
  ASSERT_FALSE(WriteResultFiles(files));
  const Expected<LoadedFile> read = LoadArfFile(files.points_path);
  ASSERT_TRUE(read) << read.error().message;
  const Section& section = read->section;
  EXPECT_EQ(section.title, files.title);
  EXPECT_EQ(section.nose, 26);
  EXPECT_EQ(section.x_min, 0.0);
  EXPECT_EQ(section.chord, 1.0);
  ASSERT_EQ(section.contour.x.size(), 51u);
  for (std::size_t i = 0; i < 51; ++i) {
    EXPECT_NEAR(section.contour.x[i], x_[i], 0.5e-5) << i;
    EXPECT_NEAR(section.contour.y[i], y_[i], 0.5e-5) << i;
  }
}

TEST_F(WriterTest, ReplacesAnEarlierFileOfTheSameName) {
  const ResultFiles files = Files("again.arf");
  WriteBytes(files.points_path, "old coordinates");
  WriteBytes(files.camber_path, "old camber");
  ASSERT_FALSE(WriteResultFiles(files));
  EXPECT_EQ(ReadBytes(files.points_path), ResultFileText(files.title, files.points));
  EXPECT_EQ(ReadBytes(files.camber_path), ResultFileText(files.title, files.camber));
  EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);
}

// A name no file can have, of either file, refuses the save before anything
// is written: no new coordinate file without its camber file.
TEST_F(WriterTest, WritesNothingWhenEitherNameIsRefused) {
  const struct {
    const char* name;
    std::string points;  // in the scratch folder
    std::string camber;
    std::string refused;  // the file the refusal names
  } cases[] = {
      {"coordinate_folder_missing", "missing/new.arf", "Camber_new.arf", "missing/new.arf"},
      {"camber_folder_missing", "new.arf", "missing/Camber_new.arf", "missing/Camber_new.arf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(folder_.File("new.arf"));
    WriteBytes(folder_.File("Camber_new.arf"), "old camber\r\n");
    ResultFiles files = Files(c.points);
    files.camber_path = folder_.File(c.camber);
    const std::optional<Refusal> refused = WriteResultFiles(files);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->file, folder_.File(c.refused));
    EXPECT_EQ(ReadBytes(folder_.File("Camber_new.arf")), "old camber\r\n");
    EXPECT_FALSE(std::filesystem::exists(files.points_path));
    EXPECT_EQ(FolderContents(folder_.path()).size(), 1u);
  }
}

TEST(ResultFileTextTest, CountLineAndPointLines) {
  const std::vector<double> x = {-0.000004, 1234.5, 0.5};  // -0.000004 rounds to zero
  const std::vector<double> y = {-0.000006, -0.04733, -0.5};
  EXPECT_EQ(ResultFileText("T", {std::nullopt, x, y}), "T\r\n\r\n");
  EXPECT_EQ(ResultFileText("T", {0.0, x, y}), "T\r\n 0 \r\n");
  EXPECT_EQ(ResultFileText("T", {-2.0, x, y}), "T\r\n -2 \r\n");
  EXPECT_EQ(ResultFileText("", {3.0, x, y}),
            "\r\n"
            " 3 \r\n"
            "  1  0.00000  -0.00001\r\n"
            "  2  1234.50000  -0.04733\r\n"
            "  3  0.50000  -0.50000\r\n");
}

TEST(ResultFileTextTest, HalfCountWritesTheWholePointsBelowIt) {
  const std::vector<double> zeros(1000, 0.0);
  const struct {
    const char* name;
    double count;
    std::string count_line;
    std::size_t point_lines;
  } cases[] = {
      {"half", 25.5, " 25.5 ", 25},
      {"whole", 26.0, " 26 ", 26},
      {"below_one", 0.5, " 0.5 ", 0},
      {"above_capacity", 1000.5, " 1000.5 ", 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lines = CrLfLines(ResultFileText("Camber", {c.count, zeros, zeros}));
    ASSERT_EQ(lines.size(), 2 + c.point_lines);
    EXPECT_EQ(lines[1], c.count_line);
    if (c.point_lines > 0) {
      EXPECT_EQ(lines.back(), "  " + std::to_string(c.point_lines) + "  0.00000  0.00000");
    }
  }
}

// A title the reader would cut at a comma or trim is written between double
// quotes, so that a saved file opens again with its title and its points; a
// quoted title cannot hold a double quote, so a title with a comma and a
// double quote (a .dat name line) reopens with apostrophes for its quotes, and
// one that opens with a double quote with an apostrophe for that one.
TEST_F(WriterTest, TitlesReadBackWhole) {
  const struct {
    const char* name;
    std::string title;
    std::string line;
    std::string read_back;
  } cases[] = {
      {"plain", "NACA 0012 - redistributed", "NACA 0012 - redistributed",
       "NACA 0012 - redistributed"},
      {"comma", "Clark Y, smoothed", "\"Clark Y, smoothed\"", "Clark Y, smoothed"},
      {"leading_blanks", "  X", "\"  X\"", "  X"},
      {"trailing_tab", "X\t", "\"X\t\"", "X\t"},
      {"byte_order_mark_first", "\xEF\xBB\xBFX", "\"\xEF\xBB\xBFX\"", "\xEF\xBB\xBFX"},
      {"byte_order_mark_first_and_a_quote", "\xEF\xBB\xBFX\"Y\"", " \xEF\xBB\xBFX\"Y\"",
       "\xEF\xBB\xBFX\"Y\""},
      {"utf16_mark_bytes_first", "\xFF\xFEX", "\"\xFF\xFEX\"", "\xFF\xFEX"},
      {"utf16_mark_bytes_first_and_a_quote", "\xFE\xFFX\"", " \xFE\xFFX\"", "\xFE\xFFX\""},
      {"empty", "", "", ""},
      {"comma_and_quote", "Clark \"Y\", smoothed", "\"Clark 'Y', smoothed\"",
       "Clark 'Y', smoothed"},
      {"opening_quote", "\"Y\" smoothed", "'Y\" smoothed", "'Y\" smoothed"},
  };
  const ResultFiles files = Files("titled.arf");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = ResultFileText(c.title, files.points);
    EXPECT_EQ(CrLfLines(text).front(), c.line);
    WriteBytes(files.points_path, text);
    const Expected<LoadedFile> read = LoadArfFile(files.points_path);
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read->section.title, c.read_back);
    EXPECT_EQ(read->section.contour.x.size(), 51u);
  }
}

TEST(CamberFileNameTest, PrefixesTheFileNamePartOnly) {
  const struct {
    const char* name;
    std::string save;
    std::string camber;
  } cases[] = {
      {"bare_name", "out.arf", "Camber_out.arf"},
      {"relative_folder", "dir/out.arf", "dir/Camber_out.arf"},
      {"absolute_folder", "/a/b.c/out", "/a/b.c/Camber_out"},
      {"dot_folder", "./out.arf", "./Camber_out.arf"},
      {"empty", "", "Camber_"},
      {"folder_only", "dir/", "dir/Camber_"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CamberFileName(c.save), c.camber);
  }
}

// The camber line is always a *.arf file: a Selig result's camber file takes
// that extension.
TEST(CamberFileNameTest, CamberOutputOfASeligResultIsAnArfFile) {
  EXPECT_EQ(CamberOutputName("dir/out.dat", ResultFormat::kArf), "dir/Camber_out.dat");
  EXPECT_EQ(CamberOutputName("dir/out.dat", ResultFormat::kSelig), "dir/Camber_out.arf");
  EXPECT_EQ(CamberOutputName("d.x/out", ResultFormat::kSelig), "d.x/Camber_out.arf");
}

// The window's toolkit may switch the C locale to one with a decimal comma;
// the files must come out and read back the same.
TEST_F(WriterTest, CommaLocaleWritesAndReadsTheSameDigits) {
  const ResultFiles in_c = Files("c_locale.arf");
  ASSERT_FALSE(WriteResultFiles(in_c));
  const Expected<LoadedFile> read_in_c = LoadArfFile(in_c.points_path);
  ASSERT_TRUE(read_in_c);

  testing::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale is installed";
  const ResultFiles in_comma = Files("comma_locale.arf");
  ASSERT_FALSE(WriteResultFiles(in_comma));
  EXPECT_EQ(ReadBytes(in_comma.points_path), ReadBytes(in_c.points_path));
  EXPECT_EQ(ReadBytes(in_comma.camber_path), ReadBytes(in_c.camber_path));
  const Expected<LoadedFile> read_in_comma = LoadArfFile(in_c.points_path);
  ASSERT_TRUE(read_in_comma);
  EXPECT_EQ(read_in_comma->section.contour.x, read_in_c->section.contour.x);
  EXPECT_EQ(read_in_comma->section.contour.y, read_in_c->section.contour.y);
}

}  // namespace
}  // namespace quilane
