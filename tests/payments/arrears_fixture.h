// What the arrears window and chooser tests share: a database with a student's fees, billing rows and payments in
// two school years, a stand-in for the main window's status bar (operator "kasir"), a stand-in for the payment
// window (its id, name and class edits, its item list and totals, on the very globals the payment window uses),
// and the operator's hands.
//
// The student '12' (ANI RAHMA, class VII A in 2024/2025, VI A in 2023/2024) on the fixed day 2024-09-02, postpaid:
//   BR-VIIA20240001 SPP   monthly 150000, paid 150000            owes July to September less paid = 300000
//   BR-VIIA20240002 Buku  yearly 1000000, paid 300000 "Angsuran"  owes 700000
//   BR-VIIA20240003 Les   monthly 50000, paid 150000             owes 0
//   BR-VIIA20240004 Komite yearly, no billing row for '12'        not listed
//   BR-VIIB20240001 SPP of another class                         not listed
//   BR-VIA20230001  SPP of 2023/2024, monthly 100000, paid 1100000   owes 100000 in that year
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/arrears_window.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"
#include "payments/payment_globals.h"
#include "payments/payment_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Choose;
using fintest::Click;
using fintest::ComboItems;

namespace arrearstest {

using Rows = std::vector<std::vector<std::string>>;

// ----- a stand-in payment window: the controls the arrears window reads and writes ------------------------------------
inline Hwnd gStandInWindow = 0;
inline LResult StandInWndProc(Hwnd, unsigned, WParam, LParam);
inline LResult StandInSub(Hwnd h, unsigned m, WParam w, LParam l) { return FrmControlMessage(h, m, w, l); }
inline void StandInControls(Hwnd form) {
  auto edit = [form](int y, int id) {
    return FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, y, 160, 22, id,
                         StandInSub, "Arial,9,0");
  };
  gFormBayarIdEdit = edit(10, 1000);
  gFormBayarNamaEdit = edit(36, 1001);
  gFormBayarKelasEdit = edit(62, 1002);
  gFormBayarWordsLabel = FrmAddControl(form, "Static", "0", WS_CHILD | WS_VISIBLE, 0, 180, 10, 300, 22, 1003,
                                       StandInSub, "Arial,9,0");
  gFormBayarAmountDisplay = edit(88, 1004);
  gFormBayarTotalEdit = edit(114, 1005);
  gFormBayarDiscountEdit = edit(140, 1006);
  gFormBayarNetEdit = edit(166, 1007);
  gFormBayarPaidEdit = edit(192, 1008);
  gFormBayarChangeEdit = edit(218, 1009);
  gFormBayarItemList = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | LVS_REPORT, WS_EX_CLIENTEDGE,
                                     180, 40, 400, 200, 1010, StandInSub, "Arial,9,0");
  int c = 0;
  for (const char* caption : {"Nomer", "Kode", "Akun Pembayaran", "Jumlah", "Ref", "Type"})
    LvInsertColumn(gFormBayarItemList, c++, caption, LVCFMT_LEFT, 80);
}
inline FrmForm gStandIn = {.name = "TESTBAYAR",
                           .wndProc = StandInWndProc,
                           .window = &gStandInWindow,
                           .createControls = StandInControls,
                           .caption = "Pembayaran Siswa",
                           .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                           .width = 600,
                           .height = 260};
inline LResult StandInWndProc(Hwnd h, unsigned m, WParam w, LParam l) {
  LResult r = 0;
  if (FrmFormMessage(gStandIn, h, m, w, l, &r)) return r;
  return WinDefWindowProc(h, m, w, l);
}

class ArrearsTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gPrepaid = 0;
    gStrukLineSpacing = 150;
    gStrukFont = "Courier New";
    gSchoolName = "SMP Harapan Bangsa";
    gSchoolAddress = "Jl. Merdeka No. 5, Bandung";
    gSchoolPhone = "022-555123";
    gSchoolEmail = "tu@harapan.sch.id";
    gMonthNames = {"",     "Juli",    "Agustus",  "September", "Oktober", "Nopember", "Desember",
                   "Januari", "Februari", "Maret", "April",     "Mei",     "Juni"};
    gRowCount = 0;
    gSqlResult.clear();
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, Status) VALUES ('12','ANI RAHMA','Aktif'),('1','BUDI','Aktif');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                  " ('2024202512','12','VII A','01','2024/2025'),('2023202412','12','VI A','01','2023/2024'),"
                  " ('202420251','1','VIII B','02','2024/2025');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('410','Penerimaan','Msk','2024/2025'),"
                  " ('411','SPP','Msk','2024/2025'),('412','Buku','Msk','2024/2025'),"
                  " ('421','Tunggakan SPP','Msk','2024/2025'),('511','Gaji','Klr','2024/2025'),"
                  " ('112','Bank BRI','Bms','2024/2025'),('401','SPP lama','Msk','2023/2024');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-VIIA20240001','SPP','VII A',150000,'Perbulan','2024/2025','411'),"
                  " ('BR-VIIA20240002','Buku','VII A',1000000,'Pertahun','2024/2025','412'),"
                  " ('BR-VIIA20240003','Les','VII A',50000,'Perbulan','2024/2025','411'),"
                  " ('BR-VIIA20240004','Komite','VII A',250000,'Pertahun','2024/2025','412'),"
                  " ('BR-VIIB20240001','SPP','VII B',150000,'Perbulan','2024/2025','411'),"
                  " ('BR-VIA20230001','SPP','VI A',100000,'Perbulan','2023/2024','401');"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september,"
                  " oktober, nopember, desember, januari, februari, maret, april, mei, juni) VALUES"
                  " ('BR-VIIA20240001','12',1800000,150000,150000,150000,150000,150000,150000,150000,150000,150000,"
                  "150000,150000,150000),"
                  " ('BR-VIIA20240002','12',1000000,0,0,0,0,0,0,0,0,0,0,0,0),"
                  " ('BR-VIIA20240003','12',600000,50000,50000,50000,50000,50000,50000,50000,50000,50000,50000,"
                  "50000,50000),"
                  " ('BR-VIIB20240001','12',1800000,150000,150000,150000,150000,150000,150000,150000,150000,150000,"
                  "150000,150000,150000),"
                  " ('BR-VIA20230001','12',1200000,100000,100000,100000,100000,100000,100000,100000,100000,100000,"
                  "100000,100000,100000),"
                  " ('BR-VIIA20240001','1',1800000,150000,150000,150000,150000,150000,150000,150000,150000,150000,"
                  "150000,150000,150000);"
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                  " VALUES ('2024202520240715080000 1','2024-07-15','SPP Bulan : Juli s/d Juli','BR-VIIA20240001',"
                  "'12',150000,0,'kasir','p','-','411'),"
                  " ('2024202520240715080000 2','2024-07-15','Les','BR-VIIA20240003','12',150000,0,'kasir','p','-',"
                  "'411'),"
                  " ('2024202520240715080000 3','2024-07-15','Potongan Pembayaran','Disc','12',-10000,0,'kasir','p',"
                  "'-','disc-pembayaran'),"
                  " ('2024202520240801090000 1','2024-08-01','Angsuran Buku dari : 1 s/d 3','BR-VIIA20240002','12',"
                  "300000,0,'kasir','p','-','412'),"
                  " ('2023202420240301090000 1','2024-03-01','SPP','BR-VIA20230001','12',1100000,0,'kasir','p','-',"
                  "'401');");
    statusHost_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(statusHost_), 4999);
    SbSetParts(gStatusBar, {50, 150, 250, 350, 450, 550, 650, 750, -1});
    SbSetText(gStatusBar, 1, "kasir", 0);
    SbSetText(gStatusBar, 4, "Sep 02, 2024", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
  }
  void TearDown() override {
    for (Hwnd h : {gFormRekBayar1Window, gFormRekBayar3Window, gFormTunggakanWindow, gStandInWindow,
                   gFormBayarWindow})
      if (IsWindow(h)) WinDestroyWindow(h);
    ClearStandIn();
    delete statusHost_;
    gStatusBar = 0;
    gPrepaid = 0;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // The stand-in payment window, modeless, with the student `id` typed and named.
  void OpenStandIn(const std::string& id = "12", const std::string& nama = "ANI RAHMA",
                   const std::string& kelas = "VII A") {
    FrmShowForm(gStandIn, 0, 0, 0);
    ASSERT_TRUE(IsWindow(gStandInWindow));
    CtlSetText(gFormBayarIdEdit, id);
    CtlSetText(gFormBayarNamaEdit, nama);
    CtlSetText(gFormBayarKelasEdit, kelas);
  }
  static void ClearStandIn() {
    for (Hwnd* h : {&gFormBayarIdEdit, &gFormBayarNamaEdit, &gFormBayarKelasEdit, &gFormBayarWordsLabel,
                    &gFormBayarAmountDisplay, &gFormBayarTotalEdit, &gFormBayarDiscountEdit, &gFormBayarNetEdit,
                    &gFormBayarPaidEdit, &gFormBayarChangeEdit, &gFormBayarItemList})
      if (!IsWindow(*h)) *h = 0;
  }

  // The arrears window over the stand-in, modeless, as the tests drive it.
  Hwnd OpenArrears() {
    const std::intptr_t w = FORMTUNGGAKAN_Show(gStandInWindow, 0, 0);
    EXPECT_EQ(static_cast<Hwnd>(w), gFormTunggakanWindow);
    return gFormTunggakanWindow;
  }

  // A click on a row's check box.
  static void Tick(Hwnd list, int row) {
    auto* v = dynamic_cast<QTableView*>(WinWidget(list));
    ASSERT_NE(v, nullptr);
    const QModelIndex cell = v->model()->index(row, 0);
    ASSERT_TRUE(cell.isValid());
    const bool ticked = v->model()->data(cell, Qt::CheckStateRole).toInt() == Qt::Checked;
    v->model()->setData(cell, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
  }
  // A click on a row (the selection mark moves there).
  static void Mark(Hwnd list, int row) {
    auto* v = dynamic_cast<QTableView*>(WinWidget(list));
    ASSERT_NE(v, nullptr);
    const QRect r = v->visualRect(v->model()->index(row, 1));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
  }
  // Clicks `button`, which opens a modal window; `drive` runs inside it and must close it.
  void ClickModal(Hwnd button, std::function<void(Hwnd)> drive) {
    bool ran = false;
    OnModal([&](QWidget* w) {
      ran = true;
      drive(WinHandleOfWidget(w));
    });
    Click(button);
    EXPECT_TRUE(ran);
  }

  static Rows ListRows(Hwnd list, int columns = -1) {
    Rows rows;
    const int n = columns < 0 ? LvGetColumnCount(list) : columns;
    for (int r = 0; r < LvGetItemCount(list); ++r) {
      std::vector<std::string> cells;
      for (int c = 0; c < n; ++c) cells.push_back(LvGetItemText(list, r, c));
      rows.push_back(cells);
    }
    return rows;
  }
  static std::vector<std::string> Captions(Hwnd list) {
    std::vector<std::string> c;
    for (int i = 0; i < LvGetColumnCount(list); ++i) c.push_back(LvGetColumnText(list, i));
    return c;
  }
  // The arrears list's row of a fee, -1 when not listed.
  static int RowOf(const std::string& fee) {
    for (int r = 0; r < LvGetItemCount(gFormTunggakanList); ++r)
      if (LvGetItemText(gFormTunggakanList, r, kTunggakanColId) == fee) return r;
    return -1;
  }

  QWidget* statusHost_ = nullptr;
};

}  // namespace arrearstest
