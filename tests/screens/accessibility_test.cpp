// What assistive tools learn about the game through QAccessible: the roles,
// names, states and relations of the controls, the events that announce a
// row's result and the message boxes; and that every control stays visible
// under light and dark colour schemes.
#include <QAccessibleBridge>
#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtPlugin>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

// One accessibility event as the desktop's bridge (AT-SPI on Linux) gets
// it, with what the control said about itself at that moment.
struct SeenEvent {
  QAccessible::Event type;
  QPointer<QObject> object;
  QAccessible::Role role = QAccessible::NoRole;
  QString name;
  QAccessible::State state;
  QAccessible::State changed;  // of a StateChanged event
};

std::vector<SeenEvent>* recording = nullptr;

// A stand-in for the desktop's bridge: on the offscreen platform, Qt hands
// the accessibility events of the application to the bridges that plugins
// provide.
class RecordingBridge final : public QAccessibleBridge {
 public:
  void setRootObject(QAccessibleInterface* /*root*/) override {}
  void notifyAccessibilityUpdate(QAccessibleEvent* e) override {
    if (recording == nullptr) return;
    SeenEvent seen{e->type(), e->object(), QAccessible::NoRole, {}, {}, {}};
    if (QAccessibleInterface* a = e->accessibleInterface(); a != nullptr && a->isValid()) {
      seen.role = a->role();
      seen.name = a->text(QAccessible::Name);
      seen.state = a->state();
    }
    if (e->type() == QAccessible::StateChanged)
      seen.changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
    recording->push_back(seen);
  }
};

}  // namespace
}  // namespace tavrix::screens::testing

class TavrixRecordingBridgePlugin final : public QAccessibleBridgePlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "recording_bridge.json")

 public:
  QAccessibleBridge* create(const QString& /*key*/) override {
    // Qt keeps the bridge for the life of the program and never deletes it.
    static tavrix::screens::testing::RecordingBridge bridge;
    return &bridge;
  }
};

Q_IMPORT_PLUGIN(TavrixRecordingBridgePlugin)

namespace tavrix::screens::testing {
namespace {

QAccessibleInterface* A(QObject* o) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
  EXPECT_NE(a, nullptr) << o->objectName().toStdString();
  return a;
}

// The controls an interface is related to in one way.
std::vector<QObject*> Related(QAccessibleInterface* a, QAccessible::Relation relation) {
  std::vector<QObject*> objects;
  for (const auto& [other, how] : a->relations(relation)) {
    if (how == relation) objects.push_back(other->object());
  }
  return objects;
}

class AccessibilityTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    recording = &events;
  }
  void TearDown() override {
    recording = nullptr;
    GameTest::TearDown();
  }
  // The position of the first event of a type from an object, if any.
  std::optional<std::size_t> Find(QAccessible::Event type, const QObject* from) const {
    for (std::size_t i = 0; from != nullptr && i < events.size(); ++i)
      if (events[i].type == type && events[i].object == from) return i;
    return std::nullopt;
  }
  // The announcements: notifications, hidden on screen.
  std::vector<QWidget*> Notices() {
    std::vector<QWidget*> notices;
    if (auto* announcer = Named<QWidget>(math(), "announcer"))
      for (QWidget* w : announcer->findChildren<QWidget*>())
        if (A(w)->role() == QAccessible::Notification) notices.push_back(w);
    return notices;
  }
  bool NothingAnnounced() {
    const std::vector<QWidget*> notices = Notices();
    return !notices.empty() && std::all_of(notices.begin(), notices.end(), [](QWidget* n) {
      return A(n)->state().invisible && !n->isVisible();  // nothing on screen either
    });
  }
  // The position of the first announcement, if any.
  std::optional<std::size_t> FindAnnouncement() const {
    for (std::size_t i = 0; i < events.size(); ++i)
      if (events[i].type == QAccessible::ObjectShow && events[i].role == QAccessible::Notification) return i;
    return std::nullopt;
  }
  int Announcements() const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [](const SeenEvent& e) {
      return e.type == QAccessible::ObjectShow && e.role == QAccessible::Notification;
    }));
  }

  std::vector<SeenEvent> events;
};

