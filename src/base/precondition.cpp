#include "base/precondition.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quilane {

void PreconditionFailed(const char* condition, const char* file, int line) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, line).ptr;
  const std::string text = std::string(file) + ":" + std::string(digits, end) +
                           ": precondition failed: " + condition + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  std::abort();
}

}  // namespace quilane
