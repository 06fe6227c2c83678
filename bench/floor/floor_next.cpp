// The least Qt Widgets program that goes from one window to a second, and
// from there to a message box, as the game goes from its start screen to the
// quiz screen and to the box of a wrong answer: a label in a window of the
// start screen's size; Enter there shows a second window of the quiz
// screen's size, with a label and an answer box; Enter in the box shows a
// message box with the game's text for a wrong answer, drawn as the game's.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

class First final : public QLabel {
 public:
  using QLabel::QLabel;
  QWidget* next = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() != Qt::Key_Return) return;
    hide();
    next->show();
    next->activateWindow();
  }
};

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  First first(QStringLiteral("How to Play: choose the level and press \u201CPlay\u201D to start the game."));
  first.setWindowTitle("Floor");
  first.setWordWrap(true);
  first.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  first.resize(490, 420);

  QWidget second;
  second.setWindowTitle("Floor");
  second.resize(503, 389);
  QLabel question(QStringLiteral("1 + 2 ="), &second);
  question.setGeometry(24, 16, 160, 25);
  QLineEdit answer(&second);
  answer.setGeometry(205, 16, 60, 27);
  QObject::connect(&answer, &QLineEdit::returnPressed, &second, [&second] {
    // Without an icon, and with a plain OK button, as the game's boxes.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Floor"),
                    QStringLiteral("Oops!! That's not a correct answer. Try again."), QMessageBox::Ok, &second);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
  });
  first.next = &second;

  first.show();
  return app.exec();
}
