// Runs one registered GUI test suite, named by the first argument (all of them without
// one). Without a display to talk to, the run is a skip (exit code 77), not a failure.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QTest>

#include "gui_support.h"

int main(int argc, char** argv) {
    std::vector<char*> rest(argv, argv + argc);
    std::string only;
    if (argc > 1 && argv[1][0] != '-') {
        only = argv[1];
        rest.erase(rest.begin() + 1);
        if (!GuiSuites().count(only)) {
            std::fprintf(stderr, "no GUI suite named %s\n", only.c_str());
            return 2;
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    if ((!platform || std::string(platform) == "xcb") && (!display || !*display)) {
        std::printf("SKIP: no X display (start Xvfb and set DISPLAY)\n");
        return 77;
    }
    if (!only.empty() && GuiSuites()[only].envName)
        setenv(GuiSuites()[only].envName, GuiSuites()[only].envValue, 1);

    QApplication::setApplicationName("noltace");
    int qtArgc = 1;
    QApplication qt(qtArgc, argv);
    int status = 0;
    for (auto& [name, entry] : GuiSuites()) {
        if (!only.empty() && name != only) continue;
        std::unique_ptr<QObject> suite = entry.factory();
        status |= QTest::qExec(suite.get(), int(rest.size()), rest.data());
    }
    return status;
}
