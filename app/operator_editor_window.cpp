#include "app/operator_editor_window.h"

#include <QLabel>
#include <QWidget>
#include <string>
#include <utility>

#include "app/globals.h"
#include "common/globals.h"
#include "common/photos.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gFormAdminWindow = 0;
Hwnd gFormAdminHeader = 0, gFormAdminIcon = 0, gFormAdminTitle = 0, gFormAdminSubtitle = 0,
     gFormAdminPhotoButton = 0, gFormAdminPhoto = 0, gFormAdminNameLabel = 0, gFormAdminNameEdit = 0,
     gFormAdminAccessList = 0, gFormAdminSaveButton = 0;

int gFormAdminHeaderId = 1000, gFormAdminIconId = 1001, gFormAdminTitleId = 1002, gFormAdminSubtitleId = 1003,
    gFormAdminPhotoButtonId = 1004, gFormAdminPhotoId = 1005, gFormAdminNameLabelId = 1006,
    gFormAdminNameEditId = 1007, gFormAdminAccessListId = 1008, gFormAdminSaveButtonId = 1009;

void FORMADMIN_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormAdminHeaderId, &gFormAdminIconId, &gFormAdminTitleId, &gFormAdminSubtitleId,
                 &gFormAdminPhotoButtonId, &gFormAdminPhotoId, &gFormAdminNameLabelId, &gFormAdminNameEditId,
                 &gFormAdminAccessListId, &gFormAdminSaveButtonId})
    *g = id++;
}

// ----- what the editor computes ---------------------------------------------------------------------------------------
const char* const kAccessLabels[kAccessPositions] = {
    "Data Siswa",           "Data Rekening Keuangan", "Data Akun Pembayaran", "Transaksi Pembayaran",
    "Transaksi Bayar Per Kelas", "Transaksi Tabungan", "Transaksi Jurnal Kas", "Transaksi Jurnal Bank",
    "Laporan Keuangan",     "Laporan Pembayaran",     "Laporan Tunggakan",    "Laporan Tabungan",
};

std::string FORMADMIN_AccessCell(const std::string& akses, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= akses.size()) return std::string();
  return akses.substr(static_cast<std::size_t>(row), 1);
}

std::string FORMADMIN_ToggledCell(const std::string& cell) {
  if (cell == "1") return "0";
  if (cell == "0") return "1";
  return cell;
}

std::string FORMADMIN_PhotoFile(const std::string& name) {
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) return std::string();
  return "image/" + name + ".bmp";
}

bool FORMADMIN_CopyPhoto(const std::string& source, const std::string& name) {
  return FinReplacePhoto(source, FORMADMIN_PhotoFile(name));
}

std::string FORMADMIN_CountSql(const std::string& name) {
  return "Select count(*) From useradmin WHERE User='" + SqlQ(name) + "'";
}

std::string FORMADMIN_UpdateSql(const std::string& name, const std::string& akses) {
  return "Update useradmin set Akses='" + SqlQ(akses) + "' where user='" + SqlQ(name) + "'";
}

std::string FORMADMIN_InsertSql(const std::string& name, const std::string& akses) {
  return "Insert Into useradmin (User, Password, Akses) Values('" + SqlQ(name) + "','" + kDefaultPassword + "','" +
         SqlQ(akses) + "')";
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr std::uint32_t kLvsExBorderSelect = 0x8000;

constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";

FrmForm gFormAdmin = {.name = "FORMADMIN",
                      .wndProc = FORMADMIN_WndProc,
                      .window = &gFormAdminWindow,
                      .createControls = FORMADMIN_CreateControls,
                      .onCreate = FORMADMIN_OnLoad,
                      .caption = "User Admin",
                      .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                      .width = 645,
                      .height = 561};

constexpr std::uint32_t kStatic = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_CENTER;

void ShowPeopleIcon(Hwnd picture) {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(picture))) {
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(ResLoadImage("IMAGE_LOGINPEOPLE"));
  }
}

void CentrePicture(Hwnd picture) {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(picture))) label->setAlignment(Qt::AlignCenter);
}

std::string AccessOfList() {
  std::string akses;
  for (int row = 0; row < kAccessPositions; ++row) akses += LvGetItemText(gFormAdminAccessList, row, 2);
  return akses;
}

