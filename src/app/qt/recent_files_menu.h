// File, Recent Files: a submenu after "Load Binary File..." listing the last ten files
// loaded (app/recent_files.h), newest first. Choosing one loads it again the way it was
// loaded; a file that is no longer there is taken off the list with a message.
#pragma once

#include <QObject>

#include "app/recent_files.h"

class QMenu;
struct MainMenuActions;

class RecentFilesMenu : public QObject {
    Q_OBJECT
  public:
    // Reads "recent-files" from the configuration folder and listens to every load.
    RecentFilesMenu(const MainMenuActions& actions, QWidget* window);
    ~RecentFilesMenu() override;

    QMenu* menu() const { return menu_; }
    RecentFiles& list() { return recent_; }
    // Loads entry `index` again (what choosing it in the menu does).
    void Open(int index);

  private:
    void Rebuild();

    QWidget* window_;
    QMenu* menu_;
    RecentFiles recent_;
};
