// Running a command-line program of the project as a separate process, in a
// scratch folder of its own, as a person or a script would.
#ifndef QUILANE_TESTS_APP_TOOL_RUN_H_
#define QUILANE_TESTS_APP_TOOL_RUN_H_

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace quilane::testing_tools {

struct ToolRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder per test, removed afterwards; Run starts `program` there
// with `arguments` as a shell would split them.
class ToolTest : public ::testing::Test {
 protected:
  ToolTest(std::string program, std::string folder_prefix)
      : program_(std::move(program)), folder_prefix_(std::move(folder_prefix)) {}

  void SetUp() override {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() /
           (folder_prefix_ + std::to_string(random()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  ToolRun Run(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && '" + program_ + "' " + arguments +
                                " > stdout.txt 2> stderr.txt";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadWhole(dir_ / "stdout.txt");
    run.err = ReadWhole(dir_ / "stderr.txt");
    return run;
  }

  std::filesystem::path dir_;

 private:
  std::string program_;
  std::string folder_prefix_;
};

}  // namespace quilane::testing_tools

#endif  // QUILANE_TESTS_APP_TOOL_RUN_H_
