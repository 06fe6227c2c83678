#include "screens/message_boxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "screens/screen_window.h"

namespace tavrix::screens {

namespace {

QString U(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A box with Yes and No is answered by one of them and nothing else: Qt
// would take Escape or a close from the frame for No. A box with OK may be
// closed either way, which answers OK.
class GameMessageBox final : public QMessageBox, public LosesItsWindow {
 public:
  using QMessageBox::QMessageBox;

  // Its native window was destroyed from outside: the box ends as its close
  // would end it.
  bool Destroyed() const { return destroyed_; }
  void WindowDestroyedFromOutside() override {
    destroyed_ = true;
    destroy(true, true);
    done(0);
  }

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
  bool destroyed_ = false;
};

}  // namespace

std::int16_t QtMessageBoxes::MessageBox(const std::string& prompt, std::int16_t buttons,
                                        const std::string& title) {
  const bool yesNo = buttons == rt::MB_YESNO;
  const QPointer<QWidget> opener = QApplication::activeWindow();
  std::int16_t result = rt::IDOK;
  // A box destroyed from outside is answered as its close would answer it;
  // a Yes/No box, which closing cannot answer, is shown again.
  for (bool again = true; again;) {
    WatchForDestroyedWindows();
    GameMessageBox box(QMessageBox::NoIcon, U(title.empty() ? rt::kAppTitle : std::string_view(title)), U(prompt),
                       yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, opener.data());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    for (QAbstractButton* b : box.buttons()) b->setIcon(QIcon());  // plain buttons, like the rest of the game
    const int answer = box.exec();
    again = yesNo && box.Destroyed();
    if (yesNo) result = answer == QMessageBox::Yes ? rt::IDYES : rt::IDNO;
  }
  // The window that opened the box gets the keyboard back, also where no
  // window manager hands the focus on.
  if (opener != nullptr && opener->isVisible()) GiveInputFocus(opener);
  return result;
}

}  // namespace tavrix::screens
