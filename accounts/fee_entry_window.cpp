#include "accounts/fee_entry_window.h"

#include <QLabel>
#include <QWidget>
#include <sqlite3.h>

#include <set>
#include <string>
#include <vector>

#include "accounts/account_globals.h"
#include "accounts/fee_list_window.h"
#include "accounts/fee_rules.h"
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
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_state.h"
#include "framework/window_system.h"

Hwnd gFormAkunBayarWindow = 0;
Hwnd gFormAkunBayarDefaultCheck = 0, gFormAkunBayarReferensiCombo = 0, gFormAkunBayarIdEdit = 0,
     gFormAkunBayarDeskripsiCombo = 0, gFormAkunBayarPembayaranEdit = 0, gFormAkunBayarJumlahEdit = 0,
     gFormAkunBayarJenisCombo = 0, gFormAkunBayarSimpanButton = 0, gFormAkunBayarJenisLabel = 0,
     gFormAkunBayarReferensiLabel = 0, gFormAkunBayarJumlahLabel = 0, gFormAkunBayarIdLabel = 0,
     gFormAkunBayarDeskripsiLabel = 0, gFormAkunBayarIcon = 0, gFormAkunBayarGroup = 0, gFormAkunBayarTitle = 0,
     gFormAkunBayarSubtitle = 0;

int gFormAkunBayarDefaultCheckId = 1000, gFormAkunBayarReferensiComboId = 1001, gFormAkunBayarIdEditId = 1002,
    gFormAkunBayarDeskripsiComboId = 1003, gFormAkunBayarPembayaranEditId = 1004, gFormAkunBayarJumlahEditId = 1005,
    gFormAkunBayarJenisComboId = 1006, gFormAkunBayarSimpanButtonId = 1007, gFormAkunBayarJenisLabelId = 1008,
    gFormAkunBayarReferensiLabelId = 1009, gFormAkunBayarJumlahLabelId = 1010, gFormAkunBayarIdLabelId = 1011,
    gFormAkunBayarDeskripsiLabelId = 1012, gFormAkunBayarIconId = 1013, gFormAkunBayarGroupId = 1014,
    gFormAkunBayarTitleId = 1015, gFormAkunBayarSubtitleId = 1016;

const char* const kFormAkunBayarNewName = "Tambah Deskripsi Baru";

void FORMAKUNBAYAR_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormAkunBayarDefaultCheckId, &gFormAkunBayarReferensiComboId, &gFormAkunBayarIdEditId,
                 &gFormAkunBayarDeskripsiComboId, &gFormAkunBayarPembayaranEditId, &gFormAkunBayarJumlahEditId,
                 &gFormAkunBayarJenisComboId, &gFormAkunBayarSimpanButtonId, &gFormAkunBayarJenisLabelId,
                 &gFormAkunBayarReferensiLabelId, &gFormAkunBayarJumlahLabelId, &gFormAkunBayarIdLabelId,
                 &gFormAkunBayarDeskripsiLabelId, &gFormAkunBayarIconId, &gFormAkunBayarGroupId,
                 &gFormAkunBayarTitleId, &gFormAkunBayarSubtitleId})
    *g = id++;
}

