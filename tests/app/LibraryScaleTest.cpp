// Round trips per action: opening the library dialog, selecting a type, a library-wide query,
// building either tree and `tqwall list` issue no more statements on a library of 10,000
// constructions than on one of 100, and what they read at that size is complete.
#include "app/CTQCommandLine.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CTqUiReportControl.h"
#include "library/CTQBSCoefficientSearch.h"
#include "library/CTQBSDataAdmin.h"
#include "library/CTQLibrarySeed.h"
#include "support/LibraryFixture.h"
#include "tools/libgrow/CTQLibraryGrower.h"
#include "ui/library/CTqUiBSListDlg.h"

#include <QTextStream>

#include <cmath>
#include <functional>

namespace {

// Below the 34 provinces and 21 types of the default library: an action that read province by
// province or type by type would pass it.
constexpr int kMostStatementsPerAction = 20;

/// What one action issued, how many items it produced and how many the library holds for it.
struct Measured
{
    int statements = 0;
    QStringList texts;
    int items = 0;
    int expected = 0;
};

} // namespace

class LibraryScaleTest : public LibraryFixture
{
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        CTQLibrarySeed seed(Db(), QStringLiteral(TQWALL_SOURCE_DATA_DIR));
        ASSERT_TRUE(seed.Fill()) << seed.GetErrorText().toStdString();
    }

    void TearDown() override
    {
        CADODatabase::StopStatementCount();
        LibraryFixture::TearDown();
    }

    void GrowTo(int total)
    {
        CTQLibraryGrower grower(Db());
        ASSERT_TRUE(grower.GrowTo(total)) << grower.GetErrorText().toStdString();
        ASSERT_EQ(grower.CountConstructions(), total);
    }

    /// Runs `action` (which returns the number of items it produced) while counting.
    static Measured Measure(int expected, const std::function<int()>& action)
    {
        CADODatabase::StartStatementCount();
        const int items = action();
        CADODatabase::StopStatementCount();
        return {CADODatabase::GetStatementCount(), CADODatabase::GetCountedStatements(), items, expected};
    }

    /// Every action on the library as it stands, each with the number of constructions (or
    /// headings) it must show.
    QMap<QString, Measured> MeasureActions()
    {
        QMap<QString, Measured> measured;
        {
            // Opened on the first construction of the default library, as a host's wall does: the
            // national constructions of its type are listed.
            CTQBSCode first;
            EXPECT_TRUE(first.ReadData(1, nullptr));
            CTqUiBSListDlg dialog{CTQCrXs()};
            dialog.m_Code.SetID(1);
            dialog.m_WallData.m_nBSCId = 1;
            auto* list = dialog.findChild<CTqUiReportControl*>(QStringLiteral("bsList"));
            measured["open the dialog"] =
                Measure(CountRows("BSCode", "ProvinceId = 0 AND BSTId = ?", {first.BSTId}), [&] {
                    dialog.show();
                    return list->RowCount();
                });
            auto* tree = dialog.findChild<CMutiTreeCtrl*>(QStringLiteral("bsTree"));
            QTreeWidgetItem* type = ProvinceTypeItem(*tree);
            EXPECT_NE(type, nullptr) << "no province of the library holds a construction";
            const auto* typeNode = type ? static_cast<const tagBSNode*>(CMutiTreeCtrl::GetItemNode(type)) : nullptr;
            const int typeId = typeNode ? typeNode->ID : 0;
            const int provinceId = typeNode ? typeNode->Parent->Parent->ID : 0;
            measured["select a type"] = Measure(
                CountRows("BSCode", "ProvinceId = ? AND BSTId = ?", {provinceId, typeId}), [&] {
                    if (type)
                        tree->setCurrentItem(type);
                    return list->RowCount();
                });
            dialog.reject();
        }
        measured["query all kinds"] = Measure(CountRows("BSCode", "ProvinceId = 0"), [] {
            CTQBSCoefficientSearch search;
            return static_cast<int>(search.SearchAll(0.0, 1000.0).size());
        });
        measured["construction tree"] = Measure(3, [] {
            CTQBSDataAdmin admin;
            return admin.GetBSNodes(1)->Children.GetSize();
        });
        measured["material tree"] = Measure(3, [] {
            CTQBSDataAdmin admin;
            return admin.GetTimbNodes(1)->Children.GetSize();
        });
        measured["tqwall list"] = Measure(CountRows("BSCode"), [this] {
            QString out, err;
            QTextStream outStream(&out), errStream(&err);
            QStringList arguments{QStringLiteral("list")};
            if (!CommandLinePath().isEmpty())
                arguments << QStringLiteral("--db") << CommandLinePath();
            EXPECT_EQ(CTQCommandLine(outStream, errStream).Run(arguments), CTQCommandLine::Ok) << err.toStdString();
            outStream.flush();
            return static_cast<int>(out.count(QStringLiteral("] ")));
        });
        return measured;
    }

    /// Material, name, thickness and factors of each layer of `wall`.
    static QList<std::tuple<int, QString, double, double, double>> Layers(const CTQWallData& wall)
    {
        QList<std::tuple<int, QString, double, double, double>> layers;
        for (const CTQTimberingData& l : wall.GetTimbering())
            layers.append(std::tuple(l.GetStuffID(), l.GetStuffName(), l.GetThick(), l.GetDrXs(), l.GetDrXsXz()));
        return layers;
    }

    /// The first type under the first province that has one: the same item at both sizes, since
    /// growing only adds constructions.
    static QTreeWidgetItem* ProvinceTypeItem(CMutiTreeCtrl& tree)
    {
        QTreeWidgetItem* provinces = tree.topLevelItem(2);
        for (int p = 0; provinces && p < provinces->childCount(); ++p) {
            for (int c = 0; c < provinces->child(p)->childCount(); ++c) {
                if (provinces->child(p)->child(c)->childCount() > 0)
                    return provinces->child(p)->child(c)->child(0);
            }
        }
        return nullptr;
    }
};

