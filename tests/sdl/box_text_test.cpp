#include "platform/sdl/box_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>

namespace {

TEST(BoxText, TabsBecomeSpacesToTheNextStopOfEightCharacters) {
    EXPECT_EQ(sdl::expand_tabs("\tmail"), "        mail");
    EXPECT_EQ(sdl::expand_tabs("ab\tc\n\td"), "ab      c\n        d");
    // An umlaut is two bytes but one character.
    EXPECT_EQ(sdl::expand_tabs("M\xC3\xBChle\t|"), "M\xC3\xBChle   |");
    EXPECT_EQ(sdl::expand_tabs("12345678\t"), "12345678        ");
}

// A box is as wide as its widest line: a short text is filled out so that
// the caption fits the title bar, counted in characters, not bytes.
TEST(BoxText, AShortTextIsWidenedForItsCaption) {
    const std::string caption = "Error loading file";
    const std::string widened = sdl::widen_for_caption("QMBLOKIT.MDS", caption);
    EXPECT_EQ(widened, "QMBLOKIT.MDS" + std::string(26, ' ')); // 18 + 20 columns in all
    EXPECT_EQ(sdl::widen_for_caption("a\nb", "\xC3\x9C"), "a" + std::string(20, ' ') + "\nb");
    const std::string credits = "Programming and graphics: Quillmoor Software\n\nPlay?";
    EXPECT_EQ(sdl::widen_for_caption(credits, "QM-Blokit"), credits);
    EXPECT_EQ(sdl::widen_for_caption("", "ab"), std::string(22, ' '));
}

std::string current_locale() {
    return std::setlocale(LC_ALL, nullptr);
}

bool reads_utf8() {
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

// LANG names a locale this machine lacks; LC_ALL=C one it has but that
// reads plain ASCII. Either way a box reads UTF-8 and everything is as
// before afterwards.
TEST(BoxText, BoxesReadUtf8WhateverTheUsersLocale) {
    const std::string before = current_locale();
    const char* lang = std::getenv("LANG");
    const std::string user_lang = lang ? lang : "";
    setenv("LANG", "de_DE.UTF-8", 1);
    unsetenv("LC_ALL");
    {
        const sdl::Utf8Locale box;
        EXPECT_TRUE(reads_utf8());
    }
    EXPECT_EQ(current_locale(), before);

    setenv("LC_ALL", "C", 1);
    {
        const sdl::Utf8Locale box;
        EXPECT_TRUE(reads_utf8());
        EXPECT_STREQ(std::getenv("LC_ALL"), "C.UTF-8");
    }
    EXPECT_STREQ(std::getenv("LC_ALL"), "C");
    EXPECT_EQ(current_locale(), before);
    unsetenv("LC_ALL");
    setenv("LANG", user_lang.c_str(), 1);
}

} // namespace
