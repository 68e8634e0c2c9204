#include "payments/instalment_chooser.h"

#include <QWidget>

#include <cstdio>

#include "common/amounts.h"
#include "common/numbers_words.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "payments/arrears_window.h"
#include "payments/payment_globals.h"
#include "payments/payment_save.h"

Hwnd gFormRekBayar3Window = 0;
Hwnd gFormRekBayar3SisipButton = 0, gFormRekBayar3BatalButton = 0, gFormRekBayar3CashLabel = 0,
     gFormRekBayar3CashEdit = 0, gFormRekBayar3List = 0, gFormRekBayar3WayLabel = 0, gFormRekBayar3AngsuranRadio = 0,
     gFormRekBayar3CicilanRadio = 0;
int gFormRekBayar3SisipButtonId = 1000, gFormRekBayar3BatalButtonId = 2, gFormRekBayar3CashLabelId = 1001,
    gFormRekBayar3CashEditId = 1002, gFormRekBayar3ListId = 1003, gFormRekBayar3WayLabelId = 1004,
    gFormRekBayar3AngsuranRadioId = 1005, gFormRekBayar3CicilanRadioId = 1006;

void FORMREKBAYAR3_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormRekBayar3SisipButtonId, &gFormRekBayar3CashLabelId, &gFormRekBayar3CashEditId,
                 &gFormRekBayar3ListId, &gFormRekBayar3WayLabelId, &gFormRekBayar3AngsuranRadioId,
                 &gFormRekBayar3CicilanRadioId})
    *g = id++;
  gFormRekBayar3BatalButtonId = 2;
}

namespace {

constexpr const char* kButtonFont = "Arial Unicode MS,9,0";
constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gFormRekBayar3 = {.name = "FORMREKBAYAR3",
                          .wndProc = FORMREKBAYAR3_WndProc,
                          .window = &gFormRekBayar3Window,
                          .createControls = FORMREKBAYAR3_CreateControls,
                          .onCreate = FORMREKBAYAR3_OnCreate,
                          .caption = "Pembayaran Per Tahun",
                          .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          .exStyle = WS_EX_TOPMOST,
                          .width = 651,
                          .height = 365};

// The earlier payments while the statement runs.
std::vector<InstalmentPayment> gPayments;

int ArrearsRow() { return LvGetSelectionMark(gFormTunggakanList); }
std::string ArrearsCell(int col) { return LvGetItemText(gFormTunggakanList, ArrearsRow(), col); }

// The list rebuilt with the mode's columns and rows.
void FillList(const char* labelCaption, const std::vector<InstalmentRow>& rows) {
  Hwnd list = gFormRekBayar3List;
  LvDeleteAllItems(list);
  LvDeleteAllColumns(list);
  LvInsertColumn(list, 0, "No.", LVCFMT_CENTER, 50);
  LvInsertColumn(list, 1, "Tgl. Bayar", LVCFMT_CENTER, 100);
  LvInsertColumn(list, 2, labelCaption, LVCFMT_CENTER, 100);
  LvInsertColumn(list, 3, "Jumlah", LVCFMT_RIGHT, 100);
  for (const InstalmentRow& row : rows) {
    const int r = LvInsertItem(list, LvGetItemCount(list), 0, row.number, 0, 0);
    LvInsertItem(list, r, 1, row.date, 0, 0);
    LvInsertItem(list, r, 2, row.label, 0, 0);
    LvInsertItem(list, r, 3, row.amount, 0, 0);
  }
}

// The student's earlier payments on the arrears row's fee whose description holds `word`.
std::vector<InstalmentPayment> LoadPayments(const std::string& word) {
  std::vector<InstalmentPayment> payments;
  FinReadInstalmentPayments(word, CtlGetText(gFormBayarIdEdit), ArrearsCell(kTunggakanColId), &payments);
  return payments;
}

}  // namespace

// ----- what the chooser computes -------------------------------------------------------------------------------------
long long FinInstalmentAmount(const std::string& yearly) { return RoundHalfEven(Val(yearly) / 10.0); }

