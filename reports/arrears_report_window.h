// FORM11 "Laporan Tunggakan": the maximised MDI child that shows one arrears report at a time in a list view with a
// check box on every row. Its first toolbar button opens the selection dialog FORMLAPTUNGGAKAN
// (reports/arrears_report_dialog.h), whose buttons build a report into the list (reports/arrears_reports.h); the
// others send whatever the list holds to the workbook plug-in and to the printable HTML page, print one arrears note
// per ticked row on the default printer, or write the same note as a text file into "arsip" of the program folder.
// The totals row (the list's last row) is never printed or archived.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"
#include "reports/arrears_reports.h"

// The arrears report window created last (0 when it is gone) and its controls. Each command of an arrears report
// window first points these at its own window, so the dialog it opens fills its list and its outputs read its list;
// when the window goes they become 0.
extern Hwnd gForm11Window;
extern Hwnd gForm11List, gForm11Rebar, gForm11Toolbar;
extern int gForm11Id;   // its MDI child id (102)
// Control ids: the list 1000, the rebar 5000, the toolbar 5100; the toolbar's commands in button order.
extern int gForm11ListId, gForm11RebarId, gForm11ToolbarId;
extern int gForm11ReportId, gForm11ExcelId, gForm11PageId, gForm11NotesId, gForm11ArchiveId;

extern const char* const kForm11PageTitle;     // "LAPORAN TUNGGAKAN SISWA"
extern const char* const kForm11NotesTip;      // "Cetak Struk Tunggakan Per Siswa"
extern const char* const kForm11ArchiveTip;    // "Arsip"

// Creates a further arrears report window (1022 x 560) under `parent` (gMdiClient), maximised and modeless, and
// returns it (0 when it could not be made). The main window calls it with (gMdiClient, 1, 0).
std::intptr_t FORM11_Show(Hwnd parent, int modal, int userData);
LResult FORM11_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM11_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The rebar with its toolbar of five 32 x 32 buttons, and the report list under it (check boxes, empty, focused).
void FORM11_CreateControls(Hwnd form);
// The creation handler: nothing to load; returns 0.
LResult FORM11_OnCreate(Hwnd form, std::intptr_t userData);
// Points gForm11Window and the control globals at `form` (an arrears report window); nothing for another window.
// The form's bind routine: the form runtime runs it when the window is activated and before each of its commands.
void FORM11_Bind(Hwnd form);
// A toolbar command (`id`) of the window `form`: the report button opens the selection dialog (owner this window,
// modal); the workbook button sets gTargetListView to the list and runs FinExportToSheet; the page button runs
// FinExportToPage with kForm11PageTitle and the list; the notes button prints FORM11_PrintNotes (form); the archive
// button writes FORM11_ArchiveNotes (form). Returns 0.
LResult FORM11_OnToolbar(Hwnd form, Hwnd control, int notification, int id);

// Each window keeps the class its own last "Show Data" was built for: the dialog keeps it for the window it reports
// into. A class recap leaves it as it was. FORM11_ShownClass gives it (empty before any "Show Data" or when `form`
// is no arrears report window).
void FORM11_KeepShownClass(Hwnd form, const std::string& kelas);
std::string FORM11_ShownClass(Hwnd form);

// The note of row `row` of the list of the window `form` as it stands now, with the window's shown class, the school
// and the status bar's texts.
ArrearsNote FORM11_NoteOfRow(Hwnd form, int row);
// One "Struk" print job of one page per ticked row of the list of `form` except the last, in list order, on the
// default printer. Returns the number of notes sent.
int FORM11_PrintNotes(Hwnd form);
// One archive file per ticked row of the list of `form` except the last, in list order: <program folder>/arsip/ +
// FinArrearsNoteFileName(name, the window's shown class, gToday), replaced when it exists. A file that cannot be
// written is left out quietly (the folder "arsip" is not made). Returns the number of files written.
int FORM11_ArchiveNotes(Hwnd form);
