#pragma once

#include "filechooser.h"

class QWidget;

// File dialogs for the store's file operations. The dialog is window-modal
// and opened without blocking; the completion runs when it closes.
class QtFileChooser : public FileChooser
{
public:
    // Dialogs are shown over this window.
    explicit QtFileChooser(QWidget *window);

    void choose(Mode mode, ContentType type, Completion completion) override;

private:
    QWidget *m_window;
};
