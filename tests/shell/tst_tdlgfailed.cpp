// The connection-failure dialog's form: widgets, names, layout and its one way out.

#include "tdlgfailed.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QtTest>

class TestTDlgFailed : public QObject
{
    Q_OBJECT

private slots:
    void namesAndTexts();
    void givenName();
    void initialSizeAndIcon();
    void layout();
    void okAccepts();
};

void TestTDlgFailed::namesAndTexts()
{
    TDlgFailed dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("TDlgFailed"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ornel Administration Console"));
    QCOMPARE(dialog.PixmapLabel1->objectName(), QStringLiteral("PixmapLabel1"));
    QCOMPARE(dialog.m_lbError->objectName(), QStringLiteral("m_lbError"));
    QCOMPARE(dialog.m_lbDesc->objectName(), QStringLiteral("m_lbDesc"));
    QCOMPARE(dialog.GroupBox1->objectName(), QStringLiteral("GroupBox1"));
    QCOMPARE(dialog.m_lbReasons->objectName(), QStringLiteral("m_lbReasons"));
    QCOMPARE(dialog.PushButton5->objectName(), QStringLiteral("PushButton5"));

    QCOMPARE(dialog.m_lbError->text(), QStringLiteral("Failed to connect to the server application."));
    QVERIFY(dialog.m_lbError->font().bold());
    QVERIFY(dialog.m_lbDesc->text().isEmpty());
    QVERIFY(dialog.m_lbReasons->text().isEmpty());
    QVERIFY(dialog.GroupBox1->title().isEmpty());
    QCOMPARE(dialog.m_lbReasons->parentWidget(), dialog.GroupBox1);
    QCOMPARE(dialog.PushButton5->text(), QStringLiteral("&OK"));
}

void TestTDlgFailed::givenName()
{
    QWidget parent;
    TDlgFailed dialog(&parent, "failed", true);
    QCOMPARE(dialog.objectName(), QStringLiteral("failed"));
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.parentWidget(), &parent);
}

void TestTDlgFailed::initialSizeAndIcon()
{
    TDlgFailed dialog;
    QCOMPARE(dialog.size(), QSize(383, 164));
    QVERIFY(dialog.PixmapLabel1->hasScaledContents());
    QCOMPARE(dialog.PixmapLabel1->pixmap().size(), QSize(39, 40));
    QVERIFY(dialog.windowIcon().availableSizes().contains(QSize(16, 16)));
}

void TestTDlgFailed::layout()
{
    TDlgFailed dialog;
    auto* top = qobject_cast<QVBoxLayout*>(dialog.layout());
    QVERIFY(top);
    QCOMPARE(top->objectName(), QStringLiteral("TDlgFailedLayout"));
    QCOMPARE(top->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(top->spacing(), 6);
    QCOMPARE(top->count(), 5);

    // The picture, the bold line and a spacer that takes the rest of the row.
    auto* picture = qobject_cast<QHBoxLayout*>(top->itemAt(0)->layout());
    QVERIFY(picture);
    QCOMPARE(picture->objectName(), QStringLiteral("Layout4"));
    QCOMPARE(picture->spacing(), 6);
    QCOMPARE(picture->count(), 3);
    QCOMPARE(picture->itemAt(0)->widget(), dialog.PixmapLabel1);
    QCOMPARE(picture->itemAt(1)->widget(), dialog.m_lbError);
    QVERIFY(picture->itemAt(2)->spacerItem());
    QVERIFY(picture->itemAt(2)->expandingDirections() & Qt::Horizontal);

    QCOMPARE(top->itemAt(1)->widget(), dialog.m_lbDesc);
    QCOMPARE(top->itemAt(2)->widget(), dialog.GroupBox1);
    QVERIFY(top->itemAt(3)->spacerItem());
    QVERIFY(top->itemAt(3)->expandingDirections() & Qt::Vertical);

    // The button stands centred between two spacers.
    auto* buttons = qobject_cast<QHBoxLayout*>(top->itemAt(4)->layout());
    QVERIFY(buttons);
    QCOMPARE(buttons->objectName(), QStringLiteral("Layout5"));
    QCOMPARE(buttons->count(), 3);
    QVERIFY(buttons->itemAt(0)->spacerItem());
    QCOMPARE(buttons->itemAt(1)->widget(), dialog.PushButton5);
    QVERIFY(buttons->itemAt(2)->spacerItem());

    auto* panel = qobject_cast<QVBoxLayout*>(dialog.GroupBox1->layout());
    QVERIFY(panel);
    QCOMPARE(panel->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(panel->spacing(), 6);
    QCOMPARE(panel->alignment(), Qt::AlignTop);
    QCOMPARE(panel->count(), 1);
    QCOMPARE(panel->itemAt(0)->widget(), dialog.m_lbReasons);
}

void TestTDlgFailed::okAccepts()
{
    TDlgFailed dialog;
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.show();
    QTest::mouseClick(dialog.PushButton5, Qt::LeftButton);
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestTDlgFailed)
#include "tst_tdlgfailed.moc"
