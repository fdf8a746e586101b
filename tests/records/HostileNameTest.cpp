// Names a user or an old library may hold, through every write of the four keyed records and the
// deletions: each stored and found exactly as typed, nothing else changed, every picture inside
// its folder. One table of names, on both engines.
#include "host/core/CTQUserWork.h"
#include "library/CTQBSDataAdmin.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace TQLoad;

namespace {

QStringList HostileNames()
{
    // clang-format off
    QStringList names{
        "", " ", "  两端空格  ", "\t", "'", "''", "\"", "a\"b", "O'Brien", "x' OR '1'='1", "\" OR \"\"=\"", "%", "%%",
        "_", "a_b", "a%b", "%,12,%", ";", "a; DROP TABLE BSType; --", "--", "-- comment", "/* */", "../", "..", ".",
        "../../etc/passwd", "/", "a/b", "/abs/path", "\\", "a\\b", "..\\..\\w", ".hidden", "~", "~user", "%002F",
        "a\nb", "a\r\nb", "\u202Eabc\u202C", "\u200F右到左\u200E", "שלום", "مرحبا", "😀", "👨‍👩‍👧‍👦", "砖墙🧱", "e\u0301",
        "\u00e9", "Name", "ID", "BSTId", "ProvinceId", "NULL", "null", "select", "*", "?", ":name", "$1", "0", "-1",
        "1e309", "NaN", "外墙", "ａｂｃ"};
    // clang-format on
    names.append({QString(1000, QChar(u'长')), QString(1000, QChar(u'/')), QString(300, QChar(u'x')) + "/"});
    names.append(QStringLiteral("a") + QChar(u'\0') + "b");
    return names;
}

} // namespace

class HostileNameTest : public LibraryFixture
{
protected:
    /// Every row of the library, as text, to tell that nothing else changed.
    QStringList Snapshot()
    {
        QStringList rows;
        for (const char* table : {"BSType", "BSCode", "Timbering", "TimberingType", "BoundingStructure"}) {
            CADORecordset rs;
            EXPECT_TRUE(rs.Open(Db(), QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table)));
            for (QString name, id; !rs.IsEOF(); rs.MoveNext()) {
                rs.GetFieldValue(QStringLiteral("ID"), id);
                rs.GetFieldValue(QStringLiteral("Name"), name);
                rows.append(table + id + name);
            }
        }
        return rows;
    }

    void RoundTrip(const QString& name);
    CTQBSDataAdmin m_Admin;
};

