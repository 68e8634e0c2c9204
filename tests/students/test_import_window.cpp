// The import window driven as an operator would: rows on the clipboard pasted into the list and saved in each mode
// (students with their class, ledger accounts, fees, and a mode that imports nothing), duplicates refused, result
// texts and summary boxes, the birth-date conversion, apostrophes, and rows written whole or not at all.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounts/account_globals.h"
#include "app/globals.h"
#include "common/busy.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "students/import_window.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/rollback_refused.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using namespace std::string_literals;

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kConfirm =
    "Proses ini membutuhkan pengecekan data yang valid, sebelum melanjutkan ke proses penyimpanan mohon teliti "
    "terlebih dahulu Id/Kode/Induk agar tidak sama persis dengan data sudah di input sebelumnya\r"
    "Yakin dengan data anda?, data yang tidak yang valid tidak akan ter-input dalam database.";
constexpr const char* kConfirmCaption = "Inpor Data dari Excel";

class ImportWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gFormMode = "";
    gRowCount = 0;
    gCountResult = 0;
    gForm6KelasCombo = 0;
  }
  void TearDown() override {
    if (IsWindow(gFormImportWindow)) WinDestroyWindow(gFormImportWindow);
    gForm6KelasCombo = 0;
    delete holder_;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Opens the import modally in `mode`; `drive` runs inside its loop; the window is closed with "Tutup" afterwards.
  std::intptr_t RunImport(const std::string& mode, std::function<void()> drive) {
    gFormMode = mode;
    OnModal([drive](QWidget*) {
      drive();
      if (IsWindow(gFormImportWindow)) Click(gFormImportTutupButton);
    });
    return FORMIMPORT_Show(0, 1, 0);
  }
  // The operator's choice of a class (CBN_SELCHANGE follows).
  static void ChooseClass(const std::string& grade) { fintest::Choose(gFormImportKelasCombo, grade); }
  void Paste(const std::string& text) {
    SetClipboard(text);
    Click(gFormImportPasteButton);
  }
  // Save answered Yes; then the boxes given (text, caption "Info") are expected in order.
  void Save(const std::vector<std::string>& boxes = {}) {
    ExpectMsgBox(kConfirm, kConfirmCaption, IDYES, MB_YESNO | MB_ICONQUESTION);
    for (const std::string& b : boxes) ExpectMsgBox(b, "Info", IDOK, MB_OK);
    Click(gFormImportSimpanButton);
    VerifySeams();
  }
  static Rows ListRows() { return fintest::ListRows(gFormImportList); }
  static std::vector<std::string> Column(int c) {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(gFormImportList); ++r) out.push_back(LvGetItemText(gFormImportList, r, c));
    return out;
  }
  // A stand-in for the fee list's class combo, showing `kelas`.
  void FeeListClass(const std::string& kelas) {
    holder_ = new QWidget;
    gForm6KelasCombo = WinCreateControl(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 100, 20,
                                        WinHandle(holder_), 2000);
    CbAddString(gForm6KelasCombo, kelas);
    CbSetCurSel(gForm6KelasCombo, 0);
  }
  Rows Db(const std::string& sql) { return fintest::Query(gDb, sql); }

  QWidget* holder_ = nullptr;
};

// ----- what the import computes ------------------------------------------------------------------------------------
TEST(ImportRoutines, PastedRows) {
  struct Case {
    const char* text;
    std::vector<std::string> rows;
  } cases[] = {
      {"A1\tBudi\r\nA2\tSari\r\n", {"A1\tBudi", "A2\tSari"}},
      {"A1\tBudi\r\nA2\tSari", {"A1\tBudi", "A2\tSari"}},   // the last row needs no line break after it
      {"A1\tBudi", {"A1\tBudi"}},
      {"A1\tBudi\r\n\t \t", {"A1\tBudi"}},                 // a last line of TABs and blanks is no row
      {"", {}},
      {"A1\rA2\r", {"A1", "A2"}},               // carriage returns alone: nothing of the next row is lost
      {"\nA1\r\n", {"\nA1"}},                   // only the line feed after a carriage return is dropped
      // Empty lines and lines of TABs (and blanks) are no rows.
      {"\r\n", {}},
      {"A1\r\n\r\n\t\t\r\n \t \r\nA2\r\n", {"A1", "A2"}},
      // A cell in double quotes keeps its line break, whatever ends it; other quotes are ordinary characters.
      {"A1\t\"Jl. Mawar\nRT 2\"\r\nA2\t\"Gg. 3\r\nNo 4\"\tx\r\n",
       {"A1\t\"Jl. Mawar\nRT 2\"", "A2\t\"Gg. 3\r\nNo 4\"\tx"}},
      {"A1\t\"ab\r\nA2\tc\r\n", {"A1\t\"ab", "A2\tc"}},   // an opening quote never closed
      {"A1\t\"\"\t\"\"\r\n\"\"\t\r\n", {"A1\t\"\"\t\"\""}},   // a row of empty quoted cells is empty
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FORMIMPORT_PastedRows(c.text), c.rows);
  }
  // A NUL is dropped before the rows are read.
  EXPECT_EQ(FORMIMPORT_PastedRows("A\0" "1\tBu\0" "di\r\n\0" "\r\n"s),
            (std::vector<std::string>{"A1\tBudi"}));
}

TEST(ImportRoutines, CellsAndTexts) {
  EXPECT_EQ(FORMIMPORT_Cell("a\tb\tc", 1), "a");
  EXPECT_EQ(FORMIMPORT_Cell("a\tb\tc", 3), "c");
  EXPECT_EQ(FORMIMPORT_Cell("a\tb\tc", 4), "");   // missing cells are empty, never the whole row
  EXPECT_EQ(FORMIMPORT_Cell("a\t\tc", 2), "");
  EXPECT_EQ(FORMIMPORT_Cell("", 1), "");
  // Quoted cells: one cell whatever they hold, without their quotes; "" is one quote.
  EXPECT_EQ(FORMIMPORT_Cell("A1\t\"O\"\"Neil\"\tx", 2), "O\"Neil");
  EXPECT_EQ(FORMIMPORT_Cell("A1\t\"O\"\"Neil\"\tx", 3), "x");
  EXPECT_EQ(FORMIMPORT_Cell("\"Jl. Mawar\r\nRT 2\ta\"\tb", 1), "Jl. Mawar\r\nRT 2\ta");
  EXPECT_EQ(FORMIMPORT_Cell("\"Jl. Mawar\r\nRT 2\ta\"\tb", 2), "b");
  EXPECT_EQ(FORMIMPORT_Cell("\"\"", 1), "");
  EXPECT_EQ(FORMIMPORT_Cell("5\" TV\tb", 1), "5\" TV");          // a quote inside a cell stays
  EXPECT_EQ(FORMIMPORT_Cell("\"a\"b\tc", 1), "\"a\"b");          // not closed right before its TAB: as it stands
  EXPECT_EQ(FORMIMPORT_Cell("\"open\tc", 2), "c");
  EXPECT_EQ(FORMIMPORT_Clean("Jum'at 'x'"), "Jum`at `x`");

  EXPECT_EQ(FORMIMPORT_KodeText("7"), "007");
  EXPECT_EQ(FORMIMPORT_KodeText("12"), "012");
  EXPECT_EQ(FORMIMPORT_KodeText("AB567"), "567");
  EXPECT_EQ(FORMIMPORT_KodeText(""), "000");
  EXPECT_EQ(FORMIMPORT_KodeText("A\xC3\xA9"), "A\xC3\xA9");   // never begins inside a character

  EXPECT_EQ(FORMIMPORT_AkunDisplayId("2024/2025", 3), "BR-20240003");
  EXPECT_EQ(FORMIMPORT_AkunId("X IPA", "2023/2024", 3), "BR-XIPA20230003");
  EXPECT_EQ(FORMIMPORT_AkunId("", "2023/2024", 12345), "BR-202312345");

  EXPECT_EQ(FORMIMPORT_SummaryText("siswa", 3, 1),
            "Dari jumlah data siswa 3 anak yang diimport ke database; 2 data telah berhasil di simpan dan 1 gagal "
            "disimpan");
}

