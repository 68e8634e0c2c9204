#include "students/student_record_window.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLabel>
#include <QTextCharFormat>
#include <QWidget>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/handover.h"
#include "common/photos.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_state.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "students/student_ids.h"
#include "students/student_list_window.h"

Hwnd gFormSiswaWindow = 0;
Hwnd gFormSiswaHeaderGroup = 0, gFormSiswaHeaderIcon = 0, gFormSiswaTitleLabel = 0, gFormSiswaSubtitleLabel = 0,
     gFormSiswaIdLabel = 0, gFormSiswaIdEdit = 0, gFormSiswaNamaLabel = 0, gFormSiswaNamaEdit = 0,
     gFormSiswaGenderLabel = 0, gFormSiswaGenderCombo = 0, gFormSiswaTmpLahirLabel = 0, gFormSiswaTmpLahirEdit = 0,
     gFormSiswaTglLahirLabel = 0, gFormSiswaTglLahirPicker = 0, gFormSiswaAgamaLabel = 0, gFormSiswaAgamaCombo = 0,
     gFormSiswaAlamatLabel = 0, gFormSiswaAlamatEdit = 0, gFormSiswaKetLabel = 0, gFormSiswaKetEdit = 0,
     gFormSiswaAccountList = 0, gFormSiswaPhoto = 0, gFormSiswaPhotoButton = 0, gFormSiswaSaveButton = 0;

int gFormSiswaHeaderGroupId = 1000, gFormSiswaHeaderIconId = 1001, gFormSiswaTitleLabelId = 1002,
    gFormSiswaSubtitleLabelId = 1003, gFormSiswaIdLabelId = 1004, gFormSiswaIdEditId = 1005,
    gFormSiswaNamaLabelId = 1006, gFormSiswaNamaEditId = 1007, gFormSiswaGenderLabelId = 1008,
    gFormSiswaGenderComboId = 1009, gFormSiswaTmpLahirLabelId = 1010, gFormSiswaTmpLahirEditId = 1011,
    gFormSiswaTglLahirLabelId = 1012, gFormSiswaTglLahirPickerId = 1013, gFormSiswaAgamaLabelId = 1014,
    gFormSiswaAgamaComboId = 1015, gFormSiswaAlamatLabelId = 1016, gFormSiswaAlamatEditId = 1017,
    gFormSiswaKetLabelId = 1018, gFormSiswaKetEditId = 1019, gFormSiswaAccountListId = 1020, gFormSiswaPhotoId = 1021,
    gFormSiswaPhotoButtonId = 1022, gFormSiswaSaveButtonId = 1023;

void FORMSISWA_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormSiswaHeaderGroupId, &gFormSiswaHeaderIconId, &gFormSiswaTitleLabelId,
                 &gFormSiswaSubtitleLabelId, &gFormSiswaIdLabelId, &gFormSiswaIdEditId, &gFormSiswaNamaLabelId,
                 &gFormSiswaNamaEditId, &gFormSiswaGenderLabelId, &gFormSiswaGenderComboId,
                 &gFormSiswaTmpLahirLabelId, &gFormSiswaTmpLahirEditId, &gFormSiswaTglLahirLabelId,
                 &gFormSiswaTglLahirPickerId, &gFormSiswaAgamaLabelId, &gFormSiswaAgamaComboId,
                 &gFormSiswaAlamatLabelId, &gFormSiswaAlamatEditId, &gFormSiswaKetLabelId, &gFormSiswaKetEditId,
                 &gFormSiswaAccountListId, &gFormSiswaPhotoId, &gFormSiswaPhotoButtonId, &gFormSiswaSaveButtonId})
    *g = id++;
}

// ----- what the window computes -------------------------------------------------------------------------------------
std::string FORMSISWA_FreeText(const std::string& text) { return StrReplace(text, "'", "`"); }

std::string FORMSISWA_EntryDate(const QDate& date) {
  return std::to_string(date.year()) + "-" + std::to_string(date.month()) + "-" + std::to_string(date.day());
}

