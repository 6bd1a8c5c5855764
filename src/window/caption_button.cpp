#include "window/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace quilane {
namespace {

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;

}  // namespace

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

QSize CaptionButton::sizeHint() const { return QPushButton::sizeHint(); }

int CaptionButton::WrappedHeight() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  const QRect text = fontMetrics().boundingRect(QRect(0, 0, contents.width(), 10000), kTextFlags,
                                                QPushButton::text());
  return text.height() + (height() - contents.height());
}

void CaptionButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();  // the bevel and focus frame only; the caption follows
  painter.drawControl(QStyle::CE_PushButton, option);
  QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  if (isDown()) {
    contents.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
  }
  painter.drawItemText(contents, kTextFlags, palette(), isEnabled(), caption,
                       QPalette::ButtonText);
}

}  // namespace quilane
