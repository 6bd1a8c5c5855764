// How far a set of new points may be trusted: their distance from the input
// contour and the shape of their panels, beside the same panel figures for
// the input points.
//
// The input contour is the curve through the input points of
// engine/contour_spline.h with natural ends: it passes through every input point and does not
// depend on the route or the interpolation the new points came from, so it
// measures both routes and both methods alike; unlike the polygon it
// follows the curvature of the nose, so a new point placed well on the
// curved contour between two input points is not counted as off it. A
// contour whose steps span too many orders of magnitude for its spline to be
// formed in double precision is measured against its nearest input point
// instead.
//
// The distance of a point p from the contour is the smallest distance from p
// to any piece of the spline. Each piece is a cubic Bezier curve whose four
// control points bound it (convex hull), and so does the box of those
// points. Every piece whose box lies nearer than the best distance so far is
// searched (NearestOnPiece), so the nearest piece is never missed.
#ifndef QUILANE_ENGINE_QUALITY_REPORT_H_
#define QUILANE_ENGINE_QUALITY_REPORT_H_

#include <span>
#include <string>
#include <string_view>

namespace quilane {

// Panel k joins points k and k + 1; the corner at point i (2..n-1) is the
// turn from panel i - 1 to panel i, 0 for a straight continuation, in degrees.
struct PanelFigures {
  double largest_angle = 0.0;  // degrees
  int largest_angle_point = 0;
  double shortest = 0.0;
  int shortest_panel = 0;
  double longest = 0.0;
  int longest_panel = 0;
};

struct QualityReport {
  // Distances of the new points from the input contour, in chord units (the
  // normalised frame of the input points).
  double max_deviation = 0.0;
  // The new point farthest off, 1-based: the first of those within a relative
  // 1e-9 of the largest distance, so that a symmetric pair is named alike on
  // every platform.
  int max_deviation_point = 0;
  double mean_deviation = 0.0;
  // x (normalised) of that new point, and whether the trailing edge of the
  // input is open by more than 0.1 % of the chord: the usual reason why
  // points near it lie off.
  double max_deviation_x = 0.0;
  bool blunt_trailing_edge = false;
  PanelFigures new_points;
  PanelFigures input_points;
  // The new points were placed on the curve through the input points.
  bool on_spline = false;
};

// Above this distance, in chord units, a report carries a warning.
inline constexpr double kDeviationWarningLevel = 0.005;

// Measures the new points (new_x, new_y) against the contour of the input
// points (input_x, input_y), both in contour order and the same frame. Needs
// at least one input point and spans of equal length pairwise. O(NI N) at
// worst, about O(NI (N + a few pieces)) in practice; allocates O(N).
QualityReport MeasureQuality(std::span<const double> input_x, std::span<const double> input_y,
                             std::span<const double> new_x, std::span<const double> new_y);

// One line: "max deviation 3.1e-05 chord at new point 48, mean 4.0e-06;
// largest panel angle 4.2° at point 51; panels 0.0021 to 0.0312" ("one
// panel, 0.02 long" for two points, "no panels" for one), followed by
// the input points' figures ("; input: largest panel angle ... to ...") and,
// for points placed on the curve through the input, "; new points on a
// spline through the input".
std::string DescribeReport(const QualityReport& report);

// Above kDeviationWarningLevel: "new points lie up to 0.85 % of the chord
// off the contour near point 2", with "; the trailing edge is blunt" when
// the worst point lies in the last tenth of the chord of a blunt trailing
// edge; for points not placed on the curve through the input, followed by
// the way out in the front end's words `on_spline_action` ("use
// --on-spline"): "; to place them on a spline through the input, use
// --on-spline". Empty otherwise.
std::string QualityWarning(const QualityReport& report, std::string_view on_spline_action);

}  // namespace quilane

#endif  // QUILANE_ENGINE_QUALITY_REPORT_H_
