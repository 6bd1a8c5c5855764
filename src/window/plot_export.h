// Pictures of the plot written to files: PNG at a multiple of the screen's
// resolution, and SVG as a vector drawing. Both are drawn by Show_Airfoil
// through a PainterSurface, the window's own drawing code, at the view the
// window shows, with the two title labels over the plot as on the screen.
#ifndef QUILANE_WINDOW_PLOT_EXPORT_H_
#define QUILANE_WINDOW_PLOT_EXPORT_H_

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

#include "base/refusal.h"
#include "workspace/airfoil_workspace.h"

class QPainter;

namespace quilane {

// A title label as it lies on the plot.
struct PlotLabelLook {
  QRect rect;  // on the surface, in its pixels
  QFont font;
  QColor text;
  QColor background;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// What a picture of the plot looks like.
struct PlotLook {
  QSize size;                   // of the surface, in pixels
  QColor background;            // of the surface
  PlotLabelLook airfoil_title;  // Label3
  PlotLabelLook plot_title;     // Label4
  double dots_per_inch = 96;    // of the screen the surface is shown on
};

// A title read from a coordinate file, for the screen: UTF-8 when it is valid
// UTF-8, else Latin-1.
QString TitleText(const std::string& title);

// `title` as a label `width` pixels wide shows it in `metrics`: whole when it
// fits; else cut at a whole character and marked with "…", the cut made
// before a closing " - redistributed", which stays readable.
QString ShownTitle(const QString& title, const QFontMetrics& metrics, int width);

// Draws Show_Airfoil(N, X, Y, NI, XI, YI) of `ws` with `painter`, whose
// coordinates are taken as the surface's pixels from (0, 0) to look.size,
// pens `pen_width` pixels wide (0: one device pixel); then, over the plot,
// the two titles Show_Airfoil hands over, each as its label shows it: the
// label's box filled with its background, the text in its font, colour and
// alignment, shortened as ShownTitle shortens it. Changes nothing in the workspace.
void PaintPlot(QPainter& painter, const AirfoilWorkspace& ws, const PlotLook& look,
               double pen_width);

// PNG file bytes of the plot, `factor` times look.size: each pixel of the
// surface becomes factor x factor pixels, pens are one surface pixel wide
// and the image records factor times the screen's resolution, so it prints
// at the size the window shows it. Empty when the image cannot be made.
QByteArray PlotPng(const AirfoilWorkspace& ws, const PlotLook& look, int factor);

// SVG document of the plot: segments and circles as vector strokes one unit
// wide and titles as text, on a view box of look.size; its title is the plot
// title, or the airfoil's title when that is empty. Empty when it cannot be
// made.
QByteArray PlotSvg(const AirfoilWorkspace& ws, const PlotLook& look);

enum class PlotFileFormat { kPng, kSvg };

struct PlotFile {
  QString path;
  PlotFileFormat format = PlotFileFormat::kPng;
};

// The file to write for a name chosen in the export dialog under `filter`: a
// name ending in ".png" or ".svg" (any letter case) is kept and its suffix
// decides; any other name gets the chosen filter's suffix added (".svg" when
// the filter names svg, else ".png").
PlotFile ResolvePlotFile(const QString& name, const QString& filter);

// Writes the plot of `ws` to file.path in file.format (PNG at twice the
// screen's resolution), the way the result files are saved: a temporary
// file beside it renamed into place, so a failure leaves an earlier file of
// that name intact. A failure gives a message naming the file and the
// reason. Changes nothing in the workspace.
std::optional<Refusal> ExportPlot(const AirfoilWorkspace& ws, const PlotLook& look,
                                  const PlotFile& file);

// PNG pixels per screen pixel of an exported plot.
inline constexpr int kPngExportFactor = 2;

}  // namespace quilane

#endif  // QUILANE_WINDOW_PLOT_EXPORT_H_
