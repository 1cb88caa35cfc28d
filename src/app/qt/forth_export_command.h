// Tools > "Export FORTH Source...": asks for a file and writes the RAM dictionary there as
// a spool text (debugger/forth_export.h), then says how many words went as source and
// how many as raw bytes.
#pragma once

class QWidget;

void ExportForthSourceCommand(QWidget* parent);
