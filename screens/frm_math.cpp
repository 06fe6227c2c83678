#include "screens/frm_math.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QVBoxLayout>

#include "screens/fonts.h"

namespace tavrix::screens {

namespace {

QString U(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString Indexed(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLabel* RowLabel(QWidget* parent, const char* name, int row, QRect rect, Qt::Alignment align) {
  auto* l = new QLabel(parent);
  l->setObjectName(Indexed(name, row));
  l->setGeometry(rect);
  l->setFont(MingFont(12));
  l->setTextFormat(Qt::PlainText);
  l->setAlignment(align | Qt::AlignVCenter);
  l->setForegroundRole(QPalette::ButtonText);  // COLOR_BTNTEXT on the window's COLOR_BTNFACE
  return l;
}

// lblComment: red text on white inside a single border in the window text
// colour (a plain QFrame box would take the red of the text).
class ScoreLine final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QLabel::paintEvent(e);
    QPainter p(this);
    p.setPen(QApplication::palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

}  // namespace

// ---------------------------------------------------------------- AnswerBox

AnswerBox::AnswerBox(std::int16_t row, QuizInput& input, QWidget* parent)
    : QLineEdit(parent), row_(row), input_(input) {
  setObjectName(Indexed("txtAnswer", row));
  setFont(TimesFont(12, false));
  setAccessibleName(QStringLiteral("Answer %1").arg(row));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { input_.AnswerTextChanged(row_, t); });
}

int AnswerBox::CharCode(const QKeyEvent& e) {
  switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return -1;
    default:
      break;
  }
  const QString text = e.text();
  if (text.isEmpty()) return -1;
  return text.at(0).unicode();
}

void AnswerBox::keyPressEvent(QKeyEvent* e) {
  // Alt with a letter belongs to the menu bar; it types nothing.
  if (e->modifiers() & Qt::AltModifier) {
    e->ignore();
    return;
  }
  const int c = CharCode(*e);
  if (c < 0) {
    QLineEdit::keyPressEvent(e);
    return;
  }
  const auto original = static_cast<std::int16_t>(c);
  input_.AnswerKeyPress(row_, original, [&](std::int16_t code) { HandleCode(e, original, code); });
}

void AnswerBox::HandleCode(QKeyEvent* e, std::int16_t original, std::int16_t code) {
  if (code == original) {
    QLineEdit::keyPressEvent(e);
    return;
  }
  // The quiz replaced the key: the box handles the new code instead.
  e->accept();
  if (isReadOnly()) return;
  if (code == 8) {
    backspace();
  } else if (code >= 32 || code < 0) {
    insert(QString(QChar(static_cast<char16_t>(code))));
  }
  // Any other control code, such as 1, changes nothing.
}

void AnswerBox::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  input_.AnswerFocusIn(row_);
}

void AnswerBox::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  input_.AnswerFocusOut(row_, e->reason());
}

// ---------------------------------------------------------------- frmMath

frmMath::frmMath(QuizInput& input) : ScreenWindow("frmMath") {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  menuBar = new QMenuBar(this);
  menuBar->setObjectName("menuBar");
  layout->setMenuBar(menuBar);

  client = new QWidget(this);
  client->setObjectName("client");
  client->setFixedSize(Px(7545), Px(5835));
  layout->addWidget(client);

  for (int i = 1; i <= kRowCount; ++i) {
    const int top = 240 + 480 * (i - 1);
    const auto k = static_cast<std::size_t>(i - 1);
    lblNum1[k] = RowLabel(client, "lblNum1", i, TwipsRect(360, top, 650, 375), Qt::AlignRight);
    lblOpcode[k] = RowLabel(client, "lblOpcode", i, TwipsRect(1200, top, 300, 375), Qt::AlignHCenter);
    lblNum2[k] = RowLabel(client, "lblNum2", i, TwipsRect(1680, top, 495, 375), Qt::AlignRight);
    lblEqual[k] = RowLabel(client, "lblEqual", i, TwipsRect(2400, top, 405, 375), Qt::AlignHCenter);
    lblEqual[k]->setText(QStringLiteral("="));
    lblEqual[k]->hide();
    txtAnswer[k] = new AnswerBox(static_cast<std::int16_t>(i), input, client);
    txtAnswer[k]->setGeometry(TwipsRect(3075, top, 900, 405));
    txtAnswer[k]->hide();
    lblMessage[k] = RowLabel(client, "lblMessage", i, TwipsRect(4000, top, 2800, 375), Qt::AlignLeft);
  }
  for (std::size_t k = 0; k + 1 < txtAnswer.size(); ++k) setTabOrder(txtAnswer[k], txtAnswer[k + 1]);

  lblComment = new ScoreLine(client);
  lblComment->setObjectName("lblComment");
  lblComment->setGeometry(TwipsRect(360, 5200, 6735, 480));
  lblComment->setFont(MingFont(15.75));
  lblComment->setTextFormat(Qt::PlainText);
  lblComment->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lblComment->setFrameShape(QFrame::Box);
  lblComment->setFrameShadow(QFrame::Plain);
  lblComment->setLineWidth(1);
  lblComment->setAutoFillBackground(true);
  // White behind red text; the border keeps the window text colour.
  QPalette comment = lblComment->palette();
  comment.setColor(QPalette::Window, QColor(255, 255, 255));
  comment.setColor(QPalette::Text, QColor(255, 0, 0));
  lblComment->setPalette(comment);
  lblComment->setBackgroundRole(QPalette::Window);
  lblComment->setForegroundRole(QPalette::Text);
  lblComment->hide();

  // Menus. The digits and operation menus are switched off for good.
  mnuDigitalNo = menuBar->addMenu(QStringLiteral("位數(&D)"));
  mnuDigitalNo->setObjectName("mnuDigitalNo");
  static const char* const kDigits[] = {"一位數", "二位數", "三位數"};
  for (int i = 1; i <= 3; ++i) {
    QAction* a = mnuDigitalNo->addAction(QString::fromUtf8(kDigits[i - 1]));
    a->setObjectName(Indexed("mnuDigital", i));
    mnuDigital[static_cast<std::size_t>(i - 1)] = a;
  }
  mnuOperation = menuBar->addMenu(QStringLiteral("運算(&O)"));
  mnuOperation->setObjectName("mnuOperation");
  static const char* const kOperations[] = {"加法", "減法", "乘法", "除法", "綜合"};
  for (int i = 1; i <= 5; ++i) {
    QAction* a = mnuOperation->addAction(QString::fromUtf8(kOperations[i - 1]));
    a->setObjectName(Indexed("munOpcode", i));
    munOpcode[static_cast<std::size_t>(i - 1)] = a;
  }
  for (QMenu* off : {mnuDigitalNo, mnuOperation}) {
    off->menuAction()->setEnabled(false);
    off->setEnabled(false);
  }
  mmuOptional = menuBar->addMenu(QStringLiteral("Option(&O)"));
  mmuOptional->setObjectName("mmuOptional");
  mmuOption = mmuOptional->addAction(QStringLiteral("Exit Game"));
  mmuOption->setObjectName("mmuOption(1)");
  mmuAbout = menuBar->addMenu(QStringLiteral("About(&A)"));
  mmuAbout->setObjectName("mmuAbout");
  mmuZuzirArido = mmuAbout->addAction(QStringLiteral("About Tavrix..."));
  mmuZuzirArido->setObjectName("mmuZuzirArido(0)");
  menuBar->installEventFilter(this);
}

