#include "machine/saved_state.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <type_traits>

#include "base/byte_packing.h"
#include "base/file_writer.h"
#include "display/renderer.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "machine/rom_keyboard.h"
#include "machine/run_state.h"
#include "sound/ay.h"
#include "sound/sound_output.h"
#include "tape/load_buffer.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"

namespace {

constexpr char kMagic[8] = {'N', 'O', 'L', 'T', 'S', 'T', 'A', 'T'};
constexpr size_t kHeaderSize = 8 + 2 + 1 + 1 + 4 + 4;
constexpr size_t kMaxRawSize = 4u << 20; // far above any real state: a bound for bad files
constexpr size_t kMaxSpoolText = 16u << 20;

constexpr uint32_t Tag(const char (&t)[5]) {
    return uint32_t(uint8_t(t[0])) | uint32_t(uint8_t(t[1])) << 8 | uint32_t(uint8_t(t[2])) << 16 |
           uint32_t(uint8_t(t[3])) << 24;
}
constexpr uint32_t kTagMachine = Tag("Z80M"), kTagRam = Tag("RAM "), kTagRom = Tag("ROM "),
                   kTagBeam = Tag("BEAM"), kTagAy = Tag("AY  "), kTagSound = Tag("SND "),
                   kTagSpool = Tag("SPOL"), kTagTape = Tag("TAPE"), kTagRun = Tag("RUN "),
                   kTagFrontEnd = Tag("KEYQ");

FrontEndStateSection frontEnd;

// Little-endian writing and reading of the sections' fields.
class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void U8(uint8_t v) { out_.push_back(v); }
    void U32(uint32_t v) {
        for (int k = 0; k < 4; ++k)
            out_.push_back(uint8_t(v >> (8 * k)));
    }
    template <typename T> void Raw(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        Bytes(&v, sizeof v);
    }
    // Starts a section; End fills in its length.
    void Begin(uint32_t tag) {
        U32(tag);
        lengthAt_ = out_.size();
        U32(0);
    }
    void End() {
        const uint32_t n = uint32_t(out_.size() - lengthAt_ - 4);
        for (int k = 0; k < 4; ++k)
            out_[lengthAt_ + k] = uint8_t(n >> (8 * k));
    }

  private:
    std::vector<uint8_t>& out_;
    size_t lengthAt_ = 0;
};

