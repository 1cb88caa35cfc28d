#include "debugger/qt/go_to_address.h"

#include <QInputDialog>

#include "base/messages.h"
#include "debugger/breakpoints.h"

std::optional<uint32_t> AskGoToAddress(QWidget* parent) {
    QInputDialog dialog(parent);
    dialog.setObjectName("goToAddress");
    dialog.setWindowTitle("Go to Address");
    dialog.setLabelText("Address (#3C00, $3C00, 0x3C00 or decimal):");
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        std::string text = dialog.textValue().trimmed().toStdString();
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "#");
        if (const std::optional<uint32_t> address = parseNumber(text)) return *address;
        ReportMessage(kCaptionDebug, kMsgBadNumber);
    }
}
