#include "app/welcome_window.h"

#include <QBrush>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include "app/globals.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/window_system.h"

int gForm1Id = 100;

namespace {

LResult Form1OnCreate(Hwnd form, std::intptr_t userData);

FrmForm gForm1 = {.name = "FORM1",
                  .wndProc = FORM1_WndProc,
                  .window = &gForm1Window,
                  .onCreate = Form1OnCreate,
                  .caption = "Welcome",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  .width = 965,
                  .height = 310,
                  .x = 0,
                  .y = 0,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm1Id,
                  .classStyle = CS_DBLCLKS | CS_NOCLOSE};

// The class's pattern: the batik bitmap tiled over the whole client area.
void PaintPattern(Hwnd form) {
  const QPixmap batik = ResLoadImage("IMAGE_BACKBATIK");
  QWidget* client = WinClientWidget(form);
  if (!client || batik.isNull()) return;
  QPalette p = client->palette();
  p.setBrush(QPalette::All, QPalette::Window, QBrush(batik));
  client->setPalette(p);
  client->setAutoFillBackground(true);
}

LResult Form1OnCreate(Hwnd form, std::intptr_t) {
  PaintPattern(form);
  return 0;
}

}  // namespace

std::intptr_t FORM1_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm1, parent, modal, userData);
}

LResult FORM1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm1, hwnd, msg, wParam, lParam, &r)) return r;
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}