TEST_F(AccessibilityTest, WindowsAreFramesNamedAfterTheGame) {
  Play();
  // The quiz window's activation comes from a window: Qt's AT-SPI bridge
  // tells the desktop of a window's activation only from a window.
  bool activated = false;
  for (const SeenEvent& e : events)
    activated |=
        e.type == QAccessible::StateChanged && e.object == math() && e.changed.active && e.role == QAccessible::Window;
  EXPECT_TRUE(activated);
  Controls(math()).mmuZuzirArido->trigger();
  Settle();
  ASSERT_NE(about(), nullptr);
  for (ScreenWindow* w : std::initializer_list<ScreenWindow*>{start(), math(), about()}) {
    SCOPED_TRACE(w->objectName().toStdString());
    QAccessibleInterface* a = A(w);
    EXPECT_EQ(a->role(), QAccessible::Window);
    EXPECT_EQ(a->text(QAccessible::Name), "Tavrix");
    EXPECT_EQ(a->state().active, w->isActiveWindow());
  }
}

TEST_F(AccessibilityTest, FramesAreNamedGroups) {
  const StartControls& c = Controls(start());
  EXPECT_EQ(A(c.Frame1)->role(), QAccessible::Grouping);
  EXPECT_EQ(A(c.Frame1)->text(QAccessible::Name), "How to Play");
  EXPECT_EQ(A(c.Label1)->parent()->object(), c.Frame1);
  EXPECT_EQ(A(c.frmeLevel)->role(), QAccessible::Grouping);
  EXPECT_EQ(A(c.frmeLevel)->text(QAccessible::Name), "Choose a Level");
  for (QRadioButton* opt : c.optLevel) EXPECT_EQ(A(opt)->parent()->object(), c.frmeLevel);
}

TEST_F(AccessibilityTest, LevelOptionsAreNamedWithoutTheirLeadingBlanks) {
  const std::array<QString, 3> names = {"EASY", "MEDIUM", "HARD"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    QRadioButton* opt = Controls(start()).optLevel[i];
    SCOPED_TRACE(opt->text().toStdString());
    EXPECT_EQ(opt->text(), "  " + names[i]);  // the caption keeps them
    EXPECT_EQ(A(opt)->text(QAccessible::Name), names[i]);
    EXPECT_EQ(A(opt)->role(), QAccessible::RadioButton);
    EXPECT_EQ(A(opt)->state().checked, opt->isChecked());
  }
}

// The question names its answer box as it is said; a screen reader would
// take a label of the box (its first operand) for its whole name.
TEST_F(AccessibilityTest, TheQuestionNamesItsAnswerBoxAsItIsSaid) {
  Play();
  quiz().Row(3).num1 = " 43";
  quiz().Row(3).num2 = " 36";
  game_->Refresh();
  const MathControls& c = Controls(math());
  for (std::size_t k = 0; k < kRowCount; ++k) {
    SCOPED_TRACE(k + 1);
    QAccessibleInterface* box = A(c.txtAnswer[k]);
    EXPECT_TRUE(Related(box, QAccessible::Label).empty());
    EXPECT_EQ(box->text(QAccessible::Name),
              c.lblNum1[k]->text().trimmed() + " times " + c.lblNum2[k]->text().trimmed());
    EXPECT_TRUE(Related(A(c.lblMessage[k]), QAccessible::AllRelations).empty());
  }
  EXPECT_EQ(A(box(3))->text(QAccessible::Name), "43 times 36");
  EXPECT_EQ(c.lblOpcode[2]->text().trimmed(), "x");  // what is shown stays
}

TEST(SpokenQuestionTest, SaysTheOperationInWords) {
  const std::pair<QStringList, QString> cases[] = {
      {{" 43", " x ", " 36", "="}, "43 times 36"}, {{"7", "+", "8"}, "7 plus 8"}, {{"9", "-", "2", "="}, "9 minus 2"},
      {{"8", "/", "4"}, "8 divided by 4"},         {{"", "", "", ""}, ""},
  };
  for (const auto& [parts, said] : cases) EXPECT_EQ(SpokenQuestion(parts), said) << parts.join('|').toStdString();
}

// A finished row, read again, says its result; the typed answer is one run
// of text without attributes over all its characters.
TEST_F(AccessibilityTest, AFinishedRowIsDescribedByItsResultAndItsTextIsOneRun) {
  Play();
  const int row = focusRow();
  EXPECT_EQ(A(box(row))->text(QAccessible::Description), "");
  Submit(Right(row));
  QAccessibleInterface* done = A(box(row));
  EXPECT_EQ(done->text(QAccessible::Description), "Bingo!");
  QAccessibleTextInterface* text = done->textInterface();
  ASSERT_NE(text, nullptr);
  const int count = text->characterCount();
  ASSERT_EQ(count, Right(row).size());
  for (int offset : {0, count - 1, count}) {
    int start = -1, end = -1;
    EXPECT_EQ(text->attributes(offset, &start, &end), "");
    EXPECT_EQ(start, 0) << offset;
    EXPECT_EQ(end, count) << offset;
  }
}

