// The control wrappers. Each tests its window first and returns its "no window" value when the window is gone.
#include "framework/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QToolButton>
#include <QWidget>
#include <unordered_map>

#include "framework/control_widgets.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/window_data.h"
#include "framework/window_system.h"

namespace {
constexpr size_t kItemTextMax = 259;   // list-view, column and tree texts come back through a 260-byte buffer
constexpr size_t kToolTipMax = 79;

LResult Def(Hwnd h, unsigned msg, WParam w = 0, LParam l = 0) { return WinControlDefProc(h, msg, w, l); }
// A list cell's text as LvGetItemText gives it back: at most kItemTextMax bytes, cut between two characters.
std::string ItemTextAsRead(std::string_view text) {
  return CutUtf8(std::string(text.substr(0, std::min(text.size(), kItemTextMax + 3))), kItemTextMax);
}
LParam Text(const std::string& s) { return reinterpret_cast<LParam>(s.c_str()); }

// The list view of a handle. A list filled from a statement is asked for once per cell, so the last one found is
// kept for as long as no handle was let go of and its widget lives.
FinListView* Lv(Hwnd h) {
  static Hwnd lastHandle = 0;
  static QPointer<FinListView> last;
  static unsigned long long lastGeneration = 0;
  if (h != 0 && h == lastHandle && lastGeneration == WinHandleGeneration() && !last.isNull()) return last.data();
  FinListView* lv = CtlAs<FinListView>(h);
  lastHandle = lv ? h : 0;
  last = lv;
  lastGeneration = WinHandleGeneration();
  return lv;
}
FinTreeView* Tv(Hwnd h) { return CtlAs<FinTreeView>(h); }
FinStatusBar* Sb(Hwnd h) { return CtlAs<FinStatusBar>(h); }
FinToolBar* Tb(Hwnd h) { return CtlAs<FinToolBar>(h); }

// Tags: kept here, keyed by window, dropped when the window's widget goes.
struct Tags {
  std::string tag, tag2;
};
std::unordered_map<Hwnd, Tags>& TagTable() {
  static std::unordered_map<Hwnd, Tags> t;
  return t;
}
Tags* TagsOf(Hwnd h, bool create) {
  auto& t = TagTable();
  auto it = t.find(h);
  if (it != t.end()) return &it->second;
  if (!create) return nullptr;
  QWidget* w = WinWidget(h);
  if (!w) return nullptr;
  QObject::connect(w, &QObject::destroyed, [h] { TagTable().erase(h); });
  return &t[h];
}

QColor ColorOfRgb(int rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }
}  // namespace

// ---- Combo boxes and list boxes ------------------------------------------------------------------------------
int CbAddString(Hwnd h, const std::string& text) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_ADDSTRING, 0, Text(text)));
}
int CbFindString(Hwnd h, int, const std::string& text) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_FINDSTRING, 0, Text(text)));
}
int CbFindStringExact(Hwnd h, int, const std::string& text) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_FINDSTRINGEXACT, 0, Text(text)));
}
int CbGetCount(Hwnd h) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_GETCOUNT));
}
int CbGetCurSel(Hwnd h) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_GETCURSEL));
}
std::string CbGetItemText(Hwnd h, int index) {
  auto* c = CtlAs<QComboBox>(h);
  if (!c || index < 0 || index >= c->count()) return std::string();
  return FromQ(c->itemText(index));
}
int CbResetContent(Hwnd h) {
  if (!CtlAs<QComboBox>(h)) return 0;
  return static_cast<int>(Def(h, CB_RESETCONTENT));
}
int CbSetCurSel(Hwnd h, int index) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_SETCURSEL, static_cast<WParam>(static_cast<std::intptr_t>(index))));
}
LParam CbGetItemData(Hwnd h, int index) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return Def(h, CB_GETITEMDATA, static_cast<WParam>(index));
}
int CbSetItemData(Hwnd h, int index, LParam data) {
  if (!CtlAs<QComboBox>(h)) return -1;
  return static_cast<int>(Def(h, CB_SETITEMDATA, static_cast<WParam>(index), data));
}
int LbAddString(Hwnd h, const std::string& text) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return static_cast<int>(Def(h, LB_ADDSTRING, 0, Text(text)));
}
int LbFindString(Hwnd h, int, const std::string& text) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return static_cast<int>(Def(h, LB_FINDSTRING, 0, Text(text)));
}
int LbGetCount(Hwnd h) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return static_cast<int>(Def(h, LB_GETCOUNT));
}
int LbGetCurSel(Hwnd h) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return static_cast<int>(Def(h, LB_GETCURSEL));
}
LParam LbGetItemData(Hwnd h, int index) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return Def(h, LB_GETITEMDATA, static_cast<WParam>(index));
}
int LbSetItemData(Hwnd h, int index, LParam data) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return static_cast<int>(Def(h, LB_SETITEMDATA, static_cast<WParam>(index), data));
}
std::string LbGetItemText(Hwnd h, int index) {
  auto* l = CtlAs<QListWidget>(h);
  if (!l || index < 0 || index >= l->count()) return std::string();
  return FromQ(l->item(index)->text());
}
int LbSetCurSel(Hwnd h, int index) {
  if (!CtlAs<QListWidget>(h)) return -1;
  return static_cast<int>(Def(h, LB_SETCURSEL, static_cast<WParam>(static_cast<std::intptr_t>(index))));
}
int LbResetContent(Hwnd h) {
  if (!CtlAs<QListWidget>(h)) return 0;
  return static_cast<int>(Def(h, LB_RESETCONTENT));
}

// ---- List views ----------------------------------------------------------------------------------------------
int LvDeleteAllColumns(Hwnd h) {
  if (auto* lv = Lv(h)) lv->deleteAllColumns();
  return 0;
}
int LvDeleteAllItems(Hwnd h) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  lv->deleteAllRows();
  return 1;
}
int LvDeleteItem(Hwnd h, int row) {
  auto* lv = Lv(h);
  return lv && lv->deleteRowAt(row) ? 1 : 0;
}
int LvGetCheck(Hwnd h, int row) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  const unsigned i = (lv->rowState(row) & LVIS_STATEIMAGEMASK) >> 12;
  return (i % 2 == 0) ? -1 : -2;
}
int LvSetCheck(Hwnd h, int row, int on) {
  auto* lv = Lv(h);
  if (!lv || !(lv->lvExStyle & LVS_EX_CHECKBOXES) || row < 0 || row >= lv->rowCount() || lv->columnCount() == 0)
    return 0;
  lv->listModel()->setChecked(row, on != 0);
  return 1;
}
int LvGetColumnAlign(Hwnd h, int col) {
  auto* lv = Lv(h);
  if (!lv || col < 0 || col >= lv->columnCount()) return 0;
  const int f = lv->listModel()->columns[static_cast<size_t>(col)].format;
  if (f & LVCFMT_RIGHT) return 1;
  if (f & LVCFMT_CENTER) return 2;
  return 0;
}
int LvGetColumnCount(Hwnd h) {
  auto* lv = Lv(h);
  return lv ? lv->columnCount() : 0;
}
std::string LvGetColumnText(Hwnd h, int col) {
  auto* lv = Lv(h);
  if (!lv || col < 0 || col >= lv->columnCount()) return std::string();
  return CutUtf8(FromQ(lv->listModel()->columns[static_cast<size_t>(col)].caption), kItemTextMax);
}
int LvGetItemCount(Hwnd h) {
  auto* lv = Lv(h);
  return lv ? lv->rowCount() : 0;
}
std::string LvGetItemText(Hwnd h, int row, int col) {
  auto* lv = Lv(h);
  if (!lv || row < 0 || row >= lv->rowCount() || col < 0 || col >= lv->columnCount()) return std::string();
  return ItemTextAsRead(lv->listModel()->rows.text(row, col));
}
int LvGetItemImage(Hwnd h, int row, int col) {
  auto* lv = Lv(h);
  if (!lv || row < 0 || row >= lv->rowCount() || col < 0 || col >= lv->columnCount()) return 0;
  return lv->listModel()->rows.image(row, col);
}
LParam LvGetItemData(Hwnd h, int row, int col) {
  auto* lv = Lv(h);
  if (!lv || row < 0 || row >= lv->rowCount() || col < 0) return 0;
  return lv->listModel()->rows.data(row);
}
int LvGetSelectionMark(Hwnd h) {
  auto* lv = Lv(h);
  return lv ? lv->selectionMark : 0;
}
int LvSetSelectionMark(Hwnd h, int row) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  const int prev = lv->selectionMark;
  lv->selectionMark = row;
  return prev;
}
int LvInsertColumn(Hwnd h, int index, const std::string& caption, int format, int width) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  return lv->insertColumnAt(index, ToQ(caption), format, width);
}
int LvInsertItem(Hwnd h, int row, int col, const std::string& text, LParam data, int image) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  if (col == 0) return lv->insertRowAt(row, text, data, image);
  if (!lv->setCellText(row, col, text)) return 0;
  lv->setCellImage(row, col, image);   // image 0 as well: the cell's earlier image goes
  return 1;
}
int LvAppendRows(Hwnd h, const std::vector<std::vector<std::string>>& rows) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  lv->appendRows(rows);
  return 1;
}
int LvAppendRow(Hwnd h, const std::string_view* cells, std::size_t count) {
  auto* lv = Lv(h);
  return lv ? lv->appendRow(cells, count) : 0;
}
int LvSelectItem(Hwnd h, int row) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  const int prev = lv->selectionMark;
  lv->selectionMark = row;
  if (row >= 0 && row < lv->rowCount()) {
    QItemSelectionModel* sm = lv->selectionModel();
    const QModelIndex idx = lv->model()->index(row, 0);
    const bool single = lv->selectionMode() == QAbstractItemView::SingleSelection;
    sm->select(idx, (single ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) |
                        QItemSelectionModel::Rows);
    sm->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
    lv->selectionMark = row;
  }
  return prev;
}
int LvSetColumnAlign(Hwnd h, int col, int format) {
  auto* lv = Lv(h);
  if (!lv || col < 0 || col >= lv->columnCount()) return 0;
  lv->setColumnFormat(col, format);
  return 1;
}
int LvSetItemText(Hwnd h, int row, int col, const std::string& text) {
  auto* lv = Lv(h);
  return lv && lv->setCellText(row, col, text) ? 1 : 0;
}
int LvRewriteColumns(Hwnd h, const std::vector<int>& cols,
                     const std::function<void(int col, std::string_view text, std::string& out)>& rewrite) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  std::vector<int> valid;
  for (int c : cols)
    if (c >= 0 && c < lv->columnCount()) valid.push_back(c);
  lv->rewriteColumns(valid, [&rewrite](int col, std::string_view text, std::string& out) {
    if (text.size() <= kItemTextMax) return rewrite(col, text, out);   // read as it is stored
    rewrite(col, ItemTextAsRead(text), out);
  });
  return 1;
}
int LvSetItemImage(Hwnd h, int row, int col, int image) {
  auto* lv = Lv(h);
  return lv && lv->setCellImage(row, col, image) ? 1 : 0;
}
int LvSetItemData(Hwnd h, int row, int, LParam data) {
  auto* lv = Lv(h);
  if (!lv || row < 0 || row >= lv->rowCount() || lv->columnCount() == 0) return 0;
  lv->listModel()->rows.setData(row, data);
  return 1;
}
int LvSetExtendedStyle(Hwnd h, std::uint32_t exStyle) {
  if (!Lv(h)) return 0;
  return static_cast<int>(Def(h, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LParam>(exStyle)));
}
int LvSetColors(Hwnd h, int textRgb, int backRgb) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  QPalette p = lv->palette();
  if (textRgb != -1) p.setColor(QPalette::Text, ColorOfRgb(textRgb));
  if (backRgb != -1) p.setColor(QPalette::Base, ColorOfRgb(backRgb));
  lv->setPalette(p);
  return 1;
}
std::intptr_t LvSetImageList(Hwnd h, std::intptr_t imageList) {
  auto* lv = Lv(h);
  if (!lv) return 0;
  const std::intptr_t prev = lv->listModel()->smallImages;
  QuietScope q(CtlQuietCounter());
  lv->listModel()->setSmallImages(imageList);
  return prev;
}
int LvGetColumnWidth(Hwnd h, int col) {
  auto* lv = Lv(h);
  if (!lv || col < 0 || col >= lv->columnCount()) return 0;
  return lv->columnWidth(col);
}
int LvSetColumnWidth(Hwnd h, int col, int width) {
  auto* lv = Lv(h);
  if (!lv || col < 0 || col >= lv->columnCount()) return 0;
  lv->setColumnWidth(col, std::max(0, width));
  return 1;
}
int LvGetSelectedCount(Hwnd h) {
  auto* lv = Lv(h);
  return lv ? static_cast<int>(lv->selectionModel()->selectedRows().size()) : 0;
}
int LvIsSelected(Hwnd h, int row) {
  auto* lv = Lv(h);
  return lv && (lv->rowState(row) & LVIS_SELECTED) ? 1 : 0;
}
int LvGetNextSelected(Hwnd h, int after) {
  auto* lv = Lv(h);
  if (!lv) return -1;
  for (int r = std::max(0, after + 1); r < lv->rowCount(); ++r)
    if (lv->selectionModel()->isRowSelected(r, QModelIndex())) return r;
  return -1;
}

