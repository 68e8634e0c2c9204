// The six payment reports of the payment report dialog (reports/payment_report_dialog.h). Each builder empties the
// payment report window's list gForm10List, adds its columns, fills its rows through its own row callbacks, adds
// its totals rows, runs the finishing pass (reports/report_finishing.h) and closes the dialog with result 0:
//
//   per student   "Show Data"                               FORMLAPBAYAR_BuildClassPeriodReport
//                 "Show Laporan Pembayaran Per Bulan"       FORMLAPBAYAR_BuildMonthlyAccountReport
//   recaps        "Show Rekap Pembayaran Per Kelas"         FORMLAPBAYAR_BuildClassRecap
//                 "Show Rekap Pembayaran Harian Per Kelas"  FORMLAPBAYAR_BuildDailyRecap
//   by date       "Show Pembayaran Per Tanggal"             FORMLAPBAYAR_BuildMonthPayments
//                 "Show Pembayaran Hari Ini"                FORMLAPBAYAR_BuildTodayPayments
//
// Amounts are whole rupiah read from SQL sums over the INTEGER money columns and added in 64 bits. A failing
// statement shows "SQL error: " + SQLite's message (caption "Info") and the builder goes on with what it has.
#pragma once
#include <string>
#include <vector>

#include "framework/win.h"

// Working state of the builders and their row callbacks (with gSubTotal of reports/report_finishing.h, gCountResult
// of common/globals.h, gLastKey of payments/payment_save.h and gFormMode of app/globals.h):
extern int gReportRow;                   // daily recap: the list row the next amount of a later day belongs to
extern long long gPaymentListTotal;      // payment lists: the grand total of the listed payments

// ----- what the reports compute ---------------------------------------------------------------------------------
// The calendar year that report month `month` (1..12) of school year `tapel` ("2024/2025") lies in: the second year
// for January to June, the first for July to December.
int PayRepMonthYear(const std::string& tapel, int month);
// "between 'Y-MM-01' and date('Y-MM-01','start of month','+1 month','-1 day')": the days of that month.
std::string PayRepMonthBetween(const std::string& tapel, int month);
// The dates "P01" .. "PDD" of the current month up to `today` ("yyyy-mm-dd"), P its first eight characters; empty
// when `today` has no day in characters 9 and 10.
std::vector<std::string> PayRepDaysUpTo(const std::string& today);
// An item number right-aligned in five characters ("    1").
std::string PayRepItemNumber(long long n);
// The month cells of the monthly fee report: the paid total fills the months in school-year order, each month
// taking its whole billed amount while any money is left before it; once nothing is left a month shows "0".
std::vector<std::string> PayRepSpreadPaid(long long paid, const std::vector<long long>& billed);

// The statements (every value quoted).
std::string PayRepClassFeesSql(const std::string& kelas, const std::string& tapel);
std::string PayRepClassStudentsSql(const std::string& kelas, const std::string& tapel);
// What each of `siswaIds` paid on each of `acctIds` between the two dates: SiswaId, AcctId, Sum(Masuk) per pair that
// has payment rows.
std::string PayRepClassPaidInPeriodSql(const std::vector<std::string>& acctIds, const std::vector<std::string>& siswaIds,
                                       const std::string& from, const std::string& to);
// What each of `siswaIds` ever paid on the fee: SiswaId, the whole sum, per student that has payment rows.
std::string PayRepClassPaidOnFeeSql(const std::vector<std::string>& siswaIds, const std::string& acctId);
// The billing rows of `siswaIds` on the fee, in the order they were stored: id_siswa and the twelve months (juli ..
// juni).
std::string PayRepClassBilledMonthsSql(const std::vector<std::string>& siswaIds, const std::string& acctId);
std::string PayRepRecapAccountsSql(const std::string& tapel);
std::string PayRepRecapDiscountSql(const std::string& tapel, int month);
std::string PayRepDayAccountsSql(const std::string& date, const std::string& tapel);
std::string PayRepDayDiscountSql(const std::string& date);
std::string PayRepMonthDatesSql(const std::string& tapel, int month);
std::string PayRepTodayDatesSql(const std::string& today);
std::string PayRepPaymentsOfDateSql(const std::string& date);

// ----- the builders (command handlers of the dialog's buttons; each returns 0) ----------------------------------
// "Show Data": one row per student of the dialog's class, one column per fee of the class and a discount column,
// what was paid between the dialog's two dates and the net total; students whose net total is below 1 are left
// out; a "    JUMLAH " row sums the columns from the fourth on.
int FORMLAPBAYAR_BuildClassPeriodReport();
// "Show Laporan Pembayaran Per Bulan": each student's paid total on the chosen monthly fee spread over July to June.
// Without a fee: "Pilih Kelas, Kategori dan Akun Pembayaran Per Bulan terlebih dahulu, sebelum menjalankan perintah
// ini.." (caption "Info"), nothing else changes and the dialog stays open.
int FORMLAPBAYAR_BuildMonthlyAccountReport();
// "Show Rekap Pembayaran Per Kelas": every fee of gTapel by class with all that was ever paid on it, the discounts
// from 1 July to the end of the report month, "Jumlah" and "Total Seluruhnya".
int FORMLAPBAYAR_BuildClassRecap();
// "Show Rekap Pembayaran Harian Per Kelas": the same rows with one amount column per day of the current month up to
// gToday, and the grand total in the last column.
int FORMLAPBAYAR_BuildDailyRecap();
// "Show Pembayaran Per Tanggal" and "Show Pembayaran Hari Ini": the payment rows of the report month or of gToday,
// grouped by date and student and numbered within each group, and "GRAND TOTAL ".
int FORMLAPBAYAR_BuildMonthPayments();
int FORMLAPBAYAR_BuildTodayPayments();

// ----- row callbacks (sqlite3_exec on gDb; each returns 0) ------------------------------------------------------
// (Id, Pembayaran): a column Pembayaran + " Rp." (right, 100); Id + "," appended to gFormMode.
int FORMLAPBAYAR_CbAddAccountColumn(void* user, int columnCount, char** values, char** names);
// (IdSiswa, Nama, Kelas): a row of the three values.
int FORMLAPBAYAR_CbAddStudentRow(void* user, int columnCount, char** values, char** names);
// (Id, Pembayaran, Kelas, amount): an account row of a recap (first pass, gCountResult below 2) or the amount of the
// newest column in the row it belongs to (later passes).
int FORMLAPBAYAR_CbRecapAccountRow(void* user, int columnCount, char** values, char** names);
// The class reports' sums: (SiswaId, AcctId, sum) or (SiswaId, sum); and a billing row (id_siswa, juli .. juni).
int FORMLAPBAYAR_CbPaidOf(void* user, int columnCount, char** values, char** names);
int FORMLAPBAYAR_CbBilledOf(void* user, int columnCount, char** values, char** names);
// (tgl): the payments of that date, by a nested statement.
int FORMLAPBAYAR_CbPaymentDate(void* user, int columnCount, char** values, char** names);
// (siswaid, Nama, AcctId, Uraian, masuk, tgl): one payment into the list.
int FORMLAPBAYAR_CbPaymentRow(void* user, int columnCount, char** values, char** names);
