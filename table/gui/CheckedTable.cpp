#include "table/gui/CheckedTable.h"

#include "table/gui/LocaleNumbers.h"
#include "table/gui/Sha256.h"

CheckedTable::CheckedTable(QObject* parent) : QObject(parent)
{
    checkAfresh();
}

void CheckedTable::checkAfresh()
{
    const tablecheck::Locale locale = numbersOf();
    m_fingerprint = m_document.fingerprint(locale.read, sha256Hex);
    m_findings = m_document.checkWithRelease(locale, m_fingerprint);
}

template <typename Change>
void CheckedTable::apply(Change change)
{
    const auto before = m_document.changeCount();
    change(m_document);
    if (m_document.changeCount() == before)
        return;
    checkAfresh();
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

void CheckedTable::leaveEditMode(const QStringList& asStored, const TableRelease& release)
{
    apply([&](TableDocument& document) { document.leaveEditMode(toValues(asStored), release); });
}

void CheckedTable::showFileValues(const QStringList& values, const tablecheck::FileNotes& notes,
                                  const TableRelease& release)
{
    apply([&](TableDocument& document) { document.showFileValues(toValues(values), notes, release); });
}

void CheckedTable::setRelease(const TableRelease& release)
{
    apply([&](TableDocument& document) { document.setRelease(release); });
}

void CheckedTable::clearAfterDelete()
{
    apply([](TableDocument& document) { document.clearAfterDelete(); });
}

std::string releaseLine(const TableDocument& document, const std::optional<std::string>& fingerprint)
{
    std::string line = release::fingerprintLine(fingerprint);
    if (!document.isEditing())
        line += " – " + release::statusText(document.release(), fingerprint);
    return line;
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
