// Painting the draw calls of a print device with a QPainter: shared by the printer and PDF devices (and usable on a
// QImage to look at what a page holds).
#pragma once
#include <QColor>

#include <cstdint>

#include "platform/print_backend.h"

class QPainter;

namespace platform {

// A COLORREF (0x00BBGGRR: red in the lowest byte) as a colour.
QColor ColorFromColorRef(std::uint32_t colorRef);

// Text: the face at the pixel height, normal weight, antialiased; format 0 puts the first line's top-left corner at
// the rectangle's top-left corner and every line feed starts the next line below; never clipped when DT_NOCLIP is
// set. Blanks are kept as they are.
void PaintText(QPainter& p, const TextDraw& t);
// The image copied 1:1 with its top-left corner at (x, y).
void PaintImage(QPainter& p, const ImageDraw& i);
// The rectangle between the two corner points, outlined with a solid pen of the width and colour, filled white when
// whiteFill is set.
void PaintRectangle(QPainter& p, const RectangleDraw& r);

}  // namespace platform
