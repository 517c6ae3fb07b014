#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ModuleWizardUi.h"
#include "app/WizardApp.h"
#include "platform/NativeSystem.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const auto start = std::chrono::steady_clock::now();

    const std::vector<std::string> arguments(argv + 1, argv + argc);
#ifdef SIGPIPE
    // Output into a closed pipe (a reader that stopped early) must not kill the run: the write
    // fails, and the exit status says so.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // Answered before anything else: no registry, no window, no display needed.
    if (const InfoRequest request = FindInfoRequest(arguments); request != InfoRequest::None) {
        std::cout << (request == InfoRequest::Usage ? UsageText(TESSALY_VERSION, NativeUsageNotes())
                                                    : "tessaly-wizard " TESSALY_VERSION "\n");
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    const std::unique_ptr<NativeSystem> system = MakeNativeSystem(std::cerr);
    const Platform& platform = system->platform();

    // The crypto library is loaded only when a package is signed.
    const std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
    const auto variable = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    std::optional<std::string> epoch = variable("SOURCE_DATE_EPOCH");
    if (epoch && epoch->empty()) {
        epoch.reset();  // as unset, the way build tools clear it
    }
    const PackageEnvironment packages{*crypto, static_cast<std::int64_t>(std::time(nullptr)), epoch,
                                      variable("TESSALY_PFX_PASSWORD")};

    // The window module sits beside the executable in the build tree, and in the library folder
    // of an installation; a view linked into the program (Windows) is used instead.
    const std::string folder = system->loader().ExecutableFolder();
    std::vector<std::string> candidates = {folder + TESSALY_GUI_MODULE_NAME};
    if (const std::string installed = TESSALY_GUI_MODULE_INSTALL_DIR; !installed.empty()) {
        candidates.push_back(folder + installed + "/" + TESSALY_GUI_MODULE_NAME);
    }

    ModuleWizardUi ui(system->loader(), candidates,
                      {&argc, argv, &platform, system->registryConfigured(), start, &packages},
                      system->displayAvailable(), system->fallbackPrompter(),
                      system->fallbackShowsMessageBoxes(), std::cerr, LinkedGuiModule());
    if (!system->startupError().empty()) {
        ui.prompter().ShowMessage(system->startupError(), MessageIcon::Stop);
        return 1;
    }
    const int status =
        RunWizardApp(arguments, platform, ui, std::cout, system->workers(), packages);
    return ui.couldNotShow() ? 1 : status;
}
