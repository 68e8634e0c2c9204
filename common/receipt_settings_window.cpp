#include "common/receipt_settings_window.h"

#include <climits>
#include <string>
#include <utility>

#include "common/settings.h"
#include "common/settings_files.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/window_system.h"

Hwnd gForm23Window = 0;
Hwnd gForm23FontCombo = 0, gForm23LineSpacingEdit = 0, gForm23SaveButton = 0, gForm23DefaultTypeCombo = 0,
     gForm23FontLabel = 0, gForm23TopMarginEdit = 0, gForm23DefaultTypeLabel = 0, gForm23LineSpacingLabel = 0,
     gForm23TopMarginLabel = 0;

int gForm23FontComboId = 1000, gForm23LineSpacingEditId = 1001, gForm23SaveButtonId = 1002,
    gForm23DefaultTypeComboId = 1003, gForm23FontLabelId = 1004, gForm23TopMarginEditId = 1005,
    gForm23DefaultTypeLabelId = 1006, gForm23LineSpacingLabelId = 1007, gForm23TopMarginLabelId = 1008;

void FORM23_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm23FontComboId, &gForm23LineSpacingEditId, &gForm23SaveButtonId, &gForm23DefaultTypeComboId,
                 &gForm23FontLabelId, &gForm23TopMarginEditId, &gForm23DefaultTypeLabelId,
                 &gForm23LineSpacingLabelId, &gForm23TopMarginLabelId})
    *g = id++;
}

// ----- what the window computes -------------------------------------------------------------------------------------
std::string FORM23_StrukLine(const std::string& topMargin, const std::string& lineSpacing, int defaultType,
                             const std::string& font, int prepaid) {
  return topMargin + ";" + lineSpacing + ";" + std::to_string(defaultType) + ";" + font + ";" +
         std::to_string(prepaid);
}

int FORM23_Number(const std::string& text) {
  long long v = RoundHalfEven(Val(text));
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return static_cast<int>(v);
}

int FORM23_DefaultTypeToSave(int listCount, int selectedIndex, int current) {
  return listCount > 0 ? selectedIndex : current;
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr const char* kMarginTip = "Marjin Atas Struk";
constexpr std::uint32_t kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr std::uint32_t kNumberEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_NUMBER;
constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;

FrmForm gForm23 = {.name = "FORM23",
                   .wndProc = FORM23_WndProc,
                   .window = &gForm23Window,
                   .createControls = FORM23_CreateControls,
                   .onCreate = FORM23_OnLoad,
                   .caption = "Setting Struk",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .width = 329,
                   .height = 207};

Hwnd AddLabel(Hwnd form, const char* text, int x, int y, int id) {
  return FrmAddControl(form, "Static", text, kLabel, 0, x, y, 97, 17, id, FORM23_CtlSubclassProc, kFont);
}

// The layout list handed over by the opener of the window now open.
Form23LayoutList gLayouts;

}  // namespace

std::intptr_t FORM23_Show(Hwnd owner, int modal, int userData, Form23LayoutList layouts) {
  gLayouts = std::move(layouts);
  return FrmShowForm(gForm23, owner, modal, userData);
}

void FORM23_CreateControls(Hwnd form) {
  gForm23FontCombo = FrmAddControl(form, "ComboBox", "", kList, 0, 128, 92, 170, 200, gForm23FontComboId,
                                   FORM23_CtlSubclassProc, kFont);
  for (const char* font : kForm23Fonts) CbAddString(gForm23FontCombo, font);
  gForm23LineSpacingEdit = FrmAddControl(form, "Edit", "150", kNumberEdit, WS_EX_CLIENTEDGE, 128, 40, 136, 21,
                                         gForm23LineSpacingEditId, FORM23_CtlSubclassProc, kFont);
  CtlAddToolTip(gForm23LineSpacingEdit, kMarginTip, 1);
  gForm23SaveButton = FrmAddControl(form, "Button", "Tutup dan Simpan",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0, 160, 128, 138,
                                    29, gForm23SaveButtonId, FORM23_CtlSubclassProc, kFont);
  gForm23DefaultTypeCombo = FrmAddControl(form, "ComboBox", "", kList, 0, 128, 64, 170, 200,
                                          gForm23DefaultTypeComboId, FORM23_CtlSubclassProc, kFont);
  gForm23FontLabel = AddLabel(form, "Pilihan Font", 24, 96, gForm23FontLabelId);
  gForm23TopMarginEdit = FrmAddControl(form, "Edit", "15", kNumberEdit, WS_EX_CLIENTEDGE, 128, 16, 136, 21,
                                       gForm23TopMarginEditId, FORM23_CtlSubclassProc, kFont);
  CtlAddToolTip(gForm23TopMarginEdit, kMarginTip, 1);
  gForm23DefaultTypeLabel = AddLabel(form, "Default Struk", 24, 68, gForm23DefaultTypeLabelId);
  gForm23LineSpacingLabel = AddLabel(form, "Jarak Per Baris", 24, 40, gForm23LineSpacingLabelId);
  gForm23TopMarginLabel = AddLabel(form, "Marjin Atas", 24, 16, gForm23TopMarginLabelId);
}

LResult FORM23_OnLoad(Hwnd, std::intptr_t) {
  CtlSetText(gForm23TopMarginEdit, std::to_string(gStrukTopMargin));
  CtlSetText(gForm23LineSpacingEdit, std::to_string(gStrukLineSpacing));
  // A copy of the opener's layouts; none while the payment window is closed.
  for (const std::string& layout : gLayouts.entries) CbAddString(gForm23DefaultTypeCombo, layout);
  CbSetCurSel(gForm23DefaultTypeCombo, gStrukDefaultType);
  CbSetCurSel(gForm23FontCombo, CbFindString(gForm23FontCombo, 0, gStrukFont));
  return 0;
}

LResult FORM23_OnDefaultTypeChange(int, Hwnd, Hwnd, int) {
  if (gLayouts.choose) gLayouts.choose(CbGetCurSel(gForm23DefaultTypeCombo));
  return 0;
}

LResult FORM23_OnFontChange(int, Hwnd, Hwnd, int) { return 0; }

LResult FORM23_SaveAndClose(int, Hwnd form, Hwnd, int) {
  const std::string topMargin = CtlGetText(gForm23TopMarginEdit);
  const std::string lineSpacing = CtlGetText(gForm23LineSpacingEdit);
  const int defaultType = FORM23_DefaultTypeToSave(CbGetCount(gForm23DefaultTypeCombo),
                                                   CbGetCurSel(gForm23DefaultTypeCombo), gStrukDefaultType);
  const std::string font = CtlGetText(gForm23FontCombo);   // the chosen entry, empty when none
  // Not checked: when the file cannot be written the new values hold for this run only.
  AppWriteStrukLine(FORM23_StrukLine(topMargin, lineSpacing, defaultType, font, gPrepaid));
  gStrukTopMargin = FORM23_Number(topMargin);
  gStrukLineSpacing = FORM23_Number(lineSpacing);
  gStrukDefaultType = defaultType;
  gStrukFont = font;
  FrmClose(form, 0);
  return 0;
}

LResult FORM23_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // the close box and the system menu: closed with 0, nothing saved
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(gForm23, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    Handler handler = (id == gForm23SaveButtonId && code == BN_CLICKED)              ? FORM23_SaveAndClose
                      : (id == gForm23DefaultTypeComboId && code == CBN_SELCHANGE) ? FORM23_OnDefaultTypeChange
                      : (id == gForm23FontComboId && code == CBN_SELCHANGE)        ? FORM23_OnFontChange
                                                                                     : nullptr;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM23_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