std::vector<InstalmentRow> FinInstalmentAngsuranRows(const std::string& yearly,
                                                      const std::vector<InstalmentPayment>& payments) {
  const long long instalment = FinInstalmentAmount(yearly);
  const std::string amount = std::to_string(instalment);
  std::vector<InstalmentRow> rows;
  auto add = [&](const std::string& date) {
    const std::string k = std::to_string(rows.size() + 1);
    rows.push_back({k, date, "Angs-" + k, amount});
  };
  for (const InstalmentPayment& p : payments) {
    if (instalment == 0) break;
    const long long covers = RoundHalfEven(Val(p.masuk) / static_cast<double>(instalment));
    for (long long i = 0; i < covers && rows.size() < static_cast<std::size_t>(kInstalmentMaxRows); ++i) add(p.tgl);
  }
  while (rows.size() < 10) add("-");
  return rows;
}

std::vector<InstalmentRow> FinInstalmentCicilanRows(const std::vector<InstalmentPayment>& payments) {
  std::vector<InstalmentRow> rows;
  for (const InstalmentPayment& p : payments) {
    const std::string k = std::to_string(rows.size() + 1);
    rows.push_back({k, p.tgl, "Cicilan-" + k, p.masuk});
  }
  return rows;
}

std::string FinInstalmentTenthText(const std::string& owed) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16g", Val(owed) / 10.0);
  return buf;
}

InstalmentChoice FinInstalmentChoose(const std::vector<InstalmentRow>& rows, const std::vector<bool>& ticked) {
  InstalmentChoice c;
  bool any = false;
  for (std::size_t i = 0; i < rows.size() && i < 10; ++i) {
    if (rows[i].date != "-" || i >= ticked.size() || !ticked[i]) continue;
    c.sum = RoundHalfEven(static_cast<double>(c.sum) + Val(rows[i].amount));
    const std::string number = std::to_string(i + 1);
    if (!any) c.first = number;
    c.last = number;
    c.numbers |= 1 << i;
    any = true;
  }
  return c;
}

std::string FinInstalmentAngsuranName(const std::string& name, const InstalmentChoice& choice) {
  return "Angsuran " + name + " dari : " + choice.first + " s/d " + choice.last;
}

std::string FinInstalmentOverOwedText(long long amount, long long owed) {
  if (amount <= owed) return std::string();
  // A fee its rows already pay above its bill owes nothing: the rest named is 0, never a negative amount.
  return "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : " +
         FinFormatThousands(std::to_string(owed < 0 ? 0 : owed), ".") + "..";
}

std::string FinInstalmentPaymentsSql(const std::string& word, const std::string& student, const std::string& fee) {
  return "SELECT Tgl, Masuk FROM transaksi where Uraian like '%" + SqlQ(word) + "%' and SiswaID='" + SqlQ(student) +
         "' and AcctId='" + SqlQ(fee) + "'";
}

bool FinReadInstalmentPayments(const std::string& word, const std::string& student, const std::string& fee,
                               std::vector<InstalmentPayment>* out) {
  gPayments.clear();
  const int rc = FinExec(FinInstalmentPaymentsSql(word, student, fee), FORMREKBAYAR3_OnPaymentRow);
  *out = std::move(gPayments);
  gPayments.clear();
  return rc == 0;
}

bool FinInstalmentDescriptionHolds(const std::string& description, const std::string& word) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (word.empty()) return true;
  for (std::size_t i = 0; i + word.size() <= description.size(); ++i) {
    std::size_t k = 0;
    while (k < word.size() && fold(description[i + k]) == fold(word[k])) ++k;
    if (k == word.size()) return true;
  }
  return false;
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORMREKBAYAR3_Show(Hwnd parent, int modal, int userData) {
  Hwnd form = FrmCreateForm(gFormRekBayar3, parent, userData);
  if (!form) return 0;
  if (QWidget* w = WinWidget(form)) w->setWindowFlag(Qt::WindowStaysOnTopHint, true);   // kept above other windows
  return FrmShow(modal, form, parent, SW_SHOWNORMAL, 0);
}

