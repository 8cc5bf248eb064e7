#include "app/CatforgeView.h"

#include "core/compile/Compile.h"
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
    : QWidget(parent), m_doc(doc), m_ui(ui), m_commands(EditorCommandTable::Defaults()) {
    setWhatsThis(
        tr("The Catforge window. Each aspect of the definition is edited in its own "
           "dialog: use the Operations menu. Tools / Compile writes the catalogue."));
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
}

bool CCatforgeView::OnCompile() {
    return CompileDefinition(m_doc, m_epochState, m_ui);
}
