// The one Qt application object of a test program, created on first use. Qt tests run on the
// offscreen platform (QT_QPA_PLATFORM=offscreen, set by ctest).
#pragma once

#include <QApplication>

namespace horalia::testing_qt {

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "horalia-test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

}  // namespace horalia::testing_qt
