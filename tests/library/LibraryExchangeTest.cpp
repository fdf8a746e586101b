// Exchange files: a library carried to another one whole and exactly, duplicates settled by the
// chosen policy, and a broken file that writes nothing.
#include "library/CTQBSDataAdmin.h"
#include "library/CTQLibraryExchange.h"
#include "library/CTQLibrarySeed.h"
#include "library/CTQTimberingVapour.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <map>

class LibraryExchangeTest : public LibraryFixture
{
protected:
    using Results = std::map<QString, std::array<double, 5>>;
    using E = CTQLibraryExchange;

    void FillDefault()
    {
        CTQLibrarySeed seed(Db(), QStringLiteral(TQWALL_SOURCE_DATA_DIR));
        ASSERT_TRUE(seed.Fill()) << seed.GetErrorText().toStdString();
    }
    /// The library emptied and given only the names every library shares, as a new file gets them.
    void MakeEmpty()
    {
        Clear();
        CTQLibrarySeed seed(Db(), QStringLiteral(TQWALL_SOURCE_DATA_DIR));
        ASSERT_TRUE(seed.FillReferenceData()) << seed.GetErrorText().toStdString();
    }

    void Clear()
    {
        for (const char* table :
             {"BoundingStructure", "BSCode", "BSType", "TimberingVapour", "Timbering", "TimberingType", "WallProvince",
              "BSDaLei"})
            Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }

    QByteArray Export(E::ESelection selection, const QString& name = {}, int id = 0)
    {
        E exchange;
        QByteArray json;
        EXPECT_TRUE(exchange.ExportDocument(selection, name, id, &json)) << exchange.GetErrorText().toStdString();
        return json;
    }
    /// Imports `json`; false with the message when it was refused.
    bool Import(const QByteArray& json, E::EDuplicate policy, E::TQPlan* plan = nullptr, QString* error = nullptr)
    {
        E exchange;
        const bool done = exchange.ReadDocument(json, QStringLiteral("test.json")) && exchange.Import(policy);
        if (plan)
            *plan = exchange.GetPlan();
        if (error)
            *error = exchange.GetErrorText();
        return done;
    }

    /// The five results of every construction, keyed by province, type and name (IDs differ
    /// between libraries), evaluated with Ri 0.11 and Re 0.04 m²·K/W.
    Results Evaluate()
    {
        QHash<int, QString> typeNames, provinceNames;
        CADORecordset rows;
        for (const auto& [table, names] : {std::pair{"BSType", &typeNames}, std::pair{"WallProvince", &provinceNames}}) {
            EXPECT_TRUE(rows.Open(Db(), QStringLiteral("SELECT ID, Name FROM %1").arg(QLatin1String(table))));
            for (; !rows.IsEOF(); rows.MoveNext()) {
                int id = 0;
                QString name;
                rows.GetFieldValue("ID", id);
                rows.GetFieldValue("Name", name);
                names->insert(id, name);
            }
        }
        QHash<int, QHash<int, CTQArray<CTQWallData>>> walls;
        CTQBSDataAdmin().GetAllBSCodeCWallDataAry(walls, true, CTQCrXs(1 / 0.04, 1 / 0.04, 1 / 0.11));
        Results results;
        for (auto province = walls.cbegin(); province != walls.cend(); ++province)
            for (auto type = province->cbegin(); type != province->cend(); ++type)
                for (const CTQWallData& wall : *type)
                    results[provinceNames.value(province.key()) + '/' + typeNames.value(type.key()) + '/' +
                            wall.m_strBSCName] = {wall.GetCrXs(), wall.GetDjCrXs(), wall.GetNCrXs(), wall.GetSj(),
                                                  wall.GetYc()};
        return results;
    }

    /// A small library: one material, one type of exterior walls, one construction of two layers.
    int MakeSmallLibrary()
    {
        const int category = AddCategory("外墙", 1);
        const int materialType = AddMaterialType("砂浆");
        const int mortar = AddMaterial("水泥砂浆'; --", materialType, 0, 0, 1800, 0.93, 1.05);
        const int brick = AddMaterial("砖 100%", materialType, 0, 0, 1700, 0.81, 1.05);
        const int code = AddCode("墙 \"A\"", AddType("砖墙", category), 0, 1);
        AddLayers(code, QString("%1,%2").arg(mortar).arg(brick), "20,240", "1,1");
        return code;
    }
    QString Layers(int code)
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), "SELECT HouDuS FROM BoundingStructure WHERE BSCId = ?", {code}));
        QString thicknesses;
        rows.GetFieldValue("HouDuS", thicknesses);
        return thicknesses;
    }
};

