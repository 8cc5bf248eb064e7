// The User-defined Map Symbols dialog, run through the Operations command with the modal
// loop replaced, and the Symbol Definition dialog with its sample.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "ListRows.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"
#include "gui/symbols/SymbolDefDlg.h"
#include "gui/symbols/SymbolListDlg.h"
#include "gui/symbols/SymbolSample.h"
#include "gui/widgets/ModalRun.h"
#include "support/RecordingInteraction.h"

namespace {

class SymbolDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        doc.NewDocument();
        doc.m_aUserSymbols = {{"P", "16,CIR"}, {"Q", "0,8,DR"}, {"R", "-8,0,MA;8,0,DA"}};
        doc.m_nDefaultSymbol = -3;
    }

    bool Run(const std::function<bool(CSymbolListDlg&)>& act) {
        const CModalRunnerScope runner([&](QDialog& dialog) {
            auto& dlg = dynamic_cast<CSymbolListDlg&>(dialog);
            dlg.OnInitDialog();
            if (!act(dlg))
                return int(QDialog::Rejected);
            dlg.accept();
            return dlg.result();
        });
        return RunUserSymbolsEditor(doc, ui, nullptr);
    }

    CCatforgeDoc doc;
    CRecordingInteraction ui;
};

std::vector<SymbolInstruction> Parsed(const std::string& text) {
    SymbolProgram program;
    ParseSymbolInstructions(text, program);
    return program;
}

}  // namespace

TEST_F(SymbolDialogs, AddsNewSymbolsAtTheBottomEvenWithRepeatedNames) {
    std::vector<UserSymbol> given;
    EXPECT_TRUE(Run([&](CSymbolListDlg& dlg) {
        EXPECT_EQ(Rows(*dlg.SymbolList(), 1), (std::vector<std::string>{"P|0", "Q|1", "R|2"}));
        EXPECT_TRUE(dlg.SymbolList()->selectedItems().isEmpty());
        dlg.SetSymbolDefRunner([&](UserSymbol& symbol, QWidget*) {
            given.push_back(symbol);
            return true;  // OK without changes
        });
        dlg.OnEdit();  // nothing selected: both ask for a selection
        dlg.OnDelete();
        dlg.OnAdd();
        dlg.OnAdd();
        EXPECT_EQ(Rows(*dlg.SymbolList(), 1).back(), "<New Symbol>|4");
        return true;
    }));
    EXPECT_EQ(given, (std::vector<UserSymbol>(2, UserSymbol{"<New Symbol>", ""})));
    ASSERT_EQ(doc.m_aUserSymbols.size(), 5u);
    EXPECT_EQ(std::vector(doc.m_aUserSymbols.begin() + 3, doc.m_aUserSymbols.end()), given);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_nDefaultSymbol, -3);  // nothing else of the document is touched
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>(2, "Please select an item from the list.")));
    EXPECT_EQ(ui.messages.at(0).icon, MessageIcon::Stop);
}

TEST_F(SymbolDialogs, EditMovesTheRowToTheBottomAndDeleteRenumbersLaterRows) {
    EXPECT_TRUE(Run([&](CSymbolListDlg& dlg) {
        QTreeWidget& list = *dlg.SymbolList();
        dlg.SetSymbolDefRunner([&](UserSymbol& symbol, QWidget*) {
            symbol.m_strName += "'";
            symbol.m_strInstructions += ";CIR";
            return true;
        });
        Select(list, 0);
        dlg.OnEdit();
        EXPECT_EQ(Rows(list, 1), (std::vector<std::string>{"Q|1", "R|2", "P'|0"}));
        // Delete Q: R moves to place 1 (code -2) and its row says so.
        Select(list, 0);
        dlg.OnDelete();
        EXPECT_EQ(Rows(list, 1), (std::vector<std::string>{"R|1", "P'|0"}));
        // Double-click edits the selected row.
        Select(list, 0);
        emit list.itemDoubleClicked(list.topLevelItem(0), 0);
        EXPECT_EQ(Rows(list, 1), (std::vector<std::string>{"P'|0", "R'|1"}));
        return true;
    }));
    EXPECT_EQ(doc.m_aUserSymbols,
              (std::vector<UserSymbol>{{"P'", "16,CIR;CIR"}, {"R'", "-8,0,MA;8,0,DA;CIR"}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolDialogs, SampleShowsTheProgramAsLastParsedNotTheTextTypedSince) {
    CSymbolDefDlg dlg;
    dlg.m_strName = "Cross";
    dlg.m_strInstructions = "-8,0,MA;8,0,DA";
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.Program(), Parsed("-8,0,MA;8,0,DA"));

    // What the area paints is the sample of the parsed program.
    const auto painted = [&] { return dlg.SampleArea()->grab().toImage(); };
    const QSize size = dlg.SampleArea()->size();
    QImage expected(size, QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        DrawSymbolSample(painter, size.width(), size.height(), Parsed("-8,0,MA;8,0,DA"));
    }
    EXPECT_EQ(painted().convertToFormat(QImage::Format_RGB32), expected);

    // Typing changes neither the program nor the sample until Test.
    dlg.InstructionsEdit()->setPlainText("16,CIR");
    EXPECT_EQ(dlg.Program(), Parsed("-8,0,MA;8,0,DA"));
    EXPECT_EQ(painted().convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_EQ(dlg.m_strInstructions, "-8,0,MA;8,0,DA");

    dlg.NameEdit()->setText("Circle");
    dlg.OnTest();
    EXPECT_EQ(dlg.Program(), Parsed("16,CIR"));
    EXPECT_EQ(dlg.m_strInstructions, "16,CIR");
    EXPECT_EQ(dlg.m_strName, "Circle");
    EXPECT_NE(painted().convertToFormat(QImage::Format_RGB32), expected);

    // An empty text parses into nothing.
    dlg.InstructionsEdit()->setPlainText("");
    dlg.OnTest();
    EXPECT_TRUE(dlg.Program().empty());

    // OK takes both boxes as they are.
    dlg.NameEdit()->setText("");
    dlg.InstructionsEdit()->setPlainText("0,0,MA\n4,4,DR");
    dlg.OnOK();
    EXPECT_EQ(dlg.m_strName, "");
    EXPECT_EQ(dlg.m_strInstructions, "0,0,MA\n4,4,DR");
}

TEST_F(SymbolDialogs, OkKeepsUntouchedTextByteForByte) {
    CSymbolDefDlg dlg;
    dlg.m_strName = "Nebula \xB0";
    dlg.m_strInstructions = "16,CIR;\r\n0,0,MA;\r\n8,8,DA";
    dlg.OnInitDialog();
    dlg.OnOK();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strName, "Nebula \xB0");
    EXPECT_EQ(dlg.m_strInstructions, "16,CIR;\r\n0,0,MA;\r\n8,8,DA");
}
