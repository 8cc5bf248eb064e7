// The editor commands of the Operations and Tools menus. Each follows the editor protocol:
// copy one group of the document into its dialog, run it modally, and only on OK copy the
// group back whole and mark the document modified. Each returns true when the user pressed OK.
#pragma once

class QWidget;
class CCatforgeDoc;
class IUserInteraction;

bool RunGeneralEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunFieldsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunRaDecEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunLabelsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunSizeEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunMagnitudeEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunObjectTypesEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
bool RunUserSymbolsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);

// Tools / Browse Data: shows the data file a page at a time; never changes the document.
void RunDataBrowser(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
