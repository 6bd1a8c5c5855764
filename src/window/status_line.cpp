#include "window/status_line.h"

#include <QFontMetrics>
#include <QSizePolicy>

namespace quilane {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  // The bar gives the line its width; the text never asks for more.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusLine::SetLine(const QString& line) {
  line_ = line;
  setToolTip(line_);
  setAccessibleName(line_);
  Elide();
}

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusLine::Elide() {
  setText(fontMetrics().elidedText(line_, Qt::ElideRight, contentsRect().width()));
}

}  // namespace quilane
