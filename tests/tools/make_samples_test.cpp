// The shipped samples are exactly what quilane-make-samples writes today.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> CoordinateFiles(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".arf") names.insert(entry.path().filename().string());
  }
  return names;
}

// Lines of a CR LF text; false when a line ends without CR LF.
bool SplitCrLf(const std::string& text, std::vector<std::string>& lines) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) return false;
    const std::string line = text.substr(start, end - start);
    if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos) {
      return false;
    }
    lines.push_back(line);
    start = end + 2;
  }
  return true;
}

int RunMakeSamples(const std::string& arguments) {
  const std::string command = std::string("\"") + QUILANE_MAKE_SAMPLES + "\"" + arguments;
  return std::system(command.c_str());
}

class MakeSamplesTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::path(testing::TempDir()) /
              (std::string("quilane_samples_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

TEST_F(MakeSamplesTest, CommittedSamplesEqualTheGeneratorsOutput) {
  ASSERT_EQ(RunMakeSamples(" \"" + folder_.string() + "\""), 0);
  const std::set<std::string> made = CoordinateFiles(folder_);
  ASSERT_FALSE(made.empty());
  EXPECT_EQ(CoordinateFiles(QUILANE_SAMPLES_DIR), made)
      << "remake the samples: quilane-make-samples samples";
  for (const std::string& name : made) {
    EXPECT_EQ(ReadBytes(fs::path(QUILANE_SAMPLES_DIR) / name), ReadBytes(folder_ / name))
        << name << " differs; remake the samples: quilane-make-samples samples";
  }
}

struct SampleCase {
  const char* file;
  const char* title;
  const char* count_line;
  int count;
  bool sharp;
};

void PrintTo(const SampleCase& c, std::ostream* os) { *os << c.file; }

const SampleCase kSampleCases[] = {
    {"naca0012.arf", "NACA 0012", " 61 ", 61, true},
    {"naca2412.arf", "NACA 2412", " 81 ", 81, true},
    {"naca4412.arf", "NACA 4412", " 101 ", 101, true},
    {"naca0015_blunt.arf", "NACA 0015 blunt trailing edge", " 61 ", 61, false},
};

class SampleFileTest : public testing::TestWithParam<SampleCase> {};

TEST_P(SampleFileTest, HasTheCoordinateFileLayout) {
  const SampleCase& c = GetParam();
  std::vector<std::string> lines;
  ASSERT_TRUE(SplitCrLf(ReadBytes(fs::path(QUILANE_SAMPLES_DIR) / c.file), lines));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.count + 2));
  EXPECT_EQ(lines[0], c.title);
  EXPECT_EQ(lines[1], c.count_line);
  const std::string last = "  " + std::to_string(c.count) + "  1.00000  ";
  if (c.sharp) {
    EXPECT_EQ(lines[2], "  1  1.00000  0.00000");
    EXPECT_EQ(lines.back(), last + "0.00000");
  } else {
    EXPECT_EQ(lines[2].rfind("  1  1.00000  -0.0", 0), 0u) << lines[2];
    EXPECT_EQ(lines.back().rfind(last + "0.0", 0), 0u) << lines.back();
    EXPECT_NE(lines.back(), last + "0.00000");
  }
  const std::string nose = "  " + std::to_string((c.count + 1) / 2) + "  0.00000  0.00000";
  EXPECT_EQ(lines[(c.count + 1) / 2 + 1], nose);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleFileTest, testing::ValuesIn(kSampleCases),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

struct BadCallCase {
  const char* name;
  std::string arguments;
};

void PrintTo(const BadCallCase& c, std::ostream* os) { *os << c.name; }

class MakeSamplesRefusalTest : public testing::TestWithParam<BadCallCase> {};

TEST_P(MakeSamplesRefusalTest, ExitsWithFailure) {
  EXPECT_NE(RunMakeSamples(GetParam().arguments + " 2>/dev/null"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MakeSamplesRefusalTest,
    testing::Values(BadCallCase{"NoFolder", ""}, BadCallCase{"TwoFolders", " a b"},
                    BadCallCase{"MissingFolder",
                                " \"" + (fs::path(testing::TempDir()) /
                                         "quilane_no_such_folder" / "inner")
                                            .string() +
                                    "\""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quilane
