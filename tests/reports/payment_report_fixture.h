// What the payment report tests share: a fresh database with two classes of the working year (and a dropped-out,
// a graduated and last year's class), monthly and yearly fees with their billing rows, receipts with discounts and
// savings use, a revised payment, payments of a student missing from siswa, savings and journal rows; an MDI area
// standing for the main window's client; the payment report window opened in it; the dialog driven from its first
// toolbar button; the list read back as text.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/payment_save.h"
#include "reports/payment_report_dialog.h"
#include "reports/payment_report_window.h"
#include "reports/payment_reports.h"
#include "reports/report_finishing.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Choose;
using fintest::Click;
using fintest::ComboItems;
using fintest::ListRows;

namespace payreptest {

using Rows = std::vector<std::vector<std::string>>;

class PaymentReportTest : public fintest::SeamsTest {
 protected:
  PaymentReportTest() {
    gDb = fintest::CreateDatabase(WorkFile("keuangan.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-03";
    gReportMonth = 9;
    AppInitMonthNames();
    gFormMode.clear();
    gSqlResult.clear();
    gLastKey.clear();
    gTargetListView = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    area_ = new QMdiArea;
    area_->resize(1300, 850);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
  }
  ~PaymentReportTest() override {
    if (IsWindow(gFormLapBayarWindow)) WinDestroyWindow(gFormLapBayarWindow);
    for (Hwnd w : windows_)
      if (IsWindow(w)) WinDestroyWindow(w);
    delete area_;
    gMdiClient = 0;
    gTargetListView = 0;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  void Seed() {
    fintest::Exec(
        gDb,
        "INSERT INTO siswa (Id, Nama) VALUES ('S01','Ani'),('S02','Budi'),('S03','Citra'),('S04','Dedi'),"
        "('S05','Eka'),('S06','Fajar'),('S07','Gita'),('S08','Hadi');"
        "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES"
        " ('20242025S01','S01','VII A','2024/2025'),('20242025S02','S02','VII A','2024/2025'),"
        " ('20242025S03','S03','VII A','2024/2025'),('20242025S06','S06','VII A','2024/2025'),"
        " ('20242025S07','S07','VII A','2024/2025'),('20242025S04','S04','IX B','2024/2025'),"
        " ('20242025S05','S05','DO','2024/2025'),('20242025S08','S08','Lulus 2024','2024/2025'),"
        " ('20232024S01','S01','VI A','2023/2024');"
        // Fees: monthly and yearly of both classes; last year's fee is never read.
        "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
        " ('VII-SPP','SPP VII','VII A',100000,'Perbulan','2024/2025'),"
        " ('VII-BUKU','Buku VII','VII A',300000,'Pertahun','2024/2025'),"
        " ('IX-SPP','SPP IX','IX B',150000,'Perbulan','2024/2025'),"
        " ('IX-BUKU','Buku IX','IX B',350000,'Pertahun','2024/2025'),"
        " ('VI-SPP','SPP VI','VI A',90000,'Perbulan','2023/2024');");
    // Billing rows: every month of the monthly fees; S07 has none.
    for (const char* s : {"S01", "S02", "S03", "S06"}) Bill("VII-SPP", s, 100000);
    Bill("IX-SPP", "S04", 150000);
    fintest::Exec(gDb,
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli) VALUES"
                  " ('VII-BUKU','S01',300000,300000);");
    fintest::Exec(
        gDb,
        "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref) VALUES"
        // A receipt of two fees with a discount and savings used.
        " ('2024202520240715080000-1','2024-07-15','Buku VII','VII-BUKU','S01',300000,0,'ani','p','-','412'),"
        " ('2024202520240715080000-2','2024-07-15','SPP VII','VII-SPP','S01',100000,0,'ani','p','-','411'),"
        " ('2024202520240715080000-3','2024-07-15','Potongan Pembayaran','Disc','S01',-50000,0,'ani','p','-',"
        "'disc-pembayaran'),"
        " ('2024202520240715080000-4','2024-07-15','02-Penarikan utk pembayaran','Tabungan','S01',0,80000,'ani','t',"
        "'-',NULL),"
        " ('2024202520240805090000-1','2024-08-05','SPP VII','VII-SPP','S02',100000,0,'ani','p','-','411'),"
        " ('2024202520240820090000-1','2024-08-20','SPP VII','VII-SPP','S07',30000,0,'ani','p','-','411'),"
        " ('2024202520240901080000-1','2024-09-01','SPP VII','VII-SPP','S01',150000,0,'ani','p','-','411'),"
        // A payment revised from 200000 to 250000.
        " ('2024202520240902080000-1','2024-09-02','SPP VII','VII-SPP','S02',250000,0,'ani','p','rev','411'),"
        // A payment cancelled by its discount.
        " ('2024202520240902083000-1','2024-09-02','SPP VII','VII-SPP','S06',20000,0,'ani','p','-','411'),"
        " ('2024202520240902083000-2','2024-09-02','Potongan Pembayaran','Disc','S06',-20000,0,'ani','p','-',"
        "'disc-pembayaran'),"
        " ('2024202520240902090000-1','2024-09-02','SPP IX','IX-SPP','S04',150000,0,'budi','p','-','411'),"
        " ('2024202520240902090000-2','2024-09-02','Potongan Pembayaran','Disc','S04',-10000,0,'budi','p','-',"
        "'disc-pembayaran'),"
        // A payment of a student missing from siswa.
        " ('2024202520240902100000-1','2024-09-02','SPP VII','VII-SPP','S99',75000,0,'budi','p','-','411'),"
        " ('2024202520240903080000-1','2024-09-03','SPP IX','IX-SPP','S04',150000,0,'budi','p','-','411'),"
        // A savings deposit and a journal row: dates visited, nothing listed.
        " ('S0320240903090000','2024-09-03','01-Setoran Tunai','Tabungan','S03',50000,0,'budi','t','-','1-1'),"
        " ('EXP20240910080000','2024-09-10','Listrik','-','-',0,250000,'budi','k','-','511'),"
        " ('2024202520241001080000-1','2024-10-01','SPP VII','VII-SPP','S02',100000,0,'ani','p','-','411'),"
        " ('2024202520241001080000-2','2024-10-01','Potongan Pembayaran','Disc','S02',-5000,0,'ani','p','-',"
        "'disc-pembayaran');");
  }
  void Bill(const std::string& fee, const std::string& student, long long monthly) {
    const std::string m = std::to_string(monthly);
    fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september,"
                       " oktober, nopember, desember, januari, februari, maret, april, mei, juni) VALUES ('" +
                           fee + "','" + student + "'," + std::to_string(12 * monthly) + "," + m + "," + m + "," +
                           m + "," + m + "," + m + "," + m + "," + m + "," + m + "," + m + "," + m + "," + m + "," +
                           m + ")");
  }

  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORM10_Show(gMdiClient, 1, 0));
    windows_.push_back(w);
    return w;
  }
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm10Toolbar, id), 1) << id; }

  // Opens the dialog with the window's first toolbar button; `drive` runs inside its loop. A dialog that `drive`
  // leaves open is closed afterwards, so that a failed expectation never hangs the test.
  void WithDialog(const std::function<void()>& drive) {
    bool ran = false;
    OnModal([&](QWidget*) {
      ran = true;
      drive();
      if (IsWindow(gFormLapBayarWindow)) FrmClose(gFormLapBayarWindow, 0);
    });
    Command(gForm10ReportId);
    EXPECT_TRUE(ran);
  }
  // One report built as the operator builds it: the dialog opened, `prepare` run (class, dates, fee), `button`
  // clicked. True when the builder closed the dialog.
  bool Build(Hwnd* button, const std::function<void()>& prepare = {}) {
    bool closed = false;
    WithDialog([&] {
      if (prepare) prepare();
      Click(*button);
      closed = !IsWindow(gFormLapBayarWindow);
    });
    return closed;
  }

  static std::vector<std::string> Captions(Hwnd list) {
    std::vector<std::string> c;
    for (int i = 0; i < LvGetColumnCount(list); ++i) c.push_back(LvGetColumnText(list, i));
    return c;
  }
  // The list as the expected files hold it: the captions, the alignment letters (l, r, c) and then each row, cells
  // joined by "|".
  static std::string Dump(Hwnd list) {
    std::string out;
    const int columns = LvGetColumnCount(list);
    for (int c = 0; c < columns; ++c) out += (c ? "|" : "") + LvGetColumnText(list, c);
    out += "\n";
    for (int c = 0; c < columns; ++c) {
      const int a = LvGetColumnAlign(list, c);
      out += (c ? "|" : "") + std::string(a == 1 ? "r" : a == 2 ? "c" : "l");
    }
    out += "\n";
    for (const auto& row : ListRows(list)) {
      for (std::size_t c = 0; c < row.size(); ++c) out += (c ? "|" : "") + row[c];
      out += "\n";
    }
    return out;
  }
  static std::string Expected(const std::string& name) {
    return fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/reports/expected/" + name);
  }
  std::string One(const std::string& sql) {
    const Rows r = fintest::Query(gDb, sql);
    return r.empty() || r[0].empty() ? "<none>" : r[0][0];
  }

  QMdiArea* area_ = nullptr;
  std::vector<Hwnd> windows_;
};

}  // namespace payreptest
