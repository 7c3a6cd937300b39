// The parts loaded on first use (the server engine, the second search engine): a program installed
// without them still works on the file and says plainly what a server location or `--engine cp`
// needs.

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "data/dates.h"
#include "data/module_loader.h"

namespace {

// Runs a copy of `tool` from a folder with no module beside it; the exit code (-1 for a crash),
// with what it printed in `output`.
int runAlone(const QString& tool, const QStringList& args, QString* output) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QFileInfo(tool).fileName());
    if (!QFile::copy(tool, copy)) return -2;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(copy, args);
    p.waitForFinished(120000);
    *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace

TEST(ModuleTest, AMissingModuleIsNamedAndGivesNoEntry) {
    QString why;
    EXPECT_EQ(moduleEntry(QStringLiteral("jikanwari-nothing"), "entry", &why), nullptr);
    EXPECT_TRUE(why.contains("jikanwari-nothing")) << why.toStdString();
}

TEST(ModuleTest, WithoutTheServerModuleAServerLocationIsRefusedAndAFileStillWorks) {
    QString out;
    EXPECT_EQ(runAlone(NEWDB_TOOL, {"postgresql:///jikanwari?host=/nonexistent"}, &out), 1) << out.toStdString();
    EXPECT_TRUE(out.contains("jikanwari-postgres")) << out.toStdString();

    QTemporaryDir dir;
    const QString file = dir.filePath("school.mdb");
    EXPECT_EQ(runAlone(NEWDB_TOOL, {"--demo", file}, &out), 0) << out.toStdString();

    // The generator runs on CaDiCaL alone and says nothing about the missing engine; asked for
    // that engine, it says why it cannot.
    const QString year = QString::number(businessYearOf(QDate::currentDate()));
    EXPECT_EQ(runAlone(GENERATE_TOOL,
                       {file, year, "--prefill", "--department", "001", "--seconds", "4"}, &out),
              0)
        << out.toStdString();
    EXPECT_FALSE(out.contains("制約ソルバー")) << out.toStdString();
    EXPECT_EQ(runAlone(GENERATE_TOOL, {file, "2026", "--engine", "cp"}, &out), 2);
    EXPECT_TRUE(out.contains("--engine cp") && out.contains("jikanwari-cp")) << out.toStdString();
}
