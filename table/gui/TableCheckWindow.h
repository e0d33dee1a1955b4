#pragma once

#include <QDialog>

class CheckedTable;

// "Prüfen…": the table's whole "Prüfsumme", whether it is released, and every
// finding of the table check, one a line, in a small modal window ("Dalmerin –
// Tabelle prüfen"). Enter and Escape close it.
class TableCheckWindow : public QDialog
{
    Q_OBJECT

public:
    TableCheckWindow(const CheckedTable& table, QWidget* parent);
};
