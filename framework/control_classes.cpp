// Controls over Qt widgets. Creation by class name, default message handling, and the mapping of Qt signals and
// events onto the notifications the forms receive (all of it here, in one place).
#include "framework/control_classes.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <QTimer>
#include <QTextEdit>
#include <QCalendarWidget>
#include <QToolButton>
#include <QToolTip>
#include <QValidator>
#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>

#include "framework/control_widgets.h"
#include "framework/fonts.h"
#include "framework/window_system.h"

// ---------------------------------------------------------------------------------------------------------------
// Small helpers
// ---------------------------------------------------------------------------------------------------------------
std::string CutUtf8(std::string s, size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  size_t n = maxBytes;
  // Step back over continuation bytes so that the cut falls before a character's lead byte.
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  s.resize(n);
  return s;
}

namespace {
constexpr const char* kCtlProperty = "fin_ctl";   // handle of the control an inner widget (viewport, ...) belongs to

std::string Upper(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
bool StartsWith(const std::string& s, const char* p) { return s.compare(0, std::strlen(p), p) == 0; }

int& QuietCounter() {
  static int q = 0;
  return q;
}
bool Quiet() { return QuietCounter() > 0; }

Hwnd ControlOf(QObject* o) {
  QVariant v = o->property(kCtlProperty);
  return v.isValid() ? static_cast<Hwnd>(v.toLongLong()) : 0;
}
void MarkPart(QObject* o, Hwnd h) { o->setProperty(kCtlProperty, QVariant::fromValue<qlonglong>(h)); }

}  // namespace

int& CtlQuietCounter() { return QuietCounter(); }

// ---------------------------------------------------------------------------------------------------------------
// Image lists
// ---------------------------------------------------------------------------------------------------------------
namespace {
struct ImageList {
  int cx = 16, cy = 16;
  std::vector<QIcon> icons;
};
std::unordered_map<std::intptr_t, ImageList>& ImageLists() {
  static std::unordered_map<std::intptr_t, ImageList> m;
  return m;
}
std::intptr_t gNextImageList = 0x7100;
}  // namespace

std::intptr_t ImlCreate(int cx, int cy) {
  std::intptr_t h = gNextImageList;
  gNextImageList += 4;
  ImageLists()[h] = ImageList{cx, cy, {}};
  return h;
}
int ImlAddIcon(std::intptr_t iml, const QIcon& icon) {
  auto it = ImageLists().find(iml);
  if (it == ImageLists().end()) return -1;
  it->second.icons.push_back(icon);
  return static_cast<int>(it->second.icons.size()) - 1;
}
int ImlGetImageCount(std::intptr_t iml) {
  auto it = ImageLists().find(iml);
  return it == ImageLists().end() ? -1 : static_cast<int>(it->second.icons.size());
}
QIcon ImlGetIcon(std::intptr_t iml, int index) {
  auto it = ImageLists().find(iml);
  if (it == ImageLists().end() || index < 0 || index >= static_cast<int>(it->second.icons.size())) return QIcon();
  return it->second.icons[static_cast<size_t>(index)];
}
bool ImlDestroy(std::intptr_t iml) { return ImageLists().erase(iml) > 0; }

// ---------------------------------------------------------------------------------------------------------------
// Notifications
// ---------------------------------------------------------------------------------------------------------------
Hwnd CtlFormOf(Hwnd h) {
  QWidget* w = WinWidget(h);
  while (w) {
    QVariant hv = w->property("fin_hwnd");
    if (hv.isValid()) {
      Hwnd wh = static_cast<Hwnd>(hv.toLongLong());
      if (WinInfo* i = WinInfoOf(wh)) {
        if (StartsWith(i->className, "FORM_") || (i->exStyle & WS_EX_MDICHILD)) return wh;
      }
    }
    if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w)) return WinHandle(w);
    w = w->parentWidget();
  }
  return 0;
}

LResult CtlNotifyCommand(Hwnd ctl, unsigned code) {
  WinInfo* i = WinInfoOf(ctl);
  if (!i) return 0;
  Hwnd form = CtlFormOf(ctl);
  if (!form || form == ctl) return 0;
  return WinSendMessage(form, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(i->id), code), ctl);
}

LResult CtlNotify(Hwnd ctl, NmHdr* hdr) {
  WinInfo* i = WinInfoOf(ctl);
  if (!i) return 0;
  Hwnd form = CtlFormOf(ctl);
  if (!form || form == ctl) return 0;
  hdr->hwndFrom = ctl;
  hdr->idFrom = i->id;
  return WinSendMessage(form, WM_NOTIFY, static_cast<WParam>(i->id), reinterpret_cast<LParam>(hdr));
}

namespace {
void NotifyListView(Hwnd lv, int code, int item, int subItem, unsigned newState = 0, unsigned oldState = 0,
                    unsigned changed = 0, LParam data = 0) {
  NmListView nm;
  nm.hdr.code = code;
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.lParam = data;
  CtlNotify(lv, &nm.hdr);
}
void NotifyKey(Hwnd ctl, int code, int vk) {
  NmLvKeyDown nm;
  nm.hdr.code = code;
  nm.wVKey = vk;
  CtlNotify(ctl, &nm.hdr);
}
}  // namespace

int VkFromQtKey(int k) {
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return VK_F1 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return 0x12;
    default: return 0;
  }
}

// ---------------------------------------------------------------------------------------------------------------
// The event filter every control carries: control-level messages to the control's own procedure, and the mouse and
// key notifications of list views, tree views and notifying statics.
// ---------------------------------------------------------------------------------------------------------------
namespace {
class ControlEvents : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override;
};
ControlEvents* Events() {
  static ControlEvents* ev = new ControlEvents;
  return ev;
}

void Watch(QWidget* w, Hwnd h) {
  MarkPart(w, h);
  w->installEventFilter(Events());
}

bool ControlEvents::eventFilter(QObject* o, QEvent* e) {
  // A subclassed control's own messages (WM_SETFOCUS, WM_KEYDOWN, WM_LBUTTONUP, ...) come from the window system's
  // filter, which runs before this one and keeps from the control what its procedure did not pass on. Here: the
  // notifications the control itself sends to its form.
  const QEvent::Type t = e->type();
  if (t != QEvent::MouseButtonRelease && t != QEvent::MouseButtonPress && t != QEvent::MouseButtonDblClick &&
      t != QEvent::KeyPress && t != QEvent::FontChange)
    return false;
  Hwnd h = ControlOf(o);
  QWidget* control = WinWidget(h);
  if (!control) return false;
  QPointer<QObject> guard(o);

  if (t == QEvent::FontChange) {
    // A new font: a combo box takes the height the font needs, a list view's rows likewise.
    if (o != control) return false;
    if (auto* c = qobject_cast<QComboBox*>(control)) {
      static_cast<QObject*>(c)->event(e);   // the box first forgets its old size hint
      c->resize(c->width(), c->sizeHint().height());
      return true;
    } else if (auto* lv = dynamic_cast<FinListView*>(control)) {
      lv->verticalHeader()->setDefaultSectionSize(lv->fontMetrics().height() + 4);
    }
    return false;
  }

  if (t == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    const int vk = VkFromQtKey(ke->key());
    if (!vk || o != control) return false;
    const bool list = dynamic_cast<FinListView*>(control) != nullptr;
    const bool tree = !list && dynamic_cast<FinTreeView*>(control) != nullptr;
    if (!list && !tree) return false;
    NotifyKey(h, list ? LVN_KEYDOWN : TVN_KEYDOWN, vk);
    if (vk == VK_RETURN && IsWindow(h)) {
      NmHdr nm;
      nm.code = NM_RETURN;
      CtlNotify(h, &nm);
    }
    return !guard || !IsWindow(h);
  }

  auto* me = static_cast<QMouseEvent*>(e);
  if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
    if (me->button() != Qt::LeftButton) return false;
    if (auto* label = qobject_cast<QLabel*>(control)) {
      WinInfo* i = WinInfoOf(h);
      if (i && (i->style & SS_NOTIFY)) CtlNotifyCommand(h, t == QEvent::MouseButtonPress ? 0u /*STN_CLICKED*/ : 1u);
      (void)label;
      return false;
    }
    if (t == QEvent::MouseButtonDblClick) {
      if (auto* lv = dynamic_cast<FinListView*>(control)) {
        QModelIndex idx = lv->indexAt(me->position().toPoint());
        o->setProperty("fin_skipclick", true);
        NotifyListView(h, NM_DBLCLK, idx.isValid() ? idx.row() : -1, idx.isValid() ? idx.column() : 0);
        return false;
      }
      if (auto* tv = dynamic_cast<FinTreeView*>(control)) {
        (void)tv;
        o->setProperty("fin_skipclick", true);
        NmHdr nm;
        nm.code = NM_DBLCLK;
        CtlNotify(h, &nm);
        return false;
      }
    }
    return false;
  }

  // Mouse button release.
  const bool skip = o->property("fin_skipclick").toBool();
  if (skip) o->setProperty("fin_skipclick", QVariant());
  if (auto* lv = dynamic_cast<FinListView*>(control); lv && o == lv->viewport()) {
    if (skip && me->button() == Qt::LeftButton) return false;
    QModelIndex idx = lv->indexAt(me->position().toPoint());
    if (me->button() == Qt::LeftButton || me->button() == Qt::RightButton)
      NotifyListView(h, me->button() == Qt::LeftButton ? NM_CLICK : NM_RCLICK, idx.isValid() ? idx.row() : -1,
                     idx.isValid() ? idx.column() : 0);
  } else if (auto* tv = dynamic_cast<FinTreeView*>(control); tv && o == tv->viewport()) {
    if (skip && me->button() == Qt::LeftButton) return false;
    if (me->button() == Qt::LeftButton || me->button() == Qt::RightButton) {
      NmHdr nm;
      nm.code = me->button() == Qt::LeftButton ? NM_CLICK : NM_RCLICK;
      CtlNotify(h, &nm);
    }
  }
  return false;
}

