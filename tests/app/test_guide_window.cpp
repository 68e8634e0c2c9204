// The required-data guide driven as an operator would (its counts and what they mark, the template and import
// buttons, closing) and the welcome window (a maximised MDI child with a patterned background and no Close).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/guide_window.h"
#include "students/import_window.h"
#include "app/welcome_window.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using fintest::ExpectControl;

namespace {

constexpr unsigned kYellow = 0x0000FFFF;   // RGB 255, 255, 0
constexpr unsigned kDarkRed = 196;         // RGB 196, 0, 0

class GuideWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gFormMode = "";
    gAkses = "111111111111";
  }
  void TearDown() override {
    if (IsWindow(gForm24Window)) WinDestroyWindow(gForm24Window);
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Shows the guide modally; `drive` runs inside its loop and must end it.
  std::intptr_t RunGuide(std::function<void()> drive, int parameter = 0) {
    OnModal([drive](QWidget*) { drive(); });
    return FORM24_Show(0, 1, parameter);
  }
  // Instructions marked as missing: dark red on yellow (the record and the label's palette).
  static bool Highlighted(Hwnd label) {
    const WindowData* d = FrmDataOf(label);
    return d && !d->backIsSysColor && d->backColor == kYellow && !d->foreIsSysColor && d->foreColor == kDarkRed &&
           WinWidget(label)->palette().color(QPalette::Window) == QColor(255, 255, 0);
  }
  static bool PlainDarkRed(Hwnd label) {
    const WindowData* d = FrmDataOf(label);
    return d && d->colorsOn && d->backIsSysColor && d->backColor == COLOR_BTNFACE && !d->foreIsSysColor &&
           d->foreColor == kDarkRed;
  }
  void FillAll() {
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama) VALUES ('1', 'Ani'), ('2', 'Budi');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('k1', '1', 'VII-A', '2024/2025'),"
                  " ('k2', '2', 'VII-A', '2024/2025'), ('k3', '1', 'VI-A', '2023/2024');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('4.1', 'SPP', 'Msk', '2024/2025');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                  " ('A1', 'SPP', 'VII-A', 150000, 'Perbulan', '2024/2025');");
  }
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(GuideWindowTest, ControlsAsDesigned) {
  FillAll();   // nothing missing: every control as created
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    std::string text;
    int x, y, w, h;
    const char* font;
  };
  const char* label = "Arial Unicode MS,10,1";
  const char* button = "Arial Unicode MS,9,0";
  const std::vector<Ctl> table = {
      {&gForm24Picture, 1000, "Static", "", 40, 24, 74, 79, ""},
      {&gForm24IntroLabel, 1001, "Static",
       "Ada beberapa item data yang wajib terisi dalam aplikasi ini, dan mungkin anda baru memulai / pertama kali "
       "membuka aplikasi dan database masih dalam keadaan kosong",
       128, 28, 719, 63, "Arial Unicode MS,12,1"},
      {&gForm24SiswaTitle, 1002, "Static", "1. Data Siswa", 128, 112, 121, 24, label},
      {&gForm24SiswaCountLabel, 1003, "Static", "Keterangan: 0 Data", 144, 132, 185, 20, label},
      {&gForm24KelasCountLabel, 1004, "Static", "Keterangan: 0 Data", 540, 132, 185, 20, label},
      {&gForm24SiswaInfoLabel, 1005, "Static",
       "Cara pengisian: Klik tombol Format Data Siswa; setelah itu isi file excel tersebut sesuai dengan format dan "
       "data siswa yang ada di sekolah anda; Select dan Copy Data tersebut dan dilanjut dengan klik tombol IMPORT "
       "DATA SISWA, setelah terbuka klik Paste hingga data muncul di list, kemudian pilih kelas, isi jurusan, simpan "
       "database.",
       144, 152, 705, 75, label},
      {&gForm24FormatSiswaButton, 1006, "Button", "FORMAT DATA SISWA", 144, 228, 183, 25, button},
      {&gForm24ImportSiswaButton, 1007, "Button", "IMPORT DATA SISWA", 332, 228, 183, 25, button},
      {&gForm24KenaikanButton, 1008, "Button", "KENAIKAN KELAS", 540, 228, 183, 25, button},
      {&gForm24RekeningTitle, 1009, "Static", "2. Data Rekening Keuangan", 128, 264, 193, 24, label},
      {&gForm24RekeningCountLabel, 1010, "Static", "Keterangan: 0 Data", 144, 284, 185, 20, label},
      {&gForm24RekeningInfoLabel, 1011, "Static",
       "Cara pengisian: Klik tombol Format Data Rekening; setelah itu isi file excel tersebut sesuai dengan format "
       "dan data rekening yang ada di sekolah anda; Select dan Copy Data tersebut dan dilanjut dengan klik tombol "
       "IMPORT DATA REKENING, setelah terbuka klik Paste hingga data muncul di list, terakhir klik tombol simpan "
       "database.",
       144, 304, 705, 75, label},
      {&gForm24FormatRekeningButton, 1012, "Button", "FORMAT DATA REKENING", 144, 380, 183, 25, button},
      {&gForm24ImportRekeningButton, 1013, "Button", "IMPORT DATA REKENING", 328, 380, 183, 25, button},
      {&gForm24AkunTitle, 1014, "Static", "3. Data Akun Pembayaran", 128, 413, 192, 24, label},
      {&gForm24AkunCountLabel, 1015, "Static", "Keterangan: 0 Data", 144, 432, 185, 20, label},
      {&gForm24AkunInfoLabel, 1016, "Static",
       "Cara pengisian: Klik tombol Data Akun; setelah itu Pilih Kelas Siswa, dilanjutkan dengan klik tombol Add "
       "Data untuk menambahkan data Akun Pembayaran.",
       144, 452, 705, 45, label},
      {&gForm24AkunButton, 1017, "Button", "DATA AKUN PEMBAYARAN", 144, 500, 183, 25, button},
      {&gForm24SelesaiButton, 1018, "Button", "SELESAI", 668, 540, 183, 25, button},
  };
  RunGuide([&] {
    const Hwnd form = gForm24Window;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Data yang wajib terisi");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM24_CLASS");
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.id);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      ExpectControl(h, c.id, c.cls, c.text, c.x, c.y, c.w, c.h);
      if (*c.font) {
        const QFont expected = FontFromHandle(FontCreateFromSpec(c.font));
        EXPECT_EQ(WinWidget(h)->font().family(), expected.family());
        EXPECT_EQ(WinWidget(h)->font().pointSize(), expected.pointSize());
        EXPECT_EQ(WinWidget(h)->font().bold(), expected.bold());
      }
      EXPECT_EQ(CtlGetToolTip(h), "");
    }
    // Colours: blue intro and counts, window text titles, dark red instructions, buttons with none.
    for (Hwnd h : {gForm24IntroLabel, gForm24SiswaCountLabel, gForm24KelasCountLabel, gForm24RekeningCountLabel,
                   gForm24AkunCountLabel}) {
      const WindowData* d = FrmDataOf(h);
      EXPECT_TRUE(d->colorsOn && !d->foreIsSysColor && d->foreColor == WinRgb(0, 0, 255) && d->backIsSysColor &&
                  d->backColor == COLOR_BTNFACE);
    }
    for (Hwnd h : {gForm24SiswaTitle, gForm24RekeningTitle, gForm24AkunTitle}) {
      const WindowData* d = FrmDataOf(h);
      EXPECT_TRUE(d->colorsOn && d->foreIsSysColor && d->foreColor == COLOR_WINDOWTEXT && d->backIsSysColor &&
                  d->backColor == COLOR_BTNFACE);
    }
    for (Hwnd h : {gForm24SiswaInfoLabel, gForm24RekeningInfoLabel, gForm24AkunInfoLabel})
      EXPECT_TRUE(PlainDarkRed(h));
    EXPECT_FALSE(qobject_cast<QLabel*>(WinWidget(gForm24Picture))->pixmap().isNull());
    EXPECT_FALSE(WinIsWindowEnabled(gForm24KenaikanButton));
    EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gForm24FormatRekeningButton));
    Click(gForm24SelesaiButton);
  });
}

