// The billing detail editor FORM28, opened from the fee list for the marked fee: loading, creating the billing rows,
// month and yearly edits, paste, the write-back and the delete, each writing all its rows or none.
#include <QPalette>
#include <limits>

#include "accounts/fee_test_fixture.h"
#include "support/read_denied.h"

namespace {

using namespace std::string_literals;
using feetest::FeeTest;
using feetest::Rows;
using feetest::Twelve;

const char* kUpdated = "Update data telah selesai dijalankan..";

class BillingEditorTest : public FeeTest {
 protected:
  void SetUp() override {
    Seed();
    fintest::Exec(gDb,
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-TKA20230001','SPP','TK A',150000,'Perbulan','2023/2024','411'),"
                  " ('BR-TKA20230002','Buku','TK A',300000,'Pertahun','2023/2024','412'),"
                  " ('BR-TKA20230003','Les','TK A','50001','Perbulan','2023/2024','411'),"
                  " ('BR-TKA20230004','Komite','TK A',250000,'Pertahun','2023/2024','411');"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, "
                  "oktober, nopember, desember, januari, februari, maret, april, mei, juni) VALUES"
                  " ('BR-TKA20230001','S2',1000,100,100,100,100,100,100,100,100,100,100,0,0),"
                  " ('BR-TKA20230001','S1',1800000,150000,150000,150000,150000,150000,150000,150000,150000,150000,"
                  "150000,150000,150000),"
                  " ('BR-TKA20230001','S9',12,1,1,1,1,1,1,1,1,1,1,1,1);"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES"
                  " ('BR-TKA20230004','S1',250000),('BR-TKA20230004','S3',200000);"
                  "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES ('T1','BR-TKA20230001','S1',5,'p');");
    OpenFeeList();
  }
  // Opens the editor for fee list row `row`; `drive` runs inside and must close it.
  void Edit(int row, std::function<void(Hwnd)> drive) {
    if (row >= 0) LvSelectItem(gForm6List, row);
    CommandModal(gForm6DetailId, [&](Hwnd form) {
      EXPECT_EQ(form, gForm28Window);
      drive(form);
      if (IsWindow(form)) FrmClose(form, 0);
    });
  }
  Rows Billing(const std::string& fee) {
    return Query("select id_siswa, jml_pembayaran, juli, agustus, september, oktober, nopember, desember, januari, "
                 "februari, maret, april, mei, juni from detail_account where id_account='" + fee + "' order by rowid");
  }
  static std::vector<std::string> Row(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  }
  static std::vector<std::string> Months(std::initializer_list<const char*> first, const char* rest) {
    std::vector<std::string> m(first.begin(), first.end());
    while (m.size() < 12) m.push_back(rest);
    return m;
  }
};

TEST_F(BillingEditorTest, OpensAMonthlyFeeWithItsBillingRows) {
  Edit(0, [&](Hwnd form) {
    EXPECT_EQ(WinGetWindowText(form), "Detail Akun Pembayaran");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM28_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gForm6Window));
    EXPECT_EQ(CtlGetText(gForm28AkunEdit), "BR-TKA20230001");
    EXPECT_EQ(CtlGetText(gForm28PembayaranEdit), "SPP");
    EXPECT_EQ(CtlGetText(gForm28JenisEdit), "Perbulan");
    EXPECT_EQ(CtlGetText(gForm28PaguEdit), "150000");
    EXPECT_FALSE(FORM28_IsYearly());
    std::vector<std::string> captions = {"No.", "Id_Siswa", "Nama"};
    for (const char* m : {"Juli", "Agustus", "September", "Oktober", "Nopember", "Desember", "Januari", "Februari",
                          "Maret", "April", "Mei", "Juni"})
      captions.push_back(m);
    EXPECT_EQ(Captions(gForm28List), captions);
    EXPECT_EQ(LvGetColumnAlign(gForm28List, 0), LVCFMT_CENTER);
    EXPECT_EQ(LvGetColumnAlign(gForm28List, 2), LVCFMT_LEFT);
    EXPECT_EQ(LvGetColumnAlign(gForm28List, 14), LVCFMT_RIGHT);
    EXPECT_EQ(LvGetColumnWidth(gForm28List, 2), 250);
    EXPECT_EQ(LvGetColumnWidth(gForm28List, 3), 80);
    // Rows in the database's order; a student that no longer exists has no name.
    EXPECT_EQ(ListRows(gForm28List),
              (Rows{Row({"1", "S2", "Budi"}, Months({"100", "100", "100", "100", "100", "100", "100", "100", "100",
                                                       "100"}, "0")),
                    Row({"2", "S1", "Ani"}, Twelve("150000")), Row({"3", "S9", ""}, Twelve("1"))}));
    // Rows exist, yet the students who have none can still be billed.
    EXPECT_TRUE(WinIsWindowEnabled(gForm28CreateButton));
    EXPECT_FALSE(WinIsWindowEnabled(gForm28TotalEdit));
    for (int k = 1; k <= 12; ++k) {
      EXPECT_TRUE(WinIsWindowEnabled(gForm28MonthEdit[k]));
      EXPECT_EQ(FrmDataOf(gForm28MonthEdit[k])->backColor, WinRgb(255, 255, 128));
    }
    EXPECT_EQ(CtlGetText(gForm28MonthLabel[3]), "September");
    EXPECT_EQ(CtlGetToolTip(gForm28MonthEdit[1]), "Rubah pada kolom ini, kemudian tekan Enter untuk update data..");
    EXPECT_EQ(CtlGetToolTip(gForm28TotalEdit), "Bila jenis pembayaran Pertahun, rubah langsung nilai pada kolom ini");
    for (auto [h, t] : std::vector<std::pair<Hwnd, const char*>>{{gForm28CreateButton, "Buat Detail Account"},
                                                                  {gForm28DeleteButton, "Hapus Detail Account"},
                                                                  {gForm28UpdateButton, "Update Data"},
                                                                  {gForm28CloseButton, "Selesai"},
                                                                  {gForm28FeeGroup, "Akun Pembayaran"},
                                                                  {gForm28StudentGroup, "Akun Pembayaran Per Siswa"}})
      EXPECT_EQ(CtlGetText(h), t);
    Click(gForm28CloseButton);
    EXPECT_FALSE(IsWindow(form));
  });
  EXPECT_TRUE(WinIsWindowEnabled(gForm6Window));
}

