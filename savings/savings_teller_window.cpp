#include "savings/savings_teller_window.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/amounts.h"
#include "common/globals.h"
#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "savings/savings_globals.h"
#include "savings/savings_print.h"
#include "savings/savings_rows.h"
#include "students/student_pickers.h"
#include "students/student_record_window.h"

Hwnd gFormTabunganStudentGroup = 0, gFormTabunganTransactionGroup = 0, gFormTabunganCodeLabel = 0,
     gFormTabunganHintLabel = 0, gFormTabunganBookBalanceLabel = 0, gFormTabunganNameLabel = 0,
     gFormTabunganSandiLabel = 0, gFormTabunganAmountLabel = 0, gFormTabunganNewBalanceLabel = 0,
     gFormTabunganBrowseButton = 0, gFormTabunganSandiEdit = 0, gFormTabunganAmountEdit = 0,
     gFormTabunganSaveButton = 0, gFormTabunganPrintButton = 0, gFormTabunganDatePicker = 0,
     gFormTabunganNewBalanceEdit = 0, gFormTabunganWordsEdit = 0, gFormTabunganSandiList = 0,
     gFormTabunganPrintCombo = 0, gFormTabunganDirectionEdit = 0, gFormTabunganBookBalanceEdit = 0,
     gFormTabunganHistoryList = 0, gFormTabunganPhoto = 0, gFormTabunganNameEdit = 0;

int gFormTabunganStudentGroupId = 1000, gFormTabunganTransactionGroupId = 1001, gFormTabunganCodeLabelId = 1002,
    gFormTabunganHintLabelId = 1003, gFormTabunganBookBalanceLabelId = 1004, gFormTabunganNameLabelId = 1005,
    gFormTabunganSandiLabelId = 1006, gFormTabunganAmountLabelId = 1007, gFormTabunganNewBalanceLabelId = 1008,
    gFormTabunganBrowseButtonId = 1009, gFormTabunganCodeEditId = 1010, gFormTabunganSandiEditId = 1011,
    gFormTabunganAmountEditId = 1012, gFormTabunganSaveButtonId = 1013, gFormTabunganPrintButtonId = 1014,
    gFormTabunganDatePickerId = 1015, gFormTabunganNewBalanceEditId = 1016, gFormTabunganWordsEditId = 1017,
    gFormTabunganSandiListId = 1018, gFormTabunganPrintComboId = 1019, gFormTabunganDirectionEditId = 1020,
    gFormTabunganBookBalanceEditId = 1021, gFormTabunganHistoryListId = 1022, gFormTabunganPhotoId = 1023,
    gFormTabunganNameEditId = 1024;

void FORMTABUNGAN_InitControlIds() {
  int id = 1000;
  for (int* g :
       {&gFormTabunganStudentGroupId, &gFormTabunganTransactionGroupId, &gFormTabunganCodeLabelId,
        &gFormTabunganHintLabelId, &gFormTabunganBookBalanceLabelId, &gFormTabunganNameLabelId,
        &gFormTabunganSandiLabelId, &gFormTabunganAmountLabelId, &gFormTabunganNewBalanceLabelId,
        &gFormTabunganBrowseButtonId, &gFormTabunganCodeEditId, &gFormTabunganSandiEditId,
        &gFormTabunganAmountEditId, &gFormTabunganSaveButtonId, &gFormTabunganPrintButtonId,
        &gFormTabunganDatePickerId, &gFormTabunganNewBalanceEditId, &gFormTabunganWordsEditId,
        &gFormTabunganSandiListId, &gFormTabunganPrintComboId, &gFormTabunganDirectionEditId,
        &gFormTabunganBookBalanceEditId, &gFormTabunganHistoryListId, &gFormTabunganPhotoId,
        &gFormTabunganNameEditId})
    *g = id++;
}

// ----- what the window computes -------------------------------------------------------------------------------------

const std::vector<SavingsSandi>& SavingsSandiItems() {
  static const std::vector<SavingsSandi> items = {
      {"01-Setoran Tunai", 1}, {"02-Penarikan Tunai", 0}, {"03-Hadiah", 1}, {"04-Biaya Rupa-Rupa", 0}};
  return items;
}

int SavingsFindSandi(const std::string& text) {
  if (text.empty()) return -1;
  const QString wanted = QString::fromStdString(text);
  const auto& items = SavingsSandiItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (QString::fromUtf8(items[i].text).startsWith(wanted, Qt::CaseInsensitive)) return static_cast<int>(i);
  return -1;
}

std::string SavingsSandiCode(const std::string& item) { return item.substr(0, item.find('-')); }

std::string SavingsSandiName(const std::string& item) { return item.size() > 3 ? item.substr(3) : std::string(); }

namespace {

std::string Without(std::string text, char c) {
  std::erase(text, c);
  return text;
}

}  // namespace

std::string SavingsTransactionId(const std::string& code, const std::string& today, const std::string& clock) {
  return code + Without(today, '-') + Without(clock, ':');
}

