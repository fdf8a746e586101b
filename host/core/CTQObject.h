#pragma once

#include "host/TQHostExport.h"

#include <QString>

/// Polymorphic base of the wall-data component's objects: run-time class name, copy and
/// assignment. The virtual functions keep the component's order.
class TQHOST_EXPORT CTQObject
{
public:
    CTQObject() = default;
    CTQObject(const CTQObject&) = default;
    CTQObject& operator=(const CTQObject&) = default;

    /// Name of the most derived class, for diagnostics.
    virtual const char* GetRuntimeClass() const;
    virtual ~CTQObject();
    virtual void Serialize();
    virtual void AssertValid() const;
    virtual void Dump() const;
    virtual void Init();
    /// Text that describes the object to a person.
    virtual QString ShowString() const;
    /// Where the object sits in its owner, as text; empty when it has no owner.
    virtual QString GetPostionString() const;
};
