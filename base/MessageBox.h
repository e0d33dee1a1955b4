#pragma once

#include <QString>

#include <memory>
#include <optional>

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

    // Test seam: while a responder is set, it sees every message first and
    // may answer it instead of a box (nothing: the box is shown). The program
    // sets none and keeps no record of what it showed.
    class Responder
    {
    public:
        virtual ~Responder() = default;
        virtual std::optional<Answer> answer(const QString& text, Buttons buttons) = 0;
    };
    static void setResponder(Responder* responder);
};