TEST_F(BillingEditorTest, OpensAYearlyFeeWithOneAmountColumn) {
  Edit(3, [&](Hwnd) {
    EXPECT_TRUE(FORM28_IsYearly());
    EXPECT_EQ(Captions(gForm28List), (std::vector<std::string>{"No.", "Id_Siswa", "Nama", "Jumlah Tagihan"}));
    EXPECT_EQ(LvGetColumnWidth(gForm28List, 3), 180);
    EXPECT_EQ(ListRows(gForm28List), (Rows{{"1", "S1", "Ani", "250000"}, {"2", "S3", "Citra", "200000"}}));
    EXPECT_TRUE(WinIsWindowEnabled(gForm28TotalEdit));
    const WindowData* total = FrmDataOf(gForm28TotalEdit);
    EXPECT_EQ(total->foreColor, WinRgb(0, 0, 0));
    EXPECT_EQ(total->backColor, WinRgb(255, 255, 128));
    for (int k = 1; k <= 12; ++k) {
      EXPECT_FALSE(WinIsWindowEnabled(gForm28MonthEdit[k]));
      EXPECT_EQ(FrmDataOf(gForm28MonthEdit[k])->backColor, WinRgb(255, 255, 255));
    }
  });
}

TEST_F(BillingEditorTest, CreatesTheRowsOfEveryStudentOfTheClass) {
  Edit(2, [&](Hwnd) {   // Les: monthly, a default of 50001, no rows yet
    EXPECT_TRUE(WinIsWindowEnabled(gForm28CreateButton));
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    Click(gForm28CreateButton);
    EXPECT_EQ(ListRows(gForm28List), (Rows{Row({"1", "S1", "Ani"}, Twelve("50001")),
                                           Row({"2", "S2", "Budi"}, Twelve("50001")),
                                           Row({"3", "S3", "Citra"}, Twelve("50001"))}));
    EXPECT_EQ(PbGetPos(gForm28Progress), 100);
    EXPECT_FALSE(WinIsWindowEnabled(gForm28CreateButton));
  });
  EXPECT_EQ(Billing("BR-TKA20230003"), (Rows{Row({"S1", "600012"}, Twelve("50001")),
                                             Row({"S2", "600012"}, Twelve("50001")),
                                             Row({"S3", "600012"}, Twelve("50001"))}));
  // The fee list's count changes when it is reloaded.
  EXPECT_EQ(LvGetItemText(gForm6List, 2, 6), "0");
  Command(gForm6RefreshId);
  EXPECT_EQ(LvGetItemText(gForm6List, 2, 6), "3");
}

