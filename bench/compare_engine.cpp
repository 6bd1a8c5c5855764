// quilane_compare_engine: our side of bench/compare.py, and a digest of every
// result for proving that a change to the engine left all of them unchanged.
//
//   quilane_compare_engine contour N FILE [DIGITS]
//       writes the NACA section DIGITS (4412 unless given) of N points to
//       FILE, every digit kept.
//   quilane_compare_engine run FILE NI REPEATS
//       loads FILE as the tool does and runs the calculation along the chord
//       with linear interpolation (Lagrange, nPoly = 1) into NI new points,
//       REPEATS times per timed batch, over 15 batches; prints the median time
//       of one run in nanoseconds ("run_ns <t>"), then the new points and the
//       camber line, one "<x> <y>" line each with 17 significant digits.
//   quilane_compare_engine digest
//       runs every route and method (Lagrange nPoly 0, 1, 3, 7; piecewise
//       cubic) at N = 61, 251, 1000 and NI = 51, 501, 999 and prints one line
//       per run with a hash of the bits of XI, YI, XCamber and YCamber.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_contours.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"

namespace quilane::bench {
namespace {

std::string Digits17(double value) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
  return std::string(buffer, result.ptr);
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int ParseInt(const char* text) {
  int value = 0;
  const char* end = text + std::strlen(text);
  const auto result = std::from_chars(text, end, value);
  return result.ec == std::errc() && result.ptr == end ? value : -1;
}

int WriteContour(int points, const char* file, const char* digits) {
  const std::string text = SectionFileText(points, digits);
  if (text.empty() || !WriteText(file, text)) {
    std::fprintf(stderr, "cannot write the section of %d points to %s\n", points, file);
    return 1;
  }
  return 0;
}

int TimeRun(const char* file, int ni, int repeats) {
  const Expected<LoadedFile> loaded = LoadCoordinateFile(file);
  if (!loaded) {
    std::fprintf(stderr, "%s\n", loaded.error().message.c_str());
    return 1;
  }
  const Section& section = loaded->section;
  const RedistributeSettings settings = SettingsOf(ni, false, true, 1);
  Expected<RedistributeResult> outcome = Redistribute(section, settings);
  if (!outcome) {
    std::fprintf(stderr, "run refused: %s\n", outcome.error().message.c_str());
    return 1;
  }
  std::vector<double> batches;
  for (int batch = 0; batch < 15; ++batch) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < repeats; ++r) outcome = Redistribute(section, settings);
    const auto stop = std::chrono::steady_clock::now();
    batches.push_back(std::chrono::duration<double, std::nano>(stop - start).count() / repeats);
  }
  std::sort(batches.begin(), batches.end());
  Print("run_ns " + Digits17(batches[batches.size() / 2]) + "\n");
  const RedistributeResult& result = *outcome;
  for (std::size_t i = 0; i < result.x.size(); ++i) {
    Print(Digits17(result.x[i]) + " " + Digits17(result.y[i]) + "\n");
  }
  Print("camber\n");
  for (std::size_t i = 0; i < result.camber_x.size(); ++i) {
    Print(Digits17(result.camber_x[i]) + " " + Digits17(result.camber_y[i]) + "\n");
  }
  return 0;
}

// FNV-1a over the bits of the values.
std::uint64_t Hash(std::uint64_t hash, const std::vector<double>& values) {
  for (const double value : values) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int byte = 0; byte < 8; ++byte) {
      hash ^= (bits >> (8 * byte)) & 0xff;
      hash *= 1099511628211ULL;
    }
  }
  return hash;
}

int Digest() {
  ScratchFolder scratch;
  for (int n : {61, 251, 1000}) {
    const std::optional<Section> section = LoadedSection(scratch.path(), n);
    if (!section) {
      std::fprintf(stderr, "cannot load the section of %d points\n", n);
      return 1;
    }
    for (int ni : {51, 501, 999}) {
      for (bool mapping : {false, true}) {
        for (int npoly : {0, 1, 3, 7, -1}) {
          const Expected<RedistributeResult> outcome = Redistribute(
              *section, SettingsOf(ni, mapping, npoly >= 0, std::max(npoly, 0)));
          const bool done = outcome.has_value();
          std::uint64_t hash = 14695981039346656037ULL;
          if (done) {
            hash = Hash(hash, outcome->x);
            hash = Hash(hash, outcome->y);
            hash = Hash(hash, outcome->camber_x);
            hash = Hash(hash, outcome->camber_y);
          }
          char line[160];
          std::snprintf(line, sizeof line, "N %4d NI %3d %-11s %-9s %s %016llx\n", n, ni,
                        mapping ? "mapping" : "along-chord",
                        npoly >= 0 ? ("nPoly " + std::to_string(npoly)).c_str() : "PW cubic",
                        done ? "done" : "refused", static_cast<unsigned long long>(hash));
          Print(line);
        }
      }
    }
  }
  return 0;
}

}  // namespace
}  // namespace quilane::bench

int main(int argc, char** argv) {
  using namespace quilane::bench;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "contour" && (argc == 4 || argc == 5) && ParseInt(argv[2]) > 0) {
    return WriteContour(ParseInt(argv[2]), argv[3], argc == 5 ? argv[4] : kSectionDigits);
  }
  if (mode == "run" && argc == 5 && ParseInt(argv[3]) > 0 && ParseInt(argv[4]) > 0) {
    return TimeRun(argv[2], ParseInt(argv[3]), ParseInt(argv[4]));
  }
  if (mode == "digest" && argc == 2) return Digest();
  std::fprintf(stderr,
               "usage: quilane_compare_engine contour N FILE [DIGITS]\n"
               "       quilane_compare_engine run FILE NI REPEATS\n"
               "       quilane_compare_engine digest\n");
  return 2;
}
