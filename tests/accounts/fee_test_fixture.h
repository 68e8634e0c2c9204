// What the fee windows' tests share: a fresh database with classes, students, ledger accounts and fees, an MDI area
// standing for the main window's client, the fee list opened in it, and the operator's gestures.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "accounts/account_globals.h"
#include "accounts/billing_editor_window.h"
#include "accounts/fee_copy_window.h"
#include "accounts/fee_entry_window.h"
#include "accounts/fee_list_window.h"
#include "accounts/posting_account_window.h"
#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using fintest::ComboItems;
using fintest::ListRows;

namespace feetest {

using Rows = std::vector<std::vector<std::string>>;

class FeeTest : public fintest::SeamsTest {
 protected:
  FeeTest() {
    gDb = fintest::CreateDatabase(WorkFile("keuangan.db3"));
    gTapel = "2023/2024";
    gEditMode = 0;
    gFormMode.clear();
    gSqlResult.clear();
    area_ = new QMdiArea;
    area_->resize(1300, 850);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
  }
  ~FeeTest() override {
    for (Hwnd* w : {&gFormAkunBayarWindow, &gForm28Window, &gForm25Window, &gForm17Window, &gForm6Window})
      if (IsWindow(*w)) WinDestroyWindow(*w);
    delete area_;
    gMdiClient = 0;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Two classes of the working year with students, a dropped-out and a graduated class, last year's class, income
  // and expense accounts.
  void Seed() {
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama) VALUES ('S1','Ani'),('S2','Budi'),('S3','Citra'),('S4','Dedi'),"
                  "('S5','Eka'),('S6','Fajar'),('S7','Gita');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES"
                  " ('20232024S1','S1','TK A','2023/2024'),('20232024S2','S2','TK A','2023/2024'),"
                  " ('20232024S3','S3','TK A','2023/2024'),('20232024S4','S4','VII A','2023/2024'),"
                  " ('20232024S5','S5','VII A','2023/2024'),('20232024S6','S6','DO','2023/2024'),"
                  " ('20232024S7','S7','Lulus 2023','2023/2024'),('20222023S1','S1','Play Group','2022/2023');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('411','SPP','Msk','2023/2024'),"
                  " ('412','Uang Gedung','Msk','2023/2024'),('511','Gaji','Klr','2023/2024'),"
                  " ('401','Lama','Msk','2022/2023');");
  }

  Hwnd OpenFeeList() { return static_cast<Hwnd>(FORM6_Show(gMdiClient, 1, 0)); }

  // A click of the left button on a list row.
  static void ClickRow(Hwnd list, int row) {
    auto* v = dynamic_cast<QTableView*>(WinWidget(list));
    ASSERT_NE(v, nullptr);
    const QRect r = v->visualRect(v->model()->index(row, 1));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
  }
  static void PressEnter(Hwnd edit) { QTest::keyClick(WinWidget(edit), Qt::Key_Return); }
  // A toolbar command of the fee list.
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm6Toolbar, id), 1); }
  // Runs a toolbar command that opens a modal window; `drive` runs inside it and must close it.
  void CommandModal(int id, std::function<void(Hwnd)> drive) {
    bool ran = false;
    OnModal([&](QWidget* w) {
      ran = true;
      drive(WinHandleOfWidget(w));
    });
    Command(id);
    EXPECT_TRUE(ran);
  }

  // The list's cells, row by row.
  static std::vector<std::string> Captions(Hwnd list) {
    std::vector<std::string> c;
    for (int i = 0; i < LvGetColumnCount(list); ++i) c.push_back(LvGetColumnText(list, i));
    return c;
  }
  Rows Query(const std::string& sql) { return fintest::Query(gDb, sql); }
  std::string One(const std::string& sql) {
    Rows r = Query(sql);
    return r.empty() || r[0].empty() ? "<none>" : r[0][0];
  }

  QMdiArea* area_ = nullptr;
};

using fintest::OtherProgram;

// The twelve months of a billing row, all `v`.
inline std::vector<std::string> Twelve(const std::string& v) { return std::vector<std::string>(12, v); }

}  // namespace feetest
