// The fee entry window FORMAKUNBAYAR, opened from the fee list as the operator does: adding fees with the id sequence
// and a billing row for every student of the class, the refusals, all-or-nothing saves, and edits that rewrite every
// billing row.
#include "accounts/fee_test_fixture.h"
#include "common/sql.h"
#include "support/read_denied.h"

namespace {

using feetest::FeeTest;
using feetest::OtherProgram;
using feetest::Rows;
using feetest::Twelve;

const char* kSaved = "Data berhasil disimpan..";
const char* kCaption = "Entry Data..";
constexpr int kInfo = MB_OK | MB_ICONINFORMATION;

class FeeEntryTest : public FeeTest {
 protected:
  void SetUp() override {
    Seed();
    // The highest suffix of the table is 0006, on a fee of another class and year.
    fintest::Exec(gDb,
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-TKA20230001','SPP','TK A',150000,'Perbulan','2023/2024','411'),"
                  " ('BR-TKA20230002','Buku','TK A',300000,'Pertahun','2023/2024','AM-20232024'),"
                  " ('BR-VIIA20230003','Seragam','VII A',50000,'Perbulan','2023/2024','412'),"
                  " ('BR-PlayGroup20220006','Lama','Play Group',1,'Perbulan','2022/2023','401');"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, "
                  "oktober, nopember, desember, januari, februari, maret, april, mei, juni) VALUES"
                  " ('BR-TKA20230001','S1',1800000,150000,150000,150000,150000,150000,150000,150000,150000,150000,"
                  "150000,150000,150000),"
                  " ('BR-TKA20230001','S2',1000,100,100,100,100,100,100,100,100,100,100,0,0);");
    OpenFeeList();
  }
  // Fills the add form: Referensi item, name, amount and type (an empty `type` leaves Jenis unchosen).
  static void Fill(const std::string& referensi, const std::string& name, const std::string& amount,
                   const std::string& type) {
    if (!referensi.empty()) fintest::Choose(gFormAkunBayarReferensiCombo, referensi);
    CtlSetText(gFormAkunBayarPembayaranEdit, name);
    CtlSetText(gFormAkunBayarJumlahEdit, amount);
    if (!type.empty()) fintest::Choose(gFormAkunBayarJenisCombo, type);
  }
  Rows Billing(const std::string& fee) {
    return Query("select id_siswa, jml_pembayaran, juli, agustus, september, oktober, nopember, desember, januari, "
                 "februari, maret, april, mei, juni from detail_account where id_account='" + fee +
                 "' order by id_siswa");
  }
  static std::vector<std::string> BillingRow(const std::string& student, const std::string& total,
                                             const std::string& month) {
    std::vector<std::string> r = {student, total};
    for (const std::string& m : Twelve(month)) r.push_back(m);
    return r;
  }
};

TEST_F(FeeEntryTest, OpensForAnAddWithTheNextIdOfTheOneSequence) {
  CommandModal(gForm6AddId, [&](Hwnd form) {
    EXPECT_EQ(form, gFormAkunBayarWindow);
    EXPECT_EQ(WinGetWindowText(form), "Akun Pembayaran");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORMAKUNBAYAR_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gForm6Window));   // owned by the fee list, which waits
    EXPECT_EQ(gEditMode, 0);
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230007");
    EXPECT_TRUE(WinGetStyle(gFormAkunBayarIdEdit) & ES_READONLY);
    // Income accounts of the year only; nothing chosen.
    EXPECT_EQ(ComboItems(gFormAkunBayarReferensiCombo), (std::vector<std::string>{"411 SPP", "412 Uang Gedung"}));
    EXPECT_EQ(CbGetCurSel(gFormAkunBayarReferensiCombo), CB_ERR);
    // Every fee name of the year, over all classes, then the new-name item.
    EXPECT_EQ(ComboItems(gFormAkunBayarDeskripsiCombo),
              (std::vector<std::string>{"Buku", "SPP", "Seragam", "Tambah Deskripsi Baru"}));
    EXPECT_EQ(ComboItems(gFormAkunBayarJenisCombo), (std::vector<std::string>{"Perbulan", "Pertahun"}));
    EXPECT_EQ(CbGetCurSel(gFormAkunBayarJenisCombo), CB_ERR);
    EXPECT_EQ(BtnIsChecked(gFormAkunBayarDefaultCheck), 0);
    EXPECT_EQ(CtlGetText(gFormAkunBayarDefaultCheck), "Default");
    EXPECT_EQ(CtlGetText(gFormAkunBayarSimpanButton), "Simpan");
    EXPECT_EQ(CtlGetText(gFormAkunBayarTitle), "Akun Pembayaran..");
    EXPECT_EQ(CtlGetText(gFormAkunBayarSubtitle), "Detail record data tentang Akun Penerimaan Pembayaran..");
    for (auto [h, t] : std::vector<std::pair<Hwnd, const char*>>{{gFormAkunBayarJenisLabel, "Jenis Pembayaran"},
                                                                  {gFormAkunBayarReferensiLabel, "Referensi "},
                                                                  {gFormAkunBayarJumlahLabel, "Jumlah"},
                                                                  {gFormAkunBayarIdLabel, "Id Akun"},
                                                                  {gFormAkunBayarDeskripsiLabel, "Deskripsi Akun"}})
      EXPECT_EQ(CtlGetText(h), t);
    EXPECT_EQ(CtlGetToolTip(gFormAkunBayarPembayaranEdit),
              "Bila belum tersedia dalam combo, bisa ditambahkan dikolom ini");
    WinSendMessage(form, WM_SYSCOMMAND, SC_CLOSE, 0);   // closes without saving
  });
  EXPECT_FALSE(IsWindow(gFormAkunBayarWindow));
  EXPECT_TRUE(WinIsWindowEnabled(gForm6Window));
  EXPECT_EQ(One("select count(*) from account"), "4");
}

