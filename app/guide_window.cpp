#include "app/guide_window.h"

#include "accounts/fee_list_window.h"
#include "students/import_window.h"
#include "students/promotion_window.h"

#include <QLabel>
#include <QWidget>
#include <string>

#include "app/access.h"
#include "app/globals.h"
#include "common/export.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/window_system.h"
#include "platform/seams.h"

Hwnd gForm24Window = 0;
Hwnd gForm24Picture = 0, gForm24IntroLabel = 0, gForm24SiswaTitle = 0, gForm24SiswaCountLabel = 0,
     gForm24KelasCountLabel = 0, gForm24SiswaInfoLabel = 0, gForm24FormatSiswaButton = 0,
     gForm24ImportSiswaButton = 0, gForm24KenaikanButton = 0, gForm24RekeningTitle = 0,
     gForm24RekeningCountLabel = 0, gForm24RekeningInfoLabel = 0, gForm24FormatRekeningButton = 0,
     gForm24ImportRekeningButton = 0, gForm24AkunTitle = 0, gForm24AkunCountLabel = 0, gForm24AkunInfoLabel = 0,
     gForm24AkunButton = 0, gForm24SelesaiButton = 0;

int gForm24PictureId = 1000, gForm24IntroLabelId = 1001, gForm24SiswaTitleId = 1002, gForm24SiswaCountLabelId = 1003,
    gForm24KelasCountLabelId = 1004, gForm24SiswaInfoLabelId = 1005, gForm24FormatSiswaButtonId = 1006,
    gForm24ImportSiswaButtonId = 1007, gForm24KenaikanButtonId = 1008, gForm24RekeningTitleId = 1009,
    gForm24RekeningCountLabelId = 1010, gForm24RekeningInfoLabelId = 1011, gForm24FormatRekeningButtonId = 1012,
    gForm24ImportRekeningButtonId = 1013, gForm24AkunTitleId = 1014, gForm24AkunCountLabelId = 1015,
    gForm24AkunInfoLabelId = 1016, gForm24AkunButtonId = 1017, gForm24SelesaiButtonId = 1018;

void FORM24_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm24PictureId, &gForm24IntroLabelId, &gForm24SiswaTitleId, &gForm24SiswaCountLabelId,
                 &gForm24KelasCountLabelId, &gForm24SiswaInfoLabelId, &gForm24FormatSiswaButtonId,
                 &gForm24ImportSiswaButtonId, &gForm24KenaikanButtonId, &gForm24RekeningTitleId,
                 &gForm24RekeningCountLabelId, &gForm24RekeningInfoLabelId, &gForm24FormatRekeningButtonId,
                 &gForm24ImportRekeningButtonId, &gForm24AkunTitleId, &gForm24AkunCountLabelId,
                 &gForm24AkunInfoLabelId, &gForm24AkunButtonId, &gForm24SelesaiButtonId})
    *g = id++;
}

// ----- what the guide computes --------------------------------------------------------------------------------------
Form24Count FORM24_Count(const std::string& sql) {
  Form24Count c;
  gSqlResult.clear();   // a failed statement must not read the count an earlier one left
  if (FinExec(sql, FinCbSingleValue) != 0) {
    c.failed = true;
    return c;
  }
  c.count = RoundHalfEven(Val(gSqlResult));
  return c;
}

Form24Counts FORM24_TakeCounts() {
  Form24Counts c;
  c.siswa = FORM24_Count("Select Count(*) From siswa");
  c.siswaKelas = FORM24_Count("Select Count(*) From siswakelas WHERE tapel='" + SqlQ(gTapel) + "'");
  c.rekening = FORM24_Count("Select Count(*) From rekening WHERE tapel='" + SqlQ(gTapel) + "'");
  c.account = FORM24_Count("Select Count(*) From account WHERE tapel='" + SqlQ(gTapel) + "'");
  return c;
}

std::string FORM24_CountText(const std::string& prefix, long long count) {
  return prefix + std::to_string(count) + " Data";
}

std::string FORM24_TemplatePath(const std::string& fileName) {
  return platform::ProgramFolderPath() + "/CopyPaste dari Excel/" + fileName;
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kIntroFont = "Arial Unicode MS,12,1";
constexpr const char* kLabelFont = "Arial Unicode MS,10,1";
constexpr const char* kButtonFont = "Arial Unicode MS,9,0";
constexpr const char* kCountStart = "Keterangan: 0 Data";

FrmForm gForm24 = {.name = "FORM24",
                   .wndProc = FORM24_WndProc,
                   .window = &gForm24Window,
                   .createControls = FORM24_CreateControls,
                   .onCreate = FORM24_OnLoad,
                   .caption = "Data yang wajib terisi",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .width = 886,
                   .height = 609};

constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;

Hwnd AddLabel(Hwnd form, const char* text, int x, int y, int w, int h, int id, const char* font, FrmColors colors) {
  return FrmAddControl(form, "Static", text, kLabel, 0, x, y, w, h, id, FORM24_CtlSubclassProc, font, "", colors);
}
Hwnd AddButton(Hwnd form, const char* text, std::uint32_t extraStyle, int x, int y, int id) {
  return FrmAddControl(form, "Button", text, kButton | extraStyle, 0, x, y, 183, 25, id, FORM24_CtlSubclassProc,
                       kButtonFont);
}

// The database icon, loaded at the picture's size.
void ShowDatabaseIcon(Hwnd picture) {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(picture)))
    label->setPixmap(ResLoadImage("IMAGE_DATABASE", label->width(), label->height()));
}

