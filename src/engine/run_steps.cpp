#include "engine/run_steps.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/precondition.h"
#include "engine/camber_line.h"
#include "engine/contour_spline.h"
#include "engine/distribute_along_x.h"
#include "engine/lagrange_interpolation.h"
#include "engine/map_airfoil_to_circle.h"
#include "engine/map_circle_to_airfoil.h"
#include "engine/panel_crossing.h"
#include "engine/place_on_spline.h"
#include "engine/pw_cubic_interpolation.h"
#include "engine/station_search.h"
#include "files/number_text.h"

namespace quilane {
namespace {

// The point as the section has it: x normalised, y in the section's units.
std::string PointText(const AirfoilWorkspace& ws, int i) {
  return "point " + FormatWhole(i) + " (x = " + FormatMessageNumber(ws.X[i]) +
         ", y = " + FormatMessageNumber(ws.Y[i] * ws.Chord) + ")";
}

// Twice the signed area enclosed by the contour (closed from point N back to
// point 1): negative when it runs clockwise, lower surface first.
double TwiceSignedArea(const AirfoilWorkspace& ws) {
  double sum = 0.0;
  for (int i = 1; i <= ws.N; ++i) {
    const int next = i == ws.N ? 1 : i + 1;
    sum += ws.X[i] * ws.Y[next] - ws.X[next] * ws.Y[i];
  }
  return sum;
}

// First k whose abscissa does not lie below the next one, or 0.
int FirstOrderBreak(const AirfoilWorkspace& ws) {
  for (int k = 1; k < ws.N; ++k) {
    if (!(ws.U[k] < ws.U[k + 1])) return k;
  }
  return 0;
}

// First of `count` points with a coordinate that is not a finite number, or 0.
int FirstNonFinitePoint(int count, const PointArray& x, const PointArray& y) {
  for (int i = 1; i <= count; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return i;
  }
  return 0;
}

// Each new point on the curve through the input points, between the input
// points its station lies between.
void PlaceNewPointsOnSpline(AirfoilWorkspace& ws) {
  std::vector<int> between(ws.NI, 1);
  int hint = 2;
  for (int i = 2; i < ws.NI; ++i) {
    const StationInterval found = LocateStation(ws.N, ws.U, ws.UI[i], hint);
    QUILANE_PRECONDITION(found.place != StationPlace::kNone);
    // Stations rise, but a knot's tolerance may take one a hair back.
    between[i - 1] = std::max(between[i - 2], found.k);
  }
  const ContourSpline curve =
      MakeContourSpline(Entries(ws.X, ws.N), Entries(ws.Y, ws.N), SplineEnds::kNotAKnot);
  PlaceOnSpline(curve, between, std::span<double>(ws.XI).subspan(1, ws.NI),
                std::span<double>(ws.YI).subspan(1, ws.NI));
}

}  // namespace

void StoreSection(AirfoilWorkspace& ws, const Section& section) {
  const std::vector<double>& x = section.contour.x;
  const std::vector<double>& y = section.contour.y;
  const int n = static_cast<int>(x.size());
  QUILANE_PRECONDITION(y.size() == x.size() && n >= 2 && n <= kPointCapacity);
  QUILANE_PRECONDITION(section.nose >= 1 && section.nose <= n);
  ws.Pi = 4 * std::atan(1.0);
  ws.AirfoilTitle = section.title;
  ws.N = n;
  std::copy(x.begin(), x.end(), ws.X.begin() + 1);
  for (int i = 0; i < n; ++i) ws.Y[i + 1] = y[i] / section.chord;
  ws.ILE = section.nose;
  ws.Xmin = section.x_min;
  ws.Chord = section.chord;
  // The new points of a file just read: the refusal of a station no
  // interval takes on the mapping route quotes XI, which that route has not
  // written yet, so it reads the same after every earlier run.
  std::copy(x.begin(), x.end(), ws.XI.begin() + 1);
  std::fill(ws.XI.begin() + 1 + n, ws.XI.end(), 0.0);
}

std::optional<Refusal> CheckDegreeBelowN(double value, int N) {
  if (value >= N) {
    return Refusal(RefusalCode::kDegreeNotBelowN, "nPoly must be lower then " + FormatWhole(N));
  }
  return std::nullopt;
}

std::optional<Refusal> CheckContourForRoute(const AirfoilWorkspace& ws, bool mapping) {
  for (int i = 1; i <= ws.N; ++i) {
    if (!std::isfinite(ws.Y[i])) {
      return PointRefusal(RefusalCode::kUnusableContour, i,
                          "The y of " + PointText(ws, i) +
                              " is no finite number of chords; check the point in the file or "
                              "scale the coordinates.");
    }
  }
  // The nose is the last point where x falls: the last point of a contour
  // listed from the nose round to it again. A first point at the nose's x
  // starts there.
  const int end = ws.ILE == ws.N ? ws.N : (ws.X[1] == 0.0 ? 1 : 0);
  if (end != 0) {
    return PointRefusal(RefusalCode::kNoseAtEnd, end,
                        "The nose of the contour, " + PointText(ws, end) + ", is its " +
                            (end == 1 ? "first" : "last") +
                            " point; the points must start at the trailing edge, run over one "
                            "surface to the nose and back over the other to the trailing edge, so "
                            "list them in that order in the file.");
  }
  if (const auto crossing = FirstPanelCrossing(Entries(ws.X, ws.N), Entries(ws.Y, ws.N))) {
    const auto panel = [](int k) {
      return "panel " + FormatWhole(k) + " (points " + FormatWhole(k) + " to " +
             FormatWhole(k + 1) + ")";
    };
    return PointRefusal(RefusalCode::kSurfacesCross, crossing->first,
                        "The surfaces of the contour cross: " + panel(crossing->first) +
                            " crosses " + panel(crossing->second) +
                            " near x = " + FormatMessageNumber(crossing->x) +
                            ", y = " + FormatMessageNumber(crossing->y * ws.Chord) +
                            "; correct the points in the file so that the surfaces do not "
                            "cross.");
  }
  if (mapping) {
    if (TwiceSignedArea(ws) > 0.0) {
      return Refusal(
          RefusalCode::kUpperSurfaceFirst,
          "Conformal mapping needs the lower surface first, but this contour runs from the "
          "trailing edge over the upper surface to the nose; reverse the order of the points "
          "in the file or calculate without conformal mapping.");
    }
    return std::nullopt;
  }
  for (int i = 1; i <= ws.N; ++i) {
    if (!(ws.X[i] >= 0.0 && ws.X[i] <= 1.0)) {
      return PointRefusal(RefusalCode::kOutsideChord, i,
                          "The " + PointText(ws, i) +
                              " lies outside the chord from the nose to the trailing edge; the "
                              "points must run from the trailing edge over one surface to the nose "
                              "and back over the other, so check their order in the file, or "
                              "calculate with conformal mapping, which does not need every x "
                              "within the chord.");
    }
  }
  return std::nullopt;
}

std::optional<Refusal> LayOutCurve(AirfoilWorkspace& ws, bool mapping, ChordFrame& frame) {
  frame = ChordFrame();
  if (mapping) {
    frame = ChordFrameOf(ws.N, ws.X, ws.Y, ws.ILE);
    if (!IsUsable(frame)) {
      return PointRefusal(RefusalCode::kNoChordLine, ws.ILE,
                          "The nose " + PointText(ws, ws.ILE) +
                              " lies on the middle of the trailing edge, so the contour has no "
                              "chord line for conformal mapping; check the points in the file or "
                              "calculate without conformal mapping.");
    }
    int singular;
    if (frame.identity) {
      singular = MapAirfoilToCircle(ws);
    } else {
      PointArray framed_x;
      PointArray framed_y;
      ToChordFrame(frame, ws.N, ws.X, ws.Y, framed_x, framed_y);
      singular = MapAirfoilToCircle(ws, framed_x, framed_y);
    }
    if (singular != 0) {
      return PointRefusal(RefusalCode::kSingularPoint, singular,
                          "The " + PointText(ws, singular) +
                              " lies on the singular point of the conformal mapping, where the "
                              "mapping has no value; move that point slightly or calculate without "
                              "conformal mapping.");
    }
  } else {
    DistributeAlongX(ws);
  }

  const int order_break = FirstOrderBreak(ws);
  if (order_break != 0) {
    return PointRefusal(RefusalCode::kOutOfOrder, order_break,
                        "The " + PointText(ws, order_break + 1) + " does not follow the " +
                            PointText(ws, order_break) +
                            " around the contour; the points must run from the trailing edge over "
                            "one surface to the nose and back over the other, so check their order "
                            "in the file" +
                            (mapping ? std::string(".")
                                     : std::string(", or calculate with conformal mapping, which "
                                                   "also takes two points of the same x in a "
                                                   "row.")));
  }
  return std::nullopt;
}

std::optional<Refusal> InterpolateCurve(AirfoilWorkspace& ws, bool lagrange, int degree) {
  int unplaced = 0;
  if (lagrange) {
    ws.nPoly = degree;
    unplaced = LagrangeInterpolate(ws.N, ws.U, ws.V, ws.NI, ws.UI, ws.VI, ws.nPoly);
  } else {
    unplaced = PwCubicInterpolate(ws);
  }
  if (unplaced == 0) return std::nullopt;
  return PointRefusal(RefusalCode::kStationOutOfRange, unplaced,
                      "xI(" + FormatWhole(unplaced) +
                          ") = " + FormatMessageNumber(ws.XI[unplaced]) +
                          " is not in the given interpolation range");
}

std::optional<Refusal> CompleteNewPoints(AirfoilWorkspace& ws, bool mapping,
                                         const ChordFrame& frame, bool on_spline) {
  if (mapping) {
    const int singular = MapCircleToAirfoil(ws);
    if (singular != 0) {
      return PointRefusal(RefusalCode::kSingularStation, singular,
                          "New point " + FormatWhole(singular) +
                              " falls on the singular point of the conformal mapping (radius " +
                              FormatMessageNumber(ws.VI[singular]) +
                              "); choose another number of new points or another interpolation.");
    }
    if (!frame.identity) FromChordFrame(frame, ws.NI, ws.XI, ws.YI);
  } else {
    for (int i = 1; i <= ws.NI; ++i) ws.YI[i] = ws.VI[i];
  }
  if (on_spline) PlaceNewPointsOnSpline(ws);

  const int non_finite = FirstNonFinitePoint(ws.NI, ws.XI, ws.YI);
  if (non_finite != 0) {
    return PointRefusal(RefusalCode::kNonFinitePoint, non_finite,
                        "New point " + FormatWhole(non_finite) +
                            " came out as no finite number; choose a lower polynomial degree or "
                            "the PW Cubic Spline interpolation and calculate again.");
  }

  ComputeCamber(ws);
  // Two finite new points near the largest double have no finite midpoint.
  const int non_finite_camber =
      FirstNonFinitePoint(static_cast<int>(ws.NCamber), ws.XCamber, ws.YCamber);
  if (non_finite_camber != 0) {
    return PointRefusal(RefusalCode::kNonFiniteCamber, non_finite_camber,
                        "Camber point " + FormatWhole(non_finite_camber) +
                            " came out as no finite number, the new points being too large to "
                            "average; scale the coordinates in the file down and calculate again.");
  }
  return std::nullopt;
}

}  // namespace quilane
