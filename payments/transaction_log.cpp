#include "payments/transaction_log.h"

#include <QDate>
#include <QLocale>
#include <fstream>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/numbers_words.h"
#include "common/session.h"
#include "framework/controls.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "payments/payment_save.h"
#include "payments/payment_window.h"
#include "payments/receipt_layouts.h"
#include "platform/seams.h"

namespace {

std::string SafeFilePart(const std::string& s) { return StrReplaceAnyChar(s, "/\\", "_"); }

}  // namespace

std::string TxLogRollAmount(long long amount) { return RcptRollAmount(amount); }

std::string TxLogSheetAmount(long long amount) { return RcptSheetAmount(amount); }

std::string TxLogItemText(int layout, const TxLogItem& item, int position, const std::string& monthName,
                          const std::string& tapel) {
  const std::string& f = item.name;
  const long long len = Utf8Length(f);
  switch (layout) {
    case 1: {
      const std::string n = RcptItemNumber(item.number);
      const std::string amount = "Rp." + RcptRollAmount(item.amount);
      if (len <= 21) return n + " " + Utf8PadRight(f, 21) + amount;
      if (len <= 42)
        return n + " " + Utf8Left(f, 21) + "|" + RcptBlanks(4) + Utf8PadRight(Utf8Mid(f, 21), 21) + amount;
      return n + " " + Utf8Left(f, 21) + "|" + RcptBlanks(4) + Utf8Mid(f, 21, 21) + "|" + RcptBlanks(4) +
             Utf8PadRight(Utf8Mid(f, 42), 21) + amount;
    }
    case 2: return RcptHalfSheetItemLine({item.number, "", item.name, item.amount});
    case 3: return RcptKwitansiItemLine({item.number, "", item.name, item.amount}, position, monthName, tapel);
    default: return std::string();
  }
}

std::string TxLogLine(const TxLogRecord& r) {
  std::string items;
  if (r.layout >= 1 && r.layout <= 3) {
    int position = 0;
    for (const TxLogItem& it : r.items) items += TxLogItemText(r.layout, it, ++position, r.monthName, r.tapel) + ";";
  }
  const std::vector<std::string> header = {
      std::to_string(r.layout),
      r.name,
      r.kelas,
      StrReplace(r.today, "-", ""),
      "Rp." + RcptRollAmount(r.total),
      "Rp." + RcptRollAmount(r.discount),
      "Rp." + RcptRollAmount(r.net),
      "Rp." + RcptRollAmount(r.paid),
      "Rp" + RcptRollAmount(r.savingsUsed),
      "Rp." + RcptRollAmount(r.change),
      r.printDate + " By : " + r.operatorName,
      std::to_string(r.printerKind),
      r.studentId,
      "# " + r.operatorName + " / " + r.clock,
      r.paidText,
  };
  std::string line = items + "<>";
  for (std::size_t i = 0; i < header.size(); ++i) line += (i ? "|" : "") + header[i];
  return line;
}

std::string TxLogPath(const std::string& programFolder, const std::string& name, const std::string& kelas,
                      const std::string& today, const std::string& clock) {
  return programFolder + "/CatatTransaksi/" + SafeFilePart(name) + "_" + SafeFilePart(kelas) + "_" +
         SafeFilePart(today) + "_" + SafeFilePart(PayTimeDigits(clock)) + ".txt";
}

bool TxLogWrite(const std::string& path, const std::string& line) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << line << "\r\n";
  out.close();
  return !out.fail();
}

TxLogRecord FORMBAYAR_TransactionLogRecord() {
  gTargetListView = gFormBayarItemList;
  TxLogRecord r;
  r.layout = CbGetCurSel(gFormBayarPrintChoiceCombo);
  r.name = CtlGetText(gFormBayarNamaEdit);
  r.kelas = CtlGetText(gFormBayarKelasEdit);
  r.studentId = CtlGetText(gFormBayarIdEdit);
  r.today = gToday;
  r.tapel = gTapel;
  const int n = LvGetItemCount(gTargetListView);
  for (int i = 0; i < n; ++i)
    r.items.push_back({LvGetItemText(gTargetListView, i, kFormBayarColNomer),
                       LvGetItemText(gTargetListView, i, kFormBayarColNama),
                       PayAmount(LvGetItemText(gTargetListView, i, kFormBayarColJumlah))});
  r.total = PayAmount(CtlGetText(gFormBayarTotalEdit));
  r.discount = PayAmount(CtlGetText(gFormBayarDiscountEdit));
  r.net = PayAmount(CtlGetText(gFormBayarNetEdit));
  r.paid = PayAmount(CtlGetText(gFormBayarPaidEdit));
  r.savingsUsed = PayAmount(CtlGetText(gFormBayarSavingsBalanceEdit)) -
                  PayAmount(CtlGetText(gFormBayarSavingsLeftEdit));
  r.change = PayAmount(CtlGetText(gFormBayarChangeEdit));
  r.paidText = CtlGetText(gFormBayarPaidEdit);
  const QDate today = platform::Today();
  r.printDate = today.toString("dd-MM-yyyy").toStdString();
  r.monthName = QLocale().monthName(today.month(), QLocale::LongFormat).toStdString();
  r.operatorName = SbGetText(gStatusBar, 1);
  r.clock = SbGetText(gStatusBar, 5);
  r.printerKind = gPrinterKind;
  return r;
}

void FORMBAYAR_WriteTransactionLog() {
  const TxLogRecord r = FORMBAYAR_TransactionLogRecord();
  TxLogWrite(TxLogPath(platform::ProgramFolderPath(), r.name, r.kelas, r.today, r.clock), TxLogLine(r));
}
