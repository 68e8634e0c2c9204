#include "students/import_window.h"

#include <sqlite3.h>

#include <QDate>
#include <algorithm>
#include <cctype>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "accounts/account_globals.h"
#include "accounts/fee_rules.h"
#include "common/amounts.h"
#include "common/busy.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_state.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/student_ids.h"

Hwnd gFormImportWindow = 0;
Hwnd gFormImportRekeningCombo = 0, gFormImportRekeningLabel = 0, gFormImportTutupButton = 0,
     gFormImportKategoriLabel = 0, gFormImportKategoriEdit = 0, gFormImportSimpanButton = 0,
     gFormImportJurusanLabel = 0, gFormImportJurusanEdit = 0, gFormImportKelasCombo = 0, gFormImportKelasLabel = 0,
     gFormImportList = 0, gFormImportPasteButton = 0, gFormImportFormatLabel = 0;

int gFormImportRekeningComboId = 1000, gFormImportRekeningLabelId = 1001, gFormImportTutupButtonId = 1002,
    gFormImportKategoriLabelId = 1003, gFormImportKategoriEditId = 1004, gFormImportSimpanButtonId = 1005,
    gFormImportJurusanLabelId = 1006, gFormImportJurusanEditId = 1007, gFormImportKelasComboId = 1008,
    gFormImportKelasLabelId = 1009, gFormImportListId = 1010, gFormImportPasteButtonId = 1011,
    gFormImportFormatLabelId = 1012;

void FORMIMPORT_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormImportRekeningComboId, &gFormImportRekeningLabelId, &gFormImportTutupButtonId,
                 &gFormImportKategoriLabelId, &gFormImportKategoriEditId, &gFormImportSimpanButtonId,
                 &gFormImportJurusanLabelId, &gFormImportJurusanEditId, &gFormImportKelasComboId,
                 &gFormImportKelasLabelId, &gFormImportListId, &gFormImportPasteButtonId,
                 &gFormImportFormatLabelId})
    *g = id++;
}

// ----- what the import computes ---------------------------------------------------------------------------------
namespace {

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool FormatDate(int y, int m, int d, std::string* out) {
  const QDate q(y, m, d);
  if (y < 100 || !q.isValid()) return false;
  *out = q.toString("yyyy-MM-dd").toStdString();
  return true;
}

int FullYear(const std::string& digits) {
  const int y = std::stoi(digits);
  if (digits.size() > 2) return y;
  return y < 30 ? 2000 + y : 1900 + y;
}

// Month number of an Indonesian or English month name or its abbreviation; 0 when none.
int MonthOfName(const std::string& name) {
  static const std::vector<std::vector<std::string>> kNames = {
      {"januari", "january", "jan"},
      {"februari", "pebruari", "february", "feb", "peb"},
      {"maret", "march", "mar"},
      {"april", "apr"},
      {"mei", "may"},
      {"juni", "june", "jun"},
      {"juli", "july", "jul"},
      {"agustus", "august", "agu", "agt", "ags", "aug"},
      {"september", "sep", "sept"},
      {"oktober", "october", "okt", "oct"},
      {"november", "nopember", "nov", "nop"},
      {"desember", "december", "des", "dec"},
  };
  const std::string n = Lower(name);
  for (std::size_t m = 0; m < kNames.size(); ++m)
    if (std::find(kNames[m].begin(), kNames[m].end(), n) != kNames[m].end()) return static_cast<int>(m) + 1;
  return 0;
}

// The first UTF-8 character of a text (the whole lead byte and its continuation bytes).
std::string FirstChar(const std::string& s) {
  if (s.empty()) return s;
  std::size_t n = 1;
  while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
  return s.substr(0, n);
}

}  // namespace

