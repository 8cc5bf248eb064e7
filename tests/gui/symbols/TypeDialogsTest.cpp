// The Object Type and Type Selection dialogs, run through the Operations command with the
// modal loop replaced, the rule editor and the colour chooser answered by the tests.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <tuple>

#include "ListRows.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"
#include "gui/symbols/ObjectTypeDlg.h"
#include "gui/symbols/TypeSelectionDlg.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "gui/widgets/ModalRun.h"
#include "support/RecordingInteraction.h"

namespace {

class TypeDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        doc.NewDocument();
        doc.m_aFields = {{"Cluster", "", 1, 8}, {"Class", "", 10, 11}};
        doc.m_aUserSymbols = {{"Ring", "10,CIR"}, {"Cross", "-8,0,MA;8,0,DA"}};
        doc.m_aTypeRules = {{0, -1, 3, "NGC"}, {1, 4, 8, "RC"}, {kNoField, -3, 0, ""}};
    }

    // Runs the Object Type command; `act` works the opened dialog and says how it ends.
    bool Run(const std::function<bool(CObjectTypeDlg&)>& act) {
        const CModalRunnerScope runner([&](QDialog& dialog) {
            auto& dlg = dynamic_cast<CObjectTypeDlg&>(dialog);
            dlg.OnInitDialog();
            if (!act(dlg))
                return int(QDialog::Rejected);
            dlg.OnOK();
            return dlg.result();
        });
        return RunObjectTypesEditor(doc, ui, nullptr);
    }

    CCatforgeDoc doc;
    CRecordingInteraction ui;
};

}  // namespace

TEST_F(TypeDialogs, OpeningShowsTheRulesInArrayOrderWithMarkersForDanglingReferences) {
    Run([&](CObjectTypeDlg& dlg) {
        EXPECT_EQ(Rows(*dlg.RuleList(), 4),
                  (std::vector<std::string>{"Cluster|NGC|Ring|Open cluster|0",
                                            "Class|RC|Globular cluster|Star|1",
                                            "(no field)||(missing symbol -3)|General|2"}));
        EXPECT_TRUE(dlg.RuleList()->selectedItems().isEmpty());
        // Standard symbols, then the user symbols; default symbol 0 is row 0.
        EXPECT_EQ(dlg.SymbolBox()->count(), 13);
        EXPECT_EQ(dlg.SymbolBox()->itemText(12), "Cross");
        EXPECT_EQ(dlg.SymbolBox()->currentIndex(), 0);
        EXPECT_EQ(dlg.TypeBox()->count(), 13);
        return false;
    });
}

TEST_F(TypeDialogs, StaleDefaultSymbolOpensWithNoSelectionAndOkStoresMinusOne) {
    doc.m_nDefaultSymbol = -3;  // two user symbols: names nothing
    doc.m_nDefaultType = 13;    // past the type table
    EXPECT_TRUE(Run([](CObjectTypeDlg& dlg) {
        EXPECT_EQ(dlg.SymbolBox()->currentIndex(), -1);
        EXPECT_EQ(dlg.SymbolBox()->placeholderText(), "(missing symbol -3)");
        EXPECT_EQ(dlg.TypeBox()->currentIndex(), -1);
        return true;
    }));
    EXPECT_EQ(doc.m_nDefaultSymbol, -1);
    EXPECT_EQ(doc.m_nDefaultType, -1);

    // Choosing row 12 stores the second user symbol, -2.
    EXPECT_TRUE(Run([](CObjectTypeDlg& dlg) {
        dlg.SymbolBox()->setCurrentIndex(12);
        return true;
    }));
    EXPECT_EQ(doc.m_nDefaultSymbol, -2);
}

