#include "tape/tape_header.h"

#include "tape/tape_deck.h"

namespace {

constexpr size_t kNameLength = 10;
constexpr uint8_t kHeaderFlag = 0x00; // a TZX data block's flag byte before a header

} // namespace

TapeFileName HeaderFileName(std::span<const uint8_t> header) {
    TapeFileName file;
    if (header.size() < kAceHeaderLength) return file;
    file.found = true;
    file.type = header[0];
    file.name.assign(header.begin() + 1, header.begin() + 1 + kNameLength);
    const size_t last = file.name.find_last_not_of(' ');
    file.name.erase(last == std::string::npos ? 0 : last + 1);
    return file;
}

TapeFileName FirstFileOnTape(const std::vector<TapeBlock>& blocks, bool tzx) {
    for (const TapeBlock& b : blocks) {
        const std::span<const uint8_t> d(b.data);
        if (!tzx && b.length == kAceHeaderLength + 1 && d.size() > kAceHeaderLength) return HeaderFileName(d);
        if (tzx && b.blockId == 0x10 && d.size() == kAceHeaderLength + 2 && d[0] == kHeaderFlag)
            return HeaderFileName(d.subspan(1));
    }
    return {};
}

std::string AutoloadText(const TapeFileName& first, const std::string& bareName) {
    const std::string& name = first.found && !first.name.empty() ? first.name : bareName;
    const bool bytes = opt_tape_type != 0 || (first.found && first.type == kHeaderTypeBytes);
    std::string text = (bytes ? "0 0 bload " : "load ") + name + "\r";
    if (opt_tape_type == 2) text += "20000 call\r";
    return text;
}
