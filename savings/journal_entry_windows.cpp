#include "savings/journal_entry_windows.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTextCharFormat>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/amounts.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/receipt.h"
#include "common/session.h"
#include "common/sql.h"
#include "common/text_print_notice.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "savings/journal_list_window.h"
#include "savings/savings_rows.h"

Hwnd gFormRekMasukWindow = 0, gFormRekKeluarWindow = 0;
JournalEntryControls gFormRekMasuk, gFormRekKeluar;
JournalEntryIds gFormRekMasukIds, gFormRekKeluarIds;

const char* const kJournalRefused = "Gagal menyimpan, kolom Kode atau Nama belum terisi..";
const char* const kJournalNoAmount = "Gagal menyimpan, kolom Jumlah belum terisi..";
const char* const kJournalIdTaken = "Gagal menyimpan, Kode Jurnal sudah dipakai..";
const char* const kJournalSaved = "Data berhasil disimpan..";
const char* const kJournalPrintQuestion = "Cetak Kwitansi?";
const char* const kJournalTooLarge = "Jumlah terlalu besar untuk dicetak pada kwitansi..";

void FORMREKMASUK_InitControlIds() { gFormRekMasukIds = JournalEntryIds{}; }
void FORMREKKELUAR_InitControlIds() { gFormRekKeluarIds = JournalEntryIds{}; }

// ----- what the windows compute -------------------------------------------------------------------------------------
std::string FinJournalId(const std::string& prefix, const std::string& today, const std::string& clock) {
  return prefix + StrReplace(today, "-", "") + StrReplace(clock, ":", "");
}

long long FinJournalAmount(const std::string& text) { return FinPositiveAmount(text); }

std::string FinJournalAccountCode(const std::string& item) { return item.substr(0, item.find(' ')); }

std::string FinJournalAccountsSql(bool income, bool cash, const std::string& tapel) {
  const char* group = !cash ? "Bms" : income ? "Msk" : "Klr";
  return std::string("Select Kode, Deskripsi From rekening Where Grup='") + group +
         "' and substr(kode,-1)<>'0' and Tapel='" + SqlQ(tapel) + "'";
}

std::string FinJournalInsertSql(bool income, const JournalEntry& e) {
  const std::string amount = std::to_string(e.amount);
  std::string sql = income ? "Insert Into transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) "
                             "Values('"
                           : "Insert Into transaksi (id,tgl,uraian,acctid,siswaid,Masuk,keluar,petugas,sts,jenjang,Ref) "
                             "Values('";
  sql += SqlQ(e.id) + "','" + SqlQ(e.date) + "','" + SqlQ(e.description) + "','-','-','";
  sql += income ? amount + "','0','" : "0','" + amount + "','";
  sql += SqlQ(e.operatorName) + "','" + (e.cash ? "k" : "b") + "','-','" + SqlQ(e.code) + "')";
  return sql;
}

// ----- the windows --------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kTitleFont = "Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34";
constexpr const char* kSmallFont = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kFieldFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kEntryCaption = "Entry Data..";
const std::string kReceivedFromLine(23, '_');
const std::string kSignerLine(16, '_');

// What tells the twins apart, and the state of the one window of each that can be open (the windows are modal).
struct Twin {
  bool income;
  const char* prefix;
  const char* title;
  const char* note;
  FrmForm* form;
  Hwnd* window;
  JournalEntryControls* c;
  JournalEntryIds* ids;
  WndProcFn subclass;
  bool cash = true;            // the journal kind, taken when the window loads
};

FrmForm gFormRekMasukForm = {.name = "FORMREKMASUK",
                             .wndProc = FORMREKMASUK_WndProc,
                             .window = &gFormRekMasukWindow,
                             .createControls = FORMREKMASUK_CreateControls,
                             .onCreate = FORMREKMASUK_Load,
                             .caption = "Jurnal Penerimaan",
                             .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                             .width = 409,
                             .height = 294};
FrmForm gFormRekKeluarForm = {.name = "FORMREKKELUAR",
                              .wndProc = FORMREKKELUAR_WndProc,
                              .window = &gFormRekKeluarWindow,
                              .createControls = FORMREKKELUAR_CreateControls,
                              .onCreate = FORMREKKELUAR_Load,
                              .caption = "Jurnal Pengeluaran",
                              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                              .width = 396,
                              .height = 285};

Twin gMasuk = {true,
               "INC",
               "Jurnal Penerimaan..",
               "Catatan Jurnal penerimaan kas atau pendapatan..",
               &gFormRekMasukForm,
               &gFormRekMasukWindow,
               &gFormRekMasuk,
               &gFormRekMasukIds,
               FORMREKMASUK_CtlSubclassProc,
               true};
Twin gKeluar = {false,
                "EXP",
                "Jurnal Pengeluaran..",
                "Catatan Jurnal pengeluaran kas atau belanja..",
                &gFormRekKeluarForm,
                &gFormRekKeluarWindow,
                &gFormRekKeluar,
                &gFormRekKeluarIds,
                FORMREKKELUAR_CtlSubclassProc,
                true};

std::string Today() { return platform::Today().toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }

