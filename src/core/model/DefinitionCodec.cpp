#include "core/model/DefinitionCodec.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "core/io/ByteIO.h"
#include "core/model/Definition.h"

namespace {

// A member's label as it reads inside a message: "Field name" -> "field name".
std::string What(const char* label) {
    std::string what = label;
    if (!what.empty())
        what[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(what[0])));
    return what;
}

bool Included(std::uint8_t storage, DefinitionBytes form, std::int32_t version, bool head) {
    if (form == DefinitionBytes::Catalogue)
        return (storage & kNotInCatalogue) == 0;
    if (((storage & kFileHead) != 0) != head)
        return false;
    return version > 1 || (storage & kSinceVersion2) == 0;
}

template <typename Owner>
void EncodeMembers(CByteWriter& out, const Owner& owner);
template <typename Owner>
void DecodeMembers(CByteReader& in, Owner& owner);

void EncodeValue(CByteWriter& out, int value) {
    out.WriteInt32(value);
}
void EncodeValue(CByteWriter& out, Colour value) {
    out.WriteUInt32(value);
}
void EncodeValue(CByteWriter& out, const std::string& value) {
    out.WriteString(value);
}
void EncodeValue(CByteWriter& out, const DataFilePath& path) {
    // The path, its terminator, and zeros to the end of the field.
    DataFilePath field{};
    const auto length =
        static_cast<std::size_t>(std::find(path.begin(), path.end() - 1, '\0') - path.begin());
    std::memcpy(field.data(), path.data(), length);
    out.WriteBytes(std::string_view(field.data(), field.size()));
}
template <typename T, std::size_t N>
void EncodeValue(CByteWriter& out, const std::array<T, N>& values) {
    for (const T& value : values)
        EncodeValue(out, value);
}
template <typename T>
void EncodeValue(CByteWriter& out, const std::vector<T>& list) {
    out.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (const T& element : list)
        EncodeMembers(out, element);
}

void DecodeValue(CByteReader& in, const char*, int& value) {
    value = in.ReadInt32();
}
void DecodeValue(CByteReader& in, const char*, Colour& value) {
    value = in.ReadUInt32();
}
void DecodeValue(CByteReader& in, const char* label, std::string& value) {
    value = in.ReadString(What(label).c_str());
}
void DecodeValue(CByteReader& in, const char*, DataFilePath& path) {
    const std::size_t at = in.Offset();
    const std::string field = in.ReadBytes(path.size(), "bytes of the data file path");
    if (in.Failed())
        return;
    const std::size_t end = field.find('\0');
    if (end == std::string::npos) {
        in.FailAt(at, "the data file path has no terminating zero");
        return;
    }
    // The bytes after the terminator mean nothing; keep zeros there.
    path.fill('\0');
    std::memcpy(path.data(), field.data(), end);
}
template <typename T, std::size_t N>
void DecodeValue(CByteReader& in, const char* label, std::array<T, N>& values) {
    for (T& value : values)
        DecodeValue(in, label, value);
}
template <typename T>
void DecodeValue(CByteReader& in, const char* label, std::vector<T>& list) {
    // Every member of a list element is an integer or a string, each at least 4 bytes.
    constexpr std::size_t kMinElementSize = 4 * std::size(MemberTable<T>::kMembers);
    const std::int32_t count = in.ReadCount(kMinElementSize, What(label).c_str());
    list.clear();
    for (std::int32_t i = 0; i < count && !in.Failed(); ++i) {
        T element{};
        DecodeMembers(in, element);
        if (!in.Failed())
            list.push_back(std::move(element));
    }
}

template <typename Owner>
void EncodeMembers(CByteWriter& out, const Owner& owner) {
    ForEachMember(owner, [&](const auto&, const auto& value) { EncodeValue(out, value); });
}
template <typename Owner>
void DecodeMembers(CByteReader& in, Owner& owner) {
    ForEachMember(owner,
                  [&](const auto& member, auto& value) { DecodeValue(in, member.label, value); });
}

}  // namespace

void EncodeDefinitionMembers(const Definition& definition, DefinitionBytes form, CByteWriter& out) {
    const auto pass = [&](bool head) {
        ForEachMember(definition, [&](const Member<Definition>& member, const auto& value) {
            if (Included(member.storage, form, kDefinitionFileVersion, head))
                EncodeValue(out, value);
        });
    };
    if (form == DefinitionBytes::File)
        pass(true);
    pass(false);
}

void DecodeDefinitionMembers(CByteReader& in, DefinitionBytes form, std::int32_t version,
                             Definition& definition) {
    const auto pass = [&](bool head) {
        ForEachMember(definition, [&](const Member<Definition>& member, auto& value) {
            if (Included(member.storage, form, version, head))
                DecodeValue(in, member.label, value);
        });
    };
    if (form == DefinitionBytes::File)
        pass(true);
    pass(false);
}
