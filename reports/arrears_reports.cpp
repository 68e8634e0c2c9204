#include "reports/arrears_reports.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <utility>

#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "framework/window_system.h"
#include "payments/arrears.h"
#include "payments/arrears_bill.h"
#include "payments/receipt_layouts.h"
#include "reports/arrears_report_dialog.h"
#include "reports/arrears_report_window.h"
#include "reports/report_finishing.h"

const char* const kArrearsSubtotalLabel = "  Jumlah";

std::vector<std::string> gArrearsFeeIds;
std::string gArrearsPrevClass = "-";

namespace {

// Per-student report: (student, fee) -> billed - paid, as the cells' statement gives them.
std::map<std::pair<std::string, std::string>, std::string> gArrearsCells;

void AddColumn(Hwnd list, const std::string& caption, int format, int width) {
  LvInsertColumn(list, LvGetColumnCount(list), caption, format, width);
}

std::string Rule71() { return "   " + std::string(71, '-'); }

// The part of a fee caption before its "Rp." (empty when it has none).
std::string CaptionBeforeRp(const std::string& caption) {
  const std::size_t at = caption.find("Rp.");
  return at == std::string::npos ? std::string() : caption.substr(0, at);
}

}  // namespace

// ----- the statements ---------------------------------------------------------------------------------------------
std::string FinArrearsReportClassesSql(const std::string& tapel) {
  return "select Kelas from siswakelas where tapel='" + SqlQ(tapel) +
         "' and kelas<>'DO' and instr(kelas,'Lulus')<1 Group By Kelas";
}

std::string FinArrearsReportFeesSql(const std::string& kelas, const std::string& tapel) {
  return "select Id, Pembayaran, Type from account WHERE Type<>'Perhari' And Kelas='" + SqlQ(kelas) +
         "' And Tapel='" + SqlQ(tapel) + "'";
}

std::string FinArrearsReportStudentsSql(const std::string& kelas, const std::string& tapel) {
  return "select siswakelas.IdSiswa, siswa.Nama From siswakelas Join siswa On siswakelas.IdSiswa=siswa.Id Where "
         "siswakelas.kelas='" +
         SqlQ(kelas) + "' and SiswaKelas.Tapel='" + SqlQ(tapel) + "' Order By SiswaKelas.IdSiswa";
}

std::string FinArrearsReportClassCellsSql(const std::vector<std::string>& feeIds,
                                          const std::vector<std::string>& studentIds, int prepaid, int monthsDue) {
  const std::string paid =
      "(Select Sum(Masuk) From transaksi Where AcctId=detail_account.id_account And SiswaId=detail_account.id_siswa)";
  const std::string billed =
      prepaid >= 1 ? std::string("jml_pembayaran")
                   : "(Select case when account.type='Perbulan' then " + FinArrearsMonthSumSql(monthsDue) +
                         " else detail_account.jml_pembayaran end from account where "
                         "account.id=detail_account.id_account)";
  return "Select id_siswa, id_account, " + billed + ", " + paid + " from detail_account where id_account in (" +
         SqlQuotedList(feeIds) + ") and id_siswa in (" + SqlQuotedList(studentIds) + ") order by detail_account.rowid";
}

std::string FinArrearsReportRecapSql(const std::string& tapel) {
  // "+SiswaID": each fee's payment rows are taken by the fee (index on acctid) and tested against the student list,
  // which is built once; probing the payments of every listed student for every fee would take fees x students.
  // "Is Not Null" leaves the sums as they are (a sum passes over NULL) and lets both be read from the indexes of
  // billed and paid amounts alone.
  return "select account.Id, account.Pembayaran, account.Kelas, (Select Sum(detail_account.jml_pembayaran) from "
         "detail_account where detail_account.id_account=account.id And detail_account.jml_pembayaran Is Not Null), "
         "(Select Sum(transaksi.Masuk) From transaksi Where AcctId=account.id And transaksi.Masuk Is Not Null And "
         "+SiswaID In(Select IdSiswa From siswakelas Where siswakelas.Kelas<>'DO' and "
         "instr(siswakelas.Kelas,'Lulus')<1)) from account WHERE account.Tapel='" +
         SqlQ(tapel) + "' Order by account.Kelas";
}

// ----- the computations -------------------------------------------------------------------------------------------
std::string FinArrearsReportDifference(const std::string& billed, const std::string& paid) {
  return std::to_string(FinReportCellValue(billed) - FinReportCellValue(paid));
}

// ----- row callbacks ------------------------------------------------------------------------------------------------
int FORMLAPTUNGGAKAN_CbAddClass(void*, int columnCount, char** values, char**) {
  CbAddString(gFormLapTunggakanClassCombo, FinCell(values, columnCount, 0));
  return 0;
}

