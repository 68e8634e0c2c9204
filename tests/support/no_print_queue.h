// A print system that knows no queue: the system's text-printer back end, with the print system's tools answering
// that the chosen printer is no queue, so every text-printer job is kept in a file under "cetak/". The real command
// runner comes back when the object goes; the test fixture drops the back end when the test ends.
#pragma once
#include <string>
#include <vector>

#include "platform/text_printer.h"

namespace fintest {

class NoPrintQueue {
 public:
  NoPrintQueue() {
    platform::SetTextPrinterBackendForTests(platform::MakeSystemTextPrinterBackend());
    platform::SetTextPrinterCommandRunnerForTests(
        [](const std::string& program, const std::vector<std::string>&, const std::string&) {
          return platform::CommandResult{true, program == "lpstat" ? 1 : 0};
        });
  }
  ~NoPrintQueue() { platform::SetTextPrinterCommandRunnerForTests(nullptr); }
  NoPrintQueue(const NoPrintQueue&) = delete;
  NoPrintQueue& operator=(const NoPrintQueue&) = delete;
};

}  // namespace fintest