// Edits: forced case, digits only and the typing limit (EM_LIMITTEXT), as typed. The limit holds for what the operator
// types or pastes, not for texts the program sets: a text set longer than the limit stays whole and can still be
// shortened. A money edit can also limit its digits alone (TxtLimitDigits): "999.999.999.999" is 12 digits, however
// many separators the operator types with them. A window's own validator (what characters an edit takes) keeps
// working under the limits: it is asked first.
int DigitCount(const QString& t) {
  int n = 0;
  for (QChar c : t)
    if (c.isDigit()) ++n;
  return n;
}

class EditValidator : public QValidator {
 public:
  EditValidator(QLineEdit* parent, std::uint32_t style) : QValidator(parent), style_(style) {
    QObject::connect(parent, &QLineEdit::textChanged, this, [this](const QString& t) {
      length_ = t.size();
      digits_ = DigitCount(t);
    });
    length_ = parent->text().size();
    digits_ = DigitCount(parent->text());
  }
  State validate(QString& input, int& pos) const override {
    State state = Acceptable;
    if (inner_) {
      state = inner_->validate(input, pos);
      if (state == Invalid) return Invalid;
    }
    if (style_ & ES_UPPERCASE) input = input.toUpper();
    if (style_ & ES_LOWERCASE) input = input.toLower();
    if (style_ & ES_NUMBER) {
      for (QChar c : input)
        if (!c.isDigit()) return Invalid;
    }
    if (limit_ > 0 && input.size() > limit_ && input.size() > length_) return Invalid;
    if (digitLimit_ > 0) {
      const int digits = DigitCount(input);
      if (digits > digitLimit_ && digits > digits_) return Invalid;
    }
    return state;
  }
  void setLimit(int limit) { limit_ = limit; }
  void setDigitLimit(int digits) { digitLimit_ = digits; }
  // The window's own validator, asked before the limits (owned by this one).
  void setInner(QValidator* inner) {
    inner_ = inner;
    if (inner_) inner_->setParent(this);
  }
  // The program sets this text: it is taken whatever the limits.
  void setText(const QString& text) {
    length_ = text.size();
    digits_ = DigitCount(text);
  }

 private:
  std::uint32_t style_;
  int limit_ = 0;        // 0: no limit
  int digitLimit_ = 0;   // 0: no limit
  int length_ = 0;       // length of the text as it stands
  int digits_ = 0;       // its digits
  QValidator* inner_ = nullptr;
};

// The edit's framework validator; one is put in front of a validator the window set itself.
EditValidator* EditValidatorOf(QLineEdit* e) {
  auto* current = const_cast<QValidator*>(e->validator());
  if (auto* v = dynamic_cast<EditValidator*>(current)) return v;
  auto* v = new EditValidator(e, 0);
  if (current) v->setInner(current);
  e->setValidator(v);
  return v;
}

// Check boxes and radio buttons without the "auto" style do not change on a click; the form does it.
class ManualCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};
class ManualRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override {}
};

// Column alignment of a list view's cells.
class LvDelegate : public QStyledItemDelegate {
 public:
  explicit LvDelegate(FinListView* lv) : QStyledItemDelegate(lv), lv_(lv) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::Alignment(lv_->alignmentOf(index.column())) | Qt::AlignVCenter;
  }

 private:
  FinListView* lv_;
};

// Text counters: how many EN_CHANGE notifications were sent (WM_SETTEXT sends one itself when Qt sent none).
unsigned long long gEnChangeCount = 0;

void SendEnChange(Hwnd h) {
  ++gEnChangeCount;
  CtlNotifyCommand(h, EN_CHANGE);
}
}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// List view
// ---------------------------------------------------------------------------------------------------------------
FinListModel::FinListModel(QObject* parent) : QAbstractTableModel(parent) {}

int FinListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  // Whoever asks for the rows gets them all: the rows appended meanwhile are told to the view first.
  if (shown_ != rows.size() && !busy_) const_cast<FinListModel*>(this)->flush();
  return shown_;
}

int FinListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns.size());
}

int FinListModel::alignmentOf(int col) const {
  if (col <= 0 || col >= static_cast<int>(columns.size())) return Qt::AlignLeft;   // column 0 is always left
  const int f = columns[static_cast<size_t>(col)].format;
  if (f & LVCFMT_RIGHT) return Qt::AlignRight;
  if (f & LVCFMT_CENTER) return Qt::AlignHCenter;
  return Qt::AlignLeft;
}

QVariant FinListModel::data(const QModelIndex& index, int role) const {
  const int row = index.row(), col = index.column();
  if (!index.isValid() || row >= rows.size() || col >= static_cast<int>(columns.size())) return QVariant();
  switch (role) {
    case Qt::DisplayRole: {
      const std::string_view t = rows.text(row, col);
      return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    }
    case Qt::DecorationRole:
      if (smallImages && rows.hasImage(row, col)) return ImlGetIcon(smallImages, rows.image(row, col));
      return QVariant();
    case Qt::CheckStateRole:
      if (col == 0 && checkBoxes) return rows.checked(row) ? Qt::Checked : Qt::Unchecked;
      return QVariant();
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(alignmentOf(col)) | Qt::AlignVCenter);
    default: return QVariant();
  }
}

bool FinListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const int row = index.row();
  if (!index.isValid() || role != Qt::CheckStateRole || index.column() != 0 || !checkBoxes || row >= rows.size())
    return false;
  const bool on = value.toInt() == Qt::Checked;
  if (rows.checked(row) == on) return true;
  rows.setChecked(row, on);
  cellChanged(row, 0, Qt::CheckStateRole);
  if (checkChanged) checkChanged(row);
  return true;
}

Qt::ItemFlags FinListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0 && checkBoxes) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant FinListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns.size())) return QVariant();
  if (role == Qt::DisplayRole) return columns[static_cast<size_t>(section)].caption;
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(section == 0 ? int(Qt::AlignLeft) : alignmentOf(section)) |
                               Qt::AlignVCenter);
  return QVariant();
}

void FinListModel::flush() {
  flushQueued_ = false;
  if (busy_ || shown_ >= rows.size()) return;
  busy_ = true;
  beginInsertRows(QModelIndex(), shown_, rows.size() - 1);
  shown_ = rows.size();
  endInsertRows();
  busy_ = false;
}

void FinListModel::queueFlush() {
  if (flushQueued_) return;
  flushQueued_ = true;
  QPointer<FinListModel> self(this);
  QMetaObject::invokeMethod(
      this, [self] {
        if (self) self->flush();
      },
      Qt::QueuedConnection);
}

void FinListModel::cellChanged(int row, int col, int role) {
  if (row >= shown_ || busy_) return;   // a row the view does not know yet shows as it is when it comes
  busy_ = true;
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i, {role});
  busy_ = false;
}

int FinListModel::insertRowAt(int row, std::string_view text, LParam data, int image) {
  if (columns.empty()) {   // a list without columns keeps no cell
    text = {};
    data = 0;
    image = 0;
  }
  if (row >= rows.size()) {
    const int r = rows.insert(rows.size(), text, data, image);
    queueFlush();
    return r;
  }
  flush();
  busy_ = true;
  beginInsertRows(QModelIndex(), row, row);
  rows.insert(row, text, data, image);
  ++shown_;
  endInsertRows();
  busy_ = false;
  return row;
}

void FinListModel::appendRow(const std::string_view* cells, std::size_t count) {
  rows.append(cells, count, static_cast<int>(columns.size()));
  queueFlush();
}

void FinListModel::removeRowAt(int row) {
  flush();
  busy_ = true;
  beginRemoveRows(QModelIndex(), row, row);
  rows.remove(row);
  --shown_;
  endRemoveRows();
  busy_ = false;
}

void FinListModel::removeAllRows() {
  busy_ = true;
  beginResetModel();
  rows.clear();
  shown_ = 0;
  endResetModel();
  busy_ = false;
}

void FinListModel::setText(int row, int col, std::string_view text) {
  rows.setText(row, col, text);
  cellChanged(row, col, Qt::DisplayRole);
}

