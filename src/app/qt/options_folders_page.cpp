#include "app/qt/options_folders_page.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>

#include "app/config/settings_table.h"
#include "app/shell_state.h"
#include "tape/file_paths.h"

namespace {

constexpr int kFolderFieldLength = 259;

// A folder kept in the settings ends with "/", so the writer keeps all of it.
std::string AsFolder(const QString& text) {
    std::string folder = text.trimmed().toStdString();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

} // namespace

OptionsFoldersPage::OptionsFoldersPage(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    const struct {
        const char* label;
        const char* browseTitle;
        std::string* live;
        const char* name;
    } rows[] = {
        {"Snapshots", "Select a folder for snapshots", &snapshotFolder, "snapshotFolderField"},
        {"Tapes", "Select a folder for tapes", &tapeFolder, "tapeFolderField"},
        {"Spool Files", "Select a folder for spool files", &spoolFolder, "spoolFolderField"},
    };
    int row = 0;
    for (const auto& r : rows) {
        auto* field = new QLineEdit(QString::fromStdString(OptionText(r.live)), this);
        field->setObjectName(r.name);
        field->setMaxLength(kFolderFieldLength);
        field->setMinimumWidth(320);
        std::string* live = r.live;
        connect(field, &QLineEdit::textChanged, this,
                [live](const QString& text) { OptionText(live) = AsFolder(text); });
        auto* browse = new QToolButton(this);
        browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        const QString title = r.browseTitle;
        connect(browse, &QToolButton::clicked, this, [this, field, title] {
            const QString chosen = QFileDialog::getExistingDirectory(this, title, field->text());
            if (!chosen.isEmpty()) field->setText(chosen + "/");
        });
        grid->addWidget(new QLabel(r.label, this), row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(browse, row, 2);
        ++row;
    }
    auto* besideProgram = new QCheckBox("Save ini file to executable folder", this);
    besideProgram->setObjectName("iniInExecutableFolder");
    besideProgram->setChecked(iniInExecutableFolder);
    connect(besideProgram, &QCheckBox::toggled, this, [](bool on) {
        iniInExecutableFolder = on;
        configFolder =
            on ? executableFolder
               : QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString() + "/";
    });
    grid->addWidget(besideProgram, row, 0, 1, 3);
    grid->setRowStretch(row + 1, 1);
}
