#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

// A small window that shows how far a long command has got, "n von m
// Befehlen", with "Abbrechen" (and Escape): the command stops at its next
// call to KORVANT, never between the two puts of one dimension. Whether a
// stop was asked for is its controller's to keep and to show here. Its frame
// does not close it.
class TransferProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TransferProgress(QWidget* parent);

    void showCount(std::size_t done, std::optional<std::size_t> total);
    QString text() const;
    // "Wird abgebrochen…" on the button, painted at once; it takes no second press.
    void showCancelling();
    // As new, for the next command.
    void reset();

signals:
    // "Abbrechen" or Escape.
    void cancelPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label;
    QPushButton* m_cancel;
};
