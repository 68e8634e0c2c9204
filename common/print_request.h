// The print-request poller "Form Cetak": another program drops a one-line request into cetak/ctk.txt under the program
// folder and the poller prints it: a cash receipt ("BK"), a savings receipt ("TB") or a payment receipt (anything else).
#pragma once
#include <string>
#include <vector>

#include "framework/win.h"

// What the receipts print besides the request: the school and the status-bar stamps.
struct PrintRequestContext {
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;
  std::string today;          // gToday, "yyyy-mm-dd"
  std::string printDate;      // the current date "dd-mm-yyyy"
  std::string statusDate;     // status-bar part 4
  std::string statusTime;     // status-bar part 5, "HH:mm:ss"
  std::string operatorName;   // status-bar part 1
};

// Field n (1-based) of `source` split at `delimiter`; the empty text when the field is missing.
std::string FinRequestField(const std::string& source, const std::string& delimiter, int n);

// The value right-aligned in ten characters, filled in front with "*" (unchanged from ten characters on).
std::string FinStarPad10(const std::string& value);

// The payment receipt of a request line whose first field is not "BK" or "TB": line n (1-based) of the result is
// drawn at y = n x 300 page units. Empty texts keep their line's place. Only the items the request holds are
// printed, however many its count field claims.
std::vector<std::string> FinRequestPaymentLines(const std::string& requestLine, const PrintRequestContext& ctx);

// The savings receipt of a "TB" request, as text-printer lines.
std::vector<std::string> FinRequestSavingsLines(const std::string& requestLine, const PrintRequestContext& ctx);

// The last line of the request file cetak/ctk.txt under the program folder (a UTF-8 byte-order mark at its start
// ignored), processed and the file deleted. A file that cannot be deleted is printed once: the operator is told so
// once ("Info"), and that file is not printed again until it is written anew. Returns false when there was no new
// request.
bool FORM3_ProcessPrintRequest();

// The poller window "Form Cetak" (476 x 127, label and "Tutup"), polling every 500 ms while it exists.
int FORM3_Show(Hwnd parent, int modal, int userData);
extern Hwnd gForm3Window;
