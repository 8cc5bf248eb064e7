#include "core/editing/DefinitionOverview.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/model/CatforgeDoc.h"
#include "core/symbols/SymbolTables.h"

namespace {

const char* const kRaNotations[] = {"Hours, minutes and seconds", "Hours and minutes",
                                    "Hours only"};
const char* const kDecNotations[] = {"Sign, Degree, Min, Sec", "Sign, Degrees, Minutes",
                                     "Signed degrees"};
const char* const kSizeFieldChoices[] = {"No size fields", "Major axis only",
                                         "Major and minor axes"};
const char* const kSizeUnits[] = {"Degrees", "Minutes", "Seconds"};
const char* const kSizeMeanings[] = {"Radius", "Diameter"};

// The text of a radio choice, or the stored number when it names none of them.
template <std::size_t N>
std::string Choice(const char* const (&texts)[N], int value) {
    if (value >= 0 && value < static_cast<int>(N))
        return texts[value];
    return "(value " + std::to_string(value) + ")";
}

std::string ColourText(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFFu, (colour >> 8) & 0xFFu,
                  (colour >> 16) & 0xFFu);
    return text;
}

// Line breaks of a multi-line text shown as " / " on one line.
std::string OneLine(const std::string& text) {
    std::string line;
    bool pendingBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            pendingBreak = !line.empty();
            continue;
        }
        if (pendingBreak)
            line += " / ";
        pendingBreak = false;
        line += c;
    }
    return line;
}

class OverviewBuilder {
public:
    explicit OverviewBuilder(const CCatforgeDoc& doc) : m_doc(doc) {
        for (const FieldDefinition& field : doc.m_aFields)
            m_fieldNames.push_back(field.m_strName);
        for (const UserSymbol& symbol : doc.m_aUserSymbols)
            m_symbolNames.push_back(symbol.m_strName);
    }

    bool MissingField(int field) const {
        return field != kNoField && (field < 0 || field >= static_cast<int>(m_fieldNames.size()));
    }
    bool MissingSymbol(int code) const {
        return SymbolCodeToRow(code, static_cast<int>(m_symbolNames.size())) < 0;
    }
    static bool MissingType(int type) { return type < 0 || type >= kObjectTypeCount; }

    static OverviewRow Property(std::string name, std::string value, bool dangling = false) {
        return {{std::move(name), std::move(value)}, dangling};
    }
    OverviewRow FieldProperty(std::string name, int field) const {
        return Property(std::move(name), FieldDisplayText(field, m_fieldNames),
                        MissingField(field));
    }

    OverviewGroup General() const {
        OverviewGroup g{OverviewGroupId::General, "General", {}, {}, {}, {}};
        g.properties.push_back(Property("Database title", m_doc.m_strTitle));
        g.properties.push_back(Property("Data file", m_doc.GetDataFile()));
        g.properties.push_back(
            Property("Record length", std::to_string(m_doc.m_nRecordLength) + " bytes"));
        g.properties.push_back(Property("Notes", OneLine(m_doc.m_strNotes)));
        return g;
    }

    OverviewGroup Fields() const {
        OverviewGroup g{OverviewGroupId::Fields, "Fields", {}, {}, {}, {}};
        g.columns = {"Name", "Unit", "Start Col", "End Col"};
        g.noRows = "(no fields)";
        for (const FieldDefinition& f : m_doc.m_aFields) {
            g.rows.push_back({{f.m_strName, f.m_strUnit, std::to_string(f.m_nStartCol),
                               std::to_string(f.m_nEndCol)},
                              false});
        }
        return g;
    }

    OverviewGroup UserSymbols() const {
        OverviewGroup g{OverviewGroupId::UserSymbols, "User-Defined Symbols", {}, {}, {}, {}};
        g.columns = {"Name", "Instructions"};
        g.noRows = "(no user symbols)";
        for (const UserSymbol& s : m_doc.m_aUserSymbols)
            g.rows.push_back({{s.m_strName, OneLine(s.m_strInstructions)}, false});
        return g;
    }

    OverviewGroup ObjectTypes() const {
        OverviewGroup g{OverviewGroupId::ObjectTypes, "Object Types and Symbols", {}, {}, {}, {}};
        g.properties.push_back(
            Property("Main selection", m_doc.m_nTypeMode == 0
                                           ? "All objects in catalog have the same type"
                                           : "Object type varies according to list below"));
        g.properties.push_back(Property("Type", ObjectTypeDisplayText(m_doc.m_nDefaultType),
                                        MissingType(m_doc.m_nDefaultType)));
        g.properties.push_back(Property("Symbol",
                                        SymbolDisplayText(m_doc.m_nDefaultSymbol, m_symbolNames),
                                        MissingSymbol(m_doc.m_nDefaultSymbol)));
        g.properties.push_back(
            Property("Colour", m_doc.m_nColourMode == 0
                                   ? std::string("Use standard map colours")
                                   : "Screen " + ColourText(m_doc.m_crScreenColour) + ", printer " +
                                         ColourText(m_doc.m_crPrinterColour)));
        g.columns = {"Field", "Value", "Symbol", "Type"};
        g.noRows = "(no type rules)";
        for (const TypeRule& rule : m_doc.m_aTypeRules) {
            const auto cells = TypeRuleRowTexts(rule, m_fieldNames, m_symbolNames);
            g.rows.push_back({{cells.begin(), cells.end()},
                              MissingField(rule.m_nField) || MissingSymbol(rule.m_nSymbol) ||
                                  MissingType(rule.m_nType)});
        }
        return g;
    }

