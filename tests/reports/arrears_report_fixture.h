// What the arrears report tests share (on top of fintest::ReportTest): a school of two classes of the working year
// 2024/2025 (VII A and IX B) beside a dropped-out student, graduates and last year's class; monthly and yearly fees
// with their billing rows; partial payments, an overpaid fee, a revised payment, discount and savings rows that name
// no fee; the status bar's operator, date and time; the arrears report window opened in the MDI area; its dialog
// driven from the window's first toolbar button.
#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
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
#include "reports/arrears_report_dialog.h"
#include "reports/arrears_report_window.h"
#include "reports/arrears_reports.h"
#include "reports/report_fixture.h"
#include "support/operator.h"

using fintest::Choose;
using fintest::Click;
using fintest::ComboItems;
using fintest::ListRows;

namespace arrrep {

using Rows = std::vector<std::vector<std::string>>;

class ArrearsReportTest : public fintest::ReportTest {
 protected:
  ArrearsReportTest() {
    gPrepaid = 0;
    gPickClass.clear();
    gSchoolPhone = "021-555";
    gSchoolEmail = "tu@harapan.sch.id";
    gStrukFont = "Courier New";
    gStrukLineSpacing = 150;
    statusHost_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(statusHost_), 4999);
    SbSetParts(gStatusBar, {50, 150, 250, 350, 450, 550, 650, 750, -1});
    SbSetText(gStatusBar, 1, "kasir", 0);
    SbSetText(gStatusBar, 4, "Sep 02, 2024", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
  }
  ~ArrearsReportTest() override {
    if (IsWindow(gFormLapTunggakanWindow)) WinDestroyWindow(gFormLapTunggakanWindow);
    delete statusHost_;
    gStatusBar = 0;
    gPrepaid = 0;
    gPickClass.clear();
    gSchoolPhone.clear();
    gSchoolEmail.clear();
  }

