// The widgets that show texts the server stores: a choice box and a label ask for the room of
// their text only up to the widest text they allow, and tell a text they show shortened whole
// as a tool tip, in lines a screen can hold; the text itself stays as it is.

#include "choicebox.h"
#include "shortenedlabel.h"
#include "shortenedtext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace {

enum class Kind { ChoiceBox, EditableBox, Label };

// The widget showing text, shown at its size hint; a choice box has a short entry before it.
std::unique_ptr<QWidget> showing(Kind kind, const QString& text)
{
    std::unique_ptr<QWidget> widget;
    if (kind == Kind::Label) {
        widget = std::make_unique<ShortenedLabel>();
        static_cast<QLabel*>(widget.get())->setText(text);
    } else {
        auto box = std::make_unique<ChoiceBox>();
        box->setEditable(kind == Kind::EditableBox);
        box->addItems({QStringLiteral("Office LAN"), text});
        box->setCurrentIndex(1);
        widget = std::move(box);
    }
    // A box measures its entries as it shows first.
    widget->show();
    widget->resize(widget->sizeHint());
    return widget;
}

// The same text in the toolkit's own widget, shown: a box measures its entries as it shows
// first.
QSize plainHint(Kind kind, const QString& text)
{
    if (kind == Kind::Label)
        return QLabel(text).sizeHint();
    QComboBox box;
    box.setEditable(kind == Kind::EditableBox);
    box.addItems({QStringLiteral("Office LAN"), text});
    box.setCurrentIndex(1);
    box.show();
    return box.sizeHint();
}

QString currentText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return static_cast<const QComboBox*>(widget)->currentText();
}

QString shownText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const ShortenedLabel*>(widget))
        return label->shownText();
    return static_cast<const ChoiceBox*>(widget)->shownText();
}

// The tool tip a rest of the mouse over `at` in `widget` brings; empty for none.
QString toolTipAt(QWidget* widget, const QPoint& at)
{
    // A tool tip told to go fades out first.
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("a tool tip that stays");
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QString longText(int length)
{
    QString text;
    while (text.size() < length)
        text += QStringLiteral("Trusted-relays-");
    return text.left(length);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class tst_ShortenedText : public QObject
{
    Q_OBJECT

private slots:
    void sizeHintsStopAtTheWidestText_data();
    void sizeHintsStopAtTheWidestText();
    void shortenedWithAnEllipsis_data();
    void shortenedWithAnEllipsis();
    void wholeTextAsToolTip_data();
    void wholeTextAsToolTip();
    void openedListTellsAShortenedEntry();
    void toolTipLines_data();
    void toolTipLines();
};

void tst_ShortenedText::sizeHintsStopAtTheWidestText_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("choice box") << Kind::ChoiceBox;
    QTest::newRow("editable box") << Kind::EditableBox;
    QTest::newRow("label") << Kind::Label;
}

// A text that fits asks for what the toolkit's widget asks for; a longer one asks for no more
// than the widest text, however long it is.
void tst_ShortenedText::sizeHintsStopAtTheWidestText()
{
    QFETCH(Kind, kind);
    const QString shortText = QStringLiteral("Head office network");
    QCOMPARE(showing(kind, shortText)->sizeHint(), plainHint(kind, shortText));
    QCOMPARE(showing(kind, shortText)->minimumSizeHint().width(), plainHint(kind, shortText).width());

    const std::unique_ptr<QWidget> longer = showing(kind, longText(300));
    const std::unique_ptr<QWidget> longest = showing(kind, longText(100000));
    const int widest = ShortenedText::widestText(longer->fontMetrics());
    QVERIFY2(longer->sizeHint().width() >= widest && longer->sizeHint().width() < widest + 60,
             qPrintable(QString::number(longer->sizeHint().width())));
    QCOMPARE(longest->sizeHint(), longer->sizeHint());
    QCOMPARE(longer->minimumSizeHint().width(), longer->sizeHint().width());
    QVERIFY(plainHint(kind, longText(300)).width() > 2 * longer->sizeHint().width());
}

void tst_ShortenedText::shortenedWithAnEllipsis_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shortened");

    QTest::newRow("choice box, long") << Kind::ChoiceBox << longText(300) << true;
    QTest::newRow("choice box, short") << Kind::ChoiceBox << "Admin hosts" << false;
    QTest::newRow("label, long") << Kind::Label << longText(300) << true;
    QTest::newRow("label, short") << Kind::Label << "POP3 Server" << false;
    // A stored name is no markup: it is shortened as it stands.
    QTest::newRow("label, a name like markup") << Kind::Label << "<b>" + longText(300) + "</b>" << true;
    QTest::newRow("editable box, long: its line edit scrolls") << Kind::EditableBox << longText(300) << false;
}

