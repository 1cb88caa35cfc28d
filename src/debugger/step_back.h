// Stepping back in the debugger: the instructions single-stepped since the machine last
// ran or changed otherwise, kept as a machine state every kStepsPerState steps and the
// number of steps since. Stepping back N restores the nearest state before the step N
// back and steps forward again to the instruction before: the machine is exactly as it
// was, with nothing kept per instruction.
//
// Usage: call Stepped() after each single step (the first keeps the state from before
// it, passed in), Forget() when the machine runs or changes in any other way, StepBack(n).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class StepHistory {
  public:
    static constexpr long kStepsPerState = 2000;
    static constexpr size_t kMaxStates = 50; // 100000 steps back at most

    // Before a single step: the first of a run of steps keeps the machine as it is now.
    void BeforeStep();
    void AfterStep() { ++steps_; }
    void Forget();
    // Starts the history afresh from `raw`, the machine now being `steps` steps past it.
    void StartFrom(const std::vector<uint8_t>& raw, long steps);
    long StepsKept() const;
    // Undoes the last `n` steps, running `step` (one single step, as the caller made
    // them) forward from the kept state; false with a reason when fewer were kept.
    bool StepBack(long n, const std::function<void()>& step, std::string& error);

  private:
    struct Kept {
        long step;
        std::vector<uint8_t> packed;
        size_t rawSize;
    };
    std::vector<Kept> states_;
    long steps_ = 0;
};
