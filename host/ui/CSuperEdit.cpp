#include "host/ui/CSuperEdit.h"

#include "host/ui/CTQUiService.h"

#include <QLocale>
#include <QMessageBox>

#include <cmath>

CSuperEdit::CSuperEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::editingFinished, this, &CSuperEdit::OnEditingFinished);
}

CSuperEdit::~CSuperEdit() = default;

void CSuperEdit::SetInputFloat(double value, double lower, double upper, int nDecimals, int bFloat,
                               const QString& message)
{
    m_dLower = lower;
    m_dUpper = upper;
    m_nDecimals = nDecimals < 0 ? 0 : nDecimals;
    m_bFloat = bFloat != 0;
    m_strMessage = message;
    m_bNumeric = true;
    SetWindowValue(value);
}

void CSuperEdit::SetWindowValue(double value)
{
    m_dValue = value;
    setText(FormatValue(value));
    setModified(false);
}

double CSuperEdit::GetWindowValue() const
{
    double value = 0.0;
    return ParseAccepted(text(), value) ? value : m_dValue;
}

void CSuperEdit::OnEditingFinished()
{
    if (!m_bNumeric || isReadOnly() || m_bRefusing)
        return;

    double value = 0.0;
    if (ParseAccepted(text(), value)) {
        m_dValue = value;
        return;
    }
    // Put the good value back before the box opens, so nothing reads the refused text meanwhile.
    m_bRefusing = true;
    SetWindowValue(m_dValue);
    CTQUiService::Instance().MessageBox(this, m_strMessage, QMessageBox::Warning);
    selectAll();
    m_bRefusing = false;
}

bool CSuperEdit::ParseAccepted(const QString& text, double& value) const
{
    bool bNumber = false;
    const QString trimmed = text.trimmed();
    // The fields are written and read with "." whatever the user's locale, as the stored values are.
    const double parsed = m_bFloat ? QLocale::c().toDouble(trimmed, &bNumber)
                                   : static_cast<double>(QLocale::c().toLongLong(trimmed, &bNumber));
    if (!bNumber || !std::isfinite(parsed))
        return false;
    if (m_bNumeric && (parsed < m_dLower || parsed > m_dUpper))
        return false;
    value = parsed;
    return true;
}

QString CSuperEdit::FormatValue(double value) const
{
    if (m_nDecimals > 0)
        return QLocale::c().toString(value, 'f', m_nDecimals);
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}
