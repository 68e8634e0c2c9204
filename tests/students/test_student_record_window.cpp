// The student record window "Siswa Record..": a new student with class row and billing rows in one transaction, the
// refusals, the edit of a listed student, apostrophes in free texts, the photo, and what goes back into the student
// list.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "students/student_ids.h"
#include "students/student_list_window.h"
#include "students/student_record_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"
#include "support/other_program.h"
#include "support/read_denied.h"

using fintest::Click;

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kEntry[] = "Entry Data..";
const char kSaved[] = "Data berhasil disimpan..";
const char kDuplicate[] = "Gagal menyimpan, Id/Kode Sudah Tersedia..";
const char kMissing[] = "Gagal menyimpan, kolom Kode atau Nama belum terisi..";
constexpr int kInfo = MB_OK | MB_ICONINFORMATION;

class StudentRecordTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gEditMode = -1;
    gPhotoPath = "";
    gTargetListView = 0;
    SetClock(2021, 3, 5, 9, 30, 0);
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Ket, Status, TglMasuk, Jenjang)"
                  " VALUES"
                  " ('S01', 'ANI', 'P', 'Bandung', '2012-01-05', 'Kong Hu Chu', 'Jl. Dago 1', 'ketua kelas', 'Aktif',"
                  "  '2023-7-1', '-'),"
                  " ('S02', 'BUDI', 'L', 'Jakarta', '2012-02-06', 'Kristen', 'Jl. Riau 2', 'baru', 'Aktif',"
                  "  '2023-7-1', '-'),"
                  " ('S03', 'CICI', 'P', 'Garut', '2011-03-07', '', 'Jl. Asia 3', 'pindahan', 'Aktif', '2022-7-1',"
                  "  '-'),"
                  " ('', 'TANPA ID', 'L', '', '', '', '', '', 'Aktif', '', '-');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Jenjang, Tapel) VALUES"
                  " ('20242025S01', 'S01', 'VII-A', '-', '2024/2025'),"
                  " ('20242025S02', 'S02', 'VII-A', '-', '2024/2025'),"
                  " ('20242025S03', 'S03', 'VII-B', '-', '2024/2025'),"
                  " ('20232024S03', 'S03', 'VII-A', '-', '2023/2024'),"
                  " ('20242025X', 'X', 'VIII-C', '-', '2024/2025');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                  " ('A1', 'SPP', 'VII-A', 150000, 'Perbulan', '2024/2025'),"
                  " ('A2', 'Uang Gedung', 'VII-A', 1000000, 'Pertahun', '2024/2025'),"
                  " ('A3', 'SPP', 'VII-A', 140000, 'Perbulan', '2023/2024'),"
                  " ('A4', 'SPP', 'VII-B', 160000, 'Perbulan', '2024/2025');");
    ASSERT_TRUE(IsWindow(FORM2_Show(gMdiClient, 1, 0)));
  }
  void TearDown() override {
    if (IsWindow(gFormSiswaWindow)) WinDestroyWindow(gFormSiswaWindow);
    if (IsWindow(gForm2Window)) WinDestroyWindow(gForm2Window);
    delete area_;
    gMdiClient = 0;
    gPhotoPath.clear();
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Opens the record window from the list's toolbar (add or edit); `drive` runs inside its loop. A window still open
  // afterwards is closed.
  void Run(int button, std::function<void()> drive) {
    OnModal([drive](QWidget*) {
      drive();
      if (IsWindow(gFormSiswaWindow)) FrmClose(gFormSiswaWindow, 0);
    });
    TbClickButton(gForm2Toolbar, button);
    EXPECT_EQ(gFormSiswaWindow, 0);
  }
  void RunAdd(std::function<void()> drive) { Run(gForm2AddButtonId, std::move(drive)); }
  void RunEdit(std::function<void()> drive) { Run(gForm2EditButtonId, std::move(drive)); }

  static void Type(Hwnd edit, const std::string& text) {
    CtlSetText(edit, "");
    QTest::keyClicks(WinWidget(edit), QString::fromStdString(text));
  }
  // Fills the form with one student.
  static void Fill(const std::string& id, const std::string& nama) {
    CtlSetText(gFormSiswaIdEdit, id);
    Type(gFormSiswaNamaEdit, nama);
    CbSetCurSel(gFormSiswaGenderCombo, 1);
    CtlSetText(gFormSiswaTmpLahirEdit, "Tasik'malaya");
    DtpSetDate(gFormSiswaTglLahirPicker, "2012-03-04");
    CbSetCurSel(gFormSiswaAgamaCombo, 2);
    CtlSetText(gFormSiswaAlamatEdit, "Jl. O'Neil 5");
    CtlSetText(gFormSiswaKetEdit, "anak 'baik'");
  }
  static Rows Query(const std::string& sql) { return fintest::Query(gDb, sql); }
  static int RowOf(const std::string& id) {
    for (int r = 0; r < LvGetItemCount(gForm2List); ++r)
      if (LvGetItemText(gForm2List, r, 0) == id) return r;
    return -1;
  }
  static std::vector<std::string> ListRow(int row) {
    std::vector<std::string> out;
    for (int c = 0; c < LvGetColumnCount(gForm2List); ++c) out.push_back(LvGetItemText(gForm2List, row, c));
    return out;
  }
  static std::vector<std::string> AccountRow(int row) {
    std::vector<std::string> out;
    for (int c = 0; c < LvGetColumnCount(gFormSiswaAccountList); ++c)
      out.push_back(LvGetItemText(gFormSiswaAccountList, row, c));
    return out;
  }
  // A small bitmap file.
  std::string Bitmap(const std::string& name, QColor colour) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(colour);
    const std::string path = WorkFile(name);
    EXPECT_TRUE(img.save(QString::fromStdString(path), "BMP"));
    return path;
  }
  static bool PhotoShown() {
    auto* l = qobject_cast<QLabel*>(WinWidget(gFormSiswaPhoto));
    return l && !l->pixmap().isNull();
  }

  QMdiArea* area_ = nullptr;
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(StudentRecordTest, OpensWithTheFeesOfTheListsClass) {
  RunAdd([&] {
    const Hwnd w = gFormSiswaWindow;
    EXPECT_EQ(WinGetWindowText(w), "Siswa Record..");
    EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORMSISWA_CLASS");
    const std::vector<std::pair<Hwnd, std::string>> labels = {
        {gFormSiswaIdLabel, "Id"},           {gFormSiswaNamaLabel, "Nama"},
        {gFormSiswaGenderLabel, "Jenis Kelamin"}, {gFormSiswaTmpLahirLabel, "Tempat Lahir"},
        {gFormSiswaTglLahirLabel, "Tgl. Lahir"},  {gFormSiswaAgamaLabel, "Agama"},
        {gFormSiswaAlamatLabel, "Alamat"},        {gFormSiswaKetLabel, "Keterangan"},
        {gFormSiswaTitleLabel, "Siswa records.."}, {gFormSiswaSubtitleLabel, "Detail record data tentang Siswa.."},
        {gFormSiswaSaveButton, "Simpan"},
    };
    for (const auto& [h, text] : labels) {
      EXPECT_EQ(CtlGetText(h), text);
      if (h != gFormSiswaTitleLabel && h != gFormSiswaSubtitleLabel && h != gFormSiswaSaveButton) {
        EXPECT_EQ(WinGetWindowRect(h).left, FrmScaleX(16)) << text;
      }
    }
    EXPECT_EQ(WinGetWindowRect(gFormSiswaIdEdit).left, FrmScaleX(108));
    EXPECT_EQ(WinGetWindowRect(gFormSiswaPhoto).left, FrmScaleX(368));
    EXPECT_EQ(WinGetWindowRect(gFormSiswaAccountList).width(), FrmScaleX(364));
    // Both drop-down lists with their items and nothing chosen.
    EXPECT_EQ(CbGetCount(gFormSiswaGenderCombo), 2);
    EXPECT_EQ(CbGetItemText(gFormSiswaGenderCombo, 1), "Perempuan");
    EXPECT_EQ(CbGetCount(gFormSiswaAgamaCombo), 7);
    EXPECT_EQ(CbGetItemText(gFormSiswaAgamaCombo, 6), "Kepercayaan Terhadap Tuhan YME");
    EXPECT_EQ(CbGetCurSel(gFormSiswaGenderCombo), CB_ERR);
    EXPECT_EQ(CbGetCurSel(gFormSiswaAgamaCombo), CB_ERR);
    EXPECT_EQ(CtlGetText(gFormSiswaTglLahirPicker), "2021-03-05");
    EXPECT_EQ(WinGetFocus(), gFormSiswaAccountList);
    // The fees of VII-A in the working year.
    ASSERT_EQ(LvGetColumnCount(gFormSiswaAccountList), 4);
    EXPECT_EQ(LvGetColumnText(gFormSiswaAccountList, 0), "ID");
    EXPECT_EQ(LvGetColumnText(gFormSiswaAccountList, 3), "TYPE");
    ASSERT_EQ(LvGetItemCount(gFormSiswaAccountList), 2);
    EXPECT_EQ(AccountRow(0), (std::vector<std::string>{"A1", "SPP", "150000", "Perbulan"}));
    EXPECT_EQ(AccountRow(1), (std::vector<std::string>{"A2", "Uang Gedung", "1000000", "Pertahun"}));
  });
}

