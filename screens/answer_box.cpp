#include "screens/answer_box.h"

#include <QKeyEvent>
#include <QPainter>
#include <QValidator>
#include <algorithm>

#include "screens/contrast.h"
#include "screens/fonts.h"

namespace tavrix::screens {

bool ShowsNothing(QChar c) {
  switch (c.category()) {
    case QChar::Other_Control:
      // A tab or a line feed is drawn as a blank and read as one.
      return c != u'\t' && c != u'\n';
    case QChar::Other_Format:  // bidirectional controls, zero-width characters, soft hyphen
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
      return true;
    default:
      return false;
  }
}

QString WithoutInvisible(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    if (!ShowsNothing(c)) out.append(c);
  }
  return out;
}

namespace {

// The character codes of the keys that produce control characters.
constexpr int kCodeBackspace = 8;
constexpr int kCodeEnter = 13;
constexpr int kCodeEscape = 27;
constexpr int kCodeSpace = 32;  // the first code of a printable character

// Whatever reaches the box, typed, pasted or dropped, loses the characters
// that show nothing, so that the answer read is the one the player sees.
class VisibleTextOnly final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    if (std::none_of(input.cbegin(), input.cend(), ShowsNothing)) return Acceptable;
    pos = static_cast<int>(WithoutInvisible(input.left(pos)).size());
    input = WithoutInvisible(input);
    return Acceptable;
  }
};

}  // namespace

AnswerBox::AnswerBox(std::int16_t row, QuizInput& input, QWidget* parent)
    : QLineEdit(parent), row_(row), input_(input) {
  setObjectName(QStringLiteral("txtAnswer(%1)").arg(row));
  setFont(TimesFont(12, false));
  setAccessibleName(QStringLiteral("Answer %1").arg(row));
  setValidator(new VisibleTextOnly(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { input_.AnswerTextChanged(row_, t); });
}

int AnswerBox::CharCode(const QKeyEvent& e) {
  switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kCodeEnter;
    case Qt::Key_Backspace:
      return kCodeBackspace;
    case Qt::Key_Escape:
      return kCodeEscape;
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
  if (code == kCodeBackspace) {
    backspace();
  } else if (code >= kCodeSpace || code < 0) {
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

QRect AnswerBox::CharacterRect(int offset) const {
  const QString t = text();
  if (offset < 0 || offset >= t.size()) return {};
  // The text cursor stands in the middle of its rectangle; the character is
  // as far from it as the text between them is wide.
  const QFontMetrics metrics(font());
  const QRect cursor = cursorRect();
  const int at = cursorPosition();
  const int x = cursor.center().x() + (offset >= at ? metrics.horizontalAdvance(t.mid(at, offset - at))
                                                    : -metrics.horizontalAdvance(t.mid(offset, at - offset)));
  return {x, cursor.top(), metrics.horizontalAdvance(t.mid(offset, 1)), metrics.height()};
}

void AnswerBox::paintEvent(QPaintEvent* e) {
  QLineEdit::paintEvent(e);
  QPainter p(this);
  DrawOutline(p, palette(), rect(), OutlineShape::Box, hasFocus());
}

}  // namespace tavrix::screens
