#include "tape/wav_header_scan.h"

#include "machine/machine_state.h"
#include "tape/wav_deck.h"

namespace {

// Limits in the machine's T-states, from the ROM's loops: a leader half-period lies
// between the first two, a sync pulse is shorter than the third, and a bit's two
// halves together are longer than the fourth for a 1.
constexpr double kLeaderMin = 1300, kLeaderMax = 2500, kSyncMax = 880, kOneBitMin = 2220;
constexpr int kLeaderHalves = 256;
constexpr size_t kBlockBytes = 1 + kAceHeaderLength + 1; // flag, header, checksum
constexpr uint8_t kHeaderFlag = 0x00;

// The crossings of the middle level, one at a time, as half-period lengths.
class HalfPeriods {
  public:
    explicit HalfPeriods(bool invert)
        : invert_(invert),
          tstatesPerFrame_(double(machine.frameTstates) * 50.0 / double(wavDeck.wavFormat.sampleRate)),
          level_(High(0)) {}
    // The next half-period, or a negative length at the end of the samples.
    double Next() {
        const uint64_t start = position_;
        while (++position_ < wavDeck.wavFrames)
            if (High(position_) != level_) {
                level_ = !level_;
                return double(position_ - start) * tstatesPerFrame_;
            }
        return -1;
    }

  private:
    // As playback reads the line with volume and bias at 0 (WavSampleLevel above 128).
    bool High(uint64_t n) const {
        const int b = WavRawLevel(n);
        return invert_ ? b - 128 > 0 : 127 - b > 0;
    }
    bool invert_;
    double tstatesPerFrame_;
    uint64_t position_ = 0;
    bool level_;
};

// One block after a leader: the bytes, or none when a half-period was out of range.
bool ReadBlock(HalfPeriods& halves, std::vector<uint8_t>& bytes) {
    double h = halves.Next(); // the second sync pulse
    if (h < 0) return false;
    bytes.clear();
    while (bytes.size() < kBlockBytes) {
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            const double first = halves.Next(), second = halves.Next();
            if (first < 0 || second < 0 || first + second > 2 * kLeaderMax) return false;
            byte = uint8_t(byte << 1 | (first + second > kOneBitMin ? 1 : 0));
        }
        bytes.push_back(byte);
    }
    return true;
}

bool IsHeaderBlock(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != kBlockBytes || bytes[0] != kHeaderFlag) return false;
    uint8_t check = 0;
    for (size_t k = 1; k + 1 < bytes.size(); ++k)
        check ^= bytes[k];
    return check == bytes.back();
}

} // namespace

WavHeaderScan ScanWavForHeader(bool invert) {
    WavHeaderScan scan;
    if (!wavLoaded || wavDeck.wavFormat.sampleRate == 0) return scan;
    HalfPeriods halves(invert);
    int leader = 0;
    std::vector<uint8_t> bytes;
    for (double h; (h = halves.Next()) >= 0;) {
        if (h >= kLeaderMin && h <= kLeaderMax) {
            ++leader;
            continue;
        }
        // A short pulse after a long enough leader is the first sync pulse.
        if (h < kSyncMax && leader >= kLeaderHalves && ReadBlock(halves, bytes) && IsHeaderBlock(bytes)) {
            scan.found = true;
            scan.header.assign(bytes.begin() + 1, bytes.end() - 1);
            return scan;
        }
        leader = 0;
    }
    return scan;
}

TapeFileName DetectWavPolarity() {
    const WavHeaderScan usual = ScanWavForHeader(false);
    wavDeck.wavInvert = false;
    if (usual.found) return HeaderFileName(usual.header);
    const WavHeaderScan other = ScanWavForHeader(true);
    if (!other.found) return {};
    wavDeck.wavInvert = true;
    return HeaderFileName(other.header);
}
