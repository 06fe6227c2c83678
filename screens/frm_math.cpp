#include "screens/frm_math.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "screens/contrast.h"
#include "screens/fonts.h"
#include "screens/score_line.h"
#include "screens/text.h"

namespace tavrix::screens {

namespace {

QString Indexed(const char* name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

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

}  // namespace

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
    // The question labels the box: assistive tools say it with the box.
    for (QLabel* question : {lblNum1[k], lblOpcode[k], lblNum2[k], lblEqual[k]}) question->setBuddy(txtAnswer[k]);
    lblMessage[k] = RowLabel(client, "lblMessage", i, TwipsRect(4000, top, 2800, 375), Qt::AlignLeft);
    txtAnswer[k]->SetResultLabel(lblMessage[k]);
  }
  for (std::size_t k = 0; k + 1 < txtAnswer.size(); ++k) setTabOrder(txtAnswer[k], txtAnswer[k + 1]);

  lblComment = new ScoreLineLabel(client);
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

  announcer = new Announcer(client);

  // Menus. The digits and operation menus are switched off for good.
  mnuDigitalNo = menuBar->addMenu(QStringLiteral("位數(&D)"));
  mnuDigitalNo->setObjectName("mnuDigitalNo");
  static const char* const kDigits[] = {"一位數", "二位數", "三位數"};
  for (int i = 1; i <= 3; ++i) {
    QAction* a = mnuDigitalNo->addAction(FromUtf8(kDigits[i - 1]));
    a->setObjectName(Indexed("mnuDigital", i));
    connect(a, &QAction::triggered, this, [this, i] { emit digitsChosen(i); });
  }
  mnuOperation = menuBar->addMenu(QStringLiteral("運算(&O)"));
  mnuOperation->setObjectName("mnuOperation");
  static const char* const kOperations[] = {"加法", "減法", "乘法", "除法", "綜合"};
  for (int i = 1; i <= 5; ++i) {
    QAction* a = mnuOperation->addAction(FromUtf8(kOperations[i - 1]));
    a->setObjectName(Indexed("munOpcode", i));
    connect(a, &QAction::triggered, this, [this, i] { emit operationChosen(i); });
  }
  for (QMenu* off : {mnuDigitalNo, mnuOperation}) {
    off->menuAction()->setEnabled(false);
    off->setEnabled(false);
  }
  mmuOptional = menuBar->addMenu(QStringLiteral("Option(&O)"));
  mmuOptional->setObjectName("mmuOptional");
  QAction* mmuOption = mmuOptional->addAction(QStringLiteral("Exit Game"));
  mmuOption->setObjectName("mmuOption(1)");
  connect(mmuOption, &QAction::triggered, this, &frmMath::exitChosen);
  mmuAbout = menuBar->addMenu(QStringLiteral("About(&A)"));
  mmuAbout->setObjectName("mmuAbout");
  QAction* mmuZuzirArido = mmuAbout->addAction(QStringLiteral("About Tavrix..."));
  mmuZuzirArido->setObjectName("mmuZuzirArido(0)");
  connect(mmuZuzirArido, &QAction::triggered, this, &frmMath::aboutChosen);
}

void frmMath::FocusAnswer(std::int16_t row) { Answer(row)->setFocus(Qt::OtherFocusReason); }

