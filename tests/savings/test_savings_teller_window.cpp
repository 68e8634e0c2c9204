// The savings teller "TRANSAKSI TABUNGAN" driven as an operator would: the student lookup (name, balance, history
// with running balance), the transaction code and amount preview, deposits and withdrawals with their ids and
// passbook positions, the refusals, a save whose commit cannot take the file, and the passbook, card and receipt
// printed on the recorded text printer or kept in a file when the printer is no print queue.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "platform/scripted_seams.h"
#include "savings/savings_globals.h"
#include "savings/savings_print.h"
#include "savings/savings_teller_window.h"
#include "students/student_pickers.h"
#include "support/fixtures.h"
#include "support/no_print_queue.h"
#include "support/seams_fixture.h"
#include "support/operator.h"
#include "support/other_program.h"
#include "support/read_denied.h"

using fintest::Click;

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::vector<std::string> Expected(const std::string& name) {
  std::istringstream in(fintest::ReadFile(FIN_SOURCE_DIR "/tests/savings/expected/" + name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

constexpr int kQuestion = MB_YESNO | MB_ICONQUESTION;
constexpr int kInfo = MB_OK | MB_ICONINFORMATION;

class TellerTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2020/2021";
    gToday = "2021-03-05";
    gSchoolName = "SD HARAPAN BANGSA";
    gSchoolAddress = "Jl. Merdeka No. 5";
    gSchoolPhone = "022-555123";
    gSchoolEmail = "tu@harapan.sch.id";
    gSqlResult = "stale";
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {100, 200, 300, 400, 500, 600, -1});
    SbSetText(gStatusBar, 1, "ani", 0);
    SbSetText(gStatusBar, 4, "Mar 05, 2021", 0);
    SbSetText(gStatusBar, 5, "09:05:07", 0);
    // 20015 has no savings yet; 20016 has two printed deposits and an unprinted withdrawal, and a fee payment that
    // is no savings row; O'NE has a quote in its id.
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, LP, Ket) VALUES ('20015', 'BUDI SANTOSO', 'L', 'baru'),"
                  " ('20016', 'SITI RAHAYU', 'P', ''), ('O''NE', 'ONE', 'L', '');"
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                  " VALUES ('2001620210301080000', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '20016', 100, 0,"
                  "  'ani', '-', '-', '1-1'),"
                  " ('2001620210302080000', '2021-03-02', '01-Setoran Tunai', 'Tabungan', '20016', 50, 0, 'ani', '-',"
                  "  '-', '1-2'),"
                  " ('2001620210303080000', '2021-03-03', '02-Penarikan Tunai', 'Tabungan', '20016', 0, 30, 'ani',"
                  "  't', '-', '1-3'),"
                  " ('20202021202103040800001', '2021-03-04', 'SPP', 'SPP01', '20016', 500, 0, 'ani', 'p', '-',"
                  "  '4-100');");
  }
  void TearDown() override {
    for (Hwnd h : {gFormCrSiswa1Window, gFormTabunganWindow, gFormTabunganWindow})
      if (IsWindow(h)) WinDestroyWindow(h);
    gStatusBar = 0;
    delete holder_;
    gToday.clear();
    gSchoolName.clear();
    gSchoolAddress.clear();
    gSchoolPhone.clear();
    gSchoolEmail.clear();
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORMTABUNGAN_Show(0, 0, 0));
    EXPECT_TRUE(IsWindow(w));
    return w;
  }
  static void Enter(Hwnd edit) { QTest::keyClick(WinWidget(edit), Qt::Key_Return); }
  static void LookUp(const std::string& code) { CtlSetText(gFormTabunganIdEdit, code); }
  static void Book(const std::string& sandi, const std::string& amount) {
    CtlSetText(gFormTabunganSandiEdit, sandi);
    CtlSetText(gFormTabunganAmountEdit, amount);
  }
  // "SIMPAN" with the question answered Yes and the success box.
  void SaveYes(const std::string& question) {
    ExpectMsgBox(question, "Simpan Transaksi", IDYES, kQuestion);
    ExpectMsgBox("Transaksi berhasil disimpan..", "Tabungan..", IDOK, kInfo);
    Click(gFormTabunganSaveButton);
    VerifySeams();
  }
  static std::vector<std::string> Column(int col) {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(gFormTabunganHistoryList); ++r)
      out.push_back(LvGetItemText(gFormTabunganHistoryList, r, col));
    return out;
  }
  Rows Savings(const std::string& student) {
    return fintest::Query(gDb, "SELECT id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref "
                               "FROM transaksi WHERE siswaid='" + student + "' AND acctid='Tabungan' ORDER BY id");
  }
  int TransaksiCount() { return std::stoi(fintest::Query(gDb, "SELECT count(*) FROM transaksi")[0][0]); }
  // Rows of transaksi: `values` is the list of "(id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts,
  // jenjang, Ref)" tuples.
  void AddTransaksi(const std::string& values) {
    fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, "
                       "Ref) VALUES " + values + ";");
  }
  // `columns` of 20015's rows in the order they were booked.
  Rows RowsOf20015(const std::string& columns) {
    return fintest::Query(gDb, "SELECT " + columns + " FROM transaksi WHERE siswaid='20015' ORDER BY rowid");
  }
  // "CETAK" on printer KASIR with the passbook's question for `page` answered `answer`.
  void PrintAnsweringPassbookPage(long long page, int answer) {
    AnswerPrinter("KASIR");
    ExpectMsgBox(SavingsPageQuestion(SavingsBook::Passbook, page), SavingsPageCaption(SavingsBook::Passbook), answer,
                 kQuestion);
    Click(gFormTabunganPrintButton);
    VerifySeams();
  }

  // A deposit of 10 booked for 20016 and printed to each target (passbook, card, receipt) with no printer getting
  // it: `choose` answers the printer question of each print; the texts are kept in `stem` + ".txt", "_2.txt",
  // "_3.txt" under the working folder, and each print says where. The rows stay unprinted, for the next run.
  void PrintEachTargetToAFile(const std::function<void()>& choose, const std::string& stem) {
    Open();
    LookUp("20016");
    Book("01", "10");
    SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
    const struct {
      int target;
      std::string file;
      const char* line;   // a line of what was kept
    } cases[] = {
        {0, stem + ".txt", " 2021-03-05   01               0           10          130 Setoran Tunai\r\n"},
        {1, stem + "_2.txt", "   2021-03-05   01               0           10          130\r\n"},
        {2, stem + "_3.txt", "   Jumlah Tunai           : Rp.********10\r\n"},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.target);
      CbSetCurSel(gFormTabunganPrintCombo, c.target);
      choose();
      ExpectMsgBox("Tidak ada yang tercetak ke printer. Teks cetakan disimpan di " + WorkFile(c.file) + "..", "Info",
                   IDOK, kInfo);
      Click(gFormTabunganPrintButton);
      VerifySeams();
      EXPECT_NE(fintest::ReadFile(WorkFile(c.file)).find(c.line), std::string::npos);
    }
    // The passbook's text is kept whole, from the paper brought down on.
    EXPECT_EQ(fintest::ReadFile(WorkFile(cases[0].file)).substr(0, 3), "`\r\n");
    EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "t", "t"}));
    EXPECT_EQ(fintest::Query(gDb, "SELECT sts FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan' ORDER BY id"),
              (Rows{{"-"}, {"-"}, {"t"}, {"t"}}));
  }

  QWidget* holder_ = nullptr;
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(TellerTest, OpensWithItsControlsAndTheHandOver) {
  const Hwnd w = Open();
  EXPECT_EQ(w, gFormTabunganWindow);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORMTABUNGAN_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "TRANSAKSI TABUNGAN");
  EXPECT_EQ(WinGetStyle(w) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  EXPECT_EQ(gFormTabunganLookupStudentHook, &FORMTABUNGAN_LookupStudent);
  EXPECT_EQ(WinGetFocus(), gFormTabunganBrowseButton);

  struct Ctl {
    Hwnd window;
    const char* cls;
    const char* text;
    int x, y, w, h;
  } controls[] = {
      {gFormTabunganStudentGroup, "Button", "Tabungan Siswa", 8, 8, 974, 366},
      {gFormTabunganIdEdit, "Edit", "", 112, 28, 140, 18},
      {gFormTabunganHintLabel, "Static", "<= Ketik/Scan disini", 252, 28, 108, 19},
      {gFormTabunganBookBalanceEdit, "Edit", "", 460, 28, 225, 18},
      {gFormTabunganDatePicker, "SysDateTimePick32", "2024-09-02", 808, 28, 162, 20},
      {gFormTabunganNameEdit, "Edit", "", 112, 56, 225, 18},
      {gFormTabunganHistoryList, "SysListView32", "", 368, 56, 605, 272},
      {gFormTabunganPhoto, "Static", "", 136, 84, 170, 229},
      {gFormTabunganPrintCombo, "ComboBox", "Cetak ke Buku Tabungan", 368, 336, 382, 23},
      {gFormTabunganPrintButton, "Button", "CETAK", 864, 336, 102, 23},
      {gFormTabunganTransactionGroup, "Button", "Transaksi", 8, 376, 970, 143},
      {gFormTabunganSandiEdit, "Edit", "", 56, 396, 34, 18},
      {gFormTabunganDirectionEdit, "Edit", "", 56, 420, 34, 18},
      {gFormTabunganSandiList, "ListBox", "", 96, 396, 258, 112},
      {gFormTabunganAmountEdit, "Edit", "", 452, 396, 150, 18},
      {gFormTabunganWordsEdit, "Edit", "", 452, 420, 508, 18},
      {gFormTabunganNewBalanceEdit, "Edit", "", 736, 396, 225, 18},
      {gFormTabunganBrowseButton, "Button", "Cari Siswa", 448, 464, 100, 43},
      {gFormTabunganSaveButton, "Button", "SIMPAN", 752, 464, 209, 43},
  };
  for (const Ctl& c : controls) {
    SCOPED_TRACE(c.cls + std::string(" ") + c.text);
    ASSERT_TRUE(IsWindow(c.window));
    EXPECT_EQ(WinGetClassName(c.window), c.cls);
    EXPECT_EQ(CtlGetText(c.window), c.text);
    const WinRect r = WinGetWindowRect(c.window);
    EXPECT_EQ(r.left, FrmScaleX(c.x));
    EXPECT_EQ(r.top, FrmScaleY(c.y));
    EXPECT_EQ(r.width(), FrmScaleX(c.w));
  }
  EXPECT_EQ(CtlGetToolTip(gFormTabunganIdEdit), "Ketik kode siswa disini, kemudian enter / Cari Siswa");
  EXPECT_EQ(CtlGetToolTip(gFormTabunganAmountEdit), "Masukan jumlah nilai tabungan");
  EXPECT_EQ(CtlGetToolTip(gFormTabunganBrowseButton), "Cari Siswa dalam Daftar Siswa");

  // The history columns; the last three are hidden.
  const std::vector<std::tuple<std::string, int, int>> columns = {
      {"Tanggal", 2, 100}, {"Sandi", 2, 50}, {"Debet", 1, 100}, {"Kredit", 1, 100}, {"Saldo", 1, 100},
      {"RefId", 1, 50},    {"P", 1, 0},      {"Sts", 1, 0},     {"Ket", 0, 0}};
  ASSERT_EQ(LvGetColumnCount(gFormTabunganHistoryList), 9);
  for (int c = 0; c < 9; ++c) {
    EXPECT_EQ(LvGetColumnText(gFormTabunganHistoryList, c), std::get<0>(columns[c]));
    EXPECT_EQ(LvGetColumnAlign(gFormTabunganHistoryList, c), std::get<1>(columns[c]));
    EXPECT_EQ(LvGetColumnWidth(gFormTabunganHistoryList, c), std::get<2>(columns[c]));
  }
  // The codes with their direction; the print targets with 0, 1, 2.
  const std::vector<std::pair<std::string, int>> sandi = {
      {"01-Setoran Tunai", 1}, {"02-Penarikan Tunai", 0}, {"03-Hadiah", 1}, {"04-Biaya Rupa-Rupa", 0}};
  ASSERT_EQ(LbGetCount(gFormTabunganSandiList), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(LbGetItemText(gFormTabunganSandiList, i), sandi[i].first);
    EXPECT_EQ(LbGetItemData(gFormTabunganSandiList, i), sandi[i].second);
  }
  ASSERT_EQ(CbGetCount(gFormTabunganPrintCombo), 3);
  EXPECT_EQ(CbGetItemText(gFormTabunganPrintCombo, 2), "Cetak ke Struk");
  EXPECT_EQ(CbGetItemData(gFormTabunganPrintCombo, 2), 2);
  EXPECT_EQ(gSqlResult, "");

  WinDestroyWindow(w);
  EXPECT_EQ(gFormTabunganWindow, 0);
  EXPECT_EQ(gFormTabunganLookupStudentHook, nullptr);
}

