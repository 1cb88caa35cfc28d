// Configuration files: any bytes are either refused or read into values inside their
// ranges, and what is read writes back as a file that reads the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/config/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    OptionSet staged = DefaultOptions("/data/");
    if (!ParseConfigText(text, staged)) return 0;
    const std::vector<Setting>& table = SettingsTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (!(ClampedValue(table[i], staged[i]) == staged[i])) std::abort();
    OptionSet again = DefaultOptions("/elsewhere/");
    if (!ParseConfigText(FormatConfigText(staged), again)) std::abort();
    // Texts lose what follows a line break when written; everything else comes back.
    if (FormatConfigText(again) != FormatConfigText(staged)) std::abort();
    return 0;
}
