// What assistive tools such as screen readers are told about the windows:
// the roles Qt cannot guess for the game's own controls, and the row results
// that are announced as they appear.
#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>
#include <array>

namespace tavrix::screens {

// Registers the accessible interfaces of the game's controls with Qt: the
// etched frames are groups, a finished answer box is read-only rather than
// editable, and the announcer is a notification. It must run before
// assistive tools first ask about any of these controls; the windows run it
// as they are built.
void InstallAccessibility();

// A question as it is said rather than shown, from the texts of its parts:
// {" 43", "x", " 36", "="} is "43 times 36".
QString SpokenQuestion(const QStringList& parts);

// Tells assistive tools of a change to a control: an event of type about it.
void Tell(QObject* about, QAccessible::Event type);

// One announcement: to assistive tools a notification named by its text,
// showing while it is announced. On screen it is nothing: it stays hidden.
class Notice final : public QWidget {
  Q_OBJECT

 public:
  explicit Notice(QWidget* parent);

  QString text() const { return text_; }
  bool announced() const { return announced_; }
  // Shows text to assistive tools, said to be where geometry is.
  void Announce(const QString& text, const QRect& geometry);
  // Takes it back; it keeps its text, for a tool that reads it late.
  void Withdraw();

 private:
  QString text_;
  bool announced_ = false;
};

// Tells assistive tools of a text as it appears, wherever the focus is:
// screen readers speak it. (The labels that show the texts cannot do it: Qt
// reports every control shown again each time its window is shown, and they
// would be announced again.)
//
// A screen reader reads an announcement's text when it comes to its event,
// which can be a second or more later. So each announcement is a notice of
// its own, used in turn, and a notice is not renamed until three more have
// been announced: the last row's result and the score, told together, are
// each read as they were.
class Announcer final : public QWidget {
  Q_OBJECT

 public:
  explicit Announcer(QWidget* parent);

  // Announces text, said to be where the control shownBy is; "" takes the
  // last announcement back.
  void Announce(const QString& text, const QWidget* shownBy = nullptr);

 private:
  std::array<Notice*, 4> notices_{};
  std::size_t last_ = 0;
};

}  // namespace tavrix::screens
