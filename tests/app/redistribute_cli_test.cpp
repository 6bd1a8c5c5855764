// The command-line tool run as a separate process, as a person or a script
// would run it.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/airfoil_file_reader.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteWhole(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class RedistributeCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("quilane-cli-" + std::to_string(random()));
    fs::create_directories(dir_);
    // A five-point diamond, lower surface first, with an unquoted title.
    WriteWhole(dir_ / "diamond.arf",
               "Diamond\r\n 5 \r\n  1  1.00000  0.00000\r\n  2  0.50000  -0.05000\r\n"
               "  3  0.00000  0.00000\r\n  4  0.50000  0.05000\r\n  5  1.00000  0.00000\r\n");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the tool in the test folder; arguments are passed unquoted.
  ToolRun Run(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && '" QUILANE_REDISTRIBUTE "' " +
                                arguments + " > stdout.txt 2> stderr.txt";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadWhole(dir_ / "stdout.txt");
    run.err = ReadWhole(dir_ / "stderr.txt");
    return run;
  }

  fs::path dir_;
};

TEST_F(RedistributeCli, HelpAndVersionGoToStandardOutput) {
  const ToolRun help = Run("--help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Usage: quilane-redistribute"), std::string::npos);
  EXPECT_TRUE(help.err.empty());
  const ToolRun version = Run("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "quilane-redistribute " QUILANE_VERSION "\n");
}

TEST_F(RedistributeCli, CommandLineMistakesAreUsageErrors) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* message;
  };
  const Case cases[] = {
      {"no input", "", "no input file given"},
      {"unknown option", "--frobnicate diamond.arf", "unknown option --frobnicate"},
      {"unknown short option", "-x diamond.arf", "unknown option -x"},
      {"missing value", "diamond.arf --points", "option --points needs a value"},
      {"value on a flag", "--mapping=yes diamond.arf", "option --mapping takes no value"},
      {"empty output name", "diamond.arf --output=", "option --output needs a file name"},
      {"two inputs without a folder", "diamond.arf diamond.arf", "several input files need --output-dir"},
      {"output and folder", "diamond.arf -o x.arf -d .", "exclude each other"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
}

TEST_F(RedistributeCli, RefusedFilesAndRunsExitWithOne) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* message;
  };
  const Case cases[] = {
      {"missing file", "absent.arf", "absent.arf"},
      {"no number of points", "diamond.arf -n abc", "Number of new points \"abc\""},
      {"degree too high", "diamond.arf --lagrange 5", "nPoly must be lower then 5"},
      {"output is the input", "diamond.arf -o diamond.arf", "is the input file"},
  };
  const std::string original = ReadWhole(dir_ / "diamond.arf");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(ReadWhole(dir_ / "diamond.arf"), original);
  }
}

TEST_F(RedistributeCli, CamberFileMayNotReplaceTheInput) {
  fs::copy_file(dir_ / "diamond.arf", dir_ / "Camber_out.arf");
  const std::string original = ReadWhole(dir_ / "Camber_out.arf");
  const ToolRun run = Run("Camber_out.arf -o out.arf -n 5");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("is the input file"), std::string::npos) << run.err;
  EXPECT_EQ(ReadWhole(dir_ / "Camber_out.arf"), original);
  EXPECT_FALSE(fs::exists(dir_ / "out.arf"));
}

TEST_F(RedistributeCli, WritesBothFilesWithOptionsBeforeOrAfterTheInput) {
  const ToolRun before = Run("-n 7 --mapping --pwcubic -o first.arf diamond.arf");
  ASSERT_EQ(before.exit_code, 0) << before.err;
  const ToolRun after = Run("diamond.arf --points=7 --pwcubic --mapping --output second.arf");
  ASSERT_EQ(after.exit_code, 0) << after.err;
  EXPECT_EQ(ReadWhole(dir_ / "first.arf"), ReadWhole(dir_ / "second.arf"));
  EXPECT_EQ(ReadWhole(dir_ / "Camber_first.arf"), ReadWhole(dir_ / "Camber_second.arf"));

  const auto lines = SplitCrLfLines(ReadWhole(dir_ / "first.arf"));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "Diamond - redistributed");
  EXPECT_EQ(lines[1], " 7 ");
  EXPECT_EQ(lines[2], "  1  1.00000  0.00000");
  const auto camber = SplitCrLfLines(ReadWhole(dir_ / "Camber_first.arf"));
  ASSERT_EQ(camber.size(), 6u);
  EXPECT_EQ(camber[1], " 4 ");
}

