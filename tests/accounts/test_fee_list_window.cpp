// The fee list FORM6 driven as an operator would: opening by class, class change, search, delete with its questions,
// refresh, the copy from an earlier school year, export, import and the toolbar.
#include "accounts/fee_test_fixture.h"
#include "accounts/source_year_prompt.h"
#include "common/busy.h"
#include "students/import_window.h"

namespace {

using feetest::FeeTest;
using feetest::Rows;

const std::vector<std::string> kCaptions = {"ID", "PEMBAYARAN", "JUMLAH", "KELAS", "TYPE", "REFREKENING", "N"};

class FeeListTest : public FeeTest {
 protected:
  void SetUp() override {
    Seed();
    fintest::Exec(gDb,
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-TKA20230002','Buku','TK A',300000,'Pertahun','2023/2024','412'),"
                  " ('BR-TKA20230001','SPP','TK A',150000,'Perbulan','2023/2024','411'),"
                  " ('BR-VIIA20230003','SPP VII','VII A',200000,'Perbulan','2023/2024','411'),"
                  " ('BR-PlayGroup20220004','SPP PG','Play Group',100000,'Perbulan','2022/2023','401');"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES"
                  " ('BR-TKA20230001','S1',1800000),('BR-TKA20230001','S2',1800000),('BR-TKA20230001','S3',1800000);");
  }
};

TEST_F(FeeListTest, OpensOnTheFirstClassOfTheYear) {
  const Hwnd w = OpenFeeList();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm6Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM6_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Data Akun Pembayaran");
  EXPECT_EQ(WinGetDlgCtrlID(w), 110);
  EXPECT_TRUE(WinIsZoomed(w));
  // 'DO', graduates and other years are never offered.
  EXPECT_EQ(ComboItems(gForm6KelasCombo), (std::vector<std::string>{"TK A", "VII A"}));
  EXPECT_EQ(CtlGetText(gForm6KelasCombo), "TK A");
  EXPECT_EQ(Captions(gForm6List), kCaptions);
  EXPECT_EQ(ListRows(gForm6List),
            (Rows{{"BR-TKA20230001", "SPP", "150000", "TK A", "Perbulan", "411", "3"},
                  {"BR-TKA20230002", "Buku", "300000", "TK A", "Pertahun", "412", "0"}}));
  EXPECT_EQ(WinWidget(w)->focusWidget(), WinWidget(gForm6KelasCombo));
  EXPECT_EQ(CtlGetText(gForm6KelasLabel), "Kelas");
  EXPECT_EQ(CtlGetText(gForm6CariLabel), "Cari");
  const std::vector<std::pair<int, const char*>> tips = {
      {gForm6AddId, "Tambah Data Baru"},
      {gForm6EditId, "Edit / Ubah Data"},
      {gForm6DeleteId, "Hapus Item Data"},
      {gForm6DetailId, "Detail Akun Pembayaran Persiswa"},
      {gForm6RekeningId, "Set Rekening ke Akun secara masal"},
      {gForm6ExcelId, "Export Ke Excel"},
      {gForm6PageId, "Cetak Ke Broswer"},
      {gForm6ImportId, "Import Data Dari Excel"},
      {gForm6CopyYearId, "Salin Data dari tahun ajaran sebelumnya"},
      {gForm6CopyClassId, "Salin Data dari kelas yang lain"},
      {gForm6RefreshId, "Refresh / membaca ulang Data dari database"}};
  for (auto [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm6Toolbar, id), tip);
  EXPECT_EQ(TbGetButtonCount(gForm6Toolbar), 12);   // and the separator
}

TEST_F(FeeListTest, ChoosingAClassListsItsFees) {
  OpenFeeList();
  fintest::Choose(gForm6KelasCombo, "VII A");
  EXPECT_EQ(ListRows(gForm6List), (Rows{{"BR-VIIA20230003", "SPP VII", "200000", "VII A", "Perbulan", "411", "0"}}));
  EXPECT_EQ(gTargetListView, gForm6List);
}

TEST_F(FeeListTest, AYearWithoutClassesOffersNothingToAddTo) {
  gTapel = "2030/2031";
  fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Tapel) VALUES ('BR-2030','Tanpa kelas','','2030/2031')");
  OpenFeeList();
  EXPECT_EQ(CbGetCount(gForm6KelasCombo), 0);
  EXPECT_EQ(LvGetItemCount(gForm6List), 1);   // the fees without a class
  Command(gForm6AddId);                       // no modal window opens (an unscripted one would fail the test)
  EXPECT_FALSE(IsWindow(gFormAkunBayarWindow));
}

