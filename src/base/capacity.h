// The largest contour the program takes: the point arrays of the window's
// workspace, the readers' point counts and the engine's tables all hold this
// many points.
#ifndef QUILANE_BASE_CAPACITY_H_
#define QUILANE_BASE_CAPACITY_H_

namespace quilane {

inline constexpr int kPointCapacity = 1000;

}  // namespace quilane

#endif  // QUILANE_BASE_CAPACITY_H_
