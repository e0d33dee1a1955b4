#include "base/MessageBox.h"

#include "base/AppInfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>


namespace {

MessageBox::Responder* responder = nullptr;

// A Yes/No question, as on Windows, cannot be dismissed: Escape and the
// frame's close button do nothing, only "Ja" or "Nein" answer it.
class Question : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

std::unique_ptr<QMessageBox> MessageBox::build(QWidget* parent, const QString& text, Buttons buttons)
{
    std::unique_ptr<QMessageBox> box;
    if (buttons == Buttons::YesNo)
        box = std::make_unique<Question>(parent);
    else
        box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QString::fromUtf8(appinfo::Title));
    box->setIcon(QMessageBox::NoIcon);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);

    auto addButton = [&box](QMessageBox::StandardButton which, const char* caption) {
        box->addButton(which)->setText(QString::fromUtf8(caption));
    };
    switch (buttons) {
    case Buttons::Ok:
        addButton(QMessageBox::Ok, "OK");
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        addButton(QMessageBox::Yes, "Ja");
        addButton(QMessageBox::No, "Nein");
        box->setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::OkCancel:
        addButton(QMessageBox::Ok, "OK");
        addButton(QMessageBox::Cancel, "Abbrechen");
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

MessageBox::Answer MessageBox::show(QWidget* parent, const QString& text, Buttons buttons)
{
    if (responder)
        if (const std::optional<Answer> answer = responder->answer(text, buttons))
            return *answer;
    auto box = build(parent, text, buttons);
    switch (box->exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

void MessageBox::setResponder(Responder* newResponder)
{
    responder = newResponder;
}
