// The settings file's integers read by the real reader on a platform whose `long` is 32
// bits, as on the web page (and on 64-bit Windows). Built with emscripten for wasm32 by
// scripts/build-web.sh and run by Node in ctest's web group: a reader that computes in
// `long` overflows there at INT_MAX + 1 and reads "3" as a huge negative number.
// Prints each case that fails and "N passed, N failed".
#include <climits>
#include <cstdio>
#include <string>

#include "app/config/config_file.h"
#include "app/shell_state.h"

static_assert(sizeof(long) == 4, "this check is only worth running where long is 32 bits");

namespace {

struct Case {
    std::string text;
    long expected; // after the setting's clamp to +-1000000
};

std::string Decimal(long long n) {
    return std::to_string(n);
}

} // namespace

int main() {
    // A window place: its range (-1000000 to 1000000) is the widest a setting has.
    const int row = SettingIndex(&mainWindowPlacement.left);
    constexpr long kMarker = 271828; // a value no other row holds, replaced by each case
    OptionSet options = DefaultOptions("/data/");
    options[size_t(row)].number = kMarker;
    const std::string file = FormatConfigText(options);
    const std::string marker = "=" + Decimal(kMarker) + "\n";
    const size_t at = file.find(marker);
    if (row < 0 || at == std::string::npos || file.find(marker, at + 1) != std::string::npos) {
        std::printf("FAIL the main window's place is not one line of the file\n");
        return 1;
    }

    const Case cases[] = {
        {"3", 3},
        {"-7", -7},
        {"+12", 12},
        {" \t42", 42},
        {"0", 0},
        {"999999", 999999},
        {"-1000000", -1000000},
        {Decimal(INT_MAX), 1000000},
        {Decimal(INT_MIN), -1000000},
        {Decimal(INT_MAX + 1LL), 1000000},
        {Decimal(INT_MIN - 1LL), -1000000},
        {"99999999999999999999999", 1000000},
        {"-99999999999999999999999", -1000000},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"", 0},
    };
    int passed = 0;
    int failed = 0;
    for (const Case& c : cases) {
        std::string text = file;
        text.replace(at, marker.size(), "=" + c.text + "\n");
        OptionSet read = options;
        const bool parsed = ParseConfigText(text, read);
        const long got = read[size_t(row)].number;
        if (parsed && got == c.expected) {
            ++passed;
            continue;
        }
        ++failed;
        std::printf("FAIL \"%s\" read as %ld, not %ld%s\n", c.text.c_str(), got, c.expected,
                    parsed ? "" : " (the file was refused)");
    }
    std::printf("integers read with %d-bit long: %d passed, %d failed\n", int(sizeof(long) * 8), passed, failed);
    return failed ? 1 : 0;
}
