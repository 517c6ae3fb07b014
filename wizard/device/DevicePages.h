#pragma once

#include <optional>
#include <span>
#include <string>

#include "wizard/PagePresenter.h"

namespace tessaly {

// A field of a device page and the value it shows; an ID takes its canonical form when the
// user leaves the field.
struct DeviceField {
    ControlId control;
    std::string DeviceDescription::*value;
    bool isId = false;
};

// Page 1: the hardware bus, which decides the rest of the path.
class PageWelcomePresenter final : public PagePresenter {
public:
    explicit PageWelcomePresenter(SheetPresenter& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
    void OnChecked(ControlId control, bool checked) override;

protected:
    void OnInitDialog() override;

private:
    // The radio button set: taken from the bus once, then the user's choice.
    Bus chosen_ = Bus::PxiPci;
};

// What the two device information pages share: fields whose values go into the model as they
// are typed, IDs normalised when left, and picking an attached device.
class DevicePagePresenter : public PagePresenter {
public:
    using PagePresenter::PagePresenter;

    void OnTextChanged(ControlId control, const std::string& text) override;
    void OnFocusLeft(ControlId control) override;

protected:
    virtual std::span<const DeviceField> Fields() const = 0;
    // The page's enabling rule, applied after every change of the values.
    virtual void ApplyRule() = 0;
    // The fields and check boxes from the values.
    virtual void ShowValues();
    // Fills the page from an attached device the user picks, as if typed; the page's rules and
    // checks apply as to typed values.
    void PickAttachedDevice();
};

// Page 2: the PXI/PCI identifiers and names, or a Module Description File to take them from.
class PageWelcomePxiPresenter final : public DevicePagePresenter {
public:
    explicit PageWelcomePxiPresenter(SheetPresenter& sheet);

    NavAnswer OnWizardNext() override;
    NavAnswer OnWizardBack() override;
    void OnChecked(ControlId control, bool checked) override;
    void OnClicked(ControlId control) override;

    // A function of a Module Description File was loaded: Next may write every file at once.
    bool moduleLoaded() const { return moduleLoaded_; }

protected:
    void OnInitDialog() override;
    std::span<const DeviceField> Fields() const override;
    void ApplyRule() override;
    void ShowValues() override;

private:
    void LoadModuleFile();

    bool moduleLoaded_ = false;
    bool reviewLoaded_ = false;  // "View or change loaded settings before generating files"
};

// Page 3: the USB identifiers and names, and the interface count of a compound device.
class PageWelcomeUsbPresenter final : public DevicePagePresenter {
public:
    explicit PageWelcomeUsbPresenter(SheetPresenter& sheet);

    NavAnswer OnWizardNext() override;
    NavAnswer OnWizardBack() override;
    void OnChecked(ControlId control, bool checked) override;
    void OnClicked(ControlId control) override;
    // The interface count takes digits only.
    std::optional<std::string> RefusalOf(ControlId control, std::string_view utf8) const override;

protected:
    void OnInitDialog() override;
    std::span<const DeviceField> Fields() const override;
    void ApplyRule() override;
    void ShowValues() override;
};

}  // namespace tessaly
