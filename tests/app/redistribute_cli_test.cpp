// The command-line tool run as a separate process, as a person or a script
// would run it.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/coordinate_file.h"
#include "tool_run.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

using testing_tools::ReadWhole;
using testing_tools::ToolRun;

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

class RedistributeCli : public testing_tools::ToolTest {
 protected:
  RedistributeCli() : ToolTest(QUILANE_REDISTRIBUTE, "quilane-cli-") {}

  void SetUp() override {
    ToolTest::SetUp();
    // A five-point diamond, lower surface first, with an unquoted title.
    WriteWhole(dir_ / "diamond.arf",
               "Diamond\r\n 5 \r\n  1  1.00000  0.00000\r\n  2  0.50000  -0.05000\r\n"
               "  3  0.00000  0.00000\r\n  4  0.50000  0.05000\r\n  5  1.00000  0.00000\r\n");
  }
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
      {"two inputs without a folder", "diamond.arf diamond.arf",
       "several input files need --output-dir"},
      {"output and folder", "diamond.arf -o x.arf -d .", "exclude each other"},
      {"unknown format", "-f xfoil diamond.arf", "\"xfoil\" is neither arf nor selig"},
      {"no section code", "diamond.arf --naca", "option --naca needs a value"},
      {"a file and a section without a folder", "diamond.arf --naca 2412",
       "several input files need --output-dir"},
      {"value on --info", "--info=yes diamond.arf", "option --info takes no value"},
      {"value on --report", "--report=yes diamond.arf", "option --report takes no value"},
      {"info with an output", "--info -o out.arf diamond.arf", "writes no files"},
      {"info of a section", "--info --naca 2412", "not --naca"},
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

// A refusal of a run reaches the person as the refusal's message behind the
// program's name, on standard error, with exit status 1; nothing is written
// and the input is left as it was.
TEST_F(RedistributeCli, ARefusedRunIsOneMessageLineAndExitsWithOne) {
  const std::string original = ReadWhole(dir_ / "diamond.arf");
  const ToolRun run = Run("diamond.arf --lagrange 5 -o out.arf");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "quilane-redistribute: nPoly must be lower then 5\n");
  EXPECT_TRUE(run.out.empty());
  EXPECT_FALSE(fs::exists(dir_ / "out.arf"));
  EXPECT_EQ(ReadWhole(dir_ / "diamond.arf"), original);
}

