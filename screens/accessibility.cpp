#include "screens/accessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>

#include "screens/answer_box.h"
#include "screens/etched_frame.h"

namespace tavrix::screens {

namespace {

// txtAnswer(i), as a one-line text that can be typed in while its row is
// open. Qt's own line edit interface calls every line edit editable, read-only
// or not; a finished row's box is read-only and nothing else.
class AnswerBoxAccessible final : public QAccessibleWidget,
                                  public QAccessibleTextInterface,
                                  public QAccessibleEditableTextInterface {
 public:
  explicit AnswerBoxAccessible(AnswerBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  AnswerBox* box() const { return static_cast<AnswerBox*>(widget()); }

  // Named by its question as it is said ("43 times 36"), described by its
  // row's result once the row is finished ("Bingo!", "The answer is 1548").
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return box()->text();
    if (t == QAccessible::Name) {
      const QString question = SpokenQuestion(QuestionLabels());
      return question.isEmpty() ? QAccessibleWidget::text(t) : question;
    }
    if (t == QAccessible::Description) {
      const QLabel* result = box()->ResultLabel();
      return result != nullptr ? result->text() : QString();
    }
    return QAccessibleWidget::text(t);
  }
  // The question's labels label the box, but a screen reader would take the
  // first of them as its whole name: the name says the question instead.
  QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
    auto all = QAccessibleWidget::relations(match);
    all.removeIf([](const auto& r) { return r.second & QAccessible::Label; });
    return all;
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (t != QAccessible::Value) {
      QAccessibleWidget::setText(t, text);
      return;
    }
    if (!box()->isReadOnly()) box()->setText(text);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = box()->isReadOnly();
    s.editable = !s.readOnly;
    s.selectableText = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box()->hasSelectedText()) return;
    *startOffset = box()->selectionStart();
    *endOffset = *startOffset + static_cast<int>(box()->selectedText().size());
  }
  int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) box()->deselect();
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex == 0) box()->setSelection(startOffset, endOffset - startOffset);
  }
  int cursorPosition() const override { return box()->cursorPosition(); }
  void setCursorPosition(int position) override { box()->setCursorPosition(position); }
  QString text(int startOffset, int endOffset) const override {
    if (startOffset > endOffset) return {};
    return box()->text().mid(startOffset, endOffset - startOffset);
  }
  // An offset of -2 stands for the cursor's.
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                           int* endOffset) const override {
    return QAccessibleTextInterface::textBeforeOffset(offset == -2 ? cursorPosition() : offset, type, startOffset,
                                                      endOffset);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                          int* endOffset) const override {
    return QAccessibleTextInterface::textAfterOffset(offset == -2 ? cursorPosition() : offset, type, startOffset,
                                                     endOffset);
  }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                       int* endOffset) const override {
    return QAccessibleTextInterface::textAtOffset(offset == -2 ? cursorPosition() : offset, type, startOffset,
                                                  endOffset);
  }
  int characterCount() const override { return static_cast<int>(box()->text().size()); }
  QRect characterRect(int offset) const override {
    const QRect r = box()->CharacterRect(offset);
    return r.isNull() ? r : r.translated(box()->mapToGlobal(QPoint(0, 0)));
  }
  int offsetAtPoint(const QPoint& point) const override { return box()->cursorPositionAt(box()->mapFromGlobal(point)); }
  void scrollToSubstring(int startIndex, int endIndex) override {
    box()->setCursorPosition(endIndex);
    box()->setCursorPosition(startIndex);
  }
  // Plain text: one run without attributes over all of it. (An empty run
  // makes a screen reader stop reading at it, one character short.)
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    const int count = characterCount();
    *startOffset = 0;
    *endOffset = offset < 0 || offset > count ? 0 : count;
    return {};
  }

  // QAccessibleEditableTextInterface: a finished row's answer stays as it is.
  void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int startOffset, int endOffset, const QString& text) override {
    if (box()->isReadOnly()) return;
    box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
  }

 private:
  // The texts of the labels whose buddy the box is, in their order.
  QStringList QuestionLabels() const {
    QStringList texts;
    for (const auto& [label, how] : QAccessibleWidget::relations(QAccessible::Label))
      if (auto* l = qobject_cast<const QLabel*>(label->object())) texts << l->text();
    return texts;
  }
};

// A notification named by the text it announces, showing while it is
// announced and its window is shown.
class NoticeAccessible final : public QAccessibleWidget {
 public:
  explicit NoticeAccessible(Notice* notice) : QAccessibleWidget(notice, QAccessible::Notification) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return notice()->text();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.invisible = !notice()->announced() || !notice()->window()->isVisible();
    return s;
  }
  // Where the text it announces is shown.
  QRect rect() const override {
    if (state().invisible) return {};
    return {notice()->mapToGlobal(QPoint(0, 0)), notice()->size()};
  }

 private:
  const Notice* notice() const { return static_cast<const Notice*>(widget()); }
};

// Qt asks with the class names of an object, the most derived first.
QAccessibleInterface* Factory(const QString& className, QObject* object) {
  auto is = [&className](const QMetaObject& m) { return className == QLatin1String(m.className()); };
  // A frame around controls groups them under its caption.
  if (is(EtchedFrame::staticMetaObject))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
  if (is(AnswerBox::staticMetaObject)) return new AnswerBoxAccessible(static_cast<AnswerBox*>(object));
  if (is(Notice::staticMetaObject)) return new NoticeAccessible(static_cast<Notice*>(object));
  return nullptr;
}

}  // namespace

QString SpokenQuestion(const QStringList& parts) {
  static const QHash<QString, QString> kWords{{QStringLiteral("+"), QStringLiteral("plus")},
                                              {QStringLiteral("-"), QStringLiteral("minus")},
                                              {QStringLiteral("x"), QStringLiteral("times")},
                                              {QStringLiteral("/"), QStringLiteral("divided by")}};
  QStringList words;
  for (const QString& part : parts) {
    const QString p = part.simplified();
    if (p.isEmpty() || p == QLatin1String("=")) continue;
    words << kWords.value(p, p);
  }
  return words.join(QLatin1Char(' '));
}

void InstallAccessibility() {
  // Qt keeps each factory once, and drops them all with the application.
  QAccessible::installFactory(&Factory);
}

void Tell(QObject* about, QAccessible::Event type) {
  QAccessibleEvent e(about, type);
  QAccessible::updateAccessibility(&e);
}

Notice::Notice(QWidget* parent) : QWidget(parent) { hide(); }  // for good: showing its window does not show it

void Notice::Announce(const QString& text, const QRect& geometry) {
  Withdraw();
  setGeometry(geometry);
  if (text_ != text) {
    text_ = text;
    Tell(this, QAccessible::NameChanged);
  }
  announced_ = true;
  Tell(this, QAccessible::ObjectShow);
}

void Notice::Withdraw() {
  if (!announced_) return;
  announced_ = false;
  Tell(this, QAccessible::ObjectHide);
}

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("announcer"));
  hide();  // for good, like its notices
  for (Notice*& n : notices_) n = new Notice(this);
}

void Announcer::Announce(const QString& text, const QWidget* shownBy) {
  // Few events, once each: a screen reader drops announcements when events
  // come in floods.
  notices_[last_]->Withdraw();
  if (text.isEmpty()) return;
  last_ = (last_ + 1) % notices_.size();
  Notice* next = notices_[last_];
  next->Announce(text, shownBy != nullptr ? QRect(mapFromGlobal(shownBy->mapToGlobal(QPoint(0, 0))), shownBy->size())
                                          : next->geometry());
}

}  // namespace tavrix::screens
