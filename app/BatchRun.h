#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "output/package/DriverPackage.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/Workers.h"
#include "wizard/WizardModel.h"

namespace tessaly {

// What one device of a batch said, kept until its turn to be shown: the devices are written side
// by side, their messages shown in command-line order. Never asks: a question is said and
// answered No, and a choice of function takes the first (the batch loads the others itself).
class MessageLog final : public Prompter {
public:
    struct Entry {
        std::string text;
        MessageIcon icon;
    };

    const std::vector<Entry>& entries() const { return entries_; }
    // A failure (stop or exclamation) was said.
    bool failed() const { return failed_; }
    // The functions of a combination module, once a load offered the choice.
    const std::optional<std::vector<std::string>>& functions() const { return functions_; }

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override {}
    // The loader's chooser: notes the functions and takes the first.
    std::optional<int> ChooseFunction(const std::vector<std::string>& functions);

private:
    std::vector<Entry> entries_;
    bool failed_ = false;
    std::optional<std::vector<std::string>> functions_;
};

// One device of a batch: a function of a module file, or the USB device the options describe.
struct BatchDevice {
    std::string
        label;  // starts each of its messages ("boards/scope.ini, function 2"); may be empty
    WizardModel model;
    MessageLog log;
    bool ready = false;  // loaded and checked: its files may be written
    bool written = false;
};

// Where and how a batch writes.
struct BatchTarget {
    std::string folder;  // DIR as given
    bool install = false;
    // The platform the steps use; without --install its registry is empty, so nothing names a
    // folder outside DIR to write to.
    const Platform& platform;
    // With --package: the request each device's package starts from (the device and its
    // folder aside), and the library that signs it.
    std::optional<DriverPackageRequest> package = std::nullopt;
    PackageCrypto* crypto = nullptr;
};

// The step each ready device goes through: its files into DIR/<prefix>/, with --package its
// driver package into DIR/<prefix>/package/ and, with --install, the INF or the package
// installed. Runs on a worker thread: it changes only `device`, and reaches the disk
// only through the target's platform. True when everything was written (and installed).
bool WriteDevice(BatchDevice& device, const BatchTarget& target);

// The build-script mode (--output). Messages go to `messages`, each device's in command-line
// order and prefixed by its label; with --list, the path of every file written goes to `list`.
// Returns 0 when every device was written whole, 1 otherwise.
int RunBatch(const CommandLine& line, const Platform& platform,
             const PackageEnvironment& environment, Workers& workers, Prompter& messages,
             std::ostream& list);

}  // namespace tessaly
