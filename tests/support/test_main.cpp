// Every test program runs with a QApplication on the offscreen platform, so screens can be
// created, driven and read without a display.

#include <QApplication>
#include <QSaveFile>
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ui/fonts.h"

int main(int argc, char** argv) {
    // Qt on Linux wants a private runtime folder; a temporary one (only the owner may enter it)
    // serves where the session has none, and goes with the test program.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // A display of 1024x768, the smallest the schools use, so that a screen that would not fit
    // one is seen in the tests; JIKANWARI_TEST_DISPLAY ("1366x768") runs them on another size.
    QSize size(1024, 768);
    if (const QStringList wh = qEnvironmentVariable("JIKANWARI_TEST_DISPLAY").split('x');
        wh.size() == 2 && wh[0].toInt() > 0 && wh[1].toInt() > 0)
        size = QSize(wh[0].toInt(), wh[1].toInt());
    QTemporaryDir displayDir;
    const QString display = displayDir.filePath(QStringLiteral("display.json"));
    if (QSaveFile f(display); f.open(QIODevice::WriteOnly)) {
        f.write(QStringLiteral(R"({"screens": [{"name": "display", "x": 0, "y": 0, "width": %1,)"
                               R"( "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96,)"
                               R"( "dpr": 1}]})")
                    .arg(size.width())
                    .arg(size.height())
                    .toUtf8());
        f.commit();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(display));
    QApplication app(argc, argv);
    installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