TEST_F(FeeListTest, SearchFindsFeesOfEveryClassOfTheYearOnly) {
  OpenFeeList();
  struct Case {
    const char* text;
    std::vector<std::string> ids;
  } cases[] = {
      {"SPP", {"BR-TKA20230001", "BR-VIIA20230003"}},   // not last year's "SPP PG"
      {"Pertahun", {"BR-TKA20230002"}},
      {"VII", {"BR-VIIA20230003"}},
      {"412", {"BR-TKA20230002"}},
      {"", {"BR-TKA20230002", "BR-TKA20230001", "BR-VIIA20230003"}},
      {"x' or ''='", {}},                               // typed text cannot widen the search
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CtlSetText(gForm6SearchEdit, c.text);
    PressEnter(gForm6SearchEdit);
    std::vector<std::string> ids;
    for (const auto& row : ListRows(gForm6List)) ids.push_back(row[0]);
    std::sort(ids.begin(), ids.end());
    std::vector<std::string> expected = c.ids;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(CtlGetText(gForm6KelasCombo), "TK A");   // the class stays
  }
}

TEST_F(FeeListTest, DeleteAsksOnceWithoutPaymentsAndTwiceWithPayments) {
  fintest::Exec(gDb, "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES ('T1','BR-TKA20230001','S1',"
                     "150000,'p')");
  OpenFeeList();
  struct Case {
    const char* name;
    int row;
    std::vector<int> answers;
    bool deleted;
  } cases[] = {
      {"No at the first question", 1, {IDNO}, false},
      {"no payments, Yes", 1, {IDYES}, true},                       // Buku: asked once
      {"payments, Yes then No", 0, {IDYES, IDNO}, false},           // SPP has a payment
      {"payments, Yes then Yes", 0, {IDYES, IDYES}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Command(gForm6RefreshId);
    const std::string id = LvGetItemText(gForm6List, c.row, 0);
    const int before = LvGetItemCount(gForm6List);
    LvSelectItem(gForm6List, c.row);
    ExpectMsgBox(kForm6DeleteQuestion, "Confirm Delete", c.answers[0], MB_YESNO | MB_ICONQUESTION);
    if (c.answers.size() > 1) ExpectMsgBox(kForm6PaymentsQuestion, "Confirm Delete", c.answers[1], MB_YESNO | MB_ICONQUESTION);
    Command(gForm6DeleteId);
    VerifySeams();
    EXPECT_EQ(One("select count(*) from account where Id='" + id + "'"), c.deleted ? "0" : "1");
    EXPECT_EQ(LvGetItemCount(gForm6List), c.deleted ? before - 1 : before);
  }
  // The billing and payment rows of a deleted fee stay.
  EXPECT_EQ(One("select count(*) from detail_account where id_account='BR-TKA20230001'"), "3");
  EXPECT_EQ(One("select count(*) from transaksi where acctid='BR-TKA20230001'"), "1");
}

TEST_F(FeeListTest, DeleteStopsWhenThePaymentsCannotBeCounted) {
  OpenFeeList();
  fintest::Exec(gDb, "DROP TABLE transaksi");
  LvSelectItem(gForm6List, 0);
  ExpectMsgBox(kForm6DeleteQuestion, "Confirm Delete", IDYES);
  ExpectMsgBox("SQL error: no such table: transaksi", "Info");
  Command(gForm6DeleteId);
  EXPECT_EQ(One("select count(*) from account where Id='BR-TKA20230001'"), "1");
  EXPECT_EQ(LvGetItemCount(gForm6List), 2);
}

TEST_F(FeeListTest, RefreshKeepsTheClassWhileItExists) {
  OpenFeeList();
  fintest::Choose(gForm6KelasCombo, "VII A");
  fintest::Exec(gDb, "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S7','B Baru','2023/2024');"
                     "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                     " ('BR-VIIA20230009','Les','VII A',5000,'Perbulan','2023/2024')");
  Command(gForm6RefreshId);
  EXPECT_EQ(ComboItems(gForm6KelasCombo), (std::vector<std::string>{"B Baru", "TK A", "VII A"}));
  EXPECT_EQ(CtlGetText(gForm6KelasCombo), "VII A");
  EXPECT_EQ(LvGetItemCount(gForm6List), 2);
  // The class is gone: none is chosen and the list shows the fees without a class.
  fintest::Exec(gDb, "DELETE FROM siswakelas WHERE Kelas='VII A'");
  Command(gForm6RefreshId);
  EXPECT_EQ(CbGetCurSel(gForm6KelasCombo), CB_ERR);
  EXPECT_EQ(LvGetItemCount(gForm6List), 0);
}

TEST_F(FeeListTest, ExportAndPageGoThroughThePlugIns) {
  OpenFeeList();
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm6ExcelId);
  EXPECT_EQ(gTargetListView, gForm6List);
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm6PageId);
}