// Along the chord, a section the route cannot take names the mapping as the
// way out, on a line of its own after the message: with the reason for an
// open trailing edge, without one for points out of order.
TEST_F(RedistributeCli, ARefusalAlongTheChordNamesTheMappingAsTheWayOut) {
  WriteWhole(dir_ / "open.arf", "Open\n5\n1 0.99998 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 1 0\n");
  WriteWhole(dir_ / "step.arf",
             "Step\n6\n1 1 0\n2 0.5 -0.05\n3 0 0\n4 0.5 0.05\n5 0.5 0.06\n6 1 0\n");
  struct Case {
    const char* input;
    const char* way_out;  // the last line of standard error
  };
  const Case cases[] = {
      {"open.arf",
       "quilane-redistribute: The contour's first and last points lie at x = 0.99998 and x = 1 "
       "of the chord (an open trailing edge), and the route along the chord needs both at "
       "x = 1; for this section use --mapping.\n"},
      {"step.arf", "quilane-redistribute: For this section use --mapping.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const ToolRun along = Run(std::string(c.input) + " -n 9");
    EXPECT_EQ(along.exit_code, 1);
    ASSERT_EQ(std::count(along.err.begin(), along.err.end(), '\n'), 2) << along.err;
    const std::string way_out = c.way_out;
    EXPECT_EQ(along.err.substr(along.err.find('\n') + 1), way_out);
    const ToolRun mapping = Run(std::string(c.input) + " -n 9 --mapping");
    EXPECT_EQ(mapping.exit_code, 0) << mapping.err;
  }
}

// The input reached under another name is still the input: through "./",
// a symbolic link either way, a hard link, or a folder that names it. Nothing
// is written, the new-point file neither when the camber file is refused.
TEST_F(RedistributeCli, AnOutputThatIsTheInputByAnyNameIsRefused) {
  fs::create_symlink("diamond.arf", dir_ / "link.arf");
  fs::create_hard_link(dir_ / "diamond.arf", dir_ / "hard.arf");
  fs::create_directories(dir_ / "sub");
  fs::create_symlink("../diamond.arf", dir_ / "sub" / "up.arf");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "Camber_x.arf");
  struct Case {
    const char* name;
    const char* arguments;
    const char* kept;  // the input, unchanged afterwards
  };
  const Case cases[] = {
      {"the same name", "diamond.arf -n 5 -o diamond.arf", "diamond.arf"},
      {"dot slash", "diamond.arf -n 5 -o ./diamond.arf", "diamond.arf"},
      {"dot slash on the input", "./diamond.arf -n 5 -o diamond.arf", "diamond.arf"},
      {"output a link to the input", "diamond.arf -n 5 -o link.arf", "diamond.arf"},
      {"input a link to the output", "link.arf -n 5 -o diamond.arf", "diamond.arf"},
      {"link in another folder", "diamond.arf -n 5 -o sub/up.arf", "diamond.arf"},
      {"parent folder", "sub/../diamond.arf -n 5 -o diamond.arf", "diamond.arf"},
      {"hard link", "diamond.arf -n 5 -o hard.arf", "diamond.arf"},
      {"camber output is the input", "Camber_x.arf -n 5 -o x.arf", "Camber_x.arf"},
      {"camber output through dot slash", "Camber_x.arf -n 5 -o ./x.arf", "Camber_x.arf"},
      {"folder of the input", "-n 5 -d . diamond.arf", "diamond.arf"},
      {"folder of the input through dot slash", "-n 5 -d ./ ./diamond.arf", "diamond.arf"},
      {"camber output is the input, in a folder", "-n 5 -d sub/.. Camber_x.arf", "Camber_x.arf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string original = ReadWhole(dir_ / c.kept);
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("is the input file"), std::string::npos) << run.err;
    EXPECT_EQ(ReadWhole(dir_ / c.kept), original);
    EXPECT_FALSE(fs::exists(dir_ / "x.arf"));
  }
}

// Outputs that exist but are other files are simply replaced.
TEST_F(RedistributeCli, AnExistingOutputThatIsAnotherFileIsReplaced) {
  fs::copy_file(dir_ / "diamond.arf", dir_ / "copy.arf");
  fs::create_directories(dir_ / "sub");
  struct Case {
    const char* name;
    const char* arguments;
    const char* written;
  };
  const Case cases[] = {
      {"a copy of the input", "diamond.arf -n 5 -o copy.arf", "copy.arf"},
      {"an earlier result", "diamond.arf -n 5 -o out.arf", "out.arf"},
      {"the input's name in another folder", "diamond.arf -n 5 -o sub/diamond.arf",
       "sub/diamond.arf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteWhole(dir_ / c.written, "old\n");
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(ReadWhole(dir_ / c.written).rfind("Diamond - redistributed", 0), 0u);
  }
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
      const ToolRun run =
          Run(std::string("naca0012.arf -n 101 -o out.arf ") + route + " " + method);
      ASSERT_EQ(run.exit_code, 0) << run.err;
      const std::string text = ReadWhole(dir_ / "out.arf");
      EXPECT_EQ(SplitCrLfLines(text).size(), 103u);
      EXPECT_EQ(SplitCrLfLines(ReadWhole(dir_ / "Camber_out.arf")).size(), 53u);

      const Expected<LoadedFile> read = LoadArfFile((dir_ / "out.arf").string());
      ASSERT_TRUE(read) << read.error().message;
      EXPECT_EQ(read->summary.points, 101);
      EXPECT_EQ(read->summary.nose_index, 51);
    }
  }
}

// The diamond of the fixture in the two .dat layouts, upper surface first.
const char* const kSeligDiamond = "Diamond\n1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n";
const char* const kLednicerDiamond =
    "Diamond\n3.       3.\n\n0 0\n0.5 0.05\n1 0\n\n0 0\n0.5 -0.05\n1 0\n";