TEST_F(GuideWindowTest, EmptyDatabaseMarksEverythingMissing) {
  std::intptr_t r = RunGuide(
      [&] {
        EXPECT_EQ(CtlGetText(gForm24SiswaCountLabel), "Keterangan:0 Data");
        EXPECT_EQ(CtlGetText(gForm24KelasCountLabel), "Siswa Kelas:0 Data");
        EXPECT_EQ(CtlGetText(gForm24RekeningCountLabel), "Keterangan:0 Data");
        EXPECT_EQ(CtlGetText(gForm24AkunCountLabel), "Keterangan:0 Data");
        EXPECT_TRUE(Highlighted(gForm24SiswaInfoLabel));
        EXPECT_TRUE(Highlighted(gForm24RekeningInfoLabel));
        EXPECT_TRUE(Highlighted(gForm24AkunInfoLabel));
        EXPECT_TRUE(WinIsWindowEnabled(gForm24KenaikanButton));
        Click(gForm24SelesaiButton);
        EXPECT_FALSE(IsWindow(gForm24Window));
      },
      7);
  EXPECT_EQ(r, 0);   // SELESAI closes with 0 whatever the Show parameter was
  EXPECT_EQ(gForm24Window, 0);
}

TEST_F(GuideWindowTest, ClassRowsDecideThePromotionButton) {
  struct Case {
    const char* name;
    const char* rows;
    bool kenaikanEnabled;
    bool siswaMissing;
  } cases[] = {
      {"class rows for the working year", "INSERT INTO siswa (Id) VALUES ('1');"
       "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('1', 'VII-A', '2024/2025');", false, false},
      {"students of an earlier year only", "INSERT INTO siswa (Id) VALUES ('1');"
       "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('1', 'VI-A', '2023/2024');", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM siswa; DELETE FROM siswakelas;");
    fintest::Exec(gDb, c.rows);
    RunGuide([&] {
      EXPECT_EQ(WinIsWindowEnabled(gForm24KenaikanButton), c.kenaikanEnabled);
      EXPECT_EQ(CtlGetText(gForm24KelasCountLabel), c.kenaikanEnabled ? "Siswa Kelas:0 Data" : "Keterangan: 0 Data");
      EXPECT_EQ(Highlighted(gForm24SiswaInfoLabel), c.siswaMissing);
      EXPECT_EQ(CtlGetText(gForm24SiswaCountLabel), "Keterangan: 0 Data");
      Click(gForm24SelesaiButton);
    });
  }
}

TEST_F(GuideWindowTest, NothingMissingLeavesTheLabelsAsCreated) {
  FillAll();
  RunGuide([&] {
    for (Hwnd h : {gForm24SiswaCountLabel, gForm24KelasCountLabel, gForm24RekeningCountLabel, gForm24AkunCountLabel})
      EXPECT_EQ(CtlGetText(h), "Keterangan: 0 Data");
    for (Hwnd h : {gForm24SiswaInfoLabel, gForm24RekeningInfoLabel, gForm24AkunInfoLabel})
      EXPECT_TRUE(PlainDarkRed(h));
    Click(gForm24SelesaiButton);
  });
}

TEST_F(GuideWindowTest, FailingCountCountsAsMissing) {
  FillAll();   // the class-row count before it gives 2
  fintest::Exec(gDb, "DROP TABLE rekening");
  ExpectMsgBox("SQL error: no such table: rekening", "Info", IDOK, MB_OK);
  RunGuide([&] {
    EXPECT_EQ(CtlGetText(gForm24RekeningCountLabel), "Keterangan:0 Data");
    EXPECT_TRUE(Highlighted(gForm24RekeningInfoLabel));
    // The others were counted and found.
    EXPECT_FALSE(Highlighted(gForm24SiswaInfoLabel));
    EXPECT_FALSE(Highlighted(gForm24AkunInfoLabel));
    EXPECT_FALSE(WinIsWindowEnabled(gForm24KenaikanButton));
    Click(gForm24SelesaiButton);
  });
}

TEST_F(GuideWindowTest, CountsThemselves) {
  FillAll();
  const Form24Counts c = FORM24_TakeCounts();
  EXPECT_EQ(c.siswa.count, 2);
  EXPECT_EQ(c.siswaKelas.count, 2);   // of gTapel only
  EXPECT_EQ(c.rekening.count, 1);
  EXPECT_EQ(c.account.count, 1);
  EXPECT_FALSE(c.siswa.missing() || c.siswaKelas.missing() || c.rekening.missing() || c.account.missing());

  // A school year holding an apostrophe cannot widen the count.
  gTapel = "x' or ''='";
  const Form24Counts q = FORM24_TakeCounts();
  EXPECT_EQ(q.siswaKelas.count, 0);
  EXPECT_EQ(q.rekening.count, 0);
  EXPECT_EQ(q.account.count, 0);

  // A failed statement never reads what the one before left.
  fintest::Exec(gDb, "DROP TABLE account");
  ExpectMsgBox("SQL error: no such table: account", "Info", IDOK, MB_OK);
  EXPECT_EQ(FORM24_Count("Select Count(*) From siswa").count, 2);
  const Form24Count failed = FORM24_Count("Select Count(*) From account WHERE tapel='2024/2025'");
  EXPECT_TRUE(failed.failed);
  EXPECT_EQ(failed.count, 0);
  EXPECT_TRUE(failed.missing());

  EXPECT_EQ(FORM24_CountText("Keterangan:", 0), "Keterangan:0 Data");
  EXPECT_EQ(FORM24_CountText("Siswa Kelas:", 0), "Siswa Kelas:0 Data");
}

TEST_F(GuideWindowTest, TemplateButtonsOpenTheSpreadsheets) {
  RunGuide([&] {
    Click(gForm24FormatSiswaButton);
    Click(gForm24FormatRekeningButton);
    EXPECT_TRUE(IsWindow(gForm24Window));   // the guide stays
    Click(gForm24SelesaiButton);
  });
  EXPECT_EQ(opened(), (std::vector<std::string>{ProgramFile("CopyPaste dari Excel/Data Siswa.xlsx"),
                                                ProgramFile("CopyPaste dari Excel/Data Rekening.xlsx")}));
  EXPECT_EQ(FORM24_TemplatePath("Data Siswa.xlsx"), ProgramFile("CopyPaste dari Excel/Data Siswa.xlsx"));
}

TEST_F(GuideWindowTest, TemplatesNoProgramCanOpenAreToldOf) {
  scripted().SetOpenResult(false);   // the desktop has no program for them
  const struct {
    Hwnd* button;
    const char* file;
  } cases[] = {{&gForm24FormatSiswaButton, "Data Siswa.xlsx"}, {&gForm24FormatRekeningButton, "Data Rekening.xlsx"}};
  RunGuide([&] {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.file);
      const std::string path = ProgramFile(std::string("CopyPaste dari Excel/") + c.file);
      ExpectMsgBox("Tidak ada program yang dapat dijalankan untuk membuka " + path + "..", "Info", IDOK, MB_OK);
      const std::size_t before = msgBoxes().size();
      Click(*c.button);
      VerifySeams();
      EXPECT_EQ(msgBoxes().size(), before + 1);
      if (msgBoxes().size() > before) EXPECT_EQ(msgBoxes().back().owner.data(), WinWidget(gForm24Window));
      EXPECT_TRUE(IsWindow(gForm24Window));
    }
    Click(gForm24SelesaiButton);
  });
  EXPECT_EQ(opened().size(), 2u);
}

