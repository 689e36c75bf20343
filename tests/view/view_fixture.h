// A document with a small board and a view on a recording window: two
// tracks and an arc, two flashes, a drill tool with two holes, a path layer,
// a clearing region, a route and two panel copies, the second mirrored.
#pragma once

#include "records/board_extent.h"
#include "platform/program_state.h"
#include "settings/work_order_dlg.h"
#include "resource_ids.h"
#include "support/scripted_host.h"
#include "support/record_makers.h"
#include "recording_surface.h"
#include "view/velm_view.h"

#include <gtest/gtest.h>

#include <memory>

class ViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        doc = std::make_unique<CVelmDoc>();
        view = std::make_unique<CVelmView>(*doc);
        view->SetWindow(&window);
        view->m_Scale = 1.0f;
        view->m_Origin = CDPoint(0.0, 0.0);
        g_CurrentSide = 0;
    }
    void TearDown() override
    {
        view.reset();
        doc.reset();
    }

    // The small board of the drawing tests.
    void BuildBoard()
    {
        g_BoardMinX = 0;
        g_BoardMinY = 0;
        g_BoardMaxX = 400;
        g_BoardMaxY = 300;
        AddTrack(doc->m_TrackList, 1, 100, 50, 100, 150, 10);   // vertical
        AddTrack(doc->m_TrackList, 1, 100, 150, 200, 250, 20);  // slanted
        // Arc around (200, 100), radius 30, from angle 0 to pi/2.
        AddTrack(doc->m_TrackList, 3, 200, 100, 0.0f, 1.5707964f, 30);
        auto aperture = std::make_unique<CApertureRecord>();
        aperture->width = 8;
        doc->m_ApertureList.push_back(std::move(aperture));
        AddFlash(doc->m_FlashList, 100, 50, 15);
        AddFlash(doc->m_FlashList, 200, 250, 15);

        AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(100, 50), CDPoint(200, 250)});

        CPathRecord* iso = doc->AddPathLayer("T1ISO", 8, 1, 0, RGB(170, 170, 220));
        AddSegment(*iso, 0, 50, 40, 150, 40);
        AddSegment(*iso, 1, 230, 100, 200, 130, 200, 100);

        AddClearStroke(*AddClearRegion(doc->m_ClearRegionList), 10, 10, 60, 10);

        auto route = std::make_unique<CNamedLayer>();
        route->name = "route";
        AddTrack(route->tracks, 0, 0, 0, 400, 0, 5);
        doc->m_NamedLayerList.push_back(std::move(route));

        for (int mirrored = 0; mirrored < 2; ++mirrored) {
            auto block = std::make_unique<CLayoutBlock>(0, 0, 400, 300);
            block->m_Centre = CDPoint(200 + 500 * mirrored, 150);
            if (mirrored)
                block->m_Sign = POINT{-1, 1};
            doc->m_PanelLayout.m_BlockList.push_back(std::move(block));
        }
        for (POINT p : {POINT{-200, -150}, POINT{200, -150}, POINT{200, 150}})
            doc->m_PanelLayout.m_OutlinePoints.push_back(std::make_unique<POINT>(p));
    }

    std::vector<CDrawCall>& Calls() { return window.surface.calls; }

    // The next number question answered with `text` (OK) or cancelled.
    static void AnswerNumber(const char* text, bool ok = true)
    {
        TestHost().QueueDialog(
            [text, ok](CDialog& d) {
                d.SetDlgItemText(IDC_NI_VALUE, text);
                d.PressButton(ok ? IDOK : IDCANCEL);
            },
            IDD_NUMBER_INPUT);
    }

    CRecordingWindow window;
    std::unique_ptr<CVelmDoc> doc;
    std::unique_ptr<CVelmView> view;
};
