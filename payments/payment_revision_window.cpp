#include "payments/payment_revision_window.h"

#include <sqlite3.h>

#include <QLabel>
#include <QWidget>
#include <string>
#include <utility>

#include "common/amounts.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "payments/instalment_chooser.h"
#include "payments/payment_globals.h"
#include "payments/payment_queries.h"
#include "payments/receipt_layouts.h"

Hwnd gFormRevisiWindow = 0;
Hwnd gFormRevisiCloseButton = 0, gFormRevisiUpdateButton = 0, gFormRevisiAmountEdit = 0, gFormRevisiAmountLabel = 0,
     gFormRevisiIcon = 0, gFormRevisiList = 0, gFormRevisiHint = 0, gFormRevisiHeader = 0, gFormRevisiTitle = 0;

int gFormRevisiCloseButtonId = 1000, gFormRevisiUpdateButtonId = 1001, gFormRevisiAmountEditId = 1002,
    gFormRevisiAmountLabelId = 1003, gFormRevisiIconId = 1004, gFormRevisiListId = 1005, gFormRevisiHintId = 1006,
    gFormRevisiHeaderId = 1007, gFormRevisiTitleId = 1008;

const char* const kFormRevisiRowGone = "Transaksi tidak ditemukan, tidak ada data yang disimpan..";

namespace {

constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr int kColId = 0, kColAcctId = 2, kColMasuk = 4;

// The student whose rows are listed (what the updates name).
std::string gStudent;
FormRevisiRow gListRow;   // the payment list's marked row, as the list handed it over

FrmForm gFormRevisi = {.name = "FORMREVISI",
                       .wndProc = FORMREVISI_WndProc,
                       .window = &gFormRevisiWindow,
                       .createControls = FORMREVISI_CreateControls,
                       .onCreate = [](Hwnd form, std::intptr_t) { return FORMREVISI_LoadPayments(form); },
                       .caption = "Form4",
                       .style = WS_POPUP | WS_THICKFRAME | WS_SYSMENU,
                       .width = 652,
                       .height = 308};

FormRevisiFeeMoney gFeeMoneyRead;   // where FORMREVISI_ReadFeeMoney's statement puts its row

int OnFeeMoney(void*, int columnCount, char** values, char**) {
  gFeeMoneyRead = {RoundHalfEven(Val(FinCell(values, columnCount, 0))),
                   RoundHalfEven(Val(FinCell(values, columnCount, 1)))};
  return 0;
}

// A discount row ('Disc') holds its amount negative, and so does any other row stored below 0: the edit shows and
// takes the size of the amount, and the row keeps its sign.
bool StoredNegative(int row) {
  return LvGetItemText(gFormRevisiList, row, kColAcctId) == "Disc" ||
         RoundHalfEven(Val(LvGetItemText(gFormRevisiList, row, kColMasuk))) < 0;
}

void ShowSelectedAmount() {
  const int row = LvGetSelectionMark(gFormRevisiList);
  if (row < 0 || row >= LvGetItemCount(gFormRevisiList)) return;
  const std::string masuk = LvGetItemText(gFormRevisiList, row, kColMasuk);
  const bool minus = StoredNegative(row) && !masuk.empty() && masuk[0] == '-';
  CtlSetText(gFormRevisiAmountEdit, minus ? masuk.substr(1) : masuk);
}

}  // namespace

// ----- what the window computes -------------------------------------------------------------------------------------
std::string FORMREVISI_StudentRowsSql(const std::string& siswaId) {
  return "select Id, Tgl, AcctId, Uraian, Masuk, Petugas from transaksi WHERE SiswaId='" + SqlQ(siswaId) +
         "' and Sts='p' Order By Id DESC";
}

std::string FORMREVISI_MonthRowsSql(const std::string& siswaId, const std::string& acctId, const std::string& tapel,
                                    int reportMonth) {
  return "select Id, Tgl, AcctId, Uraian, Masuk, Petugas from transaksi WHERE SiswaId='" + SqlQ(siswaId) +
         "' and Sts='p' And AcctId='" + SqlQ(acctId) + "' And " + FORM13_MonthRangeSql(tapel, reportMonth);
}

std::string FORMREVISI_UpdateSql(long long amount, const std::string& id, const std::string& acctId,
                                 const std::string& siswaId) {
  return "Update transaksi Set Masuk='" + std::to_string(amount) + "', jenjang='rev' WHERE Id='" + SqlQ(id) +
         "' and AcctId='" + SqlQ(acctId) + "' and SiswaId='" + SqlQ(siswaId) + "'";
}

std::string FORMREVISI_FeeMoneySql(const std::string& siswaId, const std::string& acctId) {
  return "Select (Select sum(Masuk) From transaksi Where SiswaId='" + SqlQ(siswaId) + "' and AcctId='" + SqlQ(acctId) +
         "'), (Select jml_pembayaran From detail_account Where id_siswa='" + SqlQ(siswaId) + "' and id_account='" +
         SqlQ(acctId) + "')";
}

