// Labels a sibling hides: a label (a static text) lies under every sibling made after it, so a control made later in
// the same place, that paints its own background (a group box with the form's colours, an edit, a list, a button),
// hides the label, however the window is shown.
//
//   EXPECT_EQ(fintest::CoveredLabels(WinWidget(gFormTunggakanWindow)), std::vector<std::string>{});
//
// WatchCoveredLabels keeps an eye on every window shown while it lives: each window's labels are checked when the
// window is first shown and what was found is kept, for the test to fail on.
#pragma once
#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace fintest {

// The text a control shows: a label's, a group box's title, a button's, an edit's; else the widget's window title.
std::string ControlText(QWidget* w);

// One line per label of `window` (a shown label with a text or picture) whose text (or picture) a visible later
// sibling overlaps and paints over: "<window title>: label \"<text>\" under <class> \"<text>\"". Empty when none.
std::vector<std::string> CoveredLabels(QWidget* window);

class WatchCoveredLabels : public QObject {
 public:
  WatchCoveredLabels();
  ~WatchCoveredLabels() override;
  const std::vector<std::string>& found() const { return found_; }
  void clear() { found_.clear(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<std::string> found_;
};

}  // namespace fintest
