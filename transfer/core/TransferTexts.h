#pragma once

#include <array>
#include <string>

// Every text the transfer, its preview, its report and its undo show (UTF-8).
namespace transfertexts {

// Refusals and stops of a run.
inline const char* const ChooseTable = "Sie müssen erst eine Tabelle auswählen";
inline const char* const StartKorvant = "KORVANT muß gestartet werden";
inline const char* const NoPartProgram = "Teileprogramm muß aktiv sein";
inline const char* const ConnectionFailed = "Die Verbindung zu KORVANT ist fehlgeschlagen";
// Followed, on the next line, by the table's first "Fehler".
inline const char* const TableHasErrors = "Die Tabelle enthält Fehler und wird nicht übertragen.";
// A stop's message: what happened, then what became of the tolerances.
inline const char* const LostSentence = "Die Verbindung zu KORVANT wurde unterbrochen.";
inline const char* const BusySentence = "KORVANT ist beschäftigt und nimmt keine Aufrufe an.";
inline const char* const UnreadableSentence = "Die Befehle des Teileprogramms konnten nicht gelesen werden.";
// A step of the command list that failed: the commands after it are unknown.
inline const char* const ListBrokenSentence = "Die Befehle des Teileprogramms konnten nicht weiter gelesen werden.";
inline const char* const NotAllWritten = "Die Toleranzen wurden nicht vollständig übertragen.";
inline const char* const NoneWritten = "Es wurden keine Toleranzen übertragen.";
inline const char* const NotAllRestored = "Die Toleranzen wurden nicht vollständig zurückgesetzt.";
inline const char* const NoneRestored = "Es wurde nichts zurückgesetzt.";
inline std::string stopText(const char* what, const char* consequence)
{
    return std::string(what) + " " + consequence;
}

// Stops of a run; "…NothingWritten" where it stopped before anything was written.
inline const std::string CommandsUnreadable = stopText(UnreadableSentence, NoneWritten);
inline const std::string ConnectionLost = stopText(LostSentence, NotAllWritten);
inline const std::string Busy = stopText(BusySentence, NotAllWritten);
inline const std::string ListBroken = stopText(ListBrokenSentence, NotAllWritten);
inline const std::string ConnectionLostNothingWritten = stopText(LostSentence, NoneWritten);
inline const std::string BusyNothingWritten = stopText(BusySentence, NoneWritten);
inline const std::string ListBrokenNothingWritten = stopText(ListBrokenSentence, NoneWritten);
// "Abbrechen" in the progress window; the stop's place goes between the parts.
inline const char* const RunCancelled = "Die Übertragung wurde ";
inline const char* const Cancelled = "abgebrochen"; // where no place can be named
inline const char* const PreviewCancelled = "Die Vorschau wurde ";
inline const char* const PreviewCancelledEnd = ".";

// Refusals and stops of an undo.
inline const char* const NoRunYet = "Es gibt noch keine Übertragung.";
inline const std::string ProgramChanged =
    stopText("Das Teileprogramm hat sich seit der Übertragung geändert.", NoneRestored);
inline const std::string UndoCommandsUnreadable = stopText(UnreadableSentence, NoneRestored);
inline const std::string UndoConnectionLost = stopText(LostSentence, NotAllRestored);
inline const std::string UndoBusy = stopText(BusySentence, NotAllRestored);
inline const std::string UndoConnectionLostNothingRestored = stopText(LostSentence, NoneRestored);
inline const std::string UndoBusyNothingRestored = stopText(BusySentence, NoneRestored);
inline const std::string UndoCancelledBeforePuts = stopText("Das Zurücksetzen wurde abgebrochen.", NoneRestored);
inline const char* const UndoCancelled = "Das Zurücksetzen wurde ";

// The report's columns, "Nr." first.
constexpr int ColumnCount = 10;
inline const std::array<const char*, ColumnCount> ColumnTitles = {
    "Nr.",          "Typ",     "Achse",    "Nennmaß",   "Plus vorher",
    "Minus vorher", "Bereich", "Plus neu", "Minus neu", "Ergebnis"};

// The CSV file's further columns, after "Ergebnis".
inline const char* const CsvUpperLimit = "Höchstmaß";
inline const char* const CsvLowerLimit = "Mindestmaß";

// The CSV file's header block: one line each, then the table's ranges.
inline const char* const CsvTable = "Tabelle";
inline const char* const CsvPartProgram = "Teileprogramm";
inline const char* const CsvTime = "Zeit";
inline const char* const CsvOldVal = "OldVal";
inline const char* const CsvResult = "Ergebnis";
inline const char* const CsvUndoOf = "Rückgängig von";
inline const char* const CsvFingerprint = "Prüfsumme";
inline const char* const CsvRelease = "Freigabe";
inline const char* const NotReleased = "nicht freigegeben";
inline const char* const CsvUser = "Benutzer";
inline const char* const CsvComputer = "Rechner";
inline const char* const CsvProgram = "Programm";
inline const char* const CsvCheck = "Prüfung";
inline const char* const CheckFoundNothing = "keine Auffälligkeiten";
inline const char* const CsvRange = "Bereich";
inline const char* const CsvLower = "über";
inline const char* const CsvUpper = "bis";
inline const char* const CsvPlus = "Plus";
inline const char* const CsvMinus = "Minus";

// The outcome of a row: of a run, of its preview, of an undo.
inline const char* const Written = "geschrieben";
inline const char* const WillBeWritten = "wird geschrieben";
inline const char* const Restored = "zurückgesetzt";
inline const char* const PartlyWritten = "teilweise geschrieben";
inline const char* const PartlyRestored = "teilweise zurückgesetzt";
inline const char* const WriteFailed = "Schreiben fehlgeschlagen";
inline const char* const RestoreFailed = "Zurücksetzen fehlgeschlagen";
inline const char* const KeepsOwnTolerances = "behält eigene Toleranzen";
inline const char* const NoRange = "kein Bereich";
inline const char* const AxisNotCovered = "Achse nicht erfasst";
inline const char* const TypeNotCovered = "Typ nicht erfasst";
inline const char* const ReadFailed = "Lesen fehlgeschlagen";
inline const char* const ChangedSince = "seit der Übertragung geändert";
inline const char* const NotReached = "nicht zurückgesetzt";
// As the summary counts them: "7 behalten eigene Toleranzen", "6 mit nicht erfasster Achse".
inline const char* const KeepOwnTolerances = "behalten eigene Toleranzen";
inline const char* const WithAxisNotCovered = "mit nicht erfasster Achse";
inline const char* const WithTypeNotCovered = "mit nicht erfasstem Typ";

// What became of each put of a row not written whole: "Plustoleranz geschrieben, Minustoleranz …".
inline const char* const PlusTolerance = "Plustoleranz ";
inline const char* const MinusTolerance = "Minustoleranz ";
inline const char* const PutWritten = "geschrieben";
inline const char* const PutRestored = "zurückgesetzt";
inline const char* const PutRefused = "von KORVANT abgelehnt";
inline const char* const PutUnanswered = "ohne Antwort von KORVANT";
inline const char* const PutNotTried = "nicht versucht";
inline const char* const PutNotNeeded = "schon wie vor der Übertragung";

// The summary of a report.
inline const char* const OneDimension = " Maß";
inline const char* const Dimensions = " Maße";
inline const char* const TheTransfer = " Übertragung ";
inline const char* const ThePreview = " Vorschau ";
inline const char* const TheUndo = " Zurücksetzen ";
inline const char* const StoppedAt = "abgebrochen bei Befehl ";
inline const char* const StoppedAfter = "abgebrochen nach Befehl ";
inline const char* const StoppedBeforeFirst = "abgebrochen vor dem ersten Befehl";
inline const char* const Of = " von ";
inline const char* const SummaryCancelled = " mit „Abbrechen“.";
inline const char* const TransferUndone = " Die Übertragung wurde zurückgesetzt.";
// A dimension changed since keeps its change, and with it perhaps a tolerance of the run.
inline const char* const TransferUndoneBut = " Die Übertragung wurde zurückgesetzt, bis auf ";
inline const char* const OneChangedSince = " Maß, das seit der Übertragung geändert wurde.";
inline const char* const ChangedSinceMany = " Maße, die seit der Übertragung geändert wurden.";
// Every dimension the run wrote into was changed since: nothing was put back.
inline const char* const NothingUndone = " Es wurde nichts zurückgesetzt: ";
inline const char* const OneWasChanged = " Maß wurde seit der Übertragung geändert.";
inline const char* const ManyWereChanged = " Maße wurden seit der Übertragung geändert.";
inline const char* const TransferPartlyUndone = " Die Übertragung wurde teilweise zurückgesetzt: ";

} // namespace transfertexts
