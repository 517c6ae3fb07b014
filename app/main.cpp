#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ModuleWizardUi.h"
#include "app/WizardApp.h"
#include "platform/RegFile.h"
#include "platform/curl/CurlFtpClient.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/PosixSharedLibrary.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const auto start = std::chrono::steady_clock::now();
    // A closed standard error must not kill the run: the write fails (EPIPE) and is dropped,
    // and the exit status still tells how the run went.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Answered before anything else: no registry, no window, no display needed.
    if (const InfoRequest request = FindInfoRequest(arguments); request != InfoRequest::None) {
        std::cout << (request == InfoRequest::Usage ? UsageText(TESSALY_VERSION)
                                                    : "tessaly-wizard " TESSALY_VERSION "\n");
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    const ConfiguredRegistry registry = LoadRegistryFromEnvironment();
    PosixFileSystem files;
    PosixSystemInfo system = PosixSystemInfo::FromEnvironment();
    PosixShell shell;
    PosixPlugAndPlay plugAndPlay;
    CurlFtpClient ftp;
    const Platform platform{*registry.registry, files, system, shell, plugAndPlay, ftp};

    // The window module sits beside the executable in the build tree and in the library folder
    // of an installation.
    PosixSharedLibraryLoader loader;
    const std::string folder = loader.ExecutableFolder();
    std::vector<std::string> candidates;
    for (const char* relative : {"", TESSALY_GUI_MODULE_INSTALL_DIR "/"}) {
        candidates.push_back(folder + relative + TESSALY_GUI_MODULE_NAME);
    }

    ModuleWizardUi ui(loader, candidates, {&argc, argv, &platform, registry.configured, start},
                      ModuleWizardUi::DisplayAvailableFromEnvironment(), std::cerr);
    if (!registry.error.empty()) {
        ui.prompter().ShowMessage(registry.error, MessageIcon::Stop);
        return 1;
    }
    const int status = RunWizardApp(arguments, platform, ui);
    return ui.couldNotShow() ? 1 : status;
}
