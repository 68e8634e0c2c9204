// A folder in which, while the object lives, no file can be made, replaced or removed: the folder is made read-only,
// or, for a test running as root (whom permissions do not stop), immutable. locked() is false when neither could be
// done on this machine; such a test has nothing to show and is skipped.
#pragma once
#include <string>

namespace fintest {

class LockedFolder {
 public:
  explicit LockedFolder(std::string path);
  ~LockedFolder();
  LockedFolder(const LockedFolder&) = delete;
  LockedFolder& operator=(const LockedFolder&) = delete;
  bool locked() const { return locked_; }

 private:
  std::string path_;
  bool locked_ = false;
  bool immutable_ = false;
};

}  // namespace fintest
