#include "app/redistribute_cli.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/batch_output.h"
#include "app/command_line.h"
#include "app/naca_input.h"
#include "base/expected.h"
#include "base/float_chars.h"
#include "engine/quality_report.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/file_save.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"
#include "sections/naca_section.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "quilane-redistribute";

// How this tool turns conformal mapping on, for the way out of a refusal.
constexpr std::string_view kMappingAction = "use --mapping";
// And how it places new points on the curve through the input, for a warning.
constexpr std::string_view kOnSplineAction = "use --on-spline";

constexpr std::string_view kUsage =
    "Usage: quilane-redistribute [options] INPUT\n"
    "       quilane-redistribute [options] --output-dir DIR INPUT...\n"
    "       quilane-redistribute --info INPUT...\n"
    "\n"
    "Re-spaces the points of the airfoil contour in INPUT exactly as the\n"
    "QuilaneConfMap window does, and writes the new points and the camber line.\n"
    "INPUT is a coordinate file (*.arf) or a Selig, Lednicer or ISES .dat file; the\n"
    "kind is told from the content, not the name.\n"
    "\n"
    "Options:\n"
    "  -n, --points NI       number of new points, a whole number from 2 to 1000 (51)\n"
    "      --mapping         lay out the new points by conformal mapping\n"
    "      --lagrange NPOLY  Lagrange interpolation of degree NPOLY (the default, 1)\n"
    "      --pwcubic         piecewise cubic spline interpolation\n"
    "      --on-spline       place the new points on a smooth curve through the\n"
    "                        input points, where the method and the route put them\n"
    "  -o, --output FILE     write the new points to FILE and the camber line to\n"
    "                        Camber_FILE beside it; without it the new points go to\n"
    "                        standard output\n"
    "  -d, --output-dir DIR  write the results of each INPUT into DIR, named after\n"
    "                        the input (several inputs need this option); each\n"
    "                        file's outcome is reported on its own line\n"
    "  -f, --format FORMAT   layout of the new points: arf (the default, the\n"
    "                        program's own) or selig (a .dat file with a name line\n"
    "                        and \"x y\" lines, upper surface first, as analysis\n"
    "                        tools read it); the camber file is always *.arf\n"
    "      --info            only read each INPUT and print one line per file:\n"
    "                        its path, the format, the points, the nose, the\n"
    "                        trailing-edge gap and the lines passed over\n"
    "      --naca CODE       take the NACA 4- or 5-digit section CODE (such as\n"
    "                        2412 or 23012, 201 points, sharp trailing edge) as an\n"
    "                        input; may be given several times\n"
    "      --report          write one line per input to standard error: how far\n"
    "                        the new points lie off the input contour (largest and\n"
    "                        mean, in chord units) and their panels, with a warning\n"
    "                        when they lie more than 0.5 % of the chord off\n"
    "      --max-deviation TOL  refuse an input whose new points lie more than TOL\n"
    "                        (chord units, such as 0.005) off its contour: exit 1,\n"
    "                        nothing written for it\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "  --                    end of options\n"
    "\n"
    "Exit status: 0 on success, 1 when a file or its calculation was refused\n"
    "(the other files are still done), 2 when the command line was wrong.\n";

// One input: a file named on the command line, or a NACA section to generate.
struct CliInput {
  std::string path;
  std::string naca;  // the code given to --naca; empty for a file
};

struct CliOptions {
  TypedSettings settings;
  bool report = false;
  std::optional<double> max_deviation;
  std::string output;
  std::string output_dir;
  ResultFormat format = ResultFormat::kArf;
  bool help = false;
  bool version = false;
  bool info = false;
  std::vector<CliInput> inputs;
};

// A distance typed for --max-deviation: the whole text one finite number of 0
// or more, read with the point as decimal separator whatever the locale.
std::optional<double> ParseTolerance(const std::string& text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = FromChars(text.data(), end, value);
  if (error != std::errc() || ptr != end || !std::isfinite(value) || value < 0.0) {
    return std::nullopt;
  }
  return value;
}

