// New points moved onto the smooth curve through the input points
// (engine/contour_spline.h), for sections whose shape matters more than the
// route's own curve: the route keeps deciding where along the contour each
// new point goes, the curve decides where exactly it lies.
#ifndef QUILANE_ENGINE_PLACE_ON_SPLINE_H_
#define QUILANE_ENGINE_PLACE_ON_SPLINE_H_

#include <span>

#include "engine/contour_spline.h"

namespace quilane {

// Moves new points onto `curve` in place. The first and last new points
// become the curve's first and last knots (the input's trailing-edge
// points). New point i in between goes to the foot of the perpendicular from
// where the route put it: the nearest point of the curve within its own
// stretch. The route's station lies between input points between[i] and
// between[i] + 1 (1-based, not falling from point to point); the stretch runs
// from the input point before those two to the one after them, so a point never passes onto the
// other surface near a thin trailing edge, and starts at the point placed before, so the points
// keep their order; a point whose foot lies behind the one before (the route
// put it farther off the contour than the spacing) stays where it is.
// Needs at least two new points, spans of one length, a curve with at least
// one piece and 1 <= between[i] < input points.
void PlaceOnSpline(const ContourSpline& curve, std::span<const int> between, std::span<double> x,
                   std::span<double> y);

}  // namespace quilane

#endif  // QUILANE_ENGINE_PLACE_ON_SPLINE_H_