TEST(ImportRoutines, BirthDates) {
  struct Case {
    const char* cell;
    const char* date;
  } cases[] = {
      {"2010-05-17", "2010-05-17"}, {"2010/5/7", "2010-05-07"},     {"17/05/2010", "2010-05-17"},
      {"17-5-2010", "2010-05-17"},  {"5/17/2010", "2010-05-17"},    {"07.05.10", "2010-05-07"},
      {"1/2/95", "1995-02-01"},     {"12 Januari 2010", "2010-01-12"}, {"3 Agustus 2009", "2009-08-03"},
      {"12-Jan-10", "2010-01-12"},  {"March 4, 2011", "2011-03-04"}, {" 2010-05-17 00:00:00 ", "2010-05-17"},
      {"abc", "1899-12-30"},        {"", "1899-12-30"},             {"31/02/2010", "1899-12-30"},
      {"2010-13-01", "1899-12-30"}, {"12 Foo 2010", "1899-12-30"},
      {"2010-05-17 00:00:00.000", "2010-05-17"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    EXPECT_EQ(FORMIMPORT_DateText(c.cell), c.date);
  }
  // A text longer than any date is no date, however it begins; tens of thousands of characters end no program.
  EXPECT_EQ(FORMIMPORT_DateText("2010-05-17 " + std::string(30, 'x')), "1899-12-30");
  EXPECT_EQ(FORMIMPORT_DateText("2010-05-17 " + std::string(100000, '0')), "1899-12-30");
  EXPECT_EQ(FORMIMPORT_DateText(std::string(100000, '1')), "1899-12-30");
}

TEST(ImportRoutines, Amounts) {
  struct Case {
    const char* cell;
    bool read;
    long long amount;
  } cases[] = {
      {"150000", true, 150000}, {"150.000", true, 150000}, {"1.500.000", true, 1500000},
      {"1,500,000", true, 1500000}, {"Rp 75.000", true, 75000}, {"Rp. 1.250.000,00", true, 1250000},
      {"", true, 0}, {"  ", true, 0}, {"-750.000", true, -750000},
      // No amount of whole rupiah: refused.
      {"Rp. 1.250.000,50", false, 0}, {"150000,5", false, 0}, {"12.5", false, 0}, {"abc", false, 0},
      {"1000000000000", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    long long amount = -1;
    EXPECT_EQ(FORMIMPORT_Amount(c.cell, amount), c.read);
    EXPECT_EQ(amount, c.amount);
  }
}

// ----- the window --------------------------------------------------------------------------------------------------
TEST_F(ImportWindowTest, ControlsAsDesigned) {
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    std::string text;
    int x, y, w, h;
    std::string tip;
  };
  const std::vector<Ctl> table = {
      {&gFormImportRekeningCombo, 1000, "ComboBox", "", 264, 520, 260, 23,
       "Wajib dipilih apabila mengimport data akun pembayaran.."},
      {&gFormImportRekeningLabel, 1001, "Static", "Rekening", 208, 520, 51, 16, ""},
      {&gFormImportTutupButton, 1002, "Button", "Tutup", 910, 496, 100, 24, ""},
      {&gFormImportKategoriLabel, 1003, "Static", "Kategori", 460, 496, 56, 22, ""},
      {&gFormImportKategoriEdit, 1004, "Edit", "01", 520, 496, 162, 20, ""},
      {&gFormImportSimpanButton, 1005, "Button", "Simpan Data Ke Database", 696, 496, 200, 24,
       "Simpan ke Database, aplikasi hanya akan menyimpan data siswa yang valid berupa Id Siswa tidak ganda."},
      {&gFormImportJurusanLabel, 1006, "Static", "Jurusan", 208, 496, 52, 20, ""},
      {&gFormImportJurusanEdit, 1007, "Edit", "", 264, 496, 162, 20, "Jurusan Wajib Di Isi Apabila Jenjang Sekolah SMA"},
      {&gFormImportKelasCombo, 1008, "ComboBox", "", 96, 496, 81, 23, ""},
      {&gFormImportKelasLabel, 1009, "Static", "Kelas", 48, 496, 46, 33, ""},
      {&gFormImportList, 1010, "SysListView32", "", 8, 32, 1002, 460, ""},
      {&gFormImportPasteButton, 1011, "Button", "Paste disini", 512, 8, 498, 23,
       "Carilah File Excel dengan format yang sudah tersedia dalam folder import siswa, kemudian pilih kelas siswa, "
       "isi jurusan serta kategori."},
      {&gFormImportFormatLabel, 1012, "Static", "Format Copy Paste dapat dibuka di Folder CopyPaste dari Excel", 8, 8,
       497, 22, ""},
  };
  const std::intptr_t r = RunImport("Siswa", [&] {
    const Hwnd form = gFormImportWindow;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Copy Paste Data");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORMIMPORT_CLASS");
    EXPECT_EQ(WinGetStyle(form) & WS_SYSMENU, 0u);   // no close box: "Tutup" is the way out
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.id);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      EXPECT_EQ(WinGetDlgCtrlID(h), c.id);
      EXPECT_EQ(WinGetClassName(h), c.cls);
      EXPECT_EQ(CtlGetText(h), c.text);
      const WinRect rc = WinGetWindowRect(h);
      EXPECT_EQ(rc.left, FrmScaleX(c.x));
      EXPECT_EQ(rc.top, FrmScaleY(c.y));
      EXPECT_EQ(rc.width(), FrmScaleX(c.w));
      if (std::string(c.cls) != "ComboBox") {   // a combo keeps its own height
        EXPECT_EQ(rc.height(), FrmScaleY(c.h));
      }
      EXPECT_EQ(CtlGetToolTip(h), c.tip.substr(0, 79));   // a tool tip shows the first 79 characters
    }
    const QFont bold = FontFromHandle(FontCreateFromSpec("Arial,10,1"));
    EXPECT_EQ(WinWidget(gFormImportPasteButton)->font().bold(), bold.bold());
    EXPECT_EQ(WinWidget(gFormImportPasteButton)->font().pointSize(), bold.pointSize());
    const WindowData* yellow = FrmDataOf(gFormImportFormatLabel);
    EXPECT_TRUE(yellow->colorsOn && !yellow->backIsSysColor && yellow->backColor == WinRgb(255, 255, 0));

    std::vector<std::string> grades;
    for (int i = 0; i < CbGetCount(gFormImportKelasCombo); ++i) {
      grades.push_back(CbGetItemText(gFormImportKelasCombo, i));
      EXPECT_EQ(CbGetItemData(gFormImportKelasCombo, i), 0);
    }
    EXPECT_EQ(grades, (std::vector<std::string>{"Play Group", "TK A", "TK B", "I", "II", "III", "IV", "V", "VI",
                                                "VII", "VIII", "IX", "X", "XI", "XII"}));
    EXPECT_EQ(CbGetCurSel(gFormImportKelasCombo), -1);
    // "Siswa": eight columns; only the ledger-account combo is off.
    const std::vector<std::tuple<std::string, int, int>> columns = {
        {"Induk", 2, 100}, {"Nama", 0, 150},  {"LP", 2, 100},     {"Tmp. Lahir", 0, 150},
        {"Tgl. Lahir", 2, 100}, {"Agama", 2, 150}, {"Alamat", 0, 100}, {"Keterangan", 2, 100}};
    ASSERT_EQ(LvGetColumnCount(gFormImportList), 8);
    for (int c = 0; c < 8; ++c) {
      EXPECT_EQ(LvGetColumnText(gFormImportList, c), std::get<0>(columns[c]));
      EXPECT_EQ(LvGetColumnAlign(gFormImportList, c), std::get<1>(columns[c]));
      EXPECT_EQ(LvGetColumnWidth(gFormImportList, c), std::get<2>(columns[c]));
    }
    EXPECT_FALSE(WinIsWindowEnabled(gFormImportRekeningCombo));
    for (Hwnd h : {gFormImportKelasCombo, gFormImportJurusanEdit, gFormImportKategoriEdit})
      EXPECT_TRUE(WinIsWindowEnabled(h));
  });
  EXPECT_EQ(r, 0);
  EXPECT_EQ(gFormImportWindow, 0);
}