void FinListModel::rewriteColumns(const std::vector<int>& cols, const ListRows::Rewrite& rewrite) {
  if (cols.empty()) return;
  rows.rewriteCells(cols, rewrite);
  if (busy_ || shown_ == 0) return;
  busy_ = true;
  for (int c : cols) emit dataChanged(index(0, c), index(shown_ - 1, c), {Qt::DisplayRole});
  busy_ = false;
}

void FinListModel::setImage(int row, int col, int image) {
  rows.setImage(row, col, image);
  if (smallImages) cellChanged(row, col, Qt::DecorationRole);
}

void FinListModel::setChecked(int row, bool on) { setData(index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole); }

int FinListModel::insertColumnAt(int index, const QString& caption, int fmt) {
  flush();
  busy_ = true;
  beginInsertColumns(QModelIndex(), index, index);
  columns.insert(columns.begin() + index, Column{caption, fmt});
  rows.insertColumn(index);
  endInsertColumns();
  busy_ = false;
  return index;
}

void FinListModel::removeColumnAt(int index) {
  flush();
  busy_ = true;
  beginRemoveColumns(QModelIndex(), index, index);
  columns.erase(columns.begin() + index);
  rows.removeColumn(index);
  endRemoveColumns();
  busy_ = false;
}

void FinListModel::removeAllColumns() {
  // One removal of all columns: the rows stay, without cells.
  if (columns.empty()) return;
  busy_ = true;
  beginResetModel();
  columns.clear();
  rows.clearCells();
  shown_ = rows.size();
  endResetModel();
  busy_ = false;
}

void FinListModel::setColumnFormat(int col, int fmt) {
  columns[static_cast<size_t>(col)].format = fmt;
  if (busy_) return;
  busy_ = true;
  emit headerDataChanged(Qt::Horizontal, col, col);
  if (shown_ > 0) emit dataChanged(index(0, col), index(shown_ - 1, col), {Qt::TextAlignmentRole});
  busy_ = false;
}

void FinListModel::setCheckBoxes(bool on) {
  if (checkBoxes == on) return;
  checkBoxes = on;
  rows.uncheckAll();
  if (busy_ || shown_ == 0) return;
  busy_ = true;
  emit dataChanged(index(0, 0), index(shown_ - 1, 0), {Qt::CheckStateRole});
  busy_ = false;
}

void FinListModel::setSmallImages(std::intptr_t images) {
  smallImages = images;
  if (busy_ || shown_ == 0 || columns.empty()) return;
  busy_ = true;
  emit dataChanged(index(0, 0), index(shown_ - 1, static_cast<int>(columns.size()) - 1), {Qt::DecorationRole});
  busy_ = false;
}

FinListView::FinListView(QWidget* parent, std::uint32_t style)
    : QTableView(parent), lvStyle(style), model_(new FinListModel(this)) {
  setModel(model_);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setMinimumSectionSize(0);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  if (style & 0x4000 /*LVS_NOCOLUMNHEADER*/) horizontalHeader()->hide();
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                           : QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setSortingEnabled(false);
  setTabKeyNavigation(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setItemDelegate(new LvDelegate(this));
}

void FinListView::setExtendedStyle(std::uint32_t mask, std::uint32_t ex) {
  if (mask == 0) mask = 0xFFFFFFFFu;
  lvExStyle = (lvExStyle & ~mask) | (ex & mask);
  setShowGrid((lvExStyle & LVS_EX_GRIDLINES) != 0);
  QuietScope q(QuietCounter());
  model_->setCheckBoxes((lvExStyle & LVS_EX_CHECKBOXES) != 0);
}

int FinListView::insertColumnAt(int index, const QString& caption, int fmt, int width) {
  const int n = columnCount();
  if (index < 0) return -1;
  if (index > n) index = n;
  model_->insertColumnAt(index, caption, fmt);
  setColumnWidth(index, std::max(0, width));
  return index;
}

bool FinListView::deleteColumnAt(int index) {
  if (index < 0 || index >= columnCount()) return false;
  QuietScope q(QuietCounter());
  model_->removeColumnAt(index);
  return true;
}

void FinListView::deleteAllColumns() {
  QuietScope q(QuietCounter());
  model_->removeAllColumns();
}

void FinListView::setColumnFormat(int col, int fmt) { model_->setColumnFormat(col, fmt); }

int FinListView::insertRowAt(int row, const std::string& text, LParam data, int image) {
  if (row < 0) return -1;
  QuietScope q(QuietCounter());
  row = model_->insertRowAt(row, text, data, image);
  if (selectionMark >= row) ++selectionMark;
  return row;
}

void FinListView::appendRows(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::string_view> views;
  for (const auto& cells : rows) {
    views.assign(cells.begin(), cells.end());
    appendRow(views.data(), views.size());
  }
}

int FinListView::appendRow(const std::string_view* cells, std::size_t count) {
  QuietScope q(QuietCounter());
  const int row = rowCount();
  model_->appendRow(cells, count);
  if (selectionMark >= row) ++selectionMark;
  return row;
}

bool FinListView::setCellText(int row, int col, const std::string& text) {
  if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return false;
  QuietScope q(QuietCounter());
  model_->setText(row, col, text);
  return true;
}

void FinListView::rewriteColumns(const std::vector<int>& cols, const ListRows::Rewrite& rewrite) {
  QuietScope q(QuietCounter());
  model_->rewriteColumns(cols, rewrite);
}

bool FinListView::setCellImage(int row, int col, int image) {
  if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return false;
  QuietScope q(QuietCounter());
  model_->setImage(row, col, image);
  return true;
}

bool FinListView::deleteRowAt(int row) {
  if (row < 0 || row >= rowCount()) return false;
  QuietScope q(QuietCounter());
  model_->removeRowAt(row);
  if (selectionMark == row)
    selectionMark = -1;
  else if (selectionMark > row)
    --selectionMark;
  return true;
}

void FinListView::deleteAllRows() {
  QuietScope q(QuietCounter());
  model_->removeAllRows();
  selectionMark = -1;
}

unsigned FinListView::rowState(int row) const {
  if (row < 0 || row >= rowCount()) return 0;
  unsigned s = 0;
  if (selectionModel() && selectionModel()->isRowSelected(row, QModelIndex())) s |= LVIS_SELECTED;
  if (currentIndex().isValid() && currentIndex().row() == row) s |= LVIS_FOCUSED;
  if (lvExStyle & LVS_EX_CHECKBOXES) s |= model_->rows.checked(row) ? 0x2000u : 0x1000u;
  return s;
}

bool FinListView::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::Paint) model_->flush();
  return QTableView::viewportEvent(e);
}

void FinListView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && (lvExStyle & LVS_EX_CHECKBOXES) && currentIndex().isValid()) {
    const int row = currentIndex().row();
    model_->setChecked(row, !model_->rows.checked(row));
    return;
  }
  const bool homeOrEnd =
      (e->key() == Qt::Key_Home || e->key() == Qt::Key_End) && !(e->modifiers() & Qt::ShiftModifier);
  QTableView::keyPressEvent(e);
  // Already on the first (last) row: Home (End) still makes it the one selected row and the mark.
  const QModelIndex current = currentIndex();
  if (!homeOrEnd || !current.isValid() || !selectionModel()) return;
  const bool alone = selectionModel()->selectedRows().size() == 1 &&
                     selectionModel()->isRowSelected(current.row(), QModelIndex());
  if (!alone) selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  selectionMark = current.row();
}

QModelIndex FinListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action == MoveHome || action == MoveEnd) {
    const int rows = model()->rowCount();   // every row appended so far
    if (rows == 0 || columnCount() == 0) return QModelIndex();
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    return model()->index(action == MoveHome ? 0 : rows - 1, column);
  }
  return QTableView::moveCursor(action, modifiers);
}

QItemSelectionModel::SelectionFlags FinListView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
  if (event && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        if (key->modifiers() & Qt::ControlModifier) {
          const QKeyEvent plain(key->type(), key->key(), key->modifiers() & ~Qt::ControlModifier, key->text(),
                                key->isAutoRepeat(), static_cast<quint16>(key->count()));
          return QTableView::selectionCommand(index, &plain);
        }
        break;
      default:
        break;
    }
  }
  return QTableView::selectionCommand(index, event);
}

// ---------------------------------------------------------------------------------------------------------------
// Tree view
// ---------------------------------------------------------------------------------------------------------------
namespace {
std::unordered_map<std::intptr_t, FinTreeItem*>& TreeItems() {
  static std::unordered_map<std::intptr_t, FinTreeItem*> m;
  return m;
}
std::intptr_t gNextTreeItem = 0x10000;
}  // namespace

FinTreeItem::FinTreeItem() {
  handle = gNextTreeItem;
  gNextTreeItem += 4;
  TreeItems()[handle] = this;
}
FinTreeItem::~FinTreeItem() { TreeItems().erase(handle); }

FinTreeItem* TreeItemOf(std::intptr_t handle) {
  auto it = TreeItems().find(handle);
  return it == TreeItems().end() ? nullptr : it->second;
}

