// A document with the shipped settings in a system directory of the test's
// own, for the DXF commands.
#pragma once

#include "document/velm_doc.h"
#include "exchange/dxf_fixture.h"
#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <memory>


class ExchangeTest : public testing::Test {
protected:
    void SetUp() override
    {
        doc = std::make_unique<CVelmDoc>();
        ASSERT_TRUE(SeedSystemDir(TestDir()));
        g_SystemDir = TestDir();
        ASSERT_EQ(doc->LoadSettings(JoinPath(TestDir(), "ORDUNE.INI")), 1);
        g_DataOriginX = 0;
        g_DataOriginY = 0;
    }

    CPathRecord* Layer(const std::string& name) const
    {
        for (auto& layer : doc->m_PathLayerList)
            if (layer->name == name)
                return layer.get();
        return nullptr;
    }

    std::vector<std::string> LayerNames() const
    {
        std::vector<std::string> names;
        for (auto& layer : doc->m_PathLayerList)
            names.push_back(layer->name);
        return names;
    }

    std::unique_ptr<CVelmDoc> doc;
};
