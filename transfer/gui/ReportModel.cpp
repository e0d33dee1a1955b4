#include "transfer/gui/ReportModel.h"

#include "table/gui/LocaleNumbers.h"
#include "transfer/core/TransferTexts.h"

namespace {

bool isNumberColumn(int column)
{
    return column != AxisColumn && column != OutcomeColumn;
}

} // namespace

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

char ReportModel::localeDecimalSeparator()
{
    return numbersOf().decimalSeparator;
}

void ReportModel::setReport(const TransferReport* report)
{
    beginResetModel();
    m_report = report;
    m_decimalSeparator = localeDecimalSeparator();
    endResetModel();
}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_report ? 0 : int(m_report->rows.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : transfertexts::ColumnCount;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!m_report || !index.isValid())
        return {};
    const ReportRow& row = m_report->rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cellText(row, index.column(), m_report->kind, m_decimalSeparator));
    case Qt::ToolTipRole:
        if (index.column() == OutcomeColumn)
            if (const std::string detail = outcomeDetail(row, m_report->kind); !detail.empty())
                return QString::fromStdString(detail);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (isNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < transfertexts::ColumnCount)
        return QString::fromUtf8(transfertexts::ColumnTitles[std::size_t(section)]);
    return {};
}
