#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/QtShell.h"
#include "app/QtWizardUi.h"
#include "app/WizardApp.h"
#include "platform/RegFile.h"
#include "platform/posix/PosixPlatform.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const auto start = std::chrono::steady_clock::now();
    // A closed standard error must not kill the run: the write fails (EPIPE) and is dropped,
    // and the exit status still tells how the run went.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ConfiguredRegistry registry = LoadRegistryFromEnvironment();
    PosixFileSystem files;
    PosixSystemInfo system = PosixSystemInfo::FromEnvironment();
    PosixShell posixShell;
    QtShell shell(posixShell);
    PosixPlugAndPlay plugAndPlay;
    const Platform platform{*registry.registry, files, system, shell, plugAndPlay};

    QtWizardUi ui(argc, argv, platform, registry.configured);
    ui.SetStartTime(start);
    if (!registry.error.empty()) {
        ui.prompter().ShowMessage(registry.error, MessageIcon::Stop);
        return 1;
    }
    const int status = RunWizardApp(arguments, platform, ui);
    return ui.couldNotShow() ? 1 : status;
}
