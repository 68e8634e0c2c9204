#include "common/text_print_notice.h"

#include <string>

#include "framework/system_wrappers.h"
#include "framework/win.h"
#include "platform/text_printer.h"

bool FinTellTextKeptInFile(const platform::TextPrinter& job) {
  const std::string& file = job.KeptIn();
  if (file.empty()) return false;
  MsgBox("Tidak ada yang tercetak ke printer. Teks cetakan disimpan di " + file + "..", "Info",
         MB_OK | MB_ICONINFORMATION);
  return true;
}
