// Side files: the exact bytes of an empty and of a filled side, a byte-exact
// round trip, the forward pass that resolves track references, and files that
// must be refused whole with the document left as it was.
#include "doc_fixture.h"

#include "platform/paths.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "support/scripted_host.h"

#include <filesystem>

#include <sys/stat.h>

namespace {

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class SideFiles : public DocumentTest {
protected:
    // The copper the fixture side_copper.hex holds.
    void FillFixtureSide()
    {
        CTrackRecord* a = AddTrack(10, 100, 200, 300, 200, 12);
        a->groupNo = 1;
        a->aperture = 2;
        a->joined = 1;
        CTrackRecord* b = AddTrack(11, 300, 200, 300, 400, 8);
        b->groupNo = 1;
        b->type = 1;
        b->aperture = 3;
        b->joined = 1;
        doc->m_TrackRefList.push_back(b);
        CFlashRecord* flash = AddFlash(doc->m_FlashList, 100, 200, 30, 0, 12);
        flash->groupNo = 1;
        flash->aperture = 4;
        CFlashRecord* pad = AddFlash(doc->m_PadList2, 300, 400, 15, 3, 13);
        pad->groupNo = 1;
        doc->m_IsolationDone = 1;
        doc->m_LayoutDone = 1;
    }

    // A side file of tracks with the given record numbers and references.
    static std::vector<std::uint8_t> SideWithReferences(const std::vector<int>& tracks,
                                                        const std::vector<int>& references)
    {
        CBinaryWriter out;
        out.I32(1000);
        out.I32(static_cast<std::int32_t>(tracks.size()));
        for (int id : tracks) {
            CTrackRecord track;
            track.recordNo = id;
            track.WriteImage(out);
        }
        out.I32(static_cast<std::int32_t>(references.size()));
        for (int id : references)
            out.I32(id);
        out.I32(0);
        out.I32(0);
        out.I32(0);
        out.U8(0);
        return out.Data();
    }
};

}  // namespace

TEST_F(SideFiles, EmptySideIsTwentyFiveBytes)
{
    ASSERT_EQ(doc->SaveTempFile("top.tmp"), 1);
    std::vector<std::uint8_t> expected = Fixture("side_empty.hex");
    ASSERT_EQ(expected.size(), 25u);
    EXPECT_EQ(FileBytes(SystemFile("top.tmp")), expected);
}

TEST_F(SideFiles, FilledSideMatchesFixtureAndRoundTripsByteForByte)
{
    FillFixtureSide();
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    std::vector<std::uint8_t> expected = Fixture("side_copper.hex");
    ASSERT_EQ(expected.size(), 213u);
    EXPECT_EQ(FileBytes(SystemFile("bot.tmp")), expected);

    CVelmDoc other;
    ASSERT_EQ(other.LoadTempFile("bot.tmp"), 1);
    ASSERT_EQ(other.m_TrackList.size(), 2u);
    ASSERT_EQ(other.m_TrackRefList.size(), 1u);
    EXPECT_EQ(other.m_TrackRefList[0], other.m_TrackList[1].get());
    EXPECT_EQ(other.m_FlashList.size(), 1u);
    EXPECT_EQ(other.m_PadList2.size(), 1u);
    EXPECT_EQ(other.m_IsolationDone, 1);
    EXPECT_EQ(other.m_LayoutDone, 1);
    ASSERT_EQ(other.SaveTempFile("top.tmp"), 1);
    EXPECT_EQ(FileBytes(SystemFile("top.tmp")), expected);
}

TEST_F(SideFiles, LayoutFlagKeepsOnlyItsLowByte)
{
    doc->m_LayoutDone = 0x1201;
    ASSERT_EQ(doc->SaveTempFile("top.tmp"), 1);
    EXPECT_EQ(FileBytes(SystemFile("top.tmp")).back(), 0x01);
    doc->m_LayoutDone = 0x3400;
    ASSERT_EQ(doc->LoadTempFile("top.tmp"), 1);
    EXPECT_EQ(doc->m_LayoutDone, 0x3401);
}

TEST_F(SideFiles, ReferencesResolveInOneForwardPass)
{
    struct Case {
        std::vector<int> references;
        std::vector<int> expectedTrackIndexes;
    } cases[] = {
        {{5, 6, 7}, {0, 1, 2}},   // in track order, the last track included
        {{7}, {2}},
        {{6, 6}, {1, 1}},         // the search starts at the track last found
        {{6, 5, 7}, {1}},         // 5 lies behind: it and every later id drop
        {{9, 5}, {}},
    };
    for (const Case& c : cases) {
        PutFile(SystemFile("top.tmp"), SideWithReferences({5, 6, 7}, c.references));
        ASSERT_EQ(doc->LoadTempFile("top.tmp"), 1);
        std::vector<int> got;
        for (CTrackRecord* track : doc->m_TrackRefList)
            for (std::size_t i = 0; i < doc->m_TrackList.size(); ++i)
                if (doc->m_TrackList[i].get() == track)
                    got.push_back(static_cast<int>(i));
        EXPECT_EQ(got, c.expectedTrackIndexes) << testing::PrintToString(c.references);
    }
}

