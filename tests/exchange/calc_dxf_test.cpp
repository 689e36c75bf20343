// Calculated paths as DXF R14: the entity records line by line, the
// template with its marker, the offset engine's elements kept off the tool
// layers, an audit of the written file by an independent DXF library, the
// import with its joins, and the round trip export -> import.
#include "exchange/calc_dxf.h"
#include "exchange/dxf_layers.h"
#include "exchange/exchange_fixture.h"
#include "link/link_state.h"
#include "platform/file_messages.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "support/record_makers.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// A segment with its radius, as the planners make them.
CPathSegment* Add(CPathRecord& layer, int type, double x1, double y1, double x2, double y2,
                  double cx = 0, double cy = 0)
{
    CPathSegment* item = AddSegment(layer, type, x1, y1, x2, y2, cx, cy);
    item->radius = std::hypot(x1 - cx, y1 - cy);
    return item;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CalcDxfTest : public ExchangeTest {
protected:
    // A job with a path of each kind on each kind of layer: a top isolation
    // line and counter-clockwise quarter arc, a bottom clockwise arc, a
    // circle on a drawing layer.
    void MakePaths()
    {
        CPathRecord* top = doc->AddPathLayer("T1ISO", 8.0f, 20.0f, 0, 0);
        Add(*top, 0, 0, 0, 10, 0);
        Add(*top, 1, 10, 0, 0, 10);
        CPathRecord* bottom = doc->AddPathLayer("T2MIL", 20.0f, 24.0f, 1, 0);
        Add(*bottom, 2, 0, 10, 10, 0);
        CPathRecord* pen = doc->AddPathLayer("MYPATH", 2.0f, 0.0f, 5, 0);
        Add(*pen, 1, 8, 5, 8, 5, 5, 5);
        doc->m_LayerName = "MYPATH;";
    }

    std::string Export(const std::vector<std::string>& templateLines)
    {
        std::string text;
        EXPECT_EQ(BuildCalcPathsDxf(templateLines, *doc, text), 1);
        return text;
    }
};

const char* const kGolden =
    "HEAD\n  0\n"
    "LINE\n  5\n  3e8\n100\nAcDbEntity\n  8\nTOPT1ISO\n100\nAcDbLine\n"
    " 10\n0.000\n 20\n0.000\n 30\n0.0\n 11\n10.000\n 21\n0.000\n 31\n0.0\n  0\n"
    "ARC\n  5\n  3e9\n100\nAcDbEntity\n  8\nTOPT1ISO\n100\nAcDbCircle\n"
    " 10\n0.000\n 20\n0.000\n 30\n0.0\n 40\n10.000\n100\nAcDbArc\n 50\n360.000\n 51\n450.000\n  0\n"
    "ARC\n  5\n  3ea\n100\nAcDbEntity\n  8\nBOTT2MIL\n100\nAcDbCircle\n"
    " 10\n0.000\n 20\n0.000\n 30\n0.0\n 40\n10.000\n100\nAcDbArc\n 50\n360.000\n 51\n450.000\n  0\n"
    "CIRCLE\n  5\n  3eb\n100\nAcDbEntity\n  8\nMYPATH\n100\nAcDbCircle\n"
    " 10\n5.000\n 20\n5.000\n 30\n0.0\n 40\n3.000\n  0\n"
    "ENDSEC\nTAIL\n";

}  // namespace

TEST_F(CalcDxfTest, EntitiesGoInPlaceOfTheMarkerLine)
{
    MakePaths();
    // The clockwise arc from (0, 10) to (10, 0) is written as the same
    // counter-clockwise arc as the top one; handles count from 3e8.
    EXPECT_EQ(Export({"HEAD", "  0", "//////// entities", "ENDSEC", "TAIL"}), kGolden);

    std::string text;
    EXPECT_EQ(BuildCalcPathsDxf({"  0", "ENDSEC"}, *doc, text), 0);
}

