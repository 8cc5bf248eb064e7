// The view: the open definition's overview with its sky map beside it, and the handlers of the
// Operations and Tools commands.
#pragma once

#include <QWidget>
#include <functional>

#include "core/compile/Epoch.h"

class CCatforgeDoc;
class COverviewPane;
class CSkyMapWidget;
class IUserInteraction;
class QLabel;
enum class OverviewGroupId;

// The commands the view runs, one per editor. They default to the real dialogs; tests put
// their own in to play a person pressing OK or Cancel.
struct EditorCommandTable {
    using Editor = std::function<bool(CCatforgeDoc&, IUserInteraction&, QWidget*)>;
    Editor general;
    Editor fields;
    Editor userSymbols;
    Editor objectTypes;
    Editor raDec;
    Editor labels;
    Editor size;
    Editor magnitude;
    std::function<void(const CCatforgeDoc&, IUserInteraction&, QWidget*)> browseData;
    std::function<void(IUserInteraction&, QWidget*)> normalizeDataFile;
    Editor importCdsReadMe;

    static EditorCommandTable Defaults();
};

class CCatforgeView : public QWidget {
    Q_OBJECT
public:
    CCatforgeView(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent = nullptr);

    CCatforgeDoc& GetDocument() const { return m_doc; }
    EditorCommandTable& Commands() { return m_commands; }
    const EpochState& GetEpochState() const { return m_epochState; }

    // Operations
    void OnGeneral();
    void OnFields();
    void OnUserSymbols();
    void OnObjectTypes();
    void OnRaDec();
    void OnLabels();
    void OnSize();
    void OnMagnitude();
    // Tools
    void OnBrowseData();
    void OnNormalizeDataFile();
    // Compiles the definition; true when the catalogue was written.
    bool OnCompile();

    // Shows the document as it is now: the overview at once, the sky map when its worker
    // has redrawn it. Called after every change of the document.
    void OnUpdate();
    // Opens the editor of one group of the overview, as its Operations command does.
    void OnEditGroup(OverviewGroupId group);

    COverviewPane& Overview() const { return *m_pOverview; }
    CSkyMapWidget& SkyMap() const { return *m_pSkyMap; }

signals:
    // An editor ended with OK and changed the document.
    void documentChanged();

private:
    void RunEditor(const EditorCommandTable::Editor& editor);

    CCatforgeDoc& m_doc;
    IUserInteraction& m_ui;
    EditorCommandTable m_commands;
    // The compile's epoch: each compile sets it before use.
    EpochState m_epochState;
    COverviewPane* m_pOverview;
    CSkyMapWidget* m_pSkyMap;
    QLabel* m_pMapSummary;
};