TEST_F(StudentRecordTest, AddsStudentClassRowAndBillingRows) {
  const int rowsBefore = LvGetItemCount(gForm2List);
  RunAdd([&] {
    Fill("S10", "o'neil putri");
    EXPECT_EQ(CtlGetText(gFormSiswaNamaEdit), "O'NEIL PUTRI");   // upper case as typed
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
    // Ready for the next student of the class; the fees stay.
    EXPECT_TRUE(IsWindow(gFormSiswaWindow));
    for (Hwnd h : {gFormSiswaIdEdit, gFormSiswaNamaEdit, gFormSiswaTmpLahirEdit, gFormSiswaAlamatEdit,
                   gFormSiswaKetEdit})
      EXPECT_EQ(CtlGetText(h), "");
    EXPECT_EQ(CtlGetText(gFormSiswaGenderCombo), "Laki - Laki");
    EXPECT_EQ(CtlGetText(gFormSiswaAgamaCombo), "Islam");
    EXPECT_EQ(CtlGetText(gFormSiswaTglLahirPicker), "2021-03-05");
    EXPECT_EQ(LvGetItemCount(gFormSiswaAccountList), 2);
  });
  // Free texts with the grave accent in place of "'"; the entry date without leading zeros.
  EXPECT_EQ(Query("SELECT Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Ket, Status, TglMasuk, Jenjang FROM siswa"
                  " WHERE Id='S10'"),
            (Rows{{"S10", "O`NEIL PUTRI", "P", "Tasik`malaya", "2012-03-04", "Katholik", "Jl. O`Neil 5",
                   "anak `baik`", "Aktif", "2021-3-5", "-"}}));
  EXPECT_EQ(Query("SELECT Kode, IdSiswa, Kelas, Kategori, Jenjang, Tapel FROM siswakelas WHERE IdSiswa='S10'"),
            (Rows{{"20242025S10", "S10", "VII-A", "<null>", "-", "2024/2025"}}));
  // A monthly fee: 12 x its amount in the year and its amount in every month; a yearly fee: its amount and 0s.
  const std::string months =
      "juli, agustus, september, oktober, nopember, desember, januari, februari, maret, april, mei, juni";
  EXPECT_EQ(Query("SELECT id_account, jml_pembayaran, typeof(jml_pembayaran), " + months +
                  " FROM detail_account WHERE id_siswa='S10' ORDER BY id_account"),
            (Rows{{"A1", "1800000", "integer", "150000", "150000", "150000", "150000", "150000", "150000", "150000",
                   "150000", "150000", "150000", "150000", "150000"},
                  {"A2", "1000000", "integer", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}}));
  // The list shows the new student as typed.
  ASSERT_EQ(LvGetItemCount(gForm2List), rowsBefore + 1);
  EXPECT_EQ(ListRow(rowsBefore), (std::vector<std::string>{"S10", "O'NEIL PUTRI", "P", "Tasik'malaya", "2012-03-04",
                                                           "Katholik", "Jl. O'Neil 5", "Aktif", "2021-3-5",
                                                           "anak 'baik'"}));
}

