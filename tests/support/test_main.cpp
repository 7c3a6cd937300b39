// Every test program runs with a QApplication on the offscreen platform, so screens can be
// created, driven and read without a display.

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ui/fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt on Linux wants a private runtime folder; a temporary one (only the owner may enter it)
    // serves where the session has none, and goes with the test program.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
