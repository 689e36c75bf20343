// The layer table's four look-ups with their different matching rules, the
// standard tool-path layers they create, and marking source copper by id.
#include "records/document_lists.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

CPathRecord* AddLayer(CDocumentLists& doc, const std::string& name, int side)
{
    return doc.AddPathLayer(name, 1.0f, 1.0f, side, 0);
}

}  // namespace

TEST(LayerTable, StandardToolPathLayersComeFromTheTable)
{
    struct Case {
        const char* request;
        const char* layer;
        int side;
        float size, depth;
        COLORREF colour;
    } cases[] = {
        {"TOPT1ISO", "T1ISO", 0, 11.0f, 1.0f, 0xAAAADC},
        {"TOPT1MIL", "T1MIL", 0, 11.0f, 1.0f, 0xAADC14},
        {"TOPT2ISO", "T2ISO", 0, 22.0f, 2.0f, 0xAADCDC},
        {"TOPT2MIL", "T2MIL", 0, 22.0f, 2.0f, 0xAA14DC},
        {"TOPT3MIL", "T3MIL", 0, 33.0f, 3.0f, 0x7878DC},
        {"BOTT1ISO", "T1ISO", 1, 11.0f, 1.0f, 0xAAAADC},
        {"BOTT1MIL", "T1MIL", 1, 11.0f, 1.0f, 0xAADC14},
        {"BOTT2ISO", "T2ISO", 1, 22.0f, 2.0f, 0xAADCDC},
        {"BOTT2MIL", "T2MIL", 1, 22.0f, 2.0f, 0xAA14DC},
        {"BOTT3MIL", "T3MIL", 1, 33.0f, 3.0f, 0x7878DC},
    };
    for (const Case& c : cases) {
        // Distinct tool values show which tool each layer takes.
        CDocumentLists fresh;
        fresh.m_ToolWidth1 = 11.0f;
        fresh.m_ToolWidth2 = 22.0f;
        fresh.m_ToolWidth3 = 33.0f;
        fresh.m_ToolValue1 = 1.0f;
        fresh.m_ToolValue2 = 2.0f;
        fresh.m_ToolValue3 = 3.0f;
        CPathRecord* layer = fresh.GetToolPathLayer(c.request);
        ASSERT_NE(layer, nullptr) << c.request;
        EXPECT_EQ(layer->name, c.layer) << c.request;
        EXPECT_EQ(layer->side, c.side) << c.request;
        EXPECT_EQ(layer->size, c.size) << c.request;
        EXPECT_EQ(layer->depth, c.depth) << c.request;
        EXPECT_EQ(layer->colour, c.colour) << c.request;
        EXPECT_EQ(layer->visible, 1) << c.request;
        EXPECT_EQ(fresh.m_LayerName, "") << "standard layers are not listed: " << c.request;
        // Asked again, the same record answers.
        EXPECT_EQ(fresh.GetToolPathLayer(c.request), layer) << c.request;
        EXPECT_EQ(fresh.m_PathLayerList.size(), 1u) << c.request;
    }
}

TEST(LayerTable, RouteAndOtherLayersAreSideFiveAndListedByName)
{
    CDocumentLists doc;
    CPathRecord* route = doc.GetToolPathLayer("ROUTE2");
    EXPECT_EQ(route->side, 5);
    EXPECT_NEAR(route->size, 78.74f, 1e-4);
    EXPECT_EQ(route->depth, doc.m_ToolValue3);
    EXPECT_EQ(route->colour, 0x32C864u);
    EXPECT_EQ(doc.m_LayerName, "ROUTE2;");

    CPathRecord* pen = doc.GetToolPathLayer("PEN3");
    EXPECT_EQ(pen->name, "PEN3");
    EXPECT_EQ(pen->side, 5);
    EXPECT_EQ(pen->size, 1.0f);
    EXPECT_EQ(pen->depth, 0.0f);
    EXPECT_EQ(doc.m_LayerName, "ROUTE2;PEN3;");

    // ROUTE1.5 finds the existing ROUTE1.5 of side 5 and lists nothing new.
    CPathRecord* route15 = doc.GetToolPathLayer("ROUTE1.5");
    EXPECT_NEAR(route15->size, 1.5f * 39.37f, 1e-3);
    EXPECT_EQ(doc.GetToolPathLayer("ROUTE1.5"), route15);
    EXPECT_EQ(doc.m_LayerName, "ROUTE2;PEN3;ROUTE1.5;");

    // New layers go to the head of the list.
    EXPECT_EQ(doc.m_PathLayerList.front().get(), route15);
}

