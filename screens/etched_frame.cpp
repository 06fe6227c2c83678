#include "screens/etched_frame.h"

#include <QPainter>

namespace tavrix::screens {

EtchedFrame::EtchedFrame(const QString& title, QWidget* parent) : QFrame(parent), title_(title) {
  setAccessibleName(title);
}

void EtchedFrame::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  const QFontMetrics metrics = fontMetrics();
  const bool captioned = !title_.isEmpty();
  const int top = captioned ? metrics.height() / 2 : 0;
  const QRect edge = rect().adjusted(0, top, -2, -2);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(edge);
  p.setPen(palette().color(QPalette::Light));
  p.drawRect(edge.translated(1, 1));
  if (!captioned) return;
  const int inset = metrics.averageCharWidth();
  const QRect caption(inset, 0, metrics.horizontalAdvance(title_) + inset, metrics.height());
  p.fillRect(caption, palette().color(QPalette::Window));
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title_);
}

}  // namespace tavrix::screens