std::string SavingsInsertSql(const SavingsTellerRow& r) {
  return "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,ref) VALUES ('" +
         SqlQ(r.id) + "','" + SqlQ(r.tgl) + "','" + SqlQ(r.uraian) + "','Tabungan','" + SqlQ(r.siswaId) + "','" +
         std::to_string(r.masuk) + "','" + std::to_string(r.keluar) + "','" + SqlQ(r.petugas) + "','t','-','" +
         SqlQ(r.ref) + "')";
}

std::string SavingsLookupSql(const std::string& code) {
  return "select Id, Nama, ket from siswa WHERE Id='" + SqlQ(code) + "'";
}

std::string SavingsBalanceSql(const std::string& code) {
  return "select Sum(Masuk-Keluar) from transaksi where AcctID='Tabungan' and SiswaID='" + SqlQ(code) + "'";
}

std::string SavingsHistorySql(const std::string& code) {
  return "SELECT Tgl, Substr(Uraian,1,2), Keluar, Masuk, Id, Ref, Sts, Uraian, rowid FROM transaksi where SiswaID='" +
         SqlQ(code) + "' and AcctID='Tabungan' Order By rowid";
}

std::string SavingsMarkPrintedSql(const std::string& code, const std::vector<long long>& rowIds) {
  std::string in;
  for (long long id : rowIds) in += (in.empty() ? "" : ",") + std::to_string(id);
  return "Update transaksi set Sts='-' where SiswaID='" + SqlQ(code) + "' and AcctID='Tabungan' and Sts='t'" +
         " and rowid in (" + in + ")";
}

std::vector<long long> SavingsRunningBalances(const std::vector<SavingsHistoryRow>& rows) {
  std::vector<long long> out;
  long long balance = 0;
  for (const SavingsHistoryRow& r : rows) {
    const long long masuk = RoundHalfEven(Val(r.masuk));
    balance += masuk > 0 ? masuk : -RoundHalfEven(Val(r.keluar));
    out.push_back(balance);
  }
  return out;
}

