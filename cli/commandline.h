#pragma once

#include "exitcodes.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

class CommandLine;

// One command of quillbank-cli: its name, what it takes and what it does.
struct Command {
    using Run = std::function<int(const CommandLine &, QTextStream &, QTextStream &)>;
    // Reports a failure the command's way and returns its exit status.
    using Fail =
        std::function<int(QTextStream &out, QTextStream &err, const QString &reason, int status)>;
    // What the command does with the per-user history when HISTORY is not given.
    enum class DefaultHistory { None, Read, Make };
    QString name;
    QString synopsis;    // the words after the name, as --help shows them
    QString description; // one paragraph
    QList<QCommandLineOption> options;
    qsizetype minPositional = 0;
    qsizetype maxPositional = 0;
    Run run;
    // Unset: the one line "quillbank-cli: reason" on standard error, and the
    // status given.
    Fail fail = nullptr;
    DefaultHistory defaultHistory = DefaultHistory::None;
};

// The words after the command's name, parsed by QCommandLineParser against
// what the command accepts, with the standard --help and --version.
class CommandLine
{
public:
    explicit CommandLine(const Command &command);

    // False, with error() set, for an unknown option, a missing value or a
    // wrong number of arguments.
    bool parse(const QStringList &arguments);
    QString error() const { return m_error; }
    bool wantsHelp() const { return m_parser.isSet(m_help); }
    bool wantsVersion() const { return m_parser.isSet(m_version); }
    QString helpText() const;

    bool isSet(const QString &option) const { return m_parser.isSet(option); }
    QString value(const QString &option) const { return m_parser.value(option); }
    // The arguments after the command's name.
    QStringList positional() const { return m_parser.positionalArguments().mid(1); }

private:
    const Command m_command; // a copy: callers may pass a temporary
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QString m_error;
};
