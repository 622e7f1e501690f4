#pragma once

#include "tags/reader.h"

// A reader for formats that store track and disc numbers as integers, with the choice of giving
// them leading zeros when they become texts. Set the choice before parsing starts; it is only
// read while files are parsed.
class Leading0sReader : public Reader {
public:
    bool leadingZeros() const { return m_leadingZeros; }
    void setLeadingZeros(bool leadingZeros) { m_leadingZeros = leadingZeros; }

private:
    bool m_leadingZeros = false;
};
