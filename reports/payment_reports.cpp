#include "reports/payment_reports.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "reports/payment_report_dialog.h"
#include "reports/payment_report_window.h"
#include "reports/report_finishing.h"

int gReportRow = 0;
long long gPaymentListTotal = 0;

namespace {

// The month columns of detail_account in school-year order (the SQL names; the captions come from gMonthNames).
const char* const kMonthColumns[12] = {"juli",     "agustus", "september", "oktober", "nopember", "desember",
                                       "januari",  "februari", "maret",    "april",   "mei",      "juni"};
const char* const kMonthCaptions[12] = {"Juli",    "Agustus",  "September", "Oktober", "Nopember", "Desember",
                                        "Januari", "Februari", "Maret",     "April",   "Mei",      "Juni"};

constexpr const char* kNoFeeMessage =
    "Pilih Kelas, Kategori dan Akun Pembayaran Per Bulan terlebih dahulu, sebelum menjalankan perintah ini..";


// A whole number of rupiah from a cell or a value read (empty or non-numeric: 0).
long long Amount(std::string_view text) { return FinReportCellValue(text); }

// Column 0 of the single row of `sql` through FinCbSingleValue; empty for SQL NULL and for a failed statement (its
// box shown), so that a failure never repeats the value of an earlier statement.
std::string SingleValue(const std::string& sql) {
  gSqlResult.clear();
  if (FinExec(sql, FinCbSingleValue) != 0) gSqlResult.clear();
  return gSqlResult;
}

// The keys of the amount columns of "Show Data", kept beside gFormMode so that a fee id holding "," cannot shift
// the columns.
std::vector<std::string> gColumnKeys;

// What the class reports read in one statement: paid per (student, fee), and each student's billed months.
std::map<std::pair<std::string, std::string>, std::string> gPaidOf;
std::map<std::string, std::vector<std::string>> gBilledOf;

std::string PaidOf(const std::string& siswaId, const std::string& acctId) {
  const auto it = gPaidOf.find({siswaId, acctId});
  return it == gPaidOf.end() ? std::string() : it->second;
}

// The "Jumlah" row of the daily recap (its index), found on day 1.
int gDailyJumlahRow = -1;

void AddColumn(Hwnd list, const std::string& caption, int format, int width) {
  LvInsertColumn(list, LvGetColumnCount(list), caption, format, width);
}

void ClearList(Hwnd list) {
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
}

// The end of every built report: the finishing pass, then the dialog closed with result 0.
void Finish(FinFinishVariant variant) {
  FinFinishReportList(gForm10List, variant);
  FrmClose(gFormLapBayarWindow, 0);
}

std::string MonthCaption(int k) {
  if (k < static_cast<int>(gMonthNames.size()) && !gMonthNames[static_cast<std::size_t>(k)].empty())
    return gMonthNames[static_cast<std::size_t>(k)];
  return kMonthCaptions[k - 1];
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The payment lists of the report month and of today: the same columns, rows and closing row.
int BuildPaymentList(const std::string& datesSql) {
  const Hwnd list = gForm10List;
  ClearList(list);
  AddColumn(list, "-", LVCFMT_RIGHT, 50);
  AddColumn(list, "Keterangan", LVCFMT_LEFT, 250);
  AddColumn(list, "Rp.", LVCFMT_RIGHT, 100);
  AddColumn(list, "Jumlah", LVCFMT_RIGHT, 100);
  gSubTotal = 0;
  gCountResult = 0;
  gPaymentListTotal = 0;
  gLastKey = "-";
  FinExec(datesSql, FORMLAPBAYAR_CbPaymentDate);
  FinAppendReportRow(list, {"", kFinTotalsGrand, "", std::to_string(gPaymentListTotal)});
  Finish(FinFinishVariant::Plain);
  return 0;
}

}  // namespace

// ----- what the reports compute ---------------------------------------------------------------------------------
int PayRepMonthYear(const std::string& tapel, int month) {
  const int first = static_cast<int>(RoundHalfEven(Val(tapel.substr(0, 4))));
  const int second = tapel.size() > 5 ? static_cast<int>(RoundHalfEven(Val(tapel.substr(5, 4)))) : first + 1;
  return month >= 7 ? first : second;
}

std::string PayRepMonthBetween(const std::string& tapel, int month) {
  const std::string start = std::to_string(PayRepMonthYear(tapel, month)) + "-" + TwoDigits(month) + "-01";
  return "between '" + SqlQ(start) + "' and date('" + SqlQ(start) + "','start of month','+1 month','-1 day')";
}

std::vector<std::string> PayRepDaysUpTo(const std::string& today) {
  std::vector<std::string> days;
  if (today.size() < 10) return days;
  const std::string prefix = today.substr(0, 8);
  const long long last = RoundHalfEven(Val(today.substr(8, 2)));
  for (int d = 1; d <= last && d <= 31; ++d) days.push_back(prefix + TwoDigits(d));
  return days;
}

std::string PayRepItemNumber(long long n) {
  std::string s = std::to_string(n);
  return s.size() < 5 ? std::string(5 - s.size(), ' ') + s : s;
}

std::vector<std::string> PayRepSpreadPaid(long long paid, const std::vector<long long>& billed) {
  std::vector<std::string> cells;
  cells.reserve(billed.size());
  for (long long b : billed) {
    if (paid < 1) {
      cells.push_back("0");
      continue;
    }
    cells.push_back(std::to_string(b));
    paid -= b;
  }
  return cells;
}

std::string PayRepClassFeesSql(const std::string& kelas, const std::string& tapel) {
  return "select Id, Pembayaran from account WHERE Kelas='" + SqlQ(kelas) + "' And Tapel='" + SqlQ(tapel) + "'";
}

std::string PayRepClassStudentsSql(const std::string& kelas, const std::string& tapel) {
  return "select SiswaKelas.IdSiswa, Siswa.Nama, SiswaKelas.Kelas From siswakelas Join siswa On "
         "SiswaKelas.IdSiswa=Siswa.Id Where siswakelas.Kelas='" +
         SqlQ(kelas) + "' And SiswaKelas.Tapel='" + SqlQ(tapel) + "' Order By SiswaKelas.IdSiswa";
}

std::string PayRepClassPaidInPeriodSql(const std::vector<std::string>& acctIds, const std::vector<std::string>& siswaIds,
                                       const std::string& from, const std::string& to) {
  return "Select SiswaId, AcctId, Sum(Masuk) as jm From transaksi Where AcctId in (" + SqlQuotedList(acctIds) +
         ") And SiswaId in (" + SqlQuotedList(siswaIds) + ") And Tgl Between '" + SqlQ(from) + "' and '" + SqlQ(to) +
         "' Group By SiswaId, AcctId";
}

std::string PayRepClassPaidOnFeeSql(const std::vector<std::string>& siswaIds, const std::string& acctId) {
  return "Select SiswaId, CAST(Sum(Masuk) as integer) From transaksi Where SiswaId in (" + SqlQuotedList(siswaIds) +
         ") and AcctId='" + SqlQ(acctId) + "' Group By SiswaId";
}

std::string PayRepClassBilledMonthsSql(const std::vector<std::string>& siswaIds, const std::string& acctId) {
  std::string months;
  for (const char* c : kMonthColumns) months += std::string(", ") + c;
  return "Select id_siswa" + months + " From detail_account Where id_siswa in (" + SqlQuotedList(siswaIds) +
         ") and id_account='" + SqlQ(acctId) + "' Order By detail_account.rowid";
}

std::string PayRepRecapAccountsSql(const std::string& tapel) {
  // "Masuk Is Not Null" leaves the sum as it is (a sum passes over NULL) and lets it be read from the index of paid
  // amounts alone.
  return "select Id, Pembayaran, Kelas, cast((Select Sum(Masuk) From transaksi Where AcctId=account.id And Masuk Is "
         "Not Null) as Integer) from account WHERE Tapel='" +
         SqlQ(tapel) + "' Order by Kelas";
}

std::string PayRepRecapDiscountSql(const std::string& tapel, int month) {
  const std::string y = std::to_string(PayRepMonthYear(tapel, month));
  const std::string start = y + "-" + TwoDigits(month) + "-01";
  return "Select cast(Sum(Masuk) as Integer) From transaksi Where AcctId='Disc' and Tgl between '" +
         SqlQ(tapel.substr(0, 4)) + "-07-01' and date('" + SqlQ(start) + "','start of month','+1 month','-1 day')";
}

std::string PayRepDayAccountsSql(const std::string& date, const std::string& tapel) {
  return "select Id, Pembayaran, Kelas, (Select CAST(Sum(Masuk) as integer) From transaksi Where Tgl='" + SqlQ(date) +
         "' and AcctId=account.id) from account WHERE Tapel='" + SqlQ(tapel) + "' Order by Kelas";
}

std::string PayRepDayDiscountSql(const std::string& date) {
  return "Select CAST(Sum(Masuk) as integer) From transaksi Where Tgl='" + SqlQ(date) + "' and AcctId='Disc'";
}

std::string PayRepMonthDatesSql(const std::string& tapel, int month) {
  return "select tgl from transaksi where tgl " + PayRepMonthBetween(tapel, month) + " Group By Tgl";
}

std::string PayRepTodayDatesSql(const std::string& today) {
  return "select tgl from transaksi where tgl='" + SqlQ(today) + "' Group By Tgl";
}

std::string PayRepPaymentsOfDateSql(const std::string& date) {
  return "select transaksi.siswaid, siswa.Nama, transaksi.AcctId, transaksi.Uraian, transaksi.masuk, transaksi.tgl "
         "From transaksi Join siswa On transaksi.siswaid=siswa.Id Where transaksi.Tgl='" +
         SqlQ(date) + "' And transaksi.sts='p' Order By transaksi.tgl";
}

// ----- row callbacks --------------------------------------------------------------------------------------------
int FORMLAPBAYAR_CbAddAccountColumn(void*, int columnCount, char** values, char**) {
  const std::string id = FinCell(values, columnCount, 0);
  AddColumn(gForm10List, FinCell(values, columnCount, 1) + " Rp.", LVCFMT_RIGHT, 100);
  gFormMode += id + ",";
  gColumnKeys.push_back(id);
  return 0;
}

int FORMLAPBAYAR_CbAddStudentRow(void*, int columnCount, char** values, char**) {
  FinAppendReportRow(gForm10List,
                     {FinCell(values, columnCount, 0), FinCell(values, columnCount, 1), FinCell(values, columnCount, 2)});
  return 0;
}

int FORMLAPBAYAR_CbRecapAccountRow(void*, int columnCount, char** values, char**) {
  const Hwnd list = gForm10List;
  const std::string id = FinCell(values, columnCount, 0);
  const std::string kelas = FinCell(values, columnCount, 2);
  const std::string amount = FinCell(values, columnCount, 3);
  if (gCountResult < 2) {
    if (kelas != gLastKey) FinAppendReportRow(list, {"Kelas " + kelas, "Akun"});
    FinAppendReportRow(list, {"", id + " | " + FinCell(values, columnCount, 1), amount});
    gSubTotal += Amount(amount);
    gLastKey = kelas;
    ++gReportRow;
    return 0;
  }
  if (LvGetItemText(list, gReportRow, 1) == "Akun") ++gReportRow;
  LvSetItemText(list, gReportRow, LvGetColumnCount(list) - 1, amount);
  gSubTotal += Amount(amount);
  ++gReportRow;
  return 0;
}

int FORMLAPBAYAR_CbPaymentRow(void*, int columnCount, char** values, char**) {
  const Hwnd list = gForm10List;
  const std::string_view siswaId = FinCellView(values, columnCount, 0);
  const std::string_view masuk = FinCellView(values, columnCount, 4);
  thread_local std::string text;   // one row's composed cell, kept between rows
  if (siswaId != gLastKey) {
    text.assign("Tanggal : ").append(FinCellView(values, columnCount, 5));
    FinAppendReportRow(list, {"", text});
    FinAppendReportRow(list, {siswaId, FinCellView(values, columnCount, 1)});
    gSubTotal = 1;
    gCountResult = 0;
  }
  text.assign(FinCellView(values, columnCount, 2)).append("-").append(FinCellView(values, columnCount, 3));
  FinAppendReportRow(list, {PayRepItemNumber(gSubTotal), text, masuk});
  gCountResult = Amount(masuk);
  ++gSubTotal;
  gLastKey = siswaId;
  gPaymentListTotal += gCountResult;
  return 0;
}

int FORMLAPBAYAR_CbPaidOf(void*, int columnCount, char** values, char**) {
  // (SiswaId, AcctId, sum) of "Show Data", or (SiswaId, sum) of the monthly fee report (kept under the fee "").
  if (columnCount >= 3)
    gPaidOf[{FinCell(values, columnCount, 0), FinCell(values, columnCount, 1)}] = FinCell(values, columnCount, 2);
  else
    gPaidOf[{FinCell(values, columnCount, 0), ""}] = FinCell(values, columnCount, 1);
  return 0;
}

int FORMLAPBAYAR_CbBilledOf(void*, int columnCount, char** values, char**) {
  std::vector<std::string> months;
  for (int i = 1; i <= 12; ++i) months.push_back(FinCell(values, columnCount, i));
  gBilledOf[FinCell(values, columnCount, 0)] = std::move(months);   // the last billing row stored wins
  return 0;
}

int FORMLAPBAYAR_CbPaymentDate(void*, int columnCount, char** values, char**) {
  FinExec(PayRepPaymentsOfDateSql(FinCell(values, columnCount, 0)), FORMLAPBAYAR_CbPaymentRow);
  return 0;
}

// ----- the builders ---------------------------------------------------------------------------------------------
int FORMLAPBAYAR_BuildClassPeriodReport() {
  const Hwnd list = gForm10List;
  const std::string kelas = CtlGetText(gFormLapBayarClassCombo);
  const std::string from = CtlGetText(gFormLapBayarFromDate);
  const std::string to = CtlGetText(gFormLapBayarToDate);

  LvDeleteAllColumns(list);
  gFormMode.clear();
  gColumnKeys.clear();
  AddColumn(list, "Id", LVCFMT_CENTER, 100);
  AddColumn(list, "Nama Siswa", LVCFMT_LEFT, 250);
  AddColumn(list, "Kelas", LVCFMT_LEFT, 100);
  FinExec(PayRepClassFeesSql(kelas, gTapel), FORMLAPBAYAR_CbAddAccountColumn);
  AddColumn(list, "Potongan Rp.", LVCFMT_RIGHT, 100);
  AddColumn(list, "Jumlah Rp.", LVCFMT_RIGHT, 100);
  LvDeleteAllItems(list);
  FinExec(PayRepClassStudentsSql(kelas, gTapel), FORMLAPBAYAR_CbAddStudentRow);
  gFormMode += "Disc";
  gColumnKeys.push_back("Disc");

  const int columns = LvGetColumnCount(list);
  const int rows = LvGetItemCount(list);
  std::vector<std::string> keys;
  for (int c = 3; c <= columns - 2; ++c) {
    const std::size_t k = static_cast<std::size_t>(c - 3);
    keys.push_back(k < gColumnKeys.size() ? gColumnKeys[k] : StrParse(gFormMode, ",", c - 2));
  }
  const std::vector<std::string> siswaIds = FinListColumn(list, 0);
  // What the class paid in the period, every student and fee in one statement.
  gPaidOf.clear();
  if (!keys.empty() && rows > 0 &&
      FinExec(PayRepClassPaidInPeriodSql(keys, siswaIds, from, to), FORMLAPBAYAR_CbPaidOf) != 0)
    gPaidOf.clear();
  for (int r = 0; r < rows; ++r) {
    long long total = 0;
    for (int c = 3; c <= columns - 2; ++c) {
      const long long paid = Amount(PaidOf(siswaIds[static_cast<std::size_t>(r)], keys[static_cast<std::size_t>(c - 3)]));
      LvSetItemText(list, r, c, std::to_string(paid));
      total += paid;
    }
    LvSetItemText(list, r, columns - 1, std::to_string(total));
  }
  gPaidOf.clear();
  for (int r = rows - 1; r >= 0; --r)
    if (Amount(LvGetItemText(list, r, columns - 1)) < 1) LvDeleteItem(list, r);

  FinAppendTotalsRow(list, kFinTotalsJumlah, 3);
  Finish(FinFinishVariant::Plain);
  return 0;
}

int FORMLAPBAYAR_BuildMonthlyAccountReport() {
  const Hwnd list = gForm10List;
  const std::string fee = CtlGetText(gFormLapBayarAccountCombo);
  const std::string feeId = fee.substr(0, fee.find(';'));
  gFormMode = feeId;
  if (fee.empty()) {
    MsgBox(kNoFeeMessage, "Info", MB_OK);
    return 0;
  }
  const std::string kelas = CtlGetText(gFormLapBayarClassCombo);

  ClearList(list);
  AddColumn(list, "Id", LVCFMT_CENTER, 100);
  AddColumn(list, "Nama Siswa", LVCFMT_LEFT, 250);
  AddColumn(list, "Kelas", LVCFMT_LEFT, 100);
  for (int k = 1; k <= 12; ++k) AddColumn(list, MonthCaption(k) + " Rp.", LVCFMT_RIGHT, 100);
  AddColumn(list, "Jumlah", LVCFMT_RIGHT, 100);
  gSql = PayRepClassStudentsSql(kelas, gTapel);
  FinExec(gSql, FORMLAPBAYAR_CbAddStudentRow);

  const int rows = LvGetItemCount(list);
  const std::vector<std::string> siswaIds = FinListColumn(list, 0);
  // The class's payments on the fee and its billing, one statement each.
  gPaidOf.clear();
  gBilledOf.clear();
  if (rows > 0) {
    if (FinExec(PayRepClassPaidOnFeeSql(siswaIds, feeId), FORMLAPBAYAR_CbPaidOf) != 0) gPaidOf.clear();
    if (FinExec(PayRepClassBilledMonthsSql(siswaIds, feeId), FORMLAPBAYAR_CbBilledOf) != 0) gBilledOf.clear();
  }
  for (int r = 0; r < rows; ++r) {
    const std::string& siswaId = siswaIds[static_cast<std::size_t>(r)];
    const long long paid = Amount(PaidOf(siswaId, ""));
    LvSetItemText(list, r, 15, paid <= 0 ? "0" : std::to_string(paid));
    // A student without a billing row on the fee has no billed month: every month then shows 0. With several
    // billing rows the last one stored counts.
    const auto billing = gBilledOf.find(siswaId);
    std::vector<long long> billed;
    for (std::size_t m = 0; m < 12; ++m) {
      const long long b = billing == gBilledOf.end() ? 0 : Amount(billing->second[m]);
      gRowCount = b > 2147483647LL ? 2147483647 : b < -2147483647LL ? -2147483647 : static_cast<int>(b);
      billed.push_back(b);
    }
    const std::vector<std::string> cells = PayRepSpreadPaid(paid, billed);
    for (int k = 0; k < 12; ++k) LvSetItemText(list, r, k + 3, cells[static_cast<std::size_t>(k)]);
  }

  FinAppendTotalsRow(list, kFinTotalsJumlah, 3);
  Finish(FinFinishVariant::Plain);
  return 0;
}

int FORMLAPBAYAR_BuildClassRecap() {
  const Hwnd list = gForm10List;
  LvDeleteAllColumns(list);
  AddColumn(list, "-", LVCFMT_CENTER, 100);
  AddColumn(list, "Akun Rekening", LVCFMT_LEFT, 350);
  AddColumn(list, " Rp.", LVCFMT_RIGHT, 100);
  LvDeleteAllItems(list);

  gCountResult = 1;
  gSubTotal = 0;
  gReportRow = 0;
  gLastKey = "-";
  FinExec(PayRepRecapAccountsSql(gTapel), FORMLAPBAYAR_CbRecapAccountRow);
  const long long discount = Amount(SingleValue(PayRepRecapDiscountSql(gTapel, gReportMonth)));
  FinAppendReportRow(list, {"", "Potongan Pembayaran", std::to_string(discount)});
  gSubTotal += discount;
  FinAppendReportRow(list, {"", "Jumlah", std::to_string(gSubTotal)});
  FinAppendReportRow(list, {"", kFinTotalsAll, std::to_string(gSubTotal)});
  Finish(FinFinishVariant::Plain);
  return 0;
}

int FORMLAPBAYAR_BuildDailyRecap() {
  const Hwnd list = gForm10List;
  ClearList(list);
  gLastKey = "-";
  gDailyJumlahRow = -1;
  const std::vector<std::string> days = PayRepDaysUpTo(gToday);
  for (std::size_t i = 0; i < days.size(); ++i) {
    const std::string& date = days[i];
    const int d = static_cast<int>(i) + 1;
    gCountResult = d;
    gReportRow = 0;
    gSubTotal = 0;
    if (d == 1) {
      AddColumn(list, "-", LVCFMT_CENTER, 100);
      AddColumn(list, "Akun Rekening", LVCFMT_LEFT, 350);
    }
    AddColumn(list, date, LVCFMT_RIGHT, 100);
    FinExec(PayRepDayAccountsSql(date, gTapel), FORMLAPBAYAR_CbRecapAccountRow);
    const std::string discount = SingleValue(PayRepDayDiscountSql(date));
    if (d == 1) {
      FinAppendReportRow(list, {"", "Potongan Pembayaran", std::to_string(Amount(discount))});
      gSubTotal += Amount(discount);
      gDailyJumlahRow = FinAppendReportRow(list, {"", "Jumlah", std::to_string(gSubTotal)});
    } else {
      // gReportRow now stands on the "Potongan Pembayaran" row, the "Jumlah" row follows it.
      const int last = LvGetColumnCount(list) - 1;
      LvSetItemText(list, gDailyJumlahRow - 1, last, discount);
      gSubTotal += Amount(discount);
      LvSetItemText(list, gDailyJumlahRow, last, std::to_string(gSubTotal));
    }
  }
  if (!days.empty()) {
    const int columns = LvGetColumnCount(list);
    long long grand = 0;
    for (int c = 2; c < columns; ++c) grand += Amount(LvGetItemText(list, gDailyJumlahRow, c));
    std::vector<std::string> cells(static_cast<std::size_t>(columns));
    cells[1] = kFinTotalsAll;
    cells[static_cast<std::size_t>(columns - 1)] = std::to_string(grand);
    FinAppendReportRow(list, cells);
  }
  Finish(FinFinishVariant::FromThirdColumn);
  return 0;
}

int FORMLAPBAYAR_BuildMonthPayments() { return BuildPaymentList(PayRepMonthDatesSql(gTapel, gReportMonth)); }

int FORMLAPBAYAR_BuildTodayPayments() { return BuildPaymentList(PayRepTodayDatesSql(gToday)); }
