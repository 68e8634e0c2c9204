// Font texts, fonts, and the common dialogs over the scripted seams.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontDialog>
#include <QTimer>
#include <QGuiApplication>
#include <filesystem>

#include "framework/dialogs.h"
#include "framework/fonts.h"
#include "platform/seams.h"
#include "support/seams_fixture.h"

namespace {

TEST(FontParseSpecTest, BothForms) {
  struct Case {
    std::string fontText;
    std::string face;
    int points, weight, italic, underline, strikeOut, style;
  };
  const Case cases[] = {
      {"Arial Unicode MS,9,0", "Arial Unicode MS", 9, 400, 0, 0, 0, 0},
      {"Arial Unicode MS,9,1", "Arial Unicode MS", 9, 700, 0, 0, 0, 1},
      {"Arial Unicode MS,10,1", "Arial Unicode MS", 10, 700, 0, 0, 0, 1},
      {"Courier New,8,1", "Courier New", 8, 700, 0, 0, 0, 1},
      {"Tahoma,28,15", "Tahoma", 28, 700, 1, 1, 1, 15},
      {"Tahoma,12,6", "Tahoma", 12, 400, 1, 1, 0, 6},
      {"Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34", "Arial", 9, 400, 0, 0, 0, 0},
      {"Arial,-11,0,0,0,400,255,0,0,0,3,2,1,34", "Arial", 8, 400, 255, 0, 0, 2},
      {"Arial,-13,0,0,0,700,0,1,1,0,3,2,1,34", "Arial", 10, 700, 0, 1, 1, 13},   // 9.75 points -> 10
      {"Arial,-16,0,0,0,600,0,0,0,0,3,2,1,34", "Arial", 12, 600, 0, 0, 0, 0},    // 600: no bold bit
      {"Arial,16,0,0,0,400,0,0,0,0,3,2,1,34", "Arial", 12, 400, 0, 0, 0, 0},     // positive height too
      {",9,1", "", 9, 700, 0, 0, 0, 1},
      {"Arial", "Arial", 0, 400, 0, 0, 0, 0},            // missing fields read as the whole text: 0
      {"Arial,9", "Arial", 9, 400, 0, 0, 0, 0},
      {"Arial,x9,bold", "Arial", 0, 400, 0, 0, 0, 0},
      {"", "", 0, 400, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    std::string face;
    int points = 0, weight = 0, italic = 0, underline = 0, strikeOut = 0, style = 0;
    EXPECT_EQ(FontParseSpec(c.fontText, face, points, weight, italic, underline, strikeOut, style), 0);
    EXPECT_EQ(face, c.face) << c.fontText;
    EXPECT_EQ(points, c.points) << c.fontText;
    EXPECT_EQ(weight, c.weight) << c.fontText;
    EXPECT_EQ(italic, c.italic) << c.fontText;
    EXPECT_EQ(underline, c.underline) << c.fontText;
    EXPECT_EQ(strikeOut, c.strikeOut) << c.fontText;
    EXPECT_EQ(style, c.style) << c.fontText;
  }
}

TEST(FontsTest, PixelsToPointsAndMulDiv) {
  ASSERT_EQ(FontScreenDpi(), 96);   // the offscreen screen of the tests
  EXPECT_EQ(FontPixelsToPoints(-12), 9);
  EXPECT_EQ(FontPixelsToPoints(12), 9);
  EXPECT_EQ(FontPixelsToPoints(-11), 8);
  EXPECT_EQ(FontPixelsToPoints(0), 0);
  EXPECT_EQ(MulDiv(5, 1, 2), 3);      // halves away from zero
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(9, 96, 72), 12);
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(FontsTest, PixelsToPointsWithoutAScreenIsZero) {
  // A run without a desktop application has no screen to take the pixels per inch from.
  const auto withoutScreen = [] {
    QCoreApplication::instance()->~QCoreApplication();
    std::string face;
    int points = -1, weight = 0, italic = 0, underline = 0, strikeOut = 0, style = 0;
    FontParseSpec("Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34", face, points, weight, italic, underline, strikeOut, style);
    std::_Exit(FontPixelsToPoints(-12) == 0 && points == 0 ? 0 : 1);
  };
  EXPECT_EXIT(withoutScreen(), ::testing::ExitedWithCode(0), "");
}

TEST(FontsTest, TheRealFontDialogKeepsTheSizeWithinTheRangeAsked) {
  const auto pickers = platform::MakeRealPickers();
  struct Case {
    double chosen, kept;
  } const cases[] = {{100, 72}, {6, 10}, {11, 11}, {72, 72}};
  for (const Case& c : cases) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      QFont f(QStringLiteral("DejaVu Sans"));
      f.setPointSizeF(c.chosen);
      dialog->setCurrentFont(f);
      answered = true;
      dialog->accept();
    });
    const auto choice = pickers->ChooseFont({"Times New Roman", 12}, 10, 72);
    ASSERT_TRUE(answered);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->points, c.kept) << c.chosen;
  }
}

