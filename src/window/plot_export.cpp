#include "window/plot_export.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStringDecoder>
#include <QSvgGenerator>
#include <cmath>

#include "engine/redistribute.h"
#include "files/result_file_writer.h"
#include "window/airfoil_plot.h"
#include "window/painted_surface.h"

namespace quilane {
namespace {

constexpr double kMetresPerInch = 0.0254;

// Keeps the titles Show_Airfoil hands over, to be drawn once the plot is.
class TitleKeeper : public PlotTitles {
 public:
  void SetTitles(const std::string& airfoil_title, const std::string& plot_title) override {
    airfoil = airfoil_title;
    plot = plot_title;
  }
  std::string airfoil;
  std::string plot;
};

void PaintLabel(QPainter& painter, const PlotLabelLook& label, const QString& text) {
  painter.save();
  painter.setClipRect(label.rect);
  painter.fillRect(label.rect, label.background);
  painter.setFont(label.font);
  painter.setPen(label.text);
  painter.drawText(label.rect, static_cast<int>(label.alignment),
                   ShownTitle(text, QFontMetrics(label.font), label.rect.width()));
  painter.restore();
}

QString PictureTitle(const AirfoilWorkspace& ws) {
  return TitleText(ws.PlotTitle.empty() ? ws.AirfoilTitle : ws.PlotTitle);
}

}  // namespace

QString TitleText(const std::string& title) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded =
      utf8.decode(QByteArrayView(title.data(), static_cast<qsizetype>(title.size())));
  if (utf8.hasError()) {
    return QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
  }
  return decoded;
}

QString ShownTitle(const QString& title, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(title) <= width) return title;
  const QString suffix = QString::fromLatin1(kRedistributedSuffix.data(),
                                             static_cast<qsizetype>(kRedistributedSuffix.size()));
  if (title.endsWith(suffix)) {
    const int room = width - metrics.horizontalAdvance(suffix);
    const QString head = metrics.elidedText(title.chopped(suffix.size()), Qt::ElideRight, room);
    // Too narrow for even "…" before the suffix: the end is cut like any text.
    if (room > 0 && !head.isEmpty()) return head + suffix;
  }
  return metrics.elidedText(title, Qt::ElideRight, width);
}

void PaintPlot(QPainter& painter, const AirfoilWorkspace& ws, const PlotLook& look,
               double pen_width) {
  PainterSurface surface(painter, look.size, look.background, pen_width);
  TitleKeeper titles;
  ShowAirfoil(ws, surface, titles, ws.N, ws.X, ws.Y, ws.NI, ws.XI, ws.YI);
  // The labels lie over the plot in the window.
  PaintLabel(painter, look.airfoil_title, TitleText(titles.airfoil));
  PaintLabel(painter, look.plot_title, TitleText(titles.plot));
}

QByteArray PlotPng(const AirfoilWorkspace& ws, const PlotLook& look, int factor) {
  QImage image(look.size * factor, QImage::Format_RGB32);
  if (image.isNull()) return {};
  image.fill(look.background);
  const int dots_per_metre =
      static_cast<int>(std::lround(factor * look.dots_per_inch / kMetresPerInch));
  image.setDotsPerMeterX(dots_per_metre);
  image.setDotsPerMeterY(dots_per_metre);
  QPainter painter(&image);
  painter.scale(factor, factor);
  PaintPlot(painter, ws, look, 1.0);
  painter.end();

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return bytes;
}

QByteArray PlotSvg(const AirfoilWorkspace& ws, const PlotLook& look) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(look.size);
  generator.setViewBox(QRect(QPoint(0, 0), look.size));
  generator.setResolution(static_cast<int>(std::lround(look.dots_per_inch)));
  generator.setTitle(PictureTitle(ws));
  generator.setDescription(QStringLiteral("Airfoil plot drawn by QuilaneConfMap"));
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  PaintPlot(painter, ws, look, 1.0);
  painter.end();
  return bytes;
}

PlotFile ResolvePlotFile(const QString& name, const QString& filter) {
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (suffix == QLatin1String("png")) return {name, PlotFileFormat::kPng};
  if (suffix == QLatin1String("svg")) return {name, PlotFileFormat::kSvg};
  if (filter.contains(QLatin1String("*.svg"), Qt::CaseInsensitive)) {
    return {name + QLatin1String(".svg"), PlotFileFormat::kSvg};
  }
  return {name + QLatin1String(".png"), PlotFileFormat::kPng};
}

std::optional<Refusal> ExportPlot(const AirfoilWorkspace& ws, const PlotLook& look,
                                  const PlotFile& file) {
  const std::string name = QFile::encodeName(file.path).toStdString();
  const QByteArray bytes = file.format == PlotFileFormat::kSvg
                               ? PlotSvg(ws, look)
                               : PlotPng(ws, look, kPngExportFactor);
  if (bytes.isEmpty()) {
    return FileRefusal(
        RefusalCode::kWriteFailed, name, 0,
        "The plot picture \"" + name + "\" could not be drawn; nothing was written.");
  }
  return WriteTextFile(name, bytes.toStdString(), "plot picture");
}

}  // namespace quilane
