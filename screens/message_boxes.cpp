#include "screens/message_boxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include "screens/text.h"

namespace tavrix::screens {

namespace {

// A box with Yes and No is answered by one of them and nothing else: Qt
// would take Escape or a close from the frame for No. A box with OK may be
// closed either way, which answers OK.
class GameMessageBox final : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (YesNo() && e->matches(QKeySequence::Cancel)) {
      e->accept();
      return;
    }
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    if (YesNo() && clickedButton() == nullptr) {
      e->ignore();
      return;
    }
    QMessageBox::closeEvent(e);
  }

 private:
  bool YesNo() const { return button(QMessageBox::Yes) != nullptr; }
};

}  // namespace

std::int16_t QtMessageBoxes::MessageBox(const std::string& prompt, std::int16_t buttons,
                                        const std::string& title) {
  const bool yesNo = buttons == rt::MB_YESNO;
  GameMessageBox box(QMessageBox::NoIcon, FromUtf8(title.empty() ? rt::kAppTitle : std::string_view(title)), FromUtf8(prompt),
                     yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
  for (QAbstractButton* b : box.buttons()) b->setIcon(QIcon());  // plain buttons, like the rest of the game
  const int answer = box.exec();
  if (!yesNo) return rt::IDOK;
  return answer == QMessageBox::Yes ? rt::IDYES : rt::IDNO;
}

}  // namespace tavrix::screens
