// The File menu's loads and saves and the Dev shortcut, driven through the real window:
// each command is enabled and reaches its loader, its dialogs answered as a user would.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "base/current_file.h"
#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"

namespace {

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void Fill(QWidget* dialog, const char* field, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(field);
    QVERIFY2(edit, field);
    edit->setText(text);
}

// A TAP file of one header block and one data block.
QByteArray TwoBlockTape() {
    QByteArray header(25, ' ');
    header[0] = 0;
    header.replace(1, 4, "GAME");
    auto block = [](const QByteArray& data) {
        QByteArray out;
        const int length = int(data.size()) + 1;
        out.append(char(length & 0xFF)).append(char(length >> 8)).append(data);
        char x = 0;
        for (char c : data)
            x ^= c;
        return out.append(x);
    };
    return block(header) + block(QByteArray(3, '\x07'));
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        ResetEmulatorState();
        snapshotFolder.clear();
        spoolFolder.clear();
        tapeFolder.clear();
    }
    void cleanup() { tapeDeck.Reset(); }

    void fileCommandsAreEnabled() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const MainMenuActions& a = app->window()->actions();
        for (QAction* action :
             {a.loadFile, a.loadSpoolFile, a.loadBinaryFile, a.saveBinaryFile, a.saveSnapshot, a.dev})
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    }

    void loadFileInsertsTheChosenTape() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString tape = WriteFile(ScratchFolder() + "game.tap", TwoBlockTape());
        auto chosen = ChooseInNextFileDialog(tape);
        app->window()->actions().loadFile->trigger();
        QVERIFY(*chosen);
        QVERIFY(TapeInDeck());
        QCOMPARE(int(tapeDeck.tapeInDeck->blocks.size()), 2);
        QCOMPARE(currentFileKind, FileKind::Tap);
        QCOMPARE(QString::fromStdString(currentFile.currentBareName), QString("game"));
        QCOMPARE(machine.pages[0][kLoadTrapAddress + 1], uint8_t(0xFC));
    }

    void loadSpoolFileStartsTyping() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString words = WriteFile(ScratchFolder() + "words.fs", ": sq dup * ;\r\n");
        auto chosen = ChooseInNextFileDialog(words);
        app->window()->actions().loadSpoolFile->trigger();
        QVERIFY(*chosen);
        QVERIFY(spool.spoolActive);
        QCOMPARE(spool.spoolLeft, 14);
    }

    void binaryDialogsSaveAndLoad() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString folder = ScratchFolder();
        machine.ram[0x3C80] = 0xAB;
        machine.ram[0x3C81] = 0xCD;
        std::shared_ptr<bool> saved;
        AnswerNextModal([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save Binary File"));
            // The browse button fills the name from a save dialog, as Load Binary's does.
            auto browsed = ChooseInNextFileDialog(folder + "pair.bin");
            auto* browse = dialog->findChild<QToolButton*>("browse");
            QVERIFY2(browse, "Save Binary File has a browse button");
            browse->click();
            QVERIFY(*browsed);
            QCOMPARE(dialog->findChild<QLineEdit*>("fileName")->text(), QFileInfo(folder + "pair.bin").absoluteFilePath());
            Fill(dialog, "startAddress", "$3C80");
            Fill(dialog, "length", "2");
            saved = ChooseInNextFileDialog(folder + "pair.bin");
            dialog->findChild<QPushButton*>("ok")->click();
        });
        app->window()->actions().saveBinaryFile->trigger();
        QVERIFY(saved && *saved);
        QFile file(folder + "pair.bin");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xAB\xCD"));

        AnswerNextModal([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Load Binary File"));
            Fill(dialog, "fileName", folder + "pair.bin");
            Fill(dialog, "startAddress", "16000");
            dialog->findChild<QPushButton*>("ok")->click();
        });
        app->window()->actions().loadBinaryFile->trigger();
        QCOMPARE(machine.ram[16000], uint8_t(0xAB));
        QCOMPARE(machine.ram[16001], uint8_t(0xCD));
    }

    void saveSnapshotWritesTheFile() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString folder = ScratchFolder();
        auto chosen = ChooseInNextFileDialog(folder + "state.ace");
        app->window()->actions().saveSnapshot->trigger();
        QVERIFY(*chosen);
        QVERIFY(QFile::exists(folder + "state.ace"));
    }

    void devTypesTheCurrentFilesText() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString folder = ScratchFolder();
        WriteFile(folder + "maze.txt", "vlist\r");
        spoolFolder = (folder + "other.txt").toStdString();
        currentFile.currentBareName = "maze";
        QTest::keyClick(app->window(), Qt::Key_F6);
        QVERIFY(spool.spoolActive);
        QCOMPARE(spool.spoolLeft, 6);
    }
};

REGISTER_GUI_SUITE(FileCommandsTest);
#include "file_commands_test.moc"