FormSiswaBilling FORMSISWA_Billing(const FormSiswaAccount& account) {
  const long long amount = RoundHalfEven(Val(account.jumlah));
  if (account.type == "Perbulan") return {12 * amount, amount};
  return {amount, 0};
}

std::string FORMSISWA_CountSql(const std::string& id) {
  return "Select Count(*) From siswa WHERE Id='" + SqlQ(id) + "'";
}

std::string FORMSISWA_ClassRowCountSql(const std::string& id, const std::string& tapel) {
  return "Select Count(*) From siswakelas WHERE Kode='" + SqlQ(StrReplace(tapel, "/", "") + id) +
         "' or (IdSiswa='" + SqlQ(id) + "' and Tapel='" + SqlQ(tapel) + "')";
}

const char* const kFormSiswaAccountsNotRead =
    "Akun pembayaran kelas tidak terbaca, siswa tidak disimpan. Tutup dan buka ulang form ini..";

const char* const kFormSiswaClassRowTaken =
    "Gagal menyimpan, Id/Kode masih tercatat di data kelas tahun ajaran ini, gunakan Id/Kode yang lain..";

std::vector<std::string> FORMSISWA_InsertSql(const FormSiswaStudent& s, const std::string& kelas,
                                             const std::string& tapel, const std::string& entryDate,
                                             const std::vector<FormSiswaAccount>& accounts) {
  auto q = [](const std::string& v) { return "'" + SqlQ(v) + "'"; };
  auto r = [&](const std::string& v) { return q(FORMSISWA_FreeText(v)); };
  std::vector<std::string> out;
  out.push_back("Insert Into siswa (Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Ket, Status, TglMasuk, Jenjang) "
                "Values(" + q(s.id) + "," + r(s.nama) + "," + q(s.lp) + "," + r(s.tmpLahir) + "," + q(s.tglLahir) +
                "," + q(s.agama) + "," + r(s.alamat) + "," + r(s.ket) + ",'Aktif'," + q(entryDate) + ",'-')");
  out.push_back("INSERT INTO siswakelas (Kode,IdSiswa,Kelas,Jenjang,Tapel) VALUES (" +
                q(StrReplace(tapel, "/", "") + s.id) + "," + q(s.id) + "," + q(kelas) + ",'-'," + q(tapel) + ")");
  for (const FormSiswaAccount& a : accounts) {
    const FormSiswaBilling b = FORMSISWA_Billing(a);
    std::string months;
    for (int m = 0; m < 12; ++m) months += (m ? "," : "") + q(std::to_string(b.month));
    out.push_back("Insert Into detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, "
                  "oktober, nopember, desember, januari, februari, maret, april, mei, juni) Values(" +
                  q(a.id) + "," + q(s.id) + "," + q(std::to_string(b.total)) + "," + months + ")");
  }
  return out;
}

std::string FORMSISWA_UpdateSql(const FormSiswaStudent& s) {
  return "Update siswa Set Nama='" + SqlQ(FORMSISWA_FreeText(s.nama)) + "',LP='" + SqlQ(s.lp) + "',TmpLahir='" +
         SqlQ(FORMSISWA_FreeText(s.tmpLahir)) + "',TglLahir='" + SqlQ(s.tglLahir) + "',Agama='" + SqlQ(s.agama) +
         "',Alamat='" + SqlQ(FORMSISWA_FreeText(s.alamat)) + "',Ket='" + SqlQ(FORMSISWA_FreeText(s.ket)) +
         "' WHERE Id='" + SqlQ(s.id) + "'";
}

std::vector<std::string> FORMSISWA_FreeIdCountSqls(const std::string& id, const std::string& tapel) {
  return {FORMSISWA_CountSql(id), FORMSISWA_ClassRowCountSql(id, tapel), FinStudentMoneyRowsSql(id)};
}

