// On Linux every test keeps its settings in a configuration directory of its
// own; on Windows they go to the user's registry, so each test starts
// without the game's key there.

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class ForgetSettings : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Quillmoor");
    }
};

const bool registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetSettings);
    return true;
}();

} // namespace
