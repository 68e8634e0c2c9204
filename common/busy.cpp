#include "common/busy.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <set>

#include "common/session.h"
#include "framework/controls.h"
#include "framework/system_wrappers.h"
#include "framework/win.h"

namespace {
std::set<FinBusyTask>& Running() {
  static std::set<FinBusyTask> running;
  return running;
}
}  // namespace

std::string FinBusyText(FinBusyTask task) {
  switch (task) {
    case FinBusyTask::Backup: return "Membackup database, mohon tunggu..";
    case FinBusyTask::Restore: return "Merestore database, mohon tunggu..";
    case FinBusyTask::YearCopy: return "Menyalin data tahun ajaran, mohon tunggu..";
    case FinBusyTask::Import: return "Menyimpan data import, mohon tunggu..";
    case FinBusyTask::Indexes: return "Menyiapkan database, mohon tunggu..";
  }
  return {};
}

bool FinBusyRunning(FinBusyTask task) { return Running().count(task) > 0; }

FinBusy::FinBusy(FinBusyTask task, bool show, const std::string& refusal) : task_(task) {
  if (FinBusyRunning(task)) {
    if (!refusal.empty()) MsgBox(refusal, "Info", MB_OK);
    return;
  }
  Running().insert(task);
  started_ = true;
  if (!show) return;
  shown_ = true;
  if (qApp) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  if (IsWindow(gStatusBar)) {
    previousText_ = SbGetText(gStatusBar, kFinBusyStatusPart);
    SbSetText(gStatusBar, kFinBusyStatusPart, FinBusyText(task), 0);
    // The text is drawn now: the operation keeps the event loop from running until it ends.
    if (QWidget* w = WinWidget(gStatusBar)) w->repaint();
  }
}

FinBusy::~FinBusy() { end(); }

void FinBusy::end() {
  if (!started_) return;
  started_ = false;
  Running().erase(task_);
  if (!shown_) return;
  if (IsWindow(gStatusBar)) SbSetText(gStatusBar, kFinBusyStatusPart, previousText_, 0);
  if (qApp) QApplication::restoreOverrideCursor();
}
