#include "core/import/CdsImporter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <unordered_set>

#include "core/compile/FieldReading.h"
#include "core/model/CatforgeDoc.h"

namespace {

constexpr int kMaxColumn = 9999;
constexpr std::size_t kMaxProfiledFields = 64;
// Appended columns: decimal hours and degrees to 1e-10 h and 1e-9 deg (below 0.00001").
constexpr int kHoursDecimals = 10;
constexpr int kDegreesDecimals = 9;
constexpr int kDecimalWidth = 14;

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Contains(const std::string& text, const std::string& word) {
    return LowerCase(text).find(LowerCase(word)) != std::string::npos;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// CDS labels such as e_Vmag, r_Vmag, u_Vmag, l_Vmag: errors, references and flags of a value.
bool IsQualifierLabel(const std::string& label) {
    return label.size() > 2 && label[1] == '_' &&
           std::islower(static_cast<unsigned char>(label[0]));
}

bool HasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::string_view Bytes(std::string_view line, int first, int last) {
    const auto from = static_cast<std::size_t>(first - 1);
    if (from >= line.size())
        return {};
    return line.substr(from,
                       std::min(line.size() - from, static_cast<std::size_t>(last - first + 1)));
}

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// The null value of a CDS explanation beginning "?=-9.9 ..." ("-9.9"); empty when none is
// given (a plain "?" means the field is blank when missing).
std::string NullValue(const std::string& explanation) {
    if (explanation.rfind("?=", 0) != 0)
        return {};
    const std::size_t end = explanation.find(' ', 2);
    return explanation.substr(2, end == std::string::npos ? std::string::npos : end - 2);
}

std::string Number(double value, int decimals = -1) {
    char buffer[64];
    const auto written = decimals < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                                      std::chars_format::general)
                                      : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                      std::chars_format::fixed, decimals);
    return std::string(buffer, written.ptr);
}

// A figure to two significant digits.
std::string Rounded(double value) {
    if (value >= 10.0)
        return std::to_string(std::lround(value));
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 2);
    return std::string(buffer, written.ptr);
}

// Epoch of a text such as "J2000", "B1950.0" or "1950" (years before 1984 are Besselian).
std::string EpochFromToken(const std::string& text, std::size_t pos) {
    char system = 0;
    if (pos < text.size() && (text[pos] == 'J' || text[pos] == 'B'))
        system = text[pos++];
    std::size_t end = pos;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (end - pos != 4)
        return {};
    std::string year = text.substr(pos, 4);
    std::string fraction = ".0";
    if (end + 1 < text.size() && text[end] == '.' &&
        std::isdigit(static_cast<unsigned char>(text[end + 1]))) {
        std::size_t stop = end + 1;
        while (stop < text.size() && std::isdigit(static_cast<unsigned char>(text[stop])))
            ++stop;
        fraction = text.substr(end, stop - end);
    }
    if (system == 0)
        system = std::stoi(year) < 1984 ? 'B' : 'J';
    return std::string(1, system) + year + fraction;
}

// ---- units ----------------------------------------------------------------------------------

// A CDS unit as a base unit and a scale: "0.1s" is s times 0.1, "mas" arcsec times 0.001,
// "10-3s" s times 0.001. False when the unit is not an angle or time of the kinds positions
// use (h, min, s, deg, arcmin, arcsec).
bool ParseUnit(std::string units, std::string& base, double& scale) {
    scale = 1.0;
    if (units == "mas") {
        base = "arcsec";
        scale = 0.001;
        return true;
    }
    if (units.size() > 3 && units[0] == '1' && units[1] == '0' &&
        (units[2] == '-' || units[2] == '+') &&
        std::isdigit(static_cast<unsigned char>(units[3]))) {
        const int power = units[3] - '0';
        scale = std::pow(10.0, units[2] == '-' ? -power : power);
        units = units.substr(4);
    } else {
        std::size_t i = 0;
        while (i < units.size() &&
               (std::isdigit(static_cast<unsigned char>(units[i])) || units[i] == '.'))
            ++i;
        if (i > 0) {
            double value = 0.0;
            const auto parsed = std::from_chars(units.data(), units.data() + i, value);
            if (parsed.ec != std::errc() || value <= 0.0)
                return false;
            scale = value;
            units = units.substr(i);
        }
    }
    static const char* const kBases[] = {"h", "min", "s", "deg", "arcmin", "arcsec"};
    for (const char* b : kBases) {
        if (units == b) {
            base = units;
            return true;
        }
    }
    // SI prefixes on seconds of time and arc: ds, cs, ms, darcsec, marcsec ...
    if (units.size() >= 2 && (units.substr(1) == "s" || units.substr(1) == "arcsec")) {
        const double prefix = units[0] == 'd'   ? 0.1
                              : units[0] == 'c' ? 0.01
                              : units[0] == 'm' ? 0.001
                                                : 0.0;
        if (prefix > 0.0) {
            base = units.substr(1);
            scale *= prefix;
            return true;
        }
    }
    return false;
}

// Arcseconds (of arc, for RA of its hour angle) per base unit.
double ArcsecondsPer(const std::string& base, bool ra) {
    if (base == "h")
        return 54000.0;
    if (base == "min")
        return ra ? 900.0 : 60.0;
    if (base == "s")
        return 15.0;
    if (base == "deg")
        return 3600.0;
    if (base == "arcmin")
        return 60.0;
    return 1.0;
}

int Decimals(const std::string& format) {
    const std::size_t dot = format.find('.');
    if (dot == std::string::npos)
        return 0;
    int value = 0;
    std::from_chars(format.data() + dot + 1, format.data() + format.size(), value);
    return value;
}

// ---- position sets --------------------------------------------------------------------------

enum Role {
    kRaHours,
    kRaMinutes,
    kRaSeconds,
    kRaDegrees,
    kDecSign,
    kDecDegrees,
    kDecMinutes,
    kDecSeconds,
    kRoles
};

struct Component {
    int field = kNoField;
    double scale = 1.0;
    std::string base;
};

struct PositionSet {
    std::string key;
    bool raDegrees = false;   // RA in decimal degrees
    bool decDecimal = false;  // Dec in signed decimal degrees
    Component parts[kRoles];
    std::string epoch;
    std::string epochSource;
    bool ownEpoch = false;
    double precision = 0.0;  // arcseconds of the coarser coordinate's last digit

    bool Has(Role role) const { return parts[role].field != kNoField; }
    std::string Labels(const std::vector<const CdsField*>& fields) const {
        std::string text;
        for (const Component& part : parts) {
            if (part.field != kNoField)
                text += (text.empty() ? "" : ", ") +
                        fields[static_cast<std::size_t>(part.field)]->m_strLabel;
        }
        return text;
    }
};

// The label without a leading underscore and, when it begins with prefix (any case), the rest.
bool StripPrefix(std::string& label, const std::string& prefix) {
    if (LowerCase(label.substr(0, prefix.size())) != prefix)
        return false;
    label = label.substr(prefix.size());
    return true;
}

