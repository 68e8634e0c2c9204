#include "reports/arrears_report_window.h"

#include <fstream>

#include "common/export.h"
#include "common/globals.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/text_print_notice.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/printer.h"
#include "framework/resources.h"
#include "framework/window_state.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "reports/arrears_report_dialog.h"

Hwnd gForm11Window = 0;
Hwnd gForm11List = 0, gForm11Rebar = 0, gForm11Toolbar = 0;
int gForm11Id = 102;
int gForm11ListId = 1000, gForm11RebarId = 5000, gForm11ToolbarId = 5100;
int gForm11ReportId = 5101, gForm11ExcelId = 5102, gForm11PageId = 5103, gForm11NotesId = 5104,
    gForm11ArchiveId = 5105;

const char* const kForm11PageTitle = "LAPORAN TUNGGAKAN SISWA";
const char* const kForm11NotesTip = "Cetak Struk Tunggakan Per Siswa";
const char* const kForm11ArchiveTip = "Arsip";

namespace {

constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gForm11 = {.name = "FORM11",
                   .wndProc = FORM11_WndProc,
                   .window = &gForm11Window,
                   .createControls = FORM11_CreateControls,
                   .onCreate = FORM11_OnCreate,
                   .bind = FORM11_Bind,
                   .caption = "Laporan Tunggakan",
                   .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
                   .width = 1022,
                   .height = 560,
                   .kind = FRM_MDICHILD,
                   .mdiId = &gForm11Id};

bool IsArrearsReport(Hwnd form) { return IsWindow(form) && WinGetClassName(form) == FrmClassName(gForm11); }

// The rows a note or an archive is made for: every ticked row but the last (the totals row), in list order.
std::vector<int> TickedRows(Hwnd list) {
  std::vector<int> rows;
  const int count = LvGetItemCount(list);
  for (int r = 0; r + 1 < count; ++r)
    if (LvGetCheck(list, r) == -1) rows.push_back(r);
  return rows;
}

}  // namespace

std::intptr_t FORM11_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm11, parent, modal, userData);
}

void FORM11_CreateControls(Hwnd form) {
  gForm11Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 0, 0, 0, FrmScaleY(30), form, gForm11RebarId, 0);
  gForm11Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                       TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, gForm11Rebar, gForm11ToolbarId, 0);
  TbSetIconSize(gForm11Toolbar, 32, 32);
  TbAddButton(gForm11Toolbar, gForm11ReportId, ResLoadIcon("IMAGE_REPORT"), "", "", 0);
  TbAddButton(gForm11Toolbar, gForm11ExcelId, ResLoadIcon("IMAGE_DOCEXCEL"), "", "", 0);
  TbAddButton(gForm11Toolbar, gForm11PageId, ResLoadIcon("IMAGE_PRINTER"), "", "", 0);
  TbAddButton(gForm11Toolbar, gForm11NotesId, ResLoadIcon("IMAGE_REPORTS"), "", kForm11NotesTip, 0);
  TbAddButton(gForm11Toolbar, gForm11ArchiveId, ResLoadIcon("IMAGE_PROPERTIES"), "", kForm11ArchiveTip, 0);
  TbAutoSize(gForm11Toolbar);
  RbInsertBand(gForm11Rebar, gForm11Toolbar, CtlGetHeight(gForm11Toolbar), FrmScaleX(250));

  gForm11List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                              LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0, 0, 1000, 475, gForm11ListId,
                              FORM11_CtlSubclassProc, kListFont, "FL,FT,S,S");
  CtlMove(gForm11List, 0, CtlGetHeight(gForm11Rebar));   // directly under the rebar
  LvSetExtendedStyle(gForm11List, LVS_EX_CHECKBOXES);
  LvSetColors(gForm11List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm11List);
}

LResult FORM11_OnCreate(Hwnd, std::intptr_t) { return 0; }

void FORM11_Bind(Hwnd form) {
  if (!IsArrearsReport(form)) return;
  gForm11Window = form;
  gForm11List = WinGetDlgItem(form, gForm11ListId);
  gForm11Rebar = WinGetDlgItem(form, gForm11RebarId);
  gForm11Toolbar = WinGetDlgItem(gForm11Rebar, gForm11ToolbarId);   // the toolbar lives in the rebar
}

