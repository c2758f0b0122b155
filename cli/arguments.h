#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The words after a command's name: options (--name VALUE, --name=VALUE or a
// bare --flag) and positional arguments, checked against what the command
// accepts.
class Arguments
{
public:
    Arguments(const QStringList &words, const QSet<QString> &valueOptions,
              const QSet<QString> &flags);

    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    std::optional<QString> value(const QString &option) const;
    bool flag(const QString &name) const { return m_flags.contains(name); }
    const QStringList &positional() const { return m_positional; }

private:
    void parseOption(const QString &word, const QStringList &words, qsizetype &i,
                     const QSet<QString> &valueOptions, const QSet<QString> &flags);

    QHash<QString, QString> m_values;
    QSet<QString> m_flags;
    QStringList m_positional;
    QString m_error;
};
