// The arrears report window FORM11 and its dialog FORMLAPTUNGGAKAN driven as the operator drives them: the window, the
// dialog and its class list, both reports over the fixture school (rows and totals per report kind, the months billed
// by the clock, prepaid mode, last year's fees), failing statements, the notes printed per ticked student, the
// archive files, the exports through the plug-ins, two windows side by side.
#include <QGroupBox>
#include <algorithm>
#include <QPalette>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "plugins/plugin_setup.h"
#include "reports/arrears_report_fixture.h"
#include "support/locked_folder.h"
#include "support/workbook_file.h"

namespace {

using arrrep::ArrearsReportTest;
using arrrep::Rows;

class ArrearsReportWindowTest : public ArrearsReportTest {
 protected:
  void SetUp() override { Seed(); }
  static std::string Expected(const std::string& name) {
    return fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/reports/expected/" + name);
  }
  // The recorded documents' lines (Describe of every draw call), each document after a "== name" line.
  std::string PrintedLines() {
    std::string out;
    for (const auto& doc : printed().Documents()) {
      out += "== " + doc.name + (doc.ended ? "" : " (not ended)") + " pages " + std::to_string(doc.pages.size()) +
             "\n";
      for (const auto& page : doc.pages)
        for (const std::string& line : page.Lines()) out += line + "\n";
    }
    return out;
  }
  std::vector<std::string> ArchiveFiles() {
    std::vector<std::string> names;
    if (!std::filesystem::exists(ProgramFile("arsip"))) return names;
    for (const auto& e : std::filesystem::directory_iterator(ProgramFile("arsip")))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// ----- the window and the dialog --------------------------------------------------------------------------------
TEST_F(ArrearsReportWindowTest, OpensAsAMaximisedChildWithAnEmptyList) {
  const Hwnd w = Open();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm11Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM11_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Laporan Tunggakan");
  EXPECT_EQ(WinGetDlgCtrlID(w), 102);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_EQ(TbGetButtonCount(gForm11Toolbar), 5);
  EXPECT_EQ(TbGetButtonTip(gForm11Toolbar, gForm11ReportId), "");
  EXPECT_EQ(TbGetButtonTip(gForm11Toolbar, gForm11NotesId), "Cetak Struk Tunggakan Per Siswa");
  EXPECT_EQ(TbGetButtonTip(gForm11Toolbar, gForm11ArchiveId), "Arsip");
  EXPECT_EQ(LvGetColumnCount(gForm11List), 0);
  EXPECT_EQ(LvGetItemCount(gForm11List), 0);
  EXPECT_EQ(WinWidget(w)->focusWidget(), WinWidget(gForm11List));
  EXPECT_EQ(WinWidget(gForm11List)->x(), 0);
  EXPECT_EQ(WinWidget(gForm11List)->y(), CtlGetHeight(gForm11Rebar));
  // Every row has a check box, unticked.
  ASSERT_TRUE(ShowData("VII A"));
  for (int r = 0; r < LvGetItemCount(gForm11List); ++r) EXPECT_EQ(LvGetCheck(gForm11List, r), -2) << r;
}

TEST_F(ArrearsReportWindowTest, TheDialogOffersTheClassesOfTheYear) {
  const Hwnd w = Open();
  WithDialog([&] {
    const Hwnd d = gFormLapTunggakanWindow;
    ASSERT_TRUE(IsWindow(d));
    EXPECT_EQ(WinGetClassName(d), "FORM_FINANCE_FORMLAPTUNGGAKAN_CLASS");
    EXPECT_EQ(WinGetWindowText(d), "Laporan Keuangan Sekolah");
    EXPECT_FALSE(WinIsWindowEnabled(w));
    // This year's classes without 'DO', graduates and last year's classes; the first one chosen.
    EXPECT_EQ(ComboItems(gFormLapTunggakanClassCombo), (std::vector<std::string>{"IX B", "VII A"}));
    EXPECT_EQ(CtlGetText(gFormLapTunggakanClassCombo), "IX B");
    EXPECT_EQ(CtlGetText(gFormLapTunggakanGroup), "Tunggakan");
    EXPECT_NE(qobject_cast<QGroupBox*>(WinWidget(gFormLapTunggakanGroup)), nullptr);
    EXPECT_EQ(CtlGetText(gFormLapTunggakanClassLabel), "Kelas");
    EXPECT_EQ(CtlGetText(gFormLapTunggakanShowDataButton), "Show Data");
    EXPECT_EQ(CtlGetText(gFormLapTunggakanRecapButton), "Rekap Tunggakan Per Kelas");
    EXPECT_EQ(CtlGetText(gFormLapTunggakanMonthlyButton), "Rekap Tunggakan Jenis Perbulan Per Kelas");
    EXPECT_TRUE(WinIsWindowEnabled(gFormLapTunggakanRecapButton));
    EXPECT_FALSE(WinIsWindowEnabled(gFormLapTunggakanMonthlyButton));
    // The batik pattern behind the controls.
    EXPECT_FALSE(WinClientWidget(d)->palette().brush(QPalette::Window).texture().isNull());
  });
  EXPECT_FALSE(IsWindow(gFormLapTunggakanWindow));
  EXPECT_TRUE(WinIsWindowEnabled(w));
}

TEST_F(ArrearsReportWindowTest, ClosingTheDialogKeepsTheReportAndTheClass) {
  Open();
  ASSERT_TRUE(ShowData("VII A"));
  EXPECT_EQ(gPickClass, "VII A");
  const std::string report = Dump(gForm11List);
  WithDialog([&] {
    Choose(gFormLapTunggakanClassCombo, "IX B");
    WinSendMessage(gFormLapTunggakanWindow, WM_SYSCOMMAND, SC_CLOSE, 0);   // the close box
    EXPECT_FALSE(IsWindow(gFormLapTunggakanWindow));
  });
  EXPECT_EQ(Dump(gForm11List), report);
  EXPECT_EQ(gPickClass, "VII A");
  // The class recap leaves the class alone too.
  ASSERT_TRUE(ClassRecap());
  EXPECT_EQ(gPickClass, "VII A");
}

// ----- the per-student report -------------------------------------------------------------------------------------
TEST_F(ArrearsReportWindowTest, ShowDataListsWhatEveryStudentOwes) {
  Open();
  gFormMode = "keep";
  ASSERT_TRUE(ShowData("VII A"));
  // 2 September 2024, postpaid: the monthly fee is due July to September. Discounts and savings rows name no fee;
  // the revised payment counts with its new amount (S02 overpaid); S03 has no billing row for the book fee and S08
  // none at all; the daily fee has no column.
  ExpectMatchesFile(Dump(gForm11List), "arrears_show_data.txt");
  EXPECT_EQ(gPickClass, "VII A");
  EXPECT_EQ(gFormMode, "keep");
  ASSERT_TRUE(ShowData("IX B"));
  EXPECT_EQ(ListRows(gForm11List), (Rows{{"S04", "Dedi", "-1.350.000", "0", "-1.350.000"},
                                         {"", "    JUMLAH ", "-1.350.000", "0", "-1.350.000"}}));
  EXPECT_EQ(gPickClass, "IX B");
}

// The cells of a class come in one statement, after the class's fees and students, whatever their numbers.
TEST_F(ArrearsReportWindowTest, ShowDataReadsTheClassInOneStatement) {
  Open();
  fintest::StatementCounter statements(gDb);
  int run = -1;
  WithDialog([&] {
    Choose(gFormLapTunggakanClassCombo, "VII A");
    statements.reset();
    Click(gFormLapTunggakanShowDataButton);
    run = statements.count();
  });
  EXPECT_EQ(run, 3);   // fees, students, cells
  EXPECT_EQ(LvGetItemCount(gForm11List), 5);
}

TEST_F(ArrearsReportWindowTest, TheMonthsBilledFollowTheClockAndTheMode) {
  Open();
  struct Case {
    int y, m, d;
    int prepaid;
    const char* tapel;
    const char* kelas;
    Rows rows;   // the student rows
  } cases[] = {
      {2024, 8, 15, 0, "2024/2025", "VII A",
       {{"S01", "Ani", "-50.000", "0", "-50.000"}, {"S02", "Budi", "-150.000", "300.000", "150.000"},
        {"S03", "Citra Dewi", "200.000", "", "200.000"}, {"S08", "Hadi", "", "", "0"}}},
      {2025, 3, 10, 0, "2024/2025", "VII A",
       {{"S01", "Ani", "650.000", "0", "650.000"}, {"S02", "Budi", "550.000", "300.000", "850.000"},
        {"S03", "Citra Dewi", "900.000", "", "900.000"}, {"S08", "Hadi", "", "", "0"}}},
      {2025, 6, 30, 0, "2024/2025", "VII A",
       {{"S01", "Ani", "950.000", "0", "950.000"}, {"S02", "Budi", "850.000", "300.000", "1.150.000"},
        {"S03", "Citra Dewi", "1.200.000", "", "1.200.000"}, {"S08", "Hadi", "", "", "0"}}},
      // After the school year: all twelve months.
      {2025, 7, 1, 0, "2024/2025", "VII A",
       {{"S01", "Ani", "950.000", "0", "950.000"}, {"S02", "Budi", "850.000", "300.000", "1.150.000"},
        {"S03", "Citra Dewi", "1.200.000", "", "1.200.000"}, {"S08", "Hadi", "", "", "0"}}},
      // Prepaid: every fee its yearly amount, whatever the day.
      {2024, 8, 15, 1, "2024/2025", "VII A",
       {{"S01", "Ani", "950.000", "0", "950.000"}, {"S02", "Budi", "850.000", "300.000", "1.150.000"},
        {"S03", "Citra Dewi", "1.200.000", "", "1.200.000"}, {"S08", "Hadi", "", "", "0"}}},
      // Last year's fees: in its own March nine months, a year later all twelve.
      {2024, 3, 10, 0, "2023/2024", "VI A", {{"S01", "Ani", "-90.000", "-90.000"}}},
      {2025, 3, 10, 0, "2023/2024", "VI A", {{"S01", "Ani", "180.000", "180.000"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d) + " prepaid " +
                 std::to_string(c.prepaid) + " " + c.tapel);
    SetClock(c.y, c.m, c.d, 9, 0, 0);
    gPrepaid = c.prepaid;
    gTapel = c.tapel;
    gReportMonth = 9;   // never enters
    ASSERT_TRUE(ShowData(c.kelas));
    Rows rows = ListRows(gForm11List);
    ASSERT_FALSE(rows.empty());
    rows.pop_back();   // the totals row
    EXPECT_EQ(rows, c.rows);
  }
}

TEST_F(ArrearsReportWindowTest, AClassWithoutStudentsOrFeesGivesOnlyTheTotalsRow) {
  fintest::Exec(gDb, "DELETE FROM siswakelas");
  gPickClass = "VII A";
  Open();
  WithDialog([&] {
    EXPECT_EQ(CbGetCount(gFormLapTunggakanClassCombo), 0);
    EXPECT_EQ(CtlGetText(gFormLapTunggakanClassCombo), "");
    Click(gFormLapTunggakanShowDataButton);
    EXPECT_FALSE(IsWindow(gFormLapTunggakanWindow));
  });
  EXPECT_EQ(gPickClass, "");
  EXPECT_EQ(Dump(gForm11List), "Id(c) | Nama Siswa(l) | Jumlah Rp.(r)\n |     JUMLAH  | 0\n");
}

TEST_F(ArrearsReportWindowTest, FailingStatementsAreShownAndTheReportGoesOn) {
  Open();
  // Without payments the statement of the class's cells fails: one box, the cells empty and counted as nothing.
  fintest::Exec(gDb, "DROP TABLE transaksi");
  ExpectMsgBox("SQL error: no such table: transaksi", "Info", IDOK, MB_OK);
  ASSERT_TRUE(ShowData("VII A"));
  EXPECT_EQ(ListRows(gForm11List), (Rows{{"S01", "Ani", "", "", "0"},
                                         {"S02", "Budi", "", "", "0"},
                                         {"S03", "Citra Dewi", "", "", "0"},
                                         {"S08", "Hadi", "", "", "0"},
                                         {"", "    JUMLAH ", "0", "0", "0"}}));
  ExpectMsgBox("SQL error: no such table: transaksi", "Info", IDOK, MB_OK);
  ASSERT_TRUE(ClassRecap());
  EXPECT_EQ(ListRows(gForm11List), (Rows{{"  Jumlah", "", "0"}, {"", "Total Seluruhnya", "0"}}));
  VerifySeams();

  // Without classes the combo stays empty.
  fintest::Exec(gDb, "DROP TABLE siswakelas");
  ExpectMsgBox("SQL error: no such table: siswakelas", "Info", IDOK, MB_OK);
  WithDialog([&] {
    EXPECT_EQ(CbGetCount(gFormLapTunggakanClassCombo), 0);
    EXPECT_FALSE(WinIsWindowEnabled(gFormLapTunggakanMonthlyButton));
  });
}

TEST_F(ArrearsReportWindowTest, TypedTextNeverWidensAStatement) {
  fintest::Exec(gDb, "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('x','S05','VII A'' OR ''1''=''1',"
                     "'2024/2025')");
  Open();
  ASSERT_TRUE(ShowData("VII A' OR '1'='1"));
  EXPECT_EQ(ListRows(gForm11List), (Rows{{"S05", "Eka", "0"}, {"", "    JUMLAH ", "0"}}));
}

// ----- the class recap ----------------------------------------------------------------------------------------------
TEST_F(ArrearsReportWindowTest, TheClassRecapGroupsWhatIsOwedByClass) {
  Open();
  ASSERT_TRUE(ClassRecap());
  // IX B is paid up (no "  Jumlah" row; a dropped-out student's payment does not count); in VII A the payment of a
  // graduate with an ordinary class row counts and one of a student with graduate rows only does not; VIII B is
  // overpaid and carries into X A's subtotal; the grand total is the sum of every fee row.
  ExpectMatchesFile(Dump(gForm11List), "arrears_class_recap.txt");
}

TEST_F(ArrearsReportWindowTest, TheDialogReportsIntoTheWindowItWasOpenedFromWhateverIsClickedMeanwhile) {
  const Hwnd first = Open();
  const Hwnd firstList = gForm11List;
  const Hwnd second = Open();
  const Hwnd secondList = gForm11List;
  ASSERT_TRUE(ShowData("VII A"));   // from the second window
  const std::string secondReport = Dump(secondList);
  ASSERT_GT(LvGetItemCount(secondList), 0);
  FORM11_Bind(first);
  WithDialog([&] {
    // A click on a row of the second window's report makes that window the current one.
    fintest::ClickListRow(secondList, 0);
    EXPECT_EQ(gForm11Window, second);
    Click(gFormLapTunggakanRecapButton);
  });
  ExpectMatchesFile(Dump(firstList), "arrears_class_recap.txt");
  EXPECT_EQ(Dump(secondList), secondReport);
}

TEST_F(ArrearsReportWindowTest, ARecapWithoutFeesHoldsTwoRowsOfNothing) {
  fintest::Exec(gDb, "DELETE FROM account WHERE Tapel='2024/2025'");
  Open();
  ASSERT_TRUE(ClassRecap());
  EXPECT_EQ(Dump(gForm11List), "-(c) | Akun Rekening(l) |  Rp.(r)\n  Jumlah |  | 0\n | Total Seluruhnya | 0\n");
}

// ----- notes and archives -------------------------------------------------------------------------------------------
TEST_F(ArrearsReportWindowTest, NotesArePrintedForTheTickedStudentsOnly) {
  Open();
  ASSERT_TRUE(ShowData("VII A"));
  // Nothing ticked: nothing printed.
  Command(gForm11NotesId);
  EXPECT_TRUE(printed().Documents().empty());

  LvSetCheck(gForm11List, RowOf(gForm11List, "S02"), 1);
  LvSetCheck(gForm11List, RowOf(gForm11List, "S03"), 1);
  LvSetCheck(gForm11List, LvGetItemCount(gForm11List) - 1, 1);   // the totals row: never printed
  SbSetText(gStatusBar, 5, "10:16:00", 0);                         // the status bar as it is at that moment
  Command(gForm11NotesId);
  // Two "Struk" jobs of one page each, in list order, on the default printer.
  ExpectMatchesFile(PrintedLines(), "arrears_notes.txt");
  ASSERT_EQ(printed().Documents().size(), 2u);
  EXPECT_EQ(printed().Documents()[0].printer, "Printer Uji");

  // Without a default printer nothing comes out and nothing is said.
  printed().settings().printers = {"Lain"};
  Command(gForm11NotesId);
  EXPECT_EQ(printed().Documents().size(), 2u);
}

TEST_F(ArrearsReportWindowTest, WithoutAPrinterTheNotesGoToPdfsAndTheClerkIsToldWhereOnce) {
  NoPrinter();
  Open();
  ASSERT_TRUE(ShowData("VII A"));
  const struct {
    std::vector<const char*> students;
    std::string message;
    std::vector<std::string> files;
  } cases[] = {
      {{"S02"},
       "Tidak ada yang tercetak ke printer. Cetakan disimpan di " + WorkFile("cetak/Struk_20240902_101530.pdf") + "..",
       {"Struk_20240902_101530.pdf"}},
      {{"S02", "S03"},
       "Tidak ada yang tercetak ke printer. 2 cetakan disimpan di folder " + WorkFile("cetak") + "..",
       {"Struk_20240902_101530.pdf", "Struk_20240902_101530_2.pdf", "Struk_20240902_101530_3.pdf"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.students.size());
    for (int r = 0; r < LvGetItemCount(gForm11List); ++r) LvSetCheck(gForm11List, r, 0);
    for (const char* id : c.students) LvSetCheck(gForm11List, RowOf(gForm11List, id), 1);
    ExpectMsgBox(c.message, "Info", IDOK, MB_OK | MB_ICONINFORMATION);
    Command(gForm11NotesId);
    VerifySeams();
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(WorkFile("cetak")))
      files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, c.files);
  }
}

TEST_F(ArrearsReportWindowTest, ANoteOfTheClassRecapHasNoFeeLine) {
  Open();
  ASSERT_TRUE(ShowData("VII A"));   // gPickClass
  ASSERT_TRUE(ClassRecap());
  LvSetCheck(gForm11List, RowOf(gForm11List, "VII-SPP | SPP VII"), 1);
  Command(gForm11NotesId);
  ASSERT_EQ(printed().Documents().size(), 1u);
  const std::vector<std::string> texts = printed().Documents()[0].pages[0].Texts();
  ASSERT_EQ(texts.size(), 13u);
  EXPECT_EQ(texts[4], "   Nama Siswa : VII-SPP | SPP VII; Kls : VII A");
  EXPECT_EQ(texts[7], std::string(43, ' ') + "Total : Rp.*2.960.000");
  EXPECT_EQ(texts[9], "    dua juta sembilan ratus enam puluh  ribu ");
  EXPECT_NE(printed().Documents()[0].pages[0].Lines()[7].find("text (10,1200) "), std::string::npos);
}

TEST_F(ArrearsReportWindowTest, ArchivesAreWrittenPerTickedStudent) {
  Open();
  ASSERT_TRUE(ShowData("VII A"));
  std::filesystem::create_directory(ProgramFile("arsip"));
  Command(gForm11ArchiveId);   // nothing ticked
  EXPECT_TRUE(ArchiveFiles().empty());

  LvSetCheck(gForm11List, RowOf(gForm11List, "S03"), 1);
  LvSetCheck(gForm11List, LvGetItemCount(gForm11List) - 1, 1);   // the totals row: never archived
  Command(gForm11ArchiveId);
  // Blanks of the name and the class become "_" in the file name and stay inside the file; nothing is said.
  EXPECT_EQ(ArchiveFiles(), (std::vector<std::string>{"tunggakan_Citra_Dewi_VII_A_2024-09-02.txt"}));
  EXPECT_EQ(fintest::ReadFile(ProgramFile("arsip/tunggakan_Citra_Dewi_VII_A_2024-09-02.txt")),
            Expected("arrears_archive_citra.txt"));
  EXPECT_TRUE(msgBoxes().empty());

  // The same student on the same day: replaced; on another day: a new file.
  LvSetItemText(gForm11List, RowOf(gForm11List, "S03"), 4, "1");
  Command(gForm11ArchiveId);
  EXPECT_EQ(ArchiveFiles().size(), 1u);
  EXPECT_NE(fintest::ReadFile(ProgramFile("arsip/tunggakan_Citra_Dewi_VII_A_2024-09-02.txt"))
                .find("Total        :           Rp.*********1\r\n"),
            std::string::npos);
  gToday = "2024-09-03";
  Command(gForm11ArchiveId);
  EXPECT_EQ(ArchiveFiles(), (std::vector<std::string>{"tunggakan_Citra_Dewi_VII_A_2024-09-02.txt",
                                                      "tunggakan_Citra_Dewi_VII_A_2024-09-03.txt"}));
}

// Two windows open at once, built for two classes: each prints and archives for the class it shows.
TEST_F(ArrearsReportWindowTest, EachWindowPrintsAndArchivesForTheClassItShows) {
  std::filesystem::create_directory(ProgramFile("arsip"));
  Open();
  const Hwnd firstList = gForm11List, firstToolbar = gForm11Toolbar;
  ASSERT_TRUE(ShowData("VII A"));
  Open();
  const Hwnd secondList = gForm11List, secondToolbar = gForm11Toolbar;
  ASSERT_TRUE(ShowData("IX B"));
  struct Case {
    const char* window;
    Hwnd list, toolbar;
    const char* student;
    std::string noteLine, file, classLine;
  } cases[] = {
      {"first", firstList, firstToolbar, "S03", "   Nama Siswa : Citra Dewi; Kls : VII A",
       "tunggakan_Citra_Dewi_VII_A_2024-09-02.txt", "Kelas: VII A\r\n"},
      {"second", secondList, secondToolbar, "S04", "   Nama Siswa : Dedi; Kls : IX B",
       "tunggakan_Dedi_IX_B_2024-09-02.txt", "Kelas: IX B\r\n"},
      {"first again", firstList, firstToolbar, "S01", "   Nama Siswa : Ani; Kls : VII A",
       "tunggakan_Ani_VII_A_2024-09-02.txt", "Kelas: VII A\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    fintest::ClickListRow(c.list, 0);   // the operator works in that window
    for (int r = 0; r < LvGetItemCount(c.list); ++r) LvSetCheck(c.list, r, r == RowOf(c.list, c.student) ? 1 : 0);
    printed().Clear();
    ASSERT_EQ(TbClickButton(c.toolbar, gForm11NotesId), 1);
    ASSERT_EQ(printed().Documents().size(), 1u);
    EXPECT_EQ(printed().Documents()[0].pages.at(0).Texts().at(4), c.noteLine);
    ASSERT_EQ(TbClickButton(c.toolbar, gForm11ArchiveId), 1);
    ASSERT_TRUE(std::filesystem::exists(ProgramFile("arsip/" + c.file)));
    EXPECT_NE(fintest::ReadFile(ProgramFile("arsip/" + c.file)).find(c.classLine), std::string::npos);
  }
  EXPECT_EQ(ArchiveFiles(), (std::vector<std::string>{"tunggakan_Ani_VII_A_2024-09-02.txt",
                                                      "tunggakan_Citra_Dewi_VII_A_2024-09-02.txt",
                                                      "tunggakan_Dedi_IX_B_2024-09-02.txt"}));
}

TEST_F(ArrearsReportWindowTest, ArchivesWriteEveryAmountWhole) {
  // A student of VII A who owes 123.456.789 on the books: the archive never cuts it to its last 10 characters.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('S09','Joko');"
                     "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES"
                     " ('20242025S09','S09','VII A','2024/2025');"
                     "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli) VALUES"
                     " ('VII-BUKU','S09',123456789,123456789);");
  Open();
  ASSERT_TRUE(ShowData("VII A"));
  std::filesystem::create_directory(ProgramFile("arsip"));
  LvSetCheck(gForm11List, RowOf(gForm11List, "S09"), 1);
  Command(gForm11ArchiveId);
  ASSERT_EQ(ArchiveFiles(), (std::vector<std::string>{"tunggakan_Joko_VII_A_2024-09-02.txt"}));
  const std::string rule(38, '-');
  EXPECT_EQ(fintest::ReadFile(ProgramFile("arsip/tunggakan_Joko_VII_A_2024-09-02.txt")),
            std::string(14, ' ') + "SD Harapan\r\n" + std::string(13, ' ') + "Jl. Merdeka 5\r\n" +
                std::string(13, ' ') + "Telp. 021-555\r\n" + rule + "\r\nNama : Joko\r\nKelas: VII A\r\n" + rule +
                "\r\n1 SPP VII                Rp.**********\r\n2 Buku VII               Rp.123.456.789\r\n" + rule +
                "\r\nTotal        :           Rp.123.456.789\r\n");
}

TEST_F(ArrearsReportWindowTest, ArchiveNamesNeverLeaveTheArchiveFolder) {
  fintest::Exec(gDb, "UPDATE siswa SET Nama='../../Ani' WHERE Id='S01';"
                     "UPDATE siswakelas SET Kelas='VII/A' WHERE IdSiswa='S01' AND Tapel='2024/2025'");
  Open();
  ASSERT_TRUE(ShowData("VII/A"));
  std::filesystem::create_directory(ProgramFile("arsip"));
  LvSetCheck(gForm11List, RowOf(gForm11List, "S01"), 1);
  Command(gForm11ArchiveId);
  EXPECT_EQ(ArchiveFiles(), (std::vector<std::string>{"tunggakan_.._.._Ani_VII_A_2024-09-02.txt"}));
  const std::string text = fintest::ReadFile(ProgramFile("arsip/tunggakan_.._.._Ani_VII_A_2024-09-02.txt"));
  EXPECT_NE(text.find("Nama : ../../Ani\r\nKelas: VII/A\r\n"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(programDir()), {}), 1);   // arsip/ alone
}

TEST_F(ArrearsReportWindowTest, WithoutTheArchiveFolderNothingIsWrittenOrSaid) {
  Open();
  ASSERT_TRUE(ShowData("VII A"));
  LvSetCheck(gForm11List, 0, 1);
  LvSetCheck(gForm11List, 1, 1);
  Command(gForm11ArchiveId);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("arsip")));
  EXPECT_TRUE(msgBoxes().empty());
  // A folder that cannot take the one file: the next ticked row is still written.
  std::filesystem::create_directories(ProgramFile("arsip/tunggakan_Ani_VII_A_2024-09-02.txt"));
  Command(gForm11ArchiveId);
  EXPECT_EQ(ArchiveFiles(), (std::vector<std::string>{"tunggakan_Ani_VII_A_2024-09-02.txt",
                                                      "tunggakan_Budi_VII_A_2024-09-02.txt"}));
  EXPECT_TRUE(std::filesystem::is_directory(ProgramFile("arsip/tunggakan_Ani_VII_A_2024-09-02.txt")));
}

// ----- exports ------------------------------------------------------------------------------------------------------
TEST_F(ArrearsReportWindowTest, ExportsHandTheListToThePlugins) {
  Open();
  ASSERT_TRUE(ShowData("IX B"));
  InstallRecorder("libtablepage.so");
  Command(gForm11PageId);
  EXPECT_EQ(Record(), "LAPORAN TUNGGAKAN SISWA;SD Harapan;Jl. Merdeka 5;clrrr\n"
                      "Id;Nama Siswa;SPP IX Rp.;Buku IX Rp.;Jumlah Rp.\n"
                      "S04,Dedi,-1.350.000,0,-1.350.000;,    JUMLAH ,-1.350.000,0,-1.350.000\n");

  InstallRecorder("libtablesheet.so", /*ints*/ true);
  gTargetListView = 0;
  Command(gForm11ExcelId);
  EXPECT_EQ(gTargetListView, gForm11List);
  EXPECT_EQ(Record(), "2\n5\nId,Nama Siswa,SPP IX Rp.,Buku IX Rp.,Jumlah Rp.;S04,Dedi,-1350000,0,-1350000;"
                      ",    JUMLAH ,-1350000,0,-1350000\n");
}

TEST_F(ArrearsReportWindowTest, FeesNamedWithACommaOrASemicolonKeepTheirColumnsInTheWorkbookAndOnThePage) {
  // The fees head the columns of "Show Data": their captions reach the workbook's caption row and the page's header
  // as cells do, each over its own column.
  fintest::Exec(gDb, "UPDATE account SET Pembayaran='Les; Tari' WHERE Id='IX-SPP';"
                     "UPDATE account SET Pembayaran='Seragam, Batik' WHERE Id='IX-BUKU'");
  plugintest::InstallPlugin("libtablesheet.so", programDir(), "libtablesheet.so");
  plugintest::InstallPlugin("Lap.xlt", programDir(), "Lap.xlt");
  plugintest::InstallPlugin("libtablepage.so", programDir(), "libtablepage.so");
  plugintest::FakeDesktopOpener opener;
  Open();
  ASSERT_TRUE(ShowData("IX B"));
  ASSERT_EQ(LvGetColumnText(gForm11List, 3), "Seragam, Batik Rp.");

  Command(gForm11ExcelId);
  std::vector<std::string> books;
  for (const auto& e : std::filesystem::directory_iterator(WorkFile("cetak"))) books.push_back(e.path().string());
  ASSERT_EQ(books.size(), 1u);
  EXPECT_EQ(fintest::SheetCells(books[0]),
            "sheet Laporan\n"
            "A1 s \"Id\"\nB1 s \"Nama Siswa\"\nC1 s \"Les- Tari Rp.\"\nD1 s \"Seragam- Batik Rp.\"\n"
            "E1 s \"Jumlah Rp.\"\n"
            "A2 s \"S04\"\nB2 s \"Dedi\"\nC2 n -1350000\nD2 n 0\nE2 n -1350000\n"
            "B3 s \"    JUMLAH \"\nC3 n -1350000\nD3 n 0\nE3 n -1350000\n");

  Command(gForm11PageId);
  const std::string page = fintest::ReadFile(ProgramFile("Lap.html"));
  std::vector<std::string> headers;
  for (std::size_t at = page.find("class='headeritem'"); at != std::string::npos;
       at = page.find("class='headeritem'", at + 1)) {
    const std::size_t from = page.find("sans-serif'>", at) + 12;
    headers.push_back(page.substr(from, page.find('<', from) - from));
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"Id", "Nama Siswa", "Les- Tari Rp.", "Seragam- Batik Rp.",
                                               "Jumlah Rp."}));
  EXPECT_TRUE(msgBoxes().empty());
}

