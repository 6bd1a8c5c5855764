#include "window/about_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef QUILANE_VERSION
#define QUILANE_VERSION "unknown"
#endif

namespace quilane {

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("About_Window");
  setWindowTitle("About " + ProgramName());
  setWindowModality(Qt::NonModal);

  auto* name = new QLabel(ProgramName(), this);
  name->setObjectName("About_Name");
  QFont big = name->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.4);
  name->setFont(big);

  auto* version = new QLabel(VersionText(), this);
  version->setObjectName("About_Version");

  auto* text = new QLabel(Description(), this);
  text->setObjectName("About_Text");
  text->setWordWrap(true);

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
  setFixedWidth(440);
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
      "piecewise cubic spline, and a camber line is derived from the new points. "
      "To use it: choose File > Open and click an *.arf file (title, point count, then "
      "label, x and y per point); the contour is drawn in red. Set the number of new "
      "points and the method, then press \"Calculate and Show new airfoil points\": "
      "the new points appear in blue and the camber line in magenta. The scroll bars "
      "zoom and shift the plot. File > Save asks for a new file name and writes the "
      "new points and, beside them, the camber line in a file named Camber_ followed "
      "by that name.");
}

}  // namespace quilane
