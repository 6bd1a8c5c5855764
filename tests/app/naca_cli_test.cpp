// quilane-naca run as a separate process, as a person or a script would.
#include <cstddef>
#include <filesystem>
#include <string>

#include "files/coordinate_file.h"
#include "gtest/gtest.h"
#include "sections/naca_section.h"
#include "tool_run.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

using testing_tools::ToolRun;

class NacaCli : public testing_tools::ToolTest {
 protected:
  NacaCli() : ToolTest(QUILANE_NACA, "quilane-naca-") {}
};

// The written file is the generator's section, read back by the program's
// own readers in either layout.
TEST_F(NacaCli, WritesTheSectionInEitherLayout) {
  const ToolRun arf = Run("23012 -n 61 -o naca23012.arf");
  ASSERT_EQ(arf.exit_code, 0) << arf.err;
  const ToolRun selig = Run("--format selig --points=61 -o naca23012.dat 'NACA 23012'");
  ASSERT_EQ(selig.exit_code, 0) << selig.err;

  const Expected<AirfoilSection> section = Naca5Section("23012", 61, TrailingEdge::kSharp);
  ASSERT_TRUE(section);
  const Expected<LoadedFile> from_arf = LoadCoordinateFile((dir_ / "naca23012.arf").string());
  ASSERT_TRUE(from_arf) << from_arf.error().message;
  const Expected<LoadedFile> from_selig = LoadCoordinateFile((dir_ / "naca23012.dat").string());
  ASSERT_TRUE(from_selig) << from_selig.error().message;
  EXPECT_EQ(from_arf->summary.format, "arf");
  EXPECT_EQ(from_selig->summary.format, "Selig");
  const Section& as_arf = from_arf->section;
  const Section& as_selig = from_selig->section;
  EXPECT_EQ(as_arf.title, "NACA 23012");
  EXPECT_EQ(as_selig.title, "NACA 23012");
  ASSERT_EQ(as_arf.contour.y.size(), 61u);
  ASSERT_EQ(as_selig.contour.y.size(), 61u);
  for (std::size_t i = 0; i < 61; ++i) {
    EXPECT_NEAR(as_arf.contour.y[i], section->y[i], 5e-6) << i;
    EXPECT_NEAR(as_selig.contour.y[i], section->y[i], 5e-7) << i;
    EXPECT_NEAR(as_selig.contour.x[i] * as_selig.chord + as_selig.x_min, section->x[i], 5e-7)
        << i;
  }
}

TEST_F(NacaCli, StandardOutputCarriesTheFileAndTheEdgeIsChosen) {
  const ToolRun sharp = Run("2412 -n 5");
  ASSERT_EQ(sharp.exit_code, 0) << sharp.err;
  EXPECT_EQ(sharp.out.rfind("NACA 2412\r\n 5 \r\n  1  1.00000  0.00000\r\n", 0), 0u) << sharp.out;
  const ToolRun blunt = Run("--blunt -n5 -f selig 0015");
  ASSERT_EQ(blunt.exit_code, 0) << blunt.err;
  EXPECT_EQ(blunt.out.rfind("NACA 0015 blunt trailing edge\n 1.000000  0.001575\n", 0), 0u)
      << blunt.out;
  const ToolRun ordinary = Run("0012");
  ASSERT_EQ(ordinary.exit_code, 0) << ordinary.err;
  EXPECT_NE(ordinary.out.find("\r\n 101 \r\n"), std::string::npos);
}

// Several sections into one folder: each is done even when another is
// refused, each outcome on its own line (a refusal as the generator words it,
// then the code refused), and the exit status says one failed.
TEST_F(NacaCli, BatchFinishesEverySectionAndReportsEach) {
  fs::create_directories(dir_ / "out");
  const ToolRun run = Run("-d out -n 31 0012 21112 23112 -f selig");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("0012: wrote out/naca0012.dat\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("23112: wrote out/naca23112.dat\n"), std::string::npos) << run.out;
  const Expected<AirfoilSection> refused = NacaSection("21112", 31, TrailingEdge::kSharp);
  ASSERT_FALSE(refused);
  EXPECT_EQ(run.err,
            "quilane-naca: " + refused.error().message + "\nquilane-naca: 21112: refused\n");
  EXPECT_TRUE(fs::exists(dir_ / "out" / "naca0012.dat"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "naca21112.dat"));

  const ToolRun all = Run("--output-dir=out 2412 23012");
  EXPECT_EQ(all.exit_code, 0) << all.err;
  EXPECT_TRUE(fs::exists(dir_ / "out" / "naca23012.arf"));
  const ToolRun missing = Run("-d nowhere 2412");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("\"nowhere\" does not exist"), std::string::npos);
}

TEST_F(NacaCli, CommandLineMistakesAreUsageErrors) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* message;
  };
  const Case cases[] = {
      {"no code", "", "no section code given"},
      {"unknown option", "--frobnicate 2412", "unknown option --frobnicate"},
      {"too few points", "-n 2 2412", "\"2\" is not a whole number from 3 to 1000"},
      {"too many points", "-n 1001 2412", "\"1001\""},
      {"points not a number", "--points=many 2412", "\"many\""},
      {"missing value", "2412 -o", "option -o needs a value"},
      {"value on a flag", "--blunt=yes 2412", "option --blunt takes no value"},
      {"unknown format", "-f xfoil 2412", "\"xfoil\" is neither arf nor selig"},
      {"two codes without a folder", "2412 0012", "several section codes need --output-dir"},
      {"output and folder", "2412 -o a.arf -d .", "exclude each other"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
  const ToolRun help = Run("--help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Usage: quilane-naca"), std::string::npos);
}

}  // namespace
}  // namespace quilane
