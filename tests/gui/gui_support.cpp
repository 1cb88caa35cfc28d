#include "gui_support.h"

#include <algorithm>
#include <map>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/config/config_file.h"
#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "app/qt/message_dialog.h"
#include "app/shell_state.h"
#include "base/current_file.h"
#include "base/messages.h"
#include "display/presentation.h"
#include "machine/frame.h"
#include "machine/reset.h"
#include "machine/run_state.h"
#include "tape/file_kinds.h"

std::map<std::string, GuiSuiteEntry>& GuiSuites() {
    static std::map<std::string, GuiSuiteEntry> suites;
    return suites;
}

bool RegisterGuiSuite(const char* name, GuiSuiteFactory factory, const char* envName, const char* envValue) {
    GuiSuites()[name] = {std::move(factory), envName, envValue};
    return true;
}

bool TestDataRequired() {
    return qEnvironmentVariable("NOLTACE_REQUIRE_DATA") == "1";
}

QString TestRomPath() {
    const QString path = qEnvironmentVariable("NOLTACE_TEST_ROM");
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

QString WriteTestFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

QString ScratchFolder() {
    const QString name = QString("%1.%2").arg(QTest::currentAppName()).arg(QTest::currentTestFunction());
    QDir dir(QDir::temp().filePath("noltace-gui-tests/" + name));
    dir.removeRecursively();
    dir.mkpath(".");
    return dir.path() + "/";
}

void ResetEmulatorState() {
    ResetEmulator();
    StoreOptionsToLive(DefaultOptions(DefaultDataFolder()));
    ResetShellSettings();
    opt_DrawMode = kDrawSoftware;
    opt_DrawSize = 1;
    opt_shader = 0;
    // The tests answer their own questions; none should wait for a person.
    opt_exit_msg = 0;
}

std::unique_ptr<Application> StartApplication(const std::vector<std::string>& arguments) {
    // The application reads its settings at start: give it a file of the settings the test
    // has made, in a folder of its own, so no test sees what another one saved.
    const QString name = QString("%1.%2").arg(QTest::currentAppName()).arg(QTest::currentTestFunction());
    QDir dir(QDir::temp().filePath("noltace-gui-config/" + name));
    dir.removeRecursively();
    dir.mkpath("noltace");
    QFile file(dir.filePath("noltace/noltace.ini"));
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray::fromStdString(FormatConfigText(LiveOptions())));
    file.close();
    return StartApplicationWithConfigFolder(dir.path(), arguments);
}

std::unique_ptr<Application> StartApplicationWithConfigFolder(const QString& configHome,
                                                              const std::vector<std::string>& arguments) {
    qputenv("XDG_CONFIG_HOME", configHome.toLocal8Bit());
    qputenv("NOLTACE_ROM", TestRomPath().toLocal8Bit());
    auto app = std::make_unique<Application>(arguments);
    if (!app->Start()) {
        QTest::qFail("the application did not start", __FILE__, __LINE__);
        return nullptr;
    }
    if (!QTest::qWaitForWindowExposed(app->window())) {
        QTest::qFail("the main window was never exposed", __FILE__, __LINE__);
        return nullptr;
    }
    // Shortcuts and keys go to the active window only.
    app->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(app->window())) {
        QTest::qFail("the main window never became active", __FILE__, __LINE__);
        return nullptr;
    }
    return app;
}

std::shared_ptr<bool> AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs) {
    auto done = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        *waited += timer->interval();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            *done = true;
        } else if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
    return done;
}

namespace {

QString DescribeAndClose(QWidget* modal) {
    QString said;
    if (auto* message = qobject_cast<MessageDialog*>(modal))
        said = message->windowTitle() + "|" + message->text();
    else
        said = "not a message dialog: " + modal->objectName();
    modal->close();
    return said;
}

void CloseMessagesInTurn(std::shared_ptr<QStringList> said, int left, int timeoutMs) {
    if (left <= 0) return;
    AnswerNextModal(
        [=](QWidget* modal) {
            said->append(DescribeAndClose(modal));
            CloseMessagesInTurn(said, left - 1, timeoutMs);
        },
        timeoutMs);
}

} // namespace

std::shared_ptr<QString> CloseNextMessage(int timeoutMs) {
    auto said = std::make_shared<QString>();
    AnswerNextModal([said](QWidget* modal) { *said = DescribeAndClose(modal); }, timeoutMs);
    return said;
}

std::shared_ptr<QStringList> CloseNextMessages(int count, int timeoutMs) {
    auto said = std::make_shared<QStringList>();
    CloseMessagesInTurn(said, count, timeoutMs);
    return said;
}

void KeepPicture(QWidget* window, const char* name) {
    const QByteArray folder = qgetenv("NOLTACE_SCREENSHOTS");
    if (!folder.isEmpty()) window->grab().save(QString(folder) + "/" + name + ".png");
}

std::shared_ptr<bool> ChooseInNextFileDialog(const QString& path) {
    return AnswerNextModal([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY2(dialog, "a file dialog opens");
        // Typed into the name field, as a user would.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY2(name, "the dialog has its name field");
        name->setText(QFileInfo(path).absoluteFilePath());
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, as the Open or Save button
    });
}

void RunFrames(Application& app, int frames) {
    (void)RunUntil(app, [] { return false; }, frames);
}

bool RunUntil(Application& app, const std::function<bool()>& condition, int maxFrames) {
    const uint64_t end = app.loop().framesRun() + uint64_t(std::max(maxFrames, 0));
    // A pass that runs no frame (the machine held) waits for events a little instead.
    for (int passes = 2 * maxFrames + 100; passes > 0 && !app.loop().quitRequested(); --passes) {
        if (condition()) return true;
        if (app.loop().framesRun() >= end) return false;
        app.loop().RunOnePass();
    }
    return condition();
}
