// Every window the operator can resize, made larger: a top-level form (the desktop resizes any window it decorates,
// and a form with a sizing border of its own), every MDI child and the main window. Opened as the program opens it,
// each is grown by 300 x 200 pixels and then to 1366 x 768; no control may come to lie under another or reach out of
// the window (support/window_growth.h). The check itself is tried on a form made for it.
#include <QApplication>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "accounts/allowance_list_window.h"
#include "accounts/billing_editor_window.h"
#include "accounts/fee_copy_window.h"
#include "accounts/fee_entry_window.h"
#include "accounts/fee_list_window.h"
#include "accounts/ledger_entry_window.h"
#include "accounts/ledger_list_window.h"
#include "accounts/posting_account_window.h"
#include "accounts/source_year_prompt.h"
#include "app/access.h"
#include "app/confirm_window.h"
#include "app/data_reset_window.h"
#include "app/database_window.h"
#include "app/globals.h"
#include "app/guide_window.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/operator_editor_window.h"
#include "app/operator_list_window.h"
#include "app/password_window.h"
#include "app/startup.h"
#include "app/welcome_window.h"
#include "common/globals.h"
#include "common/print_request.h"
#include "common/receipt_settings_window.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/arrears_window.h"
#include "payments/chooser_host.h"
#include "payments/class_payment_window.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"
#include "payments/payment_globals.h"
#include "payments/payment_list_window.h"
#include "payments/payment_revision_window.h"
#include "payments/payment_window.h"
#include "reports/arrears_report_dialog.h"
#include "reports/arrears_report_window.h"
#include "reports/financial_report_window.h"
#include "reports/payment_report_dialog.h"
#include "reports/payment_report_window.h"
#include "reports/savings_report_viewer.h"
#include "reports/savings_reports.h"
#include "savings/journal_entry_windows.h"
#include "savings/journal_list_window.h"
#include "savings/savings_globals.h"
#include "savings/savings_list_window.h"
#include "savings/savings_teller_window.h"
#include "students/class_move_window.h"
#include "students/import_window.h"
#include "students/promotion_window.h"
#include "students/student_list_window.h"
#include "students/student_pickers.h"
#include "students/student_record_window.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"
#include "support/window_growth.h"

namespace {

class WindowGrowthTest;

// One window: its form name and how the operator comes to it.
struct GrowingWindow {
  const char* name;
  std::function<void(WindowGrowthTest&)> open;
};

class WindowGrowthTest : public fintest::SeamsTest, public ::testing::WithParamInterface<GrowingWindow> {
 public:
  using SeamsTest::ExpectMsgBox;
  using SeamsTest::OnModal;

