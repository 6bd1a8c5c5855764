// Contours for the tests: NACA four-digit sections and the five-point
// diamond, as contours, sections, workspaces and *.arf text; and every way
// to re-space them. The thickness
// and the mean line come from the program's own published formulas
// (sections/naca_section.h), laid off vertically from the mean line, so the
// points sit at exact cosine stations.
#ifndef QUILANE_TESTS_SUPPORT_TEST_SECTIONS_H_
#define QUILANE_TESTS_SUPPORT_TEST_SECTIONS_H_

#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "engine/redistribute.h"
#include "files/number_text.h"
#include "files/section.h"
#include "sections/naca_section.h"
#include "workspace/airfoil_workspace.h"

namespace quilane::test {

inline const double kPi = 4 * std::atan(1.0);

// The NACA four-digit contour of maximum camber `camber` at `camber_at` and
// thickness `thickness` (fractions of the chord), sharp trailing edge:
// 2 * half + 1 points at x = (cos(pi (i - 1) / half) + 1) / 2, from the
// trailing edge along the lower surface to the nose (point half + 1, at
// (0, 0)) and back along the upper surface.
inline Contour NacaContour(double camber, double camber_at, double thickness, int half) {
  Contour contour;
  const int n = 2 * half + 1;
  for (int i = 1; i <= n; ++i) {
    const double x = (std::cos(kPi * (i - 1) / half) + 1) / 2;
    const double yt = Naca4HalfThickness(thickness, x, TrailingEdge::kSharp);
    const double yc = camber > 0 ? Naca4MeanLine(camber, camber_at, x).y : 0.0;
    contour.x.push_back(x);
    contour.y.push_back(i == half + 1 ? 0.0 : i <= half ? yc - yt : yc + yt);
  }
  return contour;
}

// (1, 0), (0.5, -0.05), (0, 0), (0.5, 0.05), (1, 0); nose at point 3.
inline Contour DiamondContour() { return Contour{{1, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}}; }

// `contour` made into a section, as a file read makes it.
inline Section SectionOf(Contour contour, std::string title = "Test section") {
  Expected<Section> section = MakeSection(std::move(title), std::move(contour),
                                          ContourOrigin{"The test section", "", "", 0});
  return std::move(section).value();
}

// The workspace of the engine's steps holding `contour` (x already
// normalised) with NI new points to come (N when 0), Pi set.
inline std::unique_ptr<AirfoilWorkspace> WorkspaceOf(const Contour& contour, int NI = 0) {
  auto ws = std::make_unique<AirfoilWorkspace>();
  const Section section = SectionOf(contour);
  ws->Pi = kPi;
  ws->N = static_cast<int>(section.contour.x.size());
  for (int i = 1; i <= ws->N; ++i) {
    ws->X[i] = section.contour.x[i - 1];
    ws->Y[i] = section.contour.y[i - 1];
  }
  ws->ILE = section.nose;
  ws->Xmin = section.x_min;
  ws->Chord = section.chord;
  ws->NI = NI == 0 ? ws->N : NI;
  return ws;
}

// The text of a *.arf file holding `contour`: the title, the count, then
// "i x y" records with every digit a double needs.
inline std::string ArfText(const std::string& title, const Contour& contour) {
  std::string text = title + "\n" + FormatWhole(static_cast<long long>(contour.x.size())) + "\n";
  for (std::size_t i = 0; i < contour.x.size(); ++i) {
    text += FormatWhole(static_cast<long long>(i) + 1) + " " + FormatShortest(contour.x[i]) +
            " " + FormatShortest(contour.y[i]) + "\n";
  }
  return text;
}

// A route with a method: every route with every method, Lagrange at two
// degrees (the degree is 0 for the spline, which does not read it).
struct Way {
  const char* name;
  Route route;
  Method method;
  int degree;
  bool on_spline = false;
};
inline constexpr Way kEveryWay[] = {
    {"along the chord, Lagrange 1", Route::kAlongChord, Method::kLagrange, 1},
    {"along the chord, Lagrange 3", Route::kAlongChord, Method::kLagrange, 3},
    {"along the chord, spline", Route::kAlongChord, Method::kPwCubic, 0},
    {"mapping, Lagrange 1", Route::kConformalMapping, Method::kLagrange, 1},
    {"mapping, Lagrange 3", Route::kConformalMapping, Method::kLagrange, 3},
    {"mapping, spline", Route::kConformalMapping, Method::kPwCubic, 0},
    {"along the chord, Lagrange 3, on the spline", Route::kAlongChord, Method::kLagrange, 3, true},
    {"mapping, spline, on the spline", Route::kConformalMapping, Method::kPwCubic, 0, true},
};

// The settings of `way` with `points` new points.
inline RedistributeSettings SettingsOf(const Way& way, int points) {
  RedistributeSettings settings;
  settings.points = points;
  settings.route = way.route;
  settings.method = way.method;
  settings.degree = way.degree;
  settings.on_spline = way.on_spline;
  return settings;
}

}  // namespace quilane::test

#endif  // QUILANE_TESTS_SUPPORT_TEST_SECTIONS_H_
