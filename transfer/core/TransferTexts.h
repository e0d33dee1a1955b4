#pragma once

#include <array>

// Every text the transfer, its preview, its report and its undo show (UTF-8).
namespace transfertexts {

// Refusals and stops of a run.
inline const char* const ChooseTable = "Sie müssen erst eine Tabelle auswählen";
inline const char* const StartKorvant = "KORVANT muß gestartet werden";
inline const char* const NoPartProgram = "Teileprogramm muß aktiv sein";
inline const char* const ConnectionFailed = "Die Verbindung zu KORVANT ist fehlgeschlagen";
inline const char* const CommandsUnreadable =
    "Die Befehle des Teileprogramms konnten nicht gelesen werden. Es wurden keine Toleranzen übertragen.";
inline const char* const ConnectionLost =
    "Die Verbindung zu KORVANT wurde unterbrochen. Die Toleranzen wurden nicht vollständig übertragen.";
inline const char* const Busy =
    "KORVANT ist beschäftigt und nimmt keine Aufrufe an. Die Toleranzen wurden nicht vollständig übertragen.";

// Refusals and stops of an undo.
inline const char* const NoRunYet = "Es gibt noch keine Übertragung.";
inline const char* const ProgramChanged =
    "Das Teileprogramm hat sich seit der Übertragung geändert. Es wurde nichts zurückgesetzt.";
inline const char* const UndoCommandsUnreadable =
    "Die Befehle des Teileprogramms konnten nicht gelesen werden. Es wurde nichts zurückgesetzt.";
inline const char* const UndoConnectionLost =
    "Die Verbindung zu KORVANT wurde unterbrochen. Die Toleranzen wurden nicht vollständig zurückgesetzt.";
inline const char* const UndoBusy = "KORVANT ist beschäftigt und nimmt keine Aufrufe an. Die Toleranzen "
                                    "wurden nicht vollständig zurückgesetzt.";

// The report's columns, "Nr." first.
constexpr int ColumnCount = 10;
inline const std::array<const char*, ColumnCount> ColumnTitles = {
    "Nr.",          "Typ",     "Achse",    "Nennmaß",   "Plus vorher",
    "Minus vorher", "Bereich", "Plus neu", "Minus neu", "Ergebnis"};

// The outcome of a row.
inline const char* const Written = "geschrieben";
inline const char* const WillBeWritten = "wird geschrieben";
inline const char* const KeepsOwnTolerances = "behält eigene Toleranzen";
inline const char* const NoRange = "kein Bereich";
inline const char* const AxisNotCovered = "Achse nicht erfasst";
inline const char* const TypeNotCovered = "Typ nicht erfasst";
inline const char* const ReadFailed = "Lesen fehlgeschlagen";
inline const char* const WriteFailed = "Schreiben fehlgeschlagen";
inline const char* const ChangedSince = "seit der Übertragung geändert";
inline const char* const Restored = "zurückgesetzt";

// Which put of a row failed.
inline const char* const BothPutsFailed = "Plus- und Minustoleranz konnten nicht geschrieben werden.";
inline const char* const PlusPutFailed = "Die Plustoleranz konnte nicht geschrieben werden.";
inline const char* const MinusPutFailed = "Die Minustoleranz konnte nicht geschrieben werden.";

// The summary of a report.
inline const char* const OneDimension = " Maß";
inline const char* const Dimensions = " Maße";
inline const char* const ThePreview = "Die Vorschau";
inline const char* const TheUndo = "Das Zurücksetzen";
inline const char* const TheTransfer = "Die Übertragung";
inline const char* const StoppedAfter = " wurde nach ";
inline const char* const OneCommand = " Befehl";
inline const char* const Commands = " Befehlen";
inline const char* const Stopped = " abgebrochen: ";
inline const char* const SummaryCommandsUnreadable =
    " Die Befehle des Teileprogramms konnten nicht gelesen werden.";
inline const char* const SummaryConnectionLost = "Die Verbindung zu KORVANT wurde unterbrochen.";
inline const char* const SummaryBusy = "KORVANT ist beschäftigt und nimmt keine Aufrufe an.";
inline const char* const TransferUndone = " Die Übertragung wurde zurückgesetzt.";

} // namespace transfertexts
