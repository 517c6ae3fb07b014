#include "wizard/PageFlow.h"

#include <algorithm>

#include "interrupts/StepStrings.h"

namespace tessaly {

std::optional<std::size_t> ResolveAnswer(std::span<const PageId> order, std::size_t current,
                                         NavAnswer answer, bool forward) {
    switch (answer.kind) {
        case NavAnswer::Kind::Stay:
            return std::nullopt;
        case NavAnswer::Kind::Default:
            if (forward) {
                return current + 1 < order.size() ? std::optional(current + 1) : std::nullopt;
            }
            return current > 0 ? std::optional(current - 1) : std::nullopt;
        case NavAnswer::Kind::Page: {
            const auto found = std::find(order.begin(), order.end(), answer.page);
            if (found == order.end()) {
                return std::nullopt;
            }
            return static_cast<std::size_t>(found - order.begin());
        }
    }
    return std::nullopt;
}

PageId NextFromBusPage(int busType) {
    return busType != kBusPxi ? kPageWelcomeUsb : kPageWelcomePxi;
}

PageId NextFromPxiPage(bool generatesInterrupts) {
    return generatesInterrupts ? kPageIsMine : kPageFinal;
}

NavAnswer BackFromFinalPage(int bus, bool generatesInterrupts) {
    if (bus == kBusUsb) {
        return NavAnswer::To(kPageWelcomeUsb);
    }
    if (!generatesInterrupts) {
        return NavAnswer::To(kPageWelcomePxi);
    }
    return NavAnswer::Default();
}

unsigned DetectionPageButtons(const std::vector<DetectSequence>& sequences) {
    const bool complete =
        !sequences.empty() &&
        std::all_of(sequences.begin(), sequences.end(),
                    [](const DetectSequence& sequence) { return HasCompareStep(sequence.Steps); });
    return complete ? kButtonBack | kButtonNext : kButtonBack;
}

unsigned AfterSavePageButtons(int choice) {
    return choice == kAfterSaveFtp ? kButtonBack | kButtonNext : kButtonBack | kButtonFinish;
}

unsigned FtpPageButtons(bool hostNameEmpty) {
    return hostNameEmpty ? kButtonBack | kButtonDisabledFinish : kButtonBack | kButtonFinish;
}

}  // namespace tessaly