TEST_F(TellerTest, LookupShowsNameBalanceAndTheHistoryWithItsRunningBalance) {
  Open();
  LookUp("20016");
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "SITI RAHAYU");
  EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "120");
  EXPECT_EQ(Column(kTabunganColTanggal), (std::vector<std::string>{"2021-03-01", "2021-03-02", "2021-03-03"}));
  EXPECT_EQ(Column(kTabunganColSandi), (std::vector<std::string>{"01", "01", "02"}));
  EXPECT_EQ(Column(kTabunganColDebet), (std::vector<std::string>{"0", "0", "30"}));
  EXPECT_EQ(Column(kTabunganColKredit), (std::vector<std::string>{"100", "50", "0"}));
  EXPECT_EQ(Column(kTabunganColSaldo), (std::vector<std::string>{"100", "150", "120"}));
  EXPECT_EQ(Column(kTabunganColP), (std::vector<std::string>{"1-1", "1-2", "1-3"}));
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "t"}));
  EXPECT_EQ(Column(kTabunganColKet), (std::vector<std::string>{"Setoran Tunai", "Setoran Tunai", "Penarikan Tunai"}));
  EXPECT_EQ(Column(kTabunganColRefId)[2], "2001620210303080000");

  // A code that matches nobody empties the history only.
  LookUp("2001");
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 0);
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "SITI RAHAYU");
  EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "120");

  // A student without savings: empty balance and history.
  LookUp("20015");
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "BUDI SANTOSO");
  EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "");
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 0);

  // A quote in the code is looked up as typed.
  LookUp("O'NE");
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "ONE");
}

TEST_F(TellerTest, TypingTheCodeLooksUpAtEveryCharacterAndThePhotoComesFromImage) {
  std::filesystem::create_directories(WorkFile("image"));
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::red);
  ASSERT_TRUE(img.save(QString::fromStdString(WorkFile("image/20016.bmp")), "BMP"));
  Open();
  auto* edit = qobject_cast<QLineEdit*>(WinWidget(gFormTabunganIdEdit));
  ASSERT_NE(edit, nullptr);
  QTest::keyClicks(edit, "2001");
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "");
  QTest::keyClicks(edit, "6");
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "SITI RAHAYU");
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 3);
  auto* photo = qobject_cast<QLabel*>(WinWidget(gFormTabunganPhoto));
  ASSERT_NE(photo, nullptr);
  EXPECT_FALSE(photo->pixmap().isNull());
  EXPECT_EQ(photo->pixmap().size(), QSize(130, 150));
  LookUp("20015");   // no picture of this student: the frame is emptied
  EXPECT_TRUE(photo->pixmap().isNull());
}