TEST_F(GuideWindowTest, ImportButtonsSetTheModeAndKeepTheGuide) {
  std::vector<std::string> modes;
  auto closeImport = [&modes](QWidget*) {
    modes.push_back(IsWindow(gFormImportWindow) ? gFormMode : "no import window");
    FrmClose(gFormImportWindow, 0);
  };
  RunGuide([&] {
    OnModal(closeImport);
    Click(gForm24ImportSiswaButton);
    EXPECT_EQ(gFormMode, "Siswa");
    EXPECT_TRUE(IsWindow(gForm24Window));
    OnModal(closeImport);
    Click(gForm24ImportRekeningButton);
    EXPECT_EQ(gFormMode, "Rekening");
    EXPECT_TRUE(IsWindow(gForm24Window));
    Click(gForm24SelesaiButton);
  });
  EXPECT_EQ(modes, (std::vector<std::string>{"Siswa", "Rekening"}));
  EXPECT_TRUE(opened().empty());
}

TEST_F(GuideWindowTest, ButtonsThatCloseTheGuide) {
  const std::vector<std::pair<const char*, std::function<void()>>> closers = {
      {"DATA AKUN PEMBAYARAN", [] { Click(gForm24AkunButton); }},
      // Enabled: the database is empty. Last year has nobody to promote, so the import opens instead.
      {"KENAIKAN KELAS",
       [this] {
         OnModal([](QWidget*) { FrmClose(gFormImportWindow, 0); });
         Click(gForm24KenaikanButton);
       }},
      {"close box", [] { WinWidget(gForm24Window)->close(); }},
      {"system menu Close", [] { WinSendMessage(gForm24Window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"SELESAI", [] { Click(gForm24SelesaiButton); }},
  };
  for (const auto& [name, close] : closers) {
    SCOPED_TRACE(name);
    bool closed = false;
    std::intptr_t r = RunGuide(
        [&] {
          close();
          closed = !IsWindow(gForm24Window);
          if (!closed) FrmClose(gForm24Window, 99);
        },
        5);
    EXPECT_TRUE(closed);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(gForm24Window, 0);
  }
}

TEST_F(GuideWindowTest, EscapeDoesNotCloseTheGuide) {
  RunGuide([&] {
    QTest::keyClick(WinWidget(gForm24FormatRekeningButton), Qt::Key_Escape);
    EXPECT_TRUE(IsWindow(gForm24Window));
    Click(gForm24SelesaiButton);
  });
}

// ------------------------------------------------------------------------------------------------------------------
class WelcomeWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    client_ = WinHandle(area_);
    WinWatchWindow(client_);
    area_->show();
  }
  void TearDown() override {
    if (IsWindow(gForm1Window)) WinDestroyWindow(gForm1Window);
    delete area_;
  }
  QMdiArea* area_ = nullptr;
  Hwnd client_ = 0;
};