// What the operator list that opened the editor handed over.
FormAdminOwner gFrom;

}  // namespace

std::intptr_t FORMADMIN_Show(Hwnd owner, int modal, int userData, FormAdminOwner from) {
  gFrom = std::move(from);
  return FrmShowForm(gFormAdmin, owner, modal, userData);
}

void FORMADMIN_CreateControls(Hwnd form) {
  const FrmColors face = FrmColors::Face();
  gFormAdminHeader = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 630, 77,
                                   gFormAdminHeaderId, FORMADMIN_CtlSubclassProc, kSansSerif, "FL,FT,S,FT", face);
  gFormAdminIcon = FrmAddControl(form, "Static", "", kStatic | SS_ICON | SS_CENTERIMAGE, 0, 16, 16, 55, 50,
                                 gFormAdminIconId, FORMADMIN_CtlSubclassProc, "");
  ShowPeopleIcon(gFormAdminIcon);
  gFormAdminTitle = FrmAddControl(form, "Static", "User Admin", kStatic, 0, 80, 20, 446, 21, gFormAdminTitleId,
                                  FORMADMIN_CtlSubclassProc, "Arial,-21,0,0,0,700,0,0,0,0,3,2,1,34", "",
                                  FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  gFormAdminSubtitle = FrmAddControl(form, "Static", "Pengelolaan data user / operator aplikasi..", kStatic, 0, 90,
                                     50, 449, 25, gFormAdminSubtitleId, FORMADMIN_CtlSubclassProc, kSansSerif, "",
                                     FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
  gFormAdminPhotoButton = FrmAddControl(form, "Button", "Ganti Foto", kButton | WS_TABSTOP, 0, 8, 88, 159, 26,
                                        gFormAdminPhotoButtonId, FORMADMIN_CtlSubclassProc, kArial12);
  gFormAdminPhoto = FrmAddControl(form, "Static", "", kStatic | SS_BITMAP | SS_CENTERIMAGE, 0, 16, 120, 159, 199,
                                  gFormAdminPhotoId, FORMADMIN_CtlSubclassProc, "");
  CentrePicture(gFormAdminPhoto);
  gFormAdminNameLabel = FrmAddControl(form, "Static", "Nama User", kStatic, 0, 240, 88, 81, 19,
                                      gFormAdminNameLabelId, FORMADMIN_CtlSubclassProc, kArial12, "", face);
  gFormAdminNameEdit = FrmAddControl(form, "Edit", "",
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_LOWERCASE,
                                     WS_EX_CLIENTEDGE, 328, 88, 277, 20, gFormAdminNameEditId,
                                     FORMADMIN_CtlSubclassProc, kArial12);
  gFormAdminAccessList = FrmAddControl(form, "SysListView32", "",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                                       WS_EX_CLIENTEDGE, 239, 121, 369, 351, gFormAdminAccessListId,
                                       FORMADMIN_CtlSubclassProc, "Arial Unicode MS,9,0");
  LvSetExtendedStyle(gFormAdminAccessList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | kLvsExBorderSelect);
  LvSetColors(gFormAdminAccessList, WinRgb(0, 0, 0), WinRgb(255, 255, 255));
  CtlAddToolTip(gFormAdminAccessList, "Dobel klik untuk mengubahnya..", 0);
  gFormAdminSaveButton = FrmAddControl(form, "Button", "Simpan", kButton, 0, 448, 480, 161, 31,
                                       gFormAdminSaveButtonId, FORMADMIN_CtlSubclassProc, kArial12);
  CtlSetFocus(gFormAdminAccessList);
}

LResult FORMADMIN_OnLoad(Hwnd form, std::intptr_t) {
  const Hwnd list = gFormAdminAccessList;
  LvInsertColumn(list, 0, "No.", LVCFMT_CENTER, 40);
  LvInsertColumn(list, 1, "Username", LVCFMT_LEFT, 250);
  LvInsertColumn(list, 2, "Akses", LVCFMT_CENTER, 50);

  // The photo chosen for another operator, or in the student window, is not this operator's.
  gPhotoPath.clear();
  std::string akses;
  if (gEditMode >= 1) {
    const std::string name = gFrom.name;
    akses = gFrom.akses;
    const std::string photo = FORMADMIN_PhotoFile(name);
    if (!photo.empty()) CtlSetBitmapFile(gFormAdminPhoto, photo);   // a missing file shows nothing
    CtlSetText(gFormAdminNameEdit, name);
  }
  for (int row = 0; row < kAccessPositions; ++row) {
    const int r = LvInsertItem(list, row, 0, std::to_string(row + 1), 0, 0);
    LvInsertItem(list, r, 1, kAccessLabels[row], 0, 0);
    LvInsertItem(list, r, 2, gEditMode >= 1 ? FORMADMIN_AccessCell(akses, row) : "1", 0, 0);
  }
  return 0;
}

LResult FORMADMIN_ToggleAccess(Hwnd list) {
  const int mark = LvGetSelectionMark(list);
  if (mark < 0 || mark >= LvGetItemCount(list)) return 0;
  const std::string cell = LvGetItemText(list, mark, 2);
  const std::string toggled = FORMADMIN_ToggledCell(cell);
  if (toggled != cell) LvSetItemText(list, mark, 2, toggled);
  return 0;
}

LResult FORMADMIN_ChoosePhoto(Hwnd form) {
  std::string folder;   // the current folder
  std::string filter = "Bitmap files (*.bmp)|*.bmp|All Files (*.*)|*.*";
  if (DlgOpenFile(form, "Select Bitmap File", gPhotoPath, folder, filter, "bmp", OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR,
                  0))
    CtlSetBitmapFile(gFormAdminPhoto, gPhotoPath);   // copied only when the operator is saved
  return 0;
}

LResult FORMADMIN_Save(Hwnd form) {
  const std::string name = CtlGetText(gFormAdminNameEdit);
  const std::string akses = AccessOfList();
  // The count decides between an update and a new operator, so it is made inside the write's transaction: counted
  // before it, another program on the file could add the same operator in between, and the name would stand twice.
  enum class Outcome { kNotWritten, kMissing, kWritten } outcome = Outcome::kNotWritten;
  {
    FinTransaction tx;
    gSqlResult.clear();
    // When the count itself fails (its box shown), nothing is written: neither an update nor a possible duplicate.
    if (tx.active() && FinExec(FORMADMIN_CountSql(name), FinCbSingleValue) == 0) {
      const long long count = RoundHalfEven(Val(gSqlResult));
      // Rights cells that hold nothing (the editor opened to edit without a chosen operator) are never written over
      // an operator: an empty access string would lock that operator, the super user included, out of the program.
      if (akses.empty() || (count < 1 && name.empty())) {
        outcome = Outcome::kMissing;
      } else {
        gSql = count >= 1 ? FORMADMIN_UpdateSql(name, akses) : FORMADMIN_InsertSql(name, akses);
        if (FinExec(gSql) == 0 && tx.commit()) outcome = Outcome::kWritten;
      }
    }
  }   // the refusal and the success are told once the transaction has ended
  if (outcome == Outcome::kMissing) MsgBox(kFormAdminMissing, kFormAdminCaption, MB_OK | MB_ICONINFORMATION);
  if (outcome == Outcome::kWritten) {
    FORMADMIN_CopyPhoto(gPhotoPath, name);
    MsgBox(kFormAdminSaved, kFormAdminCaption, MB_OK | MB_ICONINFORMATION);
  }
  gPhotoPath.clear();   // the chosen photo belonged to this operator only
  if (gFrom.reload) gFrom.reload();
  FrmClose(form, 0);
  return 0;
}

LResult FORMADMIN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormAdmin, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    LResult h = 0;
    if (id == gFormAdminSaveButtonId)
      h = FORMADMIN_Save(hwnd);
    else if (id == gFormAdminPhotoButtonId)
      h = FORMADMIN_ChoosePhoto(hwnd);
    if (h) return h;
  }
  // Item changes of the access list (WM_NOTIFY) are not used.
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMADMIN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_LBUTTONUP && hwnd == gFormAdminAccessList)
    if (LResult r = FORMADMIN_ToggleAccess(hwnd)) return r;
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