std::int16_t frmMath::FocusRow() const {
  if (const auto* box = qobject_cast<const AnswerBox*>(focusWidget())) return box->row();
  return 0;
}

bool frmMath::focusNextPrevChild(bool next) {
  const int from = FocusRow();
  for (int step = 1; step <= kRowCount; ++step) {
    int r = from == 0 ? (next ? step : kRowCount + 1 - step) : from + (next ? step : -step);
    r = (r - 1 + kRowCount) % kRowCount + 1;
    AnswerBox* box = Answer(static_cast<std::int16_t>(r));
    if (box->isVisibleTo(this)) {
      box->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return true;  // no box is shown: the focus goes nowhere
}

bool frmMath::eventFilter(QObject* watched, QEvent* e) {
  if (watched == menuBar && e->type() == QEvent::Shortcut) {
    // The menu bar would treat Alt+O as ambiguous, since the switched-off
    // operation menu shares the access key with Option. A switched-off menu
    // never opens; its access key opens the available menu with the same
    // letter, if there is one.
    const QKeySequence key = static_cast<QShortcutEvent*>(e)->key();
    for (QMenu* off : {mnuDigitalNo, mnuOperation}) {
      if (key != QKeySequence::mnemonic(off->title())) continue;
      for (QMenu* on : {mmuOptional, mmuAbout}) {
        if (key != QKeySequence::mnemonic(on->title())) continue;
        menuBar->setActiveAction(on->menuAction());
        if (!on->actions().isEmpty()) on->setActiveAction(on->actions().first());
      }
      return true;
    }
  }
  return ScreenWindow::eventFilter(watched, e);
}

void frmMath::Redraw(const Quiz& quiz) {
  const QPalette app = QApplication::palette();
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    const QuestionRow& r = quiz.Row(i);
    const auto k = static_cast<std::size_t>(i - 1);
    lblNum1[k]->setText(U(r.num1));
    lblOpcode[k]->setText(U(r.opcode));
    lblNum2[k]->setText(U(r.num2));
    lblEqual[k]->setVisible(r.equalShown);
    lblMessage[k]->setText(U(r.message));

    AnswerBox* box = txtAnswer[k];
    const QString text = U(r.answer);
    if (box->text() != text) box->setText(text);
    box->setReadOnly(r.locked);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, app.color(r.colour == SysColor::BtnFace ? QPalette::Button : QPalette::Base));
    box->setPalette(p);
    const QString question = U(r.num1) + U(r.opcode) + U(r.num2) + (r.equalShown ? QStringLiteral(" =") : QString());
    box->setAccessibleDescription(question.simplified());
    box->setVisible(r.answerShown);
  }
  const QString caption = U(quiz.lblComment.caption);
  if (lblComment->text() != caption) {
    lblComment->setText(caption);
    FitScoreLine();
  }
  lblComment->setVisible(quiz.lblComment.shown);
}

void frmMath::FitScoreLine() {
  // The longest score captions are wider than the line at this size in the
  // Ming faces found on Linux: they are drawn narrower rather than cut off.
  QFont f = MingFont(15.75);
  const int room = lblComment->contentsRect().width() - 2;
  for (int stretch = 100; stretch >= 60; stretch -= 2) {
    f.setStretch(stretch);
    if (QFontMetrics(f).horizontalAdvance(lblComment->text()) <= room) break;
  }
  lblComment->setFont(f);
}

}  // namespace tavrix::screens
