// The document's aperture table members and its Gerber block reading: each
// hands the model's table to the import floor.
#include "document/velm_doc.h"
#include "import/aperture_table.h"
#include "import/gerber_blocks.h"

void CVelmDoc::LoadApertureFile() { CApertureTable(*this).Load(); }

CApertureRecord* CVelmDoc::FindAperture(const std::string& code)
{
    return CApertureTable(*this).Find(code);
}

float CVelmDoc::GetApertureWidth(const std::string& code)
{
    return CApertureTable(*this).Width(code);
}

float CVelmDoc::GetApertureHeight(const std::string& code)
{
    return CApertureTable(*this).Height(code);
}

std::string CVelmDoc::GetApertureShape(const std::string& code)
{
    return CApertureTable(*this).Shape(code);
}

int CVelmDoc::GetApertureIndex(const std::string& code)
{
    return CApertureTable(*this).Index(code);
}

float CVelmDoc::GetApertureWidthByIndex(int index) const
{
    return ApertureWidthAt(m_ApertureList, index, m_AreaFillFlag != 0);
}

bool CVelmDoc::MayAskAperture(const std::string& code) { return CApertureTable::MayAsk(code); }

CApertureRecord* CVelmDoc::AskAperture(const std::string& code)
{
    return CApertureTable(*this).Ask(code);
}

void CVelmDoc::ReadGerberBlock(CGerberSource& in, std::string& block)
{
    CApertureTable apertures(*this);
    ::ReadGerberBlock(in, block, apertures);
}

void CVelmDoc::ApplyGerberParameter(const std::string& param)
{
    CApertureTable apertures(*this);
    ::ApplyGerberParameter(param, apertures);
}

void CVelmDoc::AddApertureFromParam(const std::string& param)
{
    CApertureTable(*this).Define(param);
}
