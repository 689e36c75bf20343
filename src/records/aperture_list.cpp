// The keyed aperture table of the board model.
#include "records/aperture_records.h"

#include <cstdlib>

int ApertureCodeNumber(const std::string& code)
{
    return code.size() > 1 ? std::atoi(code.c_str() + 1) : 0;
}

CApertureList& CApertureList::operator=(Records&& records)
{
    m_Records = std::move(records);
    m_ByNumber.clear();
    m_ByCode.clear();
    for (std::size_t i = 0; i < m_Records.size(); ++i)
        Key(i);
    return *this;
}

void CApertureList::push_back(std::unique_ptr<CApertureRecord> record)
{
    m_Records.push_back(std::move(record));
    Key(m_Records.size() - 1);
}

void CApertureList::clear()
{
    m_Records.clear();
    m_ByNumber.clear();
    m_ByCode.clear();
}

// A later record with a code already keyed stays behind the first one, as a
// search from the head of the table would find it.
void CApertureList::Key(std::size_t position)
{
    const std::string& code = m_Records[position]->dCode;
    m_ByNumber.try_emplace(ApertureCodeNumber(code), position);
    m_ByCode.try_emplace(code, position);
}

int CApertureList::PositionOfNumber(const std::string& code) const
{
    auto it = m_ByNumber.find(ApertureCodeNumber(code));
    return it == m_ByNumber.end() ? -1 : int(it->second);
}

int CApertureList::PositionOfCode(const std::string& code) const
{
    auto it = m_ByCode.find(code);
    return it == m_ByCode.end() ? -1 : int(it->second);
}