TEST(LayerTable, ToolPathLookupMatchesByContainmentOnTheRequestedSide)
{
    CDocumentLists doc;
    CPathRecord* bottom = AddLayer(doc, "T1ISO", 1);
    // The bottom layer does not answer a top request: a new top layer is made.
    CPathRecord* top = doc.GetToolPathLayer("TOPT1ISO");
    EXPECT_NE(top, bottom);
    EXPECT_EQ(top->side, 0);
    EXPECT_EQ(doc.GetToolPathLayer("BOTT1ISO"), bottom);

    // Containment: a layer named T1 of side 0, newer at the head, answers too.
    CPathRecord* t1 = AddLayer(doc, "T1", 0);
    EXPECT_EQ(doc.GetToolPathLayer("TOPT1ISO"), t1);
}

TEST(LayerTable, ExactLookupsOnSideAndByName)
{
    CDocumentLists doc;
    CPathRecord* bottom = AddLayer(doc, "T1ISO", 1);
    EXPECT_EQ(doc.FindPathLayerOnSide("T1ISO", 0), nullptr);
    EXPECT_EQ(doc.FindPathLayerOnSide("T1ISO", 1), bottom);
    EXPECT_EQ(doc.FindPathLayerOnSide("T1IS", 1), nullptr);

    auto route = std::make_unique<CNamedLayer>();
    route->name = "route";
    CNamedLayer* routeLayer = AddTail(doc.m_NamedLayerList, std::move(route));
    EXPECT_EQ(doc.FindNamedLayer("route"), routeLayer);
    EXPECT_EQ(doc.FindNamedLayer("ROUTE"), nullptr);
}

TEST(LayerTable, FindOrAddCreatesOnlyForImporterKeys)
{
    CDocumentLists doc;
    EXPECT_EQ(doc.FindOrAddPathLayer("L1-2"), nullptr);
    EXPECT_EQ(doc.FindOrAddPathLayer("COPPER_1-2"), nullptr);
    EXPECT_EQ(doc.FindOrAddPathLayer("PLAIN"), nullptr);
    EXPECT_TRUE(doc.m_PathLayerList.empty());

    CPathRecord* copper = doc.FindOrAddPathLayer("COPPER_1");
    ASSERT_NE(copper, nullptr);
    EXPECT_EQ(copper->name, "COPPER_1");
    EXPECT_EQ(copper->size, 1.0f);
    EXPECT_EQ(copper->depth, 1.0f);
    EXPECT_EQ(copper->side, 0);
    EXPECT_EQ(copper->colour, 0xAAAA78u);
    EXPECT_EQ(copper->visible, 1);

    // Any side answers an exact name.
    CPathRecord* other = AddLayer(doc, "L1-2", 5);
    EXPECT_EQ(doc.FindOrAddPathLayer("L1-2"), other);
    EXPECT_EQ(doc.FindOrAddPathLayer("COPPER_1"), copper);
    EXPECT_EQ(doc.m_PathLayerList.size(), 2u);
}

TEST(LayerTable, LongNamesAreKeptWhole)
{
    // The file's name field holds 11 characters; in memory nothing is cut.
    CDocumentLists doc;
    std::string name = "ROUTE1.5_WITH_A_VERY_LONG_NAME";
    CPathRecord* layer = doc.GetToolPathLayer(name);
    EXPECT_EQ(layer->name, name);
    EXPECT_EQ(doc.GetToolPathLayer(name), layer);
}

TEST(DocumentLists, MarkItemsWithIdSetsTheUsedFlagOfMatchingCopperOnly)
{
    CDocumentLists doc;
    for (int id : {3, 4, 3}) {
        auto t = std::make_unique<CTrackRecord>();
        t->recordNo = id;
        doc.m_TrackList.push_back(std::move(t));
        auto f = std::make_unique<CFlashRecord>();
        f->recordNo = id;
        doc.m_FlashList.push_back(std::move(f));
    }
    doc.MarkItemsWithId(99);
    for (auto& t : doc.m_TrackList)
        EXPECT_EQ(t->used, 0);

    doc.MarkItemsWithId(3);
    EXPECT_EQ(doc.m_TrackList[0]->used, 1);
    EXPECT_EQ(doc.m_TrackList[1]->used, 0);
    EXPECT_EQ(doc.m_TrackList[2]->used, 1);
    EXPECT_EQ(doc.m_FlashList[0]->used, 1);
    EXPECT_EQ(doc.m_FlashList[1]->used, 0);
    EXPECT_EQ(doc.m_FlashList[2]->used, 1);
}