TEST_F(FeeEntryTest, AddingBillsEveryStudentOfTheClassAndStaysOpenForTheNext) {
  ExpectMsgBox(kSaved, kCaption, IDOK, kInfo);
  ExpectMsgBox(kSaved, kCaption, IDOK, kInfo);
  CommandModal(gForm6AddId, [&](Hwnd form) {
    Fill("411 SPP", "Uang 'Kegiatan'", "150000", "Perbulan");   // an apostrophe simply saves
    Click(gFormAkunBayarSimpanButton);
    EXPECT_TRUE(IsWindow(form));
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230008");
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "");
    EXPECT_EQ(CtlGetText(gFormAkunBayarJumlahEdit), "");
    // The list shows the new fee with its three billing rows.
    EXPECT_EQ(ListRows(gForm6List).back(),
              (std::vector<std::string>{"BR-TKA20230007", "Uang 'Kegiatan'", "150000", "TK A", "Perbulan", "411", "3"}));
    // The second fee: type and account carry over.
    EXPECT_EQ(CtlGetText(gFormAkunBayarJenisCombo), "Perbulan");
    EXPECT_EQ(CtlGetText(gFormAkunBayarReferensiCombo), "411 SPP");
    Fill("", "Les", "25000", "");
    Click(gFormAkunBayarSimpanButton);
    FrmClose(form, 0);
  });
  EXPECT_EQ(Query("select Id, Pembayaran, Kelas, Jumlah, Type, Semester, Tapel, Jenjang, RefRekening from account "
                  "where Id in ('BR-TKA20230007','BR-TKA20230008') order by Id"),
            (Rows{{"BR-TKA20230007", "Uang 'Kegiatan'", "TK A", "150000", "Perbulan", "0", "2023/2024", "ins", "411"},
                  {"BR-TKA20230008", "Les", "TK A", "25000", "Perbulan", "0", "2023/2024", "ins", "411"}}));
  EXPECT_EQ(Billing("BR-TKA20230007"), (Rows{BillingRow("S1", "1800000", "150000"),
                                             BillingRow("S2", "1800000", "150000"),
                                             BillingRow("S3", "1800000", "150000")}));
  EXPECT_EQ(Billing("BR-TKA20230008").size(), 3u);
  // Amounts are stored as numbers.
  EXPECT_EQ(One("select typeof(jml_pembayaran) || typeof(juni) from detail_account where "
                "id_account='BR-TKA20230007' limit 1"),
            "integerinteger");
}

