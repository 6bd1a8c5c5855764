// Splitting one command-line word of our tools into an option's name and the
// value attached to it, shared by quilane-redistribute and quilane-naca.
#ifndef QUILANE_APP_OPTION_WORD_H_
#define QUILANE_APP_OPTION_WORD_H_

#include <optional>
#include <string>

namespace quilane {

struct OptionWord {
  std::string name;                     // "--points", "-n"
  std::optional<std::string> attached;  // "101" of "--points=101" or "-n101"
};

// Splits "--name=value" at the first '=' and "-xVALUE" after its second
// character; any other word is a name with nothing attached. Needs a word
// that starts with '-' and has at least two characters.
inline OptionWord SplitOptionWord(const std::string& arg) {
  if (arg.rfind("--", 0) == 0) {
    const auto equals = arg.find('=');
    if (equals == std::string::npos) return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
  }
  if (arg.size() > 2) return {arg.substr(0, 2), arg.substr(2)};
  return {arg, std::nullopt};
}

}  // namespace quilane

#endif  // QUILANE_APP_OPTION_WORD_H_
