#include "core/model/Definition.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

std::string ColourText(Colour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

Definition::Definition() {
    ResetDefinition(*this);
}

std::string Definition::GetDataFile() const {
    const auto end = std::find(m_szDataFile.begin(), m_szDataFile.end(), '\0');
    return std::string(m_szDataFile.begin(), end);
}

void Definition::SetDataFile(const std::string& path) {
    m_szDataFile.fill('\0');
    const std::size_t n = std::min(path.size(), m_szDataFile.size() - 1);
    std::memcpy(m_szDataFile.data(), path.data(), n);
}

void ResetDefinition(Definition& definition) {
    ForEachMember(definition, [](const Member<Definition>& member, auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, int> || std::is_same_v<T, Colour>) {
            value = static_cast<T>(member.defaultValue);
        } else if constexpr (std::is_same_v<T, std::string>) {
            value = member.defaultText;
        } else if constexpr (std::is_same_v<T, std::array<int, 3>>) {
            value.fill(static_cast<int>(member.defaultValue));
        } else if constexpr (std::is_same_v<T, DataFilePath>) {
            value.fill('\0');
        } else {
            value = T{};  // string triples and lists: empty
        }
    });
}