TEST_F(AccessibilityTest, AFinishedAnswerBoxIsReadOnlyNotEditable) {
  Play();
  QAccessibleInterface* open = A(box(1));
  EXPECT_EQ(open->role(), QAccessible::EditableText);
  EXPECT_TRUE(open->state().editable);
  EXPECT_FALSE(open->state().readOnly);
  EXPECT_TRUE(open->state().focused);
  const QString right = Right(1);
  Type(right);
  QAccessibleTextInterface* text = open->textInterface();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->characterCount(), right.size());
  EXPECT_EQ(text->text(0, text->characterCount()), right);
  EXPECT_EQ(text->cursorPosition(), right.size());
  EXPECT_EQ(open->text(QAccessible::Value), right);
  const QRect first = text->characterRect(0);
  EXPECT_TRUE(QRect(box(1)->mapToGlobal(QPoint(0, 0)), box(1)->size()).contains(first.center()));
  EXPECT_EQ(text->offsetAtPoint(first.center()), 0);
  Key(Qt::Key_Return);

  QAccessibleInterface* finished = A(box(1));
  EXPECT_TRUE(finished->state().readOnly);
  EXPECT_FALSE(finished->state().editable);
  ASSERT_NE(finished->editableTextInterface(), nullptr);
  finished->editableTextInterface()->insertText(0, "9");
  finished->setText(QAccessible::Value, "9");
  EXPECT_EQ(box(1)->text(), right);  // a finished answer stays as it is
  EXPECT_EQ(Q(quiz().Row(1).answer), right);

  // An open box takes text from assistive tools as from the keyboard.
  A(box(2))->editableTextInterface()->insertText(0, "12");
  Settle();
  EXPECT_EQ(box(2)->text(), "12");
  EXPECT_EQ(Q(quiz().Row(2).answer), "12");
  EXPECT_TRUE(A(box(2))->state().editable);
}

TEST_F(AccessibilityTest, ARowsResultIsAnnouncedBeforeTheFocusMovesOn) {
  Play();
  EXPECT_EQ(Announcements(), 0);  // showing the quiz window announces nothing
  EXPECT_TRUE(NothingAnnounced());
  events.clear();
  Submit(Right(1));
  const auto shown = FindAnnouncement();
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(events[*shown].name, "Bingo!");
  EXPECT_FALSE(events[*shown].state.invisible);
  EXPECT_FALSE(static_cast<QWidget*>(events[*shown].object.data())->isVisible());  // nothing on screen
  EXPECT_EQ(A(events[*shown].object)->rect(), A(message(1))->rect());              // where the result is shown
  const auto focus = Find(QAccessible::Focus, box(2));
  ASSERT_TRUE(focus.has_value());
  EXPECT_LT(*shown, *focus);  // heard while the player is still in row 1
  EXPECT_EQ(Announcements(), 1);

  events.clear();
  Submit(Wrong(2));
  Submit(Wrong(2));
  EXPECT_EQ(Announcements(), 0);  // a wrong answer leaves the row open
  Submit(Wrong(2));
  const auto revealed = FindAnnouncement();
  ASSERT_TRUE(revealed.has_value());
  EXPECT_EQ(events[*revealed].name, Q(kAnswerIs) + Right(2));
  const auto next = Find(QAccessible::Focus, box(3));
  ASSERT_TRUE(next.has_value());
  EXPECT_LT(*revealed, *next);
  EXPECT_EQ(Announcements(), 1);

  // A new quiz, after the window was hidden and shown again, takes the last
  // announcement back and announces none of the old results.
  QObject* last = events[*revealed].object;
  events.clear();
  boxes_.answers = {rt::IDYES};
  Controls(math()).mmuOption->trigger();  // Exit Game
  Settle();
  Play();
  EXPECT_EQ(Announcements(), 0);
  EXPECT_TRUE(Find(QAccessible::ObjectHide, last).has_value());
  EXPECT_TRUE(NothingAnnounced());
  EXPECT_EQ(message(1)->text(), "");
}

