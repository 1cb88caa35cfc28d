// Start-up: the command line's loads, and what the user sees without a ROM.
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "app/qt/message_dialog.h"
#include "app/qt/rom_missing_dialog.h"
#include "app/shell_state.h"
#include "base/messages.h"
#include "display/screen_text.h"
#include "gui_support.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "sound/sound_output.h"
#include "machine/run_state.h"
#include "tape/spool.h"

namespace {

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void binaryFileLoadsAtItsAddressBeforeTheFirstFrame() {
        REQUIRE_GUI_TEST_ROM();
        const QString bin = WriteFile(ScratchFolder() + "code.bin", QByteArray("\x3E\x2A\xC9\x11\x22", 5));
        auto app = StartApplication({bin.toStdString(), "16384"});
        QVERIFY(app);
        QCOMPARE(ramBlock[16384], uint8_t(0x3E));
        QCOMPARE(ramBlock[16388], uint8_t(0x22));
    }

    void customRomReplacesTheStandardOne() {
        REQUIRE_GUI_TEST_ROM();
        QFile standard(TestRomPath());
        QVERIFY(standard.open(QIODevice::ReadOnly));
        QByteArray image = standard.readAll();
        image[0x100] = char(0xA5);
        const QString rom = WriteFile(ScratchFolder() + "mine.rom", image);
        auto app = StartApplication({"-r", rom.toStdString()});
        QVERIFY(app);
        QCOMPARE(QString::fromStdString(romState.currentRomName), QString("MINE.ROM"));
        QCOMPARE(machine.pages[0][0x100], uint8_t(0xA5));
    }

    void iniSwitchUsesTheExecutableFolder() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication({"-i"});
        QVERIFY(app);
        QVERIFY(iniInExecutableFolder);
        QCOMPARE(configFolder, executableFolder);
    }

    void failingSoundDeviceLeavesASilentEmulator() {
        REQUIRE_GUI_TEST_ROM();
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        // One box, owned by the main window, which is on the screen when the box opens.
        QString said;
        bool windowShown = false;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* message = qobject_cast<MessageDialog*>(modal);
            said = message ? message->windowTitle() + "|" + message->text() : modal->objectName();
            windowShown = modal->parentWidget() && modal->parentWidget()->isVisible() &&
                          modal->parentWidget()->windowTitle() == "NoltACE v1.06";
            modal->close();
        });
        auto app = StartApplication();
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(app);
        QTRY_VERIFY(*answered);
        QCOMPARE(said, QString("NoltACE Error|3C - SDL Audio: Failed to initialise sound"));
        QVERIFY(windowShown);
        QVERIFY(!SoundOutputOn());
        frameDriver.frameCounter = 0;
        auto more = CloseNextMessage(300);
        RunFrames(*app, 25);
        QVERIFY(frameDriver.frameCounter > 0);
        QVERIFY2(more->isEmpty(), qPrintable(*more)); // and no second box
    }

    void missingRomNamesItsPlaces() {
        const QString empty = ScratchFolder();
        qputenv("NOLTACE_ROM", QString(empty + "nothing.rom").toLocal8Bit());
        qputenv("XDG_DATA_HOME", QString(empty + "data").toLocal8Bit());
        QString said, places;
        // First the message box, then the window that lists the places.
        AnswerNextModal([&](QWidget* message) {
            said = message->windowTitle() + "|" + message->findChild<QLabel*>("messageText")->text();
            message->close();
            AnswerNextModal([&](QWidget* list) {
                if (auto* label = list->findChild<QLabel*>("romPlaces")) places = label->text();
                list->close();
            });
        });
        Application app({});
        QVERIFY(!app.Start());
        QCOMPARE(said, QString("NoltACE Error|02 - ROM missing"));
        QVERIFY2(places.contains(empty + "nothing.rom"), qPrintable(places));
        QVERIFY(places.contains("roms/ace.rom"));
        QVERIFY(places.contains(empty + "data/noltace/roms/ace.rom"));
        QVERIFY(places.contains("/usr/share/noltace/roms/ace.rom"));
        QVERIFY(places.contains("/usr/local/share/noltace/roms/ace.rom"));
        QVERIFY(!app.window());
    }

    // "Choose ROM File...": a wrong file is refused with the reason and the window stays;
    // the real ROM is copied to the user's data folder and the Ace boots to FORTH.
    void chosenRomIsCopiedAndTheEmulatorStarts() {
        REQUIRE_GUI_TEST_ROM();
        const QString empty = ScratchFolder();
        qputenv("NOLTACE_ROM", QString(empty + "nothing.rom").toLocal8Bit());
        qputenv("XDG_DATA_HOME", QString(empty + "data").toLocal8Bit());
        const QString wrong = WriteFile(empty + "wrong.rom", QByteArray(8192, '\0'));
        QString refusal;
        bool hasButton = false, stayedAfterRefusal = false, accepted = false;
        AnswerNextModal([&](QWidget* message) {
            message->close();
            AnswerNextModal([&](QWidget* list) {
                auto* dialog = qobject_cast<RomMissingDialog*>(list);
                auto* button = list->findChild<QPushButton*>("chooseRomButton");
                hasButton = button && button->text() == "Choose ROM File...";
                AnswerNextModal([&](QWidget* refused) {
                    refusal = qobject_cast<QMessageBox*>(refused) ? qobject_cast<QMessageBox*>(refused)->text() : "";
                    refused->close();
                });
                if (!dialog) {
                    list->close();
                    return;
                }
                dialog->InstallChosenRom(wrong);
                stayedAfterRefusal = dialog->isVisible();
                accepted = dialog->InstallChosenRom(TestRomPath());
            });
        });
        Application app({});
        QVERIFY(app.Start());
        QVERIFY(hasButton);
        QVERIFY2(refusal.contains("does not look like the Jupiter Ace ROM"), qPrintable(refusal));
        QVERIFY(stayedAfterRefusal);
        QVERIFY(accepted);
        QFile copied(empty + "data/noltace/roms/ace.rom");
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QFile original(TestRomPath());
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), original.readAll());
        QVERIFY(app.window() && app.window()->isVisible());
        runState.FastMode = true;
        StartSpool(std::string("6 7 * .\r"));
        (void)RunUntil(app, [&] { return ScreenLine(0) == "6 7 * . 42  OK"; }, 600);
        QCOMPARE(QString::fromStdString(ScreenLine(0)), QString("6 7 * . 42  OK"));
    }
};

REGISTER_GUI_SUITE(StartUpTest);
#include "start_up_test.moc"