TEST_F(LibraryExchangeTest, TheDefaultLibraryTravelsWholeAndExactly)
{
    FillDefault();
    // One construction with a picture of its own, which must travel with it.
    CTQBSCode code;
    ASSERT_TRUE(code.ReadData(4, nullptr));
    CTQBSType type;
    ASSERT_TRUE(type.ReadData(code.BSTId, nullptr));
    const QString picture = CTQBSDataAdmin().GetBSDemoBMPPath(type, code);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(picture).path()));
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("\xff\xd8 picture bytes") > 0);
    file.close();
    // Numbers whose shortest exact text has 16 or 17 digits, so any rounding on the way shows.
    CTQBoundingStructure layers;
    CTQBSDataAdmin().GetBS(layers, 4);
    layers.HouDuS = "20.000000000000004" + layers.HouDuS.mid(layers.HouDuS.indexOf(','));
    ASSERT_EQ(layers.AddOrUpdate(nullptr), TQLoad::DBS_Updated);
    Exec("UPDATE Timbering SET DrXs = ? WHERE ID = ?", {1.0 / 3.0, layers.GetStuffIDs().front()});
    const Results before = Evaluate();
    const QByteArray exported = Export(E::Sel_All);

    MakeEmpty();
    ASSERT_TRUE(QFile::remove(picture));
    E::TQPlan plan;
    QString error;
    ASSERT_TRUE(Import(exported, E::Dup_Skip, &plan, &error)) << error.toStdString();
    EXPECT_TRUE(plan.equal.isEmpty() && plan.conflicts.isEmpty() && plan.sameValues.isEmpty());
    EXPECT_EQ(Evaluate(), before);
    EXPECT_EQ(Export(E::Sel_All), exported) << "every name, flag and number read back as written";
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xff\xd8 picture bytes"));

    ASSERT_TRUE(Import(exported, E::Dup_Skip, &plan));
    EXPECT_TRUE(plan.added.isEmpty() && plan.conflicts.isEmpty()) << plan.added.join(", ").toStdString();
    EXPECT_EQ(Export(E::Sel_All), exported) << "a second import changes nothing";
}

TEST_F(LibraryExchangeTest, EachPolicySettlesAConflictingConstruction)
{
    struct Case
    {
        E::EDuplicate policy;
        QString storedLayers; ///< the stored construction's thicknesses afterwards
        int constructions;
    };
    const Case cases[] = {{E::Dup_Skip, "20,300", 1}, {E::Dup_Rename, "20,300", 2}, {E::Dup_Replace, "20,240", 1}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.policy);
        Clear();
        const int code = MakeSmallLibrary();
        const QByteArray exported = Export(E::Sel_Construction, {}, code);
        Exec("UPDATE BoundingStructure SET HouDuS = '20,300' WHERE BSCId = ?", {code});

        E::TQPlan plan;
        ASSERT_TRUE(Import(exported, test.policy, &plan));
        EXPECT_EQ(plan.conflicts.size(), 1);
        EXPECT_EQ(Layers(code), test.storedLayers);
        EXPECT_EQ(CountRows("BSCode"), test.constructions);
        EXPECT_EQ(CountRows("Timbering"), 2) << "equal materials are not added again";
        if (test.policy == E::Dup_Rename) {
            const int renamed = Number("SELECT ID AS N FROM BSCode WHERE Name = ?", {"墙 \"A\" (2)"});
            EXPECT_EQ(Layers(renamed), "20,240");
            ASSERT_TRUE(Import(exported, test.policy, &plan));
            EXPECT_TRUE(plan.added.isEmpty()) << "the renamed copy is found again";
        }
    }

    // A material of equal values under another name is taken, not duplicated.
    Exec("UPDATE Timbering SET Name = '砖' WHERE Name = ?", {"砖 100%"});
    E::TQPlan plan;
    ASSERT_TRUE(Import(Export(E::Sel_Materials).replace("\"砖\"", "\"砖 100%\""), E::Dup_Skip, &plan));
    EXPECT_EQ(plan.sameValues.size(), 1);
    EXPECT_EQ(CountRows("Timbering"), 2);

    // The vapour permeability is part of a material: another μ is a conflict, and replace writes it.
    const int mortar = Number("SELECT ID AS N FROM Timbering WHERE Name = ?", {"水泥砂浆'; --"});
    ASSERT_TRUE(CTQTimberingVapour::Write(mortar, 0.000021));
    const QByteArray withVapour = Export(E::Sel_Materials);
    ASSERT_TRUE(CTQTimberingVapour::Write(mortar, 0.00009));
    ASSERT_TRUE(Import(withVapour, E::Dup_Replace, &plan));
    EXPECT_EQ(plan.conflicts, QStringList{"材质“水泥砂浆'; --”：库中的数值不同"});
    EXPECT_EQ(CTQTimberingVapour::Read(mortar), 0.000021);
}

