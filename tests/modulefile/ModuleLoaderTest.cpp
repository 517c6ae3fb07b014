#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "modulefile/ModuleLoader.h"
#include "output/ModuleFileWriter.h"
#include "platform/NativeSystem.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/HostileModules.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using testing::GoldenPath;
using testing::RecordingPrompter;

// A combination module whose functions each show one way a function section is read.
const std::string kCombination = GoldenPath("module_combination.ini");

class ModuleLoaderTest : public ::testing::Test {
protected:
    // Values unlike any a file loads, so that what is not overwritten shows.
    ModuleLoaderTest() {
        DeviceDescription& d = device;
        d.BusType = Bus::Usb;
        d.UsbVendorId = d.OutputDirectory = "kept";
        d.UsesSubsystem = d.GeneratesInterrupts = true;
        d.DetectSequences = {{4, "R8 CFG 0x4;", 1}};
        d.RemovalSteps = "old;";
    }

    int Load(const std::string& path) {
        return LoadModuleDescriptionFile(device, path, *files, prompter, Chooser());
    }
    // The function chooser: records each list and answers from the queue, else cancels.
    FunctionChooser Chooser() {
        return [this](const std::vector<std::string>& functions) {
            functionLists.push_back(functions);
            std::optional<int> answer;
            if (!functionChoices.empty()) {
                answer = functionChoices.front();
                functionChoices.pop_front();
            }
            return answer;
        };
    }
    int LoadText(const std::string& bytes) { return Load(dir.Write("module.ini", bytes)); }

    // The values the loader sets, in one line, after checking that it left the others alone.
    std::string Loaded() {
        const DeviceDescription& d = device;
        EXPECT_TRUE(d.BusType == Bus::Usb && d.UsbVendorId == "kept" &&
                    d.OutputDirectory == "kept");
        std::string text = (d.UsesSubsystem ? "sub " : "") + d.ModelCode + "|" + d.ManufCode + "|" +
                           d.SubsystemModelCode + "|" + d.SubsystemManufCode + "|" + d.ModelName +
                           "|" + d.ManufName + "|" + d.InstrumentPrefix +
                           (d.GeneratesInterrupts ? "|irq" : "|");
        for (const DetectSequence& s : d.DetectSequences) {
            text += " " + std::to_string(s.Number) + ":" + s.Steps + "(" +
                    std::to_string(s.StepCount) + ")";
        }
        return text + "|" + d.RemovalSteps;
    }

    testing::TempDir dir;
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
    RecordingPrompter prompter;
    std::vector<std::vector<std::string>> functionLists;
    std::deque<std::optional<int>> functionChoices;
    DeviceDescription device;
};

TEST_F(ModuleLoaderTest, EachFunctionLoadsItsSection) {
    // The combination module's ten functions in turn, each chosen from the whole list, then a
    // module with a single function and one with none, which load without a chooser.
    std::string loaded;
    for (int k = 0; k < 12; ++k) {
        functionChoices = {k};
        const std::string file = k < 10 ? "combination" : k == 10 ? "single" : "no_device";
        ASSERT_EQ(Load(GoldenPath("module_" + file + ".ini")), 0) << file << " " << k;
        loaded += Loaded() + "\n";
    }
    EXPECT_TRUE(testing::MatchesGolden("module_loaded.txt", loaded));
    std::string list;
    for (const std::string& function : functionLists.at(0)) {
        list += function + ";";
    }
    EXPECT_EQ(list, testing::ReadFileBytes(GoldenPath("module_combination_list.txt")));
    EXPECT_EQ(functionLists, std::vector(10, functionLists.at(0)));
}