TEST(FontsTest, FontsFromBothForms) {
  std::intptr_t bold9 = FontCreateFromSpec("Arial Unicode MS,9,1");
  std::intptr_t bold10 = FontCreateFromSpec("Arial Unicode MS,10,1");
  std::intptr_t arial = FontCreateFromSpec("Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34");
  std::intptr_t italic = FontCreateFromSpec("Arial,-11,0,0,0,400,255,0,0,0,3,2,1,34");
  std::intptr_t semi = FontCreateFromSpec("Arial,-16,0,0,0,600,0,0,0,0,3,2,1,34");
  std::intptr_t all = FontCreateFromSpec("Tahoma,28,14");
  for (auto h : {bold9, bold10, arial, italic, semi, all}) EXPECT_NE(h, 0);
  EXPECT_NE(bold9, bold10);

  QFont f = FontFromHandle(bold9);
  EXPECT_EQ(f.family(), "Arial Unicode MS");
  EXPECT_EQ(f.pixelSize(), 12);   // 9 points at 96 dpi
  EXPECT_EQ(f.weight(), QFont::Bold);
  EXPECT_FALSE(f.italic());
  EXPECT_EQ(FontFromHandle(bold10).pixelSize(), 13);   // MulDiv(10, 96, 72) = 13.33 -> 13
  EXPECT_EQ(FontFromHandle(arial).family(), "Arial");
  EXPECT_EQ(FontFromHandle(arial).pixelSize(), 12);
  EXPECT_EQ(FontFromHandle(arial).weight(), QFont::Normal);
  EXPECT_TRUE(FontFromHandle(italic).italic());
  EXPECT_EQ(FontFromHandle(semi).weight(), QFont::DemiBold);   // made with weight 600
  QFont t = FontFromHandle(all);
  EXPECT_EQ(t.pixelSize(), 37);                                // 28 points
  EXPECT_TRUE(t.italic() && t.underline() && t.strikeOut());
  EXPECT_EQ(t.weight(), QFont::Normal);

  EXPECT_TRUE(FontDelete(bold9));
  EXPECT_FALSE(FontDelete(bold9));
  EXPECT_FALSE(FontExists(bold9));
  EXPECT_EQ(FontFromHandle(bold9), QGuiApplication::font());
  for (auto h : {bold10, arial, italic, semi, all}) FontDelete(h);
}

TEST(FontsTest, AnEmptyFaceMakesNoFont) {
  EXPECT_EQ(FontCreateFromSpec(",9,1"), 0);
  EXPECT_EQ(FontCreateFromSpec(""), 0);
  EXPECT_EQ(FontCreate("", 9, 400, 0, 0, 0), 0);
  EXPECT_EQ(FontFromHandle(0), QGuiApplication::font());
}

TEST(FontsTest, EffectsTakeTheLowByteAndTheFaceIsCut) {
  std::intptr_t h = FontCreate(std::string(40, 'F'), 9, 0, 0x100, 0x101, 0);
  QFont f = FontFromHandle(h);
  EXPECT_EQ(f.family().size(), 31);
  EXPECT_FALSE(f.italic());
  EXPECT_TRUE(f.underline());
  EXPECT_EQ(f.weight(), QFont::Normal);   // weight 0: the default
  FontDelete(h);
}

// ----- dialogs -----

class DialogsTest : public fintest::SeamsTest {};

TEST_F(DialogsTest, FilterConversion) {
  EXPECT_EQ(DlgFilterToList("Database files (*.db3)|*.db3|All Files (*.*)|*.*"),
            std::string("Database files (*.db3)\0*.db3\0All Files (*.*)\0*.*\0", 49));
  EXPECT_EQ(DlgFilterToList(""), std::string(1, '\0'));
  std::string once = DlgFilterToList("A|*.a");
  EXPECT_EQ(DlgFilterToList(once), once);
}

TEST_F(DialogsTest, OpenFileAnswered) {
  AnswerFileDialog(WorkFile("sekolah.db3"));
  std::string name = "lama.db3", folder = "", filter = "Database files (*.db3)|*.db3|All Files (*.*)|*.*";
  EXPECT_EQ(DlgOpenFile(0, "Pilih Database", name, folder, filter, "db3", OFN_FILEMUSTEXIST, 0), 1);
  EXPECT_EQ(name, WorkFile("sekolah.db3"));
  EXPECT_EQ(folder, workDir());   // the empty folder became the current one
  EXPECT_EQ(filter, std::string("Database files (*.db3)\0*.db3\0All Files (*.*)\0*.*\0", 49));
  ASSERT_EQ(fileDialogs().size(), 1u);
  const platform::FileDialogRequest& r = fileDialogs()[0].request;
  EXPECT_EQ(r.kind, platform::FileDialogRequest::Open);
  EXPECT_EQ(r.title, "Pilih Database");
  EXPECT_EQ(r.fileName, "lama.db3");
  EXPECT_EQ(r.folder, workDir());
  EXPECT_EQ(r.filter, "Database files (*.db3)|*.db3|All Files (*.*)|*.*");
  EXPECT_EQ(r.defaultExt, "db3");
  EXPECT_EQ(r.flags, unsigned(OFN_FILEMUSTEXIST));
  EXPECT_FALSE(r.centre);

  // the converted filter of the first call serves a second call unchanged
  AnswerFileDialog("/data/b.db3");
  EXPECT_EQ(DlgOpenFile(0, "", name, folder, filter, "", 0, 0), 1);
  EXPECT_EQ(fileDialogs()[1].request.filter, "Database files (*.db3)|*.db3|All Files (*.*)|*.*");
}

