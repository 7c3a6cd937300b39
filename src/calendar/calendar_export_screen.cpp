#include "calendar/calendar_export_screen.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "calendar/teacher_calendar.h"
#include "common/checks.h"
#include "data/dates.h"
#include "data/recordset.h"

namespace {

// The widest range one export takes: a school year.
constexpr int kMaxDays = 366;

iCalendar出力::FolderChooser& folderChooser() {
    static iCalendar出力::FolderChooser chooser;
    return chooser;
}

}  // namespace

QDate weekStartingMonday(const QDate& day) {
    return day.addDays(1 - day.dayOfWeek());
}

namespace {

QString chooseFolder(QWidget* parent) {
    if (folderChooser()) return folderChooser()(parent);
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("出力先のフォルダ"));
}

struct Teacher {
    QString number, name;
};

}  // namespace

void iCalendar出力::setFolderChooser(FolderChooser chooser) {
    folderChooser() = std::move(chooser);
}

iCalendar出力::iCalendar出力(Screen* caller, const QString& teacher, const QDate& from,
                             const QDate& to)
    : Screen("iCalendar出力", QStringLiteral("iCalendar出力"), caller) {
    C教員 = comboBox("C教員");
    C教員->setEditable(false);
    開始日 = textBox("開始日", 10);
    終了日 = textBox("終了日", 10);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("教員"), C教員);
    auto* range = new QHBoxLayout;
    range->addWidget(開始日);
    range->addWidget(new QLabel(QStringLiteral("～"), this));
    range->addWidget(終了日);
    fields->addRow(QStringLiteral("期間"), range);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B出力", QStringLiteral("出力"), [this] { B出力_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    run([&] {
        // Messages go out under the title of the screen it was opened from.
        ctx().resetReporting();
        C教員->addItem(QStringLiteral("全教員"), QString());
        Recordset rs("教員");
        rs.setIndex("Key_教員");
        rs.seek(Seek::AtLeast, {QString()});
        for (; !rs.noMatch() && !rs.eof(); rs.moveNext()) {
            C教員->addItem(rs.text("員_氏名"), rs.text("員_番号"));
            if (rs.text("員_番号") == teacher) C教員->setCurrentIndex(C教員->count() - 1);
        }
        if (teacher.isEmpty()) C教員->setCurrentIndex(0);
        開始日->setText(from.isValid() ? dateText(from) : QString());
        終了日->setText(to.isValid() ? dateText(to) : QString());
    });
}

void iCalendar出力::checkRange() {
    ctx().resetReporting();
    for (QLineEdit* f : {開始日, 終了日}) {
        CHK日付(ctx(), f, QString());
        f->setText(ctx().normalizedDateText);
    }
    CHK大小(ctx(), 開始日, 終了日, QString(), 1);
    if (ctx().errorFlag == 1) return;
    const QDate from = dateFrom(開始日->text());
    const QDate to = dateFrom(終了日->text());
    if (from.daysTo(to) >= kMaxDays)
        reportFieldError(ctx(), 終了日, QStringLiteral("期間は1年以内で指定してください"));
}

void iCalendar出力::B出力_Click() {
    checkRange();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    std::vector<Teacher> teachers;
    const QString chosen = C教員->currentData().toString();
    Recordset rs("教員");
    rs.setIndex("Key_教員");
    rs.seek(chosen.isEmpty() ? Seek::AtLeast : Seek::Equal, {chosen});
    for (; !rs.noMatch() && !rs.eof(); rs.moveNext()) {
        teachers.push_back({rs.text("員_番号"), rs.text("員_氏名")});
        if (!chosen.isEmpty()) break;
    }
    if (teachers.empty()) {
        showMessage(QStringLiteral("教員が登録されていません"));
        return;
    }
    const QString folder = chooseFolder(this);
    if (folder.isEmpty()) return;
    const QDir dir(folder);
    bool exists = false;
    for (const Teacher& t : teachers)
        exists = exists || dir.exists(calendarFileName(t.number, t.name));
    if (exists && !ask(QStringLiteral("同じ名前のファイルがあります。上書きしますか？"))) return;

    const QDate from = dateFrom(開始日->text());
    const QDate to = dateFrom(終了日->text());
    int untimedTotal = 0;
    for (const Teacher& t : teachers) {
        int untimed = 0;
        QString why;
        const QByteArray ics =
            teacherCalendar(t.name, datedLessons(t.number, from, to), untimed, &why);
        if (ics.isEmpty()) {
            showMessage(QStringLiteral("iCalendarファイルを出力できませんでした。\n%1").arg(why));
            return;
        }
        untimedTotal += untimed;
        // A teacher without lessons still gets a file: a calendar that subscribed to it must
        // lose the lessons that are gone.
        const QString path = dir.filePath(calendarFileName(t.number, t.name));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(ics) != ics.size() || !file.commit()) {
            showMessage(QStringLiteral("「%1」に書き込めませんでした（%2）")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
            return;
        }
    }
    QString done = QStringLiteral("%1人分のiCalendarファイルを「%2」に出力しました。")
                       .arg(teachers.size())
                       .arg(QDir::toNativeSeparators(folder));
    if (untimedTotal > 0)
        done += QStringLiteral("\n時程の登録されていない時限の授業%1件は含まれていません。")
                    .arg(untimedTotal);
    showMessage(done);
}
