#include "framework/resources.h"

#include <QString>

void ResEnsureLoaded() {
  static bool done = false;
  if (!done) {
    Q_INIT_RESOURCE(resources);
    done = true;
  }
}

QPixmap ResLoadImage(const std::string& name, int w, int h) {
  ResEnsureLoaded();
  QPixmap p(QStringLiteral(":/icons/") + QString::fromStdString(name) + QStringLiteral(".png"));
  if (!p.isNull() && w > 0 && h > 0) p = p.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return p;
}

QIcon ResLoadIcon(const std::string& name) { return QIcon(ResLoadImage(name)); }
