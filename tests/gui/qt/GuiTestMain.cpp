#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>

namespace {

// Every test must close and destroy the windows it opened.
class NoWindowLeft final : public ::testing::EmptyTestEventListener {
public:
    bool windowsLeft = false;

    void OnTestEnd(const ::testing::TestInfo& test) override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QWidgetList left = QApplication::topLevelWidgets();
        if (!left.isEmpty()) {
            windowsLeft = true;
            std::fprintf(stderr, "%s.%s left %d top-level window(s), first %s\n",
                         test.test_suite_name(), test.name(), static_cast<int>(left.size()),
                         qPrintable(left.front()->objectName()));
        }
    }
};

}  // namespace

// Widgets need the application object for the whole run; gtest_main cannot give it.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    auto* check = new NoWindowLeft;  // owned by the listener list
    ::testing::UnitTest::GetInstance()->listeners().Append(check);
    const int failed = RUN_ALL_TESTS();
    return failed != 0 || check->windowsLeft ? 1 : 0;
}
