#include "app/redistribute_cli.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/run_calculation.h"
#include "engine/run_host.h"
#include "files/airfoil_file_reader.h"
#include "files/result_file_writer.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "quilane-redistribute";

constexpr std::string_view kUsage =
    "Usage: quilane-redistribute [options] INPUT.arf\n"
    "       quilane-redistribute [options] --output-dir DIR INPUT.arf...\n"
    "\n"
    "Re-spaces the points of the airfoil contour in INPUT.arf exactly as the\n"
    "QuilaneConfMap window does, and writes the new points and the camber line.\n"
    "\n"
    "Options:\n"
    "  -n, --points NI       number of new points, a whole number from 2 to 1000 (51)\n"
    "      --mapping         lay out the new points by conformal mapping\n"
    "      --lagrange NPOLY  Lagrange interpolation of degree NPOLY (the default, 1)\n"
    "      --pwcubic         piecewise cubic spline interpolation\n"
    "  -o, --output FILE     write the new points to FILE and the camber line to\n"
    "                        Camber_FILE beside it; without it the new points go to\n"
    "                        standard output\n"
    "  -d, --output-dir DIR  write the results of each INPUT into DIR, named after\n"
    "                        the input (several inputs need this option); each\n"
    "                        file's outcome is reported on its own line\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "  --                    end of options\n"
    "\n"
    "Exit status: 0 on success, 1 when a file or its calculation was refused\n"
    "(the other files are still done), 2 when the command line was wrong.\n";

struct CliOptions {
  std::string ni_text = "51";
  bool mapping = false;
  bool lagrange = true;
  std::string npoly_text = "1";
  std::string output;
  std::string output_dir;
  bool help = false;
  bool version = false;
  std::vector<std::string> inputs;
};

struct ParseOutcome {
  CliOptions options;
  std::string error;  // empty when the command line was understood
};

// Takes options before or after the inputs; "--" ends the options; option
// values may follow as the next argument or attached ("-n101", "--points=101").
ParseOutcome ParseArguments(const std::vector<std::string>& args) {
  ParseOutcome outcome;
  CliOptions& options = outcome.options;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      options.inputs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> attached;
    if (arg.rfind("--", 0) == 0) {
      const auto equals = arg.find('=');
      if (equals != std::string::npos) {
        name = arg.substr(0, equals);
        attached = arg.substr(equals + 1);
      }
    } else if (arg.size() > 2) {
      name = arg.substr(0, 2);
      attached = arg.substr(2);
    }
    auto value = [&]() -> std::optional<std::string> {
      if (attached) return attached;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    auto needs_value = [&](std::string& target) {
      const auto given = value();
      if (!given) {
        outcome.error = "option " + name + " needs a value";
        return false;
      }
      target = *given;
      return true;
    };
    auto takes_no_value = [&]() {
      if (!attached) return true;
      outcome.error = "option " + name + " takes no value";
      return false;
    };

    if (name == "-n" || name == "--points") {
      if (!needs_value(options.ni_text)) return outcome;
    } else if (name == "--lagrange") {
      if (!needs_value(options.npoly_text)) return outcome;
      options.lagrange = true;
    } else if (name == "-o" || name == "--output") {
      if (!needs_value(options.output)) return outcome;
      if (options.output.empty()) {
        outcome.error = "option " + name + " needs a file name";
        return outcome;
      }
    } else if (name == "-d" || name == "--output-dir") {
      if (!needs_value(options.output_dir)) return outcome;
      if (options.output_dir.empty()) {
        outcome.error = "option " + name + " needs a folder name";
        return outcome;
      }
    } else if (name == "--mapping") {
      if (!takes_no_value()) return outcome;
      options.mapping = true;
    } else if (name == "--pwcubic") {
      if (!takes_no_value()) return outcome;
      options.lagrange = false;
    } else if (name == "-h" || name == "--help") {
      if (!takes_no_value()) return outcome;
      options.help = true;
    } else if (name == "--version") {
      if (!takes_no_value()) return outcome;
      options.version = true;
    } else {
      outcome.error = "unknown option " + arg;
      return outcome;
    }
  }
  return outcome;
}

// Serves the command line's settings to the run; messages go to the error
// stream. There are no scroll bars or plot: the run sets the view itself.
class CliRunHost : public RunHost {
 public:
  CliRunHost(const CliOptions& options, std::FILE* err) : options_(options), err_(err) {}