// A .dat input is told by its content, whatever its name, and gives exactly
// the results of the same section in a *.arf file.
TEST_F(RedistributeCli, DatInputsGiveTheResultsOfTheSameArfFile) {
  WriteWhole(dir_ / "selig.txt", kSeligDiamond);
  WriteWhole(dir_ / "lednicer.arf", kLednicerDiamond);
  const ToolRun arf = Run("diamond.arf -n 9 --pwcubic -o from_arf.arf");
  ASSERT_EQ(arf.exit_code, 0) << arf.err;
  for (const char* input : {"selig.txt", "lednicer.arf"}) {
    SCOPED_TRACE(input);
    const ToolRun run = Run(std::string(input) + " -n 9 --pwcubic -o from_dat.arf");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(ReadWhole(dir_ / "from_dat.arf"), ReadWhole(dir_ / "from_arf.arf"));
    EXPECT_EQ(ReadWhole(dir_ / "Camber_from_dat.arf"), ReadWhole(dir_ / "Camber_from_arf.arf"));
  }
}

// --format selig writes the new points as a Selig file and the camber line
// as ever, in a *.arf file beside it.
TEST_F(RedistributeCli, SeligFormatWritesTheNewPointsUpperSurfaceFirst) {
  const ToolRun arf = Run("diamond.arf -n 7 --mapping -o ref.arf");
  ASSERT_EQ(arf.exit_code, 0) << arf.err;
  const ToolRun selig = Run("diamond.arf -n 7 --mapping --format selig -o out.dat");
  ASSERT_EQ(selig.exit_code, 0) << selig.err;
  EXPECT_FALSE(fs::exists(dir_ / "Camber_out.dat"));
  ASSERT_TRUE(fs::exists(dir_ / "Camber_out.arf"));
  EXPECT_EQ(ReadWhole(dir_ / "Camber_out.arf"), ReadWhole(dir_ / "Camber_ref.arf"));
  const std::string text = ReadWhole(dir_ / "out.dat");
  EXPECT_EQ(text.rfind("Diamond - redistributed\n 1.000000  0.000000\n", 0), 0u) << text;

  const Expected<LoadedFile> from_arf = LoadArfFile((dir_ / "ref.arf").string());
  ASSERT_TRUE(from_arf) << from_arf.error().message;
  const Expected<LoadedFile> from_selig = LoadCoordinateFile((dir_ / "out.dat").string());
  ASSERT_TRUE(from_selig) << from_selig.error().message;
  EXPECT_EQ(from_selig->summary.format, "Selig");
  const std::vector<double>& arf_y = from_arf->section.contour.y;
  const std::vector<double>& selig_y = from_selig->section.contour.y;
  ASSERT_EQ(arf_y.size(), 7u);
  ASSERT_EQ(selig_y.size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_NEAR(selig_y[i], arf_y[i], 5.1e-6) << i;  // five against six decimals
  }

  const ToolRun to_stdout = Run("-f selig -n7 --mapping diamond.arf");
  ASSERT_EQ(to_stdout.exit_code, 0) << to_stdout.err;
  EXPECT_EQ(to_stdout.out, text);
}

// With --output-dir each result is named after its input: a *.arf input
// keeps its name for *.arf results, others take ".arf" or ".dat" for the
// format, a NACA section "naca" and its digits; the camber file is *.arf.
TEST_F(RedistributeCli, BatchNamesEachResultAfterItsInput) {
  fs::create_directories(dir_ / "in");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "a.arf");
  WriteWhole(dir_ / "in" / "w.dat", kSeligDiamond);
  WriteWhole(dir_ / "in" / "l.txt", kLednicerDiamond);
  struct Case {
    const char* format;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"arf",
       {"in/a.arf: wrote arf/a.arf and arf/Camber_a.arf\n",
        "in/w.dat: wrote arf/w.arf and arf/Camber_w.arf\n",
        "in/l.txt: wrote arf/l.arf and arf/Camber_l.arf\n",
        "--naca 0012: wrote arf/naca0012.arf and arf/Camber_naca0012.arf\n"}},
      {"selig",
       {"in/a.arf: wrote selig/a.dat and selig/Camber_a.arf\n",
        "in/w.dat: wrote selig/w.dat and selig/Camber_w.arf\n",
        "in/l.txt: wrote selig/l.dat and selig/Camber_l.arf\n",
        "--naca 0012: wrote selig/naca0012.dat and selig/Camber_naca0012.arf\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    fs::create_directories(dir_ / c.format);
    const ToolRun run = Run(std::string("-n 9 -d ") + c.format + " --format " + c.format +
                            " in/a.arf in/w.dat --naca 0012 in/l.txt");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    for (const std::string& line : c.lines) {
      EXPECT_NE(run.out.find(line), std::string::npos) << line << " in " << run.out;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / c.format), fs::directory_iterator()),
              8);
  }
  // The NACA section's result reads back with its name.
  const Expected<LoadedFile> naca = LoadCoordinateFile((dir_ / "selig" / "naca0012.dat").string());
  ASSERT_TRUE(naca) << naca.error().message;
  EXPECT_EQ(naca->section.title, "NACA 0012 - redistributed");
  EXPECT_EQ(naca->summary.points, 9);
}

