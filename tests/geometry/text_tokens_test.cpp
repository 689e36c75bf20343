// Comment stripping and tokens of reader lines.
#include "geometry/text_tokens.h"

#include <gtest/gtest.h>

TEST(StripComment, CutsCommentsAndOuterBlanks)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"T1C0.8;comment", "T1C0.8"},
        {"  X100 ;c\n", "X100"},
        {";only a comment", ""},
        {"", ""},
        {"\t\tM30\t \n\n", "M30"},
        {"X1\r", "X1\r"},  // a carriage return is not a blank
        {"  ", ""},
    };
    for (const Case& c : cases) {
        std::string line = c.in;
        StripComment(line);
        EXPECT_EQ(line, c.out) << '[' << c.in << ']';
        std::string copy;
        StripCommentCopy(copy, c.in);
        EXPECT_EQ(copy, c.out);
    }
}

TEST(GetToken, SplitsOnBlanksTabsColonsAndCommas)
{
    struct Case {
        std::string line;
        int n;
        std::string token;
    } cases[] = {
        {"D10: ROUND, 12", 0, "D10"},
        {"D10: ROUND, 12", 1, "ROUND"},
        {"D10: ROUND, 12", 2, "12"},
        {"D10: ROUND, 12", 3, ""},
        {"  ,:D11\tRECT ; a comment", 1, "RECT"},
        {"  ,:D11\tRECT ; a comment", 2, ""},
        {"\x01\x02" "A B", 0, "A"},       // non-printables skipped before the first token
        {"A\x01" "B C", 0, "A"},
        {"A\x01" "B C", 1, ""},           // inside the line they end the tokens
        {"A\x01" "B C", 2, ""},
        {"A B", -1, ""},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(GetToken(line, c.n), c.token) << c.line << " #" << c.n;
    }
}

TEST(GetToken, StripsTheCallersLine)
{
    std::string line = "  D10 ROUND ;x";
    GetToken(line, 0);
    EXPECT_EQ(line, "D10 ROUND");
}

TEST(GetFirstInt, ReadsTheFirstDigitRun)
{
    struct Case {
        std::string text;
        int value;
    } cases[] = {
        {"T-12", 12}, {"no digits", 0}, {"", 0}, {"X0042Y7", 42}, {"T99999999999999", 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetFirstInt(c.text), c.value) << c.text;
}
