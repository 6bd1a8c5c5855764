// Contours for the benchmarks: NACA 4412 sections from our generator, written
// as coordinate files with every digit kept and loaded through the reader, so
// the engine starts from exactly what a person choosing the file would get.
#ifndef QUILANE_BENCH_BENCH_CONTOURS_H_
#define QUILANE_BENCH_BENCH_CONTOURS_H_

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "engine/run_host.h"
#include "files/airfoil_file_reader.h"
#include "sections/naca_section.h"
#include "workspace/airfoil_workspace.h"

namespace quilane::bench {

// The section every benchmark and the comparison use.
inline constexpr const char* kSectionDigits = "4412";

// Shortest text that reads back as the same double.
inline std::string ExactText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// Text of a coordinate file of the NACA section `digits` (NACA 4412 unless
// told otherwise) with `points` points: title, count, then "i x y" per line
// with every digit kept. Empty when the generator refuses.
inline std::string SectionFileText(int points, const char* digits = kSectionDigits) {
  const SectionResult result = Naca4Section(digits, points, TrailingEdge::kSharp);
  if (!result.ok) return {};
  std::string text = result.section.name + "\r\n " + std::to_string(points) + " \r\n";
  for (int i = 0; i < points; ++i) {
    text += "  " + std::to_string(i + 1) + "  " + ExactText(result.section.x[i]) + "  " +
            ExactText(result.section.y[i]) + "\r\n";
  }
  return text;
}

inline bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

// A folder of its own under the system's temporary folder, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
      path_ = base / ("quilane-bench-" + std::to_string(std::random_device{}()) + "-" +
                      std::to_string(attempt));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Writes the section file of `points` points into `folder` and loads it into a
// fresh workspace as choosing it in the file list does. Null when refused.
inline std::unique_ptr<AirfoilWorkspace> LoadedSection(const std::filesystem::path& folder,
                                                       int points) {
  const std::filesystem::path file = folder / ("naca4412-" + std::to_string(points) + ".arf");
  if (!std::filesystem::exists(file) && !WriteText(file, SectionFileText(points))) return nullptr;
  auto ws = std::make_unique<AirfoilWorkspace>();
  ws->Pi = 4.0 * std::atan(1.0);
  ws->InputPath = file.string();
  if (!LoadAirfoilFile(*ws).ok) return nullptr;
  return ws;
}

// Serves fixed settings; scroll bars, messages and the plot do nothing, so a
// run costs only the calculation.
class QuietHost : public RunHost {
 public:
  QuietHost(int ni, bool mapping, bool lagrange, int npoly)
      : ni_(std::to_string(ni)), mapping_(mapping), lagrange_(lagrange),
        npoly_(std::to_string(npoly)) {}

  std::string TextNI() override { return ni_; }
  bool MappingChecked() override { return mapping_; }
  bool LagrangeSelected() override { return lagrange_; }
  std::string TextNPoly() override { return npoly_; }
  bool PwCubicSelected() override { return !lagrange_; }
  void ShowMessage(const std::string& text) override { last_message = text; }
  void SetScrollX0(int) override {}
  void SetScrollOlcek(int) override {}
  void SetScrollY0(int) override {}
  void ShowAirfoil(int, const PointArray&, const PointArray&, int, const PointArray&,
                   const PointArray&) override {}

  std::string last_message;

 private:
  std::string ni_;
  bool mapping_;
  bool lagrange_;
  std::string npoly_;
};

}  // namespace quilane::bench

#endif  // QUILANE_BENCH_BENCH_CONTOURS_H_