TEST_F(TellerTest, SandiEntryFindsTheItemAndItsDirection) {
  Open();
  const struct {
    const char* text;
    int selected;
    const char* direction;
  } cases[] = {{"01", 0, "1"}, {"02", 1, "0"}, {"03", 2, "1"}, {"04", 3, "0"},
               {"0", 0, "1"},  {"05", -1, "-1"}, {"2", -1, "-1"}, {"", -1, "-1"}};
  for (const auto& c : cases) {
    CtlSetText(gFormTabunganSandiEdit, c.text);
    EXPECT_EQ(LbGetCurSel(gFormTabunganSandiList), c.selected) << c.text;
    EXPECT_EQ(CtlGetText(gFormTabunganDirectionEdit), c.direction) << c.text;
  }
  // A click on an item puts its code into the field.
  auto* list = qobject_cast<QListWidget*>(WinWidget(gFormTabunganSandiList));
  ASSERT_NE(list, nullptr);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
  EXPECT_EQ(CtlGetText(gFormTabunganSandiEdit), "03");
  EXPECT_EQ(CtlGetText(gFormTabunganDirectionEdit), "1");
}

TEST_F(TellerTest, AmountPreviewShowsTheNewBalanceAndTheWords) {
  Open();
  LookUp("20016");
  Book("02", "50");
  EXPECT_EQ(CtlGetText(gFormTabunganNewBalanceEdit), "70");
  EXPECT_EQ(CtlGetText(gFormTabunganWordsEdit), " lima puluh ");
  Book("01", "50000");
  EXPECT_EQ(CtlGetText(gFormTabunganNewBalanceEdit), "50120");
  // A student without savings starts from 0.
  LookUp("20015");
  EXPECT_EQ(CtlGetText(gFormTabunganSandiEdit), "");
  EXPECT_EQ(CtlGetText(gFormTabunganAmountEdit), "");
  EXPECT_EQ(CtlGetText(gFormTabunganNewBalanceEdit), "");
  Book("01", "50000");
  EXPECT_EQ(CtlGetText(gFormTabunganNewBalanceEdit), "50000");
}

TEST_F(TellerTest, ADepositIsOneRowWithItsIdAndTheFirstPassbookLine) {
  Open();
  LookUp("20015");
  Book("01", "50000");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 50000");
  EXPECT_EQ(Savings("20015"), (Rows{{"2001520210305090507", "2021-03-05", "01-Setoran Tunai", "Tabungan", "20015",
                                     "50000", "0", "ani", "t", "-", "1-1"}}));
  EXPECT_EQ(fintest::Query(gDb, "SELECT typeof(masuk), typeof(keluar) FROM transaksi WHERE siswaid='20015'"),
            (Rows{{"integer", "integer"}}));
  // The history shows it, selected; the focus moves on to the print target.
  ASSERT_EQ(LvGetItemCount(gFormTabunganHistoryList), 1);
  const std::vector<std::string> row = {"2021-03-05", "01",  "0", "50000", "50000", "2001520210305090507",
                                        "1-1",        "t",   "Setoran Tunai"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(LvGetItemText(gFormTabunganHistoryList, 0, c), row[c]) << c;
  EXPECT_EQ(LvGetSelectionMark(gFormTabunganHistoryList), 0);
  EXPECT_EQ(WinGetFocus(), gFormTabunganPrintCombo);
}

TEST_F(TellerTest, EachCodeBooksItsDirectionAtTheNextLine) {
  const struct {
    const char* sandi;
    const char* amount;
    const char* uraian;
    const char* masuk;
    const char* keluar;
  } cases[] = {{"01", "25", "01-Setoran Tunai", "25", "0"},
               {"02", "50", "02-Penarikan Tunai", "0", "50"},
               {"03", "25", "03-Hadiah", "25", "0"},
               {"04", "120", "04-Biaya Rupa-Rupa", "0", "120"}};
  int second = 7;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sandi);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE siswaid='20016' AND Ref='1-4'");
    SbSetText(gStatusBar, 5, "09:05:0" + std::to_string(second++), 0);
    Open();
    LookUp("20016");
    Book(c.sandi, c.amount);
    SaveYes(std::string("Nasabah atas nama SITI RAHAYU melakukan transaksi ") + c.uraian + " sebesar " + c.amount);
    const Rows rows = Savings("20016");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3][2], c.uraian);
    EXPECT_EQ(rows[3][5], c.masuk);
    EXPECT_EQ(rows[3][6], c.keluar);
    EXPECT_EQ(rows[3][10], "1-4");
    WinDestroyWindow(gFormTabunganWindow);
  }
}

TEST_F(TellerTest, PassbookPositionsRunOnAndBreakThePage) {
  const struct {
    const char* lastRef;
    const char* next;
  } cases[] = {{"2-67", "2-68"}, {"2-68", "3-1"}, {"1-5", "1-6"}, {"", "1-4"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lastRef);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE siswaid='20016' AND id LIKE '%20210305%';"
                       "UPDATE transaksi SET Ref='" + std::string(c.lastRef) + "' WHERE id='2001620210303080000'");
    Open();
    LookUp("20016");
    Book("01", "10");
    SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
    EXPECT_EQ(Savings("20016").back()[10], c.next);
    WinDestroyWindow(gFormTabunganWindow);
  }
}

TEST_F(TellerTest, AWithdrawalNeverExceedsTheBalance) {
  Open();
  LookUp("20016");   // balance 120
  for (const char* sandi : {"02", "04"}) {
    Book(sandi, "121");
    ExpectMsgBox("Saldo tabungan tidak mencukupi..", "Tabungan..", IDOK, kInfo);
    Click(gFormTabunganSaveButton);
    VerifySeams();
  }
  EXPECT_EQ(Savings("20016").size(), 3u);
  // The whole balance may go.
  Book("02", "120");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 02-Penarikan Tunai sebesar 120");
  EXPECT_EQ(Savings("20016").back()[6], "120");
  EXPECT_EQ(fintest::Query(gDb, "SELECT sum(masuk-keluar) FROM transaksi WHERE siswaid='20016' AND "
                                "acctid='Tabungan'")[0][0],
            "0");
}

// Two desks on one file (the program started twice, or a shared folder): the other desk books a withdrawal of the same
// student after this window has checked the balance and while its question stands. The save checks the balance again
// under its write lock: what no longer covers the withdrawal is refused in the window's own words, nothing booked;
// what still covers it is booked.
TEST_F(TellerTest, AWithdrawalAnotherDeskBooksAfterTheCheckIsCountedAtTheSave) {
  struct Case {
    const char* name;
    const char* otherTakes;   // 20016 has 120; this window takes 100
    bool booked;
    const char* balanceAfter;
  } cases[] = {
      {"the balance no longer covers it", "50", false, "70"},
      {"the balance still covers it", "20", true, "0"},
  };
  const std::string path = WorkFile("data.db3");
  const std::string ours = "SELECT count(*) FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan' AND "
                           "petugas='ani' AND tgl='2021-03-05'";
  const std::string balance = "SELECT sum(masuk-keluar) FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan'";
  const char* question = "Nasabah atas nama SITI RAHAYU melakukan transaksi 02-Penarikan Tunai sebesar 100";
  int clock = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE tgl='2021-03-05'");
    SbSetText(gStatusBar, 5, "09:05:" + std::to_string(clock++), 0);
    Open();
    LookUp("20016");
    ASSERT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "120");
    Book("02", "100");
    fintest::OtherProgram desk(path);
    fintest::WritesAfterCheck between(
        gDb, desk, "select Sum(Masuk-Keluar) from transaksi where AcctID='Tabungan'",
        std::string("INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, "
                    "Ref) VALUES ('2001620210305080000', '2021-03-05', '02-Penarikan Tunai', 'Tabungan', '20016', 0, ") +
            c.otherTakes + ", 'budi', 't', '-', '1-4')");
    if (c.booked) {
      SaveYes(question);
    } else {
      ExpectMsgBox(question, "Simpan Transaksi", IDYES, kQuestion);
      ExpectMsgBox("Saldo tabungan tidak mencukupi..", "Tabungan..", IDOK, kInfo);   // and no "berhasil"
      Click(gFormTabunganSaveButton);
      VerifySeams();
      EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 3);   // nothing booked, nothing to print
      ExpectMsgBox("Transaksi belum disimpan..", "Info", IDOK);
      Click(gFormTabunganPrintButton);
      VerifySeams();
    }
    EXPECT_TRUE(between.written());
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(fintest::RowsInFile(path, ours), (Rows{{c.booked ? "1" : "0"}}));
    EXPECT_EQ(fintest::RowsInFile(path, balance), (Rows{{c.balanceAfter}}));
    WinDestroyWindow(gFormTabunganWindow);
  }
}