// A text wider than its room is painted as its beginning and an ellipsis, as wide as the room
// allows, exactly as the same widget paints that shortened text as its whole.
void tst_ShortenedText::shortenedWithAnEllipsis()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(bool, shortened);

    const std::unique_ptr<QWidget> widget = showing(kind, text);
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    const QString shown = shownText(widget.get());
    QCOMPARE(currentText(widget.get()), text);
    if (!shortened) {
        QCOMPARE(shown, text);
        return;
    }
    QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
    QVERIFY(text.startsWith(shown.chopped(1)));
    QVERIFY(shown.size() > 10);
    QVERIFY(widget->fontMetrics().horizontalAdvance(shown) < widget->width());

    const std::unique_ptr<QWidget> twin = showing(kind, shown);
    twin->resize(widget->size());
    QVERIFY(QTest::qWaitForWindowExposed(twin.get()));
    QCOMPARE(shownText(twin.get()), shown);
    QCOMPARE(widget->grab().toImage(), twin->grab().toImage());
}

void tst_ShortenedText::wholeTextAsToolTip_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("told");

    const QString fits = QStringLiteral("Admin hosts");
    QTest::newRow("choice box, shortened") << Kind::ChoiceBox << longText(300) << true;
    QTest::newRow("choice box, whole") << Kind::ChoiceBox << fits << false;
    QTest::newRow("label, shortened") << Kind::Label << longText(300) << true;
    QTest::newRow("label, whole") << Kind::Label << fits << false;
    // Its line edit scrolls through the text, and shows it in part all the same.
    QTest::newRow("editable box, in part") << Kind::EditableBox << longText(300) << true;
    QTest::newRow("editable box, whole") << Kind::EditableBox << fits << false;
}

void tst_ShortenedText::wholeTextAsToolTip()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(bool, told);

    const std::unique_ptr<QWidget> widget = showing(kind, text);
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    // The mouse rests on what shows the text: an editable box's line edit.
    const auto* box = qobject_cast<QComboBox*>(widget.get());
    QWidget* under = box && box->lineEdit() ? box->lineEdit() : widget.get();
    const QString tip = toolTipAt(under, under->rect().center());
    QCOMPARE(tip, told ? ShortenedText::wholeTextTip(text) : QString());
    QCOMPARE(currentText(widget.get()), text);

    // A tool tip the form gives the widget goes first.
    widget->setToolTip(QStringLiteral("The group the exception names"));
    QCOMPARE(toolTipAt(widget.get(), widget->rect().center()), QStringLiteral("The group the exception names"));
}

void tst_ShortenedText::openedListTellsAShortenedEntry()
{
    const QString text = longText(300);
    const std::unique_ptr<QWidget> widget = showing(Kind::ChoiceBox, text);
    auto* box = static_cast<ChoiceBox*>(widget.get());
    box->showPopup();
    QAbstractItemView* list = box->view();
    QTRY_VERIFY(list->isVisible());
    const QRect shortened = list->visualRect(box->model()->index(1, 0));
    const QRect whole = list->visualRect(box->model()->index(0, 0));
    QCOMPARE(toolTipAt(list->viewport(), shortened.center()), ShortenedText::wholeTextTip(text));
    QCOMPARE(toolTipAt(list->viewport(), whole.center()), QString());
    box->hidePopup();
}

void tst_ShortenedText::toolTipLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    const QString eighty(80, QLatin1Char('a'));
    QTest::newRow("short") << "Office LAN" << QStringList{"Office LAN"};
    QTest::newRow("one line exactly") << eighty << QStringList{eighty};
    QTest::newRow("one word longer than a line") << eighty + "bc" << QStringList{eighty, "bc"};
    QTest::newRow("after the last blank of a line")
        << QString(70, QLatin1Char('a')) + " " + QString(20, QLatin1Char('b'))
        << QStringList{QString(70, QLatin1Char('a')) + " ", QString(20, QLatin1Char('b'))};
    QTest::newRow("a blank at the end of a line stays on it")
        << QString(79, QLatin1Char('a')) + " bc" << QStringList{QString(79, QLatin1Char('a')) + " ", "bc"};
    QTest::newRow("empty") << "" << QStringList{""};
}

void tst_ShortenedText::toolTipLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const QString tip = ShortenedText::wholeTextTip(text);
    QCOMPARE(tip.split(QLatin1Char('\n')), lines);
    QCOMPARE(tip.split(QLatin1Char('\n')).join(QString()), text);
}

QTEST_MAIN(tst_ShortenedText)
#include "tst_shortenedtext.moc"
