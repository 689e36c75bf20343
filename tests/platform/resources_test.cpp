// The string table: the language library first, the program's own second.
#include "platform/resources.h"
#include "resource_ids.h"
#include "support/language.h"

#include <gtest/gtest.h>

TEST(Resources, ProgramTableIsChineseAndMissingIdsAreEmpty)
{
    EXPECT_EQ(LoadResString(IDS_MAX_ZOOM), "目前是最大的放大倍率 !");
    EXPECT_EQ(LoadResString(1), "");
}

TEST(Resources, EnglishLibraryTakesPrecedenceUntilFreed)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    EXPECT_TRUE(LanguageLibraryLoaded());
    EXPECT_EQ(LoadResString(IDS_MAX_ZOOM), "This is the largest magnification !");
    EXPECT_EQ(LoadResString(IDS_KX1300), "KX1300");
    FreeLanguageLibrary();
    EXPECT_EQ(LoadResString(IDS_MAX_ZOOM), "目前是最大的放大倍率 !");
}

TEST(Resources, EveryChineseTextHasAnEnglishOne)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    const OrduneResourceModule& own = ProgramResources();
    const OrduneResourceModule* english = LanguageResources();
    ASSERT_NE(english, nullptr);
    for (std::size_t i = 0; i < own.stringCount; ++i) {
        unsigned id = own.strings[i].id;
        bool found = false;
        for (std::size_t j = 0; j < english->stringCount; ++j)
            found = found || (english->strings[j].id == id && *english->strings[j].text);
        EXPECT_TRUE(found) << id;
    }
    FreeLanguageLibrary();
}

TEST(Resources, AMissingOrForeignLibraryIsRefusedAndChangesNothing)
{
    std::string error;
    EXPECT_FALSE(LoadLanguageLibrary("chinese.DLL", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(LoadLanguageLibrary("/lib/x86_64-linux-gnu/libm.so.6", &error));
    EXPECT_NE(error.find("not a language library"), std::string::npos);
    EXPECT_FALSE(LanguageLibraryLoaded());
}
