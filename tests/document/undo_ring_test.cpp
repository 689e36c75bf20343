// The undo ring: the snapshot file's bytes, the ring's count and index over
// more than ten snapshots, restores walking back newest first, and failures
// that leave the ring and the layers as they were.
#include "doc_fixture.h"

#include "support/scripted_host.h"

#include <filesystem>

namespace {

class UndoRing : public DocumentTest {
protected:
    std::vector<std::string> LayerNames() const
    {
        std::vector<std::string> names;
        for (const auto& layer : doc->m_PathLayerList)
            names.push_back(layer->name);
        return names;
    }
};

}  // namespace

TEST_F(UndoRing, SnapshotMatchesFixtureAndRestoresByteForByte)
{
    CPathRecord* layer = AddLayer("T1ISOLATION", 0);
    auto line = std::make_unique<CPathSegment>();
    line->x1 = 200.0;
    line->y1 = 250.0;
    line->x2 = 900.0;
    line->y2 = 250.0;
    line->value = 3;
    layer->items.push_back(std::move(line));
    layer->colour = 0xAAAA78;
    layer->depth = 6.0f;
    layer->size = 8.0f;
    layer->side = 1;
    layer->visible = 1;
    layer->kind = 1;

    ASSERT_EQ(doc->SaveUndoSnapshot(), 1);
    std::vector<std::uint8_t> expected = Fixture("undo_one_layer.hex");
    ASSERT_EQ(expected.size(), 114u);
    EXPECT_EQ(FileBytes(CVelmDoc::UndoFilePath(1)), expected);

    doc->m_PathLayerList.clear();
    ASSERT_EQ(doc->LoadUndoSnapshot(), 1);
    ASSERT_EQ(LayerNames(), std::vector<std::string>{"T1ISOLATIO"});  // 10 bytes kept
    ASSERT_EQ(doc->SaveUndoSnapshot(), 1);
    EXPECT_EQ(FileBytes(CVelmDoc::UndoFilePath(1)), expected);
}

TEST_F(UndoRing, SnapshotOfNoLayersIsFourBytesAndRestoresEmpty)
{
    ASSERT_EQ(doc->SaveUndoSnapshot(), 1);
    EXPECT_EQ(FileBytes(CVelmDoc::UndoFilePath(1)), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    AddLayer("T1ISO");
    ASSERT_EQ(doc->LoadUndoSnapshot(), 1);
    EXPECT_TRUE(doc->m_PathLayerList.empty());
}

TEST_F(UndoRing, ElevenSnapshotsKeepTheTenNewestAndRestoreNewestFirst)
{
    CPathRecord* layer = AddLayer("");
    for (int i = 1; i <= 11; ++i) {
        layer->name = "S" + std::to_string(i);
        ASSERT_EQ(doc->SaveUndoSnapshot(), 1) << i;
        EXPECT_EQ(doc->m_UndoCount, std::min(i, 10)) << i;
        EXPECT_EQ(doc->m_UndoIndex, i % 10) << i;  // the first goes to undo1
    }
    // The eleventh overwrote the oldest (undo1), so S1 is gone.
    for (int expected = 11; expected >= 2; --expected) {
        ASSERT_EQ(doc->LoadUndoSnapshot(), 1) << expected;
        EXPECT_EQ(LayerNames(), std::vector<std::string>{"S" + std::to_string(expected)});
        // After restoring index 0 the index wraps to 9.
        EXPECT_EQ(doc->m_UndoIndex, (expected + 9) % 10) << expected;
    }
    EXPECT_EQ(doc->m_UndoCount, 0);
    EXPECT_TRUE(TestHost().Boxes().empty());
    EXPECT_EQ(doc->LoadUndoSnapshot(), 0);
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{"No Undo Data !"});
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"S2"});
}

TEST_F(UndoRing, FailedSnapshotChangesNothingAndIsReported)
{
    AddLayer("T1ISO");
    ASSERT_EQ(doc->SaveUndoSnapshot(), 1);
    // Running with every permission, an unwritable system directory is one
    // that is not there.
    g_SystemDir = TestDir() + "/missing/";
    EXPECT_EQ(doc->SaveUndoSnapshot(), 0);
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{"Can't save temp file !"});
    EXPECT_EQ(doc->m_UndoCount, 1);
    EXPECT_EQ(doc->m_UndoIndex, 1);
}

TEST_F(UndoRing, FailedRestoreLeavesRingAndLayersAndSaysWhichFile)
{
    struct Case {
        const char* what;
        bool remove;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"missing file", true, {}},
        {"short layer", false, {1, 0, 0, 0, 1, 0, 0, 0, 0}},
        {"layer count past the end", false, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"negative layer count", false, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        doc = std::make_unique<CVelmDoc>();
        AddLayer("KEEP");
        ASSERT_EQ(doc->SaveUndoSnapshot(), 1);
        ASSERT_EQ(doc->SaveUndoSnapshot(), 1);
        if (c.remove)
            std::filesystem::remove(CVelmDoc::UndoFilePath(2));
        else
            PutFile(CVelmDoc::UndoFilePath(2), c.bytes);
        std::size_t boxes = TestHost().Boxes().size();

        EXPECT_EQ(doc->LoadUndoSnapshot(), 0) << c.what;
        EXPECT_EQ(doc->m_UndoCount, 2) << c.what;
        EXPECT_EQ(doc->m_UndoIndex, 2) << c.what;
        EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"}) << c.what;
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1) << c.what;
        EXPECT_NE(TestHost().Boxes().back().text.find("undo2"), std::string::npos) << c.what;
    }
}