TEST_F(CalcDxfTest, EachLayerOnceAndTheEngineOffTheToolLayers)
{
    // Two pen layers of one name, a fourth-tool layer and engine elements.
    Add(*doc->AddPathLayer("T1", 2.0f, 0.0f, 5, 0), 0, 0, 0, 1, 0);
    Add(*doc->AddPathLayer("T1", 2.0f, 0.0f, 5, 0), 0, 0, 0, 2, 0);
    Add(*doc->AddPathLayer("T4ISO", 2.0f, 0.0f, 0, 0), 0, 0, 0, 3, 0);
    CIsoElement copper;
    copper.Class = ISO_SOURCE;
    copper.Kind = ISO_LINE;
    copper.Pt1 = CDPoint(50, 0);
    doc->m_IsoElements.Add(copper);
    CIsoElement piece;
    piece.Class = ISO_PIECE;
    piece.Kind = ISO_ARC;
    piece.Radius = 5;
    piece.StartAngle = 10;
    piece.EndAngle = -170;
    doc->m_IsoElements.Add(piece);
    CIsoElement circle = piece;
    circle.Kind = ISO_CIRCLE;
    doc->m_IsoElements.Add(circle);

    const std::string text = Export({"  0", kDxfTemplateMarker, "ENDSEC"});
    auto count = [&text](const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("\nLINE\n"), 3u);   // one per pen layer, the engine's copper
    EXPECT_EQ(count("\nARC\n"), 1u);    // the engine's piece; its circle is not written
    EXPECT_EQ(count("\nT1\n"), 2u);
    EXPECT_EQ(count("T4ISO"), 0u);
    EXPECT_EQ(count("TOPT1ISO"), 0u);
    EXPECT_EQ(count(std::string("\n") + kDxfEngineCopperLayer + "\n"), 1u);
    EXPECT_NE(text.find(std::string(kDxfEnginePieceLayer) +
                        "\n100\nAcDbCircle\n 10\n0.000\n 20\n0.000\n 30\n0.0\n 40\n5.000\n"
                        "100\nAcDbArc\n 50\n10.000\n 51\n-170.000\n"),
              std::string::npos);
}

TEST_F(CalcDxfTest, ShippedTemplateWithoutPathsIsWrittenAsItStands)
{
    const std::string templatePath = JoinPath(g_SystemDir, "template.dx_");
    const std::string out = JoinPath(TestDir(), "empty.dxf");
    ASSERT_EQ(doc->ExportCalcDxf(out), 1);
    std::string expected = ReadText(templatePath);
    const std::size_t marker = expected.find(kDxfTemplateMarker);
    ASSERT_NE(marker, std::string::npos);
    expected.erase(marker, expected.find('\n', marker) + 1 - marker);
    EXPECT_EQ(ReadText(out), expected);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(CalcDxfTest, ExportFailuresAreToldAndWriteNothing)
{
    MakePaths();
    const std::string templatePath = JoinPath(g_SystemDir, "template.dx_");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string out;
        std::string message;
    } const cases[] = {
        {"template missing", [&] { std::filesystem::remove(templatePath); },
         JoinPath(TestDir(), "a.dxf"), WithName(IDS_DXF_TEMPLATE_MISSING, templatePath)},
        {"template without marker", [&] { std::ofstream(templatePath) << "  0\nEOF\n"; },
         JoinPath(TestDir(), "b.dxf"), WithName(IDS_DXF_TEMPLATE_NO_MARKER, templatePath)},
        {"folder of the file missing",
         [&] {
             std::filesystem::remove(templatePath);
             SeedSystemDir(g_SystemDir);
         },
         JoinPath(TestDir(), "no/such/folder/c.dxf"), LoadResString(IDS_FILE_WRITE_ERROR)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        const std::size_t boxes = TestHost().Boxes().size();
        EXPECT_EQ(doc->ExportCalcDxf(c.out), 0);
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1);
        EXPECT_EQ(TestHost().Boxes().back().text.substr(0, c.message.size()), c.message);
        EXPECT_FALSE(std::filesystem::exists(c.out));
    }
}

