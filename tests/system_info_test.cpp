// Finding System Information through the registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "about/system_info.h"
#include "platform/base/runtime_error.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct SysInfo {
    Registry registry;
    ScriptedMessageBox box;
    std::vector<std::string> started;
    bool start_fails = false;
    void Run() {
        StartSysInfo(registry, [this](const std::string& p) {
            if (start_fails) throw RuntimeError(kErrFileNotFound, "File not found");
            started.push_back(p);
        }, box);
    }
    bool Unavailable() const {
        return box.shown.size() == 1 &&
               box.shown[0].text == "System Information Is Unavailable At This Time" &&
               box.shown[0].title == kAppTitle && box.shown[0].buttons == kOkOnly;
    }
};

}  // namespace

TEST(SystemInfo, TheFirstValueStartsThePathAsRead) {
    SysInfo s;
    s.registry.SetString(kHkeyLocalMachine, kMsinfo, "PATH", "/no/check/made");
    s.Run();
    EXPECT_EQ(s.started, (std::vector<std::string>{"/no/check/made"}));
    EXPECT_TRUE(s.box.shown.empty());

    SysInfo failing;  // the start itself fails
    failing.registry.SetString(kHkeyLocalMachine, kMsinfo, "PATH", "/nowhere");
    failing.start_fails = true;
    failing.Run();
    EXPECT_TRUE(failing.Unavailable());
}

TEST(SystemInfo, TheFolderValueNeedsTheProgramFile) {
    auto folder = std::filesystem::temp_directory_path() / "morvane-msinfo";
    std::filesystem::create_directories(folder);
    SysInfo s;
    s.registry.SetString(kHkeyLocalMachine, kLocation, "MSINFO", folder.string());
    s.Run();
    EXPECT_TRUE(s.Unavailable());
    EXPECT_TRUE(s.started.empty());

    std::ofstream(folder / "MSINFO32.EXE") << "x";
    SysInfo k;
    k.registry.SetString(kHkeyLocalMachine, kLocation, "MSINFO", folder.string());
    k.Run();
    EXPECT_EQ(k.started, (std::vector<std::string>{(folder / "MSINFO32.EXE").string()}));
    std::filesystem::remove_all(folder);
}

TEST(SystemInfo, NothingFoundShowsTheMessage) {
    SysInfo s;
    s.Run();
    EXPECT_TRUE(s.Unavailable());
}

TEST(RegistryReader, StringsReadTheSameWithOrWithoutTheirZero) {
    Registry r;
    r.SetString(kHkeyLocalMachine, "K", "with", "abc", true);
    r.SetString(kHkeyLocalMachine, "K", "without", "abc", false);
    std::string a = "old", b;
    EXPECT_TRUE(GetKeyValue(r, kHkeyLocalMachine, "K", "with", a));
    EXPECT_TRUE(GetKeyValue(r, kHkeyLocalMachine, "K", "without", b));
    EXPECT_EQ(a, "abc");
    EXPECT_EQ(b, "abc");
}

TEST(RegistryReader, MissingKeysAndValuesEmptyTheText) {
    Registry r;
    r.SetString(kHkeyLocalMachine, "K", "v", "x");
    std::string value = "keep?";
    EXPECT_FALSE(GetKeyValue(r, kHkeyLocalMachine, "Other", "v", value));
    EXPECT_EQ(value, "");
    value = "keep?";
    EXPECT_FALSE(GetKeyValue(r, kHkeyLocalMachine, "K", "missing", value));
    EXPECT_EQ(value, "");
    r.SetValue(kHkeyLocalMachine, "K", "n", kRegDword, {0x10, 0x00, 0x00, 0x00});
    std::string number;
    EXPECT_TRUE(GetKeyValue(r, kHkeyLocalMachine, "K", "n", number));
    r.SetValue(kHkeyLocalMachine, "K", "bin", 3, {1, 2});
    std::string other = "as passed";
    EXPECT_TRUE(GetKeyValue(r, kHkeyLocalMachine, "K", "bin", other));
    EXPECT_EQ(other, "as passed");
}
