// A window the operator makes larger: its resize rules may move and stretch its controls, but no control may come to
// lie under another or reach out of the window.
//
//   EXPECT_EQ(fintest::GrowthFaults(gFormTunggakanWindow, 300, 200), std::vector<std::string>{});
//
// The window is grown as the desktop grows it (an MDI child or a maximised window first brought back to its normal
// size), so that it gets WM_SIZE and its rules run; its size is put back afterwards.
#pragma once
#include <string>
#include <vector>

#include "framework/win.h"

namespace fintest {

// Grows `form` by dx x dy pixels and compares the visible controls of each parent (the form's client area, a rebar)
// before and after. One line per fault, empty when none:
//   "<caption>: <class> \"<text>\" under <class> \"<text>\""   two siblings clear of each other now overlap (the
//                                                              first one stacked under the second)
//   "<caption>: <class> \"<text>\" reaches outside the window"  it lay inside its parent's client area
//   "<caption>: <class> \"<text>\" reaches outside <class> \"<text>\""   it lay inside that group box
//   "<caption>: grown to W x H but W' x H'"                     the window did not take the size
std::vector<std::string> GrowthFaults(Hwnd form, int dx, int dy);
// The same, the window grown to width x height (a side already as large stays).
std::vector<std::string> GrowthFaultsAt(Hwnd form, int width, int height);

}  // namespace fintest
