#pragma once

#include <string>
#include <vector>

#include "wizard/DialogPresenter.h"

namespace tessaly {

// Dialog 129: picks one function of a combination module; the first is chosen at the start.
class FunctionSelectPresenter final : public DialogPresenter {
public:
    explicit FunctionSelectPresenter(std::vector<std::string> functions);

    // The position of the chosen entry (0 = first).
    int position() const { return position_; }

    void OnItemChosen(ControlId control, int index) override;

protected:
    void OnInitDialog() override;

private:
    std::vector<std::string> functions_;
    int position_ = 0;
};

}  // namespace tessaly
