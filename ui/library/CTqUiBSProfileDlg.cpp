#include "ui/library/CTqUiBSProfileDlg.h"

#include "library/CTQBSCondensation.h"
#include "ui/library/CTqUiProfileChart.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CTqUiBSProfileDlg::CTqUiBSProfileDlg(const CTQWallData& wall, int provinceId, QWidget* parent)
    : QDialog(parent), m_WallData(wall)
{
    setWindowTitle(QStringLiteral("温湿度分布 - %1").arg(wall.m_strBSCName));
    const thermal::MoistureConditions conditions = CTQBSCondensation::GetConditions(provinceId);
    m_pIndoorTemperature = MakeBox(QStringLiteral("indoorTemperatureBox"), -50.0, 60.0, conditions.indoorTemperature);
    m_pIndoorHumidity = MakeBox(QStringLiteral("indoorHumidityBox"), 0.0, 100.0, conditions.indoorHumidity);
    m_pOutdoorTemperature =
        MakeBox(QStringLiteral("outdoorTemperatureBox"), -60.0, 60.0, conditions.outdoorTemperature);
    m_pOutdoorHumidity = MakeBox(QStringLiteral("outdoorHumidityBox"), 0.0, 100.0, conditions.outdoorHumidity);

    auto* fields = new QHBoxLayout;
    const std::pair<const char*, QDoubleSpinBox*> rows[] = {{"室内温度(℃)", m_pIndoorTemperature},
                                                            {"室内相对湿度(%)", m_pIndoorHumidity},
                                                            {"室外温度(℃)", m_pOutdoorTemperature},
                                                            {"室外相对湿度(%)", m_pOutdoorHumidity}};
    for (const auto& [label, box] : rows) {
        fields->addWidget(new QLabel(QString::fromUtf8(label), this));
        fields->addWidget(box);
    }
    fields->addStretch();

    m_pChart = new CTqUiProfileChart(this);
    m_pChart->setObjectName(QStringLiteral("profileChart"));
    m_pVerdict = new QLabel(this);
    m_pVerdict->setObjectName(QStringLiteral("verdictLabel"));
    m_pVerdict->setWordWrap(true);
    m_pVerdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_pChart, 1);
    layout->addWidget(m_pVerdict);
    layout->addWidget(buttons);
    resize(760, 520);

    OnConditionsChanged();
    for (QDoubleSpinBox* box : {m_pIndoorTemperature, m_pIndoorHumidity, m_pOutdoorTemperature, m_pOutdoorHumidity})
        connect(box, &QDoubleSpinBox::valueChanged, this, &CTqUiBSProfileDlg::OnConditionsChanged);
}

CTqUiBSProfileDlg::~CTqUiBSProfileDlg() = default;

QDoubleSpinBox* CTqUiBSProfileDlg::MakeBox(const QString& objectName, double low, double high, double value)
{
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(objectName);
    box->setRange(low, high);
    box->setDecimals(1);
    box->setValue(value); // a setting outside the range is brought into it
    return box;
}

void CTqUiBSProfileDlg::OnConditionsChanged()
{
    thermal::MoistureConditions conditions;
    conditions.indoorTemperature = m_pIndoorTemperature->value();
    conditions.indoorHumidity = m_pIndoorHumidity->value();
    conditions.outdoorTemperature = m_pOutdoorTemperature->value();
    conditions.outdoorHumidity = m_pOutdoorHumidity->value();
    m_Result = CTQBSCondensation::Evaluate(m_WallData, conditions);
    QStringList names;
    for (const CTQTimberingData& layer : m_WallData.GetTimbering())
        names.append(layer.GetStuffName());
    m_pChart->SetProfile(m_Result, names);
    m_pVerdict->setText(CTQBSCondensation::VerdictLines(m_WallData, m_Result).join(QLatin1Char('\n')));
    if (sender())
        CTQBSCondensation::SaveConditions(conditions);
}
