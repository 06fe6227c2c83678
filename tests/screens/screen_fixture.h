// A whole game on the offscreen platform, driven through its widgets.
#pragma once

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QButtonGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <array>

#include "screens/etched_frame.h"
#include "screens/game.h"
#include "screens/message_boxes.h"
#include "tests/support/doubles.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace tavrix::screens::testing {

using tavrix::testing::RecordingBoxes;
using tavrix::testing::SeededRandom;

inline QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The named controls of the windows, found by their object names as tools
// find them. Looked up once per window.
template <typename T>
T* Named(const QObject* parent, const QString& name) {
  T* child = parent->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << "no control " << name.toStdString();
  return child;
}
inline QString Indexed(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

struct StartControls {
  std::array<QRadioButton*, 3> optLevel;
  QPushButton* cmdPlay;
  QLabel *Label1, *Label2;
  EtchedFrame *Frame1, *frmeLevel;
};
struct MathControls {
  QWidget* client;
  std::array<QLabel*, kRowCount> lblNum1, lblOpcode, lblNum2, lblEqual, lblMessage;
  std::array<AnswerBox*, kRowCount> txtAnswer;
  QLabel* lblComment;
  QMenuBar* menuBar;
  QMenu *mnuDigitalNo, *mnuOperation, *mmuOptional, *mmuAbout;
  std::array<QAction*, 3> mnuDigital;
  std::array<QAction*, 5> munOpcode;
  QAction *mmuOption, *mmuZuzirArido;
};
struct AboutControls {
  QPushButton* cmdClose;
  QLabel* Label1;
};

template <typename Window, typename Controls>
const Controls& Cached(const Window* w, Controls (*find)(const Window*)) {
  static QPointer<const Window> seen;
  static Controls controls{};
  if (seen != w || seen.isNull()) {
    controls = find(w);
    seen = w;
  }
  return controls;
}

inline const StartControls& Controls(const frmStart* w) {
  return Cached<frmStart, StartControls>(w, [](const frmStart* s) {
    StartControls c{};
    c.Frame1 = Named<EtchedFrame>(s, "Frame1");
    c.Label1 = Named<QLabel>(s, "Label1");
    c.frmeLevel = Named<EtchedFrame>(s, "frmeLevel");
    c.cmdPlay = Named<QPushButton>(s, "cmdPlay");
    for (int i = 0; i < 3; ++i)
      c.optLevel[static_cast<std::size_t>(i)] = Named<QRadioButton>(s, Indexed("optLevel", i));
    c.Label2 = Named<QLabel>(s, "Label2");
    return c;
  });
}

inline const MathControls& Controls(const frmMath* w) {
  return Cached<frmMath, MathControls>(w, [](const frmMath* m) {
    MathControls c{};
    c.client = Named<QWidget>(m, "client");
    for (int i = 1; i <= kRowCount; ++i) {
      const auto k = static_cast<std::size_t>(i - 1);
      c.lblNum1[k] = Named<QLabel>(m, Indexed("lblNum1", i));
      c.lblOpcode[k] = Named<QLabel>(m, Indexed("lblOpcode", i));
      c.lblNum2[k] = Named<QLabel>(m, Indexed("lblNum2", i));
      c.lblEqual[k] = Named<QLabel>(m, Indexed("lblEqual", i));
      c.lblMessage[k] = Named<QLabel>(m, Indexed("lblMessage", i));
      c.txtAnswer[k] = Named<AnswerBox>(m, Indexed("txtAnswer", i));
    }
    c.lblComment = Named<QLabel>(m, "lblComment");
    c.menuBar = Named<QMenuBar>(m, "menuBar");
    c.mnuDigitalNo = Named<QMenu>(m, "mnuDigitalNo");
    c.mnuOperation = Named<QMenu>(m, "mnuOperation");
    c.mmuOptional = Named<QMenu>(m, "mmuOptional");
    c.mmuAbout = Named<QMenu>(m, "mmuAbout");
    for (int i = 1; i <= 3; ++i)
      c.mnuDigital[static_cast<std::size_t>(i - 1)] = Named<QAction>(m, Indexed("mnuDigital", i));
    for (int i = 1; i <= 5; ++i)
      c.munOpcode[static_cast<std::size_t>(i - 1)] = Named<QAction>(m, Indexed("munOpcode", i));
    c.mmuOption = Named<QAction>(m, "mmuOption(1)");
    c.mmuZuzirArido = Named<QAction>(m, "mmuZuzirArido(0)");
    return c;
  });
}

inline const AboutControls& Controls(const frmAbout* w) {
  return Cached<frmAbout, AboutControls>(w, [](const frmAbout* a) {
    return AboutControls{Named<QPushButton>(a, "cmdClose"), Named<QLabel>(a, "Label1")};
  });
}

// Lets queued notices, window activations and repaints happen.
inline void Settle() {
  for (int i = 0; i < 8; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

class GameTest : public ::testing::Test {
 protected:
  // With real is true the game shows real QMessageBoxes; otherwise the
  // recording double answers them.
  void StartGame(bool real = false) {
    game_ = std::make_unique<Game>(
        random_, real ? static_cast<rt::MessageBoxes&>(qtBoxes_) : static_cast<rt::MessageBoxes&>(boxes_));
    game_->layer().SetQuitHandler([this] { ++quits_; });
    game_->Start();
    Settle();
  }
  void SetUp() override { StartGame(); }
  void TearDown() override {
    game_.reset();
    Settle();
  }

  ScreenFlow& flow() { return game_->flow(); }
  Quiz& quiz() { return *flow().quiz(); }
  frmStart* start() { return game_->layer().StartWindow(); }
  frmMath* math() { return game_->layer().MathWindow(); }
  frmAbout* about() { return game_->layer().AboutWindow(); }
  AnswerBox* box(int row) { return Controls(math()).txtAnswer.at(static_cast<std::size_t>(row - 1)); }
  QLabel* message(int row) { return Controls(math()).lblMessage.at(static_cast<std::size_t>(row - 1)); }
  // The row whose box has the quiz window's focus (the focus of the desktop
  // when the window is active).
  std::int16_t focusRow() { return math()->FocusRow(); }

  void Play() {
    QTest::mouseClick(Controls(start()).cmdPlay, Qt::LeftButton);
    Settle();
  }
  // The player's keys go to whatever has the focus. When a message box has
  // just closed, the offscreen platform activates no window again; the
  // window manager of a desktop gives the activation back to the quiz.
  QWidget* Focus() {
    if (QApplication::focusWidget() == nullptr && math() != nullptr && math()->isVisible()) {
      math()->activateWindow();
      Settle();
    }
    QWidget* f = QApplication::focusWidget();
    EXPECT_NE(f, nullptr);
    return f != nullptr ? f : static_cast<QWidget*>(start());
  }
  void Type(const QString& text) {
    for (QChar c : text) {
      QTest::keyClick(Focus(), c.toLatin1());
      Settle();
    }
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Focus(), key, mods);
    Settle();
  }
  void Submit(const QString& text) {
    Type(text);
    Key(Qt::Key_Return);
  }
  // The product of a row's operands, read from its labels.
  int Product(int row) {
    const auto k = static_cast<std::size_t>(row - 1);
    return Controls(math()).lblNum1[k]->text().toInt() * Controls(math()).lblNum2[k]->text().toInt();
  }
  QString Right(int row) { return QString::number(Product(row)); }
  QString Wrong(int row) { return QString::number(Product(row) + 1); }
  // The operand texts of all rows, to tell whether the questions changed.
  QStringList Questions() {
    QStringList q;
    for (int i = 0; i < kRowCount; ++i)
      q << Controls(math()).lblNum1[static_cast<std::size_t>(i)]->text() +
               Controls(math()).lblOpcode[static_cast<std::size_t>(i)]->text() +
               Controls(math()).lblNum2[static_cast<std::size_t>(i)]->text();
    return q;
  }
  int PromptsShown(std::string_view prompt) {
    int n = 0;
    for (const auto& b : boxes_.shown) n += b.prompt == prompt ? 1 : 0;
    return n;
  }

  SeededRandom random_{11};
  RecordingBoxes boxes_;
  QtMessageBoxes qtBoxes_;
  std::unique_ptr<Game> game_;
  int quits_ = 0;
};

// Answers the next real message box from inside its own event loop.
struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  bool scoreLineShown = false;  // what the quiz screen showed meanwhile
  QString scoreLine;
  QString accessibleText;  // the prompt as assistive tools read it
};

// Answers real message boxes, one scripted button each, from a timer that
// runs inside the box's own event loop.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers, std::function<void(SeenBox&)> inspect = {})
      : answers_(std::move(answers)), inspect_(std::move(inspect)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(5);
  }
  std::vector<SeenBox> seen;
  bool Done() const { return answers_.empty(); }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    // The player answers a box once it is the active window, with the focus in it.
    if (box == nullptr || !box->isVisible() || !box->isActiveWindow() || answers_.empty()) return;
    SeenBox s;
    s.title = box->windowTitle();
    s.text = box->text();
    s.icon = box->icon();
    s.buttons = box->standardButtons();
    if (QPushButton* d = box->defaultButton()) s.defaultButton = box->standardButton(d);
    if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box)) {
      for (int i = 0; i < a->childCount(); ++i) s.accessibleText += a->child(i)->text(QAccessible::Name) + "|";
    }
    if (inspect_) inspect_(s);
    seen.push_back(s);
    const QMessageBox::StandardButton answer = answers_.front();
    answers_.pop_front();
    box->button(answer)->click();
  }

  std::deque<QMessageBox::StandardButton> answers_;
  std::function<void(SeenBox&)> inspect_;
  QTimer timer_;
};

}  // namespace tavrix::screens::testing