bool FORMREVISI_ReadFeeMoney(const std::string& siswaId, const std::string& acctId, FormRevisiFeeMoney* out) {
  gFeeMoneyRead = {};
  if (FinExec(FORMREVISI_FeeMoneySql(siswaId, acctId), OnFeeMoney) != SQLITE_OK) return false;
  *out = gFeeMoneyRead;
  return true;
}

std::string FORMREVISI_ReceiptRefusal(const Form13ReceiptMoney& m) {
  switch (FORM13_ReceiptBreach(m)) {
    case Form13ReceiptBreach::kDiscountAboveItems: return "Potongan melebihi total pembayaran..";
    case Form13ReceiptBreach::kSavingsAboveNet:
      return "Pengambilan tabungan " + FORM13_Rupiah(m.savingsUsed) + " pada struk ini melebihi total setelah potongan " +
             FORM13_Rupiah(m.itemsTotal - m.discount) + "..";
    case Form13ReceiptBreach::kNone: break;
  }
  return std::string();
}

std::string FORMREVISI_OverBillText(long long paidBefore, long long paidAfter, long long billed, long long amount) {
  if (paidAfter <= paidBefore) return std::string();   // what is paid does not grow: no bill is passed by it
  // What the fee owed before this row: the bill less what its other rows paid.
  return FinInstalmentOverOwedText(amount, billed - (paidAfter - amount));
}

const std::string& FORMREVISI_Student() { return gStudent; }

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORMREVISI_Show(Hwnd parent, int modal, int userData, FormRevisiRow row) {
  gListRow = std::move(row);
  return FrmShowForm(gFormRevisi, parent, modal, userData);
}

