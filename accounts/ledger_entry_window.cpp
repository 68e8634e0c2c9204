#include "accounts/ledger_entry_window.h"

#include <QPushButton>
#include <QWidget>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "accounts/ledger_list_window.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gFormRekWindow = 0;
Hwnd gFormRekGrupLabel = 0, gFormRekGrupCombo = 0, gFormRekSaveButton = 0, gFormRekDeskripsiEdit = 0,
     gFormRekKodeEdit = 0, gFormRekFrame = 0, gFormRekHintLabel = 0, gFormRekTitleLabel = 0,
     gFormRekDeskripsiLabel = 0, gFormRekKodeLabel = 0;
int gFormRekGrupLabelId = 1000, gFormRekGrupComboId = 1001, gFormRekSaveButtonId = 1002,
    gFormRekDeskripsiEditId = 1003, gFormRekKodeEditId = 1004, gFormRekFrameId = 1005, gFormRekHintLabelId = 1006,
    gFormRekTitleLabelId = 1007, gFormRekDeskripsiLabelId = 1008, gFormRekKodeLabelId = 1009;

// ----- group codes --------------------------------------------------------------------------------------------------
namespace {
constexpr const char* kGroupCodes = "Msk,Klr,Bms,Pvb";
}  // namespace

std::string FORMREK_GroupCode(int comboIndex) {
  if (comboIndex < 0 || comboIndex > 3) return "";
  return StrParse(kGroupCodes, ",", comboIndex + 1);
}

int FORMREK_GroupIndex(const std::string& code) {
  if (code == "Msk") return 0;
  if (code == "Klr") return 1;
  if (code == "Bms") return 2;
  return -1;
}

const char* const kFormRekNoSuchCode = "Kode rekening tidak ditemukan, tidak ada data yang disimpan..";

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kEntryCaption = "Entry Data..";
constexpr const char* kTaken = "Gagal menyimpan, Id/Kode Sudah Tersedia..";
constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;

FrmForm gFormRek = {.name = "FORMREK",
                    .wndProc = FORMREK_WndProc,
                    .window = &gFormRekWindow,
                    .createControls = FORMREK_CreateControls,
                    .onCreate = [](Hwnd form, std::intptr_t) -> LResult { return FORMREK_Init(form); },
                    .caption = "Form Data Rekening",
                    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                    .width = 414,
                    .height = 247};

// The list window's list, refilled from the database after a save.
void RefillLedgerList() {
  gTargetListView = gForm5List;
  LvDeleteAllColumns(gForm5List);
  LvDeleteAllItems(gForm5List);
  FinExec("select Kode, Deskripsi, Grup from rekening WHERE Tapel='" + SqlQ(gTapel) + "' Order By Kode",
          FinCbFillList);
}

void SaveEdit(const std::string& kode, const std::string& deskripsi, const std::string& grup) {
  // With no group chosen (a stored group none of the three items stands for) the stored group stays.
  std::string sql = "Update rekening Set Deskripsi='" + SqlQ(deskripsi) + "'";
  if (!grup.empty()) sql += ",Grup='" + SqlQ(grup) + "'";
  sql += " WHERE Kode='" + SqlQ(kode) + "'";
  if (FinExec(sql) != SQLITE_OK) return;
  // A code no account has (typed over, or deleted meanwhile): nothing was changed, and the window says so.
  if (sqlite3_changes(gDb) < 1) {
    MsgBox(kFormRekNoSuchCode, "Info", MB_OK | MB_ICONINFORMATION);
    return;
  }
  RefillLedgerList();
  MsgBox("Data berhasil disimpan..", kEntryCaption, MB_OK | MB_ICONINFORMATION);
  CtlSetText(gFormRekDeskripsiEdit, "");
}

