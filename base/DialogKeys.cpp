#include "base/DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>

bool handleDialogKey(QKeyEvent* event, QWidget* dialog, QPushButton* defaultButton,
                     const std::function<void()>& escape)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* focused = qobject_cast<QPushButton*>(dialog->focusWidget()))
            focused->click();
        else
            defaultButton->click();
        return true;
    case Qt::Key_Escape:
        escape();
        return true;
    default:
        return false;
    }
}
