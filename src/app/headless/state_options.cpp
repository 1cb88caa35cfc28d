#include "state_options.h"

#include "machine/rewind_buffer.h"

namespace {

constexpr long kMaxStepsBack = 100000;

} // namespace

OptionMatch ParseStateOption(int argc, char** argv, int& i, HeadlessOptions& options, std::string& error) {
    const std::string option = argv[i];
    auto value = [&](const char* what) -> const char* {
        if (i + 1 < argc && *argv[i + 1] != '\0') return argv[++i];
        error = option + " needs " + what;
        return nullptr;
    };
    if (option == "--rewind" || option == "--step-back") {
        const bool rewind = option == "--rewind";
        const long most = rewind ? RewindBuffer::kKeptFrames / 50 : kMaxStepsBack;
        const char* what = rewind ? "a number of emulated seconds from 1 to 60"
                                  : "a number of instructions from 1 to 100000";
        const char* text = value(what);
        if (!text) return OptionMatch::Failed;
        const std::optional<uint32_t> count = ParseCommandLineNumber(text);
        if (!count || *count < 1 || long(*count) > most) {
            error = option + " needs " + what + ", not '" + text + "'";
            return OptionMatch::Failed;
        }
        options.keepHistory = true;
        options.actions.push_back(
            {rewind ? ActionKind::Rewind : ActionKind::StepBack, {}, rewind ? long(*count) * 50 : long(*count)});
    } else if (option == "--save-state" || option == "--load-state") {
        const char* file = value("a file name");
        if (!file) return OptionMatch::Failed;
        options.actions.push_back({option == "--save-state" ? ActionKind::SaveState : ActionKind::LoadState, file, 0});
    } else {
        return OptionMatch::NotMine;
    }
    return OptionMatch::Taken;
}
