// Compiles the cluster-stars catalogue and reads the result back with a reader written here,
// section by section, checking every entry against the data file itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "core/compile/CatalogReader.h"
#include "core/compile/Compile.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

const std::string kDataDir = CATFORGE_TEST_DATA_DIR "/cluster-stars";

// Little-endian reading of the test's own, with a hard stop at the end of the bytes.
class CSectionReader {
public:
    explicit CSectionReader(const std::string& bytes) : m_bytes(bytes) {}
    std::uint32_t Unsigned(std::size_t n) {
        Need(n);
        std::uint32_t v = 0;
        for (std::size_t i = n; i-- > 0;)
            v = v << 8 | static_cast<unsigned char>(m_bytes[m_at + i]);
        m_at += n;
        return v;
    }
    std::uint32_t U32() { return Unsigned(4); }
    std::int32_t I32() { return static_cast<std::int32_t>(Unsigned(4)); }
    std::int16_t I16() { return static_cast<std::int16_t>(Unsigned(2)); }
    float F32() { return std::bit_cast<float>(Unsigned(4)); }
    std::string Bytes(std::size_t n) {
        Need(n);
        m_at += n;
        return m_bytes.substr(m_at - n, n);
    }
    std::string Str() { return Bytes(static_cast<std::size_t>(I32())); }
    std::size_t Left() const { return m_bytes.size() - m_at; }

private:
    void Need(std::size_t n) const {
        if (n > Left())
            throw std::runtime_error("catalogue ends early at byte " + std::to_string(m_at));
    }
    const std::string& m_bytes;
    std::size_t m_at = 0;
};

std::string Trim(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}
bool Blank(const std::string& text) {
    return Trim(text).empty();
}
std::string Cols(const std::string& record, int start, int end) {
    return record.substr(static_cast<std::size_t>(start - 1),
                         static_cast<std::size_t>(end - start + 1));
}

