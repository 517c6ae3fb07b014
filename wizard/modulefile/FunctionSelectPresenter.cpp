#include "wizard/modulefile/FunctionSelectPresenter.h"

#include <utility>

#include "wizard/PageIds.h"

namespace tessaly {

FunctionSelectPresenter::FunctionSelectPresenter(std::vector<std::string> functions)
    : DialogPresenter(kFunctionSelectDialog), functions_(std::move(functions)) {}

void FunctionSelectPresenter::OnInitDialog() {
    view().SetItems(kFunctionCombo, functions_);
    view().SetCurrentItem(kFunctionCombo, 0);
}

void FunctionSelectPresenter::OnItemChosen(ControlId control, int index) {
    if (control == kFunctionCombo && index >= 0) {
        position_ = index;
    }
}

}  // namespace tessaly
