#include "debugger/step_back.h"

#include "base/byte_packing.h"
#include "machine/saved_state.h"

void StepHistory::BeforeStep() {
    if (!states_.empty() && steps_ - states_.back().step < kStepsPerState) return;
    if (states_.size() >= kMaxStates) states_.erase(states_.begin());
    const std::vector<uint8_t> raw = CaptureMachineState();
    Kept kept{steps_, {}, raw.size()};
    PackBytes(raw.data(), raw.size(), kept.packed);
    states_.push_back(std::move(kept));
}

void StepHistory::StartFrom(const std::vector<uint8_t>& raw, long steps) {
    Forget();
    Kept kept{0, {}, raw.size()};
    PackBytes(raw.data(), raw.size(), kept.packed);
    states_.push_back(std::move(kept));
    steps_ = steps;
}

void StepHistory::Forget() {
    states_.clear();
    steps_ = 0;
}

long StepHistory::StepsKept() const {
    return states_.empty() ? 0 : steps_ - states_.front().step;
}

bool StepHistory::StepBack(long n, const std::function<void()>& step, std::string& error) {
    if (n < 1 || n > StepsKept()) {
        error = "only " + std::to_string(StepsKept()) + " instructions can be stepped back";
        return false;
    }
    const long target = steps_ - n;
    size_t index = states_.size() - 1;
    while (states_[index].step > target)
        --index;
    std::vector<uint8_t> raw;
    if (!UnpackBytes(states_[index].packed.data(), states_[index].packed.size(), states_[index].rawSize, raw) ||
        !RestoreMachineState(raw, error)) {
        if (error.empty()) error = "a kept state is damaged";
        return false;
    }
    for (long s = states_[index].step; s < target; ++s)
        step();
    states_.resize(index + 1);
    steps_ = target;
    return true;
}
