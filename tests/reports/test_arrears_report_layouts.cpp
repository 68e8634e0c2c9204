// The plain parts of the arrears reports on their own: the statements (every value quoted), the cell difference, the
// printed note's lines, the archive's lines and file name, and the total in words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/numbers_words.h"
#include "reports/arrears_reports.h"

namespace {

ArrearsNote TwoFeeNote() {
  ArrearsNote n;
  n.schoolName = "SD Harapan";
  n.schoolAddress = "Jl. Merdeka 5";
  n.schoolPhone = "021-555";
  n.schoolEmail = "tu@harapan.sch.id";
  n.name = "Citra Dewi";
  n.kelas = "VII A";
  n.feeCaptions = {"SPP VII Rp.", "Buku VII Rp."};
  n.feeAmounts = {"1.250.000", ""};
  n.total = "1.250.000";
  n.printDate = "Sep 02, 2024";
  n.printTime = "10:15:30";
  n.operatorName = "kasir";
  n.lineSpacing = 150;
  return n;
}

std::vector<std::string> Texts(const std::vector<ReceiptLine>& lines) {
  std::vector<std::string> t;
  for (const ReceiptLine& l : lines) t.push_back(l.text);
  return t;
}

TEST(ArrearsReportStatements, EveryValueIsQuoted) {
  EXPECT_EQ(FinArrearsReportClassesSql("2024/2025'"),
            "select Kelas from siswakelas where tapel='2024/2025''' and kelas<>'DO' and instr(kelas,'Lulus')<1 "
            "Group By Kelas");
  EXPECT_EQ(FinArrearsReportFeesSql("VII 'A'", "2024/2025"),
            "select Id, Pembayaran, Type from account WHERE Type<>'Perhari' And Kelas='VII ''A''' And "
            "Tapel='2024/2025'");
  EXPECT_EQ(FinArrearsReportStudentsSql("VII A", "x'y"),
            "select siswakelas.IdSiswa, siswa.Nama From siswakelas Join siswa On siswakelas.IdSiswa=siswa.Id Where "
            "siswakelas.kelas='VII A' and SiswaKelas.Tapel='x''y' Order By SiswaKelas.IdSiswa");
  EXPECT_EQ(FinArrearsReportClassCellsSql({"F'1", "F2"}, {"S'1"}, 0, 2),
            "Select id_siswa, id_account, (Select case when account.type='Perbulan' then "
            "detail_account.juli+detail_account.agustus else detail_account.jml_pembayaran end from account where "
            "account.id=detail_account.id_account), (Select Sum(Masuk) From transaksi Where "
            "AcctId=detail_account.id_account And SiswaId=detail_account.id_siswa) from detail_account where "
            "id_account in ('F''1','F2') and id_siswa in ('S''1') order by detail_account.rowid");
  EXPECT_EQ(FinArrearsReportClassCellsSql({"F1"}, {"S1", "S2"}, 1, 2),
            "Select id_siswa, id_account, jml_pembayaran, (Select Sum(Masuk) From transaksi Where "
            "AcctId=detail_account.id_account And SiswaId=detail_account.id_siswa) from detail_account where "
            "id_account in ('F1') and id_siswa in ('S1','S2') order by detail_account.rowid");
  EXPECT_EQ(FinArrearsReportRecapSql("2024'"),
            "select account.Id, account.Pembayaran, account.Kelas, (Select Sum(detail_account.jml_pembayaran) from "
            "detail_account where detail_account.id_account=account.id And detail_account.jml_pembayaran Is Not "
            "Null), (Select Sum(transaksi.Masuk) From transaksi Where AcctId=account.id And transaksi.Masuk Is Not "
            "Null And +SiswaID In(Select IdSiswa From siswakelas Where siswakelas.Kelas<>'DO' and "
            "instr(siswakelas.Kelas,'Lulus')<1)) from account WHERE account.Tapel='2024''' Order by account.Kelas");
}

TEST(ArrearsReportCells, BilledLessPaidInWholeRupiah) {
  struct Case {
    const char* billed;
    const char* paid;
    const char* cell;
  } cases[] = {{"300000", "250000", "50000"}, {"", "", "0"},          {"100000", "", "100000"},
               {"", "50000", "-50000"},       {"300000", "350000", "-50000"},
               {"1000000000000", "1", "999999999999"}};
  for (const Case& c : cases) EXPECT_EQ(FinArrearsReportDifference(c.billed, c.paid), c.cell) << c.billed;
}

TEST(ArrearsNote, LinesStandTenUnitsInAndOneStepApart) {
  const std::vector<ReceiptLine> lines = FinArrearsNoteLines(TwoFeeNote());
  const std::vector<std::string> expected = {
      "   SD Harapan",
      "   Jl. Merdeka 5",
      "   Telp. 021-555 Email. tu@harapan.sch.id",
      "   " + std::string(71, '-'),
      "   Nama Siswa : Citra Dewi; Kls : VII A",
      "   " + std::string(71, '-'),
      "    Tagihan Tunggakan " + std::string(52, '-'),
      "    1  SPP VII Rp." + std::string(33, ' ') + "Rp.*1.250.000",
      "    2  Buku VII Rp." + std::string(32, ' ') + "Rp.**********",
      std::string(43, ' ') + "Total : Rp.*1.250.000",
      "   " + std::string(71, '-'),
      "   " + FinSpellNumber(1250000),
      "",
      "   Dicetak tanggal Sep 02, 2024 pukul : 10:15:30",
      "   Oleh Operator : kasir"};
  EXPECT_EQ(Texts(lines), expected);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].x, 10);
    EXPECT_EQ(lines[i].y, static_cast<int>(150 * (i + 1)));
  }
  // "Rp." of the total line stands under the fee lines' "Rp.".
  EXPECT_EQ(expected[7].find("Rp.*"), expected[9].find("Rp.*"));
}