void FORMREKBAYAR3_CreateControls(Hwnd form) {
  constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
  gFormRekBayar3SisipButton = FrmAddControl(form, "Button", "Sisip", kButton, 0, 540, 296, 88, 26,
                                            gFormRekBayar3SisipButtonId, FORMREKBAYAR3_CtlSubclassProc, kButtonFont);
  gFormRekBayar3BatalButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 444, 296, 88, 26,
                                            gFormRekBayar3BatalButtonId, FORMREKBAYAR3_CtlSubclassProc, kButtonFont);
  gFormRekBayar3CashLabel = FrmAddControl(form, "Static", "Jumlah Cash", kLabel, 0, 388, 262, 80, 20,
                                          gFormRekBayar3CashLabelId, FORMREKBAYAR3_CtlSubclassProc, kFont, "",
                                          FrmColors::Face());
  gFormRekBayar3CashEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT |
                                         ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 472, 260, 156, 22,
                                         gFormRekBayar3CashEditId, FORMREKBAYAR3_CtlSubclassProc, kFont, "",
                                         FrmColors::Window(), 1);
  CtlAddToolTip(gFormRekBayar3CashEdit, "Masukan nilai cicilan sesuai dengan nominal yang ada", 1);
  FinLimitAmountEdit(gFormRekBayar3CashEdit);
  gFormRekBayar3List = FrmAddControl(form, "SysListView32", "",
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                                     WS_EX_CLIENTEDGE, 6, 6, 622, 244, gFormRekBayar3ListId,
                                     FORMREKBAYAR3_CtlSubclassProc, kFont);
  LvSetExtendedStyle(gFormRekBayar3List, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES);
  gFormRekBayar3WayLabel = FrmAddControl(form, "Static", "Cara Pembayaran", kLabel, 0, 8, 262, 104, 20,
                                         gFormRekBayar3WayLabelId, FORMREKBAYAR3_CtlSubclassProc, kFont, "",
                                         FrmColors::Face());
  gFormRekBayar3AngsuranRadio = FrmAddControl(form, "Button", "Angsuran", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                              WS_GROUP | BS_AUTORADIOBUTTON, 0, 116, 262, 90, 20,
                                              gFormRekBayar3AngsuranRadioId, FORMREKBAYAR3_CtlSubclassProc, kFont,
                                              "", FrmColors::Face());
  gFormRekBayar3CicilanRadio = FrmAddControl(form, "Button", "Cicilan", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON,
                                             0, 212, 262, 90, 20, gFormRekBayar3CicilanRadioId,
                                             FORMREKBAYAR3_CtlSubclassProc, kFont, "", FrmColors::Face());
  BtnSetChecked(gFormRekBayar3CicilanRadio, 1);
}

LResult FORMREKBAYAR3_OnCreate(Hwnd form, std::intptr_t) {
  return FORMREKBAYAR3_ShowCicilan(0, form, gFormRekBayar3CicilanRadio, gFormRekBayar3CicilanRadioId);
}

LResult FORMREKBAYAR3_ShowAngsuran(int, Hwnd, Hwnd, int) {
  CtlDisable(gFormRekBayar3CashEdit);
  CtlSetText(gFormRekBayar3CashEdit, FinInstalmentTenthText(ArrearsCell(kTunggakanColAmount)));
  const std::string yearly = ArrearsCell(kTunggakanColYearly);
  // A failing statement leaves no paid rows; the open instalments are listed all the same.
  FillList("Angsuran", FinInstalmentAngsuranRows(yearly, LoadPayments("Angsuran")));
  return 0;
}

LResult FORMREKBAYAR3_ShowCicilan(int, Hwnd, Hwnd, int) {
  FillList("Cicilan", FinInstalmentCicilanRows(LoadPayments("Cicilan")));
  CtlEnable(gFormRekBayar3CashEdit);
  CtlSetText(gFormRekBayar3CashEdit, ArrearsCell(kTunggakanColAmount));
  CtlSetFocus(gFormRekBayar3CashEdit);
  TxtSetSel(gFormRekBayar3CashEdit, 0, -1);
  return 0;
}

