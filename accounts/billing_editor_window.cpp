#include "accounts/billing_editor_window.h"

#include <sqlite3.h>

#include <QAbstractButton>
#include <QWidget>
#include <limits>
#include <string>
#include <vector>

#include "accounts/account_globals.h"
#include "accounts/fee_list_window.h"
#include "accounts/fee_rules.h"
#include "common/amounts.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gForm28Window = 0;
Hwnd gForm28FeeGroup = 0, gForm28AkunLabel = 0, gForm28AkunEdit = 0, gForm28PembayaranLabel = 0,
     gForm28PembayaranEdit = 0, gForm28JenisLabel = 0, gForm28JenisEdit = 0, gForm28PaguLabel = 0,
     gForm28PaguEdit = 0, gForm28StudentGroup = 0, gForm28IdSiswaLabel = 0, gForm28IdSiswaEdit = 0,
     gForm28NamaLabel = 0, gForm28NamaEdit = 0, gForm28TotalLabel = 0, gForm28PasteButton = 0, gForm28TotalEdit = 0,
     gForm28List = 0, gForm28Progress = 0, gForm28CreateButton = 0, gForm28DeleteButton = 0,
     gForm28UpdateButton = 0, gForm28CloseButton = 0;
Hwnd gForm28MonthLabel[13] = {}, gForm28MonthEdit[13] = {};

int gForm28FeeGroupId, gForm28AkunLabelId, gForm28AkunEditId, gForm28PembayaranLabelId, gForm28PembayaranEditId,
    gForm28JenisLabelId, gForm28JenisEditId, gForm28PaguLabelId, gForm28PaguEditId, gForm28StudentGroupId,
    gForm28IdSiswaLabelId, gForm28IdSiswaEditId, gForm28NamaLabelId, gForm28NamaEditId, gForm28TotalLabelId,
    gForm28PasteButtonId, gForm28TotalEditId, gForm28ListId, gForm28ProgressId, gForm28CreateButtonId,
    gForm28DeleteButtonId, gForm28UpdateButtonId, gForm28CloseButtonId;
int gForm28MonthLabelId[13] = {}, gForm28MonthEditId[13] = {};

const char* const kForm28DeleteQuestion =
    "Apakah anda yakin akan menghapus detail account ini? Cobalah koreksi data yang terkait dengan record ini, "
    "mungkin bisa mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";

const char* const kForm28PasteRefused =
    "Sebagian jumlah yang di-paste bukan angka rupiah yang valid, baris tersebut tidak dirubah..";
const char* const kForm28NothingSaved = "Detail account tidak ditemukan, tidak ada data yang disimpan..";
const char* const kForm28PaguRefused =
    "Default Pagu bukan angka rupiah yang valid, detail account tidak dibuat..";

std::string FORM28_PasteSeveralCellsText(int line) {
  return "Baris ke-" + std::to_string(line) +
         " yang di-paste berisi lebih dari satu kolom, tidak ada jumlah yang dirubah. Copy satu kolom jumlah saja..";
}

void FORM28_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm28FeeGroupId, &gForm28AkunLabelId, &gForm28AkunEditId, &gForm28PembayaranLabelId,
                 &gForm28PembayaranEditId, &gForm28JenisLabelId, &gForm28JenisEditId, &gForm28PaguLabelId,
                 &gForm28PaguEditId, &gForm28StudentGroupId, &gForm28IdSiswaLabelId, &gForm28IdSiswaEditId,
                 &gForm28NamaLabelId, &gForm28NamaEditId, &gForm28TotalLabelId, &gForm28PasteButtonId,
                 &gForm28TotalEditId})
    *g = id++;
  for (int k = 1; k <= 12; ++k) {
    gForm28MonthLabelId[k] = id++;
    gForm28MonthEditId[k] = id++;
  }
  for (int* g : {&gForm28ListId, &gForm28ProgressId, &gForm28CreateButtonId, &gForm28DeleteButtonId,
                 &gForm28UpdateButtonId, &gForm28CloseButtonId})
    *g = id++;
}

