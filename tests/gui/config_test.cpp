// Settings that last: the first start writes noltace.ini without a word, the next start
// comes back at the stored scale and colours, and the options dialog applies on OK and
// keeps only its "at once" changes on Cancel.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "app/config/config_file.h"
#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "app/qt/view_controller.h"
#include "app/shell_state.h"
#include "display/display_settings.h"
#include "display/presentation.h"
#include "display/qt/screen_panel.h"
#include "display/renderer.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "sound/sound_settings.h"
#include "tape/file_paths.h"

namespace {

QStringList FileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

int PixelsOf(uint32_t colour) {
    int n = 0;
    for (uint32_t pixel : renderer.frameImage)
        n += pixel == colour;
    return n;
}

constexpr uint16_t kMarker = 0x3F00; // a byte of user RAM that only a reset clears

} // namespace

class ConfigTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void firstStartWritesTheFileQuietlyAndTheNextStartUsesIt() {
        REQUIRE_GUI_TEST_ROM();
        const QString home = ScratchFolder() + "config";
        const QString ini = home + "/noltace/noltace.ini";
        {
            auto anyBox = AnswerNextModal([](QWidget* modal) { modal->close(); }, 1500);
            auto app = StartApplicationWithConfigFolder(home);
            QVERIFY(app);
            RunFrames(*app, 80);
            QVERIFY2(!*anyBox, "a first start shows no message");
        }
        QStringList lines = FileLines(ini);
        QVERIFY(lines.size() > 60);
        QCOMPARE(lines.front(), QString("[Emulation]"));
        QCOMPARE(lines[lines.size() - 2], QString("[End]"));
        QCOMPARE(lines.back(), QString("-----Nothing Below This Line-----"));

        // The user sets green colours and 200% in the file.
        lines.replaceInStrings(QRegularExpression("^opt_colours=.*"), "opt_colours=3");
        lines.replaceInStrings(QRegularExpression("^opt_DrawSize=.*"), "opt_DrawSize=2");
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((lines.join('\n') + '\n').toUtf8());
        file.close();

