// The recording print back end for tests: every document, page and draw call is kept, with the page-unit and device
// coordinates, so tests compare exact recorded lines.
//
//   auto rec = platform::InstallRecordingPrintBackend();    // 4800 x 6400 pixels at 600 per inch, printer "Printer Uji"
//   FinPrintReceipt(...);
//   ASSERT_EQ(rec->Documents().size(), 1u);
//   EXPECT_EQ(rec->Documents()[0].pages[0].calls[0].Describe(), "text (10,150) [5,96] \"Courier New\" 10pt #000000 ...");
//   platform::SetPrintBackendForTests(nullptr);              // or let a fixture do it
#pragma once
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/print_backend.h"

namespace platform {

struct RecordedCall {
  enum class Kind { Text, Image, Rectangle };
  Kind kind = Kind::Text;
  PageRef page;                // page units as the caller gave them (kNoPageUnit: drawn in device units)
  DeviceRect rect;             // device pixels: text rectangle, image rectangle (top-left + size), rectangle corners
  // text
  std::string text;
  std::string face;
  int points = 0;
  int pixelHeight = 0;
  std::uint32_t color = 0;     // COLORREF 0x00BBGGRR (text colour or pen colour)
  std::uint32_t backColor = 0;
  int backMode = 0;
  unsigned format = 0;
  // image
  QImage image;
  // rectangle
  int penWidth = 0;

  // One line, for exact comparisons. Colours read #RRGGBB; page units in (), device pixels in []; "-" for a page
  // coordinate not given.
  //   text (10,150) [5,72] "Courier New" 10pt #000000 " No.              : K-01"
  //   image (400,150)-(1200,750) [192,72]-[576,360] 384x288
  //   rectangle (0,0)-(5000,5000) [0,0]-[2400,3200] pen 5 #FF0000
  std::string Describe() const;
};

struct RecordedPage {
  std::vector<RecordedCall> calls;
  std::vector<std::string> Lines() const;   // Describe() of each call
  std::vector<std::string> Texts() const;   // the texts drawn, in order
};

struct RecordedDocument {
  std::string printer;         // the device it was printed on
  std::string name;            // the document name given to StartDoc
  std::vector<RecordedPage> pages;
  bool ended = false;          // EndDoc ran
  bool aborted = false;        // AbortDoc ran (or the device went with the document open)
};

class RecordingPrintBackend final : public PrintBackend {
 public:
  struct Settings {
    std::string defaultPrinter = "Printer Uji";
    std::vector<std::string> printers = {"Printer Uji"};   // the names that open; empty: every name opens
    int pageWidth = 4800;
    int pageHeight = 6400;
    int dpiX = 600;
    int dpiY = 600;
  };
  RecordingPrintBackend();
  explicit RecordingPrintBackend(Settings settings);

  Settings& settings() { return store_->settings; }

  // Documents in the order they were started (also the ones not yet ended).
  const std::vector<RecordedDocument>& Documents() const { return store_->documents; }
  // The printer names opened, in order.
  const std::vector<std::string>& Opened() const { return store_->opened; }
  void Clear();

  std::string DefaultPrinterName() override;
  std::vector<std::string> PrinterNames() override;
  std::unique_ptr<PrintDevice> Open(const std::string& printerName) override;

  struct Store {
    Settings settings;
    std::vector<RecordedDocument> documents;
    std::vector<std::string> opened;
  };

 private:
  std::shared_ptr<Store> store_;
};

// Installs a new recording back end (SetPrintBackendForTests) and returns it.
std::shared_ptr<RecordingPrintBackend> InstallRecordingPrintBackend();
std::shared_ptr<RecordingPrintBackend> InstallRecordingPrintBackend(RecordingPrintBackend::Settings settings);

}  // namespace platform
