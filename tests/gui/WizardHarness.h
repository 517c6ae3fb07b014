#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "app/GatherIntrInfo.h"
#include "resources/StringTable.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly::testing {

// A wizard sheet on a fake machine with '/' paths and a recording prompter, shown and active
// so focus changes reach the fields. The test main fails a test that leaves a window open.
struct WizardHarness : ::testing::Test {
    WizardHarness() : fake('/'), platform(fake.platform()) {
        fake.system.defaultOutputBase = "/vxipnp/";
        fake.system.windowsDirectory = "/windows";
        fake.files.AddDirectory("/vxipnp/winnt");
        fake.files.AddDirectory("/windows/inf");
    }

    void Open(PageId start = kPageWelcome) {
        sheet = std::make_unique<CGatherIntrInfo>(model, platform, prompter, detector, start);
        sheet->show();
        QApplication::setActiveWindow(sheet.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }
    PageId Page() const { return sheet->ActivePageId(); }

    template <typename T = QWidget>
    T* Find(const char* name) const {
        T* widget = sheet->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }

    void Click(const char* button) {
        auto* widget = Find<QAbstractButton>(button);
        ASSERT_TRUE(widget->isVisible()) << button << " is hidden";
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    void Next() { Click("nextButton"); }
    void Back() { Click("backButton"); }

    // Replaces a field's text by typing, as the user would.
    void Type(const char* field, const QString& text) {
        auto* edit = Find<QLineEdit>(field);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // Leaves a field the way a user does: Tab to the next control.
    void Leave(const char* field) { QTest::keyClick(Find(field), Qt::Key_Tab); }
    QString Text(const char* field) const { return Find<QLineEdit>(field)->text(); }

    // The wizard buttons shown, a disabled one in parentheses: "(back) next".
    std::string Shown() const {
        std::string shown;
        for (const std::string name : {"back", "next", "finish"}) {
            if (const auto* b = Find<QAbstractButton>((name + "Button").c_str()); b->isVisible()) {
                shown += b->isEnabled() ? " " + name : " (" + name + ")";
            }
        }
        return shown.substr(1);
    }

    FakePlatform fake;
    Platform platform;
    RecordingPrompter prompter;
    RealTimeProductDetector detector;
    WizardModel model;
    std::unique_ptr<CGatherIntrInfo> sheet;
};

}  // namespace tessaly::testing
