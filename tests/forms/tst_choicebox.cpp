// A choice box shows a stored text too long for it shortened where its reading stops: the
// ellipsis of a text that begins in Arabic or Hebrew stands at the left, as a label and a line
// edit show it, and at the right for a text that begins in a left-to-right script. Judged from
// what the screen shows (grab()), where a rendering into another device lays text out otherwise.

#include "choicebox.h"

#include <QImage>
#include <QPixmap>
#include <QTest>

#include <memory>
#include <optional>

namespace {

constexpr int BoxWidth = 220;

QString times(const QString& text, int count)
{
    QStringList copies;
    for (int i = 0; i < count; ++i)
        copies.append(text);
    return copies.join(QLatin1Char(' '));
}

// A box of a fixed width showing `text` alone, shown, with or without a picture.
std::unique_ptr<ChoiceBox> boxShowing(const QString& text, bool picture)
{
    auto box = std::make_unique<ChoiceBox>();
    QPixmap icon(16, 16);
    icon.fill(Qt::darkCyan);
    if (picture)
        box->addItem(QIcon(icon), text);
    else
        box->addItem(text);
    box->setFocusPolicy(Qt::NoFocus);
    box->setFixedWidth(BoxWidth);
    box->show();
    return box;
}

QImage screenPicture(const QString& text, bool picture)
{
    const std::unique_ptr<ChoiceBox> box = boxShowing(text, picture);
    if (!QTest::qWaitForWindowExposed(box.get()))
        return QImage();
    return box->grab().toImage();
}

// The columns, in the screen's pixels, where `one` and `other` differ; none where they match.
std::optional<std::pair<int, int>> differingColumns(const QImage& one, const QImage& other)
{
    std::optional<std::pair<int, int>> columns;
    for (int x = 0; x < one.width(); ++x) {
        for (int y = 0; y < one.height(); ++y) {
            if (one.pixel(x, y) != other.pixel(x, y)) {
                columns = {columns ? columns->first : x, x};
                break;
            }
        }
    }
    return columns;
}

bool sameColumns(const QImage& one, const QImage& other, std::pair<int, int> columns)
{
    for (int x = columns.first; x <= columns.second; ++x) {
        for (int y = 0; y < one.height(); ++y) {
            if (one.pixel(x, y) != other.pixel(x, y))
                return false;
        }
    }
    return true;
}

} // namespace

class TestChoiceBox : public QObject
{
    Q_OBJECT

private slots:
    void shortenedWhereItsReadingStops_data();
    void shortenedWhereItsReadingStops();
};

void TestChoiceBox::shortenedWhereItsReadingStops_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<bool>("ellipsisAtTheLeft");

    const QString arabic = times(QStringLiteral("مجموعة عناوين المكتب الرئيسي"), 6);
    const QString hebrew = times(QStringLiteral("כתובות המשרד הראשי בקומה השנייה"), 6);
    const QString latin = times(QStringLiteral("Admin hosts of the lakeside office"), 6);
    QTest::newRow("Arabic") << arabic << false << true;
    QTest::newRow("Hebrew") << hebrew << false << true;
    QTest::newRow("Arabic, with a picture") << arabic << true << true;
    QTest::newRow("Arabic, then Latin") << QStringLiteral("مكتب ") + latin << false << true;
    QTest::newRow("a number, then Arabic") << QStringLiteral("2 ") + arabic << false << true;
    QTest::newRow("Latin") << latin << false << false;
    QTest::newRow("Latin, with a picture") << latin << true << false;
    QTest::newRow("Latin, then Arabic") << QStringLiteral("Office ") + arabic << false << false;
}

// The box shortened shows its ellipsis at the left exactly where a box showing the ellipsis
// alone shows it: at the start of the box's text room.
void TestChoiceBox::shortenedWhereItsReadingStops()
{
    QFETCH(QString, text);
    QFETCH(bool, picture);
    QFETCH(bool, ellipsisAtTheLeft);

    const std::unique_ptr<ChoiceBox> box = boxShowing(text, picture);
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QVERIFY(!box->showsItAll());
    QVERIFY(box->shownText().endsWith(QChar(0x2026)));
    const QImage shortened = box->grab().toImage();

    const QImage ellipsis = screenPicture(QString(QChar(0x2026)), picture);
    const QImage blank = screenPicture(QString(), picture);
    QCOMPARE(shortened.size(), ellipsis.size());
    const std::optional<std::pair<int, int>> ellipsisColumns = differingColumns(ellipsis, blank);
    QVERIFY(ellipsisColumns);
    QCOMPARE(sameColumns(shortened, ellipsis, *ellipsisColumns), ellipsisAtTheLeft);
}

QTEST_MAIN(TestChoiceBox)
#include "tst_choicebox.moc"
