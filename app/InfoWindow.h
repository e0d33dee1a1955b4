#pragma once

#include <QWidget>

class QLabel;

// The two informational windows of the help menu. Each closes with its "OK".
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

class SupportWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SupportWindow(QWidget* parent = nullptr);
};