// The score is announced as it appears, before the play-again question;
// after "No" the blank screen tells what is left to use: the menus.
TEST_F(AccessibilityTest, TheScoreAndTheMenusLeftAreAnnounced) {
  Play();
  boxes_.answers = {rt::IDNO};
  events.clear();
  for (int i = 0; i < kRowCount; ++i) Submit(Right(focusRow()));
  ASSERT_EQ(PromptsShown(kPlayAgain), 1);
  std::vector<QString> said;
  for (const SeenEvent& e : events)
    if (e.type == QAccessible::ObjectShow && e.role == QAccessible::Notification) said.push_back(e.name);
  ASSERT_GE(said.size(), 3u);
  EXPECT_EQ(std::count(said.begin(), said.end(), QStringLiteral("Bingo!")), kRowCount);
  EXPECT_TRUE(said[said.size() - 2].startsWith(Q(kScorePrefix))) << said[said.size() - 2].toStdString();
  EXPECT_TRUE(said.back().contains("Menus")) << said.back().toStdString();
  // A screen reader reads an announcement when it comes to its event, which
  // can be after the next ones: each still says what it announced. (The
  // last row's "Bingo!" and the score come together.)
  std::vector<QString> readLate;
  for (const SeenEvent& e : events)
    if (e.type == QAccessible::ObjectShow && e.role == QAccessible::Notification && e.object != nullptr)
      readLate.push_back(A(e.object)->text(QAccessible::Name));
  ASSERT_EQ(readLate.size(), said.size());
  for (std::size_t i = said.size() - 3; i < said.size(); ++i) EXPECT_EQ(readLate[i], said[i]) << i;
  EXPECT_FALSE(Controls(math()).lblComment->isVisible());  // what is shown is unchanged
  // Clearing the rows after "No" hands the focus down none of them: a
  // screen reader would read each box on the way. (The box the quiz ended in
  // may have it back as its window is active again.)
  std::size_t scoreAt = 0;
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i].type == QAccessible::ObjectShow && events[i].name.startsWith(Q(kScorePrefix))) scoreAt = i;
  ASSERT_GT(scoreAt, 0u);
  std::vector<int> focused;
  for (std::size_t i = scoreAt; i < events.size(); ++i)
    for (int row = 1; row <= kRowCount; ++row)
      if (events[i].type == QAccessible::Focus && events[i].object == box(row)) focused.push_back(row);
  EXPECT_LE(focused.size(), 1u) << "boxes focused after the score: " << focused.size();
  // Nor are the hidden boxes renamed or described anew, one by one: the
  // events would come as a flood, in which a screen reader drops the
  // announcement of the menus.
  int told = 0;
  for (std::size_t i = scoreAt; i < events.size(); ++i)
    for (int row = 1; row <= kRowCount; ++row)
      told += events[i].object == box(row) &&
              (events[i].type == QAccessible::NameChanged || events[i].type == QAccessible::DescriptionChanged);
  EXPECT_EQ(told, 0);
  // Shown again for a new quiz, each box is told of anew: what a screen
  // reader kept of it ("Bingo!") is out of date.
  events.clear();
  boxes_.answers = {rt::IDYES};
  Controls(math()).mmuOption->trigger();  // Exit Game
  Settle();
  Play();
  for (int row = 1; row <= kRowCount; ++row) {
    SCOPED_TRACE(row);
    EXPECT_TRUE(Find(QAccessible::NameChanged, box(row)).has_value());
    EXPECT_TRUE(Find(QAccessible::DescriptionChanged, box(row)).has_value());
    EXPECT_EQ(A(box(row))->text(QAccessible::Description), "");
  }
}

class AccessibleBoxesTest : public AccessibilityTest {
 protected:
  void SetUp() override {
    StartGame(true);
    Play();
    recording = &events;
  }
};

