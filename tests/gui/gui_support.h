// Shared helpers for the GUI tests: a registry of QTest suites (one process runs one
// suite, chosen by name), the test ROM, a started application, and answering the modal
// dialogs that the code under test opens.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

class Application;
class QWidget;

#include <map>

using GuiSuiteFactory = std::function<std::unique_ptr<QObject>()>;
struct GuiSuiteEntry {
    GuiSuiteFactory factory;
    const char* envName;
    const char* envValue;
};
std::map<std::string, GuiSuiteEntry>& GuiSuites();
bool RegisterGuiSuite(const char* name, GuiSuiteFactory factory, const char* envName = nullptr,
                      const char* envValue = nullptr);

// One QTest class per file, registered under its class name. The variant with an
// environment variable sets it before the QApplication exists (QT_SCALE_FACTOR...).
#define REGISTER_GUI_SUITE(Class)                                                                            \
    static const bool registered##Class = RegisterGuiSuite(#Class, [] { return std::make_unique<Class>(); })
#define REGISTER_GUI_SUITE_WITH_ENV(Class, name, value)                                                      \
    static const bool registered##Class = RegisterGuiSuite(                                                  \
        #Class, [] { return std::make_unique<Class>(); }, name, value)

// NOLTACE_TEST_ROM when it names a readable file, else "".
QString TestRomPath();
// NOLTACE_REQUIRE_DATA=1 (CI) makes a missing ROM a failure instead of a skip.
bool TestDataRequired();
#define REQUIRE_GUI_TEST_ROM()                                                                               \
    do {                                                                                                     \
        if (TestRomPath().isEmpty()) {                                                                       \
            if (TestDataRequired()) QFAIL("NOLTACE_TEST_ROM does not name a readable ace.rom");              \
            QSKIP("NOLTACE_TEST_ROM does not name a readable ace.rom");                                      \
        }                                                                                                    \
    } while (0)

// A scratch folder for the current test function, created empty.
QString ScratchFolder();
// Writes `bytes` to `path` (replacing it) and returns the path.
QString WriteTestFile(const QString& path, const QByteArray& bytes);

// The emulator as a fresh start leaves it (ResetEmulator), every setting at its default.
void ResetEmulatorState();

// Starts the application on the test ROM with these arguments; the window is shown
// exposed and active. Fails the test (returns null) when start-up fails.
// The settings it starts with are the test's live settings (a noltace.ini written for it).
std::unique_ptr<Application> StartApplication(const std::vector<std::string>& arguments = {});
// The same with $XDG_CONFIG_HOME set to `configHome` and whatever file is (or is not) there.
std::unique_ptr<Application> StartApplicationWithConfigFolder(const QString& configHome,
                                                              const std::vector<std::string>& arguments = {});

// Emulated time, not host time: the main loop turns until `frames` more frames have run,
// so a test gives the Ace the same time on a loaded machine as on an idle one. While the
// machine is held (paused, a menu open) no frame runs; the passes are bounded, so the wait
// still ends. Host time (the status bar's second, a window manager) is RunFor's business.
void RunFrames(Application& app, int frames);
// Runs frames until `condition` holds, at most `maxFrames` of them; whether it held.
bool RunUntil(Application& app, const std::function<bool()>& condition, int maxFrames);

// Runs `action` on the next modal widget that opens (within `timeoutMs`); the action
// must close it. Returns a flag that turns true once the action has run.
std::shared_ptr<bool> AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Picks `path` in the next file dialog, as typing it and pressing Open or Save would.
std::shared_ptr<bool> ChooseInNextFileDialog(const QString& path);

// What a closed message dialog said: "caption|text".
std::shared_ptr<QString> CloseNextMessage(int timeoutMs = 5000);
// The same for the next `count` message dialogs, one after another.
std::shared_ptr<QStringList> CloseNextMessages(int count, int timeoutMs = 5000);

// Saves a picture of a window for people to look at (NOLTACE_SCREENSHOTS names a folder).
void KeepPicture(QWidget* window, const char* name);
