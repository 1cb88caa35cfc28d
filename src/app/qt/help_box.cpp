#include "app/qt/help_box.h"

#include <cstdlib>
#include <ctime>

#include <QMessageBox>

#include "app/help_quotes.h"

void ShowHelpBox(QWidget* owner) {
    std::srand(unsigned(std::time(nullptr)));
    QMessageBox box(QMessageBox::NoIcon, "Help", HelpQuote(std::rand() % kHelpQuoteCount), QMessageBox::Ok,
                    owner);
    box.setObjectName("helpBox");
    box.exec();
}
