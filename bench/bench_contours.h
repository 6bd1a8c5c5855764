// Contours for the benchmarks: NACA 4412 sections from our generator, written
// as coordinate files with every digit kept and loaded through the reader, so
// the engine starts from exactly what a person choosing the file would get:
// as a section for the whole calculation, as the engine's workspace for its
// steps.
#ifndef QUILANE_BENCH_BENCH_CONTOURS_H_
#define QUILANE_BENCH_BENCH_CONTOURS_H_

#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "engine/redistribute.h"
#include "engine/run_steps.h"
#include "files/coordinate_file.h"
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
  const Expected<AirfoilSection> section = Naca4Section(digits, points, TrailingEdge::kSharp);
  if (!section) return {};
  std::string text = section->name + "\r\n " + std::to_string(points) + " \r\n";
  for (int i = 0; i < points; ++i) {
    text += "  " + std::to_string(i + 1) + "  " + ExactText(section->x[i]) + "  " +
            ExactText(section->y[i]) + "\r\n";
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

// The section file of `points` points in `folder`, written on first use.
inline std::filesystem::path SectionFile(const std::filesystem::path& folder, int points) {
  return folder / ("naca4412-" + std::to_string(points) + ".arf");
}

// Writes the section file of `points` points into `folder` and loads it as
// the tool loads a file. Nothing when refused.
inline std::optional<Section> LoadedSection(const std::filesystem::path& folder, int points) {
  const std::filesystem::path file = SectionFile(folder, points);
  if (!std::filesystem::exists(file) && !WriteText(file, SectionFileText(points))) return {};
  Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
  if (!loaded) return {};
  return std::move(loaded->section);
}

// The engine's workspace holding `section`, as a calculation starts from it.
inline std::unique_ptr<AirfoilWorkspace> WorkspaceOf(const Section& section) {
  auto ws = std::make_unique<AirfoilWorkspace>();
  StoreSection(*ws, section);
  return ws;
}

// The section file of `points` points loaded into a workspace. Null when
// refused.
inline std::unique_ptr<AirfoilWorkspace> LoadedWorkspace(const std::filesystem::path& folder,
                                                         int points) {
  const std::optional<Section> section = LoadedSection(folder, points);
  return section ? WorkspaceOf(*section) : nullptr;
}

inline RedistributeSettings SettingsOf(int ni, bool mapping, bool lagrange, int npoly,
                                       bool report = false) {
  RedistributeSettings settings;
  settings.points = ni;
  settings.route = mapping ? Route::kConformalMapping : Route::kAlongChord;
  settings.method = lagrange ? Method::kLagrange : Method::kPwCubic;
  settings.degree = npoly;
  settings.report = report;
  return settings;
}

// The run's steps on the workspace itself, as Redistribute runs them on its
// own: afterwards every item a step reads is as the run leaves it. Empty when
// done, else the refusal's message.
inline std::string CalculateOnWorkspace(AirfoilWorkspace& ws, int ni, bool mapping,
                                        bool lagrange, int npoly) {
  ws.NI = ni;
  ChordFrame frame;
  std::optional<Refusal> refusal = LayOutCurve(ws, mapping, frame);
  if (!refusal) refusal = InterpolateCurve(ws, lagrange, npoly);
  if (!refusal) refusal = CompleteNewPoints(ws, mapping, frame, false);
  return refusal ? refusal->message : std::string();
}

}  // namespace quilane::bench

#endif  // QUILANE_BENCH_BENCH_CONTOURS_H_
