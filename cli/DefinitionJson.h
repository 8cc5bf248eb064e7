// A definition as JSON, so that definitions can be scripted and kept in version control.
//
// The object's keys are the definition's member names in declaration order ("m_strTitle",
// "m_szDataFile", ..., "m_aFields": [{"m_strName": ..., "m_strUnit": ..., "m_nStartCol": ...,
// "m_nEndCol": ...}], ..., "m_aTypeRules"); the compile work area is left out. Integers are
// JSON integers, colours the text "0x00BBGGRR" (an integer is accepted too), the three-element
// members arrays of three.
//
// Definition strings are bytes, JSON text is Unicode: each byte b stands for the character
// U+00bb (the bytes read as Latin-1), so 0x80..0xFF, CR and LF survive the way to JSON and
// back unchanged. Reading JSON, a character above U+00FF is refused.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

struct Definition;

using DefinitionJson = nlohmann::ordered_json;

DefinitionJson DefinitionToJson(const Definition& definition);

// Resets definition and fills it from json; members that json leaves out keep their defaults.
// False for a member of the wrong type or range, or an unknown member; error then names the
// member (e.g. "m_aFields[2].m_nStartCol: expected an integer, got a string") and definition
// is reset.
[[nodiscard]] bool DefinitionFromJson(const DefinitionJson& json, Definition& definition,
                                      std::string& error);

// Bytes as Latin-1 characters, encoded as UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);
// UTF-8 text back to bytes. False for text that is not UTF-8 or holds a character above
// U+00FF; error says which and at which byte of the text.
[[nodiscard]] bool Utf8ToLatin1(std::string_view text, std::string& bytes, std::string& error);