namespace {

// Reads one row of pasted spreadsheet text from `i`: its cells, split at TAB. A cell that begins with a double quote
// and whose closing quote comes right before a TAB, a carriage return or the end of the text is one cell whatever it
// holds (line breaks, TABs), without its quotes and with "" read as one quote; any other quote is an ordinary
// character. The row ends at the first carriage return outside such a cell: true, `rowEnd` at that carriage return
// and `i` after it (and after the line feed of a CR LF pair); at the end of the text: false, `rowEnd` and `i` there.
bool ReadRow(const std::string& s, std::size_t& i, std::size_t& rowEnd, std::vector<std::string>& cells) {
  std::string cell;
  bool cellStart = true;
  while (i < s.size()) {
    const char c = s[i];
    if (cellStart && c == '"') {
      std::string quoted;
      std::size_t j = i + 1;
      bool closed = false;
      while (j < s.size()) {
        if (s[j] == '"') {
          if (j + 1 < s.size() && s[j + 1] == '"') {
            quoted += '"';
            j += 2;
            continue;
          }
          closed = j + 1 == s.size() || s[j + 1] == '\t' || s[j + 1] == '\r';
          break;
        }
        quoted += s[j++];
      }
      cellStart = false;
      if (closed) {
        cell = quoted;
        i = j + 1;
        continue;
      }
    }
    cellStart = false;
    if (c == '\t') {
      cells.push_back(cell);
      cell.clear();
      cellStart = true;
      ++i;
    } else if (c == '\r') {
      cells.push_back(cell);
      rowEnd = i++;
      if (i < s.size() && s[i] == '\n') ++i;   // the line feed of the pair that ended the row
      return true;
    } else {
      cell += c;
      ++i;
    }
  }
  cells.push_back(cell);
  rowEnd = i;
  return false;
}

bool Blank(const std::vector<std::string>& cells) {
  for (const std::string& c : cells)
    if (c.find_first_not_of(" \t") != std::string::npos) return false;
  return true;
}

// One row of pasted text: as it stands in the text, and its cells.
struct PastedRow {
  std::string text;
  std::vector<std::string> cells;
};

// The rows of pasted spreadsheet text (as FORMIMPORT_PastedRows tells), each read once.
std::vector<PastedRow> ReadPastedRows(const std::string& clipboardText) {
  std::string text = clipboardText;
  std::erase(text, '\0');   // a NUL is no character of any cell
  std::vector<PastedRow> rows;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    std::size_t end = i;
    std::vector<std::string> cells;
    const bool ended = ReadRow(text, i, end, cells);   // the text after the last carriage return is a row too
    if (!Blank(cells)) rows.push_back({text.substr(start, end - start), std::move(cells)});
    if (!ended) break;   // an empty line, or one of TABs only, is no row
  }
  return rows;
}

}  // namespace

std::vector<std::string> FORMIMPORT_PastedRows(const std::string& clipboardText) {
  std::vector<std::string> rows;
  for (PastedRow& row : ReadPastedRows(clipboardText)) rows.push_back(std::move(row.text));
  return rows;
}

std::string FORMIMPORT_Cell(const std::string& row, int k) {
  std::vector<std::string> cells;
  std::size_t i = 0, end = 0;
  ReadRow(row, i, end, cells);
  if (k < 1 || k > static_cast<int>(cells.size())) return std::string();
  return cells[static_cast<std::size_t>(k - 1)];
}

std::string FORMIMPORT_Clean(const std::string& text) { return StrReplaceFast(text, "'", "`"); }

std::string FORMIMPORT_DateText(const std::string& cell) {
  static const std::regex kIso(R"(^(\d{4})([-/.])(\d{1,2})\2(\d{1,2})(?:[ T].*)?$)");
  static const std::regex kDayFirst(R"(^(\d{1,2})([-/.])(\d{1,2})\2(\d{2}|\d{4})(?:[ T].*)?$)");
  static const std::regex kDayName(R"(^(\d{1,2})[ \-]+([A-Za-z]+)\.?[ \-,]+(\d{2}|\d{4})$)");
  static const std::regex kNameDay(R"(^([A-Za-z]+)\.?[ \-]+(\d{1,2}),?[ \-]+(\d{4})$)");
  const std::string s = Trim(cell);
  // No date, with or without its time, is longer than this: a longer text is no date, and no pattern reads it.
  if (s.size() > 40) return "1899-12-30";
  std::string out;
  std::smatch m;
  if (std::regex_match(s, m, kIso)) {
    if (FormatDate(std::stoi(m[1]), std::stoi(m[3]), std::stoi(m[4]), &out)) return out;
  } else if (std::regex_match(s, m, kDayFirst)) {
    const int a = std::stoi(m[1]), b = std::stoi(m[3]), y = FullYear(m[4]);
    if (FormatDate(y, b, a, &out) || FormatDate(y, a, b, &out)) return out;
  } else if (std::regex_match(s, m, kDayName)) {
    if (int month = MonthOfName(m[2]); month && FormatDate(FullYear(m[3]), month, std::stoi(m[1]), &out)) return out;
  } else if (std::regex_match(s, m, kNameDay)) {
    if (int month = MonthOfName(m[1]); month && FormatDate(std::stoi(m[3]), month, std::stoi(m[2]), &out)) return out;
  }
  return "1899-12-30";   // no date: the date number 0
}

std::string FORMIMPORT_KodeText(const std::string& cell) {
  const std::string s = "000" + cell;
  std::size_t from = s.size() - 3;
  // Never begin inside a UTF-8 character: step back to its lead byte.
  while (from > 0 && (static_cast<unsigned char>(s[from]) & 0xC0) == 0x80) --from;
  return s.substr(from);
}

