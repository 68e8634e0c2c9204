// The widget classes behind the common controls (list view, tree view, status bar, toolbar, rebar, image list) and
// the helpers control_classes.cpp and controls.cpp share. Form code uses the wrappers of controls.h instead.
#pragma once
#include <QIcon>
#include <QPointer>
#include <QAbstractTableModel>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/list_rows.h"
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
// List view: report view over a table model of its own, with the Windows list-view semantics.
// ---------------------------------------------------------------------------------------------------------------
// The rows of a list view and its columns. Rows appended at the end are told to the view in one batch, when the view
// next asks for them (or once the program is back in its event loop); clearing the rows is one model reset. Only the
// rows on screen are ever turned into widget texts.
class FinListModel : public QAbstractTableModel {
 public:
  explicit FinListModel(QObject* parent);

  ListRows rows;
  struct Column {
    QString caption;
    int format = 0;   // LVCFMT_*
  };
  std::vector<Column> columns;
  bool checkBoxes = false;
  std::intptr_t smallImages = 0;
  std::function<void(int row)> checkChanged;   // a row ticked or unticked through setData (a click, a key, a call)

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  int alignmentOf(int col) const;   // Qt alignment of the column's cells (column 0 always left)
  void flush();                     // rows appended since the last flush told to the view
  void appendRow(const std::string_view* cells, std::size_t count);
  int insertRowAt(int row, std::string_view text, LParam data, int image);
  void removeRowAt(int row);
  void removeAllRows();
  void setText(int row, int col, std::string_view text);
  void rewriteColumns(const std::vector<int>& cols, const ListRows::Rewrite& rewrite);
  void setImage(int row, int col, int image);
  void setChecked(int row, bool on);   // through setData: the change is told
  int insertColumnAt(int index, const QString& caption, int fmt);
  void removeColumnAt(int index);
  void removeAllColumns();
  void setColumnFormat(int col, int fmt);
  void setCheckBoxes(bool on);
  void setSmallImages(std::intptr_t images);

 private:
  void cellChanged(int row, int col, int role);
  void queueFlush();
  int shown_ = 0;          // rows the view knows of
  bool busy_ = false;      // the model is telling the view of a change: no flush from within
  bool flushQueued_ = false;
};

class FinListView : public QTableView {
 public:
  explicit FinListView(QWidget* parent, std::uint32_t style);

  FinListModel* listModel() const { return model_; }
  std::uint32_t lvStyle = 0;
  std::uint32_t lvExStyle = 0;
  int selectionMark = -1;
  int quiet = 0;                  // > 0: programmatic bulk change, no LVN_ITEMCHANGED

  int rowCount() const { return model_->rows.size(); }
  int columnCount() const { return static_cast<int>(model_->columns.size()); }
  void setExtendedStyle(std::uint32_t mask, std::uint32_t ex);
  int insertColumnAt(int index, const QString& caption, int fmt, int width);
  bool deleteColumnAt(int index);
  void deleteAllColumns();        // every column at once; the rows stay (without cells)
  int insertRowAt(int row, const std::string& text, LParam data, int image);
  // Rows appended at once, each from its cells (column 0 first): the rows insertRowAt and setCellText of every
  // non-empty cell would make.
  void appendRows(const std::vector<std::vector<std::string>>& rows);
  // One row at the end from its cells, as insertRowAt (data 0, image 0) and setCellText of its other cells; its index.
  int appendRow(const std::string_view* cells, std::size_t count);
  bool setCellText(int row, int col, const std::string& text);
  // Every row's cells of the columns `cols` (existing columns) given anew at once; see ListRows::rewriteCells.
  void rewriteColumns(const std::vector<int>& cols, const ListRows::Rewrite& rewrite);
  bool setCellImage(int row, int col, int image);
  bool deleteRowAt(int row);
  void deleteAllRows();
  unsigned rowState(int row) const;     // LVIS_SELECTED | LVIS_FOCUSED | state-image bits
  void setColumnFormat(int col, int fmt);
  int alignmentOf(int col) const { return model_->alignmentOf(col); }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool viewportEvent(QEvent* e) override;   // rows appended meanwhile are shown before the list paints
  // The keys move the focus, the selection mark and the highlighted selection together, as the list views of the
  // platform do: Home and End go to the first and the last row (with Ctrl too), and Ctrl with a key that moves
  // selects the row it moves to as the key alone does (Shift still extends the selection).
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;

 private:
  FinListModel* model_;
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
