#include "files/result_file_writer.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "file_test_support.h"
#include "files/airfoil_file_reader.h"

namespace quilane {
namespace {

using testing::FolderContents;
using testing::ReadBytes;
using testing::ScratchFolder;
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

// The state after a calculation with 51 new points on a symmetric section:
// cosine spacing in x, nose at point 26, and its 26-point camber line.
AirfoilWorkspace AfterCalculation() {
  AirfoilWorkspace ws;
  ws.PlotTitle = "NACA 0012 - redistributed";
  ws.NI = 51;
  const double pi = 4.0 * std::atan(1.0);
  for (int i = 1; i <= 51; ++i) {
    const double angle = 2.0 * pi * (i - 1) / 50.0;
    ws.XI[i] = (std::cos(angle) + 1.0) / 2.0;
    ws.YI[i] = -0.06 * std::sin(angle);
  }
  ws.NCamber = 26.0;
  for (int i = 1; i <= 26; ++i) {
    ws.XCamber[i] = ws.XI[i];
    ws.YCamber[i] = 0.0;
  }
  return ws;
}

class WriterTest : public ::testing::Test {
 protected:
  void Name(const std::string& name) {
    ws_.SaveName = folder_.File(name);
    ws_.CamberName = CamberFileName(ws_.SaveName);
  }

  ScratchFolder folder_;
  AirfoilWorkspace ws_ = AfterCalculation();
};

TEST_F(WriterTest, WritesTheCoordinateAndCamberFiles) {
  Name("naca0012_51.arf");
  const AirfoilWorkspace before = ws_;
  const FileResult result = WriteResultFiles(ws_);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(result.message.empty());
  EXPECT_TRUE(ws_ == before);

  const auto coordinates = CrLfLines(ReadBytes(folder_.File("naca0012_51.arf")));
  ASSERT_EQ(coordinates.size(), 53u);
  EXPECT_EQ(coordinates[0], "NACA 0012 - redistributed");
  EXPECT_EQ(coordinates[1], " 51 ");
  EXPECT_EQ(coordinates[2], "  1  1.00000  0.00000");
  EXPECT_EQ(coordinates[3], "  2  0.99606  -0.00752");
  EXPECT_EQ(coordinates[27], "  26  0.00000  0.00000");
  EXPECT_EQ(coordinates[28], "  27  0.00394  0.00752");
  EXPECT_EQ(coordinates[52], "  51  1.00000  0.00000");

  const auto camber = CrLfLines(ReadBytes(folder_.File("Camber_naca0012_51.arf")));
  ASSERT_EQ(camber.size(), 28u);
  EXPECT_EQ(camber[0], "NACA 0012 - redistributed");
  EXPECT_EQ(camber[1], " 26 ");
  EXPECT_EQ(camber[3], "  2  0.99606  0.00000");
  EXPECT_EQ(camber[27], "  26  0.00000  0.00000");

  EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);  // no temporary file left
}

TEST_F(WriterTest, ReadsBackWhatItWrote) {
  Name("round_trip.arf");
  ASSERT_TRUE(WriteResultFiles(ws_).ok);
  AirfoilWorkspace read;
  read.InputPath = ws_.SaveName;
  const FileResult result = LoadAirfoilFile(read);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(read.AirfoilTitle, ws_.PlotTitle);
  EXPECT_EQ(read.N, 51);
  EXPECT_EQ(read.ILE, 26);
  EXPECT_EQ(read.Xmin, 0.0);
  EXPECT_EQ(read.Chord, 1.0);
  for (int i = 1; i <= 51; ++i) {
    EXPECT_NEAR(read.X[i], ws_.XI[i], 0.5e-5) << i;
    EXPECT_NEAR(read.Y[i], ws_.YI[i], 0.5e-5) << i;
  }
}

TEST_F(WriterTest, ReplacesAnEarlierFileOfTheSameName) {
  Name("again.arf");
  WriteBytes(ws_.SaveName, "old coordinates");
  WriteBytes(ws_.CamberName, "old camber");
  ASSERT_TRUE(WriteResultFiles(ws_).ok);
  EXPECT_EQ(ReadBytes(ws_.SaveName), ResultFileText(ws_.PlotTitle, ws_.NI, ws_.XI, ws_.YI));
  EXPECT_EQ(ReadBytes(ws_.CamberName),
            ResultFileText(ws_.PlotTitle, ws_.NCamber, ws_.XCamber, ws_.YCamber));
  EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);
}

TEST_F(WriterTest, WritesANameAtTheLengthLimit) {
  Name(std::string(248, 'n') + ".arf");  // "Camber_" makes the camber name 259 long
  ws_.CamberName = folder_.File("Camber_long.arf");
  const FileResult result = WriteResultFiles(ws_);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);
}

