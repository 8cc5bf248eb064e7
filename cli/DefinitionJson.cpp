#include "DefinitionJson.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "core/model/CatforgeDoc.h"
#include "core/model/Definition.h"

namespace {

std::string KindOf(const DefinitionJson& v) {
    switch (v.type()) {
        case DefinitionJson::value_t::null:
            return "null";
        case DefinitionJson::value_t::boolean:
            return "true/false";
        case DefinitionJson::value_t::number_integer:
        case DefinitionJson::value_t::number_unsigned:
            return "an integer";
        case DefinitionJson::value_t::number_float:
            return "a number with a fraction";
        case DefinitionJson::value_t::string:
            return "a string";
        case DefinitionJson::value_t::array:
            return "an array";
        case DefinitionJson::value_t::object:
            return "an object";
        default:
            return "something else";
    }
}

std::string Join(const std::string& where, const std::string& key) {
    return where.empty() ? key : where + "." + key;
}

std::string Index(const std::string& where, std::size_t i) {
    return where + "[" + std::to_string(i) + "]";
}

// Reads JSON values into members; the first failure is kept in m_strError.
class CJsonReader {
public:
    const std::string& Error() const { return m_strError; }

    // An object whose keys must all be members of owner.
    template <typename Owner>
    bool Members(const DefinitionJson& v, const std::string& where, Owner& owner) {
        if (!v.is_object())
            return Fail(where, "expected an object, got " + KindOf(v));
        for (auto it = v.begin(); it != v.end(); ++it) {
            bool found = false;
            bool ok = true;
            ForEachMember(owner, [&](const auto& member, auto& value) {
                if (!found && it.key() == member.name) {
                    found = true;
                    ok = Read(it.value(), Join(where, it.key()), value);
                }
            });
            if (!found)
                return Fail(where, "unknown member \"" + it.key() + "\"");
            if (!ok)
                return false;
        }
        return true;
    }

private:
    bool Fail(const std::string& where, const std::string& what) {
        m_strError = where.empty() ? what : where + ": " + what;
        return false;
    }

    bool Read(const DefinitionJson& v, const std::string& where, int& out) {
        if (v.is_number_float()) {
            // An integral number written with an exponent or a fraction of zero (1e3, 12.0).
            const double value = v.get<double>();
            if (value != std::trunc(value))
                return Fail(where, "expected an integer, got " + KindOf(v));
            if (value < std::numeric_limits<std::int32_t>::min() ||
                value > std::numeric_limits<std::int32_t>::max()) {
                return Fail(where, v.dump() + " is outside the 32-bit integer range");
            }
            out = static_cast<int>(value);
            return true;
        }
        if (!v.is_number_integer())
            return Fail(where, "expected an integer, got " + KindOf(v));
        constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
        constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
        if (v.is_number_unsigned()
                ? v.get<std::uint64_t>() > std::uint64_t{kMax}
                : (v.get<std::int64_t>() < kMin || v.get<std::int64_t>() > kMax)) {
            return Fail(where, v.dump() + " is outside the 32-bit integer range");
        }
        out = static_cast<int>(v.get<std::int64_t>());
        return true;
    }

    bool Read(const DefinitionJson& v, const std::string& where, std::string& out) {
        if (!v.is_string())
            return Fail(where, "expected a string, got " + KindOf(v));
        std::string error;
        if (!Utf8ToLatin1(v.get_ref<const std::string&>(), out, error))
            return Fail(where, error);
        return true;
    }

    bool Read(const DefinitionJson& v, const std::string& where, DataFilePath& out) {
        std::string path;
        if (!Read(v, where, path))
            return false;
        if (path.find('\0') != std::string::npos)
            return Fail(where, "a path cannot hold the character U+0000");
        if (path.size() >= out.size()) {
            return Fail(where, std::to_string(path.size()) + " bytes long, at most " +
                                   std::to_string(out.size() - 1) + " fit");
        }
        out.fill('\0');
        std::memcpy(out.data(), path.data(), path.size());
        return true;
    }

