#pragma once

#include "table/core/TableDocument.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

// The table document the main window holds, with the check of it as it
// stands, run afresh on every change. Views show both and change the
// document only through here, so that every change is checked and signalled.
class CheckedTable : public QObject
{
    Q_OBJECT

public:
    explicit CheckedTable(QObject* parent = nullptr);

    const TableDocument& document() const { return m_document; }
    // The check's findings, with the release's Fehler, and the table's
    // "Prüfsumme" (none while a cell is no number), as the document stands.
    const std::vector<tablecheck::Finding>& findings() const { return m_findings; }
    const std::optional<std::string>& fingerprint() const { return m_fingerprint; }

    void setPath(const std::optional<std::string>& path);
    void setPath(const QString& path) { setPath(std::optional<std::string>(path.toStdString())); }
    void setTyped(const cells::Cell& cell, const QString& text);
    void startNew();
    void editShown();
    void leaveEditMode(const QStringList& asStored, const TableRelease& release = {});
    void showFileValues(const QStringList& values, const tablecheck::FileNotes& notes = {},
                        const TableRelease& release = {});
    void setRelease(const TableRelease& release);
    void clearAfterDelete();

signals:
    // The document or its findings changed.
    void changed();

private:
    template <typename Change>
    void apply(Change change);
    void checkAfresh();

    TableDocument m_document;
    std::vector<tablecheck::Finding> m_findings;
    std::optional<std::string> m_fingerprint;
};

// "Prüfsumme 3F2A 91C0 77DE 0B14 – Freigegeben: Stand 3, M. Muster, 09.12.2026"
// or "… – nicht freigegeben"; while the values are being edited only the
// sum, as the record belongs to the file.
std::string releaseLine(const TableDocument& document, const std::optional<std::string>& fingerprint);
// How the table's path is shown: the path, or "keine Tabelle gewählt".
QString shownPath(const TableDocument& document);
// 71 texts in value order, missing ones empty, and back.
TableDocument::Values toValues(const QStringList& texts);
QStringList toTexts(const TableDocument::Values& values);
