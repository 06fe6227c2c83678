// What assistive tools such as screen readers are told about the windows:
// the roles Qt cannot guess for the game's own controls, and the row results
// that are announced as they appear.
#pragma once

#include <QString>
#include <QWidget>

namespace tavrix::screens {

// Registers the accessible interfaces of the game's controls with Qt: the
// windows are frames, the etched frames are groups, a finished answer box is
// read-only rather than editable, and the announcer is a notification. It
// must run before assistive tools first ask about any of these controls; the
// windows run it as they are built.
void InstallAccessibility();

// A question as it is said rather than shown, from the texts of its parts:
// {" 43", "x", " 36", "="} is "43 times 36".
QString SpokenQuestion(const QStringList& parts);

// Tells assistive tools of a text as it appears, wherever the focus is: to
// them it is a notification that shows with the text, which screen readers
// speak. On screen it is nothing: it stays hidden. (The labels that show the
// texts cannot be the notification: Qt reports every control shown again
// each time its window is shown, and they would be announced again.)
class Announcer final : public QWidget {
  Q_OBJECT

 public:
  explicit Announcer(QWidget* parent);

  // Announces text, said to be where the control shownBy is; "" takes the
  // last announcement back.
  void Announce(const QString& text, const QWidget* shownBy = nullptr);
  QString text() const { return text_; }

 private:
  QString text_;
};

}  // namespace tavrix::screens
