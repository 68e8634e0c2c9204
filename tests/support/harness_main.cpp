// Entry point of every test program: a headless QApplication, a fixed locale, then GoogleTest.
#include <QApplication>
#include <QLocale>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