// The part of a position label that names its set: RA2000h -> "2000", DEd1900 -> "1900",
// RAJ2000 -> "J2000", RAh and DEdeg -> "".
std::string SetKey(std::string rest) {
    static const char* const kRoleTokens[] = {"deg", "min", "sec", "sign", "h", "m", "s", "d", "-"};
    for (const char* token : kRoleTokens) {
        const std::string t = token;
        if (rest.size() >= t.size() && rest.compare(0, t.size(), t) == 0 &&
            (rest.size() == t.size() ||
             !std::islower(static_cast<unsigned char>(rest[t.size()])))) {
            return rest.substr(t.size());
        }
    }
    for (const char* token : kRoleTokens) {
        const std::string t = token;
        if (rest.size() > t.size() && rest.compare(rest.size() - t.size(), t.size(), t) == 0)
            return rest.substr(0, rest.size() - t.size());
    }
    return rest;
}

// ---- catalogue prefixes ---------------------------------------------------------------------

struct KnownCatalogue {
    const char* word;    // in a label (whole), an explanation or a title
    const char* prefix;  // what a label of its numbers begins with
    bool label;          // the word may be a whole label
};

const KnownCatalogue kCatalogues[] = {
    {"HR", "HR ", true},
    {"Harvard Revised", "HR ", false},
    {"Bright Star", "HR ", false},
    {"HD", "HD ", true},
    {"Henry Draper", "HD ", false},
    {"HIP", "HIP ", true},
    {"Hipparcos", "HIP ", false},
    {"SAO", "SAO ", true},
    {"NGC", "NGC ", true},
    {"New General Catalog", "NGC ", false},
    {"IC", "IC ", true},
    {"Index Catalog", "IC ", false},
    {"Messier", "M ", false},
    {"Sh2", "Sh2-", true},
    {"Sharpless", "Sh2-", false},
    {"Arp", "Arp ", true},
    {"Barnard", "B ", false},
    {"LDN", "LDN ", true},
    {"Lynds", "LDN ", false},
    {"LBN", "LBN ", true},
    {"UGC", "UGC ", true},
    {"PGC", "PGC ", true},
    {"Abell", "Abell ", true},
    {"Collinder", "Cr ", false},
    {"Melotte", "Mel ", false},
    {"Trumpler", "Tr ", false},
    {"Gliese", "GJ ", false},
    {"GJ", "GJ ", true},
    {"FK5", "FK5 ", true},
    {"BD", "BD ", true},
};

// The prefix a text names with a known catalogue's word, empty when none. In a title, a word
// followed by a number names one object ("NGC 1333"), not the catalogue.
std::string PrefixFromText(const std::string& text, bool title = false) {
    for (const KnownCatalogue& known : kCatalogues) {
        const std::string word = known.word;
        std::size_t at = text.find(word);
        while (at != std::string::npos) {
            const bool startOk = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
            const std::size_t end = at + word.size();
            const bool endOk = end >= text.size() ||
                               !std::isalpha(static_cast<unsigned char>(text[end])) ||
                               word.size() > 4;
            std::size_t next = end;
            while (next < text.size() && text[next] == ' ')
                ++next;
            const bool object =
                title && next < text.size() && std::isdigit(static_cast<unsigned char>(text[next]));
            if (startOk && endOk && !object)
                return known.prefix;
            at = text.find(word, at + 1);
        }
    }
    return {};
}

// ---- the mapping ----------------------------------------------------------------------------

struct Mapper {
    const CCdsReadMe& readMe;
    const CdsByteDescription& description;
    const std::vector<const CdsField*>& fields;  // parallel to the document's field list
    const std::vector<int>& sourceIndex;         // each field's index in the description
    CCatforgeDoc& doc;
    CdsImportReport& report;
    CdsRecordPlan& plan;
    const CdsImportOptions& options;
    std::vector<bool> used = std::vector<bool>(fields.size(), false);
    bool sized = false;

    const std::string& Label(int index) const { return Field(index).m_strLabel; }
    const CdsField& Field(int index) const { return *fields[static_cast<std::size_t>(index)]; }
    void Use(int index) { used[static_cast<std::size_t>(index)] = true; }
    std::pair<int, int> Range(int index) const {
        return {Field(index).m_nFirstByte, Field(index).m_nLastByte};
    }

    // Profile figures of a field: records with a value, and distinct values among them.
    std::int64_t Records() const {
        return options.m_pProfile != nullptr ? options.m_pProfile->m_nRecords : 0;
    }
    bool Profiled(int index) const {
        return options.m_pProfile != nullptr && options.m_pProfile->m_nRecords > 0 &&
               static_cast<std::size_t>(sourceIndex[static_cast<std::size_t>(index)]) <
                   kMaxProfiledFields;
    }
    std::int64_t NonBlank(int index) const {
        return options.m_pProfile
            ->m_anNonBlank[static_cast<std::size_t>(sourceIndex[static_cast<std::size_t>(index)])];
    }
    std::int64_t Distinct(int index) const {
        return options.m_pProfile
            ->m_anDistinct[static_cast<std::size_t>(sourceIndex[static_cast<std::size_t>(index)])];
    }

    // Appends a column to the record and a field for it to the definition; its index.
    int AddDerived(CdsDerivedColumn column, const std::string& unit) {
        const int first = plan.m_nLineLength + plan.DerivedWidth() + 1;
        FieldDefinition definition;
        definition.m_strName = column.m_strName;
        definition.m_strUnit = unit;
        definition.m_nStartCol = first;
        definition.m_nEndCol = first + column.m_nWidth - 1;
        doc.m_aFields.push_back(definition);
        plan.m_aDerived.push_back(std::move(column));
        return static_cast<int>(doc.m_aFields.size()) - 1;
    }

    std::vector<PositionSet> FindPositionSets();
    void MapPosition();
    void MapLabels();
    void MapMagnitudes();
    void MapSize();
    void MapPositionAngle();
};

