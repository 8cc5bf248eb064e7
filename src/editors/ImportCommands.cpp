// Placeholder until the normalize and import commands exist.
#include "app/EditorCommands.h"

void RunNormalizeDataFile(IUserInteraction&, QWidget*) {}
bool RunImportCdsReadMe(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
