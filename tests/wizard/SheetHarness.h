#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingDialogs.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/wizard/FakeViews.h"
#include "wizard/SheetPresenter.h"

namespace tessaly::testing {

// The sheet's presenter with a fake view for each page, driven as a view would drive it: a page
// is attached the first time it is shown, then activated; the sheet's buttons pass the control
// that has the focus. The machine has '/' paths, the default output directory exists, and
// messages and dialogs are recorded.
struct SheetHarness : ::testing::Test {
    SheetHarness() : fake('/'), platform(fake.platform()) {
        fake.system.defaultOutputBase = "/vxipnp/";
        fake.system.windowsDirectory = "/windows";
        fake.files.AddDirectory("/vxipnp/winnt/prefix");
        fake.files.AddDirectory("/windows/inf");
    }

    void Open(PageId start = kPageWelcome) {
        views.clear();
        sheet = std::make_unique<SheetPresenter>(
            model,
            WizardServices{platform, prompter, dialogs, detector, registryConfigured, packages});
        sheet->Attach(sheetView);
        Show(start);
    }
    void Show(PageId id) {
        PagePresenter& page = sheet->Page(id);
        if (!page.attached()) {
            page.Attach(views[id]);
        }
        sheetView.focus.clear();
        views[id].focus.reset();
        sheet->Activated(id);
        if (!sheetView.focus.empty()) {
            views[id].focus.reset();  // a sheet button or an unnamed first control has it
        }
    }
    PageId Page() const { return sheet->ActivePage(); }
    FakeControlView& View() { return views[Page()]; }
    PagePresenter& Presenter() const { return sheet->Page(sheet->ActivePage()); }

    // The sheet's buttons, as a press with the keyboard focus where it is (Enter in a field).
    void Next() {
        if (const auto target = sheet->Next(View().focus)) {
            Show(*target);
        }
    }
    void Back() {
        if (const auto target = sheet->Back(View().focus)) {
            Show(*target);
        }
    }
    bool Finish() { return sheet->Finish(View().focus); }

    // What the user does on the active page.
    void Type(ControlId control, const std::string& text) {
        View().focus = control;
        View()[control].text = text;
        Presenter().OnTextChanged(control, text);
    }
    void Leave(ControlId control) {
        View().focus.reset();
        Presenter().OnFocusLeft(control);
    }
    void Click(ControlId control) { Presenter().OnClicked(control); }
    void Check(ControlId control, bool checked = true) {
        View()[control].checked = checked;
        Presenter().OnChecked(control, checked);
    }
    void Select(std::set<std::size_t> rows) {
        View()[kStepList].selected = std::move(rows);
        Presenter().OnSelectionChanged(kStepList);
    }
    std::string Text(ControlId control) { return View()[control].text; }
    bool Enabled(ControlId control) { return View()[control].enabled; }

    // The wizard buttons offered, a disabled one in parentheses: "(back) next".
    std::string Shown() const {
        const unsigned b = sheetView.buttons;
        const bool finish = (b & (kButtonFinish | kButtonDisabledFinish)) != 0;
        std::string shown = (b & kButtonBack) ? "back" : "(back)";
        if (finish) {
            shown += (b & kButtonFinish) ? " finish" : " (finish)";
        } else {
            shown += (b & kButtonNext) ? " next" : " (next)";
        }
        return shown;
    }
    void AddGolden(const char* name) {
        fake.files.AddFile(GoldenPath(name), ReadFileBytes(GoldenPath(name)));
    }

    FakePlatform fake;
    Platform platform;
    RecordingPrompter prompter;
    RecordingDialogs dialogs;
    RealTimeProductDetector detector;
    bool registryConfigured = true;
    const PackageEnvironment* packages = nullptr;  // no package offered
    WizardModel model;
    FakeSheetView sheetView;
    std::map<PageId, FakeControlView> views;
    std::unique_ptr<SheetPresenter> sheet;
};

}  // namespace tessaly::testing
