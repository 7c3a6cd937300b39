#pragma once

#include "ui/screen.h"

class QComboBox;
class QLabel;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QTreeView;

// 教員一括: imports teachers from a comma-separated file and writes the refused lines, each with
// the reason, to an error file. Each side chooses its file from a folder list and a list of the
// folder's CSV files, or through the system's file dialog.
class 教員一括 : public Screen {
public:
    教員一括();

    // The folder a side's file name is taken in (the input side's or the output side's).
    QString inputFolder() const { return in_.folder; }
    QString outputFolder() const { return out_.folder; }
    void setInputFolder(const QString& path) { showFolder(in_, path); }
    void setOutputFolder(const QString& path) { showFolder(out_, path); }

private:
    // One side: drive, folder and file lists and the file name box.
    struct Side {
        QComboBox* drive = nullptr;
        QTreeView* dir = nullptr;
        QListView* file = nullptr;
        QLineEdit* name = nullptr;
        QFileSystemModel* folders = nullptr;
        QFileSystemModel* files = nullptr;
        QString folder;
        // The folder was set by the program, not clicked: keep it in view while the list loads.
        bool followFolder = false;
    };

    void Form_Load();
    void Drive_Change(Side& side);
    void Dir_Change(Side& side);
    void File_Click(Side& side);
    void Browse_Click(Side& side, bool forInput);
    void 確定_Click();
    void 終了_Click();

    QWidget* buildSide(Side& side, const char* frame, const QString& caption, const char* prefix,
                       const char* nameBox, bool forInput);
    void showFolder(Side& side, const QString& path);
    void scrollToFolder(Side& side);
    QString pathOf(const Side& side) const;

    Side in_, out_;
    QLabel* L結果 = nullptr;
};