  void Seed() {
    fintest::Exec(
        gDb,
        "INSERT INTO siswa (Id, Nama) VALUES ('S01','Ani'),('S02','Budi'),('S03','Citra Dewi'),('S04','Dedi'),"
        "('S05','Eka'),('S06','Fajar'),('S07','Gita'),('S08','Hadi');"
        "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES"
        " ('20242025S01','S01','VII A','2024/2025'),('20242025S02','S02','VII A','2024/2025'),"
        " ('20242025S03','S03','VII A','2024/2025'),('20242025S08','S08','VII A','2024/2025'),"
        " ('20242025S04','S04','IX B','2024/2025'),('20242025S05','S05','DO','2024/2025'),"
        // A graduate with an ordinary class row of last year, and one with graduate rows only.
        " ('20242025S06','S06','Lulus 2024','2024/2025'),('20232024S06','S06','IX A','2023/2024'),"
        " ('20242025S07','S07','Lulus 2023','2024/2025'),"
        " ('20232024S01','S01','VI A','2023/2024');"
        "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
        " ('VII-SPP','SPP VII','VII A',100000,'Perbulan','2024/2025','411'),"
        " ('VII-BUKU','Buku VII','VII A',300000,'Pertahun','2024/2025','412'),"
        " ('VII-KANTIN','Kantin VII','VII A',5000,'Perhari','2024/2025','413'),"
        " ('IX-SPP','SPP IX','IX B',150000,'Perbulan','2024/2025','411'),"
        " ('IX-BUKU','Buku IX','IX B',350000,'Pertahun','2024/2025','412'),"
        " ('VIII-SPP','SPP VIII','VIII B',100000,'Perbulan','2024/2025','411'),"
        " ('X-BUKU','Buku X','X A',200000,'Pertahun','2024/2025','412'),"
        " ('VI-SPP','SPP VI','VI A',90000,'Perbulan','2023/2024','411');");
    for (const char* s : {"S01", "S02", "S03"}) Bill("VII-SPP", s, 100000);
    Bill("IX-SPP", "S04", 150000);
    Bill("VI-SPP", "S01", 90000);
    fintest::Exec(gDb,
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli) VALUES"
                  " ('VII-BUKU','S01',300000,300000),('VII-BUKU','S02',300000,300000),"
                  " ('IX-BUKU','S04',350000,350000),('VIII-SPP','S06',100000,100000),"
                  " ('X-BUKU','S04',200000,200000);");
    fintest::Exec(
        gDb,
        "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref) VALUES"
        // A receipt of two fees with a discount and savings used: the discount and the savings row name no fee.
        " ('2024202520240715080000-1','2024-07-15','Buku VII','VII-BUKU','S01',300000,0,'ani','p','-','412'),"
        " ('2024202520240715080000-2','2024-07-15','SPP VII','VII-SPP','S01',100000,0,'ani','p','-','411'),"
        " ('2024202520240715080000-3','2024-07-15','Potongan Pembayaran','Disc','S01',-50000,0,'ani','p','-',"
        "'disc-pembayaran'),"
        " ('2024202520240715080000-4','2024-07-15','02-Penarikan utk pembayaran','Tabungan','S01',0,80000,'ani',"
        "'t','-',NULL),"
        " ('2024202520240901080000-1','2024-09-01','SPP VII','VII-SPP','S01',150000,0,'ani','p','-','411'),"
        " ('2024202520240805090000-1','2024-08-05','SPP VII','VII-SPP','S02',100000,0,'ani','p','-','411'),"
        // A payment revised from 200000 to 250000 (the revision writes the amount as text).
        " ('2024202520240902080000-1','2024-09-02','SPP VII','VII-SPP','S02','250000',0,'ani','p','rev','411'),"
        // Payments of graduates and a dropped-out student.
        " ('2024202520240820090000-1','2024-08-20','SPP VII','VII-SPP','S07',30000,0,'ani','p','-','411'),"
        " ('2024202520240820090000-2','2024-08-20','SPP VII','VII-SPP','S06',40000,0,'ani','p','-','411'),"
        " ('2024202520240820090000-3','2024-08-20','SPP VIII','VIII-SPP','S06',150000,0,'ani','p','-','411'),"
        " ('2024202520240821090000-1','2024-08-21','SPP IX','IX-SPP','S05',100000,0,'ani','p','-','411'),"
        // IX B paid up.
        " ('2024202520240902090000-1','2024-09-02','SPP IX','IX-SPP','S04',1800000,0,'budi','p','-','411'),"
        " ('2024202520240902090000-2','2024-09-02','Buku IX','IX-BUKU','S04',350000,0,'budi','p','-','412'),"
        // Last year's fee of S01: ten months paid.
        " ('2023202420231001080000-1','2023-10-01','SPP VI','VI-SPP','S01',900000,0,'ani','p','-','411'),"
        // A savings deposit and a journal row.
        " ('S0320240903090000','2024-09-03','01-Setoran Tunai','Tabungan','S03',50000,0,'budi','t','-','1-1'),"
        " ('EXP20240910080000','2024-09-10','Listrik','-','-',0,250000,'budi','k','-','511');");
  }
  void Bill(const std::string& fee, const std::string& student, long long monthly) {
    const std::string m = std::to_string(monthly);
    std::string months;
    for (int i = 0; i < 12; ++i) months += "," + m;
    fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september,"
                       " oktober, nopember, desember, januari, februari, maret, april, mei, juni) VALUES ('" +
                           fee + "','" + student + "'," + std::to_string(12 * monthly) + months + ")");
  }

  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORM11_Show(gMdiClient, 1, 0));
    Keep(w);
    return w;
  }
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm11Toolbar, id), 1) << id; }

  // Opens the dialog with the window's first toolbar button; `drive` runs inside its loop. A dialog that `drive`
  // leaves open is closed afterwards, so that a failed expectation never hangs the test.
  void WithDialog(const std::function<void()>& drive) {
    bool ran = false;
    OnModal([&](QWidget*) {
      ran = true;
      drive();
      if (IsWindow(gFormLapTunggakanWindow)) FrmClose(gFormLapTunggakanWindow, 0);
    });
    Command(gForm11ReportId);
    EXPECT_TRUE(ran);
  }
  // One report built as the operator builds it: the dialog opened, the class chosen (when given), the button clicked.
  // True when the builder closed the dialog.
  bool Build(Hwnd* button, const std::string& kelas = "") {
    bool closed = false;
    WithDialog([&] {
      if (!kelas.empty()) Choose(gFormLapTunggakanClassCombo, kelas);
      Click(*button);
      closed = !IsWindow(gFormLapTunggakanWindow);
    });
    return closed;
  }
  bool ShowData(const std::string& kelas) { return Build(&gFormLapTunggakanShowDataButton, kelas); }
  bool ClassRecap() { return Build(&gFormLapTunggakanRecapButton); }

  // The row whose column 0 or 1 is `key`; -1 when none.
  static int RowOf(Hwnd list, const std::string& key) {
    for (int r = 0; r < LvGetItemCount(list); ++r)
      if (LvGetItemText(list, r, 0) == key || LvGetItemText(list, r, 1) == key) return r;
    return -1;
  }

  QWidget* statusHost_ = nullptr;
};

}  // namespace arrrep