// Another desk books a row of the same student while this window's question stands (after the balance it showed was
// read): a withdrawal, a deposit, or a payment that takes savings. The booking goes through where the money allows it,
// and what the window then shows, lists and prints is the balance the file holds before and after its row, read under
// the save's write lock; the other desk's row is in the history and the new row takes the line after it.
TEST_F(TellerTest, WhatTheWindowShowsAndPrintsAfterASaveIsTheFilesBalance) {
  struct Case {
    const char* name;
    const char* other;   // the other desk's row: uraian, masuk, keluar, Ref
    const char* sandi;
    const char* amount;
    const char* before;  // the file's balance before this window's row
    const char* after;
    const char* line;    // this window's row's passbook line
  } const cases[] = {
      {"a withdrawal beside another desk's withdrawal", "'02-Penarikan Tunai', 0, 20, '1-4'", "02", "100", "100", "0",
       "1-5"},
      {"a deposit beside another desk's deposit", "'01-Setoran Tunai', 500, 0, '1-4'", "01", "10", "620", "630",
       "1-5"},
      {"a deposit beside a payment that takes savings", "'02-Penarikan utk pembayaran', 0, 50, NULL", "01", "10", "70",
       "80", "1-5"},
  };
  const std::string path = WorkFile("data.db3");
  const std::string balance = "SELECT sum(masuk-keluar) FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan'";
  auto stars = [](const std::string& v) { return std::string(v.size() < 10 ? 10 - v.size() : 0, '*') + v; };
  int clock = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE tgl='2021-03-05';"
                       "UPDATE transaksi SET sts='t' WHERE id='2001620210303080000'");
    SbSetText(gStatusBar, 5, "09:05:" + std::to_string(clock++), 0);
    textPrinted().Clear();
    Open();
    LookUp("20016");
    ASSERT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "120");
    Book(c.sandi, c.amount);
    fintest::OtherProgram desk(path);
    fintest::WritesAfterCheck between(
        gDb, desk, "select Sum(Masuk-Keluar) from transaksi where AcctID='Tabungan'",
        std::string("INSERT INTO transaksi (id, tgl, uraian, masuk, keluar, Ref, acctid, siswaid, petugas, sts, "
                    "jenjang) VALUES ('2001620210305080000', '2021-03-05', ") +
            c.other + ", 'Tabungan', '20016', 'budi', 't', '-')");
    const std::string item = std::string(c.sandi) == "01" ? "01-Setoran Tunai" : "02-Penarikan Tunai";
    SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi " + item + " sebesar " + c.amount);
    ASSERT_TRUE(between.written());
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    // The file, read by another connection.
    ASSERT_EQ(fintest::RowsInFile(path, balance), (Rows{{c.after}}));
    EXPECT_EQ(fintest::RowsInFile(path, "SELECT Ref FROM transaksi WHERE siswaid='20016' AND petugas='ani' AND "
                                        "tgl='2021-03-05'"),
              (Rows{{c.line}}));
    // The window: both balances, and the history with the other desk's row and this one last.
    EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), c.before);
    EXPECT_EQ(CtlGetText(gFormTabunganNewBalanceEdit), c.after);
    const std::vector<std::string> saldo = Column(kTabunganColSaldo);
    ASSERT_EQ(saldo.size(), 5u);
    EXPECT_EQ(saldo[3], c.before);
    EXPECT_EQ(saldo[4], c.after);
    EXPECT_EQ(Column(kTabunganColP)[4], c.line);
    EXPECT_EQ(LvGetSelectionMark(gFormTabunganHistoryList), 4);
    // The slip.
    CbSetCurSel(gFormTabunganPrintCombo, 2);
    AnswerPrinter("STRUK");
    Click(gFormTabunganPrintButton);
    // The passbook: every unprinted row with the balance the file held after it.
    CbSetCurSel(gFormTabunganPrintCombo, 0);
    AnswerPrinter("KASIR");
    Click(gFormTabunganPrintButton);
    VerifySeams();
    ASSERT_EQ(textPrinted().Jobs().size(), 2u);
    const std::vector<std::string> slip = textPrinted().Jobs()[0].Lines();
    EXPECT_NE(std::find(slip.begin(), slip.end(), "   Jumlah Saldo yang lalu : Rp." + stars(c.before)), slip.end());
    EXPECT_NE(std::find(slip.begin(), slip.end(), "   Jumlah Saldo Terakhir  : Rp." + stars(c.after)), slip.end());
    std::vector<std::string> book = textPrinted().Jobs()[1].Lines();
    std::erase(book, "`");
    ASSERT_EQ(book.size(), 3u);   // 20016's unprinted withdrawal of 30, the other desk's row, this window's row
    for (int k = 0; k < 3; ++k) {
      const std::string saldo = book[static_cast<std::size_t>(k)].substr(45, 13);
      EXPECT_EQ(saldo.substr(saldo.find_first_not_of(' ')), Column(kTabunganColSaldo)[static_cast<std::size_t>(k + 2)]);
    }
    EXPECT_EQ(book[2].substr(45, 13), std::string(13 - std::string(c.after).size(), ' ') + c.after);
    WinDestroyWindow(gFormTabunganWindow);
  }
}

TEST_F(TellerTest, OneTransactionPerLookup) {
  Open();
  LookUp("20016");
  Book("01", "10");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
  ExpectMsgBox("Transaksi tidak dapat disimpan ulang..", "Info", IDOK);
  Click(gFormTabunganSaveButton);
  VerifySeams();
  EXPECT_EQ(Savings("20016").size(), 4u);
  // A lookup that finds nobody keeps the flag and disables "SIMPAN"; finding the student again allows the next one.
  LookUp("2001");
  EXPECT_FALSE(WinIsWindowEnabled(gFormTabunganSaveButton));
  SbSetText(gStatusBar, 5, "09:06:00", 0);
  LookUp("20016");
  EXPECT_TRUE(WinIsWindowEnabled(gFormTabunganSaveButton));
  EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "130");
  Book("01", "5");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 5");
  EXPECT_EQ(Savings("20016").back()[10], "1-5");
}

TEST_F(TellerTest, SavesThatBookNothing) {
  Open();
  // No code and amount "0": nothing, not even a box.
  Book("01", "0");
  Click(gFormTabunganSaveButton);
  // "No" to the question.
  LookUp("20015");
  Book("01", "10");
  ExpectMsgBox("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 10", "Simpan Transaksi",
               IDNO, kQuestion);
  Click(gFormTabunganSaveButton);
  VerifySeams();
  // A code that names no student, and a code without transaction.
  LookUp("99999");
  ExpectMsgBox("Ketik kode siswa disini, kemudian enter / Cari Siswa", "Info", IDOK);
  Click(gFormTabunganSaveButton);
  LookUp("20015");
  Book("05", "10");
  ExpectMsgBox("Pilih jenis transaksi berdasarkan sandi/kode transaksi", "Info", IDOK);
  Click(gFormTabunganSaveButton);
  VerifySeams();
  EXPECT_EQ(TransaksiCount(), 4);
  // After "No" the flag stayed clear: the next save asks again and books.
  Book("01", "10");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 10");
  EXPECT_EQ(TransaksiCount(), 5);
}

