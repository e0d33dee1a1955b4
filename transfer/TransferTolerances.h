#pragma once

class QWidget;
class ToleranceTable;

// "Ausführen": writes the shown table's tolerances into the dimensions of the
// part program open in the running KORVANT. `window` gets the wait pointer
// while it runs and owns the progress window of a long run.
void transferTolerances(ToleranceTable& table, QWidget* window);
