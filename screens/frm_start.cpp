#include "screens/frm_start.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>

#include "screens/contrast.h"
#include "screens/etched_frame.h"
#include "screens/fonts.h"
#include "screens/text.h"

namespace tavrix::screens {

const char* const kHelpText =
    "How to Play:\r\n"
    "\r\n"
    "\u25CFChoose the level and press \u201CPlay\u201D to start the game.\r\n"
    "\r\n"
    "\u25CFComputer will give you 10 quizzes each time.\r\n"
    "\r\n"
    "\u25CFType your answer in the field and press \u201CEnter\u201D on your keyboard.\r\n"
    " \r\n"
    "     If your answer is correct, you will get \u201CBingo\u201D and the cursor will \r\n"
    "     jump to the next.\r\n"
    "\r\n"
    "\u25CFYou have three chances to answer each question.\r\n"
    "\r\n"
    "     If you fail, computer will show you the correct answer.\r\n";

namespace {

// optLevel(i): its round indicator keeps an outline on dark colour schemes,
// and a click anywhere in its rectangle chooses it (a radio button takes
// only the clicks on its mark and caption).
class LevelOption final : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  void paintEvent(QPaintEvent* e) override {
    QRadioButton::paintEvent(e);
    QStyleOptionButton option;
    initStyleOption(&option);
    QPainter p(this);
    DrawOutline(p, palette(), style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this),
                OutlineShape::Round, hasFocus());
  }
};

}  // namespace

frmStart::frmStart() : ScreenWindow("frmStart") {
  setFixedSize(Px(7350), Px(6300));

  Frame1 = new EtchedFrame(this);
  Frame1->setObjectName("Frame1");
  Frame1->setAccessibleName(QStringLiteral("How to Play"));
  Frame1->setGeometry(TwipsRect(840, 840, 5655, 3255));

  Label1 = new QLabel(Frame1);
  Label1->setObjectName("Label1");
  Label1->setGeometry(TwipsRect(240, 240, 5295, 2775));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setText(Lines(kHelpText));

  frmeLevel = new EtchedFrame(QStringLiteral("Choose a Level"), this);
  frmeLevel->setObjectName("frmeLevel");
  frmeLevel->setGeometry(TwipsRect(1440, 4440, 2535, 1575));

  cmdPlay = new QPushButton(QStringLiteral("Play"), this);
  cmdPlay->setObjectName("cmdPlay");
  cmdPlay->setGeometry(TwipsRect(5040, 4800, 1455, 735));
  cmdPlay->setAutoDefault(true);  // Enter presses it when it has the focus

  levels = new QButtonGroup(this);
  static const char* const kCaptions[] = {"  EASY", "  MEDIUM", "  HARD"};
  static const char* const kNames[] = {"optLevel(0)", "optLevel(1)", "optLevel(2)"};
  for (int i = 0; i < 3; ++i) {
    auto* opt = new LevelOption(QString::fromLatin1(kCaptions[i]), frmeLevel);
    opt->setObjectName(QString::fromLatin1(kNames[i]));
    opt->setAccessibleName(opt->text().trimmed());  // the level, without the blanks that set it off
    opt->setGeometry(TwipsRect(240, 360 + 360 * i, 2055, 255));
    levels->addButton(opt, i);
    optLevel[static_cast<std::size_t>(i)] = opt;
  }

  Label2 = new QLabel(QStringLiteral("Tavrix"), this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(TwipsRect(840, 120, 5535, 495));
  Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  connect(levels, &QButtonGroup::idClicked, this, &frmStart::levelClicked);
  connect(cmdPlay, &QPushButton::clicked, this, &frmStart::playClicked);

  setTabOrder(cmdPlay, optLevel[0]);
  setTabOrder(optLevel[0], optLevel[1]);
  setTabOrder(optLevel[1], optLevel[2]);
  cmdPlay->setFocus();
}

void frmStart::FirstShown() {
  // The game's first window: its fonts wait until it is being mapped.
  setFont(DialogFont());
  cmdPlay->setFont(TimesFont(20.25, true));
  Label2->setFont(TimesFont(18, true));
}

void frmStart::ShowLevel(std::int16_t t_Digital) {
  if (t_Digital < 1 || t_Digital > 3) return;
  QRadioButton* opt = optLevel[static_cast<std::size_t>(t_Digital - 1)];
  if (!opt->isChecked()) opt->setChecked(true);
}

void frmStart::FocusPlay() { cmdPlay->setFocus(); }

bool frmStart::focusNextPrevChild(bool /*next*/) {
  // Two stops, so forwards and backwards are the same move.
  QWidget* target = cmdPlay;
  if (focusWidget() == cmdPlay) {
    if (QAbstractButton* selected = levels->checkedButton()) target = selected;
  }
  target->setFocus(Qt::TabFocusReason);
  return true;
}

}  // namespace tavrix::screens
