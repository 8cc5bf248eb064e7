// The main window's overview and sky map follow the document.
#include <QtTest/QTest>

#include "AppTestSupport.h"
#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/MainFrame.h"
#include "app/OverviewPane.h"
#include "app/SkyMapWidget.h"
#include "core/compile/SkyProjection.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"

#include <QAction>
#include <QLabel>
#include <QUrl>
#include <cmath>
#include <numbers>

namespace {

class MainViewTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        const std::string examples = CATFORGE_EXAMPLES_DIR;
        definition =
            m_files.Write("cluster-stars.zdd", CTempDir::Read(examples + "/cluster-stars.zdd"));
        m_files.Write("cluster-stars.dat", CTempDir::Read(examples + "/cluster-stars.dat"));
        app = std::make_unique<CCatforgeApp>(&ui);
        ASSERT_TRUE(app->InitInstance({QString::fromStdString(definition)}));
    }

    // Waits for the map's worker; the first object's RA in hours.
    double MapFirstRaHours() {
        CSkyMapWidget& map = app->View().SkyMap();
        if (!QTest::qWaitFor([&] { return !map.Busy() && map.Sample(); }, 10000))
            return -1;
        if (map.Sample()->objects.empty())
            return -1;
        return map.Sample()->objects[0].ra * 12 / std::numbers::pi;
    }

    std::string definition;
    CRecordingInteraction ui;
    std::unique_ptr<CCatforgeApp> app;
};

TEST_F(MainViewTest, OverviewAndMapFollowTheDocument) {
    CCatforgeView& view = app->View();
    const std::string& overview = view.Overview().OverviewText();
    EXPECT_NE(overview.find("  Hours: RAh\n"), std::string::npos) << overview;
    // The first record lies at 06h38m52.5s.
    EXPECT_NEAR(MapFirstRaHours(), 6 + 38 / 60.0 + 52.5 / 3600, 1e-4);
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
    int runs = 0;
    view.Commands().raDec = [&runs](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
        ++runs;
        doc.m_nRaHoursField = doc.m_nRaMinutesField;
        doc.SetModifiedFlag();
        return true;
    };
    emit view.Overview().anchorClicked(
        QUrl(QString("edit:%1").arg(static_cast<int>(OverviewGroupId::Position))));
    EXPECT_EQ(runs, 1);
    EXPECT_NE(overview.find("  Hours: RAm\n"), std::string::npos) << overview;
    EXPECT_NEAR(MapFirstRaHours(), 38 + 38 / 60.0 + 52.5 / 3600, 1e-4);

    // The Operations menu runs the same command; a field that is gone is marked at once and
    // the map says why it shows nothing.
    view.Commands().raDec = [](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
        doc.m_nRaHoursField = 40;
        return true;
    };
    app->MainFrame().Action("ID_OPERATIONS_RADEC")->trigger();
    EXPECT_NE(overview.find("! Hours: (missing field 40)\n"), std::string::npos) << overview;
    EXPECT_EQ(MapFirstRaHours(), -1);
    EXPECT_FALSE(view.SkyMap().Sample()->problem.empty());

    // File New empties both.
    app->Document().SetModifiedFlag(false);
    app->OnFileNew();
    EXPECT_NE(overview.find("(no fields)"), std::string::npos) << overview;
    EXPECT_EQ(MapFirstRaHours(), -1);
    EXPECT_EQ(view.SkyMap().Sample()->problem, "No record length is set.");
}

}  // namespace
