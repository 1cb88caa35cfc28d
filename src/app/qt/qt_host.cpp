#include "app/qt/qt_host.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/config/config_file.h"
#include "app/qt/debugger_tools.h"
#include "app/qt/message_dialog.h"
#include "app/qt/pc_log_menu.h"
#include "debugger/qt/debugger_window.h"
#include "display/qt/display_presenter.h"
#include "tape/file_paths.h"

namespace {

// "ACE files (*.ace)" / "*.ace;*.tap" becomes Qt's "ACE files (*.ace *.tap)": Qt reads
// the patterns from the parentheses, separated by blanks.
QString QtFilters(const FileDialogRequest& request) {
    QStringList filters;
    for (const auto& [description, patterns] : request.filters) {
        QString label = QString::fromStdString(description);
        const qsizetype open = label.lastIndexOf('(');
        if (open > 0) label = label.left(open).trimmed();
        filters << label + " (" + QString::fromStdString(patterns).replace(';', ' ') + ")";
    }
    return filters.join(";;");
}

QString InitialPath(const FileDialogRequest& request) {
    QString path = QString::fromStdString(request.initialFolder);
    // The default folders in the user's data folder are made when first used.
    const QString data = QString::fromStdString(DefaultDataFolder());
    if (!path.isEmpty() && path.startsWith(data) && !QDir(path).exists()) QDir().mkpath(path);
    if (!request.initialName.empty()) {
        if (!path.isEmpty() && !path.endsWith('/')) path += '/';
        path += QString::fromStdString(request.initialName);
    }
    return path;
}

} // namespace

void QtHost::ShowMessage(const std::string& caption, const std::string& text) {
    ++messagesShown_;
    // Owned by the main window once it exists, so the box stays in front of it.
    MessageDialog dialog(QString::fromStdString(caption), QString::fromStdString(text), owner_);
    dialog.exec();
}

bool QtHost::AskYesNo(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

bool QtHost::AskYesNoWarning(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setObjectName("yesNoWarning");
    box.setDefaultButton(QMessageBox::No); // an accidental Return keeps the disk
    return box.exec() == QMessageBox::Yes;
}

void QtHost::RunDebugger() {
    DebuggerWindow debugger(owner_);
    ConnectDebuggerTools(debugger);
    debugger.exec();
    DebuggerToolsClosed();
}

void QtHost::PcLogStopped(int menuItem) {
    PcLogMenuStopped(menuItem);
}

void QtHost::PresentFrame() {
    if (presenter_) presenter_->PresentFrame();
}

std::string QtHost::ChooseOpenFile(const FileDialogRequest& request) {
    return QFileDialog::getOpenFileName(owner_, QString::fromStdString(request.title), InitialPath(request),
                                        QtFilters(request))
        .toStdString();
}

std::string QtHost::ChooseSaveFile(const FileDialogRequest& request) {
    QFileDialog dialog(owner_, QString::fromStdString(request.title), InitialPath(request),
                       QtFilters(request));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const std::string chosen = dialog.selectedFiles().first().toStdString();
    // The filter the user picked decides the kind of file (a snapshot or a recording).
    const qsizetype filter = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    if (filter < 0 || filter >= qsizetype(request.filters.size())) return chosen;
    return WithFilterExtension(chosen, request.filters[size_t(filter)].second);
}
