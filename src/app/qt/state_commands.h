// Emulation, Quick Save and Quick Load (slots 1 to 9, kept as state files in
// $XDG_DATA_HOME/noltace/states/, so they outlast the session) and Rewind, one emulated
// second back each time (F8; held, it goes on back with the picture shown as it goes).
//
// Shortcuts: Alt+1 to Alt+9 load a slot, Alt+Shift+1 to Alt+Shift+9 save one. Alt is no
// key of the Ace, so neither reaches the machine. A slot saved on another model brings
// its model with it. After a state is put back the PC's keys count as released: the
// keys held when it was saved are not held now.
#pragma once

#include <QString>

class MainLoop;

namespace state_commands {

constexpr int kSlots = 9;

QString SlotFolder();       // with a trailing slash
QString SlotPath(int slot); // slot 1 to 9

// Both report a failure in a message box and leave the machine as it was.
void QuickSave(int slot);
void QuickLoad(int slot);
void Rewind(MainLoop& loop);

} // namespace state_commands
