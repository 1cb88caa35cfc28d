// The Edit menu: text typed into the Ace from the PC, and the Ace's screen as text.
//
// Pasted (or dropped) text is typed like a spool file, at the pace the ROM reads keys
// but without the spool speed's lower bound; the status bar shows its progress, and Esc
// or Cancel Spooling stops it. Characters the Ace has no key for are left out, and one
// status-bar message says how many.
#pragma once

class QString;
class StatusBarPanel;

namespace edit_commands {

void PasteText(StatusBarPanel& status);
void TypeText(const QString& text, StatusBarPanel& status);
void CopyScreenText();
// True when a spool was running and has stopped.
bool CancelSpooling();

} // namespace edit_commands
