#include "wizard/interrupts/StepEditorPresenter.h"

#include <iterator>
#include <span>
#include <string_view>
#include <vector>

#include "interrupts/StepEditorRules.h"
#include "wizard/PageIds.h"

namespace tessaly {
namespace {

struct EditorList {
    ControlId control;
    std::span<const std::string_view> entries;
    std::string StepEditorFields::*text;
};

const EditorList kLists[] = {
    {kAccessCombo, kEditorAccessTexts, &StepEditorFields::Access},
    {kWidthCombo, kEditorWidthTexts, &StepEditorFields::Width},
    {kSpaceCombo, kSpaceTexts, &StepEditorFields::Space},
};

struct EditorBox {
    ControlId control;
    std::string StepEditorFields::*text;
};

const EditorBox kBoxes[] = {
    {kOffsetEdit, &StepEditorFields::Offset},
    {kMaskEdit, &StepEditorFields::Mask},
    {kValueEdit, &StepEditorFields::Value},
};

}  // namespace

StepEditorPresenter::StepEditorPresenter(const StepEditorFields& fields)
    : DialogPresenter(kStepEditorDialog), fields_(fields) {}

void StepEditorPresenter::OnInitDialog() {
    for (const EditorList& list : kLists) {
        view().SetItems(list.control,
                        std::vector<std::string>(list.entries.begin(), list.entries.end()));
    }
    ShowTexts();
    ApplyEnabling();
    Normalise();
}

// Each list selects the first entry that begins with its text, or none.
void StepEditorPresenter::ShowTexts() {
    for (std::size_t i = 0; i < std::size(kLists); ++i) {
        const auto index = FindEntryByPrefix(kLists[i].entries, fields_.*kLists[i].text);
        selected_[i] = index ? static_cast<int>(*index) : -1;
        view().SetCurrentItem(kLists[i].control, selected_[i]);
    }
    for (const EditorBox& box : kBoxes) {
        view().SetText(box.control, fields_.*box.text);
    }
}

void StepEditorPresenter::TakeListTexts() {
    for (std::size_t i = 0; i < std::size(kLists); ++i) {
        const auto entry = static_cast<std::size_t>(selected_[i]);
        fields_.*kLists[i].text = selected_[i] >= 0 && entry < kLists[i].entries.size()
                                      ? std::string(kLists[i].entries[entry])
                                      : std::string();
    }
}

void StepEditorPresenter::ApplyEnabling() {
    if (const auto enabling = EnablingForAccess(fields_.Access)) {
        view().SetEnabled(kMaskEdit, enabling->mask);
        view().SetEnabled(kValueEdit, enabling->value);
    }
}

void StepEditorPresenter::Normalise() {
    fields_ = NormaliseStepNumbers(fields_);
    ShowTexts();
}

void StepEditorPresenter::OnTextChanged(ControlId control, const std::string& text) {
    for (const EditorBox& box : kBoxes) {
        if (box.control == control) {
            fields_.*box.text = text;
        }
    }
}

void StepEditorPresenter::OnItemChosen(ControlId control, int index) {
    for (std::size_t i = 0; i < std::size(kLists); ++i) {
        if (kLists[i].control == control) {
            selected_[i] = index;
        }
    }
    OnFocusLeft(control);
}

// A list applies its rule when an entry is picked and again when it loses the focus: the type
// of access enables the boxes, the width normalises the numbers (the type does not).
void StepEditorPresenter::OnFocusLeft(ControlId control) {
    if (control == kAccessCombo) {
        TakeListTexts();
        ApplyEnabling();
    } else if (control == kWidthCombo) {
        TakeListTexts();
        Normalise();
    }
}

bool StepEditorPresenter::Accept() {
    TakeListTexts();
    ApplyEnabling();
    Normalise();
    return true;
}

}  // namespace tessaly
