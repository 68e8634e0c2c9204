// Fonts made from the font texts the forms' creation code carries, kept in a table of handles.
//
// Font text, told apart by the number of commas:
//   fewer than 11: "face,points,style" with style bits 1 bold, 2 italic, 4 underline, 8 strike-out
//                  ("Arial Unicode MS,9,0", "Courier New,8,1");
//   11 or more:    the fields of a logical font: face, height (pixels, negative = character height), width,
//                  escapement, orientation, weight, italic, underline, strike-out, character set, output precision,
//                  clip precision, quality, pitch and family ("Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34"); only face,
//                  height, weight, italic, underline and strike-out count.
#pragma once
#include <QFont>
#include <cstdint>
#include <string>

// Reads a font text (see above). A missing field reads as the whole text (StrParse), a number field that does not
// begin with a number as 0. Returns 0.
int FontParseSpec(const std::string& fontText, std::string& face, int& points, int& weight, int& italic, int& underline,
                  int& strikeOut, int& style);

// A new font: the face (at most 31 bytes), `points` on the screen (height -MulDiv(points, dpi, 72) pixels), the
// weight (400 normal, 700 bold) and the effects (non-zero low byte = on). 0 when the face is empty. The caller owns
// the handle (FontDelete).
std::intptr_t FontCreate(const std::string& face, int points, int weight, int italic, int underline, int strikeOut);

// FontParseSpec, then FontCreate: the font or 0.
std::intptr_t FontCreateFromSpec(const std::string& fontText);

// |MulDiv(pixels, 72, screen dpi)|: 9 for -12 pixels on a 96 dpi screen; 0 when there is no screen.
int FontPixelsToPoints(int pixels);

// The font of a handle; the application's font for 0 or a handle that is not (or no longer) in the table.
QFont FontFromHandle(std::intptr_t font);
bool FontExists(std::intptr_t font);
// Removes a font from the table; false when it was not there.
bool FontDelete(std::intptr_t font);

// The screen's logical dots per inch (vertical), 96 when there is no screen.
int FontScreenDpi();

// number * numerator / denominator rounded to the nearest integer, halves away from zero; -1 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);
