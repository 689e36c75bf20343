// The aperture table: reading an aperture file through a FILETYPE template of
// the settings text, the look-ups by D code, the question for a D code the
// table lacks, and the apertures and macros of RS-274X parameters.
#include "import/aperture_table.h"

#include "geometry/text_tokens.h"
#include "import/aperture_dialogs.h"
#include "import/gerber_blocks.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/resources.h"
#include "records/board_model.h"
#include "resource_ids.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace {

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

CApertureTable::CApertureTable(CBoardModel& model)
    : m_Apertures(model.m_ApertureList),
      m_Macros(model.m_MacroList),
      m_AreaFillFlag(model.m_AreaFillFlag)
{
}

void CApertureTable::Load()
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

    m_Apertures.clear();
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
                m_Apertures.push_back(std::move(record));
        } else {
            record->dCode = prefix + codeField;
            m_Apertures.push_back(std::move(record));
        }
        ++position;
    }
    g_ApertureLoaded = 1;
}

CApertureRecord* CApertureTable::Find(const std::string& code) const
{
    const int n = CodeNumber(code);
    for (auto& a : m_Apertures)
        if (CodeNumber(a->dCode) == n)
            return a.get();
    return nullptr;
}

bool CApertureTable::MayAsk(const std::string& code)
{
    return !code.empty() && code.find("D02M") == std::string::npos &&
           code.find("G01D") == std::string::npos;
}

CApertureRecord* CApertureTable::Ask(const std::string& code)
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
    m_Apertures.push_back(std::move(record));
    return m_Apertures.back().get();
}

float CApertureTable::Width(const std::string& code)
{
    if (m_AreaFillFlag)
        return 1.0f;
    if (CApertureRecord* a = Find(code))
        return a->width;
    if (MayAsk(code))
        return Ask(code)->width;
    return 0.0f;
}

int CApertureTable::Index(const std::string& code)
{
    const int n = CodeNumber(code);
    for (std::size_t i = 0; i < m_Apertures.size(); ++i)
        if (CodeNumber(m_Apertures[i]->dCode) == n)
            return int(i);
    if (!MayAsk(code))
        return 0;
    Ask(code);
    return int(m_Apertures.size() - 1);
}

float ApertureWidthAt(const COwnedList<CApertureRecord>& apertures, int index, bool areaFill)
{
    if (areaFill)
        return 1.0f;
    if (index < 0 || std::size_t(index) >= apertures.size())
        return 0.0f;
    return apertures[std::size_t(index)]->width;
}

float CApertureTable::Height(const std::string& code) const
{
    CApertureRecord* a = Find(code);
    return a ? a->height : 1.0f;
}

std::string CApertureTable::Shape(const std::string& code) const
{
    CApertureRecord* a = Find(code);
    if (!a)
        return "ROUND";
    return a->macro ? "MACRO" : a->shape;
}

void CApertureTable::Define(const std::string& param)
{
    int dNumber = 0;
    std::string name;
    std::vector<float> values;
    ParseApertureParams(param, dNumber, name, values);
    values.resize(std::max<std::size_t>(values.size(), 2), 0.0f);
    const std::string code = "D" + std::to_string(dNumber);
    CApertureRecord* record = nullptr;
    for (auto& a : m_Apertures)
        if (a->dCode == code) {
            record = a.get();
            break;
        }
    std::unique_ptr<CApertureRecord> fresh;
    if (!record) {
        fresh = std::make_unique<CApertureRecord>();
        record = fresh.get();
        record->dCode = code;
    }
    record->macro = nullptr;
    // Any name but a standard template's may be a macro, one letter too.
    if (name != "C" && name != "R" && name != "O" && name != "P") {
        for (auto& m : m_Macros)
            if (m->name == name) {
                record->macro = m.get();
                record->shape = "MACRO";
                record->width = record->height = 0.0f;
                record->params = values;
                break;
            }
    }
    if (!record->macro) {
        if (name == "C" || name == "P") {
            record->shape = "ROUND";
            record->width = record->height = values[0] * 1000.0f;
        } else {
            record->shape = name == "R" ? "RECT" : "OVAL";
            record->width = values[0] * 1000.0f;
            record->height = values[1] * 1000.0f;
        }
        record->params = values;
    }
    if (fresh)
        m_Apertures.push_back(std::move(fresh));
}

void CApertureTable::DefineMacro(const std::string& param)
{
    std::size_t star = param.find('*');
    if (star == std::string::npos)
        return;
    auto macro = std::make_unique<CApertureMacro>();
    macro->name = param.substr(2, star - 2);
    macro->body = param.substr(star + 1);
    m_Macros.push_back(std::move(macro));
}