TEST_F(ImportWindowTest, StudentsPastedAndSavedWithTheirClass) {
  RunImport("Siswa", [&] {
    // The last row has no line break after it, as a copy of the last cells of a sheet can end: it is kept.
    Paste("A1\tBudi\tLaki - Laki\tJakarta\t17/05/2010\tIslam\tJl. Jum'at 1\r\n"
          "A2\tSari\tPerempuan\tBandung\tabc\tKristen\r\n"
          "A3\tDewi\tPerempuan\tBogor\t1/2/95\tIslam\tJl. Kenanga");
    EXPECT_EQ(gRowCount, 3);
    EXPECT_EQ(ListRows(), (Rows{{"A1", "Budi", "Laki - Laki", "Jakarta", "2010-05-17", "Islam", "Jl. Jum`at 1", ""},
                                {"A2", "Sari", "Perempuan", "Bandung", "1899-12-30", "Kristen", "", ""},
                                {"A3", "Dewi", "Perempuan", "Bogor", "1995-02-01", "Islam", "Jl. Kenanga", ""}}));
    ChooseClass("I");
    EXPECT_EQ(CtlGetText(gFormImportJurusanEdit), "General");
    CtlSetText(gFormImportKategoriEdit, "0'2");
    Save({FORMIMPORT_SummaryText("siswa", 3, 0), FORMIMPORT_SummaryText("siswa kelas", 3, 0)});
    EXPECT_EQ(Column(7), (std::vector<std::string>(3, "Siswa Kelas berhasil di input")));
  });
  EXPECT_EQ(Db("SELECT Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Status, TglMasuk, Jenjang, Ket FROM siswa "
               "ORDER BY Id"),
            (Rows{{"A1", "Budi", "L", "Jakarta", "2010-05-17", "Islam", "Jl. Jum`at 1", "Aktif", "2024-09-02", "-",
                   "<null>"},
                  {"A2", "Sari", "P", "Bandung", "1899-12-30", "Kristen", "", "Aktif", "2024-09-02", "-",
                   "<null>"},
                  {"A3", "Dewi", "P", "Bogor", "1995-02-01", "Islam", "Jl. Kenanga", "Aktif", "2024-09-02", "-",
                   "<null>"}}));
  EXPECT_EQ(Db("SELECT Kode, IdSiswa, Kelas, Kategori, Tapel FROM siswakelas ORDER BY IdSiswa"),
            (Rows{{"20242025A1", "A1", "I General", "0`2", "2024/2025"},
                  {"20242025A2", "A2", "I General", "0`2", "2024/2025"},
                  {"20242025A3", "A3", "I General", "0`2", "2024/2025"}}));
}

TEST_F(ImportWindowTest, DuplicatesRefusedInEachPass) {
  // A2 is a student already (without a class row); A3 is new but has a class row of an earlier year.
  fintest::Exec(gDb,
                "INSERT INTO siswa (Id, Nama, Status) VALUES ('A2', 'Lama', 'Aktif');"
                "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('20232024A3', 'A3', 'VI A', '2023/2024');");
  RunImport("Siswa", [&] {
    Paste("A1\tBudi\r\nA2\tSari\r\nA3\tTono\r\n");
    ChooseClass("X");   // X: the Jurusan is left empty
    EXPECT_EQ(CtlGetText(gFormImportJurusanEdit), "");
    Save({FORMIMPORT_SummaryText("siswa", 3, 1), FORMIMPORT_SummaryText("siswa kelas", 3, 1)});
    EXPECT_EQ(Column(7), (std::vector<std::string>{"Siswa Kelas berhasil di input", "Siswa Kelas berhasil di input",
                                                   "Gagal di input"}));
    // The same rows again: everything is there already.
    Save({FORMIMPORT_SummaryText("siswa", 3, 3), FORMIMPORT_SummaryText("siswa kelas", 3, 3)});
    EXPECT_EQ(Column(7), (std::vector<std::string>(3, "Gagal di input")));
  });
  EXPECT_EQ(Db("SELECT Id, Nama FROM siswa ORDER BY Id"), (Rows{{"A1", "Budi"}, {"A2", "Lama"}, {"A3", "Tono"}}));
  EXPECT_EQ(Db("SELECT IdSiswa, Kelas, Tapel FROM siswakelas ORDER BY IdSiswa, Tapel"),
            (Rows{{"A1", "X ", "2024/2025"}, {"A2", "X ", "2024/2025"}, {"A3", "VI A", "2023/2024"}}));
}