// ---- Tree views ----------------------------------------------------------------------------------------------
namespace {
FinTreeItem* ItemIn(FinTreeView* tv, std::intptr_t item) {
  FinTreeItem* it = TreeItemOf(item);
  return it && it->treeWidget() == tv ? it : nullptr;
}
}  // namespace

int TvExpand(Hwnd h, std::intptr_t item, int expand) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  FinTreeItem* it = ItemIn(tv, item);
  if (!it) return 0;
  it->setExpanded(expand != 0);
  return 1;
}
std::intptr_t TvGetSelection(Hwnd h) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  auto* it = dynamic_cast<FinTreeItem*>(tv->currentItem());
  return it ? it->handle : 0;
}
std::string TvGetItemText(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  if (!tv) return std::string();
  FinTreeItem* it = ItemIn(tv, item);
  return it ? CutUtf8(FromQ(it->text(0)), kItemTextMax) : std::string();
}
std::intptr_t TvInsertItem(Hwnd h, std::intptr_t parent, const std::string& text, LParam data, int image,
                           int selectedImage) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  FinTreeItem* p = nullptr;
  if (parent != 0 && parent != TVI_ROOT) {
    p = ItemIn(tv, parent);
    if (!p) return 0;
  }
  auto* it = new FinTreeItem;
  it->setText(0, ToQ(text));
  it->data = data;
  it->image = image;
  it->selectedImage = selectedImage;
  TreeApplyImages(tv, it);
  QuietScope q(CtlQuietCounter());
  if (p)
    p->addChild(it);
  else
    tv->addTopLevelItem(it);
  return it->handle;
}
std::intptr_t TvSetImageList(Hwnd h, std::intptr_t imageList) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  const std::intptr_t prev = tv->images;
  tv->images = imageList;
  QTreeWidgetItemIterator i(tv);
  for (; *i; ++i)
    if (auto* it = dynamic_cast<FinTreeItem*>(*i)) TreeApplyImages(tv, it);
  return prev;
}
int TvSelectItem(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  if (item == 0) {
    tv->setCurrentItem(nullptr);
    return 1;
  }
  FinTreeItem* it = ItemIn(tv, item);
  if (!it) return 0;
  tv->setCurrentItem(it);
  return 1;
}
LParam TvGetItemData(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  FinTreeItem* it = tv ? ItemIn(tv, item) : nullptr;
  return it ? it->data : 0;
}
std::intptr_t TvGetParent(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  FinTreeItem* it = tv ? ItemIn(tv, item) : nullptr;
  auto* p = it ? dynamic_cast<FinTreeItem*>(it->parent()) : nullptr;
  return p ? p->handle : 0;
}
std::intptr_t TvGetChild(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  QTreeWidgetItem* c = nullptr;
  if (item == 0 || item == TVI_ROOT) {
    c = tv->topLevelItemCount() > 0 ? tv->topLevelItem(0) : nullptr;
  } else if (FinTreeItem* it = ItemIn(tv, item)) {
    c = it->childCount() > 0 ? it->child(0) : nullptr;
  }
  auto* f = dynamic_cast<FinTreeItem*>(c);
  return f ? f->handle : 0;
}
std::intptr_t TvGetNextSibling(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  FinTreeItem* it = tv ? ItemIn(tv, item) : nullptr;
  if (!it) return 0;
  QTreeWidgetItem* p = it->parent();
  const int i = p ? p->indexOfChild(it) : tv->indexOfTopLevelItem(it);
  const int n = p ? p->childCount() : tv->topLevelItemCount();
  if (i < 0 || i + 1 >= n) return 0;
  auto* f = dynamic_cast<FinTreeItem*>(p ? p->child(i + 1) : tv->topLevelItem(i + 1));
  return f ? f->handle : 0;
}
int TvDeleteItem(Hwnd h, std::intptr_t item) {
  auto* tv = Tv(h);
  if (!tv) return 0;
  if (item == TVI_ROOT || item == 0) {
    tv->clear();
    return 1;
  }
  FinTreeItem* it = ItemIn(tv, item);
  if (!it) return 0;
  delete it;
  return 1;
}
int TvDeleteAllItems(Hwnd h) { return TvDeleteItem(h, TVI_ROOT); }

