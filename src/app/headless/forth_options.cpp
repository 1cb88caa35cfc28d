#include "forth_options.h"

OptionMatch ParseForthOption(int argc, char** argv, int& i, HeadlessOptions& options, std::string& error) {
    const std::string option = argv[i];
    auto value = [&](const char* what) -> const char* {
        if (i + 1 < argc && *argv[i + 1] != '\0') return argv[++i];
        error = option + " needs " + what;
        return nullptr;
    };
    if (option == "--decompile" || option == "--break-word") {
        const char* name = value("a word's name");
        if (!name) return OptionMatch::Failed;
        if (option == "--decompile")
            options.actions.push_back({ActionKind::Decompile, name, 0});
        else
            options.breakWords.push_back(name);
    } else if (option == "--export-words") {
        const char* file = value("a file name");
        if (!file) return OptionMatch::Failed;
        options.actions.push_back({ActionKind::ExportWords, file, 0});
    } else if (option == "--forth-stack") {
        options.actions.push_back({ActionKind::ForthStack, {}, 0});
    } else {
        return OptionMatch::NotMine;
    }
    return OptionMatch::Taken;
}
