// Loading a copper side: a corpus board, and synthetic boards of 2 x 2 and
// 4 x 4 copies of it (4 and 16 times the data), with both layer readers.
// Reports records per second and the memory the records take, so the growth
// with the board's size shows: 4 x 4 copies should take about 16 times one.
// The board with many filled areas ("Dense") shows the area fill's work.
#include "document/velm_doc.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Side {
    const char* path;
    long step;  // between copies, in file units
};
// 120 mm in the file's 4.6 millimetre format.
const Side kBoard{ORDUNE_CORPUS_DIR "/boards/project-controller/project-controller-B_Cu.gbr", 120000000};
// A 4-inch side of 1,845 areas; 4.5 inches in its 2.4 inch format.
const Side kDense{ORDUNE_CORPUS_DIR "/gerbv-examples/hellboard/hellboard.front.gbr", 45000};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The data blocks of `text` with every X and Y value moved by the offsets
// (in file units); parameters between '%' signs stay as they are.
std::string Shifted(const std::string& body, long dx, long dy)
{
    std::string out;
    bool inParameter = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '%')
            inParameter = !inParameter;
        const bool isAxis = (c == 'X' || c == 'Y') && !inParameter;
        std::size_t j = i + 1;
        if (isAxis && j < body.size() && (body[j] == '-' || std::isdigit(static_cast<unsigned char>(body[j])))) {
            std::size_t end = j + 1;
            while (end < body.size() && std::isdigit(static_cast<unsigned char>(body[end])))
                ++end;
            const long value = std::stol(body.substr(j, end - j)) + (c == 'X' ? dx : dy);
            out += c;
            out += std::to_string(value);
            i = end - 1;
            continue;
        }
        out += c;
    }
    return out;
}

// A board of n x n copies of a corpus side, written once per size (a file
// of this process: two runs at once do not share it).
std::string Board(const Side& side, int n)
{
    const std::string text = ReadAll(side.path);
    if (text.empty())
        return {};
    if (n == 1)
        return side.path;
    // The data follow the aperture list, or else the last parameter before
    // the first draw.
    std::size_t body = text.find("G04 APERTURE END LIST*");
    if (body == std::string::npos) {
        const std::size_t percent = text.rfind('%', text.find("D0"));
        body = percent == std::string::npos ? percent : text.find('\n', percent);
    }
    const std::size_t end = text.rfind("M02*");
    if (body == std::string::npos || end == std::string::npos || end < body)
        return {};
    std::string board = text.substr(0, body);
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b)
            board += Shifted(text.substr(body, end - body), a * side.step, b * side.step);
    board += "M02*\n";
    const std::string name = "ordune_bench_" + std::to_string(getpid()) + "_" +
                             std::filesystem::path(side.path).stem().string() + "_" + std::to_string(n) + ".gbr";
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << board;
    return path;
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void LoadBoard(benchmark::State& state, const Side& side, bool fill)
{
    const std::string path = Board(side, int(state.range(0)));
    if (path.empty()) {
        state.SkipWithError("the corpus is absent");
        return;
    }
    g_SettingsTextWnd.Edit().ClearAll();
    for (const char* line : {"FILETYPE $X", "MIL", "ROUND", "RECT", "OVAL", "$", "$", "$0", "$0", "$1",
                             "$2", "$3"})
        g_SettingsTextWnd.Edit().WriteLine(line);
    g_CurrentApertureFile.clear();
    g_DataOriginX = g_DataOriginY = 0;
    CVelmDoc doc;
    std::size_t records = 0, bytes = 0;
    for (auto _ : state) {
        const int result = fill ? doc.ReadGerberLayerFill(path) : doc.ReadGerberLayer(path);
        if (!result)
            state.SkipWithError("the board was not read");
        records = doc.m_TrackList.size() + doc.m_FlashList.size();
        bytes = doc.m_TrackList.size() * (sizeof(CTrackRecord) + sizeof(void*)) +
                doc.m_FlashList.size() * (sizeof(CFlashRecord) + sizeof(void*));
    }
    state.counters["records"] = double(records);
    state.counters["records_per_s"] =
        benchmark::Counter(double(records) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["record_kB"] = double(bytes) / 1024.0;
    state.counters["peak_rss_kB"] = double(PeakKilobytes());
    state.counters["file_kB"] = double(std::filesystem::file_size(path)) / 1024.0;
    if (path != side.path)
        std::filesystem::remove(path);
}

void BM_LoadGerberAreaFill(benchmark::State& state) { LoadBoard(state, kBoard, true); }
void BM_LoadGerberPlain(benchmark::State& state) { LoadBoard(state, kBoard, false); }
void BM_LoadGerberAreaFillDense(benchmark::State& state) { LoadBoard(state, kDense, true); }

BENCHMARK(BM_LoadGerberAreaFill)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGerberPlain)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGerberAreaFillDense)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
