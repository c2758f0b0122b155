#pragma once

#include <QUrl>

#include <functional>

// Asks the user for a file to save to or to open, without blocking: choose()
// returns at once and the completion runs later on the main thread with the
// user's answer. The desktop app shows file dialogs; tests answer for the user.
class FileChooser
{
public:
    enum class Mode { Save, Open };
    enum class ContentType { Json, Csv };
    enum class Response { Cancel, Ok };
    using Completion = std::function<void(Response response, const QUrl &location)>;

    virtual ~FileChooser() = default;
    virtual void choose(Mode mode, ContentType type, Completion completion) = 0;
};
