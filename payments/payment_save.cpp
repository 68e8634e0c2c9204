#include "payments/payment_save.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "payments/arrears.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"
#include "payments/payment_window.h"
#include "payments/transaction_log.h"

int gPaymentSaved = 0;

// ----- stamps and ids ------------------------------------------------------------------------------------------------
std::string PayTimeDigits(const std::string& clock) { return StrReplace(clock, ":", ""); }

std::string PayReceiptStamp(const std::string& tapel, const std::string& today, const std::string& clock) {
  return StrReplace(tapel, "/", "") + StrReplace(today, "-", "") + PayTimeDigits(clock);
}

std::string PayRowId(const std::string& stamp, int rowNumber) { return stamp + std::to_string(rowNumber); }

std::string PayStampCountSql(const std::string& stamp) {
  return "Select Count(*) From transaksi Where " + SqlLeftEquals("Id", 22, stamp);
}

// ----- money -------------------------------------------------------------------------------------------------------
long long PayNet(long long total, long long discount) { return total - discount; }

long long PaySavingsUsed(bool ticked, long long balance, long long net, long long paid) {
  if (!ticked || balance <= 0) return 0;
  const long long uncovered = net - paid;
  if (uncovered <= 0) return 0;
  return std::min(uncovered, balance);
}

long long PayChange(long long paid, long long net, long long savingsUsed) { return paid - (net - savingsUsed); }

long long PaySavingsLeft(long long balance, long long savingsUsed) { return balance - savingsUsed; }

long long PayAmount(const std::string& text) { return RoundHalfEven(Val(text)); }

// ----- rows ----------------------------------------------------------------------------------------------------------
std::string PayLeftChars(const std::string& text, std::size_t n) {
  std::size_t i = 0, chars = 0;
  while (i < text.size() && chars < n) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    i = std::min(text.size(), i + len);
    ++chars;
  }
  return text.substr(0, i);
}

std::string PayItemDescription(const PaySaveInput& in, const PayItem& item) {
  return in.paymentOption == "CASH" ? item.name : item.name + "An. " + in.studentName;
}

std::vector<PayRow> PayReceiptRows(const PaySaveInput& in) {
  std::vector<PayRow> rows;
  const int n = static_cast<int>(in.items.size());
  if (n == 0) return rows;   // a receipt without items: no discount or savings row of nothing
  const bool cash = in.paymentOption == "CASH";
  for (int i = n - 1; i >= 0; --i) {
    const PayItem& item = in.items[static_cast<std::size_t>(i)];
    PayRow r;
    r.id = PayRowId(in.stamp, i + 1);
    r.tgl = in.today;
    r.uraian = PayItemDescription(in, item);
    r.acctid = item.feeId;
    r.siswaid = in.studentId;
    r.masuk = item.amount;
    r.keluar = 0;
    r.petugas = in.operatorName;
    r.sts = "p";
    r.jenjang = "-";
    r.ref = cash ? PayLeftChars(item.ledgerCode, 15) : PayLeftChars(in.paymentOption, 3);
    rows.push_back(r);
  }
  if (in.discount > 0) {
    PayRow r;
    r.id = PayRowId(in.stamp, n + 1);
    r.tgl = in.today;
    r.uraian = "Potongan Pembayaran";
    r.acctid = "Disc";
    r.siswaid = in.studentId;
    r.masuk = 0 - in.discount;
    r.keluar = 0;
    r.petugas = in.operatorName;
    r.sts = "p";
    r.jenjang = "-";
    r.ref = "disc-pembayaran";
    rows.push_back(r);
  }
  if (in.savingsUsed > 0) {
    PayRow r;
    r.id = PayRowId(in.stamp, n + 2);
    r.tgl = in.today;
    r.uraian = "02-Penarikan utk pembayaran";
    r.acctid = "Tabungan";
    r.siswaid = in.studentId;
    r.masuk = 0;
    r.keluar = in.savingsUsed;
    r.petugas = in.operatorName;
    r.sts = "t";
    r.jenjang = "-";
    r.hasRef = false;
    rows.push_back(r);
  }
  return rows;
}

