#pragma once

#include "host/TQHostExport.h"

#include <QLineEdit>
#include <QString>

/// The host's numeric edit field. After SetInputFloat it holds one number within a closed range;
/// when editing finishes (Enter or leaving the field) with text that is no number or a number out
/// of range, it shows its message in a warning box through CTQUiService and puts the last accepted
/// value back. A read-only field (QLineEdit::setReadOnly) checks nothing.
class TQHOST_EXPORT CSuperEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CSuperEdit(QWidget* parent = nullptr);
    ~CSuperEdit() override;

    /// Makes the field a numeric field and shows `value`.
    /// - `lower`, `upper`: the accepted range, both ends included;
    /// - `nDecimals`: decimals shown by SetWindowValue; 0 shows the shortest text that reads back
    ///   as the same number ("8.7", "23.26");
    /// - `bFloat`: non-zero accepts decimal numbers, 0 accepts whole numbers only;
    /// - `message`: the text shown when input is refused ("内表面换热系数应大于0").
    void SetInputFloat(double value, double lower, double upper, int nDecimals, int bFloat, const QString& message);

    /// Shows `value` and makes it the last accepted value; the range is not checked.
    void SetWindowValue(double value);
    /// The number the field holds: the text's value when it is an accepted number, otherwise the
    /// last accepted value (while the user is still typing, for instance).
    double GetWindowValue() const;

private:
    void OnEditingFinished();
    bool ParseAccepted(const QString& text, double& value) const;
    QString FormatValue(double value) const;

    double m_dValue = 0.0;
    double m_dLower = 0.0;
    double m_dUpper = 0.0;
    int m_nDecimals = 0;
    bool m_bFloat = true;
    bool m_bNumeric = false;  ///< SetInputFloat was called
    bool m_bRefusing = false; ///< the refusal message is open; its focus change must not check again
    QString m_strMessage;
};
