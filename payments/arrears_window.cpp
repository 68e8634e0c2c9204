#include "payments/arrears_window.h"

#include <QAbstractButton>
#include <QLabel>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <limits>
#include <map>

#include "common/globals.h"
#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "common/text_print_notice.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/printer.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "payments/arrears.h"
#include "payments/arrears_bill.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"
#include "payments/payment_globals.h"
#include "payments/payment_save.h"
#include "payments/payment_window.h"
#include "platform/seams.h"

Hwnd gFormTunggakanWindow = 0;
Hwnd gFormTunggakanList = 0, gFormTunggakanTapelCombo = 0, gFormTunggakanRekeningCombo = 0,
     gFormTunggakanTotalLabel = 0;
Hwnd gFormTunggakanCopyButton = 0, gFormTunggakanArchiveButton = 0, gFormTunggakanChangeButton = 0,
     gFormTunggakanRekeningLabel = 0, gFormTunggakanPrintButton = 0, gFormTunggakanTapelLabel = 0,
     gFormTunggakanSisipButton = 0, gFormTunggakanBatalButton = 0, gFormTunggakanHeading = 0,
     gFormTunggakanHeaderGroup = 0, gFormTunggakanIcon = 0, gFormTunggakanSubHeading = 0;

int gFormTunggakanCopyButtonId = 1000, gFormTunggakanArchiveButtonId = 1001, gFormTunggakanChangeButtonId = 1002,
    gFormTunggakanRekeningComboId = 1003, gFormTunggakanRekeningLabelId = 1004, gFormTunggakanTotalLabelId = 1005,
    gFormTunggakanPrintButtonId = 1006, gFormTunggakanTapelComboId = 1007, gFormTunggakanTapelLabelId = 1008,
    gFormTunggakanSisipButtonId = 1009, gFormTunggakanListId = 1010, gFormTunggakanBatalButtonId = 2,
    gFormTunggakanHeadingId = 1011, gFormTunggakanHeaderGroupId = 1012, gFormTunggakanIconId = 1013,
    gFormTunggakanSubHeadingId = 1014;

void FORMTUNGGAKAN_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormTunggakanCopyButtonId, &gFormTunggakanArchiveButtonId, &gFormTunggakanChangeButtonId,
                 &gFormTunggakanRekeningComboId, &gFormTunggakanRekeningLabelId, &gFormTunggakanTotalLabelId,
                 &gFormTunggakanPrintButtonId, &gFormTunggakanTapelComboId, &gFormTunggakanTapelLabelId,
                 &gFormTunggakanSisipButtonId, &gFormTunggakanListId, &gFormTunggakanHeadingId,
                 &gFormTunggakanHeaderGroupId, &gFormTunggakanIconId, &gFormTunggakanSubHeadingId})
    *g = id++;
  gFormTunggakanBatalButtonId = 2;
}

namespace {

constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kArial13Bold = "Arial,-13,0,0,0,700,0,0,0,0,3,2,1,34";
constexpr const char* kArial21Bold = "Arial,-21,0,0,0,700,0,0,0,0,3,2,1,34";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kUnicode9 = "Arial Unicode MS,9,0";
constexpr const char* kTotalPrefix = "Jumlah Tunggakan : ";

FrmForm gFormTunggakan = {.name = "FORMTUNGGAKAN",
                          .wndProc = FORMTUNGGAKAN_WndProc,
                          .window = &gFormTunggakanWindow,
                          .createControls = FORMTUNGGAKAN_CreateControls,
                          .onCreate = FORMTUNGGAKAN_Init,
                          .caption = "Form4",
                          .style = WS_POPUP | WS_THICKFRAME | WS_SYSMENU,
                          .width = 637,
                          .height = 527};

// The arrears total while the list loads (whole rupiah; gRowCount follows it within its range).
long long gLoadedTotal = 0;

// What the choosers took, per arrears row, as the item's data (rows not named pay an amount).
std::map<int, LParam> gRowItemData;

void SetIcon(Hwnd button, const char* name) {
  if (auto* b = qobject_cast<QAbstractButton*>(WinWidget(button))) {
    b->setIcon(ResLoadIcon(name));
    b->setIconSize(QSize(16, 16));
  }
}

// An icon drawn at the size of its static.
void ShowIcon(Hwnd picture, const char* name) {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(picture))) {
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(ResLoadImage(name, label->width(), label->height()));
  }
}

