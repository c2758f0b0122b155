#pragma once

#include "DiskInfo.h"

#include <QList>
#include <QObject>
#include <QString>

// Records every announcement of a store as "name" for a change and checks
// that each change is bracketed by its about-to-change.
class Announcements : public QObject
{
public:
    explicit Announcements(DiskInfo &store)
    {
        connect(&store, &DiskInfo::aboutToChange, this,
                [this](DiskInfo::Property p) { m_pending.append(p); });
        connect(&store, &DiskInfo::changed, this, [this](DiskInfo::Property p) {
            m_balanced = m_balanced && !m_pending.isEmpty() && m_pending.takeLast() == p;
            m_changes.append(p);
        });
    }

    const QList<DiskInfo::Property> &changes() const { return m_changes; }
    qsizetype count(DiskInfo::Property p) const { return m_changes.count(p); }
    bool balanced() const { return m_balanced && m_pending.isEmpty(); }
    void clear() { m_changes.clear(); }

private:
    QList<DiskInfo::Property> m_pending;
    QList<DiskInfo::Property> m_changes;
    bool m_balanced = true;
};
