// Placeholder until the compile is in place.
#include "compile/Compile.h"

bool CompileDefinition(CCatforgeDoc&, EpochState&, IUserInteraction&, const CompileOptions&) {
    return false;
}

std::string ProposedCatalogName(const std::string&) { return "Untitled.zdc"; }
