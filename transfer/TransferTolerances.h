#pragma once

class QWidget;
class ToleranceTable;

namespace korvant {
class Host;
}

// When a long run shows its progress window, and how often it is brought up to date.
struct ProgressTiming
{
    int delayMs = 500; // a run shorter than this shows no progress window
    int intervalMs = 100;
};

// "Ausführen": writes the shown table's tolerances into the dimensions of the
// part program open in the KORVANT that `host` reaches (createPlatformHost()
// for the program). `window` gets the wait pointer while it runs and owns the
// progress window of a long run.
void transferTolerances(ToleranceTable& table, QWidget* window, korvant::Host& host,
                        ProgressTiming timing = {});