namespace {

// The ids hold their numbers before any start-up code has run.
const bool kIdsReady = (FORM28_InitControlIds(), true);

constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr int kFirstAmountColumn = 3;   // list columns: No., Id_Siswa, Nama, then the amounts
const char* const kMonthCaptions[12] = {"Juli",  "Agustus",  "September", "Oktober", "Nopember", "Desember",
                                        "Januari", "Februari", "Maret",   "April",   "Mei",      "Juni"};

FrmForm gForm28 = {.name = "FORM28",
                   .wndProc = FORM28_WndProc,
                   .window = &gForm28Window,
                   .createControls = FORM28_CreateControls,
                   .onCreate = FORM28_Init,
                   .caption = "Detail Akun Pembayaran",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .width = 1021,
                   .height = 711};

bool gYearly = false;
// The class of the fee, from its row in the fee list: the students billed by "Buat Detail Account" are this class's,
// whatever class the fee list's combo shows (a fee found by the search may be of another class).
std::string gFeeClass;

constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

Hwnd AddLabel(Hwnd form, const char* text, int x, int y, int id) {
  return FrmAddControl(form, "Static", text, kLabel, 0, x, y + 3, 100, 18, id, FORM28_EditSubclassProc, kFont);
}
Hwnd AddEdit(Hwnd form, std::uint32_t extra, int x, int y, int w, int id, FrmColors colors) {
  return FrmAddControl(form, "Edit", "", kEdit | extra, WS_EX_CLIENTEDGE, x, y, w, 22, id, FORM28_EditSubclassProc,
                       kFont, "", colors);
}
Hwnd AddButton(Hwnd form, const char* text, int x, int w, int id) {
  return FrmAddControl(form, "Button", text, kButton, 0, x, 640, w, 30, id, FORM28_EditSubclassProc, kFont);
}

// Adds a list row: "No.", the student and the amount cells (twelve months, or the yearly amount).
void AddRow(const std::string& idSiswa, const std::string& nama, const std::vector<std::string>& amounts) {
  const int row = LvInsertItem(gForm28List, LvGetItemCount(gForm28List), 0,
                               std::to_string(LvGetItemCount(gForm28List) + 1), 0, 0);
  LvSetItemText(gForm28List, row, 1, idSiswa);
  LvSetItemText(gForm28List, row, 2, nama);
  for (std::size_t i = 0; i < amounts.size(); ++i)
    LvSetItemText(gForm28List, row, kFirstAmountColumn + static_cast<int>(i), amounts[i]);
}

std::array<std::string, 12> MonthCells(int row) {
  std::array<std::string, 12> cells;
  for (int k = 0; k < 12; ++k) cells[k] = LvGetItemText(gForm28List, row, kFirstAmountColumn + k);
  return cells;
}

// The fee's rows as whole rupiah in the list: what the database now holds.
void ShowWritten(int row) {
  const int columns = gYearly ? 1 : 12;
  for (int c = 0; c < columns; ++c) {
    const int col = kFirstAmountColumn + c;
    LvSetItemText(gForm28List, row, col, std::to_string(FinFeeAmount(LvGetItemText(gForm28List, row, col))));
  }
}

bool HasFee() { return !CtlGetText(gForm28AkunEdit).empty(); }

}  // namespace

// ----- what the editor computes -------------------------------------------------------------------------------------
std::vector<Form28PastedAmount> FORM28_PasteValues(const std::string& clipboardText) {
  std::string text = clipboardText;
  std::erase(text, '\0');
  // One line per carriage return (the line feed of a CR LF pair belongs to it); no line after a closing one.
  std::vector<std::string> fields;
  StrSplit(StrReplace(text, "\r\n", "\r"), "\r", fields);
  std::vector<Form28PastedAmount> values;
  for (std::size_t i = 1; i < fields.size(); ++i) {   // fields[0] is their count
    std::string line = fields[i];
    Form28PastedAmount v;
    if (line.find_first_not_of(" \t\n") == std::string::npos) {
      values.push_back(v);   // a blank cell: its row keeps its amounts
      continue;
    }
    line.erase(0, line.find_first_not_of('\n'));   // a line feed left before the line
    line.erase(line.find_last_not_of('\n') + 1);
    long long amount = 0;
    if (line.find('\t') != std::string::npos)
      v.severalCells = true;   // a TAB beside a text: more than the amount column was copied
    else if (FinReadAmount(line, amount) && amount >= 0)
      v.amount = amount;
    else
      v.refused = true;
    values.push_back(v);
  }
  return values;
}