// What the wizard writes loads back; the goldens pin each side, this that they agree.
TEST(RoundTripTest, DeviceWithSubsystemAndInterruptsComesBackWhole) {
    DeviceDescription written;
    std::tie(written.ManufCode, written.ModelCode, written.SubsystemManufCode,
             written.SubsystemModelCode, written.ManufName, written.ModelName,
             written.InstrumentPrefix) =
        std::tuple("0xABCD", "0x1234", "0x5678", "0x9ABC", "Acme Instruments, Inc.",
                   "Scope 9 \xB5-series", "acme_scope9");
    written.UsesSubsystem = written.GeneratesInterrupts = true;
    written.DetectSequences = {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
                               {7, "R8 CFG 0x00000004;C8 BAR2 0x00000000 0x0F 0x01;", 2},
                               {2, "", 0}};
    written.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;R8 CFG 0x00000004;";
    testing::FakeFileSystem files;
    files.AddFile("c:\\m.ini", RenderModuleDescriptionFile(written));
    RecordingPrompter prompter;
    DeviceDescription loaded;
    const auto noChooser = [](const std::vector<std::string>&) -> std::optional<int> {
        ADD_FAILURE() << "a single function needs no chooser";
        return std::nullopt;
    };
    ASSERT_EQ(LoadModuleDescriptionFile(loaded, "c:\\m.ini", files, prompter, noChooser), 0);
    DeviceDescription expected = written;
    expected.DetectSequences[1].Number = 1;  // labels are not written: they count from 0
    EXPECT_EQ(loaded, expected);
}

TEST_F(ModuleLoaderTest, NothingChangesWhenNothingIsLoaded) {
    const DeviceDescription before = device;
    functionChoices = {std::nullopt, 10, -1, 99};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Load(kCombination), 1);
    }
    EXPECT_EQ(Load((dir.path() / "none.ini").string()), 1);
    EXPECT_EQ(LoadText("[Modules]\nModelCode=0x1\n[Function0]\nModelCode=0x2\n"), 1);
    // The callers report unreadable files.
    EXPECT_EQ(
        prompter.Texts(),
        std::vector<std::string>{"The file you selected is not a valid module description file."});
    EXPECT_EQ(device, before);
}

TEST_F(ModuleLoaderTest, AHugeCountStopsWhereTheFileStopsBackingIt) {
    // The first 1024 sequences are read present or not; past them, up to the first missing one.
    const std::string head = "[Module]\nVISARegistration=Reg\n[Reg]\nNumDetectSequences=";
    ASSERT_EQ(LoadText(head + "4000000000\n"), 0);
    EXPECT_EQ(device.DetectSequences.size(), 1024u);
    // Loaded, but not silently cut: the message is a notice, not a failure.
    EXPECT_EQ(prompter.messages,
              (std::vector<RecordingPrompter::Message>{
                  {"The module description file asks for 4000000000 interrupt detection sequences "
                   "(NumDetectSequences) but holds no InterruptDetect1024; 1024 are loaded.",
                   MessageIcon::None}}));
    std::string file = head + "4294967295\n";
    for (int i = 0; i < 1100; ++i) {
        file += "InterruptDetect" + std::to_string(i) + "=R8 CFG 0x4;\n";
    }
    ASSERT_EQ(LoadText(file), 0);
    ASSERT_EQ(device.DetectSequences.size(), 1100u);
    EXPECT_EQ(device.DetectSequences.back(), (DetectSequence{1099, "R8 CFG 0x4;", 1}));
    EXPECT_EQ(prompter.messages.size(), 2u);
    ASSERT_EQ(LoadText(head + "2\n"), 0);  // within the bound missing keys are empty sequences
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(ModuleLoaderTest, OnlyABoundedRegularFileIsRead) {
    // Exactly at the limit loads; one byte more, or a folder, is refused with a reason.
    const std::string module = "[Module]\nModelCode=0x1\n";
    const std::string full = module + std::string(kMaxModuleFileBytes - module.size(), '\n');
    ASSERT_EQ(LoadText(full), 0);
    EXPECT_EQ(LoadText(full + "\n"), 1);
    EXPECT_EQ(Load(dir.path().string()), 1);
    const std::string file = "The file \"" + (dir.path() / "module.ini").string();
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{
                  file + "\" cannot be a module description file: it holds more than 4 MiB.",
                  "The file \"" + dir.path().string() +
                      "\" cannot be a module description file: it is not a regular file."}));
}

