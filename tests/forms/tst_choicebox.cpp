// A choice box shows a stored text too long for it shortened where its reading stops: the
// ellipsis of a text that begins in Arabic or Hebrew stands at the left, as a label and a line
// edit show it, and at the right for a text that begins in a left-to-right script. Judged from
// what the screen shows (grab()), where a rendering into another device lays text out otherwise.
//
// An editable box meets what is typed into it by its one rule, values letter for letter and
// names in any letters: as it completes, as its field is left and as its list opens, whatever
// entry was current before the typing. Typed key by key, as a person types.

#include "activewindow.h"
#include "choicebox.h"
#include "openedlist.h"
#include "typing.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

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

using Entries = ChoiceBox::Entries;

// How the field is left once a text is typed in it.
enum class Leaving { Tab, ListOpenedThenEscape };

} // namespace

Q_DECLARE_METATYPE(Leaving)

namespace {

// A shown window with an editable box of `entries`, showing `filled` as a dialog fills it
// from what the server holds, and a field after it for the focus to go to.
struct TypingWindow
{
    TypingWindow(Entries kind, const QStringList& entries, const QString& filled = QString())
    {
        auto* layout = new QVBoxLayout(&window);
        box = new ChoiceBox(&window);
        box->makeEditable(kind);
        box->addItems(entries);
        box->setCurrentIndex(box->findText(filled));
        next = new QLineEdit(&window);
        layout->addWidget(box);
        layout->addWidget(next);
    }

    bool ready()
    {
        if (!showActive(&window))
            return false;
        box->setFocus();
        return box->hasFocus();
    }
    // Typed over the box's text, key by key.
    void typeOver(const QString& text) { ::typeOver(box->lineEdit(), text); }
    void leave() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    QWidget window;
    ChoiceBox* box;
    QLineEdit* next;
};

const QStringList Names{"", "alice", "Bob", "carol"};

} // namespace

