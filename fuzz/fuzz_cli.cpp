// Feeds the command-line tool arbitrary argument lists: the input's lines are
// the words after "quillbank-cli".
//
// The fuzzer must never run a real program or touch the user's files:
// - the commands that run the listing tool (list, record) only have their
//   words checked by the argument parser, with the options they accept; their
//   --probe value could otherwise name any program on the PATH, and without
//   it the machine's listing program would run on every input;
// - no word may contain '/', and the target works in a scratch folder of its
//   own, so every file a command reads or writes (a history, a CSV's -o
//   FILE) is a name in that folder. It holds a valid and an invalid history
//   so the file-reading commands get past their first checks, and is the
//   per-user data folder, so that a command without HISTORY reads none of
//   the user's.
#include "cli.h"
#include "commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const QByteArray validHistory =
    R"([{"id":"0D1A6E54-7B43-4F0C-9C4E-5C2A1E1B9F00","date":700000000.0,"containers":[)"
    R"({"id":"1D1A6E54-7B43-4F0C-9C4E-5C2A1E1B9F00","conUUID":"C-1","conRef":"disk2",)"
    R"("capacity":1000,"free":400,"volNames":"A, B","firstVolName":"A","totalUsed":600}]},)"
    R"({"id":"2D1A6E54-7B43-4F0C-9C4E-5C2A1E1B9F00","date":700086400.0,"containers":[)"
    R"({"id":"3D1A6E54-7B43-4F0C-9C4E-5C2A1E1B9F00","conUUID":"C-1","conRef":"disk2",)"
    R"("capacity":1000,"free":300,"volNames":"A, B","firstVolName":"A","totalUsed":700}]}])";

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("fuzz_cli: cannot prepare %s", qPrintable(name));
}

// The scratch folder as every input finds it: the two histories only.
void writeHistories()
{
    QDir scratch = QDir::current();
    for (const QString &name : scratch.entryList(QDir::Files | QDir::Hidden))
        scratch.remove(name);
    writeFile(QStringLiteral("h.json"), validHistory);
    writeFile(QStringLiteral("bad.json"), "[{\"id\":1}]");
}

// Words of the commands that run the listing tool, checked by the parser
// alone with the options those commands accept.
bool parsedOnly(const QStringList &words)
{
    const QString command = words.value(0);
    if (command != u"list" && command != u"record")
        return false;
    CommandLine line(command == u"list" ? listCommand() : recordCommand());
    if (line.parse(QStringList{QStringLiteral("quillbank-cli")} + words))
        (void)probeProgram(line);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path()))
        qFatal("fuzz_cli: no scratch folder");
    qputenv("XDG_DATA_HOME", scratch.path().toUtf8());
    writeHistories();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (text.contains(u'/'))
        return -1; // keep out of the corpus: it could name a file outside the scratch folder
    const QStringList words = text.split(u'\n');
    if (parsedOnly(words))
        return 0;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status =
        runCli(QStringList{QStringLiteral("quillbank-cli")} + words, outStream, errStream);
    errStream.flush();
    // csv -o and metrics -o may have written a file or overwritten a history;
    // the next input must find the folder as every input does, or a crash
    // would not reproduce.
    if (words.first() == u"csv" || words.first() == u"metrics")
        writeHistories();
    // Every failure explains itself on standard error, with the tool's name;
    // check, a monitoring plugin, in its status line.
    if (status != 0 && !err.startsWith(u"quillbank-cli: ") &&
        !(words.first() == u"check" && out.startsWith(u"QUILLBANK ")))
        __builtin_trap();
    return 0;
}
