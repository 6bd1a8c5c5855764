#include "engine/camber_line.h"

#include <cmath>

#include "base/precondition.h"

namespace quilane {

namespace {

// Nearest whole number, a half going to the even neighbour.
int RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  int result = static_cast<int>(lower);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

}  // namespace

void ComputeCamber(AirfoilWorkspace& ws) {
  const int NI = ws.NI;
  QUILANE_PRECONDITION(NI >= 1 && NI <= kPointCapacity);
  const double NCamber = (NI + 1) / 2.0;
  ws.NCamber = NCamber;
  // Pairs new points symmetric in index about the middle one: a + b = NI + 1.
  for (int i = 1; i <= NCamber; ++i) {
    const int a = RoundHalfEven(NCamber - i + 1);
    const int b = RoundHalfEven(NCamber + i - 1);
    ws.XCamber[i] = (ws.XI[a] + ws.XI[b]) / 2;
    ws.YCamber[i] = (ws.YI[a] + ws.YI[b]) / 2;
  }
}

}  // namespace quilane