void TreeApplyImages(FinTreeView* tree, FinTreeItem* item) {
  if (!tree->images) {
    item->setIcon(0, QIcon());
    return;
  }
  QIcon normal = ImlGetIcon(tree->images, item->image);
  QIcon selected = ImlGetIcon(tree->images, item->selectedImage);
  if (normal.isNull() && selected.isNull()) {
    item->setIcon(0, QIcon());
    return;
  }
  QIcon icon;
  for (QSize sz : {QSize(16, 16), QSize(32, 32)}) {
    if (!normal.isNull()) icon.addPixmap(normal.pixmap(sz), QIcon::Normal);
    if (!selected.isNull()) icon.addPixmap(selected.pixmap(sz), QIcon::Selected);
  }
  item->setIcon(0, icon);
}

FinTreeView::FinTreeView(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformRowHeights(true);
}

// ---------------------------------------------------------------------------------------------------------------
// Status bar
// ---------------------------------------------------------------------------------------------------------------
FinStatusBar::FinStatusBar(QWidget* parent, std::uint32_t style) : QWidget(parent) {
  setAttribute(Qt::WA_Hover);
  (void)style;
}

bool FinStatusBar::setParts(const std::vector<int>& rightEdges) {
  if (rightEdges.empty() || rightEdges.size() > 256) return false;
  edges = rightEdges;
  parts.resize(rightEdges.size());
  update();
  return true;
}

QRect FinStatusBar::partRect(int part) const {
  if (part < 0 || part >= static_cast<int>(edges.size())) return QRect();
  int left = part == 0 ? 0 : edges[static_cast<size_t>(part - 1)];
  if (left < 0) left = width();
  int right = edges[static_cast<size_t>(part)];
  if (right < 0 || right > width()) right = width();
  if (right < left) right = left;
  return QRect(left, 0, right - left, height());
}

void FinStatusBar::dock() {
  QWidget* p = parentWidget();
  if (!p) return;
  const int hgt = std::max(22, fontMetrics().height() + 8);
  setGeometry(0, p->height() - hgt, p->width(), hgt);
}

void FinStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
    QRect r = partRect(i).adjusted(0, 2, -2, 0);
    if (r.width() <= 0) continue;
    const Part& p = parts[static_cast<size_t>(i)];
    if (!(p.type & SBT_NOBORDERS)) {
      QStyleOptionFrame opt;
      opt.initFrom(this);
      opt.rect = r;
      opt.lineWidth = 1;
      opt.state |= (p.type & SBT_POPOUT) ? QStyle::State_Raised : QStyle::State_Sunken;
      style()->drawPrimitive(QStyle::PE_Frame, &opt, &painter, this);
    }
    QRect inner = r.adjusted(3, 1, -2, -1);
    if (!p.icon.isNull()) {
      const int s = std::min(16, inner.height());
      p.icon.paint(&painter, QRect(inner.left(), inner.top() + (inner.height() - s) / 2, s, s));
      inner.setLeft(inner.left() + s + 3);
    }
    QString txt = ToQ(p.text);
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(txt, Qt::ElideRight, inner.width()));
  }
}

bool FinStatusBar::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* he = static_cast<QHelpEvent*>(e);
    for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
      if (partRect(i).contains(he->pos()) && !parts[static_cast<size_t>(i)].tip.empty()) {
        QToolTip::showText(he->globalPos(), ToQ(parts[static_cast<size_t>(i)].tip), this, partRect(i));
        return true;
      }
    }
    QToolTip::hideText();
    e->ignore();
    return true;
  }
  return QWidget::event(e);
}

// ---------------------------------------------------------------------------------------------------------------
// Toolbar and rebar
// ---------------------------------------------------------------------------------------------------------------
FinToolBar::FinToolBar(QWidget* parent, std::uint32_t style) : QToolBar(parent), tbStyle(style) {
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(16, 16));
  setToolButtonStyle((style & TBSTYLE_LIST) ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
}

void FinToolBar::dock() {
  QWidget* p = parentWidget();
  if (!p || dynamic_cast<FinReBar*>(p)) return;
  if (tbStyle & (CCS_NORESIZE | CCS_NOPARENTALIGN)) return;
  setGeometry(0, 0, p->width(), sizeHint().height());
}

void FinToolBar::evenWidths() {
  // Buttons without the auto-size flag share one width: the widest of them.
  int widest = 0;
  std::vector<QWidget*> fixed;
  for (QAction* a : actions()) {
    if (a->isSeparator() || a->property("fin_autosize").toBool()) continue;
    if (QWidget* w = widgetForAction(a)) {
      w->setMinimumWidth(0);
      widest = std::max(widest, w->sizeHint().width());
      fixed.push_back(w);
    }
  }
  for (QWidget* w : fixed) w->setMinimumWidth(widest);
}

FinReBar::FinReBar(QWidget* parent, std::uint32_t style) : QWidget(parent), rbStyle(style) {}

void FinReBar::relayout() {
  int y = 2;
  for (auto& b : bands) {
    if (!b) continue;
    const int hgt = std::max(bandMinHeight, b->sizeHint().height());
    b->setGeometry(10, y, std::max(0, width() - 12), hgt);
    y += hgt + 2;
  }
  if (!(rbStyle & CCS_NORESIZE) && y > 2 && height() != y) resize(width(), y);
}

void FinReBar::dock() {
  QWidget* p = parentWidget();
  if (!p || (rbStyle & (CCS_NOPARENTALIGN | CCS_NORESIZE))) return;
  setGeometry(0, 0, p->width(), height());
}

void FinReBar::resizeEvent(QResizeEvent*) { relayout(); }

// ---------------------------------------------------------------------------------------------------------------
// Window texts
// ---------------------------------------------------------------------------------------------------------------
namespace {
QString ToCrLf(QString s) {
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\n'), QStringLiteral("\r\n"));
  return s;
}
QString FromCrLf(QString s) {
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}
}  // namespace

std::string CtlTextOf(QWidget* w) {
  if (!w) return std::string();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return FromQ(e->text());
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return FromQ(ToCrLf(e->toPlainText()));
  if (auto* e = qobject_cast<QTextEdit*>(w)) return FromQ(ToCrLf(e->toPlainText()));
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return FromQ(b->text());
  if (auto* g = qobject_cast<QGroupBox*>(w)) return FromQ(g->title());
  if (auto* l = qobject_cast<QLabel*>(w)) return FromQ(l->text());
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (c->isEditable()) return FromQ(c->currentText());
    return c->currentIndex() >= 0 ? FromQ(c->currentText()) : std::string();
  }
  if (auto* d = qobject_cast<QDateTimeEdit*>(w)) return FromQ(d->text());
  if (auto* s = dynamic_cast<FinStatusBar*>(w)) return s->parts.empty() ? std::string() : s->parts[0].text;
  if (qobject_cast<QProgressBar*>(w) || qobject_cast<QAbstractItemView*>(w)) return FromQ(w->windowTitle());
  QString t = w->windowTitle();
  if (t.isEmpty())
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) t = sub->windowTitle();
  return FromQ(t);
}

bool EditLimitDigits(QWidget* w, int digits) {
  auto* e = qobject_cast<QLineEdit*>(w);
  if (!e) return false;
  EditValidatorOf(e)->setDigitLimit(std::max(digits, 0));
  return true;
}

bool CtlSetTextOf(Hwnd h, QWidget* w, const std::string& text) {
  if (!w) return false;
  QString q = ToQ(text);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    WinInfo* i = WinInfoOf(h);
    std::uint32_t st = i ? i->style : 0;
    if (st & ES_UPPERCASE) q = q.toUpper();
    if (st & ES_LOWERCASE) q = q.toLower();
    const auto before = gEnChangeCount;
    if (auto* v = dynamic_cast<EditValidator*>(const_cast<QValidator*>(e->validator()))) v->setText(q);
    e->setText(q);
    if (gEnChangeCount == before && i && i->className.size() && Upper(i->className) == "EDIT") SendEnChange(h);
    return true;
  }
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    const auto before = gEnChangeCount;
    e->setPlainText(FromCrLf(q));
    if (gEnChangeCount == before) SendEnChange(h);
    return true;
  }
  if (auto* e = qobject_cast<QTextEdit*>(w)) {
    const auto before = gEnChangeCount;
    e->setPlainText(FromCrLf(q));
    if (gEnChangeCount == before) SendEnChange(h);
    return true;
  }
  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(q);
    return true;
  }
  if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(q);
    return true;
  }
  if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(q);
    return true;
  }
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (!c->isEditable()) return false;
    c->setEditText(q);
    return true;
  }
  if (qobject_cast<QDateTimeEdit*>(w) || qobject_cast<QProgressBar*>(w)) return false;
  if (auto* s = dynamic_cast<FinStatusBar*>(w)) {
    s->parts[0].text = text;
    s->update();
    return true;
  }
  w->setWindowTitle(q);
  if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) sub->setWindowTitle(q);
  return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------------------------------------------
