#include "core/import/CdsImporter.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "core/compile/FieldReading.h"
#include "core/model/CatforgeDoc.h"

namespace {

constexpr int kMaxColumn = 9999;

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Contains(const std::string& text, const std::string& word) {
    return LowerCase(text).find(LowerCase(word)) != std::string::npos;
}

// CDS labels such as e_Vmag, r_Vmag, u_Vmag, l_Vmag: errors, references and flags of a value.
bool IsQualifierLabel(const std::string& label) {
    return label.size() > 2 && label[1] == '_' &&
           std::islower(static_cast<unsigned char>(label[0]));
}

// The null value of a CDS explanation beginning "?=-9.9 ..." ("-9.9"); empty when none is
// given (a plain "?" means the field is blank when missing).
std::string NullValue(const std::string& explanation) {
    if (explanation.rfind("?=", 0) != 0)
        return {};
    const std::size_t end = explanation.find(' ', 2);
    return explanation.substr(2, end == std::string::npos ? std::string::npos : end - 2);
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

struct Mapper {
    const std::vector<const CdsField*>& fields;  // parallel to the document's field list
    CCatforgeDoc& doc;
    CdsImportReport& report;
    std::vector<bool> used = std::vector<bool>(fields.size(), false);

    int Find(const std::string& label) const {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i]->m_strLabel == label)
                return static_cast<int>(i);
        }
        return kNoField;
    }
    const std::string& Label(int index) const {
        return fields[static_cast<std::size_t>(index)]->m_strLabel;
    }
    const CdsField& Field(int index) const { return *fields[static_cast<std::size_t>(index)]; }
    void Use(int index) { used[static_cast<std::size_t>(index)] = true; }

    void MapPosition();
    void MapEpoch(const CdsByteDescription& description);
    void MapLabel();
    void MapMagnitudes();
    void MapSize();
    void MapPositionAngle();
};

void Mapper::MapPosition() {
    const int h = Find("RAh"), m = Find("RAm"), s = Find("RAs");
    if (h != kNoField && m != kNoField) {
        doc.m_nRaNotation = s != kNoField ? 0 : 1;
        doc.m_nRaHoursField = h;
        doc.m_nRaMinutesField = m;
        doc.m_nRaSecondsField = s;
        report.m_astrMapped.push_back(
            s != kNoField ? "Right ascension: RAh, RAm, RAs (hours, minutes and seconds)"
                          : "Right ascension: RAh, RAm (hours and minutes)");
    } else if (h != kNoField) {
        doc.m_nRaNotation = 2;
        doc.m_nRaHoursField = h;
        report.m_astrMapped.push_back("Right ascension: RAh (hours only)");
    } else if (Find("RAdeg") != kNoField) {
        report.m_astrToChoose.push_back(
            "Right ascension: given in degrees (RAdeg), but a definition reads it in hours; "
            "a field in hours is needed");
    } else {
        report.m_astrToChoose.push_back("Right ascension: no RAh/RAm/RAs fields found");
    }
    for (int f : {h, m, s}) {
        if (f != kNoField)
            Use(f);
    }

    const int sign = Find("DE-"), d = Find("DEd"), dm = Find("DEm"), ds = Find("DEs");
    const int degrees = Find("DEdeg");
    if (sign != kNoField && d != kNoField && dm != kNoField) {
        doc.m_nDecNotation = ds != kNoField ? 0 : 1;
        doc.m_nDecSignField = sign;
        doc.m_nDecDegreesField = d;
        doc.m_nDecMinutesField = dm;
        doc.m_nDecSecondsField = ds;
        report.m_astrMapped.push_back(
            ds != kNoField ? "Declination: DE-, DEd, DEm, DEs (sign, degrees, minutes, seconds)"
                           : "Declination: DE-, DEd, DEm (sign, degrees, minutes)");
        for (int f : {sign, d, dm, ds}) {
            if (f != kNoField)
                Use(f);
        }
    } else if (degrees != kNoField) {
        doc.m_nDecNotation = 2;
        doc.m_nDecDegreesField = degrees;
        Use(degrees);
        report.m_astrMapped.push_back("Declination: DEdeg (signed degrees)");
    } else {
        report.m_astrToChoose.push_back("Declination: no DE-/DEd/DEm/DEs or DEdeg fields found");
    }
}

void Mapper::MapEpoch(const CdsByteDescription& description) {
    // The explanations of the position fields first, then the notes.
    std::vector<std::pair<std::string, std::string>> sources;
    for (const char* label : {"RAh", "RAm", "RAs", "RAdeg", "DE-", "DEd", "DEm", "DEs", "DEdeg"}) {
        const int f = Find(label);
        if (f != kNoField)
            sources.emplace_back(Field(f).m_strExplanation, label);
    }
    sources.emplace_back(description.m_strNotes, "the notes");
    for (const auto& [text, where] : sources) {
        const std::string epoch = CCdsImporter::FindEpoch(text);
        if (epoch.empty())
            continue;
        doc.m_strEpoch = epoch;
        report.m_astrMapped.push_back("Epoch: " + epoch + " (from the explanation of " + where +
                                      ")");
        return;
    }
    report.m_astrToChoose.push_back("Epoch: not stated; " + doc.m_strEpoch + " assumed, check it");
}

