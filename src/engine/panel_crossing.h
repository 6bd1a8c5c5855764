// Whether a contour crosses itself: two of its panels (the straight pieces
// between successive points) that cut through each other.
#ifndef QUILANE_ENGINE_PANEL_CROSSING_H_
#define QUILANE_ENGINE_PANEL_CROSSING_H_

#include <optional>
#include <span>

namespace quilane {

// Panel k (1-based) joins points k and k + 1.
struct PanelCrossing {
  int first = 0;  // the lower-numbered panel
  int second = 0;
  double x = 0.0;  // where they cross
  double y = 0.0;
};

// The crossing of two panels that are not neighbours, each passing strictly
// from one side of the other to the other side (panels that only touch, or
// overlap along one line, are not taken as crossing); the one with the
// lowest first panel, then the lowest second. Panels are swept in order of
// their smallest x, so an airfoil, with a few panels over any x, costs
// O(N log N); at worst O(N^2). Needs spans of one length.
std::optional<PanelCrossing> FirstPanelCrossing(std::span<const double> x,
                                                std::span<const double> y);

}  // namespace quilane

#endif  // QUILANE_ENGINE_PANEL_CROSSING_H_
