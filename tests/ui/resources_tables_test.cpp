// Menus, tool bars and dialog templates: the language library and the
// program's own resources must hold the same structure under the same ids.
#include "platform/resources.h"
#include "resource_ids.h"
#include "support/language.h"
#include "ui/dialog_template.h"
#include "ui/menu_resource.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr unsigned kMenus[] = {IDR_MAINFRAME, IDR_POPUP_EDIT, IDR_POPUP_LAYOUT,
                               IDR_POPUP_MACHINING, IDR_POPUP_PARTIAL, IDR_POPUP_PATHS,
                               IDR_POPUP_SPARE};
constexpr unsigned kToolBars[] = {IDR_MAINFRAME, IDR_MACHINING_BAR, IDR_VISION_BAR};
constexpr unsigned kDialogs[] = {IDD_ABOUTBOX, IDD_PROGRESS, IDD_WORK_ORDER, IDD_CALC_SETTINGS,
                                 IDD_EDIT_WND, IDD_SYSTEM_SETTINGS, IDD_GERBER_RECORD,
                                 IDD_APERTURE_DEF, IDD_MESSAGE, IDD_LAYER_CONTROL,
                                 IDD_GERBER_FORMAT, IDD_DRILL_FORMAT, IDD_TOOL_CHANGE,
                                 IDD_TOOL_SIZE, IDD_PATH_CALC, IDD_PATH_METHOD,
                                 IDD_POSITION, IDD_SPINDLE_SPEED, IDD_MACHINING_DATA,
                                 IDD_BOARD_POSITION_TEST, IDD_PROBE_TEST, IDD_MACHINING_COND,
                                 IDD_MACHINE_PARAMS, IDD_COMMAND, IDD_NUMBER_INPUT, IDD_JOG,
                                 IDD_ENGRAVE_DEPTH, IDD_DRILL_LIST, IDD_INPUT_SIGNAL,
                                 IDD_FIXED_PLUNGE,
                                 IDD_CAM_UPLOAD, IDD_TEXT_INPUT,
                                 IDD_PLANE_DETECT, IDD_MACHINING_REPORT,
                                 IDD_ADJUST_ORIGIN, IDD_MEASURE,
                                 IDD_WORK_RANGE, IDD_JOG_STEP, IDD_AUTO_LAYOUT};

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
    CMenuNode zh = LoadMenuTree(IDR_MAINFRAME);
    ASSERT_EQ(zh.items.size(), 4u);
    EXPECT_EQ(zh.items[0].text, "檔案(&F)");
    EXPECT_EQ(zh.items[3].text, "視窗(&W)");
    // 視窗(&W)/工具列/電路板加工
    const CMenuNode& bars = zh.items[3].items[0];
    EXPECT_EQ(bars.text, "工具列");
    EXPECT_EQ(bars.items[1].text, "電路板加工");
    EXPECT_EQ(bars.items[1].id, ID_VIEW_MACHINING_TOOLBAR);
    std::vector<unsigned> ids = MenuCommandIds(zh);
    for (unsigned id : {ID_APP_ABOUT, ID_VIEW_TOOLBAR, ID_VIEW_MACHINING_TOOLBAR,
                        ID_VIEW_VISION_TOOLBAR, ID_FILE_GERBER_FORMAT, ID_FILE_DRILL_FORMAT,
                        ID_PLAN_TOOL_WIDTH_TEST, ID_FILE_CLEAR_SYSTEM_MEMORY,
                        ID_FILE_SYSTEM_SETTINGS, ID_FILE_OPEN_PROJECT, ID_FILE_SAVE,
                        ID_COMPONENT_SIDE, ID_SOLDER_SIDE, ID_STAGE_EDIT, ID_STAGE_LAYOUT,
                        ID_MACHINE_PARAMS, ID_MACHINE_SURFACE_PROBE, ID_WINDOW_MEASURE_DATA,
                        ID_WINDOW_TIME_ESTIMATE, ID_IMPORT_DXF_TO_CAM, ID_IMPORT_HPGL_TO_CAM,
                        ID_EXPORT_CALCULATED_PATHS, ID_IMPORT_CALCULATED_PATHS,
                        ID_IMPORT_GERBER_TO_CAM, ID_IMPORT_DXF_TO_GERBER, ID_EXPORT_KXQ,
                        ID_EXPORT_LASER, ID_MANUAL_ENGRAVE, ID_MANUAL_DRILL, ID_MANUAL_FIND_HOLES,
                        ID_MACHINE_TOOL_CHANGE, ID_SPINDLE_SPEED, ID_WINDOW_MACHINE_INPUTS,
                        ID_FIXED_PLUNGE_MODE, ID_UPLOAD_DRILL, ID_UPLOAD_CAM_PATHS})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    EXPECT_EQ(LoadMenuTree(IDR_MAINFRAME).items[0].text, "&File");
}

TEST(ResourceTables, EveryToolBarButtonHasATipInBothLanguages)
{
    auto check = [](const char* language) {
        for (unsigned bar : kToolBars)
            for (const OrduneToolBarButton& b : LoadToolBarResource(bar)) {
                if (b.id == 0 || b.id == ID_ADD_T4_ISO_RANGE)  // it has no prompt
                    continue;
                std::string prompt = LoadResString(b.id);
                EXPECT_NE(prompt.find('\n'), std::string::npos) << language << " " << b.id;
            }
    };
    check("Chinese");
    EXPECT_EQ(LoadResString(ID_FILE_NEW), "建立新資料\n建立新資料");
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    check("English");
}

TEST(ResourceTables, AResourceMissingFromTheLibraryComesFromTheProgram)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    CDialogTemplate t;
    EXPECT_TRUE(LoadDialogTemplate(IDD_WORK_ORDER, t));
    EXPECT_EQ(t.caption, "Work Order");
    EXPECT_FALSE(LoadDialogTemplate(9999, t));
    EXPECT_TRUE(LoadMenuTree(9999).items.empty());
    // The progress caption exists only in the language library.
    EXPECT_EQ(LoadResString(IDS_PROGRESS_CAPTION), "Calculation progress");
    FreeLanguageLibrary();
    EXPECT_EQ(LoadResString(IDS_PROGRESS_CAPTION), "");
    EXPECT_TRUE(LoadDialogTemplate(IDD_WORK_ORDER, t));
    EXPECT_EQ(t.caption, "工單設定");
}