TEST_F(WelcomeWindowTest, MaximisedPatternedMdiChild) {
  const std::intptr_t w = FORM1_Show(client_, 1, 0);   // modeless although asked modal: returns at once
  ASSERT_NE(w, 0);
  EXPECT_EQ(w, gForm1Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM1_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Welcome");
  EXPECT_EQ(WinGetDlgCtrlID(w), 100);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_TRUE(WinChildWindows(w).empty());   // no controls
  const QBrush bg = WinClientWidget(w)->palette().brush(QPalette::Window);
  EXPECT_FALSE(bg.texture().isNull());       // the batik pattern
}

TEST_F(WelcomeWindowTest, OffersNoCloseCommand) {
  const Hwnd w = FORM1_Show(client_, 1, 0);
  ASSERT_TRUE(IsWindow(w));
  auto* sub = qobject_cast<QMdiSubWindow*>(WinWidget(w));
  ASSERT_NE(sub, nullptr);
  EXPECT_FALSE(sub->windowFlags() & Qt::WindowCloseButtonHint);
  for (QAction* a : sub->systemMenu()->actions()) EXPECT_NE(a->text().remove(QLatin1Char('&')).toStdString(), "Close");
  WinSendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0);   // the window menu's Close, Ctrl+F4
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(gForm1Window, w);
  // Other children open over it; it goes with its frame.
  WinDestroyWindow(w);
  EXPECT_EQ(gForm1Window, 0);
}

}  // namespace