TEST_F(FeeEntryTest, BillingValuesByTypeAndAmount) {
  struct Case {
    const char* name;
    const char* amount;
    const char* type;
    const char* storedAmount;
    const char* storedType;
    const char* total;
    const char* month;
  } cases[] = {
      {"yearly", "900000", "Pertahun", "900000", "Pertahun", "900000", "0"},
      {"no type chosen bills monthly", "1000", "", "1000", "", "12000", "1000"},
      {"empty amount is written 0", "", "Perbulan", "0", "Perbulan", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string id;
    ExpectMsgBox(kSaved, kCaption);
    CommandModal(gForm6AddId, [&](Hwnd form) {
      id = CtlGetText(gFormAkunBayarIdEdit);
      Fill("412 Uang Gedung", c.name, c.amount, c.type);
      Click(gFormAkunBayarSimpanButton);
      FrmClose(form, 0);
    });
    EXPECT_EQ(Query("select Jumlah, Type, RefRekening from account where Id='" + id + "'"),
              (Rows{{c.storedAmount, c.storedType, "412"}}));
    EXPECT_EQ(Billing(id), (Rows{BillingRow("S1", c.total, c.month), BillingRow("S2", c.total, c.month),
                                 BillingRow("S3", c.total, c.month)}));
  }
}

TEST_F(FeeEntryTest, RefusalsWriteNothing) {
  struct Case {
    const char* name;
    const char* whileOpen;   // what happens in the file while the window is open
    bool chooseReferensi;
    const char* message;
  } cases[] = {
      {"no posting account", "", false, "Gagal menyimpan, kolom Kode atau Nama belum terisi.."},
      {"a fee took the proposed id meanwhile", "INSERT INTO account (Id) VALUES ('BR-TKA20230007')", true,
       "Gagal menyimpan, Id/Kode Sudah Tersedia.."},
      {"a payment names the proposed id", "INSERT INTO transaksi (id, acctid) VALUES ('T9','BR-TKA20230008')", true,
       "Gagal menyimpan, Id/Kode Sudah Tersedia.."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectMsgBox(c.message, kCaption, IDOK, kInfo);
    CommandModal(gForm6AddId, [&](Hwnd form) {
      if (*c.whileOpen) fintest::Exec(gDb, c.whileOpen);
      Fill(c.chooseReferensi ? "411 SPP" : "", "Les", "1000", "Perbulan");
      const std::string id = CtlGetText(gFormAkunBayarIdEdit);
      Click(gFormAkunBayarSimpanButton);
      EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), id);   // the fields keep their texts
      EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "Les");
      FrmClose(form, 0);
    });
    EXPECT_EQ(One("select count(*) from account where Pembayaran='Les'"), "0");
    EXPECT_EQ(One("select count(*) from detail_account where id_account like 'BR-TKA2023000%' and id_account not in "
                  "('BR-TKA20230001')"),
              "0");
  }
}

