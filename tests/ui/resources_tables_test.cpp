// Menus, tool bars and dialog templates: the language library and the
// program's own resources must hold the same structure under the same ids.
#include "platform/resources.h"
#include "support/language.h"
#include "ui/dialog_template.h"
#include "ui/menu_resource.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr unsigned kMenus[] = {128, 138, 152, 137, 170, 176, 167};
constexpr unsigned kToolBars[] = {128, 220, 235};
constexpr unsigned kDialogs[] = {100, 106, 154, 178, 185, 190, 194, 196, 213, 224, 225};

// The shape of a menu without its texts.
std::string Shape(const CMenuNode& node)
{
    std::string shape;
    for (const CMenuNode& item : node.items)
        shape += item.separator ? "-" : item.IsPopup() ? "[" + Shape(item) + "]"
                                                       : std::to_string(item.id) + ",";
    return shape;
}

struct Snapshot {
    std::vector<std::string> menus;
    std::vector<std::vector<unsigned>> toolBars;
    std::vector<std::string> dialogs;
};

Snapshot Take()
{
    Snapshot s;
    for (unsigned id : kMenus)
        s.menus.push_back(Shape(LoadMenuTree(id)));
    for (unsigned id : kToolBars) {
        std::vector<unsigned> ids;
        for (const OrduneToolBarButton& b : LoadToolBarResource(id))
            ids.push_back(b.id);
        s.toolBars.push_back(ids);
    }
    for (unsigned id : kDialogs) {
        CDialogTemplate t;
        std::string shape = LoadDialogTemplate(id, t) ? "" : "missing";
        for (const OrduneDialogItem& c : t.controls)
            shape += std::to_string(c.kind) + ":" + std::to_string(c.id) + "@" +
                     std::to_string(c.x) + "," + std::to_string(c.y) + " ";
        s.dialogs.push_back(shape);
    }
    return s;
}

}  // namespace

TEST(ResourceTables, BothLanguagesHaveTheSameMenusToolBarsAndDialogs)
{
    Snapshot chinese = Take();
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    Snapshot english = Take();
    EXPECT_EQ(chinese.menus, english.menus);
    EXPECT_EQ(chinese.toolBars, english.toolBars);
    EXPECT_EQ(chinese.dialogs, english.dialogs);
    for (const std::string& d : english.dialogs)
        EXPECT_NE(d, "missing");
}

TEST(ResourceTables, MainMenuCarriesTheNamedCommandsInBothLanguages)
{
    CMenuNode zh = LoadMenuTree(128);
    ASSERT_EQ(zh.items.size(), 4u);
    EXPECT_EQ(zh.items[0].text, "檔案(&F)");
    EXPECT_EQ(zh.items[3].text, "視窗(&W)");
    // 視窗(&W)/工具列/電路板加工
    const CMenuNode& bars = zh.items[3].items[0];
    EXPECT_EQ(bars.text, "工具列");
    EXPECT_EQ(bars.items[1].text, "電路板加工");
    EXPECT_EQ(bars.items[1].id, 33114u);
    std::vector<unsigned> ids = MenuCommandIds(zh);
    for (unsigned id : {57664u, 59392u, 33114u, 33184u, 33136u, 33137u, 33139u, 33225u, 33017u,
                        32905u, 32906u, 33040u, 33041u, 32843u, 32845u, 32934u, 33010u, 33014u,
                        33034u, 33131u, 33133u, 33144u, 33145u, 33148u, 33130u, 33279u, 33281u,
                        33211u, 33212u, 33224u, 33037u, 33216u, 33242u, 33262u, 33264u, 33269u})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    EXPECT_EQ(LoadMenuTree(128).items[0].text, "&File");
}

TEST(ResourceTables, EveryToolBarButtonHasATipInBothLanguages)
{
    auto check = [](const char* language) {
        for (unsigned bar : kToolBars)
            for (const OrduneToolBarButton& b : LoadToolBarResource(bar)) {
                if (b.id == 0 || b.id == 33278)  // 33278 has no prompt
                    continue;
                std::string prompt = LoadResString(b.id);
                EXPECT_NE(prompt.find('\n'), std::string::npos) << language << " " << b.id;
            }
    };
    check("Chinese");
    EXPECT_EQ(LoadResString(32915), "建立新資料\n建立新資料");
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    check("English");
}

TEST(ResourceTables, AResourceMissingFromTheLibraryComesFromTheProgram)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    CDialogTemplate t;
    EXPECT_TRUE(LoadDialogTemplate(154, t));
    EXPECT_EQ(t.caption, "Work Order");
    EXPECT_FALSE(LoadDialogTemplate(9999, t));
    EXPECT_TRUE(LoadMenuTree(9999).items.empty());
    // The progress caption 105 exists only in the language library.
    EXPECT_EQ(LoadResString(105), "Calculation progress");
    FreeLanguageLibrary();
    EXPECT_EQ(LoadResString(105), "");
    EXPECT_TRUE(LoadDialogTemplate(154, t));
    EXPECT_EQ(t.caption, "工單設定");
}
