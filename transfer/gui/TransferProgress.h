#pragma once

#include <QWidget>

#include <optional>

class QLabel;

// A small window without buttons that shows how far a long transfer has got:
// "n von m Befehlen". The transfer cannot be cancelled.
class TransferProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TransferProgress(QWidget* parent);

    void showCount(std::size_t done, std::optional<std::size_t> total);
    QString text() const;

private:
    QLabel* m_label;
};