// Instructions of a kind still missing: dark red on yellow.
void Highlight(Hwnd instructions) { CtlSetColors(instructions, WinRgb(196, 0, 0), WinRgb(255, 255, 0)); }

// The windows the guide leads to are reached through these call points. Until the import window, the fee list and
// the promotion window are part of the program, they open nothing.
void OpenImportWindow(Hwnd guide) { FORMIMPORT_Show(guide, 1, 0); }   // modal over the guide
void OpenFeeList() { FORM6_Show(gMdiClient, 1, 0); }                   // an MDI child: returns at once
void OpenPromotion() { FORM9_Show(gMdiClient, 1, 0); }                 // modal

// The guide opens a window only for an operator whose rights allow it, by the access position of the list window the
// main window would open it from: the students, the ledger accounts, the fees. A refusal shows the main window's
// refusal text and leaves the guide open.

}  // namespace

std::intptr_t FORM24_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm24, parent, modal, userData);
}

void FORM24_CreateControls(Hwnd form) {
  const FrmColors blue = FrmColors::RgbOnFace(WinRgb(0, 0, 255));
  const FrmColors darkRed = FrmColors::RgbOnFace(WinRgb(196, 0, 0));
  const FrmColors face = FrmColors::Face();

  gForm24Picture = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_ICON, 0, 40, 24, 74, 79,
                                 gForm24PictureId, FORM24_CtlSubclassProc, "");
  ShowDatabaseIcon(gForm24Picture);
  gForm24IntroLabel = AddLabel(form,
                               "Ada beberapa item data yang wajib terisi dalam aplikasi ini, dan mungkin anda baru "
                               "memulai / pertama kali membuka aplikasi dan database masih dalam keadaan kosong",
                               128, 28, 719, 63, gForm24IntroLabelId, kIntroFont, blue);

  gForm24SiswaTitle = AddLabel(form, "1. Data Siswa", 128, 112, 121, 24, gForm24SiswaTitleId, kLabelFont, face);
  gForm24SiswaCountLabel = AddLabel(form, kCountStart, 144, 132, 185, 20, gForm24SiswaCountLabelId, kLabelFont, blue);
  gForm24KelasCountLabel = AddLabel(form, kCountStart, 540, 132, 185, 20, gForm24KelasCountLabelId, kLabelFont, blue);
  gForm24SiswaInfoLabel = AddLabel(
      form,
      "Cara pengisian: Klik tombol Format Data Siswa; setelah itu isi file excel tersebut sesuai dengan format dan "
      "data siswa yang ada di sekolah anda; Select dan Copy Data tersebut dan dilanjut dengan klik tombol IMPORT DATA "
      "SISWA, setelah terbuka klik Paste hingga data muncul di list, kemudian pilih kelas, isi jurusan, simpan "
      "database.",
      144, 152, 705, 75, gForm24SiswaInfoLabelId, kLabelFont, darkRed);
  gForm24FormatSiswaButton = AddButton(form, "FORMAT DATA SISWA", 0, 144, 228, gForm24FormatSiswaButtonId);
  gForm24ImportSiswaButton = AddButton(form, "IMPORT DATA SISWA", 0, 332, 228, gForm24ImportSiswaButtonId);
  gForm24KenaikanButton = AddButton(form, "KENAIKAN KELAS", WS_DISABLED, 540, 228, gForm24KenaikanButtonId);

  gForm24RekeningTitle =
      AddLabel(form, "2. Data Rekening Keuangan", 128, 264, 193, 24, gForm24RekeningTitleId, kLabelFont, face);
  gForm24RekeningCountLabel =
      AddLabel(form, kCountStart, 144, 284, 185, 20, gForm24RekeningCountLabelId, kLabelFont, blue);
  gForm24RekeningInfoLabel = AddLabel(
      form,
      "Cara pengisian: Klik tombol Format Data Rekening; setelah itu isi file excel tersebut sesuai dengan format "
      "dan data rekening yang ada di sekolah anda; Select dan Copy Data tersebut dan dilanjut dengan klik tombol "
      "IMPORT DATA REKENING, setelah terbuka klik Paste hingga data muncul di list, terakhir klik tombol simpan "
      "database.",
      144, 304, 705, 75, gForm24RekeningInfoLabelId, kLabelFont, darkRed);
  gForm24FormatRekeningButton =
      AddButton(form, "FORMAT DATA REKENING", 0, 144, 380, gForm24FormatRekeningButtonId);
  gForm24ImportRekeningButton =
      AddButton(form, "IMPORT DATA REKENING", 0, 328, 380, gForm24ImportRekeningButtonId);

  gForm24AkunTitle = AddLabel(form, "3. Data Akun Pembayaran", 128, 413, 192, 24, gForm24AkunTitleId, kLabelFont, face);
  gForm24AkunCountLabel = AddLabel(form, kCountStart, 144, 432, 185, 20, gForm24AkunCountLabelId, kLabelFont, blue);
  gForm24AkunInfoLabel = AddLabel(
      form,
      "Cara pengisian: Klik tombol Data Akun; setelah itu Pilih Kelas Siswa, dilanjutkan dengan klik tombol Add Data "
      "untuk menambahkan data Akun Pembayaran.",
      144, 452, 705, 45, gForm24AkunInfoLabelId, kLabelFont, darkRed);
  gForm24AkunButton = AddButton(form, "DATA AKUN PEMBAYARAN", 0, 144, 500, gForm24AkunButtonId);

  gForm24SelesaiButton = AddButton(form, "SELESAI", 0, 668, 540, gForm24SelesaiButtonId);

  CtlSetFocus(gForm24FormatRekeningButton);
}

LResult FORM24_OnLoad(Hwnd, std::intptr_t) {
  const Form24Counts c = FORM24_TakeCounts();
  if (c.siswa.missing()) {
    CtlSetText(gForm24SiswaCountLabel, FORM24_CountText("Keterangan:", c.siswa.count));
    Highlight(gForm24SiswaInfoLabel);
  }
  if (c.siswaKelas.missing()) {
    CtlSetText(gForm24KelasCountLabel, FORM24_CountText("Siswa Kelas:", c.siswaKelas.count));
    CtlEnable(gForm24KenaikanButton);   // last year's students can be moved into the working school year
  }
  if (c.rekening.missing()) {
    CtlSetText(gForm24RekeningCountLabel, FORM24_CountText("Keterangan:", c.rekening.count));
    Highlight(gForm24RekeningInfoLabel);
  }
  if (c.account.missing()) {
    CtlSetText(gForm24AkunCountLabel, FORM24_CountText("Keterangan:", c.account.count));
    Highlight(gForm24AkunInfoLabel);
  }
  return 0;
}

LResult FORM24_FormatSiswa(int, Hwnd, Hwnd, int) {
  FinOpenWithDesktop(FORM24_TemplatePath("Data Siswa.xlsx"));   // says so when nothing can open it
  return 0;
}

LResult FORM24_FormatRekening(int, Hwnd, Hwnd, int) {
  FinOpenWithDesktop(FORM24_TemplatePath("Data Rekening.xlsx"));
  return 0;
}

LResult FORM24_ImportSiswa(int, Hwnd form, Hwnd, int) {
  if (!AppCheckAccess(kAccessStudents)) return 0;
  gFormMode = "Siswa";
  OpenImportWindow(form);
  return 0;
}

LResult FORM24_ImportRekening(int, Hwnd form, Hwnd, int) {
  if (!AppCheckAccess(kAccessLedger)) return 0;
  gFormMode = "Rekening";
  OpenImportWindow(form);
  return 0;
}

LResult FORM24_DataAkun(int, Hwnd form, Hwnd, int) {
  if (!AppCheckAccess(kAccessFees)) return 0;
  OpenFeeList();
  FrmClose(form, 0);
  return 0;
}

LResult FORM24_KenaikanKelas(int, Hwnd form, Hwnd, int) {
  if (!AppCheckAccess(kAccessStudents)) return 0;
  OpenPromotion();
  FrmClose(form, 0);
  return 0;
}

LResult FORM24_Selesai(int, Hwnd form, Hwnd, int) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM24_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // the close box: closed with result 0
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(gForm24, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    const int id = static_cast<int>(LOWORD(wParam));
    Handler handler = id == gForm24FormatSiswaButtonId      ? FORM24_FormatSiswa
                      : id == gForm24ImportSiswaButtonId    ? FORM24_ImportSiswa
                      : id == gForm24KenaikanButtonId       ? FORM24_KenaikanKelas
                      : id == gForm24FormatRekeningButtonId ? FORM24_FormatRekening
                      : id == gForm24ImportRekeningButtonId ? FORM24_ImportRekening
                      : id == gForm24AkunButtonId           ? FORM24_DataAkun
                      : id == gForm24SelesaiButtonId        ? FORM24_Selesai
                                                            : nullptr;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM24_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
