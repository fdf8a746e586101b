#include "host/ui/TQToolTip.h"

#include <QFontMetrics>
#include <QToolTip>
#include <QWidget>

namespace TQLoad {

void SetToolTip(QWidget* widget, const QString& text)
{
    if (widget == nullptr)
        return;

    const int textWidth = QFontMetrics(QToolTip::font()).horizontalAdvance(text);
    if (textWidth <= kToolTipWidthPx) {
        widget->setToolTip(text);
    } else {
        // A rich-text tooltip wraps inside a table cell of fixed width; the text is escaped so a
        // "<" in it is shown, not read as markup.
        widget->setToolTip(QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
                               .arg(kToolTipWidthPx)
                               .arg(text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))));
    }
    widget->setToolTipDuration(kToolTipDurationMs);
}

} // namespace TQLoad