TEST_F(LibraryScaleTest, RoundTripsOfEveryActionStayWhenTheLibraryGrowsAHundredfold)
{
    GrowTo(100);
    const QMap<QString, Measured> small = MeasureActions();
    GrowTo(10000);
    const QMap<QString, Measured> large = MeasureActions();

    ASSERT_EQ(small.keys(), large.keys());
    for (const QString& action : large.keys()) {
        const Measured& before = small[action];
        const Measured& after = large[action];
        EXPECT_LE(after.statements, before.statements)
            << action.toStdString() << " issues more statements at 10,000 constructions than at 100:\n"
            << after.texts.join('\n').toStdString();
        EXPECT_LE(after.statements, kMostStatementsPerAction) << action.toStdString() << ":\n"
                                                              << after.texts.join('\n').toStdString();
        EXPECT_GT(after.statements, 0) << action.toStdString();
    }

    // What was read is complete at both sizes: the dialog lists the constructions of its type
    // and province, the query finds every national construction (its range holds any K), the
    // listing shows every construction once.
    for (const auto* measured : {&small, &large}) {
        for (const QString& action : measured->keys())
            EXPECT_EQ((*measured)[action].items, (*measured)[action].expected) << action.toStdString();
    }
    EXPECT_EQ(large["tqwall list"].items, 10000);
}

TEST_F(LibraryScaleTest, ConstructionsReadAllAtOnceEqualThemReadOneByOne)
{
    GrowTo(500);
    CTQBSDataAdmin admin;
    QHash<int, QHash<int, CTQArray<CTQWallData>>> all;
    admin.GetAllBSCodeCWallDataAry(all, true, CTQCrXs());
    int compared = 0;
    for (const auto& types : all) {
        for (const CTQArray<CTQWallData>& walls : types) {
            // Every fifth wall is enough to meet every layer count, province and type.
            for (int i = 0; i < walls.GetSize(); i += 5, ++compared) {
                const CTQWallData& listed = walls[i];
                CTQBSCode code;
                ASSERT_TRUE(code.ReadData(listed.m_nBSCId, nullptr));
                const CTQWallData alone = admin.GetBSCodeWallData(code, true, CTQCrXs());
                ASSERT_EQ(listed.m_strBSCName, alone.m_strBSCName);
                EXPECT_EQ(Layers(listed), Layers(alone)) << code.GetID();
                EXPECT_EQ(std::pair(listed.GetCrXs(), listed.GetYc()), std::pair(alone.GetCrXs(), alone.GetYc()));
                EXPECT_TRUE(std::isfinite(listed.GetCrXs())) << code.GetID();
            }
        }
    }
    EXPECT_GT(compared, 500 / 5);
}