class Reader {
  public:
    Reader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
    bool Bytes(void* to, size_t n) {
        if (n > n_ - at_) return fail();
        if (n == 0) return true; // `to` may be the null data of an empty vector
        std::memcpy(to, p_ + at_, n);
        at_ += n;
        return true;
    }
    bool U8(uint8_t& v) { return Bytes(&v, 1); }
    bool U32(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    template <typename T> bool Raw(T& v) { return Bytes(&v, sizeof v); }
    bool Done() const { return at_ == n_ && ok_; }
    size_t Left() const { return n_ - at_; }

  private:
    bool fail() {
        ok_ = false;
        return false;
    }
    const uint8_t* p_;
    size_t n_;
    size_t at_ = 0;
    bool ok_ = true;
};

// Everything a state holds, read and checked before any of it is applied.
struct DecodedState {
    MachineState machine;
    std::vector<uint8_t> ram, rom;
    uint32_t beamDue = 0;
    std::vector<uint32_t> image;
    AyState ay;
    uint32_t sampleClock = 0, speakerHigh = 0, ayClock = 0, caughtUpTo = 0;
    uint8_t spoolFlags = 0, helperPending = 0;
    uint32_t spoolLeft = 0, spoolPos = 0, typingCounter = 0, leastFrames = 0;
    KeyChord spoolKeys{};
    RomKeyPacer spoolPacer;
    std::vector<char> spoolText;
    bool tapeSection = false;
    std::vector<uint8_t> tape;
    uint8_t nmiRequested = 0;
    bool frontEndSection = false;
    std::vector<uint8_t> frontEndBytes;
    uint32_t seen = 0; // a bit per section read
};

// --- One pair per subsystem: what it writes, and how its section is read and applied.

void SaveMachine(Writer& w) {
    MachineState copy = machine;
    copy.rom = copy.ram = nullptr;
    std::memset(copy.pages, 0, sizeof copy.pages);
    w.Begin(kTagMachine);
    w.Raw(copy);
    w.End();
    w.Begin(kTagRam);
    w.Bytes(ramBlock, sizeof ramBlock);
    w.End();
    w.Begin(kTagRom);
    w.Bytes(machine.pages[0], kRomSize);
    w.End();
}

bool ReadMachine(Reader& r, DecodedState& s, std::string& error) {
    if (!r.Raw(s.machine) || !r.Done()) return false;
    const MachineState& m = s.machine;
    if (m.model > 3 || m.im > 2 || m.frameTstates != kFrameTstates || m.intLength != kIntLength ||
        m.tstates > 2 * kFrameTstates || m.soundInterface > 4) {
        error = "the machine section holds values no Ace can have";
        return false;
    }
    return true;
}

void ApplyMachine(const DecodedState& s) {
    MachineState& m = machine;
    uint8_t* rom = m.rom;
    uint8_t* ram = m.ram;
    uint8_t* pages[8];
    std::memcpy(pages, m.pages, sizeof pages);
    m = s.machine;
    m.rom = rom;
    m.ram = ram;
    std::memcpy(m.pages, pages, sizeof pages);
    ApplyModelLimits(m.model);
    std::memcpy(ramBlock, s.ram.data(), sizeof ramBlock);
    std::memcpy(m.pages[0], s.rom.data(), kRomSize);
}

void SaveBeam(Writer& w) {
    CatchUpBeam(); // the image as the beam has drawn it so far
    w.Begin(kTagBeam);
    w.U32(BeamPosition());
    w.Bytes(renderer.frameImage, sizeof renderer.frameImage);
    w.End();
}

bool ReadBeam(Reader& r, DecodedState& s) {
    s.image.resize(kFrameWidth * kFrameHeight);
    return r.U32(s.beamDue) && s.beamDue <= 2 * kFrameTstates && r.Bytes(s.image.data(), sizeof renderer.frameImage) &&
           r.Done();
}

void ApplyBeam(const DecodedState& s) {
    std::memcpy(renderer.frameImage, s.image.data(), sizeof renderer.frameImage);
    RestartBeamAt(s.beamDue);
}

void SaveSound(Writer& w) {
    if (soundStream.open) SyncAy(); // the chip's owed ticks, so that it is saved as it sounds
    w.Begin(kTagAy);
    w.Raw(ay);
    w.End();
    const SoundStream& st = soundStream;
    w.Begin(kTagSound);
    w.U32(st.sampleClock);
    w.U32(st.speakerHigh);
    w.U32(st.ayClock);
    w.U32(st.caughtUpTo);
    w.End();
}

bool ReadAy(Reader& r, DecodedState& s) {
    return r.Raw(s.ay) && r.Done() && s.ay.envState <= kEnvHoldHigh;
}

bool ReadSound(Reader& r, DecodedState& s) {
    return r.U32(s.sampleClock) && r.U32(s.speakerHigh) && r.U32(s.ayClock) && r.U32(s.caughtUpTo) && r.Done();
}

void ApplySound(const DecodedState& s) {
    // Samples already taken are worked out with the chip they were taken from.
    if (soundStream.open) SyncAy();
    ay = s.ay;
    SoundStream& st = soundStream;
    // A sample period longer than the stream's (a state from other sound settings)
    // starts afresh rather than owing samples it cannot take.
    const bool fits = s.sampleClock <= st.params.tstatesPerSample;
    st.sampleClock = fits ? s.sampleClock : 0;
    st.speakerHigh = fits ? s.speakerHigh : 0;
    st.ayClock = s.ayClock;
    st.caughtUpTo = s.caughtUpTo;
}

void SaveSpool(Writer& w) {
    w.Begin(kTagSpool);
    w.U8(uint8_t(spool.spoolActive | spool.helperTyping << 1));
    w.U8(spool.helperPendingCharacter);
    w.U32(uint32_t(spool.spoolLeft));
    w.U32(uint32_t(spool.spoolPos));
    w.U32(uint32_t(spool.typingCounter));
    w.U32(uint32_t(spool.leastFrames));
    w.Raw(spool.spoolKeys);
    uint8_t pacer[RomKeyPacer::kStateBytes];
    spool.spoolPacer.WriteState(pacer);
    w.Bytes(pacer, sizeof pacer);
    w.U32(uint32_t(spool.spoolText.size()));
    w.Bytes(spool.spoolText.data(), spool.spoolText.size());
    w.End();
}

bool ReadPacer(Reader& r, RomKeyPacer& pacer) {
    uint8_t bytes[RomKeyPacer::kStateBytes];
    return r.Bytes(bytes, sizeof bytes) && pacer.ReadState(bytes);
}

bool ReadSpool(Reader& r, DecodedState& s) {
    uint32_t length = 0;
    if (!(r.U8(s.spoolFlags) && r.U8(s.helperPending) && r.U32(s.spoolLeft) && r.U32(s.spoolPos) &&
          r.U32(s.typingCounter) && r.U32(s.leastFrames) && r.Raw(s.spoolKeys) && ReadPacer(r, s.spoolPacer) &&
          r.U32(length)))
        return false;
    if (length > kMaxSpoolText || length != r.Left()) return false;
    s.spoolText.resize(length);
    if (!r.Bytes(s.spoolText.data(), length) || !r.Done()) return false;
    // The step reads the text only below its end, so any position is safe; counts must
    // be ints.
    return int32_t(s.spoolPos) >= 0 && int32_t(s.spoolLeft) >= 0 && s.typingCounter < 1000 &&
           int32_t(s.leastFrames) >= -1 && int32_t(s.leastFrames) <= 1000;
}

void ApplySpool(const DecodedState& s) {
    spool.spoolActive = s.spoolFlags & 1;
    spool.helperTyping = (s.spoolFlags & 2) != 0;
    spool.helperPendingCharacter = s.helperPending;
    spool.spoolLeft = int(s.spoolLeft);
    spool.spoolPos = int(s.spoolPos);
    spool.typingCounter = int(s.typingCounter);
    spool.leastFrames = int(int32_t(s.leastFrames));
    spool.spoolKeys = s.spoolKeys;
    spool.spoolPacer = s.spoolPacer;
    spool.spoolText = s.spoolText;
}

int32_t BlockIndex(const TapeBlock* block) {
    return block ? int32_t(block->index) : -1;
}

void SaveTape(Writer& w) {
    const TapeInternals in = TapeInternalState();
    w.Begin(kTagTape);
    w.U32(tapeDeck.tapeInDeck ? uint32_t(tapeDeck.tapeInDeck->blocks.size()) : 0xFFFFFFFFu);
    w.U8(tapeDeck.tapeInDeck && tapeDeck.tapeInDeck->isTzx);
    w.U32(uint32_t(BlockIndex(tapeDeck.currentBlock)));
    w.U8(uint8_t(tapeDeck.saveHeaderNext << 1 | tapeDeck.blockStarted << 2 | tapeDeck.tapeAtEnd << 3 | tzxPlaying << 4 |
                 tapeDeck.listenedThisFrame << 5 | tapeDeck.listenedLastFrame << 6));
    w.U8(tapeDeck.tapeLevel);
    w.U32(uint32_t(tapeDeck.edgeCountdown));
    w.Bytes(in.generator, in.generatorSize);
    w.U32(uint32_t(BlockIndex(in.loopStart)));
    w.U32(in.loopLeft);
    w.U32(uint32_t(BlockIndex(in.callBlock)));
    w.U32(uint32_t(in.callIndex));
    w.End();
}

// The deck's place is kept as bytes and read again when applied: it only means
// something over the tape it was taken on.
bool ReadTape(Reader& r, DecodedState& s) {
    s.tape.resize(r.Left());
    s.tapeSection = true;
    const size_t expected = 4 + 1 + 4 + 1 + 1 + 4 + TapeInternalState().generatorSize + 16;
    return s.tape.size() == expected && r.Bytes(s.tape.data(), s.tape.size());
}

void ApplyTape(const DecodedState& s) {
    const TapeInternals in = TapeInternalState();
    Reader r(s.tape.data(), s.tape.size());
    uint32_t blocks = 0, current = 0, countdown = 0, loop = 0, loopLeft = 0, call = 0, callIndex = 0;
    uint8_t tzx = 0, flags = 0, level = 0;
    std::vector<uint8_t> generator(in.generatorSize);
    r.U32(blocks);
    r.U8(tzx);
    r.U32(current);
    r.U8(flags);
    r.U8(level);
    r.U32(countdown);
    r.Bytes(generator.data(), generator.size());
    r.U32(loop);
    r.U32(loopLeft);
    r.U32(call);
    r.U32(callIndex);
    if (!tapeDeck.tapeInDeck || blocks != tapeDeck.tapeInDeck->blocks.size() || bool(tzx) != tapeDeck.tapeInDeck->isTzx) return;
    auto block = [&](uint32_t index) -> TapeBlock* {
        return index < blocks ? &tapeDeck.tapeInDeck->blocks[index] : nullptr;
    };
    tapeDeck.currentBlock = block(current);
    tapeDeck.saveHeaderNext = (flags & 2) != 0;
    tapeDeck.blockStarted = (flags & 4) != 0;
    tapeDeck.tapeAtEnd = (flags & 8) != 0;
    tzxPlaying = tzx && (flags & 16) != 0;
    tapeDeck.listenedThisFrame = (flags & 32) != 0;
    tapeDeck.listenedLastFrame = (flags & 64) != 0;
    tapeDeck.tapeLevel = level & 1;
    tapeDeck.edgeCountdown = int32_t(countdown);
    std::memcpy(in.generator, generator.data(), generator.size());
    in.loopStart = block(loop);
    in.loopLeft = loopLeft;
    in.callBlock = block(call);
    in.callIndex = callIndex;
}

void SaveRunState(Writer& w) {
    w.Begin(kTagRun);
    w.U8(NmiRequested);
    w.End();
}

bool ReadRunState(Reader& r, DecodedState& s) {
    return r.U8(s.nmiRequested) && r.Done();
}

// --- The list of sections.

bool ReadSection(uint32_t tag, Reader& r, DecodedState& s, std::string& error) {
    auto sized = [&](std::vector<uint8_t>& to, size_t n) {
        to.resize(n);
        return r.Bytes(to.data(), n) && r.Done();
    };
    switch (tag) {
    case kTagMachine: return ReadMachine(r, s, error);
    case kTagRam: return sized(s.ram, sizeof ramBlock);
    case kTagRom: return sized(s.rom, kRomSize);
    case kTagBeam: return ReadBeam(r, s);
    case kTagAy: return ReadAy(r, s);
    case kTagSound: return ReadSound(r, s);
    case kTagSpool: return ReadSpool(r, s);
    case kTagTape: return ReadTape(r, s);
    case kTagRun: return ReadRunState(r, s);
    case kTagFrontEnd:
        // Optional, once; a program without a front-end part passes it by.
        if (s.frontEndSection) return false;
        s.frontEndSection = true;
        if (!frontEnd.check) return true;
        sized(s.frontEndBytes, r.Left());
        return frontEnd.check(s.frontEndBytes);
    default: error = "it has a section this version does not know"; return false;
    }
}

constexpr uint32_t kAllTags[] = {kTagMachine, kTagRam, kTagRom, kTagBeam, kTagAy, kTagSound, kTagSpool, kTagTape, kTagRun};

int TagBit(uint32_t tag) {
    for (int k = 0; k < int(std::size(kAllTags)); ++k)
        if (kAllTags[k] == tag) return k;
    return -1;
}

bool Decode(const std::vector<uint8_t>& raw, DecodedState& s, std::string& error) {
    Reader r(raw.data(), raw.size());
    while (r.Left() > 0) {
        uint32_t tag = 0, length = 0;
        if (!r.U32(tag) || !r.U32(length) || length > r.Left()) {
            error = "a section is cut short";
            return false;
        }
        const int bit = TagBit(tag);
        if (bit >= 0 && (s.seen & (1u << bit))) {
            error = "a section comes twice";
            return false;
        }
        std::vector<uint8_t> body(raw.begin() + long(raw.size() - r.Left()),
                                  raw.begin() + long(raw.size() - r.Left() + length));
        Reader section(body.data(), body.size());
        std::string why;
        if (!ReadSection(tag, section, s, why)) {
            const char name[5] = {char(tag), char(tag >> 8), char(tag >> 16), char(tag >> 24), 0};
            error = why.empty() ? "its section " + std::string(name) + " does not hold what it should" : why;
            return false;
        }
        if (bit >= 0) s.seen |= 1u << bit;
        std::vector<uint8_t> skip(length);
        r.Bytes(skip.data(), length);
    }
    if (s.seen != (1u << std::size(kAllTags)) - 1) {
        error = "a section is missing";
        return false;
    }
    return true;
}

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

std::vector<uint8_t> CaptureMachineState() {
    std::vector<uint8_t> raw;
    raw.reserve(sizeof ramBlock + sizeof renderer.frameImage + kRomSize + 4096);
    Writer w(raw);
    SaveMachine(w);
    SaveBeam(w);
    SaveSound(w);
    SaveSpool(w);
    SaveTape(w);
    SaveRunState(w);
    return raw;
}

bool RestoreMachineState(const std::vector<uint8_t>& raw, std::string& error) {
    // Large (the frame image), so kept off the stack.
    auto s = std::make_unique<DecodedState>();
    if (!Decode(raw, *s, error)) return false;
    ApplyMachine(*s);
    ApplyBeam(*s);
    ApplySound(*s);
    ApplySpool(*s);
    ApplyTape(*s);
    NmiRequested = s->nmiRequested != 0;
    if (frontEnd.restore) frontEnd.restore(s->frontEndBytes);
    return true;
}

void SetFrontEndStateSection(const FrontEndStateSection& section) {
    frontEnd = section;
}

int StateModel(const std::vector<uint8_t>& raw) {
    // The machine section comes first.
    if (raw.size() < 8 + sizeof(MachineState) || ReadU32(raw.data()) != kTagMachine) return -1;
    MachineState m;
    std::memcpy(&m, raw.data() + 8, sizeof m);
    return m.model <= 3 ? int(m.model) : -1;
}

std::vector<uint8_t> EncodeStateFile(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> file;
    Writer w(file);
    w.Bytes(kMagic, sizeof kMagic);
    w.U8(uint8_t(kStateFormatVersion));
    w.U8(uint8_t(kStateFormatVersion >> 8));
    const int model = StateModel(raw);
    w.U8(uint8_t(model < 0 ? 0 : model));
    w.U8(0);
    w.U32(uint32_t(raw.size()));
    w.U32(ByteChecksum(raw.data(), raw.size()));
    PackBytes(raw.data(), raw.size(), file);
    return file;
}

bool DecodeStateFile(const uint8_t* data, size_t size, std::vector<uint8_t>& raw, std::string& error) {
    if (size < kHeaderSize || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        error = "not a NoltACE state file";
        return false;
    }
    const uint16_t version = uint16_t(data[8] | data[9] << 8);
    if (version != kStateFormatVersion) {
        error = "a state file of format version " + std::to_string(version) + " (this version reads " +
                std::to_string(kStateFormatVersion) + ")";
        return false;
    }
    const uint32_t rawSize = ReadU32(data + 12), checksum = ReadU32(data + 16);
    std::vector<uint8_t> unpacked;
    if (rawSize > kMaxRawSize || !UnpackBytes(data + kHeaderSize, size - kHeaderSize, rawSize, unpacked) ||
        ByteChecksum(unpacked.data(), unpacked.size()) != checksum) {
        error = "the state file is damaged or cut short";
        return false;
    }
    raw = std::move(unpacked);
    return true;
}

bool SaveStateFile(const std::string& path, std::string& error) {
    std::vector<uint8_t> raw = CaptureMachineState();
    if (frontEnd.capture) {
        Writer w(raw);
        w.Begin(kTagFrontEnd);
        const std::vector<uint8_t> bytes = frontEnd.capture();
        w.Bytes(bytes.data(), bytes.size());
        w.End();
    }
    // Written beside it first, so that a failed write leaves the old file (a slot) whole.
    return WriteWholeFile(path, EncodeStateFile(raw), error);
}

LoadResult LoadStateFile(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes, raw;
    if (!ReadFileBytes(path, bytes)) {
        error = "cannot read '" + path + "'";
        return LoadResult::Failed;
    }
    std::string why;
    if (!DecodeStateFile(bytes.data(), bytes.size(), raw, why) || !RestoreMachineState(raw, why)) {
        error = "'" + path + "' cannot be loaded: " + why;
        return LoadResult::Failed;
    }
    return LoadResult::Loaded;
}