TEST(ClusterStarsCompile, EverySectionAndEveryEntry) {
    CTempDir dir;
    CCatforgeDoc doc;
    CRecordingInteraction ui;
    doc.SetInteraction(&ui);
    ASSERT_TRUE(doc.OpenDocument(kDataDir + "/cluster-stars.zdd"));
    const std::string data = CTempDir::Read(kDataDir + "/cluster-stars.dat");
    ui.fileNames.push_back(dir.Path("cluster-stars.zdc"));
    EpochState epoch;
    ASSERT_TRUE(CompileDefinition(doc, epoch, ui));
    const std::string output = CTempDir::Read(dir.Path("cluster-stars.zdc"));
    ASSERT_EQ(doc.m_nRecordLength, 104);
    ASSERT_EQ(data.size(), 15u * 104u);
    CSectionReader in(output);
    // Header and definition echo.
    EXPECT_EQ(in.Bytes(8), "zdc0Data");
    EXPECT_EQ(in.I32(), 1);
    EXPECT_EQ(in.Str(), doc.m_strTitle);
    EXPECT_EQ(in.Str(), doc.m_strNotes);
    EXPECT_EQ(in.I32(), 104);
    ASSERT_EQ(in.I32(), static_cast<int>(doc.m_aFields.size()));
    for (const FieldDefinition& field : doc.m_aFields) {
        EXPECT_EQ(in.Str(), field.m_strName);
        EXPECT_EQ(in.Str(), field.m_strUnit);
        EXPECT_EQ(in.I32(), field.m_nStartCol);
        EXPECT_EQ(in.I32(), field.m_nEndCol);
    }
    for (const int v : {doc.m_nRaNotation, doc.m_nRaHoursField, doc.m_nRaMinutesField,
                        doc.m_nRaSecondsField, doc.m_nDecNotation, doc.m_nDecSignField,
                        doc.m_nDecDegreesField, doc.m_nDecMinutesField, doc.m_nDecSecondsField}) {
        EXPECT_EQ(in.I32(), v);
    }
    EXPECT_EQ(in.Str(), "J2000.0");
    EXPECT_EQ(in.I32(), doc.m_nLabelCount);
    for (const int f : doc.m_anLabelField)
        EXPECT_EQ(in.I32(), f);
    for (const std::string& p : doc.m_astrLabelPrefix)
        EXPECT_EQ(in.Str(), p);
    for (const int v :
         {doc.m_nSizeFields, doc.m_nSizeUnits, doc.m_nSizeMeaning, doc.m_nMajorAxisField,
          doc.m_nMinorAxisField, doc.m_bPositionAngle, doc.m_nPositionAngleField,
          doc.m_nMagnitudeCount, doc.m_anMagnitudeField[0], doc.m_anMagnitudeField[1],
          doc.m_anMagnitudeField[2], doc.m_nDefaultType, doc.m_nDefaultSymbol, doc.m_nColourMode}) {
        EXPECT_EQ(in.I32(), v);
    }
    EXPECT_EQ(in.U32(), doc.m_crScreenColour);
    EXPECT_EQ(in.U32(), doc.m_crPrinterColour);
    EXPECT_EQ(in.I32(), doc.m_nTypeMode);
    EXPECT_EQ(in.I32(), 0);  // no user symbols

    // Keys, index, counts: exactly the bytes that the entries fill remain.
    const int firstKey = in.I32();
    const int lastKey = in.I32();
    std::vector<int> index;
    for (int h = 0; h < 24; ++h)
        index.push_back(in.I32());
    const int count = in.I32();
    const int size = in.I32();
    ASSERT_EQ(count, 15);
    ASSERT_EQ(size, 104 + 68);
    ASSERT_EQ(in.Left(), 15u * 172u);

    // The reader of info and export must agree with this one.
    CompiledCatalog catalog;
    std::string error;
    ASSERT_TRUE(ReadCompiledCatalog(output, catalog, error)) << error;
    EXPECT_EQ(catalog.definition.m_strTitle, doc.m_strTitle);
    EXPECT_EQ(catalog.definition.m_aFields, doc.m_aFields);
    EXPECT_EQ(catalog.firstKey, firstKey);
    EXPECT_EQ(std::vector<int>(catalog.hourIndex.begin(), catalog.hourIndex.end()), index);

    // Every record of the data file appears exactly once.
    std::map<std::string, int> unused;
    for (std::size_t i = 0; i < data.size(); i += 104)
        ++unused[data.substr(i, 104)];
    std::vector<int> keys;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const std::string label = in.Bytes(32);
        const int ra = in.I32();
        const int dec = in.I32();
        const float sinRa = in.F32(), cosRa = in.F32(), sinDec = in.F32(), cosDec = in.F32();
        const int magnitude = in.I16(), major = in.I16(), minor = in.I16(), angle = in.I16();
        const int symbol = in.I16(), type = in.I16();
        const std::string record = in.Bytes(104);
        ASSERT_EQ(unused[record]--, 1) << record;
        keys.push_back(ra);
        const CatalogEntry entry = ReadCatalogEntry(output, catalog, static_cast<std::size_t>(i));
        EXPECT_EQ(entry.label, label.c_str());
        EXPECT_EQ(std::make_tuple(entry.raKey, entry.decKey, entry.sinRa, entry.magnitude,
                                  entry.positionAngle, entry.type),
                  std::make_tuple(ra, dec, sinRa, magnitude, angle, type));
        EXPECT_EQ(entry.record, record);

        // Label: the Simbad name, else the cluster name; zeros after the terminator.
        const std::string name = Cols(record, 79, 103);
        const std::string expected = Trim(Blank(name) ? Cols(record, 1, 7) : name).substr(0, 31);
        EXPECT_EQ(std::string(label.c_str()), expected);
        EXPECT_EQ(label.find_first_not_of('\0', expected.size()), std::string::npos);

        // Position at J2000.0 straight from the columns: 1500 RA units per second of time,
        // 100 Dec units per arcsecond.
        const double raUnits = std::stoi(Cols(record, 14, 15)) * 5400000.0 +
                               std::stoi(Cols(record, 17, 18)) * 90000.0 +
                               std::stod(Cols(record, 20, 23)) * 1500.0;
        const double decUnits =
            (std::stoi(Cols(record, 26, 27)) * 360000.0 + std::stoi(Cols(record, 29, 30)) * 6000.0 +
             std::stod(Cols(record, 32, 35)) * 100.0) *
            (record[24] == '-' ? -1 : 1);
        EXPECT_LE(std::abs(ra - raUnits), 1.0);
        EXPECT_LE(std::abs(dec - decUnits), 1.0);
        const double alpha = ra / 360000.0 * M_PI / 180.0;
        const double delta = dec / 360000.0 * M_PI / 180.0;
        EXPECT_NEAR(sinRa, std::sin(alpha), 1e-6);
        EXPECT_NEAR(cosRa, std::cos(alpha), 1e-6);
        EXPECT_NEAR(sinDec, std::sin(delta), 1e-6);
        EXPECT_NEAR(cosDec, std::cos(delta), 1e-6);

        // Magnitude V, else B, in hundredths.
        const std::string v = Cols(record, 43, 47);
        const std::string b = Cols(record, 37, 41);
        const std::string mag = !Blank(v) ? v : b;
        EXPECT_EQ(magnitude,
                  Blank(mag) ? 9999 : static_cast<int>(std::lround(std::stod(mag) * 100)));
        EXPECT_EQ(major, 0);
        EXPECT_EQ(minor, 0);
        EXPECT_EQ(angle, -1);
        EXPECT_EQ(symbol, doc.m_nDefaultSymbol);
        EXPECT_EQ(type, doc.m_nDefaultType);
    }
    EXPECT_EQ(in.Left(), 0u);

    // Sorted, first and last keys, and the hour index recomputed from the keys.
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_EQ(firstKey, keys.front());
    EXPECT_EQ(lastKey, keys.back());
    for (int h = 0; h < 24; ++h) {
        const auto first =
            std::find_if(keys.begin(), keys.end(), [h](int key) { return key / 360000 / 15 >= h; });
        EXPECT_EQ(index[static_cast<std::size_t>(h)], first - keys.begin()) << "hour " << h;
    }
}

}  // namespace
