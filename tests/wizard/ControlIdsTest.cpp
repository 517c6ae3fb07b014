#include <gtest/gtest.h>

#include "tests/fakes/Golden.h"
#include "wizard/ControlIds.h"
#include "wizard/PageFlow.h"

namespace tessaly {
namespace {

// Both views find a control's help by its name in its dialog's help page: every control a
// presenter names has its section there, save labels (which take their field's) and static texts.
TEST(ControlIdsTest, EveryNamedControlHasItsHelpSection) {
    std::vector<int> dialogs(std::begin(kPageOrder), std::end(kPageOrder));
    dialogs.insert(dialogs.end(), {kStepEditorDialog, kFunctionSelectDialog, kAttachedDeviceDialog,
                                   kDirectoryBrowserDialog});
    int named = 0;
    for (const int dialog : dialogs) {
        const std::string page(HelpPageOf(dialog));
        const std::string html = testing::ReadFileBytes(TESSALY_HELP_DIR "/" + page);
        ASSERT_FALSE(html.empty()) << page;
        for (int id = 0; id < 2000; ++id) {
            const auto name = ControlName(dialog, static_cast<ControlId>(id));
            if (!name) {
                continue;
            }
            ++named;
            EXPECT_EQ(ControlNamed(dialog, *name), static_cast<ControlId>(id)) << *name;
            const bool mayGoWithout = name->ends_with("Label") || name->ends_with("Text");
            EXPECT_TRUE(mayGoWithout ||
                        html.find("name=\"" + std::string(*name) + "\"") != std::string::npos)
                << page << " has no section for " << *name;
        }
    }
    EXPECT_GT(named, 60);
}

}  // namespace
}  // namespace tessaly