TEST_F(SideFiles, BadFilesAreRefusedWholeAndChangeNothing)
{
    std::vector<std::uint8_t> good = Fixture("side_copper.hex");
    auto truncated = [&](std::size_t size) {
        return std::vector<std::uint8_t>(good.begin(), good.begin() + size);
    };
    auto withWord = [&](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return bytes;
    };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"wrong magic", withWord(0, 999)},
        {"empty file", {}},
        {"inside the magic", truncated(3)},
        {"inside a track", truncated(60)},
        {"inside the references", truncated(106)},
        {"without the layout byte", truncated(212)},
        {"track count past the end", withWord(4, 0x7FFFFFFF)},
        {"negative track count", withWord(4, 0xFFFFFFFF)},
        {"flash count past the end", withWord(112, 3)},
    };
    std::string expectedText = LoadResString(IDS_NOT_VALID_TEMP_FILE);
    expectedText.replace(expectedText.find("%s"), 2, "top.tmp");
    for (const Case& c : cases) {
        doc->ClearSideData();
        CTrackRecord* kept = AddTrack(42);
        doc->m_TrackRefList.push_back(kept);
        doc->m_IsolationDone = 7;
        PutFile(SystemFile("top.tmp"), c.bytes);
        std::size_t boxes = TestHost().Boxes().size();

        EXPECT_EQ(doc->LoadTempFile("top.tmp"), 0) << c.what;
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1) << c.what;
        EXPECT_EQ(TestHost().Boxes().back().text, expectedText) << c.what;
        ASSERT_EQ(doc->m_TrackList.size(), 1u) << c.what;
        EXPECT_EQ(doc->m_TrackList[0].get(), kept) << c.what;
        EXPECT_EQ(doc->m_TrackRefList.size(), 1u) << c.what;
        EXPECT_EQ(doc->m_IsolationDone, 7) << c.what;
    }
}

TEST_F(SideFiles, MissingOrUnwritableFilesAreReported)
{
    AddTrack(1);
    EXPECT_EQ(doc->LoadTempFile("bot.tmp"), 0);
    EXPECT_EQ(TestHost().Boxes().back().text, "Can't load temp file !");
    EXPECT_EQ(doc->m_TrackList.size(), 1u);

    // The process runs with every permission, so an unwritable system
    // directory is one that is not there.
    g_SystemDir = TestDir() + "/missing/";
    EXPECT_EQ(doc->SaveTempFile("top.tmp"), 0);
    EXPECT_EQ(TestHost().Boxes().back().text, "Can't save temp file !");
    EXPECT_FALSE(std::filesystem::exists(g_SystemDir));
}

// Saving a side a file already holds leaves the file alone; once the file
// was changed by anyone, or the side was, it is written again. A side of
// some megabytes is written in pieces: the file holds its image all the same.
TEST_F(SideFiles, AFileHoldingTheSideAlreadyIsNotWrittenAgain)
{
    FillFixtureSide();
    for (int i = 0; i < 60000; ++i)
        AddFlash(doc->m_FlashList, float(i), 1.0f, 5.0f, 0, 100 + i);
    const std::string path = SystemFile("bot.tmp");
    std::vector<std::uint8_t> back;
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, doc->SideFileImage());
    const auto written = InodeOf(path);
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    EXPECT_EQ(InodeOf(path), written);
    // The same bytes handed over whole count as the same.
    ASSERT_EQ(CVelmDoc::WriteSideFile("bot.tmp", doc->SideFileImage()), 1);
    EXPECT_EQ(InodeOf(path), written);

    const std::vector<std::uint8_t> image = doc->SideFileImage();
    std::vector<std::uint8_t> other = image;
    other.back() ^= 1;
    ASSERT_TRUE(WriteWorkingFile(path, other));
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, image);

    doc->m_FlashList.back()->x += 1.0f;
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, doc->SideFileImage());
}

// A side file is read a window at a time: one of some megabytes, many
// windows long, comes back whole, and one cut anywhere, past the first
// windows too, is refused without a change.
TEST_F(SideFiles, ASideLargerThanTheReadingWindowComesBackWhole)
{
    FillFixtureSide();
    for (int i = 0; i < 60000; ++i)
        AddFlash(doc->m_FlashList, float(i), 1.0f, 5.0f, 0, 100 + i);
    const std::vector<std::uint8_t> image = doc->SideFileImage();
    ASSERT_GT(image.size(), std::size_t(2) << 20);
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    doc->ClearSideData();
    ASSERT_EQ(doc->LoadTempFile("bot.tmp"), 1);
    EXPECT_EQ(doc->SideFileImage(), image);

    for (std::size_t cut : {std::size_t(1) << 20, (std::size_t(1) << 20) + 30, image.size() - 1}) {
        PutFile(SystemFile("bot.tmp"), std::vector<std::uint8_t>(image.begin(), image.begin() + cut));
        EXPECT_EQ(doc->LoadTempFile("bot.tmp"), 0) << cut;
        EXPECT_EQ(doc->SideFileImage(), image) << cut;
    }
}

TEST_F(SideFiles, FilesLiveInTheSystemDirectoryWhateverTheCurrentOne)
{
    ASSERT_TRUE(SetCurrentDirectory(TestDir()));
    ASSERT_NE(g_SystemDir, TestDir() + "/");
    ASSERT_EQ(doc->SaveTempFile("top.tmp"), 1);
    EXPECT_TRUE(std::filesystem::exists(SystemFile("top.tmp")));
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/top.tmp"));
    EXPECT_EQ(doc->LoadTempFile("top.tmp"), 1);
}

TEST_F(SideFiles, LoadingClearsThePartialRunRanges)
{
    for (const char* name : {"MILL_TO", "MILL_FROM", "OUTLINE_TO", "OUTLINE_FROM"})
        RegSetLongValue(name, 9);
    ASSERT_EQ(doc->SaveTempFile("top.tmp"), 1);
    ASSERT_EQ(doc->LoadTempFile("top.tmp"), 1);
    for (const char* name : {"MILL_TO", "MILL_FROM", "OUTLINE_TO", "OUTLINE_FROM"}) {
        std::int32_t value = -1;
        RegGetLong(name, value);
        EXPECT_EQ(value, 0) << name;
    }
}