struct RefusedSave {
  const char* name;
  std::string save;    // relative to the scratch folder; "" for an empty name
  std::string camber;  // relative to the scratch folder
  std::string part;    // must appear in the message
  std::string named;   // the name the message must quote
};

// A refused save changes no file: an earlier coordinate or camber file stays
// byte for byte, no temporary file is left, and the camber file is not tried
// after a refused coordinate file.
TEST_F(WriterTest, RefusedSavesChangeNoFile) {
  std::filesystem::create_directory(folder_.path() / "sub");
  WriteBytes(folder_.File("keep.arf"), "old coordinates\r\n");
  WriteBytes(folder_.File("Camber_keep.arf"), "old camber\r\n");
  const RefusedSave cases[] = {
      {"name_is_an_existing_folder", "sub", "Camber_keep.arf", "is an existing folder", "sub"},
      {"name_ends_in_a_separator", "sub/", "Camber_keep.arf", "is an existing folder", "sub/"},
      {"folder_does_not_exist", "missing/keep.arf", "Camber_keep.arf", "does not exist",
       "missing/keep.arf"},
      {"folder_is_a_file", "keep.arf/x.arf", "Camber_keep.arf", "is a file, not a folder",
       "keep.arf/x.arf"},
      {"empty_name", "", "Camber_keep.arf", "No name was given", ""},
      {"path_runs_through_a_file", "keep.arf/sub/x.arf", "Camber_keep.arf",
       "runs through a file", "keep.arf/sub/x.arf"},
      {"name_too_long_for_the_file_system", std::string(300, 'n') + ".arf", "Camber_keep.arf",
       "File name too long", std::string(300, 'n') + ".arf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ws_.SaveName = c.save.empty() ? "" : folder_.File(c.save);
    ws_.CamberName = folder_.File(c.camber);
    const auto before = FolderContents(folder_.path());
    const FileResult result = WriteResultFiles(ws_);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
    if (!c.named.empty()) {
      EXPECT_NE(result.message.find("\"" + folder_.File(c.named) + "\""), std::string::npos)
          << result.message;
    }
    EXPECT_EQ(FolderContents(folder_.path()), before);
  }
}

// The coordinate file is complete before the camber file is tried; a refused
// camber file leaves the new coordinate file and names the camber file.
TEST_F(WriterTest, RefusedCamberFileKeepsTheNewCoordinates) {
  std::filesystem::create_directory(folder_.path() / "sub");
  const struct {
    const char* name;
    std::string camber;
    std::string part;
  } cases[] = {
      {"camber_name_is_a_folder", folder_.File("sub"), "is an existing folder"},
      {"camber_folder_missing", folder_.File("missing/Camber_new.arf"), "does not exist"},
      {"camber_name_empty", "", "No name was given for the camber file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(folder_.File("new.arf"));
    ws_.SaveName = folder_.File("new.arf");
    ws_.CamberName = c.camber;
    const FileResult result = WriteResultFiles(ws_);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("camber file"), std::string::npos) << result.message;
    EXPECT_EQ(ReadBytes(ws_.SaveName), ResultFileText(ws_.PlotTitle, ws_.NI, ws_.XI, ws_.YI));
    EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);  // sub and new.arf
  }
}

// The system's file operations, except that the n-th write or rename fails as
// on a full disk or a lost share; a failing write leaves half of its bytes.
class FailingFileSystem : public SaveFileSystem {
 public:
  FailingFileSystem(int failing_write, int failing_rename)
      : failing_write_(failing_write), failing_rename_(failing_rename) {}

  std::string WriteNewFile(const std::filesystem::path& path, std::string_view bytes) override {
    if (++writes_ != failing_write_) return SystemSaveFileSystem().WriteNewFile(path, bytes);
    SystemSaveFileSystem().WriteNewFile(path, bytes.substr(0, bytes.size() / 2));
    return "No space left on device";
  }
  std::string ReplaceFile(const std::filesystem::path& from,
                          const std::filesystem::path& to) override {
    if (++renames_ != failing_rename_) return SystemSaveFileSystem().ReplaceFile(from, to);
    return "Input/output error";
  }

 private:
  int failing_write_;
  int failing_rename_;
  int writes_ = 0;
  int renames_ = 0;
};

