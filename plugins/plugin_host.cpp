#include "plugin_host.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

std::string PluginFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<const void*>(&PluginFolder), &info) || !info.dli_fname || !*info.dli_fname) return ".";
  std::error_code ec;
  std::filesystem::path file = std::filesystem::absolute(info.dli_fname, ec);
  if (ec) file = info.dli_fname;
  const std::string folder = file.parent_path().string();
  return folder.empty() ? "." : folder;
}

std::string PluginFile(const std::string& folder, const std::string& name) {
  return (folder == "/" ? std::string() : folder) + "/" + name;
}

namespace {

// The opener's file along PATH (an empty PATH entry is the current folder), empty when none can be run.
std::string FindOpener() {
  const char* path = getenv("PATH");
  std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = list.find(':', start);
    std::string folder = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (folder.empty()) folder = ".";
    const std::string file = folder + "/xdg-open";
    struct stat st {};
    if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(file.c_str(), X_OK) == 0) return file;
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
}

}  // namespace

bool PluginOpenWithDesktop(const std::string& path) {
  const std::string opener = FindOpener();
  if (opener.empty()) return false;
  // Everything the new processes need is made before the fork: between fork and exec only calls that are safe there.
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  // The opener reports a failed start through this pipe; a start that worked closes it (close-on-exec) unwritten.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    if (devNull >= 0) close(devNull);
    return false;
  }
  // Started twice removed: the process in between ends at once and is collected here, so the opener belongs to the
  // system's process reaper, never to this program, and nobody waits for it.
  const pid_t between = fork();
  if (between == 0) {
    const pid_t openerPid = fork();
    if (openerPid == 0) {
      setsid();
      if (devNull >= 0) {
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
      }
      execve(opener.c_str(), const_cast<char* const*>(argv), environ);
      const int failure = errno;
      ssize_t written = write(report[1], &failure, sizeof failure);
      (void)written;
      _exit(127);
    }
    if (openerPid < 0) {
      const int failure = errno;
      ssize_t written = write(report[1], &failure, sizeof failure);
      (void)written;
    }
    _exit(0);
  }
  close(report[1]);
  if (devNull >= 0) close(devNull);
  bool started = false;
  if (between > 0) {
    int status = 0;
    while (waitpid(between, &status, 0) < 0 && errno == EINTR) {
    }
    int failure = 0;
    ssize_t got;
    while ((got = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    started = got == 0;   // closed unwritten: the opener runs
  }
  close(report[0]);
  return started;
}
