// The construction sheet: from the library dialog and the editor through the host's file service,
// and written for several constructions at once. The PDF is read back with poppler's tools.
#include "library/CTQBSConstructionSheet.h"

#include "DialogFixture.h"
#include "ui/editor/CTqUiBSInfoDlg.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

class ConstructionSheetTest : public DialogFixture
{
protected:
    /// The standard output of a poppler tool run on `pdf`.
    static QString Poppler(const char* tool, const QString& pdf, QStringList arguments = {})
    {
        QProcess process;
        arguments << pdf;
        if (qstrcmp(tool, "pdftotext") == 0)
            arguments << QStringLiteral("-"); // to standard output
        process.start(QString::fromLatin1(tool), arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << tool;
        EXPECT_EQ(process.exitCode(), 0) << tool << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static int Pages(const QString& pdf)
    {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Poppler("pdfinfo", pdf));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    /// The text of the PDF with its white space collapsed, so table cells read as words.
    static QString Text(const QString& pdf)
    {
        return Poppler("pdftotext", pdf, {QStringLiteral("-layout")}).simplified();
    }
    QString Path(const char* name) const { return m_Folder.filePath(QString::fromUtf8(name)); }
};

// The sheet of the chosen construction holds its names and the K values the list shows, on one
// page, with every font embedded; the name asked for gets ".pdf" when it has none.
TEST_F(ConstructionSheetTest, LibraryDialogWritesTheChosenConstructionAsShown)
{
    auto library = OpenOnCode(m_Brick240);
    const int row = List(*library)->GetFocusedRow();
    ASSERT_GE(row, 0);
    const QStringList shown = List(*library)->GetRowTexts(row);

    Answer({QMessageBox::Ok});
    Service().QueueFileAnswer(Path("240"));
    Click(*library, "sheetButton");
    const QString pdf = Path("240.pdf");
    ASSERT_TRUE(QFile::exists(pdf)) << MessagesShown().join('\n').toStdString();
    EXPECT_EQ(MessagesShown(), QStringList{"计算书已导出到 " + pdf});
    EXPECT_EQ(Service().ShownFileDialogs().last().caption, "导出计算书");

    EXPECT_EQ(Pages(pdf), 1);
    const QString text = Text(pdf);
    for (const QString& expected : {QStringLiteral("240砖墙"), QStringLiteral("砖墙"), QStringLiteral("外墙"),
                                    QStringLiteral("黏土砖"), QStringLiteral("GB 50176")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << '\n' << text.toStdString();
    // 名称, K 夏, 冬, 内, 衰减, 延迟 as the list shows them, with the caller's coefficients 8, 15, 25.
    for (int column = 1; column < shown.size(); ++column)
        EXPECT_TRUE(text.contains(shown[column])) << shown[column].toStdString() << '\n' << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("内表面换热系数 αi 8.00 W/(m²·K)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("外表面换热系数 αe(冬) 25.00 W/(m²·K)"))) << text.toStdString();
    // R = 0.24/0.81 of the brick layer.
    EXPECT_TRUE(text.contains(QStringLiteral("240.0 0.810 1.00 0.296"))) << text.toStdString();

    const QStringList fonts = Poppler("pdffonts", pdf).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts)
        EXPECT_TRUE(font.contains(QRegularExpression(QStringLiteral("\\byes\\b.*\\byes\\b")))) << font.toStdString();

    // Nothing chosen: nothing asked, nothing written.
    library->m_Code = CTQBSCode();
    Answer({QMessageBox::Ok});
    Click(*library, "sheetButton");
    EXPECT_EQ(MessagesShown(), QStringList{"请选择一种围护结构！"});
}

// The editor writes the layers as they stand in its grid, unsaved; several constructions make one
// page each; a file that cannot be written is reported and leaves what was there.
TEST_F(ConstructionSheetTest, EditorSheetAndSeveralPagesAndAFailedWrite)
{
    CTqUiBSInfoDlg editor;
    editor.m_nMode = 2;
    editor.m_CrXs = CallerCrXs();
    editor.m_Code.ReadData(m_Brick240, nullptr);
    editor.m_Type.ReadData(editor.m_Code.BSTId, nullptr);
    editor.m_Category.ReadData(editor.m_Type.BSDLId, nullptr);
    m_Admin.GetBS(editor.m_BoundingStructure, m_Brick240);
    Show(editor);
    editor.m_Code.Name = QStringLiteral("未保存的墙");
    Answer({QMessageBox::Ok});
    Service().QueueFileAnswer(Path("editor.pdf"));
    Click(editor, "sheetButton");
    ASSERT_TRUE(QFile::exists(Path("editor.pdf"))) << MessagesShown().join('\n').toStdString();
    EXPECT_TRUE(Text(Path("editor.pdf")).contains(QStringLiteral("未保存的墙")));

    QList<CTQBSConstructionSheet::Entry> entries;
    for (int id : {m_Brick240, m_NorthWall, m_Brick240}) {
        CTQBSCode code;
        ASSERT_TRUE(code.ReadData(id, nullptr));
        entries.append(CTQBSConstructionSheet::Read(code, CallerCrXs()));
    }
    QString error;
    ASSERT_TRUE(CTQBSConstructionSheet::Write(entries, Path("three.pdf"), &error)) << error.toStdString();
    EXPECT_EQ(Pages(Path("three.pdf")), 3);
    EXPECT_TRUE(Text(Path("three.pdf")).contains(QStringLiteral("黑龙江省")));

    const QString blocked = Path("no-such-folder/sheet.pdf");
    EXPECT_FALSE(CTQBSConstructionSheet::Write(entries, blocked, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("无法写入文件"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(blocked));
}

} // namespace