namespace {

constexpr const char* kCaption = "Entry Data..";
constexpr const char* kIdTaken = "Gagal menyimpan, Id/Kode Sudah Tersedia..";
constexpr const char* kFieldFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kLabelFont = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kTitleFont = "Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34";

FrmForm gFormAkunBayar = {.name = "FORMAKUNBAYAR",
                          .wndProc = FORMAKUNBAYAR_WndProc,
                          .window = &gFormAkunBayarWindow,
                          .createControls = FORMAKUNBAYAR_CreateControls,
                          .onCreate = FORMAKUNBAYAR_Init,
                          .caption = "Akun Pembayaran",
                          .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                          .width = 407,
                          .height = 329};

constexpr std::uint32_t kCombo = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;

// Student ids of the class, kept by FORMAKUNBAYAR_OnStudentRow for the billing rows of an add.
std::vector<std::string> gStudents;

// What the window took from the fee list it was opened from: the class in its class box, the school year, its
// list and marked row, add or edit. A click in another fee list meanwhile changes none of it.
FrmWindowState TakeFromFeeList() {
  return FrmTakeFromList(gForm6Window, gForm6List, CtlGetText(gForm6KelasCombo), gTapel, gEditMode);
}
FrmWindowState StateOf(Hwnd form) {
  if (const FrmWindowState* st = FrmWindowStateOf(form ? form : gFormAkunBayarWindow)) return *st;
  return TakeFromFeeList();   // no window open: the current fee list
}

// The fee list the window was opened from, filled anew with the fees of `kelas` (nothing when it is gone).
void RefillOwner(const FrmWindowState& st, const std::string& kelas) {
  if (!IsWindow(st.owner)) return;
  FORM6_Bind(st.owner);
  FORM6_FillList(kelas);
}

Hwnd AddLabel(Hwnd form, const char* text, int x, int y, int w, int id) {
  return FrmAddControl(form, "Static", text, kLabel, 0, x, y, w, 18, id, FORMAKUNBAYAR_CtlSubclassProc, kLabelFont,
                       "", FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
}

void InitAdd() {
  CtlSetText(gFormAkunBayarIdEdit, FORMAKUNBAYAR_ProposedId());
  CbSetCurSel(gFormAkunBayarReferensiCombo, -1);
}

void InitEdit(const FrmWindowState& st) {
  const Hwnd list = st.list;
  const int row = st.markedRow;
  const std::string id = LvGetItemText(list, row, 0);
  // The name as stored: a list cell gives at most 259 characters, and the edit writes the name back. Only a fee the
  // file no longer has (or a failed read, its box shown) keeps the list's text.
  std::vector<std::string> stored = {LvGetItemText(list, row, 1)};
  if (row >= 0) FinReadRow("Select Pembayaran From account WHERE Id='" + SqlQ(id) + "'", stored);
  const std::string& pembayaran = stored[0];
  const std::string ref = LvGetItemText(list, row, 5);
  CtlSetText(gFormAkunBayarIdEdit, id);
  CbSetCurSel(gFormAkunBayarDeskripsiCombo, CbFindString(gFormAkunBayarDeskripsiCombo, -1, pembayaran));
  CtlSetText(gFormAkunBayarPembayaranEdit, pembayaran);
  CtlSetText(gFormAkunBayarJumlahEdit, StrReplace(LvGetItemText(list, row, 2), ".", ""));
  int refIndex = -1;
  for (int i = 0, n = CbGetCount(gFormAkunBayarReferensiCombo); i < n; ++i)
    if (FinCodeOfItem(CbGetItemText(gFormAkunBayarReferensiCombo, i)) == ref) {
      refIndex = i;
      break;
    }
  CbSetCurSel(gFormAkunBayarReferensiCombo, refIndex);
  CbSetCurSel(gFormAkunBayarJenisCombo,
              CbFindStringExact(gFormAkunBayarJenisCombo, -1, LvGetItemText(list, row, 4)));
}

void SaveAdd(Hwnd form) {
  const FrmWindowState st = StateOf(form);
  const std::string id = CtlGetText(gFormAkunBayarIdEdit);
  // An id that a fee, a billing row or a payment still names is taken (a failing count, its box shown, writes
  // nothing).
  bool failed = false;
  const bool named = FinFeeIdNamed(id, "SQL error: ", &failed);
  if (failed) return;
  if (named) {
    MsgBox(kIdTaken, kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  const std::string referensi = CtlGetText(gFormAkunBayarReferensiCombo);
  if (referensi.empty() || id.empty()) {
    MsgBox("Gagal menyimpan, kolom Kode atau Nama belum terisi..", kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  const std::string kelas = st.kelas;
  const FinInsertResult result =
      FORMAKUNBAYAR_InsertFee(id, CtlGetText(gFormAkunBayarPembayaranEdit), kelas,
                              FinFeeAmount(CtlGetText(gFormAkunBayarJumlahEdit)),
                              CtlGetText(gFormAkunBayarJenisCombo), FinCodeOfItem(referensi), st.tapel);
  // Nothing written; every field keeps its text. The id may have been taken since the count above (another program
  // on the file): the save's own count says so.
  if (result == FinInsertResult::Taken) MsgBox(kIdTaken, kCaption, MB_OK | MB_ICONINFORMATION);
  if (result != FinInsertResult::Written) return;
  RefillOwner(st, kelas);
  CtlSetText(gFormAkunBayarIdEdit, "");
  CtlSetText(gFormAkunBayarPembayaranEdit, "");
  CtlSetText(gFormAkunBayarJumlahEdit, "");
  CtlSetText(gFormAkunBayarIdEdit, FORMAKUNBAYAR_ProposedId());
  MsgBox("Data berhasil disimpan..", kCaption, MB_OK | MB_ICONINFORMATION);
}

void SaveEdit(Hwnd form) {
  const FrmWindowState st = StateOf(form);
  const std::string id = CtlGetText(gFormAkunBayarIdEdit);
  const std::string pembayaran = CtlGetText(gFormAkunBayarPembayaranEdit);
  // An edit keeps the fee in its own class, as its row in the fee list showed it (a fee found by the search need
  // not be of the class in the fee list's combo).
  const std::string kelas = st.rowClass;
  const long long amount = FinFeeAmount(CtlGetText(gFormAkunBayarJumlahEdit));
  const bool withAmount = ChkIsChecked(gFormAkunBayarDefaultCheck) != 0;
  const std::string type = CtlGetText(gFormAkunBayarJenisCombo);
  const std::string ref = FinCodeOfItem(CtlGetText(gFormAkunBayarReferensiCombo));
  // Opened without a marked fee: there is no fee to rewrite (an empty Id must not match rows of its own). A fee the
  // file no longer has (deleted meanwhile) is said to be gone, and its list row is not rewritten as if saved.
  bool found = true;
  const bool written = !id.empty() && FORMAKUNBAYAR_UpdateFee(id, pembayaran, kelas, amount, withAmount, type, ref,
                                                              &found);
  if (!found) MsgBox(kFormAkunBayarNotFound, "Info", MB_OK | MB_ICONINFORMATION);
  if (written) {
    // The row of the window's own list shows what the fee now holds.
    const int row = FrmMarkedRowOf(st);
    if (row >= 0) {
      LvSetItemText(st.list, row, 1, pembayaran);
      if (withAmount) LvSetItemText(st.list, row, 2, std::to_string(amount));
      LvSetItemText(st.list, row, 3, kelas);
      LvSetItemText(st.list, row, 4, type);
      LvSetItemText(st.list, row, 5, ref);
    }
  }
  FrmClose(form, 0);
}

}  // namespace

// ----- what the window computes -------------------------------------------------------------------------------------
const char* const kFormAkunBayarNotFound = "Akun pembayaran tidak ditemukan, tidak ada data yang disimpan..";

std::string FORMAKUNBAYAR_ProposedId() {
  const FrmWindowState st = StateOf(0);
  const std::string& kelas = st.kelas;
  const std::string& tapel = st.tapel;
  bool failed = false;
  const long long next = FinNextFeeNumber(&failed);
  if (failed) return FinFeeId(kelas, tapel, next);
  // The next number of the sequence, passing over ids that old billing rows or payments still name.
  std::set<std::string> named;
  if (!FinFeeIdsNamedUnder(FinFeeIdPrefix(kelas, tapel), named)) return FinFeeId(kelas, tapel, next);
  const long long free = FinFreeFeeNumber(named, [&](long long n) { return FinFeeId(kelas, tapel, n); }, next);
  return FinFeeId(kelas, tapel, free ? free : next);
}

FinInsertResult FORMAKUNBAYAR_InsertFee(const std::string& id, const std::string& pembayaran,
                                        const std::string& kelas, long long amount, const std::string& type,
                                        const std::string& refRekening, const std::string& tapel) {
  constexpr FinInsertResult kFailed = FinInsertResult::Failed;
  FinTransaction tx;
  if (!tx.active()) return kFailed;
  // Whether the id is free is known only under the transaction's write lock: an id found free before it began may
  // have been written by another program since.
  bool failed = false;
  if (FinFeeIdNamed(id, "SQL error: ", &failed)) return failed ? kFailed : FinInsertResult::Taken;
  if (FinExec("Insert Into account (Id, Pembayaran, Kelas, Jumlah, Type, Semester, Tapel, Jenjang, RefRekening) "
              "Values('" +
              SqlQ(id) + "','" + SqlQ(pembayaran) + "','" + SqlQ(kelas) + "','" + std::to_string(amount) + "','" +
              SqlQ(type) + "','0','" + SqlQ(tapel) + "','ins','" + SqlQ(refRekening) + "')") != 0)
    return kFailed;
  gStudents.clear();
  if (FinExec("Select IdSiswa From siswakelas where kelas='" + SqlQ(kelas) + "' and tapel='" + SqlQ(tapel) + "'",
              FORMAKUNBAYAR_OnStudentRow) != 0)
    return kFailed;
  const std::vector<std::string> students = std::move(gStudents);
  gStudents.clear();
  const FinBilling billing = FinFeeBilling(type, amount);
  for (const std::string& s : students)
    if (FinExec(FinBillingInsertSql(id, s, billing)) != 0) return kFailed;
  return tx.commit() ? FinInsertResult::Written : kFailed;
}

bool FORMAKUNBAYAR_UpdateFee(const std::string& id, const std::string& pembayaran, const std::string& kelas,
                             long long amount, bool withAmount, const std::string& type,
                             const std::string& refRekening, bool* found) {
  if (found) *found = true;
  FinTransaction tx;
  if (!tx.active()) return false;
  const std::string amountPart = withAmount ? "Jumlah='" + std::to_string(amount) + "'," : " ";
  if (FinExec("Update account Set Pembayaran='" + SqlQ(pembayaran) + "',Kelas='" + SqlQ(kelas) + "'," + amountPart +
              "Type='" + SqlQ(type) + "',Jenjang='rev',RefRekening='" + SqlQ(refRekening) + "' WHERE Id='" +
              SqlQ(id) + "'") != 0)
    return false;
  if (sqlite3_changes(gDb) < 1) {   // no such fee: its billing rows are not rewritten either
    if (found) *found = false;
    return false;
  }
  if (FinExec(FinBillingUpdateAllSql(id, FinFeeBilling(type, amount))) != 0) return false;
  return tx.commit();
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORMAKUNBAYAR_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gFormAkunBayar, owner, modal, userData);
}

void FORMAKUNBAYAR_CreateControls(Hwnd form) {
  const Hwnd f = form;
  gFormAkunBayarDefaultCheck = FrmAddControl(f, "Button", "Default", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                             BS_AUTOCHECKBOX, 0, 290, 190, 90, 20, gFormAkunBayarDefaultCheckId,
                                             FORMAKUNBAYAR_CtlSubclassProc, kLabelFont);
  gFormAkunBayarReferensiCombo = FrmAddControl(f, "ComboBox", "", kCombo, 0, 130, 104, 255, 200,
                                               gFormAkunBayarReferensiComboId, FORMAKUNBAYAR_CtlSubclassProc,
                                               kFieldFont);
  gFormAkunBayarIdEdit = FrmAddControl(f, "Edit", "", kEdit | ES_READONLY, WS_EX_CLIENTEDGE, 130, 76, 255, 22,
                                       gFormAkunBayarIdEditId, FORMAKUNBAYAR_CtlSubclassProc, kFieldFont);
  gFormAkunBayarDeskripsiCombo = FrmAddControl(f, "ComboBox", "", kCombo, 0, 130, 132, 255, 200,
                                               gFormAkunBayarDeskripsiComboId, FORMAKUNBAYAR_CtlSubclassProc,
                                               kFieldFont);
  gFormAkunBayarPembayaranEdit = FrmAddControl(f, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 130, 160, 255, 22,
                                               gFormAkunBayarPembayaranEditId, FORMAKUNBAYAR_CtlSubclassProc,
                                               kFieldFont, "", FrmColors::Window(), 1);
  CtlAddToolTip(gFormAkunBayarPembayaranEdit, "Bila belum tersedia dalam combo, bisa ditambahkan dikolom ini", 1);
  gFormAkunBayarJumlahEdit = FrmAddControl(f, "Edit", "", kEdit | ES_NUMBER, WS_EX_CLIENTEDGE, 130, 188, 150, 22,
                                           gFormAkunBayarJumlahEditId, FORMAKUNBAYAR_CtlSubclassProc, kFieldFont);
  FinLimitAmountEdit(gFormAkunBayarJumlahEdit);
  gFormAkunBayarJenisCombo = FrmAddControl(f, "ComboBox", "", kCombo, 0, 130, 216, 150, 120,
                                           gFormAkunBayarJenisComboId, FORMAKUNBAYAR_CtlSubclassProc, kFieldFont);
  CbAddString(gFormAkunBayarJenisCombo, "Perbulan");
  CbAddString(gFormAkunBayarJenisCombo, "Pertahun");
  gFormAkunBayarSimpanButton = FrmAddControl(f, "Button", "Simpan", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                             BS_PUSHBUTTON, 0, 300, 288, 95, 28, gFormAkunBayarSimpanButtonId,
                                             FORMAKUNBAYAR_CtlSubclassProc, kFieldFont);
  gFormAkunBayarJenisLabel = AddLabel(f, "Jenis Pembayaran", 20, 220, 105, gFormAkunBayarJenisLabelId);
  gFormAkunBayarReferensiLabel = AddLabel(f, "Referensi ", 20, 108, 105, gFormAkunBayarReferensiLabelId);
  gFormAkunBayarJumlahLabel = AddLabel(f, "Jumlah", 20, 192, 105, gFormAkunBayarJumlahLabelId);
  gFormAkunBayarIdLabel = AddLabel(f, "Id Akun", 20, 80, 105, gFormAkunBayarIdLabelId);
  gFormAkunBayarDeskripsiLabel = AddLabel(f, "Deskripsi Akun", 20, 136, 105, gFormAkunBayarDeskripsiLabelId);
  gFormAkunBayarIcon = FrmAddControl(f, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 12, 8, 40,
                                     40, gFormAkunBayarIconId, FORMAKUNBAYAR_CtlSubclassProc, "");
  if (auto* label = qobject_cast<QLabel*>(WinWidget(gFormAkunBayarIcon)))
    label->setPixmap(ResLoadImage("IMAGE_DOLLAR", label->width(), label->height()));
  gFormAkunBayarGroup = FrmAddControl(f, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 8, 60, 390, 220,
                                      gFormAkunBayarGroupId, FORMAKUNBAYAR_CtlSubclassProc, kLabelFont);
  if (QWidget* g = WinWidget(gFormAkunBayarGroup)) g->lower();   // a frame behind the fields, not over them
  gFormAkunBayarTitle = FrmAddControl(f, "Static", "Akun Pembayaran..", kLabel, 0, 60, 6, 330, 28,
                                      gFormAkunBayarTitleId, FORMAKUNBAYAR_CtlSubclassProc, kTitleFont);
  gFormAkunBayarSubtitle = FrmAddControl(f, "Static", "Detail record data tentang Akun Penerimaan Pembayaran..",
                                         kLabel, 0, 60, 36, 335, 18, gFormAkunBayarSubtitleId,
                                         FORMAKUNBAYAR_CtlSubclassProc, kLabelFont);
  CtlSetFocus(gFormAkunBayarReferensiCombo);
}

LResult FORMAKUNBAYAR_Init(Hwnd form, std::intptr_t) {
  // The fee list whose command opens the window is the current one now: what the window works on is taken from it.
  FrmWindowState st = TakeFromFeeList();
  st.rowClass = LvGetItemText(st.list, st.markedRow, 3);
  FrmKeepWindowState(form, st);
  FinExec(FinPostingAccountsSql(st.tapel), FORMAKUNBAYAR_OnRekeningRow);
  FinExec("Select Pembayaran From Account Where Tapel='" + SqlQ(st.tapel) + "' Group By Pembayaran",
          FORMAKUNBAYAR_OnPembayaranRow);
  CbAddString(gFormAkunBayarDeskripsiCombo, kFormAkunBayarNewName);
  if (st.editMode < 1)
    InitAdd();
  else
    InitEdit(st);
  return 0;
}

int FORMAKUNBAYAR_OnRekeningRow(void*, int columnCount, char** values, char**) {
  CbAddString(gFormAkunBayarReferensiCombo, FinCell(values, columnCount, 0) + " " + FinCell(values, columnCount, 1));
  return 0;
}

int FORMAKUNBAYAR_OnPembayaranRow(void*, int columnCount, char** values, char**) {
  CbAddString(gFormAkunBayarDeskripsiCombo, FinCell(values, columnCount, 0));
  return 0;
}

int FORMAKUNBAYAR_OnStudentRow(void*, int columnCount, char** values, char**) {
  gStudents.push_back(FinCell(values, columnCount, 0));
  return 0;
}

void FORMAKUNBAYAR_OnDeskripsiChange(Hwnd) {
  const std::string name = CtlGetText(gFormAkunBayarDeskripsiCombo);
  if (name == kFormAkunBayarNewName) {
    CtlSetText(gFormAkunBayarPembayaranEdit, "");
    CtlSetFocus(gFormAkunBayarPembayaranEdit);
  } else {
    CtlSetText(gFormAkunBayarPembayaranEdit, name);
  }
}

LResult FORMAKUNBAYAR_Save(Hwnd form) {
  if (StateOf(form).editMode < 1)
    SaveAdd(form);
  else
    SaveEdit(form);
  return 0;
}

LResult FORMAKUNBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormAkunBayar, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    if (id == gFormAkunBayarSimpanButtonId && code == BN_CLICKED) {
      FORMAKUNBAYAR_Save(hwnd);
      return 0;
    }
    if (id == gFormAkunBayarDeskripsiComboId && code == CBN_SELCHANGE) {
      FORMAKUNBAYAR_OnDeskripsiChange(hwnd);
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMAKUNBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
