#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/language.h"
#include "platform/posix/locale.h"

using platform::lang_id_from_locale;

TEST(LanguageFromLocale, GermanLocalesGiveGermanWithTheirRegion) {
    EXPECT_EQ(lang_id_from_locale("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(lang_id_from_locale("de_CH.UTF-8"), 0x0807);
    EXPECT_EQ(lang_id_from_locale("de_AT@euro"), 0x0C07);
    EXPECT_EQ(lang_id_from_locale("de_LU"), 0x1007);
    // Without a known region it is still German.
    EXPECT_EQ(lang_id_from_locale("de"), 0x0407);
    EXPECT_EQ(lang_id_from_locale("de.UTF-8"), 0x0407);
    EXPECT_EQ(lang_id_from_locale("de_BE"), 0x0407);
    for (const char* name : {"de_DE.UTF-8", "de_CH", "de"})
        EXPECT_EQ(lang_id_from_locale(name) & platform::primary_language_mask, 7) << name;
}

TEST(LanguageFromLocale, EverythingElseGivesEnglish) {
    for (const char* name : {"en_US.UTF-8", "en_GB", "C", "C.UTF-8", "POSIX", "fr_DE.UTF-8",
                             "dex_DE", "d", "", "_DE", "@de"})
        EXPECT_EQ(lang_id_from_locale(name), 0x0409) << name;
    EXPECT_EQ(lang_id_from_locale(nullptr), 0x0409);
}

TEST(LanguageFromLocale, LcAllBeatsLcMessagesBeatsLangAndEmptyOnesAreSkipped) {
    setenv("LC_ALL", "de_CH.UTF-8", 1);
    setenv("LC_MESSAGES", "en_US.UTF-8", 1);
    setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_STREQ(platform::messages_locale(), "de_CH.UTF-8");
    setenv("LC_ALL", "", 1);
    EXPECT_STREQ(platform::messages_locale(), "en_US.UTF-8");
    unsetenv("LC_MESSAGES");
    EXPECT_STREQ(platform::messages_locale(), "fr_FR.UTF-8");
    unsetenv("LANG");
    unsetenv("LC_ALL");
    EXPECT_EQ(platform::messages_locale(), nullptr);
}
