// Lines with any line end and of any length.
#include "platform/binary_io.h"
#include "platform/line_reader.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

static std::string WriteText(const std::string& name, const std::string& text)
{
    std::string path = TestDir() + "/" + name;
    WriteFileAtomically(path, text.data(), text.size());
    return path;
}

TEST(TextLineReader, AcceptsCrLfLfAndLoneCr)
{
    std::string longLine(5000, 'x');
    CTextLineReader r;
    ASSERT_TRUE(r.Open(WriteText("a.txt", "one\r\ntwo\nthree\rfour\n\n" + longLine)));
    std::vector<std::string> lines;
    std::string line;
    while (r.ReadLine(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", longLine}));
    EXPECT_EQ(r.LineNumber(), 6);
}

TEST(TextLineReader, PiecesAreCutAtTheLimitAndKeepTheLineEnd)
{
    CTextLineReader r;
    ASSERT_TRUE(r.Open(WriteText("b.txt", "abcdefg\r\nhi\n")));
    std::vector<std::string> pieces;
    std::string piece;
    while (r.ReadPiece(piece, 4))
        pieces.push_back(piece);
    EXPECT_EQ(pieces, (std::vector<std::string>{"abcd", "efg\n", "hi\n"}));
}

TEST(TextLineReader, FindsAFileWhoseNameDiffersInCase)
{
    WriteText("ORDUNE.INI", "X\n");
    CTextLineReader r;
    ASSERT_TRUE(r.Open(TestDir() + "/ordune.ini"));
    std::string line;
    EXPECT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "X");
    EXPECT_FALSE(CTextLineReader().Open(TestDir() + "/absent.ini"));
}