FinInsertResult FORMSISWA_InsertStudent(const FormSiswaStudent& s, const std::string& kelas, const std::string& tapel,
                                        const std::string& entryDate, const std::vector<FormSiswaAccount>& accounts,
                                        int* takenBy) {
  return FinInsertIfAllFree(FORMSISWA_FreeIdCountSqls(s.id, tapel),
                            FORMSISWA_InsertSql(s, kelas, tapel, entryDate, accounts), takenBy);
}

const char* const kFormSiswaNotFound = "Data siswa tidak ditemukan, tidak ada data yang dirubah..";

std::string FORMSISWA_PhotoFile(const std::string& id) {
  if (id.empty() || id.find('/') != std::string::npos || id.find('\\') != std::string::npos) return std::string();
  return "image/" + id + ".bmp";
}

bool FORMSISWA_CopyPhoto(const std::string& source, const std::string& id) {
  const std::string target = FORMSISWA_PhotoFile(id);
  if (source.empty() || target.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories("image", ec);
  return FinReplacePhoto(source, target);
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFieldFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kLabelFont = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kEntryCaption = "Entry Data..";

// Whether the opening read the class's fees (the payment-account list) whole.
bool gAccountsRead = false;

const char* const kGenders[] = {"Laki - Laki", "Perempuan"};
const char* const kReligions[] = {"Islam", "Kristen", "Katholik", "Hindu", "Budha", "Kong Hu Chu",
                                  "Kepercayaan Terhadap Tuhan YME"};

FrmForm gFormSiswa = {.name = "FORMSISWA",
                      .wndProc = FORMSISWA_WndProc,
                      .window = &gFormSiswaWindow,
                      .createControls = FORMSISWA_CreateControls,
                      .onCreate = FORMSISWA_OnCreate,
                      .caption = "Siswa Record..",
                      .style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                      .width = 497,
                      .height = 514,
                      .background = 0x00FFFFFF};

constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kDropList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

Hwnd AddLabel(Hwnd form, const char* text, int y, int id) {
  const FrmColors blueOnWhite = {1, 0, 0, WinRgb(0, 128, 255), WinRgb(255, 255, 255), -1};
  return FrmAddControl(form, "Static", text, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 16, y, 80, 18, id,
                       FORMSISWA_CtlSubclassProc, kLabelFont, "", blueOnWhite);
}
Hwnd AddEdit(Hwnd form, int y, int id, std::uint32_t extra = 0) {
  return FrmAddControl(form, "Edit", "", kEdit | extra, WS_EX_CLIENTEDGE, 108, y, 250, 22, id,
                       FORMSISWA_CtlSubclassProc, kFieldFont, "", FrmColors::Window(), 1);
}

// The date picker shows and gives its date as "yyyy-MM-dd"; its calendar in the window's colours.
void SetUpDatePicker(Hwnd picker) {
  auto* d = qobject_cast<QDateTimeEdit*>(WinWidget(picker));
  if (!d) return;
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  if (QCalendarWidget* c = d->calendarWidget()) {
    QPalette p = c->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0, 120, 215));
    p.setColor(QPalette::HighlightedText, Qt::white);
    c->setPalette(p);
    QTextCharFormat header;
    header.setBackground(QColor(0, 120, 215));
    header.setForeground(Qt::white);
    c->setHeaderTextFormat(header);
  }
}

void ShowIcon(Hwnd picture, const char* name) {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(picture))) {
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(ResLoadImage(name));
  }
}

void ClearPhoto() {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(gFormSiswaPhoto))) label->setPixmap(QPixmap());
}

std::string Today() { return platform::Today().toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }

FormSiswaStudent ReadForm() {
  FormSiswaStudent s;
  s.id = CtlGetText(gFormSiswaIdEdit);
  s.nama = CtlGetText(gFormSiswaNamaEdit);
  s.lp = CtlGetText(gFormSiswaGenderCombo).substr(0, 1);
  s.tmpLahir = CtlGetText(gFormSiswaTmpLahirEdit);
  s.tglLahir = CtlGetText(gFormSiswaTglLahirPicker);
  s.agama = CtlGetText(gFormSiswaAgamaCombo);
  s.alamat = CtlGetText(gFormSiswaAlamatEdit);
  s.ket = CtlGetText(gFormSiswaKetEdit);
  return s;
}

