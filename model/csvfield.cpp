#include "csvfield.h"

namespace {

bool startsLikeFormula(const QString &text)
{
    return !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
}

bool needsQuotes(const QString &text)
{
    for (const QChar c : text) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

} // namespace

QString csvField(const QString &text)
{
    const bool formula = startsLikeFormula(text);
    if (!formula && !needsQuotes(text))
        return text;
    QString escaped = text;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' % QStringView(formula ? u"'" : u"") % escaped % u'"';
}
