// A bare 64 KB Z80 system for the conformance suites: flat RAM with no ROM, mirrors or
// hooks, and ports whose reads each suite scripts the way its reference machine wired
// them. Writes and port accesses can be logged so that a test checks exactly what the
// instruction touched and can put memory back cheaply before the next test.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

struct PortAccess {
    uint16_t port;
    uint8_t value;
    bool write;
    bool operator==(const PortAccess&) const = default;
};

// What an IN returns.
enum class PortReads {
    HighByte, // the high byte of the port address (FUSE's test machine)
    Scripted, // the next value from `script`, in order (SingleStepTests' "ports")
    Idle,     // 0xFF, a floating bus (the CP/M programs do no I/O)
};

struct FlatBus {
    uint8_t mem[0x10000] = {};
    PortReads portReads = PortReads::Idle;
    std::vector<uint8_t> script; // values for successive port reads
    size_t nextScripted = 0;
    bool logging = true;               // the exercisers run billions of writes: no log
    std::vector<uint16_t> written;     // addresses written, in order
    std::vector<PortAccess> portLog;   // every IN and OUT, in order

    uint8_t Fetch(uint16_t a) { return mem[a]; }
    uint8_t Read(uint16_t a) { return mem[a]; }
    void Write(uint16_t a, uint8_t v) {
        if (logging) written.push_back(a);
        mem[a] = v;
    }
    uint8_t In(uint16_t port) {
        uint8_t v = 0xFF;
        if (portReads == PortReads::HighByte) v = uint8_t(port >> 8);
        else if (portReads == PortReads::Scripted && nextScripted < script.size()) v = script[nextScripted++];
        if (logging) portLog.push_back({port, v, false});
        return v;
    }
    void Out(uint16_t port, uint8_t v) {
        if (logging) portLog.push_back({port, v, true});
    }
    // No tape deck on this bus: the ED FC trap finds no tape and does nothing.
    bool LoadTrap() { return false; }
    void SaveTrap() {}

    // Clears the logs and the port script for the next test; memory is the caller's.
    void BeginTest(PortReads reads) {
        portReads = reads;
        script.clear();
        nextScripted = 0;
        written.clear();
        portLog.clear();
    }
    void ClearMemory() { std::memset(mem, 0, sizeof mem); }
};