std::vector<FormSiswaAccount> ReadAccounts() {
  std::vector<FormSiswaAccount> out;
  const int rows = LvGetItemCount(gFormSiswaAccountList);
  for (int row = 0; row < rows; ++row)
    out.push_back({LvGetItemText(gFormSiswaAccountList, row, 0), LvGetItemText(gFormSiswaAccountList, row, 2),
                   LvGetItemText(gFormSiswaAccountList, row, 3)});
  return out;
}

// What the window took from the student list it was opened from (its list, class, school year, marked row and
// whether it adds or edits); an empty state when it was opened from none.
FrmWindowState StateOf(Hwnd form) {
  if (const FrmWindowState* st = FrmWindowStateOf(form)) return *st;
  return {};
}

// The student's cells of a row of `list`; `status` and `entryDate` only when given (a new row).
void WriteListRow(Hwnd list, int row, const FormSiswaStudent& s, const std::string& status,
                  const std::string& entryDate) {
  LvSetItemText(list, row, 1, s.nama);
  LvSetItemText(list, row, 2, s.lp);
  LvSetItemText(list, row, 3, s.tmpLahir);
  LvSetItemText(list, row, 4, s.tglLahir);
  LvSetItemText(list, row, 5, s.agama);
  LvSetItemText(list, row, 6, s.alamat);
  if (!status.empty()) LvSetItemText(list, row, 7, status);
  if (!entryDate.empty()) LvSetItemText(list, row, 8, entryDate);
  LvSetItemText(list, row, LvGetColumnCount(list) - 1, s.ket);
}

void ForgetPhoto() {
  gPhotoPath.clear();
  ClearPhoto();
}

LResult SaveEdit(Hwnd form) {
  const FrmWindowState st = StateOf(form);
  const FormSiswaStudent s = ReadForm();
  // Without a student (no row was marked in the list) there is nothing to update: no student is changed.
  if (!s.id.empty() && FinExec(FORMSISWA_UpdateSql(s)) == 0) {
    if (sqlite3_changes(gDb) < 1) {
      // The file no longer has the student (deleted meanwhile, at this desk or another): nothing is claimed as
      // changed, and the list keeps its row as it was.
      MsgBox(kFormSiswaNotFound, "Info", MB_OK | MB_ICONINFORMATION);
    } else {
      // The student's class stays as it is: a search lists students of every class, and the class in the list's
      // combo is then not the student's class; classes are changed by the class move. The row written back is the one
      // marked in the window's own list when it opened.
      const int row = FrmMarkedRowOf(st);
      if (row >= 0) WriteListRow(st.list, row, s, "", "");
      FORMSISWA_CopyPhoto(gPhotoPath, s.id);
      ForgetPhoto();
      MsgBox("Data Siswa berhasil dirubah..", "Edit Data..", MB_OK | MB_ICONINFORMATION);
    }
  }
  FrmClose(form, 0);
  return 0;
}

// The refusal of an id that the count at `check` of FORMSISWA_FreeIdCountSqls found taken.
LResult RefuseTakenId(int check, const std::string& id) {
  if (check == 0)
    MsgBox("Gagal menyimpan, Id/Kode Sudah Tersedia..", kEntryCaption, MB_OK | MB_ICONINFORMATION);
  else if (check == 1)
    MsgBox(kFormSiswaClassRowTaken, "Info", MB_OK | MB_ICONINFORMATION);
  else
    MsgBox(FinStudentIdsHaveMoneyText({id}), "Info", MB_OK | MB_ICONINFORMATION);
  return 0;
}