std::string PayInsertSql(const PayRow& r) {
  std::string sql = r.hasRef ? "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref)"
                               " VALUES "
                             : "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang)"
                               " VALUES ";
  sql += "('" + SqlQ(r.id) + "','" + SqlQ(r.tgl) + "','" + SqlQ(r.uraian) + "','" + SqlQ(r.acctid) + "','" +
         SqlQ(r.siswaid) + "','" + std::to_string(r.masuk) + "','" + std::to_string(r.keluar) + "','" +
         SqlQ(r.petugas) + "','" + SqlQ(r.sts) + "','" + SqlQ(r.jenjang) + "'";
  if (r.hasRef) sql += ",'" + SqlQ(r.ref) + "'";
  sql += ")";
  return sql;
}

std::vector<std::string> PayInsertStatements(const std::vector<PayRow>& rows) {
  std::vector<std::string> statements;
  statements.reserve(rows.size());
  for (const PayRow& r : rows) statements.push_back(PayInsertSql(r));
  return statements;
}

bool PayWriteRows(const std::vector<PayRow>& rows) { return FinExecAll(PayInsertStatements(rows)); }

// ----- what the items take against their fees ------------------------------------------------------------------------
namespace {
constexpr LParam kMonthsMark = LParam{1} << 12;        // above the twelve month bits
constexpr LParam kInstalmentsMark = LParam{1} << 13;   // above them and the months' mark
constexpr LParam kInstalmentBits = 0x3FF;              // instalments 1 to 10
constexpr const char* kAngsuran = "Angsuran";

// "1, 2, 3": the numbers of the bits set, counted from 1.
std::string NumberList(int bits, int count) {
  std::string text;
  for (int k = 0; k < count; ++k)
    if (bits & (1 << k)) text += (text.empty() ? "" : ", ") + std::to_string(k + 1);
  return text;
}
}  // namespace

LParam PayItemData(int months) { return months == 0 ? 0 : (kMonthsMark | (months & 0xFFF)); }

LParam PayInstalmentItemData(int numbers) {
  return (numbers & kInstalmentBits) == 0 ? 0 : (kInstalmentsMark | (numbers & kInstalmentBits));
}

int PayItemMonths(LParam data) { return (data & kMonthsMark) ? static_cast<int>(data & 0xFFF) : 0; }

int PayItemInstalments(LParam data) {
  return (data & kInstalmentsMark) ? static_cast<int>(data & kInstalmentBits) : 0;
}

bool PayItemsWithinTheirFees(const PaySaveInput& in, int prepaid, std::string* refusal) {
  std::map<std::string, FinFeeStanding> fees;   // each fee read once, its paid sum growing by the items before
  // Per fee: the stored instalment payments (read when an item of numbered instalments needs them), and the items
  // before in this receipt that will be stored as such.
  std::map<std::string, std::vector<InstalmentPayment>> stored, before;
  std::string lines;
  auto add = [&lines](const std::string& line) { lines += (lines.empty() ? "" : "\r") + line; };
  for (const PayItem& item : in.items) {
    auto it = fees.find(item.feeId);
    if (it == fees.end()) {
      FinFeeStanding standing;
      if (!FinReadFeeStanding(in.studentId, item.feeId, &standing)) return false;
      it = fees.emplace(item.feeId, std::move(standing)).first;
    }
    FinFeeStanding& fee = it->second;
    if (item.months != 0) {
      // The months as the chooser would offer them now: those the paid sum covers are "Lunas".
      long long remaining = fee.paid.value_or(0);
      std::array<MonthChooserRow, 12> rows;
      FinMonthChooserWalk(fee.monthTexts, remaining, rows);
      std::string paidMonths;
      long long billed = 0;
      for (int m = 0; m < 12; ++m) {
        if (!(item.months & (1 << m))) continue;
        billed = RoundHalfEven(static_cast<double>(billed) + Val(fee.monthTexts[static_cast<std::size_t>(m)]));
        if (rows[static_cast<std::size_t>(m)].paid)
          paidMonths += (paidMonths.empty() ? "" : ", ") + FinMonthChooserMonthName(m + 1);
      }
      if (!paidMonths.empty())
        add(item.name + " : Bulan " + paidMonths + " sudah lunas..");
      else if (const std::string over = FinInstalmentOverOwedText(item.amount, billed); !over.empty())
        add(item.name + " : " + over);
    } else if (item.instalments != 0) {
      // The instalments as the chooser would list them now: those the stored instalment payments cover are paid.
      auto read = stored.find(item.feeId);
      if (read == stored.end()) {
        std::vector<InstalmentPayment> payments;
        if (!FinReadInstalmentPayments(kAngsuran, in.studentId, item.feeId, &payments)) return false;
        read = stored.emplace(item.feeId, std::move(payments)).first;
      }
      std::vector<InstalmentPayment> payments = read->second;
      const std::vector<InstalmentPayment>& earlier = before[item.feeId];
      payments.insert(payments.end(), earlier.begin(), earlier.end());
      const std::vector<InstalmentRow> rows = FinInstalmentAngsuranRows(fee.yearlyText, payments);
      int paid = 0, count = 0;
      for (int k = 0; k < 10; ++k) {
        if (!(item.instalments & (1 << k))) continue;
        ++count;
        if (static_cast<std::size_t>(k) >= rows.size() || rows[static_cast<std::size_t>(k)].date != "-")
          paid |= 1 << k;
      }
      const long long billed = count * FinInstalmentAmount(fee.yearlyText);
      if (paid != 0)
        add(item.name + " : Angsuran " + NumberList(paid, 10) + " sudah lunas..");
      else if (const std::string over =
                   FinInstalmentOverOwedText(item.amount, std::min(billed, FinFeeStandingOwed(fee, prepaid)));
               !over.empty())
        add(item.name + " : " + over);
    } else if (const std::string over = FinInstalmentOverOwedText(item.amount, FinFeeStandingOwed(fee, prepaid));
               !over.empty()) {
      add(item.name + " : " + over);
    }
    fee.paid = fee.paid.value_or(0) + item.amount;   // the next item of the fee comes after this one
    if (FinInstalmentDescriptionHolds(PayItemDescription(in, item), kAngsuran))
      before[item.feeId].push_back({in.today, std::to_string(item.amount)});
  }
  *refusal = lines;
  return true;
}

