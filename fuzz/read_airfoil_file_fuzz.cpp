// The readers on arbitrary bytes: ReadAirfoilFile (*.arf) and
// LoadCoordinateFile (every format, the tolerant .dat reading among them). A
// refused file leaves the workspace as it was and says which file; an
// accepted one gives a contour the engine can take: 2..1000 finite points
// (at least 3 from a .dat file), the nose at x = 0, a positive finite chord,
// and the entries above the count untouched; a load's summary matches what
// was stored.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/airfoil_file_reader.h"
#include "files/coordinate_file.h"
#include "fuzz_support.h"
#include "workspace/airfoil_workspace.h"

namespace quilane::fuzz {
namespace {

// A workspace that already holds an earlier file and a calculation's traces,
// so that a refusal that touched anything shows.
const AirfoilWorkspace& Earlier() {
  static const AirfoilWorkspace earlier = [] {
    AirfoilWorkspace ws;
    ws.Pi = 4 * std::atan(1.0);
    ws.InputPath = (ScratchFolder() / "earlier.arf").string();
    WriteBytes(ws.InputPath, "Earlier\n6\n1 2 0\n2 1 -0.1\n3 0 0\n4 1 0.1\n5 2 0\n6 3 0\n");
    Check(LoadAirfoilFile(ws).ok, "the earlier file must load");
    for (int i = 1; i <= kPointCapacity; ++i) {
      if (i > ws.N) {
        ws.X[i] = -1.0 * i;
        ws.Y[i] = 0.5 * i;
      }
    }
    ws.NCamber = 3.5;
    ws.PlotX0 = 0.25;
    ws.PlotTitle = "Earlier - redistributed";
    return ws;
  }();
  return earlier;
}

// What every accepted contour must be, whichever reader took it.
void CheckStored(const AirfoilWorkspace& ws, const AirfoilWorkspace& before, int min_points) {
  Check(ws.N >= min_points && ws.N <= kPointCapacity, "point count out of range");
  Check(ws.ILE >= 2 && ws.ILE <= ws.N, "nose index out of range");
  Check(ws.X[ws.ILE] == 0.0, "x at the nose is not 0");
  Check(std::isfinite(ws.Chord) && ws.Chord > 0, "chord not positive and finite");
  Check(std::isfinite(ws.Xmin), "Xmin not finite");
  Check(ws.AirfoilTitle.find_first_of("\r\n") == std::string::npos, "title holds a line end");
  for (int i = 1; i <= ws.N; ++i) {
    Check(std::isfinite(ws.X[i]) && std::isfinite(ws.Y[i]), "a point is not finite");
  }
  for (int i = ws.N + 1; i <= kPointCapacity; ++i) {
    Check(ws.X[i] == before.X[i] && ws.Y[i] == before.Y[i], "an entry above the count changed");
  }
}

// A refusal: nothing changed, and the message names the file.
void CheckRefused(const FileResult& result, const AirfoilWorkspace& ws,
                  const AirfoilWorkspace& before, const std::string& path) {
  Check(ws == before, "a refused file changed the workspace");
  Check(result.message.find("\"" + path + "\"") != std::string::npos,
        "the refusal does not name the file: " + result.message);
}

void ReadAsArf(const std::string& path) {
  AirfoilWorkspace ws = Earlier();
  ws.InputPath = path;
  const AirfoilWorkspace before = ws;
  const FileResult result = ReadAirfoilFile(ws);
  if (!result.ok) return CheckRefused(result, ws, before, path);
  Check(result.message.empty(), "an accepted file came with a message");
  CheckStored(ws, before, 2);
}

void LoadAnyFormat(const std::string& path) {
  AirfoilWorkspace ws = Earlier();
  const AirfoilWorkspace before = ws;
  LoadSummary summary;
  const FileResult result = LoadCoordinateFile(ws, path, &summary);
  if (!result.ok) return CheckRefused(result, ws, before, path);
  CheckStored(ws, before, summary.format == "arf" ? 2 : 3);
  Check(ws.InputPath == path && ws.FileLoaded && ws.NI == ws.N, "the load was not made current");
  Check(summary.points == ws.N && summary.nose_index == ws.ILE, "the summary is not the load's");
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