TEST_F(BillingEditorTest, CreateBillsOnlyTheStudentsWithoutARow) {
  // SPP is billed to S2, S1 and S9 (no student any more); S3 came into TK A after the fee was billed, S8 just now.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('S8','Hana');"
                     "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('20232024S8','S8','TK A','2023/2024')");
  const Rows before = Billing("BR-TKA20230001");
  Edit(0, [&](Hwnd) {
    EXPECT_EQ(LvGetItemCount(gForm28List), 3);
    Click(gForm28CreateButton);
    const Rows rows = ListRows(gForm28List);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3], Row({"4", "S3", "Citra"}, Twelve("150000")));
    EXPECT_EQ(rows[4], Row({"5", "S8", "Hana"}, Twelve("150000")));
    EXPECT_EQ(PbGetPos(gForm28Progress), 100);
    EXPECT_FALSE(WinIsWindowEnabled(gForm28CreateButton));
  });
  Rows after = before;
  after.push_back(Row({"S3", "1800000"}, Twelve("150000")));
  after.push_back(Row({"S8", "1800000"}, Twelve("150000")));
  EXPECT_EQ(Billing("BR-TKA20230001"), after);   // the rows that were there are as they were
  // Opened again, there is nobody left to bill.
  Edit(0, [&](Hwnd) {
    Click(gForm28CreateButton);
    EXPECT_EQ(LvGetItemCount(gForm28List), 5);
  });
  EXPECT_EQ(Billing("BR-TKA20230001"), after);
}

TEST_F(BillingEditorTest, CreateBillsTheFeesOwnClassNotTheOneTheFeeListShows) {
  fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                     " ('BR-VIIA20230005','Seragam','VII A',400000,'Pertahun','2023/2024')");
  ASSERT_EQ(CtlGetText(gForm6KelasCombo), "TK A");
  CtlSetText(gForm6SearchEdit, "Seragam");
  PressEnter(gForm6SearchEdit);
  ASSERT_EQ(LvGetItemCount(gForm6List), 1);
  Edit(0, [&](Hwnd) {
    Click(gForm28CreateButton);
    EXPECT_EQ(ListRows(gForm28List), (Rows{{"1", "S4", "Dedi", "400000"}, {"2", "S5", "Eka", "400000"}}));
  });
  EXPECT_EQ(Query("select id_siswa, jml_pembayaran from detail_account where id_account='BR-VIIA20230005' order by "
                  "id_siswa"),
            (Rows{{"S4", "400000"}, {"S5", "400000"}}));
}

TEST_F(BillingEditorTest, ACreateDuringAnotherProgramsReadFailsWholeAndTheRetryLands) {
  feetest::OtherProgram other(WorkFile("keuangan.db3"));
  other.holdReadLock();
  Edit(2, [&](Hwnd) {   // Les: no rows yet
    ExpectMsgBox("SQL error: database is locked", "Info", IDOK, MB_OK);
    Click(gForm28CreateButton);
    VerifySeams();
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    EXPECT_TRUE(WinIsWindowEnabled(gForm28CreateButton));
    other.release();
    EXPECT_EQ(other.Query("select count(*) from detail_account where id_account='BR-TKA20230003'"), (Rows{{"0"}}));
    Click(gForm28CreateButton);
    EXPECT_EQ(LvGetItemCount(gForm28List), 3);
  });
  EXPECT_EQ(other.Query("select id_siswa from detail_account where id_account='BR-TKA20230003' order by id_siswa"),
            (Rows{{"S1"}, {"S2"}, {"S3"}}));
}

// Two programs on one file (the program started twice, or two desks on a shared folder): the other program bills a
// student of the class for the fee right after this editor has read which students still have no row. The editor
// reads and writes in one transaction, so the other program's row cannot come in between: every student of the class
// has one billing row of the fee.
TEST_F(BillingEditorTest, AStudentAnotherProgramBillsAfterTheReadIsNotBilledTwice) {
  const std::string path = WorkFile("keuangan.db3");
  feetest::OtherProgram other(path);
  Edit(2, [&](Hwnd) {   // Les: no rows yet
    fintest::WritesAfterCheck between(gDb, other, "select idsiswa, nama from siswakelas",
                                      "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES "
                                      "('BR-TKA20230003','S1',600012)");
    Click(gForm28CreateButton);
    EXPECT_TRUE(between.fired());
    EXPECT_FALSE(between.written());   // held off until the editor's rows are written
    EXPECT_EQ(LvGetItemCount(gForm28List), 3);
  });
  EXPECT_EQ(fintest::RowsInFile(path, "select id_siswa, count(*) from detail_account where "
                                      "id_account='BR-TKA20230003' group by id_siswa order by id_siswa"),
            (Rows{{"S1", "1"}, {"S2", "1"}, {"S3", "1"}}));
}

