#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>

#include "actions/InfInstaller.h"
#include "app/GatherIntrInfo.h"
#include "app/WizardModel.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly::testing {

// A wizard sheet on a fake machine with '/' paths and a recording prompter, shown and active
// so focus changes reach the fields.
class WizardHarness : public ::testing::Test {
public:
    WizardHarness() : fake('/'), platform(fake.platform()) {
        fake.system.defaultOutputBase = "/vxipnp/";
        fake.system.windowsDirectory = "/windows";
        fake.files.AddDirectory("/vxipnp/winnt");
        fake.files.AddDirectory("/windows/inf");
    }

    void TearDown() override {
        sheet.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window outlived its test";
    }

    void Open(PageId start = kPageWelcome) {
        sheet = std::make_unique<CGatherIntrInfo>(model, platform, prompter, detector, start);
        sheet->show();
        QApplication::setActiveWindow(sheet.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }

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
    void Finish() { Click("finishButton"); }

    // Replaces a field's text by typing, as the user would.
    void Type(const char* field, const QString& text) {
        auto* edit = Find<QLineEdit>(field);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    QString Text(const char* field) const { return Find<QLineEdit>(field)->text(); }

    // What the buttons show: which are visible and enabled.
    struct Buttons {
        bool back;
        bool next;    // visible and enabled
        bool finish;  // visible and enabled
        bool finishShown;
        friend bool operator==(const Buttons&, const Buttons&) = default;
        friend std::ostream& operator<<(std::ostream& out, const Buttons& b) {
            return out << "back=" << b.back << " next=" << b.next << " finish=" << b.finish
                       << " finishShown=" << b.finishShown;
        }
    };
    Buttons Shown() const {
        auto* next = Find<QAbstractButton>("nextButton");
        auto* finish = Find<QAbstractButton>("finishButton");
        return {Find<QAbstractButton>("backButton")->isEnabled(),
                next->isVisible() && next->isEnabled(), finish->isVisible() && finish->isEnabled(),
                finish->isVisible()};
    }

    FakePlatform fake;
    Platform platform;
    RecordingPrompter prompter;
    RealTimeProductDetector detector;
    WizardModel model;
    std::unique_ptr<CGatherIntrInfo> sheet;
};

}  // namespace tessaly::testing
