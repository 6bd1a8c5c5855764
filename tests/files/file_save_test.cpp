#include "files/file_save.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "file_test_support.h"

namespace quilane {
namespace {

using testing::FolderContents;
using testing::WriteBytes;

class FileSaveTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return folder_.File(name); }

  testing::ScratchFolder folder_;
};

// A refused save writes nothing and leaves every earlier file as it was.
TEST_F(FileSaveTest, RefusesNamesThatCannotBeWrittenChangingNoFile) {
  std::filesystem::create_directory(folder_.path() / "sub");
  WriteBytes(File("keep.arf"), "old coordinates\r\n");
  const std::string named = "The coordinate file \"";
  const std::string long_name = File(std::string(300, 'n') + ".arf");
  const struct {
    const char* name;
    std::string target;
    RefusalCode code;
    std::string message;
  } cases[] = {
      {"empty_name", "", RefusalCode::kBadFileName,
       "No name was given for the coordinate file; type a file name in the save box."},
      {"blanks_only", " \t ", RefusalCode::kBadFileName,
       "No name was given for the coordinate file; type a file name in the save box."},
      {"an_existing_folder", File("sub"), RefusalCode::kBadFileName,
       named + File("sub") + "\" is an existing folder; type a file name, not a folder name."},
      {"ends_in_a_separator", File("missing/"), RefusalCode::kBadFileName,
       named + File("missing/") + "\" names a folder, not a file; type a file name after the "
                                  "folder."},
      {"folder_does_not_exist", File("missing/keep.arf"), RefusalCode::kBadFileName,
       named + File("missing/keep.arf") + "\" cannot be written: the folder \"" +
           File("missing") + "\" does not exist; choose an existing folder."},
      {"folder_is_a_file", File("keep.arf/x.arf"), RefusalCode::kBadFileName,
       named + File("keep.arf/x.arf") + "\" cannot be written: \"" + File("keep.arf") +
           "\" is a file, not a folder; choose an existing folder."},
      {"path_runs_through_a_file", File("keep.arf/sub/x.arf"), RefusalCode::kBadFileName,
       named + File("keep.arf/sub/x.arf") + "\" cannot be written: the path to the folder \"" +
           File("keep.arf/sub") + "\" runs through a file, not a folder; choose an existing "
                                  "folder."},
      {"name_too_long_for_the_file_system", long_name, RefusalCode::kWriteFailed,
       named + long_name + "\" could not be written (File name too long); the earlier file of "
                           "that name, if any, is unchanged; choose another name or folder."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = FolderContents(folder_.path());
    const std::optional<Refusal> refused = WriteTextFile(c.target, "new\r\n", "coordinate file");
    ASSERT_TRUE(refused);
    testing::ExpectRefusal(*refused, c.target, {c.code, 0, c.message});
    EXPECT_EQ(FolderContents(folder_.path()), before);
  }
}

// The temporary file's name is cut so that a name at the file system's
// limit still leaves room for it.
TEST_F(FileSaveTest, WritesANameAtTheLengthLimit) {
  const std::string name = File(std::string(255, 'n'));
  EXPECT_FALSE(WriteTextFile(name, "text", "camber file"));
  EXPECT_EQ(testing::ReadBytes(name), "text");
  EXPECT_EQ(FolderContents(folder_.path()).size(), 1u);
}

// The system's file operations, except that the n-th write or rename fails as
// on a full disk or a lost share; a failing write leaves half of its bytes.
class FailingFileSystem : public SaveFileSystem {
 public:
  FailingFileSystem(int failing_write, int failing_rename)
      : failing_write_(failing_write), failing_rename_(failing_rename) {}

  std::string WriteNewFile(const std::filesystem::path& path, std::string_view bytes) override {
    if (++writes_ != failing_write_) return SystemSaveFileSystem().WriteNewFile(path, bytes);
    SystemSaveFileSystem().WriteNewFile(path, bytes.substr(0, bytes.size() / 2));
    return "No space left on device";
  }
  std::string ReplaceFile(const std::filesystem::path& from,
                          const std::filesystem::path& to) override {
    if (++renames_ != failing_rename_) return SystemSaveFileSystem().ReplaceFile(from, to);
    return "Input/output error";
  }

 private:
  int failing_write_;
  int failing_rename_;
  int writes_ = 0;
  int renames_ = 0;
};

// A disk that fails midway: the file is named with the reason, its earlier
// version stays byte for byte, and no temporary file is left.
TEST_F(FileSaveTest, AFailingDiskKeepsTheEarlierFile) {
  const std::string name = File("keep.arf");
  const struct {
    const char* name;
    int failing_write;
    int failing_rename;
    std::string reason;
  } cases[] = {
      {"disk_full", 1, 0, "No space left on device"},
      {"rename_fails", 0, 1, "Input/output error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(name, "old coordinates\r\n");
    FailingFileSystem disk(c.failing_write, c.failing_rename);
    const std::optional<Refusal> refused = WriteTextFile(name, "new\r\n", "camber file", disk);
    ASSERT_TRUE(refused);
    testing::ExpectRefusal(*refused, name,
                           {RefusalCode::kWriteFailed, 0,
                            "The camber file \"" + name + "\" could not be written (" + c.reason +
                                "); the earlier file of that name, if any, is unchanged; "
                                "choose another name or folder."});
    EXPECT_EQ(testing::ReadBytes(name), "old coordinates\r\n");
    EXPECT_EQ(FolderContents(folder_.path()).size(), 1u);
  }
}

// A 64 KiB tmpfs mounted for the scope, so that a real disk fills up. Only
// root (or a holder of the mount capability) may mount it.
class SmallDisk {
 public:
  explicit SmallDisk(const std::filesystem::path& at) : at_(at) {
    std::filesystem::create_directory(at_);
    mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, "size=64k") == 0;
    if (!mounted_) reason_ = std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& reason() const { return reason_; }

  // Fills the disk with 4 KiB files until no page is left; returns how many fit.
  int Fill() {
    const std::string page(4096, 'f');
    for (int i = 0;; ++i) {
      const std::filesystem::path filler = at_ / ("filler-" + std::to_string(i));
      std::ofstream out(filler, std::ios::binary);
      out.write(page.data(), static_cast<std::streamsize>(page.size()));
      out.close();
      if (!out) {
        std::filesystem::remove(filler);
        return i;
      }
    }
  }

 private:
  std::filesystem::path at_;
  bool mounted_ = false;
  std::string reason_;
};

// The system's own writing notices a full disk.
TEST_F(FileSaveTest, AFullDiskKeepsTheEarlierFile) {
  const std::filesystem::path at = folder_.path() / "small";
  SmallDisk disk(at);
  if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs is not permitted: " << disk.reason();
  const std::string name = (at / "keep.arf").string();
  WriteBytes(name, "old coordinates\r\n");
  ASSERT_GT(disk.Fill(), 0);
  const auto full = FolderContents(at);
  const std::optional<Refusal> refused = WriteTextFile(name, "new\r\n", "coordinate file");
  ASSERT_TRUE(refused);
  EXPECT_EQ(static_cast<int>(refused->code), static_cast<int>(RefusalCode::kWriteFailed));
  EXPECT_NE(refused->message.find(std::strerror(ENOSPC)), std::string::npos) << refused->message;
  EXPECT_EQ(FolderContents(at), full);
}

// The input is recognised by any name that reaches it.
TEST_F(FileSaveTest, CheckNotTheInputRefusesTheInputByAnyName) {
  WriteBytes(File("diamond.arf"), "Diamond\n");
  WriteBytes(File("other.arf"), "Diamond\n");
  std::filesystem::create_symlink("diamond.arf", File("link.arf"));
  std::filesystem::create_hard_link(File("diamond.arf"), File("hard.arf"));
  std::filesystem::create_directory(folder_.path() / "sub");
  std::filesystem::create_symlink("../diamond.arf", File("sub/up.arf"));
  const std::string input = File("diamond.arf");
  const struct {
    const char* name;
    std::string target;
    std::string input;
    bool refused;
  } cases[] = {
      {"the_same_name", input, input, true},
      {"dot_slash", folder_.path().string() + "/./diamond.arf", input, true},
      {"parent_folder", File("sub/../diamond.arf"), input, true},
      {"output_a_link_to_the_input", File("link.arf"), input, true},
      {"input_a_link_to_the_output", input, File("link.arf"), true},
      {"link_in_another_folder", File("sub/up.arf"), input, true},
      {"hard_link", File("hard.arf"), input, true},
      {"another_file", File("other.arf"), input, false},
      {"a_new_file", File("new.arf"), input, false},
      {"a_generated_section", input, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<Refusal> refused = CheckNotTheInput(c.target, c.input);
    ASSERT_EQ(refused.has_value(), c.refused);
    if (!refused) continue;
    testing::ExpectRefusal(*refused, c.target,
                           {RefusalCode::kReplacesInput, 0,
                            "The output \"" + c.target + "\" is the input file " + c.input +
                                "; choose another output name so the input is not "
                                "overwritten."});
  }
}

}  // namespace
}  // namespace quilane
