#include "gui/editors/FieldListDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/model/UserInteraction.h"
#include "gui/editors/FieldEditDlg.h"
#include "gui/widgets/QtText.h"

namespace {

// Column widths in average character widths: name, unit, start and end column.
constexpr int kColumnChars[] = {16, 10, 8, 6};

}  // namespace

CFieldListDlg::CFieldListDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(tr("Field Definitions"));

    m_pList = new QTreeWidget(this);
    m_pList->setRootIsDecorated(false);
    m_pList->setItemsExpandable(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSortingEnabled(false);
    m_pList->setHeaderLabels({tr("Name"), tr("Unit"), tr("Start Col"), tr("End Col")});
    QHeaderView* header = m_pList->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The width unit: the list's average character width, widened where a heading would
    // not fit its share, so the four columns keep their proportions and show their headings.
    const QFontMetrics headerMetrics(header->font());
    const int headerMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) +
                             headerMetrics.averageCharWidth();
    int unit = m_pList->fontMetrics().averageCharWidth();
    for (int column = 0; column < 4; ++column) {
        const int needed =
            headerMetrics.horizontalAdvance(m_pList->headerItem()->text(column)) + headerMargin;
        unit = std::max(unit, (needed + kColumnChars[column] - 1) / kColumnChars[column]);
    }
    int listWidth = 0;
    for (int column = 0; column < 4; ++column) {
        m_pList->setColumnWidth(column, kColumnChars[column] * unit);
        listWidth += kColumnChars[column] * unit;
    }
    m_pList->setMinimumWidth(listWidth + 2 * m_pList->frameWidth() +
                             m_pList->verticalScrollBar()->sizeHint().width());
    m_pList->setMinimumHeight(m_pList->fontMetrics().height() * 22);

    auto* add = new QPushButton(tr("&Add..."), this);
    auto* edit = new QPushButton(tr("&Edit..."), this);
    auto* remove = new QPushButton(tr("&Delete"), this);
    auto* ok = new QPushButton(tr("OK"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    ok->setDefault(true);
    for (QPushButton* button : {add, edit, remove})
        button->setAutoDefault(false);

    connect(add, &QPushButton::clicked, this, &CFieldListDlg::OnAdd);
    connect(edit, &QPushButton::clicked, this, &CFieldListDlg::OnEdit);
    connect(remove, &QPushButton::clicked, this, &CFieldListDlg::OnDelete);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this] { OnEdit(); });
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CFieldListDlg::OnSelectionChanged);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);

    // The single-field dialog, run modally over this one.
    m_editRunner = [this](const std::string& title, const FieldDefinition& field) {
        CFieldEditDlg dlg(m_ui, this);
        dlg.SetTitle(title);
        dlg.SetField(field);
        std::optional<FieldDefinition> result;
        if (dlg.exec() == QDialog::Accepted)
            result = dlg.Field();
        return result;
    };
}

void CFieldListDlg::SetFields(const std::vector<FieldDefinition>& fields) {
    m_aFields = fields;
    m_rows = CFieldRows(fields);
    ShowRows();
}

void CFieldListDlg::SelectRow(int row) {
    m_rows.Select(row);
    ShowRows();
}

void CFieldListDlg::OnAdd() {
    const std::optional<FieldDefinition> field = m_editRunner("Add a new field", FieldDefinition{});
    if (!field)
        return;
    m_rows.Insert(*field);
    ShowRows();
}

void CFieldListDlg::OnEdit() {
    const int row = m_rows.Selected();
    if (row < 0) {
        m_ui.ShowMessage(kNoFieldSelected, MessageIcon::Stop);
        return;
    }
    const std::optional<FieldDefinition> field =
        m_editRunner("Edit field information", m_rows.Row(row));
    if (!field)
        return;
    m_rows.Replace(row, *field);
    ShowRows();
}

void CFieldListDlg::OnDelete() {
    const int row = m_rows.Selected();
    if (row < 0) {
        m_ui.ShowMessage(kNoFieldSelected, MessageIcon::Stop);
        return;
    }
    if (m_ui.Ask(DeleteFieldQuestion(m_rows.Row(row).m_strName), MessageIcon::Warning, false) !=
        Answer::Yes) {
        return;
    }
    m_rows.Remove(row);
    ShowRows();
}

bool CFieldListDlg::OnOK() {
    if (const std::optional<int> upper = m_rows.FirstOverlap()) {
        m_ui.ShowMessage(
            OverlapMessage(m_rows.Row(*upper).m_strName, m_rows.Row(*upper + 1).m_strName),
            MessageIcon::Stop);
        return false;
    }
    m_aFields = m_rows.Rows();
    accept();
    return true;
}

void CFieldListDlg::ShowRows() {
    const QSignalBlocker block(m_pList);
    m_pList->clear();
    for (const FieldDefinition& field : m_rows.Rows()) {
        auto* item = new QTreeWidgetItem(m_pList);
        item->setText(0, ToQString(field.m_strName));
        item->setText(1, ToQString(field.m_strUnit));
        item->setText(2, QString::number(field.m_nStartCol));
        item->setText(3, QString::number(field.m_nEndCol));
    }
    const int selected = m_rows.Selected();
    if (selected >= 0) {
        QTreeWidgetItem* item = m_pList->topLevelItem(selected);
        m_pList->setCurrentItem(item);
        item->setSelected(true);
    } else {
        m_pList->setCurrentItem(nullptr);
        m_pList->clearSelection();
    }
}

void CFieldListDlg::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> items = m_pList->selectedItems();
    m_rows.Select(items.isEmpty() ? -1 : m_pList->indexOfTopLevelItem(items.front()));
}
