#include "DefinitionListing.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "DefinitionJson.h"
#include "core/model/Definition.h"
#include "core/symbols/SymbolTables.h"

std::string Quoted(const std::string& bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            out += Latin1ToUtf8(std::string_view(&c, 1));
        }
    }
    return out + "\"";
}

void ListItem(std::ostream& out, const std::string& name, const std::string& value) {
    std::string line = "  " + name + ":";
    if (!value.empty())
        line.resize(std::max<std::size_t>(line.size() + 1, 20), ' ');
    out << line << value << '\n';
}

void ListLines(std::ostream& out, const std::string& bytes, const std::string& indent) {
    std::string line;
    const auto flush = [&] {
        const std::string quoted = Quoted(line);
        out << indent << quoted.substr(1, quoted.size() - 2) << '\n';
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            flush();
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        flush();
}

namespace {

class CDefinitionLister {
public:
    CDefinitionLister(std::ostream& out, const Definition& definition,
                      const std::vector<std::string>& symbolNames)
        : m_out(out), m_def(definition), m_symbolNames(symbolNames) {}

    void List(bool fromCatalogue) {
        ForEachMember(m_def, [&](const Member<Definition>& member, const auto& value) {
            if (fromCatalogue && (member.storage & kNotInCatalogue) != 0)
                return;
            if (member.group != nullptr)
                m_out << member.group << '\n';
            Show(member, value);
        });
    }

private:
    using M = Member<Definition>;

    void Show(const M& member, int value) { ListItem(m_out, member.label, Text(member, value)); }
    void Show(const M& member, Colour value) { ListItem(m_out, member.label, ColourText(value)); }
    void Show(const M& member, const DataFilePath&) {
        ListItem(m_out, member.label, Quoted(m_def.GetDataFile()));
    }
    void Show(const M& member, const std::string& value) {
        if (member.shown != Shown::Lines) {
            ListItem(m_out, member.label, Quoted(value));
            return;
        }
        ListItem(m_out, member.label, value.empty() ? "(none)" : "");
        ListLines(m_out, value, "    ");
    }
    template <typename T>
    void Show(const M& member, const std::array<T, 3>& values) {
        std::string text;
        for (const T& value : values) {
            if (!text.empty())
                text += ", ";
            if constexpr (std::is_same_v<T, int>) {
                text += Text(member, value);
            } else {
                text += Quoted(value);
            }
        }
        ListItem(m_out, member.label, text);
    }

    void Show(const M& member, const std::vector<FieldDefinition>& fields) {
        m_out << member.label << " (" << fields.size() << ")\n";
        if (fields.empty())
            return;
        std::size_t nameWidth = 4;
        std::size_t unitWidth = 4;
        std::vector<std::pair<std::string, std::string>> texts;
        for (const FieldDefinition& field : fields) {
            texts.emplace_back(Quoted(field.m_strName), Quoted(field.m_strUnit));
            nameWidth = std::max(nameWidth, texts.back().first.size());
            unitWidth = std::max(unitWidth, texts.back().second.size());
        }
        const auto pad = [](std::string s, std::size_t width) {
            s.resize(std::max(width, s.size()), ' ');
            return s;
        };
        const auto right = [](const std::string& s, std::size_t width) {
            return std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
        };
        m_out << right("#", 5) << "  " << pad("Name", nameWidth) << "  " << pad("Unit", unitWidth)
              << right("Start", 7) << right("End", 7) << right("Width", 7) << '\n';
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const FieldDefinition& field = fields[i];
            const long long width = 1LL + field.m_nEndCol - field.m_nStartCol;
            m_out << right(std::to_string(i), 5) << "  " << pad(texts[i].first, nameWidth) << "  "
                  << pad(texts[i].second, unitWidth) << right(std::to_string(field.m_nStartCol), 7)
                  << right(std::to_string(field.m_nEndCol), 7) << right(std::to_string(width), 7)
                  << '\n';
        }
    }

    void Show(const M& member, const std::vector<UserSymbol>& symbols) {
        m_out << member.label << " (" << symbols.size() << ")\n";
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            m_out << "  " << -1 - static_cast<long long>(i) << "  " << Quoted(symbols[i].m_strName)
                  << '\n';
            ListLines(m_out, symbols[i].m_strInstructions, "      ");
        }
    }

    void Show(const M& member, const std::vector<TypeRule>& rules) {
        m_out << member.label << " (" << rules.size() << ")\n";
        for (std::size_t i = 0; i < rules.size(); ++i) {
            const TypeRule& rule = rules[i];
            m_out << "  " << i + 1 << ". field " << Field(rule.m_nField) << " begins with "
                  << Quoted(rule.m_strValue) << ": type " << Type(rule.m_nType) << ", symbol "
                  << Symbol(rule.m_nSymbol) << '\n';
        }
    }

    // An integer member as the table says it is shown.
    std::string Text(const M& member, int value) const {
        switch (member.shown) {
            case Shown::Field:
                return Field(value);
            case Shown::Choice:
                if (value >= 0 && static_cast<std::size_t>(value) < member.choices.size())
                    return member.choices[static_cast<std::size_t>(value)];
                return "(no such choice " + std::to_string(value) + ")";
            case Shown::ObjectType:
                return Type(value);
            case Shown::Symbol:
                return Symbol(value);
            case Shown::Flag:
                return value != 0 ? "yes" : "no";
            default:
                return std::to_string(value);
        }
    }

    // A field selection: index and name, or a mark when it names no field.
    std::string Field(int index) const {
        if (index == kNoField)
            return "(none)";
        if (index < 0 || static_cast<std::size_t>(index) >= m_def.m_aFields.size()) {
            return "(no field " + std::to_string(index) + ")";
        }
        return std::to_string(index) + " " +
               Quoted(m_def.m_aFields[static_cast<std::size_t>(index)].m_strName);
    }
    std::string Type(int code) const {
        const std::string name = ObjectTypeName(code);
        return (name.empty() ? "(no type)" : Quoted(name)) + " (" + std::to_string(code) + ")";
    }
    std::string Symbol(int code) const {
        const bool known = code < 0 ? -1LL - code < static_cast<long long>(m_symbolNames.size())
                                    : code < kStandardSymbolCount;
        const std::string name = SymbolName(code, m_symbolNames);
        return (known ? Quoted(name) : "(no symbol)") + " (" + std::to_string(code) + ")";
    }

    std::ostream& m_out;
    const Definition& m_def;
    const std::vector<std::string>& m_symbolNames;
};

}  // namespace

void ListDefinition(std::ostream& out, const Definition& definition,
                    const std::vector<std::string>& symbolNames, bool fromCatalogue) {
    CDefinitionLister(out, definition, symbolNames).List(fromCatalogue);
}
