#include "app/config/settings_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/shell_state.h"
#include "base/window_places.h"
#include "debugger/disassembler.h"
#include "display/display_settings.h"
#include "display/presentation.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "sound/sound_settings.h"
#include "tape/file_paths.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/tape_settings.h"

OptionSet optionCopies;

namespace {

using W = SettingWidth;

const std::vector<long> kSampleRates = {11025, 22050, 44100};
const std::vector<long> kSampleWidths = {8, 16};

// Window positions may be anywhere on a desktop of several screens; the bound only keeps
// arithmetic on them safe. The main window is moved back onto a screen when it opens.
constexpr long kFar = 1000000;
constexpr long kFolderLength = 259;

Setting Place(const char* key, int* live, long defaultValue) {
    return {"Window Placements", key, W::Int32, -kFar, kFar, 0, defaultValue, nullptr, live};
}

std::vector<Setting> BuildTable() {
    std::vector<Setting> t = {
        {"Emulation", "opt_emulation_speed", W::Float, 10, 1000, 0, 100, nullptr, &opt_emulation_speed},
        {"Emulation", "opt_exit_msg", W::Int8, 0, 1, 0, 1, nullptr, &opt_exit_msg},
        {"Emulation", "opt_focus_on", W::Int8, 0, 1, 0, 0, nullptr, &opt_focus_on},
        {"Emulation", "opt_spool_speed", W::Int8, 1, 20, 0, 8, nullptr, &opt_spool_speed},
        {"Tapes", "opt_fastloadtzx", W::Int8, 0, 1, 0, 0, nullptr, &opt_fastloadtzx},
        {"Tapes", "opt_autoload", W::Int8, 0, 1, 0, 0, nullptr, &opt_autoload},
        {"Tapes", "opt_autorewind", W::Int8, 0, 1, 0, 0, nullptr, &opt_autorewind},
        {"Tapes", "opt_tape_type", W::Int8, 0, 2, 0, 0, nullptr, &opt_tape_type},
        {"Tapes", "opt_startaddr", W::Text, 0, kStartAddressMaxLength, 0, 0, "20000", &opt_startaddr},
        {"Hardware", "opt_model_type", W::Int32, 0, 3, 0, 0, nullptr, &machine.model},
        {"Display", "opt_DrawMode", W::Int32, 0, 2, 0, kDrawSoftware, nullptr, &opt_DrawMode},
        {"Display", "opt_DrawSize", W::Int32, 1, 3, 0, 1, nullptr, &opt_DrawSize},
        {"Display", "opt_colours", W::Int32, 0, 4, 0, 0, nullptr, &opt_colours},
        {"Display", "opt_frameskip", W::Int32, 1, 11, 0, 1, nullptr, &frameSkipPeriod},
        {"Display", "opt_shader", W::Int8, 0, 4, 0, 0, nullptr, &opt_shader},
        {"Sound", "opt_snd_sound", W::Int32, 0, 1, 0, 1, nullptr, &opt_snd_sound},
        {"Sound", "opt_snd_volume", W::Int8, 0, 100, 10, 40, nullptr, &opt_snd_volume},
        {"Sound", "opt_echo", W::Int8, 0, 2, 0, kEnhanceNone, nullptr, &opt_echo},
        {"Sound", "opt_snd_aysound", W::Int32, 0, 1, 0, 1, nullptr, &opt_snd_aysound},
        {"Sound", "opt_snd_freq", W::Int32, 11025, 44100, -1, 44100, nullptr, &opt_snd_freq, &kSampleRates},
        {"Sound", "opt_snd_soundbits", W::Int8, 8, 16, -1, 16, nullptr, &opt_snd_soundbits, &kSampleWidths},
        {"Sound", "opt_snd_num_buffers", W::Int8, 1, 50, 0, 8, nullptr, &opt_snd_num_buffers},
        {"Sound", "opt_snd_output", W::Int8, 0, 2, 0, kOutputAbcStereo, nullptr, &opt_snd_output},
        {"Debugger", "opt_dis_rom", W::Int32, 0, 1, 0, 0, nullptr, &opt_dis_rom},
        {"Debugger", "opt_dis_sv", W::Int32, 0, 1, 0, 0, nullptr, &opt_dis_sv},
        {"Folders", "opt_current_sna_dir", W::Folder, 0, kFolderLength, 0, 0, "snapshots/", &snapshotFolder},
        {"Folders", "opt_current_tap_dir", W::Folder, 0, kFolderLength, 0, 0, "tapes/", &tapeFolder},
        {"Folders", "opt_current_spool_dir", W::Folder, 0, kFolderLength, 0, 0, "spool/", &spoolFolder},
        Place("Main Window", &mainWindowPlacement.width, 500),
        Place("Main Window", &mainWindowPlacement.height, 500),
        Place("Main Window", &mainWindowPlacement.left, 400),
        Place("Main Window", &mainWindowPlacement.top, 400),
        Place("Main Window", &mainFrameWidth, 452),
        Place("Main Window", &mainFrameHeight, 312),
        Place("Window Size", &windowSizeValue, 1),
    };
    struct ToolPlace {
        const char* key;
        ToolWindow window;
        int left, top;
    };
    const ToolPlace tools[] = {
        {"Debugger", kPlaceDebugger, 300, 200},
        {"View Registers", kPlaceViewRegisters, 400, 300},
        {"View Memory", kPlaceViewMemory, 200, 200},
        {"Edit Memory", kPlaceEditMemory, 300, 300},
        {"View Disassembly", kPlaceViewDisassembly, 600, 200},
        {"Calculator", kPlaceCalculator, 400, 400},
        {"System Variables", kPlaceSystemVariables, 300, 200},
        {"View PAD Space", kPlaceViewPadSpace, 400, 200},
        {"Tape Browser", kPlaceTapeBrowser, 300, 300},
        {"Breakpoints", kPlaceBreakpoints, 300, 300},
        {"WAV Browser", kPlaceWavBrowser, 300, 300},
    };
    for (const ToolPlace& tool : tools) {
        t.push_back(Place(tool.key, &toolWindowPlaces[tool.window].left, tool.left));
        t.push_back(Place(tool.key, &toolWindowPlaces[tool.window].top, tool.top));
    }
    return t;
}

std::string FolderPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

bool IsText(const Setting& s) {
    return s.width == W::Text || s.width == W::Folder;
}

long ReadLive(const LiveVariable& live) {
    return std::visit(
        [](auto* p) -> long {
            using T = std::remove_pointer_t<decltype(p)>;
            if constexpr (std::is_same_v<T, std::string>) return 0;
            // A speed of 99.5 per cent is kept as 99: the file holds whole numbers.
            else if constexpr (std::is_same_v<T, float>)
                return long(std::trunc(*p));
            else
                return long(*p);
        },
        live);
}

void WriteLive(const LiveVariable& live, const OptionValue& value) {
    std::visit(
        [&](auto* p) {
            using T = std::remove_pointer_t<decltype(p)>;
            if constexpr (std::is_same_v<T, std::string>)
                *p = value.text;
            else if constexpr (std::is_same_v<T, bool>)
                *p = value.number != 0;
            else
                *p = T(value.number);
        },
        live);
}

} // namespace

