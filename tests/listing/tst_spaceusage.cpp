#include "spaceusage.h"

#include <QTest>

#include <limits>

class TestSpaceUsage : public QObject
{
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
};

namespace {
constexpr quint64 int64Max = quint64(std::numeric_limits<qint64>::max());
}

void TestSpaceUsage::converts_data()
{
    QTest::addColumn<SpaceUsage>("usage");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<ByteSizes>("expected");
    // the root filesystem of this project's build machine
    QTest::newRow("ext4 with reserved blocks")
        << SpaceUsage{66053021, 61835793, 20867069, 4096, 1} << true
        << ByteSizes{270553174016, 85471514624, 17273765888};
    QTest::newRow("empty filesystem") << SpaceUsage{0, 0, 0, 4096, 1} << true << ByteSizes{};
    QTest::newRow("full") << SpaceUsage{100, 0, 0, 512, 1} << true << ByteSizes{51200, 0, 51200};
    QTest::newRow("largest that fits")
        << SpaceUsage{int64Max, int64Max, 0, 1, 1} << true << ByteSizes{qint64(int64Max), 0, 0};
    QTest::newRow("capacity beyond int64")
        << SpaceUsage{quint64(1) << 52, 0, 0, 4096, 1} << false << ByteSizes{};
    QTest::newRow("wraps in 64 bits unsigned")
        << SpaceUsage{quint64(1) << 60, 0, 0, 1 << 8, 1} << false << ByteSizes{};
    QTest::newRow("count just beyond int64")
        << SpaceUsage{int64Max + 1, int64Max + 1, 0, 1, 1} << false << ByteSizes{};
    QTest::newRow("more free than exists")
        << SpaceUsage{100, 101, 0, 4096, 1} << false << ByteSizes{};
    QTest::newRow("more available than exists")
        << SpaceUsage{100, 50, 101, 4096, 1} << false << ByteSizes{};
}

void TestSpaceUsage::converts()
{
    QFETCH(SpaceUsage, usage);
    QFETCH(bool, valid);
    QFETCH(ByteSizes, expected);
    const auto sizes = byteSizes(usage);
    QCOMPARE(sizes.has_value(), valid);
    if (valid)
        QCOMPARE(*sizes, expected);
}

QTEST_APPLESS_MAIN(TestSpaceUsage)
#include "tst_spaceusage.moc"
