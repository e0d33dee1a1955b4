#include "transfer/ReportWindow.h"

#include "base/MessageBox.h"
#include "files/TableFileIo.h"
#include "transfer/KorvantHost.h"

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// The user's decimal separator where it is one byte, as every European one is.
char localeDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? char(point.at(0).unicode()) : '.';
}

ReportWindow::SavePathChooser& savePathChooser()
{
    static ReportWindow::SavePathChooser chooser = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Bericht speichern"), suggested,
                                            QStringLiteral("CSV-Dateien (*.csv)"));
    };
    return chooser;
}

bool isNumberColumn(int column)
{
    return column != 2 && column != 9;
}

// While a command of this window runs it repaints its progress; a close
// request from the frame of the window beneath (its parent) must not take
// this one away under it.
class ParentKeptOpen : public QObject
{
public:
    explicit ParentKeptOpen(QWidget* window) : m_parent(window->parentWidget())
    {
        if (m_parent)
            m_parent->installEventFilter(this);
    }
    ~ParentKeptOpen() override
    {
        if (m_parent)
            m_parent->removeEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }

private:
    QWidget* m_parent;
};

} // namespace

// The rows of a report for the table view; every cell is made when it is shown.
class ReportModel : public QAbstractTableModel
{
public:
    explicit ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

