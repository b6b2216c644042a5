// 注册表操作 and the Run value "Chimewick" against Wine's registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <taskschd.h>

#include <optional>
#include <string>
#include <vector>

#include "common/win32/ansi_text.h"
#include "common/win32/com.h"
#include "config/logon_task.h"
#include "config/start_with_system.h"
#include "config/win32/logon_task_store.h"
#include "config/win32/registry.h"

namespace horalia {
namespace {

using win32::DeleteRegValue;
using win32::GetRegValue;
using win32::kHkeyCurrentUser;
using win32::SetRegValue;

constexpr char kTestKey[] = "Software\\HoraliaConfigTests";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class Registry : public ::testing::Test {
  protected:
    ~Registry() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

    void SetRaw(const char* name, DWORD type, const std::vector<BYTE>& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kTestKey, &key), ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, bytes.empty() ? nullptr : bytes.data(),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static std::vector<BYTE> Bytes(const std::string& text) {
        return std::vector<BYTE>(text.begin(), text.end());
    }
    std::vector<BYTE> GetRaw(const char* name, DWORD& type) {
        std::vector<BYTE> bytes(1024);
        DWORD size = static_cast<DWORD>(bytes.size());
        HKEY key = nullptr;
        if (RegOpenKeyA(HKEY_CURRENT_USER, kTestKey, &key) != ERROR_SUCCESS ||
            RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) {
            size = 0;
        }
        RegCloseKey(key);
        bytes.resize(size);
        return bytes;
    }
};

TEST_F(Registry, SetWritesAnsiTextWithItsTerminator) {
    ASSERT_TRUE(SetRegValue(kHkeyCurrentUser, kTestKey, "名称", 1, "中文 text"));
    DWORD type = 0;
    EXPECT_EQ(GetRaw("\xC3\xFB\xB3\xC6", type), Bytes(std::string("\xD6\xD0\xCE\xC4 text\0", 10)));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    std::int32_t readType = 1;
    std::string text;
    EXPECT_TRUE(GetRegValue(kHkeyCurrentUser, kTestKey, "名称", readType, text));
    EXPECT_EQ(text, "中文 text");
    EXPECT_EQ(readType, 1);
}

TEST_F(Registry, SetCreatesMissingKeysAndWritesTextBytesForAnyType) {
    const std::string nested = std::string(kTestKey) + "\\a\\b";
    ASSERT_TRUE(SetRegValue(kHkeyCurrentUser, nested, "v", 4, "123"));
    std::int32_t type = 1;
    std::string text;
    ASSERT_TRUE(GetRegValue(kHkeyCurrentUser, nested, "v", type, text));
    EXPECT_EQ(type, 4);
    EXPECT_EQ(text, std::to_string('1' | ('2' << 8) | ('3' << 16)));  // "123" and its NUL
}

TEST_F(Registry, GetOnAMissingKeyChangesNothing) {
    std::int32_t type = 9;
    std::string text = "as passed";
    EXPECT_FALSE(GetRegValue(kHkeyCurrentUser, "Software\\HoraliaNoSuchKey", "v", type, text));
    EXPECT_EQ(type, 9);
    EXPECT_EQ(text, "as passed");
}

TEST_F(Registry, GetOfAMissingValueIsEmptyTextForTheTextTypes) {
    SetRaw("other", REG_SZ, Bytes(std::string("x\0", 2)));
    for (const std::int32_t asked : {1, 2, 7}) {
        std::int32_t type = asked;
        std::string text = "as passed";
        EXPECT_TRUE(GetRegValue(kHkeyCurrentUser, kTestKey, "missing", type, text)) << asked;
        EXPECT_EQ(text, "") << asked;
        EXPECT_EQ(type, asked);
    }
    std::int32_t type = 4;
    std::string text = "as passed";
    EXPECT_TRUE(GetRegValue(kHkeyCurrentUser, kTestKey, "missing", type, text));
    EXPECT_EQ(text, "as passed");
}

TEST_F(Registry, GetRendersEveryType) {
    SetEnvironmentVariableA("HORALIA_TEST_DIR", "C:\\dir");
    const std::string longValue(600, 'L');
    SetEnvironmentVariableA("HORALIA_TEST_LONG", longValue.c_str());
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> bytes;
        std::string text;  // passed in as "" unless noted
    } cases[] = {
        {"sz", REG_SZ, Bytes(std::string("abc\0", 4)), "abc"},
        {"sz no NUL", REG_SZ, Bytes("abc"), "abc"},
        {"sz empty", REG_SZ, {}, ""},
        {"sz gbk", REG_SZ, Bytes(std::string("\xD6\xD0\0", 3)), "中"},
        {"expand", REG_EXPAND_SZ, Bytes(std::string("%HORALIA_TEST_DIR%\\x\0", 21)), "C:\\dir\\x"},
        {"expand long", REG_EXPAND_SZ, Bytes(std::string("%HORALIA_TEST_LONG%\0", 20)), longValue},
        {"binary", REG_BINARY, {0x0A, 0xFF, 0x00, 0x10}, "AFF010"},
        {"dword", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, "-2"},
        {"dword 42", REG_DWORD, {42, 0, 0, 0}, "42"},
        {"big endian", REG_DWORD_BIG_ENDIAN, {1, 0, 0, 0}, "1"},
        {"multi", REG_MULTI_SZ, Bytes(std::string("a\0b\0\0", 5)), std::string("a\0b\0", 4)},
        {"multi empty", REG_MULTI_SZ, {}, ""},
    };
    for (const auto& c : cases) {
        SetRaw(c.name, c.type, c.bytes);
        std::int32_t type = 1;
        std::string text;
        EXPECT_TRUE(GetRegValue(kHkeyCurrentUser, kTestKey, c.name, type, text)) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
        if (!c.bytes.empty()) {
            EXPECT_EQ(type, static_cast<std::int32_t>(c.type)) << c.name;
        }
    }
    // Binary appends to what was passed; an unknown type leaves the text alone.
    SetRaw("resource", REG_RESOURCE_LIST, {1, 2, 3});
    std::int32_t type = 1;
    std::string text = "as passed";
    EXPECT_TRUE(GetRegValue(kHkeyCurrentUser, kTestKey, "resource", type, text));
    EXPECT_EQ(text, "as passed");
    EXPECT_EQ(type, REG_RESOURCE_LIST);
    text = "0x";
    EXPECT_TRUE(GetRegValue(kHkeyCurrentUser, kTestKey, "binary", type, text));
    EXPECT_EQ(text, "0xAFF010");
}

TEST_F(Registry, DeleteRemovesOnceAndFailsQuietlyAfter) {
    ASSERT_TRUE(SetRegValue(kHkeyCurrentUser, kTestKey, "v", 1, "x"));
    EXPECT_TRUE(DeleteRegValue(kHkeyCurrentUser, kTestKey, "v"));
    DWORD type = 0;
    EXPECT_TRUE(GetRaw("v", type).empty());
    EXPECT_FALSE(DeleteRegValue(kHkeyCurrentUser, kTestKey, "v"));
    EXPECT_FALSE(DeleteRegValue(kHkeyCurrentUser, "Software\\HoraliaNoSuchKey", "v"));
}

// The real Run value of the (throw-away) Wine prefix; whatever was there is put back.
class RunValue : public ::testing::Test {
  protected:
    RunValue() {
        std::int32_t type = 1;
        std::string text;
        if (GetRegValue(kHkeyCurrentUser, kRunKey, "Chimewick", type, text) && !text.empty()) {
            saved_ = text;
        }
        DeleteRegValue(kHkeyCurrentUser, kRunKey, "Chimewick");
    }
    ~RunValue() override {
        DeleteRegValue(kHkeyCurrentUser, kRunKey, "Chimewick");
        if (saved_) {
            SetRegValue(kHkeyCurrentUser, kRunKey, "Chimewick", 1, *saved_);
        }
    }
    static std::string RunText(std::int32_t& type) {
        type = 1;
        std::string text;
        GetRegValue(kHkeyCurrentUser, kRunKey, "Chimewick", type, text);
        return text;
    }