TEST_F(RedistributeCli, StandardOutputCarriesTheCoordinateFile) {
  const ToolRun to_file = Run("diamond.arf -n 9 -o file.arf");
  ASSERT_EQ(to_file.exit_code, 0) << to_file.err;
  const ToolRun to_stdout = Run("-n9 diamond.arf");
  ASSERT_EQ(to_stdout.exit_code, 0) << to_stdout.err;
  EXPECT_EQ(to_stdout.out, ReadWhole(dir_ / "file.arf"));
  EXPECT_FALSE(fs::exists(dir_ / "Camber_.arf"));
}

TEST_F(RedistributeCli, DoubleDashEndsOptions) {
  fs::copy_file(dir_ / "diamond.arf", dir_ / "-odd.arf");
  const ToolRun run = Run("-n 5 -- -odd.arf");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Diamond - redistributed\r\n 5 \r\n", 0), 0u);
}

// Several inputs into one folder: each is done even when another is refused,
// each outcome has its own line, and the exit status tells that one failed.
TEST_F(RedistributeCli, BatchFinishesEveryFileAndReportsEach) {
  fs::create_directories(dir_ / "in");
  fs::create_directories(dir_ / "results");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "a.arf");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "c.arf");
  WriteWhole(dir_ / "in" / "b.arf", "Broken\n 3 \n 1 1 0\n");
  const ToolRun run = Run("-n 5 --output-dir results in/a.arf in/b.arf in/c.arf");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("in/a.arf: wrote results/a.arf and results/Camber_a.arf\n"),
            std::string::npos) << run.out;
  EXPECT_NE(run.out.find("in/c.arf: wrote results/c.arf"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("in/b.arf: refused"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(dir_ / "results" / "a.arf"));
  EXPECT_TRUE(fs::exists(dir_ / "results" / "Camber_c.arf"));
  EXPECT_FALSE(fs::exists(dir_ / "results" / "b.arf"));

  const ToolRun missing = Run("-d nowhere diamond.arf");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("\"nowhere\" does not exist"), std::string::npos) << missing.err;
  const ToolRun onto_inputs = Run("-n 5 -d in in/a.arf");
  EXPECT_EQ(onto_inputs.exit_code, 1);
  EXPECT_NE(onto_inputs.err.find("is the input file"), std::string::npos) << onto_inputs.err;
}

// The shipped sample through every route and method: 103 and 53 lines, and
// the result reads back as a coordinate file of 101 points.
TEST_F(RedistributeCli, SampleRedistributesOnEveryRouteAndMethod) {
  const fs::path sample = fs::path(QUILANE_SAMPLES_DIR) / "naca0012.arf";
  ASSERT_TRUE(fs::exists(sample)) << "no sample " << sample;
  fs::copy_file(sample, dir_ / "naca0012.arf");
  const char* methods[] = {"--lagrange 1", "--lagrange 3", "--pwcubic"};
  for (const char* route : {"", "--mapping"}) {
    for (const char* method : methods) {
      SCOPED_TRACE(std::string(route) + " " + method);
      const ToolRun run = Run(std::string("naca0012.arf -n 101 -o out.arf ") + route + " " + method);
      ASSERT_EQ(run.exit_code, 0) << run.err;
      const std::string text = ReadWhole(dir_ / "out.arf");
      EXPECT_EQ(SplitCrLfLines(text).size(), 103u);
      EXPECT_EQ(SplitCrLfLines(ReadWhole(dir_ / "Camber_out.arf")).size(), 53u);

      AirfoilWorkspace ws;
      ws.InputPath = (dir_ / "out.arf").string();
      const FileResult read = ReadAirfoilFile(ws);
      ASSERT_TRUE(read.ok) << read.message;
      EXPECT_EQ(ws.N, 101);
      EXPECT_EQ(ws.ILE, 51);
    }
  }
}

}  // namespace
}  // namespace quilane