TEST_F(DialogsTest, OpenFileCancelledLeavesTheNameAndReturnsZero) {
  CancelFileDialog();
  std::string name = "foto.bmp", folder = "/srv/foto", filter = "Gambar|*.bmp;*.jpg";
  EXPECT_EQ(DlgOpenFile(0, "Foto", name, folder, filter, "", 0, 1), 0);
  EXPECT_EQ(name, "foto.bmp");
  EXPECT_EQ(folder, "/srv/foto");
  const platform::FileDialogRequest& r = fileDialogs()[0].request;
  EXPECT_TRUE(r.centre);
  EXPECT_EQ(r.flags, unsigned(OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK));
}

TEST_F(DialogsTest, CentringKeepsTheCallersFlags) {
  CancelFileDialog();
  std::string name, folder = "/", filter = "A|*.a";
  DlgOpenFile(0, "", name, folder, filter, "", OFN_HIDEREADONLY, 1);
  EXPECT_EQ(fileDialogs()[0].request.flags, unsigned(OFN_HIDEREADONLY | OFN_ENABLEHOOK));
}

TEST_F(DialogsTest, CentredPosition) {
  struct Case { QRect desk; QSize size; QPoint at; };
  const Case cases[] = {
      {QRect(0, 0, 1920, 1080), QSize(600, 400), QPoint(660, 340)},
      {QRect(0, 0, 1920, 1080), QSize(601, 401), QPoint(660, 340)},   // 659.5 and 339.5 go to the even neighbour
      {QRect(0, 0, 1920, 1080), QSize(603, 403), QPoint(658, 338)},   // 658.5, 338.5
      {QRect(100, 50, 800, 600), QSize(200, 100), QPoint(400, 300)},
      {QRect(0, 0, 300, 200), QSize(401, 301), QPoint(-50, -50)},     // -50.5 -> -50
  };
  for (const auto& c : cases) EXPECT_EQ(platform::CentredPosition(c.desk, c.size), c.at) << c.size.width();
}

TEST_F(DialogsTest, TextFilesAreTrimmedAndCancelGivesEmpty) {
  AnswerFileDialog("  /home/tu/catatan.txt  ");
  CancelFileDialog();
  AnswerFileDialog("/home/tu/simpan.txt");
  EXPECT_EQ(DlgOpenTextFile(), "/home/tu/catatan.txt");
  EXPECT_EQ(DlgOpenTextFile(), "");
  EXPECT_EQ(DlgSaveTextFile(), "/home/tu/simpan.txt");
  ASSERT_EQ(fileDialogs().size(), 3u);
  EXPECT_EQ(fileDialogs()[0].request.title, "Open File");
  EXPECT_EQ(fileDialogs()[0].request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
  EXPECT_EQ(fileDialogs()[0].request.folder, QDir::homePath().toStdString());
  EXPECT_EQ(fileDialogs()[2].request.kind, platform::FileDialogRequest::Save);
  EXPECT_EQ(fileDialogs()[2].request.title, "Save File");
}

TEST_F(DialogsTest, ColourFontPageSetupAndPrinter) {
  AnswerColor(0x00336699u);
  AnswerColor(std::nullopt);
  EXPECT_EQ(DlgChooseColor(), 0x00336699);
  EXPECT_EQ(DlgChooseColor(), -1);

  AnswerFont(platform::FontChoice{"Tahoma", 10.5});   // 105 tenths -> 10 (half to even)
  AnswerFont(platform::FontChoice{"Verdana", 11.6});
  AnswerFont(std::nullopt);
  std::string face = "x";
  int points = 0;
  EXPECT_EQ(DlgChooseFont(face, points), "Tahoma");
  EXPECT_EQ(face, "Tahoma");
  EXPECT_EQ(points, 10);
  EXPECT_EQ(DlgChooseFont(face, points), "Verdana");
  EXPECT_EQ(points, 12);
  EXPECT_EQ(DlgChooseFont(face, points), "");
  EXPECT_EQ(face, "Verdana");
  EXPECT_EQ(points, 12);
  const auto& calls = scripted().pickerCalls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[2].initialFont.face, "Times New Roman");
  EXPECT_EQ(calls[2].initialFont.points, 12);
  EXPECT_EQ(calls[2].minPoints, 10);
  EXPECT_EQ(calls[2].maxPoints, 72);

  AnswerPageSetup(true);
  AnswerPageSetup(false);
  EXPECT_EQ(DlgPageSetup(), 0);
  EXPECT_EQ(DlgPageSetup(), -1);

  AnswerPrinter("EPSON LX-310");
  AnswerPrinter(std::nullopt);
  EXPECT_EQ(DlgSelectPrinter(), "EPSON LX-310");
  EXPECT_EQ(DlgSelectPrinter(), "");
}

}  // namespace
