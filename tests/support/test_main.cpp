// Every test program runs with a QApplication on the offscreen platform, so screens can be
// created, driven and read without a display.

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <gtest/gtest.h>

#include "ui/fonts.h"

int main(int argc, char** argv) {
    // A display of 1024x768, the smallest the schools use, so that a screen that would not fit
    // one is seen in the tests.
    const QString display =
        QDir::temp().filePath(QStringLiteral("jikanwari-display-1024x768.json"));
    // Test programs run side by side: the file is replaced whole, never seen half written.
    if (QSaveFile f(display); f.open(QIODevice::WriteOnly)) {
        f.write(R"({"screens": [{"name": "display", "x": 0, "y": 0, "width": 1024, "height": 768,)"
                R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        f.commit();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + display.toUtf8());
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/jikanwari-tests-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    QApplication app(argc, argv);
    installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
