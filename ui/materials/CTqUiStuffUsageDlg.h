#pragma once

#include "TQWallExport.h"
#include "library/CTQMaterialUsage.h"

#include <QDialog>

class CTqUiReportControl;
class QLabel;

/// "使用情况": the constructions made of one material (category, type, name, province and the
/// layers that use it). A double click opens the construction in the construction library; the
/// list is read again when the library closes, as the construction may have changed there.
class TQWALL_EXPORT CTqUiStuffUsageDlg : public QDialog
{
    Q_OBJECT

public:
    CTqUiStuffUsageDlg(int materialId, const QString& materialName, QWidget* parent = nullptr);
    ~CTqUiStuffUsageDlg() override;

protected:
    /// Fits the columns to the list whenever its viewport is resized.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Reads the uses from the library and fills the list; a failure is reported.
    void Refresh();
    void OpenConstruction(int row);

    int m_nMaterialId = 0;
    QString m_strMaterialName;
    QLabel* m_pSummary = nullptr;
    CTqUiReportControl* m_pList = nullptr;
};
