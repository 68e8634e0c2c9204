#include "payments/receipt_print.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/session.h"
#include "common/settings.h"
#include "framework/controls.h"
#include "framework/numbers.h"
#include "framework/system_wrappers.h"
#include "payments/payment_book.h"
#include "payments/payment_globals.h"
#include "payments/payment_window.h"
#include "platform/seams.h"

namespace {

// A part of the archive file name: blanks become "_", and so do the path separators, so that no name leaves "arsip".
std::string FileNamePart(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == ' ' || c == '/' || c == '\\') out += '_';
    else if (c != '\0') out += c;
  }
  return out;
}

// An amount as the window shows it: the text's leading number, rounded half to even (0 for an empty text).
long long AmountOf(const std::string& text) { return RoundHalfEven(Val(text)); }

// The amount of the messaging text: the separated digits star-filled to 9 characters.
std::string ChatAmount(long long amount) { return RcptStarFill(RcptThousands(amount), 9); }

}  // namespace

// ----- the print command -------------------------------------------------------------------------------------------------

int PrintPaymentReceipt(const PaymentReceipt& r) {
  if (!r.saved) return 0;
  switch (r.layout) {
    case kReceiptSlip79:
    case kReceiptSlip76:
    case kReceiptHalfSheet:
    case kReceiptKwitansi: PrintReceiptPage(ReceiptLayoutPage(r, r.layout)); break;
    case kReceiptBook: PrintPaymentBook(r); break;
    default: break;   // "Tanpa Cetak", or nothing chosen
  }
  if (r.archive) WriteReceiptArchive(r);
  if (r.copyToChat) ClipSetText(ReceiptChatText(r));
  return 0;
}

LResult FORMBAYAR_PrintPayment(int, Hwnd, Hwnd, int) {
  PrintPaymentReceipt(PaymentReceiptFromWindow());
  return 0;
}

void FORMBAYAR_PrintSlip79() { PrintReceiptPage(ReceiptSlip79(PaymentReceiptFromWindow())); }
void FORMBAYAR_PrintSlip76() { PrintReceiptPage(ReceiptSlip76(PaymentReceiptFromWindow())); }
void FORMBAYAR_PrintHalfSheet() { PrintReceiptPage(ReceiptHalfSheet(PaymentReceiptFromWindow())); }
void FORMBAYAR_PrintKwitansi() { PrintReceiptPage(ReceiptKwitansi(PaymentReceiptFromWindow())); }
void FORMBAYAR_ArchiveReceipt() { WriteReceiptArchive(PaymentReceiptFromWindow()); }
void FORMBAYAR_PrintToBook() { PrintPaymentBook(PaymentReceiptFromWindow()); }

PaymentReceipt PaymentReceiptFromWindow() {
  PaymentReceipt r;
  r.studentId = CtlGetText(gFormBayarIdEdit);
  r.name = CtlGetText(gFormBayarNamaEdit);
  r.kelas = CtlGetText(gFormBayarKelasEdit);
  for (int row = 0, n = LvGetItemCount(gFormBayarItemList); row < n; ++row) {
    PaymentReceiptItem item;
    item.number = LvGetItemText(gFormBayarItemList, row, kFormBayarColNomer);
    item.code = LvGetItemText(gFormBayarItemList, row, kFormBayarColKode);
    item.name = LvGetItemText(gFormBayarItemList, row, kFormBayarColNama);
    item.amount = AmountOf(LvGetItemText(gFormBayarItemList, row, kFormBayarColJumlah));
    r.items.push_back(item);
  }
  r.total = AmountOf(CtlGetText(gFormBayarTotalEdit));
  r.discount = AmountOf(CtlGetText(gFormBayarDiscountEdit));
  r.net = AmountOf(CtlGetText(gFormBayarNetEdit));
  r.paid = AmountOf(CtlGetText(gFormBayarPaidEdit));
  r.change = AmountOf(CtlGetText(gFormBayarChangeEdit));
  r.savingsTicked = ChkIsChecked(gFormBayarSavingsCheck) == 1;
  r.savingsBalance = AmountOf(CtlGetText(gFormBayarSavingsBalanceEdit));
  r.savingsLeft = AmountOf(CtlGetText(gFormBayarSavingsLeftEdit));

  r.saved = gPaymentSaved > 0;
  r.layout = CbGetCurSel(gFormBayarPrintChoiceCombo);
  r.archive = ChkIsChecked(gFormBayarArchiveCheck) == 1;
  r.copyToChat = ChkIsChecked(gFormBayarCopy2WACheck) == 1;

  r.today = gToday;
  r.tapel = gTapel;
  r.lastKey = gLastKey;
  r.operatorName = SbGetText(gStatusBar, 1);
  r.clock = SbGetText(gStatusBar, 5);
  r.printDate = FmtDateNow("dd-MM-yyyy");
  r.monthName = FmtDateNow("MMMM");
  r.schoolName = gSchoolName;
  r.schoolAddress = gSchoolAddress;
  r.schoolPhone = gSchoolPhone;
  r.schoolEmail = gSchoolEmail;
  r.topMargin = gStrukTopMargin;
  r.lineSpacing = gStrukLineSpacing;
  r.font = gStrukFont;
  r.programFolder = platform::ProgramFolderPath();
  r.logoPath = r.programFolder + "/image/Logo.bmp";
  return r;
}