LResult SaveNew(Hwnd form) {
  // The class and school year of the list the window was opened from, whatever list was clicked meanwhile.
  const FrmWindowState st = StateOf(form);
  const FormSiswaStudent s = ReadForm();
  // The counts an id must pass (FORMSISWA_FreeIdCountSqls): the id of a student on file; an id that still has a
  // class row in the school year (a deleted student leaves its class and billing rows: a new student would have two
  // class rows and be billed twice); an id that payments, savings or billing rows of any year still name (their money
  // is not this student's). A count that fails (its box shown) writes nothing.
  const std::vector<std::string> counts = FORMSISWA_FreeIdCountSqls(s.id, st.tapel);
  gSqlResult.clear();
  if (FinExec(counts[0], FinCbSingleValue) != 0) return 0;
  if (RoundHalfEven(Val(gSqlResult)) >= 1) return RefuseTakenId(0, s.id);
  if (s.id.empty() || s.nama.empty()) {
    MsgBox("Gagal menyimpan, kolom Kode atau Nama belum terisi..", kEntryCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  for (int i = 1; i < static_cast<int>(counts.size()); ++i) {
    gCountResult = 0;
    if (FinExec(counts[i], FinCbCount) != 0) return 0;
    if (gCountResult >= 1) return RefuseTakenId(i, s.id);
  }
  // The billing rows come from the class's fees as read when the window opened: unread, they would be none.
  if (!gAccountsRead) {
    MsgBox(kFormSiswaAccountsNotRead, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  const std::string entryDate = FORMSISWA_EntryDate(platform::Today());
  // The student, the class row and the billing rows: all of them or none (the failure shown); the form keeps its
  // values so that the operator can try again. The counts are made again inside the write: another program on the
  // file may have given the id out since.
  int takenBy = 0;
  switch (FORMSISWA_InsertStudent(s, st.kelas, st.tapel, entryDate, ReadAccounts(), &takenBy)) {
    case FinInsertResult::Written: break;
    case FinInsertResult::Taken: return RefuseTakenId(takenBy, s.id);
    case FinInsertResult::Failed: return 0;   // reported
  }

  if (LvGetColumnCount(st.list) > 0) {
    const int row = LvInsertItem(st.list, LvGetItemCount(st.list), 0, s.id, 0, 0);
    if (row >= 0) WriteListRow(st.list, row, s, "Aktif", entryDate);
  }
  MsgBox("Data berhasil disimpan..", kEntryCaption, MB_OK | MB_ICONINFORMATION);

  for (Hwnd h : {gFormSiswaIdEdit, gFormSiswaNamaEdit, gFormSiswaTmpLahirEdit, gFormSiswaAlamatEdit, gFormSiswaKetEdit})
    CtlSetText(h, "");
  DtpSetDate(gFormSiswaTglLahirPicker, Today());
  CbSetCurSel(gFormSiswaGenderCombo, 0);
  CbSetCurSel(gFormSiswaAgamaCombo, 0);
  // The chosen photo belongs to this student only: copied in, then forgotten for the next one.
  FORMSISWA_CopyPhoto(gPhotoPath, s.id);
  ForgetPhoto();
  return 0;
}

}  // namespace

std::intptr_t FORMSISWA_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gFormSiswa, parent, modal, userData);
}

void FORMSISWA_CreateControls(Hwnd form) {
  gFormSiswaHeaderGroup = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 4, 0, 478, 75,
                                        gFormSiswaHeaderGroupId, FORMSISWA_CtlSubclassProc, kLabelFont, "",
                                        FrmColors::Face());
  gFormSiswaHeaderIcon = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 16,
                                       14, 52, 52, gFormSiswaHeaderIconId, FORMSISWA_CtlSubclassProc, "");
  ShowIcon(gFormSiswaHeaderIcon, "IMAGE_CUSTOMERS");
  gFormSiswaTitleLabel = FrmAddControl(form, "Static", "Siswa records..", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 80, 14,
                                       300, 25, gFormSiswaTitleLabelId, FORMSISWA_CtlSubclassProc,
                                       "Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34", "",
                                       FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  gFormSiswaSubtitleLabel = FrmAddControl(form, "Static", "Detail record data tentang Siswa..",
                                          WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 80, 44, 300, 18,
                                          gFormSiswaSubtitleLabelId, FORMSISWA_CtlSubclassProc, kLabelFont, "",
                                          FrmColors::Face());

  gFormSiswaIdLabel = AddLabel(form, "Id", 88, gFormSiswaIdLabelId);
  gFormSiswaIdEdit = AddEdit(form, 88, gFormSiswaIdEditId);
  gFormSiswaNamaLabel = AddLabel(form, "Nama", 114, gFormSiswaNamaLabelId);
  gFormSiswaNamaEdit = AddEdit(form, 114, gFormSiswaNamaEditId, ES_UPPERCASE);
  gFormSiswaGenderLabel = AddLabel(form, "Jenis Kelamin", 140, gFormSiswaGenderLabelId);
  gFormSiswaGenderCombo = FrmAddControl(form, "ComboBox", "", kDropList, 0, 108, 140, 250, 100,
                                        gFormSiswaGenderComboId, FORMSISWA_CtlSubclassProc, kFieldFont, "",
                                        FrmColors::Window());
  for (const char* g : kGenders) CbAddString(gFormSiswaGenderCombo, g);
  gFormSiswaTmpLahirLabel = AddLabel(form, "Tempat Lahir", 166, gFormSiswaTmpLahirLabelId);
  gFormSiswaTmpLahirEdit = AddEdit(form, 166, gFormSiswaTmpLahirEditId);
  gFormSiswaTglLahirLabel = AddLabel(form, "Tgl. Lahir", 192, gFormSiswaTglLahirLabelId);
  gFormSiswaTglLahirPicker = FrmAddControl(form, "SysDateTimePick32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 108,
                                           192, 103, 22, gFormSiswaTglLahirPickerId, FORMSISWA_CtlSubclassProc,
                                           kFieldFont);
  SetUpDatePicker(gFormSiswaTglLahirPicker);
  DtpSetDate(gFormSiswaTglLahirPicker, Today());
  gFormSiswaAgamaLabel = AddLabel(form, "Agama", 218, gFormSiswaAgamaLabelId);
  gFormSiswaAgamaCombo = FrmAddControl(form, "ComboBox", "", kDropList, 0, 108, 218, 161, 150, gFormSiswaAgamaComboId,
                                       FORMSISWA_CtlSubclassProc, kFieldFont, "", FrmColors::Window());
  for (const char* a : kReligions) CbAddString(gFormSiswaAgamaCombo, a);
  gFormSiswaAlamatLabel = AddLabel(form, "Alamat", 244, gFormSiswaAlamatLabelId);
  gFormSiswaAlamatEdit = AddEdit(form, 244, gFormSiswaAlamatEditId);
  gFormSiswaKetLabel = AddLabel(form, "Keterangan", 270, gFormSiswaKetLabelId);
  gFormSiswaKetEdit = AddEdit(form, 270, gFormSiswaKetEditId);

  gFormSiswaAccountList = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT,
                                        WS_EX_CLIENTEDGE, 16, 302, 364, 123, gFormSiswaAccountListId,
                                        FORMSISWA_CtlSubclassProc, "Arial Unicode MS,9,0");
  LvSetExtendedStyle(gFormSiswaAccountList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);

  gFormSiswaPhoto = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, WS_EX_CLIENTEDGE, 368, 88,
                                  109, 142, gFormSiswaPhotoId, FORMSISWA_CtlSubclassProc, "");
  gFormSiswaPhotoButton = FrmAddControl(form, "Button", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_ICON, 0, 368, 232,
                                        109, 23, gFormSiswaPhotoButtonId, FORMSISWA_CtlSubclassProc, kLabelFont);
  if (auto* b = qobject_cast<QAbstractButton*>(WinWidget(gFormSiswaPhotoButton))) {
    b->setIcon(ResLoadIcon("IMAGE_USERS"));
    b->setIconSize(QSize(16, 16));
  }
  gFormSiswaSaveButton = FrmAddControl(form, "Button", "Simpan", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                       0, 392, 400, 85, 25, gFormSiswaSaveButtonId, FORMSISWA_CtlSubclassProc,
                                       kLabelFont);
  CtlSetFocus(gFormSiswaAccountList);
}

