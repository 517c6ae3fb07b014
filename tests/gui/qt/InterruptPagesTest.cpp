#include <QComboBox>
#include <QTreeWidget>

#include "interrupts/StepStrings.h"
#include "tests/gui/qt/WizardHarness.h"

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

struct InterruptPages : WizardHarness {
    InterruptPages() { model.device.GeneratesInterrupts = true; }

    QTreeWidget* List() const { return Find<QTreeWidget>("stepList"); }
    std::vector<InterruptStep> Rows() const {
        std::vector<InterruptStep> rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const auto cell = [item = List()->topLevelItem(i)](int c) {
                return item->text(c).toStdString();
            };
            rows.push_back({cell(0), cell(1), cell(2), cell(3), cell(4), cell(5)});
        }
        return rows;
    }
    std::string ShownSteps() const { return StepStringFromRows(Rows()); }
    std::string Offsets() const {
        std::string offsets;
        for (const InterruptStep& row : Rows()) {
            offsets += (offsets.empty() ? "" : " ") + row.Offset;
        }
        return offsets;
    }
    std::size_t Selected() const { return List()->selectedItems().size(); }
    QPoint RowCentre(int row) const {
        return List()->visualItemRect(List()->topLevelItem(row)).center();
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers, RowCentre(row));
    }
    QComboBox* Sequences() const { return Find<QComboBox>("sequenceCombo"); }
    QStringList SequenceItems() const {
        QStringList items;
        for (int i = 0; i < Sequences()->count(); ++i) {
            items << Sequences()->itemText(i);
        }
        return items;
    }
    // Picks the sequence with the arrow keys, as the user does on the closed list.
    void ChooseSequence(int index) {
        Sequences()->setFocus(Qt::TabFocusReason);
        while (Sequences()->currentIndex() != index) {
            const int before = Sequences()->currentIndex();
            Key(index > before ? Qt::Key_Down : Qt::Key_Up);
            ASSERT_NE(Sequences()->currentIndex(), before);
        }
    }
    bool Enabled(const char* control) const { return Find(control)->isEnabled(); }
};

// Next follows every sequence's Compare steps (a Read is none), the focus waits on "Add a step
// after" while one is missing, and removed sequence numbers are not given again.
TEST_F(InterruptPages, NextNeedsACompareStepInEverySequence) {
    prompter.stepEdits = {kReadC8, kCompare8};
    Open(kPageIsMine);
    EXPECT_EQ(SequenceItems(), QStringList{"Sequence 0"});
    for (const char* off : {"removeSequenceButton", "editStepButton", "removeStepButton"}) {
        EXPECT_FALSE(Enabled(off)) << off;
    }
    EXPECT_EQ(Focused(), "addAfterButton");
    const std::pair<const char*, const char*> steps[] = {
        {"addAfterButton", "back (next)"},
        {"addAfterButton", "back next"},
        {"addSequenceButton", "back (next)"},
        {"addSequenceButton", "back (next)"},
    };
    for (const auto& [button, buttons] : steps) {
        Click(button);
        EXPECT_EQ(Shown(), buttons) << button;
    }
    ChooseSequence(1);
    Click("removeSequenceButton");
    EXPECT_EQ(Sequences()->currentText(), "Sequence 0");
    Click("addSequenceButton");
    EXPECT_EQ(SequenceItems(), (QStringList{"Sequence 0", "Sequence 2", "Sequence 3"}));
    EXPECT_EQ(model.device.DetectSequences,
              (std::vector<DetectSequence>{
                  {0, std::string(kReadC8Text) + kCompare8Text, 2}, {2, "", 0}, {3, "", 0}}));
}