namespace {
std::string FourDigits(int n) {
  std::string d = std::to_string(n);
  return d.size() >= 4 ? d : std::string(4 - d.size(), '0') + d;
}
}  // namespace

std::string FORMIMPORT_AkunDisplayId(const std::string& tapel, int n) {
  return "BR-" + tapel.substr(0, 4) + FinFeeSuffix(n);
}

std::string FORMIMPORT_AkunId(const std::string& kelas, const std::string& tapel, int number) {
  return FinFeeIdPrefix(kelas, tapel) + FourDigits(number);
}

bool FORMIMPORT_Amount(const std::string& cell, long long& amount) {
  amount = 0;
  if (cell.find_first_not_of(" \t") == std::string::npos) return true;   // no amount given: 0
  return FinReadAmount(cell, amount);
}

std::string FORMIMPORT_CodeTakenText(int refused, const std::string& tapel) {
  return std::to_string(refused) + " rekening tidak disimpan, Kode sudah dipakai rekening lain di tahun ajaran " +
         tapel + "..";
}

std::string FORMIMPORT_SummaryText(const std::string& what, int total, int notSaved) {
  return "Dari jumlah data " + what + " " + std::to_string(total) + " anak yang diimport ke database; " +
         std::to_string(total - notSaved) + " data telah berhasil di simpan dan " + std::to_string(notSaved) +
         " gagal disimpan";
}

// ----- the window -----------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kSaved = "Berhasil di input";
constexpr const char* kRefused = "Gagal di input";
constexpr const char* kClassSaved = "Siswa Kelas berhasil di input";
constexpr const char* kClassFailed = "Siswa Kelas gagal di input";
constexpr const char* kBadAmount = "Gagal di input, Jumlah tidak valid..";
}  // namespace
const char* const kFormImportBadAmounts =
    "Jumlah pembayaran harus berupa angka rupiah lebih dari 0, baris dengan jumlah yang tidak valid tidak disimpan..";
