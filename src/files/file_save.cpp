#include "files/file_save.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "files/file_path.h"

namespace quilane {
namespace {

// "The coordinate file "name"", as the messages about a file begin.
std::string Named(const char* what, const std::string& name) {
  return std::string("The ") + what + " \"" + name + "\"";
}

std::string ErrnoText(int error, const char* fallback) {
  return error != 0 ? std::generic_category().message(error) : std::string(fallback);
}

// Name of a temporary file beside `target`: ".<name>.tmp-<16 hex digits>",
// with the name cut to its first 32 characters so that a target name near the
// file system's length limit still leaves room.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  constexpr std::size_t kNameCharacters = 32;
  std::u8string stem = target.filename().u8string();
  std::size_t characters = 0;
  for (std::size_t i = 0; i < stem.size(); ++i) {
    if ((stem[i] & 0xC0) != 0x80 && ++characters > kNameCharacters) {
      stem.resize(i);
      break;
    }
  }
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::filesystem::path candidate;
  std::error_code error;
  do {
    const std::uint64_t draw = generator();
    std::string hex(16, '0');
    for (int i = 15, shift = 0; i >= 0; --i, shift += 4) {
      hex[static_cast<std::size_t>(i)] = "0123456789abcdef"[(draw >> shift) & 0xF];
    }
    std::u8string name = u8".";
    name += stem;
    name += u8".tmp-";
    name += std::u8string(hex.begin(), hex.end());
    candidate = target.parent_path() / name;
  } while (std::filesystem::exists(candidate, error));
  return candidate;
}

class SystemFiles : public SaveFileSystem {
 public:
  std::string WriteNewFile(const std::filesystem::path& path, std::string_view bytes) override {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return ErrnoText(errno, "the file cannot be created");
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) return ErrnoText(errno, "writing failed");
    errno = 0;
    out.close();
    if (out.fail()) return ErrnoText(errno, "closing the file failed");
    return "";
  }

  std::string ReplaceFile(const std::filesystem::path& from,
                          const std::filesystem::path& to) override {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return error ? error.message() : "";
  }
};

}  // namespace

SaveFileSystem& SystemSaveFileSystem() {
  static SystemFiles files;
  return files;
}

std::optional<Refusal> CheckFileName(const std::string& name, const char* what) {
  const std::string named = Named(what, name);
  const auto refuse = [&name](RefusalCode code, const std::string& message) {
    return FileRefusal(code, name, 0, message);
  };
  // A name of blanks only is no name either: it would make files nobody can
  // tell apart in a listing.
  if (name.find_first_not_of(" \t") == std::string::npos) {
    return refuse(RefusalCode::kBadFileName, std::string("No name was given for the ") + what +
                                                 "; type a file name in the save box.");
  }
  const std::filesystem::path target = PathFromUtf8(name);
  std::error_code error;
  if (std::filesystem::is_directory(target, error)) {
    return refuse(RefusalCode::kBadFileName,
                  named + " is an existing folder; type a file name, not a folder name.");
  }
  if (!target.has_filename()) {
    return refuse(RefusalCode::kBadFileName,
                  named + " names a folder, not a file; type a file name after the folder.");
  }
  const std::filesystem::path folder = target.parent_path();
  if (!folder.empty()) {
    error.clear();
    const bool folder_there = std::filesystem::is_directory(folder, error);
    const std::error_code folder_error = error;
    if (!folder_there && std::filesystem::exists(folder, error)) {
      return refuse(RefusalCode::kBadFileName,
                    named + " cannot be written: \"" + Utf8FromPath(folder) +
                        "\" is a file, not a folder; choose an existing folder.");
    }
    if (!folder_there && folder_error == std::errc::not_a_directory) {
      return refuse(RefusalCode::kBadFileName,
                    named + " cannot be written: the path to the folder \"" + Utf8FromPath(folder) +
                        "\" runs through a file, not a folder; choose an existing folder.");
    }
    if (!folder_there) {
      const std::string reason =
          folder_error && folder_error != std::errc::no_such_file_or_directory
              ? " (" + folder_error.message() + ")"
              : "";
      return refuse(RefusalCode::kBadFileName, named + " cannot be written: the folder \"" +
                                                   Utf8FromPath(folder) + "\" does not exist" +
                                                   reason + "; choose an existing folder.");
    }
  }
  return std::nullopt;
}

std::optional<Refusal> WriteTextFile(const std::string& name, const std::string& text,
                                     const char* what, SaveFileSystem& fs) {
  if (auto refused = CheckFileName(name, what)) return refused;
  const std::filesystem::path target = PathFromUtf8(name);
  const std::filesystem::path temporary = TemporaryBeside(target);
  auto fail = [&](const std::string& reason) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return FileRefusal(RefusalCode::kWriteFailed, name, 0,
                       Named(what, name) + " could not be written (" + reason +
                           "); the earlier file of that name, if any, is unchanged; choose "
                           "another name or folder.");
  };
  if (const std::string reason = fs.WriteNewFile(temporary, text); !reason.empty()) {
    return fail(reason);
  }
  // A replaced file keeps its permissions.
  std::error_code error;
  const auto old_status = std::filesystem::status(target, error);
  if (!error && std::filesystem::exists(old_status)) {
    std::filesystem::permissions(temporary, old_status.permissions(), error);
  }
  if (const std::string reason = fs.ReplaceFile(temporary, target); !reason.empty()) {
    return fail(reason);
  }
  return std::nullopt;
}

std::optional<Refusal> CheckNotTheInput(const std::string& target, const std::string& input) {
  if (input.empty()) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::equivalent(PathFromUtf8(target), PathFromUtf8(input), error)) {
    return std::nullopt;
  }
  return FileRefusal(RefusalCode::kReplacesInput, target, 0,
                     "The output \"" + target + "\" is the input file " + input +
                         "; choose another output name so the input is not overwritten.");
}

}  // namespace quilane
