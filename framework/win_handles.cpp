#include "framework/win.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <unordered_map>

namespace {
struct HandleTable {
  std::unordered_map<Hwnd, QPointer<QWidget>> byHandle;
  Hwnd next = 0x100;
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
  if (it->second.isNull()) {
    t.byHandle.erase(it);
    return nullptr;
  }
  return it->second.data();
}

Hwnd WinHandle(QWidget* w) {
  if (!w) return 0;
  QVariant v = w->property(kHandleProperty);
  if (v.isValid()) return static_cast<Hwnd>(v.toLongLong());
  auto& t = table();
  Hwnd h = t.next;
  t.next += 4;
  t.byHandle.emplace(h, QPointer<QWidget>(w));
  w->setProperty(kHandleProperty, QVariant::fromValue<qlonglong>(h));
  return h;
}

bool IsWindow(Hwnd h) { return WinWidget(h) != nullptr; }
