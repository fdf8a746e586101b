#include "library/CTQBSSectionPicture.h"

#include "library/CTQMaterialHatches.h"
#include "library/CTQWallSectionPainter.h"

#include <cmath>

QString CTQBSSectionPicture::FontFamily()
{
    return QStringLiteral("WenQuanYi Micro Hei");
}

std::pair<QString, QString> CTQBSSectionPicture::SideLabels(const QString& categoryName)
{
    if (categoryName == u"内墙")
        return {QStringLiteral("一侧"), QStringLiteral("另一侧")};
    if (categoryName == u"楼板")
        return {QStringLiteral("下方"), QStringLiteral("上方")};
    return {QStringLiteral("室外"), QStringLiteral("室内")};
}

QList<CTQBSSectionPicture::Layer> CTQBSSectionPicture::LayersOf(const CTQArray<CTQTimberingData>& layers)
{
    constexpr double kMillimetresPerMetre = 1000.0;
    QList<Layer> result;
    for (int i = 0; i < layers.GetSize(); ++i)
        result.append({layers[i].GetStuffName(), layers[i].GetThick() * kMillimetresPerMetre});
    return result;
}

QImage CTQBSSectionPicture::Draw(const QString& categoryName, const QString& typeName,
                                 const QString& constructionName, const QList<Layer>& layers,
                                 const QString& province)
{
    if (layers.isEmpty())
        return {};
    const CTQMaterialHatches& hatches = CTQMaterialHatches::Installed();
    CTQWallSectionPainter::Section section;
    section.typeName = typeName;
    section.constructionName = constructionName;
    std::tie(section.outsideLabel, section.insideLabel) = SideLabels(categoryName);
    for (const Layer& layer : layers) {
        // A layer being typed may hold no number yet; it is still drawn, as the thinnest one.
        const double thickness = std::isfinite(layer.thicknessMm) && layer.thicknessMm > 0.0 ? layer.thicknessMm : 0.0;
        section.layers << CTQWallSectionPainter::Layer{layer.material, thickness,
                                                       hatches.HatchOf(layer.material, province)};
    }
    return CTQWallSectionPainter(FontFamily()).Paint(section);
}
