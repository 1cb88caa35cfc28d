#include "fuzz_support.h"

#include "base/host.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"

namespace {

// Messages would flood the fuzzer's output; dialogs are cancelled.
class QuietHost : public Host {
  public:
    void ShowMessage(const std::string&, const std::string&) override {}
};

QuietHost quietHost;

} // namespace

void PrepareFuzzMachine() {
    SetHost(&quietHost);
    ResetEmulator();
    machine.model = 3;
    machine.topPage = ModelTable(3).topPage;
    machine.ramTop = ModelTable(3).ramTop;
}
