// A definition with every member, through the member table, set to a value unlike its default
// and unlike every other member's: integers at the ends of their range, colours with the top
// byte set, strings holding every byte value, lists of two elements.
#pragma once

#include <climits>
#include <cstring>
#include <string>

#include "core/model/Definition.h"

namespace every_member {

inline std::string AllBytes() {
    std::string all(1, '\0');
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    return all;
}

template <typename Owner>
void ChangeMembers(Owner& owner, int& n);

inline void Change(int& value, int& n) {
    ++n;
    value = n % 2 == 0 ? INT_MAX - n : INT_MIN + n;
}
inline void Change(Colour& value, int& n) {
    value = 0xFF000000u + static_cast<Colour>(++n);
}
inline void Change(std::string& value, int& n) {
    value = "text " + std::to_string(++n) + "\r\n" + AllBytes();
}
inline void Change(DataFilePath& path, int& n) {
    const std::string text = "path " + std::to_string(++n) + AllBytes().substr(0x80);
    path.fill('\0');
    std::memcpy(path.data(), text.data(), text.size());
}
template <typename T, std::size_t N>
void Change(std::array<T, N>& values, int& n) {
    for (T& value : values)
        Change(value, n);
}
template <typename T>
void Change(std::vector<T>& list, int& n) {
    list.resize(2);
    for (T& element : list)
        ChangeMembers(element, n);
}

template <typename Owner>
void ChangeMembers(Owner& owner, int& n) {
    ForEachMember(owner, [&](const auto&, auto& value) { Change(value, n); });
}

}  // namespace every_member

// Changes every member of definition, or only the member at index of the table.
inline void ChangeEveryMember(Definition& definition, int only = -1) {
    int n = 0;
    int index = 0;
    ForEachMember(definition, [&](const auto&, auto& value) {
        if (only < 0 || index == only)
            every_member::Change(value, n);
        ++index;
    });
}
