#include <gtest/gtest.h>

#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/SampleDeviceTable.h"
#include "tests/wizard/FakeViews.h"
#include "wizard/PageIds.h"
#include "wizard/discovery/AttachedDevicePresenter.h"
#include "wizard/modulefile/FunctionSelectPresenter.h"
#include "wizard/output/DirectoryBrowserPresenter.h"

namespace tessaly::testing {
namespace {

// (table, filter, "Show all devices") -> (the rows listed, the one chosen, what the list's place
// says when it is empty, whether OK is offered).
TEST(AttachedDevicePresenterTest, FilterKeepsRowsWithEveryWordAndSaysWhyNoneIsLeft) {
    DeviceTable onlyHidden = SampleDeviceTable();
    onlyHidden.rows.resize(1);
    DeviceTable none = SampleDeviceTable();
    none.rows.clear();
    const std::tuple<DeviceTable, const char*, bool, std::size_t, std::optional<std::size_t>,
                     const char*>
        rows[] = {
            {SampleDeviceTable(), "", false, 3, 1, ""},
            {SampleDeviceTable(), "plx 0B", false, 1, 3, ""},
            {SampleDeviceTable(), "  intel  ", true, 2, 0, ""},
            {SampleDeviceTable(), "8086:1237", false, 0, std::nullopt,
             "No device matches the filter."},
            {none, "", false, 0, std::nullopt, "No PCI device was found on this computer."},
            {onlyHidden, " ", false, 0, std::nullopt,
             "No PCI device was found on this computer.\r\n\r\nRoot hubs and host bridges are "
             "listed with \"Show all devices\"."},
        };
    for (const auto& [table, filter, showAll, listed, chosen, said] : rows) {
        SCOPED_TRACE(filter);
        FakeControlView view;
        AttachedDevicePresenter picker(table);
        picker.Attach(view);
        EXPECT_EQ(view.focus, kFilterEdit);
        picker.OnChecked(kShowAllCheck, showAll);
        picker.OnTextChanged(kFilterEdit, filter);
        EXPECT_EQ(view[kDeviceList].rows.size(), listed);
        EXPECT_EQ(picker.ChosenRow(), chosen);
        EXPECT_EQ(view[kEmptyText].visible ? view[kEmptyText].text : "", said);
        EXPECT_EQ(view[kDeviceList].visible, listed > 0);
        EXPECT_EQ(view[kOkButton].enabled, chosen.has_value());
        picker.OnClicked(kOkButton);
        EXPECT_EQ(view.closed, chosen ? std::optional(true) : std::nullopt);
    }
}

// A column starts as wide as its widest text, up to a cap, so a long name cannot make the
// dialog wider than the screen; a double click chooses the row.
TEST(AttachedDevicePresenterTest, ColumnsAreCappedAndADoubleClickChooses) {
    DeviceTable table = SampleDeviceTable();
    table.rows[2].cells[2] = std::string(200, 'N');
    FakeControlView view;
    AttachedDevicePresenter picker(table);
    picker.Attach(view);
    EXPECT_EQ(view[kDeviceList].columns,
              (std::vector<ListColumn>{{"Address", 0, 12}, {"IDs", 0, 9}, {"Vendor", 0, 24}}));
    view[kDeviceList].selected = {1};
    picker.OnSelectionChanged(kDeviceList);
    picker.OnRowActivated(kDeviceList, 1);
    EXPECT_EQ(view.closed, true);
    EXPECT_EQ(picker.ChosenRow(), 2u);
}

TEST(FunctionSelectPresenterTest, OffersEveryFunctionAndGivesThePositionChosen) {
    FakeControlView view;
    FunctionSelectPresenter chooser({"F0 (0x0001)", "F1 (0x0002)"});
    chooser.Attach(view);
    EXPECT_EQ(view[kFunctionCombo].items, (std::vector<std::string>{"F0 (0x0001)", "F1 (0x0002)"}));
    EXPECT_EQ(view[kFunctionCombo].current, 0);
    chooser.OnItemChosen(kFunctionCombo, 1);
    chooser.OnClicked(kCancelButton);
    EXPECT_EQ(view.closed, false);
    EXPECT_EQ(chooser.position(), 1);
}

// A folder that does not exist yet starts the chooser at its nearest existing parent; the
// status line shows the selection, shortened.
TEST(DirectoryBrowserPresenterTest, StartsAtTheNearestFolderAndShortensTheStatus) {
    FakeFileSystem files('/');
    files.AddDirectory("/home/user");
    const std::tuple<const char*, std::optional<std::string>> starts[] = {
        {"/home/user/vxipnp/winnt/prefix", "/home/user"},
        {"/home/user", "/home/user"},
        {"/nowhere/at/all", "/"},
        {"", std::nullopt},
    };
    for (const auto& [initial, start] : starts) {
        EXPECT_EQ(DirectoryBrowserPresenter(initial, files).StartFolder(), start) << initial;
    }
    FakeControlView view;
    DirectoryBrowserPresenter browser("/home/user", files);
    browser.Attach(view);
    EXPECT_EQ(view[kStatusText].text, "/home/user");
    const std::string path35 = "/home/user/a/folder/with/a/rather/l";
    browser.OnFolderSelected(path35);
    EXPECT_EQ(view[kStatusText].text, path35);
    browser.OnFolderSelected("/home/user/a/folder/with/a/rather/long/name");
    EXPECT_EQ(view[kStatusText].text, path35 + "...");
    EXPECT_EQ(browser.selection(), "/home/user/a/folder/with/a/rather/long/name");
}

}  // namespace
}  // namespace tessaly::testing
