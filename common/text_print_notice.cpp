#include "common/text_print_notice.h"

#include <filesystem>
#include <string>

#include "framework/system_wrappers.h"
#include "framework/win.h"
#include "platform/text_printer.h"

namespace {
const char kNothingPrinted[] = "Tidak ada yang tercetak ke printer. ";
}  // namespace

bool FinTellTextKeptInFile(const platform::TextPrinter& job) {
  const std::string& file = job.KeptIn();
  if (file.empty()) return false;
  MsgBox(kNothingPrinted + std::string("Teks cetakan disimpan di ") + file + "..", "Info", MB_OK | MB_ICONINFORMATION);
  return true;
}

bool FinTellPrintKeptInFiles(const std::vector<std::string>& files) {
  std::vector<std::string> kept;
  for (const std::string& f : files)
    if (!f.empty()) kept.push_back(f);
  if (kept.empty()) return false;
  const std::string where =
      kept.size() == 1 ? "Cetakan disimpan di " + kept[0]
                       : std::to_string(kept.size()) + " cetakan disimpan di folder " +
                             std::filesystem::path(kept[0]).parent_path().string();
  MsgBox(kNothingPrinted + where + "..", "Info", MB_OK | MB_ICONINFORMATION);
  return true;
}