void FORMREVISI_CreateControls(Hwnd form) {
  const Hwnd f = form;
  constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
  gFormRevisiCloseButton = FrmAddControl(f, "Button", "Selesai", kButton, 0, 536, 266, 105, 30,
                                         gFormRevisiCloseButtonId, FORMREVISI_CtlSubclassProc, kArial12);
  gFormRevisiUpdateButton = FrmAddControl(f, "Button", "Update", kButton, 0, 426, 266, 105, 30,
                                          gFormRevisiUpdateButtonId, FORMREVISI_CtlSubclassProc, kArial12);
  gFormRevisiAmountEdit = FrmAddControl(f, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_NUMBER |
                                        ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 112, 270, 200, 22, gFormRevisiAmountEditId,
                                        FORMREVISI_CtlSubclassProc, kArial12, "", FrmColors::Window(), 0);
  FinLimitAmountEdit(gFormRevisiAmountEdit);
  gFormRevisiAmountLabel = FrmAddControl(f, "Static", "Jumlah Revisi", kLabel, 0, 10, 273, 98, 18,
                                         gFormRevisiAmountLabelId, FORMREVISI_CtlSubclassProc, kArial12);
  gFormRevisiIcon = FrmAddControl(f, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 12, 10, 48, 48,
                                  gFormRevisiIconId, FORMREVISI_CtlSubclassProc, "");
  if (auto* icon = qobject_cast<QLabel*>(WinWidget(gFormRevisiIcon))) {
    icon->setScaledContents(true);   // drawn at the size of its control
    icon->setPixmap(ResLoadImage("IMAGE_MONEY"));
  }
  gFormRevisiList = FrmAddControl(f, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                  LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 8, 72, 636, 188, gFormRevisiListId,
                                  FORMREVISI_CtlSubclassProc, kArial12);
  LvSetExtendedStyle(gFormRevisiList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gFormRevisiList, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  gFormRevisiHint = FrmAddControl(f, "Static", "Form ini digunakan untuk me-revisi transaksi pembayaran siswa", kLabel,
                                  0, 72, 42, 520, 18, gFormRevisiHintId, FORMREVISI_CtlSubclassProc, kSansSerif, "",
                                  FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
  gFormRevisiHeader = FrmAddControl(f, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 2, 0, 648, 66,
                                    gFormRevisiHeaderId, FORMREVISI_CtlSubclassProc, kSansSerif, "FL,FT,S,FT");
  if (QWidget* w = WinWidget(gFormRevisiHeader)) w->lower();   // the frame behind the title, not over it
  gFormRevisiTitle = FrmAddControl(f, "Static", "Revisi Pembayaran", kLabel, 0, 72, 12, 400, 26, gFormRevisiTitleId,
                                   FORMREVISI_CtlSubclassProc, "Arial,-21,0,0,0,700,0,0,0,0,3,2,1,34", "",
                                   FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  CtlSetFocus(gFormRevisiCloseButton);
}

LResult FORMREVISI_LoadPayments(Hwnd) {
  LvInsertColumn(gFormRevisiList, 0, "Id", LVCFMT_CENTER, 50);
  LvInsertColumn(gFormRevisiList, 1, "Tgl", LVCFMT_CENTER, 100);
  LvInsertColumn(gFormRevisiList, 2, "AcctID", LVCFMT_CENTER, 100);
  LvInsertColumn(gFormRevisiList, 3, "Uraian", LVCFMT_LEFT, 100);
  LvInsertColumn(gFormRevisiList, 4, "Masuk", LVCFMT_RIGHT, 100);
  LvInsertColumn(gFormRevisiList, 5, "Petugas", LVCFMT_CENTER, 100);
  std::string sql;
  if (gEditMode < 1) {
    gStudent = CtlGetText(gFormBayarIdEdit);
    sql = FORMREVISI_StudentRowsSql(gStudent);
  } else {
    gStudent = gListRow.siswaId;
    sql = FORMREVISI_MonthRowsSql(gStudent, gListRow.acctId, gTapel, gReportMonth);
  }
  FinExec(sql, FORMREVISI_OnPaymentRow);
  if (gEditMode >= 1 && LvGetItemCount(gFormRevisiList) > 0) {
    LvSelectItem(gFormRevisiList, 0);
    ShowSelectedAmount();
  }
  return 0;
}

int FORMREVISI_OnPaymentRow(void*, int columnCount, char** values, char**) {
  const int row = LvInsertItem(gFormRevisiList, LvGetItemCount(gFormRevisiList), 0, FinCell(values, columnCount, 0), 0, 0);
  for (int c = 1; c < 6; ++c) LvSetItemText(gFormRevisiList, row, c, FinCell(values, columnCount, c));
  return 0;
}

LResult FORMREVISI_SaveRevision(Hwnd) {
  const int row = LvGetSelectionMark(gFormRevisiList);
  if (row < 0 || row >= LvGetItemCount(gFormRevisiList)) return 0;   // no row chosen: nothing to revise
  const long long typed = RoundHalfEven(Val(CtlGetText(gFormRevisiAmountEdit)));   // empty: 0, never empty
  const long long size = typed < 0 ? -typed : typed;
  const long long amount = StoredNegative(row) ? -size : size;   // the sign of the row never flips
  const std::string id = LvGetItemText(gFormRevisiList, row, kColId);
  const std::string acctId = LvGetItemText(gFormRevisiList, row, kColAcctId);
  const std::string sql = FORMREVISI_UpdateSql(amount, id, acctId, gStudent);
  // A fee row is paid against the student's bill of that fee; a discount row is not.
  const bool feeRow = acctId != "Disc" && acctId != "Tabungan";
  std::string refusal;
  bool gone = false;   // the row is no longer in the file
  {
    FinTransaction tx;
    if (!tx.active()) return 0;   // its box told the operator; nothing changed
    FormRevisiFeeMoney before, after;
    if (feeRow && !FORMREVISI_ReadFeeMoney(gStudent, acctId, &before)) return 0;
    if (FinExec(sql) != 0) return 0;
    // The row is gone (another desk deleted it since the list was read): nothing was revised, and the operator is
    // told so.
    gone = sqlite3_changes(gDb) < 1;
    if (gone) refusal = kFormRevisiRowGone;
    // The receipt and the fee as the revision leaves them: a receipt that breaks its rules, or a fee paid above its
    // bill, is refused as the save and the instalment chooser refuse them. Without the sums nothing is revised (the
    // failure shown).
    Form13ReceiptMoney money;
    if (refusal.empty()) {
      if (!FORM13_ReadReceiptMoney(RcptLeft(id, 22), gStudent, &money)) return 0;
      refusal = FORMREVISI_ReceiptRefusal(money);
    }
    if (refusal.empty() && feeRow) {
      if (!FORMREVISI_ReadFeeMoney(gStudent, acctId, &after)) return 0;
      refusal = FORMREVISI_OverBillText(before.paid, after.paid, after.billed, amount);
    }
    if (refusal.empty() && !tx.commit()) return 0;
  }   // refused: undone here
  if (gone) {
    // The list no longer shows a row the file does not hold.
    LvDeleteItem(gFormRevisiList, row);
    CtlSetText(gFormRevisiAmountEdit, "");
  }
  if (!refusal.empty()) {
    MsgBox(refusal, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  LvSetItemText(gFormRevisiList, row, kColMasuk, std::to_string(amount));
  MsgBox("Revisi transaksi berhasil disimpan..", "Revisi..", MB_OK | MB_ICONINFORMATION);
  return 0;
}

LResult FORMREVISI_OnClose(Hwnd form) {
  FrmClose(form, 0);
  return 0;
}

LResult FORMREVISI_OnListClick(Hwnd) {
  ShowSelectedAmount();
  return 0;
}

LResult FORMREVISI_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormRevisi, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gFormRevisiUpdateButtonId) return FORMREVISI_SaveRevision(hwnd);
    if (id == gFormRevisiCloseButtonId) return FORMREVISI_OnClose(hwnd);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMREVISI_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_LBUTTONUP && hwnd == gFormRevisiList) FORMREVISI_OnListClick(FrmGetFormOf(hwnd));
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