// Two programs on one file (the program started twice, or two desks on a shared folder): the id the window counted as
// free is saved by the other program before this save begins. The save counts again under its write lock and refuses
// with the window's own words: the class is billed once, by the fee that was saved first.
TEST_F(FeeEntryTest, AnIdAnotherProgramTakesBetweenTheCheckAndTheSaveIsRefused) {
  const std::string path = WorkFile("keuangan.db3");
  OtherProgram other(path);
  CommandModal(gForm6AddId, [&](Hwnd form) {
    Fill("411 SPP", "Les", "1000", "Perbulan");
    ASSERT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230007");
    fintest::WritesAfterCheck between(
        gDb, other, "Select (Select Count(*) From account WHERE Id=",
        "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Semester, Tapel, Jenjang, RefRekening) VALUES "
        "('BR-TKA20230007','Kegiatan','TK A',5000,'Perbulan','0','2023/2024','ins','411');"
        "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('BR-TKA20230007','S1',60000),"
        "('BR-TKA20230007','S2',60000),('BR-TKA20230007','S3',60000)");
    ExpectMsgBox("Gagal menyimpan, Id/Kode Sudah Tersedia..", kCaption, IDOK, kInfo);   // and no "berhasil"
    Click(gFormAkunBayarSimpanButton);
    VerifySeams();
    EXPECT_TRUE(between.written());
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230007");   // the fields keep their texts
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "Les");
    FrmClose(form, 0);
  });
  // One fee of the id, the other program's, and each student billed for it once.
  EXPECT_EQ(fintest::RowsInFile(path, "select Pembayaran from account where Id='BR-TKA20230007'"),
            (Rows{{"Kegiatan"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "select id_siswa, count(*), sum(jml_pembayaran) from detail_account where "
                                      "id_account='BR-TKA20230007' group by id_siswa order by id_siswa"),
            (Rows{{"S1", "1", "60000"}, {"S2", "1", "60000"}, {"S3", "1", "60000"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from account where Pembayaran='Les'"), (Rows{{"0"}}));
}

TEST_F(FeeEntryTest, ProposalsPassOverIdsThatBillingRowsOrPaymentsStillName) {
  struct Case {
    const char* name;
    const char* setup;
    const char* proposed;
  } cases[] = {
      {"a deleted fee's billing rows", "INSERT INTO detail_account (id_account, id_siswa) VALUES "
                                       "('BR-TKA20230007','S1')", "BR-TKA20230008"},
      {"and its payments", "INSERT INTO transaksi (id, acctid, siswaid, masuk) VALUES ('T1','BR-TKA20230008','S1',5)",
       "BR-TKA20230009"},
      {"an id of another class is no obstacle", "INSERT INTO transaksi (id, acctid) VALUES ('T2','BR-VIIA20230009')",
       "BR-TKA20230009"},
      {"after 9999 the numbers start again at 0000, taken ones passed over",
       "INSERT INTO account (Id) VALUES ('BR-X20239999'),('BR-TKA20230000')", "BR-TKA20230003"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, c.setup);
    CommandModal(gForm6AddId, [&](Hwnd form) {
      EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), c.proposed);
      FrmClose(form, 0);
    });
  }
}

TEST_F(FeeEntryTest, AFeeDeletedAndEnteredAgainBringsNoOldBillingOrPayment) {
  // "Wrong amount": the fee is entered, a payment is taken on it, it is deleted and entered again.
  ExpectMsgBox(kSaved, kCaption, IDOK, kInfo);
  CommandModal(gForm6AddId, [&](Hwnd form) {
    Fill("411 SPP", "Les", "15000", "Perbulan");
    Click(gFormAkunBayarSimpanButton);
    FrmClose(form, 0);
  });
  fintest::Exec(gDb, "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES "
                     "('202320242024090210153001','BR-TKA20230007','S1',15000,'p')");
  Command(gForm6RefreshId);
  LvSelectItem(gForm6List, 2);
  ASSERT_EQ(LvGetItemText(gForm6List, 2, 0), "BR-TKA20230007");
  ExpectMsgBox(kForm6DeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  ExpectMsgBox(kForm6PaymentsQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  Command(gForm6DeleteId);
  ExpectMsgBox(kSaved, kCaption, IDOK, kInfo);
  CommandModal(gForm6AddId, [&](Hwnd form) {
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230008");
    Fill("411 SPP", "Les", "150000", "Perbulan");
    Click(gFormAkunBayarSimpanButton);
    FrmClose(form, 0);
  });
  // Every student has one billing row of the new fee, and no payment counts toward it.
  EXPECT_EQ(Query("select id_siswa, count(*), max(jml_pembayaran) from detail_account where "
                  "id_account='BR-TKA20230008' group by id_siswa order by id_siswa"),
            (Rows{{"S1", "1", "1800000"}, {"S2", "1", "1800000"}, {"S3", "1", "1800000"}}));
  EXPECT_EQ(One("select count(*) from transaksi where acctid='BR-TKA20230008'"), "0");
  EXPECT_EQ(ListRows(gForm6List).back(),
            (std::vector<std::string>{"BR-TKA20230008", "Les", "150000", "TK A", "Perbulan", "411", "3"}));
}

TEST_F(FeeEntryTest, ASaveDuringAnotherProgramsReadFailsWholeAndTheRetryLands) {
  feetest::OtherProgram other(WorkFile("keuangan.db3"));
  other.holdReadLock();
  CommandModal(gForm6AddId, [&](Hwnd form) {
    Fill("411 SPP", "Les", "1000", "Perbulan");
    ExpectMsgBox("SQL error: database is locked", "Info", IDOK, MB_OK);   // and no "berhasil"
    Click(gFormAkunBayarSimpanButton);
    VerifySeams();
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230007");   // the fields keep their texts
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "Les");
    other.release();
    EXPECT_EQ(other.Query("select count(*) from account where Id='BR-TKA20230007'"), (Rows{{"0"}}));
    EXPECT_EQ(other.Query("select count(*) from detail_account where id_account='BR-TKA20230007'"), (Rows{{"0"}}));
    // The same save again, the file free.
    ExpectMsgBox(kSaved, kCaption, IDOK, kInfo);
    Click(gFormAkunBayarSimpanButton);
    FrmClose(form, 0);
  });
  EXPECT_EQ(other.Query("select Pembayaran, Jumlah from account where Id='BR-TKA20230007'"), (Rows{{"Les", "1000"}}));
  EXPECT_EQ(other.Query("select count(*) from detail_account where id_account='BR-TKA20230007'"), (Rows{{"3"}}));
}

TEST_F(FeeEntryTest, AFailingBillingRowLeavesNeitherFeeNorBillingRows) {
  fintest::Exec(gDb, "CREATE TRIGGER no_s2 BEFORE INSERT ON detail_account WHEN NEW.id_siswa='S2' "
                     "BEGIN SELECT RAISE(ABORT, 'baris ditolak'); END;");
  ExpectMsgBox("SQL error: baris ditolak", "Info", IDOK, MB_OK);   // and no "berhasil"
  CommandModal(gForm6AddId, [&](Hwnd form) {
    Fill("411 SPP", "Les", "1000", "Perbulan");
    Click(gFormAkunBayarSimpanButton);
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230007");
    EXPECT_EQ(CtlGetText(gFormAkunBayarJumlahEdit), "1000");
    FrmClose(form, 0);
  });
  EXPECT_EQ(One("select count(*) from account where Id='BR-TKA20230007'"), "0");
  EXPECT_EQ(One("select count(*) from detail_account where id_account='BR-TKA20230007'"), "0");   // not even S1's
  EXPECT_EQ(LvGetItemCount(gForm6List), 2);
}

// A new fee reads before it writes: whether its id is free and which students of the class it bills. A read that
// fails ends the save with the failure shown: no fee and no billing row (never a fee billed to nobody).
TEST_F(FeeEntryTest, ASaveWhoseReadsFailWritesNothing) {
  const struct {
    const char* table;
    const char* column;
  } cases[] = {{"transaksi", "acctid"}, {"siswakelas", "IdSiswa"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    CommandModal(gForm6AddId, [&](Hwnd form) {
      Fill("411 SPP", "Les", "1000", "Perbulan");
      {
        fintest::ReadDenied denied(gDb, c.table, c.column);
        ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);   // and no "berhasil"
        Click(gFormAkunBayarSimpanButton);
        VerifySeams();
      }
      EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230007");
      FrmClose(form, 0);
    });
    EXPECT_EQ(fintest::RowsInFile(WorkFile("keuangan.db3"),
                                  "select (select count(*) from account where Id='BR-TKA20230007'), (select count(*) "
                                  "from detail_account where id_account='BR-TKA20230007')"),
              (Rows{{"0", "0"}}));
  }
}

TEST_F(FeeEntryTest, ChoosingADescription) {
  CommandModal(gForm6AddId, [&](Hwnd form) {
    fintest::Choose(gFormAkunBayarDeskripsiCombo, "Seragam");
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "Seragam");
    fintest::Choose(gFormAkunBayarDeskripsiCombo, "Tambah Deskripsi Baru");
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "");
    EXPECT_EQ(WinGetFocus(), gFormAkunBayarPembayaranEdit);
    FrmClose(form, 0);
  });
}

TEST_F(FeeEntryTest, EditOpensWithTheMarkedFee) {
  LvSelectItem(gForm6List, 1);   // Buku, posted to a code no income account has
  CommandModal(gForm6EditId, [&](Hwnd form) {
    EXPECT_EQ(gEditMode, 1);
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230002");
    EXPECT_EQ(CtlGetText(gFormAkunBayarDeskripsiCombo), "Buku");
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), "Buku");
    EXPECT_EQ(CtlGetText(gFormAkunBayarJumlahEdit), "300000");
    EXPECT_EQ(CbGetCurSel(gFormAkunBayarReferensiCombo), CB_ERR);
    EXPECT_EQ(CtlGetText(gFormAkunBayarJenisCombo), "Pertahun");
    FrmClose(form, 0);
  });
  LvSelectItem(gForm6List, 0);
  CommandModal(gForm6EditId, [&](Hwnd form) {
    EXPECT_EQ(CtlGetText(gFormAkunBayarReferensiCombo), "411 SPP");
    EXPECT_EQ(CtlGetText(gFormAkunBayarJenisCombo), "Perbulan");
    FrmClose(form, 0);
  });
}