namespace {
constexpr const char* kOldMoney = "Gagal di input, Id masih tercatat di data keuangan lama";
constexpr const char* kConfirmText =
    "Proses ini membutuhkan pengecekan data yang valid, sebelum melanjutkan ke proses penyimpanan mohon teliti "
    "terlebih dahulu Id/Kode/Induk agar tidak sama persis dengan data sudah di input sebelumnya\r"
    "Yakin dengan data anda?, data yang tidak yang valid tidak akan ter-input dalam database.";

FrmForm gFormImport = {.name = "FORMIMPORT",
                       .wndProc = FORMIMPORT_WndProc,
                       .window = &gFormImportWindow,
                       .createControls = FORMIMPORT_CreateControls,
                       .onCreate = FORMIMPORT_SetupColumns,
                       .caption = "Copy Paste Data",
                       .style = WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                       .width = 1031,
                       .height = 589};

// The mode the window was opened for, and the school year and (mode "Akun") fee list class it works on. gFormMode
// is scratch text of other windows and callbacks as well, and another list window clicked meanwhile re-points the
// fee list's globals, so the window takes them when it opens (its window state) and its handlers work from them.
std::string sMode, sKelas, sTapel;

// Makes the state `form` took when it opened the one the handlers work from.
void Use(Hwnd form) {
  const FrmWindowState* st = FrmWindowStateOf(form ? form : gFormImportWindow);
  if (!st) return;
  sMode = st->mode;
  sKelas = st->kelas;
  sTapel = st->tapel;
}

enum class Mode { Siswa, Rekening, Akun, Other };
Mode CurrentMode() {
  if (sMode == "Siswa") return Mode::Siswa;
  if (sMode == "Rekening") return Mode::Rekening;
  if (sMode == "Akun") return Mode::Akun;
  return Mode::Other;
}

constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kCombo = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

Hwnd AddLabel(Hwnd form, const char* text, int x, int y, int w, int h, int id, FrmColors colors = FrmColors::Face()) {
  return FrmAddControl(form, "Static", text, kLabel, 0, x, y, w, h, id, FORMIMPORT_CtlSubclassProc, kFont, "",
                       colors);
}

struct Column {
  const char* caption;
  int format;
  int width;
};
void SetColumns(const std::vector<Column>& columns) {
  LvDeleteAllItems(gFormImportList);
  LvDeleteAllColumns(gFormImportList);
  for (std::size_t i = 0; i < columns.size(); ++i)
    LvInsertColumn(gFormImportList, static_cast<int>(i), columns[i].caption, columns[i].format, columns[i].width);
}

std::string Cell(int row, int col) { return LvGetItemText(gFormImportList, row, col); }

// Appends one list row with the given cell texts.
void AppendRow(const std::vector<std::string>& cells) {
  const int r = LvInsertItem(gFormImportList, LvGetItemCount(gFormImportList), 0, cells[0], 0, 0);
  for (std::size_t c = 1; c < cells.size(); ++c) LvInsertItem(gFormImportList, r, static_cast<int>(c), cells[c], 0, 0);
}

int RunCount(const std::string& sql) {
  return FinExec(sql, FinCbCount, "SQL error0: ");
}

// ---- "Siswa": each row is written whole or not at all (a savepoint of its own, all rows under one commit): the
// student (unless the id exists) and its class row (unless the student has one in any year). A row with a failing
// statement leaves nothing behind. A new student whose id old payments, savings or billing rows still name gets
// neither (their money is not this student's).
void SaveStudents() {
  const int n = LvGetItemCount(gFormImportList);
  const std::string kelas = CtlGetText(gFormImportKelasCombo) + " " + FORMIMPORT_Clean(CtlGetText(gFormImportJurusanEdit));
  const std::string kategori = FORMIMPORT_Clean(CtlGetText(gFormImportKategoriEdit));
  const std::string kodeYear = StrReplace(sTapel, "/", "");
  struct Outcome {
    bool written = false, studentSaved = false, classSaved = false, oldMoney = false;
  };
  std::vector<Outcome> outcomes(static_cast<std::size_t>(n));
  std::vector<std::string> oldMoneyIds;
  // All rows in one transaction (one commit instead of one per row), each row in a savepoint of its own: a refused
  // row is undone alone. Should the transaction be lost on the way or its commit fail, no row is written.
  FinBusy busy(FinBusyTask::Import, n >= kFinBusyImportRows);
  if (!busy.started()) return;
  std::optional<FinTransaction> all(std::in_place);
  bool allWritten = all->active(), lost = false;
  for (int r = 0; allWritten && r < n; ++r) {
    Outcome& o = outcomes[static_cast<std::size_t>(r)];
    const std::string id = Cell(r, 0);
    bool ok = false;
    {   // the row's savepoint ends here, undone unless committed
      FinTransaction tx;
      ok = tx.active();
      if (ok) ok = RunCount("Select Count(*) From siswa WHERE Id='" + SqlQ(id) + "'") == SQLITE_OK;
      if (ok && gCountResult < 1) {
        ok = RunCount(FinStudentMoneyRowsSql(id)) == SQLITE_OK;
        o.oldMoney = ok && gCountResult >= 1;
      }
      if (ok && gCountResult < 1) {
        ok = FinExec("Insert Into siswa (Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Status, TglMasuk, Jenjang) "
                     "Values('" + SqlQ(id) + "','" + SqlQ(Cell(r, 1)) + "','" + SqlQ(FirstChar(Cell(r, 2))) + "','" +
                     SqlQ(Cell(r, 3)) + "','" + SqlQ(FORMIMPORT_DateText(Cell(r, 4))) + "','" + SqlQ(Cell(r, 5)) +
                     "','" + SqlQ(Cell(r, 6)) + "','Aktif','" + SqlQ(gToday) + "','-')") == SQLITE_OK;
        o.studentSaved = ok;
      }
      if (ok && !o.oldMoney)
        ok = RunCount("Select Count(*) From siswakelas WHERE IdSiswa='" + SqlQ(id) + "'") == SQLITE_OK;
      if (ok && !o.oldMoney && gCountResult < 1) {
        // A failing class row is shown in the row's result, without a box.
        ok = FinExecQuiet("Insert Into siswakelas (kode,idsiswa, kelas, kategori, tapel) Values('" +
                          SqlQ(kodeYear + id) + "','" + SqlQ(id) + "','" + SqlQ(kelas) + "','" + SqlQ(kategori) +
                          "','" + SqlQ(sTapel) + "')") == SQLITE_OK;
        o.classSaved = ok;
      }
      if (ok) ok = tx.commit();
      o.written = ok;
    }
    if (!ok) o.studentSaved = o.classSaved = o.oldMoney = false;
    if (o.oldMoney) oldMoneyIds.push_back(id);
    // A failure that ends the whole transaction (SQLite rolls it back itself) has taken the rows before with it. One
    // whose row could not be undone leaves a transaction that can take nothing more: no row after it can be written,
    // so the save stops here and says so once, instead of refusing every row that follows.
    if (!gDb || sqlite3_get_autocommit(gDb)) {
      allWritten = false;
    } else if (FinTransactionLost()) {
      allWritten = false;
      lost = true;
    }
  }
  if (allWritten) allWritten = all->commit();
  all.reset();
  busy.end();
  if (lost) MsgBox(std::string("SQL error: ") + kFinTransactionLost, "Info", MB_OK);
  if (!allWritten) {
    for (Outcome& o : outcomes) o = Outcome();
    oldMoneyIds.clear();
  }

  int notSaved = 0;
  for (int r = 0; r < n; ++r) {
    const Outcome& o = outcomes[static_cast<std::size_t>(r)];
    if (o.studentSaved) {
      LvSetItemText(gFormImportList, r, 7, kSaved);
    } else {
      ++notSaved;
      if (o.written) LvSetItemText(gFormImportList, r, 7, o.oldMoney ? kOldMoney : kRefused);   // the id is taken
    }
  }
  MsgBox(FORMIMPORT_SummaryText("siswa", n, notSaved), "Info", MB_OK);

  notSaved = 0;
  for (int r = 0; r < n; ++r) {
    const Outcome& o = outcomes[static_cast<std::size_t>(r)];
    if (!o.classSaved) ++notSaved;
    LvSetItemText(gFormImportList, r, 7,
                  !o.written ? kClassFailed : o.classSaved ? kClassSaved : o.oldMoney ? kOldMoney : kRefused);
  }
  MsgBox(FORMIMPORT_SummaryText("siswa kelas", n, notSaved), "Info", MB_OK);
  if (!oldMoneyIds.empty()) MsgBox(FinStudentIdsHaveMoneyText(oldMoneyIds), "Info", MB_OK);
}

// ---- "Rekening": an account whose description exists in sTapel is refused, and so is one whose code already names an
// account of sTapel (one stored before, or a row of this paste saved above it): one code names one account in a
// year, as the ledger entry window keeps it, and the reports sum by code. One box tells how many were refused for
// their code. Each row is checked and written in a transaction of its own, so that another program's row written in
// between is seen; a row whose transaction cannot begin (the file held by another program, no connection) ends the
// save, as no row after it could be written either.
void SaveAccounts() {
  const int n = LvGetItemCount(gFormImportList);
  int codeTaken = 0;
  for (int r = 0; r < n; ++r) {
    const std::string kode = Cell(r, 0), deskripsi = Cell(r, 1);
    const char* result = nullptr;   // the row's result; none when a statement failed
    std::string failure;            // the box of a failed statement, shown once the transaction has ended
    {
      FinTransaction tx;
      if (!tx.active()) break;   // told by the transaction helper
      // Counts the rows `condition` selects among the accounts of sTapel; false when the count failed.
      auto count = [&failure](const std::string& condition) {
        if (FinExecQuiet("Select Count(*) From rekening WHERE " + condition + " and tapel='" + SqlQ(sTapel) + "'",
                         FinCbCount) == SQLITE_OK)
          return true;
        failure = "SQL error0: " + gSqlErrMsg;
        return false;
      };
      if (!count("deskripsi='" + SqlQ(deskripsi) + "'")) {
        // no decision without a count: nothing written, the result stays
      } else if (gCountResult >= 1) {
        result = kRefused;
      } else if (!count("kode='" + SqlQ(kode) + "'")) {
        // the same
      } else if (gCountResult >= 1) {
        result = kRefused;
        ++codeTaken;
      } else if (FinExecQuiet("Insert Into rekening (kode, deskripsi, grup, tapel) Values('" + SqlQ(kode) + "','" +
                              SqlQ(deskripsi) + "','" + SqlQ(Cell(r, 2)) + "','" + SqlQ(sTapel) + "')") !=
                 SQLITE_OK) {
        failure = "SQL error: " + gSqlErrMsg;
      } else if (tx.commit()) {   // a failing commit is told by the helper
        result = kSaved;
      }
    }
    if (!failure.empty()) MsgBox(failure, "Info", MB_OK);
    if (result) LvSetItemText(gFormImportList, r, 3, result);
  }
  if (codeTaken > 0) MsgBox(FORMIMPORT_CodeTakenText(codeTaken, sTapel), "Info", MB_OK);
}

// Highest number after `prefix` among the fee ids that begin with it (0 when none).
int gHighestFeeNumber = 0;
std::string gFeeIdPrefix;
int HighestFeeNumberCb(void*, int columnCount, char** values, char**) {
  if (columnCount < 1 || !values[0]) return 0;
  const std::string id = values[0];
  if (id.compare(0, gFeeIdPrefix.size(), gFeeIdPrefix) != 0) return 0;
  const std::string rest = id.substr(gFeeIdPrefix.size());
  if (rest.empty() || rest.size() > 9 ||
      !std::all_of(rest.begin(), rest.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return 0;
  gHighestFeeNumber = std::max(gHighestFeeNumber, std::stoi(rest));
  return 0;
}

// ---- "Akun": fees of the fee list's class. A fee of the same name, class and category in sTapel is refused, and so
// is a row whose amount is no positive amount of whole rupiah (kFormImportBadAmounts tells, once, after the rows). A
// new fee's number continues after the highest one its class and year already have, passing over ids that old billing
// rows or payments still name, so that ids stay unique across imports and never bring old money with them; each id is
// counted again in its row's transaction, so that a fee another program saves between two rows is never doubled. Each
// row is written in a transaction of its own; one that cannot begin ends the save with one box.
void SaveFees() {
  const int n = LvGetItemCount(gFormImportList);
  const std::string kelas = sKelas;
  const std::string rekening = CtlGetText(gFormImportRekeningCombo);
  const std::size_t blank = rekening.find(' ');
  const std::string ref = blank == std::string::npos ? std::string() : rekening.substr(0, blank);

  gFeeIdPrefix = FinFeeIdPrefix(kelas, sTapel);
  gHighestFeeNumber = 0;
  if (FinExec("Select Id From account Where instr(Id,'" + SqlQ(gFeeIdPrefix) + "')=1", HighestFeeNumberCb) !=
      SQLITE_OK)
    return;   // without the numbers in use no id can be given safely
  long long next = gHighestFeeNumber + 1;
  const auto idOf = [&kelas](long long number) { return FORMIMPORT_AkunId(kelas, sTapel, static_cast<int>(number)); };
  // The ids under the prefix that fees, billing rows or payments name, read when the first row needs an id.
  std::set<std::string> named;
  bool namesRead = false;

  bool badAmount = false;
  for (int r = 0; r < n; ++r) {
    long long amount = 0;
    if (!FORMIMPORT_Amount(Cell(r, 4), amount) || amount <= 0) {   // a fee bills a positive amount
      LvSetItemText(gFormImportList, r, 6, kBadAmount);
      badAmount = true;
      continue;
    }
    // The row is checked and written in a transaction of its own; one that cannot begin (the file held by another
    // program, no connection) ends the save, as no row after it could be written either.
    FinTransaction tx;
    if (!tx.active()) break;   // told by the transaction helper
    if (RunCount("Select Count(*) from account WHERE pembayaran='" + SqlQ(Cell(r, 1)) + "' and kelas='" +
                 SqlQ(Cell(r, 2)) + "' and ifnull(kategori,'')='" + SqlQ(Cell(r, 3)) + "' and tapel='" +
                 SqlQ(sTapel) + "'") != SQLITE_OK)
      continue;
    if (gCountResult >= 1) {
      LvSetItemText(gFormImportList, r, 6, kRefused);
      continue;
    }
    if (!namesRead && !FinFeeIdsNamedUnder(gFeeIdPrefix, named, "SQL error0: "))
      continue;   // no decision without the names: nothing written, the result stays
    namesRead = true;
    long long number = FinFreeFeeNumber(named, idOf, next);
    // The ids in use were read once, for the first row: another program may have saved a fee since. The id is counted
    // again in this row's transaction, and one taken meanwhile is passed over.
    bool countFailed = false;
    while (number != 0 && FinFeeIdNamed(idOf(number), "SQL error0: ", &countFailed) && !countFailed) {
      named.insert(idOf(number));
      number = FinFreeFeeNumber(named, idOf, number + 1);
    }
    if (countFailed) continue;   // no decision without the count: nothing written, the result stays
    if (number == 0) {
      LvSetItemText(gFormImportList, r, 6, kRefused);
      continue;
    }
    if (FinExec("Insert Into account (id, Pembayaran, kelas, jumlah, Type, Jenjang, RefRekening, tapel) Values('" +
                SqlQ(idOf(number)) + "','" + SqlQ(Cell(r, 1)) + "','" + SqlQ(kelas) + "'," + std::to_string(amount) +
                ",'" + SqlQ(Cell(r, 5)) + "','ins','" + SqlQ(ref) + "','" + SqlQ(sTapel) + "')") == SQLITE_OK &&
        tx.commit()) {   // a failing commit is told by the helper
      LvSetItemText(gFormImportList, r, 6, kSaved);
      named.insert(idOf(number));
      next = number + 1;
    }
  }
  if (badAmount) MsgBox(kFormImportBadAmounts, "Info", MB_OK);
}

}  // namespace

std::intptr_t FORMIMPORT_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gFormImport, parent, modal, userData);
}

