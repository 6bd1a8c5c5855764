// Hostile files given to quilane-redistribute, each in a process of its own:
// every one ends with a clear message naming the file (or, for a good file
// with a huge tail, with the result), in bounded time (a process that still
// runs after a minute is killed and fails the test) and in bounded memory
// (its peak resident size stays within a margin of what a small sample
// needs, so no file is slurped). The one file that must be read to its end
// is read by the reader itself, whose peak is measured in this process. The
// large files are made here and removed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/coordinate_file.h"
#include "files/number_text.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

constexpr auto kTimeLimit = std::chrono::seconds(60);
// Peak memory a hostile file may add to what a small sample needs.
constexpr long kMarginKilobytes = 32 * 1024;

struct Outcome {
  int exit_code = -1;  // -1: killed or crashed
  std::string errors;  // standard error
  long peak_kilobytes = 0;
  bool timed_out = false;
};

// Runs the tool on `input` with the result going to standard output (thrown
// away) and reports how it ended.
Outcome RunTool(const fs::path& scratch, const std::string& input) {
  const fs::path errors = scratch / "errors.txt";
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execl(QUILANE_REDISTRIBUTE, QUILANE_REDISTRIBUTE, "--", input.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  Outcome outcome;
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  int status = 0;
  rusage usage{};
  while (::wait4(child, &status, WNOHANG, &usage) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      outcome.timed_out = true;
      ::kill(child, SIGKILL);
      ::wait4(child, &status, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status)) outcome.exit_code = WEXITSTATUS(status);
  outcome.peak_kilobytes = usage.ru_maxrss;
  std::ifstream in(errors, std::ios::binary);
  outcome.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return outcome;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(),
                                              static_cast<std::streamsize>(bytes.size()));
}

// `head`, then `size` bytes of `fill`, written a megabyte at a time.
void WriteLarge(const fs::path& path, const std::string& head, std::size_t size, char fill) {
  std::ofstream out(path, std::ios::binary);
  out << head;
  const std::string chunk(1 << 20, fill);
  for (std::size_t left = size; left > 0;) {
    const std::size_t n = std::min(left, chunk.size());
    out.write(chunk.data(), static_cast<std::streamsize>(n));
    left -= n;
  }
}

const std::string kDiamond =
    "Diamond\n5\n  1  1  0\n  2  0.5  -0.05\n  3  0  0\n  4  0.5  0.05\n  5  1  0\n";
const std::string kHead = "Diamond\n5\n1 1 0\n2 0.5 -0.05\n";

class HostileFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() /
               ("quilane-hostile-" + FormatWhole(static_cast<long long>(std::random_device{}())));
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }
  std::string File(const std::string& name) const { return (scratch_ / name).string(); }

  fs::path scratch_;
};

struct HostileCase {
  const char* name;
  std::string path;
  int exit_code;
  std::vector<std::string> message_parts;  // each must appear on standard error
};

