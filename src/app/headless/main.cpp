// noltace-headless: runs the Jupiter Ace on the emulation core alone, without window or
// sound, driven by actions on the command line (see --help and README.md).
#include <cstdio>
#include <exception>
#include <string>

#include "app/program_info.h"
#include "headless_host.h"
#include "options.h"
#include "runner.h"

int main(int argc, char** argv) {
    try {
        HeadlessOptions options;
        std::string error;
        if (!ParseOptions(argc, argv, options, error)) {
            PrintError(error);
            return kExitUsage;
        }
        if (options.help) {
            std::fputs(UsageText().c_str(), stdout);
            return kExitOk;
        }
        if (options.version) {
            std::fputs(VersionText("noltace-headless").c_str(), stdout);
            return kExitOk;
        }
        HeadlessHost host;
        SetHost(&host);
        HeadlessRunner runner(host);
        if (!runner.SetUp(options, argc > 0 ? argv[0] : nullptr))
            return runner.BadArguments() ? kExitUsage : kExitError;
        const int status = runner.RunActions(options);
        if (options.stats) std::printf("%s\n", runner.StatsLine().c_str());
        SetHost(nullptr);
        return status;
    } catch (const std::exception& e) {
        PrintError(std::string("internal error: ") + e.what());
    } catch (...) {
        PrintError("internal error");
    }
    return kExitError;
}
