// Writes a synthetic catalogue for timing the compile: NAME.dat with COUNT records of 100
// bytes (the same bytes on every run) and NAME.zdd describing it: epoch B1950.0, RA and Dec
// in hours/minutes/seconds and sign/degrees/minutes/seconds, three label fields with
// prefixes, two magnitude fields with blanks, both axes in minutes, a position angle and five
// type rules.
//
// Usage: catforge-bench-generate OUTPUT_STEM [COUNT]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/model/CatforgeDoc.h"

namespace {

constexpr int kRecordLength = 100;

FieldDefinition Field(const char* name, const char* unit, int start, int end) {
    return FieldDefinition{name, unit, start, end};
}

void Describe(CCatforgeDoc& doc, const std::string& dataName) {
    doc.m_strTitle = "Synthetic catalogue for timing the compile";
    doc.SetDataFile(dataName);
    doc.m_nRecordLength = kRecordLength;
    doc.m_aFields = {Field("Name1", "", 1, 8),         Field("Name2", "", 10, 17),
                     Field("Name3", "", 19, 26),       Field("RAh", "h", 28, 29),
                     Field("RAm", "min", 31, 32),      Field("RAs", "s", 34, 37),
                     Field("DE-", "", 39, 39),         Field("DEd", "deg", 40, 41),
                     Field("DEm", "arcmin", 43, 44),   Field("DEs", "arcsec", 46, 49),
                     Field("Vmag", "mag", 51, 55),     Field("Bmag", "mag", 57, 61),
                     Field("MajAx", "arcmin", 63, 68), Field("MinAx", "arcmin", 70, 75),
                     Field("PA", "deg", 77, 79),       Field("Type", "", 81, 83),
                     Field("Notes", "", 85, 99)};
    doc.m_nRaNotation = 0;
    doc.m_nRaHoursField = 3;
    doc.m_nRaMinutesField = 4;
    doc.m_nRaSecondsField = 5;
    doc.m_nDecNotation = 0;
    doc.m_nDecSignField = 6;
    doc.m_nDecDegreesField = 7;
    doc.m_nDecMinutesField = 8;
    doc.m_nDecSecondsField = 9;
    doc.m_strEpoch = "B1950.0";
    doc.m_nLabelCount = 3;
    doc.m_anLabelField = {0, 1, 2};
    doc.m_astrLabelPrefix = {"NGC ", "IC ", "PGC "};
    doc.m_nSizeFields = 2;
    doc.m_nSizeUnits = 1;
    doc.m_nSizeMeaning = 1;
    doc.m_nMajorAxisField = 12;
    doc.m_nMinorAxisField = 13;
    doc.m_bPositionAngle = 1;
    doc.m_nPositionAngleField = 14;
    doc.m_nMagnitudeCount = 2;
    doc.m_anMagnitudeField = {10, 11, kNoField};
    doc.m_nDefaultType = 0;
    doc.m_nDefaultSymbol = 0;
    doc.m_nTypeMode = 1;
    doc.m_aTypeRules = {
        {15, 3, 1, "Gx"}, {15, 5, 3, "OC"}, {15, 4, 4, "Gb"}, {15, 6, 5, "Pl"}, {15, 1, 6, "Nb"}};
    doc.m_aUserSymbols = {{"Cross", "-8,0,MA;8,0,DA;0,-8,MA;0,8,DA"}, {"Ring", "16,CIR;8,CIR"}};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_STEM [COUNT]\n", argv[0]);
        return 2;
    }
    const std::string stem = argv[1];
    const long count = argc > 2 ? std::atol(argv[2]) : 1000000;
    const std::string dataPath = stem + ".dat";
    const std::size_t slash = dataPath.find_last_of('/');
    const std::string dataName = slash == std::string::npos ? dataPath : dataPath.substr(slash + 1);

    std::FILE* out = std::fopen(dataPath.c_str(), "wb");
    if (out == nullptr) {
        std::perror(dataPath.c_str());
        return 1;
    }
    std::mt19937 random(20261206);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    const char* const types[] = {"Gx ", "OC ", "Gb ", "Pl ", "Nb ", "*  ", "Gx ", "Gx "};
    char record[kRecordLength + 1];
    for (long i = 0; i < count; ++i) {
        // The first label field is blank in one record of three, the second in one of two.
        char name1[9] = "        ";
        char name2[9] = "        ";
        if (pick(3) != 0)
            std::snprintf(name1, sizeof name1, "%-8d", pick(7840) + 1);
        if (pick(2) != 0)
            std::snprintf(name2, sizeof name2, "%-8d", pick(5386) + 1);
        char vmag[6] = "     ";
        char bmag[6] = "     ";
        if (pick(4) != 0)
            std::snprintf(vmag, sizeof vmag, "%5.2f", pick(2000) / 100.0);
        if (pick(2) != 0)
            std::snprintf(bmag, sizeof bmag, "%5.2f", pick(2200) / 100.0);
        const int written = std::snprintf(
            record, sizeof record,
            "%-8.8s %-8.8s %-8ld %02d %02d %04.1f %c%02d %02d %04.1f %-5.5s %-5.5s %6.2f %6.2f "
            "%3d %-3.3s %-15.15s",
            name1, name2, i + 1, pick(24), pick(60), pick(600) / 10.0, pick(2) ? '-' : '+',
            pick(90), pick(60), pick(600) / 10.0, vmag, bmag, pick(30000) / 100.0,
            pick(15000) / 100.0, pick(180), types[pick(8)], "synthetic");
        if (written != kRecordLength - 1) {
            std::fprintf(stderr, "record %ld has %d bytes\n", i, written);
            return 1;
        }
        record[kRecordLength - 1] = '\n';
        std::fwrite(record, 1, kRecordLength, out);
    }
    if (std::fclose(out) != 0) {
        std::perror(dataPath.c_str());
        return 1;
    }
    CCatforgeDoc doc;
    Describe(doc, dataName);
    if (!doc.OnSaveDocument(stem + ".zdd")) {
        std::fprintf(stderr, "cannot write %s.zdd\n", stem.c_str());
        return 1;
    }
    std::printf("%ld records of %d bytes in %s, definition %s.zdd\n", count, kRecordLength,
                dataPath.c_str(), stem.c_str());
    return 0;
}