long long FORM28_Sum(const std::vector<std::string>& amounts) {
  long long sum = 0;
  for (const std::string& a : amounts) {
    const long long amount = FinFeeAmount(a);
    if (__builtin_add_overflow(sum, amount, &sum))
      sum = amount > 0 ? std::numeric_limits<long long>::max() : std::numeric_limits<long long>::min();
  }
  return sum;
}

int FORM28_Progress(int i, int n) {
  if (n <= 0) return 0;
  return static_cast<int>(RoundHalfEven(static_cast<double>(i + 1) / n * 100.0));
}

std::string FORM28_InsertMonthlySql(const std::string& akun, const std::string& idSiswa, long long defaultAmount,
                                    const std::array<std::string, 12>& months) {
  FinBilling b;
  b.total = 12 * defaultAmount;
  for (int k = 0; k < 12; ++k) b.months[k] = FinFeeAmount(months[k]);
  return FinBillingInsertSql(akun, idSiswa, b);
}

std::string FORM28_InsertYearlySql(const std::string& akun, const std::string& idSiswa, long long amount) {
  return FinBillingInsertSql(akun, idSiswa, FinFeeBilling("Pertahun", amount));
}

std::string FORM28_UpdateMonthlySql(const std::string& akun, const std::string& idSiswa,
                                    const std::array<std::string, 12>& months) {
  const std::vector<std::string> list(months.begin(), months.end());
  std::string sql = "Update detail_account Set jml_pembayaran='" + std::to_string(FORM28_Sum(list)) + "', ";
  for (int k = 0; k < 12; ++k) {
    if (k) sql += "', ";
    sql += std::string(kFinMonthColumns[k]) + "='" + std::to_string(FinFeeAmount(months[k]));
  }
  return sql + "' where id_siswa='" + SqlQ(idSiswa) + "' and id_account='" + SqlQ(akun) + "'";
}

std::string FORM28_MissingStudentsSql(const std::string& akun, const std::string& kelas, const std::string& tapel) {
  return "select idsiswa, nama from siswakelas inner join siswa on idsiswa=id WHERE kelas='" + SqlQ(kelas) +
         "' and Tapel='" + SqlQ(tapel) +
         "' and not exists (select 1 from detail_account where detail_account.id_account='" + SqlQ(akun) +
         "' and detail_account.id_siswa=siswakelas.idsiswa) Group By idsiswa";
}

std::string FORM28_UpdateYearlySql(const std::string& akun, const std::string& idSiswa, const std::string& amount) {
  return "Update detail_account Set jml_pembayaran='" + std::to_string(FinFeeAmount(amount)) + "' where id_siswa='" +
         SqlQ(idSiswa) + "' and id_account='" + SqlQ(akun) + "'";
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORM28_Show(Hwnd owner, int modal, int userData) { return FrmShowForm(gForm28, owner, modal, userData); }

bool FORM28_IsYearly() { return gYearly; }

void FORM28_CreateControls(Hwnd form) {
  (void)kIdsReady;
  const Hwnd f = form;
  const FrmColors window = FrmColors::Window();
  const FrmColors yellow = FrmColors::TextOnRgb(WinRgb(255, 255, 128));

  gForm28FeeGroup = FrmAddControl(f, "Button", "Akun Pembayaran", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 8, 6, 310,
                                  142, gForm28FeeGroupId, FORM28_EditSubclassProc, kFont);
  gForm28AkunLabel = AddLabel(f, "Akun", 18, 28, gForm28AkunLabelId);
  gForm28AkunEdit = AddEdit(f, ES_READONLY, 120, 28, 185, gForm28AkunEditId, window);
  gForm28PembayaranLabel = AddLabel(f, "Pembayaran", 18, 56, gForm28PembayaranLabelId);
  gForm28PembayaranEdit = AddEdit(f, ES_READONLY, 120, 56, 185, gForm28PembayaranEditId, window);
  gForm28JenisLabel = AddLabel(f, "Jenis", 18, 84, gForm28JenisLabelId);
  gForm28JenisEdit = AddEdit(f, ES_READONLY, 120, 84, 185, gForm28JenisEditId, window);
  gForm28PaguLabel = AddLabel(f, "Default Pagu", 18, 112, gForm28PaguLabelId);
  gForm28PaguEdit = AddEdit(f, 0, 120, 112, 185, gForm28PaguEditId, window);
  FinLimitAmountEdit(gForm28PaguEdit);

  gForm28StudentGroup = FrmAddControl(f, "Button", "Akun Pembayaran Per Siswa", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                      0, 8, 156, 310, 470, gForm28StudentGroupId, FORM28_EditSubclassProc, kFont);
  gForm28IdSiswaLabel = AddLabel(f, "Id Siswa", 18, 178, gForm28IdSiswaLabelId);
  gForm28IdSiswaEdit = AddEdit(f, ES_READONLY, 120, 178, 185, gForm28IdSiswaEditId, window);
  gForm28NamaLabel = AddLabel(f, "Nama Siswa", 18, 206, gForm28NamaLabelId);
  gForm28NamaEdit = AddEdit(f, ES_READONLY, 120, 206, 185, gForm28NamaEditId, window);
  gForm28TotalLabel = AddLabel(f, "Jumlah Tagihan", 18, 234, gForm28TotalLabelId);
  gForm28PasteButton = FrmAddControl(f, "Button", "", kButton | BS_ICON, 0, 120, 233, 26, 24, gForm28PasteButtonId,
                                     FORM28_EditSubclassProc, kFont);
  if (auto* b = qobject_cast<QAbstractButton*>(WinWidget(gForm28PasteButton))) b->setIcon(ResLoadIcon("IMAGE_DOWN"));
  gForm28TotalEdit = AddEdit(f, ES_NUMBER, 150, 234, 155, gForm28TotalEditId, window);
  FinLimitAmountEdit(gForm28TotalEdit);
  CtlAddToolTip(gForm28TotalEdit, "Bila jenis pembayaran Pertahun, rubah langsung nilai pada kolom ini", 0);
  for (int k = 1; k <= 12; ++k) {
    const int y = 264 + 28 * (k - 1);
    gForm28MonthLabel[k] = AddLabel(f, kMonthCaptions[k - 1], 18, y, gForm28MonthLabelId[k]);
    gForm28MonthEdit[k] = AddEdit(f, ES_NUMBER, 150, y, 155, gForm28MonthEditId[k], yellow);
    FinLimitAmountEdit(gForm28MonthEdit[k]);
    CtlAddToolTip(gForm28MonthEdit[k], "Rubah pada kolom ini, kemudian tekan Enter untuk update data..", 0);
  }
  for (Hwnd g : {gForm28FeeGroup, gForm28StudentGroup})
    if (QWidget* w = WinWidget(g)) w->lower();   // frames behind the fields, not over them

  gForm28List = FrmAddControl(f, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                              LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 325, 0, 688, 623, gForm28ListId,
                              FORM28_EditSubclassProc, kFont);
  LvSetExtendedStyle(gForm28List, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm28List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  gForm28Progress = FrmAddControl(f, "msctls_progress32", "", WS_CHILD | WS_VISIBLE, 0, 8, 644, 305, 22,
                                  gForm28ProgressId, FORM28_EditSubclassProc, kFont);
  PbSetRange(gForm28Progress, 1, 100);
  gForm28CreateButton = AddButton(f, "Buat Detail Account", 325, 160, gForm28CreateButtonId);
  gForm28DeleteButton = AddButton(f, "Hapus Detail Account", 490, 160, gForm28DeleteButtonId);
  gForm28UpdateButton = AddButton(f, "Update Data", 655, 160, gForm28UpdateButtonId);
  gForm28CloseButton = AddButton(f, "Selesai", 893, 120, gForm28CloseButtonId);
}

LResult FORM28_Init(Hwnd, std::intptr_t) {
  const int row = LvGetSelectionMark(gForm6List);
  CtlSetText(gForm28AkunEdit, LvGetItemText(gForm6List, row, 0));
  CtlSetText(gForm28PembayaranEdit, LvGetItemText(gForm6List, row, 1));
  CtlSetText(gForm28JenisEdit, LvGetItemText(gForm6List, row, 4));
  CtlSetText(gForm28PaguEdit, LvGetItemText(gForm6List, row, 2));
  gFeeClass = LvGetItemText(gForm6List, row, 3);
  gYearly = CtlGetText(gForm28JenisEdit) == "Pertahun";

  LvInsertColumn(gForm28List, 0, "No.", LVCFMT_CENTER, 50);
  LvInsertColumn(gForm28List, 1, "Id_Siswa", LVCFMT_LEFT, 100);
  LvInsertColumn(gForm28List, 2, "Nama", LVCFMT_LEFT, 250);
  if (!gYearly) {
    CtlDisable(gForm28TotalEdit);
    for (int k = 0; k < 12; ++k) LvInsertColumn(gForm28List, kFirstAmountColumn + k, kMonthCaptions[k], LVCFMT_RIGHT, 80);
  } else {
    CtlSetColors(gForm28TotalEdit, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 128)));
    for (int k = 1; k <= 12; ++k) {
      CtlSetColors(gForm28MonthEdit[k], -1, static_cast<int>(WinRgb(255, 255, 255)));
      CtlDisable(gForm28MonthEdit[k]);
    }
    LvInsertColumn(gForm28List, kFirstAmountColumn, "Jumlah Tagihan", LVCFMT_RIGHT, 180);
  }

  if (!HasFee()) {   // no fee marked in the fee list: nothing to load and nothing to write
    for (Hwnd b : {gForm28CreateButton, gForm28DeleteButton, gForm28UpdateButton, gForm28PasteButton}) CtlDisable(b);
    return 0;
  }
  const std::string akun = CtlGetText(gForm28AkunEdit);
  gCountResult = 0;
  if (FinExec("select count(*) from detail_account WHERE id_account='" + SqlQ(akun) + "'", FinCbCount) != 0) {
    CtlDisable(gForm28CreateButton);   // unknown whether rows exist: none are created over them
    return 0;
  }
  // "Buat Detail Account" stays open when the fee has rows: it bills the students who came into the class since.
  if (gCountResult > 0)
    FinExec("select id_siswa, (select nama from siswa where id=id_siswa), jml_pembayaran, juli, agustus, september, "
            "oktober, nopember, desember, januari, februari, maret, april, mei, juni from detail_account WHERE "
            "id_account='" +
                SqlQ(akun) + "'",
            FORM28_OnDetailRow);
  return 0;
}

