// The class-to-class fee copy FORM25, opened from the fee list: viewing another class's fees, copying the ticked ones
// into the fee list's class with ids from the one sequence, all or none.
#include "accounts/fee_test_fixture.h"

namespace {

using feetest::FeeTest;
using feetest::Rows;

const char* kDone = "Penyalinan Data Selesai";

class FeeCopyTest : public FeeTest {
 protected:
  void SetUp() override {
    Seed();
    fintest::Exec(gDb,
                  "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S7','Play Group','2023/2024');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-TKA20230001','SPP','TK A',150000,'Perbulan','2023/2024','411'),"
                  " ('BR-TKA20230002','Buku','TK A',300000,'Pertahun','2023/2024','412'),"
                  " ('BR-VIIA20230011','Uang ''Gedung''','VII A',2000000,'Pertahun','2023/2024','412'),"
                  " ('BR-VIIA20230010','SPP','VII A',200000,'Perbulan','2023/2024','411'),"
                  " ('BR-VIIA20230012','Les','VII A',75000,'Perbulan','2023/2024',''),"
                  " ('BR-VIIA20220009','Lama','VII A',1,'Perbulan','2022/2023','401');");
    OpenFeeList();
    fintest::Choose(gForm6KelasCombo, "TK A");
  }
  // Opens the copy window; `drive` runs inside it.
  void Copy(std::function<void(Hwnd)> drive) { CommandModal(gForm6CopyClassId, drive); }
  // Views `kelas` and ticks the rows given.
  static void ViewAndTick(const std::string& kelas, std::initializer_list<int> rows) {
    fintest::Choose(gForm25KelasCombo, kelas);
    Click(gForm25ViewButton);
    for (int r : rows) LvSetCheck(gForm25List, r, 1);
  }
  Rows NewFees() {
    return Query("select Id, Pembayaran, Kelas, Jumlah, Type, RefRekening, Tapel, Semester, Jenjang from account "
                 "where Id not in ('BR-TKA20230001','BR-TKA20230002','BR-VIIA20230011','BR-VIIA20230010',"
                 "'BR-VIIA20230012','BR-VIIA20220009') order by Id");
  }
};

TEST_F(FeeCopyTest, OpensEmptyWithTheClassesOfTheYear) {
  Copy([&](Hwnd form) {
    EXPECT_EQ(form, gForm25Window);
    EXPECT_EQ(WinGetWindowText(form), "Form Penyalinan Data Akun Pembayaran dari Kelas lainnya.");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM25_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gForm6Window));
    EXPECT_EQ(ComboItems(gForm25KelasCombo), (std::vector<std::string>{"Play Group", "TK A", "VII A"}));
    EXPECT_EQ(CbGetCurSel(gForm25KelasCombo), CB_ERR);
    EXPECT_EQ(LvGetItemCount(gForm25List), 0);
    EXPECT_EQ(CtlGetText(gForm25KelasLabel), "Kelas :");
    Click(gForm25ViewButton);   // no class chosen: nothing
    EXPECT_EQ(LvGetItemCount(gForm25List), 0);
    // Choosing a class alone changes nothing; "View" lists its fees in id order, unticked.
    fintest::Choose(gForm25KelasCombo, "VII A");
    EXPECT_EQ(LvGetItemCount(gForm25List), 0);
    Click(gForm25ViewButton);
    EXPECT_EQ(Captions(gForm25List),
              (std::vector<std::string>{"ID", "PEMBAYARAN", "JUMLAH", "KELAS", "TYPE", "REFREKENING"}));
    EXPECT_EQ(ListRows(gForm25List),
              (Rows{{"BR-VIIA20230010", "SPP", "200000", "VII A", "Perbulan", "411"},
                    {"BR-VIIA20230011", "Uang 'Gedung'", "2000000", "VII A", "Pertahun", "412"},
                    {"BR-VIIA20230012", "Les", "75000", "VII A", "Perbulan", ""}}));
    for (int r = 0; r < 3; ++r) EXPECT_EQ(LvGetCheck(gForm25List, r), -2);
    Click(gForm25CancelButton);
  });
  EXPECT_FALSE(IsWindow(gForm25Window));
  EXPECT_EQ(NewFees().size(), 0u);
}

TEST_F(FeeCopyTest, CopiesTheTickedFeesIntoTheShownClass) {
  ExpectMsgBox(kDone, "Info", IDOK, MB_OK);
  Copy([&](Hwnd form) {
    ViewAndTick("VII A", {1, 2});
    Click(gForm25CopyButton);
    EXPECT_FALSE(IsWindow(form));
  });
  // The highest suffix was 0012: the ticked rows follow in list order. No billing rows.
  EXPECT_EQ(NewFees(),
            (Rows{{"BR-TKA20230013", "Uang 'Gedung'", "TK A", "2000000", "Pertahun", "412", "2023/2024", "<null>",
                   "<null>"},
                  {"BR-TKA20230014", "Les", "TK A", "75000", "Perbulan", "", "2023/2024", "<null>", "<null>"}}));
  EXPECT_EQ(One("select count(*) from detail_account"), "0");
  // The fee list was refreshed.
  EXPECT_EQ(LvGetItemCount(gForm6List), 4);
  EXPECT_EQ(LvGetItemText(gForm6List, 3, 0), "BR-TKA20230014");
}

TEST_F(FeeCopyTest, NothingTickedStillRefreshesAndCloses) {
  fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Tapel) VALUES ('BR-TKA20230020','Baru','TK A',"
                     "'2023/2024')");
  ExpectMsgBox(kDone, "Info");
  Copy([&](Hwnd) {
    ViewAndTick("VII A", {});
    Click(gForm25CopyButton);
  });
  EXPECT_EQ(NewFees().size(), 1u);             // only the one inserted above
  EXPECT_EQ(LvGetItemCount(gForm6List), 3);   // which the refresh shows
}

