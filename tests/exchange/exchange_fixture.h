// The import tests' document with the shipped settings, its system directory
// the test's own, for the DXF commands.
#pragma once

#include "exchange/dxf_fixture.h"
#include "import/import_fixture.h"
#include "settings/system_settings_dlg.h"

class ExchangeTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        g_SystemDir = TestDir();
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
};