int FORM28_OnDetailRow(void*, int columnCount, char** values, char**) {
  std::vector<std::string> amounts;
  if (gYearly) {
    amounts.push_back(FinCell(values, columnCount, 2));
  } else {
    for (int k = 0; k < 12; ++k) amounts.push_back(FinCell(values, columnCount, 3 + k));
  }
  AddRow(FinCell(values, columnCount, 0), FinCell(values, columnCount, 1), amounts);
  return 0;
}

namespace {
long long gCreateDefault = 0;
}

int FORM28_OnStudentRow(void*, int columnCount, char** values, char**) {
  const std::string d = std::to_string(gCreateDefault);
  AddRow(FinCell(values, columnCount, 0), FinCell(values, columnCount, 1),
         std::vector<std::string>(gYearly ? 1 : 12, d));
  return 0;
}

LResult FORM28_CreateDetail(Hwnd) {
  if (!HasFee()) return 0;
  const std::string akun = CtlGetText(gForm28AkunEdit);
  // Default Pagu is read as every typed amount is: whole rupiah, at most 12 digits, never below 0.
  long long pagu = 0;
  if (!FinReadAmount(CtlGetText(gForm28PaguEdit), pagu) || pagu < 0) {
    MsgBox(kForm28PaguRefused, "Info", MB_OK);
    return 0;
  }
  gCreateDefault = pagu;
  PbSetPos(gForm28Progress, 0);
  // The rows the fee has stay as they are; the new rows follow them in the list.
  const int first = LvGetItemCount(gForm28List);
  auto dropNewRows = [first] {
    for (int i = LvGetItemCount(gForm28List) - 1; i >= first; --i) LvDeleteItem(gForm28List, i);
  };
  bool written = false;
  {
    // Which students have no row yet is read inside the write's transaction: read before it, another program on the
    // file could bill the same students in between, and they would be billed twice.
    FinTransaction tx;
    if (tx.active() && FinExec(FORM28_MissingStudentsSql(akun, gFeeClass, gTapel), FORM28_OnStudentRow) == 0) {
      const int n = LvGetItemCount(gForm28List) - first;
      bool ok = true;
      for (int i = 0; i < n && ok; ++i) {
        const int row = first + i;
        const std::string idSiswa = LvGetItemText(gForm28List, row, 1);
        const std::string sql = gYearly ? FORM28_InsertYearlySql(akun, idSiswa, gCreateDefault)
                                        : FORM28_InsertMonthlySql(akun, idSiswa, gCreateDefault, MonthCells(row));
        ok = FinExec(sql) == 0;
        if (ok) PbSetPos(gForm28Progress, FORM28_Progress(i, n));
      }
      written = ok && tx.commit();
    }
  }
  if (!written) {   // nothing was created: the new rows go and the command stays open for another try
    dropNewRows();
    return 0;
  }
  CtlDisable(gForm28CreateButton);   // every student of the class has a row now
  return 0;
}