// A disk that fails midway: the failing file is named with the reason, its
// earlier version stays byte for byte, and no temporary file is left.
TEST_F(WriterTest, FailingDiskKeepsTheEarlierFiles) {
  const struct {
    const char* name;
    int failing_write;
    int failing_rename;
    std::string part;       // the failing file and the reason
    bool coordinates_new;   // the coordinate file was replaced before the failure
  } cases[] = {
      {"coordinates_disk_full", 1, 0, "coordinate file \"" + folder_.File("keep.arf") +
                                          "\" could not be written (No space left on device)",
       false},
      {"coordinates_rename_fails", 0, 1, "coordinate file \"" + folder_.File("keep.arf") +
                                             "\" could not be written (Input/output error)",
       false},
      {"camber_disk_full", 2, 0, "camber file \"" + folder_.File("Camber_keep.arf") +
                                     "\" could not be written (No space left on device)",
       true},
      {"camber_rename_fails", 0, 2, "camber file \"" + folder_.File("Camber_keep.arf") +
                                        "\" could not be written (Input/output error)",
       true},
  };
  Name("keep.arf");
  const std::string new_coordinates = ResultFileText(ws_.PlotTitle, ws_.NI, ws_.XI, ws_.YI);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(ws_.SaveName, "old coordinates\r\n");
    WriteBytes(ws_.CamberName, "old camber\r\n");
    FailingFileSystem disk(c.failing_write, c.failing_rename);
    const FileResult result = WriteResultFiles(ws_, disk);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(c.part), std::string::npos) << result.message;
    EXPECT_EQ(ReadBytes(ws_.SaveName), c.coordinates_new ? new_coordinates
                                                          : "old coordinates\r\n");
    EXPECT_EQ(ReadBytes(ws_.CamberName), "old camber\r\n");
    EXPECT_EQ(FolderContents(folder_.path()).size(), 2u);
  }
}

// A 64 KiB tmpfs mounted for the scope, so that a real disk fills up. Only
// root (or a holder of the mount capability) may mount it.
class SmallDisk {
 public:
  explicit SmallDisk(const std::filesystem::path& at) : at_(at) {
    std::filesystem::create_directory(at_);
    mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, "size=64k") == 0;
    if (!mounted_) reason_ = std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& reason() const { return reason_; }

  // Fills the disk with 4 KiB files until no page is left; returns how many fit.
  int Fill() {
    const std::string page(4096, 'f');
    for (int i = 0;; ++i) {
      const std::filesystem::path filler = at_ / ("filler-" + std::to_string(i));
      std::ofstream out(filler, std::ios::binary);
      out.write(page.data(), static_cast<std::streamsize>(page.size()));
      out.close();
      if (!out) {
        std::filesystem::remove(filler);
        return i;
      }
    }
  }

 private:
  std::filesystem::path at_;
  bool mounted_ = false;
  std::string reason_;
};

TEST_F(WriterTest, FullDiskKeepsTheEarlierFiles) {
  const std::filesystem::path at = folder_.path() / "small";
  SmallDisk disk(at);
  if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs is not permitted: " << disk.reason();
  ws_.SaveName = (at / "keep.arf").string();
  ws_.CamberName = CamberFileName(ws_.SaveName);
  WriteBytes(ws_.SaveName, "old coordinates\r\n");
  WriteBytes(ws_.CamberName, "old camber\r\n");
  ASSERT_GT(disk.Fill(), 0);

  // Nothing fits: the coordinate file fails and nothing changes.
  const auto full = FolderContents(at);
  FileResult result = WriteResultFiles(ws_);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("coordinate file \"" + ws_.SaveName + "\""), std::string::npos)
      << result.message;
  EXPECT_NE(result.message.find(std::strerror(ENOSPC)), std::string::npos) << result.message;
  EXPECT_EQ(FolderContents(at), full);

  // One page free: a new coordinate file fits, its camber file does not.
  std::filesystem::remove(at / "filler-0");
  ws_.SaveName = (at / "new.arf").string();
  ws_.CamberName = (at / "Camber_keep.arf").string();
  result = WriteResultFiles(ws_);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("camber file \"" + ws_.CamberName + "\""), std::string::npos)
      << result.message;
  EXPECT_EQ(ReadBytes(ws_.SaveName), ResultFileText(ws_.PlotTitle, ws_.NI, ws_.XI, ws_.YI));
  EXPECT_EQ(ReadBytes(ws_.CamberName), "old camber\r\n");
  EXPECT_EQ(ReadBytes(at / "keep.arf"), "old coordinates\r\n");
  EXPECT_EQ(FolderContents(at).size(), full.size());  // filler-0 gone, new.arf come
}