// A fresh journal id into "Kode Jurnal": the login day and the status-bar clock.
void MakeId(Twin& t) { CtlSetText(t.c->idEdit, FinJournalId(t.prefix, gToday, SbGetText(gStatusBar, 5))); }

void SetUpDatePicker(Hwnd picker) {
  auto* d = qobject_cast<QDateTimeEdit*>(WinWidget(picker));
  if (!d) return;
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  if (QCalendarWidget* cal = d->calendarWidget()) {
    QPalette p = cal->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0, 120, 215));
    p.setColor(QPalette::HighlightedText, Qt::white);
    cal->setPalette(p);
    QTextCharFormat header;
    header.setBackground(QColor(0, 120, 215));
    header.setForeground(Qt::white);
    cal->setHeaderTextFormat(header);
  }
}

Hwnd AddLabel(Twin& t, Hwnd form, const char* text, int y, int id) {
  return FrmAddControl(form, "Static", text, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 14, y + 3, 100, 16, id, t.subclass,
                       kSmallFont, "", FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
}

// The controls, top to bottom: header frame with title, note and icon; Tanggal, Referensi, Kode Jurnal, Deskripsi
// Jurnal, Jumlah; Simpan. Fields are created in the twin's tab order.
void CreateControls(Twin& t, Hwnd form) {
  JournalEntryControls& c = *t.c;
  const JournalEntryIds& id = *t.ids;
  const int width = t.income ? 385 : 372;   // inside the window's client area
  c.frame = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 6, 0, width - 4, 72, id.frame,
                          t.subclass, kSmallFont, "", FrmColors::Face());
  c.title = FrmAddControl(form, "Static", t.title, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 16, 14, 280, 25, id.title,
                          t.subclass, kTitleFont, "", FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  c.note = FrmAddControl(form, "Static", t.note, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 16, 44, 280, 18, id.note,
                         t.subclass, kSmallFont, "", FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
  c.icon = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, width - 56, 12, 48,
                         48, id.icon, t.subclass, "");
  if (auto* label = qobject_cast<QLabel*>(WinWidget(c.icon))) {
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(ResLoadImage("IMAGE_MONEY", label->width(), label->height()));
  }

  constexpr int kDateY = 84, kAccountY = 110, kIdY = 136, kDescY = 162, kAmountY = 188, kSaveY = 220;
  constexpr int kFieldX = 120;
  const int fieldW = width - kFieldX;
  c.dateLabel = AddLabel(t, form, "Tanggal", kDateY, id.dateLabel);
  c.accountLabel = AddLabel(t, form, "Referensi ", kAccountY, id.accountLabel);
  c.idLabel = AddLabel(t, form, "Kode Jurnal", kIdY, id.idLabel);
  c.descLabel = AddLabel(t, form, "Deskripsi Jurnal", kDescY, id.descLabel);
  c.amountLabel = AddLabel(t, form, "Jumlah", kAmountY, id.amountLabel);

  constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL;
  auto makeDate = [&] {
    c.date = FrmAddControl(form, "SysDateTimePick32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, kFieldX, kDateY, 110,
                           22, id.date, t.subclass, kFieldFont);
    SetUpDatePicker(c.date);
    DtpSetDate(c.date, Today());
  };
  auto makeAccount = [&] {
    c.account = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                              0, kFieldX, kAccountY, fieldW, 200, id.account, t.subclass, kFieldFont, "",
                              FrmColors::Window());
  };
  auto makeId = [&] {
    c.idEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, kFieldX, kIdY, fieldW, 22, id.idEdit,
                             t.subclass, kFieldFont, "", FrmColors::Window());
  };
  auto makeDesc = [&] {
    c.desc = FrmAddControl(form, "Edit", "", kEdit | WS_TABSTOP, WS_EX_CLIENTEDGE, kFieldX, kDescY, fieldW, 22, id.desc,
                           t.subclass, kFieldFont, "", FrmColors::Window());
  };
  auto makeAmount = [&] {
    c.amount = FrmAddControl(form, "Edit", "", kEdit | WS_TABSTOP, WS_EX_CLIENTEDGE, kFieldX, kAmountY, fieldW, 22,
                             id.amount, t.subclass, kFieldFont, "", FrmColors::Window());
    // Digits, and "." as the thousands separator the operator may type or paste.
    if (auto* e = qobject_cast<QLineEdit*>(WinWidget(c.amount)))
      e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), e));
    FinLimitAmountEdit(c.amount);
  };
  auto makeSave = [&] {
    c.save = FrmAddControl(form, "Button", "Simpan", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER,
                           0, width - 85, kSaveY, 85, 25, id.save, t.subclass, kSmallFont);
  };
  if (t.income) {   // Tanggal, Referensi, Deskripsi Jurnal, Jumlah, Simpan
    makeDate();
    makeAccount();
    makeId();
    makeDesc();
    makeAmount();
    makeSave();
    CtlSetFocus(c.date);
  } else {          // Referensi, Jumlah, Tanggal, Simpan, Deskripsi Jurnal
    makeAccount();
    makeAmount();
    makeDate();
    makeSave();
    makeDesc();
    makeId();
    CtlSetFocus(c.account);
  }
}