    void setReport(const TransferReport* report)
    {
        beginResetModel();
        m_report = report;
        m_decimalSeparator = localeDecimalSeparator();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_report ? 0 : int(m_report->rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : reporttexts::ColumnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_report || !index.isValid())
            return {};
        const ReportRow& row = m_report->rows[std::size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return fromUtf8(cellText(row, index.column(), m_report->kind, m_decimalSeparator));
        case Qt::ToolTipRole:
            if (index.column() == reporttexts::ColumnCount - 1 && row.outcome == Outcome::WriteFailed)
                return fromUtf8(reporttexts::writeFailureDetail(row));
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (isNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < reporttexts::ColumnCount)
            return QString::fromUtf8(reporttexts::columnTitles()[std::size_t(section)]);
        return {};
    }

private:
    const TransferReport* m_report = nullptr;
    char m_decimalSeparator = '.';
};

ReportWindow::ReportWindow(ToleranceTable& table, QWidget* parent, const HostFactory& hosts,
                           ProgressTiming timing)
    : QDialog(parent), m_table(table), m_hosts(hosts), m_timing(timing), m_model(new ReportModel(this)),
      m_tablePath(new QLabel(this)), m_partProgram(new QLabel(this)), m_time(new QLabel(this)),
      m_oldVal(new QLabel(this)), m_summary(new QLabel(this)), m_rows(new QTableView(this)),
      m_run(new QPushButton(QStringLiteral("&Ausführen"), this)),
      m_save(new QPushButton(QStringLiteral("&Speichern…"), this)),
      m_undo(new QPushButton(QStringLiteral("&Rückgängig"), this)),
      m_close(new QPushButton(QStringLiteral("&Schließen"), this))
{
    setObjectName(QStringLiteral("TransferReport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(true);

    const std::pair<QLabel*, const char*> headerLabels[] = {{m_tablePath, "ReportTable"},
                                                            {m_partProgram, "ReportPartProgram"},
                                                            {m_time, "ReportTime"},
                                                            {m_oldVal, "ReportOldVal"},
                                                            {m_summary, "ReportSummary"}};
    for (const auto& [label, name] : headerLabels) {
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_summary->setWordWrap(true);
    auto* header = new QFormLayout;
    header->addRow(QStringLiteral("Tabelle:"), m_tablePath);
    header->addRow(QStringLiteral("Teileprogramm:"), m_partProgram);
    header->addRow(QStringLiteral("Zeit:"), m_time);
    header->addRow(QStringLiteral("OldVal:"), m_oldVal);

    m_rows->setObjectName(QStringLiteral("ReportRows"));
    m_rows->setModel(m_model);
    m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setTabKeyNavigation(false); // Tab goes on to the buttons
    m_rows->setWordWrap(false);
    m_rows->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured per row, so 10,000 rows open at once.
    m_rows->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_rows->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const QFontMetrics metrics = fontMetrics();
    const char* const widest[] = {
        "100000",   "1107", "PR",       "-1000,000001", "0,000001",
        "0,000001", "18",   "0,000001", "0,000001",     "seit der Übertragung geändert"};
    for (int column = 0; column < reporttexts::ColumnCount; ++column) {
        const int title = metrics.horizontalAdvance(QString::fromUtf8(reporttexts::columnTitles()[column]));
        const int content = metrics.horizontalAdvance(QString::fromUtf8(widest[column]));
        m_rows->setColumnWidth(column, std::max(title, content) + 16);
    }
    m_rows->horizontalHeader()->setStretchLastSection(true);

    m_run->setObjectName(QStringLiteral("cmd_Run"));
    m_save->setObjectName(QStringLiteral("cmd_Save"));
    m_undo->setObjectName(QStringLiteral("cmd_Undo"));
    m_close->setObjectName(QStringLiteral("cmd_Close"));
    // Enter in the rows closes: nothing is written by a key pressed by chance.
    m_close->setDefault(true);
    connect(m_run, &QPushButton::clicked, this, &ReportWindow::runTransfer);
    connect(m_save, &QPushButton::clicked, this, &ReportWindow::saveCsv);
    connect(m_undo, &QPushButton::clicked, this, &ReportWindow::undo);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_run);
    buttons->addWidget(m_save);
    buttons->addWidget(m_undo);
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(m_summary);
    layout->addWidget(m_rows, 1);
    layout->addLayout(buttons);

    int width = 0;
    for (int column = 0; column < reporttexts::ColumnCount; ++column)
        width += m_rows->columnWidth(column);
    resize(width + 48, 520);
}

ReportWindow* ReportWindow::open(ToleranceTable& table, QWidget* parent, const HostFactory& hosts,
                                 ProgressTiming timing, TransferReport report)
{
    auto* window = new ReportWindow(table, parent, hosts, timing);
    window->showReport(std::move(report));
    window->show();
    window->m_rows->setFocus();
    return window;
}

void ReportWindow::setSavePathChooser(SavePathChooser chooser)
{
    savePathChooser() = std::move(chooser);
}

QString ReportWindow::suggestedCsvPath(const TransferReport& report)
{
    QString name = fromUtf8(report.tablePath);
    name = name.mid(std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (name.endsWith(QStringLiteral(".tabelle"), Qt::CaseInsensitive))
        name.chop(int(sizeof ".tabelle") - 1);
    // "yyyy-mm-dd hh:mm:ss" without seconds, with a "-" that a file name can hold.
    const QString time = fromUtf8(report.time).left(16).replace(QLatin1Char(':'), QLatin1Char('-'));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(name + QLatin1Char(' ') + time + QStringLiteral(".csv"));
}

void ReportWindow::showReport(TransferReport report)
{
    m_model->setReport(nullptr); // the view lets go of the rows before they are replaced
    m_report = std::move(report);
    const char* title = m_report.kind == TransferReport::Kind::Preview ? "Dalmerin – Vorschau"
                        : m_report.kind == TransferReport::Kind::Undo  ? "Dalmerin – Rückgängig"
                                                                       : "Dalmerin – Letzte Übertragung";
    setWindowTitle(QString::fromUtf8(title));
    m_tablePath->setText(QDir::toNativeSeparators(fromUtf8(m_report.tablePath)));
    m_partProgram->setText(fromUtf8(m_report.partProgram));
    m_time->setText(fromUtf8(m_report.time));
    m_oldVal->setText(fromUtf8(m_report.oldVal));
    QString summary = fromUtf8(reporttexts::summary(m_report));
    const bool isLastRun = m_report.kind == TransferReport::Kind::Run && lastTransferReport();
    if (isLastRun && lastTransferReport()->undone)
        summary += QStringLiteral(" Die Übertragung wurde zurückgesetzt.");
    m_summary->setText(summary);
    m_model->setReport(&m_report);

    m_run->setVisible(m_report.kind == TransferReport::Kind::Preview);
    m_undo->setVisible(isLastRun && lastTransferReport()->canBeUndone());
}

void ReportWindow::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void ReportWindow::closeEvent(QCloseEvent* event)
{
    if (m_busy)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void ReportWindow::runTransfer()
{
    const ParentKeptOpen keptOpen(this);
    const QScopedValueRollback busy(m_busy, true);
    if (transferTolerances(m_table, this, *m_hosts(), m_timing))
        showReport(*lastTransferReport());
    m_rows->setFocus();
}

void ReportWindow::undo()
{
    const ParentKeptOpen keptOpen(this);
    const QScopedValueRollback busy(m_busy, true);
    if (auto undone = undoLastTransfer(m_table, this, *m_hosts(), m_timing))
        showReport(std::move(*undone));
    m_rows->setFocus();
}

void ReportWindow::saveCsv()
{
    const QString path = savePathChooser()(this, suggestedCsvPath(m_report));
    if (path.isEmpty())
        return;
    std::optional<QString> failure = tablefileio::saveTargetProblem(path);
    if (!failure)
        failure = tablefileio::writeAtomically(path, reportCsv(m_report, localeDecimalSeparator()));
    if (failure)
        MessageBox::show(this,
                         tablefileio::failureMessage(QStringLiteral("Der Bericht wurde nicht gespeichert"),
                                                     QDir::toNativeSeparators(path), *failure));
}
