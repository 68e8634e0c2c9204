#include "payments/payment_window.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QSize>
#include <string>
#include <vector>

#include "common/amounts.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/receipt_settings_window.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "payments/arrears_window.h"
#include "payments/payment_revision_window.h"
#include "payments/payment_save.h"
#include "payments/receipt_print.h"
#include "students/student_pickers.h"

Hwnd gFormBayarCopy2WACheck = 0, gFormBayarGearButton = 0, gFormBayarArchiveCheck = 0, gFormBayarPaymentCombo = 0,
     gFormBayarPrintButton = 0, gFormBayarWordsLabel = 0, gFormBayarRemoveButton = 0, gFormBayarIdHintLabel = 0,
     gFormBayarPhoto = 0, gFormBayarKategoriEdit = 0, gFormBayarSaveButton = 0, gFormBayarAmountDisplay = 0,
     gFormBayarPaidEdit = 0, gFormBayarChangeEdit = 0, gFormBayarNetEdit = 0, gFormBayarTotalEdit = 0,
     gFormBayarDiscountEdit = 0, gFormBayarTotalLabel = 0, gFormBayarChangeLabel = 0, gFormBayarTotalsFrame = 0,
     gFormBayarPaidLabel = 0, gFormBayarDiscountLabel = 0, gFormBayarNetLabel = 0, gFormBayarPickerButton = 0,
     gFormBayarRevisiButton = 0, gFormBayarSavingsCheck = 0, gFormBayarArrearsButton = 0,
     gFormBayarSavingsBalanceEdit = 0, gFormBayarSavingsLeftLabel = 0, gFormBayarSavingsBalanceLabel = 0,
     gFormBayarItemList = 0, gFormBayarSavingsFrame = 0, gFormBayarSavingsLeftEdit = 0, gFormBayarKelasEdit = 0,
     gFormBayarKelasLabel = 0, gFormBayarNamaEdit = 0, gFormBayarStudentFrame = 0, gFormBayarIdLabel = 0,
     gFormBayarNamaLabel = 0, gFormBayarSubtitleLabel = 0, gFormBayarHeaderIcon = 0, gFormBayarHeaderFrame = 0,
     gFormBayarTitleLabel = 0;

int gFormBayarCopy2WACheckId = 1000, gFormBayarGearButtonId = 1001, gFormBayarArchiveCheckId = 1002,
    gFormBayarPaymentComboId = 1003, gFormBayarPrintButtonId = 1004, gFormBayarWordsLabelId = 1005,
    gFormBayarRemoveButtonId = 1006, gFormBayarIdHintLabelId = 1007, gFormBayarPrintChoiceComboId = 1008,
    gFormBayarIdEditId = 1009, gFormBayarPhotoId = 1010, gFormBayarKategoriEditId = 1011,
    gFormBayarSaveButtonId = 1012, gFormBayarAmountDisplayId = 1013, gFormBayarPaidEditId = 1014,
    gFormBayarChangeEditId = 1015, gFormBayarNetEditId = 1016, gFormBayarTotalEditId = 1017,
    gFormBayarDiscountEditId = 1018, gFormBayarTotalLabelId = 1019, gFormBayarChangeLabelId = 1020,
    gFormBayarTotalsFrameId = 1021, gFormBayarPaidLabelId = 1022, gFormBayarDiscountLabelId = 1023,
    gFormBayarNetLabelId = 1024, gFormBayarPickerButtonId = 1025, gFormBayarRevisiButtonId = 1026,
    gFormBayarSavingsCheckId = 1027, gFormBayarArrearsButtonId = 1028, gFormBayarSavingsBalanceEditId = 1029,
    gFormBayarSavingsLeftLabelId = 1030, gFormBayarSavingsBalanceLabelId = 1031, gFormBayarItemListId = 1032,
    gFormBayarSavingsFrameId = 1033, gFormBayarSavingsLeftEditId = 1034, gFormBayarKelasEditId = 1035,
    gFormBayarKelasLabelId = 1036, gFormBayarNamaEditId = 1037, gFormBayarStudentFrameId = 1038,
    gFormBayarIdLabelId = 1039, gFormBayarNamaLabelId = 1040, gFormBayarSubtitleLabelId = 1041,
    gFormBayarHeaderIconId = 1042, gFormBayarHeaderFrameId = 1043, gFormBayarTitleLabelId = 1044;

const char* const kFormBayarPrintChoices[6] = {"Cetak Struk Lebar 7,9 Cm",    "Cetak Struk Lebar 7,6 Cm",
                                               "Cetak Struk 9.5 x 5.5 Inc 1", "Cetak Struk 9.5 x 5.5 Inc 2",
                                               "Cetak Ke Buku",               "Tanpa Cetak"};