TEST_F(FeeEntryTest, EditRewritesEveryBillingRow) {
  struct Case {
    const char* name;
    bool defaultTicked;
    const char* type;
    const char* amount;
    const char* storedAmount;   // account.Jumlah afterwards
    const char* total;
    const char* month;
  } cases[] = {
      {"Default unticked keeps the fee's amount", false, "Perbulan", "175000", "150000", "2100000", "175000"},
      {"Default ticked changes it", true, "Perbulan", "160000", "160000", "1920000", "160000"},
      {"to yearly", true, "Pertahun", "900000", "900000", "900000", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "UPDATE account SET Jumlah=150000, Type='Perbulan' WHERE Id='BR-TKA20230001'");
    Command(gForm6RefreshId);
    LvSelectItem(gForm6List, 0);
    CommandModal(gForm6EditId, [&](Hwnd form) {
      if (c.defaultTicked) Click(gFormAkunBayarDefaultCheck);
      CtlSetText(gFormAkunBayarJumlahEdit, c.amount);
      fintest::Choose(gFormAkunBayarJenisCombo, c.type);
      fintest::Choose(gFormAkunBayarReferensiCombo, "412 Uang Gedung");
      CtlSetText(gFormAkunBayarPembayaranEdit, "SPP 'baru'");
      Click(gFormAkunBayarSimpanButton);   // closes, no message
      EXPECT_FALSE(IsWindow(form));
    });
    EXPECT_EQ(Query("select Pembayaran, Kelas, Jumlah, Type, Jenjang, RefRekening from account where "
                    "Id='BR-TKA20230001'"),
              (Rows{{"SPP 'baru'", "TK A", c.storedAmount, c.type, "rev", "412"}}));
    // Both rows, the one set by hand included.
    EXPECT_EQ(Billing("BR-TKA20230001"), (Rows{BillingRow("S1", c.total, c.month), BillingRow("S2", c.total, c.month)}));
    // The list row shows what the fee holds.
    EXPECT_EQ(ListRows(gForm6List)[0],
              (std::vector<std::string>{"BR-TKA20230001", "SPP 'baru'", c.storedAmount, "TK A", c.type, "412", "2"}));
  }
}

