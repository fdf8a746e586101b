#include "ui/materials/CTqUiStuffGrid.h"

#include "records/CTQTimbering.h"

#include <QTreeWidget>

namespace {

const QString kBasicCategory = QStringLiteral("基本信息");
const QString kValueCategory = QStringLiteral("参数");
// The type and name rows carry the captions and descriptions of the library's string resources
// 111 and 103.
const QString kTypeCaption = QStringLiteral("材质类型");
const QString kTypeDescription = QStringLiteral("指定材质类型");
const QString kNameCaption = QStringLiteral("材质名称");
const QString kNameDescription = QStringLiteral("指定材质名称。注:每个材质名称都是唯一的。");

struct ValueRowSpec
{
    const char* caption;
    const char* format; ///< empty: the shortest text that reads back as the number
};
// Density has no fixed decimals; conductivity and specific heat three.
constexpr ValueRowSpec kValueRows[] = {
    {"干密度(kg/m^3)", ""}, {"导热系数(W/m*K)", "%0.3f"}, {"比热容(kJ/kg*K)", "%0.3f"}};

double StoredValue(const CTQTimbering& material, int value)
{
    const double values[] = {material.GetGMD(), material.GetDrXs(), material.GetBRr()};
    return values[value];
}

} // namespace

CTqUiStuffGrid::CTqUiStuffGrid(QWidget* parent) : CTqUiPropertyGrid(parent)
{
    connect(this, &CTqUiPropertyGrid::valueChanged, this, [this](int row, const QString&) { OnValueChanged(row); });
}

void CTqUiStuffGrid::Draw(QString* typeName, const CTQTimbering& material, bool readOnly)
{
    const int basic = AddCategory(kBasicCategory);
    m_nValueCategory = AddCategory(kValueCategory);
    QList<int> rows{AddBoundRow(basic, kTypeCaption, typeName, kTypeDescription),
                    AddRow(basic, kNameCaption, material.GetStuffName(), kNameDescription)};
    for (int value = 0; value < ValueCount; ++value) {
        const ValueRowSpec& spec = kValueRows[value];
        rows.append(AddDoubleRow(m_nValueCategory, QString::fromUtf8(spec.caption), StoredValue(material, value),
                                 QString::fromLatin1(spec.format)));
        m_Shown[static_cast<std::size_t>(value)] = StoredValue(material, value);
    }
    m_Edited.fill(false);
    for (const int row : rows)
        SetRowReadOnly(row, readOnly);
    ExpandAll();
    // The captions are the longest fixed texts; they are shown whole.
    if (auto* tree = findChild<QTreeWidget*>(QStringLiteral("propertyTree")))
        tree->resizeColumnToContents(0);
}

void CTqUiStuffGrid::ShowType(const QString& typeName)
{
    SetRowValue(FindRow(kTypeCaption), typeName);
}

void CTqUiStuffGrid::ShowMaterial(const CTQTimbering& material)
{
    SetRowValue(FindRow(kNameCaption), material.GetStuffName());
    for (int value = 0; value < ValueCount; ++value) {
        SetRowDouble(ValueRow(static_cast<Value>(value)), StoredValue(material, value));
        m_Shown[static_cast<std::size_t>(value)] = StoredValue(material, value);
    }
    m_Edited.fill(false);
}

void CTqUiStuffGrid::ReadMaterial(CTQTimbering& material) const
{
    material.SetStuffName(GetRowValue(FindRow(kNameCaption)));
    material.SetGMD(ReadValue(Density));
    material.SetDrXs(ReadValue(Conductivity));
    material.SetBRr(ReadValue(SpecificHeat));
}

void CTqUiStuffGrid::SelectType()
{
    SelectRow(kTypeCaption);
}

void CTqUiStuffGrid::SelectName()
{
    SelectRow(kNameCaption);
}

double CTqUiStuffGrid::GetConductivity() const
{
    return ReadValue(Conductivity);
}

bool CTqUiStuffGrid::IsConductivityEdited() const
{
    return m_Edited[Conductivity];
}

int CTqUiStuffGrid::ValueRow(Value value) const
{
    return FindRow(QString::fromUtf8(kValueRows[value].caption), m_nValueCategory);
}

double CTqUiStuffGrid::ReadValue(Value value) const
{
    const auto index = static_cast<std::size_t>(value);
    return m_Edited[index] ? GetRowDouble(ValueRow(value)) : m_Shown[index];
}

void CTqUiStuffGrid::OnValueChanged(int row)
{
    for (int value = 0; value < ValueCount; ++value) {
        if (row == ValueRow(static_cast<Value>(value)))
            m_Edited[static_cast<std::size_t>(value)] = true;
    }
}
