// A frame drawn as an etched line, its caption set into the top edge.
#pragma once

#include <QFrame>
#include <QString>

namespace tavrix::screens {

// A plain QFrame that draws itself: a group box measures its caption's font
// as soon as it is sized, which loads the whole font database before the
// window can first be shown, and the style's group-box frame is an image
// whose decoding loads every image-format plugin.
class EtchedFrame final : public QFrame {
  Q_OBJECT

 public:
  explicit EtchedFrame(QWidget* parent) : EtchedFrame(QString(), parent) {}
  EtchedFrame(const QString& title, QWidget* parent);

  QString title() const { return title_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString title_;
};

}  // namespace tavrix::screens
