// txtAnswer(i): a one-line answer box whose key presses reach the quiz before
// the box handles them.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <cstdint>
#include <functional>

namespace tavrix::screens {

// Where the answer boxes report what happens in them.
class QuizInput {
 public:
  virtual ~QuizInput() = default;
  // A key that produces a character code was pressed in row's box. The
  // receiver hands the code, possibly replaced, to boxHandles, which lets
  // the box handle it.
  virtual void AnswerKeyPress(std::int16_t row, std::int16_t code,
                              const std::function<void(std::int16_t)>& boxHandles) = 0;
  virtual void AnswerFocusIn(std::int16_t row) = 0;
  virtual void AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) = 0;
  virtual void AnswerTextChanged(std::int16_t row, const QString& text) = 0;
};

// A character that is drawn as nothing at all: control characters other than
// tab and line feed (drawn as blanks), and the characters Unicode marks as
// default-ignorable, such as U+202E, the zero-width ones, variation selectors
// and tags. Format characters that fonts draw as signs (U+0600, U+06DD) are
// not among them: they show, and a number stops there.
bool ShowsNothing(char32_t c);
// The text without the characters that show nothing.
QString WithoutInvisible(const QString& text);

class AnswerBox final : public QLineEdit {
  Q_OBJECT

 public:
  AnswerBox(std::int16_t row, QuizInput& input, QWidget* parent);
  std::int16_t row() const { return row_; }

  // The character code of a key, or -1 when the key produces none: Enter
  // and Return give 13, Backspace 8, Escape 27, other keys their character.
  static int CharCode(const QKeyEvent& e);

  // Where the character at offset is drawn, in the box's coordinates; null
  // past the end of the text. For assistive tools.
  QRect CharacterRect(int offset) const;

  // The label that shows the row's result, which describes the box to
  // assistive tools.
  void SetResultLabel(const QLabel* label) { result_ = label; }
  const QLabel* ResultLabel() const { return result_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void HandleCode(QKeyEvent* e, std::int16_t original, std::int16_t code);

  std::int16_t row_;
  QuizInput& input_;
  QPointer<const QLabel> result_;
};

}  // namespace tavrix::screens