TEST_F(FeeEntryTest, AFailingEditChangesNothing) {
  fintest::Exec(gDb, "CREATE TRIGGER no_upd BEFORE UPDATE ON detail_account "
                     "BEGIN SELECT RAISE(ABORT, 'tagihan terkunci'); END;");
  LvSelectItem(gForm6List, 0);
  ExpectMsgBox("SQL error: tagihan terkunci", "Info", IDOK, MB_OK);
  CommandModal(gForm6EditId, [&](Hwnd form) {
    Click(gFormAkunBayarDefaultCheck);
    CtlSetText(gFormAkunBayarJumlahEdit, "99");
    CtlSetText(gFormAkunBayarPembayaranEdit, "Baru");
    Click(gFormAkunBayarSimpanButton);
    EXPECT_FALSE(IsWindow(form));   // the edit closes either way; the operator saw the failure
  });
  EXPECT_EQ(Query("select Pembayaran, Jumlah, Jenjang from account where Id='BR-TKA20230001'"),
            (Rows{{"SPP", "150000", "<null>"}}));
  EXPECT_EQ(ListRows(gForm6List)[0][1], "SPP");
}

// A fee name longer than a list cell (259 characters) comes into the edit whole, from the file: an edit of the amount
// keeps the name whole.
TEST_F(FeeEntryTest, AnEditKeepsAFeeNameLongerThanAListCellWhole) {
  const std::string name = "Iuran 'Kegiatan' " + std::string(283, 'k');
  fintest::Exec(gDb, "UPDATE account SET Pembayaran=" + SqlQuoted(name) + " WHERE Id='BR-TKA20230001'");
  Command(gForm6RefreshId);
  LvSelectItem(gForm6List, 0);
  ASSERT_LT(LvGetItemText(gForm6List, 0, 1).size(), name.size());   // the list cell gives it cut
  CommandModal(gForm6EditId, [&](Hwnd) {
    EXPECT_EQ(CtlGetText(gFormAkunBayarPembayaranEdit), name);
    CtlSetText(gFormAkunBayarJumlahEdit, "175000");
    Click(gFormAkunBayarSimpanButton);
  });
  EXPECT_EQ(fintest::RowsInFile(WorkFile("keuangan.db3"),
                                "select Pembayaran, Jenjang from account where Id='BR-TKA20230001'"),
            (Rows{{name, "rev"}}));
}

