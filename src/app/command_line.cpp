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

std::optional<Refusal> OptionScanner::TakeValue(std::string& target) {
  if (word_.attached) {
    target = *word_.attached;
    return std::nullopt;
  }
  if (index_ + 1 < args_.size()) {
    target = args_[++index_];
    return std::nullopt;
  }
  return UsageRefusal("option " + word_.name + " needs a value");
}

std::optional<Refusal> OptionScanner::TakeNoValue() const {
  if (!word_.attached) return std::nullopt;
  return UsageRefusal("option " + word_.name + " takes no value");
}

Refusal UsageRefusal(std::string text) { return Refusal(RefusalCode::kUsage, std::move(text)); }

void PrintToolMessage(std::FILE* stream, std::string_view program, const std::string& text) {
  std::string lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    lines += std::string(program) + ": " + text.substr(start, end - start) + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::fwrite(lines.data(), 1, lines.size(), stream);
}

void PrintRefusal(std::FILE* stream, std::string_view program, const Refusal& refusal,
                  std::string_view mapping_action) {
  PrintToolMessage(stream, program, MessageWithWayOut(refusal, mapping_action));
}

int PrintUsageError(std::FILE* stream, std::string_view program, const Refusal& refusal) {
  PrintToolMessage(stream, program, refusal.message);
  const std::string hint = "Try '" + std::string(program) + " --help'.\n";
  std::fwrite(hint.data(), 1, hint.size(), stream);
  return kExitUsage;
}

}  // namespace quilane