LResult FORMSISWA_OnCreate(Hwnd form, std::intptr_t) {
  // A photo chosen for an earlier student is never brought in for this one.
  gPhotoPath.clear();
  // The student list whose command opens the window is the current one now: what the window works on is taken
  // from it here.
  const FrmWindowState st = FrmTakeFromList(gForm2Window, gForm2List, CtlGetText(gForm2ClassCombo), gTapel, gEditMode);
  FrmKeepWindowState(form, st);
  if (st.editMode > 0) {
    const int row = st.markedRow;
    if (row >= 0) {
      const Hwnd list = st.list;
      auto cell = [row, list](int col) { return LvGetItemText(list, row, col); };
      const std::string id = cell(0);
      const std::string photo = FORMSISWA_PhotoFile(id);
      if (!photo.empty()) CtlSetBitmapFile(gFormSiswaPhoto, photo);
      // The free texts as stored: a list cell gives at most 259 characters, and the edit writes every field back.
      // Only a student the file no longer has (or a failed read, its box shown) comes from the list's cells.
      std::vector<std::string> texts = {cell(1), cell(3), cell(6), cell(LvGetColumnCount(list) - 1)};
      FinReadRow("Select Nama, TmpLahir, Alamat, Ket From siswa WHERE Id='" + SqlQ(id) + "'", texts);
      CtlSetText(gFormSiswaIdEdit, id);
      CtlSetText(gFormSiswaNamaEdit, texts[0]);
      CbSetCurSel(gFormSiswaGenderCombo, cell(2).substr(0, 1) == "P" ? 1 : 0);
      CtlSetText(gFormSiswaTmpLahirEdit, texts[1]);
      DtpSetDate(gFormSiswaTglLahirPicker, cell(4));
      // An empty religion chooses none (it would otherwise match the first item).
      const std::string agama = cell(5);
      CbSetCurSel(gFormSiswaAgamaCombo, agama.empty() ? -1 : CbFindString(gFormSiswaAgamaCombo, -1, agama));
      CtlSetText(gFormSiswaAlamatEdit, texts[2]);
      CtlSetText(gFormSiswaKetEdit, texts[3]);
    }
    // The update is keyed by the id: it is not changed while editing.
    WinSendMessage(gFormSiswaIdEdit, EM_SETREADONLY, 1, 0);
  }
  gTargetListView = gFormSiswaAccountList;
  LvDeleteAllItems(gFormSiswaAccountList);
  LvDeleteAllColumns(gFormSiswaAccountList);
  gAccountsRead = FinExec("select Id, Pembayaran, Jumlah, Type from account WHERE Kelas='" +
                              SqlQ(st.kelas) + "' and Tapel='" + SqlQ(st.tapel) + "' Order By Id",
                          FinCbFillList) == 0;
  return 0;
}

LResult FORMSISWA_ChoosePhoto(int, Hwnd form, Hwnd, int) {
  std::string folder;   // the current folder
  std::string filter = "Bitmap files (*.bmp)|*.bmp|All Files (*.*)|*.*";
  if (DlgOpenFile(form, "Select Bitmap File", gPhotoPath, folder, filter, "bmp", OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR,
                  0))
    CtlSetBitmapFile(gFormSiswaPhoto, gPhotoPath);   // copied in only when the student is saved
  return 0;
}

LResult FORMSISWA_Save(int, Hwnd form, Hwnd, int) {
  return StateOf(form).editMode > 0 ? SaveEdit(form) : SaveNew(form);
}

LResult FORMSISWA_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormSiswa, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    const Hwnd control = FrmControlOf(msg, lParam);
    LResult h = 0;
    if (id == gFormSiswaPhotoButtonId)
      h = FORMSISWA_ChoosePhoto(FrmIndexOf(control), hwnd, control, id);
    else if (id == gFormSiswaSaveButtonId)
      h = FORMSISWA_Save(FrmIndexOf(control), hwnd, control, id);
    if (h) return h;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMSISWA_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
