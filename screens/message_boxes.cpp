#include "screens/message_boxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "screens/text.h"

#include "screens/screen_window.h"

namespace tavrix::screens {

namespace {

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

// Some window managers (openbox) keep a minimise button on every dialog, and
// minimising the box takes the game's window with it while the box still
// waits for its answer. A minimised box comes straight back, with its window.
class KeepShown final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* box = qobject_cast<QWidget*>(watched);
    if (box != nullptr && e->type() == QEvent::WindowStateChange && box->isMinimized()) {
      QTimer::singleShot(0, box, [box] {
        if (QWidget* owner = box->parentWidget(); owner != nullptr && owner->isMinimized()) owner->showNormal();
        box->showNormal();
        box->raise();
        box->activateWindow();
      });
    }
    return QObject::eventFilter(watched, e);
  }
};

// Dresses the box as the desktop draws a dialog: a title bar with no
// minimise or maximise button, a close button only where closing answers
// the box (OK), and the prompt with equal margins on both sides.
void DressAsDialog(QMessageBox& box, bool yesNo) {
  Qt::WindowFlags flags = box.windowFlags();
  flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
  flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (!yesNo) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  box.setWindowFlags(flags);
  box.installEventFilter(new KeepShown(&box));

  // Without an icon the box keeps an empty column on the prompt's left: the
  // prompt takes that column too.
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (grid == nullptr || label == nullptr) return;
  for (int i = grid->count() - 1; i >= 0; --i) {
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(i, &row, &column, &rows, &columns);
    QLayoutItem* item = grid->itemAt(i);
    if (row == 0 && column == 0 && item->spacerItem() != nullptr) delete grid->takeAt(i);
  }
  int row = 0, column = 0, rows = 0, columns = 0;
  grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
  if (column == 0) return;
  grid->removeWidget(label);
  grid->addWidget(label, row, 0, rows, column + columns);
}

// The window the box belongs to: the active one, or else a shown window of
// the game, so that the desktop keeps the box with it.
QWidget* Owner() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowType() == Qt::Window) return w;
  }
  return nullptr;
}

}  // namespace

std::int16_t QtMessageBoxes::MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title) {
  const bool yesNo = buttons == rt::MB_YESNO;
  const QPointer<QWidget> opener = Owner();
  std::int16_t result = rt::IDOK;
  // A box destroyed from outside is answered as its close would answer it;
  // a Yes/No box, which closing cannot answer, is shown again.
  for (bool again = true; again;) {
    WatchForDestroyedWindows();
    GameMessageBox box(QMessageBox::NoIcon, FromUtf8(title.empty() ? rt::kAppTitle : std::string_view(title)),
                       FromUtf8(prompt), yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, opener.data());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    for (QAbstractButton* b : box.buttons()) b->setIcon(QIcon());  // plain buttons, like the rest of the game
    DressAsDialog(box, yesNo);
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
