// The definition's members as little-endian bytes, driven by its member table: the body of the
// definition file, and the copy of the definition at the head of a compiled catalogue.
#pragma once

#include <cstdint>

class CByteReader;
class CByteWriter;
struct Definition;

// The version the definition file is written in.
inline constexpr std::int32_t kDefinitionFileVersion = 2;

enum class DefinitionBytes {
    // The definition file: the data file path first, in a fixed field of kMaxDataFilePath
    // bytes; version 2 adds the type mode, the user symbols and the type rules.
    File,
    // The catalogue's copy: the definition file's members without the data file path, the
    // user symbols and the type rules (the catalogue stores the symbols compiled, after it).
    Catalogue,
};

void EncodeDefinitionMembers(const Definition& definition, DefinitionBytes form, CByteWriter& out);

// Reads the members into definition, which should hold the defaults: members that a version 1
// file lacks keep them (version matters only for the File form). A failure shows in
// in.Failed(); definition is then partly read.
void DecodeDefinitionMembers(CByteReader& in, DefinitionBytes form, std::int32_t version,
                             Definition& definition);