class TestChoiceBox : public QObject
{
    Q_OBJECT

private slots:
    void shortenedWhereItsReadingStops_data();
    void shortenedWhereItsReadingStops();
    void typingCompletesByTheRule_data();
    void typingCompletesByTheRule();
    void fieldLeftTakesTheEntryByTheRule_data();
    void fieldLeftTakesTheEntryByTheRule();
    void returnTakesTheEntryByTheRule_data();
    void returnTakesTheEntryByTheRule();
    void fieldsOwnMenuLeavesTheTextTyped();
    void listOpensOnTheTextTyped_data();
    void listOpensOnTheTextTyped();
    void boxNotEditableKeepsTheToolkitsList();
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

void TestChoiceBox::typingCompletesByTheRule_data()
{
    QTest::addColumn<Entries>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // what the field shows, before it is left

    QTest::newRow("values: the start of an entry in its letters") << Entries::Values << "X-E" << "X-Envelope-To";
    QTest::newRow("values: the start of an entry in other letters") << Entries::Values << "x-e" << "x-e";
    QTest::newRow("names: the start of a name in its letters") << Entries::Names << "ca" << "carol";
    QTest::newRow("names: the start of a name in other letters") << Entries::Names << "BO" << "BOb";
    QTest::newRow("names: the start of no name") << Entries::Names << "dav" << "dav";
}

// From the first key typed into a box just made: the box has not lost the focus yet.
void TestChoiceBox::typingCompletesByTheRule()
{
    QFETCH(Entries, kind);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    const QStringList headers{"Received", "X-Envelope-To", "Delivered-To"};
    TypingWindow typing(kind, kind == Entries::Values ? headers : Names);
    QVERIFY(typing.ready());
    QTest::keyClicks(typing.box, typed);
    QCOMPARE(typing.box->lineEdit()->text(), shown);
}

void TestChoiceBox::fieldLeftTakesTheEntryByTheRule_data()
{
    QTest::addColumn<Entries>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held"); // once the field is left
    QTest::addColumn<int>("chosen");   // times the box reports an entry chosen
    QTest::addColumn<Leaving>("leaving");

    QTest::newRow("values: an entry in its letters") << Entries::Values << "carol" << "carol" << 1 << Leaving::Tab;
    QTest::newRow("values: an entry in other letters") << Entries::Values << "bob" << "bob" << 0 << Leaving::Tab;
    QTest::newRow("values: no entry") << Entries::Values << "dave" << "dave" << 0 << Leaving::Tab;
    QTest::newRow("names: a name in its letters") << Entries::Names << "carol" << "carol" << 1 << Leaving::Tab;
    QTest::newRow("names: a name in other letters") << Entries::Names << "bob" << "Bob" << 1 << Leaving::Tab;
    QTest::newRow("names: a name in capitals") << Entries::Names << "CAROL" << "carol" << 1 << Leaving::Tab;
    QTest::newRow("names: no name") << Entries::Names << "dave" << "dave" << 0 << Leaving::Tab;
    QTest::newRow("values: an entry with a blank after it")
        << Entries::Values << "carol " << "carol " << 0 << Leaving::Tab;
    QTest::newRow("names: a name with a blank after it") << Entries::Names << "carol " << "carol" << 1 << Leaving::Tab;
    QTest::newRow("names: a name in other letters between blanks")
        << Entries::Names << " bob " << "Bob" << 1 << Leaving::Tab;
    QTest::newRow("names: no name, a blank after it") << Entries::Names << "dave " << "dave " << 0 << Leaving::Tab;
    // The list opened from the keyboard takes the keys from the field, which is left so.
    QTest::newRow("names, the list opened: a name in other letters between blanks")
        << Entries::Names << " BOB " << "Bob" << 1 << Leaving::ListOpenedThenEscape;
    QTest::newRow("values, the list opened: an entry with a blank after it")
        << Entries::Values << "carol " << "carol " << 0 << Leaving::ListOpenedThenEscape;
}

void TestChoiceBox::fieldLeftTakesTheEntryByTheRule()
{
    QFETCH(Entries, kind);
    QFETCH(QString, typed);
    QFETCH(QString, held);
    QFETCH(int, chosen);

    QFETCH(Leaving, leaving);

    TypingWindow typing(kind, Names, QStringLiteral("alice"));
    QVERIFY(typing.ready());
    QSignalSpy activated(typing.box, &QComboBox::textActivated);
    typing.typeOver(typed);
    if (leaving == Leaving::Tab) {
        typing.leave();
        QVERIFY(typing.next->hasFocus());
    } else {
        QTest::keyClick(typing.box, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(typing.box->view()->isVisible());
        QTest::keyClick(typing.box->view(), Qt::Key_Escape);
        QVERIFY(!typing.box->view()->isVisible());
        QCOMPARE(typing.box->lineEdit()->text(), held);
    }
    QCOMPARE(typing.box->currentText(), held);
    QCOMPARE(activated.size(), chosen);
    if (chosen) {
        QCOMPARE(activated.first().first().toString(), held);
        QCOMPARE(typing.box->currentIndex(), Names.indexOf(held));
    }
}

void TestChoiceBox::returnTakesTheEntryByTheRule_data()
{
    QTest::addColumn<Entries>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held");     // once Return was pressed
    QTest::addColumn<bool>("passedOn");    // Return to the dialog, whose default button closes it

    QTest::newRow("names: a name with a blank after it") << Entries::Names << "carol " << "carol" << true;
    QTest::newRow("names: a name in other letters between blanks") << Entries::Names << " BOB " << "Bob" << true;
    // Return only takes the rest of the name the box offers.
    QTest::newRow("names: the start of a name in other letters, completed") << Entries::Names << "BO" << "Bob"
                                                                            << false;
    QTest::newRow("values: an entry with a blank after it") << Entries::Values << "carol " << "carol " << true;
}

// A text typed key by key into a box of a dialog, and Return pressed in the box.
void TestChoiceBox::returnTakesTheEntryByTheRule()
{
    QFETCH(Entries, kind);
    QFETCH(QString, typed);
    QFETCH(QString, held);
    QFETCH(bool, passedOn);

    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* box = new ChoiceBox(&dialog);
    box->makeEditable(kind);
    box->addItems(Names);
    box->setCurrentIndex(box->findText(QStringLiteral("alice")));
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(box);
    layout->addWidget(ok);
    QVERIFY(showActive(&dialog));
    box->setFocus();
    typeOver(box->lineEdit(), typed);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->currentText(), held);
    QCOMPARE(dialog.result() == QDialog::Accepted, passedOn);
}

// The field's own menu opened over a name typed between blanks: the field is not left, so the
// text and its selection stay for the menu's Copy or Cut.
void TestChoiceBox::fieldsOwnMenuLeavesTheTextTyped()
{
    TypingWindow typing(Entries::Names, Names, QStringLiteral("alice"));
    QVERIFY(typing.ready());
    typing.typeOver(QStringLiteral(" BOB "));
    QLineEdit* field = typing.box->lineEdit();
    field->selectAll();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &request);
    QWidget* menu = QApplication::activePopupWidget();
    QVERIFY(menu);
    QCOMPARE(typing.box->currentText(), QStringLiteral(" BOB "));
    QCOMPARE(field->selectedText(), QStringLiteral(" BOB "));
    menu->close();
}