LResult Load(Twin& t) {
  t.cash = FinJournalIsCash(gFormMode);
  CbResetContent(t.c->account);
  FinExec(FinJournalAccountsSql(t.income, t.cash, gTapel),
          t.income ? FORMREKMASUK_CbAddAccount : FORMREKKELUAR_CbAddAccount);
  MakeId(t);
  return 0;
}

int AddAccount(Twin& t, int columnCount, char** values) {
  CbAddString(t.c->account, FinCell(values, columnCount, 0) + " " + FinCell(values, columnCount, 1));
  return 0;
}

// The cash receipt, when the operator wants it.
void OfferReceipt(const std::string& number, const std::string& description, long long amount,
                  const std::string& accountItem) {
  if (MsgBox(kJournalPrintQuestion, "Print?", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (amount > std::numeric_limits<std::int32_t>::max()) {
    MsgBox(kJournalTooLarge, "Print?", MB_OK | MB_ICONINFORMATION);
    return;
  }
  FinTellPrintKeptInFiles({FinPrintReceipt(number, kReceivedFromLine, description, static_cast<std::int32_t>(amount),
                                           accountItem, kSignerLine)});
}

// One save attempt; true when the entry was written.
bool TrySave(Twin& t) {
  const JournalEntryControls& c = *t.c;
  const std::string accountItem = CtlGetText(c.account);
  JournalEntry e;
  e.id = CtlGetText(c.idEdit);
  if (accountItem.empty() || e.id.empty()) {
    MsgBox(kJournalRefused, kEntryCaption, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  e.amount = FinJournalAmount(CtlGetText(c.amount));
  if (e.amount <= 0) {
    MsgBox(kJournalNoAmount, kEntryCaption, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  e.date = CtlGetText(c.date);
  e.description = CtlGetText(c.desc);
  e.operatorName = SbGetText(gStatusBar, 1);
  e.cash = t.cash;
  e.code = FinJournalAccountCode(accountItem);
  // The id is checked and the row written in one transaction; success only once it is committed.
  gSql = FinJournalInsertSql(t.income, e);
  switch (FinInsertIfFree(SavingsIdCountSql(e.id), {gSql})) {
    case FinInsertResult::Written: break;
    case FinInsertResult::Taken: MsgBox(kJournalIdTaken, kEntryCaption, MB_OK | MB_ICONINFORMATION); return false;
    case FinInsertResult::Failed: return false;   // reported
  }
  MsgBox(kJournalSaved, kEntryCaption, MB_OK | MB_ICONINFORMATION);
  OfferReceipt(e.id, e.description, e.amount, accountItem);
  return true;
}

LResult Save(Twin& t, Hwnd form) {
  if (form != *t.window) return 0;
  const bool saved = TrySave(t);
  if (saved) {
    for (Hwnd h : {t.c->idEdit, t.c->desc, t.c->amount}) CtlSetText(h, "");
    CbSetCurSel(t.c->account, -1);
    DtpSetDate(t.c->date, Today());
  }
  MakeId(t);
  return 0;
}

LResult WndProc(Twin& t, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(*t.form, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && static_cast<int>(LOWORD(wParam)) == t.ids->save && HIWORD(wParam) == BN_CLICKED &&
      lParam != 0) {
    const Hwnd control = FrmControlOf(msg, lParam);
    if (LResult h = t.income ? FORMREKMASUK_Save(FrmIndexOf(control), hwnd, control, t.ids->save)
                             : FORMREKKELUAR_Save(FrmIndexOf(control), hwnd, control, t.ids->save))
      return h;
    return 0;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

std::intptr_t FORMREKMASUK_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gFormRekMasukForm, parent, modal, userData);
}
std::intptr_t FORMREKKELUAR_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gFormRekKeluarForm, parent, modal, userData);
}

LResult FORMREKMASUK_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return WndProc(gMasuk, hwnd, msg, wParam, lParam);
}
LResult FORMREKKELUAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return WndProc(gKeluar, hwnd, msg, wParam, lParam);
}

void FORMREKMASUK_CreateControls(Hwnd form) { CreateControls(gMasuk, form); }
void FORMREKKELUAR_CreateControls(Hwnd form) { CreateControls(gKeluar, form); }

LResult FORMREKMASUK_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
LResult FORMREKKELUAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}

LResult FORMREKMASUK_Load(Hwnd, std::intptr_t) { return Load(gMasuk); }
LResult FORMREKKELUAR_Load(Hwnd, std::intptr_t) { return Load(gKeluar); }

int FORMREKMASUK_CbAddAccount(void*, int columnCount, char** values, char**) {
  return AddAccount(gMasuk, columnCount, values);
}
int FORMREKKELUAR_CbAddAccount(void*, int columnCount, char** values, char**) {
  return AddAccount(gKeluar, columnCount, values);
}

LResult FORMREKMASUK_Save(int, Hwnd form, Hwnd, int) { return Save(gMasuk, form); }
LResult FORMREKKELUAR_Save(int, Hwnd form, Hwnd, int) { return Save(gKeluar, form); }
