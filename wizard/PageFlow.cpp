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

NavAnswer NextFrom(PageId page, const FlowFacts& facts) {
    switch (page) {
        case kPageWelcome:
            return NavAnswer::To(facts.bus == Bus::Usb ? kPageWelcomeUsb : kPageWelcomePxi);
        case kPageWelcomePxi:
            if (facts.generatedAtOnce) {
                return NavAnswer::To(kPageAfterSaveAction);
            }
            return NavAnswer::To(facts.generatesInterrupts ? kPageIsMine : kPageFinal);
        case kPageWelcomeUsb:
            return NavAnswer::To(kPageFinal);
        default:
            return NavAnswer::Default();
    }
}

NavAnswer BackFrom(PageId page, const FlowFacts& facts) {
    switch (page) {
        case kPageWelcomePxi:
        case kPageWelcomeUsb:
            return NavAnswer::To(kPageWelcome);
        case kPageIsMine:
            return NavAnswer::To(kPageWelcomePxi);
        case kPageFinal:
            // USB goes back to its page, PXI/PCI without interrupts skips both interrupt pages.
            if (facts.bus == Bus::Usb) {
                return NavAnswer::To(kPageWelcomeUsb);
            }
            return facts.generatesInterrupts ? NavAnswer::Default()
                                             : NavAnswer::To(kPageWelcomePxi);
        default:
            return NavAnswer::Default();
    }
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
