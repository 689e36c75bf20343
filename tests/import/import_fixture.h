// A document with the shipped settings text (FILETYPE blocks included), the
// data origin at zero and helpers that write small Gerber files.
#pragma once

#include "document/velm_doc.h"
#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

class ImportTest : public testing::Test {
protected:
    void SetUp() override
    {
        doc = std::make_unique<CVelmDoc>();
        ASSERT_TRUE(SeedSystemDir(TestDir()));
        ASSERT_EQ(doc->LoadSettings(JoinPath(TestDir(), "ORDUNE.INI")), 1);
        g_DataOriginX = 0;
        g_DataOriginY = 0;
    }

    // Writes `text` as it stands into a file of the test folder.
    static std::string WriteFile(const std::string& name, const std::string& text)
    {
        std::string path = JoinPath(TestDir(), name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // An RS-274X file in inch, format 2.3 (digits are mil), leading zero suppression, with
    // `body` between the header and M02.
    static std::string Gerber(const std::string& apertures, const std::string& body)
    {
        return "%FSLAX23Y23*%\n%MOIN*%\n" + apertures + body + "M02*\n";
    }

    int ReadLayer(const std::string& text, bool fill = false)
    {
        std::string path = WriteFile("layer.gbr", text);
        return fill ? doc->ReadGerberLayerFill(path) : doc->ReadGerberLayer(path);
    }

    std::unique_ptr<CVelmDoc> doc;
};
