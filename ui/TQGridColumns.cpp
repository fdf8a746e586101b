#include "ui/TQGridColumns.h"

#include "host/ui/CTqUiReportControl.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>

namespace TQLoad {

void AddGridColumns(CTqUiReportControl* grid, std::span<const TQGridColumn> columns)
{
    grid->header()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    for (const TQGridColumn& column : columns)
        grid->AddColumn(QString::fromUtf8(column.header), column.width);
}

void FitGridColumns(CTqUiReportControl* grid, std::span<const TQGridColumn> columns, int stretch)
{
    const int count = static_cast<int>(columns.size());
    if (grid->columnCount() != count || stretch < 0 || stretch >= count)
        return;
    QHeaderView* header = grid->header();
    int others = 0;
    for (int col = 0; col < count; ++col) {
        if (col == stretch)
            continue;
        header->resizeSection(col, columns[static_cast<std::size_t>(col)].width);
        others += columns[static_cast<std::size_t>(col)].width;
    }
    const int stretchWidth = columns[static_cast<std::size_t>(stretch)].width;
    header->resizeSection(stretch, std::max(stretchWidth, grid->viewport()->width() - others));

    // Room for the text of each section as it wraps, plus the style's margins around a header text.
    const QFontMetrics metrics(header->font());
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int textHeight = metrics.height();
    for (int col = 0; col < count; ++col) {
        const QRect room(0, 0, std::max(1, header->sectionSize(col) - margin), 10 * metrics.height());
        const QString text = grid->headerItem()->text(col);
        textHeight = std::max(textHeight, metrics.boundingRect(room, Qt::TextWordWrap, text).height());
    }
    header->setFixedHeight(textHeight + 2 * margin);
}

} // namespace TQLoad
