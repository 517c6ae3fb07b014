#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "app/QtShell.h"
#include "app/QtWizardUi.h"
#include "app/WizardApp.h"
#include "platform/RegFile.h"
#include "platform/curl/CurlFtpClient.h"
#include "platform/posix/PosixPlatform.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const auto start = std::chrono::steady_clock::now();

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ConfiguredRegistry registry = LoadRegistryFromEnvironment(std::cerr);
    PosixFileSystem files;
    PosixSystemInfo system = PosixSystemInfo::FromEnvironment();
    PosixShell posixShell;
    QtShell shell(posixShell);
    PosixPlugAndPlay plugAndPlay;
    CurlFtpClient ftp;
    const Platform platform{*registry.registry, files, system, shell, plugAndPlay, ftp};

    QtWizardUi ui(argc, argv, platform, registry.configured);
    ui.SetStartTime(start);
    const int status = RunWizardApp(arguments, platform, ui);
    return ui.couldNotShow() ? 1 : status;
}
