#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

// A small window that shows how far a long command has got, "n von m
// Befehlen", with "Abbrechen" (and Escape): the command stops after the
// command under way, never between the two puts of one dimension. Its frame
// does not close it.
class TransferProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TransferProgress(QWidget* parent);

    void showCount(std::size_t done, std::optional<std::size_t> total);
    QString text() const;
    bool cancelRequested() const { return m_cancelRequested; }
    // As new, for the next command.
    void reset();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cancel();

    QLabel* m_label;
    QPushButton* m_cancel;
    bool m_cancelRequested = false;
};
