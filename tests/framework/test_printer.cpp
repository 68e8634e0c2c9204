// Printer drawing in page units, over the recording print back end (and the PDF back end once).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/printer.h"
#include "platform/print_paint.h"
#include "platform/print_recording.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

using platform::RecordingPrintBackend;

// ----- .bmp files ------------------------------------------------------------------------------------------------------

void PutU16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void PutU32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void SetU32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A 24-bit bottom-up .bmp of w x h; rgbAt(x, y) gives 0xRRGGBB with y counted from the top.
std::string Bmp24(int w, int h, const std::function<std::uint32_t(int, int)>& rgbAt) {
  const int row = ((w * 24 + 31) / 32) * 4;
  std::string s = "BM";
  PutU32(s, static_cast<std::uint32_t>(54 + row * h));
  PutU32(s, 0);
  PutU32(s, 54);
  PutU32(s, 40);
  PutU32(s, static_cast<std::uint32_t>(w));
  PutU32(s, static_cast<std::uint32_t>(h));
  PutU16(s, 1);
  PutU16(s, 24);
  PutU32(s, 0);
  PutU32(s, static_cast<std::uint32_t>(row * h));
  PutU32(s, 2835);
  PutU32(s, 2835);
  PutU32(s, 0);
  PutU32(s, 0);
  for (int r = 0; r < h; ++r) {
    const int y = h - 1 - r;   // the file holds the bottom row first
    std::string line;
    for (int x = 0; x < w; ++x) {
      std::uint32_t c = rgbAt(x, y);
      line += static_cast<char>(c & 0xFF);           // blue
      line += static_cast<char>((c >> 8) & 0xFF);    // green
      line += static_cast<char>((c >> 16) & 0xFF);   // red
    }
    line.resize(static_cast<std::size_t>(row), '\0');
    s += line;
  }
  return s;
}

// 3 x 2 pixels, every one different: width x 3 = 9 bytes, padded to 12 per row.
std::uint32_t Pixel3x2(int x, int y) { return static_cast<std::uint32_t>(0x102030 * (1 + x + 3 * y)) & 0xFFFFFF; }

