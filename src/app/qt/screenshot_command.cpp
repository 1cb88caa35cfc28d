#include "app/qt/screenshot_command.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/qt/run_commands.h"
#include "base/host.h"
#include "base/messages.h"
#include "base/file_writer.h"
#include "display/bmp_file.h"
#include "display/qt/display_presenter.h"
#include "display/qt/frame_view.h"

QString screenshotFileName;

namespace {

const char* const kBmpFilter = "BMP files (*.bmp)";
const char* const kPngFilter = "PNG files (*.png)";
// One title for both formats: the filter, not the title, says which is written.
const char* const kTitle = "Save Screenshot";

} // namespace

QImage CapturePresentedPicture(DisplayPresenter& presenter) {
    FrameView* view = presenter.view();
    if (!view || !view->Ready()) return {};
    return view->Grab().convertToFormat(QImage::Format_RGB32);
}

bool WriteScreenshotFile(const QImage& picture, const std::string& path, std::string& error) {
    // Format_RGB32 rows are whole 32-bit words; copy them one by one all the same, as
    // QImage may pad a row.
    std::vector<uint32_t> pixels(size_t(picture.width()) * size_t(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
        std::copy(row, row + picture.width(), pixels.begin() + ptrdiff_t(y) * picture.width());
    }
    return WriteScreenshotImage(path, picture.width(), picture.height(), pixels.data(), error);
}

void SaveScreenshotCommand(QWidget* window, DisplayPresenter& presenter) {
    PauseAround pause;
    // The picture as it is now, before a dialog covers any of it.
    const QImage picture = CapturePresentedPicture(presenter);
    if (picture.isNull()) return;

    QFileDialog dialog(window, kTitle, screenshotFileName, QString(kBmpFilter) + ";;" + kPngFilter);
    dialog.setObjectName("saveScreenshotDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave); // new names welcome; asks before replacing
    if (HasPngEnding(screenshotFileName.toStdString())) dialog.selectNameFilter(kPngFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;

    SaveScreenshotAs(picture, dialog.selectedFiles().first().toStdString(),
                     dialog.selectedNameFilter() == kPngFilter);
}

bool SaveScreenshotAs(const QImage& picture, const std::string& chosen, bool pngChosen) {
    const std::string path = ScreenshotFileName(chosen, pngChosen ? ".png" : ".bmp");
    // The dialog asked about the name as typed; an ending added here makes another name.
    if (path != chosen && QFileInfo::exists(QString::fromStdString(path)) &&
        !host().AskYesNo(kTitle, path + " already exists.\nDo you want to replace it?"))
        return false;
    screenshotFileName = QString::fromStdString(path);

    std::string error;
    if (WriteScreenshotFile(picture, path, error)) return true;
    ReportWriteFailure(error);
    return false;
}
