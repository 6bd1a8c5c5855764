// Saving a whole text file safely: the bytes go to a temporary file beside
// the target, which is renamed into place, so that a failed save leaves an
// earlier file of that name intact and no temporary file behind. Every file
// the program writes is saved this way.
#ifndef QUILANE_FILES_FILE_SAVE_H_
#define QUILANE_FILES_FILE_SAVE_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/refusal.h"

namespace quilane {

// The two file-system steps of a save, behind an interface so that tests can
// make them fail as a full disk or a lost network share does.
class SaveFileSystem {
 public:
  virtual ~SaveFileSystem() = default;
  // Creates the file `path` and writes all of `bytes` to it, every write and
  // the close checked. Returns "" on success, else the reason ("No space left
  // on device"); a partly written file may be left, the writer removes it.
  virtual std::string WriteNewFile(const std::filesystem::path& path,
                                   std::string_view bytes) = 0;
  // Renames `from` to `to` in one step, replacing a file `to`. Returns "" or
  // the reason.
  virtual std::string ReplaceFile(const std::filesystem::path& from,
                                  const std::filesystem::path& to) = 0;
};

// The system's own file operations.
SaveFileSystem& SystemSaveFileSystem();

// Refuses (kBadFileName) a name no file can be written under: an empty name
// or one of blanks only, a name that is a folder or ends in a separator, a
// folder that does not exist, a folder path that runs through a file. `what`
// names the file in the messages ("coordinate file", "Selig file").
std::optional<Refusal> CheckFileName(const std::string& name, const char* what);

// Writes `text` to the file `name` (UTF-8, used as it stands) through a
// temporary file beside it (".<name>.tmp-<random>") renamed into place; a
// replaced file keeps its permissions. Refused before anything is written
// when CheckFileName refuses the name. A failed write or rename
// (kWriteFailed) gives a message naming the file and the reason, and leaves
// an earlier file of that name as it was.
std::optional<Refusal> WriteTextFile(const std::string& name, const std::string& text,
                                     const char* what, SaveFileSystem& fs = SystemSaveFileSystem());

// Refuses (kReplacesInput) to write `target` when it exists and is the file
// `input` (through links, "./" and the like), the input of the result about
// to be written: "The output "target" is the input file input; choose
// another output name so the input is not overwritten." A missing target,
// or an empty `input` (a generated section), passes.
std::optional<Refusal> CheckNotTheInput(const std::string& target, const std::string& input);

}  // namespace quilane

#endif  // QUILANE_FILES_FILE_SAVE_H_
