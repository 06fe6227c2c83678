// Outlines that keep the answer boxes and the level options visible on dark
// colour schemes. The controls keep the system colours; but where the text
// is lighter than the window, the outline that a style draws a shade darker
// than the window hardly shows, and a ring in the text colour, mixed with the
// window colour, is drawn over it.
#pragma once

#include <QPainter>
#include <QPalette>
#include <QRect>

namespace tavrix::screens {

// Whether the palette's text is lighter than its window.
bool DarkScheme(const QPalette& palette);

// What a control's outline looks like on a dark scheme: a rounded box or a
// round indicator, brighter while the control has the focus.
enum class OutlineShape { Box, Round };

// Draws the outline of a control that fills rect (in the painter's
// coordinates), but only on a dark scheme.
void DrawOutline(QPainter& painter, const QPalette& palette, const QRect& rect, OutlineShape shape, bool focused);

// The background of a finished answer box: the button face. Where a dark
// scheme makes it nearly the open box's colour (the base), the button face
// is moved towards the text colour until the two are told apart (a contrast
// ratio of at least 1.5). Light schemes keep the button face as it is.
QColor FinishedBoxColour(const QPalette& palette);

// The contrast ratio of two colours by their relative luminance (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);

}  // namespace tavrix::screens
