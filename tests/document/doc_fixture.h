// A document made the way the program makes it, and small record makers for
// the document tests.
#pragma once

#include "document/velm_doc.h"
#include "platform/binary_io.h"
#include "settings/system_settings_dlg.h"
#include "support/hex_fixture.h"
#include "support/record_makers.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class DocumentTest : public testing::Test {
protected:
    void SetUp() override { doc = std::make_unique<CVelmDoc>(); }

    CTrackRecord* AddTrack(int recordNo, float x1 = 0, float y1 = 0, float x2 = 0, float y2 = 0,
                           float width = 10)
    {
        CTrackRecord* track = ::AddTrack(doc->m_TrackList, 0, x1, y1, x2, y2, width);
        track->recordNo = recordNo;
        return track;
    }

    CFlashRecord* AddFlash(COwnedList<CFlashRecord>& list, float x, float y, float radius,
                           int type = 0, int recordNo = 0)
    {
        CFlashRecord* flash = ::AddFlash(list, x, y, radius);
        flash->type = static_cast<std::uint8_t>(type);
        flash->recordNo = recordNo;
        return flash;
    }

    CPathRecord* AddLayer(const std::string& name, int segments = 1)
    {
        auto layer = std::make_unique<CPathRecord>();
        layer->name = name;
        for (int i = 0; i < segments; ++i) {
            auto segment = std::make_unique<CPathSegment>();
            segment->x1 = i;
            segment->value = i;
            layer->items.push_back(std::move(segment));
        }
        return AddTail(doc->m_PathLayerList, std::move(layer));
    }

    static std::string SystemFile(const std::string& name) { return g_SystemDir + name; }

    static std::vector<std::uint8_t> FileBytes(const std::string& path)
    {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
        return bytes;
    }

    static void PutFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
    {
        ASSERT_TRUE(WriteFileAtomically(path, bytes)) << path;
    }

    static std::vector<std::uint8_t> Fixture(const std::string& name)
    {
        return ReadHexFile(TestDataPath(name));
    }

    std::unique_ptr<CVelmDoc> doc;
};
