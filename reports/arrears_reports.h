// The arrears reports: the two builders of the arrears report dialog (reports/arrears_report_dialog.h), which fill
// the arrears report window's list gForm11List (reports/arrears_report_window.h), and the layouts of what that window
// makes of a per-student row: the printed arrears note ("Tagihan Tunggakan") and its text archive.
//
//   per student   "Show Data"                    FORMLAPTUNGGAKAN_BuildArrears
//   class recap   "Rekap Tunggakan Per Kelas"    FORMLAPTUNGGAKAN_BuildClassRecap
//
// What a student owes on a fee follows the arrears rule of payments/arrears.h: in postpaid mode a monthly fee is due
// its months from July up to today's month when gTapel is the school year running by the clock (all twelve for any
// other year), any other fee (and every fee in prepaid mode) its yearly amount jml_pembayaran; paid is everything ever
// booked on that fee for that student. Each cell is billed - paid; a student without a billing row for a fee has an
// empty cell. Amounts are whole rupiah read from the INTEGER money columns and added in 64 bits; a failing statement
// shows "SQL error: " + SQLite's message (caption "Info") and the builder goes on with what it has.
#pragma once
#include <string>
#include <vector>

#include "common/receipt.h"   // ReceiptLine
#include "framework/win.h"

// ----- labels of the report rows (exact texts) ------------------------------------------------------------------
extern const char* const kArrearsSubtotalLabel;   // "  Jumlah" (two blanks before the word): a class subtotal row

// ----- working state of the builders and their row callbacks ----------------------------------------------------
// (with gSubTotal of reports/report_finishing.h: the running row total, or the running class subtotal)
extern std::vector<std::string> gArrearsFeeIds;   // per-student report: the fee id of each fee column, in order
extern std::string gArrearsPrevClass;             // class recap: the class of the previous fee ("-" at the start)

// ----- the statements (every value quoted) ----------------------------------------------------------------------
// The classes of a school year offered by the dialog: in use that year, without 'DO' and graduates, one per class.
std::string FinArrearsReportClassesSql(const std::string& tapel);
// The fees of a class (all but daily ones): Id, Pembayaran, Type.
std::string FinArrearsReportFeesSql(const std::string& kelas, const std::string& tapel);
// The students of a class in ascending id order: IdSiswa, Nama.
std::string FinArrearsReportStudentsSql(const std::string& kelas, const std::string& tapel);
// Every cell of a class at once: for each billing row of one of `studentIds` on one of `feeIds`, in the order the rows
// were stored, id_siswa, id_account, billed and paid (everything ever booked on that fee by that student). `prepaid`
// is gPrepaid (1 or more: prepaid, every fee billed jml_pembayaran); `monthsDue` as FinArrearsMonthsDue of
// payments/arrears.h (postpaid monthly fees are billed that many months from July).
std::string FinArrearsReportClassCellsSql(const std::vector<std::string>& feeIds,
                                          const std::vector<std::string>& studentIds, int prepaid, int monthsDue);
// The class recap: every fee of the school year with its whole-year billing over all students and what students
// with an ordinary class row (not 'DO', no 'Lulus') paid on it, by class: Id, Pembayaran, Kelas, billed, paid.
std::string FinArrearsReportRecapSql(const std::string& tapel);

// ----- the computations -------------------------------------------------------------------------------------------
// billed - paid, each read as whole rupiah (an empty or non-numeric value is 0), as plain digits.
std::string FinArrearsReportDifference(const std::string& billed, const std::string& paid);

// ----- the builders (command handlers of the dialog's buttons; each returns 0) ----------------------------------
// "Show Data": one row per student of the class `kelas` (the dialog's class) in gTapel, one column per fee of the
// class with what the student still owes on it, "Jumlah Rp." the row total; the "    JUMLAH " row sums the columns
// from the third on. The month of the clock's today decides the months billed (gReportMonth does not enter).
int FORMLAPTUNGGAKAN_BuildArrears();
// "Rekap Tunggakan Per Kelas": every fee of gTapel by class with what is still owed on it, a "  Jumlah" row after a
// class whose subtotal is above 0 (and after the last class in every case) and "Total Seluruhnya".
int FORMLAPTUNGGAKAN_BuildClassRecap();

