#include "table/gui/CheckedTable.h"

#include "table/gui/LocaleNumbers.h"

CheckedTable::CheckedTable(QObject* parent) : QObject(parent)
{
    m_findings = m_document.check(numbersOf());
}

template <typename Change>
void CheckedTable::apply(Change change)
{
    const auto before = m_document.changeCount();
    change(m_document);
    if (m_document.changeCount() == before)
        return;
    m_findings = m_document.check(numbersOf());
    emit changed();
}

void CheckedTable::setPath(const std::optional<std::string>& path)
{
    apply([&](TableDocument& document) { document.setPath(path); });
}

void CheckedTable::setTyped(const cells::Cell& cell, const QString& text)
{
    apply([&](TableDocument& document) { document.setTyped(cells::valueIndex(cell), text.toStdString()); });
}

void CheckedTable::startNew()
{
    apply([](TableDocument& document) { document.startNew(); });
}

void CheckedTable::editShown()
{
    apply([](TableDocument& document) { document.editShown(); });
}

void CheckedTable::leaveEditMode(const QStringList& asStored)
{
    apply([&](TableDocument& document) { document.leaveEditMode(toValues(asStored)); });
}

void CheckedTable::showFileValues(const QStringList& values, const tablecheck::FileNotes& notes)
{
    apply([&](TableDocument& document) { document.showFileValues(toValues(values), notes); });
}

void CheckedTable::clearAfterDelete()
{
    apply([](TableDocument& document) { document.clearAfterDelete(); });
}

QString shownPath(const TableDocument& document)
{
    return QString::fromStdString(document.path().value_or(cells::NoTableChosen));
}

TableDocument::Values toValues(const QStringList& texts)
{
    TableDocument::Values values;
    for (std::size_t i = 0; i < values.size() && i < std::size_t(texts.size()); ++i)
        values[i] = texts[qsizetype(i)].toStdString();
    return values;
}

QStringList toTexts(const TableDocument::Values& values)
{
    QStringList texts;
    for (const std::string& value : values)
        texts.append(QString::fromStdString(value));
    return texts;
}
