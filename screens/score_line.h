// The quiz screen's score line, lblComment: red text on white inside a fixed
// single border.
#pragma once

#include <QLabel>

namespace tavrix::screens {

// A label whose frame is one line in the window text colour, one logical
// pixel wide at every scale (a plain QFrame box would take the red of the
// text). The frame keeps its place in the label's metrics, so the text
// stands where a framed label puts it.
class ScoreLineLabel final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace tavrix::screens
