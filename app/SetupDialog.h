#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;

// The settings dialog `frm_Setup`: whether the splash window shows at start and
// whether the transfer keeps tolerances a dimension already has. It replaces
// the main window while it is open.
class SetupDialog : public QWidget
{
    Q_OBJECT

public:
    explicit SetupDialog(QWidget* parent = nullptr);

signals:
    // "OK" or "Abbruch" was pressed, or the frame closed the dialog: the main window comes back.
    void done();

protected:
    // Enter presses the focused button, otherwise "OK"; Escape is "Abbruch".
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadSettings();
    void saveSettings();
    void accept();
    void cancel();
    void finish();

    QCheckBox* m_start;
    QCheckBox* m_oldValues;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_finished = false; // "OK" or "Abbruch" was pressed
};
