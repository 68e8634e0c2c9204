#include "framework/win.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <unordered_map>

namespace {
struct Entry {
  QPointer<QWidget> widget;
  WinInfo info;
};
struct HandleTable {
  std::unordered_map<Hwnd, Entry> byHandle;
  Hwnd next = 0x100;
  unsigned long long generation = 0;
};
HandleTable& table() {
  static HandleTable t;
  return t;
}
constexpr const char* kHandleProperty = "fin_hwnd";
}  // namespace

QWidget* WinWidget(Hwnd h) {
  if (h == 0) return nullptr;
  auto& t = table();
  auto it = t.byHandle.find(h);
  if (it == t.byHandle.end()) return nullptr;
  if (it->second.widget.isNull()) {
    t.byHandle.erase(it);
    ++t.generation;
    return nullptr;
  }
  return it->second.widget.data();
}

Hwnd WinHandle(QWidget* w) {
  if (!w) return 0;
  QVariant v = w->property(kHandleProperty);
  if (v.isValid()) return static_cast<Hwnd>(v.toLongLong());
  auto& t = table();
  Hwnd h = t.next;
  t.next += 4;
  t.byHandle.emplace(h, Entry{QPointer<QWidget>(w), WinInfo{}});
  w->setProperty(kHandleProperty, QVariant::fromValue<qlonglong>(h));
  return h;
}

bool IsWindow(Hwnd h) { return WinWidget(h) != nullptr; }

void WinForgetHandle(Hwnd h) {
  if (table().byHandle.erase(h)) ++table().generation;
}

unsigned long long WinHandleGeneration() { return table().generation; }

WinInfo* WinInfoOf(Hwnd h) {
  if (!WinWidget(h)) return nullptr;
  return &table().byHandle.find(h)->second.info;
}

void WinSetProp(Hwnd h, const std::string& name, std::intptr_t value) {
  if (WinInfo* i = WinInfoOf(h)) i->props[name] = value;
}

std::intptr_t WinGetProp(Hwnd h, const std::string& name) {
  WinInfo* i = WinInfoOf(h);
  if (!i) return 0;
  auto it = i->props.find(name);
  return it == i->props.end() ? 0 : it->second;
}

std::intptr_t WinRemoveProp(Hwnd h, const std::string& name) {
  WinInfo* i = WinInfoOf(h);
  if (!i) return 0;
  auto it = i->props.find(name);
  if (it == i->props.end()) return 0;
  std::intptr_t v = it->second;
  i->props.erase(it);
  return v;
}