TEST_F(StudentRecordTest, SeveralStudentsInOneOpening) {
  RunAdd([&] {
    for (const char* id : {"S11", "S12'"}) {
      Fill(id, std::string("murid ") + id);
      ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
      Click(gFormSiswaSaveButton);
    }
  });
  // An id is written as it stands, apostrophe included.
  EXPECT_EQ(Query("SELECT Id, Nama FROM siswa WHERE Id LIKE 'S1%' ORDER BY Id"),
            (Rows{{"S11", "MURID S11"}, {"S12'", "MURID S12`"}}));
  EXPECT_EQ(Query("SELECT Kode FROM siswakelas WHERE IdSiswa='S12'''"), (Rows{{"20242025S12'"}}));
  EXPECT_EQ(Query("SELECT count(*) FROM detail_account WHERE id_siswa='S12'''"), (Rows{{"2"}}));
}

TEST_F(StudentRecordTest, ClassWithoutFeesGetsNoBillingRows) {
  CbSetCurSel(gForm2ClassCombo, CbFindStringExact(gForm2ClassCombo, -1, "VIII-C"));
  RunAdd([&] {
    EXPECT_EQ(LvGetItemCount(gFormSiswaAccountList), 0);
    Fill("S20", "dewi");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(Query("SELECT count(*) FROM siswa WHERE Id='S20'"), (Rows{{"1"}}));
  EXPECT_EQ(Query("SELECT Kelas FROM siswakelas WHERE IdSiswa='S20'"), (Rows{{"VIII-C"}}));
  EXPECT_EQ(Query("SELECT count(*) FROM detail_account"), (Rows{{"0"}}));
}

TEST_F(StudentRecordTest, RefusalsWriteNothingAndKeepTheForm) {
  struct Case {
    const char* id;
    const char* nama;
    const char* message;
  } cases[] = {
      {"S01", "", kDuplicate},        // a known id, even without a name
      {"S01", "LAIN", kDuplicate},
      {"", "TANPA KODE", kDuplicate},   // the empty id is a known id here (the fixture has such a row)
      {"S30", "", kMissing},
  };
  RunAdd([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.id) + "/" + c.nama);
      CtlSetText(gFormSiswaIdEdit, c.id);
      CtlSetText(gFormSiswaNamaEdit, c.nama);
      ExpectMsgBox(c.message, kEntry, IDOK, kInfo);
      Click(gFormSiswaSaveButton);
      EXPECT_TRUE(IsWindow(gFormSiswaWindow));
      EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), c.id);
      EXPECT_EQ(CtlGetText(gFormSiswaNamaEdit), c.nama);
    }
    // Without the row of an empty id, an empty id is refused as missing.
    fintest::Exec(gDb, "DELETE FROM siswa WHERE Id=''");
    CtlSetText(gFormSiswaIdEdit, "");
    CtlSetText(gFormSiswaNamaEdit, "TANPA KODE");
    ExpectMsgBox(kMissing, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(Query("SELECT count(*) FROM siswa"), (Rows{{"3"}}));
  EXPECT_EQ(Query("SELECT count(*) FROM siswakelas"), (Rows{{"5"}}));
  EXPECT_EQ(Query("SELECT count(*) FROM detail_account"), (Rows{{"0"}}));
}

TEST_F(StudentRecordTest, AnIdThatStillHasAClassRowThisYearIsNotGivenAgain) {
  // S02 is billed and has paid; then the student is deleted from the list: its class row, billing and payment stay.
  fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('A1','S02',1800000),"
                     "('A2','S02',1000000);"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES ('T1','A1','S02',150000,'p');"
                     "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('20232024S40','S40','VII-A',"
                     "'2023/2024')");
  LvSetCheck(gForm2List, RowOf("S02"), 1);
  ExpectMsgBox("Apakah anda yakin akan menghapus record tercentang / terpilih? Cobalah koreksi data yang terkait "
               "dengan record-record ini, mungkin bisa mengakibatkan perubahan referensi data dan mengakibatkan data "
               "menjadi rancu..",
               "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(gForm2Toolbar, gForm2DeleteButtonId);
  ASSERT_EQ(Query("SELECT count(*) FROM siswa WHERE Id='S02'"), (Rows{{"0"}}));
  RunAdd([&] {
    struct Case {
      const char* id;
      const char* message;
      const char* caption;
    } cases[] = {{"S02", kFormSiswaClassRowTaken, "Info"},
                 {"X", kFormSiswaClassRowTaken, "Info"},   // a class row of the year without any student
                 {"S40", kSaved, kEntry}};                 // a class row of an earlier year only: a new student
    for (const Case& c : cases) {
      SCOPED_TRACE(c.id);
      Fill(c.id, "anak baru");
      ExpectMsgBox(c.message, c.caption, IDOK, kInfo);
      Click(gFormSiswaSaveButton);
      VerifySeams();
    }
    EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), "");   // cleared after S40 only
  });
  EXPECT_EQ(Query("SELECT Id FROM siswa WHERE Nama='ANAK BARU'"), (Rows{{"S40"}}));
  // Never a second class row or a second set of billing rows.
  EXPECT_EQ(Query("SELECT IdSiswa, count(*) FROM siswakelas WHERE Tapel='2024/2025' AND IdSiswa IN ('S02','X','S40') "
                  "GROUP BY IdSiswa ORDER BY IdSiswa"),
            (Rows{{"S02", "1"}, {"S40", "1"}, {"X", "1"}}));
  EXPECT_EQ(Query("SELECT id_siswa, count(*) FROM detail_account GROUP BY id_siswa ORDER BY id_siswa"),
            (Rows{{"S02", "2"}, {"S40", "2"}}));
}

