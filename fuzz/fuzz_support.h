// What the fuzz targets share: a scratch folder of their own, raw file bytes,
// a check that turns a broken invariant into a finding, and a strict reading
// of the result files the program writes.
#ifndef QUILANE_FUZZ_FUZZ_SUPPORT_H_
#define QUILANE_FUZZ_FUZZ_SUPPORT_H_

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "files/number_text.h"

namespace quilane::fuzz {

// A broken invariant: says which and aborts, so that libFuzzer keeps the input.
inline void Check(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

// A folder for the files of one input, made once: the one named by
// QUILANE_FUZZ_SCRATCH (the fuzz script's, removed after the run), else one of
// this process in memory (/dev/shm) where there is one, since on a disk every
// replaced file waits for the disk. libFuzzer ends without running exit
// handlers, so the folder is left to whoever named it.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path path;
    std::error_code error;
    if (const char* named = std::getenv("QUILANE_FUZZ_SCRATCH"); named != nullptr && *named) {
      path = named;
    } else {
      path = std::filesystem::is_directory("/dev/shm", error)
                 ? std::filesystem::path("/dev/shm")
                 : std::filesystem::temp_directory_path();
      path /= "quilane-fuzz-" + std::to_string(::getpid());
    }
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check(static_cast<bool>(out), "the fuzz input could not be written to " + path.string());
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A result file taken apart by its fixed layout: title line, count line
// (" count "), then lines "  i  x  y", every line ended by CR LF.
struct ResultFile {
  bool well_formed = false;
  std::string title_line;
  std::string count_text;
  std::vector<double> x;
  std::vector<double> y;
};

inline ResultFile ParseResultFile(std::string_view text) {
  ResultFile file;
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) return file;  // last line without CR LF
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  if (lines.size() < 2) return file;
  file.title_line = std::string(lines[0]);
  const std::string_view count = lines[1];
  if (count.size() < 2 || count.front() != ' ' || count.back() != ' ') return file;
  file.count_text = std::string(count.substr(1, count.size() - 2));
  for (std::size_t k = 2; k < lines.size(); ++k) {
    std::string_view line = lines[k];
    std::string_view fields[3];
    for (auto& field : fields) {
      if (line.substr(0, 2) != "  ") return file;
      line.remove_prefix(2);
      const std::size_t end = line.find(' ');
      field = line.substr(0, end);
      line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    }
    if (!line.empty() || fields[0] != FormatWhole(static_cast<long long>(k - 1))) return file;
    const FieldNumber x = ParseNumberField(fields[1]);
    const FieldNumber y = ParseNumberField(fields[2]);
    if (x.kind != FieldNumber::Kind::kNumber || y.kind != FieldNumber::Kind::kNumber) return file;
    file.x.push_back(x.value);
    file.y.push_back(y.value);
  }
  file.well_formed = true;
  return file;
}

// Whether `written` is `value` to five decimals: within half a unit of the
// fifth decimal, plus the few units in the last place that turning a decimal
// text into a double may cost.
inline bool SameToFiveDecimals(double written, double value) {
  return std::abs(written - value) <= 0.5e-5 * (1 + 1e-9) + std::abs(value) * 4e-16;
}

}  // namespace quilane::fuzz

#endif  // QUILANE_FUZZ_FUZZ_SUPPORT_H_