// A new step goes after or before the first selected row, else to the bottom or the top, in the
// list and in the model alike; the selection stays.
TEST_F(InterruptPages, NewStepsGoWhereTheSelectionSays) {
    const std::tuple<std::vector<int>, const char*, const char*> cases[] = {
        {{1, 2}, "addAfterButton", "0xA 0xB 0x000000C8 0xC"},
        {{2, 1}, "addBeforeButton", "0xA 0x000000C8 0xB 0xC"},
        {{}, "addAfterButton", "0xA 0xB 0xC 0x000000C8"},
        {{}, "addBeforeButton", "0x000000C8 0xA 0xB 0xC"},
    };
    for (const auto& [select, button, offsets] : cases) {
        model = WizardModel{};
        model.device.DetectSequences = {{0, kThreeSteps, 3}};
        prompter.stepEdits = {kReadC8};
        Open(kPageIsMine);
        for (std::size_t i = 0; i < select.size(); ++i) {
            ClickRow(select[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        }
        Click(button);
        EXPECT_EQ(Offsets(), offsets);
        EXPECT_EQ(model.device.DetectSequences[0].Steps, ShownSteps());
        EXPECT_EQ(Selected(), select.size());
    }
}

// Edit and Remove act on the first selected row and beep without one; a cancelled edit changes
// nothing. Removing the first row selects the new one; removing the last leaves nothing to edit.
TEST_F(InterruptPages, EditAndRemoveActOnTheFirstSelectedRow) {
    model.device.DetectSequences = {{0, kThreeSteps, 3}, {1, kCompare8Text, 1}};
    prompter.stepEdits = {std::nullopt, kCompare8};
    Open(kPageIsMine);
    Click("editStepButton");
    Click("removeStepButton");
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(2) + QPoint(0, 40));
    EXPECT_EQ(prompter.beeps, 2);  // not for the empty area
    ClickRow(2);
    ClickRow(1, Qt::ControlModifier);
    Click("editStepButton");  // cancelled
    EXPECT_EQ(ShownSteps(), kThreeSteps);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    EXPECT_EQ(prompter.stepEditors[1],
              (StepEditorFields{"Read/Compare", "Byte (8-bit)", "BAR0", "0xB", "0xFF", "0x1"}));
    EXPECT_EQ(Offsets(), "0xA 0x00000010 0xC");

    ClickRow(0);
    Click("removeStepButton");
    EXPECT_EQ(Offsets(), "0x00000010 0xC");
    EXPECT_TRUE(List()->topLevelItem(0)->isSelected());
    EXPECT_EQ(QApplication::focusWidget(), List());
    EXPECT_EQ(model.device.DetectSequences[0].Steps, kCompare8Text);  // moved to the end
    Click("removeStepButton");
    Click("removeStepButton");
    EXPECT_FALSE(Enabled("editStepButton"));
    EXPECT_FALSE(Enabled("removeStepButton"));
    EXPECT_EQ(Focused(), "addAfterButton");
}

// F2 and Enter on the list edit, Delete removes, and Enter does not press Next. Alt+B adds a
// step before while the focus is in the page and goes Back from the sheet's buttons.
TEST_F(InterruptPages, KeyboardDrivesTheStepList) {
    model.device.DetectSequences = {{0, std::string(kCompare8Text) + kReadC8Text, 2}};
    prompter.stepEdits = {kWrite16, std::nullopt, kReadC8};
    Open(kPageIsMine);
    ClickRow(1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Return);
    EXPECT_EQ(prompter.stepEditors.size(), 2u);
    EXPECT_EQ(ShownSteps(), std::string(kCompare8Text) + kWrite16Text);
    Key(Qt::Key_Delete);
    EXPECT_EQ(model.device.DetectSequences[0].Steps, kCompare8Text);

    Key(Qt::Key_B, Qt::AltModifier);  // focus on the list
    EXPECT_TRUE(QTest::qWaitFor([this] { return prompter.stepEditors.size() == 3; }));
    EXPECT_EQ(ShownSteps(), std::string(kReadC8Text) + kCompare8Text);
    EXPECT_EQ(Page(), kPageIsMine);

    Find("nextButton")->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page() == kPageWelcomePxi; }));
}

// A file loaded after the page was visited replaces its lists at the next visit, also when it
// holds no interrupt steps; the removal page shows the loaded removal steps.
TEST_F(InterruptPages, ModuleFileLoadedAfterAVisitIsShownAtTheNext) {
    prompter.fileChoices = {GoldenPath("mdf_simple.ini"), GoldenPath("mdf_interrupts.ini")};
    AddGolden("mdf_simple.ini");
    AddGolden("mdf_interrupts.ini");
    prompter.stepEdits = {kCompare8};
    Open(kPageWelcomePxi);
    Next();
    Click("addAfterButton");
    for (const bool interrupts : {false, true}) {
        Back();
        Click("loadModuleFileButton");
        if (!interrupts) {
            Click("generatesInterruptsCheck");  // the file says none
            Click("viewLoadedSettingsCheck");
        }
        Next();
        ASSERT_EQ(Page(), kPageIsMine);
        EXPECT_EQ(Sequences()->count(), interrupts ? 2 : 1);
        EXPECT_EQ(ShownSteps(), interrupts ? "C16 BAR0 0x00000010 0xFFFF 0x0001;" : "");
    }
    Next();
    EXPECT_EQ(ShownSteps(), "W32 BAR1 0x00000100 0x00000001;");
}

// The removal rows are a working copy that Next commits; Back keeps them until a committed
// value replaces them at the next activation. With no row, Enter on the list is Next.
TEST_F(InterruptPages, RemovalStepsAreCommittedByNextOnly) {
    model.device.DetectSequences = {{0, kCompare8Text, 1}};
    prompter.stepEdits = {kReadC8, kWrite16};
    Open(kPageSquelch);
    Click("addAfterButton");
    Back();
    Next();
    EXPECT_EQ(ShownSteps(), kReadC8Text);  // nothing committed: the row stays
    Next();
    Back();
    Click("addAfterButton");
    Back();
    EXPECT_EQ(model.device.RemovalSteps, kReadC8Text);
    Next();
    EXPECT_EQ(ShownSteps(), kReadC8Text);  // the uncommitted Write is gone
    ClickRow(0);
    Click("removeStepButton");
    EXPECT_FALSE(Enabled("removeStepButton"));
    List()->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Return);
    EXPECT_EQ(Page(), kPageFinal);
    EXPECT_EQ(model.device.RemovalSteps, "");
}

}  // namespace
}  // namespace tessaly::testing
