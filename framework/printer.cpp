#include "framework/printer.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>
#include <filesystem>

#include "framework/dialogs.h"
#include "framework/numbers.h"

namespace {

constexpr int kPageUnits = 10000;
constexpr int kSpError = -1;
constexpr std::size_t kDocNameMax = 255;
// A memory bitmap larger than this many pixels is not made (about 200 MB at 24 bits per pixel).
constexpr long long kMaxDibPixels = 64LL * 1024 * 1024;

// Cuts a UTF-8 text to at most `max` bytes without splitting a character.
std::string CutUtf8(const std::string& s, std::size_t max) {
  if (s.size() <= max) return s;
  std::size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}

std::uint32_t RgbToColorRef(std::uint32_t rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// MulDiv: a x b / c rounded to the nearest integer (halves away from zero); -1 when c is 0.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long num = static_cast<long long>(a) * b;
  long long q = num / c, r = num % c;
  if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<long long>(c) : c)) q += ((num < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

void DrawText(PrintDc dc, const std::string& text, const PrnRect& rect, const std::string& face, int points,
              std::uint32_t textColor, std::uint32_t backColor, int backMode, unsigned format,
              const platform::PageRef& page) {
  if (!dc) return;
  platform::TextDraw t;
  t.page = page;
  t.rect = rect;
  t.text = text;
  t.face = face;
  t.points = points;
  t.pixelHeight = MulDiv(points, dc->DpiY(), 72);
  t.color = textColor;
  t.backColor = backColor;
  t.backMode = backMode;
  t.format = format | platform::DT_NOCLIP;
  dc->DrawText(t);
}

void Blt(PrinterContext& ctx, const QImage& source, const PrnRect& src, const PrnRect& dst,
         const platform::PageRef& page) {
  if (!ctx.dc || source.isNull()) return;
  DibImage dib;
  DibInitHeader24(dib, PrnRect{0, 0, dst.width(), dst.height()});
  if (!dib.bits) return;
  {
    QPainter p(&dib.section);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(0, 0, dst.width(), dst.height()), source,
                QRectF(src.left, src.top, src.width(), src.height()));
  }
  platform::ImageDraw d;
  d.page = page;
  d.x = dst.left;
  d.y = dst.top;
  d.image = dib.section;
  ctx.dc->DrawImage(d);
  DibDestroy(dib);
}

// Stretches a whole image into the page rectangle (x, y)-(x + w, y + h).
void DrawImageInPage(PrinterContext& ctx, const QImage& image, int x, int y, int w, int h) {
  PrnRect dst{PrnToDevice(x, ctx.scaleX), PrnToDevice(y, ctx.scaleY), PrnToDevice(x + w, ctx.scaleX),
              PrnToDevice(y + h, ctx.scaleY)};
  Blt(ctx, image, PrnRect{0, 0, image.width(), image.height()}, dst, platform::PageRef{x, y, x + w, y + h});
}

std::uint32_t ReadU32(const unsigned char* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t ReadU16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

int PrnToDevice(int pageUnits, float scale) {
  float v = static_cast<float>(pageUnits) * scale;
  long long r = RoundHalfEven(static_cast<double>(v));
  if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

// ----- the context -----------------------------------------------------------------------------------------------------

void PrnInit(PrinterContext& ctx) {
  ctx.dc.reset();
  ctx.deviceName.clear();
  ctx.fontName = "Arial";
  ctx.fontSize = 12;
  ctx.textColor = 0;
  ctx.docInfo = DocInfo{};
  ctx.docName.clear();
  ctx.scaleX = 0;
  ctx.scaleY = 0;
  PrnOpenDevice(ctx, platform::DefaultPrinterName());
}

void PrnOpenDevice(PrinterContext& ctx, const std::string& printerName) {
  ctx.dc.reset();
  ctx.deviceName = printerName;
  ctx.dc = platform::OpenPrintDevice(printerName);
  ctx.scaleX = static_cast<float>(PrnGetPageWidth(ctx)) / kPageUnits;
  ctx.scaleY = static_cast<float>(PrnGetPageHeight(ctx)) / kPageUnits;
}

int PrnStartDoc(PrinterContext& ctx, const std::string& docName) {
  ctx.docName = CutUtf8(docName, kDocNameMax);
  ctx.docInfo = DocInfo{};
  ctx.docInfo.cbSize = 20;
  ctx.docInfo.docName = ctx.docName;
  if (!ctx.dc) return kSpError;
  return ctx.dc->StartDoc(ctx.docInfo.docName);
}

int PrnStartPage(PrinterContext& ctx) { return ctx.dc ? ctx.dc->StartPage() : kSpError; }
int PrnEndPage(PrinterContext& ctx) { return ctx.dc ? ctx.dc->EndPage() : kSpError; }
int PrnEndDoc(PrinterContext& ctx) { return ctx.dc ? ctx.dc->EndDoc() : kSpError; }
int PrnAbortDoc(PrinterContext& ctx) { return ctx.dc ? ctx.dc->AbortDoc() : kSpError; }
std::string PrnKeptIn(const PrinterContext& ctx) { return ctx.dc ? ctx.dc->KeptIn() : std::string(); }

void PrnSetFont(PrinterContext& ctx, const std::string& face, int points, std::uint32_t rgb) {
  ctx.fontName = face;
  ctx.fontSize = points;
  ctx.textColor = RgbToColorRef(rgb);
}

// ----- drawing -----------------------------------------------------------------------------------------------------------

void PrnText(PrinterContext& ctx, int x, int y, const std::string& text) {
  if (!ctx.dc) return;
  PrnRect r{PrnToDevice(x, ctx.scaleX), PrnToDevice(y, ctx.scaleY), 0, 0};
  r.right = std::max(r.left, PrnGetPageWidth(ctx));
  r.bottom = std::max(r.top, PrnGetPageHeight(ctx));
  DrawText(ctx.dc.get(), text, r, ctx.fontName, ctx.fontSize, ctx.textColor, 0, platform::TRANSPARENT, 0,
           platform::PageRef{x, y});
}

void PrnDrawBitmapFile(PrinterContext& ctx, const std::string& path, int x, int y, int width, int height) {
  DibImage dib;
  if (DibLoadBmpFile(path, dib) != 1) {
    std::fputs("Can't load bmp\n", stdout);
    std::fflush(stdout);
    return;
  }
  DrawImageInPage(ctx, dib.section, x, y, width, height);
  DibDestroy(dib);
}

void PrnRectangle(PrinterContext& ctx, int x1, int y1, int x2, int y2, std::uint32_t rgb) {
  if (!ctx.dc) return;
  platform::RectangleDraw r;
  r.page = platform::PageRef{x1, y1, x2, y2};
  r.rect = PrnRect{PrnToDevice(x1, ctx.scaleX), PrnToDevice(y1, ctx.scaleY), PrnToDevice(x2, ctx.scaleX),
                   PrnToDevice(y2, ctx.scaleY)};
  r.penColor = RgbToColorRef(rgb);
  r.penWidth = 5;
  r.whiteFill = true;
  ctx.dc->DrawRectangle(r);
}

void PrnDrawWindow(PrinterContext& ctx, Hwnd window, int x, int y, int width, int height) {
  if (window == 0) return;
  QWidget* w = WinWidget(window);
  if (!w) return;
  QImage image = w->grab().toImage();
  if (image.isNull()) return;
  DrawImageInPage(ctx, image, x, y, width, height);
}

void PrnBltFromDC(PrinterContext& ctx, const QImage& source, const PrnRect& sourceRect, const PrnRect& destRect) {
  Blt(ctx, source, sourceRect, destRect, platform::PageRef{});
}

void PrnDrawTextRaw(PrintDc dc, const std::string& text, const PrnRect& rect, const std::string& face, int points,
                    std::uint32_t textColor, std::uint32_t backColor, int backMode, unsigned format) {
  DrawText(dc, text, rect, face, points, textColor, backColor, backMode, format, platform::PageRef{});
}

// ----- dialogs -------------------------------------------------------------------------------------------------------

std::string PrnAskOpenFile(PrinterContext&) { return DlgOpenTextFile(); }
std::string PrnAskSaveFile(PrinterContext&) { return DlgSaveTextFile(); }
int PrnAskColor(PrinterContext&) { return DlgChooseColor(); }
std::string PrnAskFont(PrinterContext&, int& points) {
  std::string face;
  return DlgChooseFont(face, points);
}
int PrnAskPageSetup(PrinterContext&) { return DlgPageSetup(); }

std::string PrnAskPrinter(PrinterContext& ctx) {
  std::string name = DlgSelectPrinter();
  if (!name.empty()) PrnOpenDevice(ctx, name);
  return name;
}

// ----- what the context holds ------------------------------------------------------------------------------------------

PrintDc PrnGetDC(const PrinterContext& ctx) { return ctx.dc.get(); }
std::string PrnGetDeviceName(const PrinterContext& ctx) { return ctx.deviceName; }
int PrnGetPageWidth(const PrinterContext& ctx) { return ctx.dc ? ctx.dc->PageWidth() : 0; }
int PrnGetPageHeight(const PrinterContext& ctx) { return ctx.dc ? ctx.dc->PageHeight() : 0; }

// ----- memory bitmaps --------------------------------------------------------------------------------------------------

void DibInitHeader24(DibImage& dib, const PrnRect& rect) {
  BitmapInfo h;
  h.bmiHeader.biSize = 40;
  h.bmiHeader.biWidth = rect.width();
  h.bmiHeader.biHeight = rect.height();
  h.bmiHeader.biPlanes = 1;
  h.bmiHeader.biBitCount = 24;
  h.bmiHeader.biCompression = 0;
  // width x height x 3 when it fits the field; checked before multiplying.
  const long long w = rect.width(), ht = rect.height();
  h.bmiHeader.biSizeImage =
      w > 0 && ht > 0 && ht <= 0xFFFFFFFFLL / 3 / w ? static_cast<std::uint32_t>(w * ht * 3) : 0;
  DibCreate(dib, h);
}

int DibCreate(DibImage& dib, const BitmapInfo& header) {
  DibDeleteObjects(dib);
  dib.info = header;
  const BitmapInfoHeader& h = header.bmiHeader;
  long long width = h.biWidth;
  long long height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (h.biCompression != 0 || width <= 0 || height <= 0 || width * height > kMaxDibPixels) return 0;
  QImage::Format format;
  if (h.biBitCount == 24)
    format = QImage::Format_BGR888;
  else if (h.biBitCount == 32)
    format = QImage::Format_RGB32;
  else
    return 0;
  QImage image(static_cast<int>(width), static_cast<int>(height), format);
  if (image.isNull()) return 0;
  image.fill(Qt::black);
  dib.section = image;
  dib.bits = dib.section.bits();
  return 1;
}

int DibLoadBmpFile(const std::string& path, DibImage& dib) {
  std::error_code ec;
  std::filesystem::path p(path);
  if (path.empty() || !std::filesystem::is_regular_file(p, ec)) return -1;
  std::uintmax_t fileSize = std::filesystem::file_size(p, ec);
  if (ec) return -1;
  std::ifstream in(p, std::ios::binary);
  if (!in) return -1;

  // File header (14 bytes) and the bitmap header that follows it (at least the 40 bytes we read).
  constexpr std::uintmax_t kFileHeader = 14, kInfoHeader = 40;
  if (fileSize < kFileHeader + kInfoHeader) return -1;
  unsigned char head[kFileHeader + kInfoHeader + 4] = {};
  std::size_t headBytes = static_cast<std::size_t>(std::min<std::uintmax_t>(sizeof head, fileSize));
  if (!in.read(reinterpret_cast<char*>(head), static_cast<std::streamsize>(headBytes))) return -1;

  std::uint32_t offset = ReadU32(head + 10);
  const unsigned char* ih = head + kFileHeader;
  BitmapInfo info;
  BitmapInfoHeader& h = info.bmiHeader;
  h.biSize = ReadU32(ih + 0);
  h.biWidth = static_cast<std::int32_t>(ReadU32(ih + 4));
  h.biHeight = static_cast<std::int32_t>(ReadU32(ih + 8));
  h.biPlanes = ReadU16(ih + 12);
  h.biBitCount = ReadU16(ih + 14);
  h.biCompression = ReadU32(ih + 16);
  h.biSizeImage = ReadU32(ih + 20);
  h.biXPelsPerMeter = static_cast<std::int32_t>(ReadU32(ih + 24));
  h.biYPelsPerMeter = static_cast<std::int32_t>(ReadU32(ih + 28));
  h.biClrUsed = ReadU32(ih + 32);
  h.biClrImportant = ReadU32(ih + 36);
  if (headBytes >= kFileHeader + kInfoHeader + 4) {
    info.bmiColors[0].rgbBlue = ih[40];
    info.bmiColors[0].rgbGreen = ih[41];
    info.bmiColors[0].rgbRed = ih[42];
    info.bmiColors[0].rgbReserved = ih[43];
  }
  // A header that claims more bytes than the file holds, or is smaller than the header we read (another layout).
  if (h.biSize < kInfoHeader || kFileHeader + h.biSize > fileSize) return -1;

  // Pixel data: rows of width x bits rounded up to 4 bytes, `height` rows, from the offset on. The sizes are checked
  // before they are multiplied: a header may claim any width and height.
  if (h.biWidth < 1 || h.biHeight < 1 || h.biBitCount < 1) return -1;
  const long long rowSize = ((static_cast<long long>(h.biWidth) * h.biBitCount + 31) / 32) * 4;   // < 2^47
  if (offset > fileSize || static_cast<unsigned long long>(rowSize) > fileSize - offset) return -1;
  if (static_cast<unsigned long long>(h.biHeight) > (fileSize - offset) / static_cast<unsigned long long>(rowSize))
    return -1;
  const long long size = rowSize * static_cast<long long>(h.biHeight);   // at most the file's size
  if (size < 1) return -1;

  if (DibCreate(dib, info) != 1 || !dib.bits) {
    DibDestroy(dib);
    return -1;
  }
  // The buffer keeps the same row layout as the file (same padding); rows go in top row first.
  const int height = dib.section.height();
  const long long stride = dib.section.bytesPerLine();
  if (stride < rowSize) {
    DibDestroy(dib);
    return -1;
  }
  in.seekg(static_cast<std::streamoff>(offset));
  std::string row(static_cast<std::size_t>(rowSize), '\0');
  for (int i = 0; i < height; ++i) {
    if (!in.read(row.data(), static_cast<std::streamsize>(rowSize))) {
      DibDestroy(dib);
      return -1;
    }
    int target = h.biHeight > 0 ? height - 1 - i : i;
    std::memcpy(dib.section.scanLine(target), row.data(), static_cast<std::size_t>(rowSize));
  }
  if (h.biBitCount == 32) {
    // The fourth byte is unused in a .bmp file; the buffer holds it as opaque.
    for (int yy = 0; yy < height; ++yy) {
      unsigned char* line = dib.section.scanLine(yy);
      for (int xx = 0; xx < dib.section.width(); ++xx) line[xx * 4 + 3] = 0xFF;
    }
  }
  dib.bits = dib.section.bits();
  return 1;
}

void DibDeleteObjects(DibImage& dib) {
  dib.section = QImage();
  dib.bits = nullptr;
}

void DibDestroy(DibImage& dib) { DibDeleteObjects(dib); }