TEST_F(ArrearsReportWindowTest, APageThatCannotBeWrittenIsToldOfWithItsPathAndNothingIsOpened) {
  plugintest::InstallPlugin("libtablepage.so", programDir(), "libtablepage.so");
  plugintest::FakeDesktopOpener opener;
  Open();
  ASSERT_TRUE(ClassRecap());
  const std::string page = ProgramFile("Lap.html");
  const struct {
    const char* name;
    bool folderInTheWay;   // else: the program folder cannot be written
  } cases[] = {{"a folder named Lap.html", true}, {"a folder that cannot be written", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(page);
    std::optional<fintest::LockedFolder> lock;
    if (c.folderInTheWay) {
      std::filesystem::create_directory(page);
    } else {
      lock.emplace(programDir());
      if (!lock->locked()) {
        std::cout << "no folder can be locked here: " << c.name << " not shown\n";
        continue;
      }
    }
    ExpectMsgBox("Halaman " + page + " tidak dapat disimpan..", "Info", IDOK, MB_OK | MB_ICONINFORMATION);
    Command(gForm11PageId);
    VerifySeams();
    EXPECT_EQ(opener.log(), "");   // nothing of this report lies there: nothing is opened
  }
}

TEST_F(ArrearsReportWindowTest, ThePageExportWritesTheRecapPage) {
  std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/libtablepage.so", ProgramFile("libtablepage.so"));
  plugintest::FakeDesktopOpener opener;
  Open();
  ASSERT_TRUE(ClassRecap());
  const std::string today = plugintest::PageToday();
  Command(gForm11PageId);
  ExpectMatchesFile(plugintest::WithPeriod(fintest::ReadFile(ProgramFile("Lap.html")), today, "09-02-2024"),
                    "arrears_recap_page.html");
  EXPECT_EQ(opener.log(), ProgramFile("Lap.html") + "\n");
}

TEST_F(ArrearsReportWindowTest, AMissingPluginIsReported) {
  Open();
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm11ExcelId);
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm11PageId);
}

TEST_F(ArrearsReportWindowTest, EachWindowReportsIntoItsOwnList) {
  const Hwnd first = Open();
  const Hwnd firstList = gForm11List;
  Open();
  const Hwnd secondList = gForm11List;
  ASSERT_NE(firstList, secondList);
  ASSERT_TRUE(ClassRecap());   // from the second window
  EXPECT_EQ(LvGetColumnCount(firstList), 0);
  FORM11_Bind(first);
  ASSERT_TRUE(ShowData("VII A"));
  EXPECT_EQ(LvGetColumnCount(firstList), 5);
  EXPECT_EQ(LvGetColumnCount(secondList), 3);
  // A window that goes takes the globals with it.
  WinDestroyWindow(first);
  EXPECT_EQ(gForm11List, 0);
  EXPECT_EQ(gForm11Window, 0);
}

}  // namespace