// An id that payments, savings or billing rows of a deleted student still name is given to no new student, in either
// pass (the old money would be the new student's); a student who exists keeps getting a class row as before.
TEST_F(ImportWindowTest, IdsThatOldMoneyStillNamesAreRefusedInBothPasses) {
  fintest::Exec(gDb,
                "INSERT INTO siswa (Id, Nama, Status) VALUES ('A2', 'Lama', 'Aktif');"
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, sts) VALUES"
                " ('C1202306010800','2023-06-01','01-Setoran','Tabungan','C1',500000,0,'-'),"
                " ('20222023202210010800001','2022-10-01','SPP','BR-1','C2',140000,0,'p'),"
                " ('A2202406010800','2024-06-01','01-Setoran','Tabungan','A2',75000,0,'t');"
                "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('BR-1','C3',1680000);");
  const std::string oldMoney = "Gagal di input, Id masih tercatat di data keuangan lama";
  RunImport("Siswa", [&] {
    Paste("C1\tSatu\r\nC2\tDua\r\nC3\tTiga\r\nC4\tEmpat\r\nA2\tSari\r\n");
    ChooseClass("VII");
    Save({FORMIMPORT_SummaryText("siswa", 5, 4), FORMIMPORT_SummaryText("siswa kelas", 5, 3),
          "Gagal menyimpan, Id/Kode C1, C2, C3 masih tercatat di data pembayaran, tabungan atau tagihan siswa lama, "
          "gunakan Id/Kode yang lain.."});
    EXPECT_EQ(Column(7), (std::vector<std::string>{oldMoney, oldMoney, oldMoney, "Siswa Kelas berhasil di input",
                                                   "Siswa Kelas berhasil di input"}));
  });
  const std::string path = WorkFile("data.db3");
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT Id, Nama FROM siswa ORDER BY Id"),
            (Rows{{"A2", "Lama"}, {"C4", "Empat"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT IdSiswa FROM siswakelas ORDER BY IdSiswa"), (Rows{{"A2"}, {"C4"}}));
}

TEST_F(ImportWindowTest, AnsweringNoChangesNothing) {
  RunImport("Siswa", [&] {
    Paste("A1\tBudi\r\n");
    ExpectMsgBox(kConfirm, kConfirmCaption, IDNO, MB_YESNO | MB_ICONQUESTION);
    Click(gFormImportSimpanButton);
    EXPECT_EQ(Column(7), (std::vector<std::string>{""}));
  });
  EXPECT_TRUE(Db("SELECT * FROM siswa").empty());
  EXPECT_TRUE(Db("SELECT * FROM siswakelas").empty());
}

TEST_F(ImportWindowTest, EachStudentIsWrittenWithItsClassOrNotAtAll) {
  fintest::Exec(gDb,
                "CREATE TRIGGER no_class BEFORE INSERT ON siswakelas WHEN NEW.IdSiswa='B2' "
                "BEGIN SELECT RAISE(ABORT, 'kelas ditolak'); END;"
                "CREATE TRIGGER no_student BEFORE INSERT ON siswa WHEN NEW.Id='B3' "
                "BEGIN SELECT RAISE(ABORT, 'siswa ditolak'); END;");
  RunImport("Siswa", [&] {
    Paste("B1\tSatu\r\nB2\tDua\r\nB3\tTiga\r\n");
    ChooseClass("VII");
    Save({"SQL error: siswa ditolak", FORMIMPORT_SummaryText("siswa", 3, 2),
          FORMIMPORT_SummaryText("siswa kelas", 3, 2)});
    EXPECT_EQ(Column(7), (std::vector<std::string>{"Siswa Kelas berhasil di input", "Siswa Kelas gagal di input",
                                                   "Siswa Kelas gagal di input"}));
  });
  // B2's student row went with its refused class row.
  EXPECT_EQ(Db("SELECT Id FROM siswa"), (Rows{{"B1"}}));
  EXPECT_EQ(Db("SELECT IdSiswa, Kelas FROM siswakelas"), (Rows{{"B1", "VII General"}}));
}

TEST_F(ImportWindowTest, PastesThatAddNothingAndPastesThatAppend) {
  RunImport("Siswa", [&] {
    for (std::optional<std::string> nothing : {std::optional<std::string>(), std::optional<std::string>(""),
                                               std::optional<std::string>("\t\t\r\n \t \r\n\r\n"),
                                               std::optional<std::string>(" \t ")}) {
      SetClipboard(nothing);
      Click(gFormImportPasteButton);
    }
    EXPECT_EQ(LvGetItemCount(gFormImportList), 0);
    Paste("A1\tBudi\nA2\tSari\n");   // line feeds alone read as full line ends
    EXPECT_EQ(Column(0), (std::vector<std::string>{"A1", "A2"}));
    gRowCount = 7;
    Paste("\t\r\n\r\n");              // blank lines only: nothing changes, not even the count
    EXPECT_EQ(gRowCount, 7);
    Paste("A3\tTono");              // no line end: the row counts all the same
    EXPECT_EQ(gRowCount, 1);        // the rows of the last paste
    EXPECT_EQ(Column(0), (std::vector<std::string>{"A1", "A2", "A3"}));
    // The save takes every row of the list, once.
    ChooseClass("TK A");
    Save({FORMIMPORT_SummaryText("siswa", 3, 0), FORMIMPORT_SummaryText("siswa kelas", 3, 0)});
  });
  EXPECT_EQ(Db("SELECT IdSiswa, Kelas FROM siswakelas ORDER BY IdSiswa"),
            (Rows{{"A1", "TK A General"}, {"A2", "TK A General"}, {"A3", "TK A General"}}));
}

TEST_F(ImportWindowTest, PastedRowsAsASpreadsheetPutsThem) {
  RunImport("Siswa", [&] {
    // An empty line and a line of TABs between the rows; an address with a line break, a name with a quote; a NUL.
    Paste("A1\t\"O\"\"NEIL\"\tL\tJakarta\t2010-05-17\tIslam\t\"Jl. Mawar\nRT 2\"\r\n"
          "\r\n"
          "\t\t\t\t\t\t\r\n"
          "A\0" "2\tSari\tP\r\n"s);
    EXPECT_EQ(gRowCount, 2);
    EXPECT_EQ(ListRows(), (Rows{{"A1", "O\"NEIL", "L", "Jakarta", "2010-05-17", "Islam", "Jl. Mawar\nRT 2", ""},
                                {"A2", "Sari", "P", "", "1899-12-30", "", "", ""}}));
    ChooseClass("II");
    Save({FORMIMPORT_SummaryText("siswa", 2, 0), FORMIMPORT_SummaryText("siswa kelas", 2, 0)});
  });
  // No "Erreur" box, no student with an empty id.
  EXPECT_EQ(Db("SELECT Id, Nama, Alamat FROM siswa ORDER BY Id"),
            (Rows{{"A1", "O\"NEIL", "Jl. Mawar\nRT 2"}, {"A2", "Sari", ""}}));
  EXPECT_EQ(Db("SELECT IdSiswa FROM siswakelas ORDER BY IdSiswa"), (Rows{{"A1"}, {"A2"}}));
}

TEST_F(ImportWindowTest, EmptyLinesBecomeNoAccountOrFee) {
  RunImport("Rekening", [&] {
    Paste("7\tGaji\tKlr\r\n\t\t\r\n\r\n");
    EXPECT_EQ(ListRows(), (Rows{{"007", "Gaji", "Klr", ""}}));
    Save();
  });
  FeeListClass("X IPA");
  RunImport("Akun", [&] {
    Paste("\r\nSPP\t150000\tPerbulan\r\n\t\t\r\n");
    EXPECT_EQ(Column(1), (std::vector<std::string>{"SPP"}));
    Save();
  });
  EXPECT_EQ(Db("SELECT Kode FROM rekening"), (Rows{{"007"}}));
  EXPECT_EQ(Db("SELECT Id, Pembayaran FROM account"), (Rows{{"BR-XIPA20240001", "SPP"}}));
}

TEST_F(ImportWindowTest, LedgerAccounts) {
  fintest::Exec(gDb,
                "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('001', 'SPP', 'Msk', '2024/2025'),"
                " ('002', 'Gaji', 'Klr', '2023/2024');");
  RunImport("Rekening", [&] {
    ASSERT_EQ(LvGetColumnCount(gFormImportList), 4);
    const std::vector<std::pair<std::string, int>> columns = {{"Kode", 2}, {"Deskripsi", 0}, {"Grup", 2}, {"Keterangan", 2}};
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(LvGetColumnText(gFormImportList, c), columns[c].first);
      EXPECT_EQ(LvGetColumnAlign(gFormImportList, c), columns[c].second);
    }
    for (Hwnd h : {gFormImportKelasCombo, gFormImportRekeningCombo, gFormImportJurusanEdit, gFormImportKategoriEdit})
      EXPECT_FALSE(WinIsWindowEnabled(h));
    Paste("7\tGaji\tKlr\r\nAB567\tDana BOS'21\tMsk\r\n12\tSPP\tMsk\r\n");
    EXPECT_EQ(ListRows(), (Rows{{"007", "Gaji", "Klr", ""}, {"567", "Dana BOS`21", "Msk", ""}, {"012", "SPP", "Msk", ""}}));
    Save();   // no summary box in this mode
    EXPECT_EQ(Column(3), (std::vector<std::string>{"Berhasil di input", "Berhasil di input", "Gagal di input"}));
  });
  EXPECT_EQ(Db("SELECT Kode, Deskripsi, Grup, Tapel FROM rekening ORDER BY Tapel, Kode"),
            (Rows{{"002", "Gaji", "Klr", "2023/2024"},
                  {"001", "SPP", "Msk", "2024/2025"},
                  {"007", "Gaji", "Klr", "2024/2025"},
                  {"567", "Dana BOS`21", "Msk", "2024/2025"}}));
}

// One code names one account in a school year: a pasted code that, cut to its last three characters, names an account
// of the year already (stored before, or saved from a row above it in the same paste) is refused, marked as a refused
// row is, and one box tells how many were refused so. Other years' codes and the cut itself stay as they are.
TEST_F(ImportWindowTest, ALedgerCodeTakenInTheYearIsRefused) {
  fintest::Exec(gDb,
                "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('201', 'Sewa Kantin', 'Msk', '2024/2025'),"
                " ('1.1', 'Iuran Lama', 'Msk', '2023/2024');");
  struct Row {
    const char* pasted;   // code, description and group as the sheet holds them
    const char* kode;     // as the list shows it
    const char* result;
  } rows[] = {
      {"4101\tPenerimaan SPP Msk\tMsk", "101", "Berhasil di input"},
      {"5101\tGaji Guru Klr\tKlr", "101", "Gagal di input"},        // the row above took "101"
      {"4.1.1\tIuran Komite Msk\tMsk", "1.1", "Berhasil di input"},  // "1.1" of another year is no obstacle
      {"5.1.1\tListrik Klr\tKlr", "1.1", "Gagal di input"},
      {"3201\tUang Pangkal\tMsk", "201", "Gagal di input"},          // stored before
      {"7\tKas\tBms", "007", "Berhasil di input"},
      {"AB567\tDana BOS\tMsk", "567", "Berhasil di input"},
      {"9101\tPenerimaan SPP Msk\tMsk", "101", "Gagal di input"},    // its description is taken: not told again
  };
  std::string text;
  for (const Row& r : rows) text += std::string(r.pasted) + "\r\n";
  RunImport("Rekening", [&] {
    Paste(text);
    std::vector<std::string> codes, results;
    for (const Row& r : rows) {
      codes.push_back(r.kode);
      results.push_back(r.result);
    }
    EXPECT_EQ(Column(0), codes);
    Save({"3 rekening tidak disimpan, Kode sudah dipakai rekening lain di tahun ajaran 2024/2025.."});
    EXPECT_EQ(Column(3), results);
    // Saved again: every row is refused, the three new codes among them for their description.
    Save({"3 rekening tidak disimpan, Kode sudah dipakai rekening lain di tahun ajaran 2024/2025.."});
    EXPECT_EQ(Column(3), std::vector<std::string>(std::size(rows), "Gagal di input"));
  });
  const std::string path = WorkFile("data.db3");
  EXPECT_EQ(fintest::RowsInFile(path,
                                "SELECT Kode, Deskripsi, Grup FROM rekening WHERE Tapel='2024/2025' ORDER BY Kode"),
            (Rows{{"007", "Kas", "Bms"},
                  {"1.1", "Iuran Komite Msk", "Msk"},
                  {"101", "Penerimaan SPP Msk", "Msk"},
                  {"201", "Sewa Kantin", "Msk"},
                  {"567", "Dana BOS", "Msk"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT Kode FROM rekening WHERE Tapel='2023/2024'"), (Rows{{"1.1"}}));
}

TEST_F(ImportWindowTest, FeesOfTheFeeListsClass) {
  fintest::Exec(gDb,
                "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('4.1.1', 'SPP', 'Msk', '2024/2025'),"
                " ('4.1.2', 'Iuran Komite', 'Msk', '2024/2025'), ('4.1.3', 'Iuran Lain', 'Msk', '2024/2025'),"
                " ('5.1', 'Iuran Keluar', 'Klr', '2024/2025'), ('4.1.9', 'Iuran Lama', 'Msk', '2023/2024');");
  FeeListClass("X IPA");
  RunImport("Akun", [&] {
    std::vector<std::string> items;
    for (int i = 0; i < CbGetCount(gFormImportRekeningCombo); ++i) items.push_back(CbGetItemText(gFormImportRekeningCombo, i));
    EXPECT_EQ(items, (std::vector<std::string>{"4.1.1 SPP", "4.1.2 Iuran Komite", "4.1.3 Iuran Lain"}));
    EXPECT_EQ(CtlGetText(gFormImportRekeningCombo), "4.1.2 Iuran Komite");   // the first "Iuran"
    EXPECT_TRUE(WinIsWindowEnabled(gFormImportRekeningCombo));
    for (Hwnd h : {gFormImportKelasCombo, gFormImportJurusanEdit, gFormImportKategoriEdit})
      EXPECT_FALSE(WinIsWindowEnabled(h));
    ASSERT_EQ(LvGetColumnCount(gFormImportList), 7);
    EXPECT_EQ(LvGetColumnText(gFormImportList, 4), "Jumlah");
    EXPECT_EQ(LvGetColumnAlign(gFormImportList, 4), 1);

    Paste("SPP\t150.000\tPerbulan\r\nUang Gedung\t2500000\tPertahun\r\nBuku\t75000\tPertahun\r\n");
    EXPECT_EQ(ListRows(), (Rows{{"BR-20240001", "SPP", "X IPA", "", "150.000", "Perbulan", "-"},
                                {"BR-20240002", "Uang Gedung", "X IPA", "", "2500000", "Pertahun", "-"},
                                {"BR-20240003", "Buku", "X IPA", "", "75000", "Pertahun", "-"}}));
    Save();
    EXPECT_EQ(Column(6), (std::vector<std::string>(3, "Berhasil di input")));
    Save();   // the same fees again are found
    EXPECT_EQ(Column(6), (std::vector<std::string>(3, "Gagal di input")));
  });
  // A later import into the same class continues the numbers.
  RunImport("Akun", [&] {
    Paste("Seragam\t300000\tPertahun\r\nSPP\t150000\tPerbulan\r\n");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"BR-20240001", "BR-20240002"}));
    Save();
    EXPECT_EQ(Column(6), (std::vector<std::string>{"Berhasil di input", "Gagal di input"}));
  });
  EXPECT_EQ(Db("SELECT Id, Pembayaran, Kelas, Jumlah, typeof(Jumlah), Type, Jenjang, RefRekening, Tapel, Semester "
               "FROM account ORDER BY Id"),
            (Rows{{"BR-XIPA20240001", "SPP", "X IPA", "150000", "integer", "Perbulan", "ins", "4.1.2", "2024/2025",
                   "<null>"},
                  {"BR-XIPA20240002", "Uang Gedung", "X IPA", "2500000", "integer", "Pertahun", "ins", "4.1.2",
                   "2024/2025", "<null>"},
                  {"BR-XIPA20240003", "Buku", "X IPA", "75000", "integer", "Pertahun", "ins", "4.1.2", "2024/2025",
                   "<null>"},
                  {"BR-XIPA20240004", "Seragam", "X IPA", "300000", "integer", "Pertahun", "ins", "4.1.2",
                   "2024/2025", "<null>"}}));
}

// A fee bills a positive amount of whole rupiah: anything else (a fraction, letters, a negative or zero amount, no
// amount, tens of thousands of digits) is refused row by row, and one box says so after the rows.
TEST_F(ImportWindowTest, FeeAmountsAreReadAsEveryAmountIsAndWrongOnesRefused) {
  FeeListClass("VII");
  const char* bad = "Gagal di input, Jumlah tidak valid..";
  RunImport("Akun", [&] {
    Paste("SPP\tRp 75.000\tPerbulan\r\nGedung\t1,500,000\tPertahun\r\nLes\t12.5\tPerbulan\r\n"
          "Buku\tabc\tPertahun\r\nUjian\t\tPertahun\r\nKas\t-150.000\tPerbulan\r\nNol\t0\tPertahun\r\n"
          "Panjang\t" + std::string(50000, '9') + "\tPertahun\r\nTour\t250.000\tPertahun\r\n");
    Save({kFormImportBadAmounts});
    EXPECT_EQ(Column(6), (std::vector<std::string>{"Berhasil di input", "Berhasil di input", bad, bad, bad, bad, bad,
                                                   bad, "Berhasil di input"}));
  });
  // No fee with a wrong amount; the numbers follow one another.
  EXPECT_EQ(Db("SELECT Id, Pembayaran, Jumlah FROM account ORDER BY Id"),
            (Rows{{"BR-VII20240001", "SPP", "75000"}, {"BR-VII20240002", "Gedung", "1500000"},
                  {"BR-VII20240003", "Tour", "250000"}}));
  // A paste whose amounts are all good shows no such box.
  RunImport("Akun", [&] {
    Paste("Ujian\t50.000\tPertahun\r\n");
    Save();
  });
  EXPECT_EQ(Db("SELECT Jumlah FROM account WHERE Pembayaran='Ujian'"), (Rows{{"50000"}}));
}

TEST_F(ImportWindowTest, FeeIdsThatOldBillingRowsOrPaymentsNameArePassedOver) {
  // Fees of VII imported and deleted earlier: 0002 left billing rows, 0003 a payment.
  fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Tapel) VALUES ('BR-VII20240001','SPP','VII',"
                     "'2024/2025');"
                     "INSERT INTO detail_account (id_account, id_siswa) VALUES ('BR-VII20240002','S1');"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk) VALUES ('T1','BR-VII20240003','S1',5)");
  FeeListClass("VII");
  RunImport("Akun", [&] {
    Paste("Les\t1000\tPerbulan\r\nBuku\t2000\tPertahun\r\n");
    Save();
  });
  EXPECT_EQ(Db("SELECT Id, Pembayaran FROM account ORDER BY Id"),
            (Rows{{"BR-VII20240001", "SPP"}, {"BR-VII20240004", "Les"}, {"BR-VII20240005", "Buku"}}));
}

// Another program saves a fee of the class between two imported rows, under the id the next row would take: the row
// counts its id again in its own transaction and takes the next free one, so that no id stands twice in the file.
TEST_F(ImportWindowTest, AFeeAnotherProgramSavesBetweenTwoRowsKeepsItsIdAlone) {
  const std::string path = WorkFile("data.db3");
  FeeListClass("VII");
  fintest::OtherProgram other(path);
  std::unique_ptr<fintest::WritesAfterCheck> between;
  RunImport("Akun", [&] {
    Paste("Les\t1000\tPerbulan\r\nBuku\t2000\tPertahun\r\nTour\t3000\tPertahun\r\n");
    // Once the first row is committed, before the second row's transaction begins.
    between = std::make_unique<fintest::WritesAfterCheck>(
        gDb, other, "COMMIT",
        "INSERT INTO account (Id, Pembayaran, Kelas, Tapel) VALUES ('BR-VII20240002','Seragam','VII','2024/2025')");
    Save();
    EXPECT_EQ(Column(6), (std::vector<std::string>{"Berhasil di input", "Berhasil di input", "Berhasil di input"}));
  });
  EXPECT_TRUE(between->written());
  between.reset();
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT Id, Pembayaran FROM account ORDER BY Id, Pembayaran"),
            (Rows{{"BR-VII20240001", "Les"}, {"BR-VII20240002", "Seragam"}, {"BR-VII20240003", "Buku"},
                  {"BR-VII20240004", "Tour"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM (SELECT Id FROM account GROUP BY Id HAVING count(*) > 1)"),
            (Rows{{"0"}}));
}

TEST_F(ImportWindowTest, FeesWithoutAnIncomeAccountOrFeeList) {
  fintest::Exec(gDb, "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('4.1.1', 'SPP', 'Msk', '2024/2025');");
  RunImport("Akun", [&] {
    EXPECT_EQ(CbGetCurSel(gFormImportRekeningCombo), -1);   // nothing holds "Iuran"
    Paste("Ujian\t50000\tPertahun\r\n");
    EXPECT_EQ(LvGetItemText(gFormImportList, 0, 2), "");    // no fee list: no class
    Save();
  });
  EXPECT_EQ(Db("SELECT Id, Kelas, RefRekening FROM account"), (Rows{{"BR-20240001", "", ""}}));
}

TEST_F(ImportWindowTest, OtherModesImportNothing) {
  RunImport("Tunjangan", [&] {
    EXPECT_EQ(LvGetColumnCount(gFormImportList), 0);
    gRowCount = 5;
    Paste("G1\tGuru\r\n");
    EXPECT_EQ(LvGetItemCount(gFormImportList), 0);
    EXPECT_EQ(gRowCount, 0);
    Click(gFormImportSimpanButton);   // no question, nothing written
  });
  EXPECT_TRUE(msgBoxes().empty());
}

TEST_F(ImportWindowTest, TheModeIsTheOneTheWindowWasOpenedFor) {
  RunImport("Rekening", [&] {
    gFormMode = "Siswa";   // scratch text of other code while the window is open
    Paste("1\tSPP\tMsk\r\n");
    EXPECT_EQ(ListRows(), (Rows{{"001", "SPP", "Msk", ""}}));
    Save();
  });
  EXPECT_EQ(Db("SELECT Kode FROM rekening"), (Rows{{"001"}}));
  EXPECT_TRUE(Db("SELECT * FROM siswa").empty());
}

}  // namespace

namespace {
int CountCommit(void* count) {
  ++*static_cast<int*>(count);
  return 0;
}
int RefuseCommit(void*) { return 1; }   // the COMMIT becomes a ROLLBACK and fails
}  // namespace

// The students of one save are written in one transaction (one commit, however many rows), each row in a savepoint of
// its own: a refused row is undone alone and the counts of the closing boxes stay right.
TEST_F(ImportWindowTest, AllRowsAreWrittenByOneCommitAndARefusedRowAlone) {
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama, Status) VALUES ('D2', 'Lama', 'Aktif');"
                     "CREATE TRIGGER no_class BEFORE INSERT ON siswakelas WHEN NEW.IdSiswa='D3' "
                     "BEGIN SELECT RAISE(ABORT, 'kelas ditolak'); END;");
  int commits = 0;
  sqlite3_commit_hook(gDb, CountCommit, &commits);
  RunImport("Siswa", [&] {
    Paste("D1\tSatu\r\nD2\tDua\r\nD3\tTiga\r\nD4\tEmpat\r\n");
    ChooseClass("VII");
    Save({FORMIMPORT_SummaryText("siswa", 4, 2), FORMIMPORT_SummaryText("siswa kelas", 4, 1)});
    EXPECT_EQ(Column(7), (std::vector<std::string>{"Siswa Kelas berhasil di input", "Siswa Kelas berhasil di input",
                                                   "Siswa Kelas gagal di input", "Siswa Kelas berhasil di input"}));
  });
  sqlite3_commit_hook(gDb, nullptr, nullptr);
  EXPECT_EQ(commits, 1);
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  const std::string path = WorkFile("data.db3");
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT Id FROM siswa ORDER BY Id"), (Rows{{"D1"}, {"D2"}, {"D4"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT IdSiswa FROM siswakelas ORDER BY IdSiswa"),
            (Rows{{"D1"}, {"D2"}, {"D4"}}));
}

