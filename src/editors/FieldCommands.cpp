// Placeholder until the field, general and browser dialogs exist.
#include "app/EditorCommands.h"

bool RunGeneralEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
bool RunFieldsEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
void RunDataBrowser(const CCatforgeDoc&, IUserInteraction&, QWidget*) {}