TEST_F(TypeDialogs, AddEditAndDeleteKeepItemDataInStepWithTheRuleArray) {
    std::vector<TypeRule> given;
    EXPECT_TRUE(Run([&](CObjectTypeDlg& dlg) {
        QTreeWidget& list = *dlg.RuleList();
        dlg.SetTypeSelectionRunner([&](TypeRule& rule, const CCatforgeDoc&, QWidget*) {
            given.push_back(rule);
            rule = {1, -2, 2, "GC" + std::to_string(given.size())};
            return true;
        });

        // Add: a fresh rule (no field, symbol 0, type 0, empty value) at the bottom.
        dlg.OnAdd();
        EXPECT_EQ(given.back(), (TypeRule{kNoField, 0, 0, ""}));
        EXPECT_EQ(Rows(list, 4).back(), "Class|GC1|Cross|Galaxy cluster|3");

        // Edit the first rule: it keeps index 0, its row goes to the bottom.
        Select(list, 0);
        dlg.OnEdit();
        EXPECT_EQ(given.back(), doc.m_aTypeRules[0]);
        EXPECT_EQ(dlg.m_aTypeRules[0], (TypeRule{1, -2, 2, "GC2"}));
        EXPECT_EQ(Rows(list, 0), (std::vector<std::string>{"1", "2", "3", "0"}));

        // Delete the rule with index 1 (now the top row): later indexes move down one.
        Select(list, 0);
        dlg.OnDelete();
        EXPECT_EQ(Rows(list, 2),
                  (std::vector<std::string>{"(no field)||1", "Class|GC1|2", "Class|GC2|0"}));
        EXPECT_TRUE(list.selectedItems().isEmpty());

        // A double-click edits the selected row, too.
        Select(list, 1);
        emit list.itemDoubleClicked(list.topLevelItem(1), 0);
        EXPECT_EQ(given.size(), 3u);
        EXPECT_EQ(Rows(list, 0).back(), "2");
        return true;
    }));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_aTypeRules,
              (std::vector<TypeRule>{{1, -2, 2, "GC2"}, {kNoField, -3, 0, ""}, {1, -2, 2, "GC3"}}));
}

TEST_F(TypeDialogs, EditAndDeleteWithoutASelectionOrWithTheRuleEditorCancelledChangeNothing) {
    int asked = 0;
    Run([&](CObjectTypeDlg& dlg) {
        dlg.SetTypeSelectionRunner([&](TypeRule& rule, const CCatforgeDoc&, QWidget*) {
            ++asked;
            rule.m_strValue = "changed";
            return false;
        });
        dlg.OnEdit();  // nothing selected: both ask for a selection
        dlg.OnDelete();
        EXPECT_EQ(asked, 0);
        dlg.OnAdd();
        Select(*dlg.RuleList(), 1);
        dlg.OnEdit();
        EXPECT_EQ(asked, 2);
        EXPECT_EQ(dlg.m_aTypeRules, doc.m_aTypeRules);
        EXPECT_EQ(Rows(*dlg.RuleList(), 0), (std::vector<std::string>{"0", "1", "2"}));
        return false;
    });
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>(2, "Please select an item from the list.")));
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.icon, MessageIcon::Stop);
}

TEST_F(TypeDialogs, ColourModeEnablesTheColourButtonsAndChosenColoursAreKept) {
    std::vector<Colour> offered;
    std::optional<Colour> answer = 0x00336699;
    EXPECT_TRUE(Run([&](CObjectTypeDlg& dlg) {
        dlg.SetColourChooser([&](Colour current, QWidget*) {
            offered.push_back(current);
            return answer;
        });
        dlg.ColourModeGroup()->button(1)->click();  // from mode 0
        EXPECT_TRUE(dlg.ScreenButton()->isEnabled());
        EXPECT_TRUE(dlg.PrinterButton()->isEnabled());

        dlg.ScreenButton()->click();
        answer.reset();  // the printer colour chooser is cancelled
        dlg.PrinterButton()->click();
        // Back to the standard colours: the chosen colour is kept all the same.
        dlg.ColourModeGroup()->button(0)->click();
        EXPECT_FALSE(dlg.ScreenButton()->isEnabled());
        return true;
    }));
    EXPECT_EQ(offered, (std::vector<Colour>{0x00FFFFFF, 0x00000000}));
    EXPECT_EQ(doc.m_nColourMode, 0);
    EXPECT_EQ(doc.m_crScreenColour, 0x00336699u);
    EXPECT_EQ(doc.m_crPrinterColour, 0x00000000u);
}