const std::vector<Setting>& SettingsTable() {
    static const std::vector<Setting> table = BuildTable();
    return table;
}

OptionValue ClampedValue(const Setting& s, OptionValue value) {
    if (IsText(s)) {
        value.number = 0;
        if (long(value.text.size()) > s.high) value.text.resize(size_t(s.high));
        return value;
    }
    value.text.clear();
    long n = std::clamp(value.number, s.low, s.high);
    if (s.step == -1 && s.choices && !s.choices->empty()) {
        long best = s.choices->front();
        for (long choice : *s.choices)
            if (std::labs(choice - n) < std::labs(best - n)) best = choice;
        n = best;
    } else if (s.step > 0) {
        n = std::clamp((n + s.step / 2) / s.step * s.step, s.low, s.high);
    }
    value.number = n;
    return value;
}

OptionSet DefaultOptions(const std::string& dataFolder) {
    OptionSet set;
    for (const Setting& s : SettingsTable()) {
        OptionValue value{s.defaultNumber, {}};
        if (s.width == W::Folder)
            value.text = dataFolder + s.defaultText;
        else if (s.width == W::Text)
            value.text = s.defaultText;
        set.push_back(value);
    }
    return set;
}

OptionSet LiveOptions() {
    OptionSet set;
    for (const Setting& s : SettingsTable()) {
        OptionValue value;
        if (IsText(s))
            value.text = *std::get<std::string*>(s.live);
        else
            value.number = ReadLive(s.live);
        // The live folders hold the last path used; the setting is its folder.
        if (s.width == W::Folder) value.text = FolderPart(value.text);
        set.push_back(value);
    }
    return set;
}

void StoreOptionsToLive(const OptionSet& options) {
    for (size_t i = 0; i < SettingsTable().size() && i < options.size(); ++i)
        StoreOptionToLive(i, options[i]);
}

void StoreOptionToLive(size_t row, const OptionValue& value) {
    const Setting& setting = SettingsTable().at(row);
    WriteLive(setting.live, ClampedValue(setting, value));
}

void SyncOptionsFromLive() {
    optionCopies = LiveOptions();
}

int SettingIndex(const LiveVariable& live) {
    const std::vector<Setting>& table = SettingsTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].live == live) return int(i);
    return -1;
}

namespace {
OptionValue& Copy(const LiveVariable& live) {
    if (optionCopies.size() != SettingsTable().size()) SyncOptionsFromLive();
    const int index = SettingIndex(live);
    if (index < 0) std::abort(); // a programming error: the variable is not a setting
    return optionCopies[size_t(index)];
}
} // namespace

long& OptionNumber(const LiveVariable& live) {
    return Copy(live).number;
}

std::string& OptionText(const LiveVariable& live) {
    return Copy(live).text;
}
