// Printer drawing in page units. The printable area of a page is 10000 x 10000 page units across its printable width
// and height, whatever the printer's resolution; a page coordinate u lands on the device pixel nearest to
// u x scale (halves to the even neighbour).
//
// A printed receipt, the sequence every caller follows:
//   PrinterContext ctx;
//   PrnInit(ctx);                                   // the default printer
//   PrnStartDoc(ctx, "Struk");
//   PrnStartPage(ctx);
//   PrnSetFont(ctx, gStrukFont, 10, 0x000000);       // colour 0xRRGGBB
//   PrnText(ctx, 10, 150, "...");                   // one line per call, page units
//   PrnDrawBitmapFile(ctx, "image/Logo.bmp", 400, 150, 800, 600);   // optional
//   PrnEndPage(ctx);
//   PrnEndDoc(ctx);
// The printer is released when the context goes. Where the pages go (the system's printer, a PDF file under
// "cetak/", or a test's recording) is the active print back end's business (platform/print_backend.h). Without a
// printer every call fails quietly and nothing is printed.
#pragma once
#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/win.h"
#include "platform/print_backend.h"

using PrintDc = platform::PrintDevice*;   // a printer's device context; nullptr = none
using PrnRect = platform::DeviceRect;     // left, top, right, bottom in device pixels

// Document information handed to StartDoc.
struct DocInfo {
  int cbSize = 0;                 // 20 once set up
  std::string docName;            // the document name
  std::string output;             // no output file
  std::string datatype;           // no data type
  unsigned flags = 0;
};

struct PrinterContext {
  std::unique_ptr<platform::PrintDevice> dc;   // the printer; nullptr when none could be opened
  std::string deviceName;                      // printer name
  std::string fontName = "Arial";              // face name of the text font
  int fontSize = 12;                           // text size in points
  std::uint32_t textColor = 0;                 // COLORREF 0x00BBGGRR
  DocInfo docInfo;
  std::string docName;                         // at most 255 bytes
  float scaleX = 0;                            // device pixels per page unit across: width / 10000
  float scaleY = 0;                            // ... down: height / 10000
};

// 24-bit bitmap header (BITMAPINFOHEADER) and colour-table entry, as a .bmp file lays them out.
struct BitmapInfoHeader {
  std::uint32_t biSize = 0;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;         // positive: rows stored bottom-up
  std::uint16_t biPlanes = 0;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;   // 0 = uncompressed (BI_RGB)
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};
struct RgbQuad {
  std::uint8_t rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0;
};
struct BitmapInfo {
  BitmapInfoHeader bmiHeader;
  RgbQuad bmiColors[1];
};

// A memory bitmap: its header, and the pixel buffer made from it. The buffer is a QImage the right way up (top row
// first), 24 bits per pixel stored blue, green, red with rows padded to 4 bytes as in a .bmp file (32 bits per pixel:
// blue, green, red, unused). `bits` points at the buffer's first byte while it exists, else it is nullptr.
struct DibImage {
  BitmapInfo info;
  QImage section;
  unsigned char* bits = nullptr;
};

// ----- the context -----------------------------------------------------------------------------------------------------
// Sets the initial values (no printer, "Arial", 12 points, black, empty document name), asks the default printer's
// name and opens it.
void PrnInit(PrinterContext& ctx);
// Opens the printer of that name (replacing the printer the context had) and takes its scale; without such a printer
// the context has none and its scale is 0.
void PrnOpenDevice(PrinterContext& ctx, const std::string& printerName);
// Starts a document of that name (cut to 255 bytes): the job id, <= 0 on failure.
int PrnStartDoc(PrinterContext& ctx, const std::string& docName);
int PrnStartPage(PrinterContext& ctx);     // > 0 on success, <= 0 on failure (as are the three below)
int PrnEndPage(PrinterContext& ctx);
int PrnEndDoc(PrinterContext& ctx);
int PrnAbortDoc(PrinterContext& ctx);
// After PrnEndDoc: the file the document went to because there is no printer (a PDF file under "cetak/"); empty when
// it went to a printer or nothing was printed.
std::string PrnKeptIn(const PrinterContext& ctx);
// Face name, size in points and colour 0xRRGGBB (stored as COLORREF: red and blue bytes exchanged).
void PrnSetFont(PrinterContext& ctx, const std::string& face, int points, std::uint32_t rgb);