TEST_F(CalcDxfTest, SaveChooserTakesNewFilesAndAsksBeforeReplacingOne)
{
    MakePaths();
    // A new file: no question.
    TestHost().QueueFileChoice({JoinPath(TestDir(), "new.dxf")});
    EXPECT_TRUE(doc->OnCmdMsg(ID_EXPORT_CALCULATED_PATHS));
    ASSERT_EQ(TestHost().FileRequests().size(), 1u);
    EXPECT_TRUE(TestHost().FileRequests()[0].save);
    EXPECT_EQ(TestHost().FileRequests()[0].filter, "AutoCAD R14 Dxf|*.dxf|All File|*.*|");
    EXPECT_TRUE(std::filesystem::exists(JoinPath(TestDir(), "new.dxf")));
    EXPECT_TRUE(TestHost().Boxes().empty());

    // A name completed to one that exists: asked, and kept on No.
    const std::string old = WriteFile("old.dxf", "kept");
    TestHost().QueueFileChoice({JoinPath(TestDir(), "old")});
    TestHost().QueueAnswer(IDNO);
    doc->OnFileExportCalcDxf();
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].text, WithName(IDS_FILE_OVERWRITE, old));
    EXPECT_EQ(ReadText(old), "kept");
    TestHost().QueueFileChoice({JoinPath(TestDir(), "old")});
    TestHost().QueueAnswer(IDYES);
    doc->OnFileExportCalcDxf();
    EXPECT_NE(ReadText(old).find("TOPT1ISO"), std::string::npos);

    // And read back through the import command's open chooser, but not
    // while a machine job or a path calculation walks the layers.
    doc->m_PathLayerList.clear();
    const std::size_t asked = TestHost().FileRequests().size();
    for (int* busy : {&g_JobCode, &g_Calculating}) {
        *busy = 1;
        EXPECT_TRUE(doc->OnCmdMsg(ID_IMPORT_CALCULATED_PATHS));
        EXPECT_EQ(TestHost().FileRequests().size(), asked);
        *busy = 0;
    }
    TestHost().QueueFileChoice({old});
    EXPECT_TRUE(doc->OnCmdMsg(ID_IMPORT_CALCULATED_PATHS));
    EXPECT_FALSE(TestHost().FileRequests().back().save);
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"MYPATH", "T2MIL", "T1ISO"}));
}

namespace {

// The Python with the independent DXF library, or "" when there is none.
std::string PythonWithEzdxf()
{
    for (const char* python : {"/usr/bin/python3", "python3"})
        if (std::system((std::string(python) + " -c 'import ezdxf' >/dev/null 2>&1").c_str()) == 0)
            return python;
    return "";
}

}  // namespace

TEST_F(CalcDxfTest, IndependentLibraryAuditsTheExportClean)
{
    const std::string python = PythonWithEzdxf();
    if (python.empty())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    MakePaths();
    CIsoElement copper;
    copper.Class = ISO_SOURCE;
    copper.Kind = ISO_LINE;
    copper.Pt1 = CDPoint(50, 0);
    doc->m_IsoElements.Add(copper);
    const std::string out = JoinPath(TestDir(), "audit.dxf");
    ASSERT_EQ(doc->ExportCalcDxf(out), 1);
    const std::string report = JoinPath(TestDir(), "audit.txt");
    const std::string script =
        "import ezdxf, sys\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "a = doc.audit()\n"
        "print('errors', len(a.errors), 'fixes', len(a.fixes))\n"
        "for e in sorted((e.dxf.layer, e.dxftype()) for e in doc.modelspace()):\n"
        "    print(*e)\n";
    const std::string scriptPath = JoinPath(TestDir(), "audit.py");
    std::ofstream(scriptPath) << script;
    ASSERT_EQ(std::system((python + " '" + scriptPath + "' '" + out + "' > '" + report + "' 2>&1").c_str()), 0)
        << ReadText(report);
    EXPECT_EQ(ReadText(report),
              "errors 0 fixes 0\n"
              "BOTT2MIL ARC\n" +
                  std::string(kDxfEngineCopperLayer) +
                  " LINE\n"
                  "MYPATH CIRCLE\n"
                  "TOPT1ISO ARC\n"
                  "TOPT1ISO LINE\n");
}

namespace {

class CalcDxfImportTest : public CalcDxfTest {
protected:
    // Items of the layer of that name and side: type, both points.
    std::vector<std::vector<double>> Items(const std::string& name, int side) const
    {
        std::vector<std::vector<double>> out;
        for (auto& layer : doc->m_PathLayerList)
            if (layer->name == name && layer->side == side)
                for (auto& i : layer->items)
                    out.push_back({double(i->type), i->x1, i->y1, i->x2, i->y2});
        return out;
    }
};

void ExpectNear(const std::vector<std::vector<double>>& got,
                const std::vector<std::vector<double>>& want, double tolerance)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        for (std::size_t k = 0; k < want[i].size(); ++k)
            EXPECT_NEAR(got[i][k], want[i][k], tolerance) << "item " << i << " value " << k;
}

}  // namespace