LResult FORMREKBAYAR3_Insert(int, Hwnd form, Hwnd, int) {
  const int row = ArrearsRow();
  const std::string name = ArrearsCell(kTunggakanColName);
  // Refused: the box, and the chooser stays open with the arrears row as it was.
  auto refuse = [form](const std::string& text) {
    MsgBox(form, text, "Info", MB_OK);
    if (BtnIsChecked(gFormRekBayar3CicilanRadio)) {
      CtlSetFocus(gFormRekBayar3CashEdit);
      TxtSetSel(gFormRekBayar3CashEdit, 0, -1);
    }
    return 0;
  };
  // An instalment never pays more than the fee still owes.
  auto aboveOwed = [row](long long amount) {
    return row < 0 ? std::string() : FinInstalmentOverOwedText(amount, FORMTUNGGAKAN_RowOwed(row));
  };
  if (BtnIsChecked(gFormRekBayar3AngsuranRadio)) {
    std::vector<InstalmentRow> rows;
    std::vector<bool> ticked;
    for (int r = 0; r < LvGetItemCount(gFormRekBayar3List) && r < 10; ++r) {
      rows.push_back({LvGetItemText(gFormRekBayar3List, r, 0), LvGetItemText(gFormRekBayar3List, r, 1),
                      LvGetItemText(gFormRekBayar3List, r, 2), LvGetItemText(gFormRekBayar3List, r, 3)});
      ticked.push_back(LvGetCheck(gFormRekBayar3List, r) == -1);
    }
    const InstalmentChoice choice = FinInstalmentChoose(rows, ticked);
    if (const std::string over = aboveOwed(choice.sum); !over.empty()) return refuse(over);
    if (row >= 0) {
      LvSetItemText(gFormTunggakanList, row, kTunggakanColName, FinInstalmentAngsuranName(name, choice));
      LvSetItemText(gFormTunggakanList, row, kTunggakanColAmount, std::to_string(choice.sum));
      FORMTUNGGAKAN_SetRowItemData(row, PayInstalmentItemData(choice.numbers));   // which instalments it pays
    }
  } else if (BtnIsChecked(gFormRekBayar3CicilanRadio)) {
    // The amount as the operator types or pastes it ("1.500.000", "1,500,000", "Rp 75.000"); only a positive amount
    // of whole rupiah is taken, and the row gets it as plain digits.
    const long long amount = FinPositiveAmount(CtlGetText(gFormRekBayar3CashEdit));
    if (amount <= 0) return refuse("Jumlah cicilan harus berupa angka lebih dari 0..");
    if (const std::string over = aboveOwed(amount); !over.empty()) return refuse(over);
    if (row >= 0) {
      LvSetItemText(gFormTunggakanList, row, kTunggakanColName, "Cicilan " + name);
      LvSetItemText(gFormTunggakanList, row, kTunggakanColAmount, std::to_string(amount));
      FORMTUNGGAKAN_SetRowItemData(row, 0);   // an amount of what the fee owes, no numbered instalments
    }
  }
  FrmClose(form, 0);
  return 0;
}

int FORMREKBAYAR3_OnPaymentRow(void*, int columnCount, char** values, char**) {
  auto cell = [&](int i) { return i < columnCount && values && values[i] ? std::string(values[i]) : std::string(); };
  gPayments.push_back({cell(0), cell(1)});
  return 0;
}

LResult FORMREKBAYAR3_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormRekBayar3, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    const Hwnd control = static_cast<Hwnd>(lParam);
    const int index = FrmIndexOf(control);
    if (id == gFormRekBayar3SisipButtonId) return FORMREKBAYAR3_Insert(index, hwnd, control, id);
    if (id == gFormRekBayar3BatalButtonId) {
      FrmClose(hwnd, 0);
      return 0;
    }
    if (id == gFormRekBayar3AngsuranRadioId) return FORMREKBAYAR3_ShowAngsuran(index, hwnd, control, id);
    if (id == gFormRekBayar3CicilanRadioId) return FORMREKBAYAR3_ShowCicilan(index, hwnd, control, id);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMREKBAYAR3_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
