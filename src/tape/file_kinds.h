// Kinds of file the emulator loads, chosen by the name's ending.
#pragma once

enum class FileKind { None, Tap, Tzx, Wav, Snapshot, Spool, Rom, Binary };

// The kind of the file loaded last (the Dev command uses its name); None after a reset.
extern FileKind currentFileKind;
