#include "framework/window_state.h"

#include <map>

#include "framework/controls.h"

namespace {

std::map<Hwnd, FrmWindowState>& States() {
  static std::map<Hwnd, FrmWindowState> states;
  return states;
}

}  // namespace

void FrmKeepWindowState(Hwnd form, const FrmWindowState& state) {
  if (form) States()[form] = state;
}

const FrmWindowState* FrmWindowStateOf(Hwnd form) {
  if (!form || !IsWindow(form)) return nullptr;
  auto it = States().find(form);
  return it == States().end() ? nullptr : &it->second;
}

void FrmForgetWindowState(Hwnd form) { States().erase(form); }

int FrmMarkedRowOf(const FrmWindowState& state) {
  if (state.markedRow < 0 || !IsWindow(state.list)) return -1;
  if (state.markedRow >= LvGetItemCount(state.list)) return -1;
  return LvGetItemText(state.list, state.markedRow, 0) == state.markedId ? state.markedRow : -1;
}

void FrmTakeMarkedRow(Hwnd list, FrmWindowState& state) {
  state.list = list;
  const int mark = IsWindow(list) ? LvGetSelectionMark(list) : -1;
  state.markedRow = mark >= 0 && mark < LvGetItemCount(list) ? mark : -1;
  state.markedId = state.markedRow >= 0 ? LvGetItemText(list, state.markedRow, 0) : std::string();
}

FrmWindowState FrmTakeFromList(Hwnd owner, Hwnd list, const std::string& kelas, const std::string& tapel,
                               int editMode) {
  FrmWindowState state;
  state.owner = owner;
  state.kelas = kelas;
  state.tapel = tapel;
  state.editMode = editMode;
  FrmTakeMarkedRow(list, state);
  return state;
}