// Two programs on one file (the program started twice, or two desks on a shared folder): after the window's checks
// found the id free, the other program gives it out (a student of its own, a class row, a savings deposit) before this
// save begins. The save makes its checks again under its write lock and refuses in the same words: one student, one
// class row and one set of billing rows per id.
TEST_F(StudentRecordTest, AnIdAnotherProgramTakesBetweenTheChecksAndTheSaveIsRefused) {
  const std::string path = WorkFile("data.db3");
  fintest::OtherProgram other(path);
  struct Case {
    const char* id;
    const char* meanwhile;   // what the other program writes
    std::string message;
    const char* caption;
    const char* students;    // siswa rows of the id in the file afterwards
    const char* classRows;   // and its class rows
  } cases[] = {
      {"S40",
       "INSERT INTO siswa (Id, Nama, Status) VALUES ('S40','DARI MEJA LAIN','Aktif');"
       "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Jenjang, Tapel) VALUES ('20242025S40','S40','VII-A','-',"
       "'2024/2025')",
       kDuplicate, kEntry, "1", "1"},
      {"S41",
       "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Jenjang, Tapel) VALUES ('20242025S41','S41','VII-B','-',"
       "'2024/2025')",
       kFormSiswaClassRowTaken, "Info", "0", "1"},
      {"S42",
       "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, sts) VALUES "
       "('S42202103050930','2021-03-05','01-Setoran','Tabungan','S42',5000,0,'t')",
       FinStudentIdsHaveMoneyText({"S42"}), "Info", "0", "0"},
  };
  RunAdd([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.id);
      Fill(c.id, "anak baru");
      fintest::WritesAfterCheck between(gDb, other, "Select (Select Count(*) From transaksi WHERE SiswaId=",
                                        c.meanwhile);
      ExpectMsgBox(c.message, c.caption, IDOK, kInfo);   // and no "berhasil"
      Click(gFormSiswaSaveButton);
      VerifySeams();
      EXPECT_TRUE(between.written());
      EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), c.id);   // a refused student stays in the form
      const std::string q = std::string("='") + c.id + "'";
      EXPECT_EQ(fintest::RowsInFile(path, "SELECT (SELECT count(*) FROM siswa WHERE Id" + q +
                                              "), (SELECT count(*) FROM siswakelas WHERE IdSiswa" + q +
                                              "), (SELECT count(*) FROM detail_account WHERE id_siswa" + q + ")"),
                (Rows{{c.students, c.classRows, "0"}}));
    }
  });
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM siswa WHERE Nama='ANAK BARU'"), (Rows{{"0"}}));
}

