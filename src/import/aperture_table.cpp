// The document's aperture table: reading an aperture file through a FILETYPE
// template of the settings text, the look-ups by D code, and the question for
// a D code the table lacks.
#include "document/velm_doc.h"
#include "geometry/text_tokens.h"
#include "import/aperture_dialogs.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/resources.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

constexpr unsigned IDS_APERTURE_SETTING_ERROR = 61493;
constexpr unsigned IDS_APERTURE_FILE_ERROR = 61494;
constexpr std::size_t kTemplateLine = 100;
constexpr std::size_t kApertureLine = 199;

// The number a D code names: read from its second character on.
int CodeNumber(const std::string& code)
{
    return code.size() > 1 ? std::atoi(code.c_str() + 1) : 0;
}

// The text after the first '$' of a template line ("" without one).
std::string AfterDollar(const std::string& line)
{
    std::size_t at = line.find('$');
    return at == std::string::npos ? std::string() : line.substr(at + 1);
}

void ToUpper(std::string& s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
}

// The D code of aperture-wheel position p.
int WheelCode(int p)
{
    if (p >= 20 && p <= 21)
        return p + 50;
    if (p >= 22 && p <= 31)
        return p - 2;
    if (p >= 32 && p <= 33)
        return p + 40;
    if (p >= 34 && p <= 73)
        return p - 4;
    return p;
}

// A line read as fgets with a buffer of `max` + 1 would give it, without its
// line end; false at the end of the file.
bool ReadLimited(CTextLineReader& in, std::string& line, std::size_t max)
{
    if (!in.ReadPiece(line, max))
        return false;
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    return true;
}

}  // namespace

void CVelmDoc::LoadApertureFile()
{
    CLineEdit& settings = g_SettingsTextWnd.Edit();
    int at = settings.FindLine("FILETYPE");
    for (int n = 0; at >= 0 && n < g_ApertureFormat; ++n)
        at = settings.FindNextLine();
    if (at < 0 || g_ApertureFormat < 0) {
        AfxMessageBox(LoadResString(IDS_APERTURE_SETTING_ERROR), MB_OK);
        return;
    }
    auto templateLine = [&](int k) { return settings.GetLineText(at + k, kTemplateLine); };
    const std::string roundWords = templateLine(2);
    const std::string rectWords = templateLine(3);
    const std::string ovalWords = templateLine(4);
    std::string prefix = AfterDollar(templateLine(5));
    std::string marker = AfterDollar(templateLine(6));
    StripComment(prefix);
    StripComment(marker);
    const int skip = std::atoi(AfterDollar(templateLine(7)).c_str());
    const int codeColumn = std::atoi(AfterDollar(templateLine(8)).c_str());
    const int shapeColumn = std::atoi(AfterDollar(templateLine(9)).c_str());
    const int xColumn = std::atoi(AfterDollar(templateLine(10)).c_str());
    const int yColumn = std::atoi(AfterDollar(templateLine(11)).c_str());

    m_ApertureList.clear();
    if (g_CurrentApertureFile.empty())
        return;
    CTextLineReader in;
    if (!in.Open(g_CurrentApertureFile)) {
        AfxMessageBox(LoadResString(IDS_APERTURE_FILE_ERROR), MB_OK);
        return;
    }
    std::string line;
    if (!marker.empty()) {
        while (ReadLimited(in, line, kApertureLine)) {
            ToUpper(line);
            if (line.find(marker) != std::string::npos)
                break;
        }
    }
    for (int i = 0; i < skip && ReadLimited(in, line, kApertureLine); ++i) {
    }
    const bool wheel = prefix.find("GAP") != std::string::npos ||
                       prefix.find("APR") != std::string::npos;
    int position = 10;
    while (ReadLimited(in, line, kApertureLine)) {
        ToUpper(line);
        StripComment(line);
        if (line.size() < 3)
            continue;
        std::string work = line;
        const std::string codeField = GetToken(work, codeColumn);
        const std::string shapeField = GetToken(work, shapeColumn);
        auto record = std::make_unique<CApertureRecord>();
        if (roundWords.find(shapeField) != std::string::npos)
            record->shape = "ROUND";
        else if (rectWords.find(shapeField) != std::string::npos)
            record->shape = "RECT";
        else if (ovalWords.find(shapeField) != std::string::npos)
            record->shape = "OVAL";
        else
            record->shape = "ROUND";  // an unknown shape word reads as round
        record->width = float(std::atof(GetToken(work, xColumn).c_str()));
        record->height = float(std::atof(GetToken(work, yColumn).c_str()));
        if (g_GerberFormatDlg.InchMM2 == 1) {
            record->width *= 39.37f;
            record->height *= 39.37f;
        }
        if (record->height == 0.0f)
            record->height = record->width;
        if (wheel) {
            record->dCode = "D" + std::to_string(WheelCode(position));
            if (codeField != "0")
                m_ApertureList.push_back(std::move(record));
        } else {
            record->dCode = prefix + codeField;
            m_ApertureList.push_back(std::move(record));
        }
        ++position;
    }
    g_ApertureLoaded = 1;
}

CApertureRecord* CVelmDoc::FindAperture(const std::string& code)
{
    const int n = CodeNumber(code);
    for (auto& a : m_ApertureList)
        if (CodeNumber(a->dCode) == n)
            return a.get();
    return nullptr;
}

bool CVelmDoc::MayAskAperture(const std::string& code)
{
    return !code.empty() && code.find("D02M") == std::string::npos &&
           code.find("G01D") == std::string::npos;
}

CApertureRecord* CVelmDoc::AskAperture(const std::string& code)
{
    CApertureDefDlg dlg;
    dlg.m_Name = code;
    dlg.DoModal();
    auto record = std::make_unique<CApertureRecord>();
    record->dCode = code;
    record->shape = dlg.m_Shape;
    record->width = dlg.m_Width;
    record->height = dlg.m_Length;
    record->userValue = 1.0f;
    record->comment = ";User Define";
    m_ApertureList.push_back(std::move(record));
    return m_ApertureList.back().get();
}

float CVelmDoc::GetApertureWidth(const std::string& code)
{
    if (m_AreaFillFlag)
        return 1.0f;
    if (CApertureRecord* a = FindAperture(code))
        return a->width;
    if (MayAskAperture(code))
        return AskAperture(code)->width;
    return 0.0f;
}

int CVelmDoc::GetApertureIndex(const std::string& code)
{
    const int n = CodeNumber(code);
    for (std::size_t i = 0; i < m_ApertureList.size(); ++i)
        if (CodeNumber(m_ApertureList[i]->dCode) == n)
            return int(i);
    if (!MayAskAperture(code))
        return 0;
    AskAperture(code);
    return int(m_ApertureList.size() - 1);
}

float CVelmDoc::GetApertureWidthByIndex(int index) const
{
    if (m_AreaFillFlag)
        return 1.0f;
    if (index < 0 || std::size_t(index) >= m_ApertureList.size())
        return 0.0f;
    return m_ApertureList[std::size_t(index)]->width;
}

float CVelmDoc::GetApertureHeight(const std::string& code)
{
    CApertureRecord* a = FindAperture(code);
    return a ? a->height : 1.0f;
}

std::string CVelmDoc::GetApertureShape(const std::string& code)
{
    CApertureRecord* a = FindAperture(code);
    if (!a)
        return "ROUND";
    return a->macro ? "MACRO" : a->shape;
}