TEST_F(TypeDialogs, RadioGroupsOpenFromTheStoredModesAndOkStoresThem) {
    // Mode 1 enables the colour buttons; 0 and a value that names no button do not, and an
    // unchecked group reads back as -1.
    const int modes[] = {0, 1, -1};
    for (int mode : modes) {
        SCOPED_TRACE(mode);
        doc.m_nColourMode = mode;
        doc.m_nTypeMode = mode;
        EXPECT_TRUE(Run([&](CObjectTypeDlg& dlg) {
            EXPECT_EQ(dlg.ScreenButton()->isEnabled(), mode == 1);
            EXPECT_EQ(dlg.PrinterButton()->isEnabled(), mode == 1);
            EXPECT_EQ(dlg.ColourModeGroup()->checkedId(), mode);
            EXPECT_EQ(dlg.TypeModeGroup()->checkedId(), mode);
            return true;
        }));
        EXPECT_EQ(doc.m_nColourMode, mode);
        EXPECT_EQ(doc.m_nTypeMode, mode);
    }
}

TEST_F(TypeDialogs, ColourValuesConvertBothWaysWithRedInTheLowByte) {
    EXPECT_EQ(ColourToQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColourToQColor(0x00FF0000), QColor(0, 0, 255));
    for (Colour c : {0x00000000u, 0x00FFFFFFu, 0x00563412u, 0x00010203u}) {
        EXPECT_EQ(QColorToColour(ColourToQColor(c)), c);
    }
    // The high byte is not a colour: it is dropped.
    EXPECT_EQ(QColorToColour(ColourToQColor(0xFF010203u)), 0x00010203u);
    // A colour given in another model comes back as its RGB value.
    EXPECT_EQ(QColorToColour(QColor::fromHsv(0, 255, 255)), 0x000000FFu);
}

TEST_F(TypeDialogs, TypeSelectionOpensFromTheRuleAndMakesCodesFromRows) {
    CTypeSelectionDlg dlg(doc);
    dlg.m_nField = 1;
    dlg.m_nSymbolIndex = -2;
    dlg.m_nType = 8;
    dlg.m_strValue = "RC \xE9";  // a byte above 0x7F survives the box
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.FieldBox()->count(), 2);
    EXPECT_EQ(dlg.FieldBox()->Selection(), 1);
    EXPECT_EQ(dlg.SymbolBox()->currentIndex(), 12);
    EXPECT_EQ(dlg.TypeBox()->currentText(), "Star");
    dlg.SymbolBox()->setCurrentIndex(11);
    dlg.OnOK();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(std::tie(dlg.m_nSymbol, dlg.m_nField, dlg.m_nType, dlg.m_strValue),
              std::make_tuple(-1, 1, 8, "RC \xE9"));
}

TEST_F(TypeDialogs, TypeSelectionWithStaleValuesOpensEmptyAndAcceptsNoField) {
    doc.m_aUserSymbols.clear();
    CTypeSelectionDlg dlg(doc);
    dlg.m_nField = 7;
    dlg.m_nSymbolIndex = -1;  // no user symbols any more
    dlg.m_nType = 0;
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.SymbolBox()->count(), 11);
    EXPECT_EQ(dlg.SymbolBox()->currentIndex(), -1);
    EXPECT_EQ(dlg.FieldBox()->Selection(), -1);
    EXPECT_EQ(dlg.FieldBox()->placeholderText(), "(missing field 7)");
    dlg.OnOK();
    EXPECT_EQ(std::tie(dlg.m_nSymbol, dlg.m_nField, dlg.m_strValue), std::make_tuple(-1, -1, ""));
}
