// The command line shared by quilane-redistribute and quilane-naca: which
// arguments are options and which are operands, an option's name and its
// value, the exit codes and the form of the tools' messages.
#ifndef QUILANE_APP_COMMAND_LINE_H_
#define QUILANE_APP_COMMAND_LINE_H_

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilane {

// Exit codes of the tools.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRefused = 1;  // an input, a file or the run was refused
inline constexpr int kExitUsage = 2;    // the command line was wrong

struct OptionWord {
  std::string name;                     // "--points", "-n"
  std::optional<std::string> attached;  // "101" of "--points=101" or "-n101"
};

// Splits "--name=value" at the first '=' and "-xVALUE" after its second
// character; any other word is a name with nothing attached. Needs a word
// that starts with '-' and has at least two characters.
OptionWord SplitOptionWord(const std::string& arg);

// Walks the arguments in order. Options may stand before or after the
// operands; "-" alone and any word not starting with '-' is an operand, and
// the first "--" ends the options (it is not itself an argument). An option's
// value is attached to its word ("-n61", "--points=61") or is the next
// argument.
class OptionScanner {
 public:
  explicit OptionScanner(const std::vector<std::string>& args) : args_(args) {}

  // Moves to the next argument; false when none is left.
  bool Next();

  bool IsOperand() const { return operand_; }
  const std::string& word() const { return args_[index_]; }  // the argument as given
  const std::string& name() const { return word_.name; }     // an option's name
  bool HasAttached() const { return word_.attached.has_value(); }

  // Puts the current option's value into `target`, taking the next argument
  // when none is attached. Without one, sets `error` to "option NAME needs a
  // value" and returns false.
  bool TakeValue(std::string& target, std::string& error);

  // For an option that takes no value: false, with `error` set to "option
  // NAME takes no value", when one is attached.
  bool TakeNoValue(std::string& error) const;

 private:
  const std::vector<std::string>& args_;
  std::size_t index_ = 0;
  bool started_ = false;
  bool options_ended_ = false;
  bool operand_ = false;
  OptionWord word_;
};

// A message line of a tool: "PROGRAM: TEXT\n".
void PrintToolMessage(std::FILE* stream, std::string_view program, const std::string& text);

// Prints TEXT and the hint to read --help; returns kExitUsage.
int PrintUsageError(std::FILE* stream, std::string_view program, const std::string& text);

}  // namespace quilane

#endif  // QUILANE_APP_COMMAND_LINE_H_
