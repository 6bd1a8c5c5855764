// quilane-make-samples FOLDER
//
// Writes the sample coordinate files shipped in samples/ into FOLDER: NACA
// sections from the 4-digit generator, in the layout the program writes its
// own results in (title, count, one "  i  x  y" line per point, CR LF).
// Exit status 0 when every file was written, 1 otherwise.
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "files/result_file_writer.h"
#include "sections/naca_section.h"

namespace {

struct Sample {
  const char* file_name;
  const char* digits;
  int point_count;
  quilane::TrailingEdge trailing_edge;
};

constexpr std::array<Sample, 4> kSamples = {{
    {"naca0012.arf", "0012", 61, quilane::TrailingEdge::kSharp},
    {"naca2412.arf", "2412", 81, quilane::TrailingEdge::kSharp},
    {"naca4412.arf", "4412", 101, quilane::TrailingEdge::kSharp},
    {"naca0015_blunt.arf", "0015", 61, quilane::TrailingEdge::kBlunt},
}};

// The file text of one sample, or an empty string with message set.
std::string SampleText(const Sample& sample, std::string& message) {
  const quilane::Expected<quilane::AirfoilSection> section =
      quilane::Naca4Section(sample.digits, sample.point_count, sample.trailing_edge);
  if (!section) {
    message = section.error().message;
    return {};
  }
  return quilane::ResultFileText(
      section->name, {static_cast<double>(section->x.size()), section->x, section->y});
}

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: quilane-make-samples FOLDER\n";
    return 1;
  }
  const std::filesystem::path folder = argv[1];
  bool all_written = true;
  for (const Sample& sample : kSamples) {
    const std::filesystem::path path = folder / sample.file_name;
    std::string message;
    const std::string text = SampleText(sample, message);
    if (text.empty()) {
      std::cerr << sample.file_name << ": " << message << "\n";
      all_written = false;
    } else if (!WriteFile(path, text)) {
      std::cerr << path.string() << ": cannot be written\n";
      all_written = false;
    }
  }
  return all_written ? 0 : 1;
}
