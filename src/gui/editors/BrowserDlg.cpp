#include "gui/editors/BrowserDlg.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/browse/DataBrowse.h"
#include "gui/widgets/QtText.h"

namespace {

// Draws a cell's raw text with its full extent, spaces included, lightly shaded.
class CRawTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QString text = index.data(Qt::DisplayRole).toString();
        QStyleOptionViewItem shaded(option);
        initStyleOption(&shaded, index);
        shaded.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &shaded, painter, widget);

        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &shaded, widget);
        const QFontMetrics metrics(option.font);
        QRect extent(textRect.left(), textRect.top(), metrics.horizontalAdvance(text),
                     textRect.height());
        extent = extent.intersected(textRect).adjusted(0, 2, 0, -2);
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        QColor shade = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        shade.setAlpha(28);
        painter->fillRect(extent, shade);
        painter->setFont(option.font);
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
        painter->restore();
    }
};

}  // namespace

CBrowserDlg::CBrowserDlg(CDataBrowse& browse, QWidget* parent) : QDialog(parent), m_browse(browse) {
    setWindowTitle(tr("Data Browser"));

    m_pStatus = new QLabel(this);
    m_pTable = new QTableWidget(this);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setSortingEnabled(false);
    m_pTable->setWordWrap(false);
    m_pTable->setTextElideMode(Qt::ElideNone);
    m_pTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTable->setItemDelegate(new CRawTextDelegate(m_pTable));
    QHeaderView* header = m_pTable->horizontalHeader();
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    m_pTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The cells in a fixed-pitch font, so a field's columns line up with the record's.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_pTable->setFont(fixed);
    header->setFont(font());
    const QFontMetrics cellMetrics(fixed);
    const QFontMetrics headerMetrics(font());
    m_pTable->verticalHeader()->setDefaultSectionSize(cellMetrics.height() + 6);

    // One column per field, headed by its name, wide enough for the name and for the
    // field's text.
    const auto& fields = m_browse.Fields();
    m_pTable->setColumnCount(static_cast<int>(fields.size()));
    int tableWidth = 0;
    for (int column = 0; column < m_pTable->columnCount(); ++column) {
        const FieldDefinition& field = fields[static_cast<std::size_t>(column)];
        const QString name = ToQString(field.m_strName);
        m_pTable->setHorizontalHeaderItem(column, new QTableWidgetItem(name));
        const int nameWidth =
            headerMetrics.horizontalAdvance(name) + 4 * headerMetrics.averageCharWidth();
        const int chars = std::clamp(field.m_nEndCol - field.m_nStartCol + 1, 1, 120);
        const int textWidth = cellMetrics.horizontalAdvance(QString(chars, QLatin1Char('M'))) +
                              2 * cellMetrics.averageCharWidth();
        const int width = std::max(nameWidth, textWidth);
        m_pTable->setColumnWidth(column, width);
        tableWidth += width;
    }

    m_pPrev = new QPushButton(tr("<< &Prev"), this);
    m_pNext = new QPushButton(tr("&Next >>"), this);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    m_pPrev->setAutoDefault(false);
    m_pNext->setAutoDefault(false);
    connect(m_pPrev, &QPushButton::clicked, this, &CBrowserDlg::OnPrev);
    connect(m_pNext, &QPushButton::clicked, this, &CBrowserDlg::OnNext);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pPrev);
    buttons->addWidget(m_pNext);
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pStatus);
    layout->addWidget(m_pTable, 1);
    layout->addLayout(buttons);

    // Room for about twenty rows and as many columns as fit on a usual screen.
    const int rowHeight = m_pTable->verticalHeader()->defaultSectionSize();
    const int width =
        std::clamp(tableWidth + m_pTable->verticalHeader()->sizeHint().width() +
                       4 * m_pTable->frameWidth() + 2 * layout->contentsMargins().left(),
                   420, 1100);
    resize(width, rowHeight * 20 + header->sizeHint().height() +
                      m_pTable->horizontalScrollBar()->sizeHint().height() +
                      fontMetrics().height() * 5);
    m_pPrev->setEnabled(false);
    m_pNext->setEnabled(false);
}

void CBrowserDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_bStarted)
        OnInitDialog();
}

int CBrowserDlg::RowsShown() const {
    int height = m_pTable->viewport()->height();
    // A horizontal scroll bar that is still to appear takes its height off the rows.
    const int columnsWidth = m_pTable->horizontalHeader()->length();
    if (columnsWidth > m_pTable->viewport()->width() &&
        !m_pTable->horizontalScrollBar()->isVisible()) {
        height -= m_pTable->horizontalScrollBar()->sizeHint().height();
    }
    return std::max(height / m_pTable->verticalHeader()->defaultSectionSize(), 1);
}

void CBrowserDlg::OnInitDialog() {
    if (QLayout* dialogLayout = layout())
        dialogLayout->activate();
    Start(RowsShown());
}

void CBrowserDlg::Start(int pageSize) {
    m_bStarted = true;
    m_browse.Start(pageSize);
    ShowPage();
}

void CBrowserDlg::OnNext() {
    m_browse.Next();
    ShowPage();
}

void CBrowserDlg::OnPrev() {
    m_browse.Prev();
    ShowPage();
}

void CBrowserDlg::ShowPage() {
    const auto& rows = m_browse.Page().Rows();
    m_pTable->clearContents();
    m_pTable->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        const auto& cells = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(ToQString(cells[static_cast<std::size_t>(column)]));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_pTable->setItem(row, column, item);
        }
    }
    // Row headers give the record numbers, 1-based.
    QStringList numbers;
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        numbers << QString::number(m_browse.PageFirstRecord() + row + 1);
    }
    m_pTable->setVerticalHeaderLabels(numbers);
    m_pStatus->setText(ToQString(m_browse.StatusText()));
    m_pPrev->setEnabled(m_browse.PrevEnabled());
    m_pNext->setEnabled(m_browse.NextEnabled());
}