TEST_F(TellerTest, EnterMovesThroughTheFieldsAndSaves) {
  Open();
  LookUp("20015");
  WinSetFocus(gFormTabunganIdEdit);
  Enter(gFormTabunganIdEdit);
  EXPECT_EQ(WinGetFocus(), gFormTabunganSandiEdit);
  CtlSetText(gFormTabunganSandiEdit, "0");
  Enter(gFormTabunganSandiEdit);   // one character: stays
  EXPECT_EQ(WinGetFocus(), gFormTabunganSandiEdit);
  CtlSetText(gFormTabunganSandiEdit, "01");
  Enter(gFormTabunganSandiEdit);
  EXPECT_EQ(WinGetFocus(), gFormTabunganAmountEdit);
  QTest::keyClicks(WinWidget(gFormTabunganAmountEdit), "7500");
  ExpectMsgBox("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 7500", "Simpan Transaksi",
               IDYES, kQuestion);
  ExpectMsgBox("Transaksi berhasil disimpan..", "Tabungan..", IDOK, kInfo);
  Enter(gFormTabunganAmountEdit);
  VerifySeams();
  EXPECT_EQ(Savings("20015").size(), 1u);
}

TEST_F(TellerTest, AFailedInsertIsReportedAndLeavesTheWindowAsItWas) {
  fintest::Exec(gDb, "CREATE TRIGGER no_insert BEFORE INSERT ON transaksi BEGIN SELECT RAISE(ABORT, 'penuh'); END;");
  Open();
  LookUp("20015");
  Book("01", "10");
  ExpectMsgBox("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 10", "Simpan Transaksi",
               IDYES, kQuestion);
  ExpectMsgBox("SQL error: penuh", "Info", IDOK);
  Click(gFormTabunganSaveButton);
  VerifySeams();
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 0);
  ExpectMsgBox("Transaksi belum disimpan..", "Info", IDOK);
  Click(gFormTabunganPrintButton);
}

TEST_F(TellerTest, AZeroOrEmptyAmountIsRefusedBeforeAnythingIsAsked) {
  Open();
  LookUp("20015");
  for (const char* amount : {"", "0", "000"}) {
    SCOPED_TRACE(amount);
    Book("01", amount);
    ExpectMsgBox("Masukan jumlah nilai tabungan..", "Info", IDOK);   // no "Simpan Transaksi" question
    Click(gFormTabunganSaveButton);
    VerifySeams();
  }
  EXPECT_EQ(TransaksiCount(), 4);
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 0);
  // The flag stayed clear: an amount then books.
  Book("01", "10");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 10");
  EXPECT_EQ(Savings("20015").size(), 1u);
}

TEST_F(TellerTest, TheAmountTakesAtMostTwelveDigits) {
  Open();
  LookUp("20015");
  CtlSetText(gFormTabunganSandiEdit, "01");
  auto* amount = qobject_cast<QLineEdit*>(WinWidget(gFormTabunganAmountEdit));
  ASSERT_NE(amount, nullptr);
  QTest::keyClicks(amount, std::string(20, '9').c_str());
  EXPECT_EQ(CtlGetText(gFormTabunganAmountEdit), std::string(12, '9'));
  EXPECT_EQ(CtlGetText(gFormTabunganNewBalanceEdit), "999999999999");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 999999999999");
  EXPECT_EQ(Savings("20015")[0][5], "999999999999");
  // Every later sum over the student's savings still adds up.
  SbSetText(gStatusBar, 5, "09:05:08", 0);
  LookUp("20015");
  EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "999999999999");
  Book("01", "999999999999");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 999999999999");
  LookUp("20015");
  EXPECT_EQ(CtlGetText(gFormTabunganBookBalanceEdit), "1999999999998");
  EXPECT_EQ(Column(kTabunganColSaldo), (std::vector<std::string>{"999999999999", "1999999999998"}));
}

TEST_F(TellerTest, ASecondSaveOfOneStudentInTheSameSecondIsRefused) {
  Open();
  LookUp("20015");
  Book("01", "10");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 10");
  // The next transaction of the same student while the clock still shows 09:05:07 would repeat the id.
  LookUp("20015");
  Book("02", "4");
  ExpectMsgBox("Nasabah atas nama BUDI SANTOSO melakukan transaksi 02-Penarikan Tunai sebesar 4", "Simpan Transaksi",
               IDYES, kQuestion);
  ExpectMsgBox("Gagal menyimpan, Id transaksi sudah dipakai. Simpan ulang sebentar lagi..", "Info", IDOK, kInfo);
  Click(gFormTabunganSaveButton);
  VerifySeams();
  EXPECT_EQ(Savings("20015"), (Rows{{"2001520210305090507", "2021-03-05", "01-Setoran Tunai", "Tabungan", "20015",
                                     "10", "0", "ani", "t", "-", "1-1"}}));
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 1);
  ExpectMsgBox("Transaksi belum disimpan..", "Info", IDOK);   // nothing was booked: nothing to print
  Click(gFormTabunganPrintButton);
  VerifySeams();
  // A second later the same save goes through with an id of its own.
  SbSetText(gStatusBar, 5, "09:05:08", 0);
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 02-Penarikan Tunai sebesar 4");
  EXPECT_EQ(fintest::Query(gDb, "SELECT id, keluar, Ref FROM transaksi WHERE siswaid='20015' ORDER BY rowid"),
            (Rows{{"2001520210305090507", "0", "1-1"}, {"2001520210305090508", "4", "1-2"}}));
}

TEST_F(TellerTest, ASaveWhileAnotherProgramReadsTheFileReportsTheFailureAndBooksNothing) {
  // Another program (a second connection) is in the middle of reading the file: the commit cannot take it.
  sqlite3_busy_timeout(gDb, 20);
  fintest::OtherProgram reader(WorkFile("data.db3"));
  reader.holdReadLock();
  Open();
  LookUp("20016");
  Book("01", "10");
  ExpectMsgBox("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10", "Simpan Transaksi",
               IDYES, kQuestion);
  ExpectMsgBox("SQL error: database is locked", "Info", IDOK);   // and no "Transaksi berhasil disimpan.."
  Click(gFormTabunganSaveButton);
  VerifySeams();
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 3);
  for (int target : {0, 1, 2}) {
    CbSetCurSel(gFormTabunganPrintCombo, target);
    ExpectMsgBox("Transaksi belum disimpan..", "Info", IDOK);
    Click(gFormTabunganPrintButton);
  }
  VerifySeams();
  EXPECT_TRUE(textPrinted().Jobs().empty());
  reader.release();
  // What is in the file, read by the other program: nothing booked, nothing marked printed.
  EXPECT_EQ(reader.Query("SELECT count(*), sum(sts='t') FROM transaksi WHERE acctid='Tabungan'"), (Rows{{"3", "1"}}));
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
}

