#include "app/qt/application.h"

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QStringList>

#include "base/current_file.h"
#include "base/messages.h"
#include "app/config/config_file.h"
#include "app/key_queue.h"
#include "app/qt/config_commands.h"
#include "app/qt/file_commands.h"
#include "app/qt/input_routing.h"
#include "app/qt/main_window.h"
#include "app/qt/view_controller.h"
#include "app/qt/rom_missing_dialog.h"
#include "app/program_info.h"
#include "app/rom_lookup.h"
#include "app/shell_state.h"
#include "display/qt/software_rasteriser.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "sound/sdl/sdl_audio_device.h"
#include "sound/sound_output.h"
#include "tape/file_kinds.h"
#include "tape/load_file.h"
#include "tape/spool.h"

Application::Application(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

Application::~Application() {
    config_commands::AttachWindow(nullptr);
    ShutdownSound();
    host_.SetDialogOwner(nullptr);
    window_.reset();
    SetHost(nullptr);
}

bool Application::Start() {
    SetHost(&host_);
    // "-i" decides where the configuration lives, so the command line is read first;
    // its loads wait until the machine exists.
    commandLine_ = ParseCommandLine(arguments_);
    if (!StartUp()) return false;
    ApplyCommandLine();

    window_ = std::make_unique<MainWindow>(host_, loop_);
    host_.SetDialogOwner(window_.get());
    config_commands::AttachWindow(window_.get());
    window_->view().RestorePlace(mainWindowPlacement.left, mainWindowPlacement.top);
    // Without sound the emulator still runs, silently, paced by the frame driver.
    InstallSdlAudioDevice();
    const bool soundFailed = InitSound(false) != 0;
    window_->SetUpDisplay();
    window_->show();
    LoadStartupFile(commandLine_);
    // One message, owned by the window and shown once the main loop runs, so the
    // window is there first and nothing waits on a box before it exists.
    if (soundFailed)
        QMetaObject::invokeMethod(
            window_.get(), [] { ReportMessage(kCaptionError, kMsgSoundInit); }, Qt::QueuedConnection);
    return true;
}

int Application::Run() {
    return loop_.Run();
}

bool Application::StartUp() {
    ResetEmulator();
    KeepKeyQueueInStates();
    executableFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    romState.romFolder = executableFolder + "roms/";
    iniInExecutableFolder = commandLine_.iniInExecutableFolder;
    if (iniInExecutableFolder) {
        configFolder = executableFolder;
    } else {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        configFolder = folder.toStdString() + "/";
        QDir().mkpath(folder);
    }

    StartInputDevices();
    ReleaseEveryKey();

    // The settings choose the model whose memory the ROM then boots into.
    LoadConfig();
    return LoadAceRom();
}

bool Application::LoadAceRom() {
    std::string path = FindStandardRom(executableFolder);
    if (path.empty()) {
        ReportMessage(kCaptionError, kMsgRomMissing);
        QStringList places;
        for (const std::string& place : RomSearchPaths(executableFolder))
            places << QString::fromStdString(place);
        // The user may choose a ROM there, which is then where the lookup finds it.
        if (RomMissingDialog(places).exec() != QDialog::Accepted) return false;
        path = FindStandardRom(executableFolder);
        if (path.empty()) return false;
    }
    // Hard Reset reloads ace.rom from the ROM folder: keep it pointing where ace.rom was found.
    const std::filesystem::path found(path);
    if (found.filename() == "ace.rom") romState.romFolder = found.parent_path().string() + "/";
    if (LoadRomFile(path, "ACE.ROM") != LoadResult::Loaded) return false;
    ApplyModelLimits(machine.model);
    ResetMachine();
    return true;
}

void Application::ApplyCommandLine() {
    if (!commandLine_.problem.empty()) std::fprintf(stderr, "noltace: %s\n", commandLine_.problem.c_str());
    switch (commandLine_.action) {
    case StartupAction::LoadBinary:
        LoadBinaryFile(commandLine_.pendingFile, commandLine_.binaryAddress);
        break;
    case StartupAction::LoadRom:
        if (LoadCustomRom(commandLine_.pendingFile) == LoadResult::Loaded) ResetMachine();
        break;
    default: break;
    }
}

int RunNoltace(int argc, char** argv) {
    // Answered before Qt starts, which needs a display and aborts without one.
    const std::vector<std::string> raw(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (AsksForInformation(raw)) {
        std::fputs(InformationText(raw, "noltace", NoltaceUsageText()).c_str(), stdout);
        return 0;
    }
    QApplication::setApplicationName("noltace");
    // The installed desktop entry and icon, so the desktop shows the window as NoltACE.
    QGuiApplication::setDesktopFileName("org.noltace.NoltACE");
    SpreadSoftwareRasteriser();
    QApplication qt(argc, argv);
    QApplication::setWindowIcon(QIcon::fromTheme("noltace"));
    // Qt has taken its own options (-platform and the like) out of the list by now.
    std::vector<std::string> arguments;
    const QStringList list = QCoreApplication::arguments();
    for (qsizetype i = 1; i < list.size(); ++i)
        arguments.push_back(list[i].toStdString());
    Application app(arguments);
    if (!app.Start()) return 1;
    return app.Run();
}
