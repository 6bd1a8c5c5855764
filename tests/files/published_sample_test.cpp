// Every file of the sample of published airfoil files, as they stand, either
// loads without losing a coordinate line or is refused naming its line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "files/coordinate_file.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = QUILANE_DATABASE_SAMPLE_DIR;

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

// The lines of the file holding exactly two numbers, the first non-blank
// line left out when it is a name (a file may begin with its coordinates).
int CoordinateLines(const std::string& bytes) {
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
  int count = 0;
  bool name_seen = false;
  for (const std::string& line : lines) {
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

TEST(PublishedSampleTest, EveryFileReadsWholeOrIsRefusedNamingItsLine) {
  if (!fs::is_directory(kSample)) {
    GTEST_SKIP() << "the sample of published files is not at " << kSample;
  }
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kSample)) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());

  int read = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    AirfoilWorkspace ws;
    LoadSummary summary;
    const FileResult result = LoadCoordinateFile(ws, file.string(), &summary);
    if (!result.ok) {
      EXPECT_TRUE(NamesALine(result.message)) << result.message;
      // A .dat file is never refused in the terms of a *.arf file.
      EXPECT_EQ(result.message.find("record"), std::string::npos) << result.message;
      continue;
    }
    ++read;
    // Every coordinate line of the file is a point, a dropped repeat, or the
    // surface counts of a Lednicer file.
    const int lednicer_counts = summary.format == "Lednicer" ? 1 : 0;
    EXPECT_EQ(CoordinateLines(testing::ReadBytes(file)),
              summary.points + summary.dropped_points + lednicer_counts)
        << DescribeLoad(summary);
    EXPECT_GE(summary.points, 3);
    EXPECT_EQ(ws.X[ws.ILE], 0.0);
  }
  EXPECT_GE(read * 100, static_cast<int>(files.size()) * 95)
      << read << " of " << files.size() << " files read";
}

}  // namespace
}  // namespace quilane
