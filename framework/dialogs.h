// The common dialogs as the forms use them: picking a file to open (photos, database files, backups) with an option
// to centre the dialog, text files to open or save, a colour, a font, the page set-up and a printer. Every dialog
// goes through the platform's seams, so tests script the answers.
#pragma once
#include <QWidget>
#include <string>

#include "framework/win.h"

// Flags of the file dialogs (the values the forms pass).
enum : unsigned {
  OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_NOCHANGEDIR = 0x8,
  OFN_ENABLEHOOK = 0x20, OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000, OFN_EXPLORER = 0x80000,
  OFN_ENABLESIZING = 0x800000,
};

// A "label|patterns|label|patterns" filter as the NUL-separated list the dialog takes: every "|" becomes a NUL byte
// and one NUL is appended ("A|*.a" -> "A\0*.a\0"). A text that is already such a list is left as it is.
std::string DlgFilterToList(const std::string& filter);

// Asks for a file to open. `filter` is converted in place (DlgFilterToList) and an empty `initialFolder` becomes the
// current folder, both in the caller's texts too. With `centre` ≠ 0 the dialog stands centred on the screen (flags
// 0 become OFN_EXPLORER | OFN_ENABLESIZING, and OFN_ENABLEHOOK is added). When a file is chosen `fileName` becomes its
// path and the result is 1; after a cancel `fileName` keeps the name given and the result is 0.
int DlgOpenFile(Hwnd owner, const std::string& title, std::string& fileName, std::string& initialFolder,
                std::string& filter, const std::string& defaultExt, unsigned flags, int centre);

// The centring step of DlgOpenFile: moves `dialog` to the middle of the screen and keeps it on top. 1 when done.
int DlgCenterHookProc(QWidget* dialog);

// "Open File" / "Save File" for text files ("Text Files (*.txt)", then "All Files (*.*)"), starting in the home
// folder: the chosen path with blanks trimmed, or the empty text.
std::string DlgOpenTextFile();
std::string DlgSaveTextFile();

// A colour 0x00BBGGRR, -1 when cancelled.
int DlgChooseColor();

// Starts from "Times New Roman" 12 points, sizes 10 to 72. On OK `face` and `points` (to the nearest whole point)
// take the choice and the face is returned; the empty text when cancelled (the arguments unchanged).
std::string DlgChooseFont(std::string& face, int& points);

// 0 when the page set-up was confirmed, -1 when cancelled.
int DlgPageSetup();

// The name of the printer chosen, or the empty text.
std::string DlgSelectPrinter();
