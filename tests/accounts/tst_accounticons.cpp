// The account items' pictures as the lists show them.

#include "accounticons.h"

#include <QIcon>
#include <QImage>
#include <QtTest>

class tst_AccountIcons : public QObject
{
    Q_OBJECT

private slots:
    void keyColourNeverShows_data();
    void keyColourNeverShows();
};

void tst_AccountIcons::keyColourNeverShows_data()
{
    QTest::addColumn<QString>("picture");
    QTest::newRow("user") << "user";
    QTest::newRow("group") << "group";
    QTest::newRow("template") << "template";
}

// 16 pixels square, see-through at the corners, and no magenta left anywhere it is not,
// not even in a gap the edge cannot reach.
void tst_AccountIcons::keyColourNeverShows()
{
    QFETCH(QString, picture);
    const QIcon& icon = picture == "user"    ? AccountIcons::user()
                        : picture == "group" ? AccountIcons::group()
                                             : AccountIcons::userTemplate();
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(16, 16));
    QCOMPARE(qAlpha(image.pixel(0, 15)), 0);
    QCOMPARE(qAlpha(image.pixel(15, 15)), 0);
    int opaquePixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            ++opaquePixels;
            QVERIFY2(QColor(pixel) != QColor(Qt::magenta), qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(opaquePixels > 64);
}

QTEST_MAIN(tst_AccountIcons)
#include "tst_accounticons.moc"
