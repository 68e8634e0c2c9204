#include "app/startup.h"

#include <QApplication>

#include "accounts/billing_editor_window.h"
#include "accounts/fee_copy_window.h"
#include "accounts/fee_entry_window.h"
#include "accounts/fee_list_window.h"
#include "accounts/posting_account_window.h"
#include "app/config.h"
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
#include "common/receipt_settings_window.h"
#include "framework/globals.h"
#include "payments/arrears_window.h"
#include "payments/chooser_host.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"
#include "payments/payment_window.h"
#include "platform/seams.h"
#include "savings/journal_entry_windows.h"
#include "savings/journal_list_window.h"
#include "savings/savings_list_window.h"
#include "savings/savings_teller_window.h"
#include "students/import_window.h"
#include "students/promotion_window.h"
#include "students/student_list_window.h"
#include "students/student_record_window.h"

void AppInitControlIds() {
  // The main window's ids are fixed (app/main_window.h); the other forms number their controls from 1000 upward in
  // their design order.
  FORMLOGIN_InitControlIds();
  FORM24_InitControlIds();
  FORM7_InitControlIds();
  FORMADMIN_InitControlIds();
  PASSWORD_InitControlIds();
  FORM26_InitControlIds();
  FORM12_InitControlIds();
  FORM20_InitControlIds();
  FORM23_InitControlIds();
  FORMIMPORT_InitControlIds();
  FORM9_InitControlIds();
  FORM2_InitControlIds();
  FORMSISWA_InitControlIds();
  FORM6_InitControlIds();
  FORMAKUNBAYAR_InitControlIds();
  FORM17_InitControlIds();
  FORM25_InitControlIds();
  FORM28_InitControlIds();
  FORM14_InitControlIds();
  FORM15_InitControlIds();
  FORMBAYAR_InitControlIds();
  FORMREKBAYAR1_InitControlIds();
  FORMREKBAYAR3_InitControlIds();
  FORMREKBAYAR_InitControlIds();
  FORMREKKELUAR_InitControlIds();
  FORMREKMASUK_InitControlIds();
  FORMTABUNGAN_InitControlIds();
  FORMTUNGGAKAN_InitControlIds();
}

int AppPreStartHook(std::intptr_t, std::intptr_t, const char*, int) { return 0; }

int AppRunGui(std::intptr_t instance, std::intptr_t prevInstance, const char* commandLine, int showCommand) {
  gRichEditClass = "RichEdit50W";
  AppInitControlIds();
  gHInstance = instance;
  if (AppPreStartHook(instance, prevInstance, commandLine, showCommand) == 0) MDIFORM1_Show(0, 1, 0);
  return static_cast<int>(gFormResult);
}

void AppMain(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  AppInitRun();
  int code = AppRunGui(1, 0, argc > 1 ? argv[1] : "", 1);
  AppExit(code);
}
