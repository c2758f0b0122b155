#pragma once

#include "filechooser.h"

#include <QString>

class QUrl;
class QWidget;

// File dialogs for the store's file operations. A dialog leaves the window
// usable while it is open; the completion runs when it closes. Opening takes
// only a file of the type asked for: another is refused with a message and
// the dialog asked again. Saving adds the type's extension to a name without
// one.
class QtFileChooser : public FileChooser
{
public:
    // Dialogs are shown over this window.
    explicit QtFileChooser(QWidget *window);

    void choose(Mode mode, ContentType type, Completion completion) override;

    // Whether the file's name ends in the type's extension, in any case.
    static bool isOfType(const QString &path, ContentType type);

private:
    void ask(Mode mode, ContentType type, const QString &folder, Completion completion);
    void answer(Mode mode, ContentType type, const QUrl &location, const Completion &completion);
    void refuse(const QUrl &location, ContentType type, Completion completion);

    QWidget *m_window;
};
