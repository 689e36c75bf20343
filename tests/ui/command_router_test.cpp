// Commands reach the first table that handles them; update handlers decide
// enabled and checked; unbuilt commands are disabled; no re-entry.
#include "ui/command_router.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Tables {
    CCommandTable view, document, frame, app;
    Tables()
    {
        CommandRouter().Attach(CommandLevel::View, &view);
        CommandRouter().Attach(CommandLevel::Document, &document);
        CommandRouter().Attach(CommandLevel::Frame, &frame);
        CommandRouter().Attach(CommandLevel::Application, &app);
    }
};

bool Enabled(unsigned id)
{
    CCmdUI ui(id);
    return CommandRouter().UpdateCommandUI(ui);
}

}  // namespace

TEST(CommandRouter, TheViewComesFirstThenDocumentFrameAndApplication)
{
    Tables t;
    std::string ran;
    t.app.OnCommand(1, [&] { ran += "app1 "; });
    t.frame.OnCommand(1, [&] { ran += "frame1 "; });
    t.document.OnCommand(2, [&] { ran += "doc2 "; });
    t.view.OnCommand(2, [&] { ran += "view2 "; });
    t.app.OnCommand(3, [&] { ran += "app3 "; });
    EXPECT_TRUE(CommandRouter().Dispatch(1));
    EXPECT_TRUE(CommandRouter().Dispatch(2));
    EXPECT_TRUE(CommandRouter().Dispatch(3));
    EXPECT_FALSE(CommandRouter().Dispatch(4));
    EXPECT_EQ(ran, "frame1 view2 app3 ");
}

TEST(CommandRouter, UpdateHandlersDecideAndUnbuiltCommandsAreDisabled)
{
    Tables t;
    int runs = 0;
    bool allow = false;
    t.document.OnCommand(10, [&] { ++runs; });
    t.document.OnUpdateCommand(10, [&](CCmdUI& ui) {
        ui.Enable(allow);
        ui.SetCheck(allow ? 1 : 0);
    });
    t.frame.OnCommand(11, [&] { ++runs; });
    EXPECT_FALSE(Enabled(10));
    EXPECT_FALSE(CommandRouter().Dispatch(10));  // disabled: refused
    allow = true;
    CCmdUI ui(10);
    EXPECT_TRUE(CommandRouter().UpdateCommandUI(ui));
    EXPECT_EQ(ui.m_Check, 1);
    EXPECT_TRUE(CommandRouter().Dispatch(10));
    EXPECT_TRUE(Enabled(11));   // a handler and no update handler
    EXPECT_FALSE(Enabled(12));  // nobody handles it yet
    EXPECT_EQ(runs, 1);

    // An update handler alone does not make a command whose work is not
    // built usable (it still checks the item); a status pane, which runs
    // nothing, follows its handler.
    t.document.OnUpdateCommand(13, [](CCmdUI& u) {
        u.Enable(true);
        u.SetCheck(1);
    });
    CCmdUI unbuilt(13);
    EXPECT_FALSE(CommandRouter().UpdateCommandUI(unbuilt));
    EXPECT_EQ(unbuilt.m_Check, 1);
    EXPECT_FALSE(CommandRouter().Dispatch(13));
    CCmdUI pane(13, CCmdUI::Pane);
    EXPECT_TRUE(CommandRouter().UpdateCommandUI(pane));
}

TEST(CommandRouter, ACommandIsNotReenteredWhileItRuns)
{
    Tables t;
    int runs = 0, idles = 0;
    bool inner = true;
    CommandRouter().SetIdleCallback([&] { ++idles; });
    t.view.OnCommand(20, [&] {
        ++runs;
        // Long work pumps messages: the same command and another arrive.
        inner = CommandRouter().Dispatch(20);
        EXPECT_TRUE(CommandRouter().Dispatch(21));
        EXPECT_EQ(CommandRouter().RunningDepth(), 1);
    });
    t.view.OnCommand(21, [&] { EXPECT_EQ(CommandRouter().RunningDepth(), 2); });
    EXPECT_TRUE(CommandRouter().Dispatch(20));
    EXPECT_FALSE(inner);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(CommandRouter().RunningDepth(), 0);
    EXPECT_EQ(idles, 1);  // only when the outermost command returned
    {
        CBusyScope work;  // long work that is no command counts the same
        EXPECT_EQ(CommandRouter().RunningDepth(), 1);
        EXPECT_TRUE(CommandRouter().Dispatch(21));
        EXPECT_EQ(idles, 1);
    }
    EXPECT_EQ(idles, 2);
    CommandRouter().SetIdleCallback(nullptr);
}

TEST(CommandRouter, ATableThatGoesAwayDetachesItself)
{
    auto table = std::make_unique<CCommandTable>();
    table->OnCommand(30, [] {});
    CommandRouter().Attach(CommandLevel::Document, table.get());
    EXPECT_TRUE(Enabled(30));
    table.reset();
    EXPECT_FALSE(Enabled(30));
    EXPECT_FALSE(CommandRouter().Dispatch(30));
}

TEST(CommandRouter, TheWorkScopeOpensAndClosesOncePerOutermostCommand)
{
    Tables t;
    std::string trace;
    CommandRouter().SetWorkScope([&] { trace += "begin "; }, [&] { trace += "end "; });
    t.view.OnCommand(30, [&] {
        trace += "outer ";
        CommandRouter().Dispatch(31);  // a command arriving while this one pumps
    });
    t.view.OnCommand(31, [&] { trace += "inner "; });
    EXPECT_TRUE(CommandRouter().Dispatch(30));
    EXPECT_TRUE(CommandRouter().Dispatch(31));
    EXPECT_EQ(trace, "begin outer inner end begin inner end ");
}
