// The entry record and the descriptor as the host reads them.

#include "ornelplugin.h"

#include <QImage>
#include <QPixmap>
#include <QtTest>

namespace {

bool cornersTransparent(const QImage& image)
{
    const int w = image.width() - 1;
    const int h = image.height() - 1;
    return qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(w, 0)) == 0
           && qAlpha(image.pixel(0, h)) == 0 && qAlpha(image.pixel(w, h)) == 0;
}

const QPixmap& iconOf(const ModuleDescriptor& d, int size)
{
    return size == 16 ? d.smallIcon : size == 32 ? d.mediumIcon : d.largeIcon;
}

} // namespace

class TestPluginEntry : public QObject
{
    Q_OBJECT

private slots:
    void entryRecord();
    void numbersAndTexts();
    void words();
    void icons_data();
    void icons();
    void splash();
    void secondCallGivesTheSame();
};

void TestPluginEntry::entryRecord()
{
    QCOMPARE(init_interface.version, 5);
    QVERIFY(init_interface.module_init == &module_init);
    QVERIFY(init_interface.module_connect == &module_connect);
}

void TestPluginEntry::numbersAndTexts()
{
    const ModuleDescriptor* d = module_init();
    QVERIFY(d);
    const QList<qint32> numbers(std::begin(d->numbers), std::end(d->numbers));
    QCOMPARE(numbers, (QList<qint32>{2, 5, 0, 2, 44337, 17}));
    QCOMPARE(d->productName, QStringLiteral("Ornel Corvane"));
    QVERIFY(d->secondText.isEmpty());
    QCOMPARE(d->moduleStem, QStringLiteral("ornelcon"));
}

void TestPluginEntry::words()
{
    const ModuleDescriptor* d = init_interface.module_init();
    QCOMPARE(d->words[0], 0u);
    QCOMPARE(d->words[1], 0u);
    QCOMPARE(d->words[2], 0u);
    QVERIFY(d->module_connect == &module_connect);
}

void TestPluginEntry::icons_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("small") << 16;
    QTest::newRow("medium") << 32;
    QTest::newRow("large") << 48;
}

void TestPluginEntry::icons()
{
    QFETCH(int, size);
    const QPixmap& icon = iconOf(*module_init(), size);
    QCOMPARE(icon.size(), QSize(size, size));
    const QImage image = icon.toImage();
    // The magenta background is masked away; the monitor in the middle is not.
    QVERIFY(cornersTransparent(image));
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) != 0)
                QVERIFY2(QColor(p) != QColor(Qt::magenta),
                         qPrintable(QStringLiteral("magenta shows at %1,%2").arg(x).arg(y)));
        }
    }
}

void TestPluginEntry::splash()
{
    const QImage& splash = module_init()->splash;
    QCOMPARE(splash.size(), QSize(400, 290));
    QCOMPARE(splash.format(), QImage::Format_Indexed8);
}

void TestPluginEntry::secondCallGivesTheSame()
{
    ModuleDescriptor* first = module_init();
    const QImage small = first->smallIcon.toImage();
    const QImage large = first->largeIcon.toImage();
    const QImage splash = first->splash;

    ModuleDescriptor* second = module_init();
    QCOMPARE(second, first);
    QCOMPARE(second->numbers[4], 44337);
    QCOMPARE(second->moduleStem, QStringLiteral("ornelcon"));
    QCOMPARE(second->smallIcon.toImage(), small);
    QCOMPARE(second->largeIcon.toImage(), large);
    QCOMPARE(second->splash, splash);
    QVERIFY(second->module_connect == &module_connect);
}

QTEST_MAIN(TestPluginEntry)
#include "tst_pluginentry.moc"
