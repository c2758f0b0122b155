#include "plistwriter.h"

using namespace Qt::StringLiterals;

namespace {

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

class PlistText
{
public:
    void line(int depth, QLatin1StringView markup)
    {
        m_text += QString(depth, u'\t') + markup + u'\n';
    }
    void key(int depth, QLatin1StringView name) { element(depth, "key"_L1, QString(name)); }
    void string(int depth, const QString &text) { element(depth, "string"_L1, xmlEscaped(text)); }
    void integer(int depth, qint64 value) { element(depth, "integer"_L1, QString::number(value)); }
    QByteArray bytes() const { return m_text.toUtf8(); }

private:
    void element(int depth, QLatin1StringView tag, QStringView content)
    {
        m_text += QString(depth, u'\t') + u'<' + tag + u'>' + content + "</"_L1 + tag + ">\n"_L1;
    }

    QString m_text;
};

void writeStrings(PlistText &out, int depth, const QStringList &strings)
{
    if (strings.isEmpty()) {
        out.line(depth, "<array/>"_L1);
        return;
    }
    out.line(depth, "<array>"_L1);
    for (const QString &text : strings)
        out.string(depth + 1, text);
    out.line(depth, "</array>"_L1);
}

void writeVolume(PlistText &out, const APFSVolume &volume)
{
    out.line(4, "<dict>"_L1);
    out.key(5, "APFSVolumeUUID"_L1);
    out.string(5, volume.APFSVolumeUUID);
    out.key(5, "CapacityInUse"_L1);
    out.integer(5, volume.CapacityInUse);
    out.key(5, "Name"_L1);
    out.string(5, volume.Name);
    out.key(5, "Roles"_L1);
    writeStrings(out, 5, volume.Roles);
    out.line(4, "</dict>"_L1);
}

void writeContainer(PlistText &out, const APFSInfo &info)
{
    out.line(2, "<dict>"_L1);
    out.key(3, "APFSContainerUUID"_L1);
    out.string(3, info.APFSContainerUUID);
    out.key(3, "CapacityCeiling"_L1);
    out.integer(3, info.CapacityCeiling);
    out.key(3, "CapacityFree"_L1);
    out.integer(3, info.CapacityFree);
    out.key(3, "ContainerReference"_L1);
    out.string(3, info.ContainerReference);
    out.key(3, "Volumes"_L1);
    out.line(3, "<array>"_L1);
    for (const APFSVolume &volume : info.Volumes)
        writeVolume(out, volume);
    out.line(3, "</array>"_L1);
    out.line(2, "</dict>"_L1);
}

} // namespace

QString xmlEscaped(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (char32_t c : text.toUcs4())
        clean += QStringView(QChar::fromUcs4(isXmlChar(c) ? c : U'\uFFFD'));
    return clean.toHtmlEscaped().replace(u'\r', "&#13;"_L1);
}

QByteArray writePlist(const TopLevel &top)
{
    PlistText out;
    out.line(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"_L1);
    out.line(0, "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"_L1);
    out.line(0, "<plist version=\"1.0\">"_L1);
    out.line(0, "<dict>"_L1);
    out.key(1, "Containers"_L1);
    out.line(1, "<array>"_L1);
    for (const APFSInfo &info : top.Containers)
        writeContainer(out, info);
    out.line(1, "</array>"_L1);
    out.line(0, "</dict>"_L1);
    out.line(0, "</plist>"_L1);
    return out.bytes();
}