// An edit of a fee that another program deleted after the window opened writes nothing (neither the fee nor its
// billing rows), says so, and leaves the list row as it was.
TEST_F(FeeEntryTest, AnEditOfAFeeAnotherProgramDeletedSaysNothingWasSaved) {
  const std::string path = WorkFile("keuangan.db3");
  OtherProgram other(path);
  LvSelectItem(gForm6List, 0);
  const std::vector<std::string> listRow = ListRows(gForm6List)[0];
  const Rows billing = Billing("BR-TKA20230001");
  CommandModal(gForm6EditId, [&](Hwnd form) {
    ASSERT_EQ(other.Write("DELETE FROM account WHERE Id='BR-TKA20230001'"), SQLITE_OK);
    Click(gFormAkunBayarDefaultCheck);
    CtlSetText(gFormAkunBayarJumlahEdit, "99");
    CtlSetText(gFormAkunBayarPembayaranEdit, "Baru");
    ExpectMsgBox(kFormAkunBayarNotFound, "Info", IDOK, kInfo);   // and nothing else
    Click(gFormAkunBayarSimpanButton);
    VerifySeams();
    EXPECT_FALSE(IsWindow(form));   // the edit closes either way
  });
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from account where Id='BR-TKA20230001'"), (Rows{{"0"}}));
  EXPECT_EQ(Billing("BR-TKA20230001"), billing);   // its billing rows as they were
  EXPECT_EQ(ListRows(gForm6List)[0], listRow);
}

TEST_F(FeeEntryTest, EditWithoutAMarkedFeeWritesNothing) {
  fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Tapel) VALUES ('','Tanpa id','TK A','2023/2024');"
                     "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('','S1',7)");
  LvSetSelectionMark(gForm6List, -1);
  CommandModal(gForm6EditId, [&](Hwnd form) {
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "");
    CtlSetText(gFormAkunBayarJumlahEdit, "5");
    Click(gFormAkunBayarSimpanButton);
    EXPECT_FALSE(IsWindow(form));
  });
  EXPECT_EQ(Query("select Pembayaran, Jenjang from account where Id=''"), (Rows{{"Tanpa id", "<null>"}}));
  EXPECT_EQ(One("select jml_pembayaran from detail_account where id_account=''"), "7");
}

TEST_F(FeeEntryTest, EditOfAFeeFoundBySearchKeepsItInItsOwnClass) {
  fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES "
                     "('BR-VIIA20230003','S4',600000),('BR-VIIA20230003','S5',600000)");
  CtlSetText(gForm6SearchEdit, "Seragam");
  PressEnter(gForm6SearchEdit);
  ASSERT_EQ(LvGetItemCount(gForm6List), 1);
  ASSERT_EQ(CtlGetText(gForm6KelasCombo), "TK A");
  LvSelectItem(gForm6List, 0);
  CommandModal(gForm6EditId, [&](Hwnd) {
    CtlSetText(gFormAkunBayarJumlahEdit, "55000");
    Click(gFormAkunBayarSimpanButton);
  });
  EXPECT_EQ(Query("select Kelas, Jenjang from account where Id='BR-VIIA20230003'"), (Rows{{"VII A", "rev"}}));
  EXPECT_EQ(ListRows(gForm6List)[0][3], "VII A");
  // Its billing rows stay with its own students, rewritten.
  EXPECT_EQ(Query("select id_siswa, jml_pembayaran from detail_account where id_account='BR-VIIA20230003' order by "
                  "id_siswa"),
            (Rows{{"S4", "660000"}, {"S5", "660000"}}));
}

}  // namespace