TEST_F(CalcDxfImportTest, EntitiesFindTheirLayersAndJoinTheirNeighbours)
{
    AddTail(doc->AddPathLayer("OLD", 1.0f, 1.0f, 0, 0)->items, std::make_unique<CPathSegment>());
    const std::string path = WriteTestFile(
        "paths.dxf",
        DxfDrawing({DxfLine("TOPT1ISO", 0.5, -0.5, 100, 50),       // joins the origin
                    DxfLine("TOPT1ISO", 100.0004, 50.0003, 200, 50), // joins the last end
                    DxfLine("TOPT1ISO", 201, 50, 300, 50),          // a gap of 1: its own
                    DxfArc("BOTT2MIL", 0, 0, 10, 0, 90),
                    DxfCircle("MYPATH", 5, 5, 3)}));
    ASSERT_EQ(doc->ImportCalcDxf(path), 1);
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"MYPATH", "T2MIL", "T1ISO"}));
    ExpectNear(Items("T1ISO", 0),
               {{0, 0, 0, 100, 50}, {0, 100, 50, 200, 50}, {0, 201, 50, 300, 50}}, 1e-9);
    // The arc runs clockwise from its end back to its start.
    ExpectNear(Items("T2MIL", 1), {{2, 0, 10, 10, 0}}, 1e-6);
    ExpectNear(Items("MYPATH", 5), {{2, 8, 5, 8, 5}}, 1e-9);
    EXPECT_EQ(doc->m_LayerName, "MYPATH;");
    EXPECT_EQ(Layer("T1ISO")->size, doc->m_ToolWidth1);

    // A broken file leaves the layers as they are.
    const std::string broken = WriteTestFile("broken.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n");
    EXPECT_EQ(doc->ImportCalcDxf(broken), 0);
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"MYPATH", "T2MIL", "T1ISO"}));
    EXPECT_EQ(doc->ImportCalcDxf(JoinPath(TestDir(), "none.dxf")), 0);
    EXPECT_EQ(LayerNames().size(), 3u);
    EXPECT_EQ(TestHost().Boxes().size(), 2u);
}

TEST_F(CalcDxfImportTest, ExportedPathsReadBackWithinAThousandth)
{
    // A chain on the top side: a line, a clockwise arc, a line.
    CPathRecord* top = doc->AddPathLayer("T1ISO", 8.0f, 20.0f, 0, 0);
    Add(*top, 0, 10.1234, 10.5678, 60, 10);
    Add(*top, 2, 60, 10, 40, 30, 60, 30);
    Add(*top, 0, 40, 30, 40, 60.0004);
    CPathRecord* bottom = doc->AddPathLayer("T3MIL", 59.0f, 24.0f, 1, 0);
    Add(*bottom, 1, 25, 0, 0, 25);
    CPathRecord* pen = doc->AddPathLayer("PEN", 2.0f, 0.0f, 5, 0);
    Add(*pen, 1, 33.3333, 5, 33.3333, 5, 30, 5);
    Add(*pen, 0, -12.3456, 7.0001, 44.4444, -9.9999);
    doc->m_LayerName = "PEN;";
    // The offset engine's copper centre line must not come back as a path
    // the machine would cut along the track.
    CIsoElement copper;
    copper.Class = ISO_SOURCE;
    copper.Kind = ISO_LINE;
    copper.Pt0 = CDPoint(100, 100);
    copper.Pt1 = CDPoint(200, 100);
    doc->m_IsoElements.Add(copper);

    const std::string path = JoinPath(TestDir(), "trip.dxf");
    ASSERT_EQ(doc->ExportCalcDxf(path), 1);
    ASSERT_EQ(doc->ImportCalcDxf(path), 1);
    ExpectNear(Items("T1ISO", 0),
               {{0, 10.1234, 10.5678, 60, 10}, {2, 60, 10, 40, 30}, {0, 40, 30, 40, 60.0004}},
               0.001);
    // A counter-clockwise arc returns as the clockwise one the other way.
    ExpectNear(Items("T3MIL", 1), {{2, 0, 25, 25, 0}}, 0.001);
    ExpectNear(Items("PEN", 5), {{2, 33.3333, 5, 33.3333, 5}, {0, -12.3456, 7.0001, 44.4444, -9.9999}},
               0.001);
    ExpectNear(Items(kDxfEngineCopperLayer, 5), {{0, 100, 100, 200, 100}}, 0.001);
    EXPECT_EQ(doc->m_LayerName, std::string("PEN;") + kDxfEngineCopperLayer + ";");
}