namespace {
enum class Kind { None, Edit, Static, Button, ComboBox, ListBox, ListView, TreeView, DatePicker, RichEdit, Progress,
                  StatusBar, Toolbar, ReBar, ToolTip, MdiClient };

Kind KindOf(const std::string& className) {
  static const std::map<std::string, Kind> kinds = {
      {"EDIT", Kind::Edit},           {"STATIC", Kind::Static},
      {"BUTTON", Kind::Button},       {"COMBOBOX", Kind::ComboBox},
      {"LISTBOX", Kind::ListBox},     {"SYSLISTVIEW32", Kind::ListView},
      {"SYSTREEVIEW32", Kind::TreeView}, {"SYSDATETIMEPICK32", Kind::DatePicker},
      {"RICHEDIT", Kind::RichEdit},   {"RICHEDIT20A", Kind::RichEdit},
      {"RICHEDIT20W", Kind::RichEdit}, {"RICHEDIT50W", Kind::RichEdit},
      {"RICHEDIT60W", Kind::RichEdit}, {"MSCTLS_PROGRESS32", Kind::Progress},
      {"MSCTLS_STATUSBAR32", Kind::StatusBar}, {"TOOLBARWINDOW32", Kind::Toolbar},
      {"REBARWINDOW32", Kind::ReBar}, {"TOOLTIPS_CLASS32", Kind::ToolTip},
      {"MDICLIENT", Kind::MdiClient},
  };
  auto it = kinds.find(Upper(className));
  return it == kinds.end() ? Kind::None : it->second;
}

// Docking controls (status bar, rebar, toolbar) follow their parent's size, as they do on a WM_SIZE.
class DockFilter : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Resize) {
      for (QObject* c : o->children()) {
        if (auto* s = dynamic_cast<FinStatusBar*>(c)) s->dock();
        else if (auto* r = dynamic_cast<FinReBar*>(c)) r->dock();
        else if (auto* t = dynamic_cast<FinToolBar*>(c)) t->dock();
      }
    }
    return false;
  }
};
void DockToParent(QWidget* parent) {
  static DockFilter* f = new DockFilter;
  if (!parent || parent->property("fin_dock").toBool()) return;
  parent->setProperty("fin_dock", true);
  parent->installEventFilter(f);
}

// Radio groups: an automatic radio button joins the group of the radio buttons created before it on the same
// parent, until a control with WS_GROUP starts a new group.
QButtonGroup* RadioGroupFor(QWidget* parent, bool startNew) {
  auto* g = parent ? parent->property("fin_radiogroup").value<QButtonGroup*>() : nullptr;
  if (startNew || !g) {
    g = new QButtonGroup(parent);
    g->setExclusive(true);
    if (parent) parent->setProperty("fin_radiogroup", QVariant::fromValue(g));
  }
  return g;
}

QWidget* MakeEdit(Hwnd& h, QWidget* parent, const std::string& caption, std::uint32_t style, std::uint32_t exStyle) {
  if (style & ES_MULTILINE) {
    auto* e = new QPlainTextEdit(parent);
    e->setPlainText(FromCrLf(ToQ(caption)));
    e->setReadOnly((style & ES_READONLY) != 0);
    e->setTabChangesFocus(false);
    e->setLineWrapMode((style & WS_HSCROLL) || (style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                                        : QPlainTextEdit::WidgetWidth);
    if (!(style & WS_BORDER) && !(exStyle & WS_EX_CLIENTEDGE)) e->setFrameShape(QFrame::NoFrame);
    h = WinHandle(e);
    Hwnd hh = h;
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [hh] { SendEnChange(hh); });
    MarkPart(e->viewport(), h);
    e->viewport()->installEventFilter(Events());
    return e;
  }
  auto* e = new QLineEdit(parent);
  e->setMaxLength(INT_MAX / 2);
  e->setText(ToQ(caption));
  if (style & ES_PASSWORD) e->setEchoMode(QLineEdit::Password);
  if (style & ES_READONLY) e->setReadOnly(true);
  if (style & ES_CENTER)
    e->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  else if (style & ES_RIGHT)
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  e->setValidator(new EditValidator(e, style));
  if (!(style & WS_BORDER) && !(exStyle & WS_EX_CLIENTEDGE)) e->setFrame(false);
  h = WinHandle(e);
  Hwnd hh = h;
  QObject::connect(e, &QLineEdit::textChanged, e, [hh] { SendEnChange(hh); });
  return e;
}

QWidget* MakeStatic(Hwnd& h, QWidget* parent, const std::string& caption, std::uint32_t style,
                    std::uint32_t exStyle) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);
  const std::uint32_t type = style & SS_TYPEMASK;
  if (type == SS_BITMAP || type == SS_ICON) {
    l->setAlignment((style & SS_CENTERIMAGE) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
  } else {
    l->setText(ToQ(caption));
    Qt::Alignment a = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    a |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    l->setAlignment(a);
    l->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
  }
  if ((style & SS_SUNKEN) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)))
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  else if (style & WS_BORDER)
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
  h = WinHandle(l);
  return l;
}

QWidget* MakeButton(Hwnd& h, QWidget* parent, const std::string& caption, std::uint32_t style) {
  const std::uint32_t type = style & BS_TYPEMASK;
  const QString text = ToQ(caption);
  QAbstractButton* b = nullptr;
  switch (type) {
    case BS_GROUPBOX: {
      auto* g = new QGroupBox(text, parent);
      g->setFocusPolicy(Qt::NoFocus);
      // A group box frames the controls in it and never hides them: it stands behind its siblings, also behind the
      // ones made before it (a heading inside its frame, the buttons in it), whatever colours its form gives it,
      // and leaves their clicks to them.
      g->lower();
      h = WinHandle(g);
      return g;
    }
    case BS_CHECKBOX: b = new ManualCheckBox(text, parent); break;
    case BS_AUTOCHECKBOX: b = new QCheckBox(text, parent); break;
    case BS_3STATE: {
      auto* c = new ManualCheckBox(text, parent);
      c->setTristate(true);
      b = c;
      break;
    }
    case BS_AUTO3STATE: {
      auto* c = new QCheckBox(text, parent);
      c->setTristate(true);
      b = c;
      break;
    }
    case BS_RADIOBUTTON: {
      auto* r = new ManualRadioButton(text, parent);
      r->setAutoExclusive(false);
      b = r;
      break;
    }
    case BS_AUTORADIOBUTTON: {
      auto* r = new QRadioButton(text, parent);
      r->setAutoExclusive(false);
      RadioGroupFor(parent, (style & WS_GROUP) != 0)->addButton(r);
      b = r;
      break;
    }
    default: {
      auto* p = new QPushButton(text, parent);
      p->setAutoDefault(false);
      p->setDefault(false);
      b = p;
      break;
    }
  }
  h = WinHandle(b);
  Hwnd hh = h;
  QObject::connect(b, &QAbstractButton::clicked, b, [hh] { CtlNotifyCommand(hh, BN_CLICKED); });
  return b;
}

QWidget* MakeCombo(Hwnd& h, QWidget* parent, std::uint32_t style) {
  auto* c = new QComboBox(parent);
  const std::uint32_t type = style & 0x3;
  c->setEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
  c->setInsertPolicy(QComboBox::NoInsert);
  c->setMaxVisibleItems(20);
  if (c->isEditable()) c->setCompleter(nullptr);
  h = WinHandle(c);
  Hwnd hh = h;
  QObject::connect(c, &QComboBox::activated, c, [hh](int) { CtlNotifyCommand(hh, CBN_SELCHANGE); });
  if (c->isEditable()) {
    QObject::connect(c->lineEdit(), &QLineEdit::textEdited, c, [hh](const QString&) {
      CtlNotifyCommand(hh, CBN_EDITUPDATE);
      if (IsWindow(hh)) CtlNotifyCommand(hh, CBN_EDITCHANGE);
    });
    MarkPart(c->lineEdit(), h);
    c->lineEdit()->installEventFilter(Events());
  }
  return c;
}

