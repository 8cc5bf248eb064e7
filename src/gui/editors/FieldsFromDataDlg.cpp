#include "gui/editors/FieldsFromDataDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/widgets/Latin1Validator.h"
#include "gui/widgets/QtText.h"

namespace {

constexpr int kMargin = 4;  // pixels left of column 1

// The colours of the added fields' bands, in turn.
const QColor kBandColours[] = {QColor(66, 133, 244), QColor(52, 168, 83), QColor(234, 134, 0),
                               QColor(171, 71, 188), QColor(0, 172, 193), QColor(219, 68, 55)};

QColor BandColour(std::size_t index, int alpha) {
    QColor colour = kBandColours[index % std::size(kBandColours)];
    colour.setAlpha(alpha);
    return colour;
}

// A data line as it is drawn: one character per byte, so columns stay in line; control bytes
// show as a centred dot.
QString DisplayLine(const std::string& line) {
    QString text = ToQString(line.substr(0, kLastFieldColumn));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar(0x00B7);
    }
    return text;
}

}  // namespace

CColumnView::CColumnView(const DataSample& sample, const CFieldLayout& layout, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_sample(sample),
      m_layout(layout),
      m_abBlank(BlankColumns(sample)),
      m_aSuggestions(SuggestFields(sample)) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    viewport()->setFont(fixed);
    const QFontMetrics metrics(fixed);
    m_nCharWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    m_nLineHeight = metrics.height() + 2;
    for (const std::string& line : sample.lines)
        m_astrLines.push_back(DisplayLine(line));
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    setWhatsThis(
        tr("The first lines of the data file. Drag across the columns of a field, or click a "
           "column between shaded ones to take the suggested field."));
}

QSize CColumnView::sizeHint() const {
    const int columns = std::clamp(m_sample.width + 3, 40, 120);
    const int lines = std::clamp(static_cast<int>(m_astrLines.size()), 8, 16);
    return {kMargin * 2 + columns * m_nCharWidth + verticalScrollBar()->sizeHint().width(),
            DataTop() + lines * m_nLineHeight + horizontalScrollBar()->sizeHint().height() + 4};
}

int CColumnView::ColumnAt(int x) const {
    const int pixel = x - kMargin + horizontalScrollBar()->value();
    return pixel < 0 ? 0 : pixel / m_nCharWidth + 1;
}

int CColumnView::ColumnX(int column) const {
    return kMargin + (column - 1) * m_nCharWidth - horizontalScrollBar()->value();
}

void CColumnView::SetSelection(std::optional<ColumnRange> columns) {
    m_selection = columns;
    viewport()->update();
    emit selectionChanged();
}

void CColumnView::UpdateScrollBars() {
    const int width = kMargin * 2 + (std::max(m_sample.width, 1) + 2) * m_nCharWidth;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(m_nCharWidth);
    const int lines = static_cast<int>(m_astrLines.size());
    const int shown = std::max(1, (viewport()->height() - DataTop()) / m_nLineHeight);
    verticalScrollBar()->setRange(0, std::max(0, lines - shown));
    verticalScrollBar()->setPageStep(shown);
}

void CColumnView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

