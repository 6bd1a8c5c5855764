// Scratch folders, raw file bytes, the check of a refusal and a comma-decimal
// C locale for the tests of the file units.
#ifndef QUILANE_TESTS_FILES_FILE_TEST_SUPPORT_H_
#define QUILANE_TESTS_FILES_FILE_TEST_SUPPORT_H_

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "base/expected.h"
#include "base/refusal.h"
#include "files/airfoil_file_reader.h"
#include "files/text_source.h"

namespace quilane::testing {

// A fresh folder under the system's temporary folder, removed with its contents.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("quilane-files-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every regular file of a folder (names and bytes), to show that a failed
// save left nothing behind and changed nothing.
inline std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    contents[name] = entry.is_regular_file() ? ReadBytes(entry.path()) : "<folder>";
  }
  return contents;
}

// A test with a scratch folder of its own, and files written into it.
class ScratchFileTest : public ::testing::Test {
 protected:
  // Writes `bytes` to the file `name` in the folder; returns its path.
  std::string Write(const std::string& bytes, const std::string& name = "section.dat") {
    const std::string path = folder_.File(name);
    WriteBytes(path, bytes);
    return path;
  }

  ScratchFolder folder_;
};

// What a refusal must hold besides the file it names: the code, the line
// (0 for none) and the message.
struct ExpectedRefusal {
  RefusalCode code;
  long long line;
  std::string message;
};

inline void ExpectRefusal(const Refusal& refusal, const std::string& file,
                          const ExpectedRefusal& expected) {
  EXPECT_EQ(static_cast<int>(refusal.code), static_cast<int>(expected.code)) << refusal.message;
  EXPECT_EQ(refusal.file, file);
  EXPECT_EQ(refusal.line, expected.line) << refusal.message;
  EXPECT_EQ(refusal.message, expected.message);
}

// A refusal of a reader: the message is "The airfoil file \"<file>\" " and
// the rest given in `expected`.
inline void ExpectFileRefusal(const Refusal& refusal, const std::string& file,
                              const ExpectedRefusal& expected) {
  ExpectRefusal(refusal, file,
                {expected.code, expected.line,
                 "The airfoil file \"" + file + "\" " + expected.message});
}

// The *.arf reader on the file `path`, opened as the loaders open it.
inline Expected<FileContour> ReadArfFile(const std::string& path) {
  OpenedText text;
  if (auto refused = text.Open(path)) return *refused;
  return ReadArfContour(path, text.source());
}

// Switches the C locale to one whose decimal separator is a comma, as the
// window's toolkit may do, and back to "C" at the end of the scope.
class CommaLocale {
 public:
  CommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) {
        active_ = *std::localeconv()->decimal_point == ',';
        if (active_) return;
      }
    }
    std::setlocale(LC_ALL, "C");
  }
  ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace quilane::testing

#endif  // QUILANE_TESTS_FILES_FILE_TEST_SUPPORT_H_
