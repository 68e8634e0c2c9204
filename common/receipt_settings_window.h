// The receipt settings window "Setting Struk": top margin, line spacing, default receipt layout and receipt font.
// It shows the receipt globals; "Tutup dan Simpan" writes setting_struk.txt into the program folder, updates the
// globals and closes. The opener hands over its receipt layout list (the payment window's "Pilihan Cetak"), whose
// entries are copied into the default layout list; a change of the default layout is handed back at once.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm23Window;
extern Hwnd gForm23FontCombo, gForm23LineSpacingEdit, gForm23SaveButton, gForm23DefaultTypeCombo, gForm23FontLabel,
    gForm23TopMarginEdit, gForm23DefaultTypeLabel, gForm23LineSpacingLabel, gForm23TopMarginLabel;
// Control ids (1000 upwards in creation order).
extern int gForm23FontComboId, gForm23LineSpacingEditId, gForm23SaveButtonId, gForm23DefaultTypeComboId,
    gForm23FontLabelId, gForm23TopMarginEditId, gForm23DefaultTypeLabelId, gForm23LineSpacingLabelId,
    gForm23TopMarginLabelId;
void FORM23_InitControlIds();

// ----- what the window computes -------------------------------------------------------------------------------------
// The receipt fonts offered, in list order.
inline constexpr const char* kForm23Fonts[] = {"Courier New", "Lucida Sans Typewriter", "Lucida Console",
                                               "Courier", "Monaco", "Consolas"};

// The setting_struk.txt line: top margin ";" line spacing ";" default layout ";" font ";" prepaid flag (the two
// margins as the edits hold them).
std::string FORM23_StrukLine(const std::string& topMargin, const std::string& lineSpacing, int defaultType,
                             const std::string& font, int prepaid);
// An edit's text as a setting: its leading number rounded half to even (an empty text gives 0), kept in int range.
int FORM23_Number(const std::string& text);
// The default layout to keep: the index selected in the default layout list (-1 when none is selected), or, when the
// list holds no entry (the payment window is closed, so there was nothing to choose from), the layout held so far.
int FORM23_DefaultTypeToSave(int listCount, int selectedIndex, int current);

// ----- the window -------------------------------------------------------------------------------------------------
// The opener's receipt layout list: its entries, in order, and what to call with the index of a newly chosen default
// layout. No entries (and no call) while there is no such list.
struct Form23LayoutList {
  std::vector<std::string> entries;
  std::function<void(int index)> choose;
};

// Creates the window (329 x 207, centred) owned by `owner` and shows it through FrmShow; every caller shows it
// modal (1) and gets the form result (0) once it has closed. The main window calls it with (its window, 1, 0), the
// payment window with (the payment window, 1, 0); both hand over the payment window's layout list.
std::intptr_t FORM23_Show(Hwnd owner, int modal, int userData, Form23LayoutList layouts = {});
LResult FORM23_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM23_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM23_CreateControls(Hwnd form);
// The margins from the globals, the default layout list copied from the handed-over layout list with entry
// gStrukDefaultType selected, the font list on gStrukFont (its own prefix search: "Courier" finds "Courier").
LResult FORM23_OnLoad(Hwnd form, std::intptr_t userData);
// The default layout list's choice handed back to the opener's layout list (nothing when it handed over none).
LResult FORM23_OnDefaultTypeChange(int index, Hwnd form, Hwnd control, int id);
// A choice in the font list: nothing until the save.
LResult FORM23_OnFontChange(int index, Hwnd form, Hwnd control, int id);
// "Tutup dan Simpan": setting_struk.txt written (not checked), the globals set, the window closed with 0.
LResult FORM23_SaveAndClose(int index, Hwnd form, Hwnd control, int id);
