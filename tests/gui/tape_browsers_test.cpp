// The tape browser and the WAV browser, opened from the Tools menu of the real window
// and watched while a tape plays.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "app/qt/application.h"
#include "app/qt/main_loop.h"
#include "app/qt/main_window.h"
#include "app/qt/status_bar_panel.h"
#include "gui_support.h"
#include "display/screen_text.h"
#include "machine/machine_state.h"
#include "tape/spool.h"
#include "tape/load_file.h"
#include "tape/qt/tape_browser.h"
#include "tape/qt/wav_browser.h"
#include "tape/qt/wav_waveform.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

namespace {

QString TestDataFile(const char* name) {
    const QByteArray folder = qgetenv("NOLTACE_TESTDATA");
    return folder.isEmpty() ? QString() : QString::fromUtf8(folder) + "/" + name;
}

// A WAV of a slow square wave: 8-bit mono, 44.1 kHz, `seconds` long.
QByteArray SquareWav(int seconds) {
    QByteArray samples;
    for (int n = 0; n < 44100 * seconds; ++n)
        samples.append(char((n / 50) % 2 ? 220 : 40));
    auto u32 = [](uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + u32(uint32_t(36 + samples.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(44100) +
           u32(44100) + u16(1) + u16(8) + "data" + u32(uint32_t(samples.size())) + samples;
}

// Writes `bytes` to a scratch file and loads it as Load File does; true when it loaded.
bool LoadScratchFile(const QString& name, const QByteArray& bytes) {
    QFile file(ScratchFolder() + name);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    file.close();
    return LoadFileByName(file.fileName().toStdString(), LoadRoute::LoadFileDialog) == LoadResult::Loaded;
}

void Keep(QWidget* w, const QString& name) {
    const QString path = ScratchFolder() + name;
    w->grab().save(path);
    qInfo("screenshot: %s", qPrintable(path));
}

// Pixel rows of the waveform that hold black.
QSet<int> BlackRows(QWidget* wave) {
    const QImage image = wave->grab().toImage();
    QSet<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 40) rows.insert(y);
    return rows;
}

} // namespace

class TapeBrowsersTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }
    void cleanup() {
        for (QWidget* w :
             {static_cast<QWidget*>(OpenTapeBrowserWindow()), static_cast<QWidget*>(OpenWavBrowserWindow())})
            if (w) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        tapeDeck.Reset();
    }

    void tapeBrowserListsTheBlocksAndFollowsPlayback() {
        REQUIRE_GUI_TEST_ROM();
        const QString tzx = TestDataFile("ace/tzx/xmodem.tzx");
        if (tzx.isEmpty()) QSKIP("NOLTACE_TESTDATA does not name the test data folder");
        auto app = StartApplication();
        QVERIFY(app);
        QVERIFY(LoadFileByName(tzx.toStdString(), LoadRoute::LoadFileDialog) == LoadResult::Loaded);
        QAction* command = app->window()->actions().tapeBrowser;
        QVERIFY(command->isEnabled());
        command->trigger();
        TapeBrowser* browser = OpenTapeBrowserWindow();
        QVERIFY(browser);
        QCOMPARE(browser->windowTitle(), QString("Nolt Tape Browser"));
        auto* list = browser->findChild<QListWidget*>("blockList");
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(0)->text(), QString("Text Description: Created using the EightyOne emulator"));
        QCOMPARE(list->item(1)->text(), QString("Bytes: xmodem      CODE 63488,238")); // worded as TAP rows are
        QCOMPARE(list->item(3)->text(), QString("End Of Tape"));
        QCOMPARE(list->currentRow(), 0);

        // Choosing a row shows its details without moving the tape.
        list->setCurrentRow(1);
        auto* details = browser->findChild<QTreeWidget*>("blockDetails");
        QCOMPARE(details->topLevelItem(0)->text(1), QString("0x10 - STANDARD SPEED DATA BLOCK"));
        QCOMPARE(tapeDeck.currentBlock->index, 0);

        opt_fastloadtzx = false;
        auto* play = browser->findChild<QPushButton*>("play");
        play->click();
        QVERIFY(tzxPlaying);
        QCOMPARE(play->toolTip(), QString("Stop"));
        // The text block passes once the tape has wound up; the header then plays.
        (void)RunUntil(*app, [&] { return tapeDeck.currentBlock->index != 0; }, 100);
        QCOMPARE(tapeDeck.currentBlock->index, 1);
        RunFrames(*app, 15);
        QCOMPARE(list->currentRow(), 1);
        auto* progress = browser->findChild<QProgressBar*>("blockProgress");
        QCOMPARE(progress->maximum(), 27);
        Keep(browser, "tape_browser.png");

