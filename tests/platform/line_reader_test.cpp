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

// The first line of a file as a reader opening it now finds it.
static std::string FirstLine(const std::string& path)
{
    CTextLineReader r;
    std::string line;
    EXPECT_TRUE(r.Open(path));
    r.ReadLine(line);
    return line;
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

// A load reads each of its files once: while the texts are kept, a change on
// disk does not reach a named file's later readers; a file not named, and
// every file once the keeping has ended, is read as it now stands.
TEST(TextLineReader, KeptTextsAreReadOnceAndOnlyWhileKept)
{
    const std::string named = WriteText("named.txt", "first\n");
    const std::string other = WriteText("other.txt", "first\n");
    {
        CKeptFileTexts kept{named};
        EXPECT_EQ(FirstLine(named), "first");
        EXPECT_TRUE(IsKeptFileText(named));
        WriteText("named.txt", "second\n");
        WriteText("other.txt", "second\n");
        EXPECT_EQ(FirstLine(named), "first");
        EXPECT_EQ(FirstLine(other), "second");
        EXPECT_FALSE(IsKeptFileText(other));
    }
    EXPECT_EQ(FirstLine(named), "second");
    EXPECT_FALSE(IsKeptFileText(named));
}

// A kept text let go of is read afresh by the next reader, which keeps that
// text again; the other kept texts stay as they were.
TEST(TextLineReader, ADroppedTextIsReadAfreshAndKeptAgain)
{
    const std::string dropped = WriteText("dropped.txt", "first\n");
    const std::string still = WriteText("still.txt", "first\n");
    CKeptFileTexts kept{dropped, still};
    EXPECT_EQ(FirstLine(dropped), "first");
    EXPECT_EQ(FirstLine(still), "first");
    WriteText("dropped.txt", "second\n");
    WriteText("still.txt", "second\n");
    DropKeptFileText(dropped);
    EXPECT_FALSE(IsKeptFileText(dropped));
    EXPECT_EQ(FirstLine(dropped), "second");
    EXPECT_TRUE(IsKeptFileText(dropped));
    WriteText("dropped.txt", "third\n");
    EXPECT_EQ(FirstLine(dropped), "second");
    EXPECT_EQ(FirstLine(still), "first");
    // A file never named stays unnamed.
    DropKeptFileText(TestDir() + "/unnamed.txt");
    EXPECT_FALSE(IsKeptFileText(TestDir() + "/unnamed.txt"));
}

// A named file that is empty or cannot be read is never taken as kept, so
// the readability check still looks at it.
TEST(TextLineReader, EmptyOrMissingNamedFilesAreNotKept)
{
    const std::string empty = WriteText("empty.txt", "");
    const std::string missing = TestDir() + "/missing.txt";
    CKeptFileTexts kept{empty, missing};
    EXPECT_TRUE(ReadKeptFileText(empty));
    EXPECT_FALSE(IsKeptFileText(empty));
    EXPECT_FALSE(ReadKeptFileText(missing));
    EXPECT_FALSE(CTextLineReader().Open(missing));
}

// A file of some hundred kilobytes is read by another route than a short one;
// its lines, line ends and last line come out the same, and a kept text of it
// outlives the file's change on disk.
TEST(TextLineReader, ALargeFileReadsLikeASmallOne)
{
    std::string text;
    std::vector<std::string> expected;
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int k = 0; text.size() < 600 * 1024; ++k) {
        expected.push_back("X" + std::to_string(k * 37) + "Y" + std::to_string(k) + "D01*");
        text += expected.back() + ends[k % 3];
    }
    expected.push_back("M02*");
    text += expected.back();  // the last line without its end
    const std::string path = WriteText("large.gbr", text);

    auto lines = [](const std::string& file) {
        CTextLineReader r;
        std::vector<std::string> read;
        EXPECT_TRUE(r.Open(file));
        std::string line;
        while (r.ReadLine(line))
            read.push_back(line);
        EXPECT_FALSE(r.LastLineEnded());
        EXPECT_EQ(r.LineNumber(), long(read.size()));
        return read;
    };
    EXPECT_EQ(lines(path), expected);
    {
        CKeptFileTexts kept{path};
        EXPECT_EQ(lines(path), expected);
        EXPECT_TRUE(IsKeptFileText(path));
        WriteText("large.gbr", "M02*");
        EXPECT_EQ(lines(path), expected);
    }
    EXPECT_EQ(lines(path), std::vector<std::string>{"M02*"});
}