// What a booking reads before it writes is read or the booking ends: the history at the lookup (the new row's passbook
// line follows the student's last row; never line 1-1 over lines already printed) and the balance at the save.
TEST_F(TellerTest, AReadThatFailsBooksNothing) {
  const std::string path = WorkFile("data.db3");
  const std::string booked = "SELECT count(*) FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan'";
  Open();
  {
    fintest::ReadDenied denied(gDb, "transaksi", "Ref");
    ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK);
    LookUp("20016");
    VerifySeams();
  }
  Book("01", "10");
  ExpectMsgBox("Riwayat tabungan siswa tidak terbaca, transaksi tidak disimpan. Cari ulang siswanya..", "Info", IDOK,
               kInfo);
  Click(gFormTabunganSaveButton);
  VerifySeams();
  EXPECT_EQ(fintest::RowsInFile(path, booked), (Rows{{"3"}}));

  LookUp("");
  LookUp("20016");   // read whole now
  Book("01", "10");
  {
    fintest::ReadDenied denied(gDb, "transaksi", "keluar");
    ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK);   // no question, no booking
    Click(gFormTabunganSaveButton);
    VerifySeams();
  }
  EXPECT_EQ(fintest::RowsInFile(path, booked), (Rows{{"3"}}));
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT masuk, Ref FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan' "
                                      "ORDER BY rowid DESC LIMIT 1"),
            (Rows{{"10", "1-4"}}));
}

// ----- printing ---------------------------------------------------------------------------------------------------

TEST_F(TellerTest, NothingPrintsBeforeASave) {
  Open();
  LookUp("20016");
  for (int target = 0; target < 3; ++target) {
    CbSetCurSel(gFormTabunganPrintCombo, target);
    ExpectMsgBox("Transaksi belum disimpan..", "Info", IDOK);
    Click(gFormTabunganPrintButton);
  }
  VerifySeams();
  EXPECT_TRUE(textPrinted().Jobs().empty());
}

TEST_F(TellerTest, CardOfAFirstDepositAsksForPage1AndMarksTheRowsPrinted) {
  Open();
  LookUp("20015");
  Book("01", "50000");
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 50000");
  CbSetCurSel(gFormTabunganPrintCombo, 1);
  AnswerPrinter("KASIR");
  ExpectMsgBox("Persiapkan KARTU TABUNGAN untuk HALAMAN No. 1 dengan kertas yang bisa untuk mencetak 30 baris data..",
               "Cetak ke KARTU TABUNGAN", IDYES, kQuestion);
  Click(gFormTabunganPrintButton);
  VerifySeams();
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  EXPECT_EQ(textPrinted().Jobs()[0].printer, "KASIR");
  EXPECT_TRUE(textPrinted().Jobs()[0].closed);
  EXPECT_EQ(textPrinted().Jobs()[0].Lines(), Expected("card_first_deposit.txt"));
  EXPECT_EQ(Savings("20015")[0][8], "-");
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-"}));
  // The same lookup again: no unprinted row, the printer is still asked for, nothing is written.
  AnswerPrinter("KASIR");
  Click(gFormTabunganPrintButton);
  VerifySeams();
  ASSERT_EQ(textPrinted().Jobs().size(), 2u);
  EXPECT_TRUE(textPrinted().Jobs()[1].data.empty());
}

TEST_F(TellerTest, PassbookContinuesFromTheFirstUnprintedRow) {
  Open();
  LookUp("20016");
  Book("03", "25");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 03-Hadiah sebesar 25");
  CbSetCurSel(gFormTabunganPrintCombo, 0);
  AnswerPrinter("KASIR");
  Click(gFormTabunganPrintButton);
  VerifySeams();
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  EXPECT_EQ(textPrinted().Jobs()[0].Lines(), Expected("passbook_teller.txt"));
  for (const auto& r : Savings("20016")) EXPECT_EQ(r[8], "-") << r[0];
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "-", "-"}));
  // The fee payment is no savings row and stays as it was.
  EXPECT_EQ(fintest::Query(gDb, "SELECT sts FROM transaksi WHERE acctid='SPP01'"), (Rows{{"p"}}));
}

TEST_F(TellerTest, ADeclinedPageMarksOnlyTheRowsWritten) {
  // 20015 has two deposits for the last lines of passbook page 1 and a withdrawal for line 1 of page 2 (stored 1-26);
  // an equal id for all three (ids may repeat) and a row of another student with the same id.
  AddTransaksi("('2001500', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '20015', 100, 0, 'ani', 't', '-', '1-24'),"
               " ('2001500', '2021-03-02', '01-Setoran Tunai', 'Tabungan', '20015', 50, 0, 'ani', 't', '-', '1-25'),"
               " ('2001500', '2021-03-03', '02-Penarikan Tunai', 'Tabungan', '20015', 0, 30, 'ani', 't', '-', '1-26'),"
               " ('2001500', '2021-03-03', '01-Setoran Tunai', 'Tabungan', '20016', 10, 0, 'ani', 't', '-', '1-4')");
  Open();
  LookUp("20015");
  Book("01", "5");   // booked at 1-27
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 5");
  CbSetCurSel(gFormTabunganPrintCombo, 0);
  PrintAnsweringPassbookPage(2, IDNO);
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  const std::vector<std::string> first = textPrinted().Jobs()[0].Lines();
  ASSERT_EQ(first.size(), 26u + 2u + 1u);   // paper brought to line 24, the two rows of page 1, the row after the page
  EXPECT_EQ(first[26].substr(0, 14), " 2021-03-01   ");
  EXPECT_EQ(first[27].substr(0, 14), " 2021-03-02   ");
  EXPECT_EQ(first[28].substr(0, 14), " " + gToday + "   ");
  // Only the rows written are marked; the declined withdrawal stays unprinted in the list and in the database.
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "t", "-"}));
  EXPECT_EQ(RowsOf20015("sts, Ref"), (Rows{{"-", "1-24"}, {"-", "1-25"}, {"t", "1-26"}, {"-", "1-27"}}));
  EXPECT_EQ(fintest::Query(gDb, "SELECT sts FROM transaksi WHERE siswaid='20016' AND id='2001500'"), (Rows{{"t"}}));
}

TEST_F(TellerTest, RowsOfADeclinedLastPageComeOutOnTheNextRun) {
  AddTransaksi("('2001500', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '20015', 100, 0, 'ani', 't', '-', '1-24'),"
               " ('2001500', '2021-03-02', '01-Setoran Tunai', 'Tabungan', '20015', 50, 0, 'ani', 't', '-', '1-25')");
  Open();
  LookUp("20015");
  Book("02", "30");   // booked at 1-26 (the teller counts card lines): one row more than passbook page 1 holds
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 02-Penarikan Tunai sebesar 30");
  CbSetCurSel(gFormTabunganPrintCombo, 0);
  PrintAnsweringPassbookPage(2, IDNO);
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "t"}));
  EXPECT_EQ(RowsOf20015("sts"), (Rows{{"-"}, {"-"}, {"t"}}));
  // The next run starts at the withdrawal, on line 1 of passbook page 2: page 2 is asked for again and the row
  // comes out on its first line.
  PrintAnsweringPassbookPage(2, IDYES);
  ASSERT_EQ(textPrinted().Jobs().size(), 2u);
  const std::vector<std::string> second = textPrinted().Jobs()[1].Lines();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].substr(0, 17), " " + gToday + "   02 ");
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "-"}));
  EXPECT_EQ(RowsOf20015("sts"), (Rows{{"-"}, {"-"}, {"-"}}));
}

