#include <QComboBox>

#include "gui/qt/interrupts/StepEditorDialog.h"
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// The editor shown on its own, as the prompter would show it, and driven by keys.
struct StepEditor : ::testing::Test {
    void Open(const StepEditorFields& fields = {}) {
        dialog = std::make_unique<CStepEditorDialog>(fields);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <typename T = QWidget>
    T* Find(const char* name) const {
        EXPECT_TRUE(dialog->findChild<T*>(name)) << "no control " << name;
        return dialog->findChild<T*>(name);
    }
    // The six controls as the user sees them; a disabled box in parentheses.
    std::string Shown() const {
        std::string shown;
        for (const char* list : {"accessCombo", "widthCombo", "spaceCombo"}) {
            shown += Find<QComboBox>(list)->currentText().toStdString() + "|";
        }
        for (const char* edit : {"offsetEdit", "maskEdit", "valueEdit"}) {
            const auto* box = Find<QLineEdit>(edit);
            const std::string text = box->text().toStdString();
            shown += (box->isEnabled() ? text : "(" + text + ")") + "|";
        }
        return shown;
    }
    // Picks a list entry with the arrow keys on the closed list; neighbouring entries only, so
    // no other entry is picked on the way.
    void Pick(const char* list, int index) {
        auto* combo = Find<QComboBox>(list);
        combo->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(std::abs(index - combo->currentIndex()), 1);
        QTest::keyClick(combo, index > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    }
    void Type(const char* edit, const QString& text) {
        Find(edit)->setFocus(Qt::TabFocusReason);
        Find<QLineEdit>(edit)->selectAll();
        QTest::keyClicks(Find(edit), text);
    }

    std::unique_ptr<CStepEditorDialog> dialog;
};

// Choosing a narrower width cuts the numbers shown at once; widening does not restore them.
// Leaving a list applies its rule too, for a choice that came without a pick.
TEST_F(StepEditor, WidthCutsAtOnceAndTypeOnlyEnables) {
    Open();
    Type("valueEdit", "0x1FF");
    Type("maskEdit", "0x1234");
    Pick("widthCombo", 0);
    EXPECT_EQ(Shown(), "Read/Compare|Byte (8-bit)|CFG|0x00000000|0x34|0xFF|");
    Pick("widthCombo", 1);
    EXPECT_EQ(Shown(), "Read/Compare|Word (16-bit)|CFG|0x00000000|0x0034|0x00FF|");
    Type("valueEdit", "7");
    Pick("accessCombo", 2);  // enabling only: the value stays as typed
    EXPECT_EQ(Shown(), "Write|Word (16-bit)|CFG|0x00000000|(0x0034)|7|");
    Find<QComboBox>("accessCombo")->setCurrentIndex(0);  // Read, without a pick
    Find<QComboBox>("widthCombo")->setCurrentIndex(2);
    QTest::keyClick(Find("accessCombo"), Qt::Key_Tab);  // on to the width list
    QTest::keyClick(Find("widthCombo"), Qt::Key_Tab);
    EXPECT_EQ(Shown(), "Read|Long (32-bit)|CFG|0x00000000|(0x00000034)|(0x00000007)|");
}

// Every control answers its mnemonic; Escape cancels.
TEST_F(StepEditor, KeyboardReachesEveryControl) {
    Open();
    using Case = std::pair<Qt::Key, const char*>;
    for (const auto& [key, control] :
         {Case{Qt::Key_T, "accessCombo"}, Case{Qt::Key_W, "widthCombo"},
          Case{Qt::Key_A, "spaceCombo"}, Case{Qt::Key_F, "offsetEdit"}, Case{Qt::Key_M, "maskEdit"},
          Case{Qt::Key_V, "valueEdit"}}) {
        QTest::keyClick(dialog.get(), key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), Find(control)) << control;
    }
    QTest::keyClick(Find("offsetEdit"), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace tessaly::testing
