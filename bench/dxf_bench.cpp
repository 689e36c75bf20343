// DXF to Gerber on a large generated drawing: reading the entities into the
// role layers, then the RS-274X and Excellon texts. N is the number of
// strokes; there are N/4 pads, N/4 holes, N/16 wide polylines with bulges
// and N/16 closed outlines besides. Both should grow about linearly.
#include "exchange/dxf_to_gerber.h"
#include "exchange/gerber_writer.h"
#include "records/document_lists.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
// strings made of a literal plus a temporary.
void Pair(std::string& out, int code, double value)
{
    out += std::to_string(code);
    out += '\n';
    out += std::to_string(value);
    out += '\n';
}

void Start(std::string& out, const char* type, const char* layer)
{
    out += "0\n";
    out += type;
    out += "\n8\n";
    out += layer;
    out += '\n';
}

std::string Drawing(int n)
{
    std::string out = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < n; ++i) {
        // Strokes in runs of ten that touch end to end, half on a sub-layer.
        Start(out, "LINE", i % 2 ? "TOP" : "TOP_1");
        const double x = (i / 10) * 20.0, y = (i % 10) * 2.0;
        Pair(out, 10, x);
        Pair(out, 20, y);
        Pair(out, 11, x);
        Pair(out, 21, y + 2.0);
    }
    for (int i = 0; i < n / 4; ++i) {
        Start(out, "CIRCLE", i % 2 ? "TOP" : "DRILL");
        Pair(out, 10, i * 3.0);
        Pair(out, 20, 500.0);
        Pair(out, 40, 0.3 + (i % 7) * 0.1);
    }
    for (int i = 0; i < n / 8; ++i) {
        Start(out, "LWPOLYLINE", "TOP");
        Pair(out, 90, 4);
        Pair(out, 70, i % 2);
        Pair(out, 43, i % 2 ? 0.0 : 0.25);
        for (int k = 0; k < 4; ++k) {
            Pair(out, 10, i * 4.0 + (k == 1 || k == 2 ? 2.0 : 0.0));
            Pair(out, 20, 700.0 + (k >= 2 ? 2.0 : 0.0));
            if (k == 1)
                Pair(out, 42, 0.4);
        }
    }
    return out + "0\nENDSEC\n0\nEOF\n";
}

std::string DrawingFile(int n)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("ordune_bench_" + std::to_string(n) + ".dxf"))
            .string();
    std::ofstream(path, std::ios::binary) << Drawing(n);
    return path;
}

CDxfRoles Roles()
{
    CDxfRoles roles;
    roles.top = "TOP";
    roles.drill = "DRILL";
    roles.unit = "mm";
    return roles;
}

void BM_DxfRead(benchmark::State& state)
{
    const std::string path = DrawingFile(int(state.range(0)));
    for (auto _ : state) {
        CDocumentLists model;
        benchmark::DoNotOptimize(ConvertDxfRoles(path, Roles(), model));
    }
    state.SetComplexityN(state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(BM_DxfRead)->RangeMultiplier(4)->Range(1 << 12, 1 << 16)->Complexity()
    ->Unit(benchmark::kMillisecond);

void BM_DxfToGerber(benchmark::State& state)
{
    const std::string path = DrawingFile(int(state.range(0)));
    for (auto _ : state) {
        CDocumentLists model;
        ConvertDxfRoles(path, Roles(), model);
        benchmark::DoNotOptimize(RenderGerberRs274x(model, "TOP"));
        benchmark::DoNotOptimize(RenderExcellonDrill(model, "DRILL"));
    }
    state.SetComplexityN(state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(BM_DxfToGerber)->RangeMultiplier(4)->Range(1 << 12, 1 << 16)->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace
