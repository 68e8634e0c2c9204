#include "payments/class_payment_window.h"

#include <sqlite3.h>

#include <QLabel>
#include <QString>
#include <QWidget>
#include <set>
#include <string>
#include <vector>

#include "common/amounts.h"
#include "common/export.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "payments/arrears.h"
#include "payments/payment_queries.h"
#include "payments/payment_save.h"
#include "payments/receipt_layouts.h"

Hwnd gForm27Window = 0;
Hwnd gForm27Note = 0, gForm27RefLabel = 0, gForm27PrintListButton = 0, gForm27RefCaption = 0,
     gForm27PrintReceiptsButton = 0, gForm27CloseButton = 0, gForm27SaveButton = 0, gForm27KelasCombo = 0,
     gForm27FeeCombo = 0, gForm27PickButton = 0, gForm27ChosenList = 0, gForm27StudentList = 0,
     gForm27KelasCaption = 0, gForm27TotalEdit = 0, gForm27WordsLabel = 0, gForm27FeeCaption = 0, gForm27Icon = 0,
     gForm27Header = 0, gForm27Title = 0, gForm27Subtitle = 0;

int gForm27NoteId = 1000, gForm27RefLabelId = 1001, gForm27PrintListButtonId = 1002, gForm27RefCaptionId = 1003,
    gForm27PrintReceiptsButtonId = 1004, gForm27CloseButtonId = 1005, gForm27SaveButtonId = 1006,
    gForm27KelasComboId = 1007, gForm27FeeComboId = 1008, gForm27PickButtonId = 1009, gForm27ChosenListId = 1010,
    gForm27StudentListId = 1011, gForm27KelasCaptionId = 1012, gForm27TotalEditId = 1013,
    gForm27WordsLabelId = 1014, gForm27FeeCaptionId = 1015, gForm27IconId = 1016, gForm27HeaderId = 1017,
    gForm27TitleId = 1018, gForm27SubtitleId = 1019;

const char* const kForm27NotRead =
    "Data pembayaran siswa kelas ini tidak terbaca lengkap, tidak ada yang disimpan. Pilih ulang akun pembayarannya..";
const char* const kForm27NobodyToPay = "Tidak ada siswa yang dibayar, tidak ada yang disimpan..";

namespace {

constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kPicked = "v";
constexpr const char* kUnsaved = "Unsaved";
constexpr const char* kSaved = "Saved";
constexpr const char* kFailed = "Failed";
constexpr const char* kRule = "   -----------------------------------------------------------------------";   // 3 + 71

FrmForm gForm27 = {.name = "FORM27",
                   .wndProc = FORM27_WndProc,
                   .window = &gForm27Window,
                   .createControls = FORM27_CreateControls,
                   .onCreate = FORM27_Init,
                   .caption = "Pembayaran Per Kelas",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                   .width = 1011,
                   .height = 538};

constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kCombo = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

long long Amount(const std::string& text) { return RoundHalfEven(Val(text)); }

// Three blanks and the label right-aligned in 61 columns.
std::string MoneyLabel(const std::string& label) { return "   " + RcptAlignRight(label, 61); }

Form27Fee ChosenFee() { return FORM27_SplitFeeItem(CtlGetText(gForm27FeeCombo)); }

// Whether the last fee choice read everything the save writes from: the fee's posting code, the students with what
// they were billed, and what each has paid. A read that failed leaves amounts or the code unknown; nothing of such a
// run is stored.
bool gLoadRead = false;

void ResetTotal() {
  CtlSetText(gForm27TotalEdit, "");
  CtlSetText(gForm27WordsLabel, "0");
}

// The clock of the status bar; the computer's clock when the status bar shows none.
std::string ClockText() {
  std::string t = SbGetText(gStatusBar, 5);
  if (t.empty()) t = FmtTimeNow("HH:mm:ss");
  return t;
}

}  // namespace