QWidget* MakeListBox(Hwnd& h, QWidget* parent, std::uint32_t style) {
  auto* l = new QListWidget(parent);
  l->setSelectionMode((style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) ? QAbstractItemView::ExtendedSelection
                                                                     : QAbstractItemView::SingleSelection);
  l->setEditTriggers(QAbstractItemView::NoEditTriggers);
  l->setSortingEnabled(false);
  h = WinHandle(l);
  Hwnd hh = h;
  if (style & LBS_NOTIFY) {
    QObject::connect(l, &QListWidget::itemSelectionChanged, l, [hh] {
      if (!Quiet()) CtlNotifyCommand(hh, LBN_SELCHANGE);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, l,
                     [hh](QListWidgetItem*) { CtlNotifyCommand(hh, LBN_DBLCLK); });
  }
  MarkPart(l->viewport(), h);
  l->viewport()->installEventFilter(Events());
  return l;
}

LParam RowData(FinListView* lv, int row) {
  return row >= 0 && row < lv->rowCount() ? lv->listModel()->rows.data(row) : 0;
}

QWidget* MakeListView(Hwnd& h, QWidget* parent, std::uint32_t style) {
  auto* lv = new FinListView(parent, style);
  h = WinHandle(lv);
  Hwnd hh = h;
  QPointer<FinListView> p(lv);
  QObject::connect(lv->selectionModel(), &QItemSelectionModel::selectionChanged, lv,
                   [p, hh](const QItemSelection& sel, const QItemSelection& desel) {
                     if (!p || Quiet()) return;
                     std::vector<int> off, on;
                     for (const QModelIndex& i : desel.indexes())
                       if (i.column() == 0) off.push_back(i.row());
                     for (const QModelIndex& i : sel.indexes())
                       if (i.column() == 0) on.push_back(i.row());
                     for (int r : off) {
                       if (!p) return;
                       unsigned ns = p->rowState(r) & ~LVIS_SELECTED;
                       NotifyListView(hh, LVN_ITEMCHANGED, r, 0, ns, ns | LVIS_SELECTED, LVIF_STATE,
                                      RowData(p, r));
                     }
                     for (int r : on) {
                       if (!p) return;
                       unsigned ns = p->rowState(r) | LVIS_SELECTED;
                       NotifyListView(hh, LVN_ITEMCHANGED, r, 0, ns, ns & ~LVIS_SELECTED, LVIF_STATE,
                                      RowData(p, r));
                     }
                   });
  QObject::connect(lv->selectionModel(), &QItemSelectionModel::currentRowChanged, lv,
                   [p](const QModelIndex& cur, const QModelIndex&) {
                     if (!p || Quiet()) return;
                     if (cur.isValid()) p->selectionMark = cur.row();
                   });
  lv->listModel()->checkChanged = [p, hh](int row) {
    if (!p || Quiet() || !(p->lvExStyle & LVS_EX_CHECKBOXES)) return;
    const unsigned ns = p->rowState(row);
    const unsigned os = (ns & ~LVIS_STATEIMAGEMASK) | ((ns & 0x2000u) ? 0x1000u : 0x2000u);
    NotifyListView(hh, LVN_ITEMCHANGED, row, 0, ns, os, LVIF_STATE, RowData(p, row));
  };
  QObject::connect(lv->horizontalHeader(), &QHeaderView::sectionClicked, lv,
                   [hh](int col) { NotifyListView(hh, LVN_COLUMNCLICK, -1, col); });
  MarkPart(lv->viewport(), h);
  lv->viewport()->installEventFilter(Events());
  return lv;
}

QWidget* MakeTreeView(Hwnd& h, QWidget* parent, std::uint32_t style) {
  auto* tv = new FinTreeView(parent);
  tv->setRootIsDecorated((style & TVS_LINESATROOT) != 0);
  h = WinHandle(tv);
  Hwnd hh = h;
  QObject::connect(tv, &QTreeWidget::currentItemChanged, tv, [hh](QTreeWidgetItem* cur, QTreeWidgetItem* prev) {
    if (Quiet()) return;
    NmTreeView nm;
    nm.hdr.code = TVN_SELCHANGED;
    auto* c = dynamic_cast<FinTreeItem*>(cur);
    auto* o = dynamic_cast<FinTreeItem*>(prev);
    nm.itemNew = c ? c->handle : 0;
    nm.itemOld = o ? o->handle : 0;
    CtlNotify(hh, &nm.hdr);
  });
  MarkPart(tv->viewport(), h);
  tv->viewport()->installEventFilter(Events());
  return tv;
}

QString PickerFormat(std::uint32_t style) {
  if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) return QLocale().timeFormat(QLocale::LongFormat);
  if (style & DTS_LONGDATEFORMAT) return QLocale().dateFormat(QLocale::LongFormat);
  QString f = QLocale().dateFormat(QLocale::ShortFormat);
  if (!f.contains(QStringLiteral("yyyy"))) f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
  return f;
}

QWidget* MakeDatePicker(Hwnd& h, QWidget* parent, std::uint32_t style) {
  auto* d = new QDateTimeEdit(QDateTime(QDate::currentDate(), QTime(0, 0)), parent);
  d->setDisplayFormat(PickerFormat(style));
  d->setCalendarPopup(!(style & DTS_UPDOWN));
  h = WinHandle(d);
  Hwnd hh = h;
  QObject::connect(d, &QDateTimeEdit::dateTimeChanged, d, [hh](const QDateTime& dt) {
    if (Quiet()) return;
    NmDateTimeChange nm;
    nm.hdr.code = DTN_DATETIMECHANGE;
    nm.dwFlags = GDT_VALID;
    nm.st.wYear = static_cast<unsigned short>(dt.date().year());
    nm.st.wMonth = static_cast<unsigned short>(dt.date().month());
    nm.st.wDay = static_cast<unsigned short>(dt.date().day());
    nm.st.wDayOfWeek = static_cast<unsigned short>(dt.date().dayOfWeek() % 7);
    nm.st.wHour = static_cast<unsigned short>(dt.time().hour());
    nm.st.wMinute = static_cast<unsigned short>(dt.time().minute());
    nm.st.wSecond = static_cast<unsigned short>(dt.time().second());
    CtlNotify(hh, &nm.hdr);
  });
  return d;
}

QWidget* MakeRichEdit(Hwnd& h, QWidget* parent, const std::string& caption, std::uint32_t style,
                      std::uint32_t exStyle) {
  auto* e = new QTextEdit(parent);
  e->setAcceptRichText(false);
  e->setPlainText(FromCrLf(ToQ(caption)));
  e->setReadOnly((style & ES_READONLY) != 0);
  e->setTabChangesFocus(false);
  if (!(style & WS_BORDER) && !(exStyle & WS_EX_CLIENTEDGE)) e->setFrameShape(QFrame::NoFrame);
  h = WinHandle(e);
  Hwnd hh = h;
  QObject::connect(e, &QTextEdit::textChanged, e, [hh] { SendEnChange(hh); });
  MarkPart(e->viewport(), h);
  e->viewport()->installEventFilter(Events());
  return e;
}
}  // namespace

bool WinIsControlClass(const std::string& className) { return KindOf(className) != Kind::None; }

Hwnd WinCreateControl(std::uint32_t exStyle, const std::string& className, const std::string& caption,
                      std::uint32_t style, int x, int y, int w, int h, Hwnd parent, int id) {
  const Kind kind = KindOf(className);
  if (kind == Kind::None) return 0;
  QWidget* pw = parent ? WinClientWidget(parent) : nullptr;
  if (!pw) pw = WinWidget(parent);
  if (!pw && (style & WS_CHILD)) return 0;
  if (pw && (style & WS_GROUP)) pw->setProperty("fin_radiogroup", QVariant());

  Hwnd hwnd = 0;
  QWidget* widget = nullptr;
  bool tabStop = (style & WS_TABSTOP) != 0;
  bool takesClickFocus = true;
  switch (kind) {
    case Kind::Edit: widget = MakeEdit(hwnd, pw, caption, style, exStyle); break;
    case Kind::RichEdit: widget = MakeRichEdit(hwnd, pw, caption, style, exStyle); break;
    case Kind::Static:
      widget = MakeStatic(hwnd, pw, caption, style, exStyle);
      takesClickFocus = false;
      break;
    case Kind::Button:
      widget = MakeButton(hwnd, pw, caption, style);
      if ((style & BS_TYPEMASK) == BS_GROUPBOX) takesClickFocus = false;
      break;
    case Kind::ComboBox: widget = MakeCombo(hwnd, pw, style); break;
    case Kind::ListBox: widget = MakeListBox(hwnd, pw, style); break;
    case Kind::ListView: widget = MakeListView(hwnd, pw, style); break;
    case Kind::TreeView: widget = MakeTreeView(hwnd, pw, style); break;
    case Kind::DatePicker: widget = MakeDatePicker(hwnd, pw, style); break;
    case Kind::Progress: {
      auto* p = new QProgressBar(pw);
      p->setRange(0, 100);
      p->setValue(0);
      p->setTextVisible(false);
      if (style & PBS_VERTICAL) p->setOrientation(Qt::Vertical);
      widget = p;
      hwnd = WinHandle(p);
      takesClickFocus = false;
      break;
    }
    case Kind::StatusBar: {
      auto* s = new FinStatusBar(pw, style);
      widget = s;
      hwnd = WinHandle(s);
      takesClickFocus = false;
      break;
    }
    case Kind::Toolbar: {
      auto* t = new FinToolBar(pw, style);
      widget = t;
      hwnd = WinHandle(t);
      takesClickFocus = false;
      break;
    }
    case Kind::ReBar: {
      auto* r = new FinReBar(pw, style);
      widget = r;
      hwnd = WinHandle(r);
      takesClickFocus = false;
      break;
    }
    case Kind::ToolTip: {
      auto* t = new QWidget(pw);
      t->setAttribute(Qt::WA_DontShowOnScreen);
      widget = t;
      hwnd = WinHandle(t);
      takesClickFocus = false;
      break;
    }
    case Kind::MdiClient: {
      auto* m = new QMdiArea(pw);
      widget = m;
      hwnd = WinHandle(m);
      takesClickFocus = false;
      break;
    }
    case Kind::None: return 0;
  }
  if (!widget) return 0;

  WinInfo* info = WinInfoOf(hwnd);
  info->className = className;
  info->style = style;
  info->exStyle = exStyle;
  info->id = id;

  Watch(widget, hwnd);
  widget->setFocusPolicy(tabStop ? Qt::StrongFocus : takesClickFocus ? Qt::ClickFocus : Qt::NoFocus);
  if (kind == Kind::ListView || kind == Kind::TreeView || kind == Kind::ListBox) {
    // Item views move between items with the arrow keys, not Tab.
    if (auto* v = qobject_cast<QAbstractItemView*>(widget)) v->setTabKeyNavigation(false);
  }

  if (kind == Kind::ComboBox) {
    // The height a combo box is created with includes its drop-down list; the box itself keeps its own height.
    const int ch = widget->sizeHint().height();
    widget->setGeometry(x, y, w, ch);
  } else if (kind == Kind::StatusBar) {
    static_cast<FinStatusBar*>(widget)->dock();
    DockToParent(pw);
  } else if (kind == Kind::ReBar) {
    widget->setGeometry(x, y, w, h);
    static_cast<FinReBar*>(widget)->dock();
    DockToParent(pw);
  } else if (kind == Kind::Toolbar) {
    widget->setGeometry(x, y, w, h > 0 ? h : widget->sizeHint().height());
    static_cast<FinToolBar*>(widget)->dock();
    DockToParent(pw);
  } else if (kind != Kind::ToolTip) {
    widget->setGeometry(x, y, w, h);
  }

  if (style & WS_DISABLED) widget->setEnabled(false);
  if (kind == Kind::ToolTip)
    widget->setVisible(false);
  else if (pw || (style & WS_VISIBLE))
    widget->setVisible((style & WS_VISIBLE) != 0);
  return hwnd;
}

