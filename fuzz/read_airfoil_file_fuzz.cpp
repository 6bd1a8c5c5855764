// ReadAirfoilFile on arbitrary bytes. A refused file leaves the workspace as
// it was and says which file; an accepted one gives a contour the engine can
// take: 2..1000 finite points, the nose at x = 0, a positive finite chord,
// and the entries above the count untouched.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/airfoil_file_reader.h"
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

}  // namespace
}  // namespace quilane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quilane;
  using namespace quilane::fuzz;
  const std::string path = (ScratchFolder() / "input.arf").string();
  WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));

  AirfoilWorkspace ws = Earlier();
  ws.InputPath = path;
  const AirfoilWorkspace before = ws;
  const FileResult result = ReadAirfoilFile(ws);
  if (!result.ok) {
    Check(ws == before, "a refused file changed the workspace");
    Check(result.message.find("\"" + path + "\"") != std::string::npos,
          "the refusal does not name the file: " + result.message);
    return 0;
  }
  Check(result.message.empty(), "an accepted file came with a message");
  Check(ws.N >= 2 && ws.N <= kPointCapacity, "point count out of range");
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
  return 0;
}
