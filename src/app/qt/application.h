// The desktop application from start-up to the end of the main loop.
//
//   QApplication qt(argc, argv);
//   Application app(arguments);   // the arguments after the program name
//   if (!app.Start()) return 1;   // no ROM: the user has been told where it goes
//   return app.Run();
//
// Start-up order: folders (executable, ROM, configuration), run state, settings and the
// ROM, the command line's binary or ROM load, the main window with its status bar,
// sound, the display back-end, the window shown, then the command line's file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/qt/main_loop.h"
#include "app/qt/qt_host.h"

class MainWindow;

class Application {
  public:
    explicit Application(std::vector<std::string> arguments);
    ~Application();

    bool Start();
    int Run();

    MainWindow* window() const { return window_.get(); }
    MainLoop& loop() { return loop_; }
    QtHost& qtHost() { return host_; }
    const CommandLine& commandLine() const { return commandLine_; }

  private:
    bool StartUp();
    bool LoadAceRom();
    void ApplyCommandLine();

    std::vector<std::string> arguments_;
    CommandLine commandLine_;
    QtHost host_;
    MainLoop loop_;
    std::unique_ptr<MainWindow> window_;
};

// The program: a QApplication, then Start and Run.
int RunNoltace(int argc, char** argv);
