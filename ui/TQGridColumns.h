#pragma once

#include <span>

class CTqUiReportControl;

namespace TQLoad {

/// A grid column: header and width in pixels.
struct TQGridColumn
{
    const char* header; ///< UTF-8
    int width;
};

/// Adds the columns to the grid. Long headers ("传热系数(夏)(W/m^2·K)") wrap onto a second line
/// instead of being cut off.
void AddGridColumns(CTqUiReportControl* grid, std::span<const TQGridColumn> columns);

/// Fits the columns to the grid's width: column `stretch` takes the room the others leave (at
/// least its own width), the others keep their widths. The header grows to show its wrapped
/// texts in full. Call it whenever the grid's viewport is resized.
void FitGridColumns(CTqUiReportControl* grid, std::span<const TQGridColumn> columns, int stretch);

} // namespace TQLoad
