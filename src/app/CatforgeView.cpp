#include "app/CatforgeView.h"

#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/OverviewPane.h"
#include "app/SkyMapWidget.h"
#include "core/compile/Compile.h"
#include "core/compile/DataCheck.h"
#include "core/editing/ImportCommands.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"

EditorCommandTable EditorCommandTable::Defaults() {
    EditorCommandTable table;
    table.general = RunGeneralEditor;
    table.fields = RunFieldsEditor;
    table.userSymbols = RunUserSymbolsEditor;
    table.objectTypes = RunObjectTypesEditor;
    table.raDec = RunRaDecEditor;
    table.labels = RunLabelsEditor;
    table.size = RunSizeEditor;
    table.magnitude = RunMagnitudeEditor;
    table.browseData = RunDataBrowser;
    table.normalizeDataFile = [](IUserInteraction& ui, QWidget*) { RunNormalizeDataFile(ui); };
    table.importCdsReadMe = [](CCatforgeDoc& doc, IUserInteraction& ui, QWidget*) {
        return RunImportCdsReadMe(doc, ui);
    };
    return table;
}

CCatforgeView::CCatforgeView(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent)
    : QWidget(parent),
      m_doc(doc),
      m_ui(ui),
      m_commands(EditorCommandTable::Defaults()),
      m_pOverview(new COverviewPane(this)),
      m_pSkyMap(new CSkyMapWidget(this)),
      m_pMapSummary(new QLabel(this)) {
    setWhatsThis(
        tr("The Catforge window. Each aspect of the definition is edited in its own "
           "dialog: use the Operations menu. Tools / Compile writes the catalogue."));
    // The line under the map is the data check's summary of the whole file.
    m_pSkyMap->SetSummaryFunction([](const CCatforgeDoc& definition, const std::string& dataPath,
                                     const std::atomic<bool>& cancel) {
        CSilentInteraction silent;
        DataCheckSummary summary;
        if (!CheckData(
                definition, dataPath, silent, [](const DataProblem&) {}, summary,
                [&cancel] { return cancel.load(); })) {
            return std::string();
        }
        return FormatSummary(summary);
    });
    m_pMapSummary->setObjectName("mapSummary");
    m_pMapSummary->setWordWrap(true);
    m_pMapSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* mapSide = new QWidget(this);
    auto* mapLayout = new QVBoxLayout(mapSide);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addWidget(m_pSkyMap, 1);
    mapLayout->addWidget(m_pMapSummary);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_pOverview);
    splitter->addWidget(mapSide);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({420, 680});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(m_pOverview, &COverviewPane::editRequested, this, &CCatforgeView::OnEditGroup);
    connect(this, &CCatforgeView::documentChanged, this, &CCatforgeView::OnUpdate);
    const auto showSummary = [this] {
        QString text = m_pSkyMap->Summary();
        if (m_pSkyMap->SelectedRecord() >= 0)
            text += "\n" + tr("Record %1 selected.").arg(m_pSkyMap->SelectedRecord() + 1);
        m_pMapSummary->setText(text);
    };
    connect(m_pSkyMap, &CSkyMapWidget::mapChanged, this, showSummary);
    connect(m_pSkyMap, &CSkyMapWidget::recordSelected, this, showSummary);
    OnUpdate();
}

void CCatforgeView::OnUpdate() {
    m_pOverview->ShowDefinition(m_doc);
    m_pSkyMap->ShowDefinition(m_doc);
}

void CCatforgeView::OnEditGroup(OverviewGroupId group) {
    switch (group) {
        case OverviewGroupId::General:
            OnGeneral();
            break;
        case OverviewGroupId::Fields:
            OnFields();
            break;
        case OverviewGroupId::UserSymbols:
            OnUserSymbols();
            break;
        case OverviewGroupId::ObjectTypes:
            OnObjectTypes();
            break;
        case OverviewGroupId::Position:
            OnRaDec();
            break;
        case OverviewGroupId::Labels:
            OnLabels();
            break;
        case OverviewGroupId::Size:
            OnSize();
            break;
        case OverviewGroupId::Magnitude:
            OnMagnitude();
            break;
    }
}

void CCatforgeView::RunEditor(const EditorCommandTable::Editor& editor) {
    if (editor && editor(m_doc, m_ui, this))
        emit documentChanged();
}

void CCatforgeView::OnGeneral() {
    RunEditor(m_commands.general);
}
void CCatforgeView::OnFields() {
    RunEditor(m_commands.fields);
}
void CCatforgeView::OnUserSymbols() {
    RunEditor(m_commands.userSymbols);
}
void CCatforgeView::OnObjectTypes() {
    RunEditor(m_commands.objectTypes);
}
void CCatforgeView::OnRaDec() {
    RunEditor(m_commands.raDec);
}
void CCatforgeView::OnLabels() {
    RunEditor(m_commands.labels);
}
void CCatforgeView::OnSize() {
    RunEditor(m_commands.size);
}
void CCatforgeView::OnMagnitude() {
    RunEditor(m_commands.magnitude);
}

void CCatforgeView::OnBrowseData() {
    if (m_commands.browseData)
        m_commands.browseData(m_doc, m_ui, this);
}

void CCatforgeView::OnNormalizeDataFile() {
    if (m_commands.normalizeDataFile)
        m_commands.normalizeDataFile(m_ui, this);
    // The data file may have been rewritten in place.
    OnUpdate();
}

bool CCatforgeView::OnCompile() {
    return CompileDefinition(m_doc, m_epochState, m_ui);
}
