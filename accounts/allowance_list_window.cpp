#include "accounts/allowance_list_window.h"

#include "accounts/code_list_window.h"
#include "framework/form_runtime.h"

Hwnd gForm4Window = 0;
Hwnd gForm4List = 0;
Hwnd gForm4Rebar = 0, gForm4Toolbar = 0;
int gForm4Id = 108;
int gForm4RebarId = 1000, gForm4ToolbarId = 1001, gForm4ListId = 1002;
int gForm4AddId = 1003, gForm4EditId = 1004, gForm4DeleteId = 1005, gForm4ExcelId = 1006, gForm4PageId = 1007,
    gForm4ImportId = 1008, gForm4CopyId = 1009, gForm4RefreshId = 1010;

namespace {

void Form4Destroyed(Hwnd form);

FrmForm gForm4 = {.name = "FORM4",
                  .wndProc = FORM4_WndProc,
                  .window = &gForm4Window,
                  .createControls = FORM4_CreateControls,
                  .onCreate = [](Hwnd form, std::intptr_t) -> LResult { return FORM4_LoadList(form); },
                  .onDestroy = Form4Destroyed,
                  .caption = "Data Tunjangan Guru",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                           WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  .width = 1017,
                  .height = 561,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm4Id};

// No entry window keeps allowance items: add and edit carry no action. The import window is owned by gForm4Window,
// so the import points it (and gForm4List) at the window whose command opens it.
const CodeListWindow kAllowanceList = {.form = &gForm4,
                                       .window = &gForm4Window,
                                       .list = &gForm4List,
                                       .rebar = &gForm4Rebar,
                                       .toolbar = &gForm4Toolbar,
                                       .rebarId = &gForm4RebarId,
                                       .toolbarId = &gForm4ToolbarId,
                                       .listId = &gForm4ListId,
                                       .addId = &gForm4AddId,
                                       .editId = &gForm4EditId,
                                       .deleteId = &gForm4DeleteId,
                                       .excelId = &gForm4ExcelId,
                                       .pageId = &gForm4PageId,
                                       .importId = &gForm4ImportId,
                                       .copyId = &gForm4CopyId,
                                       .refreshId = &gForm4RefreshId,
                                       .ctlSubclassProc = FORM4_CtlSubclassProc,
                                       .table = "mastergaji",
                                       .columns = "Kode, Uraian, Kriteria",
                                       .addTip = "Tambah Data Tunjangan Baru",
                                       .editTip = "Edit / Ubah Data Tunjangan",
                                       .deleteTip = "Hapus Item Data Tunjangan",
                                       .copyTip = "Salin Data Tunjangan dari tahun ajaran sebelumnya",
                                       .pageTitle = "LAPORAN ITEM DATA TUNJANGAN",
                                       .importMode = "Tunjangan",
                                       .currentBeforeImport = true,
                                       .entryShow = nullptr};

void Form4Destroyed(Hwnd form) { CodeListDestroyed(kAllowanceList, form); }

}  // namespace

std::intptr_t FORM4_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm4, parent, modal, userData); }

void FORM4_CreateControls(Hwnd form) { CodeListCreateControls(kAllowanceList, form); }

int FORM4_LoadList(Hwnd form) { return CodeListLoadList(kAllowanceList, form); }

int FORM4_OnCommand(Hwnd form, int id) { return CodeListOnCommand(kAllowanceList, form, id); }

bool FORM4_CopyFromYear(const std::string& sourceYear, int* copied) {
  return CodeListCopyFromYear(kAllowanceList, sourceYear, copied);
}

LResult FORM4_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return CodeListWndProc(kAllowanceList, hwnd, msg, wParam, lParam);
}

LResult FORM4_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
