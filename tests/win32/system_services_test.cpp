// The Windows counterparts of the POSIX pieces: the settings store in the
// registry and directory listings through the system's file search.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/high_scores.h"
#include "platform/directory.h"
#include "platform/settings_store.h"
#include "platform/user_paths.h"
#include "platform/utf8_path.h"
#include "platform/win32/backend.h"
#include "support/temporary_directory.h"

namespace {

// A key of this test's own, removed for the user and the machine afterwards.
class RegistryKey : public testing::Test {
  protected:
    RegistryKey() : path("SOFTWARE\\BlokitTest\\" + std::to_string(GetCurrentProcessId())) {}
    ~RegistryKey() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    }
    void store(HKEY root, const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueA(root, path.c_str(), name, type, data, size), ERROR_SUCCESS);
    }
    std::string read(const char* name) {
        platform::SettingsKey* key = platform::open_settings_key(path.c_str());
        char buffer[16] = {};
        std::uint32_t size = sizeof buffer;
        const bool found = key && platform::query_settings_value(key, name, buffer, size);
        platform::close_settings_key(key);
        return found ? std::string(buffer) + "/" + std::to_string(size) : "missing";
    }

    std::string path;
};

TEST_F(RegistryKey, KeysAreCreatedOnceForTheUserAndValuesCarryTheirZero) {
    EXPECT_EQ(platform::open_settings_key(path.c_str()), nullptr);
    platform::KeyDisposition disposition{};
    platform::SettingsKey* key = platform::create_settings_key(path.c_str(), "Store", disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(disposition, platform::KeyDisposition::CreatedNewKey);
    EXPECT_TRUE(platform::set_settings_value(key, "Options", "1 0", 4));
    platform::close_settings_key(key);
    key = platform::create_settings_key(path.c_str(), "Store", disposition);
    EXPECT_EQ(disposition, platform::KeyDisposition::OpenedExistingKey);
    platform::close_settings_key(key);

    char stored[8] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "Options", RRF_RT_REG_SZ, nullptr,
                           stored, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(stored, "1 0");
    EXPECT_EQ(read("options"), "1 0/4");

    // A buffer too small keeps what it held and learns the size needed.
    key = platform::open_settings_key(path.c_str());
    char buffer[8] = "zzzzzzz";
    std::uint32_t small = 3;
    EXPECT_FALSE(platform::query_settings_value(key, "Options", buffer, small));
    EXPECT_EQ(small, 4u);
    EXPECT_STREQ(buffer, "zzzzzzz");
    EXPECT_FALSE(platform::query_settings_value(key, "Missing", buffer, small));
    platform::close_settings_key(key);
}

TEST_F(RegistryKey, TheUsersValueWinsOverTheMachinesWhichIsReadWhenTheUserHasNone) {
    store(HKEY_LOCAL_MACHINE, "Options", REG_SZ, "1 1", 4);
    EXPECT_EQ(read("Options"), "1 1/4");
    platform::KeyDisposition disposition{};
    platform::SettingsKey* key = platform::create_settings_key(path.c_str(), "Store", disposition);
    EXPECT_EQ(disposition, platform::KeyDisposition::CreatedNewKey);
    EXPECT_TRUE(platform::set_settings_value(key, "Options", "0 1", 4));
    platform::close_settings_key(key);
    EXPECT_EQ(read("Options"), "0 1/4");
    char machine[8] = {};
    DWORD size = sizeof machine;
    RegGetValueA(HKEY_LOCAL_MACHINE, path.c_str(), "Options", RRF_RT_REG_SZ, nullptr, machine,
                 &size);
    EXPECT_STREQ(machine, "1 1");
}

TEST_F(RegistryKey, ValuesEditedInByHandAreReadSafely) {
    store(HKEY_CURRENT_USER, "Unended", REG_SZ, "12", 2);
    store(HKEY_CURRENT_USER, "Early", REG_SZ, "1\0xyz", 6);
    const DWORD number = 7;
    store(HKEY_CURRENT_USER, "Number", REG_DWORD, &number, sizeof number);
    const std::string huge(platform::settings_file_limit + 10, 'x');
    store(HKEY_CURRENT_USER, "Huge", REG_SZ, huge.c_str(), static_cast<DWORD>(huge.size() + 1));
    EXPECT_EQ(read("Unended"), "12/3");
    EXPECT_EQ(read("Early"), "1/2");
    EXPECT_EQ(read("Number"), "missing");
    EXPECT_EQ(read("Huge"), "missing");
}

TEST(DirectoryListing, ListsEveryEntryWithItsKind) {
    const std::filesystem::path directory = make_temporary_directory("blokit-list");
    std::filesystem::create_directory(directory / "Sub");
    std::ofstream(directory / "DATA.ONE") << "x";
    std::map<std::string, bool> seen;
    platform::DirectoryEntry entry;
    platform::DirectorySearch* search = platform::find_first_entry(directory.string(), entry);
    ASSERT_NE(search, nullptr);
    do
        seen[entry.name] = entry.is_directory;
    while (platform::find_next_entry(search, entry));
    platform::find_close(search);
    EXPECT_EQ(seen, (std::map<std::string, bool>{
                        {".", true}, {"..", true}, {"DATA.ONE", false}, {"Sub", true}}));
    EXPECT_EQ(platform::find_first_entry((directory / "Missing").string(), entry), nullptr);
    std::filesystem::remove_all(directory);
}

// One table wherever the game starts: beside the program when its folder
// takes files, else in the user's application data folder.
TEST(OwnFilesDirectory, IsTheProgramsFolderWhenWritableElseTheApplicationData) {
    const std::string program = platform::executable_directory();
    EXPECT_EQ(platform::own_files_directory(), program);
    const std::filesystem::path scratch = make_temporary_directory("blokit-own");
    EXPECT_EQ(win32::own_files_directory(scratch.string()), scratch.string());
    EXPECT_TRUE(std::filesystem::is_empty(scratch)); // the probe leaves nothing

    const std::string appdata = std::getenv("APPDATA");
    const std::string missing = (scratch / "missing").string();
    EXPECT_EQ(win32::own_files_directory(missing), appdata + "\\Blokit");
    EXPECT_EQ(win32::own_files_directory(""), appdata + "\\Blokit");
    _putenv("APPDATA=");
    EXPECT_EQ(win32::own_files_directory(missing), "");
    _putenv(("APPDATA=" + appdata).c_str());
    std::filesystem::remove_all(scratch);
}

// The program's code page is UTF-8, so a folder named in any script works
// through the narrow file functions and the table is kept there.
TEST(OwnFilesDirectory, AFolderNamedInAnyScriptKeepsTheTable) {
    ASSERT_EQ(GetACP(), CP_UTF8);
    const std::filesystem::path scratch = make_temporary_directory("blokit-utf8");
    const std::string folder = platform::utf8_text(scratch) + "\\Блокит";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(win32::own_files_directory(folder), folder);
    high_score_directory = platform::utf8_path(folder);
    high_scores[0].score = 4242;
    EXPECT_TRUE(save_high_scores());
    high_scores[0].score = 0;
    load_high_scores();
    EXPECT_EQ(high_scores[0].score, 4242);
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch / L"\u0411\u043b\u043e\u043a\u0438\u0442" /
                                                 "HISCORE.DAT"));
    high_score_directory = std::filesystem::path();
    std::filesystem::remove_all(scratch);
}

} // namespace
