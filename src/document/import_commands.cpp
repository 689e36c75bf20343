// The document's import members: the Gerber layer and route readers, the
// extent pre-scans, the number-format detection and the drill import. Each
// hands the model (and the view's zoom to the new data) to the import floor.
#include "document/velm_doc.h"
#include "import/drill_import.h"
#include "import/extent_scan.h"
#include "import/format_detection.h"
#include "import/gerber_reader.h"
#include "import/route_reader.h"
#include "records/board_records.h"
#include "settings/gerber_format_dlg.h"

namespace {

std::function<void()> ZoomToFit(CVelmDoc& doc)
{
    return [&doc] { CDocumentViewHooks::Run(doc.m_ViewHooks.zoomToFit); };
}

}  // namespace

void CVelmDoc::OnFileGerberFormat() { g_GerberFormatDlg.DoModal(); }

int CVelmDoc::LoadGerber(const std::string& paths)
{
    return g_GerberFormatDlg.AreaFill ? ReadGerberLayerFill(paths) : ReadGerberLayer(paths);
}

int CVelmDoc::ReadGerberLayer(const std::string& paths)
{
    return ::ReadGerberLayer(*this, paths, false, ZoomToFit(*this));
}

int CVelmDoc::ReadGerberLayerFill(const std::string& paths)
{
    return ::ReadGerberLayer(*this, paths, true, ZoomToFit(*this));
}

int CVelmDoc::JoinTracks(CTrackRecord* t) { return ::JoinTracks(*this, t); }

int CVelmDoc::CollectEndPads(CTrackRecord* t) { return ::CollectEndPads(*this, t); }

int CVelmDoc::LoadRouteGerber(const std::string& paths)
{
    return ::LoadRouteGerber(*this, paths, ZoomToFit(*this)) ? 1 : 0;
}

void CVelmDoc::ScanGerberExtent(const std::string& paths) { ::ScanGerberExtent(*this, paths); }

void CVelmDoc::ScanRouteExtent(const std::string& path) { ::ScanRouteExtent(*this, path); }

int CVelmDoc::DetectGerberFormat(const std::string& paths)
{
    return ::DetectGerberFormat(*this, paths);
}

void CVelmDoc::DetectDrillFormat(const std::string& paths)
{
    ::DetectDrillFormat(*this, paths, g_HoleList);
}

int CVelmDoc::DetectGerberDigits(const std::string& paths)
{
    return ::DetectGerberDigits(*this, paths);
}

int CVelmDoc::DetectDrillDigits(const std::string& paths)
{
    return ::DetectDrillDigits(*this, paths);
}

void CVelmDoc::DetectGerberScale() { ::DetectGerberScale(m_FlashList); }

void CVelmDoc::DetectDrillScale() { ::DetectDrillScale(g_HoleList); }

int CVelmDoc::LoadDrillFile(const std::string& path)
{
    return ::LoadDrillFile(path, g_HoleList, ZoomToFit(*this)) ? 1 : 0;
}

void CVelmDoc::ReadDrillReport(const std::string& drillPath)
{
    ::ReadDrillReport(drillPath, g_HoleList);
}

void CVelmDoc::SortHoles() { ::SortHoles(g_HoleList); }
