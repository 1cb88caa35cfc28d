#include "sound/wav_writer_device.h"

#include <cstdio>
#include <utility>

namespace {

constexpr uint32_t kHeaderBytes = 44;
// The RIFF size fields are 32-bit: stop appending before they would overflow.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes;

void Put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

} // namespace

WavWriterDevice::WavWriterDevice(std::string path) : path_(std::move(path)) {}

WavWriterDevice::~WavWriterDevice() {
    Close();
}

bool WavWriterDevice::Connect(AudioCapabilities& caps) {
    caps.maxSampleRate = 192000;
    caps.sixteenBit = true;
    return true;
}

bool WavWriterDevice::Open(const AudioStreamFormat& format) {
    Close();
    format_ = format;
    dataBytes_ = 0;
    out_.emplace(path_);
    if (!out_->Open()) {
        out_.reset();
        return false;
    }
    WriteHeader();
    return true;
}

void WavWriterDevice::QueueChunk(const uint8_t* bytes, uint32_t count) {
    if (!out_ || dataBytes_ + count > kMaxDataBytes) return;
    // A write error shows when the file is completed; the run goes on meanwhile.
    out_->Write(std::span(bytes, count));
    dataBytes_ += count;
}

void WavWriterDevice::Close() {
    if (!out_) return;
    std::fseek(out_->Stream(), 0, SEEK_SET);
    WriteHeader();
    if (!out_->Commit()) ReportWriteFailure(out_->Error());
    out_.reset();
}

void WavWriterDevice::WriteHeader() {
    const uint32_t blockAlign = uint32_t(format_.bits) * format_.channels / 8;
    const uint32_t data = uint32_t(dataBytes_);
    uint8_t h[kHeaderBytes] = {'R', 'I', 'F', 'F', 0,   0,   0,  0, 'W', 'A',
                               'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0,   0};
    Put32(h + 4, 36 + data);
    Put16(h + 20, 1); // PCM
    Put16(h + 22, format_.channels);
    Put32(h + 24, format_.sampleRate);
    Put32(h + 28, format_.sampleRate * blockAlign);
    Put16(h + 32, blockAlign);
    Put16(h + 34, format_.bits);
    h[36] = 'd', h[37] = 'a', h[38] = 't', h[39] = 'a';
    Put32(h + 40, data);
    out_->Write(std::span(h, sizeof h));
}