long long SavingsNewBalance(long long bookBalance, long long amount, int direction) {
  return direction <= 0 ? bookBalance - amount : bookBalance + amount;
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kGroupFont = "Arial Black,-12,0,0,0,900,0,1,0,0,3,2,1,34";
constexpr const char* kHintFont = "Arial,-11,0,0,0,400,255,0,0,0,3,2,1,34";
constexpr const char* kNameFont = "Arial,-12,0,0,0,700,0,0,0,0,3,2,1,34";

constexpr const char* kSavedAlready = "Transaksi tidak dapat disimpan ulang..";
constexpr const char* kNotSaved = "Transaksi belum disimpan..";
constexpr const char* kNoPrinter = "Tidak ada printer yang dipilih..";
constexpr const char* kPrintFailed = "Gagal Cetak..";
// Refusals of a save that cannot be booked, in the window's own words (its tooltips) where it has them.
constexpr const char* kNoStudent = "Ketik kode siswa disini, kemudian enter / Cari Siswa";
constexpr const char* kNoSandi = "Pilih jenis transaksi berdasarkan sandi/kode transaksi";
constexpr const char* kNoAmount = "Masukan jumlah nilai tabungan..";
constexpr const char* kOverdrawn = "Saldo tabungan tidak mencukupi..";
// A second save of one student in the same clock second would repeat the id.
constexpr const char* kIdTaken = "Gagal menyimpan, Id transaksi sudah dipakai. Simpan ulang sebentar lagi..";
// The passbook line of a new row follows the student's last row: without the history it is not known.
constexpr const char* kHistoryNotRead =
    "Riwayat tabungan siswa tidak terbaca, transaksi tidak disimpan. Cari ulang siswanya..";

void OnDestroy(Hwnd form);

FrmForm gFormTabungan = {.name = "FORMTABUNGAN",
                         .wndProc = FORMTABUNGAN_WndProc,
                         .window = &gFormTabunganWindow,
                         .createControls = FORMTABUNGAN_CreateControls,
                         .onCreate = FORMTABUNGAN_Load,
                         .onDestroy = OnDestroy,
                         .caption = "TRANSAKSI TABUNGAN",
                         .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                         .width = 1010,
                         .height = 562};

// What a save booked: the receipt and the prints read it.
struct SavedTransaction {
  std::string id, studentId, name, item, words;
  long long before = 0, amount = 0, after = 0;
};

// One teller window: its controls and its state.
struct Teller {
  Hwnd form = 0;
  Hwnd code = 0, name = 0, bookBalance = 0, photo = 0, history = 0, printCombo = 0, printButton = 0, sandi = 0,
       direction = 0, sandiList = 0, amount = 0, words = 0, newBalance = 0, browse = 0, save = 0, date = 0;
  int pageLines = kSavingsCardPageLines;
  bool saved = false;          // a transaction was booked since the last lookup that found a student
  std::string lastPosition;    // passbook position of the last history row ("" : the book has no row yet)
  bool historyRead = false;    // the last history load read every row (lastPosition is known)
  bool found = false;          // the last lookup found a student ...
  std::string foundId;         // ... with this id
  SavedTransaction tx;
};
std::map<Hwnd, Teller> gTellers;

Teller* TellerOf(Hwnd form) {
  if (!form) form = gFormTabunganWindow;
  auto it = gTellers.find(form);
  return it == gTellers.end() || !IsWindow(form) ? nullptr : &it->second;
}

// The globals name the newest teller window.
void Publish(const Teller& t) {
  gFormTabunganWindow = t.form;
  gFormTabunganIdEdit = t.code;
  gFormTabunganLookupStudentHook = FORMTABUNGAN_LookupStudent;
  gFormTabunganNameEdit = t.name;
  gFormTabunganBookBalanceEdit = t.bookBalance;
  gFormTabunganPhoto = t.photo;
  gFormTabunganHistoryList = t.history;
  gFormTabunganPrintCombo = t.printCombo;
  gFormTabunganPrintButton = t.printButton;
  gFormTabunganSandiEdit = t.sandi;
  gFormTabunganDirectionEdit = t.direction;
  gFormTabunganSandiList = t.sandiList;
  gFormTabunganAmountEdit = t.amount;
  gFormTabunganWordsEdit = t.words;
  gFormTabunganNewBalanceEdit = t.newBalance;
  gFormTabunganBrowseButton = t.browse;
  gFormTabunganSaveButton = t.save;
  gFormTabunganDatePicker = t.date;
}

void OnDestroy(Hwnd form) {
  gTellers.erase(form);
  if (gFormTabunganWindow != form) return;
  // Another teller still open takes the hand-over; with none the picker only writes the id.
  for (auto& [hwnd, t] : gTellers)
    if (IsWindow(hwnd)) {
      Publish(t);
      return;
    }
  gFormTabunganWindow = 0;
  gFormTabunganIdEdit = 0;
  gFormTabunganLookupStudentHook = nullptr;
}

// Rows of a statement, each value as text (NULL: empty).
std::vector<std::vector<std::string>>* gCollected = nullptr;
int CollectRow(void*, int columnCount, char** values, char**) {
  if (gCollected) {
    std::vector<std::string> row;
    for (int i = 0; i < columnCount; ++i) row.emplace_back(values && values[i] ? values[i] : "");
    gCollected->push_back(std::move(row));
  }
  return 0;
}
int QueryRows(const std::string& sql, std::vector<std::vector<std::string>>& rows) {
  rows.clear();
  gCollected = &rows;
  const int rc = FinExec(sql, CollectRow);
  gCollected = nullptr;
  gRowCount = static_cast<int>(rows.size());
  return rc;
}

long long Number(const std::string& text) { return RoundHalfEven(Val(text)); }

std::string Words(long long amount) {
  return amount >= 0 && amount <= 999999999 ? FinSpellNumber(static_cast<std::int32_t>(amount)) : std::string();
}

std::string ClockText() {
  std::string clock = SbGetText(gStatusBar, 5);
  return clock.empty() ? FmtTimeNow("HH:mm:ss") : clock;
}

void ShowPhoto(const Teller& t, const std::string& code) {
  const std::string file = FORMSISWA_PhotoFile(code);
  if (!file.empty()) {
    CtlSetBitmapFile(t.photo, file);   // a missing file leaves the frame empty
  } else if (auto* label = qobject_cast<QLabel*>(WinWidget(t.photo))) {
    label->setPixmap(QPixmap());
  }
}

void LoadBalance(const Teller& t) {
  gSqlResult.clear();
  FinExec(SavingsBalanceSql(CtlGetText(t.code)), FinCbSingleValue);
  CtlSetText(t.bookBalance, gSqlResult);
}

// The row's rowid rides along as the item data: a print marks exactly the rows it wrote.
void AddHistoryRow(Hwnd list, const std::vector<std::string>& cells, long long rowId) {
  const int row = LvInsertItem(list, LvGetItemCount(list), 0, cells[0], static_cast<LParam>(rowId), 0);
  for (std::size_t c = 1; c < cells.size(); ++c) LvInsertItem(list, row, static_cast<int>(c), cells[c], 0, 0);
}

// The student's last passbook line of the rows of SavingsHistorySql, in the order they were booked (a row never takes
// a line booked before it); "" when there is none.
std::string LastPosition(const std::vector<std::vector<std::string>>& raw, int pageLines) {
  std::vector<std::string> positions;
  for (const auto& v : raw) positions.push_back(v.size() > 5 ? v[5] : std::string());
  if (positions.empty()) return std::string();
  return SavingsFormatPosition(SavingsRowPosition(positions, static_cast<int>(positions.size()) - 1, pageLines));
}

// The history list from the rows of SavingsHistorySql, with their running balance, and the student's last passbook
// line from them.
void FillHistory(Teller& t, std::vector<std::vector<std::string>> raw) {
  LvDeleteAllItems(t.history);
  t.lastPosition = LastPosition(raw, t.pageLines);
  std::vector<SavingsHistoryRow> rows;
  for (auto& v : raw) {
    v.resize(9);
    rows.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], std::strtoll(v[8].c_str(), nullptr, 10)});
  }
  const std::vector<long long> balances = SavingsRunningBalances(rows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const SavingsHistoryRow& r = rows[i];
    AddHistoryRow(t.history, {r.tgl, r.sandi, r.keluar, r.masuk, std::to_string(balances[i]), r.id, r.ref, r.sts,
                              SavingsSandiName(r.uraian)},
                  r.rowId);
  }
}

