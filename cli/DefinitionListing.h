// The listing of a definition for info, the same for a definition file and for the copy of the
// definition in a compiled catalogue: one line per member of the member table, under the
// table's group headings, field selections and codes with the names they stand for.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct Definition;

// A one-line string: bytes as Latin-1, control bytes escaped, in double quotes.
std::string Quoted(const std::string& bytes);

// "  Name:            value" (the value column starts at 20).
void ListItem(std::ostream& out, const std::string& name, const std::string& value);

// Multi-line text: one output line per line of text, after indent.
void ListLines(std::ostream& out, const std::string& bytes, const std::string& indent);

// The members of definition; symbolNames are the names of its user symbols (for symbol codes).
// fromCatalogue leaves out the members a catalogue does not keep.
void ListDefinition(std::ostream& out, const Definition& definition,
                    const std::vector<std::string>& symbolNames, bool fromCatalogue);
