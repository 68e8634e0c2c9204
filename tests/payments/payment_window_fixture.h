// What the payment window tests share: a database with students, bank accounts and savings, a stand-in for the main
// window's status bar (operator "kasir", clock 10:15:30), the payment window opened modeless, and the operator's
// hands: typing, clicking, keys, and the arrears window's hand-over of items.
#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/control_classes.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/payment_save.h"
#include "payments/payment_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using fintest::Type;

namespace paytest {

// One item as the arrears window hands it over.
struct Item {
  std::string kode, name, amount, ref, type;
};

class PaymentWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gStrukDefaultType = 2;
    gPrinterKind = 0;
    gEditMode = 1;
    gPaymentSaved = 0;
    gLastKey = "";
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, Status) VALUES ('12', 'ANI RAHMA', 'Aktif'), ('1', 'BUDI', 'Aktif'),"
                  " ('7', 'CICI', 'Aktif'), ('40', 'DEDI SAPUTRA', 'Aktif');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                  " ('2024202512', '12', 'VII A', '01', '2024/2025'), ('202420251', '1', 'VIII B', '02', '2024/2025'),"
                  " ('202320247', '7', 'VI A', '01', '2023/2024'), ('2024202540', '40', 'IX C', '03', '2024/2025');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('112', 'Bank BRI', 'Bms', '2024/2025'),"
                  " ('110', 'Bank', 'Bms', '2024/2025'), ('113', 'Bank Mandiri', 'Bms', '2024/2025'),"
                  " ('114', 'Bank Lama', 'Bms', '2023/2024'), ('411', 'SPP', 'Msk', '2024/2025');"
                  // Student 12 has 600 in savings; 40 has 1500; 1 has none.
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang,"
                  " Ref) VALUES ('1220240801080000', '2024-08-01', '01-Setoran', 'Tabungan', '12', 1000, 0, 'kasir',"
                  " '-', '-', '1-1'), ('1220240815080000', '2024-08-15', '02-Penarikan', 'Tabungan', '12', 0, 400,"
                  " 'kasir', '-', '-', '1-2'), ('4020240815080000', '2024-08-15', '01-Setoran', 'Tabungan', '40',"
                  " 1500, 0, 'kasir', 't', '-', '1-1');");
    // Every student is billed 10.000.000 on each fee the tests take (no fee row: a yearly bill), so that an item is
    // within what its fee owes unless a test bills otherwise: the save pays no fee above its bill.
    for (const char* student : {"12", "1", "7", "40"})
      for (const char* fee : {"BR-1", "BR-2", "BR-3", "BR-9", "BR-TKA20240001", "BR-TKA20240002", "BR-VIIA20240001",
                              "BR-VIIA20240002", "BR-VIIA20240003", "BR-VIIIB20240001"})
        fintest::Exec(gDb, std::string("INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('") +
                               fee + "', '" + student + "', 10000000)");
    statusHost_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(statusHost_), 4999);
    SbSetParts(gStatusBar, {50, 150, 250, 350, 450, 550, 650, 750, -1});
    SbSetText(gStatusBar, 1, "kasir", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
  }
  void TearDown() override {
    if (IsWindow(gFormBayarWindow)) WinDestroyWindow(gFormBayarWindow);
    delete statusHost_;
    gStatusBar = 0;
    gPaymentSaved = 0;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // The payment window, modeless, as the tests drive it.
  Hwnd Open() {
    const std::intptr_t w = FORMBAYAR_Show(0, 0, 0);
    EXPECT_EQ(static_cast<Hwnd>(w), gFormBayarWindow);
    return gFormBayarWindow;
  }

  static QLineEdit* Edit(Hwnd h) { return qobject_cast<QLineEdit*>(WinWidget(h)); }
  // A key pressed while the focus is in the id edit (accelerators run through the form's message pump).
  static void Key(Qt::Key key) { QTest::keyClick(WinWidget(gFormBayarIdEdit), key); }
  static void Menu(int id) { WinSendMessage(gFormBayarWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

  // Types the id and checks the student is there.
  void Load(const std::string& id) { Type(gFormBayarIdEdit, id); }

  // What the arrears window's "Sisip" does: rows appended (numbered after those already there), then the totals.
  static void Insert(const std::vector<Item>& items) {
    const Hwnd list = gFormBayarItemList;
    for (const Item& it : items) {
      const int n = LvGetItemCount(list);
      const int r = LvInsertItem(list, n, 0, std::to_string(n + 1), 0, 0);
      LvInsertItem(list, r, 1, it.kode, 0, 0);
      LvInsertItem(list, r, 2, it.name, 0, 0);
      LvInsertItem(list, r, 3, it.amount, 0, 0);
      LvInsertItem(list, r, 4, it.ref, 0, 0);
      LvInsertItem(list, r, 5, it.type, 0, 0);
    }
    const std::string total = std::to_string(FORMBAYAR_ItemsTotal());
    CtlSetText(gFormBayarWordsLabel, FORMBAYAR_Words(FORMBAYAR_ItemsTotal()));
    CtlSetText(gFormBayarAmountDisplay, total);
    CtlSetText(gFormBayarTotalEdit, total);
    CtlSetText(gFormBayarDiscountEdit, "0");
    CtlSetText(gFormBayarNetEdit, total);
    CtlSetText(gFormBayarPaidEdit, total);
    CtlSetText(gFormBayarChangeEdit, "0");
    CtlSetFocus(gFormBayarPaidEdit);
    TxtSetSel(gFormBayarPaidEdit, 0, static_cast<int>(total.size()));
  }
  static std::vector<Item> ThreeItems() {
    return {{"BR-VIIA20240001", "SPP Bulan : Juli s/d Agustus", "300000", "411", "Perbulan"},
            {"BR-VIIA20240002", "Uang Buku", "450000", "412", "Pertahun"},
            {"BR-VIIA20240003", "Seragam", "250000", "413", "Pertahun"}};
  }

  // The fields the operator reads, in one go.
  struct Shown {
    std::string total, discount, net, paid, change, display, words, balance, left;
  };
  static Shown Fields() {
    return {CtlGetText(gFormBayarTotalEdit),        CtlGetText(gFormBayarDiscountEdit),
            CtlGetText(gFormBayarNetEdit),          CtlGetText(gFormBayarPaidEdit),
            CtlGetText(gFormBayarChangeEdit),       CtlGetText(gFormBayarAmountDisplay),
            CtlGetText(gFormBayarWordsLabel),       CtlGetText(gFormBayarSavingsBalanceEdit),
            CtlGetText(gFormBayarSavingsLeftEdit)};
  }

  long long CountRows() {
    return std::stoll(fintest::Query(gDb, "select count(*) from transaksi")[0][0]);
  }
  // The rows this save wrote: every id under the stamp 2024/2025, 2024-09-02, 10:15:30.
  std::vector<std::vector<std::string>> ReceiptRows(const std::string& stamp = "2024202520240902101530") {
    return fintest::Query(gDb, "select id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref "
                               "from transaksi where substr(id,1,22)='" + stamp + "' order by rowid");
  }

  static void WritePhoto(const std::string& path) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(QString::fromStdString(path), "BMP"));
  }

  QWidget* statusHost_ = nullptr;
};

}  // namespace paytest