TEST_F(TellerTest, ThePassbookGoesOnPastItsFirstPageWhileTheCardKeepsItsOwnPages) {
  // 20015's first 25 rows are printed (1-1 .. 1-25): passbook page 1 is full. Three deposits, each booked and
  // printed on its own, take 1-26, 1-27 and 1-28: in the passbook lines 1, 2 and 3 of page 2, page 2 asked for
  // before its first line; on the card lines 26, 27 and 28 of its page 1.
  const std::string pb = " 2021-03-05   01               0           10          2";
  const std::string cd = "   2021-03-05   01               0           10          2";
  const struct {
    int target;
    const char* name;
    std::vector<std::vector<std::string>> jobs;   // the lines of each print, "`" lines counted in front
    std::vector<int> paper;
  } cases[] = {
      {0, "passbook", {{pb + "60 Setoran Tunai"}, {pb + "70 Setoran Tunai"}, {pb + "80 Setoran Tunai"}}, {0, 4, 5}},
      {1, "card", {{cd + "60"}, {cd + "70"}, {cd + "80"}}, {36, 37, 38}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    textPrinted().Clear();
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE siswaid='20015'");
    for (int line = 1; line <= 25; ++line)
      AddTransaksi("('20015202103010800" + std::string(line < 10 ? "0" : "") + std::to_string(line) +
                   "', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '20015', 10, 0, 'ani', '-', '-', '1-" +
                   std::to_string(line) + "')");
    Open();
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(k);
      SbSetText(gStatusBar, 5, "09:06:0" + std::to_string(k), 0);
      LookUp("");
      LookUp("20015");
      Book("01", "10");
      SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 10");
      CbSetCurSel(gFormTabunganPrintCombo, c.target);
      AnswerPrinter("KASIR");
      if (c.target == 0 && k == 0)
        ExpectMsgBox("Persiapkan BUKU TABUNGAN untuk HALAMAN No. 2 dengan kertas yang bisa untuk mencetak 25 baris "
                     "data..",
                     "Cetak ke BUKU TABUNGAN", IDYES, kQuestion);
      Click(gFormTabunganPrintButton);
      VerifySeams();
      ASSERT_EQ(textPrinted().Jobs().size(), static_cast<std::size_t>(k + 1));
      std::vector<std::string> expected(static_cast<std::size_t>(c.paper[k]), "`");
      expected.insert(expected.end(), c.jobs[k].begin(), c.jobs[k].end());
      EXPECT_EQ(textPrinted().Jobs()[k].Lines(), expected);
    }
    EXPECT_EQ(fintest::Query(gDb, "SELECT Ref, sts FROM transaksi WHERE siswaid='20015' AND Ref IN "
                                  "('1-25', '1-26', '1-27', '1-28') ORDER BY rowid"),
              (Rows{{"1-25", "-"}, {"1-26", "-"}, {"1-27", "-"}, {"1-28", "-"}}));
    WinDestroyWindow(gFormTabunganWindow);
  }
}

TEST_F(TellerTest, ARowPassedOverAtADeclinedPageIsPrintedByTheNextRun) {
  // Passbook page 2 was declined at the last run: 1-26 (its line 1) stayed unprinted, 1-27 was printed after it.
  AddTransaksi("('2001520210301080000', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '20015', 100, 0, 'ani', '-',"
               "  '-', '1-24'),"
               " ('2001520210302080000', '2021-03-02', '01-Setoran Tunai', 'Tabungan', '20015', 50, 0, 'ani', '-',"
               "  '-', '1-25'),"
               " ('2001520210303080000', '2021-03-03', '02-Penarikan Tunai', 'Tabungan', '20015', 0, 30, 'ani', 't',"
               "  '-', '1-26'),"
               " ('2001520210304080000', '2021-03-04', '01-Setoran Tunai', 'Tabungan', '20015', 5, 0, 'ani', '-',"
               "  '-', '1-27')");
  Open();
  LookUp("20015");
  Book("01", "7");   // booked at 1-28
  SaveYes("Nasabah atas nama BUDI SANTOSO melakukan transaksi 01-Setoran Tunai sebesar 7");
  CbSetCurSel(gFormTabunganPrintCombo, 0);
  PrintAnsweringPassbookPage(2, IDYES);
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  // The run starts at the oldest unprinted row, on line 1 of page 2; the printed row keeps its line.
  EXPECT_EQ(textPrinted().Jobs()[0].Lines(),
            (std::vector<std::string>{
                " 2021-03-03   02              30            0          120 Penarikan Tunai",
                "`",
                " 2021-03-05   01               0            7          132 Setoran Tunai"}));
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "-", "-", "-"}));
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM transaksi WHERE acctid='Tabungan' AND siswaid='20015' AND "
                                "sts='t'"),
            (Rows{{"0"}}));
}

TEST_F(TellerTest, PassbookRowsComeInTheOrderTheyWereBookedAndNeverOverAPrintedLine) {
  // 30017's code sorts after the payment window's receipt stamps. A deposit printed on line 1, a deposit booked on
  // line 2 and not printed yet, then a savings withdrawal booked by the payment window: its id is the receipt stamp
  // and it has no passbook position.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama, LP, Ket) VALUES ('30017', 'CICI', 'P', '')");
  AddTransaksi("('3001720210301080000', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '30017', 100, 0, 'ani', '-', '-',"
               "  '1-1'),"
               " ('3001720210302080000', '2021-03-02', '01-Setoran Tunai', 'Tabungan', '30017', 50, 0, 'ani', 't', '-',"
               "  '1-2')");
  fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang)"
                     " VALUES ('20202021202103030900002', '2021-03-03', '02-Penarikan utk pembayaran', 'Tabungan',"
                     " '30017', 0, 40, 'ani', 't', '-')");
  Open();
  LookUp("30017");
  // The history runs in the order the rows were booked, with its running balance.
  EXPECT_EQ(Column(kTabunganColSaldo), (std::vector<std::string>{"100", "150", "110"}));
  Book("01", "5");
  SaveYes("Nasabah atas nama CICI melakukan transaksi 01-Setoran Tunai sebesar 5");
  // The new deposit takes the line after the withdrawal.
  EXPECT_EQ(fintest::Query(gDb, "SELECT Ref FROM transaksi WHERE siswaid='30017' ORDER BY rowid DESC LIMIT 1"),
            (Rows{{"1-4"}}));
  CbSetCurSel(gFormTabunganPrintCombo, 0);
  AnswerPrinter("KASIR");
  Click(gFormTabunganPrintButton);   // from line 2: no page question
  VerifySeams();
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  // The paper is brought to line 2 below the printed deposit; the three rows follow in the order they were booked.
  EXPECT_EQ(textPrinted().Jobs()[0].Lines(),
            (std::vector<std::string>{
                "`", "`", "`", "`",
                " 2021-03-02   01               0           50          150 Setoran Tunai",
                " 2021-03-03   02              40            0          110 Penarikan utk pembayaran",
                " 2021-03-05   01               0            5          115 Setoran Tunai"}));
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "-", "-"}));
  EXPECT_EQ(fintest::Query(gDb, "SELECT sts FROM transaksi WHERE siswaid='30017' ORDER BY rowid"),
            (Rows{{"-"}, {"-"}, {"-"}, {"-"}}));
}

TEST_F(TellerTest, APrinterThatIsNoPrintQueueMarksNothingAndSaysWhereTheTextWasKept) {
  fintest::NoPrintQueue noQueue;   // the text goes to a file
  PrintEachTargetToAFile([this] { AnswerPrinter("KASIR"); }, "cetak/KASIR_20240902_101530");
}

TEST_F(TellerTest, PrintingToAFileInThePrinterDialogKeepsTheTextUnderCetakAndSaysWhere) {
  // No print queue: the real printer dialog offers "Print to File (PDF)" alone, and the clerk takes it.
  fintest::NoPrintQueue noQueue;
  PrintToFileInThePrinterDialog();
  PrintEachTargetToAFile([] {}, "cetak/cetak_20240902_101530");
  EXPECT_EQ(scripted().pickerCalls().size(), 3u);
}

TEST_F(TellerTest, ReceiptPrintsTheSavedTransactionAndMarksNothing) {
  Open();
  LookUp("20016");
  Book("03", "25");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 03-Hadiah sebesar 25");
  // Fields changed after the save do not change what the receipt says.
  Book("02", "99");
  SbSetText(gStatusBar, 5, "09:10:00", 0);
  CbSetCurSel(gFormTabunganPrintCombo, 2);
  AnswerPrinter("STRUK");
  Click(gFormTabunganPrintButton);
  VerifySeams();
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  EXPECT_EQ(textPrinted().Jobs()[0].printer, "STRUK");
  EXPECT_EQ(textPrinted().Jobs()[0].Lines(), Expected("receipt_teller.txt"));
  EXPECT_EQ(Savings("20016").back()[8], "t");
}

