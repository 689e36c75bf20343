// The manual drill alignment that File/New asks for when the automatic one
// fails, end to end on the D1MiniGSR board of the corpus: with its holes
// moved off their pads as a drill file in another frame leaves them, the
// operator picks a hole and then the pad it belongs on, and every hole lands
// on copper. Skips without the corpus.
#include "records/track_geometry.h"
#include "settings/default_files.h"
#include "settings/drill_format_dlg.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"
#include "view_fixture.h"

#include <cmath>

namespace {

const char* const kBoard = "boards/D1MiniGSR/D1MiniGSR-";

std::string BoardFile(const char* name) { return CorpusPath(std::string(kBoard) + name); }

class ManualDrillAlignment : public ViewTest {
protected:
    void SetUp() override
    {
        if (BoardFile("F_Cu.gbr").empty())
            GTEST_SKIP() << "no corpus";
        ASSERT_TRUE(SeedSystemDir(TestDir()));
        g_SystemDir = TestDir();
        ViewTest::SetUp();
    }

    int HolesOffCopper() const
    {
        int off = 0;
        for (const auto& tool : g_HoleList)
            for (const auto& hole : tool->holes) {
                bool on = false;
                for (const auto& pad : doc->m_FlashList)
                    on = on || std::hypot(pad->x - hole->x, pad->y - hole->y) <= pad->radius;
                for (const auto& track : doc->m_TrackList)
                    on = on || (track->type < 3 && PointInTrack(*track, *hole));
                off += on ? 0 : 1;
            }
        return off;
    }

    POINT Screen(double x, double y) const
    {
        POINT p{view->MapX(x), view->MapY(y)};
        return p;
    }
};

}  // namespace

TEST_F(ManualDrillAlignment, AHoleAndItsPadPutEveryHoleOnCopper)
{
    g_FileAuto = 1;
    g_ComponentGerberFile = BoardFile("F_Cu.gbr");
    g_SolderGerberFile = BoardFile("B_Cu.gbr");
    g_DrillFile = BoardFile("PTH.drl");
    g_RouteFile = BoardFile("Edge_Cuts.gbr");
    g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 1;
    doc->LoadWorkOrder();
    // The load puts the holes on their pads; they go the data origin away.
    ASSERT_TRUE(TestHost().BoxTexts().empty());
    ASSERT_EQ(HolesOffCopper(), 0);
    for (const auto& tool : g_HoleList)
        for (const auto& h : tool->holes)
            *h += CDPoint(g_DataOriginX, g_DataOriginY);
    const int before = HolesOffCopper();
    ASSERT_GT(before, 0);

    // The operator knows which pad a hole belongs on: here a pad of the
    // solder side (an oval flash; the end pads of strokes do not count)
    // that lies the data origin away from it.
    const CDPoint* hole = nullptr;
    const CFlashRecord* pad = nullptr;
    for (const auto& tool : g_HoleList)
        for (const auto& h : tool->holes)
            for (const auto& f : doc->m_FlashList)
                if (!pad && f->type != 3 &&
                    std::hypot(f->x - (h->x - g_DataOriginX), f->y - (h->y - g_DataOriginY)) <
                        f->radius / 4) {
                    hole = h.get();
                    pad = f.get();
                }
    ASSERT_NE(pad, nullptr);

    view->OnDrillAlign();
    const CDPoint picked = *hole;
    view->DrillAlignPress(Screen(picked.x, picked.y));
    ASSERT_EQ(view->m_PressState, 1);
    view->DrillAlignPress(Screen(pad->x, pad->y));
    EXPECT_EQ(view->m_DrillAlignMode, 0);
    EXPECT_TRUE(TestHost().BoxTexts().empty());
    EXPECT_EQ(HolesOffCopper(), 0);
    EXPECT_NEAR(hole->x, pad->x, 1e-3);
    EXPECT_NEAR(hole->y, pad->y, 1e-3);
    // The work area takes in the moved holes with a margin.
    EXPECT_LE(g_BoardMinX, doc->m_DrillExtent.minX - 100);
    EXPECT_GE(g_BoardMaxX, doc->m_DrillExtent.maxX + 100);
}