// The class of each window's last "Show Data" is kept with the window (FrmWindowState): its notes and archives name
// the class of the report it shows, whatever another arrears report window (or a student picker) chose since.
void FORM11_KeepShownClass(Hwnd form, const std::string& kelas) {
  if (!IsArrearsReport(form)) return;
  const FrmWindowState* kept = FrmWindowStateOf(form);
  FrmWindowState st = kept ? *kept : FrmWindowState();
  st.kelas = kelas;
  FrmKeepWindowState(form, st);
}

std::string FORM11_ShownClass(Hwnd form) {
  const FrmWindowState* kept = IsArrearsReport(form) ? FrmWindowStateOf(form) : nullptr;
  return kept ? kept->kelas : std::string();
}

ArrearsNote FORM11_NoteOfRow(Hwnd form, int row) {
  const Hwnd list = WinGetDlgItem(form, gForm11ListId);
  ArrearsNote note;
  note.schoolName = gSchoolName;
  note.schoolAddress = gSchoolAddress;
  note.schoolPhone = gSchoolPhone;
  note.schoolEmail = gSchoolEmail;
  note.kelas = FORM11_ShownClass(form);
  note.printDate = SbGetText(gStatusBar, 4);
  note.printTime = SbGetText(gStatusBar, 5);
  note.operatorName = SbGetText(gStatusBar, 1);
  note.lineSpacing = gStrukLineSpacing;
  const int columns = LvGetColumnCount(list);
  note.name = LvGetItemText(list, row, 1);
  for (int c = 2; c < columns - 1; ++c) {
    note.feeCaptions.push_back(LvGetColumnText(list, c));
    note.feeAmounts.push_back(LvGetItemText(list, row, c));
  }
  if (columns > 0) note.total = LvGetItemText(list, row, columns - 1);
  return note;
}

int FORM11_PrintNotes(Hwnd form) {
  const std::vector<int> rows = TickedRows(WinGetDlgItem(form, gForm11ListId));
  if (rows.empty()) return 0;
  PrinterContext ctx;
  PrnInit(ctx);
  std::vector<std::string> kept;   // the notes that went to files for want of a printer
  for (int r : rows) {
    const ArrearsNote note = FORM11_NoteOfRow(form, r);
    PrnStartDoc(ctx, "Struk");
    PrnStartPage(ctx);
    PrnSetFont(ctx, gStrukFont, 12, 0x000000);
    for (const ReceiptLine& line : FinArrearsNoteLines(note)) PrnText(ctx, line.x, line.y, line.text);
    PrnEndPage(ctx);
    PrnEndDoc(ctx);
    kept.push_back(PrnKeptIn(ctx));
  }
  FinTellPrintKeptInFiles(kept);
  return static_cast<int>(rows.size());
}

int FORM11_ArchiveNotes(Hwnd form) {
  int written = 0;
  for (int r : TickedRows(WinGetDlgItem(form, gForm11ListId))) {
    const ArrearsNote note = FORM11_NoteOfRow(form, r);
    const std::string path =
        platform::ProgramFolderPath() + "/arsip/" + FinArrearsNoteFileName(note.name, note.kelas, gToday);
    // The folder is not made here: without it (or when the file cannot be written) this row is left out quietly.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) continue;
    out << FinArrearsNoteArchiveText(note);
    out.close();
    if (!out.fail()) ++written;
  }
  return written;
}

LResult FORM11_OnToolbar(Hwnd form, Hwnd, int notification, int id) {
  if (notification != 0 || !IsArrearsReport(form)) return 0;
  if (id == gForm11ReportId) {
    FORMLAPTUNGGAKAN_Show(form, 1, 0);
  } else if (id == gForm11ExcelId) {
    gTargetListView = gForm11List;
    FinExportToSheet();
  } else if (id == gForm11PageId) {
    FinExportToPage(kForm11PageTitle, gForm11List);
  } else if (id == gForm11NotesId) {
    FORM11_PrintNotes(form);
  } else if (id == gForm11ArchiveId) {
    FORM11_ArchiveNotes(form);
  }
  return 0;
}

LResult FORM11_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_DESTROY && gForm11Window == hwnd) gForm11List = gForm11Rebar = gForm11Toolbar = 0;
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) WinSendMessage(WinGetDlgItem(hwnd, gForm11RebarId), WM_SIZE, 0, 0);
  LResult r = 0;
  if (FrmFormMessage(gForm11, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND)
    return FORM11_OnToolbar(hwnd, FrmControlOf(msg, lParam), static_cast<int>(HIWORD(wParam)),
                            static_cast<int>(LOWORD(wParam)));
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM11_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
