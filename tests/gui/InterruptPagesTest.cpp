#include <QComboBox>
#include <QTreeWidget>

#include "interrupts/StepStrings.h"
#include "tests/fakes/Golden.h"
#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

// What the step editor gives after OK (it always normalises), and the step texts they make.
const StepEditorFields kCompare8{"Read/Compare", "Byte (8-bit)", "BAR0",
                                 "0x00000010",   "0xFF",         "0x01"};
const StepEditorFields kReadC8{"Read", "Byte (8-bit)", "CFG", "0x000000C8", "0x00", "0x00"};
const StepEditorFields kWrite16{"Write", "Word (16-bit)", "BAR1", "0x00000004", "0x0000", "0x8000"};
constexpr const char* kCompare8Text = "C8 BAR0 0x00000010 0xFF 0x01;";
constexpr const char* kReadC8Text = "R8 CFG 0x000000C8;";
constexpr const char* kWrite16Text = "W16 BAR1 0x00000004 0x8000;";

struct InterruptPages : WizardHarness {
    InterruptPages() { model.device.GeneratesInterrupts = true; }

    QTreeWidget* List() const { return Find<QTreeWidget>("stepList"); }
    std::vector<InterruptStep> ShownRows() const {
        std::vector<InterruptStep> rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = List()->topLevelItem(i);
            const auto cell = [item](int c) { return item->text(c).toStdString(); };
            rows.push_back({cell(0), cell(1), cell(2), cell(3), cell(4), cell(5)});
        }
        return rows;
    }
    // The step string of the rows the page shows.
    std::string ShownSteps() const { return StepStringFromRows(ShownRows()); }
    std::string Offsets() const {
        std::string offsets;
        for (const InterruptStep& row : ShownRows()) {
            offsets += (offsets.empty() ? "" : " ") + row.Offset;
        }
        return offsets;
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            if (List()->topLevelItem(i)->isSelected()) {
                rows.push_back(i);
            }
        }
        return rows;
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTreeWidgetItem* item = List()->topLevelItem(row);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers,
                          List()->visualItemRect(item).center());
    }
    QComboBox* Sequences() const { return Find<QComboBox>("sequenceCombo"); }
    QStringList SequenceItems() const {
        QStringList items;
        for (int i = 0; i < Sequences()->count(); ++i) {
            items << Sequences()->itemText(i);
        }
        return items;
    }
    // Picks the sequence item with the arrow keys, as the user does on the closed list.
    void ChooseSequence(int index) {
        Sequences()->setFocus(Qt::TabFocusReason);
        while (Sequences()->currentIndex() != index) {
            const int before = Sequences()->currentIndex();
            QTest::keyClick(Sequences(), index > before ? Qt::Key_Down : Qt::Key_Up);
            ASSERT_NE(Sequences()->currentIndex(), before);
        }
    }
    bool Enabled(const char* control) const { return Find(control)->isEnabled(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // The steps of each detection sequence, in the order the files number them.
    std::vector<std::string> DetectSteps() const {
        std::vector<std::string> steps;
        for (const DetectSequence& sequence : model.device.DetectSequences) {
            steps.push_back(sequence.Steps);
        }
        return steps;
    }
};

// First visit: one empty sequence and Next unavailable; Next follows every sequence's Compare
// steps (a Read of 0xC8 is none), and the focus goes to "Add a step after" while it is missing.
TEST_F(InterruptPages, NextNeedsACompareStepInEverySequence) {
    prompter.stepEdits = {kReadC8, kCompare8, kWrite16};
    Open(kPageIsMine);
    EXPECT_EQ(SequenceItems(), QStringList{"Sequence 0"});
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    for (const char* off : {"removeSequenceButton", "editStepButton", "removeStepButton"}) {
        EXPECT_FALSE(Enabled(off)) << off;
    }
    EXPECT_EQ(Shown(), "back (next)");
    EXPECT_EQ(QApplication::focusWidget(), Find("addAfterButton"));
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {"addAfterButton", kReadC8Text, "back (next)"},
        {"addAfterButton", kCompare8Text, "back next"},
        {"addSequenceButton", "", "back (next)"},
        {"addBeforeButton", kWrite16Text, "back (next)"},
        {"removeSequenceButton", "", "back next"},
    };
    for (const auto& [button, text, buttons] : steps) {
        Click(button);
        EXPECT_EQ(Shown(), buttons) << button << " " << text;
    }
    EXPECT_EQ(model.device.DetectSequences,
              (std::vector<DetectSequence>{{0, std::string(kReadC8Text) + kCompare8Text, 2}}));
    EXPECT_EQ(ShownSteps(), model.device.DetectSequences[0].Steps);
    EXPECT_EQ(SequenceItems(), QStringList{"Sequence 0"});
    EXPECT_TRUE(Enabled("editStepButton"));
}

