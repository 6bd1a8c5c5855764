// The coordinate files of others, read as they stand: the sample of a
// published airfoil database, the curated published sections beside the
// project, and the samples shipped with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "files/coordinate_file.h"
#include "files/dat_file_reader.h"
#include "files/dat_file_writer.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = QUILANE_DATABASE_SAMPLE_DIR;
const fs::path kShared = QUILANE_SHARED_AIRFOILS_DIR;

// The files with extension `extension` in `folder` and below, in order.
std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().extension() == extension) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A number as such files write it, checked by hand: sign, digits with at
// most one point, an exponent with E or D.
bool IsNumber(const std::string& text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < text.size() && std::string("eEdD").find(text[i]) != std::string::npos) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent_digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      ++exponent_digits;
    }
    if (exponent_digits == 0) return false;
  }
  return i == text.size();
}

// The lines of a text, without their ends (LF, CR LF or CR).
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r') {
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

// The lines of the file holding exactly two numbers, the first non-blank
// line left out when it is a name (a file may begin with its coordinates).
int CoordinateLines(const std::string& bytes) {
  int count = 0;
  bool name_seen = false;
  for (const std::string& line : Lines(bytes)) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
      if (c == ' ' || c == '\t' || c == ',') {
        if (!fields.back().empty()) fields.emplace_back();
      } else {
        fields.back().push_back(c);
      }
    }
    if (fields.back().empty()) fields.pop_back();
    if (fields.empty()) continue;
    const bool pair = fields.size() == 2 && IsNumber(fields[0]) && IsNumber(fields[1]);
    if (!name_seen) {
      name_seen = true;
      if (!pair) continue;
    }
    if (pair) ++count;
  }
  return count;
}

bool NamesALine(const std::string& message) {
  for (std::size_t at = message.find("line "); at != std::string::npos;
       at = message.find("line ", at + 1)) {
    if (at + 5 < message.size() && std::isdigit(static_cast<unsigned char>(message[at + 5]))) {
      return true;
    }
  }
  return false;
}

// Every file of the database sample either loads without losing a
// coordinate line or is refused naming its line, in the terms of a .dat file.
TEST(PublishedSampleTest, EveryFileReadsWholeOrIsRefusedNamingItsLine) {
  const std::vector<fs::path> files = FilesIn(kSample, ".dat");
  if (files.empty()) GTEST_SKIP() << "the sample of published files is not at " << kSample;

  int read = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
    if (!loaded) {
      const Refusal& refusal = loaded.error();
      EXPECT_EQ(refusal.file, file.string());
      EXPECT_GT(refusal.line, 0) << refusal.message;
      EXPECT_TRUE(NamesALine(refusal.message)) << refusal.message;
      EXPECT_EQ(refusal.message.find("record"), std::string::npos) << refusal.message;
      continue;
    }
    ++read;
    // Every coordinate line of the file is a point, a dropped repeat, or the
    // surface counts of a Lednicer file.
    const LoadSummary& summary = loaded->summary;
    const int lednicer_counts = summary.format == "Lednicer" ? 1 : 0;
    EXPECT_EQ(CoordinateLines(testing::ReadBytes(file)),
              summary.points + summary.dropped_points + lednicer_counts)
        << DescribeLoad(summary);
    EXPECT_GE(summary.points, 3);
    EXPECT_EQ(loaded->section.contour.x[loaded->section.nose - 1], 0.0);
  }
  EXPECT_GE(read * 100, static_cast<int>(files.size()) * 95)
      << read << " of " << files.size() << " files read";
}