// A deleted student leaves payments, savings and billing rows behind, in whatever year: a new student is never given
// that id (the old money would be shown and spent as the new student's), while a student who has a record and money
// stays editable.
TEST_F(StudentRecordTest, AnIdThatOldMoneyStillNamesIsNotGivenToANewStudent) {
  fintest::Exec(gDb,
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, sts) VALUES"
                " ('T1202306010800','2023-06-01','01-Setoran','Tabungan','T1',500000,0,'-'),"
                " ('20222023202210010800001','2022-10-01','SPP','A3','T2',140000,0,'p'),"
                " ('S01202409020800','2024-09-02','01-Setoran','Tabungan','S01',250000,0,'t');"
                "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('A3','T3',1680000);"
                "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('20232024T4','T4','VII-A','2023/2024')");
  const std::string path = WorkFile("data.db3");
  struct Case {
    const char* id;
    const char* what;
    bool saved;
  } cases[] = {{"T1", "savings of an earlier year", false},
               {"T2", "a payment of an earlier year", false},
               {"T3", "a billing row", false},
               {"T4", "only a class row of an earlier year", true}};
  RunAdd([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      Fill(c.id, "anak baru");
      if (c.saved)
        ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
      else
        ExpectMsgBox(std::string("Gagal menyimpan, Id/Kode ") + c.id +
                         " masih tercatat di data pembayaran, tabungan atau tagihan siswa lama, gunakan Id/Kode yang "
                         "lain..",
                     "Info", IDOK, kInfo);
      Click(gFormSiswaSaveButton);
      VerifySeams();
      EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), c.saved ? "" : c.id);   // a refused student stays in the form
      const std::string q = std::string("='") + c.id + "'";
      EXPECT_EQ(fintest::RowsInFile(path, "SELECT (SELECT count(*) FROM siswa WHERE Id" + q +
                                              "), (SELECT count(*) FROM siswakelas WHERE Tapel='2024/2025' AND "
                                              "IdSiswa" + q + ")"),
                (Rows{{c.saved ? "1" : "0", c.saved ? "1" : "0"}}));
    }
  });
  // The old money stays as it was, nobody's but the old student's.
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM detail_account WHERE id_siswa IN ('T1','T2','T3')"),
            (Rows{{"1"}}));
  // A listed student with savings is edited as before.
  LvSelectItem(gForm2List, RowOf("S01"));
  RunEdit([&] {
    CtlSetText(gFormSiswaAlamatEdit, "Jl. Dago 9");
    ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT Alamat FROM siswa WHERE Id='S01'"), (Rows{{"Jl. Dago 9"}}));
}

// The billing rows of a new student come from the class's fees read as the window opened: when that read failed, no
// student is saved (a student billed nothing would owe nothing), and the failure was shown.
TEST_F(StudentRecordTest, WithoutTheClassesFeesNoStudentIsSaved) {
  fintest::ReadDenied denied(gDb, "account", "Jumlah");
  ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);
  RunAdd([&] {
    denied.release();
    VerifySeams();
    Fill("S50", "anak baru");
    ExpectMsgBox("Akun pembayaran kelas tidak terbaca, siswa tidak disimpan. Tutup dan buka ulang form ini..", "Info",
                 IDOK, kInfo);
    Click(gFormSiswaSaveButton);
    VerifySeams();
  });
  EXPECT_EQ(fintest::RowsInFile(WorkFile("data.db3"), "SELECT (SELECT count(*) FROM siswa WHERE Id='S50'), (SELECT "
                                                      "count(*) FROM siswakelas WHERE IdSiswa='S50')"),
            (Rows{{"0", "0"}}));
  // Opened again with the fees read, the student goes in with the billing rows.
  RunAdd([&] {
    Fill("S50", "anak baru");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(fintest::RowsInFile(WorkFile("data.db3"), "SELECT count(*) FROM detail_account WHERE id_siswa='S50'"),
            (Rows{{"2"}}));
}

TEST_F(StudentRecordTest, FailingInsertLeavesNoRowsAtAll) {
  struct Case {
    const char* name;
    const char* trigger;
    const char* error;
  } cases[] = {
      {"second billing row",
       "CREATE TRIGGER t BEFORE INSERT ON detail_account WHEN NEW.id_account='A2' BEGIN SELECT RAISE(ABORT, 'gagal A2');"
       " END;",
       "SQL error: gagal A2"},
      {"class row",
       "CREATE TRIGGER t BEFORE INSERT ON siswakelas BEGIN SELECT RAISE(ABORT, 'gagal kelas'); END;",
       "SQL error: gagal kelas"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, c.trigger);
    const int rowsBefore = LvGetItemCount(gForm2List);
    RunAdd([&] {
      Fill("S40", "gagal");
      ExpectMsgBox(c.error, "Info", IDOK, MB_OK);
      Click(gFormSiswaSaveButton);
      // No success box; the form keeps the student for another try.
      EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), "S40");
      EXPECT_EQ(CtlGetText(gFormSiswaNamaEdit), "GAGAL");
    });
    EXPECT_EQ(Query("SELECT count(*) FROM siswa WHERE Id='S40'"), (Rows{{"0"}}));
    EXPECT_EQ(Query("SELECT count(*) FROM siswakelas WHERE IdSiswa='S40'"), (Rows{{"0"}}));
    EXPECT_EQ(Query("SELECT count(*) FROM detail_account"), (Rows{{"0"}}));
    EXPECT_EQ(LvGetItemCount(gForm2List), rowsBefore);
    EXPECT_EQ(sqlite3_get_autocommit(gDb), 1);   // no transaction left open
    fintest::Exec(gDb, "DROP TRIGGER t");
  }
  // The same student goes in once the database accepts it.
  RunAdd([&] {
    Fill("S40", "berhasil");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(Query("SELECT count(*) FROM detail_account WHERE id_siswa='S40'"), (Rows{{"2"}}));
}

TEST_F(StudentRecordTest, EditsTheMarkedStudentInBothLayouts) {
  struct Case {
    const char* name;
    bool fullLayout;
  } cases[] = {{"opening (short layout)", false}, {"class change (full layout)", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.fullLayout) {
      fintest::Exec(gDb, "UPDATE siswa SET Nama='BUDI', LP='L', TglLahir='2012-02-06', Alamat='Jl. Riau 2'"
                         " WHERE Id='S02'");
      FORM2_LoadListByClass();
    }
    const int columns = c.fullLayout ? 12 : 10;
    ASSERT_EQ(LvGetColumnCount(gForm2List), columns);
    const int row = RowOf("S02");
    LvSelectItem(gForm2List, row);
    RunEdit([&] {
      EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), "S02");
      EXPECT_EQ(CtlGetText(gFormSiswaNamaEdit), "BUDI");
      EXPECT_EQ(CtlGetText(gFormSiswaGenderCombo), "Laki - Laki");
      EXPECT_EQ(CtlGetText(gFormSiswaTmpLahirEdit), "Jakarta");
      EXPECT_EQ(CtlGetText(gFormSiswaTglLahirPicker), "2012-02-06");
      EXPECT_EQ(CtlGetText(gFormSiswaAgamaCombo), "Kristen");
      EXPECT_EQ(CtlGetText(gFormSiswaAlamatEdit), "Jl. Riau 2");
      EXPECT_EQ(CtlGetText(gFormSiswaKetEdit), "baru");   // the last column
      EXPECT_EQ(LvGetItemCount(gFormSiswaAccountList), 2);
      // The id is the key of the update: it cannot be changed.
      QTest::keyClicks(WinWidget(gFormSiswaIdEdit), "X");
      EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), "S02");

      CtlSetText(gFormSiswaNamaEdit, "budi o'hara");
      CbSetCurSel(gFormSiswaGenderCombo, 1);
      DtpSetDate(gFormSiswaTglLahirPicker, "2012-12-31");
      CtlSetText(gFormSiswaAlamatEdit, "Jl. D'Riau 2");
      ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
      Click(gFormSiswaSaveButton);
      EXPECT_FALSE(IsWindow(gFormSiswaWindow));   // closes after one save
    });
    EXPECT_EQ(Query("SELECT Nama, LP, TglLahir, Agama, Alamat, Ket, Status FROM siswa WHERE Id='S02'"),
              (Rows{{"BUDI O`HARA", "P", "2012-12-31", "Kristen", "Jl. D`Riau 2", "baru", "Aktif"}}));
    // The row shows what was typed; status and entry date as they were.
    std::vector<std::string> want = {"S02", "BUDI O'HARA", "P", "Jakarta", "2012-12-31", "Kristen", "Jl. D'Riau 2",
                                     "Aktif", "2023-7-1"};
    if (c.fullLayout) {
      want.push_back("VII-A");
      want.push_back("");
    }
    want.push_back("baru");
    EXPECT_EQ(ListRow(row), want);
  }
  EXPECT_EQ(Query("SELECT count(*) FROM siswa"), (Rows{{"4"}}));
}