std::uint32_t RgbAt(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

// ----- fixture -------------------------------------------------------------------------------------------------------

class PrinterTest : public fintest::SeamsTest {
 protected:
  // The fixture's recording printer: "Printer Uji", 4800 x 6400 pixels at 600 per inch.
  PrinterTest() : rec(&printed()) {}

  const platform::RecordedPage& OnlyPage() {
    EXPECT_EQ(rec->Documents().size(), 1u);
    EXPECT_EQ(rec->Documents().at(0).pages.size(), 1u);
    return rec->Documents().at(0).pages.at(0);
  }

  RecordingPrintBackend* rec;
};

// ----- page units ----------------------------------------------------------------------------------------------------

TEST_F(PrinterTest, PageUnitsLandOnThePrintableWidthAndHeight) {
  PrinterContext ctx;
  PrnInit(ctx);
  EXPECT_EQ(PrnGetDeviceName(ctx), "Printer Uji");
  EXPECT_EQ(PrnGetPageWidth(ctx), 4800);
  EXPECT_EQ(PrnGetPageHeight(ctx), 6400);
  EXPECT_GT(PrnStartDoc(ctx, "Struk"), 0);
  EXPECT_GT(PrnStartPage(ctx), 0);
  PrnSetFont(ctx, "Courier New", 10, 0x000000);
  PrnText(ctx, 0, 0, "kiri atas");
  PrnText(ctx, 5000, 5000, "tengah");
  PrnText(ctx, 10000, 10000, "kanan bawah");
  PrnText(ctx, 10, 150, " No.              : K-01");
  EXPECT_GT(PrnEndPage(ctx), 0);
  EXPECT_GT(PrnEndDoc(ctx), 0);

  const auto& doc = rec->Documents().at(0);
  EXPECT_EQ(doc.printer, "Printer Uji");
  EXPECT_EQ(doc.name, "Struk");
  EXPECT_TRUE(doc.ended);
  EXPECT_FALSE(doc.aborted);
  EXPECT_EQ(OnlyPage().Lines(), (std::vector<std::string>{
                                    "text (0,0) [0,0] \"Courier New\" 10pt #000000 \"kiri atas\"",
                                    "text (5000,5000) [2400,3200] \"Courier New\" 10pt #000000 \"tengah\"",
                                    "text (10000,10000) [4800,6400] \"Courier New\" 10pt #000000 \"kanan bawah\"",
                                    "text (10,150) [5,96] \"Courier New\" 10pt #000000 \" No.              : K-01\"",
                                }));
  // 10 points at 600 pixels per inch: 83 pixels high.
  EXPECT_EQ(OnlyPage().calls[0].pixelHeight, 83);
}

TEST(PrnToDevice, NearestPixelWithHalvesToEven) {
  struct Case {
    int units;
    float scale;
    int device;
  } cases[] = {
      {5000, 0.48f, 2400}, {10000, 0.48f, 4800}, {1, 0.48f, 0},   {3, 0.48f, 1},    {1, 0.5f, 0},
      {3, 0.5f, 2},        {5, 0.5f, 2},         {7, 0.5f, 4},    {-3, 0.5f, -2},   {150, 0.64f, 96},
      {9999, 0.48f, 4800}, {0, 0.48f, 0},        {5, 0.2f, 1},    {10000, 0.0f, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PrnToDevice(c.units, c.scale), c.device) << c.units << " x " << c.scale;
}

TEST_F(PrinterTest, HalfPixelsGoToTheEvenNeighbourOnTheRecordedPage) {
  rec->settings().pageWidth = 5000;   // 0.5 pixels per page unit
  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Struk");
  PrnStartPage(ctx);
  PrnText(ctx, 1, 0, "a");
  PrnText(ctx, 3, 0, "b");
  PrnEndDoc(ctx);
  EXPECT_EQ(OnlyPage().calls.at(0).rect.left, 0);
  EXPECT_EQ(OnlyPage().calls.at(1).rect.left, 2);
}

// ----- colours -------------------------------------------------------------------------------------------------------

TEST_F(PrinterTest, ColourIsGivenAsRgbAndKeptWithRedAndBlueExchanged) {
  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Warna");
  PrnStartPage(ctx);
  PrnSetFont(ctx, "Arial", 12, 0xFF0000);
  EXPECT_EQ(ctx.textColor, 0x0000FFu);
  PrnText(ctx, 0, 0, "merah");
  PrnSetFont(ctx, "Arial", 12, 0x0000FF);
  EXPECT_EQ(ctx.textColor, 0xFF0000u);
  PrnText(ctx, 0, 100, "biru");
  PrnSetFont(ctx, "Arial", 12, 0x12AB34);
  EXPECT_EQ(ctx.textColor, 0x34AB12u);
  PrnEndDoc(ctx);
  EXPECT_EQ(OnlyPage().Lines(), (std::vector<std::string>{
                                    "text (0,0) [0,0] \"Arial\" 12pt #FF0000 \"merah\"",
                                    "text (0,100) [0,64] \"Arial\" 12pt #0000FF \"biru\"",
                                }));
}

// What a device paints for those colours: red text gives red pixels and no blue ones, and the other way round.
TEST(PrintPaint, RedAndBlueTextPaintTheirOwnColour) {
  for (std::uint32_t rgb : {0xFF0000u, 0x0000FFu}) {
    PrinterContext ctx;
    PrnSetFont(ctx, "DejaVu Sans", 12, rgb);
    QImage page(300, 120, QImage::Format_RGB32);
    page.fill(Qt::white);
    platform::TextDraw t;
    t.rect = {10, 10, 300, 120};
    t.text = "MMMM";
    t.face = ctx.fontName;
    t.pixelHeight = 80;
    t.color = ctx.textColor;
    {
      QPainter p(&page);
      platform::PaintText(p, t);
    }
    int red = 0, blue = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) {
        QColor c = page.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 60 && c.blue() < 60) ++red;
        if (c.blue() > 200 && c.green() < 60 && c.red() < 60) ++blue;
      }
    if (rgb == 0xFF0000u) {
      EXPECT_GT(red, 500);
      EXPECT_EQ(blue, 0);
    } else {
      EXPECT_GT(blue, 500);
      EXPECT_EQ(red, 0);
    }
  }
}

