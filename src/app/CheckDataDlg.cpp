#include "app/CheckDataDlg.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/WorkerInteraction.h"
#include "core/browse/DataBrowse.h"
#include "core/compile/Compile.h"
#include "core/compile/DataFile.h"
#include "core/compile/DataProblemCsv.h"
#include "core/io/AtomicFile.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/BrowserDlg.h"
#include "gui/widgets/ModalRun.h"
#include "gui/widgets/QtText.h"

// The problems found so far, one row each.
class CProblemTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<DataProblem>& Problems() const { return m_aProblems; }

    void Append(std::vector<DataProblem>& problems) {
        if (problems.empty())
            return;
        const int first = static_cast<int>(m_aProblems.size());
        beginInsertRows({}, first, first + static_cast<int>(problems.size()) - 1);
        m_aProblems.insert(m_aProblems.end(), std::make_move_iterator(problems.begin()),
                           std::make_move_iterator(problems.end()));
        endInsertRows();
        problems.clear();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_aProblems.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const DataProblem& problem = m_aProblems[static_cast<std::size_t>(index.row())];
        if (role == Qt::TextAlignmentRole && index.column() == 0)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
            case 0:
                return QString::number(problem.record);
            case 1:
                return ToQString(problem.field);
            case 2:
                return ToQString(problem.text);
            default:
                return ToQString(DescribeProblem(problem));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        static const char* const kHeadings[] = {"Record", "Field", "Text", "Problem"};
        return QString::fromLatin1(kHeadings[section]);
    }

private:
    std::vector<DataProblem> m_aProblems;
};

CCheckDataDlg::CCheckDataDlg(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_ui(ui) {
    const std::string& title = doc.GetTitle();
    setWindowTitle(tr("Check Data - %1").arg(title.empty() ? tr("Untitled") : ToQString(title)));
    setSizeGripEnabled(true);

    m_pModel = new CProblemTableModel(this);
    m_pTable = new QTableView(this);
    m_pTable->setModel(m_pModel);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setWordWrap(false);
    m_pTable->verticalHeader()->hide();
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 4);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int unit = m_pTable->fontMetrics().averageCharWidth();
    for (const auto& [column, chars] : {std::pair{0, 9}, {1, 14}, {2, 14}})
        m_pTable->setColumnWidth(column, chars * unit);
    m_pTable->setMinimumSize(unit * 90, m_pTable->fontMetrics().height() * 20);
    m_pTable->setWhatsThis(tr("Double-click a problem to see its record in the Data Browser."));
    auto* tableLabel = new QLabel(tr("&Problems (double-click one to see its record):"), this);
    tableLabel->setBuddy(m_pTable);

    m_pSummary = new QLabel(tr("Checking..."), this);
    m_pSummary->setWordWrap(true);
    m_pSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pExport = new QPushButton(tr("&Export CSV..."), this);
    m_pExport->setEnabled(false);
    m_pExport->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_pExport, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tableLabel);
    layout->addWidget(m_pTable, 1);
    layout->addWidget(m_pSummary);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pExport, &QPushButton::clicked, this, &CCheckDataDlg::OnExport);
    connect(m_pTable, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { OnShowRecord(index.row()); });

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(100);
    connect(m_pTimer, &QTimer::timeout, this, &CCheckDataDlg::Poll);
}

CCheckDataDlg::~CCheckDataDlg() {
    m_bCancel.store(true);
    if (m_worker.joinable())
        m_worker.join();
}

const std::vector<DataProblem>& CCheckDataDlg::Problems() const {
    return m_pModel->Problems();
}

void CCheckDataDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Start();
}

void CCheckDataDlg::Start() {
    if (m_bStarted)
        return;
    m_bStarted = true;
    m_pWorkerUi = std::make_unique<CWorkerInteraction>(m_ui, *this);
    m_worker = std::thread([this] {
        m_bRan = CheckData(
            m_doc, "", *m_pWorkerUi,
            [this](const DataProblem& problem) {
                const std::lock_guard lock(m_mutex);
                if (++m_nFound <= kMaxRows)
                    m_aPending.push_back(problem);
            },
            m_summary, [this] { return m_bCancel.load(); });
        m_bFinished.store(true);
    });
    m_pTimer->start();
}

void CCheckDataDlg::Poll() {
    const bool finished = m_bFinished.load();
    std::uint64_t found = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_pModel->Append(m_aPending);
        found = m_nFound;
    }
    if (!finished) {
        m_pSummary->setText(tr("Checking... %1 problems so far.").arg(found));
        return;
    }
    m_pTimer->stop();
    m_worker.join();
    QString text = m_bRan ? ToQString(FormatSummary(m_summary)) : tr("The check did not run.");
    if (found > kMaxRows)
        text += tr("\nThe table shows the first %1 of %2 problems.").arg(kMaxRows).arg(found);
    m_pSummary->setText(text);
    m_pExport->setEnabled(m_pModel->rowCount({}) > 0);
    m_pWorkerUi->ShowMessages();
}

void CCheckDataDlg::done(int result) {
    // Leaving stops the check; the worker hears it between blocks of records.
    m_bCancel.store(true);
    if (m_worker.joinable())
        m_worker.join();
    m_pTimer->stop();
    QDialog::done(result);
}

void CCheckDataDlg::OnExport() {
    FileDialogRequest request;
    request.title = "Export Problems";
    request.filters = ParseFilterText("CSV files (*.csv)|*.csv|All files (*.*)|*.*||");
    request.defaultExtension = "csv";
    request.proposedName = ProposedCatalogName(m_doc.GetPathName());
    request.proposedName.replace(request.proposedName.size() - 4, 4, "-problems.csv");
    const std::optional<std::string> path = m_ui.AskSaveFileName(request);
    if (!path)
        return;
    std::string error;
    if (!WriteFileAtomically(*path, ProblemsToCsv(Problems()), &error)) {
        m_ui.ShowMessage(FormatMessage("Unable to write file \"%s\":\n%s", {*path, error}),
                         MessageIcon::Stop);
    }
}

void CCheckDataDlg::OnShowRecord(int row) {
    if (row < 0 || row >= static_cast<int>(Problems().size()))
        return;
    CDataBrowse browse;
    const std::string path = ResolveDataFile(m_doc.GetDataFile(), m_doc.GetPathName());
    if (!browse.Open(path, m_doc.m_nRecordLength, m_doc.m_aFields, m_ui))
        return;
    CBrowserDlg dlg(browse, this);
    dlg.SetStartRecord(static_cast<std::int64_t>(Problems()[static_cast<std::size_t>(row)].record) -
                       1);
    RunModal(dlg);
}

void RunCheckData(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CCheckDataDlg dlg(doc, ui, parent);
    RunModal(dlg);
}