  std::string TextNI() override { return options_.ni_text; }
  bool MappingChecked() override { return options_.mapping; }
  bool LagrangeSelected() override { return options_.lagrange; }
  std::string TextNPoly() override { return options_.npoly_text; }
  bool PwCubicSelected() override { return !options_.lagrange; }
  void ShowMessage(const std::string& text) override;
  void SetScrollX0(int) override {}
  void SetScrollOlcek(int) override {}
  void SetScrollY0(int) override {}
  void ShowAirfoil(int, const PointArray&, const PointArray&, int, const PointArray&,
                   const PointArray&) override {}

 private:
  const CliOptions& options_;
  std::FILE* err_;
};

void PrintMessage(std::FILE* err, const std::string& text) {
  const std::string line = std::string(kProgram) + ": " + text + "\n";
  std::fwrite(line.data(), 1, line.size(), err);
}

void CliRunHost::ShowMessage(const std::string& text) { PrintMessage(err_, text); }

int UsageError(std::FILE* err, const std::string& text) {
  PrintMessage(err, text + "\nTry '" + std::string(kProgram) + " --help'.");
  return kExitUsage;
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

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  const fs::path ca = fs::weakly_canonical(a, error);
  if (error) return false;
  const fs::path cb = fs::weakly_canonical(b, error);
  return !error && ca == cb;
}

// Reads one input, runs the calculation and writes its results: to `output`
// and its camber file, or to `out` when `output` is empty. Refusals go to
// `err`. Returns whether the file was done.
bool RedistributeOne(const CliOptions& options, const std::string& input,
                     const std::string& output, std::FILE* out, std::FILE* err) {
  AirfoilWorkspace ws;
  ws.Pi = 4.0 * std::atan(1.0);
  ws.InputPath = InputPathOf(input);
  const FileResult loaded = LoadAirfoilFile(ws);
  if (!loaded.ok) {
    PrintMessage(err, loaded.message);
    return false;
  }

  CliRunHost host(options, err);
  if (!RunCalculation(ws, host)) return false;

  if (output.empty()) {
    const std::string text = ResultFileText(ws.PlotTitle, ws.NI, ws.XI, ws.YI);
    std::fwrite(text.data(), 1, text.size(), out);
    return std::fflush(out) == 0;
  }

  ws.SaveName = output;
  ws.CamberName = CamberFileName(output);
  for (const std::string* target : {&ws.SaveName, &ws.CamberName}) {
    if (SameFile(*target, ws.InputPath)) {
      PrintMessage(err, "The output \"" + *target + "\" is the input file " + ws.InputPath +
                            "; choose another output name so the input is not overwritten.");
      return false;
    }
  }
  const FileResult written = WriteResultFiles(ws);
  if (!written.ok) {
    PrintMessage(err, written.message);
    return false;
  }
  return true;
}

}  // namespace

int RunRedistributeCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const ParseOutcome parsed = ParseArguments(args);
  if (!parsed.error.empty()) return UsageError(err, parsed.error);
  const CliOptions& options = parsed.options;
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
  if (!options.output.empty() && !options.output_dir.empty()) {
    return UsageError(err, "options --output and --output-dir exclude each other");
  }
  if (options.output_dir.empty()) {
    if (options.inputs.size() > 1) {
      return UsageError(err, "several input files need --output-dir");
    }
    const bool done = RedistributeOne(options, options.inputs.front(), options.output, out, err);
    return done ? kExitSuccess : kExitRefused;
  }

  std::error_code error;
  if (!fs::is_directory(options.output_dir, error)) {
    PrintMessage(err, "The output folder \"" + options.output_dir +
                          "\" does not exist; create it or name another folder.");
    return kExitRefused;
  }
  int refused = 0;
  for (const std::string& input : options.inputs) {
    const std::string output =
        (fs::path(options.output_dir) / fs::path(input).filename()).string();
    if (RedistributeOne(options, input, output, out, err)) {
      const std::string line = input + ": wrote " + output + " and " + CamberFileName(output) + "\n";
      std::fwrite(line.data(), 1, line.size(), out);
    } else {
      ++refused;
      PrintMessage(err, input + ": refused");
    }
  }
  std::fflush(out);
  return refused == 0 ? kExitSuccess : kExitRefused;
}

}  // namespace quilane