// ----- row callbacks (sqlite3_exec on gDb; each returns 0) ------------------------------------------------------
int FORMLAPTUNGGAKAN_CbAddClass(void* user, int columnCount, char** values, char** names);     // (Kelas)
int FORMLAPTUNGGAKAN_CbFeeColumn(void* user, int columnCount, char** values, char** names);    // (Id, Pembayaran, Type)
int FORMLAPTUNGGAKAN_CbStudentRow(void* user, int columnCount, char** values, char** names);   // (IdSiswa, Nama)
int FORMLAPTUNGGAKAN_CbArrearsCell(void* user, int columnCount, char** values, char** names);  // (student, fee, billed, paid)
int FORMLAPTUNGGAKAN_CbRecapRow(void* user, int columnCount, char** values, char** names);     // a recap fee row

// ----- the arrears note and its archive ---------------------------------------------------------------------------
// One row of the report as the note reads it: column 1 the name, columns 2 to the one before last the fees (their
// captions and cells), the last column the total; a list of fewer than four columns gives no fee line (the class
// recap: column 1 the name, column 2 the total).
struct ArrearsNote {
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;   // gSchool*
  std::string name;                       // column 1 of the row
  std::string kelas;                      // the class the report window's "Show Data" was built for
  std::vector<std::string> feeCaptions;   // the fee columns' captions ("SPP VII Rp.")
  std::vector<std::string> feeAmounts;    // the row's fee cells as the list shows them ("1.250.000")
  std::string total;                      // the row's last cell as the list shows it
  std::string printDate, printTime;       // status-bar parts 4 and 5
  std::string operatorName;               // status-bar part 1
  int lineSpacing = 150;                  // gStrukLineSpacing
};

// The amount in words of a total as the list shows it ("1.250.000"): the dots removed, the number rounded to whole
// rupiah and spelled (FinSpellNumber: each word with a blank in front); a negative total " minus" and the words of
// its size; 1,000,000,000 and more give the empty text.
std::string FinArrearsNoteWords(const std::string& total);

// The note's lines, all at x = 10, line k at y = k x lineSpacing:
//   1-3 "   " school name, "   " address, "   Telp. " phone " Email. " e-mail; 4 and 6 "   " + 71 hyphens;
//   5 "   Nama Siswa : " name "; Kls : " class; 7 "    Tagihan Tunggakan " + 52 hyphens;
//   one line per fee k: "    " k (filled to 3) the caption (60 characters at most, filled to 44) "Rp." and the
//   amount star-filled to 10 (RcptStarFill); then the total line (27 + 16 blanks, "Total : Rp." and the total
//   star-filled to 10), the hyphens, "   " + the words, an empty text, "   Dicetak tanggal " date " pukul : " time
//   and "   Oleh Operator : " operator.
std::vector<ReceiptLine> FinArrearsNoteLines(const ArrearsNote& note);

// The archive's file name, the arrears window's (FinArrearsArchiveFileName): "tunggakan_" + name + "_" + class + "_" +
// today + ".txt", every blank, "/" and "\" of name, class and today replaced by "_", so that the file always lands in
// the archive folder itself.
std::string FinArrearsNoteFileName(const std::string& name, const std::string& kelas, const std::string& today);
// The archive's lines (without line ends), 38 columns wide: the school's name, address and "Telp. " phone centred,
// hyphens, "Nama : " name, "Kelas: " class, hyphens, one line per fee (k filled to 2, the caption up to its "Rp."
// filled to 23, "Rp." and the amount in the last 10 characters of stars and amount, an amount of more than 10
// characters whole), hyphens and the total line "Total        :" + 11 blanks + "Rp." + the total in the same way.
std::vector<std::string> FinArrearsNoteArchiveLines(const ArrearsNote& note);
// The whole file: every line followed by CR LF.
std::string FinArrearsNoteArchiveText(const ArrearsNote& note);