// What a screen reader reads of a message box: an alert named by the title,
// with the prompt as its value and as a label that labels nothing else, and
// the focus on its default button.
TEST_F(AccessibleBoxesTest, MessageBoxesAreAlertsThatSayTheirPrompt) {
  struct Heard {
    QAccessible::Role role = QAccessible::NoRole;
    QString name, value, prompt, focus;
    std::size_t eventsBefore = 0;
  };
  std::vector<Heard> heard;
  BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok}, [this, &heard](SeenBox&) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
    Heard h{a->role(), a->text(QAccessible::Name), a->text(QAccessible::Value), {}, {}, events.size()};
    for (int i = 0; i < a->childCount(); ++i) {
      QAccessibleInterface* child = a->child(i);
      if (child->role() == QAccessible::StaticText && !child->state().invisible && child->relations().isEmpty())
        h.prompt += child->text(QAccessible::Name);
    }
    if (QWidget* f = QApplication::focusWidget(); f != nullptr && f->window() == box)
      h.focus = QAccessible::queryAccessibleInterface(f)->text(QAccessible::Name);
    heard.push_back(h);
  });
  for (int t = 0; t < 3; ++t) Submit(Wrong(1));
  ASSERT_EQ(heard.size(), 3u);
  const std::array<QString, 3> prompts = {Q(kTryAgain), Q(kTryAgain), Q(kSorry) + Right(1)};
  for (std::size_t i = 0; i < heard.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(heard[i].role, QAccessible::AlertMessage);
    EXPECT_EQ(heard[i].name, "Tavrix");
    EXPECT_EQ(heard[i].value, prompts[i]);
    EXPECT_EQ(heard[i].prompt, prompts[i]);
    EXPECT_EQ(heard[i].focus, "OK");
  }
  // The reveal box is heard before the row's own announcement.
  const auto revealed = FindAnnouncement();
  ASSERT_TRUE(revealed.has_value());
  EXPECT_GE(*revealed, heard[2].eventsBefore);
  EXPECT_EQ(Announcements(), 1);
}

// ------------------------------------------------------------ colour schemes

// WCAG's contrast ratio of two colours, 1 to 21.
double Contrast(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The most any pixel of an area stands out from a background colour.
double MostContrast(const QImage& image, const QRect& area, const QColor& background) {
  double most = 1;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      most = std::max(most, Contrast(image.pixelColor(x, y), background));
  return most;
}

// A palette as a colour scheme of Debian's qt6ct lists it: the colours of
// the roles from WindowText to PlaceholderText, for every colour group.
QPalette Scheme(const char* colours) {
  QPalette p;
  const QStringList list = QString::fromLatin1(colours).split(',');
  for (int role = 0; role < list.size() && role < QPalette::NColorRoles; ++role) {
    if (role != QPalette::NoRole) p.setColor(static_cast<QPalette::ColorRole>(role), QColor(list[role].trimmed()));
  }
  return p;
}

struct ColourScheme {
  const char* name;
  QPalette palette;
  bool dark;
};

std::vector<ColourScheme> Schemes() {
  QStyle* fusion = QStyleFactory::create("Fusion");
  std::vector<ColourScheme> schemes = {
      {"Fusion's own", fusion->standardPalette(), false},
      {"qt6ct simple",
       Scheme("#000000, #efebe7, #ffffff, #cbc7c4, #9f9d9a, #b8b5b2, #000000, #ffffff, #000000, #ffffff, #efebe7, "
              "#b1aeab, #308cc6, #ffffff, #0000ff, #ff0000, #f7f5f3, #000000, #ffffdc, #000000, #80000000"),
       false},
      {"qt6ct darker",
       Scheme("#ffffff, #424245, #979797, #5e5c5b, #302f2e, #4a4947, #ffffff, #ffffff, #ffffff, #3d3d3d, #222020, "
              "#e7e4e0, #12608a, #f9f9f9, #0986d3, #a70b06, #5c5b5a, #ffffff, #3f3f36, #ffffff, #80ffffff"),
       true},
      {"qt6ct waves",
       Scheme("#b0b0b0, #010b2c, #979797, #5e5c5b, #302f2e, #4a4947, #b0b0b0, #b0b0b0, #b0b0b0, #010b2c, #010b2c, "
              "#b0b0b0, #302f2e, #b0b0b0, #0986d3, #a70b06, #5c5b5a, #ffffff, #3f3f36, #ffffff, #80ffffff"),
       true},
  };
  delete fusion;
  return schemes;
}

// The level options and the answer boxes, open and finished, under Fusion
// with each scheme: on a dark scheme their outlines stand out from the
// window at least 3:1, as the outlines of controls should; on a light one
// they are drawn exactly as the style draws any radio button or line edit.
TEST_F(AccessibilityTest, ControlsStayVisibleUnderLightAndDarkSchemes) {
  // The other tests run with the application's own look.
  struct RestoreLook {
    QString style = QApplication::style()->name();
    QPalette palette = QApplication::palette();
    std::unique_ptr<Game>& game;
    ~RestoreLook() {
      game.reset();
      Settle();
      QApplication::setStyle(style);
      QApplication::setPalette(palette);
    }
  } restore{.game = game_};
  QApplication::setStyle("Fusion");
  for (const ColourScheme& scheme : Schemes()) {
    SCOPED_TRACE(scheme.name);
    game_.reset();
    Settle();
    QApplication::setPalette(scheme.palette);
    StartGame();
    const QColor face = scheme.palette.color(QPalette::Button);  // the windows' background
    EXPECT_EQ(start()->palette().color(QPalette::Window), face);

    for (QRadioButton* opt : Controls(start()).optLevel) {
      SCOPED_TRACE(opt->objectName().toStdString());
      QStyleOptionButton option;
      option.initFrom(opt);
      const QRect indicator = opt->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, opt);
      const QImage drawn = opt->grab().toImage();
      if (scheme.dark) {
        EXPECT_GE(MostContrast(drawn, indicator, face), 3.0);
      } else {
        QWidget plain;
        plain.setPalette(opt->palette());
        plain.setFont(opt->font());
        QRadioButton same(opt->text(), &plain);
        same.setGeometry(opt->geometry());
        same.setChecked(opt->isChecked());
        EXPECT_EQ(same.grab().toImage(), drawn);
      }
      // The caption reads well on any scheme.
      EXPECT_GE(MostContrast(drawn, drawn.rect().adjusted(indicator.right() + 1, 0, 0, 0), face), 4.5);
    }

    Play();
    Submit(Right(1));  // row 1 finished, row 2 open with the focus
    for (int row : {1, 2, 3}) {
      SCOPED_TRACE(row);
      AnswerBox* b = box(row);
      const QImage drawn = b->grab().toImage();
      if (scheme.dark) {
        // The outline: the two outermost pixels all round.
        for (const QRect& edge : {QRect(0, 0, b->width(), 2), QRect(0, b->height() - 2, b->width(), 2),
                                  QRect(0, 0, 2, b->height()), QRect(b->width() - 2, 0, 2, b->height())})
          EXPECT_GE(MostContrast(drawn, edge, face), 3.0);
      } else {
        QWidget plain;
        plain.setPalette(Controls(math()).client->palette());
        QLineEdit same(b->text(), &plain);
        same.setPalette(b->palette());
        same.setFont(b->font());
        same.setReadOnly(b->isReadOnly());
        same.setGeometry(b->geometry());
        same.setCursorPosition(b->cursorPosition());
        if (!b->hasFocus()) {  // a box without the focus cannot show it
          EXPECT_EQ(same.grab().toImage(), drawn);
        }
      }
    }
  }
}