int FORMLAPTUNGGAKAN_CbFeeColumn(void*, int columnCount, char** values, char**) {
  AddColumn(gForm11List, FinCell(values, columnCount, 1) + " Rp.", LVCFMT_RIGHT, 100);
  gArrearsFeeIds.push_back(FinCell(values, columnCount, 0));
  return 0;
}

int FORMLAPTUNGGAKAN_CbStudentRow(void*, int columnCount, char** values, char**) {
  FinAppendReportRow(gForm11List, {FinCell(values, columnCount, 0), FinCell(values, columnCount, 1)});
  return 0;
}

int FORMLAPTUNGGAKAN_CbArrearsCell(void*, int columnCount, char** values, char**) {
  // Several billing rows of one fee: the last one returned wins.
  gArrearsCells[{FinCell(values, columnCount, 0), FinCell(values, columnCount, 1)}] =
      FinArrearsReportDifference(FinCell(values, columnCount, 2), FinCell(values, columnCount, 3));
  return 0;
}

int FORMLAPTUNGGAKAN_CbRecapRow(void*, int columnCount, char** values, char**) {
  const Hwnd list = gForm11List;
  const std::string kelas = FinCell(values, columnCount, 2);
  if (kelas != gArrearsPrevClass) {
    if (gSubTotal > 0) {
      FinAppendReportRow(list, {kArrearsSubtotalLabel, "", std::to_string(gSubTotal)});
      gSubTotal = 0;
    }
    FinAppendReportRow(list, {"Kelas " + kelas, "Akun"});
  }
  const std::string owed = FinArrearsReportDifference(FinCell(values, columnCount, 3), FinCell(values, columnCount, 4));
  FinAppendReportRow(list, {"", FinCell(values, columnCount, 0) + " | " + FinCell(values, columnCount, 1), owed});
  gSubTotal += FinReportCellValue(owed);
  gArrearsPrevClass = kelas;
  return 0;
}

// ----- the builders -------------------------------------------------------------------------------------------------
int FORMLAPTUNGGAKAN_BuildArrears() {
  const Hwnd list = gForm11List;
  const std::string kelas = CtlGetText(gFormLapTunggakanClassCombo);
  LvDeleteAllColumns(list);
  AddColumn(list, "Id", LVCFMT_CENTER, 100);
  AddColumn(list, "Nama Siswa", LVCFMT_LEFT, 250);
  gArrearsFeeIds.clear();
  gSubTotal = 0;
  FinExec(FinArrearsReportFeesSql(kelas, gTapel), FORMLAPTUNGGAKAN_CbFeeColumn);
  // A failed fee query may have added a column after which no id came: only columns with an id are fee columns.
  const int fees = std::min<int>(static_cast<int>(gArrearsFeeIds.size()), LvGetColumnCount(list) - 2);
  AddColumn(list, "Jumlah Rp.", LVCFMT_RIGHT, 100);
  const int totalColumn = LvGetColumnCount(list) - 1;
  LvDeleteAllItems(list);
  FinExec(FinArrearsReportStudentsSql(kelas, gTapel), FORMLAPTUNGGAKAN_CbStudentRow);

  // The months billed follow the clock's today, whatever the report month says.
  const int monthsDue = FinArrearsMonthsDueToday(gTapel);
  const int students = LvGetItemCount(list);
  // Every cell of the class in one statement: billed and paid per billing row of a listed student on a listed fee.
  const std::vector<std::string> studentIds = FinListColumn(list, 0);
  gArrearsCells.clear();
  if (fees > 0 && students > 0) {
    const std::vector<std::string> feeIds(gArrearsFeeIds.begin(), gArrearsFeeIds.begin() + fees);
    if (FinExec(FinArrearsReportClassCellsSql(feeIds, studentIds, gPrepaid, monthsDue),
                FORMLAPTUNGGAKAN_CbArrearsCell) != 0)
      gArrearsCells.clear();
  }
  for (int r = 0; r < students; ++r) {
    gSubTotal = 0;
    for (int f = 0; f < fees; ++f) {
      const auto cell = gArrearsCells.find({studentIds[static_cast<std::size_t>(r)],
                                            gArrearsFeeIds[static_cast<std::size_t>(f)]});
      const std::string owed = cell == gArrearsCells.end() ? std::string() : cell->second;
      if (!owed.empty()) LvSetItemText(list, r, 2 + f, owed);
      gSubTotal += FinReportCellValue(owed);
    }
    LvSetItemText(list, r, totalColumn, std::to_string(gSubTotal));
  }
  gArrearsCells.clear();
  FinAppendTotalsRow(list, kFinTotalsJumlah, 2);
  FinFinishReportList(list, FinFinishVariant::Plain);
  FrmClose(gFormLapTunggakanWindow, 0);
  return 0;
}