TEST_F(BillingEditorTest, CreatesYearlyRowsAsWholeRupiah) {
  Edit(1, [&](Hwnd) {
    fintest::Type(gForm28PaguEdit, "325.000");   // as the program shows money
    Click(gForm28CreateButton);
    EXPECT_EQ(ListRows(gForm28List), (Rows{{"1", "S1", "Ani", "325000"}, {"2", "S2", "Budi", "325000"},
                                           {"3", "S3", "Citra", "325000"}}));
  });
  EXPECT_EQ(Billing("BR-TKA20230002"),
            (Rows{Row({"S1", "325000"}, Twelve("0")), Row({"S2", "325000"}, Twelve("0")),
                  Row({"S3", "325000"}, Twelve("0"))}));
}

TEST_F(BillingEditorTest, AFailingRowCreatesNoRowAtAll) {
  fintest::Exec(gDb, "CREATE TRIGGER no_s3 BEFORE INSERT ON detail_account WHEN NEW.id_siswa='S3' "
                     "BEGIN SELECT RAISE(ABORT, 'siswa ditolak'); END;");
  ExpectMsgBox("SQL error: siswa ditolak", "Info", IDOK, MB_OK);
  Edit(2, [&](Hwnd) {
    Click(gForm28CreateButton);
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    EXPECT_TRUE(WinIsWindowEnabled(gForm28CreateButton));   // another try stays possible
  });
  EXPECT_TRUE(Billing("BR-TKA20230003").empty());
}

// "Buat Detail Account" reads the students still to bill before it writes: when that read fails nothing is created
// and the command stays open.
TEST_F(BillingEditorTest, ACreateWhoseStudentsCannotBeReadCreatesNothing) {
  Edit(2, [&](Hwnd) {   // Les: no rows yet
    {
      fintest::ReadDenied denied(gDb, "siswa", "Nama");
      ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);
      Click(gForm28CreateButton);
      VerifySeams();
    }
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    EXPECT_TRUE(WinIsWindowEnabled(gForm28CreateButton));
  });
  EXPECT_EQ(fintest::RowsInFile(WorkFile("keuangan.db3"),
                                "select count(*) from detail_account where id_account='BR-TKA20230003'"),
            (Rows{{"0"}}));
}