TEST(ArrearsNote, LongCaptionsPushTheAmountOrAreCut) {
  ArrearsNote n = TwoFeeNote();
  const std::string fifty = std::string(46, 'a') + " Rp.";        // 50 characters
  const std::string seventy = std::string(66, 'b') + " Rp.";      // 70 characters
  n.feeCaptions = {fifty, seventy, "Ékstra Rp."};
  n.feeAmounts = {"12.345.678.901", "7", "500"};
  n.total = "-50.000";
  const std::vector<std::string> t = Texts(FinArrearsNoteLines(n));
  ASSERT_EQ(t.size(), 16u);
  EXPECT_EQ(t[7], "    1  " + fifty + "Rp.12.345.678.901");           // no blanks, no stars
  EXPECT_EQ(t[8], "    2  " + std::string(60, 'b') + "Rp.*********7");
  EXPECT_EQ(t[9], "    3  Ékstra Rp." + std::string(34, ' ') + "Rp.*******500");   // é is one column
  EXPECT_EQ(t[10], std::string(43, ' ') + "Total : Rp.***-50.000");
  EXPECT_EQ(t[12], "    minus" + FinSpellNumber(50000));
}

TEST(ArrearsNote, WithoutFeesTheTotalFollowsTheHeading) {
  ArrearsNote n = TwoFeeNote();
  n.feeCaptions.clear();
  n.feeAmounts.clear();
  n.total = "";
  const std::vector<ReceiptLine> lines = FinArrearsNoteLines(n);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[7].y, 8 * 150);
  EXPECT_EQ(lines[7].text, std::string(43, ' ') + "Total : Rp.**********");
  EXPECT_EQ(lines[12].y, 13 * 150);
}

TEST(ArrearsNote, TheTotalInWords) {
  struct Case {
    const char* total;
    std::string words;
  } cases[] = {{"1.250.000", FinSpellNumber(1250000)},
               {"250000", FinSpellNumber(250000)},
               {"0", FinSpellNumber(0)},
               {"", FinSpellNumber(0)},
               {"-50.000", " minus" + FinSpellNumber(50000)},
               {"999.999.999", FinSpellNumber(999999999)},
               {"1.000.000.000", ""},
               {"-3.000.000.000", ""}};
  for (const Case& c : cases) EXPECT_EQ(FinArrearsNoteWords(c.total), c.words) << c.total;
}