void FORMIMPORT_CreateControls(Hwnd form) {
  const FrmColors window = FrmColors::Window();
  gFormImportRekeningCombo = FrmAddControl(form, "ComboBox", "", kCombo, 0, 264, 520, 260, 23,
                                           gFormImportRekeningComboId, FORMIMPORT_CtlSubclassProc, kFont, "", window);
  CtlAddToolTip(gFormImportRekeningCombo, "Wajib dipilih apabila mengimport data akun pembayaran..", 1);
  gFormImportRekeningLabel = AddLabel(form, "Rekening", 208, 520, 51, 16, gFormImportRekeningLabelId);
  gFormImportTutupButton = FrmAddControl(form, "Button", "Tutup", kButton, 0, 910, 496, 100, 24,
                                         gFormImportTutupButtonId, FORMIMPORT_CtlSubclassProc, kFont);
  gFormImportKategoriLabel = AddLabel(form, "Kategori", 460, 496, 56, 22, gFormImportKategoriLabelId);
  gFormImportKategoriEdit = FrmAddControl(form, "Edit", "01", kEdit, WS_EX_CLIENTEDGE, 520, 496, 162, 20,
                                          gFormImportKategoriEditId, FORMIMPORT_CtlSubclassProc, kFont, "", window);
  gFormImportSimpanButton = FrmAddControl(form, "Button", "Simpan Data Ke Database", kButton, 0, 696, 496, 200, 24,
                                          gFormImportSimpanButtonId, FORMIMPORT_CtlSubclassProc, kFont);
  CtlAddToolTip(gFormImportSimpanButton,
                "Simpan ke Database, aplikasi hanya akan menyimpan data siswa yang valid berupa Id Siswa tidak ganda.",
                1);
  gFormImportJurusanLabel = AddLabel(form, "Jurusan", 208, 496, 52, 20, gFormImportJurusanLabelId);
  gFormImportJurusanEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 264, 496, 162, 20,
                                         gFormImportJurusanEditId, FORMIMPORT_CtlSubclassProc, kFont, "", window);
  CtlAddToolTip(gFormImportJurusanEdit, "Jurusan Wajib Di Isi Apabila Jenjang Sekolah SMA", 1);
  gFormImportKelasCombo = FrmAddControl(form, "ComboBox", "", kCombo, 0, 96, 496, 81, 23, gFormImportKelasComboId,
                                        FORMIMPORT_CtlSubclassProc, kFont, "", window);
  for (const char* grade :
       {"Play Group", "TK A", "TK B", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"})
    CbSetItemData(gFormImportKelasCombo, CbAddString(gFormImportKelasCombo, grade), 0);
  gFormImportKelasLabel = AddLabel(form, "Kelas", 48, 496, 46, 33, gFormImportKelasLabelId);
  gFormImportList = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                  LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 8, 32, 1002, 460, gFormImportListId,
                                  FORMIMPORT_CtlSubclassProc, kFont);
  LvSetExtendedStyle(gFormImportList, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  LvSetColors(gFormImportList, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  gFormImportPasteButton = FrmAddControl(form, "Button", "Paste disini", kButton, 0, 512, 8, 498, 23,
                                         gFormImportPasteButtonId, FORMIMPORT_CtlSubclassProc, "Arial,10,1");
  CtlAddToolTip(gFormImportPasteButton,
                "Carilah File Excel dengan format yang sudah tersedia dalam folder import siswa, kemudian pilih kelas "
                "siswa, isi jurusan serta kategori.",
                1);
  gFormImportFormatLabel = AddLabel(form, "Format Copy Paste dapat dibuka di Folder CopyPaste dari Excel", 8, 8, 497,
                                    22, gFormImportFormatLabelId, FrmColors::TextOnRgb(WinRgb(255, 255, 0)));
}

LResult FORMIMPORT_SetupColumns(Hwnd form, std::intptr_t) {
  FrmWindowState st;
  st.mode = gFormMode;
  st.tapel = gTapel;
  if (st.mode == "Akun") {   // the fee list whose command opens the window is the current one now
    st.kelas = CtlGetText(gForm6KelasCombo);
  }
  FrmKeepWindowState(form, st);
  Use(form);
  switch (CurrentMode()) {
    case Mode::Siswa:
      SetColumns({{"Induk", LVCFMT_CENTER, 100},
                  {"Nama", LVCFMT_LEFT, 150},
                  {"LP", LVCFMT_CENTER, 100},
                  {"Tmp. Lahir", LVCFMT_LEFT, 150},
                  {"Tgl. Lahir", LVCFMT_CENTER, 100},
                  {"Agama", LVCFMT_CENTER, 150},
                  {"Alamat", LVCFMT_LEFT, 100},
                  {"Keterangan", LVCFMT_CENTER, 100}});
      CtlDisable(gFormImportRekeningCombo);
      break;
    case Mode::Rekening:
      SetColumns({{"Kode", LVCFMT_CENTER, 100},
                  {"Deskripsi", LVCFMT_LEFT, 150},
                  {"Grup", LVCFMT_CENTER, 100},
                  {"Keterangan", LVCFMT_CENTER, 100}});
      for (Hwnd h : {gFormImportKelasCombo, gFormImportRekeningCombo, gFormImportJurusanEdit, gFormImportKategoriEdit})
        CtlDisable(h);
      break;
    case Mode::Akun: {
      FinExec("Select Kode, Deskripsi From rekening Where Grup='Msk' and Tapel='" + SqlQ(sTapel) + "'",
              FORMIMPORT_AddRekeningItem);
      SetColumns({{"Id", LVCFMT_CENTER, 100},
                  {"Pembayaran", LVCFMT_LEFT, 150},
                  {"Kelas", LVCFMT_CENTER, 100},
                  {"Kategori", LVCFMT_LEFT, 100},
                  {"Jumlah", LVCFMT_RIGHT, 100},
                  {"Type", LVCFMT_CENTER, 100},
                  {"Keterangan", LVCFMT_CENTER, 100}});
      for (Hwnd h : {gFormImportKelasCombo, gFormImportJurusanEdit, gFormImportKategoriEdit}) CtlDisable(h);
      const int count = CbGetCount(gFormImportRekeningCombo);
      for (int i = 0; i < count; ++i) {
        if (CbGetItemText(gFormImportRekeningCombo, i).find("Iuran") != std::string::npos) {
          CbSetCurSel(gFormImportRekeningCombo, i);
          break;
        }
      }
      break;
    }
    case Mode::Other:
      break;
  }
  return 0;
}

int FORMIMPORT_AddRekeningItem(void*, int columnCount, char** values, char**) {
  const std::string kode = columnCount > 0 && values[0] ? values[0] : "";
  const std::string deskripsi = columnCount > 1 && values[1] ? values[1] : "";
  CbAddString(gFormImportRekeningCombo, kode + " " + deskripsi);
  return 0;
}

LResult FORMIMPORT_Paste(int, Hwnd form, Hwnd, int) {
  Use(form);
  const std::vector<PastedRow> rows = ReadPastedRows(ClipGetText());
  if (rows.empty()) return 0;   // no text, or blank lines only: nothing changes
  gRowCount = 0;
  const Mode mode = CurrentMode();
  if (mode == Mode::Other) return 0;
  for (const PastedRow& row : rows) {
    // Cell k (1-based); empty when the row has fewer cells.
    auto cell = [&row](int k) {
      return FORMIMPORT_Clean(k <= static_cast<int>(row.cells.size()) ? row.cells[static_cast<std::size_t>(k - 1)]
                                                                       : std::string());
    };
    switch (mode) {
      case Mode::Siswa:
        AppendRow({cell(1), cell(2), cell(3), cell(4), FORMIMPORT_DateText(cell(5)), cell(6), cell(7), ""});
        break;
      case Mode::Rekening:
        AppendRow({FORMIMPORT_KodeText(cell(1)), cell(2), cell(3), ""});
        break;
      case Mode::Akun:
        AppendRow({FORMIMPORT_AkunDisplayId(sTapel, gRowCount + 1), cell(1), sKelas, "",
                   cell(2), cell(3), "-"});
        break;
      case Mode::Other:
        break;
    }
    ++gRowCount;
  }
  return 0;
}

LResult FORMIMPORT_OnClassChange(int, Hwnd, Hwnd, int) {
  CtlSetText(gFormImportJurusanEdit, CbGetCurSel(gFormImportKelasCombo) >= 12 ? "" : "General");
  return 0;
}

LResult FORMIMPORT_Save(int, Hwnd form, Hwnd, int) {
  Use(form);
  const Mode mode = CurrentMode();
  if (mode == Mode::Other) return 0;
  if (MsgBox(kConfirmText, "Inpor Data dari Excel", MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
  // Every row of the list is saved once, whichever paste brought it.
  if (mode == Mode::Siswa)
    SaveStudents();
  else if (mode == Mode::Rekening)
    SaveAccounts();
  else
    SaveFees();
  return 0;
}

LResult FORMIMPORT_OnClose(int, Hwnd form, Hwnd, int) {
  FrmClose(form, 0);
  return 0;
}

LResult FORMIMPORT_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormImport, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    Handler handler = nullptr;
    if (code == BN_CLICKED && id == gFormImportPasteButtonId)
      handler = FORMIMPORT_Paste;
    else if (code == BN_CLICKED && id == gFormImportSimpanButtonId)
      handler = FORMIMPORT_Save;
    else if (code == BN_CLICKED && id == gFormImportTutupButtonId)
      handler = FORMIMPORT_OnClose;
    else if (code == CBN_SELCHANGE && id == gFormImportKelasComboId)
      handler = FORMIMPORT_OnClassChange;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMIMPORT_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
