// quilane-naca [options] CODE...
//
// Writes NACA 4- and 5-digit sections as coordinate files the program reads:
// cosine spaced, in the program's point order (trailing edge, lower surface,
// nose, upper surface, trailing edge), chord 1 with the nose at (0, 0). The
// *.arf layout is the program's own result layout (title, count, one
// "  i  x  y" line per point, CR LF); the Selig layout is the one analysis
// tools read. Each file's outcome is reported on its own line; the exit
// status is 0 when every section was written, 1 when one was refused (after
// the others were done), 2 when the command line was wrong.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/command_line.h"
#include "base/capacity.h"
#include "base/expected.h"
#include "files/dat_file_writer.h"
#include "files/file_save.h"
#include "files/result_file_writer.h"
#include "sections/naca_section.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "quilane-naca";

constexpr std::string_view kUsage =
    "Usage: quilane-naca [options] CODE\n"
    "       quilane-naca [options] --output-dir DIR CODE...\n"
    "\n"
    "Writes the NACA 4- or 5-digit section CODE (such as 0012, 2412, 23012 or\n"
    "the reflexed 23112) as a coordinate file: cosine spaced, chord 1, point 1\n"
    "at the trailing edge, the lower surface to the nose and the upper surface\n"
    "back, as QuilaneConfMap reads it.\n"
    "\n"
    "Options:\n"
    "  -n, --points N        number of points, a whole number from 3 to 1000 (101)\n"
    "      --sharp           close the trailing edge (the default)\n"
    "      --blunt           keep the published finite trailing-edge thickness\n"
    "  -f, --format FORMAT   arf (the program's own layout, the default) or selig\n"
    "                        (name line and \"x y\" lines, upper surface first)\n"
    "  -o, --output FILE     write the section to FILE; without it the section goes\n"
    "                        to standard output\n"
    "  -d, --output-dir DIR  write each section into DIR as nacaCODE.arf (or .dat);\n"
    "                        several codes need this option; each outcome is\n"
    "                        reported on its own line\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "  --                    end of options\n"
    "\n"
    "Exit status: 0 when every section was written, 1 when a section or a file\n"
    "was refused (the others are still done), 2 when the command line was wrong.\n";

enum class Format { kArf, kSelig };

struct Options {
  int points = 101;
  quilane::TrailingEdge trailing_edge = quilane::TrailingEdge::kSharp;
  Format format = Format::kArf;
  std::string output;
  std::string output_dir;
  bool help = false;
  bool version = false;
  std::vector<std::string> codes;
};

void Print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

void PrintMessage(const std::string& text) { quilane::PrintToolMessage(stderr, kProgram, text); }

void PrintRefusal(const quilane::Refusal& refusal) {
  quilane::PrintToolMessage(stderr, kProgram, refusal.message);
}

int UsageError(const std::string& text) {
  return quilane::PrintUsageError(stderr, kProgram, quilane::UsageRefusal(text));
}

// A whole number from 3 to kPointCapacity in plain digits, or nothing.
std::optional<int> PointCount(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value < 3 || value > quilane::kPointCapacity) return std::nullopt;
  return value;
}

// Options before or after the codes, as OptionScanner reads them.
std::optional<quilane::Refusal> Parse(const std::vector<std::string>& args, Options& options) {
  using quilane::UsageRefusal;
  quilane::OptionScanner scanner(args);
  while (scanner.Next()) {
    if (scanner.IsOperand()) {
      options.codes.push_back(scanner.word());
      continue;
    }
    const std::string& name = scanner.name();
    const bool flag = name == "--sharp" || name == "--blunt" || name == "-h" ||
                      name == "--help" || name == "--version";
    const bool valued = name == "-n" || name == "--points" || name == "-f" ||
                        name == "--format" || name == "-o" || name == "--output" ||
                        name == "-d" || name == "--output-dir";
    if (!flag && !valued) return UsageRefusal("unknown option " + scanner.word());
    std::string value;
    if (auto refused = flag ? scanner.TakeNoValue() : scanner.TakeValue(value)) return refused;
    if (name == "-n" || name == "--points") {
      const auto count = PointCount(value);
      if (!count) {
        return UsageRefusal("the number of points \"" + value +
                            "\" is not a whole number from 3 to " +
                            std::to_string(quilane::kPointCapacity));
      }
      options.points = *count;
    } else if (name == "-f" || name == "--format") {
      if (value == "arf") {
        options.format = Format::kArf;
      } else if (value == "selig") {
        options.format = Format::kSelig;
      } else {
        return UsageRefusal("the format \"" + value + "\" is neither arf nor selig");
      }
    } else if (name == "-o" || name == "--output") {
      if (value.empty()) return UsageRefusal("option " + name + " needs a file name");
      options.output = value;
    } else if (name == "-d" || name == "--output-dir") {
      if (value.empty()) return UsageRefusal("option " + name + " needs a folder name");
      options.output_dir = value;
    } else if (name == "--sharp") {
      options.trailing_edge = quilane::TrailingEdge::kSharp;
    } else if (name == "--blunt") {
      options.trailing_edge = quilane::TrailingEdge::kBlunt;
    } else if (name == "-h" || name == "--help") {
      options.help = true;
    } else {
      options.version = true;
    }
  }
  return std::nullopt;
}

