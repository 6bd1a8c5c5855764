// The readers on arbitrary bytes: LoadArfFile (the *.arf reader alone) and
// LoadCoordinateFile (every format, the tolerant .dat reading among them). A
// refusal is the file's, by a code of the readers, with a message naming the
// file; an accepted file gives a section the engine can take: 2..1000 finite
// points (at least 3 from a .dat file), the nose at x = 0, a positive finite
// chord, a title of one line; a load's summary matches the section it made.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/capacity.h"
#include "files/coordinate_file.h"
#include "fuzz_support.h"

namespace quilane::fuzz {
namespace {

// What every accepted section must be, whichever reader took it.
void CheckSection(const Section& section, int min_points) {
  const Contour& contour = section.contour;
  const int n = static_cast<int>(contour.x.size());
  Check(contour.y.size() == contour.x.size(), "x and y of different lengths");
  Check(n >= min_points && n <= kPointCapacity, "point count out of range");
  Check(section.nose >= 2 && section.nose <= n, "nose index out of range");
  Check(contour.x[section.nose - 1] == 0.0, "x at the nose is not 0");
  Check(std::isfinite(section.chord) && section.chord > 0, "chord not positive and finite");
  Check(std::isfinite(section.x_min), "Xmin not finite");
  Check(section.title.find_first_of("\r\n") == std::string::npos, "title holds a line end");
  for (int i = 0; i < n; ++i) {
    Check(std::isfinite(contour.x[i]) && std::isfinite(contour.y[i]), "a point is not finite");
  }
}

// A refusal of the file, by a code of the readers, with a message that names
// it.
void CheckRefused(const Refusal& refusal, const std::string& path) {
  Check(refusal.code == RefusalCode::kUnreadableFile ||
            refusal.code == RefusalCode::kNotPlainText ||
            refusal.code == RefusalCode::kMalformedFile ||
            refusal.code == RefusalCode::kUnusableContour,
        "a refusal by a code the readers do not give: " + refusal.message);
  Check(refusal.file == path && refusal.line >= 0, "the refusal's place is not in the file");
  Check(refusal.message.find("\"" + path + "\"") != std::string::npos,
        "the refusal does not name the file: " + refusal.message);
}

void ReadAsArf(const std::string& path) {
  const Expected<LoadedFile> loaded = LoadArfFile(path);
  if (!loaded) return CheckRefused(loaded.error(), path);
  Check(loaded->summary.format == "arf", "the *.arf reader names another format");
  CheckSection(loaded->section, 2);
}

void LoadAnyFormat(const std::string& path) {
  const Expected<LoadedFile> loaded = LoadCoordinateFile(path);
  if (!loaded) return CheckRefused(loaded.error(), path);
  const LoadSummary& summary = loaded->summary;
  const Section& section = loaded->section;
  CheckSection(section, summary.format == "arf" ? 2 : 3);
  Check(loaded->path == path, "the load names another file");
  Check(summary.points == static_cast<int>(section.contour.x.size()) &&
            summary.nose_index == section.nose,
        "the summary is not the load's");
  Check(std::isfinite(summary.trailing_edge_gap) && summary.trailing_edge_gap >= 0,
        "the trailing-edge gap is not a finite distance");
  Check(summary.header_lines >= 0 && summary.ignored_lines >= 0 && summary.dropped_points >= 0,
        "a negative count in the summary");
  Check(!DescribeLoad(summary).empty(), "no description of the load");
}

}  // namespace
}  // namespace quilane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quilane::fuzz;
  const std::string path = (ScratchFolder() / "input.dat").string();
  WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
  ReadAsArf(path);
  LoadAnyFormat(path);
  return 0;
}
