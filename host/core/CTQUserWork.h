#pragma once

#include "host/TQHostExport.h"

#include <QString>

/// The user's work area: the data folder that holds the library file and the user's own demo
/// pictures.
class TQHOST_EXPORT CTQUserWork
{
public:
    static CTQUserWork* GetUserWork();

    /// The user's data folder, ending with "/": TQWALL_USER_DIR, else the system's user data
    /// location followed by "TQWall/".
    QString GetUserDataDir() const;
    void SetUserDataDir(const QString& folder);
    /// The user's demo-picture folder, "<user data folder>/wallbmp/".
    QString GetWallBmpDir() const;

private:
    CTQUserWork() = default;

    QString m_strUserDataDir;
};
