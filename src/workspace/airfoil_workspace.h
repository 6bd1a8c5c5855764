// The one shared state of the program: the points read from the coordinate
// file, the new points, the curve handed to interpolation, the mapping
// parameters, the camber line, the file names and titles, and the plot's view.
//
// Every procedure of the reader, the writer, the engine and the window reads
// and writes these items directly. Point arrays are indexed 0..1000 and used
// from index 1; index 0 is never written. Entries above the current count keep
// whatever an earlier file or calculation left there.
#ifndef QUILANE_WORKSPACE_AIRFOIL_WORKSPACE_H_
#define QUILANE_WORKSPACE_AIRFOIL_WORKSPACE_H_

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "base/capacity.h"

namespace quilane {

// One-based point array: entries 1..kPointCapacity, entry 0 unused.
using PointArray = std::array<double, kPointCapacity + 1>;

// Entries 1..count of a point array (0 <= count <= kPointCapacity).
inline std::span<const double> Entries(const PointArray& array, int count = kPointCapacity) {
  return std::span<const double>(array.data() + 1, static_cast<std::size_t>(count));
}

// A count that remembers whether it was ever given a value. An unset count
// reads as 0 in arithmetic and comparisons; the result writer writes it as an
// empty line, which is why "never set" must differ from 0.
template <typename T>
class Settable {
 public:
  Settable() = default;
  Settable& operator=(T value) {
    value_ = value;
    set_ = true;
    return *this;
  }
  operator T() const { return value_; }  // NOLINT: reads like the plain count
  bool IsSet() const { return set_; }
  bool operator==(const Settable&) const = default;

 private:
  T value_{};
  bool set_ = false;
};

struct AirfoilWorkspace {
  // 4*atan(1); set when the window loads (and by every front end at start).
  double Pi = 0.0;

  // Files and titles.
  std::string InputPath;     // directory, separator, file name of the file read
  std::string AirfoilTitle;  // title item at the head of the coordinate file
  std::string PlotTitle;     // "" after a read, title + " - redistributed" after a run
  std::string SaveName;      // name typed for the new coordinate file
  std::string CamberName;    // the camber file beside it
  bool FileLoaded = false;   // a coordinate file has been read

  // View of the plot: zoom factor and offsets in chord units.
  double PlotScale = 0.0;
  double PlotX0 = 0.0;
  double PlotY0 = 0.0;

  // Input contour, x normalised to 0 at the nose and 1 at the trailing edge.
  int N = 0;
  PointArray X{};
  PointArray Y{};
  int ILE = 0;         // index of the nose point
  double Xmin = 0.0;   // smallest x of the file, before normalisation
  double Chord = 0.0;  // largest minus smallest x of the file, before normalisation

  // New points.
  Settable<int> NI;
  PointArray XI{};
  PointArray YI{};

  // The curve handed to interpolation (N points) and its NI stations.
  PointArray U{};
  PointArray V{};
  PointArray UI{};
  PointArray VI{};
  int nPoly = 0;  // degree of the Lagrange polynomial

  // Conformal mapping: exponent, singular-point distances, circle-plane images.
  int K = 0;
  double A = 0.0;
  double KA = 0.0;
  PointArray XC{};
  PointArray YC{};

  // Camber line; the count is a half-integer when NI is even.
  Settable<double> NCamber;
  PointArray XCamber{};
  PointArray YCamber{};

  bool operator==(const AirfoilWorkspace&) const = default;
};

}  // namespace quilane

#endif  // QUILANE_WORKSPACE_AIRFOIL_WORKSPACE_H_
