// The Operations commands of the symbol subsystem with their modal run made replaceable:
// `run` is handed the prepared dialog and returns how it ended (QDialog::Accepted or
// Rejected). RunObjectTypesEditor and RunUserSymbolsEditor (app/EditorCommands.h) pass exec().
#pragma once

#include <functional>

class QWidget;
class CCatforgeDoc;
class IUserInteraction;
class CObjectTypeDlg;
class CSymbolListDlg;

bool RunObjectTypesEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent,
                          const std::function<int(CObjectTypeDlg&)>& run);
bool RunUserSymbolsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent,
                          const std::function<int(CSymbolListDlg&)>& run);
