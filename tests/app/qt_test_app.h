// The QApplication that the window tests share (offscreen platform).
#pragma once

#include <QApplication>

inline QApplication& TestQtApp()
{
    static int argc = 1;
    static char name[] = "ordune-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