// When the one commit fails, or a row's failure takes the whole transaction with it, no row is written, the boxes say
// that none was saved and the rows say that they failed.
TEST_F(ImportWindowTest, AFailedCommitOrALostTransactionSavesNoRow) {
  struct Case {
    const char* name;
    const char* trigger;   // installed before the save
    bool refuseCommit;
    std::vector<std::string> errors;   // the boxes before the closing ones
  } cases[] = {
      {"commit refused", "", true, {"SQL error: constraint failed"}},
      {"transaction lost at the second row",
       "CREATE TRIGGER lost BEFORE INSERT ON siswa WHEN NEW.Id='E2' BEGIN SELECT RAISE(ROLLBACK, 'hilang'); END;",
       false,
       {"SQL error: hilang"}},
  };
  for (const Case& c : cases) {
    fintest::Exec(gDb, std::string("DELETE FROM siswa; DELETE FROM siswakelas; DROP TRIGGER IF EXISTS lost;") +
                           c.trigger);
    if (c.refuseCommit) sqlite3_commit_hook(gDb, RefuseCommit, nullptr);
    RunImport("Siswa", [&] {
      Paste("E1\tSatu\r\nE2\tDua\r\nE3\tTiga\r\n");
      ChooseClass("VII");
      std::vector<std::string> boxes = c.errors;
      boxes.push_back(FORMIMPORT_SummaryText("siswa", 3, 3));
      boxes.push_back(FORMIMPORT_SummaryText("siswa kelas", 3, 3));
      Save(boxes);
      EXPECT_EQ(Column(7), (std::vector<std::string>(3, "Siswa Kelas gagal di input"))) << c.name;
    });
    sqlite3_commit_hook(gDb, nullptr, nullptr);
    EXPECT_TRUE(sqlite3_get_autocommit(gDb)) << c.name;
    const std::string path = WorkFile("data.db3");
    EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM siswa"), (Rows{{"0"}})) << c.name;
    EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM siswakelas"), (Rows{{"0"}})) << c.name;
  }
}

