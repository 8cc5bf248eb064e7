// The import commands of the desktop program. They need no window: every question goes
// through the interaction interface.
#pragma once

class CCatforgeDoc;
class IUserInteraction;

// Tools / Normalize Data File: pads a line-oriented file to fixed-length records.
void RunNormalizeDataFile(IUserInteraction& ui);
// File / Import VizieR ReadMe: fills the document from a CDS ReadMe. True when it did.
bool RunImportCdsReadMe(CCatforgeDoc& doc, IUserInteraction& ui);
