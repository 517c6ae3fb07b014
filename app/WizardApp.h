#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "app/CommandLine.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/Workers.h"
#include "wizard/PageIds.h"
#include "wizard/WizardModel.h"

namespace tessaly {

// The windows start-up may need; the program's is Qt, tests use a fake.
class WizardUi {
public:
    virtual ~WizardUi() = default;
    // Messages and questions of start-up, the loader and the generation.
    virtual Prompter& prompter() = 0;
    // Notices of a run from a module file (messages without an icon: warnings, a cut list): an
    // unattended run must never wait on a box for them.
    virtual Prompter& notices() { return prompter(); }
    // Shows the wizard sheet modally over `model`, opening at `startPage`; returns when it closes.
    virtual void RunWizard(WizardModel& model, PageId startPage) = 0;
    // Lets the user choose a function of a combination module; nullopt when cancelled or when
    // there is no chooser to show.
    virtual std::optional<int> ChooseFunction(const std::vector<std::string>& functions) {
        (void)functions;
        return std::nullopt;
    }
};

// The program: decides the run mode from the command line and runs it. Returns the process exit
// status: 0 when the run ended without a failure message, 1 otherwise, 2 for a command line it
// cannot follow (said on the UI's notices). `output` is standard output, where --list goes;
// `workers` run the devices of a batch side by side; `packages` signs their driver packages.
int RunWizardApp(const std::vector<std::string>& arguments, const Platform& platform, WizardUi& ui,
                 std::ostream& output, Workers& workers, const PackageEnvironment& packages);

}  // namespace tessaly