        ResetEmulatorState();
        auto app = StartApplicationWithConfigFolder(home);
        QVERIFY(app);
        RunFrames(*app, 50); // the ROM's boot, with its cursor
        MainWindow* window = app->window();
        QCOMPARE(opt_DrawSize, 2);
        QVERIFY(window->actions().size200->isChecked());
        QCOMPARE(window->screenPanel()->size(), QSize(384 * 2 + 10, 312 * 2 + 10));
        QCOMPARE(opt_colours, 3);
        QCOMPARE(renderer.inkColour, ColourSchemeAt(3).ink);
        QCOMPARE(renderer.paperColour, ColourSchemeAt(3).paper);
        QVERIFY(PixelsOf(ColourSchemeAt(3).ink) > 0); // the cursor, in green
        const QImage shot = window->grab().toImage();
        shot.save(QDir::temp().filePath("noltace-config-green-200.png"));
        const QImage area = window->screenPanel()->grab().toImage();
        int green = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                green += (area.pixel(x, y) & 0xFFFFFF) == ColourSchemeAt(3).ink;
        QVERIFY2(green >= 16, "the cursor shows green on the screen");
    }

    void okAfterAModelChangeResetsTheMachine() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 25);
        ramBlock[kMarker] = 0xA5;
        AnswerNextModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QString("NoltACE Options"));
            auto* pages = modal->findChild<QTabWidget*>("optionsPages");
            QCOMPARE(pages->count(), 8);
            QCOMPARE(pages->tabText(0), QString("Emulation"));
            QCOMPARE(pages->tabText(7), QString("Input"));
            // No joystick on the test machine: the Input page says so.
            auto* none = pages->widget(7)->findChild<QLabel*>("noJoystick");
            QVERIFY(none && none->text() == "No joystick found");
            QVERIFY(!none->isHidden());
            modal->findChild<QRadioButton*>("model1")->click();
            QCOMPARE(machine.ramTop, 0x7FFFu); // at once
            modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        app->window()->actions().options->trigger();
        QCOMPARE(machine.model, 1u);
        QCOMPARE(machine.ramTop, 0x7FFFu);
        QCOMPARE(ramBlock[kMarker], uint8_t(0));
    }

    void cancelKeepsOnlyTheAtOnceChanges() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 25);
        ramBlock[kMarker] = 0xA5;
        const std::string folderBefore = configFolder;
        bool shaderListGreyed = false;
        long volume = -1;
        AnswerNextModal([&](QWidget* modal) {
            modal->findChild<QRadioButton*>("model2")->click();
            modal->findChild<QComboBox*>("opt_colours")->setCurrentIndex(4);
            modal->findChild<QCheckBox*>("opt_exit_msg")->setChecked(true);
            modal->findChild<QSlider*>("opt_snd_volume")->setValue(4);
            volume = OptionNumber(&opt_snd_volume);
            shaderListGreyed = !modal->findChild<QComboBox*>("opt_shader")->isEnabled();
            modal->findChild<QComboBox*>("soundInterface")->setCurrentIndex(2);
            modal->findChild<QCheckBox*>("iniInExecutableFolder")->setChecked(true);
            modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        });
        app->window()->actions().options->trigger();
        QCOMPARE(volume, 40L);
        QVERIFY(shaderListGreyed);
        // Nothing of the option copies reached the live settings...
        QCOMPARE(machine.model, 0u);
        QCOMPARE(machine.ramTop, 0x3FFFu); // the limits follow the model in force
        QCOMPARE(opt_colours, 0);
        QCOMPARE(opt_exit_msg, uint8_t(0));
        QCOMPARE(opt_snd_volume, uint8_t(40));
        QCOMPARE(ramBlock[kMarker], uint8_t(0xA5));
        // ...but the controls that act at once did.
        QCOMPARE(machine.soundInterface, uint8_t(2));
        QVERIFY(iniInExecutableFolder);
        QCOMPARE(configFolder, executableFolder);
        iniInExecutableFolder = false;
        configFolder = folderBefore;
    }

    void quitAndToolsCommandsWriteTheFile() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        const QString ini = QString::fromStdString(ConfigFilePath());
        opt_colours = 4;
        window->actions().saveConfiguration->trigger();
        QVERIFY(FileLines(ini).contains("opt_colours=4"));

        window->actions().defaultConfiguration->trigger();
        QCOMPARE(opt_colours, 0);
        QCOMPARE(opt_exit_msg, uint8_t(1));
        QVERIFY(FileLines(ini).contains("opt_colours=0"));
        QVERIFY(window->actions().size100->isChecked());

        opt_exit_msg = 0;
        window->actions().size300->trigger();
        window->actions().fullScreen->trigger();
        window->Quit();
        QVERIFY(app->loop().quitRequested());
        // Quitting in full screen keeps the windowed scale.
        QVERIFY(FileLines(ini).contains("opt_DrawSize=3"));
    }

    void defaultFoldersAreMadeWhenFirstUsed() {
        REQUIRE_GUI_TEST_ROM();
        const QString snapshots = QString::fromStdString(DefaultDataFolder()) + "snapshots/";
        QDir(snapshots).removeRecursively();
        auto app = StartApplication();
        QVERIFY(app);
        QCOMPARE(QString::fromStdString(snapshotFolder), snapshots);
        QVERIFY(!QDir(snapshots).exists());
        bool existed = false;
        AnswerNextModal([&](QWidget* modal) {
            existed = QDir(snapshots).exists();
            modal->close();
        });
        app->window()->actions().loadFile->trigger();
        QVERIFY(existed);
    }

    void aPlaceOffEveryScreenComesBack() {
        REQUIRE_GUI_TEST_ROM();
        mainWindowPlacement.left = 9000;
        mainWindowPlacement.top = -7000;
        auto app = StartApplication();
        QVERIFY(app);
        const QRect screen = app->window()->screen()->availableGeometry();
        QVERIFY2(screen.contains(app->window()->pos()), "the window is on the screen");
    }
};

REGISTER_GUI_SUITE(ConfigTest);
#include "config_test.moc"