// A row whose failure cannot be undone (its statement and the undo of its savepoint both fail) leaves a transaction
// that can take nothing more: the save of a thousand rows stops at that row and says so in one box, not in one box
// per row left, and no row is written. Whether the outer ROLLBACK works too or the connection has to be opened anew,
// the boxes and counts are the same.
TEST_F(ImportWindowTest, ALostTransactionIsToldOnceAndNoRowIsWritten) {
  struct Case {
    const char* name;
    const char* trigger;
    bool refuseOuterRollback;
    std::vector<std::string> errors;   // the boxes before the closing ones
  } cases[] = {
      {"student row refused",
       "CREATE TRIGGER refused BEFORE INSERT ON siswa WHEN NEW.Id='H0002' BEGIN SELECT RAISE(ABORT, 'ditolak'); END;",
       false,
       {"SQL error: ditolak", "SQL error: transaksi sudah dibatalkan, data tidak disimpan"}},
      {"class row refused (told in the row, without a box)",
       "CREATE TRIGGER refused BEFORE INSERT ON siswakelas WHEN NEW.IdSiswa='H0002' "
       "BEGIN SELECT RAISE(ABORT, 'ditolak'); END;",
       false,
       {"SQL error: transaksi sudah dibatalkan, data tidak disimpan"}},
      {"no ROLLBACK works",
       "CREATE TRIGGER refused BEFORE INSERT ON siswa WHEN NEW.Id='H0002' BEGIN SELECT RAISE(ABORT, 'ditolak'); END;",
       true,
       {"SQL error: ditolak", "SQL error: transaksi sudah dibatalkan, data tidak disimpan"}},
  };
  constexpr int kRows = 1000;
  std::string text;
  char id[8];
  for (int i = 1; i <= kRows; ++i) {
    std::snprintf(id, sizeof id, "H%04d", i);
    text += std::string(id) + "\tSiswa " + std::to_string(i) + "\r\n";
  }
  const std::string path = WorkFile("data.db3");
  gDbPath = path;   // where a connection that no ROLLBACK ends is opened anew
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, std::string("DROP TRIGGER IF EXISTS refused;") + c.trigger);
    RunImport("Siswa", [&] {
      Paste(text);
      ChooseClass("VII");
      std::vector<std::string> boxes = c.errors;
      boxes.push_back(FORMIMPORT_SummaryText("siswa", kRows, kRows));
      boxes.push_back(FORMIMPORT_SummaryText("siswa kelas", kRows, kRows));
      const std::size_t before = msgBoxes().size();
      {
        fintest::RollbackRefused refused(c.refuseOuterRollback, true);
        Save(boxes);
      }
      EXPECT_EQ(msgBoxes().size() - before, boxes.size() + 1);   // with the question before the save
      EXPECT_EQ(Column(7), std::vector<std::string>(kRows, "Siswa Kelas gagal di input"));
    });
    ASSERT_NE(gDb, nullptr);
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM siswa"), (Rows{{"0"}}));
    EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM siswakelas"), (Rows{{"0"}}));
    VerifySeams();
  }
  gDbPath.clear();
}