std::vector<PositionSet> Mapper::FindPositionSets() {
    // Components by set key.
    struct Group {
        std::string key;
        std::vector<std::pair<Role, Component>> ra, dec;
    };
    std::vector<Group> groups;
    auto groupOf = [&groups](const std::string& key) -> Group& {
        for (Group& g : groups) {
            if (g.key == key)
                return g;
        }
        groups.push_back(Group{key, {}, {}});
        return groups.back();
    };
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        if (IsQualifierLabel(field.m_strLabel))
            continue;
        std::string label = field.m_strLabel;
        if (!label.empty() && label[0] == '_')
            label.erase(0, 1);
        const std::string lower = LowerCase(label);
        if (lower.find("equinox") != std::string::npos || lower == "eq" || lower == "epoch")
            continue;
        std::string base;
        double scale = 1.0;
        const bool angle = ParseUnit(field.m_strUnits, base, scale);
        Component component{static_cast<int>(i), scale, base};
        std::string rest = label;
        const bool raLike =
            (StripPrefix(rest, "ra") &&
             !(StartsWith(LowerCase(rest), "d") && !StartsWith(rest, "deg"))) ||
            (angle && Contains(field.m_strExplanation, "right ascension") && (rest = "", true));
        if (raLike && angle) {
            Role role = base == "h"     ? kRaHours
                        : base == "min" ? kRaMinutes
                        : base == "s"   ? kRaSeconds
                        : base == "deg" ? kRaDegrees
                                        : kRoles;
            if (role != kRoles)
                groupOf(SetKey(rest)).ra.emplace_back(role, component);
            continue;
        }
        rest = label;
        const bool decLike = StripPrefix(rest, "dec") ||
                             (StartsWith(label, "DE") && (rest = label.substr(2), true)) ||
                             (StartsWith(label, "de") && (rest = label.substr(2), true) &&
                              Contains(field.m_strExplanation, "declination")) ||
                             (Contains(field.m_strExplanation, "declination") && (rest = "", true));
        if (!decLike)
            continue;
        if (field.IsText() && field.m_nLastByte == field.m_nFirstByte &&
            (label.find('-') != std::string::npos || Contains(field.m_strExplanation, "sign"))) {
            groupOf(SetKey(rest)).dec.emplace_back(kDecSign, component);
            continue;
        }
        if (!angle || field.IsText())
            continue;
        const Role role = base == "deg"      ? kDecDegrees
                          : base == "arcmin" ? kDecMinutes
                          : base == "arcsec" ? kDecSeconds
                                             : kRoles;
        if (role != kRoles)
            groupOf(SetKey(rest)).dec.emplace_back(role, component);
    }

    // With no group holding both coordinates, one RA group and one Dec group whose labels
    // name them differently (RA with Decl) are one set.
    const auto hasBoth = [](const Group& g) { return !g.ra.empty() && !g.dec.empty(); };
    if (std::none_of(groups.begin(), groups.end(), hasBoth)) {
        std::size_t raGroups = 0, decGroups = 0, raAt = 0, decAt = 0;
        for (std::size_t k = 0; k < groups.size(); ++k) {
            if (!groups[k].ra.empty()) {
                ++raGroups;
                raAt = k;
            }
            if (!groups[k].dec.empty()) {
                ++decGroups;
                decAt = k;
            }
        }
        if (raGroups == 1 && decGroups == 1)
            groups[raAt].dec = groups[decAt].dec;
    }

    // RA choices and Dec choices of each group, paired.
    std::vector<PositionSet> sets;
    for (const Group& g : groups) {
        PositionSet sexagesimalRa, degreesRa, sexagesimalDec, decimalDec;
        bool haveMinutes = false;
        for (const auto& [role, c] : g.dec) {
            if (role == kDecMinutes)
                haveMinutes = true;
        }
        for (const auto& [role, c] : g.ra) {
            PositionSet& target = role == kRaDegrees ? degreesRa : sexagesimalRa;
            if (target.parts[role].field == kNoField)
                target.parts[role] = c;
        }
        for (const auto& [role, c] : g.dec) {
            const CdsField& field = *fields[static_cast<std::size_t>(c.field)];
            const bool decimal =
                role == kDecDegrees && (!haveMinutes || Decimals(field.m_strFormat) > 0);
            PositionSet& target = decimal ? decimalDec : sexagesimalDec;
            if (target.parts[role].field == kNoField)
                target.parts[role] = c;
        }
        const bool hasSexRa = sexagesimalRa.Has(kRaHours);
        const bool hasDegRa = degreesRa.Has(kRaDegrees);
        const bool hasSexDec = sexagesimalDec.Has(kDecDegrees) && sexagesimalDec.Has(kDecMinutes);
        const bool hasDecDec = decimalDec.Has(kDecDegrees);
        auto combine = [&](const PositionSet& ra, bool raDegrees, const PositionSet& dec,
                           bool decDecimal) {
            PositionSet set;
            set.key = g.key;
            set.raDegrees = raDegrees;
            set.decDecimal = decDecimal;
            for (int r = kRaHours; r <= kRaDegrees; ++r)
                set.parts[r] = ra.parts[r];
            for (int r = kDecSign; r < kRoles; ++r)
                set.parts[r] = dec.parts[r];
            sets.push_back(set);
        };
        if (hasSexRa && (hasSexDec || hasDecDec))
            combine(sexagesimalRa, false, hasSexDec ? sexagesimalDec : decimalDec, !hasSexDec);
        if (hasDegRa && (hasDecDec || hasSexDec))
            combine(degreesRa, true, hasDecDec ? decimalDec : sexagesimalDec, hasDecDec);
    }
    // Precision and epoch of each set.
    for (PositionSet& set : sets) {
        auto resolution = [&](Role role, bool ra) {
            const Component& c = set.parts[role];
            return ArcsecondsPer(c.base, ra) * c.scale *
                   std::pow(10.0,
                            -Decimals(fields[static_cast<std::size_t>(c.field)]->m_strFormat));
        };
        double raRes = 0.0, decRes = 0.0;
        for (Role role : {kRaDegrees, kRaSeconds, kRaMinutes, kRaHours}) {
            if (set.Has(role)) {
                raRes = resolution(role, true);
                break;
            }
        }
        for (Role role : {kDecSeconds, kDecMinutes, kDecDegrees}) {
            if (set.Has(role)) {
                decRes = resolution(role, false);
                break;
            }
        }
        set.precision = std::max(raRes, decRes);

        std::string epoch;
        for (std::size_t k = 0; k < set.key.size() && epoch.empty(); ++k) {
            if (k > 0 && std::isdigit(static_cast<unsigned char>(set.key[k - 1])))
                continue;
            epoch = EpochFromToken(set.key, k);
        }
        if (!epoch.empty()) {
            set.epochSource = "its label";
        } else if (Contains(set.key, "icrs")) {
            epoch = "J2000.0";
            set.epochSource = "its label";
        }
        for (const Component& part : set.parts) {
            if (!epoch.empty() || part.field == kNoField)
                continue;
            const CdsField& field = *fields[static_cast<std::size_t>(part.field)];
            epoch = CCdsImporter::FindEpoch(field.m_strExplanation, true);
            if (!epoch.empty())
                set.epochSource = "the explanation of " + field.m_strLabel;
        }
        set.ownEpoch = !epoch.empty();
        if (epoch.empty()) {
            epoch = CCdsImporter::FindEpoch(description.m_strNotes);
            if (!epoch.empty())
                set.epochSource = "the notes of the table";
        }
        if (epoch.empty()) {
            epoch = CCdsImporter::FindEpoch(readMe.m_strHeader.empty() ? std::string()
                                                                       : readMe.m_strHeader);
            // Only an explicit equinox or reference system in the description counts.
            const std::string lower = LowerCase(readMe.m_strHeader);
            if (!epoch.empty() && lower.find("equinox") == std::string::npos &&
                lower.find("icrs") == std::string::npos && lower.find("fk4") == std::string::npos &&
                lower.find("fk5") == std::string::npos)
                epoch.clear();
            if (!epoch.empty())
                set.epochSource = "the ReadMe's description";
        }
        set.epoch = epoch;
    }
    return sets;
}

std::string DescribeSet(const PositionSet& set, const std::vector<const CdsField*>& fields) {
    return set.Labels(fields) + " (" + (set.raDegrees ? "RA in degrees" : "RA in hours") + ", " +
           (set.decDecimal ? "Dec in degrees" : "Dec in degrees, minutes, seconds") + ", to " +
           Rounded(set.precision) + "\")";
}

