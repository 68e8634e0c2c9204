// The payment window's print command: the receipt in the layout chosen in "Pilihan Cetak" (or the payment book, or
// nothing), then the text archive of the receipt under "arsip/" of the program folder ("Arsip" ticked) and the short
// messaging text on the clipboard ("Copy2WA" ticked). Only a saved payment prints.
//
//   case print button clicked:  FORMBAYAR_PrintPayment(0, hwnd, control, id);   // reads the window, returns 0
//
// The work itself runs on a PaymentReceipt (payments/receipt_layouts.h), so it reads and tests on its own:
//   PaymentReceipt r = PaymentReceiptFromWindow();
//   PrintPaymentReceipt(r);
#pragma once
#include <string>
#include <vector>

#include "framework/win.h"
#include "payments/receipt_layouts.h"

// ----- the print command -------------------------------------------------------------------------------------------
// Does nothing at all unless r.saved. Otherwise: layout 0-3 prints that receipt on the default printer, 4 the payment
// book on a text printer (payments/payment_book.h), 5 or none prints nothing; then the archive when r.archive, then
// the messaging text on the clipboard when r.copyToChat. The three steps are independent of one another. Returns 0.
int PrintPaymentReceipt(const PaymentReceipt& r);

// The handler of the payment window's printer button: PrintPaymentReceipt(PaymentReceiptFromWindow()). Returns 0.
LResult FORMBAYAR_PrintPayment(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);

// What the payment window shows now, with the shared globals (school, receipt settings, gToday, gTapel, gLastKey,
// gPaymentSaved, the status bar's operator and clock, today's date from the clock). Windows that are gone read as
// empty texts, unticked boxes and no choice.
PaymentReceipt PaymentReceiptFromWindow();

// The single layouts of the window, as the print command runs them (each reads the window first).
void FORMBAYAR_PrintSlip79();
void FORMBAYAR_PrintSlip76();
void FORMBAYAR_PrintHalfSheet();
void FORMBAYAR_PrintKwitansi();
void FORMBAYAR_ArchiveReceipt();
// The payment book of what the window shows (PrintPaymentBook).
void FORMBAYAR_PrintToBook();

// ----- the receipt archive -------------------------------------------------------------------------------------------
// program folder + "/arsip/pembayaran_" + name + "_" + class + "_" + today + ".txt", blanks of the name and class as
// "_"; "/" and "\" in the name, class or date become "_" too, so the file always lands in "arsip".
std::string ReceiptArchivePath(const PaymentReceipt& r);
// The 7.6 cm roll receipt down to its total line: header, student, items, dashes, total.
std::vector<std::string> ReceiptArchiveLines(const PaymentReceipt& r);
// Writes the lines, each ended by CR LF, creating "arsip" when it is missing (an older file of the same name is
// replaced). False when the file could not be written; nothing is reported.
bool WriteReceiptArchive(const PaymentReceipt& r);

// ----- the messaging text --------------------------------------------------------------------------------------------
// "```" + lines of at most 24 characters separated by a carriage return + "```".
std::string ReceiptChatText(const PaymentReceipt& r);