TEST(ArrearsArchive, FileNamesStayInTheArchiveFolder) {
  struct Case {
    const char* name;
    const char* kelas;
    const char* today;
    const char* file;
  } cases[] = {{"Citra Dewi", "VII A", "2024-09-02", "tunggakan_Citra_Dewi_VII_A_2024-09-02.txt"},
               {"Ani", "", "2024-09-02", "tunggakan_Ani__2024-09-02.txt"},
               {"../../etc", "VII/A", "2024-09-02", "tunggakan_.._.._etc_VII_A_2024-09-02.txt"},
               {"a\\b", "IX B", "2024/09/02", "tunggakan_a_b_IX_B_2024_09_02.txt"}};
  for (const Case& c : cases) EXPECT_EQ(FinArrearsNoteFileName(c.name, c.kelas, c.today), c.file) << c.name;
}

TEST(ArrearsArchive, ThirtyEightColumns) {
  const std::vector<std::string> expected = {
      std::string(14, ' ') + "SD Harapan",
      std::string(13, ' ') + "Jl. Merdeka 5",
      std::string(13, ' ') + "Telp. 021-555",
      std::string(38, '-'),
      "Nama : Citra Dewi",
      "Kelas: VII A",
      std::string(38, '-'),
      "1 SPP VII " + std::string(15, ' ') + "Rp.*1.250.000",
      "2 Buku VII " + std::string(14, ' ') + "Rp.**********",
      std::string(38, '-'),
      "Total        :" + std::string(11, ' ') + "Rp.*1.250.000"};
  EXPECT_EQ(FinArrearsNoteArchiveLines(TwoFeeNote()), expected);
  EXPECT_EQ(expected[7].size(), 38u);
  EXPECT_EQ(expected[10].size(), 38u);
  std::string text;
  for (const std::string& l : expected) text += l + "\r\n";
  EXPECT_EQ(FinArrearsNoteArchiveText(TwoFeeNote()), text);
}

TEST(ArrearsArchive, CaptionsUpToTheirRpAndLongAmounts) {
  ArrearsNote n = TwoFeeNote();
  n.schoolName = std::string(40, 'S');   // cut to 38, no blank in front
  n.schoolAddress = "Jl. Ñ";           // five characters: 17 blanks
  const std::string longCaption = std::string(50, 'a') + " Rp.";
  n.feeCaptions = {"Tanpa mata uang", longCaption, "A Rp. B Rp."};
  n.feeAmounts = {"5", "12.345.678.901", "0"};
  n.total = "";
  const std::vector<std::string> l = FinArrearsNoteArchiveLines(n);
  ASSERT_EQ(l.size(), 12u);
  EXPECT_EQ(l[0], std::string(38, 'S'));
  EXPECT_EQ(l[1], std::string(17, ' ') + "Jl. Ñ");
  EXPECT_EQ(l[7], "1" + std::string(24, ' ') + "Rp.*********5");          // no "Rp.": 24 blanks
  EXPECT_EQ(l[8], "2 " + std::string(50, 'a') + " Rp.12.345.678.901");   // caption and amount kept whole
  EXPECT_EQ(l[9], "3 A " + std::string(21, ' ') + "Rp.*********0");       // up to the first "Rp."
  EXPECT_EQ(l[11], "Total        :" + std::string(11, ' ') + "Rp.**********");
}

TEST(ArrearsArchive, EveryAmountIsWrittenWhole) {
  // Up to 10 characters an amount stands in its star-filled column as ever; a longer one is never cut.
  struct Case {
    const char* amount;
    const char* field;
  } cases[] = {
      {"", "**********"},           {"0", "*********0"},           {"1.250.000", "*1.250.000"},
      {"23.456.789", "23.456.789"}, {"123.456.789", "123.456.789"}, {"-1.250.000", "-1.250.000"},
      {"1.234.567.890", "1.234.567.890"},
  };
  for (const Case& c : cases) {
    ArrearsNote n = TwoFeeNote();
    n.feeAmounts = {c.amount, ""};
    n.total = c.amount;
    const std::vector<std::string> l = FinArrearsNoteArchiveLines(n);
    ASSERT_EQ(l.size(), 11u);
    EXPECT_EQ(l[7], "1 SPP VII " + std::string(15, ' ') + "Rp." + c.field) << c.amount;
    EXPECT_EQ(l[10], "Total        :" + std::string(11, ' ') + "Rp." + c.field) << c.amount;
  }
}

}  // namespace
