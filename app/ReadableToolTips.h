#pragma once

#include <QObject>

// Every tooltip of the program in the system's tooltip colours, or black on a
// light ground where those read poorly. The Windows style takes a tooltip's
// text colour from the visual style, not from the system colours: under Wine
// that is a grey (#a6a6a6) on the system's light yellow, about 2.4:1.
// Installed once on the application; watches only for tooltips being shown.
class ReadableToolTips : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
