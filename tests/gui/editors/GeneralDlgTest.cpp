#include "gui/editors/GeneralDlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QValidator>

#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

class GeneralDlg : public ::testing::Test {
protected:
    CTempDir dir;
    CRecordingInteraction ui;
    CGeneralDlg dlg{ui};
};

TEST_F(GeneralDlg, BrowseAsksForAnExistingDataFileAndKeepsThePathOnCancel) {
    EXPECT_EQ(dlg.windowTitle(), "General Properties");
    dlg.m_strDataFile = "old.dat";
    dlg.UpdateControls();

    ui.fileNames = {std::nullopt, dir.Path("stars.dat")};
    dlg.OnBrowseDataFile();
    EXPECT_EQ(dlg.DataFileBox()->text(), "old.dat");
    dlg.OnBrowseDataFile();
    EXPECT_EQ(dlg.DataFileBox()->text().toStdString(), dir.Path("stars.dat"));

    ASSERT_EQ(ui.fileRequests.size(), 2u);
    const FileDialogRequest& request = ui.fileRequests[0];
    EXPECT_EQ(request.proposedName, "old.dat");
    EXPECT_EQ(request.defaultExtension, "dat");
    EXPECT_TRUE(request.mustExist);
    std::vector<std::string> filters;
    for (const FileFilter& filter : request.filters)
        filters.push_back(filter.description + "|" + filter.pattern);
    EXPECT_EQ(filters,
              (std::vector<std::string>{"Data files (*.dat)|*.dat", "All files (*.*)|*.*"}));
}

TEST_F(GeneralDlg, DetectFillsOnlyTheRecordLengthBox) {
    dlg.m_nRecordLength = 7;
    dlg.UpdateControls();

    dlg.OnDetectRecordLength();  // empty path
    EXPECT_EQ(dlg.RecordLengthBox()->text(), "7");

    dlg.TitleBox()->setText("Typed, not yet taken");
    dlg.DataFileBox()->setText(QString::fromStdString(dir.Write("a.dat", "abc\r\ndef\r\n")));
    dlg.OnDetectRecordLength();
    EXPECT_EQ(dlg.RecordLengthBox()->text(), "5");
    EXPECT_EQ(dlg.TitleBox()->text(), "Typed, not yet taken");

    dlg.DataFileBox()->setText(QString::fromStdString(dir.Write("b.dat", "")));
    dlg.OnDetectRecordLength();
    EXPECT_EQ(dlg.RecordLengthBox()->text(), "5");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Please choose a data file\nbefore pressing this button.");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Information);
}

TEST_F(GeneralDlg, OkRefusesARecordLengthThatIsNotAWholeNumber) {
    dlg.UpdateControls();
    QString typed = "12a";
    int pos = 0;
    EXPECT_NE(dlg.RecordLengthBox()->validator()->validate(typed, pos), QValidator::Acceptable);

    dlg.TitleBox()->setText("T");
    dlg.RecordLengthBox()->clear();
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.m_strTitle, "");  // nothing taken
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Please enter a whole number."}));
    dlg.RecordLengthBox()->setText("0");  // 0 is allowed here
    EXPECT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_strTitle, "T");
    EXPECT_EQ(dlg.m_nRecordLength, 0);
}
