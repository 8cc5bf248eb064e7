// The main window's overview and sky map follow the document.
#include <QtTest/QTest>

#include "AppTestSupport.h"
#include "app/CatforgeView.h"
#include "app/OverviewPane.h"
#include "app/SkyMapWidget.h"
#include "core/compile/SkyProjection.h"
#include "core/model/CatforgeDoc.h"

#include <QLabel>
#include <QUrl>
#include <cmath>
#include <numbers>

namespace {

using MainViewTest = CAppTest;

// Waits for the map's worker; the first object's RA in hours, -1 when it shows none.
double FirstRaHours(const CSkyMapWidget& map) {
    if (!QTest::qWaitFor([&] { return !map.Busy() && map.Sample(); }, 10000) ||
        map.Sample()->objects.empty())
        return -1;
    return map.Sample()->objects[0].ra * 12 / std::numbers::pi;
}

TEST_F(MainViewTest, OverviewAndMapFollowTheDocument) {
    StartOnSample();
    CCatforgeView& view = m_app->View();
    const std::string& overview = view.Overview().OverviewText();
    EXPECT_NE(overview.find("  Hours: RAh\n"), std::string::npos) << overview;
    // The first record lies at 06h38m52.5s.
    EXPECT_NEAR(FirstRaHours(view.SkyMap()), 6 + 38 / 60.0 + 52.5 / 3600, 1e-4);
    EXPECT_EQ(view.findChild<QLabel*>("mapSummary")->text().toStdString(),
              "no problems in 15 records");
    // A click on the mark of record 3 selects it.
    CSkyMapWidget& map = view.SkyMap();
    map.resize(600, 300);
    const SkyObject& third = map.Sample()->objects[2];
    const SkyPoint at = ProjectSky(third.ra, third.dec);
    const CSkyFrame frame(map.width(), map.height());
    const QPoint pixel(static_cast<int>(std::lround(frame.PixelX(at))),
                       static_cast<int>(std::lround(frame.PixelY(at))));
    EXPECT_GE(map.ObjectAt(pixel), 0);
    QTest::mouseClick(&map, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(map.SelectedRecord(), -1);
    QTest::mouseClick(&map, Qt::LeftButton, {}, pixel);
    EXPECT_EQ(map.Sample()->objects[static_cast<std::size_t>(map.ObjectAt(pixel))].record,
              map.SelectedRecord());
    EXPECT_NE(view.findChild<QLabel*>("mapSummary")->text().indexOf("selected"), -1);

    // The position editor, opened from the overview's heading, takes the minutes as hours.
    view.Commands().raDec = [](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
        doc.m_nRaHoursField = doc.m_nRaMinutesField;
        doc.SetModifiedFlag();
        return true;
    };
    emit view.Overview().anchorClicked(
        QUrl(QString("edit:%1").arg(static_cast<int>(OverviewGroupId::Position))));
    EXPECT_NE(overview.find("  Hours: RAm\n"), std::string::npos) << overview;
    EXPECT_NEAR(FirstRaHours(view.SkyMap()), 38 + 38 / 60.0 + 52.5 / 3600, 1e-4);

    // The Operations menu runs the same command; a field that is gone is marked at once and
    // the map says why it shows nothing.
    view.Commands().raDec = [](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
        doc.m_nRaHoursField = 40;
        return true;
    };
    Trigger("ID_OPERATIONS_RADEC");
    EXPECT_NE(overview.find("! Hours: (missing field 40)\n"), std::string::npos) << overview;
    EXPECT_EQ(FirstRaHours(view.SkyMap()), -1);
    EXPECT_FALSE(view.SkyMap().Sample()->problem.empty());

    // File New empties both.
    m_app->Document().SetModifiedFlag(false);
    m_app->OnFileNew();
    EXPECT_NE(overview.find("(no fields)"), std::string::npos) << overview;
    EXPECT_EQ(FirstRaHours(view.SkyMap()), -1);
    EXPECT_EQ(view.SkyMap().Sample()->problem, "No record length is set.");
}

}  // namespace