    StartEntryStore& store = RunValueStartStore();
    const std::string command = StartCommand("C:\\Program Files\\Horalia\\Horalia.exe");

  private:
    std::optional<std::string> saved_;
};

TEST_F(RunValue, RegisterAndUnregisterTheChimewickValue) {
    EXPECT_FALSE(IsStartRegistered(store, command));
    RegisterStart(store, command);
    std::int32_t type = 0;
    EXPECT_EQ(RunText(type), "\"C:\\Program Files\\Horalia\\Horalia.exe\"");
    EXPECT_EQ(type, 1);
    EXPECT_TRUE(IsStartRegistered(store, command));

    UnregisterStart(store);
    EXPECT_EQ(RunText(type), "");
    EXPECT_FALSE(IsStartRegistered(store, command));
    UnregisterStart(store);  // nothing left to delete
    EXPECT_FALSE(IsStartRegistered(store, command));
}

TEST_F(RunValue, AnOlderPathIsOverwritten) {
    ASSERT_TRUE(SetRegValue(kHkeyCurrentUser, kRunKey, "Chimewick", 1, "\"C:\\Old\\Horalia.exe\""));
    EXPECT_FALSE(IsStartRegistered(store, command));
    RegisterStart(store, command);
    std::int32_t type = 0;
    EXPECT_EQ(RunText(type), command);
}

TEST_F(RunValue, ARootFolderCommandIsFoundAgain) {
    const std::string rootCommand = StartCommand("D:\\\\Horalia.exe");
    RegisterStart(store, rootCommand);
    EXPECT_TRUE(IsStartRegistered(store, StartCommand("D:\\\\Horalia.exe")));
}

// The log-on tasks through this computer's Task Scheduler. Wine 8 registers a task from its XML
// and deletes it, but reads no trigger, action or principal back and lists no folder, so what
// the store reads is tested with a fake scheduler, and here what Wine does.
class LogonTasks : public ::testing::Test {
  protected:
    ~LogonTasks() override { RemoveEveryLogonTask(); }

