#include "app/qt/help_box.h"

#include <cstdlib>
#include <ctime>

#include <QMessageBox>

#include "app/help_quotes.h"
#include "app/keyboard.h"
#include "app/qt/main_menu.h"

namespace {

// The PC keys for the Ace's keys that no PC character types.
QString KeyboardNotes() {
    QString notes = "Keys type the character they show on the PC's keyboard. The Ace's other keys:\n";
    for (const EditingKeyName& key : kEditingKeyNames)
        notes += QString("\n%1:  %2").arg(key.pcKey, key.aceKey);
    notes += QString("\n\n%1:  Edit, Paste Text (types the clipboard; Esc stops it)").arg(kPasteTextShortcut);
    notes += "\nAlt+Shift+1 to 9:  Emulation, Quick Save to slot 1 to 9";
    notes += "\nAlt+1 to 9:  Emulation, Quick Load from slot 1 to 9";
    notes += "\nF8:  Emulation, Rewind one second (hold it to go on back)";
    return notes;
}

} // namespace

void ShowHelpBox(QWidget* owner) {
    std::srand(unsigned(std::time(nullptr)));
    QMessageBox box(QMessageBox::NoIcon, "Help", HelpQuote(std::rand() % kHelpQuoteCount), QMessageBox::Ok,
                    owner);
    box.setObjectName("helpBox");
    box.setInformativeText(KeyboardNotes());
    box.exec();
}
