#include "files/field_text.h"

#include "files/text_source.h"

namespace quilane {
namespace {

bool IsSeparator(char c) { return IsBlank(c) || c == ','; }

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 2;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 3;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i <= length) return false;
    for (std::size_t k = 1; k <= length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      const unsigned char min = k == 1 ? low : 0x80;
      const unsigned char max = k == 1 ? high : 0xBF;
      if (c < min || c > max) return false;
    }
    i += length + 1;
  }
  return true;
}

}  // namespace

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

std::string Shown(std::string_view field) {
  constexpr std::size_t kShownBytes = 40;
  if (field.size() <= kShownBytes) return "\"" + std::string(field) + "\"";
  std::size_t cut = kShownBytes;
  while (cut > 0 && !StartsCharacter(field[cut])) --cut;
  return "\"" + std::string(field.substr(0, cut)) + "...\"";
}

std::string AirfoilFileNamed(const std::string& path) { return "The airfoil file \"" + path + "\""; }

Refusal RefuseFile(RefusalCode code, const std::string& path, long long line,
                   const std::string& what) {
  return FileRefusal(code, path, line, AirfoilFileNamed(path) + " " + what);
}

LineStatus ReadLine(TextSource& source, std::string& line, std::size_t max_characters) {
  line.clear();
  // The end of the text: the end of the file, padding up to it, or a NUL
  // that is not padding (left for SourceFault).
  const auto at_end = [&source] {
    const int c = source.Peek();
    if (c == TextSource::kEnd) {
      if (source.nul_found()) source.TakePaddingAtEnd();
      return true;
    }
    return c == 0x1A && source.TakePaddingAtEnd();
  };
  if (at_end()) return LineStatus::kEnd;
  std::size_t characters = 0;
  bool too_long = false;
  while (!at_end()) {
    const int c = source.Get();
    if (c == '\n') break;
    if (too_long) continue;
    if (StartsCharacter(static_cast<char>(c)) && ++characters > max_characters) {
      too_long = true;
      continue;
    }
    line.push_back(static_cast<char>(c));
  }
  return too_long ? LineStatus::kTooLong : LineStatus::kLine;
}

std::string Utf8Text(std::string_view text) {
  if (IsUtf8(text)) return std::string(text);
  std::string converted;
  converted.reserve(text.size() + text.size() / 2);
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      converted.push_back(c);
    } else {
      converted.push_back(static_cast<char>(0xC0 | (b >> 6)));
      converted.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return converted;
}

}  // namespace quilane
