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
    const std::vector<tablecheck::Finding>& findings() const { return m_findings; }

    void setPath(const std::optional<std::string>& path);
    void setPath(const QString& path) { setPath(std::optional<std::string>(path.toStdString())); }
    void setTyped(const cells::Cell& cell, const QString& text);
    void startNew();
    void editShown();
    void leaveEditMode(const QStringList& asStored);
    void showFileValues(const QStringList& values, const tablecheck::FileNotes& notes = {});
    void clearAfterDelete();

signals:
    // The document or its findings changed.
    void changed();

private:
    template <typename Change>
    void apply(Change change);

    TableDocument m_document;
    std::vector<tablecheck::Finding> m_findings;
};

// How the table's path is shown: the path, or "keine Tabelle gewählt".
QString shownPath(const TableDocument& document);
// 71 texts in value order, missing ones empty, and back.
TableDocument::Values toValues(const QStringList& texts);
QStringList toTexts(const TableDocument::Values& values);
