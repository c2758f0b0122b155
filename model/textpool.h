#pragma once

#include <QSet>
#include <QString>

// Keeps one copy of each distinct text, so that the many readings of one
// container share their names and UUID instead of holding a copy each. The
// shared copy also lets a walk over the history compare them by address.
class TextPool
{
public:
    QString shared(const QString &text);

private:
    QSet<QString> m_texts;
};