TEST_F(BillingEditorTest, AClassWithoutStudentsGetsNoRows) {
  fintest::Exec(gDb, "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S99','Kosong','2023/2024');"
                     "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                     " ('BR-Kosong20230009','SPP','Kosong',1000,'Perbulan','2023/2024')");
  Command(gForm6RefreshId);
  fintest::Choose(gForm6KelasCombo, "Kosong");
  Edit(0, [&](Hwnd) {
    Click(gForm28CreateButton);
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    EXPECT_FALSE(WinIsWindowEnabled(gForm28CreateButton));
  });
  EXPECT_TRUE(Billing("BR-Kosong20230009").empty());
}

TEST_F(BillingEditorTest, ClickEnterAndUpdateWriteTheMonths) {
  ExpectMsgBox(kUpdated, "Info", IDOK, MB_OK);
  Edit(0, [&](Hwnd) {
    ClickRow(gForm28List, 0);   // S2
    EXPECT_EQ(CtlGetText(gForm28IdSiswaEdit), "S2");
    EXPECT_EQ(CtlGetText(gForm28NamaEdit), "Budi");
    EXPECT_EQ(CtlGetText(gForm28MonthEdit[10]), "100");
    EXPECT_EQ(CtlGetText(gForm28MonthEdit[12]), "0");
    EXPECT_EQ(CtlGetText(gForm28TotalEdit), "1000");
    // An amount entered in September bills it from September to June; earlier months keep theirs.
    CtlSetText(gForm28MonthEdit[3], "120000");
    PressEnter(gForm28MonthEdit[3]);
    EXPECT_EQ(CtlGetText(gForm28MonthEdit[2]), "100");
    EXPECT_EQ(CtlGetText(gForm28MonthEdit[12]), "120000");
    EXPECT_EQ(CtlGetText(gForm28TotalEdit), "1200200");
    EXPECT_EQ(ListRows(gForm28List)[0], Row({"1", "S2", "Budi"}, Months({"100", "100"}, "120000")));
    // Enter in Juni changes only Juni.
    CtlSetText(gForm28MonthEdit[12], "5");
    PressEnter(gForm28MonthEdit[12]);
    EXPECT_EQ(LvGetItemText(gForm28List, 0, 14), "5");
    EXPECT_EQ(LvGetItemText(gForm28List, 0, 13), "120000");
    // Another row: Enter in Juli sets the whole year.
    ClickRow(gForm28List, 2);
    EXPECT_EQ(CtlGetText(gForm28IdSiswaEdit), "S9");
    CtlSetText(gForm28MonthEdit[1], "7");
    PressEnter(gForm28MonthEdit[1]);
    EXPECT_EQ(ListRows(gForm28List)[2], Row({"3", "S9", ""}, Twelve("7")));
    EXPECT_EQ(CtlGetText(gForm28TotalEdit), "84");
    // Cells holding fractions are written as whole rupiah, the total their sum.
    const std::vector<std::string> odd = Months({"100", "200.4", "300.4"}, "0");
    for (int k = 0; k < 12; ++k) LvSetItemText(gForm28List, 1, 3 + k, odd[k]);
    Click(gForm28UpdateButton);
    EXPECT_EQ(PbGetPos(gForm28Progress), 100);
    EXPECT_EQ(ListRows(gForm28List)[1], Row({"2", "S1", "Ani"}, Months({"100", "200", "300"}, "0")));
  });
  EXPECT_EQ(Billing("BR-TKA20230001"),
            (Rows{Row({"S2", "1080205"}, Months({"100", "100", "120000", "120000", "120000", "120000", "120000",
                                                   "120000", "120000", "120000", "120000"}, "5")),
                  Row({"S1", "600"}, Months({"100", "200", "300"}, "0")), Row({"S9", "84"}, Twelve("7"))}));
  EXPECT_EQ(One("select count(*) from detail_account where typeof(juli)<>'integer' or typeof(jml_pembayaran)<>"
                "'integer'"),
            "2");   // only the yearly fee's rows seeded without months
}

TEST_F(BillingEditorTest, YearlyAmountsByEnterAndUpdate) {
  ExpectMsgBox(kUpdated, "Info", IDOK, MB_OK);
  Edit(3, [&](Hwnd) {
    ClickRow(gForm28List, 1);
    EXPECT_EQ(CtlGetText(gForm28TotalEdit), "200000");
    CtlSetText(gForm28TotalEdit, "225000");
    PressEnter(gForm28TotalEdit);
    EXPECT_EQ(LvGetItemText(gForm28List, 1, 3), "225000");
    Click(gForm28UpdateButton);
  });
  EXPECT_EQ(Query("select id_siswa, jml_pembayaran, juli from detail_account where id_account='BR-TKA20230004' "
                  "order by rowid"),
            (Rows{{"S1", "250000", "<null>"}, {"S3", "225000", "<null>"}}));
}

TEST_F(BillingEditorTest, AFailingUpdateWritesNoRow) {
  fintest::Exec(gDb, "CREATE TRIGGER no_s9 BEFORE UPDATE ON detail_account WHEN OLD.id_siswa='S9' "
                     "BEGIN SELECT RAISE(ABORT, 'terkunci'); END;");
  ExpectMsgBox("SQL error: terkunci", "Info", IDOK, MB_OK);   // and no "telah selesai"
  const Rows before = Billing("BR-TKA20230001");
  Edit(0, [&](Hwnd) {
    ClickRow(gForm28List, 0);
    CtlSetText(gForm28MonthEdit[1], "9");
    PressEnter(gForm28MonthEdit[1]);
    Click(gForm28UpdateButton);
  });
  EXPECT_EQ(Billing("BR-TKA20230001"), before);   // S2 and S1 were undone with it
}

// Another program on the file deletes billing rows of the fee while the editor shows them. An update that finds none
// of its rows says that nothing was saved; one that still finds some writes those and reports as ever (a list row
// without its billing row changes nothing).
TEST_F(BillingEditorTest, AnUpdateWhoseRowsAnotherProgramDeletedSaysNothingWasSaved) {
  const char* kNothingSaved = "Detail account tidak ditemukan, tidak ada data yang disimpan..";
  struct Case {
    const char* name;
    int feeRow;
    const char* fee;
    const char* deleted;   // which of the fee's rows the other program deletes
    const char* message;
    int messageType;
    Rows after;            // id_siswa, jml_pembayaran, juni of the fee's rows in the file
  } cases[] = {
      {"a monthly fee, every row gone", 0, "BR-TKA20230001", "1", kNothingSaved, MB_OK | MB_ICONINFORMATION, {}},
      {"one row of two gone", 3, "BR-TKA20230004", "id_siswa='S1'", kUpdated, MB_OK, {{"S3", "9", "<null>"}}},
      {"a yearly fee, the last row gone too", 3, "BR-TKA20230004", "1", kNothingSaved, MB_OK | MB_ICONINFORMATION,
       {}},
  };
  const std::string path = WorkFile("keuangan.db3");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    feetest::OtherProgram other(path);
    ExpectMsgBox(c.message, "Info", IDOK, c.messageType);   // and no "telah selesai" for nothing
    Edit(c.feeRow, [&](Hwnd) {
      ASSERT_EQ(CtlGetText(gForm28AkunEdit), c.fee);
      const int rows = LvGetItemCount(gForm28List);
      for (int r = 0; r < rows; ++r)
        for (int col = 3; col < LvGetColumnCount(gForm28List); ++col) LvSetItemText(gForm28List, r, col, "9");
      ASSERT_EQ(other.Write("DELETE FROM detail_account WHERE id_account='" + std::string(c.fee) + "' AND " +
                            c.deleted),
                SQLITE_OK);
      Click(gForm28UpdateButton);
      VerifySeams();
      EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    });
    EXPECT_EQ(fintest::RowsInFile(path, "select id_siswa, jml_pembayaran, juni from detail_account where "
                                        "id_account='" + std::string(c.fee) + "' order by rowid"),
              c.after);
  }
}