// ---- Edits, buttons and any window ---------------------------------------------------------------------------
std::string CtlGetText(Hwnd h) {
  QWidget* w = WinWidget(h);
  if (!w) return std::string();
  if (WinIsForm(h)) return WinGetWindowText(h);
  return CtlTextOf(w);
}
std::string TxtGetText(Hwnd h) { return CtlGetText(h); }
int CtlGetTextLength(Hwnd h) { return static_cast<int>(CtlGetText(h).size()); }
int CtlSetText(Hwnd h, const std::string& text) {
  QWidget* w = WinWidget(h);
  if (!w) return 0;
  if (WinIsForm(h)) {
    WinSetWindowText(h, text);
    return 1;
  }
  return CtlSetTextOf(h, w, text) ? 1 : 0;
}
int TxtSetText(Hwnd h, const std::string& text) {
  CtlSetText(h, text);
  return 0;
}
int TxtSetSel(Hwnd h, int start, int end) {
  if (!WinWidget(h)) return 0;
  return static_cast<int>(
      Def(h, EM_SETSEL, static_cast<WParam>(static_cast<std::intptr_t>(start)), static_cast<LParam>(end)));
}
int TxtLimitDigits(Hwnd h, int digits) { return EditLimitDigits(WinWidget(h), digits) ? 1 : 0; }
int CtlEnable(Hwnd h) { return WinEnableWindow(h, true) ? 1 : 0; }
int CtlDisable(Hwnd h) { return WinEnableWindow(h, false) ? 1 : 0; }
Hwnd CtlSetFocus(Hwnd h) {
  if (!WinWidget(h)) return 0;
  return WinSetFocus(h);
}
int CtlMove(Hwnd h, int x, int y) {
  if (!WinWidget(h)) return 0;
  return WinSetWindowPos(h, 0, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) ? 1 : 0;
}
int BtnIsChecked(Hwnd h) {
  if (!CtlAs<QAbstractButton>(h)) return 0;
  return Def(h, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
}
int ChkIsChecked(Hwnd h) { return BtnIsChecked(h); }
int BtnSetChecked(Hwnd h, int on) {
  if (!CtlAs<QAbstractButton>(h)) return 0;
  return static_cast<int>(Def(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED));
}
int BtnCheckRadio(Hwnd dialog, int firstId, int lastId, int checkId) {
  if (!WinWidget(dialog)) return 0;
  const int lo = std::min(firstId, lastId), hi = std::max(firstId, lastId);
  for (int id = lo; id <= hi; ++id) {
    Hwnd b = WinGetDlgItem(dialog, id);
    if (b && CtlAs<QAbstractButton>(b)) Def(b, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED);
  }
  return 1;
}
int CtlSetBitmapFile(Hwnd h, const std::string& path) {
  auto* l = CtlAs<QLabel>(h);
  if (!l || path.empty()) return 0;
  std::string p = path;
  for (auto& c : p)
    if (c == '\\') c = '/';
  const bool had = !l->pixmap().isNull();
  QPixmap pix(ToQ(p));
  if (pix.isNull()) {
    l->setPixmap(QPixmap());   // a file that cannot be loaded clears the picture
  } else {
    l->setPixmap(pix.scaled(130, 150, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  }
  return had ? 1 : 0;
}
int DtpSetDate(Hwnd h, const std::string& date) {
  if (!CtlAs<QDateTimeEdit>(h)) return 0;
  SystemTime st;
  st.wYear = static_cast<unsigned short>(RoundHalfEven(Val(date.substr(0, 4))));
  st.wMonth = static_cast<unsigned short>(RoundHalfEven(Val(date.size() > 5 ? date.substr(5, 2) : std::string())));
  st.wDay = static_cast<unsigned short>(RoundHalfEven(Val(date.size() >= 2 ? date.substr(date.size() - 2) : date)));
  return static_cast<int>(Def(h, DTM_SETSYSTEMTIME, static_cast<WParam>(GDT_VALID), reinterpret_cast<LParam>(&st)));
}
void CtlSetTag(Hwnd h, const std::string& text) {
  if (Tags* t = TagsOf(h, true)) t->tag = text;
}
void CtlSetTag2(Hwnd h, const std::string& text) {
  if (Tags* t = TagsOf(h, true)) t->tag2 = text;
}
std::string CtlGetTag(Hwnd h) {
  if (!WinWidget(h)) return std::string();
  Tags* t = TagsOf(h, false);
  return t ? t->tag : std::string();
}
std::string CtlGetTag2(Hwnd h) {
  if (!WinWidget(h)) return std::string();
  Tags* t = TagsOf(h, false);
  return t ? t->tag2 : std::string();
}
void CtlFreeTags(Hwnd h) { TagTable().erase(h); }

void CtlSetColors(Hwnd h, int textColor, int backColor) {
  WindowData* d = FrmDataOf(h);
  QWidget* w = WinWidget(h);
  if (!d || !w) return;
  bool changed = false;
  if (!d->isForm && textColor != -1) {
    d->foreColor = static_cast<unsigned>(textColor);
    d->foreIsSysColor = 0;
    changed = true;
  }
  if (backColor != -1) {
    if (d->backBrush) WinDeleteBrush(d->backBrush);
    d->backBrush = WinCreateSolidBrush(static_cast<unsigned>(backColor));
    d->backColor = static_cast<unsigned>(backColor);
    d->backIsSysColor = 0;
    changed = true;
  }
  if (!changed) return;
  if (d->isForm) {
    QWidget* client = WinClientWidget(h);
    if (!client) client = w;
    QPalette p = client->palette();
    p.setColor(QPalette::Window, ColorOfRgb(backColor));
    client->setPalette(p);
    client->setAutoFillBackground(true);
  } else if (d->colorsOn) {
    FrmApplyColors(h);   // as at creation (an edit paints the button face while it is disabled, whatever its colour)
  }
  w->update();
}

void CtlGetColors(Hwnd h, int* textColor, int* backColor) {
  WindowData* d = FrmDataOf(h);
  if (!d || !WinWidget(h)) return;
  int fg = 0, bg = 0;
  if (d->isForm) {
    QWidget* client = WinClientWidget(h);
    QColor c = (client ? client : WinWidget(h))->palette().color(QPalette::Window);
    fg = 0;
    bg = static_cast<int>(WinRgb(c.red(), c.green(), c.blue()));
  } else if (d->colorsOn) {
    fg = d->foreIsSysColor ? static_cast<int>(WinGetSysColor(static_cast<int>(d->foreColor)))
                           : static_cast<int>(d->foreColor);
    bg = d->backIsSysColor ? static_cast<int>(WinGetSysColor(static_cast<int>(d->backColor)))
                           : static_cast<int>(d->backColor);
  } else {
    fg = static_cast<int>(WinGetSysColor(static_cast<int>(d->foreColor)));
    bg = static_cast<int>(WinGetSysColor(static_cast<int>(d->backColor)));
  }
  if (textColor) *textColor = fg;
  if (backColor) *backColor = bg;
}

// ---- Status bars ---------------------------------------------------------------------------------------------
int SbSetText(Hwnd h, int part, const std::string& text, unsigned style) {
  auto* s = Sb(h);
  if (!s) return 0;
  const LResult r = Def(h, SB_SETTEXTA, static_cast<WParam>(part & 0xFF) | (style & 0xFF00), Text(text));
  s->update();
  return static_cast<int>(r);
}
std::string SbGetText(Hwnd h, int part) {
  auto* s = Sb(h);
  if (!s || part < 0 || part >= static_cast<int>(s->parts.size())) return std::string();
  return s->parts[static_cast<size_t>(part)].text;
}
LResult SbGetTextLength(Hwnd h, int part) {
  if (!Sb(h)) return 0;
  return Def(h, SB_GETTEXTLENGTHA, static_cast<WParam>(part));
}
LResult SbGetTextInfo(Hwnd h, int part) {
  if (!WinWidget(h)) return 0;
  return Def(h, SB_GETTEXTA, static_cast<WParam>(part), 0);
}
int SbSetParts(Hwnd h, const std::vector<int>& rightEdges) {
  if (!Sb(h) || rightEdges.empty()) return 0;
  return static_cast<int>(Def(h, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LParam>(rightEdges.data())));
}
std::vector<int> SbGetParts(Hwnd h) {
  auto* s = Sb(h);
  return s ? s->edges : std::vector<int>();
}
int SbSetIcon(Hwnd h, int part, const QIcon& icon) {
  auto* s = Sb(h);
  if (!s || part < 0 || part >= static_cast<int>(s->parts.size())) return 0;
  s->parts[static_cast<size_t>(part)].icon = icon;
  s->update();
  return 1;
}
int SbSetTipText(Hwnd h, int part, const std::string& text) {
  auto* s = Sb(h);
  if (!s || part < 0 || part >= static_cast<int>(s->parts.size())) return 0;
  s->parts[static_cast<size_t>(part)].tip = text;
  return 1;
}

// ---- Progress bars -------------------------------------------------------------------------------------------
int PbSetRange(Hwnd h, int low, int high) {
  if (!CtlAs<QProgressBar>(h)) return 0;
  Def(h, PBM_SETRANGE32, static_cast<WParam>(low), static_cast<LParam>(high));
  return 1;
}
int PbSetPos(Hwnd h, int pos) {
  if (!CtlAs<QProgressBar>(h)) return 0;
  return static_cast<int>(Def(h, PBM_SETPOS, static_cast<WParam>(pos)));
}
int PbGetPos(Hwnd h) {
  if (!CtlAs<QProgressBar>(h)) return 0;
  return static_cast<int>(Def(h, PBM_GETPOS));
}

// ---- Toolbars and rebars -------------------------------------------------------------------------------------
namespace {
QAction* ButtonAction(FinToolBar* tb, int id) {
  for (QAction* a : tb->actions())
    if (!a->isSeparator() && a->data().toInt() == id) return a;
  return nullptr;
}
}  // namespace

int TbAddButton(Hwnd h, int id, const QIcon& icon, const std::string& text, const std::string& tip, int autoSize) {
  auto* tb = Tb(h);
  if (!tb) return 0;
  QAction* a = tb->addAction(icon, ToQ(text));
  a->setData(id);
  a->setToolTip(ToQ(tip.empty() ? text : tip));
  a->setProperty("fin_autosize", autoSize != 0);
  QObject::connect(a, &QAction::triggered, tb, [h, id] {
    Hwnd form = CtlFormOf(h);
    if (form && form != h) WinSendMessage(form, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), 0), h);
  });
  if (QWidget* w = tb->widgetForAction(a)) {
    w->setFocusPolicy(Qt::NoFocus);
    w->setProperty("fin_button_id", id);
  }
  tb->evenWidths();
  tb->dock();
  return 1;
}
int TbAddSeparator(Hwnd h) {
  auto* tb = Tb(h);
  if (!tb) return 0;
  tb->addSeparator();
  return 1;
}
int TbSetIconSize(Hwnd h, int cx, int cy) {
  auto* tb = Tb(h);
  if (!tb) return 0;
  tb->setIconSize(QSize(cx, cy));
  tb->evenWidths();
  tb->dock();
  return 1;
}
int TbGetButtonCount(Hwnd h) {
  auto* tb = Tb(h);
  return tb ? static_cast<int>(tb->actions().size()) : 0;
}
int TbEnableButton(Hwnd h, int id, int enable) {
  auto* tb = Tb(h);
  QAction* a = tb ? ButtonAction(tb, id) : nullptr;
  if (!a) return 0;
  a->setEnabled(enable != 0);
  return 1;
}
int TbClickButton(Hwnd h, int id) {
  auto* tb = Tb(h);
  QAction* a = tb ? ButtonAction(tb, id) : nullptr;
  if (!a || !a->isEnabled()) return 0;
  if (auto* b = qobject_cast<QToolButton*>(tb->widgetForAction(a))) b->click();
  else a->trigger();
  return 1;
}
std::string TbGetButtonTip(Hwnd h, int id) {
  auto* tb = Tb(h);
  QAction* a = tb ? ButtonAction(tb, id) : nullptr;
  return a ? FromQ(a->toolTip()) : std::string();
}
void TbAutoSize(Hwnd h) {
  if (auto* tb = Tb(h)) {
    tb->evenWidths();
    tb->adjustSize();
    tb->dock();
    if (auto* rb = dynamic_cast<FinReBar*>(tb->parentWidget())) rb->relayout();
  }
}
namespace {
class BandBackground : public QObject {
 public:
  BandBackground(QWidget* rebar, QPixmap pix) : QObject(rebar), pix_(std::move(pix)) {}
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      auto* w = static_cast<QWidget*>(o);
      QPainter p(w);
      p.drawTiledPixmap(w->rect(), pix_);
    }
    return false;
  }

 private:
  QPixmap pix_;
};
}  // namespace
int RbInsertBand(Hwnd rebar, Hwnd child, int minChildHeight, int width, const QPixmap& background) {
  auto* rb = CtlAs<FinReBar>(rebar);
  QWidget* c = WinWidget(child);
  if (!rb || !c) return 0;
  if (c->parentWidget() != rb) {
    c->setParent(rb);
    c->show();
  }
  rb->bands.emplace_back(c);
  rb->bandMinHeight = std::max(rb->bandMinHeight, minChildHeight);
  (void)width;
  if (!background.isNull()) rb->installEventFilter(new BandBackground(rb, background));
  rb->relayout();
  rb->dock();
  return 1;
}
int CtlGetHeight(Hwnd h) {
  QWidget* w = WinWidget(h);
  return w ? w->height() : 0;
}
int CtlGetWidth(Hwnd h) {
  QWidget* w = WinWidget(h);
  return w ? w->width() : 0;
}

