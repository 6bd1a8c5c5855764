// Why a calculation was refused: one value for every front end. The window
// shows the message in a box; the command-line tool prints it; a caller that
// wants to act on the reason reads the code and the point or station index.
#ifndef QUILANE_ENGINE_REFUSAL_H_
#define QUILANE_ENGINE_REFUSAL_H_

#include <string>

namespace quilane {

enum class RefusalCode {
  kNoContour,          // no file read, or the contour itself was refused
  kPiUnset,            // the workspace's Pi was never set
  kPointCount,         // the number of new points is not a whole number 2..1000
  kDegree,             // the Lagrange degree is not a whole number 0 or more
  kDegreeNotBelowN,    // the Lagrange degree is not lower than N
  kUpperSurfaceFirst,  // mapping route: the contour runs upper surface first
  kOutsideChord,       // along the chord: an input point (index) lies outside 0..1
  kNoChordLine,        // mapping route: the nose coincides with the trailing edge
  kSingularPoint,      // mapping route: an input point (index) on the singular point
  kOutOfOrder,         // the curve does not rise from input point index to index + 1
  kStationOutOfRange,  // no interval holds the station (index)
  kSingularStation,    // mapping back: the station (index) is on the singular point
  kNonFinitePoint,     // new point (index) is not a finite number
  kNonFiniteCamber,    // camber point (index) is not a finite number
  kRouteChanged,       // the window's route changed while the run went on
};

struct Refusal {
  RefusalCode code = RefusalCode::kNoContour;
  // The input point, station, new point or camber point the code names
  // (1-based); 0 when the refusal concerns no single point.
  int index = 0;
  // A sentence for the person: what is wrong and what to do about it.
  std::string message;
};

// True when `refusal` came from the route along the chord (`mapping` false)
// for a contour that conformal mapping takes: a station out of range (the
// contour's ends are not both at x = 1), an input point outside the chord, or
// angles that do not rise. The front ends name their own switch for it.
inline bool MappingIsTheWayOut(const Refusal& refusal, bool mapping) {
  return !mapping && (refusal.code == RefusalCode::kStationOutOfRange ||
                      refusal.code == RefusalCode::kOutsideChord ||
                      refusal.code == RefusalCode::kOutOfOrder);
}

}  // namespace quilane

#endif  // QUILANE_ENGINE_REFUSAL_H_
