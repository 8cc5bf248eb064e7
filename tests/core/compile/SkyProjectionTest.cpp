// The all-sky chart's projection on known positions, and the objects the map decodes.
#include <gtest/gtest.h>

#include <atomic>
#include <numbers>

#include "core/compile/SkyProjection.h"
#include "core/compile/SkySample.h"
#include "core/model/CatforgeDoc.h"

namespace {

// The centre, 24h as 0h, both poles at any RA, the left and right edges (a negative RA wraps),
// RA growing to the left and falling to the right, the parallel of +30 and the edge at +60.
TEST(SkyProjectionTest, KnownPositionsLandWhereTheChartPutsThem) {
    const struct {
        double raHours, decDegrees, x, y;
    } known[] = {{0, 0, 0, 0},
                 {24, 0, 0, 0},
                 {7, 90, 0, 1},
                 {19, -90, 0, -1},
                 {12 - 1e-9, 0, -1, 0},
                 {12 + 1e-9, 0, 1, 0},
                 {1e-9 - 12, 0, 1, 0},
                 {6, 0, -0.5411961, 0},
                 {18, 0, 0.5411961, 0},
                 {0, 30, 0, 0.3660254},
                 {12 - 1e-9, 60, -0.5, 0.8660254}};
    for (const auto& k : known) {
        const SkyPoint p =
            ProjectSky(k.raHours * std::numbers::pi / 12, k.decDegrees * std::numbers::pi / 180);
        EXPECT_NEAR(p.x, k.x, 1e-6) << k.raHours << " " << k.decDegrees;
        EXPECT_NEAR(p.y, k.y, 1e-6) << k.raHours << " " << k.decDegrees;
    }
}

TEST(SkyMarksTest, BrighterObjectsGetLargerMarksAndOddValuesDoNotSqueezeTheRest) {
    // 200 objects from -1.50 to 10.00 (one outlier at 99.99) and some without magnitude.
    std::vector<std::int16_t> magnitudes(5, 9999);
    for (int k = 0; k < 199; ++k)
        magnitudes.push_back(static_cast<std::int16_t>(-150 + k * 1150 / 198));
    magnitudes.push_back(9999);  // none
    magnitudes.push_back(9990);  // the outlier
    const MagnitudeRange range = ScaleMagnitudes(magnitudes);
    ASSERT_FALSE(range.empty);
    EXPECT_NEAR(range.brightest, -1.39, 1e-9);
    EXPECT_NEAR(range.faintest, 9.94, 1e-9);
    EXPECT_DOUBLE_EQ(MarkRadius(-150, range, 1, 5), 5);
    EXPECT_DOUBLE_EQ(MarkRadius(9990, range, 1, 5), 1);
    EXPECT_DOUBLE_EQ(MarkRadius(9999, range, 1, 5), 1);
    EXPECT_GT(MarkRadius(250, range, 1, 5), MarkRadius(600, range, 1, 5));
    EXPECT_TRUE(ScaleMagnitudes({9999, 9999}).empty);
}

TEST(SkySampleTest, LargeFilesAreSampledEvenlyAndDecodedAsTheCompileDoes) {
    const std::string examples = CATFORGE_EXAMPLES_DIR;
    CCatforgeDoc doc;
    ASSERT_TRUE(doc.OpenDocument(examples + "/cluster-stars.zdd"));
    std::atomic<bool> cancel{false};
    SkySample all;
    ASSERT_TRUE(DecodeSkySample(doc, examples + "/cluster-stars.dat", cancel, all));
    ASSERT_EQ(all.objects.size(), 15u);
    EXPECT_FALSE(all.sampled);
    // Record 1: Collinder 110 DI 2108 at 06h38m52.5s +02 01 58.4 (J2000), V 13.35.
    EXPECT_NEAR(all.objects[0].ra * 12 / std::numbers::pi, 6 + 38 / 60.0 + 52.5 / 3600, 1e-6);
    EXPECT_NEAR(all.objects[0].dec * 180 / std::numbers::pi, 2 + 1 / 60.0 + 58.4 / 3600, 1e-6);
    EXPECT_EQ(all.objects[0].magnitude, 1335);
    EXPECT_EQ(FormatSkySampleSummary(all), "15 records; no problems seen while decoding");

    SkySample some;
    ASSERT_TRUE(DecodeSkySample(doc, examples + "/cluster-stars.dat", cancel, some, 4));
    EXPECT_TRUE(some.sampled);
    std::vector<std::uint32_t> records;
    for (const SkyObject& o : some.objects)
        records.push_back(o.record);
    EXPECT_EQ(records, (std::vector<std::uint32_t>{0, 3, 7, 11}));
    EXPECT_EQ(std::string(some.objects[1].label.data()), std::string(all.objects[3].label.data()));
    EXPECT_EQ(FormatSkySampleSummary(some),
              "15 records (4 sampled); no problems seen while decoding");

    cancel = true;
    EXPECT_FALSE(DecodeSkySample(doc, examples + "/cluster-stars.dat", cancel, some));
    doc.m_nDecDegreesField = 99;
    cancel = false;
    ASSERT_TRUE(DecodeSkySample(doc, examples + "/cluster-stars.dat", cancel, some));
    EXPECT_TRUE(some.objects.empty());
    EXPECT_FALSE(some.problem.empty());
}

}  // namespace
