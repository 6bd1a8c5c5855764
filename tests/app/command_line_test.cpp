#include "app/command_line.h"

#include <cstdio>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace quilane {
namespace {

// Scans `args` as a tool with the valued options -n/--points and -o and the
// flag --mapping would, and writes what it saw: "op(x)" for an operand,
// "name=value" for a valued option, "name" for a flag; "error: ..." ends it.
// A refusal of the scanner is a usage refusal; any other code shows.
std::string Said(const Refusal& refusal) {
  return (refusal.code == RefusalCode::kUsage ? "" : "(not kUsage) ") + refusal.message;
}

std::string Trace(const std::vector<std::string>& args) {
  OptionScanner scanner(args);
  std::string trace;
  while (scanner.Next()) {
    if (!trace.empty()) trace += " ";
    if (scanner.IsOperand()) {
      trace += "op(" + scanner.word() + ")";
      continue;
    }
    const std::string& name = scanner.name();
    if (name == "-n" || name == "--points" || name == "-o") {
      std::string value;
      if (const auto refused = scanner.TakeValue(value)) return trace + "error: " + Said(*refused);
      trace += name + "=" + value;
    } else if (name == "--mapping") {
      if (const auto refused = scanner.TakeNoValue()) return trace + "error: " + Said(*refused);
      trace += name;
    } else {
      return trace + "error: unknown " + scanner.word();
    }
  }
  return trace;
}

struct ScanCase {
  const char* name;
  std::vector<std::string> args;
  const char* trace;
};

class OptionScannerTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(OptionScannerTest, SeesOptionsOperandsAndValues) {
  EXPECT_EQ(Trace(GetParam().args), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, OptionScannerTest,
    ::testing::Values(
        ScanCase{"Nothing", {}, ""},
        ScanCase{"OperandsOnly", {"a.arf", "b.dat"}, "op(a.arf) op(b.dat)"},
        ScanCase{"ValueAsNextArgument", {"-n", "101", "a.arf"}, "-n=101 op(a.arf)"},
        ScanCase{"ValueAttachedToShortName", {"-n101"}, "-n=101"},
        ScanCase{"ValueAttachedAfterEquals", {"--points=101"}, "--points=101"},
        ScanCase{"EmptyValueAfterEquals", {"--points="}, "--points="},
        ScanCase{"OnlyTheFirstEqualsSplits", {"-o", "x", "--points=a=b"}, "-o=x --points=a=b"},
        ScanCase{"OptionsAfterOperands", {"a.arf", "--mapping", "-o", "out"},
                 "op(a.arf) --mapping -o=out"},
        ScanCase{"DashAloneIsAnOperand", {"-"}, "op(-)"},
        ScanCase{"DoubleDashEndsOptions", {"--", "--mapping", "-n5"}, "op(--mapping) op(-n5)"},
        ScanCase{"SecondDoubleDashIsAnOperand", {"--", "--"}, "op(--)"},
        ScanCase{"ValueMayLookLikeAnOption", {"-o", "--mapping", "--mapping"},
                 "-o=--mapping --mapping"},
        ScanCase{"ValueMayBeADoubleDash", {"-o", "--", "--mapping"}, "-o=-- --mapping"}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Refused, OptionScannerTest,
    ::testing::Values(
        ScanCase{"ValueMissingAtTheEnd", {"a.arf", "-n"},
                 "op(a.arf) error: option -n needs a value"},
        ScanCase{"FlagWithAttachedValue", {"--mapping=yes"},
                 "error: option --mapping takes no value"},
        ScanCase{"ShortFlagGluedToLetters", {"-nx", "--mappingx"},
                 "-n=x error: unknown --mappingx"},
        ScanCase{"UnknownAfterDoubleDashIsNone", {"--", "-x"}, "op(-x)"}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

// The messages go to the stream given, in the tools' one form: every line of
// a message behind the program's name; a usage error adds the hint to read
// --help, a refusal its way out on a line of its own.
TEST(ToolMessageTest, EveryLineNamesTheProgram) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  PrintToolMessage(stream, "quilane-x", "a file was refused\nin/a.arf: refused");
  EXPECT_EQ(PrintUsageError(stream, "quilane-x", UsageRefusal("no input file given")), kExitUsage);
  Refusal open_edge(RefusalCode::kStationOutOfRange, "xI(1) = 1 is not in the range");
  open_edge.way_out = WayOut::kConformalMapping;
  open_edge.way_out_reason = "The edge is open";
  PrintRefusal(stream, "quilane-x", open_edge, "use --mapping");
  std::rewind(stream);
  std::string text;
  for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) {
    text.push_back(static_cast<char>(c));
  }
  std::fclose(stream);
  EXPECT_EQ(text,
            "quilane-x: a file was refused\nquilane-x: in/a.arf: refused\n"
            "quilane-x: no input file given\nTry 'quilane-x --help'.\n"
            "quilane-x: xI(1) = 1 is not in the range\n"
            "quilane-x: The edge is open; for this section use --mapping.\n");
}

}  // namespace
}  // namespace quilane
