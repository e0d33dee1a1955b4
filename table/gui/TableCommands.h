#pragma once

class CheckedTable;
class QWidget;

// "Neu erstellen": edit mode with 71 empty boxes, without any test first.
void startNewTable(CheckedTable& table);

// "Bearbeiten": edit mode with the shown captions in the boxes. Refused with a
// message while no table is chosen; does nothing while already in edit mode,
// so the entries made so far stay.
void editShownTable(CheckedTable& table, QWidget* messageParent);
