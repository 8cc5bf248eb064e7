// Placeholder until the position, label, size and magnitude dialogs exist.
#include "app/EditorCommands.h"

bool RunRaDecEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
bool RunLabelsEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
bool RunSizeEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
bool RunMagnitudeEditor(CCatforgeDoc&, IUserInteraction&, QWidget*) { return false; }