  WindowGrowthTest() {
    gDbPath = WorkFile("keuangan.db3");
    gDb = fintest::CreateDatabase(gDbPath);
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gReportMonth = 9;
    gAkses = std::string(12, '1');
    gFormMode.clear();
    gEditMode = 0;
    gPrepaid = 0;
    gSqlResult.clear();
    AppInitControlIds();
    // A student of VII A (VI A the year before) with a monthly and a yearly fee, part paid, a savings deposit; a second
    // student; the ledger accounts; one allowance.
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, Status) VALUES ('12','ANI RAHMA','Aktif'),('1','BUDI','Aktif');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                  " ('2024202512','12','VII A','01','2024/2025'),('202420251','1','VII A','01','2024/2025'),"
                  " ('2023202412','12','VI A','01','2023/2024');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('411','SPP','Msk','2024/2025'),"
                  " ('412','Buku','Msk','2024/2025'),('511','Gaji','Klr','2024/2025'),"
                  " ('112','Bank BRI','Bms','2024/2025');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-VIIA20240001','SPP','VII A',150000,'Perbulan','2024/2025','411'),"
                  " ('BR-VIIA20240002','Buku','VII A',1000000,'Pertahun','2024/2025','412');"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september,"
                  " oktober, nopember, desember, januari, februari, maret, april, mei, juni) VALUES"
                  " ('BR-VIIA20240001','12',1800000,150000,150000,150000,150000,150000,150000,150000,150000,150000,"
                  "150000,150000,150000),"
                  " ('BR-VIIA20240002','12',1000000,0,0,0,0,0,0,0,0,0,0,0,0);"
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                  " VALUES ('2024202520240715080000 1','2024-07-15','SPP Bulan : Juli s/d Juli','BR-VIIA20240001',"
                  "'12',150000,0,'ketua','p','-','411'),"
                  " ('2024202520240801090000 1','2024-08-01','Angsuran Buku dari : 1 s/d 3','BR-VIIA20240002','12',"
                  "300000,0,'ketua','p','-','412'),"
                  " ('1220240801080000','2024-08-01','01-Setoran','Tabungan','12',1000,0,'ketua','t','-','1-1');"
                  "INSERT INTO mastergaji (Kode, Uraian, Kriteria, Tapel) VALUES ('T01','Wali kelas','Guru tetap',"
                  "'2024/2025');");
    // The main window's client and status bar, stood in for.
    area_ = new QMdiArea;
    area_->resize(1300, 850);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    statusHost_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(statusHost_), 4999);
    SbSetParts(gStatusBar, {50, 150, 250, 350, 450, 550, 650, 750, -1});
    SbSetText(gStatusBar, 1, "ketua", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
  }
  ~WindowGrowthTest() override {
    // Every form still there: the MDI children first, then the windows of the desktop.
    std::vector<Hwnd> forms;
    for (QMdiSubWindow* sub : area_->subWindowList()) forms.push_back(WinHandleOfWidget(sub));
    for (QWidget* w : QApplication::topLevelWidgets()) forms.push_back(WinHandleOfWidget(w));
    for (Hwnd h : forms)
      if (WinIsForm(h)) WinDestroyWindow(h);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete area_;
    delete statusHost_;
    gMdiClient = 0;
    gStatusBar = 0;
    gFormMode.clear();
    gEditMode = 0;
    gDbPath.clear();
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Grows the form by 300 x 200 and then to 1366 x 768, each from its normal size; what went wrong is kept.
  void Check(Hwnd form) {
    checked_.push_back(WinGetClassName(form));
    for (std::string& line : fintest::GrowthFaults(form, 300, 200)) found_.insert(std::move(line));
    for (std::string& line : fintest::GrowthFaultsAt(form, 1366, 768)) found_.insert(std::move(line));
  }
  // Runs `show`, which opens a modal form: the form is checked inside its loop and closed.
  void Modal(const std::function<void()>& show) {
    OnModal([this](QWidget* w) {
      const Hwnd form = WinHandleOfWidget(w);
      Check(form);
      FrmClose(form, 0);
    });
    show();
  }
  // A modeless window (an MDI child) as its Show routine returned it.
  void Modeless(std::intptr_t window) { Check(static_cast<Hwnd>(window)); }

  // The payment window, modeless, with student 12 called up.
  static void OpenPaymentWindow() {
    FORMBAYAR_Show(0, 0, 0);
    fintest::Type(gFormBayarIdEdit, "12");
  }
  // The arrears window over it, modeless, with the row of `fee` marked.
  static void OpenArrears(const std::string& fee) {
    OpenPaymentWindow();
    FORMTUNGGAKAN_Show(gFormBayarWindow, 0, 0);
    for (int r = 0; r < LvGetItemCount(gFormTunggakanList); ++r)
      if (LvGetItemText(gFormTunggakanList, r, kTunggakanColId) == fee) fintest::ClickListRow(gFormTunggakanList, r);
  }
  // A toolbar command of a list window that opens a modal form.
  void Command(Hwnd toolbar, int id) {
    Modal([toolbar, id] { EXPECT_EQ(TbClickButton(toolbar, id), 1) << id; });
  }

  std::vector<std::string> checked_;   // the classes of the forms grown
  std::set<std::string> found_;
  QMdiArea* area_ = nullptr;
  QWidget* statusHost_ = nullptr;
};

using T = WindowGrowthTest;