bool CColumnView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int column = ColumnAt(help->pos().x());
        if (column >= 1)
            QToolTip::showText(help->globalPos(), tr("Column %1").arg(column), viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CColumnView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& pal = palette();
    const QRect area = viewport()->rect();
    painter.fillRect(area, pal.color(QPalette::Base));
    const int firstColumn = std::max(1, ColumnAt(0));
    const int lastColumn = std::min(kLastFieldColumn, ColumnAt(area.width()) + 1);
    const int top = DataTop();
    const int h = m_nLineHeight;

    // The ruler: tens above, a tick for every column, longer at fives and tens.
    painter.fillRect(QRect(0, 0, area.width(), h * 2), pal.color(QPalette::Window));
    painter.setPen(pal.color(QPalette::WindowText));
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const int x = ColumnX(column);
        const int tick = column % 10 == 0 ? h / 2 : column % 5 == 0 ? h / 3 : h / 6;
        painter.drawLine(x + m_nCharWidth / 2, h * 2 - 1, x + m_nCharWidth / 2, h * 2 - 1 - tick);
        if (column % 10 == 0 || column == 1) {
            const QString number = QString::number(column);
            const int textWidth = static_cast<int>(number.size()) * m_nCharWidth;
            painter.drawText(QRect(x + m_nCharWidth - textWidth, 0, textWidth, h),
                             Qt::AlignRight | Qt::AlignVCenter, number);
        }
    }

    // Columns blank in every line: where one field ends and the next begins.
    QColor blank = pal.color(QPalette::Text);
    blank.setAlpha(30);
    for (int column = firstColumn; column <= std::min(lastColumn, m_sample.width); ++column) {
        if (m_abBlank[static_cast<std::size_t>(column - 1)]) {
            painter.fillRect(QRect(ColumnX(column), top, m_nCharWidth, area.height() - top), blank);
        }
    }

    // Bands: the fields the definition has (grey), those added here (in colour), the drag.
    // Only the new fields tint their columns, so they stand out from the blank ones.
    const auto band = [&](const ColumnRange& columns, const QColor& fill, const QString& name,
                          bool tint) {
        const QRect strip(ColumnX(columns.first), h * 2,
                          (columns.last - columns.first + 1) * m_nCharWidth, h);
        const QRect body(strip.left(), top, strip.width(), area.height() - top);
        if (tint) {
            QColor light = fill;
            light.setAlpha(60);
            painter.fillRect(body, light);
        }
        painter.fillRect(strip.adjusted(0, 1, 0, -1), fill);
        painter.setPen(Qt::white);
        painter.drawText(strip.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(name, Qt::ElideRight, strip.width() - 4));
    };
    for (const FieldDefinition& field : m_layout.Existing())
        band({field.m_nStartCol, field.m_nEndCol}, QColor(128, 128, 128),
             ToQString(field.m_strName), false);
    for (std::size_t i = 0; i < m_layout.Added().size(); ++i) {
        const FieldDefinition& field = m_layout.Added()[i];
        band({field.m_nStartCol, field.m_nEndCol}, BandColour(i, 255), ToQString(field.m_strName),
             true);
    }
    if (m_selection) {
        QColor highlight = pal.color(QPalette::Highlight);
        const QRect body(ColumnX(m_selection->first), h * 2,
                         (m_selection->last - m_selection->first + 1) * m_nCharWidth,
                         area.height() - h * 2);
        highlight.setAlpha(70);
        painter.fillRect(body, highlight);
        highlight.setAlpha(255);
        painter.setPen(QPen(highlight, 2));
        painter.drawRect(body.adjusted(1, 1, -1, -1));
    }

    // The lines themselves.
    painter.setPen(pal.color(QPalette::Text));
    const int firstLine = verticalScrollBar()->value();
    for (int i = firstLine, y = top; i < static_cast<int>(m_astrLines.size()) && y < area.height();
         ++i, y += h) {
        painter.drawText(QPoint(ColumnX(1), y + painter.fontMetrics().ascent() + 1),
                         m_astrLines[static_cast<std::size_t>(i)]);
    }
}

void CColumnView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_nPressColumn = std::max(1, ColumnAt(event->position().toPoint().x()));
    m_bDragging = true;
    m_bLeftPressColumn = false;
    SetSelection(ColumnRange{m_nPressColumn, m_nPressColumn});
}

void CColumnView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging)
        return;
    const int column = std::max(1, ColumnAt(event->position().toPoint().x()));
    m_bLeftPressColumn = m_bLeftPressColumn || column != m_nPressColumn;
    SetSelection(DragRange(m_nPressColumn, column, {}));
}

void CColumnView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_bDragging || event->button() != Qt::LeftButton)
        return;
    m_bDragging = false;
    const int column = std::max(1, ColumnAt(event->position().toPoint().x()));
    SetSelection(DragRange(m_nPressColumn, column, m_aSuggestions, m_bLeftPressColumn));
}

