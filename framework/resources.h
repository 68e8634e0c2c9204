// Images and icons compiled into the program, named IMAGE_* as the forms name them.
#pragma once
#include <QIcon>
#include <QPixmap>
#include <string>

// The image of that name, scaled to w x h when both are given; a null pixmap when there is none.
QPixmap ResLoadImage(const std::string& name, int w = 0, int h = 0);
QIcon ResLoadIcon(const std::string& name);

// Registers the compiled-in files (images, db/schema.sql) once; the loaders call it themselves.
void ResEnsureLoaded();
