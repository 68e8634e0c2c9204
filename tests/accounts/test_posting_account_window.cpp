// The bulk posting-account window FORM17, opened from the fee list: one income account set on every fee of the
// working school year.
#include "accounts/fee_test_fixture.h"

namespace {

using feetest::FeeTest;
using feetest::Rows;

class PostingAccountTest : public FeeTest {
 protected:
  void SetUp() override {
    Seed();
    fintest::Exec(gDb,
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('410','Induk Penerimaan','Msk',"
                  "'2023/2024'),('4 2','Kode berspasi','Msk','2023/2024');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-TKA20230001','SPP','TK A',150000,'Perbulan','2023/2024','AM-20232024'),"
                  " ('BR-VIIA20230002','SPP','VII A',200000,'Perbulan','2023/2024',''),"
                  " ('BR-VIIA20220003','Lama','VII A',1,'Perbulan','2022/2023','401');");
    OpenFeeList();
  }
  void Open(std::function<void(Hwnd)> drive) { CommandModal(gForm6RekeningId, drive); }
  Rows Refs() { return Query("select Id, RefRekening from account order by Id"); }
};

TEST_F(PostingAccountTest, OffersEveryIncomeAccountOfTheYear) {
  Open([&](Hwnd form) {
    EXPECT_EQ(form, gForm17Window);
    EXPECT_EQ(WinGetWindowText(form), "Set Rekening Secara Masal");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM17_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gForm6Window));
    EXPECT_EQ(ComboItems(gForm17RekeningCombo),
              (std::vector<std::string>{"411 SPP", "412 Uang Gedung", "410 Induk Penerimaan", "4 2 Kode berspasi"}));
    EXPECT_EQ(CbGetCurSel(gForm17RekeningCombo), CB_ERR);
    EXPECT_EQ(CtlGetText(gForm17InfoLabel), kForm17InfoText);
    EXPECT_EQ(CtlGetText(gForm17RekeningLabel), "Pilih Rekening");
    EXPECT_EQ(CtlGetText(gForm17CancelButton), "Batal");
    EXPECT_EQ(CtlGetText(gForm17SaveButton), "Simpan");
    EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gForm17CancelButton));
    // Without a chosen account "Simpan" cannot wipe the posting accounts.
    EXPECT_FALSE(WinIsWindowEnabled(gForm17SaveButton));
    Click(gForm17CancelButton);
    EXPECT_FALSE(IsWindow(form));
  });
  EXPECT_TRUE(WinIsWindowEnabled(gForm6Window));
}

TEST_F(PostingAccountTest, SetsTheChosenCodeOnEveryFeeOfTheYear) {
  const char* done = kForm17DoneText;
  ExpectMsgBox(done, "Info", IDOK, MB_OK);
  ExpectMsgBox(done, "Info", IDOK, MB_OK);
  Open([&](Hwnd form) {
    fintest::Choose(gForm17RekeningCombo, "412 Uang Gedung");
    EXPECT_TRUE(WinIsWindowEnabled(gForm17SaveButton));
    Click(gForm17SaveButton);
    EXPECT_TRUE(IsWindow(form));   // stays open
    EXPECT_EQ(Refs(), (Rows{{"BR-TKA20230001", "412"}, {"BR-VIIA20220003", "401"}, {"BR-VIIA20230002", "412"}}));
    // Another account: the last save wins; a code holding a blank gives its part before the blank.
    fintest::Choose(gForm17RekeningCombo, "4 2 Kode berspasi");
    Click(gForm17SaveButton);
    Click(gForm17CancelButton);
  });
  EXPECT_EQ(Refs(), (Rows{{"BR-TKA20230001", "4"}, {"BR-VIIA20220003", "401"}, {"BR-VIIA20230002", "4"}}));
  // The fee list shows the old accounts until it is reloaded.
  EXPECT_EQ(LvGetItemText(gForm6List, 0, 5), "AM-20232024");
}

// A year without fees (none entered yet, or deleted meanwhile by another program on the file): no fee gets the
// account, and the window says so instead of reporting a success.
TEST_F(PostingAccountTest, AYearWithoutFeesSaysNoFeeWasSet) {
  const std::string path = WorkFile("keuangan.db3");
  fintest::OtherProgram other(path);
  Open([&](Hwnd form) {
    fintest::Choose(gForm17RekeningCombo, "411 SPP");
    ASSERT_EQ(other.Write("DELETE FROM account WHERE Tapel='2023/2024'"), SQLITE_OK);
    // and no "berhasil"
    ExpectMsgBox("Akun Pembayaran tahun ajaran ini tidak ditemukan, tidak ada rekening yang di set..", "Info", IDOK,
                 MB_OK | MB_ICONINFORMATION);
    Click(gForm17SaveButton);
    VerifySeams();
    EXPECT_TRUE(IsWindow(form));   // stays open
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    Click(gForm17CancelButton);
  });
  EXPECT_EQ(fintest::RowsInFile(path, "select Id, RefRekening from account order by Id"),
            (Rows{{"BR-VIIA20220003", "401"}}));
}

TEST_F(PostingAccountTest, AYearWithoutIncomeAccountsOffersNone) {
  gTapel = "2025/2026";
  Open([&](Hwnd) {
    EXPECT_EQ(CbGetCount(gForm17RekeningCombo), 0);
    Click(gForm17CancelButton);
  });
}

TEST_F(PostingAccountTest, AFailingUpdateChangesNoFee) {
  fintest::Exec(gDb, "CREATE TRIGGER no_vii BEFORE UPDATE ON account WHEN OLD.Kelas='VII A' "
                     "BEGIN SELECT RAISE(ABORT, 'dikunci'); END;");
  ExpectMsgBox("SQL error: dikunci", "Info", IDOK, MB_OK);
  const Rows before = Refs();
  Open([&](Hwnd form) {
    fintest::Choose(gForm17RekeningCombo, "411 SPP");
    Click(gForm17SaveButton);
    EXPECT_TRUE(IsWindow(form));
    Click(gForm17CancelButton);
  });
  EXPECT_EQ(Refs(), before);
}

TEST_F(PostingAccountTest, AnApostropheInACodeIsWrittenAsItIs) {
  fintest::Exec(gDb, "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('4''9','Kutip','Msk','2023/2024')");
  ExpectMsgBox(kForm17DoneText, "Info");
  Open([&](Hwnd) {
    fintest::Choose(gForm17RekeningCombo, "4'9 Kutip");
    Click(gForm17SaveButton);
    Click(gForm17CancelButton);
  });
  EXPECT_EQ(One("select RefRekening from account where Id='BR-TKA20230001'"), "4'9");
}

}  // namespace
