#include "support/covered_labels.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace fintest {

std::string ControlText(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  return w->windowTitle().toStdString();
}

namespace {

// A sibling paints over what lies under it, unless it is a label or a group box that leaves its background alone
// (those draw only their text and frame).
bool PaintsOver(QWidget* w) {
  if (w->autoFillBackground()) return true;
  return !(qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w));
}

}  // namespace

std::vector<std::string> CoveredLabels(QWidget* window) {
  std::vector<std::string> found;
  if (!window) return found;
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(window)) continue;
    if (label->text().isEmpty() && label->pixmap().isNull()) continue;
    QWidget* parent = label->parentWidget();
    if (!parent) continue;
    // Where the label draws: its text (as aligned and wrapped in it), or its whole inside for a picture.
    QRect drawn = label->contentsRect();
    if (!label->text().isEmpty()) {
      const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
      drawn = label->fontMetrics().boundingRect(label->contentsRect(), flags, label->text()) & label->contentsRect();
    }
    drawn.translate(label->pos());
    // A parent's children stand in the order they are stacked: the last one on top.
    const QObjectList& siblings = parent->children();
    const auto at = std::find(siblings.begin(), siblings.end(), label);
    for (auto it = at + 1; it != siblings.end(); ++it) {
      auto* s = qobject_cast<QWidget*>(*it);
      if (!s || s->isWindow() || !s->isVisibleTo(window)) continue;
      if (!s->geometry().intersects(drawn) || !PaintsOver(s)) continue;
      found.push_back(window->windowTitle().toStdString() + ": label \"" + label->text().toStdString() + "\" under " +
                      s->metaObject()->className() + " \"" + ControlText(s) + "\"");
    }
  }
  return found;
}

WatchCoveredLabels::WatchCoveredLabels() {
  if (qApp) qApp->installEventFilter(this);
}

WatchCoveredLabels::~WatchCoveredLabels() {
  if (qApp) qApp->removeEventFilter(this);
}

bool WatchCoveredLabels::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w)) {
      for (std::string& line : CoveredLabels(w))
        if (std::find(found_.begin(), found_.end(), line) == found_.end()) found_.push_back(std::move(line));
    }
  }
  return false;
}

}  // namespace fintest
