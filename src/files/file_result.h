// Outcome of reading or writing a file: a refusal is a value with a message
// for the person, naming the file (and the line, for a malformed file).
#ifndef QUILANE_FILES_FILE_RESULT_H_
#define QUILANE_FILES_FILE_RESULT_H_

#include <string>

namespace quilane {

struct FileResult {
  bool ok = true;
  std::string message;  // empty when ok

  static FileResult Success() { return {}; }
  static FileResult Failure(std::string text) { return {false, std::move(text)}; }
};

}  // namespace quilane

#endif  // QUILANE_FILES_FILE_RESULT_H_