    bool Read(const DefinitionJson& v, const std::string& where, Colour& out) {
        const std::string expected = "expected a colour \"0x00BBGGRR\" or an integer";
        if (v.is_number_integer()) {
            if (!v.is_number_unsigned() || v.get<std::uint64_t>() > 0xFFFFFFFFu) {
                return Fail(where, v.dump() + " is outside the colour range 0..0xFFFFFFFF");
            }
            out = static_cast<Colour>(v.get<std::uint64_t>());
            return true;
        }
        if (!v.is_string())
            return Fail(where, expected + ", got " + KindOf(v));
        const std::string& text = v.get_ref<const std::string&>();
        const bool prefixed =
            text.size() > 2 && (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0);
        Colour value = 0;
        bool ok = prefixed && text.size() <= 10;
        for (std::size_t i = 2; ok && i < text.size(); ++i) {
            const char c = text[i];
            unsigned digit = 0;
            if (c >= '0' && c <= '9') {
                digit = static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned>(c - 'A' + 10);
            } else {
                ok = false;
            }
            value = value << 4 | digit;
        }
        if (!ok)
            return Fail(where, expected + ", got \"" + text + "\"");
        out = value;
        return true;
    }

    template <typename T, std::size_t N>
    bool Read(const DefinitionJson& v, const std::string& where, std::array<T, N>& out) {
        if (!v.is_array() || v.size() != N) {
            return Fail(where,
                        "expected an array of " + std::to_string(N) + ", got " +
                            (v.is_array() ? std::to_string(v.size()) + " elements" : KindOf(v)));
        }
        for (std::size_t i = 0; i < N; ++i) {
            if (!Read(v[i], Index(where, i), out[i]))
                return false;
        }
        return true;
    }

    // A list of objects, each read into a new element.
    template <typename T>
    bool Read(const DefinitionJson& v, const std::string& where, std::vector<T>& out) {
        if (!v.is_array())
            return Fail(where, "expected an array, got " + KindOf(v));
        out.clear();
        for (std::size_t i = 0; i < v.size(); ++i) {
            T element{};
            if (!Members(v[i], Index(where, i), element))
                return false;
            out.push_back(std::move(element));
        }
        return true;
    }

    std::string m_strError;
};

DefinitionJson ToJson(int value) {
    return value;
}
DefinitionJson ToJson(Colour colour) {
    return ColourText(colour);
}
DefinitionJson ToJson(const std::string& bytes) {
    return Latin1ToUtf8(bytes);
}
DefinitionJson ToJson(const DataFilePath& path) {
    return Latin1ToUtf8(std::string(path.data(), ::strnlen(path.data(), path.size())));
}
template <typename Owner>
DefinitionJson MembersToJson(const Owner& owner);
template <typename T, std::size_t N>
DefinitionJson ToJson(const std::array<T, N>& values) {
    DefinitionJson array = DefinitionJson::array();
    for (const T& value : values)
        array.push_back(ToJson(value));
    return array;
}
template <typename T>
DefinitionJson ToJson(const std::vector<T>& list) {
    DefinitionJson array = DefinitionJson::array();
    for (const T& element : list)
        array.push_back(MembersToJson(element));
    return array;
}
template <typename Owner>
DefinitionJson MembersToJson(const Owner& owner) {
    DefinitionJson json = DefinitionJson::object();
    ForEachMember(
        owner, [&](const auto& member, const auto& value) { json[member.name] = ToJson(value); });
    return json;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | b >> 6);
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

bool Utf8ToLatin1(std::string_view text, std::string& bytes, std::string& error) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            bytes += static_cast<char>(b);
            continue;
        }
        // Length and value of the sequence starting here.
        std::size_t length = 0;
        std::uint32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            length = 2, cp = b & 0x1Fu;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, cp = b & 0x0Fu;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4, cp = b & 0x07u;
        }
        bool ok = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            cp = cp << 6 | (next & 0x3Fu);
        }
        const bool overlong = (length == 2 && cp < 0x80) || (length == 3 && cp < 0x800) ||
                              (length == 4 && cp < 0x10000);
        if (!ok || overlong) {
            error = "not UTF-8 text at byte " + std::to_string(i);
            return false;
        }
        if (cp > 0xFF) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
            error = std::string("character ") + code + " at byte " + std::to_string(i) +
                    " does not fit in one byte (only U+0000..U+00FF can be kept)";
            return false;
        }
        bytes += static_cast<char>(cp);
        i += length - 1;
    }
    return true;
}

DefinitionJson DefinitionToJson(const Definition& definition) {
    return MembersToJson(definition);
}

bool DefinitionFromJson(const DefinitionJson& json, Definition& definition, std::string& error) {
    ResetDefinition(definition);
    CJsonReader r;
    if (r.Members(json, "", definition))
        return true;
    error = r.Error();
    ResetDefinition(definition);
    return false;
}
