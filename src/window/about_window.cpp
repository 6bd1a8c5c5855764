#include "window/about_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#ifndef QUILANE_VERSION
#define QUILANE_VERSION "unknown"
#endif

namespace quilane {
namespace {

constexpr int kTextWidth = 480;  // pixels; the text wraps at this width

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("About_Window");
  setWindowTitle("About " + ProgramName());
  setWindowModality(Qt::NonModal);

  auto* name = new QLabel(ProgramName(), this);
  name->setObjectName("About_Name");
  QFont big = name->font();
  big.setBold(true);
  // The window's font may be set in pixels or in points.
  if (big.pixelSize() > 0) {
    big.setPixelSize(static_cast<int>(std::lround(big.pixelSize() * 1.4)));
  } else {
    big.setPointSizeF(big.pointSizeF() * 1.4);
  }
  name->setFont(big);

  auto* version = new QLabel(VersionText(), this);
  version->setObjectName("About_Version");

  auto* text = new QLabel(Description(), this);
  text->setObjectName("About_Text");
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  // A wrapped label does not tell a top-level layout its height for a given
  // width; fixing both makes the window as tall as the wrapped text.
  text->setFixedWidth(kTextWidth);
  text->setFixedHeight(text->heightForWidth(kTextWidth));

  auto* close = new QPushButton("Close", this);
  close->setObjectName("About_Close");
  close->setAutoDefault(true);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(text);
  layout->addWidget(close, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::ShowOver(const QWidget* main) {
  adjustSize();
  QRect area;
  if (main != nullptr) {
    area = main->frameGeometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isValid()) {
    QRect placed(QPoint(0, 0), size());
    placed.moveCenter(area.center());
    move(placed.topLeft());
  }
  show();
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QString AboutWindow::ProgramName() { return QStringLiteral("QuilaneConfMap"); }

QString AboutWindow::VersionText() { return QStringLiteral("Version " QUILANE_VERSION); }

QString AboutWindow::Description() {
  return QStringLiteral(
      "QuilaneConfMap re-spaces the points of an airfoil contour. With conformal "
      "mapping the airfoil is mapped onto a near-circle, the new points are spaced "
      "evenly in angle there and mapped back, which crowds them at the nose and the "
      "trailing edge; without it they follow a cosine spacing along the chord. The "
      "coordinates are interpolated by Lagrange polynomials of degree nPoly or by a "
      "piecewise cubic spline, and a camber line is derived from the new points.\n\n"
      "Open: File > Open (Ctrl+O) shows the folder browser; click an *.arf file, or "
      "select it and press Enter. File > Import .dat\u2026 reads a Selig or Lednicer "
      ".dat file through a file dialog. The contour is drawn in red.\n\n"
      "Calculate: set the number of new points and the method, then press \"Calculate "
      "and Show new airfoil points\": the new points appear in blue and the camber "
      "line in magenta.\n\n"
      "View: the mouse wheel over the plot zooms about the point under the pointer, "
      "and + and \u2212 zoom by one step; dragging with the left button moves the "
      "picture with the pointer. The scroll bars follow and can be moved themselves.\n\n"
      "Save: File > Save (Ctrl+S) proposes the file's name; type a new one and press "
      "Enter or the button below it. The new points go to that file and the camber line "
      "to Camber_ followed by that name; an existing file is replaced only when you "
      "say so. Escape closes the browser and the save box. File > Export plot\u2026 "
      "writes the plot as a PNG or SVG picture. File > Quit (Ctrl+Q) ends the "
      "program. The status bar tells what the last action did.\n\n"
      "Command line: quilane-redistribute does the same calculation on many files in "
      "batch, quilane-naca writes NACA sections; run either with --help.");
}

}  // namespace quilane