// ----- bitmaps -------------------------------------------------------------------------------------------------------

TEST_F(PrinterTest, PaddedTwentyFourBitBitmapLoadsWhole) {
  std::string path = WorkFile("logo.bmp");
  fintest::WriteFile(path, Bmp24(3, 2, Pixel3x2));
  DibImage dib;
  ASSERT_EQ(DibLoadBmpFile(path, dib), 1);
  ASSERT_NE(dib.bits, nullptr);
  EXPECT_EQ(dib.info.bmiHeader.biWidth, 3);
  EXPECT_EQ(dib.info.bmiHeader.biHeight, 2);
  EXPECT_EQ(dib.info.bmiHeader.biBitCount, 24);
  ASSERT_EQ(dib.section.width(), 3);
  ASSERT_EQ(dib.section.height(), 2);
  EXPECT_EQ(dib.section.bytesPerLine(), 12);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(RgbAt(dib.section, x, y), Pixel3x2(x, y)) << x << "," << y;
  DibDestroy(dib);
  EXPECT_EQ(dib.bits, nullptr);
}

TEST_F(PrinterTest, ThirtyTwoBitBitmapLoadsOpaque) {
  std::string s = Bmp24(2, 1, [](int, int) { return 0u; }).substr(0, 54);
  SetU32(s, 2, 54 + 8);
  s[28] = 32;                       // bits per pixel
  SetU32(s, 34, 8);
  s += std::string("\x30\x20\x10\x00\xCC\xBB\xAA\x00", 8);   // blue, green, red, unused
  std::string path = WorkFile("logo32.bmp");
  fintest::WriteFile(path, s);
  DibImage dib;
  ASSERT_EQ(DibLoadBmpFile(path, dib), 1);
  EXPECT_EQ(dib.section.pixel(0, 0), 0xFF102030u);
  EXPECT_EQ(dib.section.pixel(1, 0), 0xFFAABBCCu);
}

TEST_F(PrinterTest, BitmapFileIsStretchedIntoThePageRectangle) {
  rec->settings().pageWidth = 5000;    // 0.5 pixels per page unit both ways
  rec->settings().pageHeight = 5000;
  std::string path = WorkFile("logo.bmp");
  fintest::WriteFile(path, Bmp24(3, 2, Pixel3x2));
  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Struk");
  PrnStartPage(ctx);
  PrnDrawBitmapFile(ctx, path, 400, 200, 12, 8);
  PrnEndDoc(ctx);
  ASSERT_EQ(OnlyPage().calls.size(), 1u);
  const platform::RecordedCall& c = OnlyPage().calls[0];
  EXPECT_EQ(c.Describe(), "image (400,200)-(412,208) [200,100]-[206,104] 6x4");
  // Every source pixel became 2 x 2 device pixels.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(RgbAt(c.image, x, y), Pixel3x2(x / 2, y / 2)) << x << "," << y;
}

