// The line store: writing, reading back, searching and selecting lines.
#include "ui/line_store.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Lines(CLineEdit& e)
{
    std::vector<std::string> lines;
    e.SetLineCursor(0);
    for (std::string line; e.GetNextLine(line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(LineStore, WritesReadBackLineByLine)
{
    CLineEdit e;
    EXPECT_EQ(e.GetLineCount(), 0);
    e.WriteLineF("T%02dC%.3f", 1, 0.8);
    e.WriteLineF("%s", "X100Y200");
    e.WriteLine("");
    EXPECT_EQ(e.GetText(), "T01C0.800\r\nX100Y200\r\n\r\n");
    EXPECT_EQ(e.GetLineCount(), 3);
    EXPECT_EQ(Lines(e), (std::vector<std::string>{"T01C0.800", "X100Y200", ""}));
    EXPECT_TRUE(e.GetModify());

    // Past the last line: nothing, and the buffer is emptied.
    std::string line = "old";
    EXPECT_FALSE(e.GetNextLine(line));
    EXPECT_EQ(line, "");
    // A copy into a small buffer is cut; a line is cut at its first line feed.
    EXPECT_EQ(e.GetLineText(0, 4), "T01");
    e.WriteLine("a\nb");
    EXPECT_EQ(e.GetLineText(3), "a");
    EXPECT_EQ(e.GetLineText(9), "");
    // A long write is kept whole.
    e.WriteLine(std::string(400, 'x'));
    EXPECT_EQ(e.GetLineText(4).size(), 400u);
}

TEST(LineStore, FindAndFindNextFromTheCursor)
{
    CLineEdit e;
    for (const char* line : {"FILETYPE $PROTEL", "MIL", "FILETYPE $PADS", "ROUND"})
        e.WriteLine(line);
    EXPECT_EQ(e.FindLine("FILETYPE"), 0);
    EXPECT_EQ(e.LineCursor(), 1);
    EXPECT_EQ(e.FindNextLine(), 2);
    EXPECT_EQ(e.FindNextLine(), -1);
    EXPECT_EQ(e.FindLine("GERBER"), -1);
    // The search starts again at line 0 and the cursor serves reading too.
    EXPECT_EQ(e.FindLine("MIL"), 1);
    std::string next;
    ASSERT_TRUE(e.GetNextLine(next));
    EXPECT_EQ(next, "FILETYPE $PADS");
    // Only the first 99 characters of a search text count.
    e.WriteLine(std::string(99, 'q'));
    EXPECT_EQ(e.FindLine(std::string(99, 'q') + "tail"), 4);
}

TEST(LineStore, WritesReplaceTheSelection)
{
    CLineEdit e;
    for (const char* line : {"a", "b", "c"})
        e.WriteLine(line);
    e.SelectAll();
    e.WriteLine("only");
    EXPECT_EQ(e.GetText(), "only\r\n");

    e.ClearAll();
    EXPECT_EQ(e.GetLineCount(), 0);
    for (const char* line : {"a", "b", "c"})
        e.WriteLine(line);
    e.InsertLineF(1, "new %d", 1);
    e.ReplaceLineF(3, "C%s", "!");
    EXPECT_EQ(e.GetText(), "a\r\nnew 1\r\nb\r\nC!\r\n");
    // The insertion point follows the written line.
    e.WriteLine("d");
    EXPECT_EQ(e.GetText(), "a\r\nnew 1\r\nb\r\nC!\r\nd\r\n");
    e.InsertLineF(9, "end");
    EXPECT_EQ(e.GetLineText(5), "end");

    e.SelectLine(2);
    EXPECT_EQ(e.GetText().substr(e.SelStart(), e.SelEnd() - e.SelStart()), "b");
    // A double click leaves the cursor on the clicked line.
    e.OnDoubleClick();
    EXPECT_EQ(e.LineCursor(), 2);
}

TEST(LineStore, UndoTakesBackTheUsersEditOnly)
{
    CLineEdit e;
    e.WriteLine("first");
    e.Undo();  // program writes are no undo step
    EXPECT_EQ(e.GetText(), "first\r\n");
    e.SetModify(false);
    e.SetTextByUser("typed\r\n");
    EXPECT_TRUE(e.GetModify());
    e.Undo();
    EXPECT_EQ(e.GetText(), "first\r\n");
    e.Undo();
    EXPECT_EQ(e.GetText(), "typed\r\n");

    e.SetReadOnly(true);
    e.SetTextByUser("refused");
    EXPECT_EQ(e.GetText(), "typed\r\n");
    e.WriteLine("program");  // the program still writes
    EXPECT_EQ(e.GetLineCount(), 2);
}

TEST(LineStore, LongLinesArriveInPieces)
{
    EXPECT_EQ(SplitLinePieces("", 99), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitLinePieces("abcde", 2), (std::vector<std::string>{"ab", "cd", "e"}));
    EXPECT_EQ(SplitLinePieces(std::string(99, 'x'), 99).size(), 1u);
}