int FORMLAPTUNGGAKAN_BuildClassRecap() {
  const Hwnd list = gForm11List;
  LvDeleteAllColumns(list);
  AddColumn(list, "-", LVCFMT_CENTER, 100);
  AddColumn(list, "Akun Rekening", LVCFMT_LEFT, 350);
  AddColumn(list, " Rp.", LVCFMT_RIGHT, 100);
  LvDeleteAllItems(list);
  gSubTotal = 0;
  gArrearsPrevClass = "-";
  FinExec(FinArrearsReportRecapSql(gTapel), FORMLAPTUNGGAKAN_CbRecapRow);
  FinAppendReportRow(list, {kArrearsSubtotalLabel, "", std::to_string(gSubTotal)});
  long long grand = 0;
  const int rows = LvGetItemCount(list);
  for (int r = 0; r < rows; ++r)
    if (LvGetItemText(list, r, 0) == kArrearsSubtotalLabel) grand += FinReportCellValue(LvGetItemText(list, r, 2));
  FinAppendReportRow(list, {"", kFinTotalsAll, std::to_string(grand)});
  FinFinishReportList(list, FinFinishVariant::Plain);
  FrmClose(gFormLapTunggakanWindow, 0);
  return 0;
}

// ----- the arrears note and its archive -----------------------------------------------------------------------------
std::string FinArrearsNoteWords(const std::string& total) {
  const long long value = FinReportCellValue(total, /*stripDots*/ true);
  const long long size = value < 0 ? -value : value;
  const std::string words = size > std::numeric_limits<std::int32_t>::max()
                                ? std::string()
                                : FinSpellNumber(static_cast<std::int32_t>(size));
  return value < 0 && !words.empty() ? " minus" + words : words;
}

std::vector<ReceiptLine> FinArrearsNoteLines(const ArrearsNote& note) {
  std::vector<std::string> text;   // text[k - 1] stands at y = k x line step
  text.push_back("   " + note.schoolName);
  text.push_back("   " + note.schoolAddress);
  text.push_back("   Telp. " + note.schoolPhone + " Email. " + note.schoolEmail);
  text.push_back(Rule71());
  text.push_back("   Nama Siswa : " + note.name + "; Kls : " + note.kelas);
  text.push_back(Rule71());
  text.push_back("    Tagihan Tunggakan " + std::string(52, '-'));
  for (std::size_t k = 0; k < note.feeCaptions.size(); ++k) {
    const std::string amount = k < note.feeAmounts.size() ? note.feeAmounts[k] : std::string();
    text.push_back("    " + Utf8PadRight(std::to_string(k + 1), 3) +
                   Utf8PadRight(Utf8Left(note.feeCaptions[k], 60), 44) + "Rp." + RcptStarFill(amount, 10));
  }
  text.push_back(std::string(27, ' ') + "                Total : Rp." + RcptStarFill(note.total, 10));
  text.push_back(Rule71());
  text.push_back("   " + FinArrearsNoteWords(note.total));
  text.push_back("");
  text.push_back("   Dicetak tanggal " + note.printDate + " pukul : " + note.printTime);
  text.push_back("   Oleh Operator : " + note.operatorName);

  std::vector<ReceiptLine> lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const long long y = std::clamp<long long>(static_cast<long long>(i + 1) * note.lineSpacing,
                                              std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    lines.push_back(ReceiptLine{10, static_cast<int>(y), text[i]});
  }
  return lines;
}

std::string FinArrearsNoteFileName(const std::string& name, const std::string& kelas, const std::string& today) {
  return FinArrearsArchiveFileName(name, kelas, today);
}

std::vector<std::string> FinArrearsNoteArchiveLines(const ArrearsNote& note) {
  const std::string rule(38, '-');
  std::vector<std::string> lines =
      FinArrearsArchiveHead(note.schoolName, note.schoolAddress, note.schoolPhone, note.name, note.kelas);
  for (std::size_t k = 0; k < note.feeCaptions.size(); ++k) {
    const std::string amount = k < note.feeAmounts.size() ? note.feeAmounts[k] : std::string();
    lines.push_back(Utf8PadRight(std::to_string(k + 1), 2) + Utf8PadRight(CaptionBeforeRp(note.feeCaptions[k]), 23) +
                    "Rp." + RcptStarFill(amount, 10));
  }
  lines.push_back(rule);
  lines.push_back("Total        :" + std::string(11, ' ') + "Rp." + RcptStarFill(note.total, 10));
  return lines;
}

std::string FinArrearsNoteArchiveText(const ArrearsNote& note) {
  std::string text;
  for (const std::string& line : FinArrearsNoteArchiveLines(note)) text += line + "\r\n";
  return text;
}