TEST_F(BillingEditorTest, PasteFillsRowsFromTheTop) {
  const std::vector<std::string> budi = Months({"100", "100", "100", "100", "100", "100", "100", "100", "100", "100"},
                                               "0");
  struct Case {
    const char* name;
    std::string clip;
    std::vector<std::string> first, second, third;
    bool refused = false;
  } cases[] = {
      {"three lines", "100\r\n200\r\n300\r\n", Twelve("100"), Twelve("200"), Twelve("300")},
      {"no final line break: the last line counts too", "100\r\n200", Twelve("100"), Twelve("200"), Twelve("1")},
      {"a single value", "250", Twelve("250"), Twelve("150000"), Twelve("1")},
      {"amounts as the import reads them", "150.000\r\n1,500,000\r\nRp 75.000\r\n", Twelve("150000"),
       Twelve("1500000"), Twelve("75000")},
      {"line feeds only", "10\n20\n", Twelve("10"), Twelve("20"), Twelve("1")},
      {"more values than rows", "1\r\n2\r\n3\r\n4\r\n5\r\n", Twelve("1"), Twelve("2"), Twelve("3")},
      {"a blank cell keeps its row", "7\r\n\r\n9", Twelve("7"), Twelve("150000"), Twelve("9")},
      {"no amount: the row is kept and the operator told", "abc\r\n1,5\r\n-5\r\n", budi, Twelve("150000"),
       Twelve("1"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Edit(0, [&](Hwnd) {
      SetClipboard(c.clip);
      if (c.refused) ExpectMsgBox(kForm28PasteRefused, "Info", IDOK, MB_OK);
      Click(gForm28PasteButton);
      VerifySeams();
      const Rows rows = ListRows(gForm28List);
      ASSERT_EQ(rows.size(), 3u);
      EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 3, rows[0].end()), c.first);
      EXPECT_EQ(std::vector<std::string>(rows[1].begin() + 3, rows[1].end()), c.second);
      EXPECT_EQ(std::vector<std::string>(rows[2].begin() + 3, rows[2].end()), c.third);
    });
  }
  // Nothing reached the database.
  EXPECT_EQ(Billing("BR-TKA20230001")[0][1], "1000");
  // Yearly: the one amount column.
  Edit(3, [&](Hwnd) {
    SetClipboard("5\r\n6\r\n");
    Click(gForm28PasteButton);
    EXPECT_EQ(ListRows(gForm28List), (Rows{{"1", "S1", "Ani", "5"}, {"2", "S3", "Citra", "6"}}));
  });
}

