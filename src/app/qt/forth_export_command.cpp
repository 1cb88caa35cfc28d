#include "app/qt/forth_export_command.h"

#include "base/host.h"
#include "debugger/forth_export.h"

void ExportForthSourceCommand(QWidget*) {
    FileDialogRequest request;
    request.title = "Export FORTH Source";
    request.filters = {{"SPOOL files (*.txt, *.ja4, *.fs)", "*.txt;*.ja4;*.fs"}, {"All files (*)", "*"}};
    request.initialName = "words.txt";
    request.defaultExtension = "txt";
    const std::string path = host().ChooseSaveFile(request);
    if (path.empty()) return;
    ForthExportCounts counts;
    std::string error;
    if (!WriteForthExport(path, counts, error)) {
        host().ShowMessage("Export FORTH Source", error);
        return;
    }
    host().ShowMessage("Export FORTH Source", ForthExportSummary(counts));
}