TEST_F(PrinterTest, DamagedBitmapFilesGiveMinusOneAndNothingIsMade) {
  const std::string good = Bmp24(3, 2, Pixel3x2);   // 54 + 2 x 12 bytes
  struct Case {
    const char* what;
    std::function<std::string()> bytes;
  } cases[] = {
      {"shorter than the headers", [&] { return good.substr(0, 40); }},
      {"header size beyond the end", [&] {
         std::string s = good.substr(0, 60);
         SetU32(s, 14, 124);
         return s;
       }},
      {"last row cut short", [&] { return good.substr(0, good.size() - 4); }},
      {"only the headers", [&] { return good.substr(0, 54); }},
      {"pixel offset past the end", [&] {
         std::string s = good;
         SetU32(s, 10, 1000);
         return s;
       }},
      {"huge size claimed", [&] {
         std::string s = good;
         SetU32(s, 18, 100000);
         SetU32(s, 22, 100000);
         return s;
       }},
      {"zero height", [&] {
         std::string s = good;
         SetU32(s, 22, 0);
         return s;
       }},
      {"empty file", [] { return std::string(); }},
      {"8 bits per pixel", [&] {
         std::string s = good;
         s[28] = 8;
         return s;
       }},
      {"compressed", [&] {
         std::string s = good;
         SetU32(s, 30, 1);
         return s;
       }},
      // Sizes are checked before they are multiplied: the largest a header can claim overflow no number.
      {"widest and tallest", [&] {
         std::string s = good;
         SetU32(s, 18, 0x7FFFFFFF);
         SetU32(s, 22, 0x7FFFFFFF);
         return s;
       }},
      {"widest, tallest and the most bits", [&] {
         std::string s = good;
         SetU32(s, 18, 0x7FFFFFFF);
         SetU32(s, 22, 0x7FFFFFFF);
         s[28] = '\xFF';
         s[29] = '\xFF';
         return s;
       }},
      {"rows larger than the whole file", [&] {
         std::string s = good;
         SetU32(s, 18, 0x40000000);   // rows of 3 GiB
         SetU32(s, 22, 0x55555556);
         return s;
       }},
  };
  for (const Case& c : cases) {
    std::string path = WorkFile("bad.bmp");
    fintest::WriteFile(path, c.bytes());
    DibImage dib;
    EXPECT_EQ(DibLoadBmpFile(path, dib), -1) << c.what;
    EXPECT_EQ(dib.bits, nullptr) << c.what;
    EXPECT_TRUE(dib.section.isNull()) << c.what;
  }
  DibImage dib;
  EXPECT_EQ(DibLoadBmpFile(WorkFile("tidak-ada.bmp"), dib), -1);
  EXPECT_EQ(DibLoadBmpFile(workDir(), dib), -1);   // a folder is no bitmap
}

TEST(DibTest, AHugeMemoryBitmapClaimsNoSizeAndIsNotMade) {
  DibImage dib;
  DibInitHeader24(dib, PrnRect{0, 0, 0x7FFFFFFF, 0x7FFFFFFF});
  EXPECT_EQ(dib.info.bmiHeader.biSizeImage, 0u);
  EXPECT_TRUE(dib.section.isNull());
  DibInitHeader24(dib, PrnRect{0, 0, 3, 2});
  EXPECT_EQ(dib.info.bmiHeader.biSizeImage, 18u);
  EXPECT_FALSE(dib.section.isNull());
  DibDestroy(dib);
}

TEST_F(PrinterTest, MissingBitmapSaysSoOnStandardOutputAndThePageGoesOn) {
  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Struk");
  PrnStartPage(ctx);
  PrnSetFont(ctx, "Courier New", 10, 0);
  PrnText(ctx, 10, 100, "sebelum");
  testing::internal::CaptureStdout();
  PrnDrawBitmapFile(ctx, WorkFile("image/Logo.bmp"), 400, 150, 800, 600);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can't load bmp\n");
  PrnText(ctx, 10, 200, "sesudah");
  EXPECT_GT(PrnEndPage(ctx), 0);
  EXPECT_GT(PrnEndDoc(ctx), 0);
  EXPECT_EQ(OnlyPage().Texts(), (std::vector<std::string>{"sebelum", "sesudah"}));
  EXPECT_TRUE(rec->Documents()[0].ended);
}

// ----- rectangles, windows, raw text ---------------------------------------------------------------------------------

