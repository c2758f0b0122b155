#include "atomicfile.h"
#include "csvfield.h"
#include "csvtext.h"
#include "histories.h"
#include "historydecoder.h"
#include "historyencoder.h"
#include "scripts.h"

#include <QDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr uid_t nobody = 65534;
const QByteArray oldBytes = "old history\n";

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Each node of the folder as lstat sees it: name, kind, number, device.
QStringList nodes(const QString &folder)
{
    QStringList result;
    for (const QString &name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot)) {
        struct stat s {};
        lstat(qPrintable(folder + u'/' + name), &s);
        result << u"%1 %2 %3 %4"_s.arg(name).arg(s.st_mode).arg(s.st_ino).arg(s.st_rdev);
    }
    return result;
}

enum class Limit { FullDisk, FileSize, MountedOver };

// A container all of whose volume names are text.
ContainerInfo named(const QString &text)
{
    ContainerInfo container = sampleContainer(u"c"_s, 500, 120, 370);
    container.firstVolName = container.volNames = text;
    return container;
}

QString exported(const ContainerInfo &container)
{
    const auto entry = DataContainerInfo::fromContainer(container, 0.0, {});
    const auto rows = ContainerExport::fromEntries({entry}, container.conUUID);
    return QString::fromUtf8(rows ? csvText(*rows).value_or("") : "");
}

} // namespace

