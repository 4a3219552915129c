// The tool tip that tells a stored text whole, on a 1280 by 800 screen with everything one and
// a half times its usual size: it lies within the screen's free area and beside the pointer,
// never under it, wherever the pointer rests; it tells a text whole in lines of at most 80
// characters, widened toward the screen's width where that many lines would not fit beside
// the pointer; only a text no tip there could hold is told as far as it fits, ending with an
// ellipsis.

#include "showntip.h"
#include "wholetexttip.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QToolTip>

#include <algorithm>

namespace {

// Words up to about `length` characters, the last of them `end`: "word word … end2000".
QString words(int length, const QString& end)
{
    QString text;
    while (text.size() + end.size() < length)
        text += QLatin1String("word ");
    return text + end;
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Office LAN %1").arg(i));
    return lines.join(QLatin1Char('\n'));
}

// Characters as a reader counts them.
qsizetype charactersIn(const QString& line)
{
    qsizetype count = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

enum class Told { Whole, InLongLines, InPart };

} // namespace

Q_DECLARE_METATYPE(Told)

class tst_WholeTextTip : public QObject
{
    Q_OBJECT

private slots:
    void besideThePointerWithinTheScreen_data();
    void besideThePointerWithinTheScreen();
};

void tst_WholeTextTip::besideThePointerWithinTheScreen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at"); // where the pointer rests, as a share of the screen
    QTest::addColumn<Told>("told");

    const QString twoThousand = words(2000, QStringLiteral("end2000sp"));
    const QList<std::pair<const char*, QPointF>> places{
        {"the middle", {0.5, 0.5}},      {"the top left corner", {0.01, 0.01}},
        {"the top right corner", {0.99, 0.01}}, {"the bottom left corner", {0.01, 0.99}},
        {"the bottom right corner", {0.99, 0.99}}, {"the left edge", {0.0, 0.5}},
        {"the right edge", {1.0, 0.5}},  {"the top edge", {0.5, 0.0}},
        {"the bottom edge", {0.5, 1.0}}};
    for (const auto& [name, at] : places) {
        QTest::addRow("300 characters at %s", name) << words(300, QStringLiteral("end300")) << at << Told::Whole;
        QTest::addRow("2,000 characters at %s", name) << twoThousand << at << Told::Whole;
    }
    QTest::newRow("3,500 characters near the top left corner")
        << words(3500, QStringLiteral("end3500")) << QPointF(0.02, 0.02) << Told::InLongLines;
    QTest::newRow("a word of 2,000 characters near the top left corner")
        << QString(2000, QLatin1Char('w')) << QPointF(0.02, 0.02) << Told::Whole;
    QTest::newRow("5,000 characters near the top left corner")
        << words(5000, QStringLiteral("end5000")) << QPointF(0.02, 0.02) << Told::InPart;
    QTest::newRow("5,000 characters at the middle") << words(5000, QStringLiteral("end5000")) << QPointF(0.5, 0.5)
                                                    << Told::InPart;
    QTest::newRow("100,000 characters at the middle") << words(100000, QStringLiteral("end")) << QPointF(0.5, 0.5)
                                                      << Told::InPart;
    QTest::newRow("60 lines of its own") << numberedLines(60) << QPointF(0.3, 0.02) << Told::InPart;
    QTest::newRow("20 lines of its own") << numberedLines(20) << QPointF(0.3, 0.02) << Told::Whole;

    const auto repeated = [](const QString& piece, int length) {
        QString text;
        while (text.size() < length)
            text += piece;
        return text;
    };
    QTest::newRow("1,500 characters of Arabic at the middle")
        << repeated(QStringLiteral("مَرْحَبًا بِالعَالَمِ "), 1500) << QPointF(0.5, 0.5) << Told::Whole;
    QTest::newRow("500 characters with tabs at the middle")
        << repeated(QStringLiteral("Office\tLAN\t\t"), 500) << QPointF(0.5, 0.5) << Told::Whole;
    QTest::newRow("500 characters of emoji at the middle")
        << repeated(QStringLiteral("📧🌙🚚 "), 500) << QPointF(0.5, 0.5) << Told::Whole;
    // Characters that take no room at all.
    QTest::newRow("50,000 zero-width spaces at the middle") << QString(50000, QChar(0x200B)) << QPointF(0.5, 0.5)
                                                            << Told::InPart;
}

