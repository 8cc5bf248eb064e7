#include "gui/symbols/ObjectTypeDlg.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"
#include "core/symbols/SymbolTables.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "gui/widgets/QtText.h"

namespace {

const char* const kSelectItem = "Please select an item from the list.";

}  // namespace

QColor ColourToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

Colour QColorToColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<Colour>(rgb.red()) | (static_cast<Colour>(rgb.green()) << 8) |
           (static_cast<Colour>(rgb.blue()) << 16);
}

std::optional<Colour> ChooseColourWithDialog(Colour current, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(ColourToQColor(current), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return QColorToColour(chosen);
}

CObjectTypeDlg::CObjectTypeDlg(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_pDoc(&doc), m_pUi(&ui) {
    setWindowTitle("Object Type");

    // Main selection
    auto* mainBox = new QGroupBox("Main selection", this);
    auto* sameType = new QRadioButton(kTypeModeNames[0], mainBox);
    auto* byList = new QRadioButton(kTypeModeNames[1], mainBox);
    m_pTypeMode = new QButtonGroup(this);
    m_pTypeMode->addButton(sameType, 0);
    m_pTypeMode->addButton(byList, 1);
    auto* mainLayout = new QVBoxLayout(mainBox);
    mainLayout->addWidget(sameType);
    mainLayout->addWidget(byList);

    // Default type information
    auto* defaultBox = new QGroupBox("Default type information", this);
    m_pTypeBox = new QComboBox(defaultBox);
    m_pSymbolBox = new QComboBox(defaultBox);
    auto* defaultLayout = new QFormLayout(defaultBox);
    defaultLayout->addRow("Type:", m_pTypeBox);
    defaultLayout->addRow("Symbol:", m_pSymbolBox);

    // Type information: the rule list
    auto* rulesBox = new QGroupBox("Type information", this);
    m_pRuleList = new QTreeWidget(rulesBox);
    m_pRuleList->setColumnCount(4);
    m_pRuleList->setHeaderLabels({"Field", "Value", "Symbol", "Type"});
    m_pRuleList->setRootIsDecorated(false);
    m_pRuleList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pRuleList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pRuleList->setSortingEnabled(false);
    m_pRuleList->setAllColumnsShowFocus(true);
    m_pRuleList->header()->setSectionsClickable(false);
    m_pRuleList->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_pRuleList->setMinimumSize(480, 160);
    auto* add = new QPushButton("Add...", rulesBox);
    auto* edit = new QPushButton("Edit...", rulesBox);
    auto* remove = new QPushButton("Delete", rulesBox);
    auto* ruleButtons = new QHBoxLayout;
    ruleButtons->addStretch();
    ruleButtons->addWidget(add);
    ruleButtons->addWidget(edit);
    ruleButtons->addWidget(remove);
    auto* rulesLayout = new QVBoxLayout(rulesBox);
    rulesLayout->addWidget(m_pRuleList);
    rulesLayout->addLayout(ruleButtons);

    // Colour
    auto* colourBox = new QGroupBox("&Colour", this);
    auto* standard = new QRadioButton(kColourModeNames[0], colourBox);
    auto* custom = new QRadioButton(kColourModeNames[1], colourBox);
    m_pColourMode = new QButtonGroup(this);
    m_pColourMode->addButton(standard, 0);
    m_pColourMode->addButton(custom, 1);
    m_pScreenButton = new QPushButton("&Screen...", colourBox);
    m_pPrinterButton = new QPushButton("&Printer...", colourBox);
    auto* colourLayout = new QHBoxLayout(colourBox);
    auto* colourRadios = new QVBoxLayout;
    colourRadios->addWidget(standard);
    colourRadios->addWidget(custom);
    colourLayout->addLayout(colourRadios);
    colourLayout->addStretch();
    colourLayout->addWidget(m_pScreenButton);
    colourLayout->addWidget(m_pPrinterButton);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* top = new QHBoxLayout;
    top->addWidget(mainBox, 1);
    top->addWidget(defaultBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rulesBox, 1);
    layout->addWidget(colourBox);
    layout->addWidget(buttons);

    connect(standard, &QRadioButton::clicked, this, &CObjectTypeDlg::OnStandardColours);
    connect(custom, &QRadioButton::clicked, this, &CObjectTypeDlg::OnCustomColour);
    connect(m_pScreenButton, &QPushButton::clicked, this, &CObjectTypeDlg::OnScreenColour);
    connect(m_pPrinterButton, &QPushButton::clicked, this, &CObjectTypeDlg::OnPrinterColour);
    connect(add, &QPushButton::clicked, this, &CObjectTypeDlg::OnAdd);
    connect(edit, &QPushButton::clicked, this, &CObjectTypeDlg::OnEdit);
    connect(remove, &QPushButton::clicked, this, &CObjectTypeDlg::OnDelete);
    connect(m_pRuleList, &QTreeWidget::itemDoubleClicked, this, &CObjectTypeDlg::OnEdit);
    connect(buttons, &QDialogButtonBox::accepted, this, &CObjectTypeDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CObjectTypeDlg::OnInitDialog() {
    // Radio groups: a value that names no button checks none.
    if (QAbstractButton* button = m_pTypeMode->button(m_nTypeMode))
        button->setChecked(true);
    if (QAbstractButton* button = m_pColourMode->button(m_nColourMode))
        button->setChecked(true);

    FillTypeBox(*m_pTypeBox, m_nDefaultType);
    m_nStandardSymbols = FillSymbolBox(*m_pSymbolBox, UserSymbolNames(*m_pDoc), m_nSymbolIndex);

    m_pRuleList->clear();
    for (std::size_t i = 0; i < m_aTypeRules.size(); ++i)
        AddRuleRow(static_cast<int>(i));
    m_pRuleList->clearSelection();
    m_pRuleList->setCurrentItem(nullptr);

    EnableColourButtons(m_nColourMode == 1);
    ShowColourSwatches();
}

void CObjectTypeDlg::OnStandardColours() {
    EnableColourButtons(false);
}

void CObjectTypeDlg::OnCustomColour() {
    EnableColourButtons(true);
}

void CObjectTypeDlg::OnScreenColour() {
    ChooseColour(m_crScreenColour);
}

void CObjectTypeDlg::OnPrinterColour() {
    ChooseColour(m_crPrinterColour);
}

void CObjectTypeDlg::ChooseColour(Colour& colour) {
    if (const std::optional<Colour> chosen = m_chooseColour(colour, this))
        colour = *chosen;
    ShowColourSwatches();
}

void CObjectTypeDlg::EnableColourButtons(bool enable) {
    m_pScreenButton->setEnabled(enable);
    m_pPrinterButton->setEnabled(enable);
}

void CObjectTypeDlg::ShowColourSwatches() {
    // Each button carries a small square of the colour it chooses.
    const auto swatch = [](Colour colour) {
        QPixmap pixmap(14, 14);
        pixmap.fill(ColourToQColor(colour));
        return QIcon(pixmap);
    };
    m_pScreenButton->setIcon(swatch(m_crScreenColour));
    m_pPrinterButton->setIcon(swatch(m_crPrinterColour));
}

void CObjectTypeDlg::AddRuleRow(int index) {
    const std::array<std::string, 4> texts =
        TypeRuleRowTexts(m_aTypeRules[static_cast<std::size_t>(index)], FieldNames(*m_pDoc),
                         UserSymbolNames(*m_pDoc));
    auto* item = new QTreeWidgetItem;
    for (int column = 0; column < 4; ++column) {
        item->setText(column, ToQString(texts[static_cast<std::size_t>(column)]));
    }
    item->setData(0, Qt::UserRole, index);
    m_pRuleList->addTopLevelItem(item);
    m_pRuleList->setCurrentItem(item);
}

QTreeWidgetItem* CObjectTypeDlg::SelectedRow() {
    const QList<QTreeWidgetItem*> selected = m_pRuleList->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void CObjectTypeDlg::OnAdd() {
    // A new rule: no field, "General", "Unspecified (circle)", empty value.
    TypeRule rule{kNoField, 0, 0, {}};
    if (!m_runTypeSelection(rule, *m_pDoc, this))
        return;
    m_aTypeRules.push_back(rule);
    AddRuleRow(static_cast<int>(m_aTypeRules.size()) - 1);
}

void CObjectTypeDlg::OnEdit() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        m_pUi->ShowMessage(kSelectItem, MessageIcon::Stop);
        return;
    }
    const int index = row->data(0, Qt::UserRole).toInt();
    TypeRule rule = m_aTypeRules[static_cast<std::size_t>(index)];
    if (!m_runTypeSelection(rule, *m_pDoc, this))
        return;
    // The rule keeps its place in the array; its row goes to the bottom of the list.
    m_aTypeRules[static_cast<std::size_t>(index)] = rule;
    delete row;
    AddRuleRow(index);
}

void CObjectTypeDlg::OnDelete() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        m_pUi->ShowMessage(kSelectItem, MessageIcon::Stop);
        return;
    }
    const int index = row->data(0, Qt::UserRole).toInt();
    m_aTypeRules.erase(m_aTypeRules.begin() + index);
    delete row;
    m_pRuleList->clearSelection();
    // Later rules moved down one place; so do their rows' indexes.
    for (int i = 0; i < m_pRuleList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_pRuleList->topLevelItem(i);
        const int itemIndex = item->data(0, Qt::UserRole).toInt();
        if (itemIndex > index)
            item->setData(0, Qt::UserRole, itemIndex - 1);
    }
}

void CObjectTypeDlg::OnOK() {
    m_nColourMode = m_pColourMode->checkedId();
    m_nSymbolIndex = m_pSymbolBox->currentIndex();
    m_nDefaultType = m_pTypeBox->currentIndex();
    m_nTypeMode = m_pTypeMode->checkedId();
    m_nDefaultSymbol = SymbolRowToCode(m_nSymbolIndex);
    accept();
}

int CObjectTypeDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}