// Numbers are labels: removing Sequence 1 of 0, 1, 2 selects Sequence 0, and the next one added
// is Sequence 3.
TEST_F(InterruptPages, RemovedSequenceNumbersAreNotReused) {
    Open(kPageIsMine);
    Click("addSequenceButton");
    Click("addSequenceButton");
    ChooseSequence(1);
    Click("removeSequenceButton");
    EXPECT_EQ(SequenceItems(), (QStringList{"Sequence 0", "Sequence 2"}));
    EXPECT_EQ(Sequences()->currentText(), "Sequence 0");
    Click("addSequenceButton");
    EXPECT_EQ(SequenceItems(), (QStringList{"Sequence 0", "Sequence 2", "Sequence 3"}));
    EXPECT_EQ(Sequences()->currentText(), "Sequence 3");
    EXPECT_EQ(model.device.DetectSequences,
              (std::vector<DetectSequence>{{0, "", 0}, {2, "", 0}, {3, "", 0}}));
}

// A new step goes after or before the first selected row, else to the bottom or the top, in the
// list and in Steps alike; the selection stays. Cancel in the editor changes nothing.
TEST_F(InterruptPages, NewStepsGoWhereTheSelectionSays) {
    const std::tuple<std::vector<int>, const char*, const char*> cases[] = {
        {{1, 2}, "addAfterButton", "0xA 0xB 0x000000C8 0xC"},
        {{2, 1}, "addBeforeButton", "0xA 0x000000C8 0xB 0xC"},
        {{}, "addAfterButton", "0xA 0xB 0xC 0x000000C8"},
        {{}, "addBeforeButton", "0x000000C8 0xA 0xB 0xC"},
    };
    for (const auto& [select, button, offsets] : cases) {
        SCOPED_TRACE(offsets);
        model = WizardModel{};
        model.device.DetectSequences = {{0, "R8 CFG 0xA;C8 BAR0 0xB 0xFF 0x1;R8 CFG 0xC;", 3}};
        prompter.stepEdits = {std::nullopt, kReadC8};
        Open(kPageIsMine);
        for (std::size_t i = 0; i < select.size(); ++i) {
            ClickRow(select[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        }
        const std::vector<int> selected = SelectedRows();
        EXPECT_EQ(selected.size(), select.size());
        Click(button);  // cancelled
        EXPECT_EQ(Offsets(), "0xA 0xB 0xC");
        Click(button);
        EXPECT_EQ(Offsets(), offsets);
        EXPECT_EQ(model.device.DetectSequences[0].Steps, ShownSteps());
        EXPECT_EQ(model.device.DetectSequences[0].StepCount, 4);
        EXPECT_EQ(SelectedRows().size(), selected.size());
        EXPECT_EQ(prompter.stepEditors, std::vector<StepEditorFields>(2));  // a new step's texts
        prompter.stepEditors.clear();
    }
}

// Edit and Remove act on the first selected row and beep without one. Editing rewrites Steps
// from the rows (a loaded 0xA stays as it was); removing a step moves its sequence to the end
// of the list the files are numbered from.
TEST_F(InterruptPages, EditAndRemoveActOnTheFirstSelectedRow) {
    model.device.DetectSequences = {{0, "R8 CFG 0xA;C8 BAR0 0xB 0xFF 0x1;R8 CFG 0xC;", 3},
                                    {1, kCompare8Text, 1}};
    prompter.stepEdits = {std::nullopt, kCompare8};
    Open(kPageIsMine);
    Click("editStepButton");
    Click("removeStepButton");
    const QRect last = List()->visualItemRect(List()->topLevelItem(2));
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, last.center() + QPoint(0, 40));
    EXPECT_EQ(prompter.beeps, 2);
    EXPECT_TRUE(prompter.stepEditors.empty());
    ClickRow(2);
    ClickRow(1, Qt::ControlModifier);
    Click("editStepButton");  // cancelled
    EXPECT_EQ(Offsets(), "0xA 0xB 0xC");
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {},
                       List()->visualItemRect(List()->topLevelItem(1)).center());
    EXPECT_EQ(prompter.stepEditors,
              (std::vector<StepEditorFields>(
                  2, {"Read/Compare", "Byte (8-bit)", "BAR0", "0xB", "0xFF", "0x1"})));
    const std::string edited = std::string("R8 CFG 0xA;") + kCompare8Text + "R8 CFG 0xC;";
    EXPECT_EQ(DetectSteps(), (std::vector<std::string>{edited, kCompare8Text}));

    ClickRow(0);
    Click("removeStepButton");
    EXPECT_EQ(Offsets(), "0x00000010 0xC");
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});  // the new first row, focused
    EXPECT_EQ(QApplication::focusWidget(), List());
    EXPECT_EQ(DetectSteps(), (std::vector<std::string>{
                                 kCompare8Text, std::string(kCompare8Text) + "R8 CFG 0xC;"}));
    EXPECT_EQ(model.device.DetectSequences[1].StepCount, 2);
    Click("removeStepButton");
    Click("removeStepButton");
    EXPECT_FALSE(Enabled("editStepButton"));
    EXPECT_FALSE(Enabled("removeStepButton"));
    EXPECT_EQ(QApplication::focusWidget(), Find("addAfterButton"));
    EXPECT_EQ(SequenceItems(), (QStringList{"Sequence 0", "Sequence 1"}));
    EXPECT_EQ(Sequences()->currentText(), "Sequence 0");
    EXPECT_EQ(DetectSteps(), (std::vector<std::string>{kCompare8Text, ""}));
}

