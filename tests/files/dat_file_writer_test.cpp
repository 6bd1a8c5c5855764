#include "files/dat_file_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_sections.h"

namespace quilane {
namespace {

TEST(SeligFileTextTest, ListsTheUpperSurfaceFirstInSixDecimalColumns) {
  const Contour diamond = test::DiamondContour();
  EXPECT_EQ(SeligFileText("Diamond - redistributed", diamond.x, diamond.y),
            "Diamond - redistributed\n"
            " 1.000000  0.000000\n"
            " 0.500000  0.050000\n"
            " 0.000000  0.000000\n"
            " 0.500000 -0.050000\n"
            " 1.000000  0.000000\n");
  EXPECT_EQ(SeligFileText("Nothing", {}, {}), "Nothing\n");
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
    const std::vector<double> x = {c.value};
    const std::vector<double> y = {-c.value};
    const std::string text = SeligFileText("T", x, y);
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

}  // namespace
}  // namespace quilane