TEST_F(LibraryExchangeTest, ABrokenFileWritesNothingAndNamesThePlace)
{
    MakeSmallLibrary();
    // The library's own file with one new material and one new construction, broken in one place
    // by each case.
    const QByteArray good = Export(E::Sel_All);
    const auto broken = [&](const QJsonObject& changes, const QJsonObject& layerChanges = {}) {
        QJsonObject layer{{"material", "新材质"}, {"materialProvince", QJsonValue::Null}, {"thicknessMm", 20},
                          {"correctionFactor", 1}};
        QJsonObject construction{{"category", "外墙"}, {"type", "新墙"},   {"name", "墙 B"},
                                 {"province", QJsonValue::Null}, {"common", false}};
        for (auto it = layerChanges.begin(); it != layerChanges.end(); ++it)
            layer[it.key()] = it.value();
        for (auto it = changes.begin(); it != changes.end(); ++it)
            construction[it.key()] = it.value();
        construction["layers"] = QJsonArray{layer};
        QJsonObject root = QJsonDocument::fromJson(good).object();
        QJsonArray materials = root["materials"].toArray();
        materials.append(QJsonObject{{"type", "新类"}, {"name", "新材质"}, {"density", 1}, {"conductivity", 1},
                                     {"specificHeat", 1}, {"common", false}});
        root["materials"] = materials;
        QJsonArray constructions = root["constructions"].toArray();
        constructions.append(construction);
        root["constructions"] = constructions;
        return QJsonDocument(root).toJson();
    };
    AddType("隔墙", AddCategory("内墙", 2));
    E unbroken;
    ASSERT_TRUE(unbroken.ReadDocument(broken({}), "test.json") && unbroken.MakePlan(E::Dup_Skip))
        << unbroken.GetErrorText().toStdString();
    EXPECT_EQ(unbroken.GetPlan().added.size(), 3) << "the material, the type and the construction";

    const std::tuple<const char*, QByteArray, const char*> cases[] = {
        {"bad JSON", good.left(good.size() / 2), "不是有效的 JSON"},
        {"another file", R"({"format": "other", "version": 1})", "不是 TQWall"},
        {"a later version", R"({"format": "tqwall-library", "version": 2})", "不支持的文件版本 2"},
        {"a missing material", broken({}, {{"material", "无此材质"}}),
         "围护结构“墙 B”第 1 层：材质“无此材质”既不在文件中也不在库中"},
        {"a negative thickness", broken({}, {{"thicknessMm", -20}}), "围护结构“墙 B”第 1 层：厚度不能为负"},
        {"a thickness that is text", broken({}, {{"thicknessMm", "20"}}), "围护结构“墙 B”第 1 层：应有材质"},
        {"an unknown category", broken({{"category", "地下室"}}), "未知的分类“地下室”"},
        {"an unknown province", broken({{"province", "火星省"}}), "未知的省份“火星省”"},
        {"a type of another category", broken({{"type", "隔墙"}}), "在库中属于分类“内墙”"},
        {"a picture that is no base64", broken({{"picture", "***"}}), "示意图不是有效的 base64"},
        {"a construction twice", broken({{"name", "墙 \"A\""}, {"type", "砖墙"}}), "在文件中出现了两次"},
        {"a vapour permeability of zero", QByteArray(good).replace("\"vapourPermeability\": null", "\"vapourPermeability\": 0"),
         "蒸汽渗透系数应为正数"},
    };
    const QByteArray before = Export(E::Sel_All);
    const QList<int> counts{CountRows("BSType"), CountRows("Timbering"), CountRows("TimberingType"), CountRows("BSCode")};
    for (const auto& [what, json, message] : cases) {
        SCOPED_TRACE(what);
        QString error;
        EXPECT_FALSE(Import(json, E::Dup_Skip, nullptr, &error));
        EXPECT_TRUE(error.startsWith("test.json：") && error.contains(QString::fromUtf8(message))) << error.toStdString();
        EXPECT_EQ(Export(E::Sel_All), before);
        EXPECT_EQ((QList<int>{CountRows("BSType"), CountRows("Timbering"), CountRows("TimberingType"),
                              CountRows("BSCode")}),
                  counts);
    }
}