// Free texts longer than a list cell (259 characters) come into the edit whole, from the file: an edit of the gender
// keeps them whole.
TEST_F(StudentRecordTest, AnEditKeepsTextsLongerThanAListCellWhole) {
  const std::string nama = "BUDI " + std::string(270, 'B');
  const std::string tmpLahir = "Kota " + std::string(280, 't');
  const std::string alamat = "Jl. Riau No. 2, " + std::string(290, 'a');
  const std::string ket = "pindahan " + std::string(300, 'k');
  fintest::Exec(gDb, "UPDATE siswa SET Nama=" + SqlQuoted(nama) + ", TmpLahir=" + SqlQuoted(tmpLahir) +
                         ", Alamat=" + SqlQuoted(alamat) + ", Ket=" + SqlQuoted(ket) + " WHERE Id='S02'");
  FORM2_LoadListByClass();
  const int row = RowOf("S02");
  ASSERT_LT(LvGetItemText(gForm2List, row, 6).size(), alamat.size());   // the list cell gives it cut
  LvSelectItem(gForm2List, row);
  RunEdit([&] {
    EXPECT_EQ(CtlGetText(gFormSiswaNamaEdit), nama);
    EXPECT_EQ(CtlGetText(gFormSiswaTmpLahirEdit), tmpLahir);
    EXPECT_EQ(CtlGetText(gFormSiswaAlamatEdit), alamat);
    EXPECT_EQ(CtlGetText(gFormSiswaKetEdit), ket);
    CbSetCurSel(gFormSiswaGenderCombo, 1);   // the gender alone is changed
    ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(fintest::RowsInFile(WorkFile("data.db3"), "SELECT Nama, LP, TmpLahir, Alamat, Ket FROM siswa WHERE Id='S02'"),
            (Rows{{nama, "P", tmpLahir, alamat, ket}}));
}

// An edit of a student that another program deleted after the window opened changes nothing and says so: no
// "berhasil dirubah", and the list row stays as it was.
TEST_F(StudentRecordTest, AnEditOfAStudentAnotherProgramDeletedSaysNothingWasChanged) {
  const std::string path = WorkFile("data.db3");
  fintest::OtherProgram other(path);
  const int row = RowOf("S02");
  const std::vector<std::string> listRow = ListRow(row);
  LvSelectItem(gForm2List, row);
  RunEdit([&] {
    ASSERT_EQ(other.Write("DELETE FROM siswa WHERE Id='S02'"), SQLITE_OK);
    CtlSetText(gFormSiswaAlamatEdit, "Jl. Baru 1");
    ExpectMsgBox(kFormSiswaNotFound, "Info", IDOK, kInfo);
    Click(gFormSiswaSaveButton);
    VerifySeams();
    EXPECT_FALSE(IsWindow(gFormSiswaWindow));   // the edit closes after its one save
  });
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT count(*) FROM siswa WHERE Id='S02' OR Alamat='Jl. Baru 1'"),
            (Rows{{"0"}}));
  EXPECT_EQ(ListRow(row), listRow);
}

TEST_F(StudentRecordTest, EditLeavesTheWorkingYearsClassAlone) {
  // A search lists S03 (VII-B this year, VII-A last year) while the list's class stays VII-A.
  CtlSetText(gForm2SearchEdit, "CICI");
  QTest::keyClick(WinWidget(gForm2SearchEdit), Qt::Key_Return);
  ASSERT_EQ(CtlGetText(gForm2ClassCombo), "VII-A");
  ASSERT_EQ(LvGetItemCount(gForm2List), 1);
  LvSelectItem(gForm2List, RowOf("S03"));
  RunEdit([&] {
    EXPECT_EQ(CtlGetText(gFormSiswaGenderCombo), "Perempuan");
    EXPECT_EQ(CbGetCurSel(gFormSiswaAgamaCombo), CB_ERR);   // no religion recorded: none chosen
    ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(Query("SELECT Kode, Kelas FROM siswakelas WHERE IdSiswa='S03' ORDER BY Kode"),
            (Rows{{"20232024S03", "VII-A"}, {"20242025S03", "VII-B"}}));
  EXPECT_EQ(Query("SELECT Agama FROM siswa WHERE Id='S03'"), (Rows{{""}}));
}

TEST_F(StudentRecordTest, ReligionFoundByItsBeginning) {
  LvSelectItem(gForm2List, RowOf("S01"));
  RunEdit([&] { EXPECT_EQ(CtlGetText(gFormSiswaAgamaCombo), "Kong Hu Chu"); });
}

TEST_F(StudentRecordTest, EditWithoutAMarkedRowChangesNoStudent) {
  LvDeleteAllItems(gForm2List);   // nothing to mark
  RunEdit([&] {
    EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), "");
    CtlSetText(gFormSiswaNamaEdit, "SIAPA");
    Click(gFormSiswaSaveButton);
    EXPECT_FALSE(IsWindow(gFormSiswaWindow));
  });
  EXPECT_EQ(Query("SELECT Nama FROM siswa WHERE Id=''"), (Rows{{"TANPA ID"}}));
}

TEST_F(StudentRecordTest, PhotoIsBroughtInForOneStudentInPlaceOfTheOldOne) {
  const std::string red = Bitmap("merah.bmp", Qt::red);
  const std::string blue = Bitmap("biru.bmp", Qt::blue);
  std::filesystem::create_directory(WorkFile("image"));
  fintest::WriteFile(WorkFile("image/S51.bmp"), "old photo");
  RunAdd([&] {
    EXPECT_FALSE(PhotoShown());
    AnswerFileDialog(red);
    Click(gFormSiswaPhotoButton);
    EXPECT_EQ(gPhotoPath, red);
    EXPECT_TRUE(PhotoShown());
    EXPECT_FALSE(std::filesystem::exists(WorkFile("image/S50.bmp")));   // nothing copied yet
    Fill("S50", "foto");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
    // The photo belongs to that student only.
    EXPECT_EQ(gPhotoPath, "");
    EXPECT_FALSE(PhotoShown());

    AnswerFileDialog(blue);   // a photo chosen for a student who has one replaces it
    Click(gFormSiswaPhotoButton);
    Fill("S51", "foto lama");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);

    Fill("S52", "tanpa foto");   // no photo chosen: none copied
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/S50.bmp")), fintest::ReadFile(red));
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/S51.bmp")), fintest::ReadFile(blue));
  EXPECT_FALSE(std::filesystem::exists(WorkFile("image/S52.bmp")));
  ASSERT_EQ(fileDialogs().size(), 2u);
  EXPECT_EQ(fileDialogs()[0].request.title, "Select Bitmap File");
  EXPECT_EQ(fileDialogs()[0].request.filter, "Bitmap files (*.bmp)|*.bmp|All Files (*.*)|*.*");
}

TEST_F(StudentRecordTest, EditShowsThePhotoAndMayBringOneIn) {
  const std::string red = Bitmap("merah.bmp", Qt::red);
  LvSelectItem(gForm2List, RowOf("S02"));
  gPhotoPath = red;   // chosen in an earlier window: forgotten on opening
  RunEdit([&] {
    EXPECT_FALSE(PhotoShown());
    EXPECT_EQ(gPhotoPath, "");
    AnswerFileDialog(red);
    Click(gFormSiswaPhotoButton);
    ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/S02.bmp")), fintest::ReadFile(red));
  RunEdit([&] { EXPECT_TRUE(PhotoShown()); });
  // Another photo chosen in a later edit replaces it; an edit without a choice keeps it.
  const std::string blue = Bitmap("biru.bmp", Qt::blue);
  for (bool choose : {true, false}) {
    SCOPED_TRACE(choose);
    RunEdit([&] {
      if (choose) {
        AnswerFileDialog(blue);
        Click(gFormSiswaPhotoButton);
      }
      ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
      Click(gFormSiswaSaveButton);
    });
    EXPECT_EQ(fintest::ReadFile(WorkFile("image/S02.bmp")), fintest::ReadFile(blue));
    EXPECT_FALSE(std::filesystem::exists(WorkFile("image/S02.bmp.baru")));
  }
}


TEST_F(StudentRecordTest, SavesIntoTheListItWasOpenedFromWhateverIsClickedMeanwhile) {
  // Two student lists: the first shows VII-A, the second VII-B.
  const Hwnd first = gForm2Window;
  const Hwnd firstList = gForm2List, firstToolbar = gForm2Toolbar;
  ASSERT_EQ(CtlGetText(gForm2ClassCombo), "VII-A");
  const Hwnd second = static_cast<Hwnd>(FORM2_Show(gMdiClient, 1, 0));
  ASSERT_TRUE(IsWindow(second));
  fintest::Choose(gForm2ClassCombo, "VII-B");
  const Hwnd secondList = gForm2List;
  ASSERT_EQ(LvGetItemCount(secondList), 1);   // S03
  const int firstRows = LvGetItemCount(firstList);
  const std::string red = Bitmap("merah.bmp", Qt::red);

  // Adding from the first list; a row of the second list is clicked before each save, and the second list is
  // closed before the last one.
  OnModal([&](QWidget*) {
    fintest::ClickListRow(secondList, 0);
    EXPECT_EQ(gForm2Window, second);   // the click made the second list the current one
    Fill("S10", "baru satu");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
    WinDestroyWindow(second);
    EXPECT_FALSE(IsWindow(second));
    Fill("S11", "baru dua");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Click(gFormSiswaSaveButton);
    FrmClose(gFormSiswaWindow, 0);
  });
  ASSERT_EQ(TbClickButton(firstToolbar, gForm2AddButtonId), 1);
  VerifySeams();
  // Both students are in the first list's class and billed with its fees (A1, A2), never VII-B's (A4).
  EXPECT_EQ(Query("SELECT IdSiswa, Kelas, Tapel FROM siswakelas WHERE IdSiswa IN ('S10','S11') ORDER BY IdSiswa"),
            (Rows{{"S10", "VII-A", "2024/2025"}, {"S11", "VII-A", "2024/2025"}}));
  EXPECT_EQ(Query("SELECT id_siswa, id_account FROM detail_account WHERE id_siswa IN ('S10','S11')"
                  " ORDER BY id_siswa, id_account"),
            (Rows{{"S10", "A1"}, {"S10", "A2"}, {"S11", "A1"}, {"S11", "A2"}}));
  // The first list shows them.
  EXPECT_EQ(LvGetItemCount(firstList), firstRows + 2);
  EXPECT_EQ(LvGetItemText(firstList, firstRows, 0), "S10");
  EXPECT_EQ(LvGetItemText(firstList, firstRows + 1, 0), "S11");

  // Editing the student marked in the first list while a row of another list is clicked: the first list's student
  // is written back into the first list's row and the photo is kept under that student's id.
  const Hwnd third = static_cast<Hwnd>(FORM2_Show(gMdiClient, 1, 0));
  ASSERT_TRUE(IsWindow(third));
  fintest::Choose(gForm2ClassCombo, "VII-B");
  const Hwnd thirdList = gForm2List;
  const std::vector<std::string> thirdBefore = fintest::ListRows(thirdList)[0];
  int s01 = -1;
  for (int r = 0; r < LvGetItemCount(firstList); ++r)
    if (LvGetItemText(firstList, r, 0) == "S01") s01 = r;
  ASSERT_GE(s01, 0);
  LvSelectItem(firstList, s01);
  LvSelectItem(thirdList, 0);   // S03 marked in the other list
  OnModal([&](QWidget*) {
    EXPECT_EQ(CtlGetText(gFormSiswaIdEdit), "S01");
    AnswerFileDialog(red);
    Click(gFormSiswaPhotoButton);
    Type(gFormSiswaNamaEdit, "ani baru");
    fintest::ClickListRow(thirdList, 0);
    EXPECT_EQ(gForm2Window, third);
    EXPECT_EQ(LvGetSelectionMark(gForm2List), 0);
    ExpectMsgBox("Data Siswa berhasil dirubah..", "Edit Data..", IDOK, kInfo);
    Click(gFormSiswaSaveButton);
  });
  ASSERT_EQ(TbClickButton(firstToolbar, gForm2EditButtonId), 1);
  VerifySeams();
  EXPECT_EQ(Query("SELECT Id, Nama FROM siswa WHERE Id IN ('S01','S03') ORDER BY Id"),
            (Rows{{"S01", "ANI BARU"}, {"S03", "CICI"}}));
  EXPECT_EQ(LvGetItemText(firstList, s01, 1), "ANI BARU");
  EXPECT_EQ(fintest::ListRows(thirdList)[0], thirdBefore);
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/S01.bmp")), fintest::ReadFile(red));
  EXPECT_FALSE(std::filesystem::exists(WorkFile("image/S03.bmp")));
  WinDestroyWindow(third);
  EXPECT_TRUE(IsWindow(first));
}

TEST_F(StudentRecordTest, CancelledPhotoDialogKeepsNoPhoto) {
  RunAdd([&] {
    CancelFileDialog();
    Click(gFormSiswaPhotoButton);
    EXPECT_EQ(gPhotoPath, "");
    EXPECT_FALSE(PhotoShown());
  });
}

// ----- the computations on their own ------------------------------------------------------------------------------
TEST(StudentRecordComputations, EntryDateFreeTextAndBilling) {
  EXPECT_EQ(FORMSISWA_EntryDate(QDate(2021, 3, 5)), "2021-3-5");
  EXPECT_EQ(FORMSISWA_EntryDate(QDate(2024, 12, 31)), "2024-12-31");
  EXPECT_EQ(FORMSISWA_FreeText("O'NEIL 'X'"), "O`NEIL `X`");
  struct Case {
    const char* jumlah;
    const char* type;
    long long total, month;
  } cases[] = {
      {"150000", "Perbulan", 1800000, 150000},
      {"1000000", "Pertahun", 1000000, 0},
      {"250000", "perbulan", 250000, 0},   // only exactly "Perbulan" is monthly
      {"", "Perbulan", 0, 0},              // never an empty amount
      {"abc", "Pertahun", 0, 0},
  };
  for (const Case& c : cases) {
    const FormSiswaBilling b = FORMSISWA_Billing({"A", c.jumlah, c.type});
    EXPECT_EQ(b.total, c.total) << c.jumlah << " " << c.type;
    EXPECT_EQ(b.month, c.month) << c.jumlah << " " << c.type;
  }
}

TEST(StudentRecordComputations, Statements) {
  FormSiswaStudent s{"S1'", "A'B", "L", "T'M", "2010-01-02", "Islam", "Al'amat", "K'et"};
  const std::vector<std::string> sql =
      FORMSISWA_InsertSql(s, "VII'A", "2024/2025", "2021-3-5", {{"A'1", "5000", "Perbulan"}});
  ASSERT_EQ(sql.size(), 3u);
  EXPECT_EQ(sql[0],
            "Insert Into siswa (Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Ket, Status, TglMasuk, Jenjang) "
            "Values('S1''','A`B','L','T`M','2010-01-02','Islam','Al`amat','K`et','Aktif','2021-3-5','-')");
  EXPECT_EQ(sql[1], "INSERT INTO siswakelas (Kode,IdSiswa,Kelas,Jenjang,Tapel) VALUES ('20242025S1''','S1''',"
                    "'VII''A','-','2024/2025')");
  EXPECT_EQ(sql[2], "Insert Into detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, "
                    "oktober, nopember, desember, januari, februari, maret, april, mei, juni) Values('A''1','S1''',"
                    "'60000','5000','5000','5000','5000','5000','5000','5000','5000','5000','5000','5000','5000')");
  EXPECT_EQ(FORMSISWA_UpdateSql(s), "Update siswa Set Nama='A`B',LP='L',TmpLahir='T`M',TglLahir='2010-01-02',"
                                    "Agama='Islam',Alamat='Al`amat',Ket='K`et' WHERE Id='S1'''");
  EXPECT_EQ(FORMSISWA_CountSql("a'b"), "Select Count(*) From siswa WHERE Id='a''b'");
  EXPECT_EQ(FORMSISWA_PhotoFile("S1"), "image/S1.bmp");
  EXPECT_EQ(FORMSISWA_PhotoFile("../x"), "");
  EXPECT_EQ(FORMSISWA_PhotoFile(""), "");
}

}  // namespace