void frmMath::SelectAnswer(std::int16_t row, int start, int length) {
  AnswerBox* box = Answer(row);
  const QString text = box->text();
  // Characters to UTF-16 positions.
  auto units = [&text](int chars) {
    qsizetype at = 0;
    for (int c = 0; c < chars && at < text.size(); ++c)
      at += (text.at(at).isHighSurrogate() && at + 1 < text.size()) ? 2 : 1;
    return static_cast<int>(at);
  };
  const int from = units(start);
  box->setSelection(from, units(start + length) - from);
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

void frmMath::Redraw(const Quiz& quiz) {
  // Only what changed since the last redraw is written: each write of a
  // control's text, state or description is an event for assistive tools.
  const QPalette app = QApplication::palette();
  const QColor finished = FinishedBoxColour(app);
  const bool recolour = finished != drawnFace_ || app.color(QPalette::Base) != drawnBase_;
  drawnFace_ = finished;
  drawnBase_ = app.color(QPalette::Base);
  // A box that the records hide keeps no focus: keys must not reach it. It
  // lets go of the focus before it is hidden: hidden with it, it would hand
  // the focus on to the next box, which is hidden in turn, and so down the
  // rows, each a focus move a screen reader reads out.
  if (auto* focused = qobject_cast<AnswerBox*>(focusWidget());
      focused != nullptr && focused->row() >= 1 && focused->row() <= kRowCount && !quiz.Row(focused->row()).answerShown)
    focused->clearFocus();
  DrawnQuiz now = Drawing(quiz);
  const ReaderNews news = WhatReadersHear(drawn_, now, isVisible());
  auto listed = [](const std::vector<std::int16_t>& rows, std::int16_t i) {
    return std::find(rows.begin(), rows.end(), i) != rows.end();
  };
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    const QuestionRow& r = *now.rows[k];
    const std::optional<QuestionRow>& was = drawn_.rows[k];
    if (was == r && !recolour) continue;
    lblNum1[k]->setText(FromUtf8(r.num1));
    lblOpcode[k]->setText(FromUtf8(r.opcode));
    lblNum2[k]->setText(FromUtf8(r.num2));
    lblEqual[k]->setVisible(r.equalShown);
    Announce(news, ReaderNews::Announcement::Kind::RowResult, i);
    lblMessage[k]->setText(FromUtf8(r.message));

    AnswerBox* box = txtAnswer[k];
    const QString text = FromUtf8(r.answer);
    if (box->text() != text) box->setText(text);
    box->setReadOnly(r.locked);
    if (!was || recolour || was->colour != r.colour) {
      QPalette p = box->palette();
      p.setColor(QPalette::Base, r.colour == SysColor::BtnFace ? finished : app.color(QPalette::Base));
      box->setPalette(p);
    }
    if (listed(news.renamed, i)) Tell(box, QAccessible::NameChanged);
    if (listed(news.redescribed, i)) Tell(box, QAccessible::DescriptionChanged);
    box->setVisible(r.answerShown);
  }
  if (news.withdrawLast) announcer->Announce({});
  const QString caption = FromUtf8(quiz.lblComment.caption);
  if (lblComment->text() != caption) {
    lblComment->setText(caption);
    FitScoreLine();
  }
  Announce(news, ReaderNews::Announcement::Kind::Score);
  Announce(news, ReaderNews::Announcement::Kind::MenusLeft);
  lblComment->setVisible(quiz.lblComment.shown);
  drawn_ = std::move(now);
}

void frmMath::Announce(const ReaderNews& news, ReaderNews::Announcement::Kind kind, std::int16_t row) {
  using Kind = ReaderNews::Announcement::Kind;
  for (const ReaderNews::Announcement& a : news.announcements) {
    if (a.kind != kind || a.row != row) continue;
    switch (kind) {
      case Kind::RowResult:
        announcer->Announce(FromUtf8(a.text), lblMessage.at(static_cast<std::size_t>(row - 1)));
        break;
      case Kind::Score: announcer->Announce(FromUtf8(a.text), lblComment); break;
      case Kind::MenusLeft: {
        // The menus that can be used, each with its access key as its
        // caption sets it: "Menus: Option, Alt+O; About, Alt+A."
        QStringList menus;
        for (const QMenu* m : {mmuOptional, mmuAbout}) {
          menus << QStringLiteral("%1, %2").arg(
              QString(m->title()).remove(QLatin1Char('&')).section(QLatin1Char('('), 0, 0),
              QKeySequence::mnemonic(m->title()).toString(QKeySequence::PortableText));
        }
        announcer->Announce(QStringLiteral("Menus: %1.").arg(menus.join(QStringLiteral("; "))));
        break;
      }
    }
  }
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