void HostileNameTest::RoundTrip(const QString& name)
{
    CTQBSType type;
    type.Name = name;
    type.BSDLId = 1;
    // PostgreSQL text cannot hold a NUL character: such a name is refused there, cleanly.
    const bool storable = !IsPostgres() || !name.contains(QChar(u'\0'));
    ASSERT_EQ(type.AddIfNotExist(nullptr, 1), storable ? DBS_Added : DBS_Failed);
    if (!storable)
        return;
    CTQBSType foundType;
    foundType.Name = name;
    ASSERT_EQ(foundType.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(std::pair(foundType.GetID(), foundType.Name), std::pair(type.GetID(), name.isNull() ? QStringLiteral("") : name));

    CTQBSCode code;
    code.Name = name;
    code.BSTId = type.GetID();
    ASSERT_EQ(code.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_EQ(CTQBSCode::HasBSCode(name, nullptr), code.GetID());
    CTQBSCode copy = code; // the library dialog's copy: same layers, another name
    copy.SetID(0);
    copy.Name = name + QStringLiteral("副本");
    ASSERT_EQ(copy.AddIfNotExist(nullptr, 1), DBS_Added);
    copy.Name = name + QStringLiteral("改");
    ASSERT_EQ(copy.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    CTQBSCode reread;
    ASSERT_TRUE(reread.ReadData(copy.GetID(), nullptr));
    EXPECT_EQ(reread.Name, name + QStringLiteral("改"));

    CTQTimberingType materialType;
    materialType.Name = name;
    ASSERT_EQ(materialType.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_EQ(CTQTimberingType::HasTimberingType(name, nullptr), materialType.GetID());
    CTQTimbering material;
    material.Init();
    material.SetStuffName(name);
    material.TTId = materialType.GetID();
    ASSERT_EQ(material.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_EQ(CTQTimbering::HasTimbering(name, nullptr), material.GetID());

    // The construction's picture lies one folder below the picture folder, under its own name.
    const QString pictures = QDir(CTQUserWork::GetUserWork()->GetWallBmpDir()).absolutePath();
    const QString picture = m_Admin.GetBSDemoBMPPath(type, code);
    const QFileInfo file(picture);
    EXPECT_EQ(QFileInfo(file.absolutePath()).absolutePath(), pictures) << picture.toStdString();
    ASSERT_TRUE(QDir().mkpath(file.absolutePath()));
    ASSERT_TRUE(QFile(picture).open(QIODevice::WriteOnly)) << picture.toStdString();

    QString message;
    EXPECT_EQ(m_Admin.DeleteBSCode(code, message), 0);
    EXPECT_FALSE(QFile::exists(picture));
    EXPECT_EQ(m_Admin.DeleteBSType(type), 1);
    EXPECT_FALSE(QFileInfo::exists(file.absolutePath()));
    EXPECT_EQ(m_Admin.DeleteTimbering(material, message), 0);
    EXPECT_EQ(m_Admin.DeleteTimberingType(materialType), 1);
}

TEST_F(HostileNameTest, EveryNameIsStoredFoundAndDeletedAsTyped)
{
    // Rows that must come through untouched, and that a pattern match would find first.
    AddCode(QStringLiteral("保留"), AddType(QStringLiteral("保留"), 0), 0, 0);
    AddMaterial(QStringLiteral("保留"), 0, 0, 0, 0, 0, 0);
    const QStringList before = Snapshot();

    const QStringList names = HostileNames();
    ASSERT_GE(names.size(), 50);
    for (const QString& name : names) {
        SCOPED_TRACE(name.left(40).toStdString());
        RoundTrip(name);
        EXPECT_EQ(Snapshot(), before);
        if (HasFatalFailure())
            return;
    }
}

// Text that neither engine gives back as it was bound (found by fuzzing the layer lists): SQLite
// returned U+FFFF as U+FFFD and joined an unpaired surrogate with the next character, PostgreSQL
// dropped a leading byte-order mark. Every bound text is stored the way both read it back, so a
// record reads back alike on both engines and its typed and its stored name both find it.
TEST_F(HostileNameTest, TextNoEngineKeepsIsStoredAsBothReadIt)
{
    // Typed, stored (U+FFFD: the replacement character).
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("墙\uFFFF"), QStringLiteral("墙\uFFFD")},
        {QStringLiteral("x\uFFFEy"), QStringLiteral("x\uFFFDy")},
        {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("bc"), QStringLiteral("a\uFFFDbc")},
        {QStringLiteral("end") + QChar(0xDC00), QStringLiteral("end\uFFFD")},
        {QStringLiteral("\uFEFF外墙"), QStringLiteral("外墙")},
        {QStringLiteral("中\uFEFF间"), QStringLiteral("中\uFEFF间")},
    };
    for (const auto& [typed, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        CTQBSType type;
        type.Name = typed;
        ASSERT_EQ(type.AddIfNotExist(nullptr, 1), DBS_Added);
        CTQBSType stored;
        ASSERT_TRUE(stored.ReadData(type.GetID(), nullptr));
        EXPECT_EQ(stored.Name, expected);
        for (const QString& name : {typed, expected}) {
            CTQBSType found;
            found.Name = name;
            EXPECT_EQ(found.IsExist(nullptr), DBS_Exist);
            EXPECT_EQ(found.GetID(), type.GetID());
        }
    }
}