class TestFileSafety : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    // A folder of its own for the current row.
    QString rowFolder()
    {
        const QString folder = m_dir.filePath(QString::fromUtf8(QTest::currentDataTag()));
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    void specialTargetsAreRefused_data()
    {
        QTest::addColumn<uint>("node"); // made by mknod; 0: a folder, S_IFLNK: a link to /
        QTest::addColumn<QString>("reason");
        QTest::newRow("device") << uint(S_IFCHR) << u"a character device, not a regular file"_s;
        QTest::newRow("block device") << uint(S_IFBLK) << u"a block device, not a regular file"_s;
        QTest::newRow("socket") << uint(S_IFSOCK) << u"a socket, not a regular file"_s;
        QTest::newRow("folder") << 0u << u"a folder, not a regular file"_s;
        QTest::newRow("link to the root") << uint(S_IFLNK) << u"a folder, not a regular file"_s;
    }
    void specialTargetsAreRefused()
    {
        QFETCH(uint, node);
        const QString folder = rowFolder();
        const QString path = folder + u"/target"_s;
        const QByteArray name = QFile::encodeName(path);
        if (node == S_IFLNK)
            QVERIFY(QFile::link(u"/"_s, path));
        else if (node && mknod(name, node | 0600, makedev(1, 3)) != 0)
            QSKIP("cannot make a device node here (needs root)");
        if (!node)
            QVERIFY(QDir().mkdir(path));
        const QStringList before = nodes(folder);
        QString error;
        QVERIFY(!writeFileAtomically(path, "new", &error));
        QTEST(error, "reason");
        QCOMPARE(nodes(folder), before);
    }

    // As when root's cron job records into a user's history: owner and group stay, ours or not.
    void ownerAndModeAreKept_data()
    {
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("group");
        QTest::newRow("nobody's group") << uint(nobody) << uint(nobody);
        QTest::newRow("root's group") << uint(nobody) << 0u;
        QTest::newRow("only the group differs") << 0u << uint(nobody);
    }
    void ownerAndModeAreKept()
    {
        const int mode = 0640;
        QFETCH(uint, owner);
        QFETCH(uint, group);
        if (geteuid() != 0)
            QSKIP("only root can give a file to nobody");
        const QString path = m_dir.filePath(u"nobody's"_s);
        write(path, oldBytes);
        QCOMPARE(chown(qPrintable(path), owner, group), 0);
        QCOMPARE(chmod(qPrintable(path), mode_t(mode)), 0);
        QString error;
        QVERIFY2(writeFileAtomically(path, "new", &error), qPrintable(error));
        struct stat s {};
        QCOMPARE(stat(qPrintable(path), &s), 0);
        QCOMPARE(QList<uint>({s.st_uid, s.st_gid, s.st_mode & 07777}),
                 QList<uint>({owner, group, uint(mode)}));
        QCOMPARE(fileContents(path), QByteArray("new"));
    }

    // Only links of this user or root are followed: one another user planted
    // must not steer root's save anywhere.
    void linksOfOthersAreRefused_data()
    {
        QTest::addColumn<uint>("owner");
        QTest::addColumn<QString>("link");   // made in the row's folder
        QTest::addColumn<QString>("target"); // of the link
        QTest::addColumn<QString>("path");   // saved to
        QTest::newRow("own link") << 0u << u"h"_s << u"file"_s << u"h"_s;
        QTest::newRow("another's link") << uint(nobody) << u"h"_s << u"file"_s << u"h"_s;
        QTest::newRow("another's dangling link") << uint(nobody) << u"h"_s << u"new"_s << u"h"_s;
        QTest::newRow("another's folder link") << uint(nobody) << u"d"_s << u"."_s << u"d/file"_s;
    }
    void linksOfOthersAreRefused()
    {
        QFETCH(uint, owner);
        QFETCH(QString, link);
        QFETCH(QString, target);
        QFETCH(QString, path);
        if (geteuid() != 0)
            QSKIP("only root can give a link to nobody");
        const QString folder = rowFolder() + u'/';
        write(folder + u"file"_s, oldBytes);
        QVERIFY(QFile::link(target, folder + link));
        QCOMPARE(lchown(qPrintable(folder + link), owner, owner), 0);
        const QStringList before = nodes(folder);
        QString error;
        const bool written = writeFileAtomically(folder + path, "new", &error);
        QCOMPARE(written, owner == 0);
        if (!written) {
            QCOMPARE(error, u"will not follow the symbolic link "_s + folder + link +
                                u": it belongs to user nobody, neither to this user nor to root"_s);
            QCOMPARE(nodes(folder), before);
        }
        QCOMPARE(fileContents(folder + u"file"_s), written ? QByteArray("new") : oldBytes);
    }

    // A chain of links is followed as far as the kernel would, and no further.
    void linkChains_data()
    {
        QTest::addColumn<int>("links");
        QTest::newRow("40 links") << 40;
        QTest::newRow("41 links") << 41;
    }
    void linkChains()
    {
        QFETCH(int, links);
        const QString folder = rowFolder() + u"/l"_s;
        write(folder + u'0', oldBytes);
        for (int k = 1; k <= links; ++k)
            QVERIFY(QFile::link(u'l' + QString::number(k - 1), folder + QString::number(k)));
        QString error;
        const bool written = writeFileAtomically(folder + QString::number(links), "n", &error);
        QCOMPARE(written, links <= 40);
        QCOMPARE(fileContents(folder + u'0'), written ? QByteArray("n") : oldBytes);
        if (!written)
            QCOMPARE(error, qt_error_string(ELOOP));
    }

    // A save under the lock removes what a killed save of the file left, and nothing else.
    void leftoversOfAKilledSave()
    {
        const QString folder = m_dir.filePath(u"killed"_s) + u'/';
        QStringList kept{u".h.tmpabc12345"_s, u".h.tmpABC1234"_s, u".g.tmp0000000"_s,
                         u"h.tmp0000000"_s,   u".h.tmp7654321"_s, u".h.tmp1234567"_s};
        QVERIFY(QDir().mkpath(folder + kept[5]) && QFile::link(u"h"_s, folder + kept[4]));
        for (const QString &name : {u".h.tmpz0a9b8c"_s, kept[0], kept[1], kept[2], kept[3]})
            write(folder + name, oldBytes);
        QString error;
        QVERIFY2(writeFileAtomically(folder + u'h', "new", &error, Leftovers::Remove),
                 qPrintable(error));
        QStringList found = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                   QDir::NoDotAndDotDot);
        kept << u"h"_s;
        found.sort(), kept.sort();
        QCOMPARE(found, kept);
    }

    void limitsFailTheSaveAndKeepTheFile_data()
    {
        QTest::addColumn<Limit>("limit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << Limit::FullDisk << u"No space left on device"_s;
        QTest::newRow("file size limit") << Limit::FileSize << u"File too large"_s;
        // A file bind-mounted over the history, as containers do: the rename fails.
        QTest::newRow("mounted over") << Limit::MountedOver << u"Device or resource busy"_s;
    }
    void limitsFailTheSaveAndKeepTheFile()
    {
        QFETCH(Limit, limit);
        const QString folder = rowFolder();
        if (limit == Limit::FullDisk &&
            mount("tmpfs", qPrintable(folder), "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        const QString path = folder + u"/history.json"_s;
        const auto unmount =
            qScopeGuard([&] { umount(qPrintable(path)), umount(qPrintable(folder)); });
        write(path, oldBytes);
        if (limit == Limit::MountedOver &&
            mount(qPrintable(path), qPrintable(path), nullptr, MS_BIND, nullptr) != 0)
            QSKIP("cannot bind-mount a file here (needs root)");
        QFile filler(folder + u"/filler"_s); // takes the room left on the small disk
        if (limit == Limit::FullDisk && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            filler.write(QByteArray(64 * 1024, 'x'));
        const QStringList before = nodes(folder);
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        rlimit small{limit == Limit::FileSize ? 4096 : unlimited.rlim_cur, unlimited.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        QString error;
        const bool written = writeFileAtomically(path, QByteArray(16 * 1024, 'n'), &error);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(!written);
        QTEST(error, "reason");
        QCOMPARE(fileContents(path), oldBytes);
        QCOMPARE(nodes(folder), before);
    }

    void textFieldsStayData_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field"); // as a spreadsheet reads it, never a formula
        QTest::newRow("quote") << u"say \"hi\""_s << u"\"say \"\"hi\"\"\""_s;
        QTest::newRow("newline") << u"two\nlines"_s << u"\"two\nlines\""_s;
        QTest::newRow("=") << u"=HYPERLINK(\"http://x\",\"y\")"_s
                           << u"\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""_s;
        QTest::newRow("+ and comma") << u"+1+2, Data"_s << u"\"'+1+2, Data\""_s;
        QTest::newRow("@") << u"@SUM(A1)"_s << u"\"'@SUM(A1)\""_s;
        QTest::newRow("tab") << u"\tx"_s << u"\"'\tx\""_s;
    }
    void textFieldsStayData()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(csvField(text), field);
        const QString csv = exported(named(text));
        QVERIFY2(csv.endsWith(u"\n\n" + field + u"\nCapacity: 500"), qPrintable(csv));
        QCOMPARE(named(text).copyText(), u"disk-c,"_s + field + u",500,120,370,UUID-c"_s);
    }

    void duplicateKeysAreRejected_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("where"); // the error: where, then the key
        QTest::newRow("date") << u"\"date\":"_s << uR"("date":1,"date":)"_s << u"reading 1"_s;
        QTest::newRow("id") << u"\"conRef\":"_s << uR"("\u0069d":"x","conRef":)"_s
                            << u"reading 1, container 1"_s;
        QTest::newRow("a") << u"\"conRef\":"_s << uR"("x":{"a":[],"b":0,"a":1},"conRef":)"_s
                           << u"reading 1, container 1"_s;
    }
    void duplicateKeysAreRejected()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, where);
        QByteArray json = encodeHistory(sampleHistory(1, 1)).value();
        QString error;
        QVERIFY(!decodeHistory(json.replace(from.toUtf8(), to.toUtf8()), &error));
        QCOMPARE(error, where + u": duplicate key \""_s +
                            QString::fromUtf8(QTest::currentDataTag()) + u'"');
    }
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "tst_filesafety.moc"