TEST_F(PrinterTest, RectangleWindowAndRawTextAreRecorded) {
  QWidget w;
  w.resize(40, 20);
  w.setAutoFillBackground(true);
  QPalette pal = w.palette();
  pal.setColor(QPalette::Window, QColor(0, 128, 0));
  w.setPalette(pal);
  Hwnd h = WinHandle(&w);

  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Catatan");
  PrnStartPage(ctx);
  PrnRectangle(ctx, 0, 0, 5000, 5000, 0xFF0000);
  PrnDrawWindow(ctx, h, 1000, 1000, 1000, 500);
  PrnDrawWindow(ctx, 0, 0, 0, 100, 100);   // no window: nothing
  PrnDrawTextRaw(PrnGetDC(ctx), "mentah", PrnRect{7, 9, 100, 100}, "Tahoma", 9, 0x00FF00, 0, platform::TRANSPARENT, 0);
  PrnEndDoc(ctx);

  const auto& calls = OnlyPage().calls;
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].Describe(), "rectangle (0,0)-(5000,5000) [0,0]-[2400,3200] pen 5 #FF0000");
  EXPECT_EQ(calls[1].Describe(), "image (1000,1000)-(2000,1500) [480,640]-[960,960] 480x320");
  EXPECT_EQ(RgbAt(calls[1].image, 240, 160), 0x008000u);
  EXPECT_EQ(calls[2].Describe(), "text (-,-) [7,9] \"Tahoma\" 9pt #00FF00 \"mentah\"");
  EXPECT_EQ(calls[2].pixelHeight, 75);   // 9 x 600 / 72
  EXPECT_EQ(calls[2].format, unsigned(platform::DT_NOCLIP));
}

// ----- documents -----------------------------------------------------------------------------------------------------

TEST_F(PrinterTest, WithoutPrinterEveryCallFailsQuietly) {
  rec->settings().printers = {"Lain"};   // the default printer cannot be opened
  PrinterContext ctx;
  PrnInit(ctx);
  EXPECT_EQ(PrnGetDC(ctx), nullptr);
  EXPECT_EQ(PrnGetPageWidth(ctx), 0);
  EXPECT_LE(PrnStartDoc(ctx, "Struk"), 0);
  EXPECT_LE(PrnStartPage(ctx), 0);
  PrnText(ctx, 10, 10, "x");
  PrnRectangle(ctx, 0, 0, 10, 10, 0);
  EXPECT_LE(PrnEndPage(ctx), 0);
  EXPECT_LE(PrnEndDoc(ctx), 0);
  EXPECT_TRUE(rec->Documents().empty());
}

TEST_F(PrinterTest, PagesNeedADocumentAndAnOpenDocumentIsAbortedWhenTheContextGoes) {
  {
    PrinterContext ctx;
    PrnInit(ctx);
    EXPECT_LE(PrnStartPage(ctx), 0);   // no document yet
    EXPECT_GT(PrnStartDoc(ctx, std::string(300, 'a')), 0);
    EXPECT_EQ(ctx.docName.size(), 255u);
    EXPECT_EQ(ctx.docInfo.cbSize, 20);
    PrnText(ctx, 0, 0, "di luar halaman");   // before StartPage: ignored
    PrnStartPage(ctx);
    PrnText(ctx, 0, 0, "halaman 1");
    PrnEndPage(ctx);
    PrnStartPage(ctx);
    PrnText(ctx, 0, 0, "halaman 2");
  }
  ASSERT_EQ(rec->Documents().size(), 1u);
  const auto& doc = rec->Documents()[0];
  EXPECT_EQ(doc.name, std::string(255, 'a'));
  ASSERT_EQ(doc.pages.size(), 2u);
  EXPECT_EQ(doc.pages[0].Texts(), std::vector<std::string>{"halaman 1"});
  EXPECT_EQ(doc.pages[1].Texts(), std::vector<std::string>{"halaman 2"});
  EXPECT_FALSE(doc.ended);
  EXPECT_TRUE(doc.aborted);
}

// ----- dialogs -------------------------------------------------------------------------------------------------------

