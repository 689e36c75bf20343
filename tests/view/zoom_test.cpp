// Board/pixel transforms, the zooms and the zoom history.
#include "view_fixture.h"

#include <cmath>

#include "platform/resources.h"
#include "settings/machine_settings.h"
#include "support/scripted_host.h"
#include "resource_ids.h"

TEST_F(ViewTest, TransformsTruncateTowardZero)
{
    view->m_Scale = 0.4f;
    view->m_Origin = CDPoint(10.7, -3.5);
    POINT p{-3, 5};
    view->DocToScreen(&p);
    EXPECT_EQ(p.x, -7 + 10);   // trunc(-7.5) + trunc(10.7)
    EXPECT_EQ(p.y, 12 - 3);    // trunc(12.5) + trunc(-3.5)
    POINT q{13, 0};
    view->ScreenToDoc(&q);
    EXPECT_EQ(q.x, 1);         // trunc((13 - 10) * 0.4)
    EXPECT_EQ(q.y, 1);         // trunc((0 + 3) * 0.4)
    CDPoint d(100.0, 40.0);
    view->DocToScreenD(&d);
    view->ScreenToDocD(&d);
    EXPECT_NEAR(d.x, 100.0, 1e-4);
    EXPECT_NEAR(d.y, 40.0, 1e-4);
}

TEST_F(ViewTest, ZoomInThenOutKeepsTheCursorPoint)
{
    view->m_Scale = 0.4f;
    view->m_Origin = CDPoint(10, 10);
    view->m_CursorPos = CDPoint(300, 200);
    CDPoint before = view->m_CursorPos;
    view->DocToScreenD(&before);
    view->OnKeyDown(VK_PRIOR);
    EXPECT_NEAR(view->m_Scale, 0.4f / 1.5f, 1e-6);
    CDPoint during = view->m_CursorPos;
    view->DocToScreenD(&during);
    EXPECT_NEAR(during.x, before.x, 1e-3);
    EXPECT_NEAR(during.y, before.y, 1e-3);
    view->OnKeyDown(VK_NEXT);
    EXPECT_NEAR(view->m_Scale, 0.4f, 1e-6);
    EXPECT_NEAR(view->m_Origin.x, 10.0, 1e-3);
    EXPECT_NEAR(view->m_Origin.y, 10.0, 1e-3);
    EXPECT_EQ(view->m_ZoomHistIndex, 2);
    EXPECT_EQ(window.redraws, 2);
}

TEST_F(ViewTest, ZoomToFitByStage)
{
    g_BoardMinX = 100;
    g_BoardMinY = 200;
    g_BoardMaxX = 500;   // 400 x 600 mil in 800 x 600 pixels: height decides
    g_BoardMaxY = 800;
    view->OnWindowAll();
    EXPECT_FLOAT_EQ(view->m_Scale, 1.0f);
    POINT corner{100, 200};
    view->DocToScreen(&corner);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    EXPECT_EQ(doc->m_ViewExtent.maxY, 800);

    doc->m_WorkStage = 3;
    g_TableWidth = 16000;
    g_TableHeight = 6000;
    view->OnWindowAll();
    EXPECT_FLOAT_EQ(view->m_Scale, 20.0f);
    EXPECT_EQ(view->m_Origin.x, 0.0);
    EXPECT_EQ(view->m_Origin.y, 0.0);
}

TEST_F(ViewTest, ZoomToFitStopsAtTheLargestMagnification)
{
    g_BoardMaxX = 10;
    g_BoardMaxY = 10;
    view->OnWindowAll();
    EXPECT_FLOAT_EQ(view->m_Scale, 0.05f);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_MAX_ZOOM));
    // A work area without size is no reason for a scale of zero.
    g_BoardMaxX = g_BoardMaxY = 0;
    view->OnWindowAll();
    EXPECT_FLOAT_EQ(view->m_Scale, 0.05f);
}

TEST_F(ViewTest, WindowZoomFitsTheWholeBand)
{
    view->m_Scale = 1.0f;
    view->OnZoomWindow();
    EXPECT_EQ(view->m_ZoomWindowMode, 1);
    // A tall band, 100 x 300 pixels: its height decides (300 / 600).
    view->OnLButtonDown(POINT{150, 400});
    view->OnMouseMove(POINT{200, 200});
    view->OnLButtonUp(POINT{50, 100});
    EXPECT_FLOAT_EQ(view->m_Scale, 0.5f);
    EXPECT_EQ(view->m_ZoomWindowMode, 0);
    EXPECT_EQ(TestHost().Beeps(), 1);
    // The band's centre stays under the same pixel.
    POINT centre{100, 250};
    view->ScreenToDoc(&centre);
    EXPECT_EQ(centre.x, 100);
    EXPECT_EQ(centre.y, 250);
    // Each rubber band drawn was erased again.
    auto lines = window.surface.Of("rect");
    ASSERT_EQ(lines.size(), 4u);
    for (const CDrawCall& c : lines)
        EXPECT_EQ(c.rop, R2_NOT);

    // A band without area changes nothing.
    view->OnZoomWindow();
    view->OnLButtonDown(POINT{10, 10});
    view->OnLButtonUp(POINT{10, 90});
    EXPECT_FLOAT_EQ(view->m_Scale, 0.5f);
    EXPECT_EQ(view->m_ZoomWindowMode, 0);
}

TEST_F(ViewTest, PreviousZoomRestoresScaleAndOrigin)
{
    view->m_Scale = 2.0f;
    view->m_Origin = CDPoint(30, 40);
    view->Redraw();  // slot 0 holds this state
    view->m_CursorPos = CDPoint(100, 100);
    view->OnZoomIn();
    view->Redraw();
    ASSERT_EQ(view->m_ZoomHistIndex, 1);
    view->OnZoomPrevious();
    EXPECT_EQ(view->m_ZoomHistIndex, 0);
    EXPECT_FLOAT_EQ(view->m_Scale, 2.0f);
    EXPECT_EQ(view->m_Origin.x, 30.0);
    EXPECT_EQ(view->m_Origin.y, 40.0);
    // Slot 19 was never painted: the view stays as it is.
    view->OnZoomPrevious();
    EXPECT_EQ(view->m_ZoomHistIndex, 0);
    EXPECT_FLOAT_EQ(view->m_Scale, 2.0f);
}

TEST_F(ViewTest, HistoryWrapsAfterTwentyZooms)
{
    for (int i = 0; i < 20; ++i) {
        view->Redraw();
        view->OnZoomOut();
    }
    EXPECT_EQ(view->m_ZoomHistIndex, 0);
    view->Redraw();
    view->OnZoomPrevious();
    EXPECT_EQ(view->m_ZoomHistIndex, 19);
    EXPECT_NEAR(view->m_Scale, std::pow(1.5, 19), 1e-2);
}
