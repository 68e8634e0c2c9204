#include "plugin_host.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

void PluginOpenWithDesktop(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", &actions, nullptr, const_cast<char* const*>(argv), environ) == 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}