// ----- the receipt archive -------------------------------------------------------------------------------------------------

std::string ReceiptArchivePath(const PaymentReceipt& r) {
  return r.programFolder + "/arsip/pembayaran_" + FileNamePart(r.name) + "_" + FileNamePart(r.kelas) + "_" +
         FileNamePart(r.today) + ".txt";
}

std::vector<std::string> ReceiptArchiveLines(const PaymentReceipt& r) {
  constexpr int kWidth = 38;
  std::vector<std::string> lines = {
      RcptRollCentred(r.schoolName, kWidth),
      RcptRollCentred(r.schoolAddress, kWidth),
      RcptRollCentred("Telp. " + r.schoolPhone, kWidth),
      RcptRepeat('-', kWidth),
      "Nama : " + r.name,
      "Kelas: " + r.kelas,
      RcptRepeat('-', kWidth),
  };
  for (const PaymentReceiptItem& item : r.items)
    for (const std::string& line : RcptSlip76ItemLines(item)) lines.push_back(line);
  lines.push_back(RcptRepeat('-', kWidth));
  lines.push_back("Total        :" + RcptBlanks(11) + "Rp." + RcptRollAmount(r.total));
  return lines;
}

bool WriteReceiptArchive(const PaymentReceipt& r) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(r.programFolder + "/arsip"), ec);
  std::ofstream out(std::filesystem::path(ReceiptArchivePath(r)), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const std::string& line : ReceiptArchiveLines(r)) out << line << "\r\n";
  out.close();
  return !out.fail();
}

// ----- the messaging text ----------------------------------------------------------------------------------------------------

std::string ReceiptChatText(const PaymentReceipt& r) {
  std::vector<std::string> lines = {
      RcptLeft(r.schoolName, 24),
      RcptLeft(r.schoolAddress, 24),
      RcptLeft("Telp. " + r.schoolPhone, 24),
      RcptRepeat('-', 8) + "Pembayaran Siswa",
      RcptLeft("Nama : " + r.name, 24),
      RcptLeft("Kelas: " + r.kelas, 24),
      RcptRepeat('-', 24),
  };
  for (const PaymentReceiptItem& item : r.items)
    lines.push_back(RcptPad(RcptLeft(item.name, 12), 12) + "Rp." + ChatAmount(item.amount));
  lines.push_back(RcptRepeat('-', 24));
  lines.push_back("Total      :Rp." + ChatAmount(r.net));
  lines.push_back("Dibayar    :Rp." + ChatAmount(r.paid));
  lines.push_back("Kembali    :Rp." + ChatAmount(r.change));
  lines.push_back("Tanggal    : " + r.printDate);
  lines.push_back("Admin      : " + RcptLeft(r.operatorName, 11));
  std::string text = "```";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\r';
    text += lines[i];
  }
  return text + "```";
}