// Takes options before or after the inputs; "--" ends the options; option
// values may follow as the next argument or attached ("-n101", "--points=101").
Expected<CliOptions> ParseArguments(const std::vector<std::string>& args) {
  CliOptions options;
  OptionScanner scanner(args);
  while (scanner.Next()) {
    const std::string& arg = scanner.word();
    if (scanner.IsOperand()) {
      options.inputs.push_back({arg, ""});
      continue;
    }
    const std::string& name = scanner.name();
    const bool flag = name == "--info" || name == "--report" || name == "--mapping" ||
                      name == "--pwcubic" || name == "--on-spline" || name == "-h" ||
                      name == "--help" || name == "--version";
    const bool valued = name == "-n" || name == "--points" || name == "--lagrange" ||
                        name == "-o" || name == "--output" || name == "-d" ||
                        name == "--output-dir" || name == "-f" || name == "--format" ||
                        name == "--naca" || name == "--max-deviation";
    if (!flag && !valued) return UsageRefusal("unknown option " + arg);
    std::string value;
    if (auto refused = flag ? scanner.TakeNoValue() : scanner.TakeValue(value)) {
      return *std::move(refused);
    }

    if (name == "-n" || name == "--points") {
      options.settings.points = value;
    } else if (name == "--lagrange") {
      options.settings.degree = value;
      options.settings.method = Method::kLagrange;
    } else if (name == "-o" || name == "--output") {
      if (value.empty()) return UsageRefusal("option " + name + " needs a file name");
      options.output = value;
    } else if (name == "-d" || name == "--output-dir") {
      if (value.empty()) return UsageRefusal("option " + name + " needs a folder name");
      options.output_dir = value;
    } else if (name == "-f" || name == "--format") {
      if (value == "arf") {
        options.format = ResultFormat::kArf;
      } else if (value == "selig") {
        options.format = ResultFormat::kSelig;
      } else {
        return UsageRefusal("the format \"" + value + "\" is neither arf nor selig");
      }
    } else if (name == "--naca") {
      options.inputs.push_back({"", value});
    } else if (name == "--info") {
      options.info = true;
    } else if (name == "--report") {
      options.report = true;
    } else if (name == "--max-deviation") {
      options.max_deviation = ParseTolerance(value);
      if (!options.max_deviation) {
        return UsageRefusal("option " + name + " needs a distance of 0 or more in chord units, " +
                            "such as 0.005, not \"" + value + "\"");
      }
    } else if (name == "--mapping") {
      options.settings.route = Route::kConformalMapping;
    } else if (name == "--pwcubic") {
      options.settings.method = Method::kPwCubic;
    } else if (name == "--on-spline") {
      options.settings.on_spline = true;
    } else if (name == "-h" || name == "--help") {
      options.help = true;
    } else {
      options.version = true;
    }
  }
  return options;
}

void PrintMessage(std::FILE* err, const std::string& text) {
  PrintToolMessage(err, kProgram, text);
}

void PrintRefusal(std::FILE* err, const Refusal& refusal) {
  quilane::PrintRefusal(err, kProgram, refusal, kMappingAction);
}

int UsageError(std::FILE* err, const std::string& text) {
  return PrintUsageError(err, kProgram, UsageRefusal(text));
}

// The path the file list would build: the file's folder, the separator and
// its name.
std::string InputPathOf(const std::string& input) {
  std::error_code error;
  const fs::path absolute = fs::absolute(input, error);
  if (error) return input;
  return absolute.parent_path().string() + std::string(1, fs::path::preferred_separator) +
         absolute.filename().string();
}

// Whether a file may stand at `path`: false only when the system says that
// nothing does. A file that does not exist is neither the input nor a result
// written earlier, so it needs no further comparison.
bool MayExist(const std::string& path) {
  std::error_code error;
  return fs::status(path, error).type() != fs::file_type::not_found;
}

// Whether the existing file `target` is the file `other` (through symbolic
// links, "./" and the like: the same file on the same device).
bool SameExistingFile(const std::string& target, const std::string& other) {
  std::error_code error;
  return fs::equivalent(target, other, error);
}

// A path's text with the letters A to Z made lower case, to find names that
// a file system which ignores letter case would take for one.
std::string FoldedCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The result files written so far in a run over several inputs, so that a
// later input does not replace one. Each was renamed into place just now, so
// it is a file with one name: its folder made canonical, then its name. A
// target is compared with them by text; only when it exists is it made
// canonical, and then compared, as a file, with those whose canonical name
// matches but for letter case. Finding a result costs no system call when the
// target does not exist, and a few when it does, however many were written.
class EarlierResults {
 public:
  void Add(const std::string& written) {
    written_.push_back(written);
    names_.insert(written);
  }

  // Whether `target` is one of the results written; `exists` as MayExist
  // says of it.
  bool Holds(const std::string& target, bool exists) {
    if (names_.count(target) != 0) return true;
    if (!exists) return false;
    std::error_code error;
    const fs::path canonical = fs::canonical(target, error);
    if (error) return AnyIsTheSameFile(target);
    Index();
    const auto candidates = by_folded_name_.find(FoldedCase(canonical.string()));
    if (candidates == by_folded_name_.end()) return false;
    for (const std::size_t k : candidates->second) {
      if (SameExistingFile(target, written_[k])) return true;
    }
    return false;
  }