LResult FORM28_UpdateDetail(Hwnd) {
  if (!HasFee()) return 0;
  const std::string akun = CtlGetText(gForm28AkunEdit);
  PbSetPos(gForm28Progress, 0);
  const int n = LvGetItemCount(gForm28List);
  long long changed = 0;   // billing rows the statements found
  {
    FinTransaction tx;
    if (!tx.active()) return 0;
    for (int i = 0; i < n; ++i) {
      const std::string idSiswa = LvGetItemText(gForm28List, i, 1);
      const std::string sql =
          gYearly ? FORM28_UpdateYearlySql(akun, idSiswa, LvGetItemText(gForm28List, i, kFirstAmountColumn))
                  : FORM28_UpdateMonthlySql(akun, idSiswa, MonthCells(i));
      if (FinExec(sql) != 0) return 0;   // undone with the transaction; its box told the operator
      changed += sqlite3_changes(gDb);
      PbSetPos(gForm28Progress, FORM28_Progress(i, n));
    }
    if (!tx.commit()) return 0;
  }
  // None of the list's rows is in the file (deleted meanwhile, here or by another program): nothing was saved, and
  // the editor says so instead of reporting the update done. A list row without its billing row among others that
  // have theirs changes nothing and is not reported.
  if (changed < 1) {
    MsgBox(kForm28NothingSaved, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  for (int i = 0; i < n; ++i) ShowWritten(i);
  MsgBox("Update data telah selesai dijalankan..", "Info", MB_OK);
  return 0;
}

LResult FORM28_DeleteDetail(Hwnd) {
  if (MsgBox(kForm28DeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
  if (!HasFee()) return 0;
  if (FinExec("Delete from detail_account Where id_account='" + SqlQ(CtlGetText(gForm28AkunEdit)) + "'") == 0) {
    LvDeleteAllItems(gForm28List);
    CtlEnable(gForm28CreateButton);   // the students of the class can be billed anew
  }
  return 0;
}

LResult FORM28_PasteAmounts(Hwnd) {
  const std::vector<Form28PastedAmount> values = FORM28_PasteValues(ClipGetText());
  // A line of several cells is never glued into one amount: the paste is refused whole, no row changes.
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!values[i].severalCells) continue;
    MsgBox(FORM28_PasteSeveralCellsText(static_cast<int>(i) + 1), "Info", MB_OK);
    return 0;
  }
  const int rows = LvGetItemCount(gForm28List);
  bool refused = false;
  for (int i = 0; i < rows && i < static_cast<int>(values.size()); ++i) {
    refused = refused || values[i].refused;
    if (!values[i].amount) continue;   // no amount on that line: the row keeps its cells
    const std::string v = std::to_string(*values[i].amount);
    if (gYearly) {
      LvSetItemText(gForm28List, i, kFirstAmountColumn, v);
    } else {
      for (int k = 0; k < 12; ++k) LvSetItemText(gForm28List, i, kFirstAmountColumn + k, v);
    }
  }
  if (refused) MsgBox(kForm28PasteRefused, "Info", MB_OK);
  return 0;
}

LResult FORM28_OnClose(Hwnd form) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM28_OnListClick(Hwnd) {
  const int row = LvGetSelectionMark(gForm28List);
  if (row < 0) return 0;
  CtlSetText(gForm28IdSiswaEdit, LvGetItemText(gForm28List, row, 1));
  CtlSetText(gForm28NamaEdit, LvGetItemText(gForm28List, row, 2));
  if (gYearly) {
    CtlSetText(gForm28TotalEdit, LvGetItemText(gForm28List, row, kFirstAmountColumn));
    return 0;
  }
  const std::array<std::string, 12> cells = MonthCells(row);
  for (int k = 1; k <= 12; ++k) CtlSetText(gForm28MonthEdit[k], cells[k - 1]);
  CtlSetText(gForm28TotalEdit, std::to_string(FORM28_Sum({cells.begin(), cells.end()})));
  return 0;
}

LResult FORM28_OnMonthEnter(Hwnd, int month) {
  if (gYearly || month < 1 || month > 12) return 0;
  const std::string t = CtlGetText(gForm28MonthEdit[month]);
  for (int k = month + 1; k <= 12; ++k) CtlSetText(gForm28MonthEdit[k], t);
  const int row = LvGetSelectionMark(gForm28List);
  for (int k = month; k <= 12; ++k) LvSetItemText(gForm28List, row, kFirstAmountColumn + k - 1, t);
  std::vector<std::string> edits;
  for (int k = 1; k <= 12; ++k) edits.push_back(CtlGetText(gForm28MonthEdit[k]));
  CtlSetText(gForm28TotalEdit, std::to_string(FORM28_Sum(edits)));
  return 0;
}

LResult FORM28_OnTotalEnter(Hwnd) {
  if (!gYearly) return 0;
  LvSetItemText(gForm28List, LvGetSelectionMark(gForm28List), kFirstAmountColumn, CtlGetText(gForm28TotalEdit));
  return 0;
}

LResult FORM28_OnListNotify(Hwnd, LParam) { return 0; }

LResult FORM28_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm28, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gForm28UpdateButtonId) return FORM28_UpdateDetail(hwnd);
    if (id == gForm28CloseButtonId) return FORM28_OnClose(hwnd);
    if (id == gForm28CreateButtonId) return FORM28_CreateDetail(hwnd);
    if (id == gForm28DeleteButtonId) return FORM28_DeleteDetail(hwnd);
    if (id == gForm28PasteButtonId) return FORM28_PasteAmounts(hwnd);
  }
  if (msg == WM_NOTIFY && lParam) {
    const auto* hdr = reinterpret_cast<const NmHdr*>(lParam);
    if (hdr->idFrom == gForm28ListId && hdr->code == LVN_ITEMCHANGED) FORM28_OnListNotify(hwnd, lParam);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM28_EditSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  const int id = WinGetDlgCtrlID(hwnd);
  if (msg == WM_KEYUP && wParam == WParam(VK_RETURN)) {
    if (id == gForm28TotalEditId) FORM28_OnTotalEnter(FrmGetFormOf(hwnd));
    for (int k = 1; k <= 12; ++k)
      if (id == gForm28MonthEditId[k]) FORM28_OnMonthEnter(FrmGetFormOf(hwnd), k);
  } else if (msg == WM_LBUTTONUP && id == gForm28ListId) {
    FORM28_OnListClick(FrmGetFormOf(hwnd));
  }
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