// What the three outputs of the bill read: the list as it stands, the payment window's student, the school and the
// status bar.
ArrearsBill GatherBill() {
  ArrearsBill bill;
  bill.schoolName = gSchoolName;
  bill.schoolAddress = gSchoolAddress;
  bill.schoolPhone = gSchoolPhone;
  bill.schoolEmail = gSchoolEmail;
  bill.studentName = CtlGetText(gFormBayarNamaEdit);
  bill.kelas = CtlGetText(gFormBayarKelasEdit);
  for (int r = 0; r < LvGetItemCount(gFormTunggakanList); ++r)
    bill.rows.push_back({LvGetItemText(gFormTunggakanList, r, kTunggakanColNo),
                         LvGetItemText(gFormTunggakanList, r, kTunggakanColName),
                         LvGetItemText(gFormTunggakanList, r, kTunggakanColAmount)});
  bill.printDate = SbGetText(gStatusBar, 4);
  bill.printTime = SbGetText(gStatusBar, 5);
  bill.operatorName = SbGetText(gStatusBar, 1);
  bill.lineSpacing = gStrukLineSpacing;
  return bill;
}

}  // namespace

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORMTUNGGAKAN_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gFormTunggakan, parent, modal, userData);
}

void FORMTUNGGAKAN_CreateControls(Hwnd form) {
  constexpr std::uint32_t kTabButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
  constexpr std::uint32_t kDropList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
  const FrmColors face = FrmColors::Face();
  auto sub = FORMTUNGGAKAN_CtlSubclassProc;

  gFormTunggakanCopyButton = FrmAddControl(form, "Button", "", kTabButton | BS_ICON, 0, 566, 78, 26, 26,
                                           gFormTunggakanCopyButtonId, sub, "");
  SetIcon(gFormTunggakanCopyButton, "IMAGE_COPY");
  CtlAddToolTip(gFormTunggakanCopyButton, "Copy to WA", 1);
  gFormTunggakanArchiveButton = FrmAddControl(form, "Button", "", kTabButton | BS_ICON, 0, 596, 78, 26, 26,
                                              gFormTunggakanArchiveButtonId, sub, "");
  SetIcon(gFormTunggakanArchiveButton, "IMAGE_PROPERTIES");
  CtlAddToolTip(gFormTunggakanArchiveButton, "Arsip", 1);
  gFormTunggakanChangeButton = FrmAddControl(form, "Button", "Ubah Nilai Pembayaran", kTabButton, 0, 6, 422, 170,
                                             28, gFormTunggakanChangeButtonId, sub, kUnicode9);
  gFormTunggakanRekeningCombo = FrmAddControl(form, "ComboBox", "", kDropList, 0, 356, 80, 200, 200,
                                              gFormTunggakanRekeningComboId, sub, kArial12, "", FrmColors::Window());
  gFormTunggakanRekeningLabel = FrmAddControl(form, "Static", "Di pos kan ke rekening", kLabel, 0, 226, 83, 128, 20,
                                              gFormTunggakanRekeningLabelId, sub, kArial12, "", face);
  gFormTunggakanTotalLabel = FrmAddControl(form, "Static", "0", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_SUNKEN, 0, 300,
                                           422, 323, 28, gFormTunggakanTotalLabelId, sub, kArial13Bold, "",
                                           FrmColors{1, 0, 0, WinRgb(0, 255, 0), WinRgb(0, 0, 128), -1});
  gFormTunggakanPrintButton = FrmAddControl(form, "Button", "Cetak", kButton, 0, 6, 458, 90, 28,
                                            gFormTunggakanPrintButtonId, sub, kArial12);
  gFormTunggakanTapelCombo = FrmAddControl(form, "ComboBox", "", kDropList, 0, 90, 80, 120, 200,
                                           gFormTunggakanTapelComboId, sub, kArial12);
  gFormTunggakanTapelLabel = FrmAddControl(form, "Static", "Tahun Ajaran", kLabel, 0, 8, 83, 80, 20,
                                           gFormTunggakanTapelLabelId, sub, kArial12, "", face);
  gFormTunggakanSisipButton = FrmAddControl(form, "Button", "Sisip", kButton, 0, 436, 458, 90, 28,
                                            gFormTunggakanSisipButtonId, sub, kArial12);
  gFormTunggakanList = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | LVS_REPORT |
                                     LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 6, 112, 617, 302, gFormTunggakanListId, sub,
                                     kArial12);
  LvSetExtendedStyle(gFormTunggakanList, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gFormTunggakanList, 0x000000, 0xFFFFFF);
  gFormTunggakanBatalButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 533, 458, 90, 28,
                                            gFormTunggakanBatalButtonId, sub, kArial12);
  gFormTunggakanHeading = FrmAddControl(form, "Static", "Tagihan Tunggakan Pembayaran", kLabel, 0, 66, 10, 420, 28,
                                        gFormTunggakanHeadingId, sub, kArial21Bold, "",
                                        FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  gFormTunggakanHeaderGroup = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 2, 0, 625,
                                            70, gFormTunggakanHeaderGroupId, sub, kSansSerif, "FL,FT,S,FT", face);
  gFormTunggakanIcon = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 12, 12,
                                     48, 48, gFormTunggakanIconId, sub, "");
  ShowIcon(gFormTunggakanIcon, "IMAGE_DOLLAR");
  gFormTunggakanSubHeading = FrmAddControl(form, "Static",
                                           "Menampilkan Jumlah Tunggakan Siswa terhitung dalam 1 tahun ajaran",
                                           kLabel, 0, 66, 42, 520, 18, gFormTunggakanSubHeadingId, sub, kSansSerif,
                                           "", FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
  CtlSetFocus(gFormTunggakanCopyButton);
}