const std::vector<GrowingWindow>& Windows() {
  static const std::vector<GrowingWindow> windows = {
      // ----- the shell
      {"MDIFORM1",
       [](T& t) {
         // Logged in; the required data is there, so no guide opens. Checked inside the main window's own loop.
         t.OnModal([](QWidget*) {
           CtlSetText(gFormLoginUserEdit, "ketua");
           CtlSetText(gFormLoginPasswordEdit, "5927");
           fintest::Click(gFormLoginLoginButton);
         });
         t.ExpectMsgBox(AppLoginWelcomeText("ketua"), "Login User..");
         t.OnModal([&t](QWidget*) {
           t.Check(gMainWindow);
           WinSendMessage(gMainWindow, WM_CLOSE, 0, 0);
         });
         MDIFORM1_Show(0, 1, 0);
       }},
      {"FORM1", [](T& t) { t.Modeless(FORM1_Show(gMdiClient, 1, 0)); }},
      {"FORMLOGIN", [](T& t) { t.Modal([] { FORMLOGIN_Show(0, 1, 0); }); }},
      {"FORM24", [](T& t) { t.Modal([] { FORM24_Show(0, 1, 0); }); }},
      {"PASSWORD", [](T& t) { t.Modal([] { PASSWORD_Show(gMdiClient, 1, 0); }); }},
      {"FORM12", [](T& t) { t.Modal([] { FORM12_Show(0, 1, 0); }); }},
      {"FORM20", [](T& t) { t.Modal([] { FORM20_Show(gMdiClient, 1, 0); }); }},
      {"FORM26", [](T& t) { t.Modal([] { FORM26_Show(0, 1, 0); }); }},
      {"FORM7", [](T& t) { t.Modeless(FORM7_Show(gMdiClient, 1, 0)); }},
      {"FORMADMIN",
       [](T& t) {
         FORM7_Show(gMdiClient, 1, 0);
         t.Command(gForm7Toolbar, gForm7AddId);
       }},
      // ----- students
      {"FORM2", [](T& t) { t.Modeless(FORM2_Show(gMdiClient, 1, 0)); }},
      {"FORMSISWA",
       [](T& t) {
         FORM2_Show(gMdiClient, 1, 0);
         t.Command(gForm2Toolbar, gForm2AddButtonId);
       }},
      {"FORM16", [](T& t) {
         FORM2_Show(gMdiClient, 1, 0);
         t.Modal([] { FORM16_Show(gForm2Window, 1, 0); });
       }},
      {"FORM9", [](T& t) { t.Modal([] { FORM9_Show(0, 1, 0); }); }},
      {"FORMIMPORT", [](T& t) {
         gFormMode = "Siswa";
         t.Modal([] { FORMIMPORT_Show(0, 1, 0); });
       }},
      {"FORMCRSISWA",
       [](T& t) {
         T::OpenPaymentWindow();
         t.Modal([] { FORMCRSISWA_Show(gFormBayarWindow, 1, 0, FORMBAYAR_StudentHandover()); });
       }},
      {"FORMCRSISWA1",
       [](T& t) {
         FORMTABUNGAN_Show(0, 0, 0);
         t.Modal([] { FORMCRSISWA1_Show(gFormTabunganWindow, 1, 0, FORMTABUNGAN_StudentHandover()); });
       }},
      // ----- ledger accounts, fees and billing
      {"FORM5", [](T& t) { t.Modeless(FORM5_Show(gMdiClient, 1, 0)); }},
      {"FORMREK",
       [](T& t) {
         FORM5_Show(gMdiClient, 1, 0);
         t.Command(gForm5Toolbar, gForm5AddId);
       }},
      {"FORM4", [](T& t) { t.Modeless(FORM4_Show(gMdiClient, 1, 0)); }},
      {"FORM21", [](T& t) { t.Modal([] { FORM21_Show(0, 1, 0); }); }},
      {"FORM6", [](T& t) { t.Modeless(FORM6_Show(gMdiClient, 1, 0)); }},
      {"FORMAKUNBAYAR",
       [](T& t) {
         FORM6_Show(gMdiClient, 1, 0);
         t.Command(gForm6Toolbar, gForm6AddId);
       }},
      {"FORM28",
       [](T& t) {
         FORM6_Show(gMdiClient, 1, 0);
         LvSelectItem(gForm6List, 0);
         t.Command(gForm6Toolbar, gForm6DetailId);
       }},
      {"FORM17",
       [](T& t) {
         FORM6_Show(gMdiClient, 1, 0);
         t.Command(gForm6Toolbar, gForm6RekeningId);
       }},
      {"FORM25",
       [](T& t) {
         FORM6_Show(gMdiClient, 1, 0);
         t.Command(gForm6Toolbar, gForm6CopyClassId);
       }},
      // ----- payments
      {"FORM13", [](T& t) { t.Modeless(FORM13_Show(gMdiClient, 1, 0)); }},
      {"FORMBAYAR", [](T& t) { t.Modal([] { FORMBAYAR_Show(gMdiClient, 1, 0); }); }},
      {"FORMTUNGGAKAN",
       [](T& t) {
         T::OpenPaymentWindow();
         t.Modal([] { FORMTUNGGAKAN_Show(gFormBayarWindow, 1, 0); });
       }},
      {"FORMREKBAYAR1",
       [](T& t) {
         T::OpenArrears("BR-VIIA20240001");
         t.Modal([] { fintest::Click(gFormTunggakanChangeButton); });
       }},
      {"FORMREKBAYAR3",
       [](T& t) {
         T::OpenArrears("BR-VIIA20240002");
         t.Modal([] { fintest::Click(gFormTunggakanChangeButton); });
       }},
      {"FORMREKBAYAR",
       [](T& t) {
         T::OpenArrears("BR-VIIA20240001");
         t.Modeless(FORMREKBAYAR_Show(gFormTunggakanWindow, 0, 0));
       }},
      {"FORMREVISI",
       [](T& t) {
         T::OpenPaymentWindow();
         t.Modal([] { FORMREVISI_Show(gFormBayarWindow, 1, 0); });
       }},
      {"FORM27", [](T& t) { t.Modal([] { FORM27_Show(gMdiClient, 1, 0); }); }},
      // ----- savings and journals
      {"FORM14", [](T& t) { t.Modeless(FORM14_Show(gMdiClient, 1, 0)); }},
      {"FORMTABUNGAN", [](T& t) { t.Modal([] { FORMTABUNGAN_Show(gMdiClient, 1, 0); }); }},
      {"FORM15",
       [](T& t) {
         gFormMode = "JURNAL KAS";
         t.Modeless(FORM15_Show(gMdiClient, 1, 0));
       }},
      {"FORMREKMASUK",
       [](T& t) {
         gFormMode = "JURNAL KAS";
         FORM15_Show(gMdiClient, 1, 0);
         t.Command(gForm15Toolbar, gForm15IncomeId);
       }},
      {"FORMREKKELUAR",
       [](T& t) {
         gFormMode = "JURNAL BANK";
         FORM15_Show(gMdiClient, 1, 0);
         t.Command(gForm15Toolbar, gForm15ExpenseId);
       }},
      // ----- reports
      {"FORM8", [](T& t) { t.Modeless(FORM8_Show(gMdiClient, 1, 0)); }},
      {"FORM10", [](T& t) { t.Modeless(FORM10_Show(gMdiClient, 1, 0)); }},
      {"FORMLAPBAYAR",
       [](T& t) {
         FORM10_Show(gMdiClient, 1, 0);
         t.Command(gForm10Toolbar, gForm10ReportId);
       }},
      {"FORM11", [](T& t) { t.Modeless(FORM11_Show(gMdiClient, 1, 0)); }},
      {"FORMLAPTUNGGAKAN",
       [](T& t) {
         FORM11_Show(gMdiClient, 1, 0);
         t.Command(gForm11Toolbar, gForm11ReportId);
       }},
      {"FORM18", [](T& t) { t.Modal([] { FORM18_Show(gMdiClient, 1, 0); }); }},
      {"FORM19", [](T& t) { t.Modeless(FORM19_Show(gMdiClient, 1, 0)); }},
      // ----- settings and the print-request poller
      {"FORM23", [](T& t) { t.Modal([] { FORM23_Show(0, 1, 0, FORMBAYAR_ReceiptLayoutList()); }); }},
      {"FORM3", [](T& t) { t.Modeless(FORM3_Show(0, 0, 0)); }},
  };
  return windows;
}

