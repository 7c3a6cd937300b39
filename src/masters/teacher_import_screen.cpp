#include "masters/teacher_import_screen.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "common/csv.h"
#include "common/progress.h"
#include "common/text_encoding.h"
#include "data/database.h"
#include "data/database_copy.h"
#include "masters/teacher_import.h"
#include "ui/file_save.h"

namespace {

const QStringList kCsvPatterns = {QStringLiteral("*.csv"), QStringLiteral("*.CSV")};

// The root a path lies on: a drive on Windows, "/" elsewhere.
QString driveOf(const QString& path) {
    return QFileInfo(path).absoluteDir().rootPath();
}

// The same existing file, however its path is spelt (QFileInfo compares the real paths, without
// case on the platforms whose file names have none).
bool sameFile(const QString& existing, const QString& other) {
    return QFileInfo::exists(existing) && QFileInfo(existing) == QFileInfo(other);
}

// Why `outPath` may not take the error file, or nothing: it is neither the input nor the
// program's database, its backup or any other database file.
QString refusedOutput(const QString& inPath, const QString& outPath) {
    if (sameFile(inPath, outPath))
        return QStringLiteral("入力ファイルと同じファイルは出力ファイルに指定できません。");
    const QFileInfo database(db().path());
    const QDir home = database.isFile() ? database.absoluteDir() : QDir::current();
    const QFileInfo out(outPath);
    // The names count even before the files exist: the backup is made by copying onto its name.
    for (const QString& name : {kDatabaseFile, kBackupFile})
        if (sameFile(home.filePath(name), outPath) ||
            (out.absoluteDir() == home && out.fileName().compare(name, Qt::CaseInsensitive) == 0))
            return QStringLiteral(
                       "「%1」は時間割のデータベースです。出力ファイルには指定できません。")
                .arg(name);
    if (isDatabaseFile(outPath))
        return QStringLiteral(
                   "「%1」はデータベースのファイルです。出力ファイルには指定できません。")
            .arg(out.fileName());
    return {};
}

}  // namespace

教員一括::教員一括() : Screen("教員一括", QStringLiteral("教員一括登録")) {
    auto* sides = new QHBoxLayout;
    sides->addWidget(
        buildSide(in_, "Frame1", QStringLiteral("入力ファイル"), "IN", "入力File", true));
    sides->addWidget(buildSide(out_, "Frame2", QStringLiteral("出力ファイル（エラー）"), "OUT",
                               "出力File", false));
    L結果 = label("L結果");
    L結果->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(L結果, 1);
    buttons->addWidget(button("確定", QStringLiteral("確定"), [this] { 確定_Click(); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { 終了_Click(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addLayout(buttons);
    resize(900, 560);
    run([this] { Form_Load(); });
}

QWidget* 教員一括::buildSide(Side& side, const char* frame, const QString& caption,
                             const char* prefix, const char* nameBox, bool forInput) {
    const QByteArray p(prefix);
    auto* box = new QGroupBox(caption, this);
    box->setObjectName(QString::fromUtf8(frame));

    side.drive = comboBox((p + "Drive").constData());
    side.drive->setEditable(false);
    for (const QFileInfo& d : QDir::drives())
        side.drive->addItem(QDir::toNativeSeparators(d.path()), d.path());
    connect(side.drive, &QComboBox::activated, this,
            [this, &side](int) { run([this, &side] { Drive_Change(side); }); });

    side.folders = new QFileSystemModel(this);
    side.folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    side.folders->setRootPath(QString());
    side.dir = new QTreeView(this);
    side.dir->setObjectName(QString::fromUtf8(p + "Dir"));
    side.dir->setModel(side.folders);
    side.dir->setHeaderHidden(true);
    for (int c = 1; c < side.folders->columnCount(); ++c) side.dir->hideColumn(c);
    connect(side.folders, &QFileSystemModel::directoryLoaded, this,
            [this, &side](const QString& p) {
                if (side.followFolder && side.folder.startsWith(p)) scrollToFolder(side);
            });
    // The model sorts and adds the folders it has read a little after saying a folder is read,
    // later still on a busy machine: until the user picks one, the chosen folder follows.
    const auto follow = [this, &side] {
        if (side.followFolder) scrollToFolder(side);
    };
    connect(side.folders, &QFileSystemModel::layoutChanged, this, follow);
    connect(side.folders, &QFileSystemModel::rowsInserted, this, follow);
    connect(side.dir->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &side](const QModelIndex& index) {
                if (!index.isValid()) return;
                const QString path = side.folders->filePath(index);
                if (path == side.folder) return;
                // The user picked it where it stands: moving the list now would put another
                // folder under the pointer for the next click.
                side.followFolder = false;
                side.folder = path;
                run([this, &side] { Dir_Change(side); });
            });

    side.files = new QFileSystemModel(this);
    side.files->setFilter(QDir::Files);
    side.files->setNameFilters(kCsvPatterns);
    side.files->setNameFilterDisables(false);
    side.file = new QListView(this);
    side.file->setObjectName(QString::fromUtf8(p + "File"));
    side.file->setModel(side.files);
    connect(side.file, &QListView::clicked, this,
            [this, &side](const QModelIndex&) { run([this, &side] { File_Click(side); }); });
    connect(side.file, &QListView::activated, this,
            [this, &side](const QModelIndex&) { run([this, &side] { File_Click(side); }); });

    side.name = textBox(nameBox);
    QPushButton* browse = button((p + "参照").constData(), QStringLiteral("参照…"),
                                 [this, &side, forInput] { Browse_Click(side, forInput); });

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("ファイル名"), box));
    nameRow->addWidget(side.name, 1);
    nameRow->addWidget(browse);

    auto* column = new QVBoxLayout(box);
    column->addWidget(labelled(QStringLiteral("ドライブ"), side.drive));
    column->addWidget(new QLabel(QStringLiteral("フォルダ"), box));
    column->addWidget(side.dir, 3);
    column->addWidget(new QLabel(QStringLiteral("CSVファイル"), box));
    column->addWidget(side.file, 2);
    column->addLayout(nameRow);
    return box;
}

void 教員一括::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("教員一括登録");
    // Both sides start in the folder the program works in, beside 時間割.mdb.
    showFolder(in_, QDir::currentPath());
    showFolder(out_, QDir::currentPath());
}

void 教員一括::showFolder(Side& side, const QString& path) {
    side.folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    side.followFolder = true;
    const int d = side.drive->findData(driveOf(side.folder));
    if (d >= 0) side.drive->setCurrentIndex(d);
    const QModelIndex index = side.folders->index(side.folder);
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) side.dir->expand(up);
    side.dir->setCurrentIndex(index);
    scrollToFolder(side);
    Dir_Change(side);
}