// Two inputs of the same name would write the same result: the second is
// refused rather than replacing the first's.
TEST_F(RedistributeCli, BatchKeepsTheResultOfAnEarlierInputOfTheSameName) {
  fs::create_directories(dir_ / "one");
  fs::create_directories(dir_ / "two");
  fs::create_directories(dir_ / "out");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "one" / "d.arf");
  WriteWhole(dir_ / "two" / "d.dat", "Other\n1 0\n0 0.2\n1 0\n");
  const ToolRun run = Run("-n 5 -d out one/d.arf two/d.dat");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("one/d.arf: wrote out/d.arf"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("already holds the result of an earlier input"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("two/d.dat: refused"), std::string::npos) << run.err;
  EXPECT_EQ(ReadWhole(dir_ / "out" / "d.arf").rfind("Diamond - redistributed", 0), 0u);
}

// A result of this run reached under another name is not replaced either:
// a symbolic link in the output folder to an earlier result, or the output
// folder named another way.
TEST_F(RedistributeCli, BatchKeepsAnEarlierResultReachedByAnotherName) {
  fs::create_directories(dir_ / "in");
  fs::create_directories(dir_ / "out");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "a.arf");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "b.arf");
  WriteWhole(dir_ / "in" / "c.arf", "Other\n 3\n 1 1 0\n 2 0 0.1\n 3 1 0\n");
  fs::create_symlink("a.arf", dir_ / "out" / "c.arf");  // dangling until a.arf is written
  fs::create_symlink("Camber_a.arf", dir_ / "out" / "Camber_b.arf");

  const ToolRun run = Run("-n 5 -d out in/a.arf in/b.arf in/c.arf");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("in/a.arf: wrote out/a.arf and out/Camber_a.arf"), std::string::npos)
      << run.out;
  EXPECT_NE(run.err.find("The output \"out/Camber_b.arf\" already holds the result of an "
                         "earlier input"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("The output \"out/c.arf\" already holds the result of an earlier input"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("in/b.arf: refused"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("in/c.arf: refused"), std::string::npos) << run.err;
  EXPECT_EQ(ReadWhole(dir_ / "out" / "a.arf").rfind("Diamond - redistributed", 0), 0u);
}

// A second run into a folder that holds the first run's results replaces
// them all: results of an earlier run are not results of this one, also when
// their names differ only in letter case.
TEST_F(RedistributeCli, ASecondBatchIntoTheSameFolderReplacesTheFirstsResults) {
  fs::create_directories(dir_ / "in");
  fs::create_directories(dir_ / "out");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "A.arf");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "a.arf");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "b.arf");
  const std::string command = "-n 5 -d out in/A.arf in/a.arf in/b.arf";
  const ToolRun first = Run(command);
  ASSERT_EQ(first.exit_code, 0) << first.err;
  const ToolRun second = Run("-n 7 -d ./out/ in/A.arf in/a.arf in/b.arf");
  EXPECT_EQ(second.exit_code, 0) << second.err;
  EXPECT_TRUE(second.err.empty()) << second.err;
  for (const char* name : {"A.arf", "a.arf", "b.arf", "Camber_b.arf"}) {
    SCOPED_TRACE(name);
    const auto lines = SplitCrLfLines(ReadWhole(dir_ / "out" / name));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], std::string(name).rfind("Camber_", 0) == 0 ? " 4 " : " 7 ");
  }
}

