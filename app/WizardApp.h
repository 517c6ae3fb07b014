#pragma once

#include <string>
#include <vector>

#include "app/WizardModel.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"

namespace tessaly {

// Dialog resource numbers of the pages, which navigation answers name.
enum PageId : int {
    kPageWelcome = 102,
    kPageIsMine = 103,
    kPageSquelch = 104,
    kPageFinal = 105,
    kPageUseFtp = 108,
    kPageWelcomeUsb = 109,
    kPageWelcomePxi = 110,
    kPageAfterSaveAction = 111,
};

// The command line as start-up understands it.
struct CWizardCommandLineInfo {
    bool SilentAutoInstall = false;
    bool filePresent = false;   // the parsed command is the open-file command
    std::string fileName;       // the first argument that is not a switch, as typed
    bool otherCommand = false;  // a standard switch chose another command than open-file

    // One call per argument: `isSwitch` when it began with "/" or "-" (already removed).
    void ParseParam(const std::string& param, bool isSwitch, bool isLast);
};

// Parses argv[1..] the way the application framework does.
CWizardCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);

// The windows start-up may need; the program's is Qt, tests use a fake.
class WizardUi {
public:
    virtual ~WizardUi() = default;
    // Messages and questions of start-up, the loader and the generation.
    virtual Prompter& prompter() = 0;
    // Shows the wizard sheet modally over `model`, opening at `startPage`; returns when it closes.
    virtual void RunWizard(WizardModel& model, PageId startPage) = 0;
};

// The program: decides the run mode from the command line and runs it. Returns the process exit
// status: 0 when the run ended without a failure message, 1 otherwise.
int RunWizardApp(const std::vector<std::string>& arguments, const Platform& platform, WizardUi& ui);

}  // namespace tessaly