std::string PayBeyondTheFeesText(const std::string& lines) {
  return "Pembayaran tidak disimpan, sisa tagihan sudah berubah:\r" + lines;
}

void PayRefuseTakenStamp() {
  MsgBox("Nomor transaksi sudah dipakai, silahkan simpan ulang..", "Pembayaran..", MB_OK | MB_ICONINFORMATION);
}

// ----- the save command ------------------------------------------------------------------------------------------
namespace {

// The clock of the status bar; the computer's clock when the bar shows no time.
std::string ClockText() {
  std::string clock = SbGetText(gStatusBar, 5);
  if (PayTimeDigits(clock).size() != 6) clock = FmtTimeNow("HH:mm:ss");
  return clock;
}

std::vector<PayItem> ListItems() {
  std::vector<PayItem> items;
  const int n = LvGetItemCount(gFormBayarItemList);
  for (int r = 0; r < n; ++r) {
    PayItem it;
    it.feeId = LvGetItemText(gFormBayarItemList, r, kFormBayarColKode);
    it.name = LvGetItemText(gFormBayarItemList, r, kFormBayarColNama);
    it.amount = PayAmount(LvGetItemText(gFormBayarItemList, r, kFormBayarColJumlah));
    it.ledgerCode = LvGetItemText(gFormBayarItemList, r, kFormBayarColRef);
    const LParam data = LvGetItemData(gFormBayarItemList, r, 0);
    it.months = PayItemMonths(data);
    it.instalments = PayItemInstalments(data);
    items.push_back(it);
  }
  return items;
}

// A refusal that sends the operator back to the edit to correct: the box, then the edit focused, its text selected.
void RefuseAt(Hwnd edit, const std::string& message, const std::string& caption) {
  MsgBox(message, caption, MB_OK | MB_ICONINFORMATION);
  CtlSetFocus(edit);
  TxtSetSel(edit, 0, -1);
}

// What the cash and the savings pay does not cover the payment: back to "Dibayar Tunai".
void RefuseShortPayment() { RefuseAt(gFormBayarPaidEdit, "Nilai pembayaran tidak mencukupi..", "Pembayaran.."); }

}  // namespace