TEST_F(FeeListTest, ImportOpensTheImportWindowForFees) {
  OpenFeeList();
  fintest::Choose(gForm6KelasCombo, "VII A");
  CommandModal(gForm6ImportId, [&](Hwnd form) {
    EXPECT_EQ(form, gFormImportWindow);
    EXPECT_EQ(gFormMode, "Akun");
    EXPECT_EQ(CtlGetText(gForm6KelasCombo), "VII A");   // the class the import reads
    EXPECT_FALSE(WinIsWindowEnabled(gForm6Window));
    FrmClose(form, 0);
  });
  EXPECT_TRUE(WinIsWindowEnabled(gForm6Window));
}

TEST_F(FeeListTest, EachFeeListWorksOnItsOwnControls) {
  const Hwnd first = OpenFeeList();
  const Hwnd firstCombo = gForm6KelasCombo, firstList = gForm6List;
  const Hwnd second = OpenFeeList();
  ASSERT_NE(first, second);
  EXPECT_EQ(gForm6Window, second);
  fintest::Choose(gForm6KelasCombo, "VII A");
  // A command of the first window acts on the first window's class and list.
  FORM6_OnCommand(first, 0, 0, gForm6RefreshId);
  EXPECT_EQ(gForm6Window, first);
  EXPECT_EQ(gForm6KelasCombo, firstCombo);
  EXPECT_EQ(CtlGetText(firstCombo), "TK A");
  EXPECT_EQ(LvGetItemCount(firstList), 2);
  // The window the globals name goes: they name no window of it any more (the other one, once it is activated).
  WinDestroyWindow(first);
  EXPECT_TRUE(gForm6Window == 0 || gForm6Window == second);
  EXPECT_NE(gForm6KelasCombo, firstCombo);
  EXPECT_NE(gForm6List, firstList);
  FORM6_Bind(second);
  EXPECT_EQ(CtlGetText(gForm6KelasCombo), "VII A");
  WinDestroyWindow(second);
}