void Mapper::MapLabel() {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        if (used[i] || !field.IsText() || IsQualifierLabel(field.m_strLabel))
            continue;
        const std::string label = LowerCase(field.m_strLabel);
        const bool nameLike = Contains(field.m_strExplanation, "name") ||
                              Contains(field.m_strExplanation, "designation") ||
                              Contains(field.m_strExplanation, "identifi") ||
                              label.find("name") != std::string::npos || label == "id";
        if (!nameLike)
            continue;
        doc.m_nLabelCount = 1;
        doc.m_anLabelField[0] = static_cast<int>(i);
        Use(static_cast<int>(i));
        report.m_astrMapped.push_back("Label 1: " + field.m_strLabel);
        return;
    }
    report.m_astrToChoose.push_back("Labels: no name field recognised");
}

void Mapper::MapMagnitudes() {
    std::vector<int> magnitudes;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CdsField& field = *fields[i];
        const std::string& label = field.m_strLabel;
        if (used[i] || field.m_strUnits != "mag" || IsQualifierLabel(label))
            continue;
        if (label.find('-') != std::string::npos)
            continue;  // a colour index such as B-V
        magnitudes.push_back(static_cast<int>(i));
    }
    auto isV = [this](int f) {
        const std::string& label = Label(f);
        return label == "V" || label.rfind("Vmag", 0) == 0 || label == "VTmag";
    };
    std::stable_partition(magnitudes.begin(), magnitudes.end(), isV);
    if (magnitudes.empty()) {
        report.m_astrToChoose.push_back("Magnitudes: no fields in unit mag found");
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
        char value[32];
        const auto written = std::to_chars(value, value + sizeof value, ReadDecimal(null),
                                           std::chars_format::general);
        report.m_astrToChoose.push_back(
            "Magnitudes: " + Label(magnitudes[k]) + " marks a missing value with \"" + null +
            "\", which reads as magnitude " + std::string(value, written.ptr));
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
            doc.m_bPositionAngle = 1;
            doc.m_nPositionAngleField = static_cast<int>(i);
            Use(static_cast<int>(i));
            report.m_astrMapped.push_back("Position angle: " + field.m_strLabel);
            return;
        }
    }
}

}  // namespace

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

std::string CCdsImporter::FindEpoch(const std::string& text) {
    const std::string lower = LowerCase(text);
    // An explicit equinox wins.
    const std::size_t equinox = lower.find("equinox");
    if (equinox != std::string::npos) {
        std::size_t pos = equinox + 7;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '=' || text[pos] == ':'))
            ++pos;
        const std::string epoch = EpochFromToken(text, pos);
        if (!epoch.empty())
            return epoch;
    }
    // A J or B epoch that is not an epoch of observation ("Epoch=J1991.25", "Ep=...").
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] != 'J' && text[pos] != 'B')
            continue;
        if (pos > 0 && std::isalnum(static_cast<unsigned char>(text[pos - 1])))
            continue;
        std::size_t k = pos;
        while (k > 0 && (text[k - 1] == ' ' || text[k - 1] == '=' || text[k - 1] == ':'))
            --k;
        const std::string before = lower.substr(0, k);
        if (before.ends_with("epoch") || before.ends_with("ep"))
            continue;
        const std::string epoch = EpochFromToken(text, pos);
        if (!epoch.empty())
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
                          const std::string& dataPath, int recordLength, CCatforgeDoc& doc) {
    m_strError.clear();
    m_report = CdsImportReport{};
    m_report.m_strFile = CdsBareFileName(fileName);
    const CdsByteDescription* description = readMe.FindDescription(fileName);
    if (description == nullptr) {
        m_strError =
            "The ReadMe has no byte-by-byte description of \"" + m_report.m_strFile + "\".";
        return false;
    }
    if (dataPath.size() >= static_cast<std::size_t>(kMaxDataFilePath)) {
        m_strError = "The data file path is longer than " + std::to_string(kMaxDataFilePath - 1) +
                     " characters: \"" + dataPath + "\".";
        return false;
    }
    if (recordLength <= description->LastByte()) {
        m_strError = "The record length of " + std::to_string(recordLength) +
                     " bytes does not hold the fields, which end at byte " +
                     std::to_string(description->LastByte()) + ".";
        return false;
    }

    // Build the new definition aside, so that doc changes only when everything worked.
    CCatforgeDoc staged;
    staged.DeleteContents();
    staged.m_strTitle = readMe.m_strTitle;
    std::string notes = readMe.m_strCatalogue + ", " + m_report.m_strFile;
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
    staged.m_nRecordLength = recordLength;

    std::vector<const CdsField*> imported;
    std::string skipped;
    for (const CdsField& field : description->m_aFields) {
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
    }
    m_report.m_astrMapped.push_back(std::to_string(imported.size()) + " fields, record length " +
                                    std::to_string(recordLength) + " bytes, data file \"" +
                                    dataPath + "\"");
    if (!skipped.empty()) {
        m_report.m_astrToChoose.push_back("Fields beyond column " + std::to_string(kMaxColumn) +
                                          " not imported: " + skipped);
    }

    Mapper mapper{imported, staged, m_report};
    mapper.MapPosition();
    mapper.MapEpoch(*description);
    mapper.MapLabel();
    mapper.MapMagnitudes();
    mapper.MapSize();
    mapper.MapPositionAngle();
    m_report.m_astrToChoose.push_back(
        "Object types: every object gets the default type and symbol");

    std::string error;
    if (!doc.DecodeDefinition(staged.EncodeDefinition(), error)) {
        m_strError = "Internal error while filling the definition: " + error;
        return false;
    }
    return true;
}