CFieldsFromDataDlg::CFieldsFromDataDlg(const std::string& path, const DataSample& sample,
                                       const std::vector<FieldDefinition>& existing,
                                       int currentRecordLength, QWidget* parent)
    : QDialog(parent),
      m_sample(sample),
      m_layout(existing),
      m_aSuggestions(SuggestFields(sample)),
      m_nProposedLength(ProposedRecordLength(sample)) {
    setWindowTitle(tr("Fields from Data"));

    auto* intro = new QLabel(
        tr("The first %1 lines of \"%2\". Drag across the columns of a field, or click a run "
           "of unshaded columns to take it whole (shaded columns are blank in every line; to "
           "take one column of a run, drag off it and back). Then name it and press Enter.")
            .arg(m_sample.lines.size())
            .arg(QString::fromLocal8Bit(path.c_str())),
        this);
    intro->setWordWrap(true);
    m_pView = new CColumnView(m_sample, m_layout, this);
    m_pView->setMinimumWidth(m_pView->sizeHint().width());

    m_pColumns = new QLabel(this);
    m_pName = new QLineEdit(this);
    m_pUnit = new QLineEdit(this);
    m_pName->setValidator(new CLatin1Validator(false, m_pName));
    m_pUnit->setValidator(new CLatin1Validator(false, m_pUnit));
    auto* nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setBuddy(m_pName);
    auto* unitLabel = new QLabel(tr("&Unit:"), this);
    unitLabel->setBuddy(m_pUnit);
    m_pAdd = new QPushButton(tr("Add &Field"), this);
    auto* suggestions = new QPushButton(tr("Add All &Suggestions"), this);
    m_pProblem = new QLabel(this);
    QPalette problemPalette = m_pProblem->palette();
    problemPalette.setColor(QPalette::WindowText, QColor(190, 0, 0));
    m_pProblem->setPalette(problemPalette);

    m_pList = new QTreeWidget(this);
    m_pList->setRootIsDecorated(false);
    m_pList->setHeaderLabels({tr("Name"), tr("Unit"), tr("Start Col"), tr("End Col")});
    m_pList->header()->setSectionsClickable(false);
    m_pList->setMaximumHeight(m_pList->fontMetrics().height() * 8);
    auto* listLabel = new QLabel(tr("Fields to a&dd:"), this);
    listLabel->setBuddy(m_pList);
    m_pRemove = new QPushButton(tr("&Remove"), this);

    auto* entry = new QGridLayout;
    entry->addWidget(new QLabel(tr("Columns:"), this), 0, 0);
    entry->addWidget(m_pColumns, 0, 1);
    entry->addWidget(nameLabel, 1, 0);
    entry->addWidget(m_pName, 1, 1);
    entry->addWidget(unitLabel, 1, 2);
    entry->addWidget(m_pUnit, 1, 3);
    entry->addWidget(m_pAdd, 1, 4);
    entry->addWidget(suggestions, 1, 5);
    entry->addWidget(m_pProblem, 2, 0, 1, 6);
    entry->setColumnStretch(1, 2);
    entry->setColumnStretch(3, 1);

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_pList, 1);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(m_pRemove);
    listButtons->addStretch();
    listRow->addLayout(listButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_pView, 1);
    layout->addLayout(entry);
    layout->addWidget(listLabel);
    layout->addLayout(listRow);

    // The record length the lines suggest, offered when it differs from the definition's.
    if (m_nProposedLength && *m_nProposedLength != currentRecordLength) {
        m_pRecordLength = new QCheckBox(
            tr("Set the record &length to %1 bytes (%2 characters and the end of line)")
                .arg(*m_nProposedLength)
                .arg(m_sample.width),
            this);
        m_pRecordLength->setChecked(currentRecordLength <= 0);
        layout->addWidget(m_pRecordLength);
    } else if (!m_sample.sameLength) {
        auto* note = new QLabel(
            tr("The lines differ in length (up to %1 characters): pad them to one length with "
               "Tools / Normalize Data File before compiling.")
                .arg(m_sample.width),
            this);
        note->setWordWrap(true);
        layout->addWidget(note);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    m_pOk = buttons->button(QDialogButtonBox::Ok);
    for (QPushButton* button : {suggestions, m_pRemove})
        button->setAutoDefault(false);

    connect(m_pView, &CColumnView::selectionChanged, this, &CFieldsFromDataDlg::OnSelectionChanged);
    connect(m_pAdd, &QPushButton::clicked, this, [this] { OnAddField(); });
    connect(suggestions, &QPushButton::clicked, this, &CFieldsFromDataDlg::OnAddSuggestions);
    connect(m_pRemove, &QPushButton::clicked, this, &CFieldsFromDataDlg::OnRemove);
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_pRemove->setEnabled(!m_pList->selectedItems().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    OnSelectionChanged();
    ShowFields();
    resize(sizeHint().width(), sizeHint().height() + m_pView->sizeHint().height() / 3);
}

std::optional<int> CFieldsFromDataDlg::RecordLength() const {
    if (m_pRecordLength != nullptr && m_pRecordLength->isChecked())
        return m_nProposedLength;
    return std::nullopt;
}

void CFieldsFromDataDlg::OnSelectionChanged() {
    const std::optional<ColumnRange> columns = m_pView->Selection();
    m_pColumns->setText(!columns ? tr("none; drag across the data")
                        : columns->first == columns->last
                            ? QString::number(columns->first)
                            : tr("%1 to %2 (%3 characters)")
                                  .arg(columns->first)
                                  .arg(columns->last)
                                  .arg(columns->last - columns->first + 1));
    m_pAdd->setEnabled(columns.has_value());
    // Enter adds the chosen columns; with none chosen it is OK.
    m_pAdd->setDefault(columns.has_value());
    m_pOk->setDefault(!columns.has_value());
    m_pProblem->clear();
    if (columns)
        m_pName->setFocus();  // columns chosen: type the name at once
}

bool CFieldsFromDataDlg::OnAddField() {
    const std::optional<ColumnRange> columns = m_pView->Selection();
    if (!columns)
        return false;
    const std::optional<std::string> problem = m_layout.Add(
        FromQString(m_pName->text().trimmed()), FromQString(m_pUnit->text().trimmed()), *columns);
    if (problem) {
        m_pProblem->setText(ToQString(*problem));
        return false;
    }
    m_pName->clear();
    m_pUnit->clear();
    m_pView->SetSelection(std::nullopt);
    ShowFields();
    return true;
}

void CFieldsFromDataDlg::OnAddSuggestions() {
    const int added = m_layout.AddSuggestions(m_aSuggestions, "Col");
    m_pProblem->setText(added == 0 ? tr("Every suggested field is taken already.") : QString());
    ShowFields();
}

void CFieldsFromDataDlg::OnRemove() {
    const QList<QTreeWidgetItem*> items = m_pList->selectedItems();
    if (items.isEmpty())
        return;
    m_layout.RemoveAdded(static_cast<std::size_t>(m_pList->indexOfTopLevelItem(items.front())));
    ShowFields();
}

void CFieldsFromDataDlg::ShowFields() {
    m_pList->clear();
    for (std::size_t i = 0; i < m_layout.Added().size(); ++i) {
        const FieldDefinition& field = m_layout.Added()[i];
        auto* item = new QTreeWidgetItem(m_pList);
        item->setText(0, ToQString(field.m_strName));
        item->setText(1, ToQString(field.m_strUnit));
        item->setText(2, QString::number(field.m_nStartCol));
        item->setText(3, QString::number(field.m_nEndCol));
        item->setForeground(0, BandColour(i, 255));
    }
    m_pRemove->setEnabled(false);
    m_pView->viewport()->update();
}