    // The XML the Task Scheduler keeps for the task at path, empty when there is none.
    static std::string RegisteredXml(const std::string& path) {
        const win32::ComScope com;
        win32::ComPtr<ITaskService> service;
        win32::ComPtr<ITaskFolder> root;
        win32::ComPtr<IRegisteredTask> task;
        win32::Bstr xml;
        VARIANT none;
        VariantInit(&none);
        if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&service))) ||
            FAILED(service->Connect(none, none, none, none)) ||
            FAILED(service->GetFolder(win32::Bstr(L"\\"), &root)) ||
            FAILED(root->GetTask(win32::Bstr(win32::Utf8ToWide(path)), &task)) ||
            FAILED(task->get_Xml(xml.Out()))) {
            return "";
        }
        return win32::WideToUtf8(xml.Text());
    }

    const LogonTaskPeople people = CurrentLogonTaskPeople();
    const std::string program = "C:\\Program Files\\Horalia\\Horalia.exe";
};

TEST_F(LogonTasks, ThePeopleAreNamedBySid) {
    EXPECT_EQ(people.process.sid.rfind("S-1-5-", 0), 0u) << people.process.sid;
    EXPECT_NE(people.process.account.find('\\'), std::string::npos) << people.process.account;
    ASSERT_TRUE(people.session.has_value());  // Wine's session is the program's own user
    EXPECT_EQ(people.session->sid, people.process.sid);
    EXPECT_FALSE(LogonTaskStartStore().Refusal().has_value());
}

TEST_F(LogonTasks, EachPersonHasATaskOfTheirOwnAndTheUninstallerRemovesThemAll) {
    const LogonTaskUser bob{"S-1-5-21-0-0-0-1002", "VM\\bob"};
    std::vector<std::string> paths;
    for (const LogonTaskUser& user : {people.process, bob}) {
        const LogonTask task{user.sid, user.account, program, ""};
        ASSERT_TRUE(SystemTaskScheduler().Register(LogonTaskPath(user.sid), task));
        paths.push_back(LogonTaskPath(user.sid));
        // What the Task Scheduler keeps is what its own reader made of the XML (Wine writes it
        // out again).
        const std::string xml = RegisteredXml(paths.back());
        for (const std::string& element :
             {"<Author>" + user.account + "</Author>", std::string("<Priority>6</Priority>"),
              std::string("<MultipleInstancesPolicy>IgnoreNew<"),
              std::string("<DisallowStartIfOnBatteries>false<"),
              std::string("<ExecutionTimeLimit>PT0S<")}) {
            EXPECT_NE(xml.find(element), std::string::npos) << element << " in " << xml;
        }
        // Wine 8 reads no trigger, principal or action; Windows does, and keeps the person's SID.
        if (const std::optional<RegisteredLogonTask> read =
                TaskSchedulerReading(LogonTaskXml(task))) {
            EXPECT_TRUE(StartsFor(*read, user.sid));
            EXPECT_EQ(CommandOf(*read), StartCommand(program));
        }
    }
    ASSERT_TRUE(SystemTaskScheduler().Register(kEarlierLogonTaskPath,
                                               {people.process.sid, "", program, ""}));
    paths.push_back(kEarlierLogonTaskPath);

    EXPECT_TRUE(SystemTaskScheduler().Delete(paths[1]));
    EXPECT_EQ(RegisteredXml(paths[1]), "");
    EXPECT_NE(RegisteredXml(paths[0]), "");  // the other person's stays

    EXPECT_TRUE(RemoveEveryLogonTask());
    for (const std::string& path : paths) {
        EXPECT_EQ(RegisteredXml(path), "") << path;
    }
}

}  // namespace
}  // namespace horalia
