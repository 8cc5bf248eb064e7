// Tools / Check Data: the window fills from the check running beside it, exports what it shows
// and opens the Data Browser at a problem's record.
#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QThread>

#include "AppTestSupport.h"
#include "app/CheckDataDlg.h"
#include "core/compile/DataProblemCsv.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/BrowserDlg.h"
#include "gui/widgets/ModalRun.h"

TEST_F(CAppTest, CheckDataWindowFillsExportsAndShowsARecord) {
    StartOnSample("stars.zdd");
    // The I magnitudes of the sample hold VizieR nulls ("--", "-", "----").
    CCatforgeDoc& doc = m_app->Document();
    const auto icmag = std::find_if(doc.m_aFields.begin(), doc.m_aFields.end(),
                                    [](const auto& f) { return f.m_strName == "Icmag"; });
    ASSERT_NE(icmag, doc.m_aFields.end());
    doc.m_nMagnitudeCount = 1;
    doc.m_anMagnitudeField[0] = static_cast<int>(icmag - doc.m_aFields.begin());

    std::vector<DataProblem> expected;
    DataCheckSummary summary;
    CSilentInteraction silent;
    ASSERT_TRUE(CheckData(
        doc, "", silent, [&](const DataProblem& p) { expected.push_back(p); }, summary));
    ASSERT_FALSE(expected.empty());

    // The window shows what the check finds; Show Record opens the browser at the last one.
    const std::string csv = m_files.Path("problems.csv");
    const std::string last = std::to_string(expected.back().record);
    int browsed = 0;
    const CModalRunnerScope runnerScope([&](QDialog& dialog) {
        if (auto* browser = dynamic_cast<CBrowserDlg*>(&dialog)) {
            browser->show();
            ++browsed;
            EXPECT_EQ(browser->Table()->verticalHeaderItem(0)->text().toStdString(), last);
            const std::string page = browser->StatusLabel()->text().toStdString();
            EXPECT_EQ(page.rfind("Records " + last + " to ", 0), 0u) << page;
            return int(QDialog::Accepted);
        }
        auto& check = dynamic_cast<CCheckDataDlg&>(dialog);
        check.show();
        while (check.SummaryLabel()->text().startsWith("Checking")) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        EXPECT_EQ(check.windowTitle().toStdString(), "Check Data - stars.zdd");
        EXPECT_EQ(ProblemsToCsv(check.Problems()), ProblemsToCsv(expected));
        EXPECT_EQ(check.SummaryLabel()->text().toStdString(), FormatSummary(summary));
        const QAbstractItemModel* model = check.Table()->model();
        EXPECT_EQ(model->data(model->index(model->rowCount() - 1, 3)).toString().toStdString(),
                  DescribeProblem(expected.back()));
        m_ui.fileNames = {csv};
        check.OnExport();
        check.OnShowRecord(static_cast<int>(expected.size()) - 1);
        return int(QDialog::Accepted);
    });
    Trigger("ID_TOOLS_CHECKDATA");
    EXPECT_EQ(CTempDir::Read(csv), ProblemsToCsv(expected));
    EXPECT_EQ(browsed, 1);
    EXPECT_TRUE(m_ui.messages.empty());

    // Texts with separators, quotes or outer blanks are quoted, quotes doubled.
    const DataProblem odd{7, "Na,me", " a\"b", DataProblemKind::LabelCut};
    EXPECT_EQ(
        ProblemsToCsv({odd}).rfind("record,field,text,problem\r\n7,\"Na,me\",\" a\"\"b\",", 0), 0u);
}
