#include "host/walldata/CTQCrXs.h"

CTQCrXs::CTQCrXs()
{
    CTQCrXs::Init();
}

CTQCrXs::CTQCrXs(double outerSummer, double outerWinter, double inner)
    : m_dWHrXs(outerSummer), m_dDjWHrXs(outerWinter), m_dNHrXs(inner)
{
}

CTQCrXs::~CTQCrXs() = default;

const char* CTQCrXs::GetRuntimeClass() const
{
    return "CTQCrXs";
}

void CTQCrXs::Init()
{
    m_dWHrXs = 19.0;
    m_dDjWHrXs = 23.0;
    m_dNHrXs = 8.7;
}