// A NACA section is generated in place of a file; a code the generator
// refuses is a refused input.
TEST_F(RedistributeCli, NacaSectionsAreInputs) {
  const ToolRun unknown = Run("--naca 21112");
  EXPECT_EQ(unknown.exit_code, 1);
  EXPECT_TRUE(unknown.out.empty());
  const ToolRun generated = Run("--naca 'NACA 23012' -n 5");
  EXPECT_EQ(generated.exit_code, 0) << generated.err;
  EXPECT_EQ(generated.out.rfind("NACA 23012 - redistributed\r\n 5 \r\n", 0), 0u);
}

// The published files in place, as a batch: each is done, except the NACA
// 23012 along the chord (its open trailing edge), which is reported.
TEST_F(RedistributeCli, PublishedFilesAsABatch) {
  const fs::path shared = QUILANE_SHARED_AIRFOILS_DIR;
  if (!fs::is_directory(shared)) GTEST_SKIP() << "no published sections";
  fs::create_directories(dir_ / "out");
  const std::string selig = "'" + (shared / "selig").string() + "'/*.dat";
  const ToolRun mapping = Run("-n 81 --mapping --pwcubic -f selig -d out " + selig);
  EXPECT_EQ(mapping.exit_code, 0) << mapping.err;
  EXPECT_EQ(std::count(mapping.out.begin(), mapping.out.end(), '\n'), 8) << mapping.out;

  fs::create_directories(dir_ / "along");
  const ToolRun along = Run("-n 81 -d along " + selig);
  EXPECT_EQ(along.exit_code, 1);
  EXPECT_EQ(std::count(along.out.begin(), along.out.end(), '\n'), 7) << along.out;
  EXPECT_NE(along.err.find("naca23012.dat: refused"), std::string::npos) << along.err;
  EXPECT_TRUE(fs::exists(dir_ / "along" / "e387.arf"));
}

// --info reads each file as a run would and says what it saw: one line per
// file that reads on standard output, refusals on standard error, exit 1
// when any was refused; nothing is written.
TEST_F(RedistributeCli, InfoDescribesEveryFileThatReads) {
  WriteWhole(dir_ / "noted.dat",
             "Noted\n1 0\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n\nfrom a report\nhttps://example.org\n");
  WriteWhole(dir_ / "broken.dat", "Broken\n1 0\n0.5 0.05\nupper\n0 0\n0.5 -0.05\n1 0\n");
  const ToolRun all = Run("--info diamond.arf noted.dat broken.dat");
  EXPECT_EQ(all.exit_code, 1);
  EXPECT_EQ(all.out,
            "diamond.arf: arf, 5 points, nose at point 3, trailing edge gap 0.00000\n"
            "noted.dat: Selig, 5 points, nose at point 3, trailing edge gap 0.00000, "
            "2 lines of notes ignored\n");
  EXPECT_EQ(all.err.rfind("quilane-redistribute: ", 0), 0u) << all.err;
  EXPECT_NE(all.err.find("\"broken.dat\""), std::string::npos) << all.err;
  EXPECT_FALSE(fs::exists(dir_ / "Camber_diamond.arf"));

  const ToolRun good = Run("noted.dat --info");
  EXPECT_EQ(good.exit_code, 0) << good.err;
  EXPECT_TRUE(good.err.empty());
}

// The published files as they stand: every one reads, and each line starts
// with the path given.
TEST_F(RedistributeCli, InfoOnThePublishedFiles) {
  const fs::path shared = QUILANE_SHARED_AIRFOILS_DIR;
  if (!fs::is_directory(shared)) GTEST_SKIP() << "no published sections";
  const ToolRun run = Run("--info '" + (shared / "lednicer").string() + "'/*.dat");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  for (const auto& entry : fs::directory_iterator(shared / "lednicer")) {
    EXPECT_NE(run.out.find(entry.path().string() + ": Lednicer, "), std::string::npos)
        << run.out;
  }
}

}  // namespace
}  // namespace quilane

