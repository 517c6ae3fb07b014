#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <memory>

#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/QtDialogs.h"
#include "gui/qt/WizardPage.h"
#include "platform/NativeSystem.h"
#include "platform/PackageCrypto.h"
#include "resources/StringTable.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingDialogs.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly::testing {

// Runs `act` on the modal dialog once it is up and active, from inside its event loop; `act`
// must close it.
template <typename Dialog = QDialog, typename Act>
void WhenModal(Act act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog && QTest::qWaitForWindowActive(dialog));
        act(dialog);
    });
}

// A wizard sheet on a fake machine with '/' paths, where the default output directory exists,
// with recorded messages and scripted dialogs (busy jobs run as the Qt view runs them); shown and
// active so focus changes reach the fields. The test main fails a test that leaves a window
// open.
struct WizardHarness : ::testing::Test {
    WizardHarness() : fake('/'), platform(fake.platform()), qtDialogs(fake.files) {
        dialogs.busy = &qtDialogs;
        fake.system.defaultOutputBase = "/vxipnp/";
        fake.system.windowsDirectory = "/windows";
        fake.files.AddDirectory("/vxipnp/winnt/prefix");
        fake.files.AddDirectory("/windows/inf");
    }

    void Open(PageId start = kPageWelcome) {
        sheet = std::make_unique<CGatherIntrInfo>(
            model, WizardServices{platform, prompter, dialogs, detector, true, &packages}, start);
        sheet->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }
    PageId Page() const { return sheet->ActivePageId(); }

    // The page on screen first: the two interrupt pages name their step controls alike.
    template <typename T = QWidget>
    T* Find(const char* name) const {
        T* found = sheet->ActivePage()->findChild<T*>(name);
        found = found ? found : sheet->findChild<T*>(name);
        EXPECT_TRUE(found) << "no control " << name;
        return found;
    }

    void Click(const char* button) {
        ASSERT_TRUE(Find<QAbstractButton>(button)->isVisible()) << button << " is hidden";
        QTest::mouseClick(Find(button), Qt::LeftButton);
    }
    void Next() { Click("nextButton"); }
    void Back() { Click("backButton"); }

    // Replaces a field's text by typing over all of it, as the user would.
    void Type(const char* field, const QString& text) {
        Find(field)->setFocus(Qt::MouseFocusReason);
        Find<QLineEdit>(field)->selectAll();
        QTest::keyClicks(Find(field), text);
    }
    QString Text(const char* field) const { return Find<QLineEdit>(field)->text(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    std::string Focused() const { return QApplication::focusWidget()->objectName().toStdString(); }
    void AddGolden(const char* name) {
        fake.files.AddFile(GoldenPath(name), ReadFileBytes(GoldenPath(name)));
    }

    // The wizard buttons shown, a disabled one in parentheses: "(back) next".
    std::string Shown() const {
        std::string shown;
        for (const std::string name : {"back", "next", "finish"}) {
            const auto* b = Find<QAbstractButton>((name + "Button").c_str());
            shown += !b->isVisible() ? "" : b->isEnabled() ? " " + name : " (" + name + ")";
        }
        return shown.substr(1);
    }

    FakePlatform fake;
    Platform platform;
    RecordingPrompter prompter;
    QtDialogs qtDialogs;
    RecordingDialogs dialogs;
    RealTimeProductDetector detector;
    std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
    PackageEnvironment packages{*crypto};
    WizardModel model;
    std::unique_ptr<CGatherIntrInfo> sheet;
};

}  // namespace tessaly::testing
