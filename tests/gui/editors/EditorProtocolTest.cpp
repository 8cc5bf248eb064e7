// Every editor command follows one protocol: the document's group is copied into the dialog,
// Cancel keeps the document as it was, and OK copies the group back whole and marks the
// document modified, even when nothing changed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

#include "PositionEditorsSupport.h"
#include "gui/editors/EditorCommands.h"
#include "gui/editors/FieldListDlg.h"
#include "gui/editors/GeneralDlg.h"
#include "gui/symbols/ObjectTypeDlg.h"
#include "gui/symbols/SymbolListDlg.h"
#include "gui/widgets/ModalRun.h"
#include "support/RecordingInteraction.h"

namespace {

using Command = bool (*)(CCatforgeDoc&, IUserInteraction&, QWidget*);

struct Editor {
    const char* name;
    Command run;
    std::function<void(QDialog&)> edit;         // one change a person makes
    std::function<bool(CCatforgeDoc&)> edited;  // that change, seen in the document
};

// The steps a person takes in a position dialog.
std::function<void(QDialog&)> Steps(const std::vector<std::string>& steps) {
    return [steps](QDialog& dlg) {
        for (const std::string& step : steps)
            Do(dlg, step);
    };
}

// Whether the document's members of a position group are the values written.
std::function<bool(CCatforgeDoc&)> Holds(Members (*group)(CCatforgeDoc&), const char* values) {
    return [=](CCatforgeDoc& doc) { return Read(group(doc)) == values; };
}

void PrintTo(const Editor& editor, std::ostream* os) {
    *os << editor.name;
}

// A document whose every member differs from its default, so a member the command fails to
// copy in comes back changed after OK.
void FillDocument(CCatforgeDoc& doc) {
    doc.NewDocument();
    AddFields(doc,
              {"\xC5ngstr\xF6m", "RAh", "RAm", "RAs", "DE-", "DEd", "DEm", "DEs", "Vmag", "Bmag"});
    doc.m_strTitle = "Caf\xE9 stars";
    doc.SetDataFile("/data/caf\xE9.dat");
    doc.m_strNotes = "line one\r\nline two";
    doc.m_nRecordLength = 104;
    Write(RaDecMembers(doc), "B1950.0|2|1|1|2|3|4|5|6|7|");
    Write(LabelMembers(doc), "2|0|8|3|NGC |V=|\xB0|");
    Write(SizeMembers(doc), "2|1|1|8|9|1|7|");
    Write(MagnitudeMembers(doc), "2|8|9|2|");
    doc.m_aUserSymbols = {{"Ring", "10,CIR"}, {"Cross", "-8,0,MA;8,0,DA"}};
    doc.m_aTypeRules = {{0, -1, 3, "NGC"}, {1, 4, 8, "RC"}};
    doc.m_nDefaultSymbol = -2;
    doc.m_nDefaultType = 5;
    doc.m_nTypeMode = 1;
    doc.m_nColourMode = 1;
    doc.m_crScreenColour = 0x00123456;
    doc.m_crPrinterColour = 0x00654321;
    doc.SetModifiedFlag(false);
}

// Ends the dialog as a person does, by its OK or Cancel button.
int Press(QDialog& dlg, const char* text) {
    for (QAbstractButton* button : dlg.findChildren<QAbstractButton*>()) {
        if (QString(button->text()).remove('&') == QLatin1String(text)) {
            button->click();
            return dlg.result();
        }
    }
    ADD_FAILURE() << "no button " << text;
    return QDialog::Rejected;
}

// The symbol dialogs fill themselves when shown; the runner shows nothing.
void Open(QDialog& dlg) {
    if (auto* types = dynamic_cast<CObjectTypeDlg*>(&dlg))
        types->OnInitDialog();
    if (auto* symbols = dynamic_cast<CSymbolListDlg*>(&dlg))
        symbols->OnInitDialog();
}

class EditorProtocol : public ::testing::TestWithParam<Editor> {
protected:
    EditorProtocol() {
        FillDocument(doc);
        before = doc.EncodeDefinition();
        ui.answers = {Answer::Yes};  // deleting a field asks first
    }
    // Runs the command with a person who makes the editor's change when `change` and then
    // presses the button.
    bool Run(bool change, const char* button) {
        const CModalRunnerScope runner([&](QDialog& dlg) {
            Open(dlg);
            if (change)
                GetParam().edit(dlg);
            return Press(dlg, button);
        });
        return GetParam().run(doc, ui, nullptr);
    }