 private:
  bool AnyIsTheSameFile(const std::string& target) const {
    for (const std::string& written : written_) {
      if (SameExistingFile(target, written)) return true;
    }
    return false;
  }

  // Adds the results not indexed yet under their canonical names.
  void Index() {
    for (; indexed_ < written_.size(); ++indexed_) {
      const fs::path path = written_[indexed_];
      const std::string folder = path.parent_path().string();
      auto known = canonical_folders_.find(folder);
      if (known == canonical_folders_.end()) {
        std::error_code error;
        fs::path canonical = fs::canonical(folder.empty() ? "." : folder, error);
        if (error) canonical = fs::path(folder);  // then only a name given the same way matches
        known = canonical_folders_.emplace(folder, std::move(canonical)).first;
      }
      const std::string name = (known->second / path.filename()).string();
      by_folded_name_[FoldedCase(name)].push_back(indexed_);
    }
  }

  std::vector<std::string> written_;
  std::unordered_set<std::string> names_;
  std::size_t indexed_ = 0;  // results in by_folded_name_
  std::unordered_map<std::string, fs::path> canonical_folders_;
  std::unordered_map<std::string, std::vector<std::size_t>> by_folded_name_;
};

// What a person calls an input in the outcome lines.
std::string LabelOf(const CliInput& input) {
  return input.naca.empty() ? input.path : "--naca " + input.naca;
}

// One input read: its section, the file it came from ("" for a generated
// one), the name its results take in a folder before the extension is
// chosen, and whether it was a .dat file.
struct LoadedInput {
  Section section;
  std::string path;
  std::string name;
  bool dat = false;
};

// Loads one input as a choice in the window would: a coordinate file of
// either kind (told from its content), or the generated NACA section.
Expected<LoadedInput> LoadInput(const CliInput& input) {
  if (!input.naca.empty()) {
    Expected<Section> generated = NacaInput(input.naca, kNacaInputPoints, TrailingEdge::kSharp);
    if (!generated) return std::move(generated.error());
    std::string name = GeneratedInputName(generated->title);
    return LoadedInput{std::move(*generated), std::string(), std::move(name), false};
  }
  Expected<LoadedFile> loaded = LoadCoordinateFile(InputPathOf(input.path));
  if (!loaded) return std::move(loaded.error());
  return LoadedInput{std::move(loaded->section), std::move(loaded->path),
                     fs::path(input.path).filename().string(), loaded->summary.format != "arf"};
}

// The result file of an input in the output folder (ResultFileName).
std::string FolderOutput(const CliOptions& options, const CliInput& input, const std::string& name,
                         bool dat) {
  const bool arf_input = input.naca.empty() && !dat;
  return (fs::path(options.output_dir) / ResultFileName(name, arf_input, options.format)).string();
}

// Redistributes the section with the command line's settings, read as the
// window reads its boxes; reports, and refuses a result that lies farther
// off than --max-deviation.
Expected<RedistributeResult> Calculate(const CliOptions& options, const CliInput& input,
                                       const Section& section, std::FILE* err) {
  Expected<RedistributeSettings> settings = ReadSettings(options.settings);
  if (!settings) return std::move(settings.error());
  settings->report = options.report || options.max_deviation.has_value();
  Expected<RedistributeResult> result = Redistribute(section, *settings);
  if (!result) return result;
  const QualityReport& report = result->report;
  if (options.report) {
    const std::string lines = ReportLines(LabelOf(input), report, kOnSplineAction);
    std::fwrite(lines.data(), 1, lines.size(), err);
  }
  if (options.max_deviation && !(report.max_deviation <= *options.max_deviation)) {
    return PointRefusal(RefusalCode::kDeviationTooLarge, report.max_deviation_point,
                        "New point " + FormatWhole(report.max_deviation_point) + " lies " +
                            FormatMessageNumber(report.max_deviation) +
                            " of the chord off the contour, more than --max-deviation " +
                            FormatMessageNumber(*options.max_deviation) +
                            "; nothing was written for this input.");
  }
  return result;
}

