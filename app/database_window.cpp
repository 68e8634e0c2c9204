#include "app/database_window.h"

#include <sqlite3.h>

#include <string>

#include "app/config.h"
#include "app/globals.h"
#include "common/busy.h"
#include "common/database.h"
#include "common/settings_files.h"
#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/form_runtime.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gForm12Window = 0;
Hwnd gForm12SaveButton = 0, gForm12BrowseButton = 0, gForm12SourceLabel = 0, gForm12PathEdit = 0;

int gForm12SaveButtonId = 1000, gForm12BrowseButtonId = 1001, gForm12SourceLabelId = 1002, gForm12PathEditId = 1003;

void FORM12_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm12SaveButtonId, &gForm12BrowseButtonId, &gForm12SourceLabelId, &gForm12PathEditId}) *g = id++;
}

std::string FORM12_NotRememberedText(const std::string& connFile) {
  return "database dikoneksikan hanya sampai program ditutup, file " + connFile +
         " tidak dapat ditulis sehingga program yang dijalankan berikutnya tidak membuka database ini..";
}

// ----- the switch itself --------------------------------------------------------------------------------------------
bool FORM12_SwitchDatabase(const std::string& typedPath, std::string& error, bool* remembered) {
  if (remembered) *remembered = false;
  const std::string path = StrReplace(typedPath, "\\", "/");
  // Only an existing, sound Finance database is taken: the running program is never moved onto a new empty file, a
  // foreign database or a damaged one.
  FinBusy busy(FinBusyTask::Indexes, true, "");   // the check and the indexes of a large or old file take a while
  if (!busy.started()) {
    error = kFinBusyRefusal;
    return false;
  }
  sqlite3* db = FinOpenDatabase(path, error);
  if (!db) return false;
  if (!FinPrepareFinanceDatabase(db, error)) {
    sqlite3_close(db);
    return false;
  }
  // The previous connection is not used again; statements still unfinished on it (none are expected) keep it alive
  // until they end.
  sqlite3* previous = gDb;
  gDb = db;
  gDbPath = path;
  if (previous && previous != db) sqlite3_close_v2(previous);
  const bool written = AppWriteConnFile(path, gConnField2, gConnField3);
  if (remembered) *remembered = written;
  return true;
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;

FrmForm gForm12 = {.name = "FORM12",
                   .wndProc = FORM12_WndProc,
                   .window = &gForm12Window,
                   .createControls = FORM12_CreateControls,
                   .onCreate = FORM12_OnCreate,
                   .caption = "Koneksi Database",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .width = 500,
                   .height = 122};

}  // namespace

std::intptr_t FORM12_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm12, parent, modal, userData);
}

void FORM12_CreateControls(Hwnd form) {
  gForm12SaveButton = FrmAddControl(form, "Button", "Simpan dan Keluar", kButton, 0, 328, 40, 133, 23,
                                    gForm12SaveButtonId, FORM12_CtlSubclassProc, kFont);
  gForm12BrowseButton = FrmAddControl(form, "Button", "Cari Database", kButton, 0, 80, 40, 133, 23,
                                      gForm12BrowseButtonId, FORM12_CtlSubclassProc, kFont);
  gForm12SourceLabel = FrmAddControl(form, "Static", "Sumber", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 8, 16, 81, 33,
                                     gForm12SourceLabelId, FORM12_CtlSubclassProc, kFont, "", FrmColors::Face());
  gForm12PathEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                                  WS_EX_CLIENTEDGE, 80, 16, 381, 20, gForm12PathEditId, FORM12_CtlSubclassProc, kFont,
                                  "", FrmColors::Window(), 0);
  CtlSetFocus(gForm12SaveButton);
}

LResult FORM12_OnCreate(Hwnd, std::intptr_t) {
  CtlSetText(gForm12PathEdit, gDbPath);
  return 0;
}

LResult FORM12_BrowseDatabase(int, Hwnd form, Hwnd, int) {
  std::string fileName;
  std::string folder;   // empty: the current working folder
  std::string filter = "Database files (*.db3)|*.db3|All Files (*.*)|*.*";
  if (DlgOpenFile(form, "Cari dan Pilih File Database", fileName, folder, filter, "db3",
                  OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, 0))
    CtlSetText(gForm12PathEdit, fileName);
  return 0;
}

LResult FORM12_SaveConnection(int, Hwnd form, Hwnd, int) {
  std::string error;
  bool remembered = false;
  if (!FORM12_SwitchDatabase(CtlGetText(gForm12PathEdit), error, &remembered)) {
    MsgBox("Tidak dapat membuka database: " + error, "Info", MB_OK);
    return 0;
  }
  // The switch holds for this run; the box promises the next start only when conn.txt says so.
  MsgBox(remembered ? std::string("database berhasil dikoneksikan..")
                    : FORM12_NotRememberedText(AppProgramFile("conn.txt")),
         "Info", MB_OK);
  FrmClose(form, 0);
  return 0;
}

LResult FORM12_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // the close box: closed with result 0, nothing switched
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(gForm12, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    const int id = static_cast<int>(LOWORD(wParam));
    Handler handler = id == gForm12BrowseButtonId ? FORM12_BrowseDatabase
                      : id == gForm12SaveButtonId ? FORM12_SaveConnection
                                                  : nullptr;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM12_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
