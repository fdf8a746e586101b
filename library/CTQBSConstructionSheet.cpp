#include "library/CTQBSConstructionSheet.h"

#include "library/CTQBSDataAdmin.h"
#include "library/CTQBSSectionPicture.h"

#include "host/core/TQString.h"
#include "host/ui/CTQUiService.h"
#include "host/thermal/GB50176.h"
#include "host/walldata/CTQCrXs.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQWallProvince.h"

#include <QFile>
#include <QFileInfo>
#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

// The figures as the library and the editor show them.
constexpr int kResultDecimals = 2;
constexpr int kDelayDecimals = 1;
constexpr int kLayerDecimals = 3;
constexpr double kMillimetresPerMetre = 1000.0;

/// The page is laid out in points; the section drawing spans most of its width.
constexpr int kPointsPerInch = 72;
constexpr int kDrawingWidth = 440;
constexpr double kFontPoints = 9.5;
const QString kSectionUrl = QStringLiteral("section.png");

QString Cell(const QString& text, const char* align = "right")
{
    return QStringLiteral("<td align=\"%1\">%2</td>").arg(QLatin1String(align), text.toHtmlEscaped());
}

QString Row(const QString& label, const QString& value, const QString& unit = QString())
{
    return QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td>%3</td></tr>")
        .arg(label.toHtmlEscaped(), value.toHtmlEscaped(), unit.toHtmlEscaped());
}

QString Number(double value, int decimals)
{
    return TQLoad::DblToStr(value, decimals);
}

QString MethodName(TQDynamicMethod method)
{
    return method == TQDynamicMethod::ISO13786 ? QStringLiteral("ISO 13786 传递矩阵法")
                                               : QStringLiteral("GB 50176 简化计算法");
}

QImage Drawing(const CTQBSConstructionSheet::Entry& entry)
{
    return CTQBSSectionPicture::Draw(entry.Category, entry.Type, entry.Wall.m_strBSCName,
                                     CTQBSSectionPicture::LayersOf(entry.Wall.GetTimbering()), entry.Province);
}

QString LayerTable(const CTQWallData& wall)
{
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">"
        "<tr><th>序号</th><th width=\"26%\">材料名称(外-内)</th><th>厚度δ<br>(mm)</th><th>导热系数λ<br>(W/(m·K))</th>"
        "<th>修正系数a</th><th>热阻R<br>(m²·K/W)</th><th>蓄热系数S<br>(W/(m²·K))</th><th>热惰性指标D</th></tr>");
    const CTQArray<CTQTimberingData> layers = wall.GetTimbering();
    double sumR = 0.0;
    double sumD = 0.0;
    for (int i = 0; i < layers.GetSize(); ++i) {
        const tagTQTIMBERINGCHARACTER& layer = layers[i].GetCharacter();
        const double resistance = thermal::GB50176::LayerResistance(layer);
        const double inertia = thermal::GB50176::LayerThermalInertia(layer);
        sumR += resistance;
        sumD += inertia;
        html += QStringLiteral("<tr>") + Cell(QString::number(i + 1), "center") +
                Cell(layers[i].GetStuffName(), "left") + Cell(Number(layer.Thick * kMillimetresPerMetre, 1)) +
                Cell(Number(layer.DrXs, kLayerDecimals)) + Cell(Number(layer.DrXsXz, 2)) +
                Cell(Number(resistance, kLayerDecimals)) +
                Cell(Number(thermal::GB50176::LayerHeatStorage(layer), kLayerDecimals)) +
                Cell(Number(inertia, kLayerDecimals)) + QStringLiteral("</tr>");
    }
    html += QStringLiteral("<tr><td></td>") + Cell(QStringLiteral("合计"), "left") +
            QStringLiteral("<td></td><td></td><td></td>") + Cell(Number(sumR, kLayerDecimals)) +
            QStringLiteral("<td></td>") + Cell(Number(sumD, kLayerDecimals)) + QStringLiteral("</tr></table>");
    return html;
}

QString ResultTable(const CTQWallData& wall)
{
    // R0 = 1/αi + ΣR + 1/αe, that is 1/K, for each season's outer coefficient.
    const auto resistance = [](double k) { return k > 0.0 ? 1.0 / k : std::nan(""); };
    const QString coefficient = QStringLiteral("W/(m²·K)");
    const QString resistanceUnit = QStringLiteral("m²·K/W");
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\" width=\"70%\">");
    html += Row(QStringLiteral("传热阻 R0(夏)"), Number(resistance(wall.GetCrXs()), kLayerDecimals), resistanceUnit);
    html += Row(QStringLiteral("传热阻 R0(冬)"), Number(resistance(wall.GetDjCrXs()), kLayerDecimals), resistanceUnit);
    html += Row(QStringLiteral("传热系数(夏) K"), Number(wall.GetCrXs(), kResultDecimals), coefficient);
    html += Row(QStringLiteral("传热系数(冬) K"), Number(wall.GetDjCrXs(), kResultDecimals), coefficient);
    html += Row(QStringLiteral("传热系数(内) K"), Number(wall.GetNCrXs(), kResultDecimals), coefficient);
    html += Row(QStringLiteral("传热衰减 ν0"), Number(wall.GetSj(), kResultDecimals));
    html += Row(QStringLiteral("传热延迟 ξ0"), Number(wall.GetYc(), kDelayDecimals), QStringLiteral("h"));
    html += Row(QStringLiteral("内表面换热系数 αi"), Number(wall.GetNHrXsData(), kResultDecimals), coefficient);
    html += Row(QStringLiteral("外表面换热系数 αe(夏)"), Number(wall.GetWHrXsData(), kResultDecimals), coefficient);
    html += Row(QStringLiteral("外表面换热系数 αe(冬)"), Number(wall.GetDjWHrXsData(), kResultDecimals), coefficient);
    html += Row(QStringLiteral("衰减与延迟的计算方法"), MethodName(CTQWallData::GetDynamicMethod()));
    return html + QStringLiteral("</table>");
}