void Mapper::MapPosition() {
    std::vector<PositionSet> sets = FindPositionSets();
    if (sets.empty()) {
        report.m_astrToChoose.push_back(
            "Position: no RA/Dec fields found (labels such as RAh, RAm, RAs, RAdeg, DE-, DEd, "
            "DEm, DEs, DEdeg, or RA/Dec in unit deg); choose them in the Position editor");
        return;
    }
    // J2000.0 sets first, then sets with their own epoch, each by precision.
    auto rank = [](const PositionSet& s) {
        return s.ownEpoch && s.epoch == "J2000.0" ? 0 : s.ownEpoch ? 1 : 2;
    };
    std::stable_sort(sets.begin(), sets.end(), [&](const PositionSet& a, const PositionSet& b) {
        if (rank(a) != rank(b))
            return rank(a) < rank(b);
        return a.precision < b.precision;
    });
    const PositionSet& set = sets.front();
    std::string why = sets.size() == 1 ? "the only position set"
                      : rank(set) == 0 ? "a J2000.0 set, the most precise of them"
                      : rank(set) == 1 ? "no J2000.0 set; the most precise set with its own epoch"
                                       : "the most precise set";
    report.m_astrMapped.push_back("Position set: " + DescribeSet(set, fields) + ", " + why);
    for (std::size_t k = 1; k < sets.size(); ++k) {
        report.m_astrToChoose.push_back(
            "Position: another set not used: " + DescribeSet(sets[k], fields) + ", epoch " +
            (sets[k].epoch.empty() ? "unknown" : sets[k].epoch));
    }
    if (!set.epoch.empty()) {
        doc.m_strEpoch = set.epoch;
        report.m_astrMapped.push_back("Epoch: " + set.epoch + " (from " + set.epochSource + ")");
    } else {
        report.m_astrToChoose.push_back("Epoch: not stated; " + doc.m_strEpoch +
                                        " assumed, check it");
    }
    for (const Component& part : set.parts) {
        if (part.field != kNoField)
            Use(part.field);
    }
    for (int r = kRaHours; r <= kRaDegrees; ++r) {
        if (set.Has(static_cast<Role>(r)))
            plan.m_aRaBytes.push_back(Range(set.parts[r].field));
    }
    for (int r = kDecDegrees; r < kRoles; ++r) {
        if (set.Has(static_cast<Role>(r)))
            plan.m_aDecBytes.push_back(Range(set.parts[r].field));
    }

    auto scaled = [&](Role role) { return set.Has(role) && set.parts[role].scale != 1.0; };
    bool raDerived = false, decDerived = false;
    for (int r = kRaHours; r <= kRaDegrees; ++r)
        raDerived = raDerived || scaled(static_cast<Role>(r));
    // Notation 0 reads RA minutes as an integer: decimal minutes beside seconds need a column.
    if (!set.raDegrees && set.Has(kRaSeconds) && set.Has(kRaMinutes) &&
        Decimals(Field(set.parts[kRaMinutes].field).m_strFormat) > 0)
        raDerived = true;
    for (int r = kDecDegrees; r < kRoles; ++r)
        decDerived = decDerived || scaled(static_cast<Role>(r));
    if (!set.decDecimal && !set.Has(kDecSign))
        decDerived = true;  // the sign is inside the degrees
    if (!set.decDecimal && set.Has(kDecSeconds) &&
        Decimals(Field(set.parts[kDecMinutes].field).m_strFormat) > 0)
        decDerived = true;
    if ((raDerived || decDerived) && !options.m_bAppendColumns) {
        report.m_astrToChoose.push_back(
            "Position: its units carry a scale or its sign is inside the degrees; without a "
            "normalised copy the fields are read as they are, which is not exact");
        raDerived = decDerived = false;
    }

    auto part = [&](Role role, double toBase) {
        const Component& c = set.parts[role];
        return CdsDerivedColumn::Part{Field(c.field).m_nFirstByte, Field(c.field).m_nLastByte,
                                      c.scale * toBase};
    };
    if (raDerived) {
        CdsDerivedColumn column;
        column.m_nWidth = kDecimalWidth;
        if (set.raDegrees) {
            column.m_strName = "RAdeg*";
            column.m_aParts.push_back(part(kRaDegrees, 1.0));
            column.m_nDecimals = kDegreesDecimals;
        } else {
            column.m_strName = "RAhours*";
            column.m_nDecimals = kHoursDecimals;
            column.m_aParts.push_back(part(kRaHours, 1.0));
            if (set.Has(kRaMinutes))
                column.m_aParts.push_back(part(kRaMinutes, 1.0 / 60.0));
            if (set.Has(kRaSeconds))
                column.m_aParts.push_back(part(kRaSeconds, 1.0 / 3600.0));
        }
        const std::string labels = set.Labels(fields);
        const int index = AddDerived(std::move(column), set.raDegrees ? "deg" : "h");
        doc.m_nRaNotation = set.raDegrees ? 3 : 2;
        doc.m_nRaHoursField = index;
        report.m_astrMapped.push_back(
            "Right ascension: " + doc.m_aFields[static_cast<std::size_t>(index)].m_strName +
            ", a decimal column appended to each record of the copy "
            "(the definition has no scale factor for the original fields)");
    } else if (set.raDegrees) {
        doc.m_nRaNotation = 3;
        doc.m_nRaHoursField = set.parts[kRaDegrees].field;
        report.m_astrMapped.push_back("Right ascension: " + Label(doc.m_nRaHoursField) +
                                      " in degrees (notation 3)");
    } else if (set.Has(kRaMinutes)) {
        doc.m_nRaNotation = set.Has(kRaSeconds) ? 0 : 1;
        doc.m_nRaHoursField = set.parts[kRaHours].field;
        doc.m_nRaMinutesField = set.parts[kRaMinutes].field;
        doc.m_nRaSecondsField = set.parts[kRaSeconds].field;
        report.m_astrMapped.push_back(
            "Right ascension: " + Label(doc.m_nRaHoursField) + ", " + Label(doc.m_nRaMinutesField) +
            (set.Has(kRaSeconds)
                 ? ", " + Label(doc.m_nRaSecondsField) + " (hours, minutes and seconds)"
                 : " (hours and minutes)"));
    } else {
        doc.m_nRaNotation = 2;
        doc.m_nRaHoursField = set.parts[kRaHours].field;
        report.m_astrMapped.push_back("Right ascension: " + Label(doc.m_nRaHoursField) +
                                      " (hours only)");
    }

    if (decDerived) {
        CdsDerivedColumn column;
        column.m_nWidth = kDecimalWidth;
        column.m_nDecimals = kDegreesDecimals;
        column.m_strName = "DEdeg*";
        column.m_aParts.push_back(part(kDecDegrees, 1.0));
        if (!set.decDecimal) {
            if (set.Has(kDecMinutes))
                column.m_aParts.push_back(part(kDecMinutes, 1.0 / 60.0));
            if (set.Has(kDecSeconds))
                column.m_aParts.push_back(part(kDecSeconds, 1.0 / 3600.0));
            if (set.Has(kDecSign)) {
                column.m_nSignFirst = Field(set.parts[kDecSign].field).m_nFirstByte;
                column.m_nSignLast = Field(set.parts[kDecSign].field).m_nLastByte;
            }
        }
        const int index = AddDerived(std::move(column), "deg");
        doc.m_nDecNotation = 2;
        doc.m_nDecDegreesField = index;
        report.m_astrMapped.push_back(
            "Declination: " + doc.m_aFields[static_cast<std::size_t>(index)].m_strName +
            ", a decimal column appended to each record of the copy");
    } else if (set.decDecimal) {
        doc.m_nDecNotation = 2;
        doc.m_nDecDegreesField = set.parts[kDecDegrees].field;
        report.m_astrMapped.push_back("Declination: " + Label(doc.m_nDecDegreesField) +
                                      " (signed degrees)");
    } else {
        doc.m_nDecNotation = set.Has(kDecSeconds) ? 0 : 1;
        // Roles by position part (sign, main, minutes, seconds).
        const Role roles[] = {kDecSign, kDecDegrees, kDecMinutes, kDecSeconds};
        for (const PositionField& field : DecFields(0))
            doc.*field.member = set.parts[roles[static_cast<std::size_t>(field.part)]].field;
        std::string text = "Declination";
        for (const PositionField& field : DecFields(doc.m_nDecNotation))
            text += (field.part == PositionPart::Sign ? ": " : ", ") + Label(doc.*field.member);
        text += set.Has(kDecSeconds) ? " (sign, degrees, minutes, seconds)"
                                     : " (sign, degrees, minutes)";
        report.m_astrMapped.push_back(text);
    }
    if (options.m_bAppendColumns) {
        report.m_astrMapped.push_back(
            "Records whose RA or Dec fields are all blank have no position and are left out of "
            "the copy");
    }
}

