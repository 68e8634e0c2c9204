#include "support/locked_folder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

namespace fintest {

namespace {

// Sets or clears the immutable flag of a folder; false when the file system or the process cannot.
bool SetImmutable(const std::string& path, bool on) {
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return done;
}

// True when a file can still be made in the folder.
bool Writable(const std::string& path) {
  const std::string probe = path + "/.locked-probe";
  const int fd = open(probe.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0600);
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

}  // namespace

LockedFolder::LockedFolder(std::string path) : path_(std::move(path)) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (geteuid() != 0) {
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace, ec);
  } else {
    immutable_ = SetImmutable(path_, true);
  }
  locked_ = !Writable(path_);
}

LockedFolder::~LockedFolder() {
  if (immutable_) SetImmutable(path_, false);
  std::error_code ec;
  if (geteuid() != 0) std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                                   std::filesystem::perm_options::replace, ec);
}

}  // namespace fintest
