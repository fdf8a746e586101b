// What the records store and read back exactly, and how they fail: Chinese text, full double
// precision, null columns, a missing table, a read-only or absent library (hostile names:
// HostileNameTest).
#include "records/CTQBSCategory.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <tuple>

using namespace TQLoad;

using RecordStorageTest = LibraryFixture;

TEST_F(RecordStorageTest, ValuesRoundTripExactly)
{
    CTQTimbering material;
    material.Init();
    material.SetStuffName(QStringLiteral("加气混凝土、泡沫混凝土 ρ=700"));
    material.SetGMD(0.1 + 0.2);
    material.SetDrXs(1.0 / 3.0);
    material.SetBRr(1e-300);
    material.SetCommonFlag(1);
    material.SetProvinceID(12);
    material.TTId = 3;
    ASSERT_EQ(material.AddIfNotExist(nullptr, 1), DBS_Added);

    CTQTimbering stored;
    ASSERT_TRUE(stored.ReadData(material.GetID(), nullptr));
    const auto fields = [](const CTQTimbering& m) {
        return std::tuple(m.GetStuffName(), m.GetGMD(), m.GetDrXs(), m.GetBRr(), m.GetCommonFlag(), m.GetProvinceID(),
                          m.TTId);
    };
    EXPECT_EQ(fields(stored), fields(material)); // bit for bit: 0.1 + 0.2, 1/3 and 1e-300 too
    EXPECT_EQ(stored.GetStuffID(), stored.GetID());
}

TEST_F(RecordStorageTest, NullColumnsReadAsEmptyAndZero)
{
    Exec(QStringLiteral("INSERT INTO BSCode (Name, BSTId, CommonFlag, ProvinceId) VALUES (NULL, NULL, NULL, NULL)"));
    // SQLite keeps a text in a number column; PostgreSQL refuses it, so there it is the default.
    // (A NULL real is how a NaN is stored: it reads back as NaN.)
    Exec(IsPostgres()
             ? QStringLiteral("INSERT INTO Timbering (Name, GMD, BRr) VALUES (NULL, NULL, NULL)")
             : QStringLiteral("INSERT INTO Timbering (Name, GMD, DrXs, BRr) VALUES (NULL, NULL, 'abc', NULL)"));
    Exec(QStringLiteral("INSERT INTO BSDaLei (Name) VALUES (NULL)"));

    CTQBSCode code;
    code.Name = QStringLiteral("占位");
    code.CommonFlag = 9;
    ASSERT_TRUE(code.ReadData(1, nullptr));
    EXPECT_TRUE(code.Name.isEmpty());
    EXPECT_EQ(code.CommonFlag, 0);
    EXPECT_EQ(code.BSTId, 0);

    CTQTimbering material;
    ASSERT_TRUE(material.ReadData(1, nullptr));
    EXPECT_TRUE(material.GetStuffName().isEmpty());
    EXPECT_EQ(material.GetDrXs(), 0.0) << "a text in a number column reads as 0, never as a guess";

    CTQBSCategory category;
    ASSERT_TRUE(category.ReadData(1, nullptr));
    EXPECT_TRUE(category.Name.isEmpty());
}

TEST_F(RecordStorageTest, MissingTableGivesFailureStatuses)
{
    Exec(QStringLiteral("DROP TABLE BSCode"));
    Exec(QStringLiteral("DROP TABLE Timbering"));
    CTQBSCode code;
    code.Name = QStringLiteral("砖墙");
    EXPECT_EQ(code.IsExist(nullptr), DBS_Failed);
    EXPECT_EQ(code.AddIfNotExist(nullptr, 1), DBS_Failed);
    EXPECT_EQ(code.UpdateIfNoOther(nullptr, 1), DBS_Failed);
    EXPECT_EQ(code.ReadData(1, nullptr), 0);
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral("砖墙"), nullptr), -1);
    EXPECT_EQ(CTQTimbering::HasTimbering(QStringLiteral("砖"), nullptr), -1);
    EXPECT_EQ(code.Name, QStringLiteral("砖墙")) << "a failed check leaves the record as it was";
}

TEST_F(RecordStorageTest, ReadOnlyLibraryRefusesWritesButReads)
{
    CTQBSType type;
    ASSERT_TRUE(type.ReadData(AddType(QStringLiteral("砖墙"), 0), nullptr));
    OpenLibrary(/*readOnly=*/true);

    CTQBSType another;
    another.Name = QStringLiteral("新类型");
    EXPECT_EQ(another.AddIfNotExist(nullptr, 1), DBS_Failed);
    EXPECT_EQ(another.GetID(), 0);
    type.BSDLId = 5;
    EXPECT_EQ(type.UpdateIfNoOther(nullptr, 1), DBS_Failed);

    CTQBoundingStructure layers;
    layers.BSCId = 1;
    EXPECT_EQ(layers.AddOrUpdate(nullptr), DBS_Failed);

    CTQBSType stored;
    EXPECT_TRUE(stored.ReadData(type.GetID(), nullptr));
    EXPECT_EQ(stored.BSDLId, 0);
}

TEST_F(RecordStorageTest, NoLibraryOpenGivesFailureStatuses)
{
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
    CTQWallProvince province;
    province.Name = QStringLiteral("北京市");
    EXPECT_EQ(province.IsExist(nullptr), DBS_Failed);
    EXPECT_EQ(province.AddIfNotExist(nullptr, 1), DBS_Failed);
    EXPECT_EQ(CTQTimberingType::HasTimberingType(QStringLiteral("x"), nullptr), -1);
    EXPECT_EQ(CTQBoundingStructure::HasBoundingStructure(1, 1, nullptr), -1);
}

TEST_F(RecordStorageTest, StaticLookupsOnEmptyTables)
{
    EXPECT_EQ(CTQTimbering::HasTimbering(QStringLiteral("任何"), nullptr), 0);
    EXPECT_EQ(CTQBoundingStructure::HasBoundingStructure(1, 1, nullptr), 0);
    Exec(QStringLiteral("INSERT INTO BoundingStructure (BSCId, TId) VALUES (3, 4)"));
    EXPECT_EQ(CTQBoundingStructure::HasBoundingStructure(3, 4, nullptr), 1);
}

TEST_F(RecordStorageTest, FileThatIsNoDatabaseIsRefusedOnOpen)
{
    const QString path = m_Folder.filePath(QStringLiteral("garbage.sqlite"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    CTQDatabaseConfig config;
    config.path = path;
    QString error;
    EXPECT_EQ(CTQLibraryDatabase::Open(config, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}
