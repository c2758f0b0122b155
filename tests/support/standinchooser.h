#pragma once

#include "filechooser.h"

#include <QList>
#include <QTimer>

// Answers the file dialogs as a user would: later, from the event loop, with
// the response and location the test has set.
class StandInChooser : public FileChooser
{
public:
    struct Request {
        Mode mode;
        ContentType type;
    };

    void willAnswer(Response response, const QUrl &location)
    {
        m_response = response;
        m_location = location;
    }
    void willChoose(const QString &path) { willAnswer(Response::Ok, QUrl::fromLocalFile(path)); }

    void choose(Mode mode, ContentType type, Completion completion) override
    {
        m_requests.append({mode, type});
        QTimer::singleShot(0, [this, completion, response = m_response, location = m_location] {
            completion(response, location);
            ++m_answered;
        });
    }

    const QList<Request> &requests() const { return m_requests; }
    int answered() const { return m_answered; }

private:
    Response m_response = Response::Cancel;
    QUrl m_location;
    QList<Request> m_requests;
    int m_answered = 0;
};
