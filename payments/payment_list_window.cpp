#include "payments/payment_list_window.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "common/export.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "payments/payment_revision_window.h"
#include "payments/payment_window.h"
#include "payments/receipt_layouts.h"

Hwnd gForm13Window = 0;
Hwnd gForm13List = 0, gForm13Rebar = 0, gForm13Toolbar = 0;
int gForm13Id = 103;

int gForm13ListId = 1000, gForm13RebarId = 5000, gForm13ToolbarId = 5100;
int gForm13AddId = 5101, gForm13EditId = 5102, gForm13DeleteId = 5103, gForm13ExcelId = 5104, gForm13PageId = 5105,
    gForm13ReprintId = 5106, gForm13RefreshId = 5107;

const char* const kForm13DeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";

namespace {

constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kPageTitle = "LAPORAN DATA PEMBAYARAN";
constexpr const char* kRule = "   -----------------------------------------------------------------------";   // 3 + 71
constexpr std::uint32_t kLvsExFlatSb = 0x100, kLvsExLabelTip = 0x4000, kLvsExBorderSelect = 0x8000,
                        kLvsExOneClickActivate = 0x40;

// List columns of the month query.
constexpr int kColId = 0, kColSiswaId = 2, kColNama = 3, kColKelas = 4, kColAcctId = 5;

FrmForm gForm13 = {.name = "FORM13",
                   .wndProc = FORM13_WndProc,
                   .window = &gForm13Window,
                   .createControls = FORM13_CreateControls,
                   .onCreate = [](Hwnd form, std::intptr_t) { return FORM13_LoadPayments(form); },
                   .onDestroy = [](Hwnd) { gForm13List = gForm13Rebar = gForm13Toolbar = 0; },
                   .caption = "Data Pembayaran Siswa",
                   .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
                   .width = 1025,
                   .height = 562,
                   .kind = FRM_MDICHILD,
                   .mdiId = &gForm13Id};

struct ToolButton {
  const int* id;
  const char* icon;
  const char* tip;
};
const ToolButton kToolButtons[] = {
    {&gForm13AddId, "IMAGE_DATA_ADD", "Tambah Pembayaran Baru"},
    {&gForm13EditId, "IMAGE_DATA_EDIT", "Edit / Ubah Data Pembayaran"},
    {&gForm13DeleteId, "IMAGE_DATA_DELETE", "Hapus Item Data Pembayaran"},
    {&gForm13ExcelId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
    {&gForm13PageId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
    {&gForm13ReprintId, "IMAGE_PRINTER", "Cetak Ulang Struk"},
    {nullptr, nullptr, nullptr},   // separator
    {&gForm13RefreshId, "IMAGE_REFRESH", "Refresh / membaca ulang Data Pembyaran dari database"},
};

// The rows of the receipt being reprinted, kept by FORM13_OnReceiptRow.
std::vector<Form13ReceiptItem> gReceiptRows;

// Three blanks, the label right-aligned in 61 columns, "*" up to ten characters and the value.
std::string MoneyLine(const std::string& label, const std::string& value) {
  return "   " + RcptAlignRight(label, 61) + RcptStarFill(value, 10);
}

// Runs the statements in one transaction and, before it commits, reads the receipt (`stamp`, `siswaId`) as they left
// it: a receipt that no longer keeps its rules undoes them all and says why (FORM13_DeleteRefusal). A failure or a
// refusal is shown once the transaction has ended, so that no box stands while the file is held for writing.
// `changed` (when given) receives the rows the last statement changed.
bool DeleteInOneGo(const std::vector<std::string>& statements, const std::string& stamp, const std::string& siswaId,
                   int* changed) {
  std::string error, refusal;
  {
    FinTransaction tx;
    if (!tx.active()) return false;   // reported by the helper
    for (const std::string& s : statements) {
      if (FinExecQuiet(s) != SQLITE_OK) {
        error = gSqlErrMsg;
        break;
      }
      if (changed) *changed = sqlite3_changes(gDb);
    }
    Form13ReceiptMoney left;
    if (error.empty() && FORM13_ReadReceiptMoneyQuiet(stamp, siswaId, &left) != SQLITE_OK) error = gSqlErrMsg;
    if (error.empty()) refusal = FORM13_DeleteRefusal(left);
    if (error.empty() && refusal.empty()) return tx.commit();   // a failing commit is reported by the helper
  }
  if (!refusal.empty())
    MsgBox(refusal, "Info", MB_OK | MB_ICONINFORMATION);
  else
    MsgBox("SQL error: " + error, "Info", MB_OK);
  return false;
}

// The list rows of the receipt's discount (same stamp and student), from the last to the first.
std::vector<int> DiscountRowsOf(const std::string& stamp, const std::string& siswaId) {
  std::vector<int> rows;
  for (int r = LvGetItemCount(gForm13List) - 1; r >= 0; --r)
    if (RcptLeft(LvGetItemText(gForm13List, r, kColId), 22) == stamp &&
        LvGetItemText(gForm13List, r, kColSiswaId) == siswaId && LvGetItemText(gForm13List, r, kColAcctId) == "Disc")
      rows.push_back(r);
  return rows;
}

void DeleteSelected() {
  const int row = LvGetSelectionMark(gForm13List);
  if (row < 0 || row >= LvGetItemCount(gForm13List)) return;   // no row: nothing to delete, nothing to ask
  const std::string id = LvGetItemText(gForm13List, row, kColId);
  const std::string acctId = LvGetItemText(gForm13List, row, kColAcctId);
  const std::string siswaId = LvGetItemText(gForm13List, row, kColSiswaId);
  const std::string stamp = RcptLeft(id, 22);
  // What the receipt holds without the marked row. When no item row is left, its discount and savings withdrawal
  // go with it: they were given for items that no longer exist (decided by the rows, whatever their amounts).
  // Otherwise the rest must keep the receipt's rules, or nothing is asked and nothing deleted. Without knowing what
  // the receipt holds nothing is asked and nothing deleted.
  Form13ReceiptMoney rest;
  if (!FORM13_ReadReceiptMoney(stamp, siswaId, &rest, id, acctId)) return;
  const bool lastRow = rest.items == 0 && (rest.discountRows > 0 || rest.savingsRows > 0);
  if (!lastRow) {
    const std::string refusal = FORM13_DeleteRefusal(rest);
    if (!refusal.empty()) {
      MsgBox(refusal, "Info", MB_OK | MB_ICONINFORMATION);
      return;
    }
  }
  const std::string question = lastRow ? FORM13_DeleteLastItemQuestion(rest) : kForm13DeleteQuestion;
  if (MsgBox(question, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  std::vector<std::string> statements = {FORM13_DeleteSql(id, acctId, siswaId)};
  if (lastRow) statements.push_back(FORM13_DeleteReceiptRestSql(stamp, siswaId));
  int changed = 0;
  if (!DeleteInOneGo(statements, stamp, siswaId, &changed)) return;   // nothing deleted; the list stays
  LvDeleteItem(gForm13List, row);
  if (lastRow && changed > 0)
    for (int r : DiscountRowsOf(stamp, siswaId)) LvDeleteItem(gForm13List, r);
}

}  // namespace

// ----- what the window computes -------------------------------------------------------------------------------------

// The month's rows are taken by date (index on tgl and sts): "+Sts" keeps the status out of the choice of index, since
// the index on (sts, siswaid) would read every payment row of every year to keep one month.
std::string FORM13_MonthSql(const std::string& tapel, int reportMonth) {
  return "select Id, Tgl, SiswaId, (Select Nama From Siswa Where Siswa.Id=Transaksi.SiswaId) As NamaSiswa, (Select "
         "Kelas From SiswaKelas Where SiswaKelas.IdSiswa=Transaksi.SiswaId and Tapel='" +
         SqlQ(tapel) + "') As KelasSiswa, AcctId, Uraian, Masuk, Petugas from transaksi WHERE +Sts='p' And " +
         FORM13_MonthRangeSql(tapel, reportMonth) + " Order By Id";
}

std::string FORM13_DeleteSql(const std::string& id, const std::string& acctId, const std::string& siswaId) {
  return "Delete from transaksi Where Id='" + SqlQ(id) + "' and Sts='p' and AcctId='" + SqlQ(acctId) +
         "' and SiswaId='" + SqlQ(siswaId) + "'";
}

std::string FORM13_DeleteLastItemQuestion(const Form13ReceiptMoney& rest) {
  std::string what;
  if (rest.discountRows > 0) what = "potongan " + FORM13_Rupiah(rest.discount);
  if (rest.savingsRows > 0) {
    if (!what.empty()) what += " dan ";
    what += "pengambilan tabungan " + FORM13_Rupiah(rest.savingsUsed) + " (kembali ke saldo tabungan siswa)";
  }
  return "Apakah anda yakin akan menghapus record ini? Record ini item terakhir dari struknya, maka " + what +
         " pada struk ini ikut dihapus..";
}

std::string FORM13_DeleteRefusal(const Form13ReceiptMoney& rest) {
  switch (FORM13_ReceiptBreach(rest)) {
    case Form13ReceiptBreach::kDiscountAboveItems:
      return "Record ini tidak dapat dihapus, potongan " + FORM13_Rupiah(rest.discount) +
             " pada struk ini melebihi total item yang tersisa " + FORM13_Rupiah(rest.itemsTotal) + "..";
    case Form13ReceiptBreach::kSavingsAboveNet:
      return "Record ini tidak dapat dihapus, pengambilan tabungan " + FORM13_Rupiah(rest.savingsUsed) +
             " pada struk ini melebihi total setelah potongan yang tersisa " +
             FORM13_Rupiah(rest.itemsTotal - rest.discount) + "..";
    case Form13ReceiptBreach::kNone: break;
  }
  return std::string();
}

std::vector<std::string> FORM13_ReceiptLines(const Form13Receipt& r) {
  std::vector<std::string> lines = {
      "   " + r.schoolName,
      "   " + r.schoolAddress,
      "   Telp. " + r.schoolPhone + " Email. " + r.schoolEmail,
      kRule,
      "   Nama Siswa : " + r.name + "; Kls : " + r.kelas,
      kRule,
  };
  long long total = 0;
  int i = 0;
  for (const Form13ReceiptItem& item : r.items) {
    const std::string n = std::to_string(++i);
    const std::string desc = RcptLeft(item.uraian, 60);
    lines.push_back("   " + RcptPad(n, 3) + RcptPad(desc, 55) + "Rp." + RcptStarFill(item.masuk, 10));
    total += RoundHalfEven(Val(item.masuk));
  }
  const long long net = total + RoundHalfEven(Val(r.discount));
  // What the student handed over is the net less what came from the savings: the two add up to the net.
  const long long fromSavings = RoundHalfEven(Val(r.savingsUsed));
  const long long paid = fromSavings > 0 ? net - fromSavings : net;
  lines.push_back(kRule);
  lines.push_back(MoneyLine("                      Total : Rp.", std::to_string(total)));
  lines.push_back(kRule);
  lines.push_back("   " + (total >= 0 && total < 1000000000LL ? FinSpellNumber(static_cast<std::int32_t>(total)) : ""));
  lines.push_back(MoneyLine("Penerima              Potongan : Rp.", r.discount));
  lines.push_back(MoneyLine("                      Jml. Bersih : Rp.", std::to_string(net)));
  lines.push_back(MoneyLine("                      Dibayar : Rp.", std::to_string(paid)));
  lines.push_back(fromSavings > 0 ? MoneyLine("               Ambil Tabungan : Rp.", r.savingsUsed) : "");
  lines.push_back(MoneyLine("(__________)          Kembali : Rp.", "0"));
  lines.push_back("");
  lines.push_back("   Dicetak tanggal " + r.date + " " + r.time);
  lines.push_back("   Oleh operator : " + r.operatorName);
  return lines;
}

// The items print in the order the rows were stored; the discount and the savings withdrawal are no items.
std::string FORM13_ReceiptItemsSql(const std::string& stamp, const std::string& siswaId) {
  return "select Uraian, Masuk from transaksi WHERE " + FORM13_ReceiptWhere(stamp, siswaId) +
         " and AcctId not in ('Disc','Tabungan') order by rowid";
}

std::string FORM13_ReceiptDiscountSql(const std::string& stamp, const std::string& siswaId) {
  return "Select sum(Masuk) From Transaksi WHERE " + FORM13_ReceiptWhere(stamp, siswaId) + " and +AcctId='Disc'";
}

std::string FORM13_ReceiptSavingsSql(const std::string& stamp, const std::string& siswaId) {
  return "Select sum(Keluar) From Transaksi WHERE " + FORM13_ReceiptWhere(stamp, siswaId) + " and +AcctId='Tabungan'";
}

std::string FORM13_DeleteReceiptRestSql(const std::string& stamp, const std::string& siswaId) {
  const std::string where = FORM13_ReceiptWhere(stamp, siswaId);
  return "Delete from transaksi Where " + where + " and +AcctId in ('Disc','Tabungan') and not exists (Select 1 From "
         "transaksi WHERE " + where + " and +Sts='p' and AcctId not in ('Disc','Tabungan'))";
}

int FORM13_OnReceiptRow(void*, int columnCount, char** values, char**) {
  gReceiptRows.push_back({FinCell(values, columnCount, 0), FinCell(values, columnCount, 1)});
  gListRowCount += 1;
  return 0;
}

bool FORM13_ReadReceipt(const std::string& stamp, const std::string& siswaId, const std::string& name,
                        const std::string& kelas, Form13Receipt* out) {
  Form13Receipt r;
  r.schoolName = gSchoolName;
  r.schoolAddress = gSchoolAddress;
  r.schoolPhone = gSchoolPhone;
  r.schoolEmail = gSchoolEmail;
  r.name = name;
  r.kelas = kelas;
  gListRowCount = 0;
  gReceiptRows.clear();
  const int rc = FinExec(FORM13_ReceiptItemsSql(stamp, siswaId), FORM13_OnReceiptRow);
  r.items = std::move(gReceiptRows);
  gReceiptRows.clear();
  if (rc != SQLITE_OK) return false;
  gSqlResult.clear();
  if (FinExec(FORM13_ReceiptDiscountSql(stamp, siswaId), FinCbSingleValue) != SQLITE_OK) return false;
  r.discount = gSqlResult;
  gSqlResult.clear();
  if (FinExec(FORM13_ReceiptSavingsSql(stamp, siswaId), FinCbSingleValue) != SQLITE_OK) return false;
  r.savingsUsed = gSqlResult;
  r.date = FmtDateNow("dd-MM-yyyy");
  r.time = SbGetText(gStatusBar, 5);
  r.operatorName = SbGetText(gStatusBar, 1);
  *out = std::move(r);
  return true;
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORM13_Show(Hwnd parent, int modal, int userData) {
  // One payment list (the revision window reads its list). Brought back, it shows what a new list would show: the
  // month's rows as the file holds them now, since other windows and desks have saved since it read them.
  if (IsWindow(gForm13Window)) {
    FORM13_LoadPayments(gForm13Window);
    WinSetActiveWindow(gForm13Window);
    return gForm13Window;
  }
  return FrmShowForm(gForm13, parent, modal, userData);
}

void FORM13_CreateControls(Hwnd form) {
  gForm13Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 0, 0, 0, FrmScaleY(30), form, gForm13RebarId, 0);
  gForm13Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                       TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, gForm13Rebar, gForm13ToolbarId, 0);
  TbSetIconSize(gForm13Toolbar, 24, 24);
  for (const ToolButton& b : kToolButtons) {
    if (!b.id) {
      TbAddSeparator(gForm13Toolbar);
      continue;
    }
    TbAddButton(gForm13Toolbar, *b.id, ResLoadIcon(b.icon), "", b.tip, 0);
  }
  TbAutoSize(gForm13Toolbar);
  RbInsertBand(gForm13Rebar, gForm13Toolbar, CtlGetHeight(gForm13Toolbar), FrmScaleX(250));

  const int top = CtlGetHeight(gForm13Rebar);
  gForm13List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                              LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0, top, 1017, 528 - top, gForm13ListId,
                              FORM13_CtlSubclassProc, kListFont, "FL,FT,S,S");
  LvSetExtendedStyle(gForm13List, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | kLvsExFlatSb | kLvsExLabelTip |
                                      kLvsExBorderSelect | kLvsExOneClickActivate);
  LvSetColors(gForm13List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm13List);
}

LResult FORM13_LoadPayments(Hwnd) {
  gSql = FORM13_MonthSql(gTapel, gReportMonth);
  gTargetListView = gForm13List;
  LvDeleteAllColumns(gForm13List);
  LvDeleteAllItems(gForm13List);
  FinExec(gSql, FinCbFillList);
  return 0;
}

void FORM13_ReprintReceipt(Hwnd) {
  const int row = LvGetSelectionMark(gForm13List);
  const std::string id = LvGetItemText(gForm13List, row, kColId);
  Form13Receipt r;
  // A receipt whose rows could not all be read is not printed: its money would not be the money stored.
  if (!FORM13_ReadReceipt(RcptLeft(id, 22), LvGetItemText(gForm13List, row, kColSiswaId),
                          LvGetItemText(gForm13List, row, kColNama), LvGetItemText(gForm13List, row, kColKelas), &r))
    return;
  ReceiptPage page;
  page.docName = "Struk";
  page.font = gStrukFont;
  page.points = 12;
  const std::vector<std::string> lines = FORM13_ReceiptLines(r);
  for (std::size_t k = 0; k < lines.size(); ++k)
    if (!lines[k].empty()) page.lines.push_back({10, static_cast<int>(k + 1) * gStrukLineSpacing, lines[k]});
  PrintReceiptPage(page);
}

int FORM13_OnCommand(Hwnd form, Hwnd, int notification, int id) {
  if (notification != 0) return 0;
  if (id == gForm13AddId) {
    gEditMode = 0;
    FORMBAYAR_Show(form, 1, 0);
  } else if (id == gForm13EditId) {
    gEditMode = 1;
    const int row = LvGetSelectionMark(gForm13List);
    FORMREVISI_Show(form, 1, 0, {LvGetItemText(gForm13List, row, 2), LvGetItemText(gForm13List, row, 5)});
  } else if (id == gForm13DeleteId) {
    DeleteSelected();
  } else if (id == gForm13ExcelId) {
    gTargetListView = gForm13List;
    FinExportToSheet();
  } else if (id == gForm13PageId) {
    FinExportToPage(kPageTitle, gForm13List);
  } else if (id == gForm13ReprintId) {
    FORM13_ReprintReceipt(form);
  } else if (id == gForm13RefreshId) {
    FORM13_LoadPayments(form);
  }
  return 0;
}

LResult FORM13_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) WinSendMessage(WinGetDlgItem(hwnd, gForm13RebarId), WM_SIZE, 0, 0);
  LResult r = 0;
  if (FrmFormMessage(gForm13, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND)
    FORM13_OnCommand(hwnd, FrmControlOf(msg, lParam), static_cast<int>(HIWORD(wParam)),
                     static_cast<int>(LOWORD(wParam)));
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM13_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