// Label candidates, by how well they name an object.
struct LabelCandidate {
    int field = kNoField;
    int group = 2;  // 0 proper name, 1 the catalogue's own number or designation, 2 other
    std::string prefix;
    bool number = false;
    double coverage = 1.0;
    double distinct = 1.0;
};

void Mapper::MapLabels() {
    doc.m_nLabelCount = 0;
    doc.m_anLabelField = {kNoField, kNoField, kNoField};
    doc.m_astrLabelPrefix = {};
    std::vector<LabelCandidate> candidates;
    int ownNumber = -1;  // the first full, distinct identifier of the table
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        const int index = static_cast<int>(i);
        if (used[i] || IsQualifierLabel(field.m_strLabel) ||
            field.m_nLastByte - field.m_nFirstByte > 60)
            continue;
        const std::string label = LowerCase(field.m_strLabel);
        const std::string& explanation = field.m_strExplanation;
        const bool integer = !field.m_strFormat.empty() &&
                             (field.m_strFormat[0] == 'I' || field.m_strFormat[0] == 'i');
        LabelCandidate candidate;
        candidate.field = index;
        if (field.IsText()) {
            const bool nameLike =
                label.find("name") != std::string::npos || Contains(explanation, "name");
            const bool idLike = Contains(explanation, "designation") ||
                                Contains(explanation, "identifi") || label == "id" ||
                                label == "ident" || label == "desig" ||
                                !PrefixFromText(field.m_strLabel).empty();
            if (!nameLike && !idLike)
                continue;
            candidate.group = nameLike && !Contains(explanation, "designation") &&
                                      !Contains(explanation, "identifi")
                                  ? 0
                                  : 2;
        } else if (integer && (field.m_strUnits == "---" || field.m_strUnits.empty())) {
            const bool countLike =
                Contains(explanation, "number of") || Contains(explanation, "count") ||
                Contains(explanation, "flag") || Contains(explanation, "code") ||
                Contains(explanation, "index of") || Contains(explanation, "multiplicity");
            const bool numberLike =
                Contains(explanation, "number") || Contains(explanation, "catalog") ||
                Contains(explanation, "identif") || Contains(explanation, "designation") ||
                label == "seq" || label == "no" || label == "num" || label == "id" ||
                label == "index" || !PrefixFromText(field.m_strLabel).empty();
            if (countLike || !numberLike)
                continue;
            candidate.number = true;
            // Its prefix: a known catalogue in its label, its explanation, or (for the
            // catalogue's own running number) the title.
            for (const KnownCatalogue& known : kCatalogues) {
                if (known.label && field.m_strLabel == known.word)
                    candidate.prefix = known.prefix;
            }
            if (candidate.prefix.empty())
                candidate.prefix = PrefixFromText(explanation);
            if (candidate.prefix.empty() &&
                (label == "seq" || label == "no" || label == "num" || label == "id" ||
                 Contains(explanation, "running") || Contains(explanation, "sequential") ||
                 Contains(explanation, "catalog") || Contains(explanation, "number"))) {
                candidate.prefix = PrefixFromText(readMe.m_strTitle, true);
            }
            if (candidate.prefix.empty() && field.m_strLabel.size() >= 2 &&
                field.m_strLabel.size() <= 5 &&
                std::all_of(field.m_strLabel.begin(), field.m_strLabel.end(),
                            [](char c) { return std::isupper(static_cast<unsigned char>(c)); })) {
                candidate.prefix = field.m_strLabel + " ";
            }
        } else {
            continue;
        }
        if (Profiled(index)) {
            const std::int64_t nonBlank = NonBlank(index);
            if (nonBlank == 0)
                continue;
            candidate.coverage = static_cast<double>(nonBlank) / static_cast<double>(Records());
            candidate.distinct =
                static_cast<double>(Distinct(index)) / static_cast<double>(nonBlank);
        }
        if (candidate.group != 0 && ownNumber < 0 && candidate.coverage >= 0.99 &&
            candidate.distinct >= 0.99 &&
            (candidate.number || !candidate.prefix.empty() || candidates.empty())) {
            ownNumber = index;
            candidate.group = 1;
        }
        candidates.push_back(candidate);
    }
    // Fields that tell objects apart, proper names first, then the catalogue's own number,
    // then other identifiers by how many records they label.
    std::vector<std::string> rejected;
    std::vector<LabelCandidate> usable;
    for (const LabelCandidate& c : candidates) {
        if (c.distinct < 0.8) {
            rejected.push_back(Label(c.field) + " (" + Number(std::round(c.distinct * 100.0)) +
                               "% of its values differ, it does not tell objects apart)");
            continue;
        }
        usable.push_back(c);
    }
    std::stable_sort(usable.begin(), usable.end(),
                     [](const LabelCandidate& a, const LabelCandidate& b) {
                         if (a.group != b.group)
                             return a.group < b.group;
                         return a.coverage > b.coverage;
                     });
    // Greedy: each further field must label records the earlier ones leave without a label.
    const CdsDataProfile* profile = options.m_pProfile;
    std::uint64_t chosenMask = 0;
    auto covered = [&](std::uint64_t mask) -> double {
        if (profile == nullptr || profile->m_nRecords == 0 || profile->m_anMask.empty())
            return mask != 0 ? 1.0 : 0.0;
        std::int64_t count = 0;
        for (std::uint64_t m : profile->m_anMask)
            count += (m & mask) != 0 ? 1 : 0;
        return static_cast<double>(count) / static_cast<double>(profile->m_anMask.size());
    };
    auto bitOf = [&](int index) -> std::uint64_t {
        const auto k = static_cast<std::size_t>(sourceIndex[static_cast<std::size_t>(index)]);
        return k < kMaxProfiledFields ? std::uint64_t{1} << k : 0;
    };
    double coverage = 0.0;
    std::vector<std::string> chosenText;
    for (const LabelCandidate& c : usable) {
        if (doc.m_nLabelCount == 3 || coverage >= 0.999)
            break;
        const double with = covered(chosenMask | bitOf(c.field));
        if (doc.m_nLabelCount > 0 && with <= coverage)
            continue;
        int field = c.field;
        std::string how;
        const bool indented =
            c.number ||
            (Profiled(c.field) && options.m_pProfile->m_anIndented[static_cast<std::size_t>(
                                      sourceIndex[static_cast<std::size_t>(c.field)])] > 0);
        if (indented && options.m_bAppendColumns) {
            CdsDerivedColumn column;
            column.m_strName = Label(c.field) + "*";
            column.m_bText = true;
            column.m_nWidth = Field(c.field).m_nLastByte - Field(c.field).m_nFirstByte + 1;
            column.m_aParts.push_back(
                {Field(c.field).m_nFirstByte, Field(c.field).m_nLastByte, 1.0});
            field = AddDerived(std::move(column), "");
            how = " (read from a left-justified copy appended to each record)";
        }
        Use(c.field);
        const auto k = static_cast<std::size_t>(doc.m_nLabelCount);
        doc.m_anLabelField[k] = field;
        doc.m_astrLabelPrefix[k] = c.prefix;
        plan.m_aLabels.push_back({Range(c.field), c.prefix});
        ++doc.m_nLabelCount;
        chosenMask |= bitOf(c.field);
        coverage = with;
        const std::string why = c.group == 0   ? "a name"
                                : c.group == 1 ? "the catalogue's own identifier"
                                               : "an identifier";
        std::string text = "Label " + std::to_string(k + 1) + ": " + Label(c.field) +
                           (c.prefix.empty() ? "" : " with prefix \"" + c.prefix + "\"") + ", " +
                           why + how;
        if (Profiled(c.field)) {
            text +=
                "; " + Number(std::round(c.coverage * 1000.0) / 10.0) + "% of the records have one";
        }
        report.m_astrMapped.push_back(text);
    }
    if (doc.m_nLabelCount == 0) {
        report.m_astrToChoose.push_back(
            "Labels: no name or catalogue-number field tells the objects apart; the objects get "
            "no label (label count 0)");
    } else if (profile != nullptr && profile->m_nRecords > 0) {
        report.m_astrMapped.push_back("Labels: " + Number(std::round(coverage * 1000.0) / 10.0) +
                                      "% of the records get a label");
    }
    for (const std::string& text : rejected)
        report.m_astrToChoose.push_back("Labels: not used: " + text);
}

