#include "app/qt/edit_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QString>

#include "app/paste_text.h"
#include "app/qt/status_bar_panel.h"
#include "display/screen_text.h"
#include "tape/spool.h"

namespace edit_commands {

void PasteText(StatusBarPanel& status) {
    TypeText(QApplication::clipboard()->text(), status);
}

void TypeText(const QString& text, StatusBarPanel& status) {
    const AceText ace = AceTextFrom(text.toStdU32String());
    if (!ace.text.empty()) StartSpool(ace.text, 0);
    status.SetSpoolNote(QString::fromStdString(LeftOutMessage(ace.leftOut)));
}

void CopyScreenText() {
    QApplication::clipboard()->setText(QString::fromStdString(ScreenTextForCopying()));
}

bool CancelSpooling() {
    if (!spool.spoolActive) return false;
    CancelSpool();
    return true;
}

} // namespace edit_commands
