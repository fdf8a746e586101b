#pragma once

#include "host/TQHostExport.h"

#include <QString>

/// The installation's data folder: the default library's data and the types' demo pictures.
class TQHOST_EXPORT CTQDataDir
{
public:
    virtual ~CTQDataDir();

    /// TQWALL_DATA_DIR, else the "tqwall" data folder of the tree the host library was loaded
    /// from (a build tree and an installed tree have the same layout); ends with "/".
    QString GetDataDir() const;
    void SetDataDir(const QString& folder);
    /// The installed demo-picture folder, "<data folder>wallbmp/".
    QString GetWallBmpDir() const;

protected:
    CTQDataDir() = default;

private:
    QString m_strDataDir;
};