LResult FORMTUNGGAKAN_Init(Hwnd, std::intptr_t) {
  for (const std::string& year : FinArrearsSchoolYears(gTapel)) CbAddString(gFormTunggakanTapelCombo, year);
  CbSetCurSel(gFormTunggakanTapelCombo, CbFindString(gFormTunggakanTapelCombo, -1, gTapel));

  Hwnd list = gFormTunggakanList;
  LvInsertColumn(list, kTunggakanColNo, "No.", LVCFMT_CENTER, 50);
  LvInsertColumn(list, kTunggakanColId, "Id", LVCFMT_LEFT, 150);
  LvInsertColumn(list, kTunggakanColName, "Pembayaran", LVCFMT_LEFT, 250);
  LvInsertColumn(list, kTunggakanColAmount, "Jumlah", LVCFMT_RIGHT, 100);
  LvInsertColumn(list, kTunggakanColType, "Type", LVCFMT_RIGHT, 0);
  LvInsertColumn(list, kTunggakanColRef, "RefRekening", LVCFMT_RIGHT, 0);
  LvInsertColumn(list, kTunggakanColMonths, "nBln", LVCFMT_RIGHT, 0);
  LvInsertColumn(list, kTunggakanColYearly, "temp", LVCFMT_RIGHT, 0);

  FinExec(FinArrearsRekeningSql(gTapel), FORMTUNGGAKAN_OnRekeningRow);
  CbSetCurSel(gFormTunggakanRekeningCombo, CbGetCount(gFormTunggakanRekeningCombo) - 1);
  CtlDisable(gFormTunggakanRekeningCombo);
  FORMTUNGGAKAN_LoadArrears();
  return 0;
}

int FORMTUNGGAKAN_OnRekeningRow(void*, int columnCount, char** values, char**) {
  CbAddString(gFormTunggakanRekeningCombo, FinCell(values, columnCount, 0) + " " + FinCell(values, columnCount, 1));
  return 0;
}

void FORMTUNGGAKAN_LoadArrears() {
  const std::string chosen = CtlGetText(gFormTunggakanTapelCombo);
  const std::string student = CtlGetText(gFormBayarIdEdit);
  const int months = FinArrearsMonthsDueToday(chosen);

  gSqlResult.clear();
  const std::string kelas =
      FinExec(FinArrearsClassSql(student, chosen), FinCbSingleValue) == 0 ? gSqlResult : std::string();

  LvDeleteAllItems(gFormTunggakanList);
  gRowItemData.clear();
  gLoadedTotal = 0;
  gRowCount = 0;
  FinExec(FinArrearsSql(student, kelas, chosen, gTapel, gPrepaid, months), FORMTUNGGAKAN_OnArrearsRow);
  CtlSetText(gFormTunggakanTotalLabel, kTotalPrefix + FinFormatThousands(std::to_string(gLoadedTotal), "."));
}