// ---- Tool tips, scaling, version -----------------------------------------------------------------------------
Hwnd CtlAddToolTip(Hwnd control, const std::string& text, int balloon) {
  if (control == 0) return 0;
  QWidget* c = WinWidget(control);
  if (!c) return 0;
  const QString tip = ToQ(CutUtf8(text, kToolTipMax));
  Hwnd tt = static_cast<Hwnd>(c->property("fin_tooltip").toLongLong());
  if (!IsWindow(tt)) {
    std::uint32_t style = static_cast<std::uint32_t>(WS_POPUP);
    style |= static_cast<std::uint32_t>(TTS_NOPREFIX) | TTS_ALWAYSTIP | (balloon ? static_cast<std::uint32_t>(TTS_BALLOON) : 0u);
    tt = WinCreateControl(WS_EX_TOPMOST, "tooltips_class32", "", style, 0, 0, 0, 0, 0, 0);
    if (!tt) return 0;
    QWidget* tw = WinWidget(tt);
    tw->setParent(c);   // one tool-tip window per control, gone with it
    tw->hide();
    c->setProperty("fin_tooltip", QVariant::fromValue<qlonglong>(tt));
  }
  WinWidget(tt)->setToolTip(tip);
  c->setToolTip(tip);
  if (auto* sa = qobject_cast<QAbstractScrollArea*>(c)) sa->viewport()->setToolTip(tip);
  return tt;
}
std::string CtlGetToolTip(Hwnd control) {
  QWidget* c = WinWidget(control);
  return c ? FromQ(c->toolTip()) : std::string();
}

namespace {
float Scale(float value, bool horizontal) {
  double dpi = 96.0;
  if (QScreen* s = QGuiApplication::primaryScreen()) dpi = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
  return static_cast<float>(static_cast<double>(value) * dpi / 96.0);
}
}  // namespace
float DpiScaleX(float value) { return Scale(value, true); }
float DpiScaleY(float value) { return Scale(value, false); }
float SysWindowsVersion() { return 10.0f; }
