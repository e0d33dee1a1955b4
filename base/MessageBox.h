#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QMessageBox;
class QWidget;

// Every message the program shows goes through here: plain text, no icon, the
// title "Dalmerin", German buttons, the first button the default. Escape
// answers a notice with OK and a confirmation with Cancel; a Yes/No question
// takes only "Ja" or "Nein".
class MessageBox
{
public:
    enum class Buttons
    {
        Ok,
        YesNo,
        OkCancel
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Yes,
        No
    };

    static Answer show(QWidget* parent, const QString& text, Buttons buttons = Buttons::Ok);

    // The box exactly as show() would present it, for a look at it.
    static std::unique_ptr<QMessageBox> build(QWidget* parent, const QString& text, Buttons buttons);

    // Test seam: answers queued here are given in turn instead of showing a
    // box; every text shown or answered is recorded.
    static void setNextAnswer(Answer answer);
    static bool hasPendingAnswers();
    static QStringList shownTexts();
    static void clearRecord();
};
