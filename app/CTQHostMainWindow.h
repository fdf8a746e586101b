#pragma once

#include "app/CTQHostProject.h"

#include <QMainWindow>

class QAction;
class QTableWidget;

/// The host's wall list ("围护结构" of a building): each wall with its surface coefficients, its
/// construction and the five results. The engineer chooses a wall's construction through the
/// library's entry function, opens the construction library, and keeps the walls in a project
/// file.
class CTQHostMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit CTQHostMainWindow(QWidget* parent = nullptr);

    const CTQHostProject& GetProject() const { return m_Project; }
    void SetProject(const CTQHostProject& project, const QString& path);
    bool OpenProject(const QString& path);
    bool SaveProject(const QString& path);

public slots:
    /// Runs the construction library on the selected wall; on OK the row shows the choice.
    void ChooseConstruction();
    void OpenConstructionLibrary();
    void OpenMaterialLibrary();
    void NewProject();
    void OpenProjectDialog();
    void Save();
    void SaveAs();
    void AddWall();
    void RemoveWall();

private:
    void CreateActions();
    void FillTable();
    void FillRow(int row);
    void OnCellChanged(int row, int column);
    void UpdateActions();
    void UpdateTitle();

    CTQHostProject m_Project;
    QString m_strPath;
    QTableWidget* m_pTable = nullptr;
    QAction* m_pChooseAction = nullptr;
    QAction* m_pRemoveAction = nullptr;
    bool m_bFilling = false;
};
