// File, Recent Files: what was loaded is there after a restart, newest first; a file that
// has gone is taken off with a message; choosing an entry loads it again.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

#include "app/config/config_file.h"
#include "app/qt/application.h"
#include "app/qt/file_commands.h"
#include "app/qt/main_window.h"
#include "app/qt/recent_files_menu.h"
#include "base/current_file.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "app/config/settings_table.h"
#include "tape/binary_files.h"
#include "tape/file_kinds.h"

namespace {

// The entries as the menu shows them when it opens.
QStringList MenuTexts(MainWindow& window) {
    QMenu* menu = window.findChild<QMenu*>("recentFilesMenu");
    if (!menu) return {"no Recent Files menu"};
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

} // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void loadedFilesAreListedAfterARestart() {
        REQUIRE_GUI_TEST_ROM();
        const QString folder = ScratchFolder();
        const QString config = folder + "config";
        // The test's settings, so that start-up finds a configuration and asks nothing.
        QDir().mkpath(config + "/noltace");
        WriteTestFile(config + "/noltace/noltace.ini", QByteArray::fromStdString(FormatConfigText(LiveOptions())));
        // One whole block of 26 bytes: a tape that loads without a word.
        const QByteArray block = QByteArray("\x1A\x00", 2) + QByteArray(26, ' ');
        const QString tape = WriteTestFile(folder + "maze.tap", block);
        const QString gone = WriteTestFile(folder + "gone.tap", block);
        const QString code = WriteTestFile(folder + "code.bin", QByteArray("\x3E\x2A\xC9", 3));
        {
            auto app = StartApplicationWithConfigFolder(config);
            QVERIFY(app);
            QCOMPARE(MenuTexts(*app->window()), QStringList{"No Recent Files"});
            LoadDroppedFile(app->window(), gone);
            LoadBinaryFile(code.toStdString(), 16384);
            LoadDroppedFile(app->window(), tape);
        }
        QVERIFY(QFile::exists(config + "/noltace/recent-files"));
        QFile::remove(gone);

        auto app = StartApplicationWithConfigFolder(config);
        QVERIFY(app);
        MainWindow& window = *app->window();
        // In the File menu, right after "Load Binary File...".
        QStringList fileItems;
        for (QObject* owner : window.actions().loadBinaryFile->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(owner))
                for (QAction* action : menu->actions())
                    fileItems << action->text();
        const int at = fileItems.indexOf("Load &Binary File...");
        QVERIFY(at >= 0);
        QCOMPARE(fileItems.value(at + 1), QString("Recent &Files"));

        const QString kept = QDir::cleanPath(folder); // the list keeps clean absolute paths
        QCOMPARE(MenuTexts(window), (QStringList{"&1 maze.tap  (" + kept + ")", "&2 code.bin at 16384  (" + kept + ")",
                                                 "&3 gone.tap  (" + kept + ")"}));

        // The missing one: a message, and it is off the list (and off the stored list).
        auto said = CloseNextMessage();
        window.recentFiles().Open(2);
        QVERIFY2(said->startsWith("Recent Files|\"" + kept + "/gone.tap\" is no longer there"), qPrintable(*said));
        QCOMPARE(MenuTexts(window).size(), 2);

        // Choosing the binary file loads it again at its address and puts it first.
        machine.ram[16384] = 0;
        window.recentFiles().Open(1);
        QCOMPARE(machine.ram[16384], uint8_t(0x3E));
        QVERIFY(MenuTexts(window).value(0).startsWith("&1 code.bin"));
        window.recentFiles().Open(1);
        QCOMPARE(QString::fromStdString(currentFile.currentFilePath), kept + "/maze.tap");
        QCOMPARE(currentFileKind, FileKind::Tap);
        QVERIFY(MenuTexts(window).value(0).startsWith("&1 maze.tap"));
    }
};

REGISTER_GUI_SUITE(RecentFilesTest);
#include "recent_files_test.moc"