TEST_F(HostileFilesTest, RefusedInBoundedTimeAndMemory) {
  const std::size_t megabyte = 1 << 20;
  WriteBytes(File("sample.arf"), kDiamond);
  // Two hundred megabytes of lines that are no coordinate file.
  WriteLarge(File("junk.arf"), "Junk\n", 200 * megabyte, 'x');
  // A good file followed by two hundred megabytes it never needs to read:
  // zeros of a sparse tail, which would be refused as NUL bytes if read.
  WriteBytes(File("long_tail.arf"), kDiamond);
  fs::resize_file(File("long_tail.arf"), kDiamond.size() + 200 * megabyte);
  WriteLarge(File("long_line.arf"), "Long\n", 50 * megabyte, '7');
  WriteLarge(File("long_title.arf"), "", 50 * megabyte, 't');
  WriteBytes(File("nul.arf"), std::string("Diamond\n5\n1 1\0 0\n", 17));
  WriteBytes(File("count_1e12.arf"), "Diamond\n1000000000000\n" + kDiamond.substr(10));
  WriteBytes(File("count_1e3.arf"), "Diamond\n1e3\n" + kDiamond.substr(10));
  WriteBytes(File("huge_number.arf"), kHead + "3 1e400 0\n");
  WriteBytes(File("nan.arf"), kHead + "3 nan 0\n");
  std::string utf16 = "\xFF\xFE";
  for (const char c : kDiamond) utf16 += std::string{c, '\0'};
  WriteBytes(File("utf16.arf"), utf16);
  fs::create_directory(File("folder.arf"));
  ASSERT_EQ(::mkfifo(File("pipe.arf").c_str(), 0600), 0);

  const HostileCase cases[] = {
      {"two_hundred_megabytes_of_junk", File("junk.arf"), 1,
       {"more than 400 characters", "line 2"}},
      {"two_hundred_megabytes_after_a_good_file", File("long_tail.arf"), 0, {}},
      {"fifty_megabyte_line", File("long_line.arf"), 1,
       {"more than 400 characters", "point count"}},
      {"fifty_megabyte_title", File("long_title.arf"), 1, {"title longer than 1000"}},
      {"nul_bytes", File("nul.arf"), 1, {"NUL byte", "line 3"}},
      {"count_of_ten_to_the_twelve", File("count_1e12.arf"), 1, {"\"1000000000000\"", "2 to 1000"}},
      {"count_with_exponent", File("count_1e3.arf"), 1, {"\"1e3\"", "plain digits"}},
      {"number_beyond_the_largest_double", File("huge_number.arf"), 1,
       {"\"1e400\"", "not a finite number", "record 3 of 5"}},
      {"nan", File("nan.arf"), 1, {"\"nan\"", "not a finite number"}},
      {"utf16", File("utf16.arf"), 1, {"UTF-16"}},
      {"folder", File("folder.arf"), 1, {"is a folder"}},
      {"named_pipe", File("pipe.arf"), 1, {"is a named pipe, not a regular file"}},
      {"endless_device", "/dev/urandom", 1, {"is a device, not a regular file"}},
  };

  const Outcome sample = RunTool(scratch_, File("sample.arf"));
  ASSERT_EQ(sample.exit_code, 0) << sample.errors;
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = RunTool(scratch_, c.path);
    ASSERT_FALSE(outcome.timed_out) << "still running after a minute";
    EXPECT_EQ(outcome.exit_code, c.exit_code) << outcome.errors;
    EXPECT_LE(outcome.peak_kilobytes, sample.peak_kilobytes + kMarginKilobytes)
        << "peak " << outcome.peak_kilobytes << " kB against " << sample.peak_kilobytes
        << " kB for a small sample";
    if (c.exit_code != 0) {
      EXPECT_NE(outcome.errors.find("\"" + c.path + "\""), std::string::npos) << outcome.errors;
    }
    for (const std::string& part : c.message_parts) {
      EXPECT_NE(outcome.errors.find(part), std::string::npos)
          << "missing \"" << part << "\" in: " << outcome.errors;
    }
  }
}

long PeakKilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Two hundred megabytes of line ends where the count should stand: the reader
// has to pass through all of them, a chunk at a time.
TEST_F(HostileFilesTest, ReadsTwoHundredMegabytesToTheEndInBoundedMemory) {
  const std::string path = File("line_ends.arf");
  WriteLarge(path, "Long\n", std::size_t{200} << 20, '\n');
  const long peak_before = PeakKilobytes();
  const Expected<LoadedFile> result = LoadArfFile(path);
  EXPECT_LE(PeakKilobytes(), peak_before + kMarginKilobytes);
  ASSERT_FALSE(result);
  EXPECT_NE(result.error().message.find("\"" + path +
                                        "\" ends at line 209715201 before the point count"),
            std::string::npos)
      << result.error().message;
}

}  // namespace
}  // namespace quilane
