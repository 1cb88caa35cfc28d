#include "base/host.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {
Host defaultHost;
Host* currentHost = &defaultHost;
} // namespace

void Host::ShowMessage(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

bool Host::AskYesNo(const std::string&, const std::string&) {
    return false;
}

double Host::NowSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void Host::SleepMs(int ms) {
    if (ms <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Host::SleepUntil(double dueSeconds) {
    using namespace std::chrono;
    const auto due =
        steady_clock::time_point(duration_cast<steady_clock::duration>(duration<double>(dueSeconds)));
    std::this_thread::sleep_until(due);
}

Host& host() {
    return *currentHost;
}

void SetHost(Host* newHost) {
    currentHost = newHost ? newHost : &defaultHost;
}