// The folders are read in the background: the chosen one is brought into view again once its
// parent has been read and the list has its final length.
void 教員一括::scrollToFolder(Side& side) {
    const QModelIndex index = side.folders->index(side.folder);
    if (index.isValid()) side.dir->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void 教員一括::Drive_Change(Side& side) {
    const QString drive = side.drive->currentData().toString();
    if (!QDir(drive).isReadable()) {
        showPlainMessage(QStringLiteral("無効なdriveを指定しています"));
        side.drive->setCurrentIndex(side.drive->findData(driveOf(side.folder)));
        return;
    }
    showFolder(side, drive);
}

void 教員一括::Dir_Change(Side& side) {
    side.file->setRootIndex(side.files->setRootPath(side.folder));
}

void 教員一括::File_Click(Side& side) {
    const QModelIndex index = side.file->currentIndex();
    if (index.isValid()) side.name->setText(side.files->fileName(index));
}

void 教員一括::Browse_Click(Side& side, bool forInput) {
    const QString filter = QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)");
    const QString chosen =
        forInput ? QFileDialog::getOpenFileName(this, QStringLiteral("入力ファイル"), side.folder,
                                                filter)
                 : QFileDialog::getSaveFileName(this, QStringLiteral("出力ファイル"), side.folder,
                                                filter, nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return;
    showFolder(side, QFileInfo(chosen).absolutePath());
    side.name->setText(QFileInfo(chosen).fileName());
}

QString 教員一括::pathOf(const Side& side) const {
    const QString name = side.name->text().trimmed();
    return QDir::cleanPath(QDir(side.folder).absoluteFilePath(name));
}

void 教員一括::確定_Click() {
    ctx().resetReporting();
    if (out_.name->text().trimmed().isEmpty()) {
        showMessage(QStringLiteral("出力ファイルを指定して下さい。"));
        return;
    }
    if (in_.name->text().trimmed().isEmpty()) {
        showMessage(QStringLiteral("入力ファイルを指定して下さい。"));
        return;
    }
    const QString inPath = pathOf(in_), outPath = pathOf(out_);
    const QString inShown = QDir::toNativeSeparators(inPath);
    const QString outShown = QDir::toNativeSeparators(outPath);
    // Writing the error file replaces whatever has its name.
    if (const QString refused = refusedOutput(inPath, outPath); !refused.isEmpty()) {
        showMessage(refused);
        return;
    }
    if (QFileInfo::exists(outPath) &&
        !ask(QStringLiteral("出力ファイル「%1」は既にあります。置き換えますか？").arg(outShown)))
        return;
    QFile input(inPath);
    if (!QFileInfo(inPath).isFile() || !input.open(QIODevice::ReadOnly)) {
        showMessage(QStringLiteral("入力ファイル「%1」を読めません。").arg(inShown));
        return;
    }
    const std::optional<DecodedText> text = decodeText(input.readAll());
    input.close();
    if (!text) {
        showMessage(QStringLiteral("入力ファイル「%1」の文字コードを判別できません。\n"
                                   "UTF-8 か Shift_JIS で保存したCSVファイルを指定して下さい。")
                        .arg(inShown));
        return;
    }

    const std::vector<CsvRecord> records = csvRecords(text->text);
    Progress progress(this, QStringLiteral("教員を登録しています…"), int(records.size()) * 2);
    const TeacherFile file = checkTeacherFile(ctx(), records, text->lineEnd, &progress);
    // The error file is written before any teacher is stored: when it cannot be written nothing
    // is stored, and once it is, the refused lines it lists stay refused whatever follows.
    QString why;
    if (!saveFile(outPath, encodeText(file.errorText, text->encoding), &why)) {
        showMessage(
            QStringLiteral("出力ファイル「%1」に書き込めません。\n%2\n教員は登録していません。")
                .arg(outShown, why));
        return;
    }
    storeTeachers(file.valid, &progress);
    const QString outcome = QStringLiteral("登録 %1 件、エラー %2 件（エラーの行は「%3」）")
                                .arg(file.valid.size())
                                .arg(file.refused)
                                .arg(QFileInfo(outPath).fileName());
    afterCommit([this, outcome] { L結果->setText(outcome); });
    showPlainMessage(QStringLiteral("教員一括登録処理は終了しました"));
}

void 教員一括::終了_Click() {
    close();
}
