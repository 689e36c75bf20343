// Aperture selects as layers, draws as straight pieces, moves as the start
// of the next draw; flashes make nothing.
#include "exchange/gerber_cam_import.h"

#include "exchange/dxf_layers.h"

#include <algorithm>
#include <cctype>

int DCodeNumber(const std::string& dWord)
{
    const std::size_t d = dWord.rfind('D');
    if (d == std::string::npos)
        return -1;
    int number = -1;
    for (std::size_t i = d + 1; i < dWord.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(dWord[i])))
            break;
        // No aperture table reaches further; longer digit runs are no code.
        if (number > 100000)
            return -1;
        number = (number < 0 ? 0 : number * 10) + (dWord[i] - '0');
    }
    return number;
}

void CGerberToCam::Draw(double x, double y)
{
    // A draw before the first aperture select has no layer to go to.
    if (m_Layer) {
        AddCamLine(*m_Layer, m_X, m_Y, x, y);
        ++m_Out.items;
        m_Out.Widen(m_X, m_Y);
        m_Out.Widen(x, y);
    }
    m_X = x;
    m_Y = y;
}

void CGerberToCam::Block(int kind, double x, double y, const std::string& dWord)
{
    const int code = DCodeNumber(dWord);
    if (code >= 10) {
        // An aperture select is a block of its own; a coordinate block that
        // only carries an aperture code on (the parser's modal D word) is
        // neither a draw nor a move.
        if (kind != 4)
            return;
        m_Colour += 50;
        const std::string name = "D" + std::to_string(code);
        m_Layer = AddHead(m_Out.layers, NewCamLayer(name, CamLayerColour(m_Colour)));
        m_Out.layerList += name + ";";
        return;
    }
    if (kind < 1 || kind > 3)
        return;
    if (code == 1) {
        Draw(x, y);
    } else if (code == 2) {
        m_X = x;
        m_Y = y;
    }
}
