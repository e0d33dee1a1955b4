#include "MessageBox.h"

#include "AppInfo.h"

#include <QMessageBox>
#include <QPushButton>

#include <deque>

namespace {

std::deque<MessageBox::Answer>& queuedAnswers()
{
    static std::deque<MessageBox::Answer> answers;
    return answers;
}

QStringList& record()
{
    static QStringList texts;
    return texts;
}

} // namespace

std::unique_ptr<QMessageBox> MessageBox::build(QWidget* parent, const QString& text, Buttons buttons)
{
    auto box = std::make_unique<QMessageBox>(parent);
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
        box->setEscapeButton(QMessageBox::No);
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
    record().append(text);
    if (!queuedAnswers().empty()) {
        const Answer answer = queuedAnswers().front();
        queuedAnswers().pop_front();
        return answer;
    }
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

void MessageBox::setNextAnswer(Answer answer)
{
    queuedAnswers().push_back(answer);
}

bool MessageBox::hasPendingAnswers()
{
    return !queuedAnswers().empty();
}

QStringList MessageBox::shownTexts()
{
    return record();
}

void MessageBox::clearRecord()
{
    record().clear();
    queuedAnswers().clear();
}
