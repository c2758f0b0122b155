#include "arguments.h"

Arguments::Arguments(const QStringList &words, const QSet<QString> &valueOptions,
                     const QSet<QString> &flags)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < words.size() && m_error.isEmpty(); ++i) {
        const QString &word = words.at(i);
        if (!optionsEnded && word == u"--")
            optionsEnded = true;
        else if (!optionsEnded && word.startsWith(u'-') && word.size() > 1)
            parseOption(word, words, i, valueOptions, flags);
        else
            m_positional.append(word);
    }
}

void Arguments::parseOption(const QString &word, const QStringList &words, qsizetype &i,
                            const QSet<QString> &valueOptions, const QSet<QString> &flags)
{
    const qsizetype equals = word.indexOf(u'=');
    const QString name = equals < 0 ? word : word.left(equals);
    if (flags.contains(name) && equals < 0) {
        m_flags.insert(name);
    } else if (!valueOptions.contains(name)) {
        m_error = QStringLiteral("unknown option %1").arg(name);
    } else if (equals >= 0) {
        m_values.insert(name, word.mid(equals + 1));
    } else if (i + 1 < words.size()) {
        m_values.insert(name, words.at(++i));
    } else {
        m_error = QStringLiteral("%1 needs a value").arg(name);
    }
}

std::optional<QString> Arguments::value(const QString &option) const
{
    const auto it = m_values.constFind(option);
    if (it == m_values.cend())
        return std::nullopt;
    return *it;
}
