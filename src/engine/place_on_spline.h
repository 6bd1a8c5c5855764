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
// stretch. position[i] says where along the input the route's station lies,
// as an input point number with the fraction of the way to the next (1-based:
// 3.25 lies a quarter of the way from point 3 to point 4 in the route's own
// abscissa). The stretch runs from the input point before the two about it to
// the one after them, so a point never passes onto the other surface near a
// thin trailing edge, and starts at the point placed before, so the points
// keep their order; a point whose foot lies behind the one before (the route
// put it farther off the contour than the spacing) stays where it is.
// Needs at least two new points, spans of one length, a curve with at least
// one piece and positions that rise within 1..input points.
void PlaceOnSpline(const ContourSpline& curve, std::span<const double> position,
                   std::span<double> x, std::span<double> y);

}  // namespace quilane

#endif  // QUILANE_ENGINE_PLACE_ON_SPLINE_H_