LResult FORMBAYAR_SavePayment(int, Hwnd, Hwnd, int) {
  if (!IsWindow(gFormBayarWindow) || !WinIsWindowEnabled(gFormBayarSaveButton)) return 0;

  const std::string clock = ClockText();
  const std::string stamp = PayReceiptStamp(gTapel, gToday, clock);

  PaySaveInput in;
  in.stamp = stamp;
  in.today = gToday;
  in.studentId = CtlGetText(gFormBayarIdEdit);
  in.studentName = CtlGetText(gFormBayarNamaEdit);
  in.paymentOption = CtlGetText(gFormBayarPaymentCombo);
  in.operatorName = SbGetText(gStatusBar, 1);
  in.items = ListItems();
  in.discount = PayAmount(CtlGetText(gFormBayarDiscountEdit));

  long long total = 0;
  for (const PayItem& it : in.items) total += it.amount;
  // Nothing to pay, or a discount larger than what is paid for: no receipt can be made of it.
  if (in.items.empty()) {
    MsgBox("Belum ada item pembayaran, tidak ada yang disimpan..", "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (in.discount > total) {
    RefuseAt(gFormBayarDiscountEdit, "Potongan melebihi total pembayaran..", "Info");
    return 0;
  }
  const long long net = PayNet(total, in.discount);
  const long long paid = PayAmount(CtlGetText(gFormBayarPaidEdit));
  const bool ticked = ChkIsChecked(gFormBayarSavingsCheck) != 0;

  // The savings are taken from what is stored, whatever the window shows.
  long long balance = 0;
  if (ticked && !FORMBAYAR_StoredSavingsBalance(in.studentId, &balance)) return 0;
  in.savingsUsed = PaySavingsUsed(ticked, balance, net, paid);
  if (PayChange(paid, net, in.savingsUsed) < 0) {
    RefuseShortPayment();
    return 0;
  }

  // What the save depends on is counted again under the write lock, since another desk may have written since the
  // window read it: one stamp names one receipt (a save in the same second as a stored receipt waits for the next
  // second); the savings taken must still be there (the balance is read again: savings that no longer cover them leave
  // the payment short, and the window shows the balance the file held); and no item may pay its fee beyond what it
  // still owes, or a month or an instalment that is paid by now.
  // What refuses the save, set before each check (read only when the save is refused).
  enum class Refused { kNone, kStamp, kShort, kBeyondFees } refused = Refused::kNone;
  std::string beyond;
  const FinInsertResult result = FinWriteChecked([&](std::vector<std::string>& statements) {
    refused = Refused::kStamp;
    if (const FinCheck free = FinCheckNone(PayStampCountSql(stamp)); free != FinCheck::kWrite) return free;
    refused = Refused::kShort;
    if (ticked) {
      if (!FORMBAYAR_StoredSavingsBalance(in.studentId, &balance)) return FinCheck::kFailed;   // reported
      if (PaySavingsUsed(ticked, balance, net, paid) < in.savingsUsed) return FinCheck::kRefuse;   // short now
    }
    if (!PayItemsWithinTheirFees(in, gPrepaid, &beyond)) return FinCheck::kFailed;   // reported
    if (!beyond.empty()) {
      refused = Refused::kBeyondFees;
      return FinCheck::kRefuse;
    }
    statements = PayInsertStatements(PayReceiptRows(in));
    return FinCheck::kWrite;
  });
  switch (result) {
    case FinInsertResult::Written: break;
    case FinInsertResult::Taken:
      if (refused == Refused::kStamp) PayRefuseTakenStamp();
      else if (refused == Refused::kShort) RefuseShortPayment();
      else MsgBox(PayBeyondTheFeesText(beyond), "Info", MB_OK | MB_ICONINFORMATION);
      return 0;
    case FinInsertResult::Failed: return 0;   // reported
  }

  gLastKey = PayTimeDigits(clock);
  gPaymentSaved = 1;
  // The window shows what was stored: the totals of the items and the stored balance, and the change from them.
  CtlSetText(gFormBayarTotalEdit, std::to_string(total));
  CtlSetText(gFormBayarNetEdit, std::to_string(net));
  if (ticked) CtlSetText(gFormBayarSavingsBalanceEdit, std::to_string(balance));
  FORMBAYAR_OnPaidChange();
  CtlDisable(gFormBayarSaveButton);
  CtlEnable(gFormBayarPrintButton);
  for (Hwnd h : {gFormBayarDiscountEdit, gFormBayarPaidEdit, gFormBayarSavingsCheck}) CtlDisable(h);
  FORMBAYAR_WriteTransactionLog();
  MsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", MB_OK | MB_ICONINFORMATION);
  return 0;
}
