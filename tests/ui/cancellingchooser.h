#pragma once

#include "filechooser.h"

// Answers every file dialog with Cancel, at once, and counts the questions.
class CancellingChooser : public FileChooser
{
public:
    int asked = 0;
    void choose(Mode, ContentType, Completion completion) override
    {
        ++asked;
        completion(Response::Cancel, {});
    }
};