// ---------------------------------------------------------------------------------------------------------------
// Default message handling
// ---------------------------------------------------------------------------------------------------------------
namespace {
QString TextArg(LParam l) { return l ? QString::fromUtf8(reinterpret_cast<const char*>(l)) : QString(); }

LResult CopyOut(const std::string& s, WParam size, LParam buf) {
  if (!buf || size == 0) return 0;
  size_t n = std::min<size_t>(s.size(), static_cast<size_t>(size) - 1);
  std::memcpy(reinterpret_cast<char*>(buf), s.data(), n);
  reinterpret_cast<char*>(buf)[n] = '\0';
  return static_cast<LResult>(n);
}

int ComboFind(QComboBox* c, const QString& text, bool exact) {
  const int n = c->count();
  for (int k = 1; k <= n; ++k) {
    int i = k % n;   // after item 0, wrapping back to it
    const QString t = c->itemText(i);
    if (exact ? t.compare(text, Qt::CaseInsensitive) == 0 : t.startsWith(text, Qt::CaseInsensitive)) return i;
  }
  return CB_ERR;
}
int ListFind(QListWidget* l, const QString& text, bool exact) {
  const int n = l->count();
  for (int k = 1; k <= n; ++k) {
    int i = k % n;
    const QString t = l->item(i)->text();
    if (exact ? t.compare(text, Qt::CaseInsensitive) == 0 : t.startsWith(text, Qt::CaseInsensitive)) return i;
  }
  return LB_ERR;
}
int SortedPos(const QStringList& items, const QString& text) {
  int i = 0;
  while (i < items.size() && items[i].compare(text, Qt::CaseInsensitive) <= 0) ++i;
  return i;
}

void SetSel(QWidget* w, long long start, long long end) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    const int len = static_cast<int>(e->text().size());
    if (start < 0) {
      e->deselect();
      return;
    }
    if (end < 0 || end > len) end = len;
    if (start > len) start = len;
    if (start == 0 && end == len) {
      e->selectAll();
      return;
    }
    if (end < start) std::swap(start, end);
    e->setSelection(static_cast<int>(start), static_cast<int>(end - start));
    return;
  }
  QTextCursor c;
  QPlainTextEdit* pe = qobject_cast<QPlainTextEdit*>(w);
  QTextEdit* te = qobject_cast<QTextEdit*>(w);
  if (pe) c = pe->textCursor();
  else if (te) c = te->textCursor();
  else return;
  const int len = static_cast<int>((pe ? pe->document() : te->document())->characterCount()) - 1;
  if (start < 0) {
    c.clearSelection();
  } else {
    if (end < 0 || end > len) end = len;
    if (start > len) start = len;
    c.setPosition(static_cast<int>(start));
    c.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
  }
  if (pe) pe->setTextCursor(c);
  else te->setTextCursor(c);
}
}  // namespace

