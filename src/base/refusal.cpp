#include "base/refusal.h"

namespace quilane {

Refusal FileRefusal(RefusalCode code, std::string file, long long line, std::string message) {
  Refusal refusal(code, std::move(message));
  refusal.file = std::move(file);
  refusal.line = line;
  return refusal;
}

Refusal PointRefusal(RefusalCode code, int index, std::string message) {
  Refusal refusal(code, std::move(message));
  refusal.index = index;
  return refusal;
}

std::string WayOutText(const Refusal& refusal, std::string_view mapping_action) {
  if (refusal.way_out == WayOut::kNone) return std::string();
  std::string text = refusal.way_out_reason.empty()
                         ? std::string("For this section ")
                         : refusal.way_out_reason + "; for this section ";
  return text + std::string(mapping_action) + ".";
}

std::string MessageWithWayOut(const Refusal& refusal, std::string_view mapping_action) {
  const std::string way_out = WayOutText(refusal, mapping_action);
  return way_out.empty() ? refusal.message : refusal.message + "\n" + way_out;
}

std::string FirstLine(const std::string& message) {
  const auto end = message.find_first_of("\r\n");
  return end == std::string::npos ? message : message.substr(0, end);
}

}  // namespace quilane