namespace {

int* const kIds[] = {
    &gFormBayarCopy2WACheckId,     &gFormBayarGearButtonId,      &gFormBayarArchiveCheckId,
    &gFormBayarPaymentComboId,     &gFormBayarPrintButtonId,     &gFormBayarWordsLabelId,
    &gFormBayarRemoveButtonId,     &gFormBayarIdHintLabelId,     &gFormBayarPrintChoiceComboId,
    &gFormBayarIdEditId,           &gFormBayarPhotoId,           &gFormBayarKategoriEditId,
    &gFormBayarSaveButtonId,       &gFormBayarAmountDisplayId,   &gFormBayarPaidEditId,
    &gFormBayarChangeEditId,       &gFormBayarNetEditId,         &gFormBayarTotalEditId,
    &gFormBayarDiscountEditId,     &gFormBayarTotalLabelId,      &gFormBayarChangeLabelId,
    &gFormBayarTotalsFrameId,      &gFormBayarPaidLabelId,       &gFormBayarDiscountLabelId,
    &gFormBayarNetLabelId,         &gFormBayarPickerButtonId,    &gFormBayarRevisiButtonId,
    &gFormBayarSavingsCheckId,     &gFormBayarArrearsButtonId,   &gFormBayarSavingsBalanceEditId,
    &gFormBayarSavingsLeftLabelId, &gFormBayarSavingsBalanceLabelId, &gFormBayarItemListId,
    &gFormBayarSavingsFrameId,     &gFormBayarSavingsLeftEditId, &gFormBayarKelasEditId,
    &gFormBayarKelasLabelId,       &gFormBayarNamaEditId,        &gFormBayarStudentFrameId,
    &gFormBayarIdLabelId,          &gFormBayarNamaLabelId,       &gFormBayarSubtitleLabelId,
    &gFormBayarHeaderIconId,       &gFormBayarHeaderFrameId,     &gFormBayarTitleLabelId,
};

Hwnd* const kControls[] = {
    &gFormBayarCopy2WACheck,     &gFormBayarGearButton,      &gFormBayarArchiveCheck,
    &gFormBayarPaymentCombo,     &gFormBayarPrintButton,     &gFormBayarWordsLabel,
    &gFormBayarRemoveButton,     &gFormBayarIdHintLabel,     &gFormBayarPrintChoiceCombo,
    &gFormBayarIdEdit,           &gFormBayarPhoto,           &gFormBayarKategoriEdit,
    &gFormBayarSaveButton,       &gFormBayarAmountDisplay,   &gFormBayarPaidEdit,
    &gFormBayarChangeEdit,       &gFormBayarNetEdit,         &gFormBayarTotalEdit,
    &gFormBayarDiscountEdit,     &gFormBayarTotalLabel,      &gFormBayarChangeLabel,
    &gFormBayarTotalsFrame,      &gFormBayarPaidLabel,       &gFormBayarDiscountLabel,
    &gFormBayarNetLabel,         &gFormBayarPickerButton,    &gFormBayarRevisiButton,
    &gFormBayarSavingsCheck,     &gFormBayarArrearsButton,   &gFormBayarSavingsBalanceEdit,
    &gFormBayarSavingsLeftLabel, &gFormBayarSavingsBalanceLabel, &gFormBayarItemList,
    &gFormBayarSavingsFrame,     &gFormBayarSavingsLeftEdit, &gFormBayarKelasEdit,
    &gFormBayarKelasLabel,       &gFormBayarNamaEdit,        &gFormBayarStudentFrame,
    &gFormBayarIdLabel,          &gFormBayarNamaLabel,       &gFormBayarSubtitleLabel,
    &gFormBayarHeaderIcon,       &gFormBayarHeaderFrame,     &gFormBayarTitleLabel,
};

constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr const char* kBold = "Arial Unicode MS,9,1";
constexpr const char* kWordsFont = "MS Sans Serif,-11,0,0,0,700,0,0,0,0,1,2,1,34";
constexpr const char* kDisplayFont = "Arial,-37,0,0,0,700,0,0,0,0,3,2,1,34";
constexpr const char* kTitleFont = "Arial,-21,0,0,0,700,0,0,0,0,3,2,1,34";

constexpr std::uint32_t kVisible = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;

void OnDestroy(Hwnd form);

FrmForm gFormBayar = {.name = "FORMBAYAR",
                      .wndProc = FORMBAYAR_WndProc,
                      .window = &gFormBayarWindow,
                      .createControls = FORMBAYAR_CreateControls,
                      .onCreate = FORMBAYAR_Init,
                      .onDestroy = OnDestroy,
                      .caption = "Pembayaran Siswa",
                      .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                      .width = 1010,
                      .height = 539};

void OnDestroy(Hwnd) {
  if (gFormBayarLoadStudentHook == FORMBAYAR_LoadStudent) gFormBayarLoadStudentHook = nullptr;
  for (Hwnd* h : kControls) *h = 0;
}

Hwnd Add(Hwnd form, const char* cls, const std::string& text, std::uint32_t style, std::uint32_t exStyle, int x,
         int y, int w, int h, int id, const char* font, const std::string& rule = "", FrmColors colors = {},
         int selectAll = 0) {
  return FrmAddControl(form, cls, text, style, exStyle, x, y, w, h, id, FORMBAYAR_CtlSubclassProc, font, rule,
                       colors, selectAll);
}

Hwnd AddIconButton(Hwnd form, const char* icon, std::uint32_t kind, int x, int y, int w, int h, int id, int iconSize) {
  const Hwnd b = Add(form, "Button", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | kind, 0, x, y, w, h, id,
                     kFont);
  if (auto* p = qobject_cast<QPushButton*>(WinWidget(b))) {
    p->setIcon(ResLoadIcon(icon));
    p->setIconSize(QSize(iconSize, iconSize));
  }
  return b;
}

// A frame drawn around other controls: under them and no target for the mouse.
Hwnd AddFrame(Hwnd form, const std::string& caption, int x, int y, int w, int h, int id, const std::string& rule = "") {
  const Hwnd g = Add(form, "Button", caption, kVisible | BS_GROUPBOX, 0, x, y, w, h, id, kFont, rule);
  if (QWidget* wd = WinWidget(g)) {
    wd->setAttribute(Qt::WA_TransparentForMouseEvents);
    wd->lower();
  }
  return g;
}

Hwnd AddLabel(Hwnd form, const std::string& text, int x, int y, int w, int h, int id, const char* font = kFont,
              FrmColors colors = {}) {
  return Add(form, "Static", text, kVisible | SS_LEFT, 0, x, y, w, h, id, font, "", colors);
}

void SetDisplayColours(long long change) {
  CtlSetColors(gFormBayarAmountDisplay, static_cast<int>(WinRgb(0, 64, 128)),
               static_cast<int>(change <= 0 ? WinRgb(0, 255, 128) : WinRgb(255, 255, 0)));
}

// The call points of the windows opened from here.
void OpenReceiptSettings(Hwnd form) { FORM23_Show(form, 1, 0, FORMBAYAR_ReceiptLayoutList()); }
void OpenStudentPicker(Hwnd form) { FORMCRSISWA_Show(form, 1, 0, FORMBAYAR_StudentHandover()); }

// The arrears window puts the items in; while the payment shown is saved it stays as saved.
void OpenArrearsWindow(Hwnd form) {
  if (gPaymentSaved > 0) return;
  FORMTUNGGAKAN_Show(form, 1, 0);
}

void OpenRevisionWindow(Hwnd form) {
  gEditMode = 0;
  FORMREVISI_Show(form, 1, 0);
}

void PrintPayment(Hwnd form, Hwnd control, int id) {
  if (gPaymentSaved <= 0) return;
  FORMBAYAR_PrintPayment(FrmIndexOf(control), form, control, id);
}

void ToggleSavingsByKey() {
  if (gPaymentSaved > 0) return;
  BtnSetChecked(gFormBayarSavingsCheck, ChkIsChecked(gFormBayarSavingsCheck) ? 0 : 1);
  FORMBAYAR_OnPaidChange();   // the cash stays; what the savings cover and the change follow
}

}  // namespace

