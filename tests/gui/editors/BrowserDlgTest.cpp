#include "gui/editors/BrowserDlg.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "core/browse/DataBrowse.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"
#include "gui/widgets/ModalRun.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

std::string Records(int count) {
    std::string bytes;
    for (int i = 1; i <= count; ++i) {
        std::string record = " " + std::to_string(i + 100) + "  ";
        record.resize(80, '.');
        bytes += record + "\r\n";
    }
    return bytes;
}

class Browsing : public ::testing::Test {
protected:
    CTempDir dir;
    CRecordingInteraction ui;
    CDataBrowse browse;
};

}  // namespace

TEST_F(Browsing, ShowsOnePageWithTheRawFieldTextsAndPagingButtons) {
    const std::vector<FieldDefinition> fields = {{"Number", "", 1, 6}, {"Rest", "", 7, 10}};
    ASSERT_TRUE(browse.Open(dir.Write("d.dat", Records(45)), 82, fields, ui));
    CBrowserDlg dlg(browse);
    EXPECT_EQ(dlg.windowTitle(), "Data Browser");
    QTableWidget* table = dlg.Table();
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Number");
    EXPECT_EQ(dlg.PrevButton()->text(), "<< &Prev");
    EXPECT_EQ(dlg.NextButton()->text(), "&Next >>");

    dlg.Start(20);
    EXPECT_EQ(dlg.StatusLabel()->text(), "Records 1 to 20 of 45");
    EXPECT_EQ(table->rowCount(), 20);
    EXPECT_EQ(table->item(0, 0)->text(), " 101  ");
    EXPECT_EQ(table->item(0, 1)->text(), "....");
    EXPECT_FALSE(dlg.PrevButton()->isEnabled());
    EXPECT_TRUE(dlg.NextButton()->isEnabled());
    dlg.OnNext();
    dlg.OnNext();
    EXPECT_EQ(dlg.StatusLabel()->text(), "Records 41 to 45 of 45");
    EXPECT_EQ(table->rowCount(), 5);
    EXPECT_EQ(table->verticalHeaderItem(0)->text(), "41");
    EXPECT_TRUE(dlg.PrevButton()->isEnabled());
    EXPECT_FALSE(dlg.NextButton()->isEnabled());
}

TEST_F(Browsing, PageSizeIsTheRowsTheTableShows) {
    ASSERT_TRUE(browse.Open(dir.Write("d.dat", Records(200)), 82, {{"N", "", 1, 6}}, ui));
    CBrowserDlg dlg(browse);
    dlg.show();  // the first show takes the page size and loads the first page
    const int shown = dlg.Table()->rowCount();
    EXPECT_GT(shown, 5);
    EXPECT_EQ(browse.PageSize(), shown);
    EXPECT_EQ(shown, dlg.RowsShown());
    // Every row fits in the table's client area.
    const int rowHeight = dlg.Table()->verticalHeader()->defaultSectionSize();
    EXPECT_LE(shown * rowHeight, dlg.Table()->viewport()->height());
    EXPECT_GT((shown + 1) * rowHeight, dlg.Table()->viewport()->height());
    dlg.hide();
}

TEST_F(Browsing, CommandRefusesWithoutADialogAndNeverChangesTheDocument) {
    CCatforgeDoc doc;
    int dialogs = 0;
    const CModalRunnerScope runner([&](QDialog& dialog) {
        ++dialogs;
        auto& dlg = dynamic_cast<CBrowserDlg&>(dialog);
        dlg.Start(20);
        dlg.OnNext();
        return int(QDialog::Accepted);
    });
    RunDataBrowser(doc, ui, nullptr);  // record length 0
    doc.m_nRecordLength = 82;
    doc.SetDataFile(dir.Path("missing.dat"));
    RunDataBrowser(doc, ui, nullptr);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(ui.messages.size(), 2u);

    doc.SetDataFile(dir.Write("d.dat", Records(45)));
    doc.m_aFields = {{"N", "", 1, 6}};
    RunDataBrowser(doc, ui, nullptr);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(doc.IsModified());

    // A relative data file lies beside the definition, wherever the program was started.
    dir.Write("beside.dat", Records(45));
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("def.zdd")));
    ASSERT_TRUE(doc.OpenDocument(dir.Path("def.zdd")));
    doc.SetDataFile("beside.dat");
    RunDataBrowser(doc, ui, nullptr);
    EXPECT_EQ(dialogs, 2);
}
