#include "wizard/ControlPresenter.h"

#include <algorithm>

namespace tessaly {

void ControlPresenter::Attach(ControlView& view) {
    view_ = &view;
    OnInitDialog();
}

void ControlPresenter::OnTextChanged(ControlId, const std::string&) {}
void ControlPresenter::OnFocusLeft(ControlId) {}
void ControlPresenter::OnClicked(ControlId) {}
void ControlPresenter::OnChecked(ControlId, bool) {}
void ControlPresenter::OnItemChosen(ControlId, int) {}
void ControlPresenter::OnSelectionChanged(ControlId) {}
void ControlPresenter::OnRowActivated(ControlId, std::size_t) {}

bool ControlPresenter::OnRowKey(ControlId, RowKey) {
    return false;
}

std::optional<std::string> ControlPresenter::RefusalOf(ControlId control,
                                                       std::string_view utf8) const {
    if (ControlEncoding(dialog(), control) != TextEncoding::Latin1) {
        return std::nullopt;
    }
    return Latin1Refusal(utf8);
}

std::optional<std::string> Latin1Refusal(std::string_view utf8) {
    // In UTF-8 a character beyond U+00FF is exactly one whose lead byte is 0xC4 or above.
    std::string refused;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view character = utf8.substr(i, length);
        if (lead >= 0xC4 && refused.find(character) == std::string::npos) {
            refused += character;
        }
        i += length;
    }
    if (refused.empty()) {
        return std::nullopt;
    }
    return CodePageRefusal(refused, "the Windows Western (Latin-1) code page");
}

std::string CodePageRefusal(std::string_view characters, std::string_view codePage) {
    const auto count = std::count_if(characters.begin(), characters.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    std::string note = "\"";
    note += characters;
    note += "\" cannot be used here: this text is written in ";
    note += codePage;
    note += count == 1 ? ", which has no such character." : ", which has no such characters.";
    return note;
}

}  // namespace tessaly