// A field in unit mag that is an apparent magnitude of the object, not a difference, an
// error, an extinction, a colour or an absolute magnitude.
bool IsApparentMagnitude(const CdsField& field) {
    const std::string& label = field.m_strLabel;
    if (field.m_strUnits != "mag" || IsQualifierLabel(label) || field.IsText())
        return false;
    if (label.find('-') != std::string::npos || label.find('(') != std::string::npos)
        return false;  // a colour index such as B-V, or E(B-V)
    const std::string lower = LowerCase(label);
    if (StartsWith(lower, "dmag") || StartsWith(lower, "delta") ||
        (label.size() >= 2 && label[0] == 'd' &&
         std::isupper(static_cast<unsigned char>(label[1]))) ||
        StartsWith(label, "Dmag") || StartsWith(label, "DM"))
        return false;
    if (label.size() >= 2 && label[0] == 'A' &&
        (std::isupper(static_cast<unsigned char>(label[1])) || label[1] == '_' || label == "Av"))
        return false;  // extinction AV, AK, A_V
    if (label.size() >= 2 && label[0] == 'M' &&
        (std::isupper(static_cast<unsigned char>(label[1])) || label[1] == '_' ||
         StartsWith(label, "Mbol")) &&
        !Contains(field.m_strExplanation, "apparent"))
        return false;  // absolute magnitude MV, M_K
    for (const char* word :
         {"difference", "error", "uncertaint", "extinction", "absorption", "colour", "color",
          "absolute", "amplitude", "excess", "correction", "sigma", "dispersion", "rms", "residual",
          "modulus", "range", "limit"}) {
        if (Contains(field.m_strExplanation, word))
            return false;
    }
    return true;
}

void Mapper::MapMagnitudes() {
    std::vector<int> magnitudes;
    std::vector<std::string> skipped;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        if (used[i] || field.m_strUnits != "mag" || IsQualifierLabel(field.m_strLabel))
            continue;
        if (IsApparentMagnitude(field))
            magnitudes.push_back(static_cast<int>(i));
        else
            skipped.push_back(field.m_strLabel);
    }
    auto isV = [this](int f) {
        const std::string& label = Label(f);
        return label == "V" || label.rfind("Vmag", 0) == 0 || label == "VTmag";
    };
    std::stable_partition(magnitudes.begin(), magnitudes.end(), isV);
    if (!skipped.empty()) {
        std::string names;
        for (const std::string& name : skipped)
            names += (names.empty() ? "" : ", ") + name;
        report.m_astrMapped.push_back("Magnitudes: " + names +
                                      " not used: not apparent magnitudes of the object "
                                      "(differences, errors, extinctions, colours or absolute)");
    }
    if (magnitudes.empty()) {
        report.m_astrToChoose.push_back("Magnitudes: no apparent magnitude in unit mag found");
        return;
    }
    const std::size_t count = std::min<std::size_t>(magnitudes.size(), 3);
    doc.m_nMagnitudeCount = static_cast<int>(count);
    std::string names;
    for (std::size_t k = 0; k < count; ++k) {
        doc.m_anMagnitudeField[k] = magnitudes[k];
        Use(magnitudes[k]);
        names += (k > 0 ? ", " : "") + Label(magnitudes[k]);
    }
    report.m_astrMapped.push_back("Magnitudes: " + names +
                                  (count > 1 ? " (the first non-blank one is used)" : ""));
    // "?=-" in a CDS explanation: a missing value is written as "-", which is not blank.
    for (std::size_t k = 0; k < count; ++k) {
        const std::string null = NullValue(Field(magnitudes[k]).m_strExplanation);
        if (null.empty())
            continue;
        report.m_astrToChoose.push_back(
            "Magnitudes: " + Label(magnitudes[k]) + " marks a missing value with \"" + null +
            "\", which reads as magnitude " + Number(ReadDecimal(null)));
    }
    if (magnitudes.size() > count) {
        std::string unused;
        for (std::size_t k = count; k < magnitudes.size(); ++k) {
            unused += (k > count ? ", " : "") + Label(magnitudes[k]);
        }
        report.m_astrToChoose.push_back("Magnitudes: " + unused +
                                        " not used (a definition takes three)");
    }
}

// Size units code of a CDS unit: 0 degrees, 1 arcminutes, 2 arcseconds, -1 none of them.
int SizeUnits(const std::string& units) {
    if (units == "deg")
        return 0;
    if (units == "arcmin")
        return 1;
    if (units == "arcsec")
        return 2;
    return -1;
}