// The file text of a generated section in the chosen layout.
std::string SectionText(const quilane::AirfoilSection& section, Format format) {
  if (format == Format::kSelig) return quilane::SeligFileText(section.name, section.x, section.y);
  return quilane::ResultFileText(section.name,
                                 {static_cast<double>(section.x.size()), section.x, section.y});
}

// The file name of a section in a folder: "naca" and its digits.
std::string FileNameOf(const quilane::AirfoilSection& section, Format format) {
  std::string digits;
  for (const char c : section.name) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  return "naca" + digits + (format == Format::kSelig ? ".dat" : ".arf");
}

// Generates one section and writes it to `output` (standard output when
// empty). Returns the file written, or nothing after a message.
std::optional<std::string> WriteOne(const Options& options, const std::string& code,
                                    const std::string& output_dir, const std::string& output) {
  const quilane::Expected<quilane::AirfoilSection> section =
      quilane::NacaSection(code, options.points, options.trailing_edge);
  if (!section) {
    PrintRefusal(section.error());
    return std::nullopt;
  }
  const std::string text = SectionText(*section, options.format);
  std::string target = output;
  if (!output_dir.empty()) {
    target = (fs::path(output_dir) / FileNameOf(*section, options.format)).string();
  }
  if (target.empty()) {
    Print(stdout, text);
    return std::fflush(stdout) == 0 ? std::optional<std::string>("standard output")
                                    : std::nullopt;
  }
  const char* what = options.format == Format::kSelig ? "Selig file" : "coordinate file";
  if (const auto refused = quilane::WriteTextFile(target, text, what)) {
    PrintRefusal(*refused);
    return std::nullopt;
  }
  return target;
}

int Run(const std::vector<std::string>& args) {
  Options options;
  if (const auto refused = Parse(args, options)) {
    return quilane::PrintUsageError(stderr, kProgram, *refused);
  }
  if (options.help) {
    Print(stdout, std::string(kUsage));
    return quilane::kExitSuccess;
  }
  if (options.version) {
    Print(stdout, std::string(kProgram) + " " QUILANE_VERSION "\n");
    return quilane::kExitSuccess;
  }
  if (options.codes.empty()) return UsageError("no section code given");
  if (!options.output.empty() && !options.output_dir.empty()) {
    return UsageError("options --output and --output-dir exclude each other");
  }
  if (options.output_dir.empty()) {
    if (options.codes.size() > 1) return UsageError("several section codes need --output-dir");
    return WriteOne(options, options.codes.front(), "", options.output) ? quilane::kExitSuccess
                                                                         : quilane::kExitRefused;
  }
  std::error_code error;
  if (!fs::is_directory(options.output_dir, error)) {
    PrintMessage("The output folder \"" + options.output_dir +
                 "\" does not exist; create it or name another folder.");
    return quilane::kExitRefused;
  }
  int refused = 0;
  for (const std::string& code : options.codes) {
    if (const auto written = WriteOne(options, code, options.output_dir, "")) {
      Print(stdout, code + ": wrote " + *written + "\n");
    } else {
      ++refused;
      PrintMessage(code + ": refused");
    }
  }
  std::fflush(stdout);
  return refused == 0 ? quilane::kExitSuccess : quilane::kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