    OverviewGroup Position() const {
        OverviewGroup g{OverviewGroupId::Position, "RA/Dec", {}, {}, {}, {}};
        g.properties.push_back(Property("Epoch", m_doc.m_strEpoch));
        g.properties.push_back(
            Property("Right ascension", Choice(kRaNotations, m_doc.m_nRaNotation)));
        // Names by position part (sign, main, minutes, seconds).
        const auto fields = [&](std::span<const PositionField> read,
                                std::array<const char*, 4> names) {
            for (const PositionField& field : read) {
                g.properties.push_back(FieldProperty(names[static_cast<std::size_t>(field.part)],
                                                     m_doc.*field.member));
            }
        };
        fields(RaFields(m_doc.m_nRaNotation), {"", "Hours", "Min", "Sec"});
        g.properties.push_back(
            Property("Declination", Choice(kDecNotations, m_doc.m_nDecNotation)));
        fields(DecFields(m_doc.m_nDecNotation), {"Sign", "Deg", "Min", "Sec"});
        return g;
    }

    OverviewGroup Labels() const {
        OverviewGroup g{OverviewGroupId::Labels, "Labels", {}, {}, {}, {}};
        g.properties.push_back(Property("Number of labels", std::to_string(m_doc.m_nLabelCount)));
        g.columns = {"Field", "Prefix"};
        g.noRows = "(no labels)";
        for (std::size_t k = 0; k < static_cast<std::size_t>(std::clamp(m_doc.m_nLabelCount, 0, 3));
             ++k) {
            const int field = m_doc.m_anLabelField[k];
            g.rows.push_back({{FieldDisplayText(field, m_fieldNames), m_doc.m_astrLabelPrefix[k]},
                              MissingField(field)});
        }
        return g;
    }

    OverviewGroup Size() const {
        OverviewGroup g{OverviewGroupId::Size, "Size", {}, {}, {}, {}};
        g.properties.push_back(
            Property("This data file has", Choice(kSizeFieldChoices, m_doc.m_nSizeFields)));
        if (m_doc.m_nSizeFields == 1 || m_doc.m_nSizeFields == 2)
            g.properties.push_back(FieldProperty("Major axis", m_doc.m_nMajorAxisField));
        if (m_doc.m_nSizeFields == 2)
            g.properties.push_back(FieldProperty("Minor axis", m_doc.m_nMinorAxisField));
        g.properties.push_back(Property("Size units", Choice(kSizeUnits, m_doc.m_nSizeUnits)));
        g.properties.push_back(
            Property("Size specifies", Choice(kSizeMeanings, m_doc.m_nSizeMeaning)));
        if (m_doc.m_bPositionAngle != 0)
            g.properties.push_back(FieldProperty("Position angle", m_doc.m_nPositionAngleField));
        else
            g.properties.push_back(Property("Position angle", "none"));
        return g;
    }

    OverviewGroup Magnitude() const {
        OverviewGroup g{OverviewGroupId::Magnitude, "Magnitude", {}, {}, {}, {}};
        g.properties.push_back(
            Property("Number of magnitude fields", std::to_string(m_doc.m_nMagnitudeCount)));
        for (std::size_t k = 0;
             k < static_cast<std::size_t>(std::clamp(m_doc.m_nMagnitudeCount, 0, 3)); ++k) {
            g.properties.push_back(
                FieldProperty("Magnitude " + std::to_string(k + 1), m_doc.m_anMagnitudeField[k]));
        }
        return g;
    }

private:
    const CCatforgeDoc& m_doc;
    std::vector<std::string> m_fieldNames;
    std::vector<std::string> m_symbolNames;
};

void AppendRow(std::string& text, const OverviewRow& row, const std::vector<std::size_t>& widths) {
    std::string line = row.dangling ? "! " : "  ";
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        line += row.cells[c];
        if (c + 1 == row.cells.size())
            break;
        // Table cells are padded to their column; a setting's value follows its name.
        line.append(c < widths.size() ? widths[c] - row.cells[c].size() + 2 : 1, ' ');
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    text += line + '\n';
}

}  // namespace

std::vector<OverviewGroup> BuildDefinitionOverview(const CCatforgeDoc& doc) {
    const OverviewBuilder b(doc);
    return {b.General(),  b.Fields(), b.UserSymbols(), b.ObjectTypes(),
            b.Position(), b.Labels(), b.Size(),        b.Magnitude()};
}

int CountDanglingRows(const std::vector<OverviewGroup>& groups) {
    int count = 0;
    for (const OverviewGroup& g : groups) {
        for (const auto* rows : {&g.properties, &g.rows})
            count += static_cast<int>(std::count_if(
                rows->begin(), rows->end(), [](const OverviewRow& r) { return r.dangling; }));
    }
    return count;
}

std::string FormatOverviewText(const std::vector<OverviewGroup>& groups) {
    std::string text;
    for (const OverviewGroup& g : groups) {
        text += g.heading + '\n';
        for (const OverviewRow& row : g.properties)
            AppendRow(text, {{row.cells.at(0) + ":", row.cells.at(1)}, row.dangling}, {});
        if (g.columns.empty())
            continue;
        if (g.rows.empty()) {
            text += "  " + g.noRows + '\n';
            continue;
        }
        std::vector<std::size_t> widths;
        for (const std::string& title : g.columns)
            widths.push_back(title.size());
        for (const OverviewRow& row : g.rows) {
            for (std::size_t c = 0; c < row.cells.size() && c < widths.size(); ++c)
                widths[c] = std::max(widths[c], row.cells[c].size());
        }
        AppendRow(text, {g.columns, false}, widths);
        for (const OverviewRow& row : g.rows)
            AppendRow(text, row, widths);
    }
    return text;
}
