#include "interrupts/StepStrings.h"
#include "tests/wizard/SheetHarness.h"
#include "wizard/interrupts/StepEditorPresenter.h"

namespace tessaly::testing {
namespace {

// What the step editor gives after OK, and the step texts they make.
const StepEditorFields kCompare8{"Read/Compare", "Byte (8-bit)", "BAR0",
                                 "0x00000010",   "0xFF",         "0x01"};
const StepEditorFields kReadC8{"Read", "Byte (8-bit)", "CFG", "0x000000C8", "0x00", "0x00"};
const StepEditorFields kWrite16{"Write", "Word (16-bit)", "BAR1", "0x00000004", "0x0000", "0x8000"};
constexpr const char* kCompare8Text = "C8 BAR0 0x00000010 0xFF 0x01;";
constexpr const char* kReadC8Text = "R8 CFG 0x000000C8;";
constexpr const char* kWrite16Text = "W16 BAR1 0x00000004 0x8000;";
constexpr const char* kThreeSteps = "R8 CFG 0xA;C8 BAR0 0xB 0xFF 0x1;R8 CFG 0xC;";

struct StepPages : SheetHarness {
    StepPages() { model.device.GeneratesInterrupts = true; }

    // The step texts the list shows, as one string.
    std::string ShownSteps() {
        std::vector<InterruptStep> rows;
        for (const auto& c : View()[kStepList].rows) {
            rows.push_back({c[0], c[1], c[2], c[3], c[4], c[5]});
        }
        return StepStringFromRows(rows);
    }
    std::string Offsets() {
        std::string offsets;
        for (const auto& cells : View()[kStepList].rows) {
            offsets += (offsets.empty() ? "" : " ") + cells[3];
        }
        return offsets;
    }
    bool Key(RowKey key) { return Presenter().OnRowKey(kStepList, key); }
};

// Next follows every sequence's Compare steps (a Read is none), the focus waits on "Add a step
// after" while one is missing, and removed sequence numbers are not given again.
TEST_F(StepPages, NextNeedsACompareStepInEverySequence) {
    dialogs.stepEdits = {kReadC8, kCompare8};
    Open(kPageIsMine);
    EXPECT_EQ(View()[kSequenceCombo].items, std::vector<std::string>{"Sequence 0"});
    for (const ControlId off : {kRemoveSequenceButton, kEditStepButton, kRemoveStepButton}) {
        EXPECT_FALSE(Enabled(off)) << off;
    }
    const std::pair<ControlId, const char*> steps[] = {
        {kAddAfterButton, "back (next)"},
        {kAddAfterButton, "back next"},
        {kAddSequenceButton, "back (next)"},
        {kAddSequenceButton, "back (next)"},
    };
    for (const auto& [button, buttons] : steps) {
        Click(button);
        EXPECT_EQ(Shown(), buttons) << button;
        if (Shown() == "back (next)") {
            EXPECT_EQ(View().focus, kAddAfterButton);
        }
    }
    Presenter().OnItemChosen(kSequenceCombo, 1);
    Click(kRemoveSequenceButton);
    EXPECT_EQ(View()[kSequenceCombo].current, 0);
    Click(kAddSequenceButton);
    EXPECT_EQ(View()[kSequenceCombo].items,
              (std::vector<std::string>{"Sequence 0", "Sequence 2", "Sequence 3"}));
    EXPECT_EQ(View()[kSequenceCombo].current, 2);
    EXPECT_EQ(model.device.DetectSequences,
              (std::vector<DetectSequence>{
                  {0, std::string(kReadC8Text) + kCompare8Text, 2}, {2, "", 0}, {3, "", 0}}));
}

// A new step goes after or before the first selected row, else to the bottom or the top, in the
// list and in the model alike; the selection stays on its rows.
TEST_F(StepPages, NewStepsGoWhereTheSelectionSays) {
    const std::tuple<std::set<std::size_t>, ControlId, const char*, std::set<std::size_t>> cases[] =
        {
            {{1, 2}, kAddAfterButton, "0xA 0xB 0x000000C8 0xC", {1, 3}},
            {{1, 2}, kAddBeforeButton, "0xA 0x000000C8 0xB 0xC", {2, 3}},
            {{}, kAddAfterButton, "0xA 0xB 0xC 0x000000C8", {}},
            {{}, kAddBeforeButton, "0x000000C8 0xA 0xB 0xC", {}},
        };
    for (const auto& [select, button, offsets, selected] : cases) {
        model = WizardModel{};
        model.device.DetectSequences = {{0, kThreeSteps, 3}};
        dialogs.stepEdits = {kReadC8};
        Open(kPageIsMine);
        Select(select);
        Click(button);
        EXPECT_EQ(Offsets(), offsets);
        EXPECT_EQ(model.device.DetectSequences[0].Steps, ShownSteps());
        EXPECT_EQ(View()[kStepList].selected, selected);
    }
}

// Edit and Remove act on the first selected row and beep without one; a double click on a row
// edits, one elsewhere does nothing; a cancelled edit changes nothing. Removing the first row
// selects the new first one and focuses the list, removing the last leaves nothing to edit. A
// removed step's sequence moves to the end.
TEST_F(StepPages, EditAndRemoveActOnTheFirstSelectedRow) {
    model.device.DetectSequences = {{0, kThreeSteps, 3}, {1, kCompare8Text, 1}};
    dialogs.stepEdits = {std::nullopt, kCompare8};
    Open(kPageIsMine);
    Click(kEditStepButton);
    Click(kRemoveStepButton);
    Presenter().OnRowActivated(kStepList, 0);
    EXPECT_EQ(View().beeps, 2);
    Select({2, 1});
    Click(kEditStepButton);  // cancelled
    EXPECT_EQ(ShownSteps(), kThreeSteps);
    Presenter().OnRowActivated(kStepList, 1);
    EXPECT_EQ(dialogs.stepEditors[1],
              (StepEditorFields{"Read/Compare", "Byte (8-bit)", "BAR0", "0xB", "0xFF", "0x1"}));
    EXPECT_EQ(Offsets(), "0xA 0x00000010 0xC");

    Select({0});
    Click(kRemoveStepButton);
    EXPECT_EQ(Offsets(), "0x00000010 0xC");
    EXPECT_EQ(View()[kStepList].selected, std::set<std::size_t>{0});
    EXPECT_EQ(View().focus, kStepList);
    EXPECT_EQ(model.device.DetectSequences[0].Steps, kCompare8Text);  // moved to the end
    EXPECT_TRUE(Key(RowKey::Remove));
    Click(kRemoveStepButton);
    EXPECT_FALSE(Enabled(kEditStepButton) || Enabled(kRemoveStepButton));
    EXPECT_EQ(View().focus, kAddAfterButton);
    EXPECT_FALSE(Key(RowKey::Enter));  // nothing to edit: Enter is the sheet's
}

// The keys act on the list as the buttons do: F2 and Enter edit, Delete removes.
TEST_F(StepPages, KeysOfTheListActAsTheButtons) {
    model.device.DetectSequences = {{0, std::string(kCompare8Text) + kReadC8Text, 2}};
    dialogs.stepEdits = {kWrite16, std::nullopt};
    Open(kPageIsMine);
    Select({1});
    EXPECT_TRUE(Key(RowKey::Edit));
    EXPECT_TRUE(Key(RowKey::Enter));
    EXPECT_EQ(dialogs.stepEditors.size(), 2u);
    EXPECT_EQ(ShownSteps(), std::string(kCompare8Text) + kWrite16Text);
    EXPECT_TRUE(Key(RowKey::Remove));
    EXPECT_EQ(model.device.DetectSequences[0].Steps, kCompare8Text);
}

// The removal rows are a working copy that Next commits. Back keeps them while nothing is
// committed; once a value is committed (or loaded), the next activation shows it in place of
// rows left by Back. A string without ";" shows no row yet offers Edit and Remove, which beep.
TEST_F(StepPages, RemovalStepsAreCommittedByNextOnly) {
    model.device.DetectSequences = {{0, kCompare8Text, 1}};
    dialogs.stepEdits = {kReadC8, kWrite16};
    Open(kPageSquelch);
    Click(kAddAfterButton);
    Back();
    Next();
    EXPECT_EQ(ShownSteps(), kReadC8Text);  // nothing committed: the row stays
    Next();
    Back();
    Click(kAddAfterButton);
    Back();
    EXPECT_EQ(model.device.RemovalSteps, kReadC8Text);
    Next();
    EXPECT_EQ(ShownSteps(), kReadC8Text);  // the uncommitted Write is gone
    Select({0});
    Click(kRemoveStepButton);
    Next();
    EXPECT_EQ(model.device.RemovalSteps, "");

    model.device.RemovalSteps = "R8\tCFG\t0x4";
    Back();
    EXPECT_TRUE(View()[kStepList].rows.empty());
    EXPECT_TRUE(Enabled(kEditStepButton) && Enabled(kRemoveStepButton));
    Click(kEditStepButton);
    EXPECT_EQ(View().beeps, 1);
}

// The step editor: (opening texts, what the user does) -> (the six controls shown, a disabled
// box in parentheses; the texts OK gives).
TEST(StepEditorPresenterTest, WidthNormalisesAndTypeEnables) {
    using Action = std::tuple<ControlId, const char*, int>;  // a text typed or an entry picked
    struct Row {
        const char* what;
        StepEditorFields opening;
        std::vector<Action> actions;
        const char* shown;
        StepEditorFields result;
    };
    const Row rows[] = {
        {"a new step",
         {},
         {},
         "Read/Compare|Word (16-bit)|CFG|0x00000000|0x0000|0x0000|",
         {"Read/Compare", "Word (16-bit)", "CFG", "0x00000000", "0x0000", "0x0000"}},
        {"narrowing cuts at once, widening does not restore",
         {},
         {{kValueEdit, "0x1FF", 0},
          {kMaskEdit, "0x1234", 0},
          {kWidthCombo, "", 0},
          {kWidthCombo, "", 1}},
         "Read/Compare|Word (16-bit)|CFG|0x00000000|0x0034|0x00FF|",
         {"Read/Compare", "Word (16-bit)", "CFG", "0x00000000", "0x0034", "0x00FF"}},
        {"the type enables only; OK normalises",
         {},
         {{kValueEdit, "256", 0}, {kOffsetEdit, "010", 0}, {kAccessCombo, "", 2}},
         "Write|Word (16-bit)|CFG|010|(0x0000)|256|",
         {"Write", "Word (16-bit)", "CFG", "0x00000008", "0x0000", "0x0100"}},
        {"a list takes its entry's text when left; a text no entry begins is empty",
         {"read", "Byte (8-bit)", "BAR9", "4", "0", "0"},
         {{kAccessCombo, nullptr, 0}},
         "Read|Byte (8-bit)||0x00000004|(0x00)|(0x00)|",
         {"Read", "Byte (8-bit)", "", "0x00000004", "0x00", "0x00"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeControlView view;
        StepEditorPresenter editor(row.opening);
        editor.Attach(view);
        for (const auto& [control, text, entry] : row.actions) {
            if (!text) {
                editor.OnFocusLeft(control);
            } else if (control == kOffsetEdit || control == kMaskEdit || control == kValueEdit) {
                view[control].text = text;
                editor.OnTextChanged(control, text);
            } else {
                view[control].current = entry;
                editor.OnItemChosen(control, entry);
            }
        }
        std::string shown;
        for (const ControlId list : {kAccessCombo, kWidthCombo, kSpaceCombo}) {
            const int i = view[list].current;
            shown += (i < 0 ? "" : view[list].items[static_cast<std::size_t>(i)]) + "|";
        }
        for (const ControlId box : {kOffsetEdit, kMaskEdit, kValueEdit}) {
            shown += view[box].enabled ? view[box].text + "|" : "(" + view[box].text + ")|";
        }
        EXPECT_EQ(shown, row.shown);
        editor.OnClicked(kOkButton);
        EXPECT_EQ(view.closed, true);
        EXPECT_EQ(editor.fields(), row.result);
    }
}

}  // namespace
}  // namespace tessaly::testing
