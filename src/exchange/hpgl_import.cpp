// The HPGL instructions that draw: pen up and down, absolute and relative
// plotting, circles and pen selection; every other instruction is passed
// over.
#include "exchange/hpgl_import.h"

#include "exchange/dxf_layers.h"
#include "platform/program_objects.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

int g_HpglPenColour = 0;

namespace {

CProgramObjectReset s_Reset([] { g_HpglPenColour = 0; });

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// Far beyond any plot: a larger number is no coordinate but garbage.
constexpr double kLargestPlotNumber = 1.0e8;

// The numbers of an instruction's parameters, separated by commas or
// blanks; a field that is no number, or none a plot can hold, counts as 0.
std::vector<double> Numbers(const std::string& parameters)
{
    std::vector<double> values;
    std::size_t at = 0;
    while (at < parameters.size()) {
        const std::size_t end = parameters.find_first_of(", \t\r\n", at);
        const std::string field =
            parameters.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!field.empty()) {
            const double value = std::strtod(field.c_str(), nullptr);
            values.push_back(std::fabs(value) <= kLargestPlotNumber ? value : 0.0);
        }
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return values;
}

}  // namespace

CHpglToCam::CHpglToCam(CDxfCamImport& out, int colourCounter)
    : m_Out(out), m_Colour(colourCounter)
{
}

void CHpglToCam::Command(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        if (!IsLetter(text[at])) {
            ++at;   // separators, terminators, stray characters
            continue;
        }
        if (at + 1 >= text.size() || !IsLetter(text[at + 1]))
            return;
        std::string mnemonic = text.substr(at, 2);
        std::transform(mnemonic.begin(), mnemonic.end(), mnemonic.begin(),
                       [](unsigned char c) { return char(std::toupper(c)); });
        at += 2;
        // A label's text runs to the end of the command and may hold letters.
        if (mnemonic == "LB")
            return;
        std::size_t end = at;
        while (end < text.size() && !IsLetter(text[end]) && text[end] != ';')
            ++end;
        Instruction(mnemonic, text.substr(at, end - at));
        at = end;
    }
}

void CHpglToCam::MoveThrough(const std::vector<double>& values, bool relative, bool draw,
                             bool widen)
{
    // A lone last number has no partner and moves nothing.
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        const double x = relative ? m_X + values[i] : values[i];
        const double y = relative ? m_Y + values[i + 1] : values[i + 1];
        if (draw && m_Layer) {
            AddCamLine(*m_Layer, m_X, m_Y, x, y);
            ++m_Out.items;
        }
        if (widen) {
            m_Out.Widen(m_X, m_Y);
            m_Out.Widen(x, y);
        }
        m_X = x;
        m_Y = y;
    }
}

void CHpglToCam::Instruction(const std::string& mnemonic, const std::string& parameters)
{
    const std::vector<double> values = Numbers(parameters);
    if (mnemonic == "PU") {
        m_PenDown = false;
        MoveThrough(values, m_Relative, false, false);
    } else if (mnemonic == "PD") {
        m_PenDown = true;
        MoveThrough(values, m_Relative, true, true);
    } else if (mnemonic == "PA" || mnemonic == "PR") {
        // Without numbers only the mode changes: "PA;" moves nowhere.
        m_Relative = mnemonic == "PR";
        MoveThrough(values, m_Relative, m_PenDown, true);
    } else if (mnemonic == "CI") {
        // The chord angle after the radius is of no use to a cutter.
        const float r = values.empty() ? 0.0f : float(values[0]);
        if (m_Layer) {
            AddCamCircle(*m_Layer, 1, m_X, m_Y, r);
            ++m_Out.items;
        }
        m_Out.Widen(m_X - r, m_Y - r);
        m_Out.Widen(m_X + r, m_Y + r);
    } else if (mnemonic == "SP") {
        const int pen = values.empty() ? 0 : int(values[0]);
        if (pen == 0)
            return;
        // Every selection opens a layer, also of a pen selected before.
        m_Colour += 60;
        const std::string name = "T" + std::to_string(pen);
        m_Layer = AddHead(m_Out.layers, NewCamLayer(name, CamLayerColour(m_Colour)));
        m_Out.layerList += name + ";";
    }
}
