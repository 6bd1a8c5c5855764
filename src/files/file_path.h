// File names as the program holds them (UTF-8 text) and as the file system
// takes them, so that names outside ASCII pass unchanged on every platform.
#ifndef QUILANE_FILES_FILE_PATH_H_
#define QUILANE_FILES_FILE_PATH_H_

#include <filesystem>
#include <string>

namespace quilane {

// A path from UTF-8 text.
std::filesystem::path PathFromUtf8(const std::string& text);

// The UTF-8 text of a path.
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace quilane

#endif  // QUILANE_FILES_FILE_PATH_H_
