#include "transfer/gui/ReportWindow.h"

#include "transfer/core/TransferTexts.h"
#include "transfer/gui/ReportModel.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// What the table check found, a finding a line; a long list is cut short, the
// CSV file and "Prüfen…" hold it whole.
QString findingsText(const std::vector<tablecheck::Finding>& findings)
{
    constexpr std::size_t MostLines = 4;
    if (findings.empty())
        return QString::fromUtf8(transfertexts::CheckFoundNothing);
    QStringList lines;
    for (std::size_t i = 0; i < findings.size() && i < MostLines; ++i)
        lines << QString::fromUtf8(tablecheck::kindName(findings[i].kind)) + QStringLiteral(": ") +
                     fromUtf8(findings[i].text);
    if (findings.size() > MostLines)
        lines << QStringLiteral("… und %1 weitere").arg(findings.size() - MostLines);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ReportWindow::ReportWindow(QWidget* parent)
    : QDialog(parent), m_model(new ReportModel(this)), m_tablePath(new QLabel(this)),
      m_partProgram(new QLabel(this)), m_time(new QLabel(this)), m_oldVal(new QLabel(this)),
      m_findings(new QLabel(this)), m_undoOf(new QLabel(this)), m_fingerprint(new QLabel(this)),
      m_release(new QLabel(this)), m_user(new QLabel(this)), m_computer(new QLabel(this)),
      m_program(new QLabel(this)), m_summary(new QLabel(this)), m_rows(new QTableView(this)),
      m_run(new QPushButton(QStringLiteral("&Ausführen"), this)),
      m_save(new QPushButton(QStringLiteral("&Speichern…"), this)),
      m_undo(new QPushButton(QStringLiteral("&Rückgängig"), this)),
      m_close(new QPushButton(QStringLiteral("S&chließen"), this))
{
    setObjectName(QStringLiteral("TransferReport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(true);

    const std::pair<QLabel*, const char*> headerLabels[] = {
        {m_tablePath, "ReportTable"},   {m_partProgram, "ReportPartProgram"}, {m_time, "ReportTime"},
        {m_undoOf, "ReportUndoOf"},     {m_oldVal, "ReportOldVal"},           {m_fingerprint, "ReportFingerprint"},
        {m_release, "ReportRelease"},   {m_user, "ReportUser"},               {m_computer, "ReportComputer"},
        {m_program, "ReportProgram"},   {m_findings, "ReportFindings"},       {m_summary, "ReportSummary"}};
    for (const auto& [label, name] : headerLabels) {
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText); // a part program's name is no markup
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_summary->setWordWrap(true);
    m_header = new QFormLayout;
    m_header->addRow(QStringLiteral("Tabelle:"), m_tablePath);
    m_header->addRow(QStringLiteral("Teileprogramm:"), m_partProgram);
    m_header->addRow(QStringLiteral("Zeit:"), m_time);
    m_header->addRow(QStringLiteral("Rückgängig von:"), m_undoOf);
    m_header->addRow(QStringLiteral("OldVal:"), m_oldVal);
    m_header->addRow(QStringLiteral("Prüfsumme:"), m_fingerprint);
    m_header->addRow(QStringLiteral("Freigabe:"), m_release);
    m_header->addRow(QStringLiteral("Benutzer:"), m_user);
    m_header->addRow(QStringLiteral("Rechner:"), m_computer);
    m_header->addRow(QStringLiteral("Programm:"), m_program);
    m_header->addRow(QStringLiteral("Prüfung:"), m_findings);

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
    for (int column = 0; column < transfertexts::ColumnCount; ++column) {
        const int title =
            metrics.horizontalAdvance(QString::fromUtf8(transfertexts::ColumnTitles[std::size_t(column)]));
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
    connect(m_run, &QPushButton::clicked, this, &ReportWindow::runRequested);
    connect(m_save, &QPushButton::clicked, this, &ReportWindow::saveRequested);
    connect(m_undo, &QPushButton::clicked, this, &ReportWindow::undoRequested);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_run);
    buttons->addWidget(m_save);
    buttons->addWidget(m_undo);
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_header);
    layout->addWidget(m_summary);
    layout->addWidget(m_rows, 1);
    layout->addLayout(buttons);

    int width = 0;
    for (int column = 0; column < transfertexts::ColumnCount; ++column)
        width += m_rows->columnWidth(column);
    resize(width + 48, 640); // the header's twelve lines leave room for a dozen rows
}

void ReportWindow::showReport(TransferReport report, bool offersRun, bool offersUndo)
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
    m_undoOf->setText(fromUtf8(m_report.undoOf));
    m_header->setRowVisible(m_undoOf, m_report.kind == TransferReport::Kind::Undo);
    m_oldVal->setText(fromUtf8(m_report.oldVal));
    m_fingerprint->setText(fromUtf8(release::groupedDigits(m_report.fingerprint)));
    m_release->setText(fromUtf8(releaseText(m_report)));
    m_user->setText(fromUtf8(m_report.user));
    m_computer->setText(fromUtf8(m_report.computer));
    m_program->setText(fromUtf8(m_report.program));
    m_findings->setText(findingsText(m_report.findings));
    m_summary->setText(fromUtf8(summary(m_report)));
    m_model->setReport(&m_report);

    m_run->setVisible(offersRun);
    m_undo->setVisible(offersUndo);
    m_rows->scrollToTop();
    m_rows->setCurrentIndex(m_model->index(0, 0));
    m_rows->setFocus();
}
