#pragma once

#include "host/TQHostExport.h"

/// For its lifetime, dialogs and resources are taken from the given module; the destructor
/// restores the module that was current before. Guards nest.
class TQHOST_EXPORT CTQContextResourceOverride
{
public:
    explicit CTQContextResourceOverride(const void* module);
    ~CTQContextResourceOverride();
    CTQContextResourceOverride(const CTQContextResourceOverride&) = delete;
    CTQContextResourceOverride& operator=(const CTQContextResourceOverride&) = delete;

    /// The module whose resources are current; null outside every guard.
    static const void* CurrentModule();

private:
    const void* m_pPrevious;
};
