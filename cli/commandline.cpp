#include "commandline.h"

CommandLine::CommandLine(const Command &command)
    : m_command(command), m_help(m_parser.addHelpOption()), m_version(m_parser.addVersionOption())
{
    m_parser.addOptions(command.options);
}

bool CommandLine::parse(const QStringList &arguments)
{
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return false;
    }
    const qsizetype count = positional().size();
    if (!wantsHelp() && !wantsVersion() &&
        (count < m_command.minPositional || count > m_command.maxPositional)) {
        m_error = QStringLiteral("wrong number of arguments for %1").arg(m_command.name);
        return false;
    }
    return true;
}

QString CommandLine::helpText() const
{
    return QStringLiteral("Usage: quillbank-cli %1 %2\n\n%3\n\n")
               .arg(m_command.name, m_command.synopsis, m_command.description) +
           m_parser.helpText().section(QStringLiteral("\n\n"), 1);
}