int FORMTUNGGAKAN_OnArrearsRow(void*, int columnCount, char** values, char**) {
  Hwnd list = gFormTunggakanList;
  // The row keeps what the fee still owes as loaded: the choosers rewrite "Jumlah", never above this.
  const LParam owed = static_cast<LParam>(RoundHalfEven(Val(FinCell(values, columnCount, 2))));
  const int r = LvInsertItem(list, LvGetItemCount(list), kTunggakanColNo, std::to_string(LvGetItemCount(list) + 1),
                             owed, 0);
  for (int c = 0; c < 5; ++c) LvInsertItem(list, r, kTunggakanColId + c, FinCell(values, columnCount, c), 0, 0);
  LvInsertItem(list, r, kTunggakanColMonths, "0", 0, 0);
  LvInsertItem(list, r, kTunggakanColYearly, FinCell(values, columnCount, 5), 0, 0);
  gLoadedTotal = RoundHalfEven(static_cast<double>(gLoadedTotal) + Val(FinCell(values, columnCount, 2)));
  gRowCount = static_cast<int>(std::clamp<long long>(gLoadedTotal, INT_MIN, INT_MAX));
  return 0;
}

LResult FORMTUNGGAKAN_OnTapelChange(int, Hwnd, Hwnd, int) {
  if (FinArrearsIsEarlierYear(gTapel, CtlGetText(gFormTunggakanTapelCombo))) {
    CtlEnable(gFormTunggakanRekeningCombo);
    CbSetCurSel(gFormTunggakanRekeningCombo, CbGetCount(gFormTunggakanRekeningCombo) - 1);
  } else {
    CtlDisable(gFormTunggakanRekeningCombo);
  }
  FORMTUNGGAKAN_LoadArrears();
  return 0;
}

long long FORMTUNGGAKAN_RowOwed(int row) {
  if (row < 0 || row >= LvGetItemCount(gFormTunggakanList)) return 0;
  return static_cast<long long>(LvGetItemData(gFormTunggakanList, row, 0));
}

void FORMTUNGGAKAN_SetRowItemData(int row, LParam data) {
  if (data == 0)
    gRowItemData.erase(row);
  else
    gRowItemData[row] = data;
}

LParam FORMTUNGGAKAN_RowItemData(int row) {
  const auto it = gRowItemData.find(row);
  return it == gRowItemData.end() ? 0 : it->second;
}

LResult FORMTUNGGAKAN_ChangeAmount(int, Hwnd form, Hwnd, int) {
  const int row = LvGetSelectionMark(gFormTunggakanList);
  if (row < 0 || row >= LvGetItemCount(gFormTunggakanList)) return 0;
  if (Val(LvGetItemText(gFormTunggakanList, row, kTunggakanColAmount)) <= 0) return 0;
  if (LvGetItemText(gFormTunggakanList, row, kTunggakanColType) == "Perbulan")
    FORMREKBAYAR1_Show(form, 1, 0);
  else
    FORMREKBAYAR3_Show(form, 1, 0);
  return 0;
}

LResult FORMTUNGGAKAN_InsertIntoPayment(int, Hwnd form, Hwnd, int) {
  const std::string chosen = CtlGetText(gFormTunggakanTapelCombo);
  const std::string rekening = CtlGetText(gFormTunggakanRekeningCombo);
  Hwnd items = gFormBayarItemList;
  // A fee is paid once per receipt, and only what is still owed can be paid.
  auto listed = [items](const std::string& feeId) {
    for (int i = 0; i < LvGetItemCount(items); ++i)
      if (LvGetItemText(items, i, 1) == feeId) return true;
    return false;
  };
  bool twice = false, nothingOwed = false;
  for (int r = 0; r < LvGetItemCount(gFormTunggakanList); ++r) {
    if (LvGetCheck(gFormTunggakanList, r) != -1) continue;
    auto cell = [r](int col) { return LvGetItemText(gFormTunggakanList, r, col); };
    if (listed(cell(kTunggakanColId))) {
      twice = true;
      continue;
    }
    if (RoundHalfEven(Val(cell(kTunggakanColAmount))) <= 0) {
      nothingOwed = true;
      continue;
    }
    const int n = LvGetItemCount(items);
    const int row = LvInsertItem(items, n, 0, std::to_string(n + 1), FORMTUNGGAKAN_RowItemData(r), 0);
    if (row < 0) continue;
    LvInsertItem(items, row, 1, cell(kTunggakanColId), 0, 0);
    LvInsertItem(items, row, 2, cell(kTunggakanColName), 0, 0);
    LvInsertItem(items, row, 3, cell(kTunggakanColAmount), 0, 0);
    LvInsertItem(items, row, 4, FinArrearsInsertRef(gTapel, chosen, cell(kTunggakanColRef), rekening), 0, 0);
    LvInsertItem(items, row, 5, cell(kTunggakanColType), 0, 0);
  }
  long long total = 0;
  for (int r = 0; r < LvGetItemCount(items); ++r)
    total = RoundHalfEven(static_cast<double>(total) + Val(LvGetItemText(items, r, 3)));
  const std::string digits = std::to_string(total);
  CtlSetText(gFormBayarWordsLabel, FORMBAYAR_Words(total));   // a negative total reads " minus" ...
  CtlSetText(gFormBayarAmountDisplay, digits);
  CtlSetText(gFormBayarTotalEdit, digits);
  CtlSetText(gFormBayarDiscountEdit, "0");
  CtlSetText(gFormBayarNetEdit, digits);
  CtlSetText(gFormBayarPaidEdit, digits);
  CtlSetText(gFormBayarChangeEdit, "0");
  if (twice) MsgBox("Tagihan yang sudah ada di daftar pembayaran tidak disisipkan lagi..", "Info", MB_OK);
  if (nothingOwed) MsgBox("Tagihan dengan nilai 0 atau kurang tidak dapat disisipkan..", "Info", MB_OK);
  FrmClose(form, 0);
  CtlSetFocus(gFormBayarPaidEdit);
  TxtSetSel(gFormBayarPaidEdit, 0, static_cast<int>(digits.size()));
  return 0;
}

