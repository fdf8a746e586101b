#pragma once

#include "TQWallExport.h"
#include "host/thermal/VapourProfile.h"
#include "host/walldata/CTQWallData.h"

#include <QDialog>

class CTqUiProfileChart;
class QDoubleSpinBox;
class QLabel;

/// "温湿度分布": the temperature and vapour profile of one construction with its condensation
/// verdict, under conditions the user may change (kept in the settings).
class TQWALL_EXPORT CTqUiBSProfileDlg : public QDialog
{
    Q_OBJECT

public:
    /// `wall` with its layers and surface coefficients; `provinceId` chooses the default climate.
    CTqUiBSProfileDlg(const CTQWallData& wall, int provinceId, QWidget* parent = nullptr);
    ~CTqUiBSProfileDlg() override;

    const thermal::VapourProfileResult& GetResult() const { return m_Result; }

private:
    QDoubleSpinBox* MakeBox(const QString& objectName, double low, double high, double value);
    /// Recomputes the profile from the boxes, saves them as the new conditions and shows it.
    void OnConditionsChanged();

    CTQWallData m_WallData;
    thermal::VapourProfileResult m_Result;
    QDoubleSpinBox* m_pIndoorTemperature = nullptr;
    QDoubleSpinBox* m_pIndoorHumidity = nullptr;
    QDoubleSpinBox* m_pOutdoorTemperature = nullptr;
    QDoubleSpinBox* m_pOutdoorHumidity = nullptr;
    CTqUiProfileChart* m_pChart = nullptr;
    QLabel* m_pVerdict = nullptr;
};
