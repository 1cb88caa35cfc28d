// Options, Default Folders: where the file dialogs start for snapshots, tapes and spool
// files, and whether noltace.ini lives beside the program (that box acts at once).
#pragma once

#include <QWidget>

class OptionsFoldersPage : public QWidget {
  public:
    explicit OptionsFoldersPage(QWidget* parent = nullptr);
};
