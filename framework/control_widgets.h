// The widget classes behind the common controls (list view, tree view, status bar, toolbar, rebar, image list) and
// the helpers control_classes.cpp and controls.cpp share. Form code uses the wrappers of controls.h instead.
#pragma once
#include <QIcon>
#include <QPointer>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

class QAction;

// UTF-8 text <-> QString at the widget boundary.
inline QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQ(const QString& s) {
  QByteArray b = s.toUtf8();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}
// At most `maxBytes` bytes of `s`, never cutting inside a UTF-8 character.
std::string CutUtf8(std::string s, size_t maxBytes);

// Image lists: handles of lists of equally sized images.
std::intptr_t ImlCreate(int cx, int cy);
int ImlAddIcon(std::intptr_t iml, const QIcon& icon);      // new index, -1 when the list does not exist
int ImlGetImageCount(std::intptr_t iml);                    // -1 when the list does not exist
QIcon ImlGetIcon(std::intptr_t iml, int index);             // null icon when out of range
bool ImlDestroy(std::intptr_t iml);

// ---------------------------------------------------------------------------------------------------------------
// List view: report view over QTableWidget with the Windows list-view semantics.
// ---------------------------------------------------------------------------------------------------------------
class FinListView : public QTableWidget {
 public:
  explicit FinListView(QWidget* parent, std::uint32_t style);

  std::uint32_t lvStyle = 0;
  std::uint32_t lvExStyle = 0;
  int selectionMark = -1;
  int quiet = 0;                  // > 0: programmatic bulk change, no LVN_ITEMCHANGED
  std::vector<int> colFormat;     // LVCFMT_* per column
  std::intptr_t smallImages = 0;  // image list of the rows' images

  void setExtendedStyle(std::uint32_t mask, std::uint32_t ex);
  int insertColumnAt(int index, const QString& caption, int fmt, int width);
  bool deleteColumnAt(int index);
  void deleteAllColumns();        // every column at once; the rows stay (without cells)
  int insertRowAt(int row, const QString& text, LParam data, int image);
  // Rows appended at once, each from its cells (column 0 first): the rows insertRowAt and setCellText of every
  // non-empty cell would make, with one notice to the view instead of one per row and cell.
  void appendRows(const std::vector<std::vector<std::string>>& rows);
  bool setCellText(int row, int col, const QString& text);
  bool setCellImage(int row, int col, int image);
  bool deleteRowAt(int row);
  void deleteAllRows();
  unsigned rowState(int row) const;     // LVIS_SELECTED | LVIS_FOCUSED | state-image bits
  void setColumnFormat(int col, int fmt);
  int alignmentOf(int col) const;       // Qt alignment flags of the column's cells

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void deferUpdates();
  QTableWidgetItem* newRowItem(const QString& text, LParam data, int image) const;   // a row's column-0 item
  void releaseCells();   // a large list's cells taken out, to be freed once the program is idle again
  bool updatesDeferred_ = false;
};

// ---------------------------------------------------------------------------------------------------------------
// Tree view: QTreeWidget whose items are named by handles.
// ---------------------------------------------------------------------------------------------------------------
class FinTreeView : public QTreeWidget {
 public:
  explicit FinTreeView(QWidget* parent);
  std::intptr_t images = 0;   // normal image list
  int quiet = 0;
};
class FinTreeItem : public QTreeWidgetItem {
 public:
  FinTreeItem();
  ~FinTreeItem() override;
  std::intptr_t handle = 0;
  LParam data = 0;
  int image = 0;
  int selectedImage = 0;
};
FinTreeItem* TreeItemOf(std::intptr_t handle);   // nullptr when the item is gone
void TreeApplyImages(FinTreeView* tree, FinTreeItem* item);

// ---------------------------------------------------------------------------------------------------------------
// Status bar: parts addressed by number with fixed right edges (-1: to the right border).
// ---------------------------------------------------------------------------------------------------------------
class FinStatusBar : public QWidget {
 public:
  explicit FinStatusBar(QWidget* parent, std::uint32_t style);
  struct Part {
    std::string text;
    unsigned type = 0;   // SBT_* drawing type
    QIcon icon;
    std::string tip;
  };
  std::vector<int> edges{-1};
  std::vector<Part> parts{Part{}};
  bool setParts(const std::vector<int>& rightEdges);
  QRect partRect(int part) const;
  void dock();   // bottom of the parent, full width

 protected:
  void paintEvent(QPaintEvent*) override;
  bool event(QEvent* e) override;
};

// ---------------------------------------------------------------------------------------------------------------
// Toolbar and rebar.
// ---------------------------------------------------------------------------------------------------------------
class FinToolBar : public QToolBar {
 public:
  explicit FinToolBar(QWidget* parent, std::uint32_t style);
  std::uint32_t tbStyle = 0;
  void dock();   // top of the parent, full width (unless CCS_NOPARENTALIGN / CCS_NORESIZE)
  void evenWidths();
};
class FinReBar : public QWidget {
 public:
  explicit FinReBar(QWidget* parent, std::uint32_t style);
  std::uint32_t rbStyle = 0;
  std::vector<QPointer<QWidget>> bands;
  int bandMinHeight = 0;
  void relayout();
  void dock();
 protected:
  void resizeEvent(QResizeEvent*) override;
};

// > 0 while the program itself changes a control: no selection notification follows.
int& CtlQuietCounter();

// Selection of a combo box or list box changed by the program: no notification follows.
struct QuietScope {
  explicit QuietScope(int& counter) : c(counter) { ++c; }
  ~QuietScope() { --c; }
  int& c;
};

// The widget of a handle when it is of class T (else nullptr).
template <class T>
T* CtlAs(Hwnd h) {
  return dynamic_cast<T*>(WinWidget(h));
}

// Text of any window: an edit's text, a button's or static's caption, a combo box's shown text, a picker's text, a
// form's title.
std::string CtlTextOf(QWidget* w);
// A single-line edit takes at most `digits` digits from the operator (0: no limit); other characters do not count.
bool EditLimitDigits(QWidget* w, int digits);
// Sets a window's text (WM_SETTEXT): an edit also reports EN_CHANGE when the text is unchanged.
bool CtlSetTextOf(Hwnd h, QWidget* w, const std::string& text);
