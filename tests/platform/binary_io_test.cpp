// Little-endian fields and whole-file helpers.
#include "platform/binary_io.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

TEST(BinaryIo, WritesFieldsLittleEndianAndReadsThemBack)
{
    CBinaryWriter w;
    w.U8(0xAB);
    w.I16(-2);
    w.I32(1000);
    w.F32(1.0f);
    w.F64(-2.5);
    w.FixedText("top", 6);
    const std::vector<std::uint8_t> expected = {
        0xAB, 0xFE, 0xFF, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3F,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0, 't', 'o', 'p', 0, 0, 0};
    EXPECT_EQ(w.Data(), expected);

    CBinaryReader r(w.Data());
    std::uint8_t u8 = 0;
    std::int16_t i16 = 0;
    std::int32_t i32 = 0;
    float f = 0;
    double d = 0;
    std::string text;
    EXPECT_TRUE(r.U8(u8) && r.I16(i16) && r.I32(i32) && r.F32(f) && r.F64(d) &&
                r.FixedText(text, 6));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(i32, 1000);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(d, -2.5);
    EXPECT_EQ(text, "top");
    EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryIo, FixedTextIsCutToLeaveItsZero)
{
    CBinaryWriter w;
    w.FixedText("abcdefgh", 4);
    EXPECT_EQ(w.Data(), (std::vector<std::uint8_t>{'a', 'b', 'c', 0}));
}

TEST(BinaryIo, ShortReadFailsLeavesTargetAndStaysFailed)
{
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    CBinaryReader r(bytes);
    std::int32_t v = 77;
    EXPECT_FALSE(r.I32(v));
    EXPECT_EQ(v, 77);
    std::uint8_t b = 0;
    EXPECT_FALSE(r.U8(b));  // sticky, though a byte is there
    EXPECT_FALSE(r.Ok());
}

TEST(BinaryIo, AtomicWriteReplacesAndFailureKeepsTheOldFile)
{
    std::string path = TestDir() + "/f.bin";
    ASSERT_TRUE(WriteFileAtomically(path, std::vector<std::uint8_t>{1, 2}));
    ASSERT_TRUE(WriteFileAtomically(path, std::vector<std::uint8_t>{3}));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, std::vector<std::uint8_t>{3});

    std::string error;
    EXPECT_FALSE(WriteFileAtomically(TestDir() + "/missing/dir/f.bin",
                                     std::vector<std::uint8_t>{1}, &error));
    EXPECT_NE(error.find("missing/dir"), std::string::npos);
    std::vector<std::uint8_t> untouched = {9};
    EXPECT_FALSE(ReadWholeFile(TestDir() + "/nope", untouched));
    EXPECT_EQ(untouched, std::vector<std::uint8_t>{9});
}

// A file of pieces: bytes and other files copied in; a copied file whose
// size is no longer the one told (or that is gone) fails the write and
// leaves the old file as it was.
TEST(BinaryIo, AFileOfPiecesCopiesFilesInAndRefusesOneOfAnotherSize)
{
    const std::string part = TestDir() + "/part.bin", target = TestDir() + "/whole.bin";
    ASSERT_TRUE(WriteFileAtomically(part, std::vector<std::uint8_t>{7, 8, 9}));
    ASSERT_TRUE(WriteFileAtomically(target, std::vector<std::uint8_t>{0}));
    ASSERT_TRUE(WriteFileAtomically(target, {{{1, 2}, {}, 0}, {{}, part, 3}, {{3}, {}, 0}}));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(target, back));
    EXPECT_EQ(back, (std::vector<std::uint8_t>{1, 2, 7, 8, 9, 3}));

    // A part larger than what a copy hands the disk at a time comes whole,
    // and one a byte longer than told is still refused.
    std::vector<std::uint8_t> large((9u << 20) + 5);
    for (std::size_t k = 0; k < large.size(); ++k)
        large[k] = std::uint8_t(k * 7 + k / 4096);
    const std::string largePart = TestDir() + "/large.bin";
    ASSERT_TRUE(WriteFileAtomically(largePart, large));
    ASSERT_TRUE(WriteFileAtomically(target + ".large", {{{1}, {}, 0}, {{}, largePart, large.size()}, {{2}, {}, 0}}));
    ASSERT_TRUE(ReadWholeFile(target + ".large", back));
    ASSERT_EQ(back.size(), large.size() + 2);
    EXPECT_TRUE(back.front() == 1 && back.back() == 2 && std::equal(large.begin(), large.end(), back.begin() + 1));
    EXPECT_FALSE(WriteFileAtomically(target + ".large", {{{}, largePart, large.size() - 1}}));

    for (const CFilePiece& wrong : {CFilePiece{{}, part, 2}, CFilePiece{{}, part, 4},
                                    CFilePiece{{}, TestDir() + "/gone.bin", 1}}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(target, {{{5}, {}, 0}, wrong}, &error)) << wrong.copySize;
        EXPECT_NE(error.find(wrong.copyOf), std::string::npos) << error;
        ASSERT_TRUE(ReadWholeFile(target, back));
        EXPECT_EQ(back, (std::vector<std::uint8_t>{1, 2, 7, 8, 9, 3}));
    }
}

TEST(BinaryIo, AppendingAFileKeepsWhatWasThereAndAFailureAddsNothing)
{
    std::vector<std::uint8_t> big(200000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    const std::string path = TestDir() + "/big.bin";
    ASSERT_TRUE(WriteFileAtomically(path, big));
    std::vector<std::uint8_t> out = {1, 2, 3};
    ASSERT_TRUE(AppendWholeFile(path, out));
    ASSERT_EQ(out.size(), 3 + big.size());
    EXPECT_TRUE(std::equal(big.begin(), big.end(), out.begin() + 3));
    EXPECT_FALSE(AppendWholeFile(TestDir() + "/nope", out));
    EXPECT_EQ(out.size(), 3 + big.size());
}

// Saving keeps what the user set up around a file: its permissions, and a
// symbolic link to it (also a relative one through a second link).
TEST(BinaryIo, AtomicWriteKeepsTheModeAndWritesThroughLinks)
{
    namespace fs = std::filesystem;
    const std::string dir = TestDir();
    const std::string job = dir + "/job.prj";
    ASSERT_TRUE(WriteFileAtomically(job, std::vector<std::uint8_t>{1}));
    ::chmod(job.c_str(), 0600);
    ASSERT_TRUE(WriteFileAtomically(job, std::vector<std::uint8_t>{2}));
    struct stat st;
    ASSERT_EQ(::stat(job.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    fs::create_directories(dir + "/links");
    fs::create_symlink("../job.prj", dir + "/links/one");
    fs::create_symlink(dir + "/links/one", dir + "/two");
    ASSERT_TRUE(WriteFileAtomically(dir + "/two", std::vector<std::uint8_t>{3}));
    EXPECT_TRUE(fs::is_symlink(dir + "/two"));
    EXPECT_TRUE(fs::is_symlink(dir + "/links/one"));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(job, back));
    EXPECT_EQ(back, std::vector<std::uint8_t>{3});
    ASSERT_EQ(::stat(job.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    // A new file is an ordinary one: what the umask leaves of 0666.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(dir + "/new.bin", std::vector<std::uint8_t>{4}));
    ::umask(mask);
    ASSERT_EQ(::stat((dir + "/new.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}