// A line of more than one cell is never glued into one amount: the paste is refused whole, naming the line, and no
// row changes, neither in the list nor, after "Update Data", in the database.
TEST_F(BillingEditorTest, APasteWithALineOfSeveralCellsChangesNoRow) {
  struct Case {
    const char* name;
    std::string clip;
    int line;
  } cases[] = {
      {"a number and an amount", "1\t150000\r\n200\r\n", 1},
      {"an id and an amount on the second line", "100\r\n12345\t150000\r\n300\r\n", 2},
      {"an empty cell before the amount", "100\r\n200\r\n\t300", 3},
      {"an empty cell after the amount", "100\t\r\n", 1},
  };
  const Rows before = Billing("BR-TKA20230001");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Edit(0, [&](Hwnd) {
      const Rows rows = ListRows(gForm28List);
      SetClipboard(c.clip);
      ExpectMsgBox(FORM28_PasteSeveralCellsText(c.line), "Info", IDOK, MB_OK);
      Click(gForm28PasteButton);
      VerifySeams();
      EXPECT_EQ(ListRows(gForm28List), rows);
      ExpectMsgBox(kUpdated, "Info", IDOK, MB_OK);
      Click(gForm28UpdateButton);
      VerifySeams();
    });
    EXPECT_EQ(Billing("BR-TKA20230001"), before);
  }
  EXPECT_EQ(FORM28_PasteSeveralCellsText(2),
            "Baris ke-2 yang di-paste berisi lebih dari satu kolom, tidak ada jumlah yang dirubah. Copy satu kolom "
            "jumlah saja..");
  // Tens of thousands of digits are no amount: the line is refused, the program goes on.
  Edit(0, [&](Hwnd) {
    SetClipboard(std::string(50000, '9') + "\r\n7\r\n");
    ExpectMsgBox(kForm28PasteRefused, "Info", IDOK, MB_OK);
    Click(gForm28PasteButton);
    VerifySeams();
    EXPECT_EQ(LvGetItemText(gForm28List, 0, 3), "100");
    EXPECT_EQ(LvGetItemText(gForm28List, 1, 3), "7");
  });
}

