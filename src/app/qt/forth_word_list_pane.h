// The debugger's FORTH word list: the words of the RAM dictionary, newest first, with
// the address each one's link field holds (debugger/forth_views.h). The list is taken
// when the pane is made and again on Refresh().
#pragma once

#include <QTreeWidget>

#include <optional>
#include <vector>

#include "debugger/forth_views.h"

class ForthWordListPane : public QTreeWidget {
    Q_OBJECT
  public:
    explicit ForthWordListPane(QWidget* parent);
    void Refresh();
    // The word a row shows, as the list was last taken.
    std::optional<ForthWord> WordOf(const QTreeWidgetItem* item) const;

  private:
    std::vector<ForthWord> words_;
};