// F2 and Enter on the list edit, Delete removes, and Enter does not press Next. Alt+B adds a
// step before while the focus is in the page and goes Back from the sheet's buttons. Tab
// reaches every control in order.
TEST_F(InterruptPages, KeyboardDrivesTheStepList) {
    model.device.DetectSequences = {{0, std::string(kCompare8Text) + kReadC8Text, 2}};
    prompter.stepEdits = {kWrite16, std::nullopt, kReadC8};
    Open(kPageIsMine);
    EXPECT_EQ(Shown(), "back next");
    ClickRow(1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Return);
    EXPECT_EQ(prompter.stepEditors.size(), 2u);
    EXPECT_EQ(ShownSteps(), std::string(kCompare8Text) + kWrite16Text);
    EXPECT_EQ(Page(), kPageIsMine);
    Key(Qt::Key_Delete);
    EXPECT_EQ(ShownSteps(), kCompare8Text);
    EXPECT_EQ(model.device.DetectSequences[0].Steps, kCompare8Text);

    Key(Qt::Key_B, Qt::AltModifier);  // focus on the list
    EXPECT_TRUE(QTest::qWaitFor([this] { return prompter.stepEditors.size() == 3; }));
    EXPECT_EQ(ShownSteps(), std::string(kReadC8Text) + kCompare8Text);
    EXPECT_EQ(Page(), kPageIsMine);

    Sequences()->setFocus(Qt::TabFocusReason);
    std::vector<std::string> reached;
    for (int i = 0; i < 12; ++i) {
        reached.push_back(QApplication::focusWidget()->objectName().toStdString());
        Key(Qt::Key_Tab);
    }
    EXPECT_EQ(reached, (std::vector<std::string>{
                           "sequenceCombo", "addSequenceButton", "stepList", "addBeforeButton",
                           "addAfterButton", "editStepButton", "removeStepButton", "backButton",
                           "nextButton", "cancelButton", "helpButton", "sequenceCombo"}));
    Find("nextButton")->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page() == kPageWelcomePxi; }));
    EXPECT_EQ(prompter.stepEditors.size(), 3u);
}

// A mnemonic pressed in a field clicks its button and types nothing into the field.
TEST_F(InterruptPages, MnemonicsTypeNothingIntoTheFocusedField) {
    Open(kPageWelcomePxi);
    Type("manufNameEdit", "Acme");
    Key(Qt::Key_L, Qt::AltModifier);  // the page's "Load settings..."
    EXPECT_TRUE(QTest::qWaitFor([this] { return prompter.fileDialogs.size() == 1; }));
    Key(Qt::Key_N, Qt::AltModifier);  // the sheet's "Next >"
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page() == kPageIsMine; }));
    EXPECT_EQ(model.device.ManufName, "Acme");
}

