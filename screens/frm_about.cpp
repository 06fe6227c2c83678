#include "screens/frm_about.h"

#include "screens/fonts.h"
#include "screens/text.h"

namespace tavrix::screens {

const char* const kAboutText =
    "Tavrix\r\n"
    "\r\n"
    "Version: \r\n"
    "1.01.02\r\n"
    "\r\n"
    "Update date: \r\n"
    "2002/10/22\r\n"
    "\r\n"
    "Develop Group:\r\n"
    "Orvanto \r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    "Thanks for your use.\r\n";

frmAbout::frmAbout() : ScreenWindow("frmAbout") {
  setFixedSize(Px(3360), Px(4335));
  setFont(DialogFont());

  cmdClose = new QPushButton(QStringLiteral("Close"), this);
  cmdClose->setObjectName("cmdClose");
  cmdClose->setGeometry(TwipsRect(1080, 3600, 1215, 375));
  cmdClose->setAutoDefault(true);  // Enter presses it when it has the focus
  connect(cmdClose, &QPushButton::clicked, this, &frmAbout::closeClicked);

  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(TwipsRect(480, 480, 2295, 2895));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label1->setText(Lines(kAboutText));

  cmdClose->setFocus();
}

}  // namespace tavrix::screens
