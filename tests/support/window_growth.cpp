#include "support/window_growth.h"

#include <QGroupBox>
#include <QWidget>

#include <algorithm>
#include <functional>

#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/covered_labels.h"

namespace fintest {

namespace {

struct Control {
  Hwnd h = 0;
  Hwnd parent = 0;
  WinRect r;      // in its parent's client area
  WinRect area;   // that client area
  bool group = false;
};

// The visible controls of `form` (not those of a form inside it), parents before children, each parent's in the order
// they are stacked (the last one on top).
std::vector<Control> Controls(Hwnd form) {
  std::vector<Control> out;
  QWidget* client = WinClientWidget(form);
  for (Hwnd c : WinChildWindows(form)) {
    if (WinIsForm(c) || FrmGetFormOf(c) != form) continue;
    QWidget* w = WinWidget(c);
    if (!w || !client || !w->isVisibleTo(client)) continue;
    const Hwnd parent = WinGetParent(c);
    out.push_back({c, parent, WinGetWindowRect(c), WinGetClientRect(parent), qobject_cast<QGroupBox*>(w) != nullptr});
  }
  return out;
}

bool Overlap(const WinRect& a, const WinRect& b) {
  return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}
bool Inside(const WinRect& inner, const WinRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Name(Hwnd h) { return WinGetClassName(h) + " \"" + ControlText(WinWidget(h)) + "\""; }

const Control* Find(const std::vector<Control>& controls, Hwnd h) {
  for (const Control& c : controls)
    if (c.h == h) return &c;
  return nullptr;
}

// Resizes the window (its frame included) as the desktop does; WM_SIZE follows.
void Resize(Hwnd form, int width, int height) {
  WinSetWindowPos(form, 0, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<std::string> Grow(Hwnd form, const std::function<void(int*, int*)>& grow) {
  if (!IsWindow(form)) return {"no window to grow"};
  const bool maximised = WinIsZoomed(form);
  if (maximised) WinShowWindow(form, SW_RESTORE);
  const std::string caption = WinGetWindowText(form) + ": ";
  const WinRect start = WinGetWindowRect(form);
  const std::vector<Control> before = Controls(form);
  int width = start.width(), height = start.height();
  grow(&width, &height);
  Resize(form, width, height);

  std::vector<std::string> found;
  const WinRect now = WinGetWindowRect(form);
  if (now.width() != width || now.height() != height)
    found.push_back(caption + "grown to " + std::to_string(width) + " x " + std::to_string(height) + " but " +
                    std::to_string(now.width()) + " x " + std::to_string(now.height()));
  const std::vector<Control> after = Controls(form);
  for (size_t i = 0; i < before.size(); ++i) {
    const Control& a = before[i];
    const Control* a2 = Find(after, a.h);
    if (!a2) continue;
    if (Inside(a.r, a.area) && !Inside(a2->r, a2->area))
      found.push_back(caption + Name(a.h) + " reaches outside " + (a.parent == form ? "the window" : Name(a.parent)));
    for (size_t j = 0; j < before.size(); ++j) {
      const Control& b = before[j];
      const Control* b2 = Find(after, b.h);
      if (j == i || !b2 || b.parent != a.parent) continue;
      if (j > i && !Overlap(a.r, b.r) && Overlap(a2->r, b2->r))
        found.push_back(caption + Name(a.h) + " under " + Name(b.h));
      if (b.group && Inside(a.r, b.r) && !Inside(a2->r, b2->r))
        found.push_back(caption + Name(a.h) + " reaches outside " + Name(b.h));
    }
  }

  Resize(form, start.width(), start.height());
  if (maximised) WinShowWindow(form, SW_SHOWMAXIMIZED);
  return found;
}

}  // namespace

std::vector<std::string> GrowthFaults(Hwnd form, int dx, int dy) {
  return Grow(form, [dx, dy](int* w, int* h) {
    *w += dx;
    *h += dy;
  });
}

std::vector<std::string> GrowthFaultsAt(Hwnd form, int width, int height) {
  return Grow(form, [width, height](int* w, int* h) {
    *w = std::max(*w, width);
    *h = std::max(*h, height);
  });
}

}  // namespace fintest
