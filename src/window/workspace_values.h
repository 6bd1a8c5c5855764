// The window's state and the core's values: a file read goes into the
// workspace, the workspace gives the section a calculation runs on and the
// files a save writes, and a calculation's result goes back into it.
#ifndef QUILANE_WINDOW_WORKSPACE_VALUES_H_
#define QUILANE_WINDOW_WORKSPACE_VALUES_H_

#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/result_file_writer.h"
#include "files/section.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// What choosing a file does with the file read: InputPath, AirfoilTitle, N,
// X, Y (1..N), ILE, Xmin, Chord from it; the points read become the first
// set of new points (NI = N, XI = X, YI = Y); the zoom factor is 1,
// PlotTitle is empty, the file counts as loaded, and the camber line, which
// belonged to the section it was computed from, is unset. The view offsets
// stay. Needs a section as the readers make it.
void LoadIntoWorkspace(const LoadedFile& file, AirfoilWorkspace& ws);

// The section the workspace holds (AirfoilTitle, N, X, Y, ILE, Xmin, Chord),
// for a calculation. Needs a file loaded.
Section SectionOfWorkspace(const AirfoilWorkspace& ws);

// What a calculation leaves: NI, XI, YI, NCamber, XCamber, YCamber and
// PlotTitle from `result`.
void StoreResult(const RedistributeResult& result, AirfoilWorkspace& ws);

// What a save writes: PlotTitle, NI, XI, YI to SaveName in the program's
// layout, PlotTitle, NCamber, XCamber, YCamber to CamberName; a count never
// set is written as an empty line. The listings point into `ws`, which must
// outlive the value.
ResultFiles SaveRequestOf(const AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_WINDOW_WORKSPACE_VALUES_H_
