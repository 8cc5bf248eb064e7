// Tools / Check Data: the window fills from the check running beside it, exports what it shows
// and opens the Data Browser at a problem's record.
#include <QAbstractItemModel>
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QThread>

#include "AppTestSupport.h"
#include "app/CatforgeApp.h"
#include "app/CheckDataDlg.h"
#include "app/MainFrame.h"
#include "core/compile/DataProblemCsv.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/BrowserDlg.h"
#include "gui/widgets/ModalRun.h"
#include "support/RecordingInteraction.h"

namespace {

bool SameProblems(const std::vector<DataProblem>& a, const std::vector<DataProblem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.record == y.record && x.field == y.field && x.text == y.text && x.kind == y.kind;
    });
}

}  // namespace

TEST_F(CAppTest, CheckDataWindowFillsExportsAndShowsARecord) {
    const std::string examples = CATFORGE_EXAMPLES_DIR;
    const std::string definition =
        m_files.Write("stars.zdd", CTempDir::Read(examples + "/cluster-stars.zdd"));
    m_files.Write("cluster-stars.dat", CTempDir::Read(examples + "/cluster-stars.dat"));
    CRecordingInteraction ui;
    CCatforgeApp app(&ui);
    ASSERT_TRUE(app.InitInstance({QString::fromStdString(definition)}));
    // The I magnitudes of the sample hold VizieR nulls ("--", "-", "----").
    CCatforgeDoc& doc = app.Document();
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

    const std::string csv = m_files.Path("problems.csv");
    std::vector<std::string> browserPage;
    std::vector<DataProblem> shown;
    QString title, summaryText, lastCell;
    SetModalDialogRunner([&](QDialog& dialog) {
        if (auto* browser = dynamic_cast<CBrowserDlg*>(&dialog)) {
            browser->show();
            browserPage = {browser->StatusLabel()->text().toStdString(),
                           browser->Table()->verticalHeaderItem(0)->text().toStdString()};
            return int(QDialog::Accepted);
        }
        auto& check = dynamic_cast<CCheckDataDlg&>(dialog);
        check.show();
        while (check.SummaryLabel()->text().startsWith("Checking")) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        title = check.windowTitle();
        summaryText = check.SummaryLabel()->text();
        shown = check.Problems();
        const QAbstractItemModel* model = check.Table()->model();
        lastCell = model->data(model->index(model->rowCount() - 1, 3)).toString();
        ui.fileNames = {csv};
        check.OnExport();
        check.OnShowRecord(static_cast<int>(shown.size()) - 1);
        return int(QDialog::Accepted);
    });
    app.MainFrame().Action("ID_TOOLS_CHECKDATA")->trigger();
    SetModalDialogRunner({});

    EXPECT_EQ(title, "Check Data - stars.zdd");
    EXPECT_TRUE(SameProblems(shown, expected));
    EXPECT_EQ(summaryText.toStdString(), FormatSummary(summary));
    EXPECT_EQ(lastCell.toStdString(), DescribeProblem(expected.back()));
    EXPECT_EQ(CTempDir::Read(csv), ProblemsToCsv(expected));
    const std::string last = std::to_string(expected.back().record);
    ASSERT_EQ(browserPage.size(), 2u);
    EXPECT_EQ(browserPage[1], last);
    EXPECT_EQ(browserPage[0].rfind("Records " + last + " to ", 0), 0u) << browserPage[0];
    EXPECT_TRUE(ui.messages.empty());

    // Texts with separators, quotes or outer blanks are quoted, quotes doubled.
    const DataProblem odd{7, "Na,me", " a\"b", DataProblemKind::LabelCut};
    EXPECT_EQ(
        ProblemsToCsv({odd}).rfind("record,field,text,problem\r\n7,\"Na,me\",\" a\"\"b\",", 0), 0u);
}