namespace {

// The largest of the rooms beside the pointer: below, above, right or left of where its
// shape reaches.
QRect largestRoomBeside(const QPoint& pointer, const QRect& free)
{
    const QRect reach(pointer - QPoint(WholeTextTip::PointerReachBefore, WholeTextTip::PointerReachBefore),
                      pointer + QPoint(WholeTextTip::PointerReachAfter, WholeTextTip::PointerReachAfter));
    const QList<QRect> rooms{QRect(QPoint(free.left(), reach.bottom() + 1), free.bottomRight()),
                             QRect(free.topLeft(), QPoint(free.right(), reach.top() - 1)),
                             QRect(QPoint(reach.right() + 1, free.top()), free.bottomRight()),
                             QRect(free.topLeft(), QPoint(reach.left() - 1, free.bottom()))};
    return *std::max_element(rooms.cbegin(), rooms.cend(), [](const QRect& a, const QRect& b) {
        return qint64(qMax(0, a.width())) * qMax(0, a.height()) < qint64(qMax(0, b.width())) * qMax(0, b.height());
    });
}

} // namespace

// The tip on the screen: within the free area, clear of where the pointer's shape may reach,
// telling the whole text (its own line breaks breaking lines), in lines of at most 80
// characters unless they had to be longer, or, where no tip beside the pointer could hold
// it, the beginning of the text and an ellipsis, in as much of the largest room beside the
// pointer as its lines fill.
void tst_WholeTextTip::besideThePointerWithinTheScreen()
{
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    QFETCH(Told, told);

    QWidget widget;
    widget.resize(200, 40);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    const QRect free = widget.screen()->availableGeometry();
    const QPoint pointer(qMin(free.right(), free.left() + int(at.x() * free.width())),
                         qMin(free.bottom(), free.top() + int(at.y() * free.height())));

    if (QLabel* previous = ShownTip::label())
        previous->hide();
    WholeTextTip::show(pointer, text, &widget);
    const QLabel* tip = ShownTip::label();
    QVERIFY(tip);
    const QRect frame = tip->frameGeometry();
    const auto where = [&frame] {
        return QStringLiteral("tip %1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
    };
    QVERIFY2(free.contains(frame), qPrintable(where()));
    const QRect reach(pointer - QPoint(WholeTextTip::PointerReachBefore, WholeTextTip::PointerReachBefore),
                      pointer + QPoint(WholeTextTip::PointerReachAfter, WholeTextTip::PointerReachAfter));
    QVERIFY2(!frame.intersects(reach), qPrintable(where()));

    const QStringList lines = ShownTip::lines();
    const QString unbroken = QString(text).remove(QRegularExpression(QStringLiteral("[\r\n\u2028\u2029]")));
    qsizetype longest = 0;
    for (const QString& line : lines)
        longest = qMax(longest, charactersIn(line));
    if (told == Told::InPart) {
        QVERIFY(lines.last().endsWith(QChar(0x2026)));
        const QString shown = lines.join(QString()).chopped(1);
        QVERIFY(shown.size() > 300);
        QVERIFY(unbroken.startsWith(shown));
        const QRect room = largestRoomBeside(pointer, free);
        const int lineHeight = QFontMetrics(QToolTip::font()).lineSpacing();
        QVERIFY2(room.contains(frame) && frame.height() > room.height() - 3 * lineHeight, qPrintable(where()));
        return;
    }
    QCOMPARE(lines.join(QString()), unbroken);
    QCOMPARE(longest > 80, told == Told::InLongLines);
}

// The screen the tips are told on, whatever screen the tests are otherwise given, and its
// fonts.
int main(int argc, char** argv)
{
    QTemporaryDir folder;
    const QJsonObject screen{{"name", "Wide"}, {"x", 0}, {"y", 0}, {"width", 1280}, {"height", 800},
                             {"logicalDpi", 96}, {"logicalBaseDpi", 96}, {"dpr", 1}};
    const QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screen}}}).toJson()) < 0)
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    qputenv("QT_FONT_DPI", "144");
    QApplication application(argc, argv);
    tst_WholeTextTip test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wholetexttip.moc"
