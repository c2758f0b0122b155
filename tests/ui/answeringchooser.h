#pragma once

#include "filechooser.h"

#include <QList>
#include <QTimer>
#include <QUrl>

// Stands in for the file dialogs: notes each question and answers it from the
// event loop, as a dialog closed by the user would, with OK and the given
// file, or with Cancel when no file is given.
class AnsweringChooser : public FileChooser
{
public:
    explicit AnsweringChooser(QUrl answer = {}) : m_answer(std::move(answer)) {}

    struct Question {
        Mode mode;
        ContentType type;
    };
    QList<Question> questions;

    void choose(Mode mode, ContentType type, Completion completion) override
    {
        questions.append({mode, type});
        const Response response = m_answer.isEmpty() ? Response::Cancel : Response::Ok;
        QTimer::singleShot(0, [=, this] { completion(response, m_answer); });
    }

private:
    QUrl m_answer;
};