TEST_F(FeeListTest, EachWindowItOpensSavesIntoItsOwnClassWhateverIsClickedMeanwhile) {
  fintest::Exec(gDb, "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('413','Iuran Komite','Msk','2023/2024')");
  // Two fee lists: the first shows TK A, the second VII A. Every window below is opened from the first; a row of the
  // second is clicked while it runs, which makes the second list the current one.
  const Hwnd first = OpenFeeList();
  const Hwnd firstList = gForm6List, firstToolbar = gForm6Toolbar;
  const Hwnd second = OpenFeeList();
  fintest::Choose(gForm6KelasCombo, "VII A");
  const Hwnd secondList = gForm6List;
  const Rows secondRows = ListRows(secondList);
  ASSERT_EQ(secondRows.size(), 1u);
  auto clickSecond = [&] {
    ClickRow(secondList, 0);
    EXPECT_EQ(gForm6Window, second);
    EXPECT_EQ(CtlGetText(gForm6KelasCombo), "VII A");
  };
  auto fromFirst = [&](int command, std::function<void(Hwnd)> drive) {
    bool ran = false;
    OnModal([&](QWidget* w) {
      ran = true;
      drive(WinHandleOfWidget(w));
    });
    ASSERT_EQ(TbClickButton(firstToolbar, command), 1);
    EXPECT_TRUE(ran);
    VerifySeams();
  };
  const std::string studentsOf = "select id_siswa from detail_account where id_account='%' order by id_siswa";
  auto billed = [&](const std::string& fee) {
    std::string sql = studentsOf;
    return Query(sql.replace(sql.find('%'), 1, fee));
  };

  // The fee entry window adds a fee of TK A, with TK A's id and billed to TK A's students.
  std::string added;
  fromFirst(gForm6AddId, [&](Hwnd form) {
    added = CtlGetText(gFormAkunBayarIdEdit);
    clickSecond();
    fintest::Choose(gFormAkunBayarReferensiCombo, "411 SPP");
    CtlSetText(gFormAkunBayarPembayaranEdit, "Komite");
    CtlSetText(gFormAkunBayarJumlahEdit, "25000");
    fintest::Choose(gFormAkunBayarJenisCombo, "Perbulan");
    ExpectMsgBox("Data berhasil disimpan..", "Entry Data..", IDOK, MB_OK | MB_ICONINFORMATION);
    Click(gFormAkunBayarSimpanButton);
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit).rfind("BR-TKA2023", 0), 0u);   // the next one is TK A's too
    FrmClose(form, 0);
  });
  EXPECT_EQ(added.rfind("BR-TKA2023", 0), 0u);
  EXPECT_EQ(Query("select Kelas, Pembayaran, Tapel from account where Id='" + added + "'"),
            (Rows{{"TK A", "Komite", "2023/2024"}}));
  EXPECT_EQ(billed(added), (Rows{{"S1"}, {"S2"}, {"S3"}}));
  EXPECT_EQ(LvGetItemCount(firstList), 3);   // the first list shows TK A's fees anew
  EXPECT_EQ(ListRows(secondList), secondRows);

  // The fee entry window edits the fee marked in the first list and writes its row there.
  int buku = -1;
  for (int r = 0; r < LvGetItemCount(firstList); ++r)
    if (LvGetItemText(firstList, r, 0) == "BR-TKA20230002") buku = r;
  ASSERT_GE(buku, 0);
  LvSelectItem(firstList, buku);
  fromFirst(gForm6EditId, [&](Hwnd) {
    EXPECT_EQ(CtlGetText(gFormAkunBayarIdEdit), "BR-TKA20230002");
    clickSecond();
    CtlSetText(gFormAkunBayarPembayaranEdit, "Buku Paket");
    Click(gFormAkunBayarSimpanButton);   // closes the window
  });
  EXPECT_EQ(Query("select Id, Pembayaran, Kelas from account where Id in ('BR-TKA20230002','BR-VIIA20230003')"
                  " order by Id"),
            (Rows{{"BR-TKA20230002", "Buku Paket", "TK A"}, {"BR-VIIA20230003", "SPP VII", "VII A"}}));
  EXPECT_EQ(LvGetItemText(firstList, buku, 1), "Buku Paket");
  EXPECT_EQ(ListRows(secondList), secondRows);

  // The class-to-class copy copies VII A's fee into TK A.
  fromFirst(gForm6CopyClassId, [&](Hwnd) {
    fintest::Choose(gForm25KelasCombo, "VII A");
    Click(gForm25ViewButton);
    LvSetCheck(gForm25List, 0, 1);
    clickSecond();
    ExpectMsgBox("Penyalinan Data Selesai", "Info", IDOK, MB_OK);
    Click(gForm25CopyButton);   // closes the window
  });
  EXPECT_EQ(Query("select Kelas, Tapel from account where Pembayaran='SPP VII' order by Kelas"),
            (Rows{{"TK A", "2023/2024"}, {"VII A", "2023/2024"}}));
  EXPECT_EQ(LvGetItemCount(firstList), 4);   // refreshed with the copy
  EXPECT_EQ(ListRows(secondList), secondRows);

  // The import of fees pastes and saves them into TK A.
  fromFirst(gForm6ImportId, [&](Hwnd form) {
    clickSecond();
    SetClipboard("Seragam\t90000\tPertahun\r\n");
    Click(gFormImportPasteButton);
    EXPECT_EQ(LvGetItemText(gFormImportList, 0, 2), "TK A");
    ExpectMsgBox(
        "Proses ini membutuhkan pengecekan data yang valid, sebelum melanjutkan ke proses penyimpanan mohon teliti "
        "terlebih dahulu Id/Kode/Induk agar tidak sama persis dengan data sudah di input sebelumnya\r"
        "Yakin dengan data anda?, data yang tidak yang valid tidak akan ter-input dalam database.",
        "Inpor Data dari Excel", IDYES, MB_YESNO | MB_ICONQUESTION);
    Click(gFormImportSimpanButton);
    FrmClose(form, 0);
  });
  EXPECT_EQ(Query("select Kelas, Tapel, substr(Id, 1, 10) from account where Pembayaran='Seragam'"),
            (Rows{{"TK A", "2023/2024", "BR-TKA2023"}}));
  WinDestroyWindow(second);
  EXPECT_TRUE(IsWindow(first));
}

