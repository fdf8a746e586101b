// tqwall_wallbmp: draws the demo picture of every construction type of the default library.
//
//   tqwall_wallbmp <data folder> <output folder>
//
// Reads construction_types.csv, constructions.csv, materials.csv and material_types.csv from the data
// folder and writes "<output folder>/<type name>.jpg" for each type, drawn from the type's first
// construction in constructions.csv. Any inconsistency in the data stops the tool with a message naming
// file and line and exit code 1, so a broken seed file fails the build.

#include "host/core/CTQCsvReader.h"
#include "host/core/TQPicturePath.h"
#include "library/CTQBSSectionPicture.h"
#include "library/CTQMaterialHatches.h"
#include "library/CTQWallSectionPainter.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

const QString kConstructions = QStringLiteral("constructions.csv");

void Print(FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + u'\n'), stream);
}

bool ReadTable(const QDir& dataDir, const QString& fileName, const QStringList& columns, CTQCsvReader* reader,
               QString* error)
{
    if (reader->ReadFile(dataDir.filePath(fileName)) && reader->CheckColumns(columns))
        return true;
    *error = reader->GetErrorText();
    return false;
}

QString Where(const CTQCsvReader& reader, const QString& fileName, qsizetype row)
{
    return QStringLiteral("%1:%2").arg(fileName).arg(reader.GetLineNumber(row));
}

/// The types in file order, each with its category's side labels and no layers yet.
bool LoadTypes(const QDir& dataDir, QList<CTQWallSectionPainter::Section>* sections, QString* error)
{
    CTQCsvReader types;
    if (!ReadTable(dataDir, QStringLiteral("construction_types.csv"), {"category", "name"}, &types, error))
        return false;
    for (qsizetype row = 0; row < types.GetRowCount(); ++row) {
        CTQWallSectionPainter::Section section;
        section.typeName = types.GetField(row, QStringLiteral("name"));
        std::tie(section.outsideLabel, section.insideLabel) =
            CTQBSSectionPicture::SideLabels(types.GetField(row, QStringLiteral("category")));
        *sections << section;
    }
    return true;
}

/// The layer on `row` of constructions.csv, its hatch found under the construction's province or else
/// among the national materials.
bool ReadLayer(const CTQCsvReader& rows, qsizetype row, const QString& province, const CTQMaterialHatches& hatches,
               int* index, CTQWallSectionPainter::Layer* layer, QString* error)
{
    bool indexOk = false;
    bool thicknessOk = false;
    layer->material = rows.GetField(row, QStringLiteral("material"));
    layer->thicknessMm = rows.GetField(row, QStringLiteral("thickness_mm")).toDouble(&thicknessOk);
    *index = rows.GetField(row, QStringLiteral("layer_index")).toInt(&indexOk);
    if (!indexOk || !thicknessOk || !(layer->thicknessMm > 0.0)) {
        *error = QStringLiteral("%1: bad layer index or thickness").arg(Where(rows, kConstructions, row));
        return false;
    }
    if (!hatches.Contains(layer->material, province)) {
        *error = QStringLiteral("%1: unknown material \"%2\"").arg(Where(rows, kConstructions, row), layer->material);
        return false;
    }
    layer->hatch = hatches.HatchOf(layer->material, province);
    return true;
}

/// Fills `section` with the layers of its type's first construction, ordered by layer index.
bool LoadFirstConstruction(const CTQCsvReader& rows, const CTQMaterialHatches& hatches,
                           CTQWallSectionPainter::Section* section, QString* error)
{
    QString province;
    std::map<int, CTQWallSectionPainter::Layer> layers;
    for (qsizetype row = 0; row < rows.GetRowCount(); ++row) {
        if (rows.GetField(row, QStringLiteral("type")) != section->typeName)
            continue;
        if (section->constructionName.isEmpty()) {
            section->constructionName = rows.GetField(row, QStringLiteral("name"));
            province = rows.GetField(row, QStringLiteral("province"));
        }
        if (rows.GetField(row, QStringLiteral("name")) != section->constructionName ||
            rows.GetField(row, QStringLiteral("province")) != province)
            continue;
        int index = 0;
        CTQWallSectionPainter::Layer layer;
        if (!ReadLayer(rows, row, province, hatches, &index, &layer, error))
            return false;
        if (!layers.emplace(index, layer).second) {
            *error = QStringLiteral("%1: layer %2 given twice").arg(Where(rows, kConstructions, row)).arg(index);
            return false;
        }
    }
    if (layers.empty()) {
        *error = QStringLiteral("%1: type \"%2\" has no construction").arg(kConstructions, section->typeName);
        return false;
    }
    for (const auto& entry : layers)
        section->layers << entry.second;
    return true;
}

bool LoadSections(const QDir& dataDir, QList<CTQWallSectionPainter::Section>* sections, QString* error)
{
    CTQMaterialHatches hatches;
    CTQCsvReader rows;
    const QStringList columns{"type", "name", "province", "layer_index", "material", "thickness_mm"};
    if (!hatches.Load(dataDir, error) || !LoadTypes(dataDir, sections, error) ||
        !ReadTable(dataDir, kConstructions, columns, &rows, error))
        return false;
    for (CTQWallSectionPainter::Section& section : *sections) {
        if (!LoadFirstConstruction(rows, hatches, &section, error))
            return false;
    }
    return true;
}

bool WritePictures(const QList<CTQWallSectionPainter::Section>& sections, const QDir& outDir, QString* error)
{
    const CTQWallSectionPainter painter(CTQBSSectionPicture::FontFamily());
    for (const CTQWallSectionPainter::Section& section : sections) {
        const QString path = outDir.filePath(TQLoad::SafeFileName(section.typeName) + QStringLiteral(".jpg"));
        if (!painter.Paint(section).save(path, "JPEG", 90)) {
            *error = QStringLiteral("%1: cannot write the picture").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // The tool runs during the build, where no display exists.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3) {
        Print(stderr, QStringLiteral("usage: tqwall_wallbmp <data folder> <output folder>"));
        return 2;
    }
    const QString fontFamily = CTQBSSectionPicture::FontFamily();
    if (!QFontDatabase::families().contains(fontFamily))
        Print(stderr, QStringLiteral("warning: font \"%1\" not found; Chinese labels may not show").arg(fontFamily));

    const QDir dataDir(args[1]);
    const QDir outDir(args[2]);
    QList<CTQWallSectionPainter::Section> sections;
    QString error;
    if (!outDir.mkpath(QStringLiteral(".")))
        error = QStringLiteral("%1: cannot create the folder").arg(args[2]);
    else if (LoadSections(dataDir, &sections, &error) && WritePictures(sections, outDir, &error))
        Print(stdout, QStringLiteral("tqwall_wallbmp: %1 pictures in %2").arg(sections.size()).arg(outDir.path()));
    if (!error.isEmpty()) {
        Print(stderr, QStringLiteral("tqwall_wallbmp: %1").arg(error));
        return 1;
    }
    return 0;
}
