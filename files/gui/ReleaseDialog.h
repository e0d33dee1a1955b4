#pragma once

#include <QDialog>
#include <QPointer>

#include <string>

class CheckedTable;
class QLineEdit;

// "Freigeben…": refused with a message in edit mode, with no table chosen,
// for a table with a Fehler and for one whose shown values are not those of
// its file; otherwise opens the release window over `parent`.
void releaseCurrentTable(CheckedTable& table, QWidget* parent);

// "Dalmerin – Tabelle freigeben": asks for "Stand", "Grundlage", "Freigegeben
// von" (the login name to start with) and "Bemerkung". "OK" (Enter) writes
// the release record beside the table file, after a question where one lies
// there already, and closes; "Abbrechen" (Escape) writes nothing.
class ReleaseDialog : public QDialog
{
    Q_OBJECT

public:
    // The table's file and its "Prüfsumme" as they were found fit for release.
    ReleaseDialog(CheckedTable& table, const QString& tablePath, std::string fingerprint, QWidget* parent);

private:
    void onOk();

    QPointer<CheckedTable> m_table;
    QString m_tablePath;
    std::string m_fingerprint;
    QLineEdit* m_version;
    QLineEdit* m_basis;
    QLineEdit* m_releasedBy;
    QLineEdit* m_remark;
};
