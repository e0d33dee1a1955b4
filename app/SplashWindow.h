#pragma once

#include <QWidget>

// The start window `START`: logo, product name and version; it closes itself
// after 3000 ms, or 1 ms when the setting "Start" is "0", and its one timer
// tick opens the main window.
class QTimer;

class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    int interval() const;

signals:
    void finished();

private:
    void onTimer();

    QTimer* m_timer;
};