TEST_F(ModuleLoaderTest, ABridgeNamedOverAndOverCannotMakeTheWalkRunAway) {
    // Each level names the next level's bridge 32 times 32: unbounded, the walk would visit
    // 1024 to the power of the depth.
    const std::string all0 = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
    const std::string bridge =
        "]\nType=InternalBridge\nFunctionList=" + all0 + "\nDeviceList=" + all0 + "\n";
    std::string file = "[Module" + bridge, section = "Device0";
    for (int depth = 0; depth < 12; ++depth, section += "Device0") {
        file += "[" + section + bridge;
    }
    EXPECT_EQ(LoadText(file + "[" + section + "]\nModelCode=1\n"), 1);  // the choice is cancelled
    EXPECT_LE(functionLists.at(0).size(), 4096u);
}

// Each row a file built to hurt: the largest ones the loader reads, made of what costs a lookup
// most, load as a scan in file order would (the first of each name); prefixes that clean to
// the name of a folder stay what they are, for the generation to refuse; a byte order mark is
// named when it hides the module.
TEST(HostileModuleTest, LoadsWhatAScanInFileOrderFinds) {
    struct Row {
        std::string name, bytes;
        int result;
        std::string loaded;   // ModuleSummary; "" when nothing is loaded
        std::string message;  // the first message, "" when none
    };
    std::vector<Row> rows;
    for (testing::HostileModule& m : testing::HostileModules()) {
        rows.push_back({m.name, std::move(m.bytes), 0, m.expected, m.notice});
    }
    const std::string module = "[Module]\nModelCode=0x1\nVISARegistration=";
    const std::pair<const char*, const char*> dots[] = {
        {"..", ".."}, {".", "."}, {"\".. \"", ".."}, {"..\x01", ".."}, {"[.]/.", ".."}};
    for (const auto& [registration, prefix] : dots) {
        rows.push_back({registration, module + registration + "\n", 0,
                        "0x1||0|" + std::string(prefix) + "|0|", ""});
    }
    rows.push_back({"prefix empty", module + "\"[]\"\n", 0, "0x1||0||0|", ""});
    const std::string bom = "\xEF\xBB\xBF";
    rows.push_back({"byte order mark", bom + "[Module]\nModelCode=0x1\n", 1, "",
                    "The file you selected is not a valid module description file.\nIt begins "
                    "with a UTF-8 byte order mark, so its first line is no section header. Save "
                    "it as ANSI text, without a byte order mark."});
    rows.push_back({"byte order mark before a comment", bom + ";\n[Module]\nModelCode=0x7\n", 0,
                    "0x7||0||0|", ""});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::FakeFileSystem files;
        files.AddFile("c:\\m.ini", row.bytes);
        RecordingPrompter prompter;
        DeviceDescription device;
        const auto noChooser = [](const std::vector<std::string>&) { return std::optional<int>(); };
        ASSERT_EQ(LoadModuleDescriptionFile(device, "c:\\m.ini", files, prompter, noChooser),
                  row.result);
        EXPECT_EQ(row.result == 0 ? testing::ModuleSummary(device) : "", row.loaded);
        const std::string first = prompter.messages.empty() ? "" : prompter.messages[0].text;
        EXPECT_EQ(first, row.message);
    }
}

TEST(CleanInstrumentPrefixTest, RemovesFileNameAndControlCharactersAndKeeps31) {
    // Characters go before the length is cut: 15 are kept, then 16 of the x.
    EXPECT_EQ(CleanInstrumentPrefix("a\\./,:'*!?#\"$<&>(|) +[-]_%~;\r\t\v\n\f=\x7F\xE9" +
                                    std::string(20, 'x')),
              "a.,'!#$&()+-_~\xE9" + std::string(16, 'x'));
}

TEST(ParseNumberListTest, ReadsLikeCommaSeparatedPercentD) {
    const std::pair<const char*, const char*> cases[] = {
        {"1, 2,\t3", "{ 1, 2, 3 }"}, {"1 ,2", "{ 1 }"}, {"-3,+4", "{ -3, 4 }"},
        {"  7abc,8", "{ 7 }"},       {"x,1", "{}"},     {"- 1", "{}"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(::testing::PrintToString(ParseNumberList(text)), expected) << text;
    }
    EXPECT_EQ(ParseNumberList("4294967297,2147483648"), (std::vector<int>{1, -2147483647 - 1}));
    EXPECT_EQ(ParseNumberList("7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7"),
              std::vector<int>(32, 7));
}

}  // namespace
}  // namespace tessaly