LResult FORMTUNGGAKAN_OnPrint(int, Hwnd, Hwnd, int) {
  FORMTUNGGAKAN_PrintBill();
  return 0;
}

LResult FORMTUNGGAKAN_OnCancel(int, Hwnd form, Hwnd, int) {
  FrmClose(form, 0);
  return 0;
}

// ----- the bill ---------------------------------------------------------------------------------------------------------
void FORMTUNGGAKAN_PrintBill() {
  const ArrearsBill bill = GatherBill();
  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Struk");
  PrnStartPage(ctx);
  PrnSetFont(ctx, gStrukFont, 12, 0x000000);
  for (const ReceiptLine& line : FinArrearsBillLines(bill)) PrnText(ctx, line.x, line.y, line.text);
  PrnEndPage(ctx);
  PrnEndDoc(ctx);
  FinTellPrintKeptInFiles({PrnKeptIn(ctx)});   // no printer: the clerk learns where the bill went
}

LResult FORMTUNGGAKAN_ArchiveBill(int, Hwnd, Hwnd, int) {
  const ArrearsBill bill = GatherBill();
  const std::string path =
      platform::ProgramFolderPath() + "/arsip/" + FinArrearsArchiveFileName(bill.studentName, bill.kelas, gToday);
  // The folder is not made here; a file that cannot be written is not confirmed (an older file of the same name does
  // not count as written).
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return 0;
  out << FinArrearsArchiveText(bill);
  out.close();
  if (out.fail()) return 0;
  MsgBox("File arsip tunggakan berhasil dibuat..", "Info", MB_OK);
  return 0;
}

LResult FORMTUNGGAKAN_CopyToWhatsApp(int, Hwnd, Hwnd, int) {
  ClipSetText(FinArrearsChatText(GatherBill()));
  return 0;
}

// ----- procedures ---------------------------------------------------------------------------------------------------------
LResult FORMTUNGGAKAN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormTunggakan, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    const Hwnd control = static_cast<Hwnd>(lParam);
    const int index = FrmIndexOf(control);
    if (id == gFormTunggakanTapelComboId) {
      if (code == CBN_SELCHANGE) return FORMTUNGGAKAN_OnTapelChange(index, hwnd, control, id);
    } else if (id == gFormTunggakanRekeningComboId) {
      // the posting account is read when "Sisip" runs
    } else if (code == BN_CLICKED) {
      if (id == gFormTunggakanBatalButtonId) return FORMTUNGGAKAN_OnCancel(index, hwnd, control, id);
      if (id == gFormTunggakanSisipButtonId) return FORMTUNGGAKAN_InsertIntoPayment(index, hwnd, control, id);
      if (id == gFormTunggakanPrintButtonId) return FORMTUNGGAKAN_OnPrint(index, hwnd, control, id);
      if (id == gFormTunggakanChangeButtonId) return FORMTUNGGAKAN_ChangeAmount(index, hwnd, control, id);
      if (id == gFormTunggakanArchiveButtonId) return FORMTUNGGAKAN_ArchiveBill(index, hwnd, control, id);
      if (id == gFormTunggakanCopyButtonId) return FORMTUNGGAKAN_CopyToWhatsApp(index, hwnd, control, id);
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMTUNGGAKAN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
