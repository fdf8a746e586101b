#pragma once

#include "TQWallExport.h"
#include "host/thermal/TQArray.h"
#include "host/walldata/CTQTimberingData.h"

#include <QImage>
#include <QList>
#include <QString>

#include <utility>

/// The section of a construction drawn from its layers, the same drawing the default library's type
/// pictures are made with. It stands for a construction that has no picture of its own, so what is
/// shown always matches the layers stored (or, in the editor, the layers being edited).
class TQWALL_EXPORT CTQBSSectionPicture
{
public:
    struct Layer
    {
        QString material;
        double thicknessMm = 0.0; ///< a thickness that is no positive number is drawn as the thinnest layer
    };

    /// The font family the drawing uses for its Chinese captions (Debian's fonts-wqy-microhei).
    static QString FontFamily();

    /// What lies beyond the first and the last layer in a construction of `categoryName`: "室外" and
    /// "室内", for interior walls "一侧" and "另一侧", for floors "下方" and "上方".
    static std::pair<QString, QString> SideLabels(const QString& categoryName);

    /// The layers of a wall (thickness in metres there, millimetres here).
    static QList<Layer> LayersOf(const CTQArray<CTQTimberingData>& layers);

    /// Draws the section; an empty image for a construction without layers.
    static QImage Draw(const QString& categoryName, const QString& typeName, const QString& constructionName,
                       const QList<Layer>& layers, const QString& province = QString());
};