// Every curated section loads with its nose at x = 0, the lower surface
// first; the *.arf reader refuses it at the count rather than misreading
// it; and written as a Selig file it reads back to the six written decimals.
TEST(PublishedSectionsTest, EverySectionLoadsInTheProgramsOrderAndExportsBack) {
  const std::vector<fs::path> files = FilesIn(kShared, ".dat");
  if (files.empty()) GTEST_SKIP() << "no published sections at " << kShared;
  testing::ScratchFolder folder;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
    ASSERT_TRUE(loaded) << loaded.error().message;
    const Section& section = loaded->section;
    const std::vector<double>& x = section.contour.x;
    const std::vector<double>& y = section.contour.y;
    const int n = static_cast<int>(x.size());
    const int nose = section.nose;
    EXPECT_NE(loaded->summary.format, "arf");
    EXPECT_FALSE(section.title.empty());
    EXPECT_TRUE(section.title.front() != ' ' && section.title.back() != ' ');
    EXPECT_GE(n, 50);
    EXPECT_EQ(x[nose - 1], 0.0);
    EXPECT_EQ(x.back(), 1.0);
    EXPECT_GT(x.front(), 0.9999);
    EXPECT_NEAR(section.chord, 1.0, 1e-3);
    // Lower surface first: below the upper one at the trailing edge and
    // through the chord, x falling to the nose and rising after it.
    EXPECT_LT(y.front(), y.back() + 1e-12);
    for (int i = 1; i < n; ++i) {
      if (i < nose) {
        EXPECT_LT(x[i], x[i - 1]) << "point " << i + 1;
      } else {
        EXPECT_GT(x[i], x[i - 1]) << "point " << i + 1;
      }
    }
    EXPECT_LT(y[nose / 2 - 1], y[nose + (n - nose) / 2 - 1]);

    const Expected<FileContour> as_arf = testing::ReadArfFile(file.string());
    ASSERT_FALSE(as_arf);
    EXPECT_NE(as_arf.error().message.find("point count"), std::string::npos)
        << as_arf.error().message;

    const std::string exported = folder.File("export.dat");
    testing::WriteBytes(exported, SeligFileText(section.title, x, y));
    const Expected<LoadedFile> back = LoadCoordinateFile(exported);
    ASSERT_TRUE(back) << back.error().message;
    EXPECT_EQ(back->section.title, section.title);
    ASSERT_EQ(back->section.contour.x.size(), x.size());
    EXPECT_EQ(back->section.nose, nose);
    // Half a unit in the sixth decimal, ties included (the published files
    // with seven decimals have values ending in 5).
    const double half_unit = 0.5e-6 * (1.0 + 1e-9);
    for (int i = 0; i < n; ++i) {
      // Undo the reader's normalisation, which the rounding may move slightly.
      const Section& b = back->section;
      EXPECT_NEAR(b.contour.x[i] * b.chord + b.x_min, x[i], half_unit) << "point " << i + 1;
      EXPECT_NEAR(b.contour.y[i], y[i], half_unit) << "point " << i + 1;
    }
  }
}

TEST(PublishedSectionsTest, SeligAndLednicerFilesOfOneSectionGiveTheSameContour) {
  const fs::path lednicer = kShared / "lednicer";
  if (!fs::is_directory(lednicer)) GTEST_SKIP() << "no published sections at " << kShared;
  int pairs = 0;
  for (const fs::path& file : FilesIn(lednicer, ".dat")) {
    const fs::path selig = kShared / "selig" / file.filename();
    if (!fs::exists(selig)) continue;
    SCOPED_TRACE(file.filename().string());
    ++pairs;
    const Expected<DatContour> from_lednicer = ReadDatContour(file.string());
    const Expected<DatContour> from_selig = ReadDatContour(selig.string());
    ASSERT_TRUE(from_lednicer && from_selig);
    EXPECT_EQ(from_lednicer->layout, DatLayout::kLednicer);
    EXPECT_EQ(from_selig->layout, DatLayout::kSelig);
    EXPECT_EQ(from_lednicer->dropped, 1);  // the nose both surfaces start at
    EXPECT_EQ(from_lednicer->points.x, from_selig->points.x);
    EXPECT_EQ(from_lednicer->points.y, from_selig->points.y);
  }
  EXPECT_EQ(pairs, 3);
}

// Every coordinate file shipped with the project reads as a contour with its
// nose at x = 0.
TEST(ShippedSamplesTest, EverySampleLoads) {
  const std::vector<fs::path> files = FilesIn(QUILANE_SAMPLES_DIR, ".arf");
  if (files.empty()) GTEST_SKIP() << "no samples shipped yet";
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const Expected<LoadedFile> loaded = LoadArfFile(file.string());
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_EQ(loaded->section.contour.x[loaded->section.nose - 1], 0.0);
    EXPECT_GT(loaded->section.chord, 0.0);
  }
}

}  // namespace
}  // namespace quilane
