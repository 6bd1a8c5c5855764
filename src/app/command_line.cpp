#include "app/command_line.h"

namespace quilane {

OptionWord SplitOptionWord(const std::string& arg) {
  if (arg.rfind("--", 0) == 0) {
    const auto equals = arg.find('=');
    if (equals == std::string::npos) return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
  }
  if (arg.size() > 2) return {arg.substr(0, 2), arg.substr(2)};
  return {arg, std::nullopt};
}

bool OptionScanner::Next() {
  if (started_) ++index_;
  started_ = true;
  if (!options_ended_ && index_ < args_.size() && args_[index_] == "--") {
    options_ended_ = true;
    ++index_;
  }
  if (index_ >= args_.size()) return false;
  const std::string& arg = args_[index_];
  operand_ = options_ended_ || arg.size() < 2 || arg[0] != '-';
  word_ = operand_ ? OptionWord{} : SplitOptionWord(arg);
  return true;
}

bool OptionScanner::TakeValue(std::string& target, std::string& error) {
  if (word_.attached) {
    target = *word_.attached;
    return true;
  }
  if (index_ + 1 < args_.size()) {
    target = args_[++index_];
    return true;
  }
  error = "option " + word_.name + " needs a value";
  return false;
}

bool OptionScanner::TakeNoValue(std::string& error) const {
  if (!word_.attached) return true;
  error = "option " + word_.name + " takes no value";
  return false;
}

void PrintToolMessage(std::FILE* stream, std::string_view program, const std::string& text) {
  const std::string line = std::string(program) + ": " + text + "\n";
  std::fwrite(line.data(), 1, line.size(), stream);
}

int PrintUsageError(std::FILE* stream, std::string_view program, const std::string& text) {
  PrintToolMessage(stream, program, text + "\nTry '" + std::string(program) + " --help'.");
  return kExitUsage;
}

}  // namespace quilane