void FORMBAYAR_InitControlIds() {
  int id = 1000;
  for (int* g : kIds) *g = id++;
}

// ----- what the window computes --------------------------------------------------------------------------------------
std::string FORMBAYAR_Words(long long amount) {
  const long long size = amount < 0 ? -amount : amount;
  if (size >= 1000000000LL) return "";
  const std::string words = FinSpellNumber(static_cast<std::int32_t>(size));
  return amount < 0 ? " minus" + words : words;
}

long long FORMBAYAR_DisplayAmount(long long paid, long long change) { return change <= 0 ? paid : change; }

long long FORMBAYAR_ItemsTotal() {
  long long total = 0;
  const int n = LvGetItemCount(gFormBayarItemList);
  for (int r = 0; r < n; ++r) total += PayAmount(LvGetItemText(gFormBayarItemList, r, kFormBayarColJumlah));
  return total;
}

std::string FORMBAYAR_StudentSql(const std::string& id, const std::string& tapel) {
  return "select siswakelas.IdSiswa, siswa.Nama, siswakelas.Kelas, siswakelas.Kategori from siswakelas JOIN siswa "
         "ON siswakelas.IdSiswa=siswa.Id WHERE siswakelas.IdSiswa='" +
         SqlQ(id) + "' and siswakelas.Tapel='" + SqlQ(tapel) + "'";
}

std::string FORMBAYAR_SavingsBalanceSql(const std::string& id) {
  return "select Sum(Masuk-Keluar) as n from transaksi where AcctID='Tabungan' and SiswaID='" + SqlQ(id) + "'";
}

std::string FORMBAYAR_BankAccountsSql(const std::string& tapel) {
  return "Select Kode, Deskripsi From rekening Where Grup='Bms' and substr(kode,-1)<>'0' and Tapel='" + SqlQ(tapel) +
         "'";
}