TEST_F(FeeCopyTest, TargetClassesAndTheirIds) {
  struct Case {
    const char* target;
    const char* source;
    std::vector<std::string> ids;
  } cases[] = {
      {"Play Group", "VII A", {"BR-PlayGroup20230013"}},
      {"TK A", "TK A", {"BR-TKA20230014"}},   // the same class copies its fee again under a new id
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    fintest::Choose(gForm6KelasCombo, c.target);
    ExpectMsgBox(kDone, "Info");
    Copy([&](Hwnd) {
      ViewAndTick(c.source, {0});
      Click(gForm25CopyButton);
    });
    const Rows fees = Query("select Id, Kelas from account where Id='" + c.ids[0] + "'");
    EXPECT_EQ(fees, (Rows{{c.ids[0], c.target}}));
    EXPECT_EQ(CtlGetText(gForm6KelasCombo), c.target);
  }
}

TEST_F(FeeCopyTest, ATakenIdIsPassedOverNotTheFee) {
  // A suffix that sorts above every number makes the sequence start again at 0001, which TK A already has.
  fintest::Exec(gDb, "INSERT INTO account (Id, Kelas, Tapel) VALUES ('BR-Z2023zzzz','Z','2021/2022')");
  ExpectMsgBox(kDone, "Info");
  Copy([&](Hwnd) {
    ViewAndTick("VII A", {0, 1});
    Click(gForm25CopyButton);
  });
  const Rows fees = NewFees();
  ASSERT_EQ(fees.size(), 3u);
  EXPECT_EQ(fees[0][0], "BR-TKA20230003");
  EXPECT_EQ(fees[0][1], "SPP");
  EXPECT_EQ(fees[1][0], "BR-TKA20230004");
  EXPECT_EQ(fees[1][1], "Uang 'Gedung'");
}

TEST_F(FeeCopyTest, AnIdThatOldBillingRowsOrPaymentsNameIsPassedOver) {
  // Fees deleted earlier: BR-TKA20230013 left its billing row, BR-TKA20230014 a payment.
  fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES "
                     "('BR-TKA20230013','S1',5);"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES ('T1','BR-TKA20230014','S2',5,'p')");
  ExpectMsgBox(kDone, "Info");
  Copy([&](Hwnd) {
    ViewAndTick("VII A", {0, 1});
    Click(gForm25CopyButton);
  });
  EXPECT_EQ(Query("select Id, Pembayaran from account where Kelas='TK A' and Id not in "
                  "('BR-TKA20230001','BR-TKA20230002') order by Id"),
            (Rows{{"BR-TKA20230015", "SPP"}, {"BR-TKA20230016", "Uang 'Gedung'"}}));
}

TEST_F(FeeCopyTest, AFailingInsertCopiesNothing) {
  fintest::Exec(gDb, "CREATE TRIGGER no_les BEFORE INSERT ON account WHEN NEW.Pembayaran='Les' "
                     "BEGIN SELECT RAISE(ABORT, 'Les ditolak'); END;");
  ExpectMsgBox("SQL error: Les ditolak", "Info", IDOK, MB_OK);   // and no "Selesai"
  Copy([&](Hwnd form) {
    ViewAndTick("VII A", {0, 1, 2});
    Click(gForm25CopyButton);
    EXPECT_FALSE(IsWindow(form));
  });
  EXPECT_EQ(NewFees().size(), 0u);   // the two before it were undone
  EXPECT_EQ(LvGetItemCount(gForm6List), 2);
}

TEST_F(FeeCopyTest, BatalAndTheCloseBoxWriteNothing) {
  for (bool closeBox : {false, true}) {
    Copy([&](Hwnd form) {
      ViewAndTick("VII A", {0});
      if (closeBox)
        WinSendMessage(form, WM_SYSCOMMAND, SC_CLOSE, 0);
      else
        Click(gForm25CancelButton);
      EXPECT_FALSE(IsWindow(form));
    });
  }
  EXPECT_EQ(NewFees().size(), 0u);
}

// Every id of the class and year named already (billing rows of fees deleted long ago): nothing is copied, and the box
// says so once the file is no longer held (the fixture fails a box shown inside a transaction).
TEST_F(FeeCopyTest, EveryIdOfTheClassAndYearTakenCopiesNothingAndSaysSo) {
  fintest::Exec(gDb, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9999) "
                     "INSERT INTO detail_account (id_account, id_siswa) SELECT printf('BR-XIPA2023%04d', i), 'S1' FROM n");
  const Rows before = Query("select count(*) from account");
  ExpectMsgBox("Gagal menyimpan, Id/Kode Sudah Tersedia..", "Entry Data..", IDOK, MB_OK | MB_ICONINFORMATION);
  std::vector<std::string> ids;
  EXPECT_FALSE(FORM25_Copy({{"A", "1000", "Perbulan", "411"}}, "X IPA", &ids));
  VerifySeams();
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(Query("select count(*) from account"), before);
}

TEST_F(FeeCopyTest, CopyRulesDirectly) {
  std::vector<std::string> ids;
  ASSERT_TRUE(FORM25_Copy({{"A", "1.6", "Perbulan", "411"}, {"B", "", "Pertahun", ""}}, "X IPA", &ids));
  EXPECT_EQ(ids, (std::vector<std::string>{"BR-XIPA20230013", "BR-XIPA20230014"}));
  EXPECT_EQ(Query("select Jumlah from account where Id in ('BR-XIPA20230013','BR-XIPA20230014') order by Id"),
            (Rows{{"2"}, {"0"}}));   // whole rupiah, never empty
}

}  // namespace
