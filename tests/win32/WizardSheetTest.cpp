// The wizard's sheet in this process on Wine's display, driven through window messages as a
// user drives it with the mouse: texts set into fields, buttons clicked, Next, Back and Finish
// pressed, and the dialogs and message boxes it opens answered. The walks end in byte-exact
// files; on the way each page shows that what its presenter decides reaches its controls.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gui/win32/Win32Api.h"
#include "gui/win32/Win32GuiSession.h"
#include "platform/NativeSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/TempDir.h"
#include "wizard/ControlIds.h"
#include "wizard/PageIds.h"

namespace tessaly {
namespace {

using testing::GoldenPath;
using testing::ReadFileBytes;
using testing::SameBytes;
using Clock = std::chrono::steady_clock;

// The property sheet's own Next button.
constexpr int kSheetNextButton = 0x3024;
constexpr auto kPatience = std::chrono::seconds(10);

std::string TextOf(HWND window) {
    char text[4096] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The windows this thread shows.
std::vector<HWND> ShownWindows() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (::IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND Sheet() {
    for (const HWND window : ShownWindows()) {
        if (::GetDlgItem(window, kSheetNextButton)) {
            return window;
        }
    }
    return nullptr;
}

// The sheet's page on screen when the sheet's caption is `caption`.
HWND PageTitled(const std::string& caption) {
    const HWND sheet = Sheet();
    return sheet && TextOf(sheet) == caption && ::IsWindowEnabled(sheet)
               ? PropSheet_GetCurrentPageHwnd(sheet)
               : nullptr;
}

// A dialog or message box over the sheet, by its title.
HWND DialogTitled(const std::string& title) {
    for (const HWND window : ShownWindows()) {
        if (!::GetDlgItem(window, kSheetNextButton) && TextOf(window) == title) {
            return window;
        }
    }
    return nullptr;
}

// What a window and the static texts in it say, for a failure's message.
std::string Describe(HWND window) {
    std::string said = "\"" + TextOf(window) + "\"";
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM text) -> BOOL {
            char kind[32] = {};
            ::GetClassNameA(child, kind, sizeof kind);
            if (::lstrcmpiA(kind, "Static") == 0 && !TextOf(child).empty()) {
                *reinterpret_cast<std::string*>(text) += " [" + TextOf(child) + "]";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&said));
    return said;
}

std::string DescribeShown() {
    std::string all;
    for (const HWND window : ShownWindows()) {
        all += "\n  " + Describe(window);
    }
    return all.empty() ? " none" : all;
}

void Type(HWND dialog, ControlId field, const std::string& text) {
    ::SetDlgItemTextA(dialog, field, text.c_str());
}

// Posted: what a click opens runs in its own loop, which keeps the walk's timer going.
void Click(HWND dialog, int button) {
    ::PostMessageA(::GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

void Choose(HWND dialog, ControlId combo, int index) {
    const HWND box = ::GetDlgItem(dialog, combo);
    ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(box));
}

void Press(int button) {
    ::PostMessageA(Sheet(), PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

bool Enabled(HWND dialog, int control) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, control)) != FALSE;
}

bool Shown(HWND dialog, int control) {
    return ::IsWindowVisible(::GetDlgItem(dialog, control)) != FALSE;
}

int Rows(HWND page) {
    return ListView_GetItemCount(::GetDlgItem(page, kStepList));
}

// A user working through the wizard on its own thread: a timer takes the steps in turn, each
// tried on every tick until it is done, or given up after a while with what was on screen.
class Walk {
public:
    using Step = std::function<bool()>;

    Walk& Then(std::string what, Step step) {
        steps_.push_back({std::move(what), std::move(step)});
        return *this;
    }
    // Noted without stopping the walk.
    void Expect(bool holds, const std::string& what) {
        if (!holds) {
            failures_ += "\n" + what;
        }
    }

    // Runs `wizard`, which returns when the sheet closes; the failures, empty when none.
    std::string Run(const std::function<void()>& wizard) {
        active_ = this;
        since_ = Clock::now();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 15, &Walk::Tick);
        wizard();
        ::KillTimer(nullptr, timer);
        active_ = nullptr;
        if (!aborted_ && next_ < steps_.size()) {
            failures_ += "\nthe wizard closed before: " + steps_[next_].what;
        }
        return failures_;
    }

private:
    struct Named {
        std::string what;
        Step step;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (active_ && !active_->ticking_) {
            active_->ticking_ = true;
            active_->aborted_ ? active_->CloseAll() : active_->TakeStep();
            active_->ticking_ = false;
        }
    }

    void TakeStep() {
        const auto waited = Clock::now() - since_;
        if (next_ < steps_.size()) {
            if (steps_[next_].step()) {
                ++next_;
                since_ = Clock::now();
            } else if (waited > kPatience) {
                Abort("not done after 10 s: " + steps_[next_].what);
            }
        } else if (waited > kPatience && !ShownWindows().empty()) {
            Abort("still open after the last step:");
        }
    }

    void Abort(const std::string& why) {
        failures_ += "\n" + why + "; on screen:" + DescribeShown();
        aborted_ = true;
    }

    // Ends whatever is open, the newest first, a few times a second.
    void CloseAll() {
        if (Clock::now() - lastClose_ < std::chrono::milliseconds(300)) {
            return;
        }
        lastClose_ = Clock::now();
        for (const HWND window : ShownWindows()) {
            if (::GetDlgItem(window, kSheetNextButton)) {
                ::PostMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            } else {
                for (const int button : {IDNO, IDCANCEL, IDOK}) {
                    if (::GetDlgItem(window, button)) {
                        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                        break;
                    }
                }
            }
        }
    }

    std::vector<Named> steps_;
    std::size_t next_ = 0;
    Clock::time_point since_;
    Clock::time_point lastClose_;
    std::string failures_;
    bool aborted_ = false;
    bool ticking_ = false;
    static inline Walk* active_ = nullptr;
};

// The message box of the wizard's title: its text is noted, then `button` pressed.
Walk::Step Answer(int button, std::string* said = nullptr) {
    return [button, said] {
        const HWND box = DialogTitled("Tessaly Wizard");
        if (!box || !::GetDlgItem(box, button)) {
            return false;
        }
        if (said) {
            *said = Describe(box);
        }
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return true;
    };
}

// One step of the step editor: access, width, space by their positions in the lists, then the
// fields that take text.
struct StepEntry {
    int access;  // Read, Read/Compare, Write
    int width;   // 8, 16, 32 bits
    int space;   // CFG, BAR0, BAR1...
    std::vector<std::pair<ControlId, std::string>> fields;
};

Walk::Step FillStepEditor(StepEntry entry) {
    return [entry] {
        const HWND editor = DialogTitled("ZEL-VISA PXI Interrupt Information");
        if (!editor) {
            return false;
        }
        Choose(editor, kAccessCombo, entry.access);
        Choose(editor, kWidthCombo, entry.width);
        Choose(editor, kSpaceCombo, entry.space);
        for (const auto& [field, text] : entry.fields) {
            Type(editor, field, text);
        }
        Click(editor, IDOK);
        return true;
    };
}

// The page of that caption once the step editor has closed and its list has `rows` rows.
HWND PageWithRows(const std::string& caption, int rows) {
    const HWND page = PageTitled(caption);
    return page && !DialogTitled("ZEL-VISA PXI Interrupt Information") && Rows(page) == rows
               ? page
               : nullptr;
}

// The wizard as the program opens it, on this process's real Windows platform.
class WizardSheetTest : public ::testing::Test {
protected:
    void RunWizard(Walk& walk) {
        int argc = 0;
        char* argv[] = {nullptr};
        const GuiContext context{
            &argc,        argv,      &system_->platform(), system_->registryConfigured(),
            std::nullopt, &packages_};
        win32::Win32GuiSession session(context);
        const std::string failures = walk.Run([&] { session.RunWizard(model_, kPageWelcome); });
        EXPECT_EQ(failures, "");
    }