void LoadHistory(Teller& t) {
  gSqlResult.clear();
  gCountResult = 0;
  gRowCount = 0;
  std::vector<std::vector<std::string>> raw;
  t.historyRead = QueryRows(SavingsHistorySql(CtlGetText(t.code)), raw) == 0;
  FillHistory(t, std::move(raw));
}

bool Saved(const Teller& t) { return t.saved && CtlGetText(t.code) == t.tx.studentId; }

SavingsSchool School() { return {gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail}; }

void PrintReceipt(Hwnd form) {
  const Teller* t = TellerOf(form);
  if (!t) return;
  if (!Saved(*t)) {
    MsgBox(kNotSaved, "Info", MB_OK);
    return;
  }
  const SavedTransaction tx = t->tx;
  const SavingsPrintResult result = SavingsPrintLines([&tx] {
    SavingsReceiptData d;
    d.school = School();
    d.customerName = tx.name;
    d.number = tx.id;
    d.transaction = tx.item;
    d.balanceBefore = std::to_string(tx.before);
    d.amount = std::to_string(tx.amount);
    d.balanceAfter = std::to_string(tx.after);
    d.words = tx.words;
    d.printDate = SbGetText(gStatusBar, 4);
    d.printTime = SbGetText(gStatusBar, 5);
    d.operatorName = SbGetText(gStatusBar, 1);
    return SavingsReceiptLines(d);
  });
  switch (result) {
    case SavingsPrintResult::Printed: break;
    case SavingsPrintResult::KeptInFile: break;   // the operator was told where the text is
    // No printer chosen, or one that cannot be opened: the operator is told and the run goes on (the saved
    // transaction stays; the receipt can be printed again).
    case SavingsPrintResult::NoPrinter: MsgBox(kNoPrinter, "Tabungan..", MB_OK | MB_ICONINFORMATION); break;
    case SavingsPrintResult::OpenFailed: MsgBox(kPrintFailed, "Pembayaran..", MB_OK | MB_ICONINFORMATION); break;
    case SavingsPrintResult::Failed: MsgBox(kPrintFailed, "Tabungan..", MB_OK | MB_ICONINFORMATION); break;
  }
}

void PrintBook(Hwnd form, SavingsBook book) {
  const Teller* t = TellerOf(form);
  if (!t) return;
  if (!Saved(*t)) {
    MsgBox(kNotSaved, "Info", MB_OK);
    return;
  }
  form = t->form;
  const Hwnd list = t->history;
  const SavedTransaction tx = t->tx;
  std::vector<SavingsBookRow> rows;
  for (int r = 0; r < LvGetItemCount(list); ++r) {
    auto cell = [list, r](int c) { return LvGetItemText(list, r, c); };
    rows.push_back({cell(kTabunganColTanggal), cell(kTabunganColSandi), cell(kTabunganColDebet),
                    cell(kTabunganColKredit), cell(kTabunganColSaldo), cell(kTabunganColP), cell(kTabunganColSts),
                    cell(kTabunganColKet)});
  }
  SavingsBookRun run;
  const SavingsPrintResult result = SavingsPrintLines([&] {
    run = SavingsBookLayout(book, rows, School(), tx.studentId, tx.name, [book](long long page) {
      return MsgBox(SavingsPageQuestion(book, page), SavingsPageCaption(book), MB_YESNO | MB_ICONQUESTION) == IDYES;
    });
    return run.lines;
  });
  if (result == SavingsPrintResult::NoPrinter) {
    MsgBox(kNoPrinter, "Transaksi..", MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (result == SavingsPrintResult::KeptInFile) return;   // no printer got it (the operator was told): rows unprinted
  if (result != SavingsPrintResult::Printed) {   // nothing reached the printer: nothing is marked printed
    MsgBox(kPrintFailed, "Transaksi..", MB_OK | MB_ICONINFORMATION);
    return;
  }
  // Only the rows written are marked printed, all of them or none; rows passed over at a declined page stay
  // unprinted.
  std::vector<long long> rowIds;
  for (int r : run.written) {
    LvSetItemText(list, r, kTabunganColSts, "-");
    rowIds.push_back(static_cast<long long>(LvGetItemData(list, r, 0)));
  }
  if (rowIds.empty()) return;
  gSql = SavingsMarkPrintedSql(tx.studentId, rowIds);
  FinExec(gSql);
}

}  // namespace

std::intptr_t FORMTABUNGAN_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gFormTabungan, owner, modal, userData);
}

