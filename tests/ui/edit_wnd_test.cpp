// The text window: reading and saving files, asking to save on close.
#include "ui/edit_wnd.h"

#include "platform/binary_io.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "resource_ids.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(EditWnd, ReadAddsEveryLineAtTheCaret)
{
    std::string path = TestDir() + "/holes.txt";
    std::ofstream(path, std::ios::binary) << "M48\r\n" << std::string(150, 'x') << "\nX1Y2";
    CEditWnd wnd;
    wnd.Edit().WriteLine("kept");
    TestHost().QueueFileChoice({path});
    wnd.OnRead();
    EXPECT_EQ(wnd.Edit().GetLineCount(), 5);
    EXPECT_EQ(wnd.Edit().GetLineText(1), "M48");
    EXPECT_EQ(wnd.Edit().GetLineText(2), std::string(99, 'x'));
    EXPECT_EQ(wnd.Edit().GetLineText(3), std::string(51, 'x'));
    EXPECT_EQ(wnd.Edit().GetLineText(4), "X1Y2");
    EXPECT_FALSE(wnd.Edit().GetModify());
    EXPECT_EQ(wnd.m_Loaded, 1);
    EXPECT_EQ(wnd.m_FilePath, path);
    ASSERT_EQ(TestHost().FileRequests().size(), 1u);
    EXPECT_EQ(TestHost().FileRequests()[0].filter, "All File|*.*|");
    EXPECT_FALSE(TestHost().FileRequests()[0].save);
}

TEST(EditWnd, FailedReadsAndSavesReportInTheStatusText)
{
    CEditWnd wnd;
    wnd.Edit().WriteLine("text");
    struct Case {
        std::function<void()> act;
        const char* status;
    } cases[] = {
        {[&] { TestHost().QueueFileCancel(); wnd.OnRead(); }, "取消 !"},
        {[&] { TestHost().QueueFileChoice({TestDir() + "/none"}); wnd.OnRead(); }, "檔案開啟錯誤  !"},
        {[&] { TestHost().QueueFileCancel(); wnd.OnSave(); }, "取消 !"},
        {[&] { TestHost().QueueFileChoice({TestDir() + "/no/dir/f"}); wnd.OnSave(); },
         "檔案寫入錯誤  !"},
    };
    for (const Case& c : cases) {
        g_StatusText.clear();
        c.act();
        EXPECT_EQ(g_StatusText, c.status);
    }
    EXPECT_EQ(wnd.Edit().GetText(), "text\r\n");
    EXPECT_TRUE(wnd.Edit().GetModify());
    EXPECT_EQ(wnd.m_FilePath, "");
}

TEST(EditWnd, SaveWritesEveryLineWithoutTheMark)
{
    CEditWnd wnd;
    wnd.Print("%s", "50% done");
    wnd.Edit().WriteLine("\x80" "marked");
    wnd.Edit().WriteLine(std::string(300, 'y'));
    EXPECT_EQ(wnd.Edit().GetLineText(0), "50% done");
    std::string path = TestDir() + "/out.txt";
    TestHost().QueueFileChoice({path});
    wnd.OnSave();
    EXPECT_EQ(FileText(path), "50% done\nmarked\n" + std::string(300, 'y') + "\n");
    EXPECT_FALSE(wnd.Edit().GetModify());
    EXPECT_EQ(wnd.m_FilePath, path);
    EXPECT_TRUE(TestHost().FileRequests().back().save);
}