void SaveNew(const std::string& kode, const std::string& deskripsi, const std::string& grup) {
  // The code is the account's key in every school year.
  const std::string countSql = "Select count(*) From rekening WHERE Kode='" + SqlQ(kode) + "'";
  gSqlResult.clear();
  if (FinExec(countSql, FinCbSingleValue) != SQLITE_OK) return;   // without the duplicate test nothing is written
  if (Val(gSqlResult) >= 1) {
    MsgBox(kTaken, kEntryCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (kode.empty() || deskripsi.empty()) {
    MsgBox("Gagal menyimpan, kolom Kode atau Nama belum terisi..", kEntryCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  LvDeleteAllItems(gForm5List);
  // Counted again under the write lock: another program on the file may have added the code since.
  switch (FinInsertIfFree(countSql, {"Insert Into rekening (Kode, Deskripsi, Grup, Tapel) Values('" + SqlQ(kode) +
                                     "','" + SqlQ(deskripsi) + "','" + SqlQ(grup) + "','" + SqlQ(gTapel) + "')"})) {
    case FinInsertResult::Written: break;
    case FinInsertResult::Taken:
      RefillLedgerList();   // showing the account that has the code now
      MsgBox(kTaken, kEntryCaption, MB_OK | MB_ICONINFORMATION);
      return;
    case FinInsertResult::Failed: return;   // reported; the list stays empty until it is refilled
  }
  RefillLedgerList();
  MsgBox("Data berhasil disimpan..", kEntryCaption, MB_OK | MB_ICONINFORMATION);
  CtlSetText(gFormRekDeskripsiEdit, "");
}

}  // namespace

std::intptr_t FORMREK_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gFormRek, owner, modal, userData);
}

void FORMREK_CreateControls(Hwnd form) {
  const FrmColors blue = FrmColors::RgbOnFace(WinRgb(0, 128, 255));
  gFormRekGrupLabel = FrmAddControl(form, "Static", "Grup", kLabel, 0, 24, 142, 70, 18, gFormRekGrupLabelId,
                                    FORMREK_CtlSubclassProc, kSansSerif, "", blue);
  gFormRekGrupCombo = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                                             CBS_DROPDOWNLIST,
                                    0, 100, 138, 150, 100, gFormRekGrupComboId, FORMREK_CtlSubclassProc, kArial12);
  const char* groups[] = {"Kas Masuk", "Kas Keluar", "Bank"};
  for (int i = 0; i < 3; ++i) {
    const int index = CbAddString(gFormRekGrupCombo, groups[i]);
    CbSetItemData(gFormRekGrupCombo, index, i);
  }
  gFormRekSaveButton = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON,
                                     0, 336, 142, 48, 48, gFormRekSaveButtonId, FORMREK_CtlSubclassProc, "");
  if (auto* b = qobject_cast<QPushButton*>(WinWidget(gFormRekSaveButton))) {
    b->setIcon(ResLoadIcon("IMAGE_DISK_BLUE"));
    b->setIconSize(QSize(32, 32));
  }
  gFormRekDeskripsiEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 100, 110, 284, 21,
                                        gFormRekDeskripsiEditId, FORMREK_CtlSubclassProc, kArial12, "",
                                        FrmColors::Window(), 1);
  gFormRekKodeEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 100, 82, 60, 21, gFormRekKodeEditId,
                                   FORMREK_CtlSubclassProc, kArial12, "", FrmColors::Window(), 1);
  WinSendMessage(gFormRekKodeEdit, EM_LIMITTEXT, 3, 0);
  gFormRekFrame = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 8, 66, 390, 136,
                                gFormRekFrameId, FORMREK_CtlSubclassProc, "");
  if (QWidget* w = WinWidget(gFormRekFrame)) {
    // A frame drawn around the fields: under them, and no target for the mouse.
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->lower();
  }
  gFormRekHintLabel = FrmAddControl(form, "Static",
                                    "Buatlah rekening pemasukan/pengeluaran sebagai sumber pendapatan sekolah", kLabel,
                                    0, 16, 38, 380, 18, gFormRekHintLabelId, FORMREK_CtlSubclassProc, kSansSerif, "",
                                    blue);
  gFormRekTitleLabel = FrmAddControl(form, "Static", "Master Rekening", kLabel, 0, 16, 8, 250, 26,
                                     gFormRekTitleLabelId, FORMREK_CtlSubclassProc,
                                     "Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34", "",
                                     FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  gFormRekDeskripsiLabel = FrmAddControl(form, "Static", "Deskripsi", kLabel, 0, 24, 114, 70, 18,
                                         gFormRekDeskripsiLabelId, FORMREK_CtlSubclassProc, kSansSerif, "", blue);
  gFormRekKodeLabel = FrmAddControl(form, "Static", "Kode", kLabel, 0, 24, 86, 70, 18, gFormRekKodeLabelId,
                                    FORMREK_CtlSubclassProc, kSansSerif, "", blue);
  CtlSetFocus(gFormRekGrupCombo);
}

LResult FORMREK_Init(Hwnd) {
  CbSetCurSel(gFormRekGrupCombo, 0);
  if (gEditMode > 0) {
    const int row = LvGetSelectionMark(gForm5List);
    const std::string kode = LvGetItemText(gForm5List, row, 0);
    CtlSetText(gFormRekKodeEdit, kode);
    // The description as stored: a list cell gives at most 259 characters, and the edit writes the field back into
    // every school year of the code. Only an account the file no longer has (or a failed read, its box shown) comes
    // from the list.
    std::vector<std::string> stored = {LvGetItemText(gForm5List, row, 1)};
    if (row >= 0)
      FinReadRow("Select Deskripsi From rekening WHERE Kode='" + SqlQ(kode) + "' and Tapel='" + SqlQ(gTapel) + "'",
                 stored);
    CtlSetText(gFormRekDeskripsiEdit, stored[0]);
    CbSetCurSel(gFormRekGrupCombo, FORMREK_GroupIndex(LvGetItemText(gForm5List, row, 2)));
  }
  return 0;
}

LResult FORMREK_Save(Hwnd) {
  const std::string kode = CtlGetText(gFormRekKodeEdit);
  const std::string deskripsi = CtlGetText(gFormRekDeskripsiEdit);
  const std::string grup = FORMREK_GroupCode(CbGetCurSel(gFormRekGrupCombo));
  if (gEditMode >= 1)
    SaveEdit(kode, deskripsi, grup);
  else
    SaveNew(kode, deskripsi, grup);
  return 0;
}

LResult FORMREK_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormRek, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && static_cast<int>(LOWORD(wParam)) == gFormRekSaveButtonId && HIWORD(wParam) == BN_CLICKED)
    FORMREK_Save(hwnd);
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMREK_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
