// The check a compile makes of a definition before it reads any record.
#pragma once

#include <string>

class CCatforgeDoc;

// Checks, before any record is read, that every field the definition uses for the chosen
// notations, counts, size settings, position angle and (in rule mode) type rules names an
// existing field that lies inside the record. Returns false with the message to show.
[[nodiscard]] bool CheckUsedFields(const CCatforgeDoc& doc, std::string& message);