// A file loaded after the page was visited replaces its lists at the next visit, also when it
// holds no interrupt steps; the removal page shows the loaded removal steps.
TEST_F(InterruptPages, ModuleFileLoadedAfterAVisitIsShownAtTheNext) {
    prompter.fileChoices = {GoldenPath("mdf_simple.ini"), GoldenPath("mdf_interrupts.ini")};
    for (const std::string& path :
         {GoldenPath("mdf_simple.ini"), GoldenPath("mdf_interrupts.ini")}) {
        fake.files.AddFile(path, testing::ReadFileBytes(path));
    }
    prompter.stepEdits = {kCompare8};
    Open(kPageWelcomePxi);
    Next();
    Click("addAfterButton");
    Back();
    Click("loadModuleFileButton");
    Click("generatesInterruptsCheck");  // the file says none
    Click("viewLoadedSettingsCheck");
    Next();
    EXPECT_EQ(SequenceItems(), QStringList{"Sequence 0"});
    EXPECT_EQ(ShownSteps(), "");
    EXPECT_EQ(Shown(), "back (next)");
    Back();
    Click("loadModuleFileButton");
    Next();
    ASSERT_EQ(Page(), kPageIsMine);
    EXPECT_EQ(SequenceItems(), (QStringList{"Sequence 0", "Sequence 1"}));
    EXPECT_EQ(ShownSteps(), "C16 BAR0 0x00000010 0xFFFF 0x0001;");
    ChooseSequence(1);
    EXPECT_EQ(ShownSteps(), "R8 CFG 0x00000004;C32 BAR1 0x00000100 0x80000000 0x80000000;");
    EXPECT_TRUE(Enabled("removeSequenceButton"));
    EXPECT_EQ(Shown(), "back next");
    Next();
    EXPECT_EQ(ShownSteps(), "W32 BAR1 0x00000100 0x00000001;");
    EXPECT_TRUE(Enabled("editStepButton"));
}

// The rows are a working copy that Next commits. Back keeps them, until a committed
// RemovalSteps replaces them at the next activation. Removing the last row leaves nothing to
// edit, and Enter on the list is Next again.
TEST_F(InterruptPages, RemovalStepsAreCommittedByNextOnly) {
    model.device.DetectSequences = {{0, kCompare8Text, 1}};
    prompter.stepEdits = {kReadC8, kWrite16};
    Open(kPageSquelch);
    EXPECT_EQ(Shown(), "back next");
    Click("addAfterButton");
    Back();
    Next();
    EXPECT_EQ(ShownSteps(), kReadC8Text);  // nothing committed yet: the row stays
    EXPECT_EQ(model.device.RemovalSteps, "");
    Next();
    EXPECT_EQ(model.device.RemovalSteps, kReadC8Text);
    Back();
    Click("addAfterButton");
    EXPECT_EQ(ShownSteps(), std::string(kReadC8Text) + kWrite16Text);
    Back();
    EXPECT_EQ(model.device.RemovalSteps, kReadC8Text);
    Next();
    EXPECT_EQ(ShownSteps(), kReadC8Text);  // the uncommitted Write is gone
    ClickRow(0);
    Click("removeStepButton");
    EXPECT_FALSE(Enabled("removeStepButton"));
    EXPECT_EQ(QApplication::focusWidget(), Find("addAfterButton"));
    List()->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Return);  // with no step to edit, Enter is Next
    EXPECT_EQ(Page(), kPageFinal);
    EXPECT_EQ(model.device.RemovalSteps, "");
}

// A loaded removal string may separate its tokens with tabs; Next stores spaces.
TEST_F(InterruptPages, LoadedRemovalStepsMayUseTabs) {
    model.device.RemovalSteps = "R8\tCFG\t0x00000004;W8 BAR0\t0x10 0x01;";
    Open(kPageSquelch);
    EXPECT_EQ(Offsets(), "0x00000004 0x10");
    Next();
    EXPECT_EQ(model.device.RemovalSteps, "R8 CFG 0x00000004;W8 BAR0 0x10 0x01;");
}

}  // namespace
}  // namespace tessaly::testing