TEST(ResultFileTextTest, CountLineAndPointLines) {
  PointArray x{};
  PointArray y{};
  x[1] = -0.000004;  // rounds to zero: no minus sign
  y[1] = -0.000006;  // rounds away from zero: keeps it
  x[2] = 1234.5;
  y[2] = -0.04733;
  x[3] = 0.5;
  y[3] = -0.5;
  Settable<int> unset;
  Settable<int> zero;
  zero = 0;
  Settable<int> three;
  three = 3;
  Settable<int> negative;
  negative = -2;
  EXPECT_EQ(ResultFileText("T", unset, x, y), "T\r\n\r\n");
  EXPECT_EQ(ResultFileText("T", zero, x, y), "T\r\n 0 \r\n");
  EXPECT_EQ(ResultFileText("T", negative, x, y), "T\r\n -2 \r\n");
  EXPECT_EQ(ResultFileText("", three, x, y),
            "\r\n"
            " 3 \r\n"
            "  1  0.00000  -0.00001\r\n"
            "  2  1234.50000  -0.04733\r\n"
            "  3  0.50000  -0.50000\r\n");
  Settable<double> unset_camber;
  EXPECT_EQ(ResultFileText("T", unset_camber, x, y), "T\r\n\r\n");
}

// A title the reader would cut at a comma or trim is written between double
// quotes, so that a saved file opens again with its title and its points.
TEST_F(WriterTest, TitlesReadBackWhole) {
  const struct {
    const char* name;
    std::string title;
    std::string line;
  } cases[] = {
      {"plain", "NACA 0012 - redistributed", "NACA 0012 - redistributed"},
      {"comma", "Clark Y, smoothed - redistributed", "\"Clark Y, smoothed - redistributed\""},
      {"leading_blanks", "  X - redistributed", "\"  X - redistributed\""},
      {"trailing_tab", "X\t", "\"X\t\""},
      {"byte_order_mark_first", "\xEF\xBB\xBFX", "\"\xEF\xBB\xBFX\""},
      {"byte_order_mark_first_and_a_quote", "\xEF\xBB\xBFX\"Y\"", " \xEF\xBB\xBFX\"Y\""},
      {"utf16_mark_bytes_first", "\xFF\xFEX", "\"\xFF\xFEX\""},
      {"utf16_mark_bytes_first_and_a_quote", "\xFE\xFFX\"", " \xFE\xFFX\""},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ws_.PlotTitle = c.title;
    Name("titled.arf");
    ASSERT_TRUE(WriteResultFiles(ws_).ok);
    EXPECT_EQ(CrLfLines(ReadBytes(ws_.SaveName)).front(), c.line);
    AirfoilWorkspace read;
    read.InputPath = ws_.SaveName;
    const FileResult result = ReadAirfoilFile(read);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(read.AirfoilTitle, c.title);
    EXPECT_EQ(read.N, 51);
  }
  // A quoted title cannot hold a double quote: a title with a comma and a
  // double quote (a .dat name line) reopens with apostrophes for its quotes.
  Name("comma_and_quote.arf");
  ws_.PlotTitle = "Clark \"Y\", smoothed";
  ASSERT_TRUE(WriteResultFiles(ws_).ok);
  AirfoilWorkspace read;
  read.InputPath = ws_.SaveName;
  ASSERT_TRUE(ReadAirfoilFile(read).ok);
  EXPECT_EQ(read.AirfoilTitle, "Clark 'Y', smoothed");
}

TEST(ResultFileTextTest, HalfCountWritesTheWholePointsBelowIt) {
  PointArray x{};
  PointArray y{};
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
    Settable<double> count;
    count = c.count;
    const auto lines = CrLfLines(ResultFileText("Camber", count, x, y));
    ASSERT_EQ(lines.size(), 2 + c.point_lines);
    EXPECT_EQ(lines[1], c.count_line);
    if (c.point_lines > 0) {
      EXPECT_EQ(lines.back(), "  " + std::to_string(c.point_lines) + "  0.00000  0.00000");
    }
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

// The window's toolkit may switch the C locale to one with a decimal comma;
// the files must come out and read back the same.
TEST_F(WriterTest, CommaLocaleWritesAndReadsTheSameDigits) {
  Name("c_locale.arf");
  ASSERT_TRUE(WriteResultFiles(ws_).ok);
  AirfoilWorkspace read_in_c;
  read_in_c.InputPath = ws_.SaveName;
  ASSERT_TRUE(ReadAirfoilFile(read_in_c).ok);

  testing::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale is installed";
  Name("comma_locale.arf");
  ASSERT_TRUE(WriteResultFiles(ws_).ok);
  EXPECT_EQ(ReadBytes(folder_.File("comma_locale.arf")), ReadBytes(folder_.File("c_locale.arf")));
  EXPECT_EQ(ReadBytes(folder_.File("Camber_comma_locale.arf")),
            ReadBytes(folder_.File("Camber_c_locale.arf")));
  AirfoilWorkspace read_in_comma;
  read_in_comma.InputPath = read_in_c.InputPath;
  ASSERT_TRUE(ReadAirfoilFile(read_in_comma).ok);
  EXPECT_TRUE(read_in_comma == read_in_c);
}

}  // namespace
}  // namespace quilane
