// What a test sets up around the export plug-ins, the way they meet it in the field: a plug-in copied into a program
// folder of the test's own (the plug-ins take the program folder from where they were loaded), a desktop opener of
// its own first in PATH, and today's date as the page's period shows it.
#pragma once
#include <stdlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace plugintest {

// A desktop opener "xdg-open" in a temporary folder put first in PATH for the object's lifetime: it appends every
// path it is asked to open to its log, one line each, and ends. The plug-ins leave the opener to run on its own; the
// test process takes the orphaned openers as its own children (a child subreaper) for the object's lifetime, so
// log() first waits until every opener started so far has ended: what it reads is complete.
class FakeDesktopOpener {
 public:
  // `body`: shell lines the opener runs after logging (none: it ends at once).
  explicit FakeDesktopOpener(const std::string& body = std::string()) {
    prctl(PR_GET_CHILD_SUBREAPER, &wasSubreaper_);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const std::string script = dir_.file("xdg-open");
    std::string rest = body;   // "@DIR@" in it names the opener's folder
    for (std::size_t at; (at = rest.find("@DIR@")) != std::string::npos;) rest.replace(at, 5, dir_.str());
    fintest::WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + dir_.file("opened.log") + "'\n" + rest);
    chmod(script.c_str(), 0755);
    const char* path = getenv("PATH");
    hadPath_ = path != nullptr;
    if (path) path_ = path;
    setenv("PATH", (dir_.str() + (hadPath_ ? ":" + path_ : std::string())).c_str(), 1);
  }
  ~FakeDesktopOpener() {
    WaitForOpeners();
    prctl(PR_SET_CHILD_SUBREAPER, wasSubreaper_);
    if (hadPath_) setenv("PATH", path_.c_str(), 1);
    else unsetenv("PATH");
  }
  FakeDesktopOpener(const FakeDesktopOpener&) = delete;
  FakeDesktopOpener& operator=(const FakeDesktopOpener&) = delete;

  // What it was asked to open, one line each ("" when nothing), once every opener started so far has ended.
  std::string log() const {
    WaitForOpeners();
    return fintest::ReadFile(dir_.file("opened.log"));
  }

  // The openers of this object that run now as children of the test process (process ids).
  std::vector<pid_t> Openers() const {
    std::vector<pid_t> found;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/proc", ec)) {
      const std::string name = e.path().filename().string();
      if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
      const pid_t pid = static_cast<pid_t>(std::stol(name));
      char state = 0;
      if (ParentOf(pid, &state) != getpid()) continue;
      // An opener that has ended already has no command line left: it is collected all the same.
      if (state == 'Z' || fintest::ReadFile("/proc/" + name + "/cmdline").find(dir_.str()) != std::string::npos)
        found.push_back(pid);
    }
    return found;
  }
  // Waits until every opener of this object has ended and collects it.
  void WaitForOpeners() const {
    for (pid_t pid : Openers()) {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }
  }
  // The parent process of `pid` (0 when it is gone), and its state letter ('S', 'R', 'Z', ...).
  static pid_t ParentOf(pid_t pid, char* stateOut = nullptr) {
    const std::string stat = fintest::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    char state = 0;
    int parent = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) != 2) return 0;
    if (stateOut) *stateOut = state;
    return parent;
  }
  const fintest::TempDir& dir() const { return dir_; }

 private:
  fintest::TempDir dir_;
  int wasSubreaper_ = 0;
  bool hadPath_ = false;
  std::string path_;
};

// An opener that stays open, as a browser showing the page does, until the test ends it. Once it runs it tells its
// process id through a FIFO.
class LingeringOpener : public FakeDesktopOpener {
 public:
  LingeringOpener() : FakeDesktopOpener("echo $$ > '@DIR@/started'\nexec sleep 60\n") {
    mkfifo(dir().file("started").c_str(), 0600);
  }
  ~LingeringOpener() { End(); }
  // The opener's process id once it runs (0 when it does not tell within half a minute: it never started).
  pid_t WaitUntilRunning() {
    const int fd = open(dir().file("started").c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return 0;
    std::string text;
    pollfd p{fd, POLLIN, 0};
    while (text.find('\n') == std::string::npos && poll(&p, 1, 30000) > 0) {
      char buf[32];
      const ssize_t n = read(fd, buf, sizeof buf);
      if (n > 0) text.append(buf, static_cast<std::size_t>(n));
      else if (n == 0 && !(p.revents & POLLIN)) break;
    }
    close(fd);
    pid_ = static_cast<pid_t>(std::atol(text.c_str()));
    return pid_;
  }
  // Ends the opener (the test's own process), and collects it when it became a child of this process.
  void End() {
    if (pid_ <= 0) return;
    const bool ours = ParentOf(pid_) == getpid();
    kill(pid_, SIGTERM);
    if (ours) {
      int status = 0;
      while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
    }
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
};

// PATH without any desktop opener for the object's lifetime.
class NoDesktopOpener {
 public:
  NoDesktopOpener() {
    const char* path = getenv("PATH");
    hadPath_ = path != nullptr;
    if (path) path_ = path;
    setenv("PATH", dir_.str().c_str(), 1);
  }
  ~NoDesktopOpener() {
    if (hadPath_) setenv("PATH", path_.c_str(), 1);
    else unsetenv("PATH");
  }
  NoDesktopOpener(const NoDesktopOpener&) = delete;
  NoDesktopOpener& operator=(const NoDesktopOpener&) = delete;

 private:
  fintest::TempDir dir_;
  bool hadPath_ = false;
  std::string path_;
};

// The children of this process that have ended but were never collected.
inline std::vector<pid_t> ZombieChildren() {
  std::vector<pid_t> found;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = e.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    char state = 0;
    const pid_t pid = static_cast<pid_t>(std::stol(name));
    if (FakeDesktopOpener::ParentOf(pid, &state) == getpid() && state == 'Z') found.push_back(pid);
  }
  return found;
}

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