// ----- copy from an earlier school year ------------------------------------------------------------------------------
const std::string kDone = "Penyalinan data sudah selesai, silahkan refresh..";

class FeeYearCopyTest : public FeeListTest {
 protected:
  void SetUp() override {
    FeeListTest::SetUp();
    fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening, Jenjang) VALUES"
                       " ('BR-VIIA20220010','Uang ''Kegiatan''','VII A',150000,'Pertahun','2022/2023','401','rev'),"
                       " ('BR-VIIA20220011','SPP','VII A',150000,'Perbulan','2022/2023','401','ins');");
    OpenFeeList();
  }
  // Runs the copy: Yes to the question, `year` typed into the prompt and "Lanjut"; `outcome` is the box that ends
  // it (caption "Info", OK only).
  void CopyFrom(const std::string& year, const std::string& outcome = kDone) {
    ExpectMsgBox(kForm6CopyQuestion, "Salin Data dari tahun ajaran : ", IDYES, MB_YESNO | MB_ICONQUESTION);
    ExpectMsgBox(outcome, "Info", IDOK, MB_OK);
    CommandModal(gForm6CopyYearId, [&](Hwnd form) {
      EXPECT_EQ(form, gForm21Window);
      EXPECT_EQ(CtlGetText(gForm21YearEdit), "2022/2023");   // the year before
      CtlSetText(gForm21YearEdit, year);
      Click(gForm21ContinueButton);
    });
  }
  Rows CopiedFees() {
    return Query("select Id, Pembayaran, Kelas, Jumlah, Type, Jenjang, RefRekening from account where "
                 "Tapel='2023/2024' and Id not in ('BR-TKA20230001','BR-TKA20230002','BR-VIIA20230003') order by "
                 "rowid");
  }
};

TEST_F(FeeYearCopyTest, CopiesEveryClassOfTheSourceYearWithoutBillingRows) {
  CopyFrom("2022/2023");
  EXPECT_EQ(CopiedFees(),
            (Rows{{"BR-PlayGroup10000020230001", "SPP PG", "Play Group", "100000", "Perbulan", "ins", "AM-20232024"},
                  {"BR-VIIA15000020230002", "Uang 'Kegiatan'", "VII A", "150000", "Pertahun", "ins", "AM-20232024"},
                  {"BR-VIIA15000020230003", "SPP", "VII A", "150000", "Perbulan", "ins", "AM-20232024"}}));
  EXPECT_EQ(One("select count(*) from detail_account where id_account like '%20230001' and id_account<>"
                "'BR-TKA20230001'"),
            "0");
  EXPECT_EQ(gEditMode, 3);
  EXPECT_EQ(CtlGetText(gForm6SearchEdit), "3");
  EXPECT_EQ(LvGetItemCount(gForm6List), 2);   // not reloaded
  // A second run over the same year finds every fee copied already and copies nothing.
  CopyFrom("2022/2023");
  EXPECT_EQ(CopiedFees().size(), 3u);
  EXPECT_EQ(gEditMode, 0);
  EXPECT_EQ(CtlGetText(gForm6SearchEdit), "3");
  EXPECT_EQ(One("select count(distinct Id) = count(*) from account"), "1");
}

// A copy asked for while one runs (from a box of the first) is refused and copies nothing.
TEST_F(FeeYearCopyTest, ACopyIsNotStartedTwice) {
  {
    FinBusy running(FinBusyTask::YearCopy, false);
    CopyFrom("2022/2023", kFinBusyRefusal);
  }
  EXPECT_TRUE(CopiedFees().empty());
  EXPECT_EQ(CtlGetText(gForm6SearchEdit), "");
  CopyFrom("2022/2023");
  EXPECT_EQ(CopiedFees().size(), 3u);
}