void FORMTABUNGAN_CreateControls(Hwnd form) {
  Teller& t = gTellers[form];
  t = Teller{};
  t.form = form;
  constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
  constexpr std::uint32_t kEdit = kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
  constexpr std::uint32_t kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
  auto add = [form](const char* cls, const std::string& text, std::uint32_t style, std::uint32_t ex, int x, int y,
                    int w, int h, int id, const char* font, FrmColors colors = {}) {
    return FrmAddControl(form, cls, text, style, ex, x, y, w, h, id, FORMTABUNGAN_EditProc, font, "", colors, 0);
  };
  auto label = [&](const char* text, int x, int y, int w, int id) {
    return add("Static", text, kChild | SS_RIGHT, 0, x, y, w, 19, id, kFont);
  };

  // Frames and labels first: the controls inside the frames lie above them.
  gFormTabunganStudentGroup = add("Button", "Tabungan Siswa", kChild | BS_GROUPBOX, 0, 8, 8, 974, 366,
                                  gFormTabunganStudentGroupId, kGroupFont);
  gFormTabunganTransactionGroup = add("Button", "Transaksi", kChild | BS_GROUPBOX, 0, 8, 376, 970, 143,
                                      gFormTabunganTransactionGroupId, kGroupFont);
  gFormTabunganCodeLabel = label("No. Rekening", 24, 28, 85, gFormTabunganCodeLabelId);
  gFormTabunganHintLabel = add("Static", "<= Ketik/Scan disini", kChild | SS_LEFT, 0, 252, 28, 108, 19,
                               gFormTabunganHintLabelId, kHintFont, FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  gFormTabunganBookBalanceLabel = label("Saldo Buku", 372, 28, 85, gFormTabunganBookBalanceLabelId);
  gFormTabunganNameLabel = label("Nama Nasabah", 10, 56, 100, gFormTabunganNameLabelId);
  gFormTabunganSandiLabel = label("Sandi", 16, 396, 36, gFormTabunganSandiLabelId);
  gFormTabunganAmountLabel = label("Jml. Nilai", 364, 396, 85, gFormTabunganAmountLabelId);
  gFormTabunganNewBalanceLabel = label("Saldo Sekarang", 632, 396, 102, gFormTabunganNewBalanceLabelId);

  // The controls that take the focus, in their tab order.
  t.browse = add("Button", "Cari Siswa", kButton, 0, 448, 464, 100, 43, gFormTabunganBrowseButtonId, kFont);
  CtlAddToolTip(t.browse, "Cari Siswa dalam Daftar Siswa", 1);
  t.code = add("Edit", "", kEdit, WS_EX_CLIENTEDGE, 112, 28, 140, 18, gFormTabunganCodeEditId, kFont);
  CtlAddToolTip(t.code, "Ketik kode siswa disini, kemudian enter / Cari Siswa", 1);
  t.sandi = add("Edit", "", kEdit | ES_UPPERCASE, WS_EX_CLIENTEDGE, 56, 396, 34, 18, gFormTabunganSandiEditId, kFont);
  t.amount = add("Edit", "", kEdit | ES_NUMBER | ES_UPPERCASE, WS_EX_CLIENTEDGE, 452, 396, 150, 18,
                 gFormTabunganAmountEditId, kFont);
  FinLimitAmountEdit(t.amount);
  CtlAddToolTip(t.amount, "Masukan jumlah nilai tabungan", 1);
  t.save = add("Button", "SIMPAN", kButton, 0, 752, 464, 209, 43, gFormTabunganSaveButtonId, kFont);
  t.printButton = add("Button", "CETAK", kButton, 0, 864, 336, 102, 23, gFormTabunganPrintButtonId, kFont);
  t.date = add("SysDateTimePick32", "", kChild | WS_TABSTOP, 0, 808, 28, 162, 20, gFormTabunganDatePickerId, kFont);
  if (auto* d = qobject_cast<QDateTimeEdit*>(WinWidget(t.date))) d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  DtpSetDate(t.date, platform::Today().toString(QStringLiteral("yyyy-MM-dd")).toStdString());
  t.newBalance = add("Edit", "", kEdit | ES_NUMBER | ES_READONLY | ES_RIGHT, WS_EX_CLIENTEDGE, 736, 396, 225, 18,
                     gFormTabunganNewBalanceEditId, kFont);
  t.words = add("Edit", "", kEdit, WS_EX_CLIENTEDGE, 452, 420, 508, 18, gFormTabunganWordsEditId, kFont);
  t.sandiList = add("ListBox", "", kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, WS_EX_CLIENTEDGE, 96, 396, 258, 112,
                    gFormTabunganSandiListId, kFont);
  for (const SavingsSandi& s : SavingsSandiItems()) LbSetItemData(t.sandiList, LbAddString(t.sandiList, s.text), s.direction);
  CtlAddToolTip(t.sandiList, "Pilih jenis transaksi berdasarkan sandi/kode transaksi", 1);
  t.printCombo = add("ComboBox", "", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 368, 336, 382, 23,
                     gFormTabunganPrintComboId, kFont);
  int data = 0;
  for (const char* item : {"Cetak ke Buku Tabungan", "Cetak ke Kartu Tabungan", "Cetak ke Struk"})
    CbSetItemData(t.printCombo, CbAddString(t.printCombo, item), data++);
  t.direction = add("Edit", "", kEdit | ES_UPPERCASE, WS_EX_CLIENTEDGE, 56, 420, 34, 18, gFormTabunganDirectionEditId,
                    kFont);
  t.bookBalance = add("Edit", "", kEdit | ES_UPPERCASE, WS_EX_CLIENTEDGE, 460, 28, 225, 18,
                      gFormTabunganBookBalanceEditId, kFont);
  t.history = add("SysListView32", "", kChild | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 368,
                  56, 605, 272, gFormTabunganHistoryListId, kFont);
  LvSetExtendedStyle(t.history, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(t.history, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  t.photo = add("Static", "", kChild | SS_BITMAP, WS_EX_CLIENTEDGE, 136, 84, 170, 229, gFormTabunganPhotoId, kFont);
  t.name = add("Edit", "", kEdit | ES_UPPERCASE, WS_EX_CLIENTEDGE, 112, 56, 225, 18, gFormTabunganNameEditId,
               kNameFont);
  Publish(t);
  CtlSetFocus(t.browse);
}

LResult FORMTABUNGAN_Load(Hwnd form, std::intptr_t) {
  Teller* t = TellerOf(form);
  if (!t) return 0;
  struct Column {
    const char* caption;
    int format, width;
  };
  const Column columns[] = {{"Tanggal", LVCFMT_CENTER, 100}, {"Sandi", LVCFMT_CENTER, 50},
                            {"Debet", LVCFMT_RIGHT, 100},    {"Kredit", LVCFMT_RIGHT, 100},
                            {"Saldo", LVCFMT_RIGHT, 100},    {"RefId", LVCFMT_RIGHT, 50},
                            {"P", LVCFMT_RIGHT, 0},          {"Sts", LVCFMT_RIGHT, 0},
                            {"Ket", LVCFMT_LEFT, 0}};
  int c = 0;
  for (const Column& col : columns) LvInsertColumn(t->history, c++, col.caption, col.format, col.width);
  t->pageLines = kSavingsCardPageLines;
  gSqlResult.clear();
  gCountResult = 0;
  gRowCount = 0;
  t->saved = false;
  CbSetCurSel(t->printCombo, 0);
  return 0;
}

LResult FORMTABUNGAN_LookupStudent(int, Hwnd form, Hwnd, int) {
  Teller* t = TellerOf(form);
  if (!t) return 0;
  LvDeleteAllItems(t->history);
  gSqlResult.clear();
  gRowCount = 0;
  const std::string code = CtlGetText(t->code);
  std::vector<std::vector<std::string>> rows;
  QueryRows(SavingsLookupSql(code), rows);
  t = TellerOf(form);
  if (!t) return 0;
  if (!rows.empty()) {
    rows[0].resize(3);
    CtlSetText(t->name, rows[0][1]);
    ShowPhoto(*t, code);
    LoadBalance(*t);
    LoadHistory(*t);
    CtlSetText(t->sandi, "");
    CtlSetText(t->amount, "");
    CtlSetText(t->newBalance, "");
    CtlEnable(t->save);
    t->saved = false;
    t->found = true;
    t->foundId = code;
  } else {
    LvDeleteAllItems(t->history);
    t->found = false;
  }
  if (t->saved) CtlDisable(t->save);
  return 0;
}

void FORMTABUNGAN_LoadBalance() {
  if (const Teller* t = TellerOf(0)) LoadBalance(*t);
}

void FORMTABUNGAN_LoadHistory() {
  if (Teller* t = TellerOf(0)) LoadHistory(*t);
}

LResult FORMTABUNGAN_OnSandiChange(int, Hwnd form, Hwnd, int) {
  const Teller* t = TellerOf(form);
  if (!t) return 0;
  const int item = SavingsFindSandi(CtlGetText(t->sandi));
  LbSetCurSel(t->sandiList, item);
  CtlSetText(t->direction, std::to_string(item >= 0 ? SavingsSandiItems()[item].direction : -1));
  return 0;
}

LResult FORMTABUNGAN_OnSandiListClick(int, Hwnd form, Hwnd, int, int, int) {
  const Teller* t = TellerOf(form);
  if (!t) return 0;
  const int sel = LbGetCurSel(t->sandiList);
  if (sel >= 0) CtlSetText(t->sandi, SavingsSandiCode(LbGetItemText(t->sandiList, sel)));
  return 0;
}

LResult FORMTABUNGAN_OnAmountChange(int, Hwnd form, Hwnd, int) {
  const Teller* t = TellerOf(form);
  if (!t) return 0;
  long long amount = 0;   // a text that is no amount reads as 0
  FinReadAmount(CtlGetText(t->amount), amount);
  const long long after = SavingsNewBalance(Number(CtlGetText(t->bookBalance)), amount,
                                            static_cast<int>(Number(CtlGetText(t->direction))));
  CtlSetText(t->newBalance, std::to_string(after));
  CtlSetText(t->words, Words(amount));
  return 0;
}

LResult FORMTABUNGAN_OnCodeKeyUp(int, Hwnd form, Hwnd, int key, LParam) {
  const Teller* t = TellerOf(form);
  if (t && key == VK_RETURN && CtlGetTextLength(t->code) >= 2) CtlSetFocus(t->sandi);
  return 0;
}

LResult FORMTABUNGAN_OnSandiKeyUp(int, Hwnd form, Hwnd, int key, LParam) {
  const Teller* t = TellerOf(form);
  if (t && key == VK_RETURN && CtlGetTextLength(t->sandi) >= 2) CtlSetFocus(t->amount);
  return 0;
}

LResult FORMTABUNGAN_OnAmountKeyUp(int, Hwnd form, Hwnd control, int key, LParam) {
  if (key == VK_RETURN) FORMTABUNGAN_SaveTransaction(0, form, control, 0);
  return 0;
}

LResult FORMTABUNGAN_SaveTransaction(int, Hwnd form, Hwnd, int) {
  Teller* t = TellerOf(form);
  if (!t) return 0;
  form = t->form;
  if (t->saved) {
    MsgBox(kSavedAlready, "Info", MB_OK);
    return 0;
  }
  const std::string code = CtlGetText(t->code);
  const std::string amountText = CtlGetText(t->amount);
  if (code.empty() && amountText == "0") return 0;
  // Nothing is booked for a code that names no student, without a transaction code, or beyond the balance.
  if (!t->found || code != t->foundId) {
    MsgBox(kNoStudent, "Info", MB_OK);
    return 0;
  }
  const int item = SavingsFindSandi(CtlGetText(t->sandi));
  if (item < 0) {
    MsgBox(kNoSandi, "Info", MB_OK);
    return 0;
  }
  // Whole rupiah, at most 12 digits; nothing is asked or stored for a zero, empty or unreadable amount.
  const long long amount = FinPositiveAmount(amountText);
  if (amount <= 0) {
    MsgBox(kNoAmount, "Info", MB_OK);
    return 0;
  }
  if (!t->historyRead) {
    MsgBox(kHistoryNotRead, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  const SavingsSandi& sandi = SavingsSandiItems()[item];
  gSqlResult.clear();
  if (FinExec(SavingsBalanceSql(code), FinCbSingleValue) != 0) return 0;
  const long long before = Number(gSqlResult);
  if (sandi.direction <= 0 && amount > before) {
    MsgBox(kOverdrawn, "Tabungan..", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  const std::string name = CtlGetText(t->name);
  if (MsgBox("Nasabah atas nama " + name + " melakukan transaksi " + sandi.text + " sebesar " + amountText,
             "Simpan Transaksi", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return 0;
  t = TellerOf(form);
  if (!t) return 0;

  SavingsTellerRow row;
  row.id = SavingsTransactionId(code, gToday, ClockText());
  row.tgl = gToday;
  row.uraian = sandi.text;
  row.siswaId = code;
  row.masuk = sandi.direction > 0 ? amount : 0;
  row.keluar = sandi.direction < 1 ? amount : 0;
  row.petugas = SbGetText(gStatusBar, 1);
  // What was read before the question may be old by now: another desk may have booked a row of the student since. So
  // under the write lock the id is counted again, a withdrawal is checked against the balance again (what no longer
  // covers it is refused as above), and the balance and the history are read as the file holds them just before this
  // row: the new row's passbook line follows the student's last row, and what the window shows, lists and prints is
  // the balance the file holds before and after it.
  const int pageLines = t->pageLines;
  enum class Refused { kId, kShort } refused = Refused::kId;
  long long stored = 0;   // the balance before this row
  std::vector<std::vector<std::string>> history;
  long long rowId = 0;
  const FinInsertResult result = FinWriteChecked(
      [&](std::vector<std::string>& statements) {
        refused = Refused::kId;
        if (const FinCheck c = FinCheckNone(SavingsIdCountSql(row.id)); c != FinCheck::kWrite) return c;
        gSqlResult.clear();
        if (FinExec(SavingsBalanceSql(code), FinCbSingleValue) != 0) return FinCheck::kFailed;   // reported
        stored = Number(gSqlResult);
        refused = Refused::kShort;
        if (sandi.direction <= 0 && amount > stored) return FinCheck::kRefuse;
        if (QueryRows(SavingsHistorySql(code), history) != 0) return FinCheck::kFailed;   // reported
        row.ref = SavingsFormatPosition(SavingsNextPosition(LastPosition(history, pageLines), pageLines));
        statements = {SavingsInsertSql(row)};
        return FinCheck::kWrite;
      },
      &rowId);
  switch (result) {
    case FinInsertResult::Written: break;
    case FinInsertResult::Taken:
      if (refused == Refused::kId) MsgBox(kIdTaken, "Info", MB_OK | MB_ICONINFORMATION);
      else MsgBox(kOverdrawn, "Tabungan..", MB_OK | MB_ICONINFORMATION);
      return 0;
    case FinInsertResult::Failed: return 0;   // reported; the window stays as it was
  }
  t = TellerOf(form);
  if (!t) return 0;
  const long long storedAfter = SavingsNewBalance(stored, amount, sandi.direction);

  // The student's rows as the file held them, this one last.
  FillHistory(*t, std::move(history));
  AddHistoryRow(t->history, {gToday, SavingsSandiCode(sandi.text), std::to_string(row.keluar),
                             std::to_string(row.masuk), std::to_string(storedAfter), row.id, row.ref, "t",
                             SavingsSandiName(sandi.text)},
                rowId);
  LvSelectItem(t->history, LvGetItemCount(t->history) - 1);
  if (Number(CtlGetText(t->bookBalance)) != stored) CtlSetText(t->bookBalance, std::to_string(stored));
  CtlSetText(t->newBalance, std::to_string(storedAfter));
  t->saved = true;
  t->tx = {row.id, code, name, sandi.text, Words(amount), stored, amount, storedAfter};
  CtlSetFocus(t->printCombo);
  MsgBox("Transaksi berhasil disimpan..", "Tabungan..", MB_OK | MB_ICONINFORMATION);
  return 0;
}

std::function<void(const std::string& id)> FORMTABUNGAN_StudentHandover() {
  return [](const std::string& id) {
    CtlSetText(gFormTabunganIdEdit, id);
    if (gFormTabunganLookupStudentHook)
      gFormTabunganLookupStudentHook(0, gFormTabunganWindow, gFormTabunganIdEdit, 0);
  };
}

LResult FORMTABUNGAN_OnBrowse(int, Hwnd form, Hwnd, int) {
  const Teller* t = TellerOf(form);
  if (!t) return 0;
  Publish(*t);   // the picker hands the student to this window
  FORMCRSISWA1_Show(t->form, 1, 0, FORMTABUNGAN_StudentHandover());
  return 0;
}

LResult FORMTABUNGAN_Print(int, Hwnd form, Hwnd, int) {
  const Teller* t = TellerOf(form);
  if (!t) return 0;
  switch (CbGetCurSel(t->printCombo)) {
    case 1: PrintBook(t->form, SavingsBook::Card); break;
    case 2: PrintReceipt(t->form); break;
    default: PrintBook(t->form, SavingsBook::Passbook); break;
  }
  return 0;
}

void FORMTABUNGAN_PrintReceipt() { PrintReceipt(0); }
void FORMTABUNGAN_PrintCard() { PrintBook(0, SavingsBook::Card); }
void FORMTABUNGAN_PrintPassbook() { PrintBook(0, SavingsBook::Passbook); }

LResult FORMTABUNGAN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormTabungan, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    const Hwnd control = FrmControlOf(msg, lParam);
    const int index = FrmIndexOf(control);
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    Handler handler = nullptr;
    if (code == EN_CHANGE) {
      if (id == gFormTabunganCodeEditId) handler = FORMTABUNGAN_LookupStudent;
      else if (id == gFormTabunganSandiEditId) handler = FORMTABUNGAN_OnSandiChange;
      else if (id == gFormTabunganAmountEditId) handler = FORMTABUNGAN_OnAmountChange;
    } else if (code == BN_CLICKED) {
      if (id == gFormTabunganPrintButtonId) handler = FORMTABUNGAN_Print;
      else if (id == gFormTabunganSaveButtonId) handler = FORMTABUNGAN_SaveTransaction;
      else if (id == gFormTabunganBrowseButtonId) handler = FORMTABUNGAN_OnBrowse;
    }
    if (handler && TellerOf(hwnd)) {
      if (LResult h = handler(index, hwnd, control, id)) return h;
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMTABUNGAN_EditProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_KEYUP || msg == WM_LBUTTONUP) {
    const int id = WinGetDlgCtrlID(hwnd);
    const Hwnd form = FrmGetFormOf(WinGetParent(hwnd));
    const int index = FrmIndexOf(hwnd);
    const int key = static_cast<int>(wParam);
    if (msg == WM_KEYUP && TellerOf(form)) {
      if (id == gFormTabunganCodeEditId) FORMTABUNGAN_OnCodeKeyUp(index, form, hwnd, key, lParam);
      else if (id == gFormTabunganSandiEditId) FORMTABUNGAN_OnSandiKeyUp(index, form, hwnd, key, lParam);
      else if (id == gFormTabunganAmountEditId) FORMTABUNGAN_OnAmountKeyUp(index, form, hwnd, key, lParam);
    } else if (msg == WM_LBUTTONUP && id == gFormTabunganSandiListId && TellerOf(form)) {
      FORMTABUNGAN_OnSandiListClick(index, form, hwnd, static_cast<int>(wParam),
                                    static_cast<short>(LOWORD(static_cast<WParam>(lParam))),
                                    static_cast<short>(HIWORD(static_cast<WParam>(lParam))));
    }
    if (!IsWindow(hwnd)) return 0;   // the handler closed the window
  }
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