namespace quilane {
namespace {

// The number after "max deviation " in a report line, or -1.
double ReportedDeviation(const std::string& err, const std::string& label) {
  const std::string lead = label + ": max deviation ";
  const auto at = err.find(lead);
  if (at == std::string::npos) return -1;
  return std::stod(err.substr(at + lead.size()));
}

// --report adds one line per input on standard error; the written files are
// those of a run without it.
TEST_F(RedistributeCli, ReportLinesGoToStandardErrorBesideTheResults) {
  const std::string sample = std::string(QUILANE_SAMPLES_DIR) + "/naca4412.arf";
  for (const char* route : {"", "--mapping --pwcubic "}) {
    SCOPED_TRACE(route);
    const ToolRun plain = Run(std::string(route) + "-n 101 '" + sample + "' -o plain.arf");
    const ToolRun reported =
        Run(std::string(route) + "--report -n 101 '" + sample + "' -o reported.arf");
    ASSERT_EQ(plain.exit_code, 0) << plain.err;
    ASSERT_EQ(reported.exit_code, 0) << reported.err;
    EXPECT_EQ(plain.err, "");
    const double deviation = ReportedDeviation(reported.err, sample);
    EXPECT_GT(deviation, 0.0) << reported.err;
    EXPECT_LT(deviation, 0.001) << reported.err;
    EXPECT_NE(reported.err.find(" chord at new point "), std::string::npos);
    EXPECT_NE(reported.err.find("; largest panel angle "), std::string::npos);
    EXPECT_EQ(reported.err.find("warning"), std::string::npos) << reported.err;
    EXPECT_EQ(ReadWhole(dir_ / "plain.arf"), ReadWhole(dir_ / "reported.arf"));
  }
}

// Points that lie more than half a per cent of the chord off carry a
// warning; --max-deviation turns a larger distance into a refusal of that
// input, and nothing of it is written.
TEST_F(RedistributeCli, DeviationsBeyondTheLimitAreWarnedOfOrRefused) {
  const ToolRun warned = Run("--report --mapping -n 9 diamond.arf -o out.arf");
  EXPECT_EQ(warned.exit_code, 0);
  EXPECT_GT(ReportedDeviation(warned.err, "diamond.arf"), 0.005) << warned.err;
  EXPECT_NE(warned.err.find("diamond.arf: warning: new points lie up to "), std::string::npos)
      << warned.err;

  struct Case {
    const char* name;
    const char* arguments;
    int exit_code;
  };
  const Case cases[] = {
      {"within the limit", "--max-deviation 0.05 --mapping -n 9 diamond.arf -o limited.arf", 0},
      {"beyond the limit", "--max-deviation 0.001 --mapping -n 9 diamond.arf -o limited.arf", 1},
      {"a limit of nothing", "--max-deviation=0 -n 9 diamond.arf -o limited.arf", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dir_ / "limited.arf");
    fs::remove(dir_ / "Camber_limited.arf");
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
    EXPECT_EQ(fs::exists(dir_ / "limited.arf"), c.exit_code == 0);
    EXPECT_EQ(fs::exists(dir_ / "Camber_limited.arf"), c.exit_code == 0);
    if (c.exit_code != 0) {
      EXPECT_NE(run.err.find("more than --max-deviation"), std::string::npos) << run.err;
    }
  }

  // In a batch the refused input is reported and the others are written.
  fs::create_directories(dir_ / "in");
  fs::create_directories(dir_ / "results");
  fs::copy_file(dir_ / "diamond.arf", dir_ / "in" / "diamond.arf");
  fs::copy_file(std::string(QUILANE_SAMPLES_DIR) + "/naca0012.arf", dir_ / "in" / "naca0012.arf");
  const ToolRun batch =
      Run("--max-deviation 0.005 --mapping -n 9 -d results in/diamond.arf in/naca0012.arf");
  EXPECT_EQ(batch.exit_code, 1);
  EXPECT_NE(batch.err.find("in/diamond.arf: refused"), std::string::npos) << batch.err;
  EXPECT_FALSE(fs::exists(dir_ / "results" / "diamond.arf"));
  EXPECT_TRUE(fs::exists(dir_ / "results" / "naca0012.arf"));
}

TEST_F(RedistributeCli, MaxDeviationNeedsADistance) {
  for (const char* value : {"abc", "-0.01", "0.01x", "inf", "nan", "''"}) {
    SCOPED_TRACE(value);
    const ToolRun run = Run(std::string("--max-deviation ") + value + " diamond.arf");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("needs a distance of 0 or more"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace quilane