// A key changes what it changes and nothing else: the boxes' names (their
// questions) and descriptions (their results) are not announced again on
// every redraw, where each event reaches a screen reader as a change to report.
TEST_F(AccessibilityTest, AKeyRenamesNoBoxAndAChangedQuestionOnlyItsOwn) {
  Play();
  auto boxEvents = [this](QAccessible::Event type) {
    return std::count_if(events.begin(), events.end(), [type](const SeenEvent& e) {
      return e.type == type && qobject_cast<AnswerBox*>(e.object.data()) != nullptr;
    });
  };
  const QString right = Right(1);
  events.clear();
  Type(right.left(1));
  EXPECT_EQ(boxEvents(QAccessible::NameChanged), 0) << "typing a digit";
  EXPECT_EQ(boxEvents(QAccessible::DescriptionChanged), 0) << "typing a digit";
  Type(right.mid(1));
  events.clear();
  Key(Qt::Key_Return);
  ASSERT_EQ(message(1)->text(), "Bingo!");
  EXPECT_EQ(boxEvents(QAccessible::NameChanged), 0) << "a right answer";
  EXPECT_EQ(boxEvents(QAccessible::DescriptionChanged), 1) << "a right answer: its row's result";

  quiz().Row(4).num1 = " 9";
  events.clear();
  game_->Refresh();
  EXPECT_EQ(boxEvents(QAccessible::NameChanged), 1) << "one question changed";
  EXPECT_EQ(boxEvents(QAccessible::DescriptionChanged), 0) << "one question changed";
}

}  // namespace
}  // namespace tavrix::screens::testing

#include "accessibility_test.moc"
