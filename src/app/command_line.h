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

#include "base/refusal.h"

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
  // when none is attached. Without one, refuses: "option NAME needs a value".
  std::optional<Refusal> TakeValue(std::string& target);

  // For an option that takes no value: refuses one attached to it, "option
  // NAME takes no value".
  std::optional<Refusal> TakeNoValue() const;

 private:
  const std::vector<std::string>& args_;
  std::size_t index_ = 0;
  bool started_ = false;
  bool options_ended_ = false;
  bool operand_ = false;
  OptionWord word_;
};

// A command line the tool does not take (kUsage), in the words `text`.
Refusal UsageRefusal(std::string text);

// A message of a tool: each of its lines as "PROGRAM: LINE\n".
void PrintToolMessage(std::FILE* stream, std::string_view program, const std::string& text);

// A refusal as a tool shows it: its message and its way out, with
// `mapping_action` for the tool's switch ("use --mapping"), each line
// behind the program's name.
void PrintRefusal(std::FILE* stream, std::string_view program, const Refusal& refusal,
                  std::string_view mapping_action);

// Prints the usage refusal and the hint to read --help; returns kExitUsage.
int PrintUsageError(std::FILE* stream, std::string_view program, const Refusal& refusal);

}  // namespace quilane

#endif  // QUILANE_APP_COMMAND_LINE_H_