// ----- the window ------------------------------------------------------------------------------------------------
std::intptr_t FORMBAYAR_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gFormBayar, parent, modal, userData);
}

void FORMBAYAR_CreateControls(Hwnd f) {
  const FrmColors window = FrmColors::Window();
  gFormBayarCopy2WACheck = Add(f, "Button", "Copy2WA", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 816,
                               222, 90, 22, gFormBayarCopy2WACheckId, kFont);
  gFormBayarGearButton = AddIconButton(f, "IMAGE_GEAR", BS_ICON, 940, 262, 34, 34, gFormBayarGearButtonId, 24);
  gFormBayarArchiveCheck = Add(f, "Button", "Arsip", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 910,
                               222, 90, 22, gFormBayarArchiveCheckId, kFont);
  gFormBayarPaymentCombo = Add(f, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               0, 816, 160, 186, 200, gFormBayarPaymentComboId, kFont);
  CtlAddToolTip(gFormBayarPaymentCombo, "Pilihan Pembayaran", 0);
  gFormBayarPrintButton = AddIconButton(f, "IMAGE_PRINTER", BS_ICON, 878, 250, 56, 56, gFormBayarPrintButtonId, 48);
  CtlAddToolTip(gFormBayarPrintButton, "Cetak Pembayaran", 0);
  gFormBayarWordsLabel = Add(f, "Static", "0", kVisible | SS_LEFT | SS_SUNKEN, 0, 508, 120, 494, 36,
                             gFormBayarWordsLabelId, kWordsFont);
  gFormBayarRemoveButton =
      AddIconButton(f, "IMAGE_CLOSEBUTTON4", BS_BITMAP, 972, 356, 30, 30, gFormBayarRemoveButtonId, 22);
  CtlAddToolTip(gFormBayarRemoveButton, "Remove Item Pembayaran", 0);
  gFormBayarIdHintLabel = AddLabel(f, "<= Scan/Ketik Id disini", 218, 82, 130, 18, gFormBayarIdHintLabelId);
  gFormBayarPrintChoiceCombo = Add(f, "ComboBox", "",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 816, 190,
                                   186, 200, gFormBayarPrintChoiceComboId, kFont);
  CtlAddToolTip(gFormBayarPrintChoiceCombo, "Pilihan Cetak", 0);
  gFormBayarIdEdit = Add(f, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 62, 78, 150, 24, gFormBayarIdEditId, kBold, "",
                         window, 1);
  CtlAddToolTip(gFormBayarIdEdit, "Ketik / Scan Id/No. Induk/NISN disini", 0);
  gFormBayarPhoto = Add(f, "Static", "", kVisible | SS_BITMAP | SS_SUNKEN, 0, 356, 76, 130, 150, gFormBayarPhotoId,
                        kFont);
  gFormBayarKategoriEdit = Add(f, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 198, 138, 134, 24, gFormBayarKategoriEditId,
                               kFont, "", window, 1);
  gFormBayarSaveButton = AddIconButton(f, "IMAGE_DISK_BLUE", BS_ICON, 816, 250, 56, 56, gFormBayarSaveButtonId, 48);
  CtlAddToolTip(gFormBayarSaveButton, "Simpan Pembayaran", 0);
  // The computed amounts are shown, not typed: only the id, "Potongan" and "Dibayar Tunai" take the keyboard.
  gFormBayarAmountDisplay = Add(f, "Edit", "", kEdit | ES_NUMBER | ES_RIGHT | ES_READONLY, WS_EX_CLIENTEDGE, 508, 60,
                                494, 56, gFormBayarAmountDisplayId, kDisplayFont, "",
                                {1, 0, 0, WinRgb(0, 64, 128), WinRgb(255, 255, 0), -1});
  gFormBayarPaidEdit = Add(f, "Edit", "", kEdit | ES_NUMBER | ES_RIGHT, WS_EX_CLIENTEDGE, 672, 270, 126, 24,
                           gFormBayarPaidEditId, kBold, "", window, 1);
  FinLimitAmountEdit(gFormBayarPaidEdit);
  gFormBayarChangeEdit = Add(f, "Edit", "", kEdit | ES_RIGHT | ES_READONLY, WS_EX_CLIENTEDGE, 672, 302, 126, 24,
                             gFormBayarChangeEditId, kFont, "", window);
  gFormBayarNetEdit = Add(f, "Edit", "", kEdit | ES_RIGHT | ES_READONLY, WS_EX_CLIENTEDGE, 672, 238, 126, 24,
                          gFormBayarNetEditId, kFont, "", window);
  gFormBayarTotalEdit = Add(f, "Edit", "", kEdit | ES_RIGHT | ES_READONLY, WS_EX_CLIENTEDGE, 672, 174, 126, 24,
                            gFormBayarTotalEditId, kBold, "", window);
  gFormBayarDiscountEdit = Add(f, "Edit", "", kEdit | ES_NUMBER | ES_RIGHT, WS_EX_CLIENTEDGE, 672, 206, 126, 24,
                               gFormBayarDiscountEditId, kFont, "", window, 1);
  FinLimitAmountEdit(gFormBayarDiscountEdit);
  gFormBayarTotalLabel = AddLabel(f, "Total", 518, 178, 150, 18, gFormBayarTotalLabelId);
  gFormBayarChangeLabel = AddLabel(f, "Kembali", 518, 306, 150, 18, gFormBayarChangeLabelId);
  gFormBayarTotalsFrame = AddFrame(f, "", 508, 160, 300, 180, gFormBayarTotalsFrameId);
  gFormBayarPaidLabel = AddLabel(f, "Dibayar Tunai", 518, 274, 150, 18, gFormBayarPaidLabelId);
  gFormBayarDiscountLabel = AddLabel(f, "Potongan", 518, 210, 150, 18, gFormBayarDiscountLabelId);
  gFormBayarNetLabel = AddLabel(f, "Total setelah potongan", 518, 242, 150, 18, gFormBayarNetLabelId);
  gFormBayarPickerButton = AddIconButton(f, "IMAGE_CUSTOMERS", BS_ICON, 62, 172, 56, 56, gFormBayarPickerButtonId, 48);
  CtlAddToolTip(gFormBayarPickerButton, "Panggil Id Siswa yang berada dalam daftar siswa.", 0);
  gFormBayarRevisiButton = Add(f, "Button", "REVISI PEMBAYARAN [F11]", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 258, 322,
                               242, 28, gFormBayarRevisiButtonId, kBold);
  CtlAddToolTip(gFormBayarRevisiButton, "Perbaikan transaksi apabila ditemukan kesalahan catat dalam transaksi", 0);
  gFormBayarSavingsCheck = Add(f, "Button", "Ambil Tabungan [F3]", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                               0, 18, 278, 150, 22, gFormBayarSavingsCheckId, kFont);
  gFormBayarArrearsButton = Add(f, "Button", "TAGIHAN TUNGGAKAN [F9]", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 8, 322,
                                240, 28, gFormBayarArrearsButtonId, kBold);
  CtlAddToolTip(gFormBayarArrearsButton, "Form Tagihan pembayaran yang tertunggak", 0);
  gFormBayarSavingsBalanceEdit = Add(f, "Edit", "", kEdit | ES_NUMBER | ES_RIGHT | ES_READONLY, WS_EX_CLIENTEDGE, 176,
                                     280, 150, 24, gFormBayarSavingsBalanceEditId, kBold, "", window);
  gFormBayarSavingsLeftLabel = AddLabel(f, "Saldo Sekarang", 336, 260, 150, 18, gFormBayarSavingsLeftLabelId);
  gFormBayarSavingsBalanceLabel = AddLabel(f, "Saldo Tabungan", 176, 260, 150, 18, gFormBayarSavingsBalanceLabelId);
  gFormBayarItemList = Add(f, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                           WS_EX_CLIENTEDGE, 8, 356, 960, 122, gFormBayarItemListId, kFont);
  LvSetExtendedStyle(gFormBayarItemList, LVS_EX_FULLROWSELECT);
  LvSetColors(gFormBayarItemList, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  gFormBayarSavingsFrame = AddFrame(f, "Tabungan", 8, 242, 492, 74, gFormBayarSavingsFrameId);
  gFormBayarSavingsLeftEdit = Add(f, "Edit", "", kEdit | ES_NUMBER | ES_RIGHT | ES_READONLY, WS_EX_CLIENTEDGE, 336,
                                  280, 150, 24, gFormBayarSavingsLeftEditId, kFont, "", window);
  gFormBayarKelasEdit = Add(f, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 62, 138, 130, 24, gFormBayarKelasEditId, kFont, "",
                            window, 1);
  gFormBayarKelasLabel = AddLabel(f, "Kelas", 18, 142, 40, 18, gFormBayarKelasLabelId);
  gFormBayarNamaEdit = Add(f, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 62, 108, 270, 24, gFormBayarNamaEditId, kBold, "",
                           window, 1);
  gFormBayarStudentFrame = AddFrame(f, "Siswa", 8, 60, 492, 178, gFormBayarStudentFrameId);
  gFormBayarIdLabel = AddLabel(f, "Id", 18, 82, 40, 18, gFormBayarIdLabelId);
  gFormBayarNamaLabel = AddLabel(f, "Nama", 18, 112, 40, 18, gFormBayarNamaLabelId);
  gFormBayarSubtitleLabel = AddLabel(f, "Penerimaan Pembayaran Siswa mulai tingkat SD, SMP, SMA..", 60, 34, 500, 18,
                                     gFormBayarSubtitleLabelId, kFont, FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
  gFormBayarHeaderIcon = Add(f, "Static", "", kVisible | SS_ICON | SS_CENTERIMAGE, 0, 10, 6, 44, 44,
                             gFormBayarHeaderIconId, "");
  if (auto* l = qobject_cast<QLabel*>(WinWidget(gFormBayarHeaderIcon)))
    l->setPixmap(ResLoadImage("IMAGE_DOLLAR", l->width(), l->height()));
  gFormBayarHeaderFrame = AddFrame(f, "", 0, 0, 1002, 56, gFormBayarHeaderFrameId, "FL,FT,S,FT");
  gFormBayarTitleLabel = AddLabel(f, "Pembayaran Siswa", 60, 6, 300, 26, gFormBayarTitleLabelId, kTitleFont,
                                  FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  CtlSetFocus(gFormBayarIdEdit);
}

LResult FORMBAYAR_Init(Hwnd form, std::intptr_t) {
  gFormBayarLoadStudentHook = FORMBAYAR_LoadStudent;
  gPaymentSaved = 0;

  HMenu bar = WinCreateMenu();
  HMenu fungsi = WinCreatePopupMenu();
  WinAppendMenu(fungsi, MF_STRING, IDM_FORMBAYAR_SETTING_STRUK, "Setting Struk\tF8");
  WinAppendMenu(fungsi, MF_STRING, IDM_FORMBAYAR_TUNGGAKAN, "Tagihan Tunggakan\tF9");
  WinAppendMenu(fungsi, MF_STRING, IDM_FORMBAYAR_REVISI, "Revisi\tF11");
  WinAppendMenu(fungsi, MF_STRING, IDM_FORMBAYAR_SIMPAN, "Simpan\tF12");
  WinAppendMenu(fungsi, MF_STRING, IDM_FORMBAYAR_BROWSE_SISWA, "Browse Siswa\tF1");
  WinAppendMenu(fungsi, MF_STRING, IDM_FORMBAYAR_TABUNGAN, "Tabungan\tF3");
  WinAppendMenu(bar, MF_POPUP, static_cast<std::uintptr_t>(fungsi), "Fungsi Aksi");
  WinSetMenu(form, bar);
  const WinAccel keys[] = {
      {FVIRTKEY, VK_F8, IDM_FORMBAYAR_SETTING_STRUK}, {FVIRTKEY, VK_F9, IDM_FORMBAYAR_TUNGGAKAN},
      {FVIRTKEY, VK_F11, IDM_FORMBAYAR_REVISI},       {FVIRTKEY, VK_F12, IDM_FORMBAYAR_SIMPAN},
      {FVIRTKEY, VK_F1, IDM_FORMBAYAR_BROWSE_SISWA},  {FVIRTKEY, VK_F3, IDM_FORMBAYAR_TABUNGAN},
  };
  if (WindowData* d = FrmDataOf(form)) d->accel = WinCreateAcceleratorTable(keys, 6);

  LvInsertColumn(gFormBayarItemList, kFormBayarColNomer, "Nomer", LVCFMT_CENTER, 50);
  LvInsertColumn(gFormBayarItemList, kFormBayarColKode, "Kode", LVCFMT_CENTER, 150);
  LvInsertColumn(gFormBayarItemList, kFormBayarColNama, "Akun Pembayaran", LVCFMT_LEFT, 250);
  LvInsertColumn(gFormBayarItemList, kFormBayarColJumlah, "Jumlah", LVCFMT_RIGHT, 100);
  LvInsertColumn(gFormBayarItemList, kFormBayarColRef, "Ref", LVCFMT_RIGHT, 0);
  LvInsertColumn(gFormBayarItemList, kFormBayarColType, "Type", LVCFMT_RIGHT, 0);

  for (int i = 0; i < 6; ++i) CbSetItemData(gFormBayarPrintChoiceCombo, CbAddString(gFormBayarPrintChoiceCombo,
                                                                                     kFormBayarPrintChoices[i]), i);
  CbSetCurSel(gFormBayarPrintChoiceCombo, gStrukDefaultType);

  CbAddString(gFormBayarPaymentCombo, "CASH");
  FinExec(FORMBAYAR_BankAccountsSql(gTapel), [](void*, int n, char** v, char**) {
    CbAddString(gFormBayarPaymentCombo, FinCell(v, n, 0) + " " + FinCell(v, n, 1));
    return 0;
  });
  CbSetCurSel(gFormBayarPaymentCombo, 0);

  // Nothing to save or print until a student is loaded.
  CtlDisable(gFormBayarSaveButton);
  CtlDisable(gFormBayarPrintButton);
  return 0;
}

// ----- loading ---------------------------------------------------------------------------------------------------
namespace {
bool gStudentFound = false;
}

int FORMBAYAR_OnStudentRow(void*, int columnCount, char** values, char**) {
  gStudentFound = true;
  CtlSetText(gFormBayarNamaEdit, FinCell(values, columnCount, 1));
  CtlSetText(gFormBayarKelasEdit, FinCell(values, columnCount, 2));
  CtlSetText(gFormBayarKategoriEdit, FinCell(values, columnCount, 3));
  CtlSetBitmapFile(gFormBayarPhoto, "image/" + CtlGetText(gFormBayarIdEdit) + ".bmp");
  FORMBAYAR_LoadSavingsBalance();
  CtlEnable(gFormBayarSaveButton);
  gPaymentSaved = 0;
  return 0;
}

std::function<void(const std::string& id)> FORMBAYAR_StudentHandover() {
  return [](const std::string& id) {
    CtlSetText(gFormBayarIdEdit, id);
    if (gFormBayarLoadStudentHook) gFormBayarLoadStudentHook(0, gFormBayarWindow, gFormBayarIdEdit, 0);
  };
}

Form23LayoutList FORMBAYAR_ReceiptLayoutList() {
  Form23LayoutList list;
  for (int i = 0, n = CbGetCount(gFormBayarPrintChoiceCombo); i < n; ++i)
    list.entries.push_back(CbGetItemText(gFormBayarPrintChoiceCombo, i));
  list.choose = [](int index) { CbSetCurSel(gFormBayarPrintChoiceCombo, index); };
  return list;
}

LResult FORMBAYAR_LoadStudent(int, Hwnd, Hwnd, int) {
  if (!IsWindow(gFormBayarWindow)) return 0;
  const std::string id = CtlGetText(gFormBayarIdEdit);
  LvDeleteAllItems(gFormBayarItemList);
  CtlSetText(gFormBayarNamaEdit, "");
  CtlSetText(gFormBayarKelasEdit, "");
  CtlSetText(gFormBayarKategoriEdit, "");
  // A new payment starts: whatever was saved before is no longer what the window shows.
  gPaymentSaved = 0;
  CtlDisable(gFormBayarPrintButton);
  for (Hwnd h : {gFormBayarDiscountEdit, gFormBayarPaidEdit, gFormBayarSavingsCheck}) CtlEnable(h);
  // The savings of one student are never taken for the next one unasked.
  BtnSetChecked(gFormBayarSavingsCheck, 0);
  gStudentFound = false;
  FinExec(FORMBAYAR_StudentSql(id, gTapel), FORMBAYAR_OnStudentRow);
  if (!gStudentFound) {
    // No student of this year: nothing of another student stays on show, and nothing can be saved for the id.
    if (auto* l = qobject_cast<QLabel*>(WinWidget(gFormBayarPhoto))) l->setPixmap(QPixmap());
    CtlSetText(gFormBayarSavingsBalanceEdit, "0");
    CtlDisable(gFormBayarSaveButton);
  }
  CtlSetText(gFormBayarTotalEdit, "0");
  CtlSetText(gFormBayarDiscountEdit, "0");
  CtlSetText(gFormBayarNetEdit, "0");
  CtlSetText(gFormBayarPaidEdit, "0");
  CtlSetText(gFormBayarChangeEdit, "0");
  CtlSetText(gFormBayarAmountDisplay, "0");
  return 0;
}

bool FORMBAYAR_StoredSavingsBalance(const std::string& studentId, long long* balance) {
  gSqlResult = "";
  if (FinExec(FORMBAYAR_SavingsBalanceSql(studentId), FinCbSingleValue) != 0) return false;
  *balance = PayAmount(gSqlResult);
  return true;
}

void FORMBAYAR_LoadSavingsBalance() {
  long long balance = 0;
  if (!FORMBAYAR_StoredSavingsBalance(CtlGetText(gFormBayarIdEdit), &balance)) return;
  CtlSetText(gFormBayarSavingsBalanceEdit, std::to_string(balance));
}

// ----- the amounts -----------------------------------------------------------------------------------------------
LResult FORMBAYAR_OnDiscountChange(int, Hwnd, Hwnd, int) {
  const long long net =
      PayNet(PayAmount(CtlGetText(gFormBayarTotalEdit)), PayAmount(CtlGetText(gFormBayarDiscountEdit)));
  CtlSetText(gFormBayarNetEdit, std::to_string(net));
  CtlSetText(gFormBayarPaidEdit, std::to_string(net));   // runs FORMBAYAR_OnPaidChange
  return 0;
}

LResult FORMBAYAR_OnPaidChange(int, Hwnd, Hwnd, int) {
  const long long net = PayAmount(CtlGetText(gFormBayarNetEdit));
  const long long paid = PayAmount(CtlGetText(gFormBayarPaidEdit));
  const long long balance = PayAmount(CtlGetText(gFormBayarSavingsBalanceEdit));
  const long long used = PaySavingsUsed(ChkIsChecked(gFormBayarSavingsCheck) != 0, balance, net, paid);
  const long long change = PayChange(paid, net, used);
  const long long shown = FORMBAYAR_DisplayAmount(paid, change);
  CtlSetText(gFormBayarChangeEdit, std::to_string(change));
  CtlSetText(gFormBayarAmountDisplay, change <= 0 ? CtlGetText(gFormBayarPaidEdit) : std::to_string(change));
  SetDisplayColours(change);
  CtlSetText(gFormBayarSavingsLeftEdit, std::to_string(PaySavingsLeft(balance, used)));
  CtlSetText(gFormBayarWordsLabel, FORMBAYAR_Words(shown));
  return 0;
}

LResult FORMBAYAR_OnSavingsToggle(int, Hwnd, Hwnd, int) {
  if (!ChkIsChecked(gFormBayarSavingsCheck)) {
    FORMBAYAR_OnPaidChange();   // unticked: nothing comes from the savings any more
    return 0;
  }
  const long long net = PayAmount(CtlGetText(gFormBayarNetEdit));
  const long long balance = PayAmount(CtlGetText(gFormBayarSavingsBalanceEdit));
  if (balance < net) {
    CtlSetText(gFormBayarPaidEdit, std::to_string(net - (balance > 0 ? balance : 0)));
    CtlSetFocus(gFormBayarPaidEdit);
    TxtSetSel(gFormBayarPaidEdit, 0, -1);
  } else {
    CtlSetText(gFormBayarPaidEdit, "0");
  }
  return 0;
}

LResult FORMBAYAR_RemoveItem(int, Hwnd, Hwnd, int) {
  if (gPaymentSaved > 0) return 0;   // the saved payment stays as it was saved
  const int row = LvGetSelectionMark(gFormBayarItemList);
  if (row < 0 || row >= LvGetItemCount(gFormBayarItemList)) return 0;
  const std::string question = "Yakin Hapus Item Pembayaran : " +
                               LvGetItemText(gFormBayarItemList, row, kFormBayarColNama) + "\r" + " Dengan Nilai " +
                               LvGetItemText(gFormBayarItemList, row, kFormBayarColJumlah);
  if (MsgBox(question, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
  LvDeleteItem(gFormBayarItemList, row);
  const long long sum = FORMBAYAR_ItemsTotal();
  const std::string total = std::to_string(sum);
  CtlSetText(gFormBayarWordsLabel, FORMBAYAR_Words(sum));
  CtlSetText(gFormBayarAmountDisplay, total);
  CtlSetText(gFormBayarTotalEdit, total);
  CtlSetText(gFormBayarDiscountEdit, "0");
  CtlSetText(gFormBayarNetEdit, total);
  CtlSetText(gFormBayarPaidEdit, total);
  CtlSetText(gFormBayarChangeEdit, "0");
  return 0;
}

// ----- commands --------------------------------------------------------------------------------------------------
int FORMBAYAR_OnMenuCommand(Hwnd form, int id) {
  switch (id) {
    case IDM_FORMBAYAR_SETTING_STRUK: OpenReceiptSettings(form); return 1;
    case IDM_FORMBAYAR_TUNGGAKAN: OpenArrearsWindow(form); return 1;
    case IDM_FORMBAYAR_REVISI: OpenRevisionWindow(form); return 1;
    case IDM_FORMBAYAR_SIMPAN: FORMBAYAR_SavePayment(0, form, gFormBayarSaveButton, gFormBayarSaveButtonId); return 1;
    case IDM_FORMBAYAR_BROWSE_SISWA: OpenStudentPicker(form); return 1;
    case IDM_FORMBAYAR_TABUNGAN: ToggleSavingsByKey(); return 1;
    default: return 0;
  }
}

LResult FORMBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormBayar, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    const Hwnd control = FrmControlOf(msg, lParam);
    if (!control && FORMBAYAR_OnMenuCommand(hwnd, id)) return 0;
    const int index = FrmIndexOf(control);
    if (code == EN_CHANGE) {
      if (id == gFormBayarIdEditId) FORMBAYAR_LoadStudent(index, hwnd, control, id);
      else if (id == gFormBayarDiscountEditId) FORMBAYAR_OnDiscountChange(index, hwnd, control, id);
      else if (id == gFormBayarPaidEditId) FORMBAYAR_OnPaidChange(index, hwnd, control, id);
      return 0;
    }
    if (code == BN_CLICKED && control) {
      if (id == gFormBayarArrearsButtonId) OpenArrearsWindow(hwnd);
      else if (id == gFormBayarRevisiButtonId) OpenRevisionWindow(hwnd);
      else if (id == gFormBayarSavingsCheckId) FORMBAYAR_OnSavingsToggle(index, hwnd, control, id);
      else if (id == gFormBayarPickerButtonId) OpenStudentPicker(hwnd);
      else if (id == gFormBayarSaveButtonId) FORMBAYAR_SavePayment(index, hwnd, control, id);
      else if (id == gFormBayarRemoveButtonId) FORMBAYAR_RemoveItem(index, hwnd, control, id);
      else if (id == gFormBayarPrintButtonId) PrintPayment(hwnd, control, id);
      else if (id == gFormBayarGearButtonId) OpenReceiptSettings(hwnd);
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
