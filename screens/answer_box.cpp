#include "screens/answer_box.h"

#include <QKeyEvent>
#include <QPainter>
#include <QValidator>
#include <algorithm>
#include <iterator>
#include <utility>

#include "screens/contrast.h"
#include "screens/fonts.h"

namespace tavrix::screens {

namespace {

// Unicode's Default_Ignorable_Code_Point (DerivedCoreProperties.txt, Unicode
// 15.0), adjacent ranges merged: characters that a renderer shows as nothing
// unless it supports them, such as bidirectional controls, zero-width
// characters, variation selectors, fillers and tags.
constexpr std::pair<char32_t, char32_t> kDefaultIgnorable[] = {
    {0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x061C, 0x061C},   {0x115F, 0x1160},   {0x17B4, 0x17B5},   {0x180B, 0x180F},
    {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x206F},   {0x3164, 0x3164},   {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},
    {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
};

}  // namespace

bool ShowsNothing(char32_t c) {
  // A tab or a line feed is drawn as a blank and read as one.
  if (QChar::category(c) == QChar::Other_Control) return c != u'\t' && c != u'\n';
  const auto* range = std::lower_bound(std::begin(kDefaultIgnorable), std::end(kDefaultIgnorable), c,
                                       [](const std::pair<char32_t, char32_t>& r, char32_t x) { return r.second < x; });
  return range != std::end(kDefaultIgnorable) && range->first <= c;
}

QString WithoutInvisible(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    // A character beyond the first 65,536 takes two units, a surrogate pair.
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
    if (!ShowsNothing(c)) out.append(text.mid(i, pair ? 2 : 1));
    if (pair) ++i;
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
    QString visible = WithoutInvisible(input);
    if (visible.size() == input.size()) return Acceptable;
    pos = static_cast<int>(WithoutInvisible(input.left(pos)).size());
    input = std::move(visible);
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
    case Qt::Key_Enter: return kCodeEnter;
    case Qt::Key_Backspace: return kCodeBackspace;
    case Qt::Key_Escape: return kCodeEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return -1;
    default: break;
  }
  const QString text = e.text();
  if (text.isEmpty()) return -1;
  return text.at(0).unicode();
}

void AnswerBox::keyPressEvent(QKeyEvent* e) {
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
