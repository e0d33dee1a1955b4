#pragma once

#include "table/core/TableCheck.h"

#include <QDialog>

// "Prüfen…": every finding of the table check, one a line, in a small modal
// window ("Dalmerin – Tabelle prüfen"). Enter and Escape close it.
class TableCheckWindow : public QDialog
{
    Q_OBJECT

public:
    TableCheckWindow(const std::vector<tablecheck::Finding>& findings, QWidget* parent);
};
