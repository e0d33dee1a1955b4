#pragma once

#include "base/MessageBox.h"

#include <QStringList>

#include <deque>

// Answers the program's messages in tests, without a box and without a
// person: answers queued here are given in turn (with none queued, the box is
// shown, for a test that looks at it), and every text is recorded.
// Installed on first use, for the rest of the test process.
namespace messages {

class Recorder : public MessageBox::Responder
{
public:
    std::deque<MessageBox::Answer> queued;
    QStringList shown;

    std::optional<MessageBox::Answer> answer(const QString& text, MessageBox::Buttons) override
    {
        shown.append(text);
        if (queued.empty())
            return std::nullopt;
        const MessageBox::Answer next = queued.front();
        queued.pop_front();
        return next;
    }
};

inline Recorder& recorder()
{
    static Recorder instance;
    static const bool installed = (MessageBox::setResponder(&instance), true);
    Q_UNUSED(installed);
    return instance;
}

inline void setNextAnswer(MessageBox::Answer answer)
{
    recorder().queued.push_back(answer);
}

inline bool hasPendingAnswers()
{
    return !recorder().queued.empty();
}

inline QStringList shownTexts()
{
    return recorder().shown;
}

inline void clearRecord()
{
    recorder().shown.clear();
    recorder().queued.clear();
}

} // namespace messages
