// A generated NACA section as an input of the front ends without a window,
// made into a section as a file read would be.
#ifndef QUILANE_APP_NACA_INPUT_H_
#define QUILANE_APP_NACA_INPUT_H_

#include <string_view>

#include "base/expected.h"
#include "files/section.h"
#include "sections/naca_section.h"

namespace quilane {

// The NACA section `code` (NacaSection) with `points` points, named after
// it, through MakeSection. Refused: a code or count the generator refuses
// (kUnknownSection).
Expected<Section> NacaInput(std::string_view code, int points, TrailingEdge trailing_edge);

}  // namespace quilane

#endif  // QUILANE_APP_NACA_INPUT_H_
