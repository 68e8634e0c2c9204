#include "accounts/fee_copy_window.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "accounts/fee_rules.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gForm25Window = 0;
Hwnd gForm25CopyButton = 0, gForm25ViewButton = 0, gForm25CancelButton = 0, gForm25List = 0, gForm25KelasCombo = 0,
     gForm25KelasLabel = 0;
int gForm25CopyButtonId = 1000, gForm25ViewButtonId = 1001, gForm25CancelButtonId = 1002, gForm25ListId = 1003,
    gForm25KelasComboId = 1004, gForm25KelasLabelId = 1005;

void FORM25_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm25CopyButtonId, &gForm25ViewButtonId, &gForm25CancelButtonId, &gForm25ListId,
                 &gForm25KelasComboId, &gForm25KelasLabelId})
    *g = id++;
}

namespace {

constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

FrmForm gForm25 = {.name = "FORM25",
                   .wndProc = FORM25_WndProc,
                   .window = &gForm25Window,
                   .createControls = FORM25_CreateControls,
                   .onCreate = FORM25_Init,
                   .caption = "Form Penyalinan Data Akun Pembayaran dari Kelas lainnya.",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .width = 939,
                   .height = 414};

int FillList(const std::string& sql) {
  gTargetListView = gForm25List;
  LvDeleteAllColumns(gForm25List);
  LvDeleteAllItems(gForm25List);
  return FinExec(sql, FinCbFillList);
}

std::string FeesSql(const std::string& kelas) {
  return "select Id, Pembayaran, Jumlah, Kelas, Type, RefRekening from account WHERE Kelas='" + SqlQ(kelas) +
         "' and Tapel='" + SqlQ(gTapel) + "' Order By Id";
}

// What the fee list that opened the window handed over.
Form25Owner gFrom;

}  // namespace

bool FORM25_Copy(const std::vector<Form25Fee>& fees, const std::string& targetClass, std::vector<std::string>* ids) {
  return FORM25_CopyInto(fees, targetClass, gTapel, ids);
}

bool FORM25_CopyInto(const std::vector<Form25Fee>& fees, const std::string& targetClass, const std::string& tapel,
                     std::vector<std::string>* ids) {
  if (ids) ids->clear();
  FinTransaction tx;
  if (!tx.active()) return false;
  bool failed = false;
  long long n = FinNextFeeNumber(&failed);
  if (failed) return false;
  // The ids a fee, a billing row or a payment still names are passed over, never the fee.
  std::set<std::string> named;
  if (!fees.empty() && !FinFeeIdsNamedUnder(FinFeeIdPrefix(targetClass, tapel), named)) return false;
  const auto idOf = [&](long long k) { return FinFeeId(targetClass, tapel, k); };
  std::vector<std::string> written;
  for (const Form25Fee& fee : fees) {
    n = FinFreeFeeNumber(named, idOf, n);
    if (n == 0) {   // every id of the class and year is taken
      // told once the transaction has ended
      FinReportFailure("Gagal menyimpan, Id/Kode Sudah Tersedia..", "Entry Data..", MB_OK | MB_ICONINFORMATION);
      return false;
    }
    const std::string id = idOf(n);
    if (FinExec("Insert Into account (Id, Pembayaran, Kelas, Jumlah, Type, RefRekening, Tapel) Values('" + SqlQ(id) +
                "','" + SqlQ(fee.pembayaran) + "','" + SqlQ(targetClass) + "','" +
                std::to_string(FinFeeAmount(fee.jumlah)) + "','" + SqlQ(fee.type) + "','" + SqlQ(fee.refRekening) +
                "','" + SqlQ(tapel) + "')") != 0)
      return false;
    written.push_back(id);
    named.insert(id);
    ++n;
  }
  if (!tx.commit()) return false;
  if (ids) *ids = std::move(written);
  return true;
}

std::intptr_t FORM25_Show(Hwnd owner, int modal, int userData, Form25Owner from) {
  gFrom = std::move(from);
  return FrmShowForm(gForm25, owner, modal, userData);
}

void FORM25_CreateControls(Hwnd form) {
  gForm25CopyButton = FrmAddControl(form, "Button", "Salin Data", kButton, 0, 820, 360, 100, 30, gForm25CopyButtonId,
                                    FORM25_CtlSubclassProc, kFont);
  gForm25ViewButton = FrmAddControl(form, "Button", "View", kButton, 0, 330, 10, 90, 26, gForm25ViewButtonId,
                                    FORM25_CtlSubclassProc, kFont);
  gForm25CancelButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 712, 360, 100, 30, gForm25CancelButtonId,
                                      FORM25_CtlSubclassProc, kFont);
  gForm25List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                              LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 20, 46, 900, 300, gForm25ListId,
                              FORM25_CtlSubclassProc, kFont);
  LvSetExtendedStyle(gForm25List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm25List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  gForm25KelasCombo = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                    CBS_DROPDOWNLIST, 0, 70, 12, 250, 200, gForm25KelasComboId,
                                    FORM25_CtlSubclassProc, kFont);
  gForm25KelasLabel = FrmAddControl(form, "Static", "Kelas :", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 20, 15, 48, 20,
                                    gForm25KelasLabelId, FORM25_CtlSubclassProc, kFont);
  CtlSetFocus(gForm25KelasCombo);
}

LResult FORM25_Init(Hwnd form, std::intptr_t) {
  FinExec(FinFeeClassesSql(gTapel), FORM25_OnKelasRow);
  FillList(FeesSql(CtlGetText(gForm25KelasCombo)));
  return 0;
}

int FORM25_OnKelasRow(void*, int columnCount, char** values, char**) {
  CbAddString(gForm25KelasCombo, FinCell(values, columnCount, 0));
  return 0;
}

LResult FORM25_OnView(Hwnd) {
  FillList(FeesSql(CtlGetText(gForm25KelasCombo)));
  return 0;
}

LResult FORM25_CopyChecked(Hwnd form) {
  std::vector<Form25Fee> fees;
  for (int i = 0, n = LvGetItemCount(gForm25List); i < n; ++i)
    if (LvGetCheck(gForm25List, i) == -1)
      fees.push_back({LvGetItemText(gForm25List, i, 1), LvGetItemText(gForm25List, i, 2),
                      LvGetItemText(gForm25List, i, 4), LvGetItemText(gForm25List, i, 5)});
  const bool ok = FORM25_CopyInto(fees, gFrom.targetClass, gFrom.tapel);
  if (gFrom.refresh) gFrom.refresh();
  if (ok) MsgBox("Penyalinan Data Selesai", "Info", MB_OK);
  FrmClose(form, 0);
  return 0;
}

LResult FORM25_OnCancel(Hwnd form) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM25_OnKelasChange(Hwnd) { return 0; }

LResult FORM25_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm25, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    if (code == BN_CLICKED && id == gForm25CopyButtonId) return FORM25_CopyChecked(hwnd);
    if (code == BN_CLICKED && id == gForm25ViewButtonId) return FORM25_OnView(hwnd);
    if (code == BN_CLICKED && id == gForm25CancelButtonId) return FORM25_OnCancel(hwnd);
    if (code == CBN_SELCHANGE && id == gForm25KelasComboId) return FORM25_OnKelasChange(hwnd);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM25_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
