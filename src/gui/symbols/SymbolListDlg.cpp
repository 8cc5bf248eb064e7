#include "gui/symbols/SymbolListDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/model/UserInteraction.h"
#include "gui/widgets/QtText.h"

namespace {

const char* const kSelectItem = "Please select an item from the list.";

}  // namespace

CSymbolListDlg::CSymbolListDlg(IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_pUi(&ui) {
    setWindowTitle("User-defined Map Symbols");

    m_pList = new QTreeWidget(this);
    m_pList->setColumnCount(1);
    m_pList->setHeaderLabels({"Name"});
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSortingEnabled(false);
    m_pList->header()->setSectionsClickable(false);
    m_pList->header()->setStretchLastSection(true);
    m_pList->setMinimumSize(260, 220);

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    auto* add = new QPushButton("&Add...", this);
    auto* edit = new QPushButton("&Edit...", this);
    auto* remove = new QPushButton("&Delete", this);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &CSymbolListDlg::OnAdd);
    connect(edit, &QPushButton::clicked, this, &CSymbolListDlg::OnEdit);
    connect(remove, &QPushButton::clicked, this, &CSymbolListDlg::OnDelete);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &CSymbolListDlg::OnEdit);
}

void CSymbolListDlg::OnInitDialog() {
    m_pList->clear();
    for (std::size_t i = 0; i < m_aUserSymbols.size(); ++i)
        AddRow(static_cast<int>(i));
    m_pList->clearSelection();
    m_pList->setCurrentItem(nullptr);
}

void CSymbolListDlg::AddRow(int index) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQString(m_aUserSymbols[static_cast<std::size_t>(index)].m_strName));
    item->setData(0, Qt::UserRole, index);
    m_pList->addTopLevelItem(item);
    m_pList->setCurrentItem(item);
}

QTreeWidgetItem* CSymbolListDlg::SelectedRow() {
    const QList<QTreeWidgetItem*> selected = m_pList->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void CSymbolListDlg::OnAdd() {
    UserSymbol symbol{"<New Symbol>", {}};
    if (!m_runSymbolDef(symbol, this))
        return;
    m_aUserSymbols.push_back(symbol);
    AddRow(static_cast<int>(m_aUserSymbols.size()) - 1);
}

void CSymbolListDlg::OnEdit() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        m_pUi->ShowMessage(kSelectItem, MessageIcon::Stop);
        return;
    }
    const int index = row->data(0, Qt::UserRole).toInt();
    UserSymbol symbol = m_aUserSymbols[static_cast<std::size_t>(index)];
    if (!m_runSymbolDef(symbol, this))
        return;
    // The symbol keeps its place (and so its code); its row goes to the bottom.
    m_aUserSymbols[static_cast<std::size_t>(index)] = symbol;
    delete row;
    AddRow(index);
}

void CSymbolListDlg::OnDelete() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        m_pUi->ShowMessage(kSelectItem, MessageIcon::Stop);
        return;
    }
    const int index = row->data(0, Qt::UserRole).toInt();
    m_aUserSymbols.erase(m_aUserSymbols.begin() + index);
    delete row;
    m_pList->clearSelection();
    // Later symbols moved down one place; so do their rows' indexes.
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_pList->topLevelItem(i);
        const int itemIndex = item->data(0, Qt::UserRole).toInt();
        if (itemIndex > index)
            item->setData(0, Qt::UserRole, itemIndex - 1);
    }
}

int CSymbolListDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}