// "Default Pagu" is read as every typed amount is, and takes at most 12 digits from the keyboard: "175.000" bills
// 175,000 a month; a fraction of a rupiah, letters, a negative amount or more than 12 digits bill nothing.
TEST_F(BillingEditorTest, DefaultPaguIsReadAsEveryAmountIs) {
  struct Case {
    const char* name;
    std::string pagu;
    bool typed;             // typed at the keyboard, else set as the text of the edit
    const char* month;      // what each month bills; nullptr: refused, nothing created
    const char* yearTotal;
  } cases[] = {
      {"as the program shows money", "175.000", true, "175000", "2100000"},
      {"with Rp and commas", "Rp 1,250,000", true, "1250000", "15000000"},
      {"twenty nines typed: twelve are taken", std::string(20, '9'), true, "999999999999", "11999999999988"},
      {"twenty nines set", std::string(20, '9'), false, nullptr, nullptr},
      {"a fraction of a rupiah", "50000.6", false, nullptr, nullptr},
      {"letters", "abc", true, nullptr, nullptr},
      {"a negative amount", "-75.000", true, nullptr, nullptr},
      {"empty", "", true, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM detail_account WHERE id_account='BR-TKA20230003'");
    Edit(2, [&](Hwnd) {   // Les: monthly, no rows yet
      if (c.typed)
        fintest::Type(gForm28PaguEdit, c.pagu);
      else
        CtlSetText(gForm28PaguEdit, c.pagu);
      if (!c.month) ExpectMsgBox(kForm28PaguRefused, "Info", IDOK, MB_OK);
      Click(gForm28CreateButton);
      VerifySeams();
      EXPECT_EQ(WinIsWindowEnabled(gForm28CreateButton), c.month == nullptr);   // another try stays possible
      EXPECT_EQ(LvGetItemCount(gForm28List), c.month ? 3 : 0);
    });
    const Rows billing = Billing("BR-TKA20230003");
    if (!c.month) {
      EXPECT_TRUE(billing.empty());
      continue;
    }
    ASSERT_EQ(billing.size(), 3u);
    for (const auto& row : billing) EXPECT_EQ(row, Row({row[0], c.yearTotal}, Twelve(c.month)));
  }
}

TEST_F(BillingEditorTest, DeleteRemovesEveryBillingRowOfTheFeeOnYes) {
  const char* question = kForm28DeleteQuestion;
  ExpectMsgBox(question, "Confirm Delete", IDNO, MB_YESNO | MB_ICONQUESTION);
  Edit(0, [&](Hwnd) {
    Click(gForm28DeleteButton);
    EXPECT_EQ(LvGetItemCount(gForm28List), 3);
  });
  EXPECT_EQ(Billing("BR-TKA20230001").size(), 3u);
  ExpectMsgBox(question, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  Edit(0, [&](Hwnd) {
    Click(gForm28CreateButton);   // S3 billed: nobody is left without a row
    ASSERT_FALSE(WinIsWindowEnabled(gForm28CreateButton));
    ClickRow(gForm28List, 0);
    Click(gForm28DeleteButton);
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    EXPECT_EQ(CtlGetText(gForm28IdSiswaEdit), "S2");          // the edits keep their texts
    EXPECT_TRUE(WinIsWindowEnabled(gForm28CreateButton));   // every student can be billed anew
  });
  EXPECT_TRUE(Billing("BR-TKA20230001").empty());
  EXPECT_EQ(One("select count(*) from transaksi"), "1");
  EXPECT_EQ(Billing("BR-TKA20230004").size(), 2u);
}

TEST_F(BillingEditorTest, WithoutAMarkedFeeNothingCanBeWritten) {
  fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa) VALUES ('','S1')");
  LvSetSelectionMark(gForm6List, -1);
  Edit(-1, [&](Hwnd) {
    EXPECT_EQ(CtlGetText(gForm28AkunEdit), "");
    EXPECT_EQ(LvGetItemCount(gForm28List), 0);
    for (Hwnd b : {gForm28CreateButton, gForm28DeleteButton, gForm28UpdateButton, gForm28PasteButton})
      EXPECT_FALSE(WinIsWindowEnabled(b));
  });
  EXPECT_EQ(One("select count(*) from detail_account where id_account=''"), "1");
}

TEST(BillingEditorRules, PasteValuesAndSums) {
  using V = std::vector<Form28PastedAmount>;
  const auto ok = [](long long a) { return Form28PastedAmount{a, false}; };
  const Form28PastedAmount blank{}, refused{std::nullopt, true};
  EXPECT_EQ(FORM28_PasteValues(""), V{});
  EXPECT_EQ(FORM28_PasteValues("250"), V{ok(250)});
  EXPECT_EQ(FORM28_PasteValues("100\r\n200"), (V{ok(100), ok(200)}));
  EXPECT_EQ(FORM28_PasteValues("100\r\n200\r\n300\r\n"), (V{ok(100), ok(200), ok(300)}));
  EXPECT_EQ(FORM28_PasteValues("x\r\n 7\r\n\r\n1.500.000\r"), (V{refused, ok(7), blank, ok(1500000)}));
  EXPECT_EQ(FORM28_PasteValues("1\0" "50.000\r\n"s), V{ok(150000)});   // a NUL is dropped
  EXPECT_EQ(FORM28_PasteValues("12.5\r\n-1\r\n0\r\n"), (V{refused, refused, ok(0)}));
  EXPECT_EQ(FORM28_Sum({"100", "200.4", "300.4", "", "abc"}), 600);
  // Lines of several cells, blank lines of TABs, a line beyond any amount's length.
  const Form28PastedAmount several{std::nullopt, false, true};
  EXPECT_EQ(FORM28_PasteValues("1\t150000\r\n\t\r\n \t \r\n150000\t\r\n"), (V{several, blank, blank, several}));
  EXPECT_EQ(FORM28_PasteValues(std::string(40000, '1') + "\r\n"), V{refused});
  // A sum stops at the largest whole number instead of wrapping around to a negative one.
  const std::string huge(20, '9');
  EXPECT_EQ(FORM28_Sum(std::vector<std::string>(12, huge)), std::numeric_limits<long long>::max());
  EXPECT_EQ(FORM28_Sum({"-" + huge, "-" + huge}), std::numeric_limits<long long>::min());
  EXPECT_EQ(FORM28_Progress(0, 3), 33);
  EXPECT_EQ(FORM28_Progress(1, 3), 67);
  EXPECT_EQ(FORM28_Progress(2, 3), 100);
  EXPECT_EQ(FORM28_Progress(0, 8), 12);   // 12.5: halves to the even neighbour
  EXPECT_EQ(FORM28_UpdateYearlySql("A'1", "S1", "5.5"),
            "Update detail_account Set jml_pembayaran='6' where id_siswa='S1' and id_account='A''1'");
  std::array<std::string, 12> m;
  m.fill("1");
  EXPECT_EQ(FORM28_UpdateMonthlySql("A", "S", m),
            "Update detail_account Set jml_pembayaran='12', juli='1', agustus='1', september='1', oktober='1', "
            "nopember='1', desember='1', januari='1', februari='1', maret='1', april='1', mei='1', juni='1' where "
            "id_siswa='S' and id_account='A'");
}

}  // namespace