// Reads one input, runs the calculation and writes its results: to `output`
// (or, with --output-dir, to a file named after the input) and its camber
// file, or to `out` when neither is given. A result file held in
// `written_before` (the files of earlier inputs of the same run) is not
// replaced, nor is the input. Refusals go to `err`. Returns the names of the
// files written ("" for standard output), or nothing.
std::optional<std::pair<std::string, std::string>> RedistributeOne(
    const CliOptions& options, const CliInput& input, EarlierResults& written_before,
    std::FILE* out, std::FILE* err) {
  Expected<LoadedInput> loaded = LoadInput(input);
  if (!loaded) {
    PrintRefusal(err, loaded.error());
    return std::nullopt;
  }
  const Expected<RedistributeResult> result = Calculate(options, input, loaded->section, err);
  if (!result) {
    PrintRefusal(err, result.error());
    return std::nullopt;
  }

  const std::string output = options.output_dir.empty()
                                 ? options.output
                                 : FolderOutput(options, input, loaded->name, loaded->dat);
  const ResultFiles files = ResultFilesOf(*result, options.format, output);
  if (output.empty()) {
    const std::string text = PointsFileText(files);
    std::fwrite(text.data(), 1, text.size(), out);
    if (std::fflush(out) != 0) return std::nullopt;
    return std::make_pair(std::string(), std::string());
  }

  const bool points_exist = MayExist(files.points_path);
  const bool camber_exists = MayExist(files.camber_path);
  for (const auto& [target, exists] : {std::pair(&files.points_path, points_exist),
                                       std::pair(&files.camber_path, camber_exists)}) {
    if (written_before.Holds(*target, exists)) {
      PrintRefusal(err, EarlierResultRefusal(*target));
      return std::nullopt;
    }
  }
  for (const auto& [target, exists] : {std::pair(&files.points_path, points_exist),
                                       std::pair(&files.camber_path, camber_exists)}) {
    if (!exists) continue;
    if (const auto kept = CheckNotTheInput(*target, loaded->path)) {
      PrintRefusal(err, *kept);
      return std::nullopt;
    }
  }
  if (const auto refused = WriteResultFiles(files)) {
    PrintRefusal(err, *refused);
    return std::nullopt;
  }
  return std::make_pair(files.points_path, files.camber_path);
}

// --info: reads each input file as a run would and prints what it saw, one
// line per file that reads ("wing.dat: Selig, 61 points, ..."); refusals go
// to `err`. Returns the exit code: kExitRefused when any file was refused.
int DescribeInputs(const CliOptions& options, std::FILE* out, std::FILE* err) {
  if (!options.output.empty() || !options.output_dir.empty()) {
    return UsageError(err, "option --info writes no files; leave out --output and --output-dir");
  }
  int refused = 0;
  for (const CliInput& input : options.inputs) {
    if (!input.naca.empty()) return UsageError(err, "option --info describes files, not --naca");
  }
  for (const CliInput& input : options.inputs) {
    const Expected<LoadedFile> loaded = LoadCoordinateFile(input.path);
    if (!loaded) {
      PrintRefusal(err, loaded.error());
      ++refused;
      continue;
    }
    const std::string line = input.path + ": " + DescribeLoad(loaded->summary) + "\n";
    std::fwrite(line.data(), 1, line.size(), out);
  }
  std::fflush(out);
  return refused == 0 ? kExitSuccess : kExitRefused;
}

}  // namespace

int RunRedistributeCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const Expected<CliOptions> parsed = ParseArguments(args);
  if (!parsed) return PrintUsageError(err, kProgram, parsed.error());
  const CliOptions& options = *parsed;
  if (options.help) {
    std::fwrite(kUsage.data(), 1, kUsage.size(), out);
    return kExitSuccess;
  }
  if (options.version) {
    const std::string line = std::string(kProgram) + " " QUILANE_VERSION "\n";
    std::fwrite(line.data(), 1, line.size(), out);
    return kExitSuccess;
  }
  if (options.inputs.empty()) return UsageError(err, "no input file given");
  if (options.info) return DescribeInputs(options, out, err);
  if (!options.output.empty() && !options.output_dir.empty()) {
    return UsageError(err, "options --output and --output-dir exclude each other");
  }
  if (options.output_dir.empty()) {
    if (options.inputs.size() > 1) {
      return UsageError(err, "several input files need --output-dir");
    }
    EarlierResults none;
    const bool done = RedistributeOne(options, options.inputs.front(), none, out, err).has_value();
    return done ? kExitSuccess : kExitRefused;
  }

  std::error_code error;
  if (!fs::is_directory(options.output_dir, error)) {
    PrintMessage(err, "The output folder \"" + options.output_dir +
                          "\" does not exist; create it or name another folder.");
    return kExitRefused;
  }
  int refused = 0;
  EarlierResults written_before;
  for (const CliInput& input : options.inputs) {
    if (const auto written = RedistributeOne(options, input, written_before, out, err)) {
      const std::string line =
          LabelOf(input) + ": wrote " + written->first + " and " + written->second + "\n";
      std::fwrite(line.data(), 1, line.size(), out);
      written_before.Add(written->first);
      written_before.Add(written->second);
    } else {
      ++refused;
      PrintMessage(err, LabelOf(input) + ": refused");
    }
  }
  std::fflush(out);
  return refused == 0 ? kExitSuccess : kExitRefused;
}

}  // namespace quilane
