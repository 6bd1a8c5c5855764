// Fields and lines of coordinate files, shared by their readers: blanks,
// trimming, splitting a line into fields, reading one bounded line, showing a
// field in a message and the opening words of every refusal of a file.
#ifndef QUILANE_FILES_FIELD_TEXT_H_
#define QUILANE_FILES_FIELD_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/refusal.h"

namespace quilane {

class TextSource;

// Longest number accepted, in characters: keeps the time spent on a file
// that is not a coordinate file small.
inline constexpr std::size_t kMaxFieldCharacters = 400;

inline bool IsBlank(int c) { return c == ' ' || c == '\t'; }

// `text` without blanks and tabs at either end.
std::string_view Trimmed(std::string_view text);

// The fields of a line: runs of characters between blanks, tabs and commas.
std::vector<std::string_view> Fields(std::string_view line);

// A field as shown in a message: quoted, long ones cut at a character
// boundary after 40 bytes and marked "...".
std::string Shown(std::string_view field);

// "The airfoil file \"<path>\"", the subject of every refusal of a file.
std::string AirfoilFileNamed(const std::string& path);

// A refusal of the file `path` at `line` (0 for none): the message is
// AirfoilFileNamed(path), a blank and `what`.
Refusal RefuseFile(RefusalCode code, const std::string& path, long long line,
                   const std::string& what);

// The rest of the refusal of a file that begins with a UTF-16 byte-order mark.
inline constexpr const char* kUtf16Refusal =
    "is UTF-16 text (it starts with a UTF-16 byte-order mark, line 1); save it as plain text "
    "(UTF-8 or ASCII) and choose it again.";

enum class LineStatus { kLine, kEnd, kTooLong };

// Takes one line, without its end, into `line`; kEnd when nothing is left.
// A line of more than `max_characters` characters gives kTooLong: it is taken
// to its end, only its first characters kept. Padding at the very end of the
// file (NUL bytes, 0x1A marks: TextSource::TakePaddingAtEnd) ends the text;
// a NUL anywhere else ends it too, and SourceFault tells.
LineStatus ReadLine(TextSource& source, std::string& line, std::size_t max_characters);

// `text` as UTF-8: unchanged when it is valid UTF-8, otherwise read as
// Latin-1 (every byte one character), the usual encoding of older files.
std::string Utf8Text(std::string_view text);

}  // namespace quilane

#endif  // QUILANE_FILES_FIELD_TEXT_H_