// ----- what the window computes -------------------------------------------------------------------------------------
Form27Fee FORM27_SplitFeeItem(const std::string& item) {
  const std::size_t semi = item.find(';');
  if (semi == std::string::npos) return {item, ""};
  return {item.substr(0, semi), semi + 2 <= item.size() ? item.substr(semi + 2) : ""};
}

long long FORM27_Owed(const std::string& billed, const std::string& paid) { return Amount(billed) - Amount(paid); }

long long FORM27_Paying(long long shown, long long owed) {
  const long long paying = shown < owed ? shown : owed;
  return paying > 0 ? paying : 0;
}

std::string FORM27_NotPaidAsShownText(const std::vector<Form27Chosen>& chosen, const std::vector<long long>& paying) {
  std::string lines;
  for (std::size_t i = 0; i < chosen.size() && i < paying.size(); ++i) {
    if (paying[i] == chosen[i].amount) continue;
    const std::string who = chosen[i].id + " " + chosen[i].name + " : ";
    lines += "\r" + who +
             (paying[i] > 0 ? "dibayar " + FORM13_Rupiah(paying[i]) + " dari " + FORM13_Rupiah(chosen[i].amount)
                            : std::string("tidak dibayar, sisa tagihan Rp.0")) +
             "..";
  }
  if (lines.empty()) return lines;
  return "Pembayaran siswa berikut tidak sesuai daftar, sisa tagihan sudah berubah:" + lines;
}

long long FORM27_Total(const std::vector<std::string>& amounts) {
  long long total = 0;
  for (const std::string& a : amounts) total += Amount(a);
  return total;
}

std::string FORM27_Words(long long amount) {
  // Only students who owe something are chosen: the amounts are never below 0.
  if (amount < 0 || amount >= 1000000000LL) return "";
  return FinSpellNumber(static_cast<std::int32_t>(amount));
}

std::string FORM27_Stamp(const std::string& tapel, const std::string& today, const std::string& time) {
  return PayReceiptStamp(tapel, today, time);
}

std::string FORM27_InsertSql(const Form27PaymentRow& r) {
  return "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES ('" +
         SqlQ(r.id) + "','" + SqlQ(r.tgl) + "','" + SqlQ(r.uraian) + "','" + SqlQ(r.acctId) + "','" +
         SqlQ(r.siswaId) + "','" + std::to_string(r.masuk) + "','0','" + SqlQ(r.petugas) + "','p','-','" +
         SqlQ(r.ref) + "')";
}

std::vector<std::string> FORM27_ReceiptLines(const Form27Receipt& r) {
  const std::string& a = r.amount;
  const std::string starred = RcptStarFill(a, 10);
  return {
      "   " + r.schoolName,
      "   " + r.schoolAddress,
      "   Telp. " + r.schoolPhone + " Email. " + r.schoolEmail,
      kRule,
      "   Nama Siswa : " + r.name + "; Kls : " + r.kelas,
      kRule,
      "   01 " + RcptPad(r.feeName, 55) + "Rp." + starred,
      kRule,
      MoneyLabel("                      Total : Rp.") + starred,
      kRule,
      "   " + FORM27_Words(Amount(a)),
      MoneyLabel("Penerima              Potongan : Rp.") + "*********0",
      MoneyLabel("                      Jml. Bersih : Rp.") + starred,
      MoneyLabel("                      Dibayar : Rp.") + starred,
      MoneyLabel("(__________)          Kembali : Rp.") + "*********0",
      "",
      "   Dicetak tanggal " + r.date + " " + r.time,
      "   Oleh operator : " + r.operatorName,
  };
}

int FORM27_ReceiptStep(int printerKind) { return printerKind < 1 ? 150 : 300; }

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORM27_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm27, parent, modal, userData);
}

