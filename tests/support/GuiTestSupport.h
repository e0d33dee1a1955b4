#pragma once

#include <QAction>
#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// Shared by the GUI tests: a clean settings store and locale per test, and
// lookups by object name that fail the test when the object is missing.
namespace guitest {

// Points the per-user settings store at a fresh temporary folder and fixes the locale.
inline void startClean(QTemporaryDir& settingsFolder,
                       const QLocale& locale = QLocale(QLocale::German, QLocale::Germany))
{
    QVERIFY(settingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QLocale::setDefault(locale);
}

template <typename T> T* child(const QObject* parent, const QString& name)
{
    T* found = parent ? parent->findChild<T*>(name) : nullptr;
    if (!found)
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

// Triggers the menu or toolbar action of that name; false when there is none.
inline bool trigger(const QWidget* window, const QString& name)
{
    QAction* action = child<QAction>(window, name);
    if (!action)
        return false;
    action->trigger();
    return true;
}

// The object names of the next `count` widgets a Tab press can reach, in the
// order the focus chain gives them, from `first` on.
inline QStringList tabChain(QWidget* first, int count)
{
    QStringList names;
    for (QWidget* widget = first; widget && names.size() < count; widget = widget->nextInFocusChain())
        if (widget->focusPolicy() & Qt::TabFocus)
            names << widget->objectName();
    return names;
}

} // namespace guitest
