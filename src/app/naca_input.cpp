#include "app/naca_input.h"

#include <string>
#include <utility>

#include "files/number_text.h"

namespace quilane {

Expected<Section> NacaInput(std::string_view code, int points, TrailingEdge trailing_edge) {
  Expected<AirfoilSection> generated = NacaSection(code, points, trailing_edge);
  if (!generated) return std::move(generated.error());
  AirfoilSection& section = *generated;
  const ContourOrigin origin{"The generated section " + section.name,
                             FormatWhole(points) + " points", std::string(), 0};
  std::string title = section.name;
  return MakeSection(std::move(title), Contour{std::move(section.x), std::move(section.y)}, origin);
}

}  // namespace quilane
