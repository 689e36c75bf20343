// Every command the running program handles can be reached by the operator:
// it sits in the menu bar, in a right-button menu that some work stage
// opens, or on a tool bar, in both languages. The few that are meant to be
// out of reach are listed with the reason.
#include "app/main_frame.h"
#include "app/qt_test_app.h"
#include "app/velm_app.h"
#include "document/velm_doc.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "support/resource_id_header.h"
#include "ui/cmd_ui.h"
#include "ui/command_router.h"
#include "view/qt/board_widget.h"
#include "view/velm_view.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// Commands deliberately in no menu and on no tool bar.
const std::map<unsigned, const char*> kOutOfReach = {
    {ID_EDIT_UNDO, "the Undo button of the text windows, not a menu command"},
    {ID_CALC_ISOLATION_LINES, "reached through Path calculation's dialog and the macros"},
    {ID_MACHINE_ISOLATE, "the isolation part of Engrave, which runs it; kept for the macros"},
    {ID_MACHINE_MILL, "the milling part of Engrave, which runs it; kept for the macros"},
    {ID_MACHINE_ISOLATE_MILL, "the combined run of Engrave's parts; kept for the macros"},
    {ID_RESET_ENGRAVER, "the controller set-up that connecting already runs"},
    {ID_MACHINE_EMPTY, "an empty command that only has an enable rule"},
    {ID_MACHINE_MONITOR, "position monitoring, for servicing the machine"},
    {ID_COMMAND_CONSOLE, "low-level controller commands, for servicing the machine"},
    {ID_MACHINE_TRAVEL_TEST, "runs the table to its far corner at rising speeds: servicing only"},
    {ID_VISION_SYSTEM, "the camera's origin adjustment, started from the vision keys"},
    {ID_ADD_FULL_CLEAR_AREA, "a clearing area over the whole board, which path calculation makes"},
    {ID_RESET_CLEAR_DONE, "clears the done marks that Continue relies on: servicing only"},
    {ID_RESET_ISO_DONE, "clears every trim mark of the calculated segments at once: servicing only"},
    {ID_PATH_STAGE_HIDE_ROUTE, "arms the range mode without a layer; the range buttons arm it with theirs"},
    {ID_MILL_PADS, "the pad clearing that the processing macros run"},
    {ID_CMD_EL, "the controller's contact stop switched by hand: servicing only"},
    {ID_CMD_DL, "the controller's contact stop switched by hand: servicing only"},
    {ID_CMD_EB0, "the drives switched by hand: servicing only"},
    {ID_CMD_EB1, "the drives switched by hand: servicing only"},
};

// The command ids named in resource_ids.h (ID_, not the status panes).
std::map<unsigned, std::string> NamedCommands()
{
    std::map<unsigned, std::string> ids;
    for (const CResourceIdLine& line : ReadResourceIdHeader().value_or(
             std::vector<CResourceIdLine>{}))
        if (line.prefix == "ID" && line.name.rfind("ID_INDICATOR_", 0) != 0)
            ids.emplace(line.value, line.name);
    return ids;
}

// The ids of the menu bar, the stage popups and the tool bars of one
// language's tables.
std::set<unsigned> ReachableIds(const OrduneResourceModule& module)
{
    const std::set<unsigned> menus = {IDR_MAINFRAME, IDR_POPUP_EDIT, IDR_POPUP_LAYOUT,
                                      IDR_POPUP_PARTIAL, IDR_POPUP_MACHINING};
    std::set<unsigned> ids;
    for (std::size_t i = 0; i < module.menuItemCount; ++i)
        if (menus.count(module.menus[i].menu) && module.menus[i].id != 0)
            ids.insert(module.menus[i].id);
    for (std::size_t i = 0; i < module.toolBarButtonCount; ++i)
        ids.insert(module.toolBars[i].id);
    return ids;
}

}  // namespace

TEST(CommandReach, EveryHandledCommandIsInAMenuOrOnAToolBarInBothLanguages)
{
    TestQtApp();
    // The program's own application object: the frame's board view takes
    // its document.
    CVelmApp& app = theApp;
    ASSERT_TRUE(app.InitInstance({"/nologo"}, false));
    auto* board = app.MainFrame()->findChild<CBoardWidget*>();
    ASSERT_TRUE(board && board->View());
    const CCommandTable& view = board->View()->m_Commands;
    const CCommandTable& doc = app.Document()->m_Commands;
    // The frame's and the application's own commands show as enabled: no
    // update handler of theirs disables one.
    auto handled = [&](unsigned id) {
        CCmdUI ui(id);
        return view.HasCommand(id) || doc.HasCommand(id) || CommandRouter().UpdateCommandUI(ui);
    };
    ASSERT_TRUE(LanguageResources());
    const std::map<std::string, std::set<unsigned>> languages = {
        {"Chinese", ReachableIds(ProgramResources())},
        {"English", ReachableIds(*LanguageResources())},
    };
    const std::map<unsigned, std::string> named = NamedCommands();
    ASSERT_GT(named.size(), 100u);
    for (const auto& [id, name] : named) {
        if (kOutOfReach.count(id) || !handled(id))
            continue;
        for (const auto& [language, reachable] : languages)
            EXPECT_TRUE(reachable.count(id)) << name << " is unreachable in " << language;
    }
    // The list holds only commands that are handled and really out of reach.
    for (const auto& [id, reason] : kOutOfReach) {
        EXPECT_TRUE(handled(id)) << id << " is no longer handled: " << reason;
        for (const auto& [language, reachable] : languages)
            EXPECT_FALSE(reachable.count(id)) << id << " is reachable in " << language;
    }
    app.ExitInstance();
}
