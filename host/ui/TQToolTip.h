#pragma once

#include "host/TQHostExport.h"

#include <QString>

class QWidget;

namespace TQLoad {

/// How long a tooltip stays, ms, and the width at which its text wraps, px.
inline constexpr int kToolTipDurationMs = 10000;
inline constexpr int kToolTipWidthPx = 150;

/// Gives `widget` the tooltip `text`, shown for kToolTipDurationMs. A text wider than
/// kToolTipWidthPx in the tooltip font is wrapped at that width; a shorter one stays one line.
TQHOST_EXPORT void SetToolTip(QWidget* widget, const QString& text);

} // namespace TQLoad