void Mapper::MapSize() {
    int major = kNoField, minor = kNoField;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        if (used[i] || SizeUnits(field.m_strUnits) < 0 || IsQualifierLabel(field.m_strLabel)) {
            continue;
        }
        const std::string label = LowerCase(field.m_strLabel);
        const bool majorLike = label.find("maj") != std::string::npos || label == "diam" ||
                               label == "size" || label == "d" || label == "dim" ||
                               label == "d25" || label == "rad" || label == "radius";
        const bool minorLike = label.find("minax") != std::string::npos || label == "min" ||
                               label == "amin" || label == "bmin" || label == "minaxis";
        const int index = static_cast<int>(i);
        if (majorLike && major == kNoField)
            major = index;
        if (minorLike && !majorLike && minor == kNoField)
            minor = index;
    }
    if (major == kNoField) {
        report.m_astrToChoose.push_back("Size: no MajAxis/MinAxis-like fields found");
        return;
    }
    sized = true;
    const int units = SizeUnits(Field(major).m_strUnits);
    doc.m_nSizeUnits = units;
    doc.m_nMajorAxisField = major;
    Use(major);
    const CdsField& majorField = Field(major);
    const bool radius = Contains(majorField.m_strExplanation, "radius") ||
                        Contains(majorField.m_strExplanation, "semi") ||
                        LowerCase(majorField.m_strLabel).rfind("rad", 0) == 0;
    doc.m_nSizeMeaning = radius ? 0 : 1;
    std::string text = "Size: " + majorField.m_strLabel;
    if (minor != kNoField && SizeUnits(Field(minor).m_strUnits) == units) {
        doc.m_nSizeFields = 2;
        doc.m_nMinorAxisField = minor;
        Use(minor);
        text += ", " + Label(minor);
    } else {
        doc.m_nSizeFields = 1;
        if (minor != kNoField) {
            report.m_astrToChoose.push_back("Size: " + Label(minor) +
                                            " not used (its unit differs from the major axis)");
        }
    }
    report.m_astrMapped.push_back(text + " in " + majorField.m_strUnits +
                                  (radius ? ", as radius" : ", as diameter"));
}

void Mapper::MapPositionAngle() {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        if (used[i] || field.m_strUnits != "deg" || IsQualifierLabel(field.m_strLabel))
            continue;
        const std::string label = LowerCase(field.m_strLabel);
        if (label == "pa" || label == "posang" || label == "pa1" ||
            Contains(field.m_strExplanation, "position angle")) {
            if (!sized) {
                report.m_astrToChoose.push_back("Position angle: " + field.m_strLabel +
                                                " not used, the catalogue gives no size");
                return;
            }
            doc.m_bPositionAngle = 1;
            doc.m_nPositionAngleField = static_cast<int>(i);
            Use(static_cast<int>(i));
            report.m_astrMapped.push_back("Position angle: " + field.m_strLabel);
            return;
        }
    }
}

}  // namespace

// ---- profile, plan ------------------------------------------------------------------------

void CdsDataProfile::Begin(const CdsByteDescription& description) {
    const std::size_t count = std::min(description.m_aFields.size(), kMaxProfiledFields);
    *this = CdsDataProfile{};
    m_anNonBlank.assign(count, 0);
    m_anDistinct.assign(count, 0);
    m_anIndented.assign(count, 0);
    m_aHashes.assign(count, {});
}

void CdsDataProfile::Add(const CdsByteDescription& description, std::string_view line) {
    if (m_nRecords >= kMaxRecords)
        return;
    ++m_nRecords;
    std::uint64_t mask = 0;
    for (std::size_t k = 0; k < m_anNonBlank.size(); ++k) {
        const CdsField& field = description.m_aFields[k];
        const std::string_view raw = Bytes(line, field.m_nFirstByte, field.m_nLastByte);
        const std::string_view text = TrimView(raw);
        if (text.empty())
            continue;
        if (text.data() != raw.data())
            ++m_anIndented[k];
        mask |= std::uint64_t{1} << k;
        ++m_anNonBlank[k];
        m_aHashes[k].push_back(std::hash<std::string_view>{}(text));
    }
    m_anMask.push_back(mask);
}

void CdsDataProfile::End() {
    for (std::size_t k = 0; k < m_aHashes.size(); ++k) {
        std::vector<std::uint64_t>& hashes = m_aHashes[k];
        std::sort(hashes.begin(), hashes.end());
        m_anDistinct[k] = std::unique(hashes.begin(), hashes.end()) - hashes.begin();
    }
    m_aHashes.clear();
}

void CdsDerivedColumn::Append(std::string_view line, std::string& out) const {
    const std::size_t start = out.size();
    if (m_bText) {
        const std::string_view text =
            TrimView(Bytes(line, m_aParts[0].m_nFirstByte, m_aParts[0].m_nLastByte));
        out.append(text.substr(0, static_cast<std::size_t>(m_nWidth)));
    } else {
        double value = 0.0;
        bool negative = false, any = false;
        for (const Part& part : m_aParts) {
            const std::string_view text = Bytes(line, part.m_nFirstByte, part.m_nLastByte);
            any = any || HasDigit(text);
            if (text.find('-') != std::string_view::npos)
                negative = true;
            value += std::fabs(ReadDecimal(text)) * part.m_dScale;
        }
        if (m_nSignFirst > 0) {
            const std::string_view sign = TrimView(Bytes(line, m_nSignFirst, m_nSignLast));
            negative = negative || (!sign.empty() && sign[0] == '-');
        }
        if (any)
            out += Number(negative ? -value : value, m_nDecimals);
    }
    const std::size_t written = out.size() - start;
    if (written < static_cast<std::size_t>(m_nWidth)) {
        if (m_bText)
            out.append(static_cast<std::size_t>(m_nWidth) - written, ' ');
        else
            out.insert(start, static_cast<std::size_t>(m_nWidth) - written, ' ');
    }
}

int CdsRecordPlan::DerivedWidth() const {
    int width = 0;
    for (const CdsDerivedColumn& column : m_aDerived)
        width += column.m_nWidth;
    return width;
}

bool CdsRecordPlan::HasPosition(std::string_view line) const {
    auto any = [&](const std::vector<std::pair<int, int>>& ranges) {
        if (ranges.empty())
            return true;
        for (const auto& [first, last] : ranges) {
            if (HasDigit(Bytes(line, first, last)))
                return true;
        }
        return false;
    };
    return any(m_aRaBytes) && any(m_aDecBytes);
}

std::string CdsRecordPlan::LabelOf(std::string_view line) const {
    for (const auto& [range, prefix] : m_aLabels) {
        const std::string_view text = TrimView(Bytes(line, range.first, range.second));
        if (!text.empty())
            return prefix + std::string(text);
    }
    return {};
}

std::string CdsImportReport::Text() const {
    std::string text = "Imported the description of \"" + m_strFile + "\".";
    if (!m_astrMapped.empty()) {
        text += "\nMapped:";
        for (const std::string& line : m_astrMapped)
            text += "\n  " + line;
    }
    if (!m_astrToChoose.empty()) {
        text += "\nStill to choose:";
        for (const std::string& line : m_astrToChoose)
            text += "\n  " + line;
    }
    return text;
}

