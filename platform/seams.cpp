#include "platform/seams.h"

#include <cstdlib>
#include <utility>

namespace platform {

namespace {
template <class T>
T& Get(std::unique_ptr<T>& slot, std::unique_ptr<T> (*make)()) {
  if (!slot) slot = make();
  return *slot;
}
}  // namespace

MessageBoxes& Seams::messageBoxes() { return Get(messageBoxes_, &MakeRealMessageBoxes); }
FileDialogs& Seams::fileDialogs() { return Get(fileDialogs_, &MakeRealFileDialogs); }
PickerDialogs& Seams::pickers() { return Get(pickers_, &MakeRealPickers); }
DesktopOpener& Seams::desktop() { return Get(desktop_, &MakeRealDesktop); }
Clock& Seams::clock() { return Get(clock_, &MakeRealClock); }
ProgramFolder& Seams::programFolder() { return Get(programFolder_, &MakeRealProgramFolder); }
Clipboard& Seams::clipboard() { return Get(clipboard_, &MakeRealClipboard); }
ProcessExit& Seams::processExit() { return Get(processExit_, &MakeRealProcessExit); }
ModalHook& Seams::modalHook() { return Get(modalHook_, &MakeRealModalHook); }

void Seams::setMessageBoxes(std::unique_ptr<MessageBoxes> b) { messageBoxes_ = std::move(b); }
void Seams::setFileDialogs(std::unique_ptr<FileDialogs> b) { fileDialogs_ = std::move(b); }
void Seams::setPickers(std::unique_ptr<PickerDialogs> b) { pickers_ = std::move(b); }
void Seams::setDesktop(std::unique_ptr<DesktopOpener> b) { desktop_ = std::move(b); }
void Seams::setClock(std::unique_ptr<Clock> b) { clock_ = std::move(b); }
void Seams::setProgramFolder(std::unique_ptr<ProgramFolder> b) { programFolder_ = std::move(b); }
void Seams::setClipboard(std::unique_ptr<Clipboard> b) { clipboard_ = std::move(b); }
void Seams::setProcessExit(std::unique_ptr<ProcessExit> b) { processExit_ = std::move(b); }
void Seams::setModalHook(std::unique_ptr<ModalHook> b) { modalHook_ = std::move(b); }

void Seams::resetAll() {
  messageBoxes_.reset();
  fileDialogs_.reset();
  pickers_.reset();
  desktop_.reset();
  clock_.reset();
  programFolder_.reset();
  clipboard_.reset();
  processExit_.reset();
  modalHook_.reset();
}

Seams& seams() {
  static Seams s;
  return s;
}

QDateTime Now() { return seams().clock().Now(); }
QDate Today() { return Now().date(); }
std::string ProgramFolderPath() { return seams().programFolder().Path(); }
bool OpenWithDesktop(const std::string& pathOrUrl) { return seams().desktop().Open(pathOrUrl); }
void ModalLoopStarted(QWidget* form) { seams().modalHook().Started(form); }

}  // namespace platform

void AppExit(int code) {
  platform::seams().processExit().Exit(code);
  std::_Exit(code);   // a back end that returned after all
}