    std::string Output(const std::string& name) const { return (dir_.path() / name).string(); }

    const std::unique_ptr<NativeSystem> system_ = MakeNativeSystem(std::cerr);
    const std::unique_ptr<PackageCrypto> crypto_ = MakeNativePackageCrypto();
    const PackageEnvironment packages_{*crypto_, static_cast<std::int64_t>(std::time(nullptr)),
                                       std::nullopt, std::nullopt};
    WizardModel model_;
    testing::TempDir dir_;
};

std::string InstalledInf(const std::string& name) {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\inf\\" + name;
}

TEST_F(WizardSheetTest, PxiDeviceWithTwoSequencesWritesGoldenFilesAndInstallsTheInf) {
    const std::string installed = InstalledInf("acme4321_NT5.inf");
    ::DeleteFileA(installed.c_str());
    const std::string folder = Output("pxi");  // not there yet: the wizard asks to create it
    const std::string detection = "Tessaly Wizard - PXI - Interrupt Detection Information";
    const std::string removal = "Tessaly Wizard - PXI - Interrupt Removal Information";
    std::string question;
    std::string note;
    Walk walk;
    walk.Then("page 1, PXI/PCI chosen",
              [] {
                  const HWND page = PageTitled("Tessaly Wizard - Hardware Bus");
                  if (page) {
                      Click(page, kPxiRadio);
                      Press(PSBTN_NEXT);
                  }
                  return page != nullptr;
              })
        .Then("the PXI page, subsystem checked",
              [] {
                  const HWND page = PageTitled("Tessaly Wizard - PXI - Basic Device Information");
                  if (page) {
                      Click(page, kUsesSubsystemCheck);
                  }
                  return page != nullptr;
              })
        .Then("the subsystem fields enabled, then filled",
              [&walk] {
                  const HWND page = PageTitled("Tessaly Wizard - PXI - Basic Device Information");
                  if (!page || !Enabled(page, kSubsystemManufCodeEdit)) {
                      return false;
                  }
                  walk.Expect(Enabled(page, kSubsystemModelCodeEdit),
                              "the subsystem model code stays disabled");
                  Type(page, kManufCodeEdit, "0x1234");
                  Type(page, kModelCodeEdit, "0xABCD");
                  Type(page, kSubsystemManufCodeEdit, "0x5678");
                  Type(page, kSubsystemModelCodeEdit, "0x0001");
                  Type(page, kManufNameEdit, "Acme Instruments");
                  Type(page, kModelNameEdit, "PXI-4321 \"Fast\" Digitizer");
                  Click(page, kGeneratesInterruptsCheck);
                  Press(PSBTN_NEXT);
                  return true;
              })
        .Then("the detection page, Next disabled until a Compare step",
              [&] {
                  const HWND page = PageTitled(detection);
                  if (page) {
                      walk.Expect(!Enabled(Sheet(), kSheetNextButton),
                                  "Next is enabled on an empty detection page");
                      Click(page, kAddAfterButton);
                  }
                  return page != nullptr;
              })
        .Then("sequence 0: C16 BAR0",
              FillStepEditor(
                  {1, 1, 1, {{kOffsetEdit, "0x10"}, {kMaskEdit, "0xFFFF"}, {kValueEdit, "1"}}}))
        .Then("a second sequence added",
              [&] {
                  const HWND page = PageWithRows(detection, 1);
                  if (page) {
                      walk.Expect(Enabled(Sheet(), kSheetNextButton),
                                  "Next stays disabled after a Compare step");
                      Click(page, kAddSequenceButton);
                  }
                  return page != nullptr;
              })
        .Then("the second sequence shown, empty",
              [&] {
                  const HWND page = PageWithRows(detection, 0);
                  if (!page) {
                      return false;
                  }
                  const HWND combo = ::GetDlgItem(page, kSequenceCombo);
                  walk.Expect(::SendMessageA(combo, CB_GETCOUNT, 0, 0) == 2 &&
                                  ::SendMessageA(combo, CB_GETCURSEL, 0, 0) == 1,
                              "the sequence list does not show the new sequence chosen");
                  Click(page, kAddAfterButton);
                  return true;
              })
        .Then("sequence 1: R8 CFG", FillStepEditor({0, 0, 0, {{kOffsetEdit, "0x4"}}}))
        .Then("a step after it",
              [&] {
                  const HWND page = PageWithRows(detection, 1);
                  if (page) {
                      Click(page, kAddAfterButton);
                  }
                  return page != nullptr;
              })
        .Then(
            "sequence 1: C32 BAR1",
            FillStepEditor(
                {1,
                 2,
                 2,
                 {{kOffsetEdit, "0x100"}, {kMaskEdit, "0x80000000"}, {kValueEdit, "0x80000000"}}}))
        .Then("on to the removal page",
              [&] {
                  const HWND page = PageWithRows(detection, 2);
                  if (page) {
                      Press(PSBTN_NEXT);
                  }
                  return page != nullptr;
              })
        .Then("a removal step added",
              [&] {
                  const HWND page = PageTitled(removal);
                  if (page) {
                      Click(page, kAddAfterButton);
                  }
                  return page != nullptr;
              })
        .Then("removal: W32 BAR1",
              FillStepEditor({2, 2, 2, {{kOffsetEdit, "0x100"}, {kValueEdit, "1"}}}))
        .Then("on to the output page",
              [&] {
                  const HWND page = PageWithRows(removal, 1);
                  if (page) {
                      Press(PSBTN_NEXT);
                  }
                  return page != nullptr;
              })
        .Then("the output page: warnings shown, prefix and folder entered",
              [&] {
                  const HWND page = PageTitled("Tessaly Wizard - PXI - Output Files");
                  if (!page) {
                      return false;
                  }
                  // The double quotes in the model name.
                  walk.Expect(Shown(page, kHazardText), "no warning for the quoted model name");
                  walk.Expect(Shown(page, kPackageCheck) && Enabled(page, kPackageCheck),
                              "no package check box to tick");
                  Type(page, kPrefixEdit, "acme4321");
                  Type(page, kDirectoryEdit, folder);
                  Press(PSBTN_NEXT);
                  return true;
              })
        .Then("the missing folder: created", Answer(IDYES, &question))
        .Then("installation chosen",
              [] {
                  const HWND page = PageTitled("Tessaly Wizard - Installation Options");
                  if (page) {
                      Click(page, kInstallChoice);
                      Press(PSBTN_FINISH);
                  }
                  return page != nullptr;
              })
        .Then("the note before installing: OK", Answer(IDOK, &note));
    RunWizard(walk);
    EXPECT_NE(question.find(folder), std::string::npos) << question;
    EXPECT_NE(note.find("64-bit"), std::string::npos) << note;

    for (const auto& [written, golden] : std::vector<std::pair<std::string, std::string>>{
             {"acme4321.ini", "pxi_two_sequences.ini"},
             {"acme4_RT.inf", "pxi_two_sequences_RT.inf"},
             {"acme4321_9x.inf", "pxi_two_sequences_9x.inf"},
             {"acme4321_NT4.inf", "pxi_two_sequences_NT4.inf"},
             {"acme4321_NT5.inf", "pxi_two_sequences_NT5.inf"}}) {
        EXPECT_TRUE(
            SameBytes(ReadFileBytes(GoldenPath(golden)), ReadFileBytes(folder + "\\" + written)))
            << written;
    }
    EXPECT_TRUE(
        SameBytes(ReadFileBytes(GoldenPath("pxi_two_sequences_NT5.inf")), ReadFileBytes(installed)))
        << installed;
    ::DeleteFileA(installed.c_str());
}

TEST_F(WizardSheetTest, UsbCompoundDeviceWritesTheGoldenInf) {
    const std::string folder = Output("usb");
    const std::string usbPage = "Tessaly Wizard - USB - Basic Device Information";
    Walk walk;
    walk.Then("page 1, USB chosen",
              [] {
                  const HWND page = PageTitled("Tessaly Wizard - Hardware Bus");
                  if (page) {
                      Click(page, kUsbRadio);
                      Press(PSBTN_NEXT);
                  }
                  return page != nullptr;
              })
        .Then("the USB page filled, then Back",
              [&] {
                  const HWND page = PageTitled(usbPage);
                  if (!page) {
                      return false;
                  }
                  walk.Expect(!Enabled(page, kInterfaceCountEdit),
                              "the interface count is enabled for a simple device");
                  Type(page, kUsbVendorIdEdit, "0x1234");
                  Type(page, kUsbProductIdEdit, "0xABCD");
                  Type(page, kUsbManufNameEdit, "Acme Instruments");
                  Type(page, kUsbModelNameEdit, "Model 42 Counter");
                  Press(PSBTN_BACK);
                  return true;
              })
        .Then("page 1 again, then Next",
              [] {
                  const HWND page = PageTitled("Tessaly Wizard - Hardware Bus");
                  if (page) {
                      Press(PSBTN_NEXT);
                  }
                  return page != nullptr;
              })
        .Then("the USB page keeps its entries; compound checked",
              [&] {
                  const HWND page = PageTitled(usbPage);
                  if (page) {
                      char vendor[32] = {};
                      ::GetDlgItemTextA(page, kUsbVendorIdEdit, vendor, sizeof vendor);
                      walk.Expect(std::string(vendor) == "0x1234",
                                  "the vendor ID after Back and Next: " + std::string(vendor));
                      Click(page, kCompoundDeviceCheck);
                  }
                  return page != nullptr;
              })
        .Then("three interfaces",
              [&] {
                  const HWND page = PageTitled(usbPage);
                  if (!page || !Enabled(page, kInterfaceCountEdit)) {
                      return false;
                  }
                  Type(page, kInterfaceCountEdit, "3");
                  Press(PSBTN_NEXT);
                  return true;
              })
        .Then("the output page: no warnings; prefix and folder",
              [&] {
                  const HWND page = PageTitled("Tessaly Wizard - USB - Output Files");
                  if (!page) {
                      return false;
                  }
                  walk.Expect(!Shown(page, kHazardText), "warnings shown for plain values");
                  Type(page, kPrefixEdit, "dev");
                  Type(page, kDirectoryEdit, folder);
                  Press(PSBTN_NEXT);
                  return true;
              })
        .Then("the missing folder: created", Answer(IDYES))
        .Then("nothing more chosen; FTP not offered for USB", [&] {
            const HWND page = PageTitled("Tessaly Wizard - Installation Options");
            if (page) {
                walk.Expect(!Enabled(page, kFtpChoice), "FTP offered for a USB device");
                Click(page, kNothingChoice);
                Press(PSBTN_FINISH);
            }
            return page != nullptr;
        });
    RunWizard(walk);
    EXPECT_EQ(model_.device.InterfaceCount, 3);
    EXPECT_TRUE(SameBytes(ReadFileBytes(GoldenPath("wdm_compound.inf")),
                          ReadFileBytes(folder + "\\dev_WDM.inf")));
    EXPECT_EQ(testing::FolderNames(folder), std::vector<std::string>{"dev_WDM.inf"});
}

INT_PTR CALLBACK NoProcedure(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The resource script repeats the presenters' control numbers: each template has every control
// its presenter names, and names no other control from the presenters' range.
TEST(Templates, AgreeWithThePresentersControls) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&controls));
    std::map<int, std::set<int>> named;
    for (const DialogControl& c : NamedControls()) {
        named[c.dialog].insert(c.control);
    }
    named.erase(kDirectoryBrowserDialog);  // the shell's folder picker has no template of ours
    ASSERT_EQ(named.size(), 11u);
    // The pages are child windows: they need a parent.
    const HWND owner = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                         nullptr, nullptr);
    for (const auto& [dialog, ids] : named) {
        const HWND hwnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEA(dialog), owner, &NoProcedure, 0);
        ASSERT_NE(hwnd, nullptr) << "template " << dialog;
        for (const int id : ids) {
            EXPECT_NE(::GetDlgItem(hwnd, id), nullptr)
                << "template " << dialog << " lacks "
                << *ControlName(dialog, static_cast<ControlId>(id)) << " (" << id << ")";
        }
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const int id = ::GetDlgCtrlID(child);
            EXPECT_TRUE(id < 1000 || id >= 1900 || ids.count(id))
                << "template " << dialog << " has control " << id << " that no presenter names";
        }
        ::DestroyWindow(hwnd);
    }
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace tessaly