std::string CCdsImporter::FindEpoch(const std::string& text, bool bareYears) {
    const std::string lower = LowerCase(text);
    // An explicit equinox wins.
    for (std::size_t equinox = lower.find("equinox"); equinox != std::string::npos;
         equinox = lower.find("equinox", equinox + 1)) {
        std::size_t pos = equinox + 7;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '=' || text[pos] == ':'))
            ++pos;
        const std::string epoch = EpochFromToken(text, pos);
        if (!epoch.empty())
            return epoch;
    }
    // A J or B epoch (or with bareYears a year alone) that is not an epoch of observation
    // ("Epoch=J1991.25", "Ep=...", "epoch 1900.0").
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const bool letter = text[pos] == 'J' || text[pos] == 'B';
        if (!letter && !(bareYears && std::isdigit(static_cast<unsigned char>(text[pos]))))
            continue;
        if (pos > 0 && (std::isalnum(static_cast<unsigned char>(text[pos - 1])) ||
                        text[pos - 1] == '.' || text[pos - 1] == '/' || text[pos - 1] == '-'))
            continue;
        std::size_t k = pos;
        while (k > 0 && (text[k - 1] == ' ' || text[k - 1] == '=' || text[k - 1] == ':'))
            --k;
        const std::string before = lower.substr(0, k);
        if (before.ends_with("epoch") || before.ends_with("ep") || before.ends_with("in") ||
            before.ends_with("since"))
            continue;
        const std::string epoch = EpochFromToken(text, pos);
        if (epoch.empty())
            continue;
        std::size_t end = pos + (letter ? 5 : 4);
        while (end < text.size() &&
               (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
            ++end;
        if (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
            continue;
        const int year = std::stoi(epoch.substr(1, 4));
        if (!letter && (year < 1800 || year > 2100))
            continue;
        return epoch;
    }
    // Reference systems that imply an equinox.
    if (lower.find("icrs") != std::string::npos || lower.find("fk5") != std::string::npos) {
        return "J2000.0";
    }
    if (lower.find("fk4") != std::string::npos)
        return "B1950.0";
    return {};
}

int CCdsImporter::LineLengthOf(const CCdsReadMe& readMe, const std::string& fileName) {
    const CdsByteDescription* description = readMe.FindDescription(fileName);
    const int last = description != nullptr ? description->LastByte() : 0;
    return std::max(readMe.RecordLengthOf(fileName), last);
}

bool CCdsImporter::Import(const CCdsReadMe& readMe, const std::string& fileName,
                          const std::string& dataPath, int recordLength, CCatforgeDoc& doc,
                          const CdsImportOptions& options) {
    m_strError.clear();
    m_report = CdsImportReport{};
    m_plan = CdsRecordPlan{};
    m_report.m_strFile = CdsBareFileName(fileName);
    const CdsByteDescription* description = readMe.FindDescription(fileName);
    if (description == nullptr) {
        m_strError = "The ReadMe has no byte-by-byte description of \"" +
                     CdsReadable(m_report.m_strFile) + "\".";
        return false;
    }
    if (dataPath.size() >= static_cast<std::size_t>(kMaxDataFilePath)) {
        m_strError = "The data file path is longer than " + std::to_string(kMaxDataFilePath - 1) +
                     " characters: \"" + CdsReadable(dataPath) + "\".";
        return false;
    }
    if (recordLength <= description->LastByte()) {
        m_strError = "The record length of " + std::to_string(recordLength) +
                     " bytes does not hold the fields, which end at byte " +
                     std::to_string(description->LastByte()) + ".";
        return false;
    }
    const int lineLength = LineLengthOf(readMe, fileName);
    const int eolBytes = std::max(1, recordLength - lineLength);
    m_plan.m_nLineLength = recordLength - eolBytes;

    // Build the new definition aside, so that doc changes only when everything worked.
    CCatforgeDoc staged;
    staged.DeleteContents();
    staged.m_strTitle = readMe.m_strTitle;
    std::string notes = readMe.m_strCatalogue.empty()
                            ? m_report.m_strFile
                            : readMe.m_strCatalogue + ", " + m_report.m_strFile;
    const std::string explanation = readMe.ExplanationOf(fileName);
    if (!explanation.empty())
        notes += ": " + explanation;
    notes += "\r\nImported from the CDS ReadMe.";
    if (!description->m_strNotes.empty()) {
        std::string cdsNotes;
        for (char c : description->m_strNotes) {
            if (c == '\n')
                cdsNotes += '\r';
            cdsNotes += c;
        }
        notes += "\r\n" + cdsNotes;
    }
    staged.m_strNotes = notes;
    staged.SetDataFile(dataPath);

    std::vector<const CdsField*> imported;
    std::vector<int> sourceIndex;
    std::string skipped;
    for (std::size_t k = 0; k < description->m_aFields.size(); ++k) {
        const CdsField& field = description->m_aFields[k];
        if (field.m_nLastByte > kMaxColumn) {
            skipped += (skipped.empty() ? "" : ", ") + field.m_strLabel;
            continue;
        }
        FieldDefinition definition;
        definition.m_strName = field.m_strLabel;
        definition.m_strUnit = field.m_strUnits == "---" ? std::string() : field.m_strUnits;
        definition.m_nStartCol = field.m_nFirstByte;
        definition.m_nEndCol = field.m_nLastByte;
        staged.m_aFields.push_back(definition);
        imported.push_back(&field);
        sourceIndex.push_back(static_cast<int>(k));
    }
    if (!skipped.empty()) {
        m_report.m_astrToChoose.push_back("Fields beyond column " + std::to_string(kMaxColumn) +
                                          " not imported: " + skipped);
    }
    if (!readMe.m_aFiles.empty() && readMe.RecordLengthOf(fileName) == 0 &&
        readMe.ExplanationOf(fileName).empty()) {
        bool listed = false;
        for (const CdsFileEntry& entry : readMe.m_aFiles)
            listed = listed || CdsBareFileName(entry.m_strName) == m_report.m_strFile;
        if (!listed) {
            m_report.m_astrToChoose.push_back(
                "File summary: it does not list \"" + CdsReadable(m_report.m_strFile) +
                "\" by that name; the record length comes from the byte-by-byte table");
        }
    }

    CdsImportOptions effective = options;
    if (effective.m_pProfile != nullptr && effective.m_pProfile->m_nRecords == 0)
        effective.m_pProfile = nullptr;
    Mapper mapper{readMe, *description, imported, sourceIndex, staged, m_report, m_plan, effective};
    mapper.MapPosition();
    mapper.MapLabels();
    mapper.MapMagnitudes();
    mapper.MapSize();
    mapper.MapPositionAngle();
    staged.m_nRecordLength = recordLength + m_plan.DerivedWidth();
    if (staged.m_aFields.size() > imported.size()) {
        m_report.m_astrMapped.push_back("Columns appended to each record of the copy (after byte " +
                                        std::to_string(m_plan.m_nLineLength) +
                                        ", the original bytes unchanged): " +
                                        std::to_string(staged.m_aFields.size() - imported.size()) +
                                        ", marked * in their names");
    }
    m_report.m_astrMapped.insert(
        m_report.m_astrMapped.begin(),
        std::to_string(staged.m_aFields.size()) + " fields, record length " +
            std::to_string(staged.m_nRecordLength) + " bytes, data file \"" + dataPath + "\"");
    m_report.m_astrToChoose.push_back(
        "Object types: every object gets the default type and symbol");

    std::string error;
    if (!doc.DecodeDefinition(staged.EncodeDefinition(), error)) {
        m_strError = "Internal error while filling the definition: " + error;
        return false;
    }
    return true;
}
