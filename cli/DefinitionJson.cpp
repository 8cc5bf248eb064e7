#include "DefinitionJson.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

#include "core/model/CatforgeDoc.h"

namespace {

std::string ColourText(Colour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

DefinitionJson Text(const std::string& bytes) {
    return Latin1ToUtf8(bytes);
}

template <std::size_t N>
DefinitionJson IntArray(const std::array<int, N>& values) {
    DefinitionJson array = DefinitionJson::array();
    for (int v : values)
        array.push_back(v);
    return array;
}

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
    using Handler = std::function<bool(const DefinitionJson&, const std::string&)>;
    using Members = std::vector<std::pair<std::string, Handler>>;

    const std::string& Error() const { return m_strError; }

    bool Fail(const std::string& where, const std::string& what) {
        m_strError = where.empty() ? what : where + ": " + what;
        return false;
    }

    bool Int(const DefinitionJson& v, const std::string& where, int& out) {
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

    bool String(const DefinitionJson& v, const std::string& where, std::string& out) {
        if (!v.is_string())
            return Fail(where, "expected a string, got " + KindOf(v));
        std::string error;
        if (!Utf8ToLatin1(v.get_ref<const std::string&>(), out, error))
            return Fail(where, error);
        return true;
    }

    bool ColourValue(const DefinitionJson& v, const std::string& where, Colour& out) {
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

    template <typename T, std::size_t N, typename Element>
    bool Array(const DefinitionJson& v, const std::string& where, std::array<T, N>& out,
               Element element) {
        if (!v.is_array() || v.size() != N) {
            return Fail(where,
                        "expected an array of " + std::to_string(N) + ", got " +
                            (v.is_array() ? std::to_string(v.size()) + " elements" : KindOf(v)));
        }
        for (std::size_t i = 0; i < N; ++i) {
            if (!(this->*element)(v[i], Index(where, i), out[i]))
                return false;
        }
        return true;
    }

    // A list of objects, each read into a new element by the members that read builds.
    template <typename T, typename Build>
    bool List(const DefinitionJson& v, const std::string& where, std::vector<T>& out, Build build) {
        if (!v.is_array())
            return Fail(where, "expected an array, got " + KindOf(v));
        out.clear();
        for (std::size_t i = 0; i < v.size(); ++i) {
            T element{};
            if (!Object(v[i], Index(where, i), build(element)))
                return false;
            out.push_back(std::move(element));
        }
        return true;
    }

    // An object whose keys must all be among members.
    bool Object(const DefinitionJson& v, const std::string& where, const Members& members) {
        if (!v.is_object())
            return Fail(where, "expected an object, got " + KindOf(v));
        for (auto it = v.begin(); it != v.end(); ++it) {
            const Handler* handler = nullptr;
            for (const auto& [name, h] : members) {
                if (name == it.key())
                    handler = &h;
            }
            if (handler == nullptr)
                return Fail(where, "unknown member \"" + it.key() + "\"");
            if (!(*handler)(it.value(), Join(where, it.key())))
                return false;
        }
        return true;
    }

private:
    std::string m_strError;
};

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

DefinitionJson DefinitionToJson(const CCatforgeDoc& doc) {
    DefinitionJson fields = DefinitionJson::array();
    for (const FieldDefinition& field : doc.m_aFields) {
        fields.push_back({{"m_strName", Text(field.m_strName)},
                          {"m_strUnit", Text(field.m_strUnit)},
                          {"m_nStartCol", field.m_nStartCol},
                          {"m_nEndCol", field.m_nEndCol}});
    }
    DefinitionJson prefixes = DefinitionJson::array();
    for (const std::string& prefix : doc.m_astrLabelPrefix)
        prefixes.push_back(Text(prefix));
    DefinitionJson symbols = DefinitionJson::array();
    for (const UserSymbol& symbol : doc.m_aUserSymbols) {
        symbols.push_back({{"m_strName", Text(symbol.m_strName)},
                           {"m_strInstructions", Text(symbol.m_strInstructions)}});
    }
    DefinitionJson rules = DefinitionJson::array();
    for (const TypeRule& rule : doc.m_aTypeRules) {
        rules.push_back({{"m_nField", rule.m_nField},
                         {"m_nSymbol", rule.m_nSymbol},
                         {"m_nType", rule.m_nType},
                         {"m_strValue", Text(rule.m_strValue)}});
    }

    DefinitionJson json = DefinitionJson::object();
    json["m_strTitle"] = Text(doc.m_strTitle);
    json["m_szDataFile"] = Text(doc.GetDataFile());
    json["m_strNotes"] = Text(doc.m_strNotes);
    json["m_nRecordLength"] = doc.m_nRecordLength;
    json["m_aFields"] = std::move(fields);
    json["m_nRaNotation"] = doc.m_nRaNotation;
    json["m_nRaHoursField"] = doc.m_nRaHoursField;
    json["m_nRaMinutesField"] = doc.m_nRaMinutesField;
    json["m_nRaSecondsField"] = doc.m_nRaSecondsField;
    json["m_nDecNotation"] = doc.m_nDecNotation;
    json["m_nDecSignField"] = doc.m_nDecSignField;
    json["m_nDecDegreesField"] = doc.m_nDecDegreesField;
    json["m_nDecMinutesField"] = doc.m_nDecMinutesField;
    json["m_nDecSecondsField"] = doc.m_nDecSecondsField;
    json["m_strEpoch"] = Text(doc.m_strEpoch);
    json["m_nLabelCount"] = doc.m_nLabelCount;
    json["m_anLabelField"] = IntArray(doc.m_anLabelField);
    json["m_astrLabelPrefix"] = std::move(prefixes);
    json["m_nSizeFields"] = doc.m_nSizeFields;
    json["m_nSizeUnits"] = doc.m_nSizeUnits;
    json["m_nSizeMeaning"] = doc.m_nSizeMeaning;
    json["m_nMajorAxisField"] = doc.m_nMajorAxisField;
    json["m_nMinorAxisField"] = doc.m_nMinorAxisField;
    json["m_bPositionAngle"] = doc.m_bPositionAngle;
    json["m_nPositionAngleField"] = doc.m_nPositionAngleField;
    json["m_nMagnitudeCount"] = doc.m_nMagnitudeCount;
    json["m_anMagnitudeField"] = IntArray(doc.m_anMagnitudeField);
    json["m_nDefaultType"] = doc.m_nDefaultType;
    json["m_nDefaultSymbol"] = doc.m_nDefaultSymbol;
    json["m_nColourMode"] = doc.m_nColourMode;
    json["m_crScreenColour"] = ColourText(doc.m_crScreenColour);
    json["m_crPrinterColour"] = ColourText(doc.m_crPrinterColour);
    json["m_nTypeMode"] = doc.m_nTypeMode;
    json["m_aUserSymbols"] = std::move(symbols);
    json["m_aTypeRules"] = std::move(rules);
    return json;
}

bool DefinitionFromJson(const DefinitionJson& json, CCatforgeDoc& doc, std::string& error) {
    doc.DeleteContents();
    CJsonReader r;
    using V = const DefinitionJson&;
    using W = const std::string&;
    const auto integer = [&r](int& member) {
        return [&r, &member](V v, W where) { return r.Int(v, where, member); };
    };
    const auto text = [&r](std::string& member) {
        return [&r, &member](V v, W where) { return r.String(v, where, member); };
    };
    const auto colour = [&r](Colour& member) {
        return [&r, &member](V v, W where) { return r.ColourValue(v, where, member); };
    };

    const CJsonReader::Members members = {
        {"m_strTitle", text(doc.m_strTitle)},
        {"m_szDataFile",
         [&](V v, W where) {
             std::string path;
             if (!r.String(v, where, path))
                 return false;
             if (path.find('\0') != std::string::npos) {
                 return r.Fail(where, "a path cannot hold the character U+0000");
             }
             if (path.size() >= static_cast<std::size_t>(kMaxDataFilePath)) {
                 return r.Fail(where, std::to_string(path.size()) + " bytes long, at most " +
                                          std::to_string(kMaxDataFilePath - 1) + " fit");
             }
             doc.SetDataFile(path);
             return true;
         }},
        {"m_strNotes", text(doc.m_strNotes)},
        {"m_nRecordLength", integer(doc.m_nRecordLength)},
        {"m_aFields",
         [&](V v, W where) {
             return r.List(v, where, doc.m_aFields, [&](FieldDefinition& f) {
                 return CJsonReader::Members{{"m_strName", text(f.m_strName)},
                                             {"m_strUnit", text(f.m_strUnit)},
                                             {"m_nStartCol", integer(f.m_nStartCol)},
                                             {"m_nEndCol", integer(f.m_nEndCol)}};
             });
         }},
        {"m_nRaNotation", integer(doc.m_nRaNotation)},
        {"m_nRaHoursField", integer(doc.m_nRaHoursField)},
        {"m_nRaMinutesField", integer(doc.m_nRaMinutesField)},
        {"m_nRaSecondsField", integer(doc.m_nRaSecondsField)},
        {"m_nDecNotation", integer(doc.m_nDecNotation)},
        {"m_nDecSignField", integer(doc.m_nDecSignField)},
        {"m_nDecDegreesField", integer(doc.m_nDecDegreesField)},
        {"m_nDecMinutesField", integer(doc.m_nDecMinutesField)},
        {"m_nDecSecondsField", integer(doc.m_nDecSecondsField)},
        {"m_strEpoch", text(doc.m_strEpoch)},
        {"m_nLabelCount", integer(doc.m_nLabelCount)},
        {"m_anLabelField",
         [&](V v, W where) { return r.Array(v, where, doc.m_anLabelField, &CJsonReader::Int); }},
        {"m_astrLabelPrefix",
         [&](V v, W where) {
             return r.Array(v, where, doc.m_astrLabelPrefix, &CJsonReader::String);
         }},
        {"m_nSizeFields", integer(doc.m_nSizeFields)},
        {"m_nSizeUnits", integer(doc.m_nSizeUnits)},
        {"m_nSizeMeaning", integer(doc.m_nSizeMeaning)},
        {"m_nMajorAxisField", integer(doc.m_nMajorAxisField)},
        {"m_nMinorAxisField", integer(doc.m_nMinorAxisField)},
        {"m_bPositionAngle", integer(doc.m_bPositionAngle)},
        {"m_nPositionAngleField", integer(doc.m_nPositionAngleField)},
        {"m_nMagnitudeCount", integer(doc.m_nMagnitudeCount)},
        {"m_anMagnitudeField",
         [&](V v, W where) {
             return r.Array(v, where, doc.m_anMagnitudeField, &CJsonReader::Int);
         }},
        {"m_nDefaultType", integer(doc.m_nDefaultType)},
        {"m_nDefaultSymbol", integer(doc.m_nDefaultSymbol)},
        {"m_nColourMode", integer(doc.m_nColourMode)},
        {"m_crScreenColour", colour(doc.m_crScreenColour)},
        {"m_crPrinterColour", colour(doc.m_crPrinterColour)},
        {"m_nTypeMode", integer(doc.m_nTypeMode)},
        {"m_aUserSymbols",
         [&](V v, W where) {
             return r.List(v, where, doc.m_aUserSymbols, [&](UserSymbol& s) {
                 return CJsonReader::Members{{"m_strName", text(s.m_strName)},
                                             {"m_strInstructions", text(s.m_strInstructions)}};
             });
         }},
        {"m_aTypeRules",
         [&](V v, W where) {
             return r.List(v, where, doc.m_aTypeRules, [&](TypeRule& rule) {
                 return CJsonReader::Members{{"m_nField", integer(rule.m_nField)},
                                             {"m_nSymbol", integer(rule.m_nSymbol)},
                                             {"m_nType", integer(rule.m_nType)},
                                             {"m_strValue", text(rule.m_strValue)}};
             });
         }},
    };
    if (r.Object(json, "", members))
        return true;
    error = r.Error();
    doc.DeleteContents();
    return false;
}
