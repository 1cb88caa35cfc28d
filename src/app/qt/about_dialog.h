// Help, About: the version and the credits, with OK.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* owner);
};

// The text of the box: "Version 1.06" and the credit paragraph.
QString AboutText();