// ----- drawing (page units) --------------------------------------------------------------------------------------------
// The text with its top-left corner at (x, y), in the context's font and colour, transparent background; a line feed
// starts a new line.
void PrnText(PrinterContext& ctx, int x, int y, const std::string& text);
// The whole bitmap of a .bmp file stretched into the rectangle from (x, y) to (x + width, y + height). A file that
// cannot be loaded writes "Can't load bmp" on the standard output and draws nothing; the page goes on.
void PrnDrawBitmapFile(PrinterContext& ctx, const std::string& path, int x, int y, int width, int height);
// A rectangle between the two points: a solid pen 5 device pixels wide in the colour 0xRRGGBB, the inside filled
// white (the device's default brush).
void PrnRectangle(PrinterContext& ctx, int x1, int y1, int x2, int y2, std::uint32_t rgb);
// The image of a whole window stretched into the rectangle, as PrnDrawBitmapFile does; nothing for window 0 or a
// window that is gone.
void PrnDrawWindow(PrinterContext& ctx, Hwnd window, int x, int y, int width, int height);

// ----- dialogs -------------------------------------------------------------------------------------------------------
// What the common dialogs of framework/dialogs.h give: a text file to open / save (or the empty text), a colour
// 0x00BBGGRR (-1 when cancelled), a font face (the empty text when cancelled; `points` takes the size chosen), 0 when
// the page set-up was confirmed (-1 when cancelled).
std::string PrnAskOpenFile(PrinterContext& ctx);
std::string PrnAskSaveFile(PrinterContext& ctx);
int PrnAskColor(PrinterContext& ctx);
std::string PrnAskFont(PrinterContext& ctx, int& points);
int PrnAskPageSetup(PrinterContext& ctx);
// Lets the operator choose a printer; when one was chosen the context is reopened on it (PrnOpenDevice). The name
// chosen, or the empty text (the context unchanged).
std::string PrnAskPrinter(PrinterContext& ctx);

// ----- device units ----------------------------------------------------------------------------------------------------
// Stretches `sourceRect` of `source` (nearest pixel, no smoothing) into a 24-bit memory bitmap of the destination's
// size and copies that onto the printer at the destination's top-left corner.
void PrnBltFromDC(PrinterContext& ctx, const QImage& source, const PrnRect& sourceRect, const PrnRect& destRect);
// Draws text in a device rectangle: the face at `points` (character height points x the device's vertical pixels per
// inch / 72), normal weight; `format` DT_* bits (0: left, top; DT_NOCLIP always added); background mode
// TRANSPARENT or OPAQUE (filled with `backColor`); colours are COLORREF.
void PrnDrawTextRaw(PrintDc dc, const std::string& text, const PrnRect& rect, const std::string& face, int points,
                    std::uint32_t textColor, std::uint32_t backColor, int backMode, unsigned format);

// ----- what the context holds ------------------------------------------------------------------------------------------
PrintDc PrnGetDC(const PrinterContext& ctx);
std::string PrnGetDeviceName(const PrinterContext& ctx);
int PrnGetPageWidth(const PrinterContext& ctx);    // printable width in device pixels; 0 without a printer
int PrnGetPageHeight(const PrinterContext& ctx);

// Page units to device pixels on one axis: nearest integer to u x scale, halves to the even neighbour.
int PrnToDevice(int pageUnits, float scale);

// ----- memory bitmaps --------------------------------------------------------------------------------------------------
// Header of a 24-bit bottom-up bitmap of the rectangle's width and height, then DibCreate.
void DibInitHeader24(DibImage& dib, const PrnRect& rect);
// Copies the header and makes the pixel buffer from it (uncompressed, 24 or 32 bits per pixel, width > 0,
// height != 0): 1; otherwise no buffer and 0.
int DibCreate(DibImage& dib, const BitmapInfo& header);
// Loads a .bmp file: 1, or -1 for a missing file, a file shorter than its headers say, pixel data past the end of
// the file, or a bitmap that cannot be held (see DibCreate). Nothing is read past the end of the file; rows padded
// to 4 bytes load whole.
int DibLoadBmpFile(const std::string& path, DibImage& dib);
void DibDeleteObjects(DibImage& dib);
void DibDestroy(DibImage& dib);
