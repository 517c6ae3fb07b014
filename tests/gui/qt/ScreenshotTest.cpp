#include <QAbstractItemView>
#include <QTimer>

#include "discovery/DeviceChoice.h"
#include "gui/qt/ContextHelp.h"
#include "gui/qt/HelpViewer.h"
#include "gui/qt/QtPrompter.h"
#include "gui/qt/WidgetSupport.h"
#include "gui/qt/discovery/AttachedDeviceDialog.h"
#include "gui/qt/interrupts/StepEditorDialog.h"
#include "gui/qt/modulefile/FunctionSelectDialog.h"
#include "gui/qt/output/DirectoryBrowser.h"
#include "interrupts/StepStrings.h"
#include "output/Generation.h"
#include "tests/fakes/FakeSysfs.h"
#include "tests/fakes/TempDir.h"
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// Shows, grabs and closes a window, which must be whole: at least the size its layout asks for.
// With TESSALY_SCREENSHOT_DIR set, writes it into that folder (docs/screenshots/ in the
// repository).
void Save(QWidget* window, const std::string& name) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
    const QPixmap picture = window->grab();
    EXPECT_EQ(picture.size().expandedTo(window->minimumSizeHint()), picture.size()) << name;
    const QString dir = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
    EXPECT_TRUE(dir.isEmpty() || picture.save(dir + "/" + name.c_str() + ".png")) << name;
    window->close();
}

using Screenshots = WizardHarness;

TEST_F(Screenshots, EveryPageAndDialog) {
    model.device.ManufCode = "0x1A2B";
    model.device.ModelCode = "0x0042";
    model.device.ManufName = "Tessaly Instruments";
    model.device.ModelName = "TX-4021 Digitizer";
    model.device.GeneratesInterrupts = true;
    model.device.DetectSequences = {
        {0,
         "R32 BAR0 0x00000010;C32 BAR0 0x00000010 0x00000001 0x00000001;"
         "C16 BAR0 0x00000014 0x8000 0x8000;",
         3},
        {1, "C8 CFG 0x00000006 0x08 0x08;", 1}};
    model.device.RemovalSteps = "R32 BAR0 0x00000010;W32 BAR0 0x00000010 0x00000001;";
    model.device.InstrumentPrefix = "tx4021";
    fake.system.defaultOutputBase = "/home/user/vxipnp/";
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");  // offers the FTP choice
    const char* pages[] = {
        "hardware-bus",      "pxi-device",   "usb-device",           "interrupt-detection",
        "interrupt-removal", "output-files", "installation-options", "ftp"};
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        // Page 6 with a warning under its list.
        model.device.ModelName = i == 5 ? "TX-4021 \"Pro\" Digitizer" : "TX-4021 Digitizer";
        Open(kPageOrder[i]);
        Save(sheet.get(), "page" + std::to_string(i + 1) + "-" + pages[i]);
    }
    // The question Next on page 6 asks while the directory does not exist; closing it says No.
    QTimer::singleShot(0, [] { Save(QApplication::activeModalWidget(), "dialog-message-box"); });
    QtPrompter asking;
    EXPECT_FALSE(PrepareOutputDirectory(model.device, model.plan, fake.files, asking, false));

    StepEditorPresenter step(
        EditorFieldsFromRow({"Compare", "32-bit", "BAR0", "0x00000010", "0x00000001", "0x1"}));
    CStepEditorDialog editor(step);
    Save(&editor, "dialog-step-editor");
    FunctionSelectPresenter combination({"Function0 (0x4021)", "Function1Device0 (TX4021Bridge)"});
    CFunctionSelectDialog chooser(combination, nullptr);
    Save(&chooser, "dialog-function-chooser");
    TempDir dir;
    const std::filesystem::path winnt = dir.path() / "vxipnp" / "winnt";
    std::filesystem::create_directories(winnt / "tx4021");
    FakeFileSystem folders('/');
    folders.AddDirectory(winnt.string());
    DirectoryBrowserPresenter folder(winnt.string(), folders);
    CDirectoryBrowser browser(folder, nullptr);
    browser.resize(DialogUnitsX(&browser, 260), DialogUnitsY(&browser, 180));
    const auto* view = browser.findChild<QAbstractItemView*>("treeView");
    // The folder view fills from a background thread.
    EXPECT_TRUE(QTest::qWaitFor([view] { return view->model()->rowCount(view->rootIndex()) > 0; }));
    Save(&browser, "dialog-folder-browser");

    // The attached devices come from a fake sysfs tree, so the picture is the same everywhere.
    const FakeSysfs sysfs;
    sysfs.WriteIds("pci.ids", kSamplePciIds);
    const FakePciFunction functions[] = {
        {.address = "0000:00:00.0", .classCode = "0x060000"},
        {.address = "0000:00:01.0", .device = "0x7000", .classCode = "0x060100"},
        {.address = "0000:00:03.0",
         .device = "0x100e",
         .subsystemVendor = "0x8086",
         .subsystemDevice = "0x001e",
         .classCode = "0x020000"},
        {.address = "0000:04:00.0",
         .vendor = "0x1a2b",
         .device = "0x0042",
         .subsystemVendor = "0x1a2b",
         .subsystemDevice = "0x0001"},
        {.address = "0000:05:0d.0",
         .vendor = "0x10b5",
         .device = "0x9054",
         .subsystemVendor = "0x1a2b",
         .subsystemDevice = "0x0007",
         .classCode = "0x068000"},
    };
    for (const FakePciFunction& function : functions) {
        sysfs.Add(function);
    }
    const DiscoveryFolders discovery{.sysfsRoot = sysfs.root(), .idFolders = {sysfs.idFolder()}};
    AttachedDevicePresenter picker(
        PciDeviceTable(ListPciDevices(discovery.sysfsRoot), discovery.LoadIds("pci.ids")));
    CAttachedDeviceDialog devices(picker, nullptr);
    Save(&devices, "dialog-attached-devices");

    HelpViewer help(nullptr);
    help.ShowTopic(HelpTopicUrl("page110.html", "manufCodeEdit"));
    Save(&help, "help-window");
}

}  // namespace
}  // namespace tessaly::testing