TEST(EditWnd, CreatedOnceHiddenAndClosedWithAQuestion)
{
    CEditWnd wnd;
    EXPECT_EQ(wnd.CreateOnce("量測資料編輯視窗"), 1);
    EXPECT_EQ(wnd.CreateOnce("again"), 0);
    EXPECT_TRUE(wnd.IsWindow());
    EXPECT_FALSE(wnd.IsVisible());
    wnd.ShowWindow(true);
    wnd.PressButton(IDOK);      // Enter does not close it
    EXPECT_TRUE(wnd.IsVisible());
    wnd.PressButton(IDCANCEL);  // the close box hides it
    EXPECT_TRUE(wnd.IsWindow());
    EXPECT_FALSE(wnd.IsVisible());

    // Unchanged text: closed without a question.
    wnd.SaveModified();
    EXPECT_FALSE(wnd.IsWindow());
    EXPECT_TRUE(TestHost().Boxes().empty());

    // Changed text: the question carries the window's caption; Yes saves.
    ASSERT_EQ(wnd.CreateOnce("量測資料編輯視窗"), 1);
    wnd.m_Loaded = 1;
    wnd.Edit().WriteLine("X1Y1");
    std::string path = TestDir() + "/measure.txt";
    TestHost().QueueAnswer(IDYES);
    TestHost().QueueFileChoice({path});
    wnd.SaveModified();
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].text, "是否儲存更動後的資料 ?");
    EXPECT_EQ(TestHost().Boxes()[0].caption, "量測資料編輯視窗");
    EXPECT_EQ(FileText(path), "X1Y1\n");
    EXPECT_EQ(wnd.m_Created, 0);
    EXPECT_EQ(wnd.m_Loaded, 0);
    EXPECT_FALSE(wnd.IsWindow());
    // The text stays in the store for the next showing.
    EXPECT_EQ(wnd.Edit().GetLineText(0), "X1Y1");

    // The close button: No keeps the file as it was.
    ASSERT_EQ(wnd.CreateOnce("w"), 1);
    wnd.Edit().WriteLine("X2Y2");
    TestHost().QueueAnswer(IDNO);
    wnd.PressButton(IDC_EDIT_CLOSE);
    EXPECT_FALSE(wnd.IsWindow());
    EXPECT_EQ(FileText(path), "X1Y1\n");
}

TEST(EditWnd, TheSixTextWindowsAreFreshInEveryTest)
{
    for (CEditWnd* wnd : {&g_RouteDataWnd, &g_MeasureDataWnd, &g_SettingsTextWnd, &g_MacroTextWnd,
                          &g_HoleDataWnd, &g_SpareEditWnd}) {
        EXPECT_EQ(wnd->Edit().GetLineCount(), 0);
        EXPECT_EQ(wnd->CreateOnce("x"), 1);
        wnd->Edit().WriteLine("left behind");
    }
    ResetProgramObjects();
    EXPECT_FALSE(g_HoleDataWnd.IsWindow());
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineCount(), 0);
    EXPECT_EQ(g_HoleDataWnd.CreateOnce("x"), 1);
    // Handlers act on the object itself after a reset.
    TestHost().QueueFileCancel();
    g_HoleDataWnd.PressButton(IDC_EDIT_READ);
    EXPECT_EQ(g_StatusText, "取消 !");
}

TEST(EditWnd, TheShownTextFollowsTheStoreAndTypedTextReturnsToIt)
{
    CEditWnd wnd;
    wnd.CreateOnce("route");
    wnd.Edit().WriteLine("G00X1Y1");
    // Hidden: the control is brought up to date only when shown.
    EXPECT_EQ(wnd.GetDlgItemText(IDC_EDIT_TEXT), "");
    wnd.ShowWindow(true);
    EXPECT_EQ(wnd.GetDlgItemText(IDC_EDIT_TEXT), "G00X1Y1\n");
    wnd.Edit().WriteLine("G01X2Y2");
    EXPECT_EQ(wnd.GetDlgItemText(IDC_EDIT_TEXT), "G00X1Y1\nG01X2Y2\n");

    // The user edits the control; leaving it hands the text to the store,
    // as one step that Undo takes back.
    wnd.Control(IDC_EDIT_TEXT).text = "G00X5Y5\n";
    wnd.KillFocus(IDC_EDIT_TEXT);
    EXPECT_EQ(wnd.Edit().GetLineText(0), "G00X5Y5");
    EXPECT_EQ(wnd.Edit().GetLineCount(), 1);
    EXPECT_TRUE(wnd.Edit().GetModify());
    wnd.PressButton(ID_EDIT_UNDO);
    EXPECT_EQ(wnd.Edit().GetLineCount(), 2);
    EXPECT_EQ(wnd.GetDlgItemText(IDC_EDIT_TEXT), "G00X1Y1\nG01X2Y2\n");

    // Typing and then hiding the window (its close box) keeps what was typed.
    wnd.Control(IDC_EDIT_TEXT).text = "M30\n";
    wnd.PressButton(IDCANCEL);
    EXPECT_FALSE(wnd.IsVisible());
    EXPECT_EQ(wnd.Edit().GetLineText(0), "M30");
}
