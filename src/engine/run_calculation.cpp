#include "engine/run_calculation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/camber_line.h"
#include "engine/distribute_along_x.h"
#include "engine/lagrange_interpolation.h"
#include "engine/map_airfoil_to_circle.h"
#include "engine/map_circle_to_airfoil.h"
#include "engine/pw_cubic_interpolation.h"
#include "files/number_text.h"

namespace quilane {
namespace {

constexpr int kMinNewPoints = 2;

bool IsWholeNumber(double value, double lowest, double highest) {
  return std::isfinite(value) && value == std::floor(value) && value >= lowest &&
         value <= highest;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string PointText(const AirfoilWorkspace& ws, int i) {
  return "point " + FormatWhole(i) + " (x = " + FormatMessageNumber(ws.X[i]) +
         ", y = " + FormatMessageNumber(ws.Y[i]) + ")";
}

// Settings of one run, read from the host in the order the window offers them.
struct RunSettings {
  std::string ni_text;
  bool mapping = false;
  bool lagrange = false;
  std::string npoly_text;
};

RunSettings ReadSettings(RunHost& host) {
  RunSettings settings;
  settings.ni_text = host.TextNI();
  settings.mapping = host.MappingChecked();
  settings.lagrange = host.LagrangeSelected();
  if (settings.lagrange) {
    settings.npoly_text = host.TextNPoly();
  } else {
    host.PwCubicSelected();  // the other button of the group: the spline is chosen
  }
  return settings;
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

// What a run writes before its last check, kept so that a refused run can put
// the workspace back exactly as it was. Only the used ranges are copied.
class RunSnapshot {
 public:
  RunSnapshot(const AirfoilWorkspace& ws, int new_ni)
      : n_(ws.N), ni_(new_ni), camber_(CamberCount(new_ni)), saved_ni_(ws.NI),
        saved_ncamber_(ws.NCamber), npoly_(ws.nPoly), k_(ws.K), a_(ws.A), ka_(ws.KA) {
    CopyRange(ws.U, u_, n_);
    CopyRange(ws.V, v_, n_);
    CopyRange(ws.XC, xc_, n_);
    CopyRange(ws.YC, yc_, n_);
    CopyRange(ws.UI, ui_, ni_);
    CopyRange(ws.VI, vi_, ni_);
    CopyRange(ws.XI, xi_, ni_);
    CopyRange(ws.YI, yi_, ni_);
    CopyRange(ws.XCamber, xcamber_, camber_);
    CopyRange(ws.YCamber, ycamber_, camber_);
  }

  void Restore(AirfoilWorkspace& ws) const {
    ws.NI = saved_ni_;
    ws.NCamber = saved_ncamber_;
    ws.nPoly = npoly_;
    ws.K = k_;
    ws.A = a_;
    ws.KA = ka_;
    CopyRange(u_, ws.U, n_);
    CopyRange(v_, ws.V, n_);
    CopyRange(xc_, ws.XC, n_);
    CopyRange(yc_, ws.YC, n_);
    CopyRange(ui_, ws.UI, ni_);
    CopyRange(vi_, ws.VI, ni_);
    CopyRange(xi_, ws.XI, ni_);
    CopyRange(yi_, ws.YI, ni_);
    CopyRange(xcamber_, ws.XCamber, camber_);
    CopyRange(ycamber_, ws.YCamber, camber_);
  }

  // Camber points of NI new points: the whole numbers up to (NI + 1) / 2.
  static int CamberCount(int ni) { return (ni + 1) / 2; }

 private:
  // Entries 1..count; the arrays not yet copied into stay uninitialised.
  static void CopyRange(const PointArray& from, PointArray& to, int count) {
    std::copy_n(from.begin() + 1, count, to.begin() + 1);
  }

  int n_;
  int ni_;
  int camber_;
  Settable<int> saved_ni_;
  Settable<double> saved_ncamber_;
  int npoly_;
  int k_;
  double a_;
  double ka_;
  PointArray u_, v_, xc_, yc_, ui_, vi_, xi_, yi_, xcamber_, ycamber_;
};

// Ends a run that was refused after it began writing: the message is shown
// first (it may quote values of the attempt), then the workspace is restored.
bool Refuse(AirfoilWorkspace& ws, RunHost& host, const RunSnapshot& snapshot,
            const std::string& message) {
  host.ShowMessage(message);
  snapshot.Restore(ws);
  return false;
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

}  // namespace

bool RunCalculation(AirfoilWorkspace& ws, RunHost& host) {
  if (!ws.FileLoaded) {
    host.ShowMessage("Open a file containing airfoil coordinates");
    return false;
  }
  const RunSettings settings = ReadSettings(host);

  // Every setting is checked before anything is written.
  const double ni_value = ValueOfString(settings.ni_text);
  if (!IsWholeNumber(ni_value, kMinNewPoints, kPointCapacity)) {
    host.ShowMessage("Number of new points " + Quoted(settings.ni_text) +
                     " is not a whole number from 2 to 1000; type such a number and calculate "
                     "again.");
    return false;
  }
  const int new_ni = static_cast<int>(ni_value);
  int npoly = 0;
  if (settings.lagrange) {
    const double npoly_value = ValueOfString(settings.npoly_text);
    if (!IsWholeNumber(npoly_value, 0, HUGE_VAL)) {
      host.ShowMessage("nPoly " + Quoted(settings.npoly_text) +
                       " is not a whole number of 0 or more; type the degree of the Lagrange "
                       "polynomial, such as 1 or 3, and calculate again.");
      return false;
    }
    if (npoly_value >= ws.N) {
      host.ShowMessage("nPoly must be lower then " + FormatWhole(ws.N));
      return false;
    }
    npoly = static_cast<int>(npoly_value);
  }

  // The contour must suit the chosen route before any of it is laid out.
  if (settings.mapping) {
    if (TwiceSignedArea(ws) > 0.0) {
      host.ShowMessage(
          "Conformal mapping needs the lower surface first, but this contour runs from the "
          "trailing edge over the upper surface to the nose; reverse the order of the points "
          "in the file or calculate without conformal mapping.");
      return false;
    }
  } else {
    for (int i = 1; i <= ws.N; ++i) {
      if (!(ws.X[i] >= 0.0 && ws.X[i] <= 1.0)) {
        host.ShowMessage(
            "The " + PointText(ws, i) +
            " lies outside the chord from the nose to the trailing edge; the points must run "
            "from the trailing edge over one surface to the nose and back over the other, so "
            "check their order in the file.");
        return false;
      }
    }
  }

  const RunSnapshot snapshot(ws, new_ni);
  ws.NI = new_ni;

  if (settings.mapping) {
    const int singular = MapAirfoilToCircle(ws);
    if (singular != 0) {
      return Refuse(ws, host, snapshot,
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
    return Refuse(ws, host, snapshot,
                  "The " + PointText(ws, order_break + 1) + " does not follow the " +
                      PointText(ws, order_break) +
                      " around the contour; the points must run from the trailing edge over "
                      "one surface to the nose and back over the other, so check their order "
                      "in the file.");
  }

  int unplaced = 0;
  if (settings.lagrange) {
    ws.nPoly = npoly;
    unplaced = LagrangeInterpolate(ws.N, ws.U, ws.V, ws.NI, ws.UI, ws.VI, ws.nPoly);
  } else {
    unplaced = PwCubicInterpolate(ws);
  }
  if (unplaced != 0) {
    return Refuse(ws, host, snapshot,
                  "xI(" + FormatWhole(unplaced) + ") = " + FormatMessageNumber(ws.XI[unplaced]) +
                      " is not in the given interpolation range");
  }

  if (host.MappingChecked() != settings.mapping) {
    return Refuse(ws, host, snapshot,
                  "The Conformal Mapping box changed while the calculation ran; calculate "
                  "again.");
  }
  if (settings.mapping) {
    const int singular = MapCircleToAirfoil(ws);
    if (singular != 0) {
      return Refuse(ws, host, snapshot,
                    "New point " + FormatWhole(singular) +
                        " falls on the singular point of the conformal mapping (radius " +
                        FormatMessageNumber(ws.VI[singular]) +
                        "); choose another number of new points or another interpolation.");
    }
  } else {
    for (int i = 1; i <= ws.NI; ++i) ws.YI[i] = ws.VI[i];
  }

  const int non_finite = FirstNonFinitePoint(ws.NI, ws.XI, ws.YI);
  if (non_finite != 0) {
    return Refuse(ws, host, snapshot,
                  "New point " + FormatWhole(non_finite) +
                      " came out as no finite number; choose a lower polynomial degree or "
                      "the PW Cubic Spline interpolation and calculate again.");
  }

  ComputeCamber(ws);
  // Two finite new points near the largest double have no finite midpoint.
  const int non_finite_camber =
      FirstNonFinitePoint(static_cast<int>(ws.NCamber), ws.XCamber, ws.YCamber);
  if (non_finite_camber != 0) {
    return Refuse(ws, host, snapshot,
                  "Camber point " + FormatWhole(non_finite_camber) +
                      " came out as no finite number, the new points being too large to "
                      "average; scale the coordinates in the file down and calculate again.");
  }
  ws.PlotTitle = ws.AirfoilTitle + " - redistributed";
  ws.PlotX0 = 0.0;
  ws.PlotY0 = 0.0;
  ws.PlotScale = 1.0;
  host.SetScrollX0(0);
  host.SetScrollOlcek(0);
  host.SetScrollY0(0);
  host.ShowAirfoil(ws.N, ws.X, ws.Y, ws.NI, ws.XI, ws.YI);
  return true;
}

}  // namespace quilane
