#include <QLabel>
#include <QTreeView>

#include "gui/qt/QtPrompter.h"
#include "gui/qt/discovery/AttachedDeviceDialog.h"
#include "tests/fakes/FakeSysfs.h"  // the sample ID databases
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// The pick buttons list what the platform's device source holds.
struct PickDevice : WizardHarness {
    PickDevice() {
        fake.devices.idFiles = {{"pci.ids", kSamplePciIds}, {"usb.ids", kSampleUsbIds}};
    }

    // A mnemonic clicks its button after a short delay.
    void Pick() {
        const std::size_t asked = prompter.deviceTables.size();
        QTest::keyClick(sheet.get(), Qt::Key_K, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return prompter.deviceTables.size() > asked; }));
    }
};

// Cancelling changes nothing; a choice shows on the page with the boxes it sets enabled, and
// Next accepts it. DeviceChoiceTest checks what each choice fills in.
TEST_F(PickDevice, ChoiceFillsThePageAndPassesNext) {
    fake.devices.pci = {{.address = "0000:00:0a.0",
                         .vendorId = 0x1a2b,
                         .deviceId = 0x0042,
                         .subsystemVendorId = 0x1a2b,
                         .subsystemDeviceId = 0x0001,
                         .classCode = 0x118000}};
    fake.devices.usb = {
        {.busPath = "1-1", .vendorId = 0x0957, .productId = 0x1745, .interfaceCount = 3}};
    prompter.deviceChoices = {std::nullopt, 0, 0};
    Open(kPageWelcomePxi);
    Pick();
    EXPECT_EQ(Text("manufCodeEdit"), "0xFFFF");
    Pick();
    EXPECT_EQ(Text("subsystemModelCodeEdit") + Text("manufNameEdit"), "0x0001Tessaly Instruments");
    EXPECT_TRUE(Find("subsystemManufCodeEdit")->isEnabled());
    Next();
    EXPECT_EQ(Page(), kPageFinal);

    Open(kPageWelcomeUsb);
    Pick();
    EXPECT_EQ(Text("usbProductIdEdit") + Text("interfaceCountEdit"), "0x17453");
    EXPECT_TRUE(Find("interfaceCountEdit")->isEnabled());
    Next();
    EXPECT_EQ(Page(), kPageFinal);
    EXPECT_EQ(model.device.InterfaceCount, 3);
    EXPECT_TRUE(prompter.messages.empty());
}

DeviceTable Sample() {
    DeviceTable table{.title = "Attached PCI Devices",
                      .columns = {"Address", "IDs", "Vendor"},
                      .rows = {},
                      .emptyText = "No PCI device was found on this computer."};
    table.rows = {
        {{"0000:00:00.0", "8086:1237", "Intel Corporation"}, true},
        {{"0000:00:02.0", "8086:100e", "Intel Corporation"}, false},
        {{"0000:00:0a.0", "1a2b:0042", "Tessaly Instruments"}, false},
        {{"0000:00:0b.0", "10b5:9054", "PLX Technology, Inc."}, false},
    };
    return table;
}

std::string Said(CAttachedDeviceDialog* dialog) {
    const auto* empty = dialog->findChild<QLabel*>("emptyText");
    return empty->isVisible() ? empty->text().toStdString() : "";
}

// The filter field has the focus; every typed word must match some column; the first match is
// selected and Enter chooses it; Up and Down move from the field.
TEST(AttachedDeviceDialogTest, TypingFiltersAndEnterChoosesTheFirstMatch) {
    QtPrompter prompter;
    const std::pair<QString, std::optional<std::size_t>> cases[] = {
        {"", 1}, {"plx 0b", 3}, {"8086:1237", std::nullopt}};
    for (const auto& [typed, chosen] : cases) {
        WhenModal<CAttachedDeviceDialog>(
            [typed = typed, chosen = chosen](CAttachedDeviceDialog* dialog) {
                EXPECT_EQ(QApplication::focusWidget()->objectName(), "filterEdit");
                QTest::keyClicks(QApplication::focusWidget(), typed);
                EXPECT_EQ(dialog->ChosenRow(), chosen) << typed.toStdString();
                EXPECT_EQ(Said(dialog), chosen ? "" : "No device matches the filter.");
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                if (dialog->isVisible()) {  // nothing to choose: Enter does nothing
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                }
            });
        EXPECT_EQ(prompter.ChooseAttachedDevice(Sample()), chosen) << typed.toStdString();
    }
}

// Up and Down move from the filter field; hidden rows come with "Show all devices"; a double
// click chooses.
TEST(AttachedDeviceDialogTest, ArrowsShowAllAndDoubleClick) {
    QtPrompter prompter;
    WhenModal<CAttachedDeviceDialog>([](CAttachedDeviceDialog* dialog) {
        auto* list = dialog->findChild<QTreeView*>("deviceList");
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        EXPECT_EQ(dialog->ChosenRow(), 2u);
        EXPECT_EQ(list->model()->rowCount(), 3);
        QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);  // clicks after a short delay
        EXPECT_TRUE(QTest::qWaitFor([list] { return list->model()->rowCount() == 4; }));
        const QRect row = list->visualRect(list->model()->index(3, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    });
    EXPECT_EQ(prompter.ChooseAttachedDevice(Sample()), 3u);
}

// Nothing on the bus, or only what is hidden: the list area says so, no box.
TEST(AttachedDeviceDialogTest, AnEmptyBusIsSaidInTheListArea) {
    DeviceTable onlyHidden = Sample();
    onlyHidden.rows.resize(1);
    DeviceTable none = Sample();
    none.rows.clear();
    const std::pair<DeviceTable, std::string> cases[] = {
        {none, "No PCI device was found on this computer."},
        {onlyHidden,
         "No PCI device was found on this computer.\n\nRoot hubs and host bridges are listed "
         "with \"Show all devices\"."},
    };
    for (const auto& [table, said] : cases) {
        CAttachedDeviceDialog dialog(table, nullptr);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(Said(&dialog), said);
        EXPECT_FALSE(dialog.findChild<QWidget*>("okButton")->isEnabled());
        dialog.close();
    }
}

}  // namespace
}  // namespace tessaly::testing