TEST_F(FeeYearCopyTest, TheWorkingYearItselfCopiesNothing) {
  CopyFrom("2023/2024");
  EXPECT_TRUE(CopiedFees().empty());
  EXPECT_EQ(CtlGetText(gForm6SearchEdit), "");
}

TEST_F(FeeYearCopyTest, NoAndBatalCopyNothing) {
  ExpectMsgBox(kForm6CopyQuestion, "Salin Data dari tahun ajaran : ", IDNO);
  Command(gForm6CopyYearId);
  ExpectMsgBox(kForm6CopyQuestion, "Salin Data dari tahun ajaran : ", IDYES);
  CommandModal(gForm6CopyYearId, [&](Hwnd) { Click(gForm21CancelButton); });
  EXPECT_TRUE(CopiedFees().empty());
}

TEST_F(FeeYearCopyTest, AFailingInsertLeavesNoCopiedFee) {
  fintest::Exec(gDb, "CREATE TRIGGER no_spp BEFORE INSERT ON account WHEN NEW.Pembayaran='SPP' "
                     "BEGIN SELECT RAISE(ABORT, 'SPP ditolak'); END;");
  CopyFrom("2022/2023", "SQL error: SPP ditolak");   // and no "selesai"
  EXPECT_TRUE(CopiedFees().empty());   // the two fees before it were undone
  EXPECT_EQ(gEditMode, 0);
  EXPECT_EQ(CtlGetText(gForm6SearchEdit), "");
}

// Every id a fee of the copy could take named already (billing rows of fees deleted long ago): nothing is copied, and
// the box says so once the file is no longer held (the fixture fails a box shown inside a transaction).
TEST_F(FeeYearCopyTest, EveryIdAFeeCouldTakeNamedCopiesNothingAndSaysSo) {
  fintest::Exec(gDb, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9999) "
                     "INSERT INTO detail_account (id_account, id_siswa) "
                     "SELECT printf('BR-PlayGroup1000002023%04d', i), 'S1' FROM n");
  ExpectMsgBox(kForm6CopyQuestion, "Salin Data dari tahun ajaran : ", IDYES, MB_YESNO | MB_ICONQUESTION);
  ExpectMsgBox("Gagal menyimpan, Id/Kode Sudah Tersedia..", "Entry Data..", IDOK, MB_OK | MB_ICONINFORMATION);
  CommandModal(gForm6CopyYearId, [&](Hwnd) {
    CtlSetText(gForm21YearEdit, "2022/2023");
    Click(gForm21ContinueButton);
  });
  VerifySeams();
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  EXPECT_TRUE(CopiedFees().empty());
}

TEST_F(FeeYearCopyTest, AnIdTakenByAnotherFeeIsPassedOver) {
  fintest::Exec(gDb, "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                     " ('BR-PlayGroup10000020230001','Lain','X','1','Perbulan','2021/2022')");
  CopyFrom("2022/2023");
  const Rows copied = CopiedFees();
  ASSERT_EQ(copied.size(), 3u);
  EXPECT_EQ(copied[0][0], "BR-PlayGroup10000020230002");
  EXPECT_EQ(copied[1][0], "BR-VIIA15000020230003");
  EXPECT_EQ(gEditMode, 3);
}

TEST_F(FeeYearCopyTest, AnIdThatOldBillingRowsOrPaymentsNameIsPassedOver) {
  fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES "
                     "('BR-PlayGroup10000020230001','S7',5);"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES "
                     "('T1','BR-VIIA15000020230003','S4',5,'p')");
  CopyFrom("2022/2023");
  const Rows copied = CopiedFees();
  ASSERT_EQ(copied.size(), 3u);
  EXPECT_EQ(copied[0][0], "BR-PlayGroup10000020230002");
  EXPECT_EQ(copied[1][0], "BR-VIIA15000020230004");
  EXPECT_EQ(copied[2][0], "BR-VIIA15000020230005");
  EXPECT_EQ(gEditMode, 3);
}

}  // namespace