void TestChoiceBox::listOpensOnTheTextTyped_data()
{
    QTest::addColumn<Entries>("kind");
    QTest::addColumn<QStringList>("typings"); // each typed over the text, the field left between
    QTest::addColumn<bool>("leftAndBack");     // the field left and come back to before the list opens
    QTest::addColumn<QString>("highlighted");  // empty: none
    QTest::addColumn<QString>("held");         // after Return in the list

    QTest::newRow("values: an entry") << Entries::Values << QStringList{"carol"} << false << "carol" << "carol";
    QTest::newRow("values: no entry") << Entries::Values << QStringList{"dave"} << false << "" << "dave";
    QTest::newRow("values: no entry, the field left and come back to")
        << Entries::Values << QStringList{"dave"} << true << "" << "dave";
    QTest::newRow("values: no entry left, then an entry typed")
        << Entries::Values << QStringList{"dave", "carol"} << false << "carol" << "carol";
    QTest::newRow("values: an entry in other letters") << Entries::Values << QStringList{"bob"} << false << ""
                                                       << "bob";
    QTest::newRow("values: nothing") << Entries::Values << QStringList{""} << false << "" << "";
    QTest::newRow("names: a name in other letters") << Entries::Names << QStringList{"bob"} << false << "Bob"
                                                    << "Bob";
    QTest::newRow("names: no name") << Entries::Names << QStringList{"dave"} << false << "" << "dave";
    QTest::newRow("names: no name left, then a name typed")
        << Entries::Names << QStringList{"dave", "carol"} << false << "carol" << "carol";
    QTest::newRow("names: a name with a blank after it") << Entries::Names << QStringList{"BOB "} << false
                                                         << "Bob" << "Bob";
    QTest::newRow("values: an entry with a blank after it") << Entries::Values << QStringList{"carol "} << false
                                                            << "" << "carol ";
}

// The box was filled with "alice"; whatever is typed since, its list opens on the entry equal
// to the text, or on none, and Return there keeps what the box shows.
void TestChoiceBox::listOpensOnTheTextTyped()
{
    QFETCH(Entries, kind);
    QFETCH(QStringList, typings);
    QFETCH(bool, leftAndBack);
    QFETCH(QString, highlighted);
    QFETCH(QString, held);

    TypingWindow typing(kind, Names, QStringLiteral("alice"));
    const OpenedList::Look look = OpenedList::typeAndLook(typing.box, typings, leftAndBack);
    QVERIFY(look.opened);
    QCOMPARE(look.highlighted, highlighted);
    QVERIFY(look.closedByReturn);
    QCOMPARE(look.heldAfterReturn, held);
}

// A box that is not editable keeps the toolkit's list: it opens on the current entry, the keys
// move from there, and Return chooses the entry they reach.
void TestChoiceBox::boxNotEditableKeepsTheToolkitsList()
{
    QWidget window;
    auto* box = new ChoiceBox(&window);
    box->addItems({"en", "de", "fr"});
    box->setCurrentIndex(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    QSignalSpy activated(box, &QComboBox::textActivated);
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView* list = box->view();
    QVERIFY(list->isVisible());
    QCOMPARE(OpenedList::highlightedEntry(list), QStringLiteral("de"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QCOMPARE(box->currentText(), QStringLiteral("fr"));
    QCOMPARE(activated.size(), 1);
}

QTEST_MAIN(TestChoiceBox)
#include "tst_choicebox.moc"
