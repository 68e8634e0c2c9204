#include "accounts/ledger_list_window.h"

#include "accounts/code_list_window.h"
#include "accounts/ledger_entry_window.h"
#include "framework/form_runtime.h"

Hwnd gForm5Window = 0;
Hwnd gForm5List = 0;
Hwnd gForm5Rebar = 0, gForm5Toolbar = 0;
int gForm5Id = 109;
int gForm5RebarId = 1000, gForm5ToolbarId = 1001, gForm5ListId = 1002;
int gForm5AddId = 1003, gForm5EditId = 1004, gForm5DeleteId = 1005, gForm5ExcelId = 1006, gForm5PageId = 1007,
    gForm5ImportId = 1008, gForm5CopyId = 1009, gForm5RefreshId = 1010;

namespace {

void Form5Destroyed(Hwnd form);

FrmForm gForm5 = {.name = "FORM5",
                  .wndProc = FORM5_WndProc,
                  .window = &gForm5Window,
                  .createControls = FORM5_CreateControls,
                  .onCreate = [](Hwnd form, std::intptr_t) -> LResult { return FORM5_LoadList(form); },
                  .onDestroy = Form5Destroyed,
                  .caption = "Data Rekening Keuangan",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                           WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  .width = 1020,
                  .height = 562,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm5Id};

// Add and edit open the entry window FORMREK, which reads and refills gForm5List and is owned by gForm5Window.
const CodeListWindow kLedgerList = {.form = &gForm5,
                                    .window = &gForm5Window,
                                    .list = &gForm5List,
                                    .rebar = &gForm5Rebar,
                                    .toolbar = &gForm5Toolbar,
                                    .rebarId = &gForm5RebarId,
                                    .toolbarId = &gForm5ToolbarId,
                                    .listId = &gForm5ListId,
                                    .addId = &gForm5AddId,
                                    .editId = &gForm5EditId,
                                    .deleteId = &gForm5DeleteId,
                                    .excelId = &gForm5ExcelId,
                                    .pageId = &gForm5PageId,
                                    .importId = &gForm5ImportId,
                                    .copyId = &gForm5CopyId,
                                    .refreshId = &gForm5RefreshId,
                                    .ctlSubclassProc = FORM5_CtlSubclassProc,
                                    .table = "rekening",
                                    .columns = "Kode, Deskripsi, Grup",
                                    .addTip = "Tambah Data Rekening Baru",
                                    .editTip = "Edit / Ubah Data Rekening",
                                    .deleteTip = "Hapus Item Data Rekening",
                                    .copyTip = "Salin Data Rekening dari tahun ajaran sebelumnya",
                                    .pageTitle = "LAPORAN ITEM DATA REKENING KEUANGAN",
                                    .importMode = "Rekening",
                                    .currentBeforeImport = false,
                                    .entryShow = FORMREK_Show};

void Form5Destroyed(Hwnd form) { CodeListDestroyed(kLedgerList, form); }

}  // namespace

std::intptr_t FORM5_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm5, parent, modal, userData); }

void FORM5_CreateControls(Hwnd form) { CodeListCreateControls(kLedgerList, form); }

int FORM5_LoadList(Hwnd form) { return CodeListLoadList(kLedgerList, form); }

int FORM5_OnCommand(Hwnd form, int id) { return CodeListOnCommand(kLedgerList, form, id); }

bool FORM5_CopyFromYear(const std::string& sourceYear, int* copied) {
  return CodeListCopyFromYear(kLedgerList, sourceYear, copied);
}

LResult FORM5_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return CodeListWndProc(kLedgerList, hwnd, msg, wParam, lParam);
}

LResult FORM5_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