TEST_F(TellerTest, PrintFailuresMarkNothing) {
  Open();
  LookUp("20016");
  Book("01", "10");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
  for (int target : {0, 1}) {
    CbSetCurSel(gFormTabunganPrintCombo, target);
    AnswerPrinter(std::nullopt);
    ExpectMsgBox("Tidak ada printer yang dipilih..", "Transaksi..", IDOK, kInfo);
    Click(gFormTabunganPrintButton);
    textPrinted().Refuse("RUSAK");
    AnswerPrinter("RUSAK");
    ExpectMsgBox("Gagal Cetak..", "Transaksi..", IDOK, kInfo);
    Click(gFormTabunganPrintButton);
    VerifySeams();
  }
  EXPECT_EQ(Savings("20016")[2][8], "t");
  EXPECT_EQ(Savings("20016")[3][8], "t");
  EXPECT_EQ(Column(kTabunganColSts)[3], "t");
}

TEST_F(TellerTest, AFailedUpdateLeavesTheRowsUnprinted) {
  Open();
  LookUp("20016");
  Book("01", "10");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
  fintest::Exec(gDb, "CREATE TRIGGER no_update BEFORE UPDATE ON transaksi BEGIN SELECT RAISE(ABORT, 'terkunci'); END;");
  CbSetCurSel(gFormTabunganPrintCombo, 1);
  AnswerPrinter("KASIR");
  ExpectMsgBox("SQL error: terkunci", "Info", IDOK);
  Click(gFormTabunganPrintButton);
  VerifySeams();
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  EXPECT_EQ(Column(kTabunganColSts), (std::vector<std::string>{"-", "-", "-", "-"}));
  EXPECT_EQ(Savings("20016")[3][8], "t");
}

TEST_F(TellerTest, ReceiptWithoutPrinterShowsItsMessageAndTheRunGoesOn) {
  Open();
  LookUp("20016");
  Book("01", "10");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
  AnswerPrinter(std::nullopt);
  ExpectMsgBox("Tidak ada printer yang dipilih..", "Tabungan..", IDOK, kInfo);
  FORMTABUNGAN_PrintReceipt();
  textPrinted().Refuse("RUSAK");
  AnswerPrinter("RUSAK");
  ExpectMsgBox("Gagal Cetak..", "Pembayaran..", IDOK, kInfo);
  FORMTABUNGAN_PrintReceipt();
  EXPECT_TRUE(exits().empty());
  EXPECT_TRUE(IsWindow(gFormTabunganWindow));
  // With a printer the same saved transaction prints.
  AnswerPrinter("Printer Uji");
  FORMTABUNGAN_PrintReceipt();
  EXPECT_FALSE(textPrinted().Jobs().empty());
}

TEST_F(TellerTest, PrintingNeedsTheSavedStudentInTheCodeField) {
  Open();
  LookUp("20016");
  Book("01", "10");
  SaveYes("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 10");
  LookUp("200161");   // nobody: the history is emptied, the saved student is no longer shown
  CbSetCurSel(gFormTabunganPrintCombo, 1);
  ExpectMsgBox("Transaksi belum disimpan..", "Info", IDOK);
  Click(gFormTabunganPrintButton);
  VerifySeams();
  EXPECT_TRUE(textPrinted().Jobs().empty());
  EXPECT_EQ(Savings("20016")[2][8], "t");
}

// ----- the window among others --------------------------------------------------------------------------------------

TEST_F(TellerTest, TheStudentPickerHandsTheStudentOver) {
  Open();
  OnModal([](QWidget*) {
    ASSERT_TRUE(IsWindow(gFormCrSiswa1Window));
    if (LvGetColumnCount(gFormCrSiswa1List) == 0) LvInsertColumn(gFormCrSiswa1List, 0, "ID", 0, 100);
    LvInsertItem(gFormCrSiswa1List, 0, 0, "20016", 0, 0);
    LvSelectItem(gFormCrSiswa1List, 0);
    Click(gFormCrSiswa1SisipButton);
  });
  Click(gFormTabunganBrowseButton);
  VerifySeams();
  EXPECT_FALSE(IsWindow(gFormCrSiswa1Window));
  EXPECT_EQ(CtlGetText(gFormTabunganIdEdit), "20016");
  EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "SITI RAHAYU");
  EXPECT_EQ(LvGetItemCount(gFormTabunganHistoryList), 3);
}

TEST_F(TellerTest, ModalOverItsOwnerAndTheNewestWindowTakesTheHandOver) {
  QWidget owner;
  owner.show();
  const Hwnd ownerHwnd = WinHandle(&owner);
  OnModal([ownerHwnd](QWidget*) {
    EXPECT_FALSE(WinIsWindowEnabled(ownerHwnd));
    const Hwnd first = gFormTabunganWindow;
    const Hwnd second = static_cast<Hwnd>(FORMTABUNGAN_Show(0, 0, 0));
    EXPECT_EQ(gFormTabunganWindow, second);
    WinDestroyWindow(second);
    EXPECT_EQ(gFormTabunganWindow, first);
    EXPECT_EQ(gFormTabunganLookupStudentHook, &FORMTABUNGAN_LookupStudent);
    LookUp("20016");
    EXPECT_EQ(CtlGetText(gFormTabunganNameEdit), "SITI RAHAYU");
    FrmClose(first, 0);
  });
  EXPECT_EQ(FORMTABUNGAN_Show(ownerHwnd, 1, 7), 0);
  VerifySeams();
  EXPECT_TRUE(WinIsWindowEnabled(ownerHwnd));
  EXPECT_EQ(gFormTabunganWindow, 0);
  EXPECT_EQ(gFormTabunganLookupStudentHook, nullptr);
}

// ----- the computations ---------------------------------------------------------------------------------------------

TEST(SavingsTellerRules, IdsStatementsAndBalances) {
  EXPECT_EQ(SavingsTransactionId("20015", "2021-03-05", "09:05:07"), "2001520210305090507");
  EXPECT_EQ(SavingsInsertSql({"I'1", "2021-03-05", "01-Setoran Tunai", "S'1", 5, 0, "o'p", "1-1"}),
            "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,ref) VALUES "
            "('I''1','2021-03-05','01-Setoran Tunai','Tabungan','S''1','5','0','o''p','t','-','1-1')");
  EXPECT_EQ(SavingsMarkPrintedSql("a'b", {7, 3, 12}),
            "Update transaksi set Sts='-' where SiswaID='a''b' and AcctID='Tabungan' and Sts='t' and rowid in "
            "(7,3,12)");
  EXPECT_EQ(SavingsRunningBalances({{"", "01", "0", "100", "", "", "", ""},
                                    {"", "01", "0", "50", "", "", "", ""},
                                    {"", "02", "30", "0", "", "", "", ""}}),
            (std::vector<long long>{100, 150, 120}));
  EXPECT_EQ(SavingsNewBalance(100, 30, 0), 70);
  EXPECT_EQ(SavingsNewBalance(100, 30, -1), 70);
  EXPECT_EQ(SavingsNewBalance(100, 30, 1), 130);
  EXPECT_EQ(SavingsNewBalance(3000000000LL, 5000000000LL, 1), 8000000000LL);
  EXPECT_EQ(SavingsSandiCode("04-Biaya Rupa-Rupa"), "04");
  EXPECT_EQ(SavingsSandiName("04-Biaya Rupa-Rupa"), "Biaya Rupa-Rupa");
}

}  // namespace
