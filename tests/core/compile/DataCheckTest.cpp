// The data check on records of the test layout: every kind of problem, in record order.
#include "core/compile/DataCheck.h"

#include <gtest/gtest.h>

#include <tuple>

#include "CompileFixture.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

using Found = std::tuple<std::uint64_t, std::string, std::string, DataProblemKind>;

class DataCheck : public ::testing::Test {
protected:
    void SetUp() override {
        DescribeTestLayout(doc);
        doc.m_nMagnitudeCount = 2;
        doc.m_anMagnitudeField = {kMag1, kMag2, kNoField};
        doc.m_nLabelCount = 2;
        doc.m_anLabelField = {kName2, kName1, kNoField};
        doc.m_astrLabelPrefix = {std::string(28, 'P'), "", ""};
    }
    // A record at 12h 30m 15.5s +10 20 30, magnitude 8.2, with the given texts put over it.
    CTestRecord Record(std::initializer_list<std::pair<int, std::string>> texts) {
        CTestRecord r;
        r.Set(doc, kRaH, "12").Set(doc, kRaM, "30").Set(doc, kRaS, "15.5");
        r.Set(doc, kDecSign, "+").Set(doc, kDecD, "10").Set(doc, kDecM, "20").Set(doc, kDecS, "30");
        r.Set(doc, kMag1, "8.2").Set(doc, kName1, "A");
        for (const auto& [field, text] : texts)
            r.Set(doc, field, text);
        return r;
    }
    std::vector<Found> Check(const std::vector<CTestRecord>& records) {
        std::string bytes;
        for (const CTestRecord& r : records)
            bytes += r.Bytes();
        const std::string path = dir.Write("data.dat", bytes);
        std::vector<Found> found;
        const bool ran = CheckData(
            doc, path, ui,
            [&](const DataProblem& p) { found.emplace_back(p.record, p.field, p.text, p.kind); },
            summary);
        EXPECT_TRUE(ran);
        EXPECT_EQ(summary.records, records.size());
        return found;
    }
    CCatforgeDoc doc;
    CTempDir dir;
    CRecordingInteraction ui;
    DataCheckSummary summary;
};

TEST_F(DataCheck, NamesEveryProblemInRecordOrder) {
    using K = DataProblemKind;
    const std::vector<Found> found = Check({
        Record({}),
        Record({{kRaH, ""}, {kRaM, ""}, {kRaS, ""}}),
        Record({{kDecD, ""}, {kDecM, ""}, {kDecS, ""}}),  // the sign alone is no position
        Record({{kRaH, ""}, {kRaM, ""}, {kRaS, ""}, {kDecD, ""}, {kDecM, ""}, {kDecS, ""}}),
        Record({{kMag1, " ---"}, {kMag2, "*"}}),
        Record({{kMag1, "nan"}, {kRaS, "15.5:"}}),  // a number followed by a flag reads fine
        Record({{kRaH, "24"}, {kRaM, "00"}, {kRaS, "0"}}),
        Record({{kDecSign, "-"}, {kDecD, "90"}, {kDecM, "0"}, {kDecS, "0.1"}}),
        Record({{kRaM, "60"}, {kDecS, "60.0"}}),
        Record({{kName2, "ABCD"}}),  // 28 + 4 characters
        Record({{kName2, "ABC"}, {kRaH, "-1"}}),
    });
    EXPECT_EQ(found, (std::vector<Found>{
                         {2, "RAh", "", K::BlankPosition},
                         {3, "DEd", "", K::BlankPosition},
                         {4, "RAh, DEd", "", K::BlankPosition},
                         {5, "Mag1", "---", K::NotANumber},
                         {5, "Mag2", "*", K::NotANumber},
                         {6, "Mag1", "nan", K::NotANumber},
                         {7, "RAh", "24", K::RaOutOfRange},
                         {8, "DEd", "90", K::DecOutOfRange},
                         {9, "RAm", "60", K::SixtyOrMore},
                         {9, "DEs", "60.0", K::SixtyOrMore},
                         {10, "Name2", "ABCD", K::LabelCut},
                         {11, "RAh", "-1", K::RaOutOfRange},
                     }));
    EXPECT_EQ(summary.counts, (std::array<std::uint64_t, kDataProblemKinds>{3, 3, 2, 1, 1, 2}));
    EXPECT_EQ(FormatSummary(summary),
              "3 records without a position, 3 texts that are not numbers (read as 0), 2 right "
              "ascensions out of range, 1 declination beyond 90 degrees, 1 label cut at 31 "
              "characters, 2 minutes or seconds values of 60 or more");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DataCheck, DegreesOfRightAscensionEndAt360) {
    doc.m_nRaNotation = kRaNotationDegrees;
    doc.m_nDecNotation = 2;
    doc.m_aFields[kRaH] = {"RAdeg", "deg", 1, 13};
    doc.m_aFields[kDecD] = {"DEdeg", "deg", 15, 28};
    const auto at = [&](const std::string& ra, const std::string& dec) {
        return Record({{kRaH, ra}, {kDecD, dec}});
    };
    const std::vector<Found> found =
        Check({at("359.99999", "-90"), at("360", "+45.5"), at("0", "90.001"), at("---", "")});
    EXPECT_EQ(found, (std::vector<Found>{
                         {2, "RAdeg", "360", DataProblemKind::RaOutOfRange},
                         {3, "DEdeg", "90.001", DataProblemKind::DecOutOfRange},
                         {4, "DEdeg", "", DataProblemKind::BlankPosition},
                         {4, "RAdeg", "---", DataProblemKind::NotANumber},
                     }));
}

TEST_F(DataCheck, CancelStopsQuietlyWhatCannotRunSaysWhy) {
    const std::string path = dir.Write("data.dat", Record({}).Bytes());
    EXPECT_FALSE(CheckData(doc, path, ui, {}, summary, [] { return true; }));
    EXPECT_EQ(summary.records, 0u);
    EXPECT_TRUE(CheckData(doc, path, ui, {}, summary, [] { return false; }));
    EXPECT_EQ(FormatSummary(summary), "no problems in 1 record");
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_FALSE(CheckData(doc, dir.Path("none.dat"), ui, {}, summary));
    doc.m_nDecDegreesField = kNoField;
    EXPECT_FALSE(CheckData(doc, path, ui, {}, summary));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Unable to open file\n\"" + dir.Path("none.dat") + "\"",
                                        "Please select the fields required to\nspecify the object "
                                        "declination."}));
}

}  // namespace
