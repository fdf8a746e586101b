#include "host/core/CTQContextResourceOverride.h"

namespace {
const void* g_currentModule = nullptr;
}

CTQContextResourceOverride::CTQContextResourceOverride(const void* module) : m_pPrevious(g_currentModule)
{
    g_currentModule = module;
}

CTQContextResourceOverride::~CTQContextResourceOverride()
{
    g_currentModule = m_pPrevious;
}

const void* CTQContextResourceOverride::CurrentModule()
{
    return g_currentModule;
}
