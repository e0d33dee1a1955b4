#pragma once

#include "transfer/core/TransferReport.h"

#include <QAbstractTableModel>

// The rows of a report for the report window's table; every cell is made
// when it is shown, with the user's decimal separator.
class ReportModel : public QAbstractTableModel
{
public:
    explicit ReportModel(QObject* parent);

    // The report is the caller's and must outlive its showing here.
    void setReport(const TransferReport* report);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The user's decimal separator where it is one byte, as every European one is.
    static char localeDecimalSeparator();

private:
    const TransferReport* m_report = nullptr;
    char m_decimalSeparator = '.';
};