TEST_F(PrinterTest, ChosenPrinterReopensTheContextAndCancelKeepsIt) {
  rec->settings().printers = {"Printer Uji", "Kasir"};
  rec->settings().pageWidth = 4800;
  PrinterContext ctx;
  PrnInit(ctx);
  AnswerPrinter(std::nullopt);
  EXPECT_EQ(PrnAskPrinter(ctx), "");
  EXPECT_EQ(PrnGetDeviceName(ctx), "Printer Uji");
  AnswerPrinter("Kasir");
  EXPECT_EQ(PrnAskPrinter(ctx), "Kasir");
  EXPECT_EQ(PrnGetDeviceName(ctx), "Kasir");
  EXPECT_FLOAT_EQ(ctx.scaleX, 0.48f);
  PrnStartDoc(ctx, "Struk");
  PrnEndDoc(ctx);
  EXPECT_EQ(rec->Opened(), (std::vector<std::string>{"Printer Uji", "Kasir"}));
  EXPECT_EQ(rec->Documents().at(0).printer, "Kasir");

  AnswerColor(0x0000FFu);
  EXPECT_EQ(PrnAskColor(ctx), 0x0000FF);
  AnswerColor(std::nullopt);
  EXPECT_EQ(PrnAskColor(ctx), -1);
  AnswerFont(platform::FontChoice{"Courier New", 10.5});
  int points = 0;
  EXPECT_EQ(PrnAskFont(ctx, points), "Courier New");
  EXPECT_EQ(points, 10);
  AnswerPageSetup(false);
  EXPECT_EQ(PrnAskPageSetup(ctx), -1);
  AnswerFileDialog("/tmp/catatan.txt");
  EXPECT_EQ(PrnAskOpenFile(ctx), "/tmp/catatan.txt");
  CancelFileDialog();
  EXPECT_EQ(PrnAskSaveFile(ctx), "");
}

// ----- the PDF back end ----------------------------------------------------------------------------------------------

class PdfPrinterTest : public fintest::SeamsTest {
 protected:
  PdfPrinterTest() { platform::SetPrintBackendForTests(platform::MakePdfPrintBackend()); }

  static void PrintOne(const std::string& text, bool abort = false) {
    PrinterContext ctx;
    PrnInit(ctx);
    ASSERT_GT(PrnStartDoc(ctx, "Struk"), 0);
    ASSERT_GT(PrnStartPage(ctx), 0);
    PrnSetFont(ctx, "DejaVu Sans", 12, 0);
    PrnText(ctx, 10, 150, text);
    if (abort) {
      PrnAbortDoc(ctx);
      return;
    }
    PrnEndPage(ctx);
    ASSERT_GT(PrnEndDoc(ctx), 0);
  }
};

TEST_F(PdfPrinterTest, EachDocumentIsAPdfFileUnderCetakNamedByNameAndTime) {
  PrinterContext probe;
  PrnInit(probe);
  EXPECT_EQ(PrnGetDeviceName(probe), platform::kPdfPrinterName);
  EXPECT_GT(PrnGetPageWidth(probe), 2000);   // A4 less margins at 300 per inch
  EXPECT_GT(PrnGetPageHeight(probe), PrnGetPageWidth(probe));

  PrintOne("Halo Dunia");
  PrintOne("Kedua");
  PrintOne("Dibatalkan", /*abort=*/true);

  const std::string first = WorkFile("cetak/Struk_20240902_101530.pdf");
  const std::string second = WorkFile("cetak/Struk_20240902_101530_2.pdf");
  ASSERT_TRUE(std::filesystem::exists(first));
  ASSERT_TRUE(std::filesystem::exists(second));
  EXPECT_EQ(fintest::ReadFile(first).substr(0, 5), "%PDF-");
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(WorkFile("cetak"))) names.push_back(e.path().filename());
  EXPECT_EQ(names.size(), 2u) << "the aborted document leaves no file";

  QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (!pdftotext.isEmpty()) {
    QProcess p;
    p.start(pdftotext, {QString::fromStdString(first), "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_TRUE(p.readAllStandardOutput().contains("Halo Dunia"));
  }
}

}  // namespace