    CCatforgeDoc doc;
    CRecordingInteraction ui;
    std::string before;
};

TEST_P(EditorProtocol, CancelKeepsTheDocument) {
    EXPECT_FALSE(Run(true, "Cancel"));
    EXPECT_EQ(doc.EncodeDefinition(), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_P(EditorProtocol, OkWithoutChangesCopiesEveryMemberBackAndMarksModified) {
    EXPECT_TRUE(Run(false, "OK"));
    EXPECT_EQ(doc.EncodeDefinition(), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(EditorProtocol, OkStoresTheChange) {
    ASSERT_FALSE(GetParam().edited(doc));
    EXPECT_TRUE(Run(true, "OK"));
    EXPECT_TRUE(GetParam().edited(doc));
    EXPECT_TRUE(doc.IsModified());
}

const Editor kEditors[] = {
    // A path longer than the definition holds is cut; notes get CR LF line ends.
    {"General", RunGeneralEditor,
     [](QDialog& dlg) {
         auto& general = dynamic_cast<CGeneralDlg&>(dlg);
         general.TitleBox()->setText("Changed");
         general.DataFileBox()->setText(QString(300, QLatin1Char('p')));
         general.RecordLengthBox()->setText("82");
         general.NotesBox()->setPlainText("one\nthree");
     },
     [](CCatforgeDoc& doc) {
         return doc.m_strTitle == "Changed" && doc.GetDataFile() == std::string(259, 'p') &&
                doc.m_nRecordLength == 82 && doc.m_strNotes == "one\r\nthree";
     }},
    {"Fields", RunFieldsEditor,
     [](QDialog& dlg) {
         auto& fields = dynamic_cast<CFieldListDlg&>(dlg);
         fields.SelectRow(0);
         fields.OnDelete();
     },
     // Selections elsewhere keep their numbers.
     [](CCatforgeDoc& doc) {
         return doc.m_aFields.front().m_strName == "RAh" && doc.m_nRaHoursField == 1 &&
                doc.m_nDecSecondsField == 7;
     }},
    // The position editors change every member of their group.
    {"RaDec", RunRaDecEditor,
     Steps({"click raNotation0", "click decNotation0", "choose raHours 0", "choose raMinutes 8",
            "choose raSeconds 7", "choose decSign 6", "choose decDegrees 5", "choose decMinutes 4",
            "choose decSeconds 3", "type epoch J2000.0"}),
     Holds(RaDecMembers, "J2000.0|0|0|0|8|7|6|5|4|3|")},
    {"Labels", RunLabelsEditor,
     Steps({"click count3", "choose field1 1", "choose field2 2", "choose field3 4",
            "type prefix1 Star ", "type prefix2 A", "type prefix3 B"}),
     Holds(LabelMembers, "3|1|2|4|Star |A|B|")},
    {"Size", RunSizeEditor,
     Steps({"click sizeFields1", "click sizeUnits0", "click sizeMeaning0", "click positionAngle",
            "choose majorAxis 2", "choose minorAxis 3", "choose positionAngleField 4"}),
     Holds(SizeMembers, "1|0|0|2|3|0|4|")},
    {"Magnitude", RunMagnitudeEditor,
     Steps({"click count3", "choose field1 4", "choose field2 5", "choose field3 6"}),
     Holds(MagnitudeMembers, "3|4|5|6|")},
    // A rule added, both modes, the screen colour and the symbol changed.
    {"ObjectTypes", RunObjectTypesEditor,
     [](QDialog& dlg) {
         auto& types = dynamic_cast<CObjectTypeDlg&>(dlg);
         types.SetTypeSelectionRunner([](TypeRule& rule, const CCatforgeDoc&, QWidget*) {
             rule.m_strValue = "X";
             return true;
         });
         types.SetColourChooser([](Colour, QWidget*) { return std::optional<Colour>(0xABCDEF); });
         types.OnAdd();
         types.TypeModeGroup()->button(0)->click();
         types.ScreenButton()->click();
         types.ColourModeGroup()->button(0)->click();
         types.SymbolBox()->setCurrentIndex(0);
     },
     [](CCatforgeDoc& doc) {
         return doc.m_aTypeRules.size() == 3 && doc.m_aTypeRules[2].m_strValue == "X" &&
                doc.m_nTypeMode == 0 && doc.m_nColourMode == 0 &&
                doc.m_crScreenColour == 0xABCDEFu && doc.m_nDefaultSymbol == 0;
     }},
    {"UserSymbols", RunUserSymbolsEditor,
     [](QDialog& dlg) {
         auto& symbols = dynamic_cast<CSymbolListDlg&>(dlg);
         symbols.SymbolList()->topLevelItem(0)->setSelected(true);
         symbols.OnDelete();
     },
     [](CCatforgeDoc& doc) { return doc.m_aUserSymbols.size() == 1; }},
};

INSTANTIATE_TEST_SUITE_P(AllEditors, EditorProtocol, ::testing::ValuesIn(kEditors),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
