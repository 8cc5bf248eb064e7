// Fields from Data, driven as a person would: drags and clicks on the data, names typed,
// and the fields ending up in the Field Definitions list and the definition.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"
#include "gui/editors/FieldListDlg.h"
#include "gui/editors/FieldsFromDataDlg.h"
#include "gui/widgets/ModalRun.h"
#include "support/RecordingInteraction.h"

namespace {

// Drags across the view from one column to another, passing through via on the way
// (press and release on one column without via: a click).
void Drag(CColumnView& view, int from, int to, int via = 0) {
    const int y = view.DataTop() + 3;
    const auto at = [&](int column) {
        return QPoint(view.ColumnX(column) + view.CharWidth() / 2, y);
    };
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(from));
    if (via > 0)
        QTest::mouseMove(view.viewport(), at(via));
    QTest::mouseMove(view.viewport(), at(to));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(to));
}

// Marks a field with the mouse and names it; gives the refusal shown, empty when added.
std::string MarkField(CFieldsFromDataDlg& dlg, int from, int to, const char* name,
                      const char* unit = "", int via = 0) {
    Drag(*dlg.View(), from, to, via);
    dlg.NameEdit()->setText(name);
    dlg.UnitEdit()->setText(unit);
    dlg.OnAddField();
    return dlg.ProblemLabel()->text().toStdString();
}

}  // namespace

TEST(FieldsFromDataDlg, DraggedFieldsJoinTheListInColumnOrder) {
    const std::string data = CATFORGE_TEST_DATA_DIR "/cds/table1.dat";
    CRecordingInteraction ui;
    CFieldListDlg list(ui);
    list.SetFields({{"Cluster", "", 1, 7}, {"SName", "", 79, 103}});
    list.SetDataFile(data, 0);
    std::vector<std::string> refusals;
    bool lengthOffered = true;
    const CModalRunnerScope runnerScope([&](QDialog& dialog) {
        auto& dlg = dynamic_cast<CFieldsFromDataDlg&>(dialog);
        dlg.resize(900, 500);
        dlg.show();
        lengthOffered = dlg.RecordLengthBox() != nullptr;
        refusals.push_back(MarkField(dlg, 15, 14, "RAh", "h"));  // dragged right to left
        refusals.push_back(MarkField(dlg, 21, 21, "RAs", "s"));  // a click takes 20-23
        refusals.push_back(MarkField(dlg, 5, 12, "Star"));       // into Cluster's columns
        refusals.push_back(MarkField(dlg, 9, 12, "RAh"));        // a name in use
        refusals.push_back(MarkField(dlg, 9, 12, "Star"));
        refusals.push_back(MarkField(dlg, 25, 25, "DE-", "", 26));  // one column of 25-27
        return int(QDialog::Accepted);
    });
    list.OnFromData();

    EXPECT_FALSE(lengthOffered);  // the lines differ in length
    EXPECT_EQ(refusals, (std::vector<std::string>{
                            "", "", "Columns 5-12 overlap field \"Cluster\" (columns 1-7).",
                            "There is already a field named \"RAh\".", "", ""}));
    EXPECT_EQ(list.Rows().Rows(), (std::vector<FieldDefinition>{{"Cluster", "", 1, 7},
                                                                {"Star", "", 9, 12},
                                                                {"RAh", "h", 14, 15},
                                                                {"RAs", "s", 20, 23},
                                                                {"DE-", "", 25, 25},
                                                                {"SName", "", 79, 103}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(FieldsFromDataDlg, DefinitionWithoutDataFileGetsFileFieldsAndRecordLength) {
    const std::string data = CATFORGE_EXAMPLES_DIR "/cluster-stars.dat";
    CCatforgeDoc doc;
    doc.NewDocument();
    CRecordingInteraction ui;
    ui.fileNames = {data};
    std::size_t suggested = 0;
    const CModalRunnerScope runnerScope([&](QDialog& dialog) {
        if (auto* list = dynamic_cast<CFieldListDlg*>(&dialog)) {
            list->OnFromData();
            return list->OnOK() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        }
        auto& dlg = dynamic_cast<CFieldsFromDataDlg&>(dialog);
        EXPECT_TRUE(dlg.RecordLengthBox() != nullptr && dlg.RecordLengthBox()->isChecked());
        dlg.OnAddSuggestions();
        suggested = dlg.Fields().size();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(RunFieldsEditor(doc, ui, nullptr));

    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_TRUE(ui.fileRequests[0].mustExist);
    EXPECT_EQ(doc.GetDataFile(), data);
    EXPECT_EQ(doc.m_nRecordLength, 104);  // 103 characters and a line feed
    EXPECT_GT(suggested, 16u);
    ASSERT_EQ(doc.m_aFields.size(), suggested);
    EXPECT_EQ(doc.m_aFields[2], (FieldDefinition{"Col14", "", 14, 15}));
    EXPECT_TRUE(doc.IsModified());
}
