// Print back ends: where the printer drawing of framework/printer.h ends up.
//
// A back end opens print devices by printer name. A device draws in device pixels and knows its printable size and
// resolution; it runs documents and pages the way a printer's device context does (StartDoc, StartPage, EndPage,
// EndDoc, AbortDoc; drawing outside a page is ignored).
//
// Three back ends:
//  - the system's (MakeSystemPrintBackend): the printers Qt sees through QPrinter; the default printer is the
//    system's default, and when the system has none it is the PDF pseudo-printer kPdfPrinterName;
//  - PDF files (MakePdfPrintBackend, and the pseudo-printer above): one file per document under "cetak/" of the
//    working folder, named after the document and the time it started (platform::Now());
//  - recording (platform/print_recording.h): keeps every document, page and draw call, for tests.
//
// The system's back end is active unless a test installs another one with SetPrintBackendForTests.
#pragma once
#include <QImage>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The pseudo-printer that writes PDF files under "cetak/". Printer queue names cannot hold blanks, so it never clashes
// with a real printer.
inline constexpr const char* kPdfPrinterName = "cetak (PDF)";

// Marks a page coordinate the caller did not give (drawing straight in device units).
inline constexpr int kNoPageUnit = std::numeric_limits<int>::min();

struct DeviceRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// Page-unit coordinates a drawing came from (kNoPageUnit when drawn in device units). Kept for the record only.
struct PageRef {
  int x = kNoPageUnit, y = kNoPageUnit, x2 = kNoPageUnit, y2 = kNoPageUnit;
};

// Text formats (the DrawText DT_* bits the printer drawing passes on).
enum : unsigned {
  DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
};
// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

struct TextDraw {
  PageRef page;
  DeviceRect rect;            // device pixels
  std::string text;           // UTF-8; a line feed (CR LF too) starts a new line
  std::string face;
  int points = 0;             // size in points as the caller gave it
  int pixelHeight = 0;        // character height in device pixels (points at the device's vertical resolution)
  std::uint32_t color = 0;    // COLORREF 0x00BBGGRR
  std::uint32_t backColor = 0;
  int backMode = TRANSPARENT;
  unsigned format = 0;        // DT_* bits
};

struct ImageDraw {
  PageRef page;
  int x = 0, y = 0;           // device pixels: top-left corner; the image is copied 1:1
  QImage image;
};

struct RectangleDraw {
  PageRef page;
  DeviceRect rect;            // device pixels, the two corner points
  std::uint32_t penColor = 0; // COLORREF
  int penWidth = 0;           // device pixels
  bool whiteFill = true;      // the device's default brush fills the inside
};

// One opened printer.
class PrintDevice {
 public:
  virtual ~PrintDevice() = default;
  PrintDevice(const PrintDevice&) = delete;
  PrintDevice& operator=(const PrintDevice&) = delete;

  virtual std::string Name() const = 0;
  virtual int PageWidth() const = 0;    // printable width in device pixels (HORZRES)
  virtual int PageHeight() const = 0;   // printable height (VERTRES)
  virtual int DpiX() const = 0;         // device pixels per inch (LOGPIXELSX)
  virtual int DpiY() const = 0;         // (LOGPIXELSY)

  // Document and page control; results as the device context calls give them: StartDoc a job id > 0, the others
  // > 0 on success; <= 0 on failure (a page outside a document, a document inside a document, ...).
  int StartDoc(const std::string& docName);
  int StartPage();
  int EndPage();
  int EndDoc();                         // ends an open page first
  int AbortDoc();

  // After EndDoc: the file the document was written to because it went to no printer (the PDF pseudo-printer's file
  // under "cetak/"); empty when it went to a printer, or when no document ended whole.
  virtual std::string KeptIn() const { return {}; }

  bool InDocument() const { return inDoc_; }
  bool PageOpen() const { return pageOpen_; }

  // Drawing; ignored outside a page.
  void DrawText(const TextDraw& t);
  void DrawImage(const ImageDraw& i);
  void DrawRectangle(const RectangleDraw& r);

 protected:
  PrintDevice() = default;
  // Each returns false on failure. DoStartDoc is called once per document; DoStartPage once per page.
  virtual bool DoStartDoc(const std::string& docName) = 0;
  virtual bool DoStartPage() = 0;
  virtual bool DoEndPage() = 0;
  virtual bool DoEndDoc() = 0;
  virtual void DoAbortDoc() = 0;
  virtual void DoDrawText(const TextDraw& t) = 0;
  virtual void DoDrawImage(const ImageDraw& i) = 0;
  virtual void DoDrawRectangle(const RectangleDraw& r) = 0;
  // Derived destructors call this: a document still open when the device goes is aborted, as deleting a printer's
  // device context aborts its job.
  void AbortIfOpen();

 private:
  bool inDoc_ = false;
  bool pageOpen_ = false;
};

class PrintBackend {
 public:
  virtual ~PrintBackend() = default;
  // The default printer's name; empty when there is none.
  virtual std::string DefaultPrinterName() = 0;
  // The printers one may choose, in the system's order.
  virtual std::vector<std::string> PrinterNames() = 0;
  // Opens a printer by name; nullptr when it does not exist or cannot be opened.
  virtual std::unique_ptr<PrintDevice> Open(const std::string& printerName) = 0;
};

// The active back end (the system's unless a test installed another).
PrintBackend& ActivePrintBackend();
// Installs `backend` for everything that prints from now on; nullptr puts the system's back end back.
void SetPrintBackendForTests(std::shared_ptr<PrintBackend> backend);

// What the printer drawing and the printer choice ask.
std::string DefaultPrinterName();
std::vector<std::string> PrinterNames();
std::unique_ptr<PrintDevice> OpenPrintDevice(const std::string& printerName);

std::unique_ptr<PrintBackend> MakeSystemPrintBackend();
// Every printer name opens the PDF pseudo-printer; its default printer is kPdfPrinterName.
std::unique_ptr<PrintBackend> MakePdfPrintBackend();

// The PDF pseudo-printer: A4 portrait, 300 pixels per inch, quarter-inch margins.
std::unique_ptr<PrintDevice> OpenPdfDevice();

// The folder "cetak" of the working folder, made when missing; empty text when it cannot be made.
std::string OutputFolder();
// A file name under OutputFolder() for `baseName` (characters a file name cannot hold become "_") followed by "_" and
// the stamp yyyyMMdd_HHmmss of platform::Now() and `extension` (".pdf"); "_2", "_3", ... before the extension when
// that file exists already. Empty text when the folder cannot be made.
std::string OutputFileName(const std::string& baseName, const std::string& extension);

}  // namespace platform
