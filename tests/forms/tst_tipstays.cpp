// On a real window system (an X server), with everything one and a half times its usual
// size: a label showing a text of 2,000 characters shortened tells it in a tip that lies
// beside the pointer and stays while the pointer rests on the label, wherever the pointer
// rests. A tip over the pointer would take the pointer from the label, and the toolkit hides
// a tip whose widget the pointer leaves.

#include "shortenedlabel.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

namespace {

QWidget* shownTip()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            return window;
    }
    return nullptr;
}

QString words(int length)
{
    QString text;
    while (text.size() < length)
        text += QLatin1String("word ");
    return text + QLatin1String("end2000sp");
}

} // namespace

class tst_TipStays : public QObject
{
    Q_OBJECT

private slots:
    void tipStaysWhileThePointerRests_data();
    void tipStaysWhileThePointerRests();
};

void tst_TipStays::tipStaysWhileThePointerRests_data()
{
    QTest::addColumn<QPointF>("at"); // where the pointer rests, as a share of the screen
    QTest::newRow("the middle") << QPointF(0.5, 0.5);
    QTest::newRow("left of the middle") << QPointF(0.3, 0.5);
    QTest::newRow("right of the middle") << QPointF(0.7, 0.5);
    QTest::newRow("near the bottom") << QPointF(0.5, 0.95);
}

void tst_TipStays::tipStaysWhileThePointerRests()
{
    QFETCH(QPointF, at);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget window;
    window.setAttribute(Qt::WA_AlwaysShowToolTips); // no window manager makes it active
    window.setGeometry(screen);
    auto* label = new ShortenedLabel(&window);
    label->setText(words(2000));
    (new QVBoxLayout(&window))->addWidget(label);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QPoint pointer(screen.left() + int(at.x() * screen.width()), screen.top() + int(at.y() * screen.height()));
    // The toolkit asks for a tip once the pointer has come to rest over a widget.
    QCursor::setPos(pointer - QPoint(10, 10));
    QTest::qWait(50);
    QCursor::setPos(pointer);
    QVERIFY(QTest::qWaitFor([] { return shownTip() != nullptr; }, 5000));
    const QPointer<QWidget> tip = shownTip();
    const QRect shown = tip->frameGeometry();
    // The toolkit would have hidden a tip the pointer left the label for within this time.
    QTest::qWait(1500);
    QVERIFY2(tip && tip->isVisible(), "the tip went");
    QCOMPARE(QApplication::widgetAt(QCursor::pos()), static_cast<QWidget*>(label));
    QVERIFY(!shown.contains(pointer));
}

// The size of everything, as the console runs with QT_FONT_DPI=144; the platform is the X
// server the test is run on.
int main(int argc, char** argv)
{
    qputenv("QT_FONT_DPI", "144");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    tst_TipStays test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tipstays.moc"
