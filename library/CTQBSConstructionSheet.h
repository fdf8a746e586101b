#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQWallData.h"

#include <QList>
#include <QString>

class CTQBSCode;
class CTQCrXs;
class QWidget;

/// The construction sheet ("计算书"): one A4 page per construction with its names, its layer table
/// (material, δ, λ, a, R, S, D), its resistances, heat transfer coefficients, attenuation and
/// delay, the surface coefficients and the method they were evaluated with, and its section
/// drawing. Written as a PDF with the Chinese font embedded, so it prints anywhere.
class TQWALL_EXPORT CTQBSConstructionSheet
{
public:
    /// One construction as the sheet shows it: `wall` evaluated (all five results current) with
    /// its layers and surface coefficients.
    struct Entry
    {
        QString Category;
        QString Type;
        QString Province; ///< empty for the national library
        CTQWallData Wall;
    };

    /// The stored construction `code` (as read from the library) evaluated with `crxs`.
    static Entry Read(const CTQBSCode& code, const CTQCrXs& crxs);

    /// Writes the PDF; on failure `error` says why and nothing is left at `path`.
    static bool Write(const QList<Entry>& entries, const QString& path, QString* error);

    /// "导出计算书" of a dialog: asks for the file through the host's file service (".pdf" added
    /// when the name has no such ending), writes the sheet of `entry` and says how it went.
    static bool ExportAsked(QWidget* parent, const Entry& entry);
};