void PrintTo(const GrowingWindow& w, std::ostream* out) { *out << w.name; }

TEST_P(WindowGrowthTest, NoControlComesUnderAnotherOrOutTheWindow) {
  GetParam().open(*this);
  EXPECT_EQ(checked_, std::vector<std::string>{std::string("FORM_FINANCE_") + GetParam().name + "_CLASS"});
  for (const std::string& line : found_) ADD_FAILURE() << line;
}

INSTANTIATE_TEST_SUITE_P(EveryResizableWindow, WindowGrowthTest, ::testing::ValuesIn(Windows()),
                         [](const ::testing::TestParamInfo<GrowingWindow>& info) { return info.param.name; });

// ----- the check itself, on a form made for it: a list over a button, a group box with an edit in it ---------------
Hwnd gProbeWindow = 0;
std::string gProbeRules[3];   // the list's, the group box's and the edit's
LResult ProbeWndProc(Hwnd h, unsigned m, WParam w, LParam l);
LResult ProbeControlProc(Hwnd h, unsigned m, WParam w, LParam l) { return FrmControlMessage(h, m, w, l); }
void ProbeControls(Hwnd form) {
  FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | LVS_REPORT, WS_EX_CLIENTEDGE, 10, 10, 200, 150,
                1000, ProbeControlProc, "", gProbeRules[0]);
  FrmAddControl(form, "Button", "Tutup", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 10, 170, 80, 24, 1001,
                ProbeControlProc, "");
  FrmAddControl(form, "Button", "Siswa", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 230, 10, 150, 100, 1002,
                ProbeControlProc, "", gProbeRules[1]);
  FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE, 240, 40, 120, 22, 1003, ProbeControlProc, "",
                gProbeRules[2]);
}
FrmForm gProbe = {.name = "GROWTHPROBE",
                  .wndProc = ProbeWndProc,
                  .window = &gProbeWindow,
                  .createControls = ProbeControls,
                  .caption = "Probe",
                  .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                  .width = 400,
                  .height = 220};
