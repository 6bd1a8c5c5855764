#include "files/coordinate_file.h"

#include <cstddef>
#include <iterator>
#include <string>

#include "files/airfoil_file_reader.h"
#include "files/dat_file_reader.h"
#include "files/field_text.h"
#include "files/file_contour.h"
#include "files/number_text.h"
#include "files/text_source.h"

namespace quilane {
namespace {

// One format the program reads.
struct CoordinateFormatRow {
  const char* name;
  // Whether the text of `source` (at its start) looks like this format.
  bool (*detect)(TextSource& source);
  // Reads the file `path` from `source` (at its start) into a contour, or
  // refuses it in this format's own terms.
  Expected<FileContour> (*read)(const std::string& path, TextSource& source);
};

template <DatLayout kLayout>
bool HasDatLayout(TextSource& source) {
  return DetectDatLayout(source) == kLayout;
}

// Any text but a .dat file with a point count line, whose "x y" lines the
// *.arf reader would take three numbers at a time.
bool MayBeArf(TextSource& source) { return !HasPointCountLine(source); }

// Tried in this order; the last row takes whatever the others do not.
constexpr CoordinateFormatRow kFormats[] = {
    {"ISES", HasDatLayout<DatLayout::kIses>, ReadDatFileContour},
    {"Lednicer", HasDatLayout<DatLayout::kLednicer>, ReadDatFileContour},
    {"Selig", HasDatLayout<DatLayout::kSelig>, ReadDatFileContour},
    {"arf", MayBeArf, ReadArfContour},
};

const CoordinateFormatRow& DetectRow(TextSource& source) {
  for (const CoordinateFormatRow& row : kFormats) {
    source.Rewind();
    if (row.detect(source)) return row;
  }
  return kFormats[std::size(kFormats) - 1];
}

// Reads the file as `row` reads it and makes its section, with what the
// reader saw.
Expected<LoadedFile> LoadAs(const std::string& path, const CoordinateFormatRow& row,
                            TextSource& source) {
  source.Rewind();
  Expected<FileContour> read = row.read(path, source);
  if (!read) return std::move(read.error());
  FileContour& contour = *read;
  const ContourOrigin origin{
      AirfoilFileNamed(path),
      "lines " + FormatWhole(contour.first_line) + " to " + FormatWhole(contour.last_line), path,
      contour.first_line};
  Expected<Section> section =
      MakeSection(std::move(contour.title), std::move(contour.points), origin);
  if (!section) return std::move(section.error());
  LoadSummary summary;
  summary.format = contour.format;
  summary.points = static_cast<int>(section->contour.x.size());
  summary.nose_index = section->nose;
  summary.trailing_edge_gap = TrailingEdgeGap(*section);
  summary.header_lines = contour.header_lines;
  summary.ignored_lines = contour.ignored_lines;
  summary.dropped_points = contour.dropped;
  summary.reversed = contour.reversed;
  summary.unnamed = contour.unnamed;
  return LoadedFile{path, std::move(*section), std::move(summary)};
}

// The text of the file `path` told by its content and read: its format is
// told from the start of the text, and the reader (and, if it refuses,
// another) reads the same text again, from memory while it fits in one chunk.
Expected<LoadedFile> LoadText(const std::string& path, TextSource& source) {
  const CoordinateFormatRow& detected = DetectRow(source);
  Expected<LoadedFile> loaded = LoadAs(path, detected, source);
  // Each other reader once (rows may share one), for a file its row's test
  // does not rule out.
  for (std::size_t k = 0; k < std::size(kFormats) && !loaded; ++k) {
    const CoordinateFormatRow& other = kFormats[k];
    bool tried = other.read == detected.read;
    for (std::size_t j = 0; j < k; ++j) tried = tried || kFormats[j].read == other.read;
    if (tried) continue;
    source.Rewind();
    if (!other.detect(source)) continue;
    if (Expected<LoadedFile> again = LoadAs(path, other, source)) loaded = std::move(again);
  }
  return loaded;
}

}  // namespace

std::string DetectCoordinateFormat(const std::string& path) {
  OpenedText text;
  if (text.Open(path)) return kFormats[std::size(kFormats) - 1].name;
  return DetectRow(text.source()).name;
}

Expected<LoadedFile> LoadCoordinateFile(const std::string& path) {
  OpenedText text;  // the file is opened once
  if (auto refused = text.Open(path)) return *std::move(refused);
  return LoadText(path, text.source());
}

Expected<LoadedFile> LoadCoordinateText(const std::string& name, std::string bytes) {
  OpenedText text;
  text.Hold(std::move(bytes));
  return LoadText(name, text.source());
}

Expected<LoadedFile> LoadArfFile(const std::string& path) {
  OpenedText text;
  if (auto refused = text.Open(path)) return *std::move(refused);
  return LoadAs(path, kFormats[std::size(kFormats) - 1], text.source());
}

std::string DescribeLoad(const LoadSummary& summary) {
  const auto counted = [](int count, const char* one, const char* many) {
    return FormatWhole(count) + " " + (count == 1 ? one : many);
  };
  std::string text = summary.format + ", " + counted(summary.points, "point", "points") +
                     ", nose at point " + FormatWhole(summary.nose_index) +
                     ", trailing edge gap " + FormatFixed5(summary.trailing_edge_gap);
  if (summary.unnamed) text += ", no name line (named after the file)";
  if (summary.header_lines > 0) {
    text += ", " + counted(summary.header_lines, "line", "lines") + " of header";
  }
  if (summary.reversed) text += ", listed the other way round";
  if (summary.dropped_points > 0) {
    text += ", " + counted(summary.dropped_points, "repeated point", "repeated points") +
            " dropped";
  }
  if (summary.ignored_lines > 0) {
    text += ", " + counted(summary.ignored_lines, "line", "lines") + " of notes ignored";
  }
  return text;
}

}  // namespace quilane
