#include "app/qt/recent_files_menu.h"

#include <filesystem>

#include <QAction>
#include <QMenu>

#include "app/qt/main_menu.h"
#include "app/qt/run_commands.h"
#include "app/shell_state.h"
#include "base/host.h"
#include "tape/load_file.h"

namespace {
constexpr const char* kStoreName = "recent-files";
// The menu that hears the loads: the newest window's (tests make one after another).
RecentFilesMenu* listening = nullptr;
} // namespace

RecentFilesMenu::RecentFilesMenu(const MainMenuActions& actions, QWidget* window)
    : QObject(window), window_(window), menu_(new QMenu("Recent &Files", window)),
      recent_(configFolder + kStoreName) {
    menu_->setObjectName("recentFilesMenu");
    for (QObject* owner : actions.saveBinaryFile->associatedObjects())
        if (auto* fileMenu = qobject_cast<QMenu*>(owner)) fileMenu->insertMenu(actions.saveBinaryFile, menu_);
    connect(menu_, &QMenu::aboutToShow, this, &RecentFilesMenu::Rebuild);
    SetLoadedFileListener([this](const LoadedFile& file) { recent_.Add(file); });
    listening = this;
    Rebuild();
}

RecentFilesMenu::~RecentFilesMenu() {
    if (listening != this) return;
    SetLoadedFileListener({});
    listening = nullptr;
}

void RecentFilesMenu::Rebuild() {
    menu_->clear();
    const auto& entries = recent_.entries();
    if (entries.empty()) {
        menu_->addAction("No Recent Files")->setEnabled(false);
        return;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        QString label = QString::fromStdString(RecentFileLabel(entries[i]));
        label.replace("&", "&&");
        // 1 to 9, then 0 for the tenth, as accelerator keys.
        QAction* action = menu_->addAction(QString("&%1 %2").arg((i + 1) % 10).arg(label));
        action->setToolTip(QString::fromStdString(entries[i].path));
        connect(action, &QAction::triggered, this, [this, i] { Open(int(i)); });
    }
}

void RecentFilesMenu::Open(int index) {
    if (index < 0 || size_t(index) >= recent_.entries().size()) return;
    const LoadedFile file = recent_.entries()[size_t(index)];
    PauseAround pause;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file.path, error)) {
        recent_.Remove(file.path);
        host().ShowMessage("Recent Files", "\"" + file.path +
                                               "\" is no longer there, so it has been taken off the Recent Files.");
        return;
    }
    // A successful load notes the file again, which moves it to the top.
    if (file.binary)
        LoadBinaryFile(file.path, file.address);
    else
        LoadFileByName(file.path, LoadRoute::LoadFileDialog);
}
