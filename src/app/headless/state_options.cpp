#include "state_options.h"

#include "machine/rewind_buffer.h"
#include "option_arguments.h"

namespace {

using Take = std::function<bool(OptionArguments&, HeadlessOptions&)>;

constexpr long kMaxStepsBack = 100000;
constexpr long kFramesPerSecond = 50;

// --rewind SECONDS or --step-back N: both make the run keep its history.
Take TakesHistoryCount(ActionKind kind, const char* what, long most, long unit) {
    return [=](OptionArguments& arguments, HeadlessOptions& options) {
        long count = 0;
        if (!arguments.Number(what, 1, most, count)) return false;
        options.keepHistory = true;
        options.actions.push_back({kind, {}, count * unit});
        return true;
    };
}

Take TakesStateFile(ActionKind kind) {
    return [kind](OptionArguments& arguments, HeadlessOptions& options) {
        const char* file = arguments.NextNonEmpty("a file name");
        if (file) options.actions.push_back({kind, file, 0});
        return file != nullptr;
    };
}

} // namespace

std::vector<OptionRow> StateOptionRows() {
    using R = OptionRow;
    return {
        {R::kAction, "--rewind", nullptr, "SECONDS",
         "put the machine back exactly as it was SECONDS emulated\n"
         "seconds (50 frames each) ago, at most 60; with --rewind or\n"
         "--step-back the run keeps the last minute to go back to",
         TakesHistoryCount(ActionKind::Rewind, "a number of emulated seconds from 1 to 60",
                           RewindBuffer::kKeptFrames / kFramesPerSecond, kFramesPerSecond)},
        {R::kAction, "--step-back", nullptr, "N",
         "undo the last N instructions (at most 100000): those --step\n"
         "ran since the last other action, or else those the frames\n"
         "ran up to now",
         TakesHistoryCount(ActionKind::StepBack, "a number of instructions from 1 to 100000", kMaxStepsBack, 1)},
        {R::kAction, "--save-state", nullptr, "FILE", "write the whole machine to FILE (.nst added)",
         TakesStateFile(ActionKind::SaveState)},
        {R::kAction, "--load-state", nullptr, "FILE",
         "put the machine back to the state in FILE; a damaged file\n"
         "or one of another version changes nothing (exit 1)",
         TakesStateFile(ActionKind::LoadState)},
    };
}
