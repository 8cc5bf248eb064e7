// Placeholder until the object type and user symbol dialogs exist.
#include "app/EditorCommands.h"

bool RunObjectTypesEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
bool RunUserSymbolsEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
