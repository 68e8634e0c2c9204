// An operation that can take more than a second (backup, restore, the fee year copy, a large import, making the
// indexes of an old file): while it runs the wait cursor stands and the main window's status bar says what is being
// done, and the same operation cannot be started again before it ends (a command that comes in meanwhile, from a
// nested event loop, is refused with a box).
#pragma once
#include <string>

enum class FinBusyTask { Backup, Restore, YearCopy, Import, Indexes };

// The status-bar part that tells of the operation.
constexpr int kFinBusyStatusPart = 3;
// From this many rows on an import shows that it is working.
constexpr int kFinBusyImportRows = 200;

// The box shown when an operation is asked for while it runs.
constexpr const char* kFinBusyRefusal = "Proses yang sama masih berjalan, mohon tunggu..";

// The status-bar text of `task` ("Membackup database, mohon tunggu..").
std::string FinBusyText(FinBusyTask task);
// True while `task` runs.
bool FinBusyRunning(FinBusyTask task);

class FinBusy {
 public:
  // Marks `task` as running and, with `show`, shows the wait cursor and its text. When the task runs already, nothing
  // is shown or marked, started() is false and the caller does nothing; `refusal` (when not empty) is shown in a box
  // captioned "Info".
  explicit FinBusy(FinBusyTask task, bool show = true, const std::string& refusal = kFinBusyRefusal);
  ~FinBusy();
  FinBusy(const FinBusy&) = delete;
  FinBusy& operator=(const FinBusy&) = delete;
  bool started() const { return started_; }
  // Ends the operation before the object goes (the boxes that tell its outcome follow without the wait cursor).
  void end();

 private:
  FinBusyTask task_;
  bool started_ = false, shown_ = false;
  std::string previousText_;
};