LResult WinControlDefProc(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  QWidget* w = WinWidget(h);
  if (!w) return 0;
  switch (msg) {
    case WM_SETTEXT:
      return CtlSetTextOf(h, w, lParam ? std::string(reinterpret_cast<const char*>(lParam)) : std::string()) ? 1 : 0;
    case WM_GETTEXT: return CopyOut(CtlTextOf(w), wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LResult>(CtlTextOf(w).size());
    case WM_SETFONT:
      if (FontExists(static_cast<std::intptr_t>(wParam))) w->setFont(FontFromHandle(static_cast<std::intptr_t>(wParam)));
      return 0;
    case DTM_SETMCFONT:
      if (auto* d = qobject_cast<QDateTimeEdit*>(w); d && d->calendarWidget() &&
                                                     FontExists(static_cast<std::intptr_t>(wParam)))
        d->calendarWidget()->setFont(FontFromHandle(static_cast<std::intptr_t>(wParam)));
      return 0;
    case WM_SIZE:
      if (auto* s = dynamic_cast<FinStatusBar*>(w)) s->dock();
      else if (auto* r = dynamic_cast<FinReBar*>(w)) r->dock();
      else if (auto* t = dynamic_cast<FinToolBar*>(w)) t->dock();
      return 0;
    default: break;
  }

  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w)) {
    switch (msg) {
      case EM_SETSEL:
        SetSel(w, static_cast<long long>(static_cast<std::intptr_t>(wParam)), static_cast<long long>(lParam));
        return 0;
      case EM_GETSEL: {
        int s = 0, e = 0;
        if (auto* le = qobject_cast<QLineEdit*>(w)) {
          if (le->hasSelectedText()) {
            s = le->selectionStart();
            e = le->selectionEnd();
          } else {
            s = e = le->cursorPosition();
          }
        } else {
          QTextCursor c = qobject_cast<QPlainTextEdit*>(w) ? qobject_cast<QPlainTextEdit*>(w)->textCursor()
                                                            : qobject_cast<QTextEdit*>(w)->textCursor();
          s = c.selectionStart();
          e = c.selectionEnd();
        }
        return MAKELPARAM(static_cast<unsigned>(s), static_cast<unsigned>(e));
      }
      case EM_LIMITTEXT:
        if (auto* le = qobject_cast<QLineEdit*>(w))
          EditValidatorOf(le)->setLimit(wParam == 0 ? 0 : static_cast<int>(wParam));
        return 0;
      case EM_SETMARGINS: return 0;
      case EM_SETREADONLY:
        if (auto* le = qobject_cast<QLineEdit*>(w)) le->setReadOnly(wParam != 0);
        else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) pe->setReadOnly(wParam != 0);
        else if (auto* te = qobject_cast<QTextEdit*>(w)) te->setReadOnly(wParam != 0);
        return 1;
      default: return 0;
    }
  }

  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    switch (msg) {
      case BM_GETCHECK:
        if (auto* c = qobject_cast<QCheckBox*>(b)) {
          Qt::CheckState s = c->checkState();
          return s == Qt::Checked ? BST_CHECKED : s == Qt::PartiallyChecked ? BST_INDETERMINATE : BST_UNCHECKED;
        }
        return b->isCheckable() && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
      case BM_SETCHECK:
        if (auto* c = qobject_cast<QCheckBox*>(b)) {
          c->setCheckState(wParam == BST_CHECKED ? Qt::Checked
                           : wParam == BST_INDETERMINATE && c->isTristate() ? Qt::PartiallyChecked
                                                                           : Qt::Unchecked);
        } else if (b->isCheckable()) {
          // A radio button of a group: unticking it needs the group's exclusivity lifted for a moment.
          QButtonGroup* g = b->group();
          const bool ex = g && g->exclusive();
          if (ex && wParam != BST_CHECKED) g->setExclusive(false);
          b->setChecked(wParam == BST_CHECKED);
          if (ex && wParam != BST_CHECKED) g->setExclusive(true);
        }
        return 0;
      case BM_CLICK: b->click(); return 0;
      default: return 0;
    }
  }

  if (auto* c = qobject_cast<QComboBox*>(w)) {
    QuietScope q(QuietCounter());
    switch (msg) {
      case CB_ADDSTRING: {
        QString t = TextArg(lParam);
        WinInfo* i = WinInfoOf(h);
        int pos = c->count();
        if (i && (i->style & CBS_SORT)) {
          QStringList items;
          for (int k = 0; k < c->count(); ++k) items << c->itemText(k);
          pos = SortedPos(items, t);
        }
        const int before = c->currentIndex();
        c->insertItem(pos, t);
        if (before < 0 && c->currentIndex() >= 0 && !c->isEditable()) c->setCurrentIndex(-1);
        return pos;
      }
      case CB_INSERTSTRING: {
        int pos = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (pos < 0 || pos > c->count()) pos = c->count();
        const int before = c->currentIndex();
        c->insertItem(pos, TextArg(lParam));
        if (before < 0 && c->currentIndex() >= 0 && !c->isEditable()) c->setCurrentIndex(-1);
        return pos;
      }
      case CB_DELETESTRING: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= c->count()) return CB_ERR;
        c->removeItem(i);
        return c->count();
      }
      case CB_GETCOUNT: return c->count();
      case CB_GETCURSEL: return c->currentIndex() >= 0 ? c->currentIndex() : CB_ERR;
      case CB_SETCURSEL: {
        int i = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (i < 0 || i >= c->count()) {
          c->setCurrentIndex(-1);
          if (c->isEditable()) c->setEditText(QString());
          return CB_ERR;
        }
        c->setCurrentIndex(i);
        return i;
      }
      case CB_GETLBTEXTLEN: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= c->count()) return CB_ERR;
        return static_cast<LResult>(FromQ(c->itemText(i)).size());
      }
      case CB_GETLBTEXT: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= c->count() || !lParam) return CB_ERR;
        std::string s = FromQ(c->itemText(i));
        std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
        return static_cast<LResult>(s.size());
      }
      case CB_RESETCONTENT:
        c->clear();
        if (c->isEditable()) c->setEditText(QString());
        return CB_OKAY;
      case CB_FINDSTRING: return ComboFind(c, TextArg(lParam), false);
      case CB_FINDSTRINGEXACT: return ComboFind(c, TextArg(lParam), true);
      case CB_GETITEMDATA: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= c->count()) return CB_ERR;
        return static_cast<LResult>(c->itemData(i).toLongLong());
      }
      case CB_SETITEMDATA: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= c->count()) return CB_ERR;
        c->setItemData(i, QVariant::fromValue<qlonglong>(lParam));
        return 1;
      }
      case CB_SHOWDROPDOWN:
        if (wParam) c->showPopup();
        else c->hidePopup();
        return 1;
      default: return 0;
    }
  }

  if (auto* l = qobject_cast<QListWidget*>(w)) {
    QuietScope q(QuietCounter());
    switch (msg) {
      case LB_ADDSTRING: {
        QString t = TextArg(lParam);
        WinInfo* i = WinInfoOf(h);
        int pos = l->count();
        if (i && (i->style & LBS_SORT)) {
          QStringList items;
          for (int k = 0; k < l->count(); ++k) items << l->item(k)->text();
          pos = SortedPos(items, t);
        }
        l->insertItem(pos, t);
        return pos;
      }
      case LB_INSERTSTRING: {
        int pos = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (pos < 0 || pos > l->count()) pos = l->count();
        l->insertItem(pos, TextArg(lParam));
        return pos;
      }
      case LB_DELETESTRING: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= l->count()) return LB_ERR;
        delete l->takeItem(i);
        return l->count();
      }
      case LB_RESETCONTENT: l->clear(); return 0;
      case LB_GETCOUNT: return l->count();
      case LB_GETCURSEL: {
        QListWidgetItem* it = l->currentItem();
        return it && it->isSelected() ? l->row(it) : LB_ERR;
      }
      case LB_SETCURSEL: {
        int i = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (i < 0 || i >= l->count()) {
          l->clearSelection();
          l->setCurrentRow(-1, QItemSelectionModel::Clear);
          return LB_ERR;
        }
        l->setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
        return i;
      }
      case LB_GETTEXTLEN: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= l->count()) return LB_ERR;
        return static_cast<LResult>(FromQ(l->item(i)->text()).size());
      }
      case LB_GETTEXT: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= l->count() || !lParam) return LB_ERR;
        std::string s = FromQ(l->item(i)->text());
        std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
        return static_cast<LResult>(s.size());
      }
      case LB_FINDSTRING: return ListFind(l, TextArg(lParam), false);
      case LB_FINDSTRINGEXACT: return ListFind(l, TextArg(lParam), true);
      case LB_GETITEMDATA: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= l->count()) return LB_ERR;
        return static_cast<LResult>(l->item(i)->data(Qt::UserRole).toLongLong());
      }
      case LB_SETITEMDATA: {
        int i = static_cast<int>(wParam);
        if (i < 0 || i >= l->count()) return LB_ERR;
        l->item(i)->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(lParam));
        return 1;
      }
      default: return 0;
    }
  }

  if (auto* p = qobject_cast<QProgressBar*>(w)) {
    const int prev = p->value() < p->minimum() ? p->minimum() : p->value();
    switch (msg) {
      case PBM_SETRANGE: {
        const int lo = static_cast<short>(LOWORD(static_cast<WParam>(lParam)));
        const int hi = static_cast<short>(HIWORD(static_cast<WParam>(lParam)));
        const LResult old = MAKELPARAM(static_cast<unsigned>(p->minimum()), static_cast<unsigned>(p->maximum()));
        p->setRange(lo, hi);
        return old;
      }
      case PBM_SETRANGE32: {
        const LResult old = MAKELPARAM(static_cast<unsigned>(p->minimum()), static_cast<unsigned>(p->maximum()));
        p->setRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return old;
      }
      case PBM_SETPOS:
        p->setValue(std::clamp(static_cast<int>(wParam), p->minimum(), p->maximum()));
        return prev;
      case PBM_DELTAPOS:
        p->setValue(std::clamp(prev + static_cast<int>(wParam), p->minimum(), p->maximum()));
        return prev;
      case PBM_SETSTEP: {
        const int old = p->property("fin_step").isValid() ? p->property("fin_step").toInt() : 10;
        p->setProperty("fin_step", static_cast<int>(wParam));
        return old;
      }
      case PBM_STEPIT: {
        const int step = p->property("fin_step").isValid() ? p->property("fin_step").toInt() : 10;
        int v = prev + step;
        if (v > p->maximum()) v = p->minimum() + (v - p->maximum());   // wraps, as the control does
        p->setValue(v);
        return prev;
      }
      case PBM_GETPOS: return prev;
      default: return 0;
    }
  }

  if (auto* s = dynamic_cast<FinStatusBar*>(w)) {
    switch (msg) {
      case SB_SETTEXTA: {
        const int part = static_cast<int>(wParam & 0xFF);
        const unsigned type = static_cast<unsigned>(wParam & 0xFF00);
        if (part == 0xFF) return 1;   // simple mode is not used
        if (part >= static_cast<int>(s->parts.size())) return 0;
        s->parts[static_cast<size_t>(part)].text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        s->parts[static_cast<size_t>(part)].type = type;
        s->update(s->partRect(part));
        return 1;
      }
      case SB_GETTEXTA:
      case SB_GETTEXTLENGTHA: {
        const int part = static_cast<int>(wParam & 0xFF);
        if (part >= static_cast<int>(s->parts.size())) return 0;
        const auto& p = s->parts[static_cast<size_t>(part)];
        if (msg == SB_GETTEXTA && lParam) std::memcpy(reinterpret_cast<char*>(lParam), p.text.c_str(), p.text.size() + 1);
        return MAKELPARAM(static_cast<unsigned>(p.text.size()), p.type);
      }
      case SB_SETPARTS: {
        const int n = static_cast<int>(wParam);
        if (n <= 0 || n > 256 || !lParam) return 0;
        const int* e = reinterpret_cast<const int*>(lParam);
        return s->setParts(std::vector<int>(e, e + n)) ? 1 : 0;
      }
      case SB_GETPARTS: {
        const int n = static_cast<int>(s->edges.size());
        if (lParam) {
          int* e = reinterpret_cast<int*>(lParam);
          for (int i = 0; i < std::min<int>(n, static_cast<int>(wParam)); ++i) e[i] = s->edges[static_cast<size_t>(i)];
        }
        return n;
      }
      case SB_SETMINHEIGHT: return 0;
      default: return 0;
    }
  }

  if (auto* d = qobject_cast<QDateTimeEdit*>(w)) {
    if (msg == DTM_SETSYSTEMTIME) {
      if (wParam != static_cast<WParam>(GDT_VALID) || !lParam) return 0;
      const auto* st = reinterpret_cast<const SystemTime*>(lParam);
      QDate date(st->wYear, st->wMonth, st->wDay);
      QTime time(st->wHour, st->wMinute, st->wSecond);
      if (!date.isValid() || !time.isValid()) return 0;
      QuietScope q(QuietCounter());
      d->setDateTime(QDateTime(date, time));
      return 1;
    }
    return 0;
  }

  if (auto* lv = dynamic_cast<FinListView*>(w)) {
    switch (msg) {
      case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const LResult old = lv->lvExStyle;
        lv->setExtendedStyle(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
        return old;
      }
      case LVM_GETEXTENDEDLISTVIEWSTYLE: return lv->lvExStyle;
      default: return 0;
    }
  }
  return 0;
}
