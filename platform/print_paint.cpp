#include "platform/print_paint.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace platform {

QColor ColorFromColorRef(std::uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

namespace {

QStringList Lines(const std::string& text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s.split(QLatin1Char('\n'));
}

}  // namespace

void PaintText(QPainter& p, const TextDraw& t) {
  if (t.text.empty()) return;
  QFont font(QString::fromUtf8(t.face.c_str()));
  font.setPixelSize(std::max(1, t.pixelHeight));
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setStyleStrategy(QFont::PreferAntialias);
  p.save();
  p.setFont(font);
  p.setPen(ColorFromColorRef(t.color));
  if (t.backMode == OPAQUE) {
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(QBrush(ColorFromColorRef(t.backColor)));
  } else {
    p.setBackgroundMode(Qt::TransparentMode);
  }
  const unsigned layoutBits = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK | DT_SINGLELINE;
  if ((t.format & layoutBits) == 0) {
    // Left- and top-aligned: each line from the left edge, one line height below the one before.
    QFontMetrics fm(font, p.device());
    int baseline = t.rect.top + fm.ascent();
    for (const QString& line : Lines(t.text)) {
      if (!line.isEmpty()) p.drawText(QPoint(t.rect.left, baseline), line);
      baseline += fm.height();
    }
  } else {
    int flags = 0;
    flags |= (t.format & DT_CENTER) ? Qt::AlignHCenter : (t.format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (t.format & DT_VCENTER) ? Qt::AlignVCenter : (t.format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    if (t.format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    if (t.format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
    if (t.format & DT_NOCLIP) flags |= Qt::TextDontClip;
    if (t.format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    QRect r(QPoint(t.rect.left, t.rect.top), QPoint(t.rect.right - 1, t.rect.bottom - 1));
    p.drawText(r.normalized(), flags, Lines(t.text).join(QLatin1Char('\n')));
  }
  p.restore();
}

void PaintImage(QPainter& p, const ImageDraw& i) {
  if (i.image.isNull()) return;
  p.drawImage(QPoint(i.x, i.y), i.image);
}

void PaintRectangle(QPainter& p, const RectangleDraw& r) {
  p.save();
  QPen pen(ColorFromColorRef(r.penColor));
  pen.setWidth(std::max(0, r.penWidth));
  pen.setStyle(Qt::SolidLine);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(r.whiteFill ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
  QRect rect(QPoint(std::min(r.rect.left, r.rect.right), std::min(r.rect.top, r.rect.bottom)),
             QPoint(std::max(r.rect.left, r.rect.right), std::max(r.rect.top, r.rect.bottom)));
  p.drawRect(rect);
  p.restore();
}

}  // namespace platform