QString Page(const CTQBSConstructionSheet::Entry& entry, bool hasDrawing)
{
    QString html = QStringLiteral("<html><body><h2>%1</h2>").arg(entry.Wall.m_strBSCName.toHtmlEscaped());
    html += QStringLiteral("<p>大类：%1　　类型：%2　　省份：%3</p>")
                .arg(entry.Category.toHtmlEscaped(), entry.Type.toHtmlEscaped(),
                     entry.Province.isEmpty() ? QStringLiteral("全国") : entry.Province.toHtmlEscaped());
    html += QStringLiteral("<h3>构造层(由外至内)</h3>") + LayerTable(entry.Wall);
    html += QStringLiteral("<h3>计算结果</h3>") + ResultTable(entry.Wall);
    if (hasDrawing)
        html += QStringLiteral("<h3>构造示意</h3><p align=\"center\"><img src=\"%1\" width=\"%2\"></p>")
                    .arg(kSectionUrl)
                    .arg(kDrawingWidth);
    return html + QStringLiteral("</body></html>");
}

/// Lays the construction's page out on the page's width and paints it; a page taller than the
/// paper (a construction of many layers) is scaled down to fit, so each construction keeps one page.
void PaintPage(QPainter& painter, const CTQBSConstructionSheet::Entry& entry, QSizeF page)
{
    QTextDocument document;
    document.documentLayout()->setPaintDevice(painter.device());
    QFont font(CTQBSSectionPicture::FontFamily());
    font.setPointSizeF(kFontPoints);
    document.setDefaultFont(font);
    const QImage drawing = Drawing(entry);
    if (!drawing.isNull())
        document.addResource(QTextDocument::ImageResource, QUrl(kSectionUrl), drawing);
    document.setHtml(Page(entry, !drawing.isNull()));
    document.setTextWidth(page.width());
    const double scale = std::min(1.0, page.height() / document.size().height());
    if (scale < 1.0)
        document.setTextWidth(page.width() / scale);
    painter.save();
    painter.scale(scale, scale);
    document.drawContents(&painter);
    painter.restore();
}

} // namespace

CTQBSConstructionSheet::Entry CTQBSConstructionSheet::Read(const CTQBSCode& code, const CTQCrXs& crxs)
{
    CTQBSType type;
    type.ReadData(code.BSTId, nullptr);
    CTQBSCategory category;
    category.ReadData(type.BSDLId, nullptr);
    CTQWallProvince province;
    if (code.ProvinceId > 0)
        province.ReadData(code.ProvinceId, nullptr);
    Entry entry;
    entry.Category = category.Name;
    entry.Type = type.Name;
    entry.Province = code.ProvinceId > 0 ? province.Name : QString();
    entry.Wall = CTQBSDataAdmin().GetBSCodeWallData(code, true, crxs);
    return entry;
}

bool CTQBSConstructionSheet::Write(const QList<Entry>& entries, const QString& path, QString* error)
{
    if (entries.isEmpty()) {
        *error = QStringLiteral("没有要导出的围护结构。");
        return false;
    }
    // The PDF is written beside the target and renamed over it once complete, so a failure never
    // leaves half a file or destroys the one that was there.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(QFileInfo(path).absoluteFilePath(), file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(entries.size() == 1 ? entries.front().Wall.m_strBSCName : QStringLiteral("围护结构计算书"));
        writer.setCreator(QStringLiteral("TQWall"));
        // One device unit is one point, so the document's pixels, its fonts and the page agree.
        writer.setResolution(kPointsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (i > 0)
                writer.newPage();
            PaintPage(painter, entries[i], writer.pageLayout().paintRectPixels(kPointsPerInch).size());
        }
    }
    if (!file.commit()) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(QFileInfo(path).absoluteFilePath(), file.errorString());
        return false;
    }
    return true;
}

bool CTQBSConstructionSheet::ExportAsked(QWidget* parent, const Entry& entry)
{
    CTQUiService& ui = CTQUiService::Instance();
    // The construction's name proposes the file's; a slash in it would name a folder.
    QString proposed = entry.Wall.m_strBSCName;
    proposed.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    QString path = ui.GetSaveFileName(parent, QStringLiteral("导出计算书"), proposed + QStringLiteral(".pdf"),
                                      QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QString error;
    if (!Write({entry}, path, &error)) {
        ui.MessageBox(parent, error, QMessageBox::Warning);
        return false;
    }
    ui.MessageBox(parent, QStringLiteral("计算书已导出到 %1").arg(path), QMessageBox::Information);
    return true;
}