// While another program holds the file for writing, no row of an import can be written: the save stops at the first
// row and says so in one box, whatever the mode, instead of one box per row. Nothing is written; the rows keep their
// results.
TEST_F(ImportWindowTest, AFileHeldByAnotherProgramStopsTheImportAtTheFirstRow) {
  constexpr int kRows = 50;
  struct Case {
    const char* mode;
    std::string (*row)(int i);
    int resultColumn;
    std::vector<std::string> closing;      // the boxes after the one that tells the failure
    std::vector<std::string> results;      // of every row, afterwards
  } cases[] = {
      {"Rekening", [](int i) { return std::to_string(100 + i) + "\tRekening " + std::to_string(i) + "\tMsk"; }, 3,
       {}, std::vector<std::string>(kRows, "")},
      {"Akun", [](int i) { return "Iuran " + std::to_string(i) + "\t1000\tPertahun"; }, 6, {},
       std::vector<std::string>(kRows, "-")},
      {"Siswa", [](int i) { return "K" + std::to_string(100 + i) + "\tSiswa"; }, 7,
       {FORMIMPORT_SummaryText("siswa", kRows, kRows), FORMIMPORT_SummaryText("siswa kelas", kRows, kRows)},
       std::vector<std::string>(kRows, "Siswa Kelas gagal di input")},
  };
  FeeListClass("VIII");
  const std::string path = WorkFile("data.db3");
  sqlite3_busy_timeout(gDb, 0);   // the lock fails a statement at once instead of after seconds
  fintest::OtherProgram other(path);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    std::string text;
    for (int i = 1; i <= kRows; ++i) text += c.row(i) + "\r\n";
    RunImport(c.mode, [&] {
      Paste(text);
      if (std::string(c.mode) == "Siswa") ChooseClass("VIII");
      other.holdWriteLock();
      std::vector<std::string> boxes = {"SQL error: database is locked"};
      boxes.insert(boxes.end(), c.closing.begin(), c.closing.end());
      const std::size_t before = msgBoxes().size();
      Save(boxes);
      other.release();
      EXPECT_EQ(msgBoxes().size() - before, boxes.size() + 1);   // with the question before the save
      EXPECT_EQ(Column(c.resultColumn), c.results);
    });
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  }
  for (const char* table : {"rekening", "account", "siswa", "siswakelas"})
    EXPECT_EQ(fintest::RowsInFile(path, std::string("SELECT count(*) FROM ") + table), (Rows{{"0"}})) << table;
}

// A save asked for while one runs (a box of the first one lets the operator click again) is refused and writes
// nothing.
TEST_F(ImportWindowTest, ASaveIsNotStartedTwice) {
  RunImport("Siswa", [&] {
    Paste("F1\tSatu\r\n");
    ChooseClass("VII");
    FinBusy running(FinBusyTask::Import, false);
    ASSERT_TRUE(running.started());
    ExpectMsgBox(kConfirm, kConfirmCaption, IDYES, MB_YESNO | MB_ICONQUESTION);
    ExpectMsgBox(kFinBusyRefusal, "Info");
    Click(gFormImportSimpanButton);
    VerifySeams();
    EXPECT_EQ(Column(7), (std::vector<std::string>{""}));
  });
  EXPECT_TRUE(Db("SELECT * FROM siswa").empty());
}
