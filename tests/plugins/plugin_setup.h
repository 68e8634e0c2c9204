// What a test sets up around the export plug-ins, the way they meet it in the field: a plug-in copied into a program
// folder of the test's own (the plug-ins take the program folder from where they were loaded), a desktop opener of
// its own first in PATH, and today's date as the page's period shows it.
#pragma once
#include <stdlib.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "support/fixtures.h"

namespace plugintest {

// A desktop opener "xdg-open" in a temporary folder put first in PATH for the object's lifetime: it appends every
// path it is asked to open to its log, one line each, and returns at once.
class FakeDesktopOpener {
 public:
  FakeDesktopOpener() {
    const std::string script = dir_.file("xdg-open");
    fintest::WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + dir_.file("opened.log") + "'\n");
    chmod(script.c_str(), 0755);
    const char* path = getenv("PATH");
    hadPath_ = path != nullptr;
    if (path) path_ = path;
    setenv("PATH", (dir_.str() + (hadPath_ ? ":" + path_ : std::string())).c_str(), 1);
  }
  ~FakeDesktopOpener() {
    if (hadPath_) setenv("PATH", path_.c_str(), 1);
    else unsetenv("PATH");
  }
  FakeDesktopOpener(const FakeDesktopOpener&) = delete;
  FakeDesktopOpener& operator=(const FakeDesktopOpener&) = delete;

  // What it was asked to open, one line each ("" when nothing).
  std::string log() const { return fintest::ReadFile(dir_.file("opened.log")); }

 private:
  fintest::TempDir dir_;
  bool hadPath_ = false;
  std::string path_;
};

// Copies the built file `built` (relative to the build folder, "libtablepage.so") into `folder` as `name`.
inline void InstallPlugin(const std::string& built, const std::string& folder, const std::string& name) {
  std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/" + built, folder + "/" + name,
                             std::filesystem::copy_options::overwrite_existing);
}

// Today's local date as the page's period shows it: "mm-dd-yyyy".
inline std::string PageToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%m-%d-%Y", &local);
  return text;
}

// The page with the date of its period line replaced by `date`, once that date was checked to be today's (the one
// read before the export, `before`, or a later one when midnight passed meanwhile). Lets a page be compared with an
// expected file that holds a fixed date.
inline std::string WithPeriod(const std::string& page, const std::string& before, const std::string& date) {
  const std::string key = "<td><b>Periode:</b></td><td>";
  const std::size_t at = page.find(key);
  if (at == std::string::npos) return page;
  const std::size_t start = at + key.size(), end = page.find("</td>", start);
  const std::string shown = page.substr(start, end - start);
  if (shown != before && shown != PageToday()) return page;
  return page.substr(0, start) + date + page.substr(end);
}

}  // namespace plugintest
