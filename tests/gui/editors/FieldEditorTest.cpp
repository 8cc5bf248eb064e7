#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTreeWidget>
#include <QValidator>

#include "core/editing/FieldEntry.h"
#include "core/editing/FieldRows.h"
#include "gui/editors/FieldEditDlg.h"
#include "gui/editors/FieldListDlg.h"
#include "support/RecordingInteraction.h"

namespace {

FieldDefinition Field(const std::string& name, int start, int end) {
    return {name, "", start, end};
}

std::vector<std::string> Names(const std::vector<FieldDefinition>& fields) {
    std::vector<std::string> names;
    for (const auto& f : fields)
        names.push_back(f.m_strName);
    return names;
}

// Answers the single-field dialog from a script and records what it was asked.
struct ScriptedFieldEdits {
    std::vector<std::pair<std::string, FieldDefinition>> asked;  // title, field shown
    std::deque<std::optional<FieldDefinition>> answers;

    FieldEditRunner Runner() {
        return [this](const std::string& title, const FieldDefinition& shown) {
            asked.emplace_back(title, shown);
            std::optional<FieldDefinition> answer;
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected field dialog " << title;
            } else {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        };
    }
};

class FieldListDlg : public ::testing::Test {
protected:
    CRecordingInteraction ui;
    CFieldListDlg dlg{ui};
};

}  // namespace

TEST_F(FieldListDlg, ShowsTheFieldsInTheirOrderWithColumnsInRatio) {
    dlg.SetFields({Field("Dec", 20, 25), Field("RA", 1, 10)});
    EXPECT_EQ(dlg.windowTitle(), "Field Definitions");
    QTreeWidget* list = dlg.List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Dec");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "20");
    EXPECT_EQ(list->topLevelItem(1)->text(3), "10");
    EXPECT_TRUE(list->selectedItems().isEmpty());
    const QStringList headers = {"Name", "Unit", "Start Col", "End Col"};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(list->headerItem()->text(c), headers[c]);
    const int unit = list->columnWidth(3) / 6;
    ASSERT_GT(unit, 0);
    EXPECT_EQ(list->columnWidth(0), 16 * unit);
    EXPECT_EQ(list->columnWidth(1), 10 * unit);
    EXPECT_EQ(list->columnWidth(2), 8 * unit);
}

TEST_F(FieldListDlg, AddEditAndDeleteAskAndReportInOrder) {
    ScriptedFieldEdits edits;
    dlg.SetFieldEditRunner(edits.Runner());
    dlg.SetFields({Field("A", 1, 4), Field("B", 5, 8), Field("C", 9, 12)});

    // Nothing selected: Edit and Delete refuse.
    dlg.OnEdit();
    dlg.OnDelete();
    EXPECT_TRUE(edits.asked.empty());

    // Add opens an empty field at columns 1-1; Cancel changes nothing, OK inserts.
    edits.answers = {std::nullopt, Field("N", 5, 6)};
    dlg.OnAdd();
    EXPECT_EQ(dlg.Rows().Count(), 3);
    dlg.OnAdd();
    EXPECT_EQ(Names(dlg.Rows().Rows()), (std::vector<std::string>{"A", "N", "B", "C"}));
    EXPECT_EQ(dlg.List()->topLevelItem(1)->text(0), "N");

    // Edit shows the selected row and moves the edited field to its place.
    dlg.SelectRow(3);
    edits.answers = {Field("C2", 2, 3)};
    dlg.OnEdit();
    const std::pair<std::string, FieldDefinition> added("Add a new field", {"", "", 1, 1});
    EXPECT_EQ(edits.asked, (std::vector<std::pair<std::string, FieldDefinition>>{
                               added, added, {"Edit field information", Field("C", 9, 12)}}));
    EXPECT_EQ(Names(dlg.Rows().Rows()), (std::vector<std::string>{"A", "C2", "N", "B"}));

    // Delete asks with the warning icon; No keeps the row, Yes removes it.
    dlg.SelectRow(0);
    ui.answers = {Answer::No, Answer::Yes};
    dlg.OnDelete();
    EXPECT_EQ(dlg.Rows().Count(), 4);
    dlg.OnDelete();
    EXPECT_EQ(Names(dlg.Rows().Rows()), (std::vector<std::string>{"C2", "N", "B"}));
    EXPECT_EQ(ui.questions, std::vector<std::string>(2, "Do you want to delete field \"A\""));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kNoFieldSelected, kNoFieldSelected}));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);

    // The list widget follows a click on a row.
    dlg.List()->topLevelItem(2)->setSelected(true);
    EXPECT_EQ(dlg.Rows().Selected(), 2);
}

TEST_F(FieldListDlg, OkRefusesOverlapsAndOtherwiseRebuildsTheArray) {
    dlg.SetFields({Field("A", 1, 10), Field("B", 3, 4), Field("C", 20, 25)});
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{OverlapMessage("A", "B")});
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.Fields().size(), 3u);

    ui.answers = {Answer::Yes};
    dlg.SelectRow(1);
    dlg.OnDelete();
    EXPECT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Fields(), (std::vector<FieldDefinition>{Field("A", 1, 10), Field("C", 20, 25)}));

    CFieldListDlg empty(ui);
    EXPECT_TRUE(empty.OnOK());
    EXPECT_TRUE(empty.Fields().empty());
}

TEST(FieldEditDlg, RefusesInOrderAndStaysOpen) {
    CRecordingInteraction ui;
    CFieldEditDlg dlg(ui);
    dlg.SetTitle("Add a new field");
    dlg.SetField(FieldDefinition{});
    EXPECT_EQ(dlg.StartBox()->text(), "1");
    EXPECT_EQ(dlg.EndBox()->text(), "1");

    // The column boxes take digits only.
    dlg.StartBox()->clear();
    QString typed = "1a";
    int pos = 0;
    EXPECT_NE(dlg.StartBox()->validator()->validate(typed, pos), QValidator::Acceptable);

    EXPECT_FALSE(dlg.OnOK());  // empty start box
    dlg.StartBox()->setText("10");
    EXPECT_FALSE(dlg.OnOK());  // no name
    dlg.NameBox()->setText("V");
    dlg.EndBox()->setText("9");
    EXPECT_FALSE(dlg.OnOK());  // end before start
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{
                  kNotAWholeNumber, "You must enter a field name!",
                  "The end column must be greater than or equal to the start column!"}));

    dlg.NameBox()->setText(QString::fromLatin1("V\xE9l"));
    dlg.UnitBox()->setText("km/s");
    dlg.EndBox()->setText("12");
    EXPECT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Field(), (FieldDefinition{"V\xE9l", "km/s", 10, 12}));
}