        play->click();
        QVERIFY(!tzxPlaying);
        browser->findChild<QPushButton*>("next")->click();
        RunFrames(*app, 8);
        QCOMPARE(list->currentRow(), 2);
        browser->findChild<QPushButton*>("eject")->click();
        QVERIFY(!TapeInDeck());
        QCOMPARE(list->count(), 1);
        RunFrames(*app, 15);
        QVERIFY2(progress->maximum() > progress->minimum(), "an empty range would make a busy indicator");
        QCOMPARE(progress->value(), progress->minimum());
    }

    void wavBrowserShowsTheWaveformAndMovesWhilePlaying() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QFile file(ScratchFolder() + "square.wav");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(SquareWav(3));
        file.close();
        QVERIFY(LoadFileByName(file.fileName().toStdString(), LoadRoute::LoadFileDialog) == LoadResult::Loaded);
        app->window()->actions().wavBrowser->trigger();
        WavBrowser* browser = OpenWavBrowserWindow();
        QVERIFY(browser);
        QCOMPARE(browser->windowTitle(), QString("NoltACE Wav Browser"));
        QCOMPARE(browser->findChild<QLabel*>("audioFormat")->text(), QString("PCM"));
        QCOMPARE(browser->findChild<QLabel*>("sampleRate")->text(), QString("44.1khz"));
        QCOMPARE(browser->findChild<QLabel*>("time")->text(), QString("0s/3s"));
        QWidget* wave = browser->findChild<QWidget*>("waveform");
        QVERIFY(BlackRows(wave).size() >= 2);

        // No Ace header in a square wave: the usual polarity stays; the switch flips it.
        auto* invert = browser->findChild<QCheckBox*>("invert");
        QVERIFY(invert);
        QCOMPARE(invert->text(), QString("Invert signal"));
        QVERIFY(!invert->isChecked() && !wavDeck.wavInvert);
        const bool usualHigh = WavSampleLevel(0) > 128;
        QTest::mouseClick(invert, Qt::LeftButton, {}, QPoint(8, invert->height() / 2));
        QVERIFY(wavDeck.wavInvert);
        QCOMPARE(WavSampleLevel(0) > 128, !usualHigh);
        QTest::mouseClick(invert, Qt::LeftButton, {}, QPoint(8, invert->height() / 2));
        QVERIFY(!wavDeck.wavInvert);

        browser->findChild<QPushButton*>("play")->click();
        QVERIFY(wavPlaying);
        const QImage before = wave->grab().toImage();
        RunFrames(*app, 60);
        QVERIFY(wavDeck.wavPosition > 20000);
        QCOMPARE(browser->findChild<QLabel*>("status")->text(), QString("  Playing"));
        QVERIFY(browser->findChild<QScrollBar*>("position")->value() > 0);
        QVERIFY(browser->findChild<QLabel*>("time")->text().startsWith("1s/") ||
                browser->findChild<QLabel*>("time")->text().startsWith("0s/"));
        QVERIFY2(wave->grab().toImage() != before, "the waveform moves with the play position");
        Keep(browser, "wav_browser.png");
        browser->findChild<QPushButton*>("play")->click();
        QVERIFY(!wavPlaying);
    }

    void recordThenPlaySavesTheRecordingUnderANewName() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        app->window()->actions().wavBrowser->trigger();
        WavBrowser* browser = OpenWavBrowserWindow();
        browser->findChild<QPushButton*>("record")->click();
        QVERIFY(recordArmed);
        QCOMPARE(browser->findChild<QLabel*>("status")->text(), QString("  Recording"));
        StartRecording(); // as the ROM's SAVE would
        QWidget* wave = browser->findChild<QWidget*>("waveform");
        // The MIC line as a SAVE drives it (far slower), straight into the recorder.
        for (int k = 0; k < 3000; ++k) {
            if (k % 150 == 0) machine.micBit ^= 8;
            machine.tapeClock = 0;
            WavSampleTick(0);
        }
        Keep(browser, "wav_browser_recording.png");
        QVERIFY2(BlackRows(wave).size() > 10, "the recording shows as it grows");
        RunFrames(*app, 10);
        const QString path = ScratchFolder() + "brand new.wav";
        auto answered = AnswerNextModal([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY2(dialog, "a file dialog opens");
            QCOMPARE(dialog->windowTitle(), QString("Save WAV File"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        browser->findChild<QPushButton*>("play")->click();
        QVERIFY(*answered);
        QVERIFY(!recording && wavLoaded);
        QVERIFY(QFileInfo(path).size() > 44);
        QCOMPARE(browser->findChild<QLabel*>("status")->text(), QString("  Stopped"));
    }

    void aSelectBlockPlaysTheChoiceActivatedInTheDetails() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        // A select block of two choices, then the two blocks they lead to.
        const QByteArray tzx = QByteArray("ZXTape!\x1A\x01\x14", 10) +
                               QByteArray("\x28\x0B\x00\x02\x01\x00\x02ok\x02\x00\x02no", 14) +
                               QByteArray("\x20\x64\x00", 3) + QByteArray("\x20\xC8\x00", 3);
        QVERIFY(LoadScratchFile("select.tzx", tzx));
        app->window()->actions().tapeBrowser->trigger();
        TapeBrowser* browser = OpenTapeBrowserWindow();
        auto* details = browser->findChild<QTreeWidget*>("blockDetails");
        QCOMPARE(details->topLevelItem(1)->text(1), QString("ok (+1 blocks), plays"));
        QCOMPARE(details->topLevelItem(2)->text(1), QString("no (+2 blocks)"));
        QVERIFY(QTest::qWaitForWindowExposed(browser));
        QTreeWidgetItem* second = details->topLevelItem(2);
        const QPoint place = details->visualItemRect(second).center();
        QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, place);
        QTest::mouseDClick(details->viewport(), Qt::LeftButton, {}, place);
        QCOMPARE(tapeDeck.tapeInDeck->blocks[0].timing.chosen, uint8_t(1));
        QCOMPARE(details->topLevelItem(2)->text(1), QString("no (+2 blocks), plays"));
        opt_fastloadtzx = false;
        StartTzxPlayback();
        (void)RunUntil(*app, [&] { return tapeDeck.currentBlock->index != 0; }, 100);
        QCOMPARE(tapeDeck.currentBlock->index, 2); // the 200 ms pause, not the 100 ms one
    }

    void theStatusBarShowsTheDeckAtEverySize() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QVERIFY(LoadScratchFile("deck.tap", QByteArray("\x03\x00\x01\x02\x03", 5)));
        StatusBarPanel& status = app->window()->statusPanel();
        for (QAction* size : {app->window()->actions().size100, app->window()->actions().size200}) {
            size->trigger();
            app->loop().RunFor(1.1);
            QVERIFY2(status.PartText(3).endsWith(" Deck: deck.tap (TAP)"), qPrintable(status.PartText(3)));
            auto* part = app->window()->findChild<QLabel*>("statusPart3");
            const int needed = part->fontMetrics().horizontalAdvance(" Deck: deck.tap (TAP)");
            QVERIFY2(part->contentsRect().width() >= needed, "the deck's text has room");
        }
        Keep(app->window(), "status_bar_deck.png");
    }

    // Fast loading and autoload together: the tape loads, and a LOAD that then finds
    // nothing leaves the window running (frames go on) until BREAK.
    void fastAutoloadedTzxLoadsAndTheWindowKeepsRunning() {
        REQUIRE_GUI_TEST_ROM();
        const QString tzx = TestDataFile("ace/tzx/xmodem.tzx");
        if (tzx.isEmpty()) QSKIP("NOLTACE_TESTDATA does not name the test data folder");
        auto app = StartApplication();
        QVERIFY(app);
        opt_fastloadtzx = true;
        opt_autoload = true;
        QVERIFY(LoadFileByName(tzx.toStdString(), LoadRoute::LoadFileDialog) == LoadResult::Loaded);
        (void)RunUntil(*app, [&] { return QString::fromStdString(ScreenText()).contains("OK"); }, 300);
        QVERIFY2(QString::fromStdString(ScreenText()).contains("Bytes: xmodem     OK"), ScreenText().c_str());
        StartSpool("load nothere\r");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 300);
        RunFrames(*app, 50);
        QVERIFY(!tzxPlaying);
        // BREAK is typed at a frame's end: only frames that go on can deliver it.
        StartSpool(" ");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 150);
        QVERIFY2(QString::fromStdString(ScreenText()).contains("load nothere ERROR 3"), ScreenText().c_str());
        Keep(app->window(), "fast_autoload.png");
        opt_fastloadtzx = opt_autoload = false;
    }

    void aTapPastItsEndShowsEndOfTapeAndRewinds() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QVERIFY(LoadScratchFile("one.tap", QByteArray("\x03\x00\x01\x02\x03", 5)));
        app->window()->actions().tapeBrowser->trigger();
        TapeBrowser* browser = OpenTapeBrowserWindow();
        auto* list = browser->findChild<QListWidget*>("blockList");
        tapeDeck.currentBlock = nullptr; // as the load trap leaves it after the last block
        RunFrames(*app, 15);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(list->currentItem()->text(), QString("End Of Tape"));
        browser->findChild<QPushButton*>("rewind")->click();
        QCOMPARE(tapeDeck.currentBlock, tapeDeck.tapeInDeck->first());
        QCOMPARE(list->currentRow(), 0);
    }

    void waveformScaleHoldsOnATallArea() {
        // 256 / height in whole numbers is 0 on a 300-pixel area.
        QCOMPARE(WavWaveform::LevelY(255, 600), 0.0);
        QCOMPARE(WavWaveform::LevelY(0, 600), 599.0);
        QVERIFY(WavWaveform::LevelY(128, 600) > 290 && WavWaveform::LevelY(128, 600) < 310);
    }
};

REGISTER_GUI_SUITE(TapeBrowsersTest);
#include "tape_browsers_test.moc"
