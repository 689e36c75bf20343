// The aperture table at sizes real jobs never reach but broken or generated
// files do: an RS-274X layer of N aperture definitions each flashed once,
// an aperture report of N rows with a look-up of each code, and a report
// that is one 50 MB line without a line end. Each should grow linearly.
#include "document/velm_doc.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string TempFile(const std::string& name, const std::string& text)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// One block that reads report rows "D10 ROUNDED 13,000 13,000 0,000 LINE".
void UseReportDialect()
{
    g_SettingsTextWnd.Edit().ClearAll();
    for (const char* line : {"FILETYPE $REPORT", "MIL", "ROUNDED", "RECTANGULAR", "OVAL", "$", "$",
                             "$0", "$0", "$1", "$2", "$3", "DECIMAL $,", "ROTATION $4"})
        g_SettingsTextWnd.Edit().WriteLine(line);
    g_ApertureFormat = 0;
    g_DataOriginX = g_DataOriginY = 0;
}

// The texts are appended piece by piece: GCC 12 at -O3 warns falsely
// (-Wrestrict) about strings made of a literal plus a temporary.
std::string Code(const char* letter, int number)
{
    std::string code(letter);
    code += std::to_string(number);
    return code;
}

void BM_LayerOfDefinitions(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::string text = "%FSLAX23Y23*%\n%MOIN*%\n";
    for (int d = 10; d < 10 + n; ++d)
        text.append(Code("%ADD", d)).append(Code("R,0.0", 10 + d % 80)).append("X0.020*%\n");
    for (int d = 10; d < 10 + n; ++d)
        text.append(Code("D", d)).append(Code("*X", d * 10)).append("Y0D03*\n");
    text += "M02*\n";
    const std::string path = TempFile("ordune_bench_definitions.gbr", text);
    UseReportDialect();
    g_CurrentApertureFile.clear();
    CVelmDoc doc;
    for (auto _ : state)
        if (!doc.ReadGerberLayer(path))
            state.SkipWithError("the layer was not read");
    state.counters["apertures"] = double(doc.m_ApertureList.size());
}

void BM_ReportRows(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::string text;
    for (int d = 10; d < 10 + n; ++d)
        text.append(Code("D", d)).append("   RECTANGULAR   24,000   80,000   0,000 FLASH\n");
    UseReportDialect();
    g_CurrentApertureFile = TempFile("ordune_bench_report.apr", text);
    CVelmDoc doc;
    float sum = 0;
    for (auto _ : state) {
        doc.LoadApertureFile();
        for (int d = 10; d < 10 + n; ++d)
            sum += float(doc.GetApertureIndex(Code("D", d)));
    }
    benchmark::DoNotOptimize(sum);
    state.counters["apertures"] = double(doc.m_ApertureList.size());
}

void BM_ReportOfOneLongLine(benchmark::State& state)
{
    std::string text = "D10 ROUNDED 13,000 13,000 0,000 LINE ";
    text.resize(std::size_t(50) << 20, 'X');
    UseReportDialect();
    g_CurrentApertureFile = TempFile("ordune_bench_long_line.apr", text);
    CVelmDoc doc;
    for (auto _ : state)
        doc.LoadApertureFile();
    state.counters["apertures"] = double(doc.m_ApertureList.size());
}

BENCHMARK(BM_LayerOfDefinitions)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportRows)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportOfOneLongLine)->Unit(benchmark::kMillisecond);

}  // namespace