LResult ProbeWndProc(Hwnd h, unsigned m, WParam w, LParam l) {
  LResult r = 0;
  if (FrmFormMessage(gProbe, h, m, w, l, &r)) return r;
  return WinDefWindowProc(h, m, w, l);
}

class GrowthFaultsTest : public fintest::SeamsTest {
 protected:
  ~GrowthFaultsTest() override {
    if (IsWindow(gProbeWindow)) WinDestroyWindow(gProbeWindow);
  }
};

TEST_F(GrowthFaultsTest, NamesEachControlThatComesUnderAnotherOrOutOfWhereItLay) {
  struct Case {
    const char *list, *group, *edit;
    std::vector<std::string> found;
  } cases[] = {
      {"", "", "", {}},
      {"FL,FT,FL,S", "", "", {"Probe: SysListView32 \"\" under Button \"Tutup\""}},
      {"", "", "FL,FT,FR,FT", {"Probe: Edit \"\" reaches outside Button \"Siswa\""}},
      {"", "FL,FT,FR,FT", "FL,FT,FR,FT", {}},   // the group box grows with it
      {"", "FL,FT,F200,FT", "", {"Probe: Button \"Siswa\" reaches outside the window"}},
  };
  for (const Case& c : cases) {
    gProbeRules[0] = c.list;
    gProbeRules[1] = c.group;
    gProbeRules[2] = c.edit;
    FrmShowForm(gProbe, 0, 0, 0);
    const WinRect before = WinGetWindowRect(gProbeWindow);
    EXPECT_EQ(fintest::GrowthFaults(gProbeWindow, 300, 200), c.found) << c.list << " / " << c.group << " / " << c.edit;
    const WinRect after = WinGetWindowRect(gProbeWindow);
    EXPECT_EQ(std::vector<int>({after.width(), after.height()}), std::vector<int>({before.width(), before.height()}));
    WinDestroyWindow(gProbeWindow);
  }
}

}  // namespace