void FORM27_CreateControls(Hwnd form) {
  const Hwnd f = form;
  auto add = [f](const char* cls, const char* text, std::uint32_t style, std::uint32_t ex, int x, int y, int w, int h,
                 int id, const char* font, const char* rule = "") {
    return FrmAddControl(f, cls, text, style, ex, x, y, w, h, id, FORM27_CtlSubclassProc, font, rule);
  };
  gForm27Note = add("Static", "Hanya berlaku untuk pembayaran yang sifatnya pertahun", kLabel, 0, 130, 492, 360, 18,
                    gForm27NoteId, "MS Sans Serif,8,1");
  gForm27RefLabel = add("Static", "0", kLabel | SS_CENTER | SS_SUNKEN | WS_BORDER, 0, 876, 110, 125, 22,
                        gForm27RefLabelId, "Arial Unicode MS,9,1");
  gForm27PrintListButton = add("Button", "Cetak Daftar", kButton, 0, 10, 486, 110, 30, gForm27PrintListButtonId, kFont);
  gForm27RefCaption = add("Static", "Referensi", kLabel, 0, 806, 113, 66, 18, gForm27RefCaptionId, kFont);
  gForm27PrintReceiptsButton = add("Button", "Cetak struk", kButton, 0, 796, 486, 100, 30,
                                   gForm27PrintReceiptsButtonId, kFont);
  CtlDisable(gForm27PrintReceiptsButton);
  gForm27CloseButton = add("Button", "Tutup", kButton, 0, 901, 486, 100, 30, gForm27CloseButtonId, kFont);
  gForm27SaveButton = add("Button", "Simpan", kButton, 0, 691, 486, 100, 30, gForm27SaveButtonId, kFont);
  gForm27KelasCombo = add("ComboBox", "", kCombo, 0, 140, 110, 190, 300, gForm27KelasComboId, kFont);
  gForm27FeeCombo = add("ComboBox", "", kCombo, 0, 505, 110, 290, 300, gForm27FeeComboId, kFont);
  gForm27PickButton = add("Button", "Pilih Siswa ", kButton, 0, 463, 290, 84, 30, gForm27PickButtonId, kFont);
  gForm27ChosenList = add("SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                          WS_EX_CLIENTEDGE, 552, 142, 449, 334, gForm27ChosenListId, kFont);
  LvSetExtendedStyle(gForm27ChosenList, LVS_EX_GRIDLINES);
  gForm27StudentList = add("SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                           WS_EX_CLIENTEDGE, 10, 142, 448, 334, gForm27StudentListId, kFont);
  LvSetExtendedStyle(gForm27StudentList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (Hwnd list : {gForm27ChosenList, gForm27StudentList})
    LvSetColors(list, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  gForm27KelasCaption = add("Static", "Pilih Kelas Jurusan", kLabel, 0, 10, 113, 126, 18, gForm27KelasCaptionId, kFont);
  gForm27TotalEdit = FrmAddControl(f, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_NUMBER,
                                   WS_EX_CLIENTEDGE, 560, 6, 441, 52, gForm27TotalEditId, FORM27_CtlSubclassProc,
                                   "Tahoma,28,1");
  FinLimitAmountEdit(gForm27TotalEdit);
  gForm27WordsLabel = add("Static", "0", kLabel | SS_SUNKEN, 0, 560, 64, 441, 30, gForm27WordsLabelId,
                          "MS Sans Serif,-11,0,0,0,700,0,0,0,0,1,2,1,34");
  gForm27FeeCaption = add("Static", "Pilih Akun Pembayaran", kLabel, 0, 350, 113, 150, 18, gForm27FeeCaptionId, kFont);
  gForm27Icon = add("Static", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 12, 14, 56, 56, gForm27IconId,
                    "");
  if (auto* icon = qobject_cast<QLabel*>(WinWidget(gForm27Icon))) {
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(ResLoadImage("IMAGE_DOLLAR", 48, 48));
  }
  gForm27Header = add("Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 2, 0, 1007, 100, gForm27HeaderId,
                      kSansSerif, "FL,FT,S,FT");
  if (QWidget* w = WinWidget(gForm27Header)) w->lower();   // the frame behind the header, not over it
  gForm27Title = add("Static", "Pembayaran Siswa Per Kelas ", kLabel, 0, 80, 20, 460, 26, gForm27TitleId,
                     "Arial,-21,0,0,0,700,0,0,0,0,3,2,1,34");
  gForm27Subtitle = add("Static", "Penerimaan Pembayaran Siswa mulai tingkat SD, SMP, SMA..", kLabel, 0, 82, 54, 460,
                        20, gForm27SubtitleId, kSansSerif);
  CtlSetFocus(gForm27KelasCombo);
}

LResult FORM27_Init(Hwnd, std::intptr_t) {
  LvInsertColumn(gForm27StudentList, kForm27StudentId, "Id", LVCFMT_CENTER, 80);
  LvInsertColumn(gForm27StudentList, kForm27StudentName, "Nama Siswa", LVCFMT_LEFT, 250);
  LvInsertColumn(gForm27StudentList, kForm27StudentAmount, "Jumlah", LVCFMT_RIGHT, 100);
  LvInsertColumn(gForm27StudentList, kForm27Pick, "Pilih", LVCFMT_CENTER, 50);
  LvInsertColumn(gForm27ChosenList, kForm27ChosenId, "Id", LVCFMT_CENTER, 80);
  LvInsertColumn(gForm27ChosenList, kForm27ChosenName, "Nama Siswa", LVCFMT_LEFT, 250);
  LvInsertColumn(gForm27ChosenList, kForm27ChosenAmount, "Jumlah", LVCFMT_RIGHT, 100);
  LvInsertColumn(gForm27ChosenList, kForm27ChosenSts, "Sts", LVCFMT_CENTER, 80);
  FinExec("select Kelas from siswakelas where kelas<>'DO' and instr(kelas,'Lulus')<1 and tapel='" + SqlQ(gTapel) +
              "' Group By Kelas",
          FORM27_OnKelasRow);
  CbSetCurSel(gForm27KelasCombo, 0);   // shown only: its fees load when the operator chooses a class
  gLoadRead = false;                   // nothing read yet
  return 0;
}

int FORM27_OnKelasRow(void*, int columnCount, char** values, char**) {
  CbAddString(gForm27KelasCombo, FinCell(values, columnCount, 0));
  return 0;
}

int FORM27_OnFeeRow(void*, int columnCount, char** values, char**) {
  CbAddString(gForm27FeeCombo, FinCell(values, columnCount, 0));
  return 0;
}

int FORM27_OnStudentRow(void*, int columnCount, char** values, char**) {
  const int row = LvInsertItem(gForm27StudentList, LvGetItemCount(gForm27StudentList), kForm27StudentId,
                               FinCell(values, columnCount, 0), 0, 0);
  LvSetItemText(gForm27StudentList, row, kForm27StudentName, FinCell(values, columnCount, 1));
  LvSetItemText(gForm27StudentList, row, kForm27StudentAmount, FinCell(values, columnCount, 2));
  LvSetItemText(gForm27StudentList, row, kForm27Pick, kPicked);
  return 0;
}

LResult FORM27_OnKelasChange(Hwnd) {
  CbResetContent(gForm27FeeCombo);
  FinExec("select Id||'; '||Pembayaran from account where tapel='" + SqlQ(gTapel) +
              "' and Type='Pertahun' and Kelas='" + SqlQ(CtlGetText(gForm27KelasCombo)) + "'",
          FORM27_OnFeeRow);
  LvDeleteAllItems(gForm27StudentList);
  CtlEnable(gForm27SaveButton);
  CtlDisable(gForm27PrintReceiptsButton);
  return 0;
}

LResult FORM27_LoadStudents(Hwnd) {
  const Form27Fee fee = ChosenFee();
  gSqlResult.clear();
  bool read = FinExec("select RefRekening from account where Tapel='" + SqlQ(gTapel) + "' and Id='" + SqlQ(fee.id) +
                          "'",
                      FinCbSingleValue) == SQLITE_OK;
  CtlSetText(gForm27RefLabel, gSqlResult);
  gSqlResult = "0";

  LvDeleteAllItems(gForm27StudentList);
  gFormMode = fee.id;
  if (read)
    read = FinExec("select IdSiswa, (Select Nama From siswa Where Siswa.Id=siswakelas.IdSiswa), (Select jml_pembayaran "
                   "from detail_account where id_account='" +
                       SqlQ(fee.id) +
                       "' and detail_account.id_siswa=siswakelas.idsiswa) from siswakelas where tapel='" +
                       SqlQ(gTapel) + "' and Kelas='" + SqlQ(CtlGetText(gForm27KelasCombo)) + "'",
                   FORM27_OnStudentRow) == SQLITE_OK;
  const int n = LvGetItemCount(gForm27StudentList);
  for (int row = 0; row < n; ++row) {
    if (!read) {   // what this student paid is unknown: no amount is shown as owed
      LvSetItemText(gForm27StudentList, row, kForm27StudentAmount, "");
      continue;
    }
    const std::string siswa = LvGetItemText(gForm27StudentList, row, kForm27StudentId);
    gSqlResult.clear();   // a student without payments has paid 0
    read = FinExec("select sum(masuk) from transaksi where acctid='" + SqlQ(fee.id) + "' and siswaid='" +
                       SqlQ(siswa) + "'",
                   FinCbSingleValue) == SQLITE_OK;
    const std::string billed = LvGetItemText(gForm27StudentList, row, kForm27StudentAmount);
    LvSetItemText(gForm27StudentList, row, kForm27StudentAmount,
                  read ? std::to_string(FORM27_Owed(billed, gSqlResult)) : std::string());
  }
  gLoadRead = read;
  LvDeleteAllItems(gForm27ChosenList);
  ResetTotal();
  CtlEnable(gForm27SaveButton);
  CtlDisable(gForm27PrintReceiptsButton);
  return 0;
}

LResult FORM27_TogglePick(Hwnd) {
  const int row = LvGetSelectionMark(gForm27StudentList);
  if (row < 0 || row >= LvGetItemCount(gForm27StudentList)) return 0;
  const bool picked = LvGetItemText(gForm27StudentList, row, kForm27Pick) == kPicked;
  LvSetItemText(gForm27StudentList, row, kForm27Pick, picked ? "" : kPicked);
  return 0;
}

LResult FORM27_PickStudents(Hwnd) {
  LvDeleteAllItems(gForm27ChosenList);
  std::vector<std::string> amounts;
  std::set<std::string> chosen;
  const int n = LvGetItemCount(gForm27StudentList);
  for (int row = 0; row < n; ++row) {
    if (LvGetItemText(gForm27StudentList, row, kForm27Pick) != kPicked) continue;
    const std::string amount = LvGetItemText(gForm27StudentList, row, kForm27StudentAmount);
    if (Amount(amount) <= 0) continue;   // nothing owed: nothing to pay, no row and no receipt
    // A student with two class rows of the year is listed twice, owing the same once: charged once.
    const std::string id = LvGetItemText(gForm27StudentList, row, kForm27StudentId);
    if (!chosen.insert(id).second) continue;
    const int r = LvInsertItem(gForm27ChosenList, LvGetItemCount(gForm27ChosenList), kForm27ChosenId,
                               LvGetItemText(gForm27StudentList, row, kForm27StudentId), 0, 0);
    LvSetItemText(gForm27ChosenList, r, kForm27ChosenName, LvGetItemText(gForm27StudentList, row, kForm27StudentName));
    LvSetItemText(gForm27ChosenList, r, kForm27ChosenAmount, amount);
    LvSetItemText(gForm27ChosenList, r, kForm27ChosenSts, kUnsaved);
    amounts.push_back(amount);
  }
  const long long total = FORM27_Total(amounts);
  CtlSetText(gForm27TotalEdit, std::to_string(total));
  CtlSetText(gForm27WordsLabel, FORM27_Words(total));
  return 0;
}

LResult FORM27_SavePayments(Hwnd) {
  const Form27Fee fee = ChosenFee();
  if (fee.id.empty()) {   // a class change emptied the fee combo: the rows would name no fee
    MsgBox("Pilih akun pembayaran terlebih dahulu..", "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  // A failed read is never taken as "paid 0" or "no posting code": nothing of the run is stored.
  if (!gLoadRead) {
    MsgBox(kForm27NotRead, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  const int n = LvGetItemCount(gForm27ChosenList);
  if (n == 0) {   // nobody left to pay
    MsgBox(kForm27NobodyToPay, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  const std::string stamp = PayReceiptStamp(gTapel, gToday, ClockText());
  const std::string petugas = SbGetText(gStatusBar, 1);
  const std::string ref = CtlGetText(gForm27RefLabel);
  std::vector<Form27Chosen> chosen;
  for (int i = 0; i < n; ++i)
    chosen.push_back({LvGetItemText(gForm27ChosenList, i, kForm27ChosenId),
                      LvGetItemText(gForm27ChosenList, i, kForm27ChosenName),
                      Amount(LvGetItemText(gForm27ChosenList, i, kForm27ChosenAmount))});
  // What each student still owes was read when the class was loaded; another desk may have taken a payment of the fee
  // since. Inside the write it is read again: a student is paid at most what is still owed, and one who owes nothing
  // now is left out. Every row of the class or none. One stamp names one receipt: a run in the same second as a
  // stored receipt is refused, as the payment window refuses it, and the rows stay unsaved for the next second.
  std::vector<long long> paying;
  bool stampTaken = false;
  const FinInsertResult result = FinWriteChecked([&](std::vector<std::string>& statements) {
    if (const FinCheck free = FinCheckNone(PayStampCountSql(stamp)); free != FinCheck::kWrite) {
      stampTaken = free == FinCheck::kRefuse;
      return free;
    }
    paying.clear();
    for (const Form27Chosen& c : chosen) {
      // What the window's list counted: the bill (none: 0) less what was paid.
      FinFeeStanding now;
      if (!FinReadFeeStanding(c.id, fee.id, &now)) return FinCheck::kFailed;   // reported
      paying.push_back(FORM27_Paying(c.amount, now.billing.yearly.value_or(0) - now.paid.value_or(0)));
    }
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (paying[i] <= 0) continue;   // left out: nothing is owed any more
      Form27PaymentRow row;
      row.id = PayRowId(stamp, static_cast<int>(i) + 1);
      row.tgl = gToday;
      row.uraian = fee.name;
      row.acctId = fee.id;
      row.siswaId = chosen[i].id;
      row.masuk = paying[i];
      row.petugas = petugas;
      row.ref = ref;
      statements.push_back(FORM27_InsertSql(row));
    }
    if (statements.empty()) return FinCheck::kRefuse;   // nobody owes anything any more
    return FinCheck::kWrite;
  });
  if (result == FinInsertResult::Taken && stampTaken) {
    PayRefuseTakenStamp();
    return 0;   // the rows stay unsaved
  }
  if (result == FinInsertResult::Failed) {
    for (int i = 0; i < n; ++i) LvSetItemText(gForm27ChosenList, i, kForm27ChosenSts, kFailed);
    return 0;   // nothing was stored: "Simpan" stays for another try, no receipt can be printed
  }
  // The list shows what was stored: each paid student with the amount written, a student left out with 0 and
  // "Unsaved" (no receipt is printed for that row).
  const bool written = result == FinInsertResult::Written;
  std::vector<std::string> amounts;
  for (int i = 0; i < n; ++i) {
    const long long paid = paying[static_cast<std::size_t>(i)];
    const bool stored = written && paid > 0;
    LvSetItemText(gForm27ChosenList, i, kForm27ChosenAmount, std::to_string(paid > 0 ? paid : 0));
    LvSetItemText(gForm27ChosenList, i, kForm27ChosenSts, stored ? kSaved : kUnsaved);
    if (stored) amounts.push_back(std::to_string(paid));
  }
  const long long total = FORM27_Total(amounts);
  CtlSetText(gForm27TotalEdit, std::to_string(total));
  CtlSetText(gForm27WordsLabel, FORM27_Words(total));
  const std::string changed = FORM27_NotPaidAsShownText(chosen, paying);
  if (!written) {   // nobody left to pay
    MsgBox(kForm27NobodyToPay, "Info", MB_OK | MB_ICONINFORMATION);
    if (!changed.empty()) MsgBox(changed, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  CtlEnable(gForm27PrintReceiptsButton);
  CtlDisable(gForm27SaveButton);
  MsgBox("Proses penyimpanan selesai..", "Info", MB_OK | MB_ICONINFORMATION);
  if (!changed.empty()) MsgBox(changed, "Info", MB_OK | MB_ICONINFORMATION);
  return 0;
}

LResult FORM27_PrintReceipts(Hwnd) {
  Form27Receipt r;
  r.schoolName = gSchoolName;
  r.schoolAddress = gSchoolAddress;
  r.schoolPhone = gSchoolPhone;
  r.schoolEmail = gSchoolEmail;
  r.kelas = CtlGetText(gForm27KelasCombo);
  r.feeName = ChosenFee().name;
  r.operatorName = SbGetText(gStatusBar, 1);
  const int step = FORM27_ReceiptStep(gPrinterKind);
  const int n = LvGetItemCount(gForm27ChosenList);
  for (int i = 0; i < n; ++i) {
    // A receipt only for a payment that is stored.
    if (LvGetItemText(gForm27ChosenList, i, kForm27ChosenSts) != kSaved) continue;
    r.name = LvGetItemText(gForm27ChosenList, i, kForm27ChosenName);
    r.amount = LvGetItemText(gForm27ChosenList, i, kForm27ChosenAmount);
    r.date = FmtDateNow("dd-MM-yyyy");
    r.time = SbGetText(gStatusBar, 5);
    ReceiptPage page;
    page.docName = "Struk";
    page.font = "Courier New";
    page.points = 12;
    const std::vector<std::string> lines = FORM27_ReceiptLines(r);
    for (std::size_t k = 0; k < lines.size(); ++k)
      if (!lines[k].empty()) page.lines.push_back({10, static_cast<int>(k + 1) * step, lines[k]});
    PrintReceiptPage(page);
  }
  return 0;
}

LResult FORM27_PrintList(Hwnd) {
  const std::string name = ChosenFee().name;
  const QString upper = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toUpper();
  const QByteArray bytes = upper.toUtf8();
  FinExportToPage("DAFTAR PEMBAYARAN " + std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                  gForm27StudentList);
  return 0;
}

LResult FORM27_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm27, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const int code = static_cast<int>(HIWORD(wParam));
    if (code == CBN_SELCHANGE && id == gForm27KelasComboId) return FORM27_OnKelasChange(hwnd);
    if (code == CBN_SELCHANGE && id == gForm27FeeComboId) return FORM27_LoadStudents(hwnd);
    if (code == BN_CLICKED) {
      if (id == gForm27PickButtonId) return FORM27_PickStudents(hwnd);
      if (id == gForm27SaveButtonId) return FORM27_SavePayments(hwnd);
      if (id == gForm27PrintReceiptsButtonId) return FORM27_PrintReceipts(hwnd);
      if (id == gForm27PrintListButtonId) return FORM27_PrintList(hwnd);
      if (id == gForm27CloseButtonId) {
        FrmClose(hwnd, 0);
        return 0;
      }
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM27_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_LBUTTONUP && hwnd == gForm27StudentList) FORM27_TogglePick(FrmGetFormOf(hwnd));
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
