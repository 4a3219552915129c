// The widgets that show texts the server stores: a choice box and a label ask for the room of
// their text only up to the widest text they allow, show a longer text shortened and grow
// with their window while they do, and tell a text they show shortened whole as a tool tip:
// as it stands, in lines a screen can hold, broken only between whole characters. The text
// itself stays as it is. An opened list is as wide as the lines it shows, beside its box on
// the screen, whatever model the box lists. Escape on an open list closes the list alone.

#include "choicebox.h"
#include "shortenedlabel.h"
#include "shortcutcount.h"
#include "shortenedtext.h"
#include "shownentry.h"
#include "showntip.h"
#include "tiplinebreaker.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QRegularExpression>
#include <QScreen>
#include <QStringListModel>
#include <QStyleFactory>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

#include <memory>
#include <type_traits>

namespace {

enum class Kind { ChoiceBox, EditableBox, Label, ListEntry, IconBox, FramedLabel };

bool isLabel(Kind kind)
{
    return kind == Kind::Label || kind == Kind::FramedLabel;
}

ChoiceBox* boxShowing(const QString& text, bool editable, QWidget* parent = nullptr)
{
    auto* box = new ChoiceBox(parent);
    box->setEditable(editable);
    box->addItems({QStringLiteral("Office LAN"), text});
    box->setCurrentIndex(1);
    return box;
}

// A picture for a box's entries, of the size a box shows them at.
QIcon entryIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::darkCyan);
    return QIcon(picture);
}

// Gives the widget what its kind adds: a label a frame, a box a picture to each entry.
template<typename Widget>
Widget* dressed(Kind kind, Widget* widget)
{
    if constexpr (std::is_base_of_v<QLabel, Widget>) {
        if (kind == Kind::FramedLabel)
            widget->setFrameStyle(QFrame::Box | QFrame::Plain);
    } else {
        for (int i = 0; kind == Kind::IconBox && i < widget->count(); ++i)
            widget->setItemIcon(i, entryIcon());
    }
    return widget;
}

// The widget of this kind showing text, not shown yet; a choice box has a short entry before
// it. It takes no focus, so that widgets of a kind compared with one another are drawn
// alike whichever showed last.
std::unique_ptr<QWidget> made(Kind kind, const QString& text)
{
    std::unique_ptr<QWidget> widget;
    if (isLabel(kind)) {
        auto* label = new ShortenedLabel;
        label->setText(text);
        widget.reset(dressed(kind, label));
    } else {
        widget.reset(dressed(kind, boxShowing(text, kind == Kind::EditableBox)));
    }
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

// The widget showing text, shown at its size hint: a box measures its entries as it shows
// first.
std::unique_ptr<QWidget> showing(Kind kind, const QString& text)
{
    std::unique_ptr<QWidget> widget = made(kind, text);
    widget->show();
    widget->resize(widget->sizeHint());
    return widget;
}

// The same text in the toolkit's own widget, shown: a box measures its entries as it shows
// first. A box has the entry `before` before it, if any.
std::unique_ptr<QWidget> plainShowing(Kind kind, const QString& text, const QString& before = QStringLiteral("Office LAN"))
{
    std::unique_ptr<QWidget> widget;
    if (isLabel(kind)) {
        widget.reset(dressed(kind, new QLabel(text)));
    } else {
        auto* box = new QComboBox;
        box->setEditable(kind == Kind::EditableBox);
        if (!before.isEmpty())
            box->addItem(before);
        box->addItem(text);
        box->setCurrentIndex(box->count() - 1);
        widget.reset(dressed(kind, box));
    }
    widget->setFocusPolicy(Qt::NoFocus);
    widget->show();
    return widget;
}

QSize plainHint(Kind kind, const QString& text, const QString& before = QStringLiteral("Office LAN"))
{
    return plainShowing(kind, text, before)->sizeHint();
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

// The box's list, opened and painted as the administrator sees it; null if it does not show.
// The pointer rests in the middle of the screen: over the arrow a scrolled list shows at its
// edge, it would scroll the list while the test reads it.
QAbstractItemView* openedList(QComboBox* box)
{
    QCursor::setPos(box->screen()->geometry().center());
    box->showPopup();
    QAbstractItemView* list = box->view();
    if (!QTest::qWaitForWindowExposed(list->window()))
        return nullptr;
    QCoreApplication::processEvents();
    return list;
}

// A place on the screen where a box's list has room on every side.
QPoint placeWithRoom()
{
    return QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(20, 100);
}

// A box of this kind, a window of its own `width` pixels wide at `at` on the screen, listing
// `entries`; shown. It takes no focus, so that twins draw alike.
std::unique_ptr<ChoiceBox> boxAt(Kind kind, const QStringList& entries, QPoint at, int width = 60)
{
    auto box = std::make_unique<ChoiceBox>();
    box->setEditable(kind == Kind::EditableBox);
    box->addItems(entries);
    dressed(kind, box.get());
    box->setFocusPolicy(Qt::NoFocus);
    box->setFixedWidth(width);
    box->move(at);
    box->show();
    return box;
}

// Where the box's list opens on the screen, closed again; null where it does not show.
QRect listPlaced(QComboBox* box)
{
    const QAbstractItemView* list = openedList(box);
    const QRect placed = list ? list->window()->geometry() : QRect();
    box->hidePopup();
    return placed;
}

// The picture of `area` of `widget`, `shift` of its pixels to the right of the picture's
// edge: as the widget grabs itself with no shift.
QImage rendered(QWidget* widget, const QRect& area, int shift)
{
    const qreal ratio = widget->devicePixelRatioF();
    QImage picture(QSizeF(area.width() + shift, area.height()).toSize() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    widget->render(&painter, QPoint(shift, 0), QRegion(area));
    return picture;
}

// The part of `widget` that shows its text, as drawn, `shift` pixels of the widget's to the
// right: a label's contents, a box's field, an editable box's line edit.
QImage textArea(QWidget* widget, int shift = 0)
{
    auto* box = qobject_cast<QComboBox*>(widget);
    if (!box)
        return rendered(widget, widget->contentsRect(), shift);
    if (box->lineEdit())
        return rendered(box->lineEdit(), box->lineEdit()->rect(), shift);
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.frame = box->hasFrame();
    return rendered(box, box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box),
                    shift);
}

// The ink of the text a widget of this kind draws at its size: where its text area differs
// from what the same widget draws with no text, from the first such column to the last.
QImage inkShown(Kind kind, QWidget* widget, int shift = 0)
{
    const std::unique_ptr<QWidget> blank = made(kind, QString());
    blank->show();
    blank->resize(widget->size());
    const QImage area = textArea(widget, shift);
    const QImage empty = textArea(blank.get(), shift);
    int first = area.width();
    int last = -1;
    for (int x = 0; x < area.width(); ++x) {
        for (int y = 0; y < area.height(); ++y) {
            if (area.pixel(x, y) != empty.pixel(x, y)) {
                first = qMin(first, x);
                last = x;
                break;
            }
        }
    }
    return last < 0 ? QImage() : area.copy(first, 0, last - first + 1, area.height());
}

// The ink of the text as a widget of this kind and height draws it with room for any text,
// at each place within a pixel of the screen's where a widget may draw it. A widget draws
// its text a whole number of its own pixels from its edge; on a screen that makes each of
// them a pixel and a fraction (an editable box scrolled by one), that lies elsewhere within
// the screen's pixel, and its ink is smoothed otherwise.
QList<QImage> inkWhole(Kind kind, const QString& text, int height)
{
    const std::unique_ptr<QWidget> wide = made(kind, text);
    wide->show();
    wide->resize(4000, height);
    const qreal ratio = wide->devicePixelRatioF();
    QList<QImage> inks{inkShown(kind, wide.get())};
    for (int shift = 1; shift < 8 && !qFuzzyIsNull(shift * ratio - qRound(shift * ratio)); ++shift)
        inks.append(inkShown(kind, wide.get(), shift));
    return inks;
}

// The piece repeated up to `length` UTF-16 units or a few more: never a piece in part.
QString repeated(const QString& piece, int length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    return text;
}

QString longText(int length)
{
    return repeated(QStringLiteral("Trusted-relays-"), length).left(length);
}

// A stored text as one line shows it: each line break and each tab a blank, and the string
// terminator, after which the toolkit draws nothing more of a line, the replacement character.
QString asOneLineShowsIt(const QString& text)
{
    return QString(text)
        .replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QRegularExpression(QStringLiteral("[\r\n\t\u2028\u2029]")), QStringLiteral(" "))
        .replace(QChar(0x9c), QChar(QChar::ReplacementCharacter));
}

// A text's own lines, without their breaks.
QStringList ownLines(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\r\n|[\r\n\u2028\u2029]")));
}

QStringList asOneLineShowsThem(QStringList texts)
{
    for (QString& text : texts)
        text = asOneLineShowsIt(text);
    return texts;
}

// The lines a tip tells `text` in, in lines of at most 80 characters and `widest` pixels.
QStringList brokenIntoTipLines(const QString& text, const QFontMetrics& metrics, int widest)
{
    QStringList lines;
    TipLineBreaker breaker(text, metrics, widest, ShortenedText::TipLineLength);
    do
        lines.append(breaker.next());
    while (!breaker.atEnd());
    return lines;
}

// Where each character, as a reader counts them, of the text begins.
QList<qsizetype> characterStarts(const QString& text)
{
    QList<qsizetype> starts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = 0; at >= 0 && at < text.size(); at = finder.toNextBoundary())
        starts.append(at);
    return starts;
}

// What is wrong with the tip lines that tell `text`: a line longer than a tip line may be,
// a line that begins inside a character, characters lost or changed.
QStringList faultsOfTipLines(const QStringList& lines, const QString& text)
{
    QStringList faults;
    if (lines.join(QString()) != text)
        faults.append(QStringLiteral("the lines do not hold the text: ") + lines.join(u'|'));
    const QList<qsizetype> starts = characterStarts(text);
    qsizetype at = 0;
    for (const QString& line : lines) {
        if (!starts.contains(at) && at < text.size())
            faults.append(QStringLiteral("a line begins inside a character: ") + line.left(4));
        if (characterStarts(line).size() > ShortenedText::TipLineLength)
            faults.append(QStringLiteral("a line of %1 characters").arg(characterStarts(line).size()));
        at += line.size();
    }
    return faults;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

namespace {

// A row for each widget that shows a stored text, as a form dresses it.
void addARowForEachWidget()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("choice box") << Kind::ChoiceBox;
    QTest::newRow("choice box with pictures") << Kind::IconBox;
    QTest::newRow("editable box") << Kind::EditableBox;
    QTest::newRow("label") << Kind::Label;
    QTest::newRow("label with a frame") << Kind::FramedLabel;
}

} // namespace

class tst_ShortenedText : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sizeHintsStopAtTheWidestText_data();
    void sizeHintsStopAtTheWidestText();
    void fittingTextDrawnAsTheToolkitDrawsIt_data();
    void fittingTextDrawnAsTheToolkitDrawsIt();
    void shortenedWithAnEllipsis_data();
    void shortenedWithAnEllipsis();
    void shortenedAnewInAnotherFont_data();
    void shortenedAnewInAnotherFont();
    void wholeTextAsToolTip_data();
    void wholeTextAsToolTip();
    void toldExactlyWhenNotAllShows_data();
    void toldExactlyWhenNotAllShows();
    void storedLineBreaksShowAsBlanks_data();
    void storedLineBreaksShowAsBlanks();
    void roomForMoreThanTheEntriesKept_data();
    void roomForMoreThanTheEntriesKept();
    void tipToldAsItStands_data();
    void tipToldAsItStands();
    void tipLines_data();
    void tipLines();
    void tipLinesFitTheirRoom_data();
    void tipLinesFitTheirRoom();
    void entryTipsFollowWhatTheListShows_data();
    void entryTipsFollowWhatTheListShows();
    void everyLongEntryOfALongListTells();
    void listEntriesShowOnOneLine_data();
    void listEntriesShowOnOneLine();
    void listOfANarrowBoxAsWideAsItsLines_data();
    void listOfANarrowBoxAsWideAsItsLines();
    void listStaysOnTheScreenBesideItsBox_data();
    void listStaysOnTheScreenBesideItsBox();
    void listDrawsTheEntriesOfAModelSetLater_data();
    void listDrawsTheEntriesOfAModelSetLater();
    void entryShownWholeTellsNothing_data();
    void entryShownWholeTellsNothing();
    void growsWithItsWindow_data();
    void growsWithItsWindow();
    void formPolicyOutlivesTheGrowth();
    void lastAskWinsOverAQueuedOne_data();
    void lastAskWinsOverAQueuedOne();
    void otherStyleOnceTheListOpened();
    void escapeOnAnOpenListClosesOnlyTheList_data();
    void escapeOnAnOpenListClosesOnlyTheList();
};

// The pointer rests away from the widgets: a box under it is drawn hovered, and widgets
// compared with one another are drawn alike.
void tst_ShortenedText::init()
{
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
}

void tst_ShortenedText::sizeHintsStopAtTheWidestText_data()
{
    addARowForEachWidget();
}

// A text that fits asks for what the toolkit's widget asks for; a longer one asks for no more
// than the widest text, however long it is, and what the widget adds around it: a frame's
// indent, an entry's picture.
void tst_ShortenedText::sizeHintsStopAtTheWidestText()
{
    QFETCH(Kind, kind);
    const QString shortText = QStringLiteral("Head office network");
    QCOMPARE(showing(kind, shortText)->sizeHint(), plainHint(kind, shortText));
    QCOMPARE(showing(kind, shortText)->minimumSizeHint().width(), plainHint(kind, shortText).width());

    const std::unique_ptr<QWidget> longer = showing(kind, longText(300));
    const std::unique_ptr<QWidget> longest = showing(kind, longText(100000));
    // The room of 48 average characters, and what the widget adds around a text, as the
    // toolkit's widget adds it around the short text.
    const int widest = 48 * longer->fontMetrics().averageCharWidth();
    const QFontMetrics metrics = longer->fontMetrics();
    const int measured = isLabel(kind) ? metrics.horizontalAdvance(shortText) : metrics.boundingRect(shortText).width();
    const int around = plainHint(kind, shortText).width() - measured;
    QCOMPARE(longer->sizeHint().width(), widest + around);
    QCOMPARE(longest->sizeHint(), longer->sizeHint());
    QCOMPARE(longer->minimumSizeHint().width(), longer->sizeHint().width());
    QVERIFY(plainHint(kind, longText(300)).width() > 2 * longer->sizeHint().width());
}

void tst_ShortenedText::fittingTextDrawnAsTheToolkitDrawsIt_data()
{
    addARowForEachWidget();
}

// A text with room to spare is drawn pixel for pixel as the toolkit's own widget draws it at
// the same size: in the same place, off a frame by as much, beside the same picture.
void tst_ShortenedText::fittingTextDrawnAsTheToolkitDrawsIt()
{
    QFETCH(Kind, kind);
    const QString text = QStringLiteral("Head office network");
    const std::unique_ptr<QWidget> plain = plainShowing(kind, text);
    const std::unique_ptr<QWidget> widget = showing(kind, text);
    const QSize size = plain->sizeHint() + QSize(30, 0);
    plain->resize(size);
    widget->resize(size);
    QVERIFY(QTest::qWaitForWindowExposed(plain.get()));
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    QCOMPARE(widget->grab().toImage(), plain->grab().toImage());
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

void tst_ShortenedText::shortenedAnewInAnotherFont_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("choice box") << Kind::ChoiceBox;
    QTest::newRow("label") << Kind::Label;
}

// Given a larger font at the same size, a widget shortens its text anew, to its room in that
// font: exactly as one made with that font shows it.
void tst_ShortenedText::shortenedAnewInAnotherFont()
{
    QFETCH(Kind, kind);
    const QString text = longText(300);
    const std::unique_ptr<QWidget> widget = showing(kind, text);
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    const QString before = shownText(widget.get());
    QFont larger = widget->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    widget->setFont(larger);

    const std::unique_ptr<QWidget> twin = made(kind, text);
    twin->setFont(larger);
    twin->show();
    twin->resize(widget->size());
    QVERIFY(QTest::qWaitForWindowExposed(twin.get()));
    QVERIFY(shownText(widget.get()).size() < before.size());
    QCOMPARE(shownText(widget.get()), shownText(twin.get()));
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
    QWidget* under = ShownTip::textHolder(widget.get());
    const QStringList tip = ShownTip::at(under, under->rect().center());
    QCOMPARE(tip.join(QString()), told ? text : QString());
    QCOMPARE(currentText(widget.get()), text);

    // A tool tip the form gives the widget goes first.
    widget->setToolTip(QStringLiteral("The group the exception names"));
    QCOMPARE(ShownTip::at(widget.get(), widget->rect().center()), QStringList{"The group the exception names"});
}

void tst_ShortenedText::toldExactlyWhenNotAllShows_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");

    const QStringList names{"Office LAN", "Directory", "POP3 Server", "Admin hosts", "Night delivery",
                            "Warehouse", "Sieve Filter Server"};
    const QString sixty = QStringLiteral("Regional offices and the warehouse segment of the north LAN");
    for (const auto& [kindName, kind] :
         {std::pair{"label", Kind::Label}, std::pair{"label with a frame", Kind::FramedLabel},
          std::pair{"choice box", Kind::ChoiceBox}, std::pair{"choice box with pictures", Kind::IconBox},
          std::pair{"editable box", Kind::EditableBox}}) {
        for (const QString& name : names) {
            QTest::addRow("%s, %s", kindName, qPrintable(name)) << kind << name;
            QTest::addRow("%s, %s twice", kindName, qPrintable(name)) << kind << name + ' ' + name;
        }
        QTest::addRow("%s, %d characters", kindName, int(sixty.size())) << kind << sixty;
    }
}

// Made narrower one pixel at a time, from where the text has room to spare to where it has
// none: at every width the widget tells its whole text exactly when what it draws is not
// all of it, and what a label or box draws then is the text's beginning and an ellipsis,
// nothing cut off, whatever its frame or pictures take of its room.
void tst_ShortenedText::toldExactlyWhenNotAllShows()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);

    const std::unique_ptr<QWidget> widget = showing(kind, text);
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    QWidget* holder = ShownTip::textHolder(widget.get());
    const QList<QImage> whole = inkWhole(kind, text, widget->height());
    QVERIFY(!whole.first().isNull());
    const int fits = plainHint(kind, text, QString()).width();
    bool sawWhole = false;
    bool sawShortened = false;
    for (int width = fits + 4; width >= fits - 8; --width) {
        widget->resize(width, widget->height());
        const bool all = whole.contains(inkShown(kind, widget.get()));
        const QString told = ShownTip::at(holder, holder->rect().center()).join(QString());
        QVERIFY2(told == (all ? QString() : text),
                 qPrintable(QStringLiteral("%1 px: %2")
                                .arg(width)
                                .arg(all ? "shown whole, told" : "not all shown, not told")));
        if (!all && kind != Kind::EditableBox) {
            const QString shown = shownText(widget.get());
            QVERIFY2(shown.endsWith(QChar(0x2026)) && text.startsWith(shown.chopped(1)), qPrintable(shown));
            const std::unique_ptr<QWidget> twin = showing(kind, shown);
            twin->resize(widget->size());
            QVERIFY2(inkShown(kind, twin.get()) == inkShown(kind, widget.get()),
                     qPrintable(QStringLiteral("%1 px: not \"%2\" as drawn whole").arg(width).arg(shown)));
        }
        (all ? sawWhole : sawShortened) = true;
    }
    QVERIFY(sawWhole && sawShortened);
}

void tst_ShortenedText::storedLineBreaksShowAsBlanks_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shortened");

    const QList<std::pair<const char*, QString>> breaks{
        {"a line feed", "\n"}, {"a carriage return", "\r"}, {"CR LF", "\r\n"},
        {"a line separator", "\u2028"}, {"a paragraph separator", "\u2029"}};
    for (const auto& [kindName, kind] : {std::pair{"choice box", Kind::ChoiceBox}, std::pair{"label", Kind::Label}}) {
        for (const auto& [breakName, lineBreak] : breaks) {
            QTest::addRow("%s, %s", kindName, breakName) << kind << "Office hours" + lineBreak + "weekdays" << false;
            QTest::addRow("%s, %s, long", kindName, breakName)
                << kind << "POP3 Server" + lineBreak + longText(380) << true;
        }
        QTest::addRow("%s, a break of each kind", kindName)
            << kind << "Night\nshift\r\nof the\rwarehouse\u2028team\u2029B" << false;
        QTest::addRow("%s, a string terminator", kindName) << kind << "Office\u009cLAN" << false;
        QTest::addRow("%s, a string terminator, long", kindName)
            << kind << "POP3\u009cServer\n" + longText(380) << true;
    }
}

// A stored text holding line breaks shows on one line, each break as a blank: the widget
// draws exactly what it draws for the text with blanks in their place, shortened with an
// ellipsis where that line does not fit, and then tells the text whole with its own line
// breaks. A string terminator shows as the replacement character, so that what follows it
// shows too. The text itself keeps them.
void tst_ShortenedText::storedLineBreaksShowAsBlanks()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(bool, shortened);

    const std::unique_ptr<QWidget> widget = showing(kind, text);
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    const std::unique_ptr<QWidget> twin = showing(kind, asOneLineShowsIt(text));
    twin->resize(widget->size());
    QCOMPARE(widget->sizeHint(), twin->sizeHint());
    QCOMPARE(widget->grab().toImage(), twin->grab().toImage());
    QCOMPARE(shownText(widget.get()).endsWith(QChar(0x2026)), shortened);
    QCOMPARE(currentText(widget.get()), text);

    const QStringList tip = ShownTip::at(widget.get(), widget->rect().center());
    if (!shortened) {
        QCOMPARE(tip, QStringList());
        return;
    }
    QVERIFY(!tip.isEmpty());
    QCOMPARE(tip.first(), ownLines(text).first());
    QCOMPARE(tip.join(QString()), ownLines(text).join(QString()));
}

void tst_ShortenedText::roomForMoreThanTheEntriesKept_data()
{
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<int>("leastLength"); // in characters, or 0

    QTest::newRow("a placeholder wider than the entries") << "Choose the domain of the new account" << 0;
    QTest::newRow("a least length wider than the entries") << "" << 30;
    QTest::newRow("a least length narrower than the entries") << "" << 3;
}

// Entries measured as they show on one line change only the room a box asks for its
// entries: the room it asks for its placeholder or for the least length the form set stays
// what the toolkit's box asks for.
void tst_ShortenedText::roomForMoreThanTheEntriesKept()
{
    QFETCH(QString, placeholder);
    QFETCH(int, leastLength);
    const QStringList entries{QStringLiteral("Office\tLAN"), QStringLiteral("Night\r\nshift")};
    ChoiceBox box;
    QComboBox plain;
    for (QComboBox* each : {static_cast<QComboBox*>(&box), &plain}) {
        each->addItems(entries);
        each->setPlaceholderText(placeholder);
        each->setCurrentIndex(placeholder.isEmpty() ? 0 : -1);
        each->setMinimumContentsLength(leastLength);
        each->show();
    }
    QCOMPARE(box.minimumSizeHint(), plain.minimumSizeHint());
    if (leastLength == 3) {
        // The entries decide the room asked for: the tab measures a blank here.
        QVERIFY(box.sizeHint().width() < plain.sizeHint().width());
        return;
    }
    QCOMPARE(box.sizeHint(), plain.sizeHint());
}

void tst_ShortenedText::tipToldAsItStands_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read"); // the tip's lines one after the other

    const QString breaks = repeated(QStringLiteral("Office LAN\r\nWarehouse\rAdmin\u2028hosts\u2029Night\n"), 300);
    const QString frame = repeated(QStringLiteral("Office \ufdd0LAN\ufdd1 "), 300);
    const QList<std::tuple<const char*, QString, QString>> read{
        {"line breaks of its own", breaks, QString(breaks).remove(QRegularExpression(QStringLiteral("[\r\n\u2028\u2029]")))},
        {"what a tip's document takes for a frame", frame, QString(frame).replace(QChar(0xfdd0), QChar(0xfffd)).replace(QChar(0xfdd1), QChar(0xfffd))},
    };
    const QList<QPair<const char*, QString>> texts{
        {"markup", repeated(QStringLiteral("<b>bold</b> & <i>x</i> markup in a long stored name "), 300)},
        {"an image", QStringLiteral("<img src=x>") + longText(300)},
        {"entities", repeated(QStringLiteral("&amp; &lt;b&gt; &#169; &nbsp;"), 300)},
        {"runs of blanks", repeated(QStringLiteral("Office    LAN\t\t"), 300)},
        {"emoji", QStringLiteral("a") + repeated(QStringLiteral("📧🌙🚚🕑"), 300)},
        {"joined emoji", repeated(QStringLiteral("👩‍👩‍👧🏳️‍🌈🇫🇷"), 300)},
        {"combining accents", QStringLiteral("a") + repeated(QStringLiteral("e\u0301o\u0308u\u0300"), 300)},
        {"Arabic with vowel marks", repeated(QStringLiteral("مَرْحَبًا بِالعَالَمِ "), 300)},
    };
    const auto addRows = [](const char* name, const QString& text, const QString& read) {
        QTest::addRow("choice box, %s", name) << Kind::ChoiceBox << text << read;
        QTest::addRow("editable box, %s", name) << Kind::EditableBox << text << read;
        QTest::addRow("label, %s", name) << Kind::Label << text << read;
        QTest::addRow("an entry of the opened list, %s", name) << Kind::ListEntry << text << read;
    };
    for (const auto& [name, text] : texts)
        addRows(name, text, text);
    for (const auto& [name, text, readAs] : read)
        addRows(name, text, readAs);
}

// Whatever a stored text holds, its tip shows it character for character, in lines that
// begin and end between whole characters and that the screen holds. Its own line breaks
// break the tip's lines, and a character the tip would take for a frame's edge shows as the
// replacement character.
void tst_ShortenedText::tipToldAsItStands()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(QString, read);

    QStringList tip;
    if (kind == Kind::ListEntry) {
        const std::unique_ptr<QWidget> widget = showing(Kind::ChoiceBox, text);
        auto* box = static_cast<ChoiceBox*>(widget.get());
        QAbstractItemView* list = openedList(box);
        QVERIFY(list);
        const QRect entry = list->visualRect(box->model()->index(1, 0));
        tip = ShownTip::at(list->viewport(), QPoint(list->viewport()->width() / 2, entry.center().y()));
        box->hidePopup();
    } else {
        const std::unique_ptr<QWidget> widget = showing(kind, text);
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        QWidget* under = ShownTip::textHolder(widget.get());
        tip = ShownTip::at(under, under->rect().center());
        QVERIFY(ShownTip::label());
        const QRect screen = widget->screen()->geometry();
        QVERIFY2(screen.contains(ShownTip::label()->geometry()),
                 qPrintable(QStringLiteral("%1 wide").arg(ShownTip::label()->width())));
    }
    QVERIFY(tip.size() > 1);
    QCOMPARE(faultsOfTipLines(tip, read), QStringList());
}

void tst_ShortenedText::tipLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    const auto times = [](const QString& piece, int count) { return piece.repeated(count); };
    const QString eighty(80, QLatin1Char('a'));
    QTest::newRow("short") << "Office LAN" << QStringList{"Office LAN"};
    QTest::newRow("one line exactly") << eighty << QStringList{eighty};
    QTest::newRow("one word longer than a line") << eighty + "bc" << QStringList{eighty, "bc"};
    QTest::newRow("after the last blank of a line")
        << QString(70, QLatin1Char('a')) + " " + QString(20, QLatin1Char('b'))
        << QStringList{QString(70, QLatin1Char('a')) + " ", QString(20, QLatin1Char('b'))};
    QTest::newRow("a blank at the end of a line stays on it")
        << QString(79, QLatin1Char('a')) + " bc" << QStringList{QString(79, QLatin1Char('a')) + " ", "bc"};
    QTest::newRow("a blank one character past a line begins the next")
        << eighty + " bc" << QStringList{eighty, " bc"};
    QTest::newRow("a blank the text begins with is no line of its own")
        << " " + QString(100, QLatin1Char('a')) << QStringList{" " + QString(79, QLatin1Char('a')), QString(21, QLatin1Char('a'))};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("a line break of the text's own") << "Office\nLAN" << QStringList{"Office", "LAN"};
    QTest::newRow("every kind of line break the text may hold")
        << "a\r\nb\rc\u2028d\u2029e\n\nf" << QStringList{"a", "b", "c", "d", "e", "", "f"};

    // Characters as a reader counts them.
    const QString mail = QStringLiteral("📧");
    QTest::newRow("emoji: never half of one") << "a" + times(mail, 100) << QStringList{"a" + times(mail, 79), times(mail, 21)};
    const QString family = QStringLiteral("👩‍👩‍👧");
    QTest::newRow("a joined emoji sequence stays whole") << times(family, 90) << QStringList{times(family, 80), times(family, 10)};
    const QString flag = QStringLiteral("🇫🇷");
    QTest::newRow("a flag stays whole") << times(flag, 81) << QStringList{times(flag, 80), flag};
    const QString accented = QStringLiteral("e\u0301");
    QTest::newRow("an accent stays with its letter") << times(accented, 100) << QStringList{times(accented, 80), times(accented, 20)};
    const QString word = QStringLiteral("بِسمِ ");
    QTest::newRow("Arabic: vowel marks stay with their letters, lines end after blanks")
        << times(word, 30) << QStringList{times(word, 20), times(word, 10)};
    QTest::newRow("a blank an accent joins is no place to break")
        << QString(70, QLatin1Char('a')) + " \u0301" + QString(20, QLatin1Char('b'))
        << QStringList{QString(70, QLatin1Char('a')) + " \u0301" + QString(9, QLatin1Char('b')), QString(11, QLatin1Char('b'))};
    QTest::newRow("a no-break space is no place to break")
        << QString(70, QLatin1Char('a')) + "\u00a0" + QString(20, QLatin1Char('b'))
        << QStringList{QString(70, QLatin1Char('a')) + "\u00a0" + QString(9, QLatin1Char('b')), QString(11, QLatin1Char('b'))};
}

void tst_ShortenedText::tipLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const QStringList broken = brokenIntoTipLines(text, QFontMetrics(QFont()), QWIDGETSIZE_MAX);
    QCOMPARE(broken, lines);
    QCOMPARE(broken.join(QString()), QString(text).remove(QRegularExpression(QStringLiteral("[\r\n\u2028\u2029]"))));
}

void tst_ShortenedText::tipLinesFitTheirRoom_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("characters"); // the room, in widths of the text's first character
    QTest::addColumn<bool>("exactly");   // or exactly as wide as that many of its characters
    QTest::addColumn<int>("perLine");

    QTest::newRow("wide letters") << QString(100, QLatin1Char('W')) << 30 << false << 30;
    QTest::newRow("a room narrower than one character") << QStringLiteral("WMW") << 0 << false << 1;
    QTest::newRow("room for more than a line holds") << QString(100, QLatin1Char('W')) << 200 << false << 80;
    QTest::newRow("a line exactly as wide as its room") << QString(100, QLatin1Char('W')) << 37 << true << 37;
    QTest::newRow("a whole text exactly as wide as its room") << QString(37, QLatin1Char('W')) << 37 << true << 37;
}

// A line is no wider than its room: a tip of wide characters stays on the screen. A line
// exactly as wide as its room is no wider.
void tst_ShortenedText::tipLinesFitTheirRoom()
{
    QFETCH(QString, text);
    QFETCH(int, characters);
    QFETCH(bool, exactly);
    QFETCH(int, perLine);
    const QFontMetrics metrics{QFont()};
    const int room = exactly ? metrics.horizontalAdvance(text.left(characters))
                             : characters * metrics.horizontalAdvance(text.left(1));
    const QStringList lines = brokenIntoTipLines(text, metrics, room);
    QCOMPARE(lines.join(QString()), text);
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines.at(i).size(), i + 1 < lines.size() ? perLine : text.size() - perLine * i);
        QVERIFY(lines.at(i).size() == 1 || metrics.horizontalAdvance(lines.at(i)) <= room);
    }
}

void tst_ShortenedText::entryTipsFollowWhatTheListShows_data()
{
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("a list that scrolls") << true;
    QTest::newRow("a list showing every entry") << false;
}

// A list as wide as the screen, opened from a box at the screen's edge: an entry the list
// shows shortened, by the style's ellipsis or cut by the list's edge, tells its whole text,
// and one it shows whole tells nothing, whatever its width against the list's own.
void tst_ShortenedText::entryTipsFollowWhatTheListShows()
{
    QFETCH(bool, scrolls);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int charWidth = QFontMetrics(QFont()).horizontalAdvance(QLatin1Char('x'));
    QStringList entries{QStringLiteral("Admin hosts")};
    for (int width = screen.width() - 100; width < screen.width() + 60; width += charWidth)
        entries.append(QString(width / charWidth, QLatin1Char('x')));

    QWidget window;
    auto* box = new ChoiceBox(&window);
    box->addItems(entries);
    box->setMaxVisibleItems(scrolls ? 8 : int(entries.size()));
    (new QHBoxLayout(&window))->addWidget(box);
    window.show();
    window.move(screen.right() - window.width(), screen.top());
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAbstractItemView* list = openedList(box);
    QVERIFY(list);
    QCOMPARE(list->window()->width(), screen.width());

    int whole = 0;
    int shortened = 0;
    for (int row = 1; row < entries.size(); ++row) {
        const QModelIndex index = box->model()->index(row, 0);
        list->scrollTo(index);
        QCoreApplication::processEvents();
        const bool shownWhole = ShownEntry::whole(list, index);
        const QRect entry = list->visualRect(index);
        const QStringList tip = ShownTip::at(list->viewport(), QPoint(list->viewport()->width() / 2, entry.center().y()));
        QVERIFY2(tip.join(QString()) == (shownWhole ? QString() : entries.at(row)),
                 qPrintable(QStringLiteral("entry %1, %2 px: %3")
                                .arg(row)
                                .arg(entries.at(row).size() * charWidth)
                                .arg(shownWhole ? "shown whole, told" : "shortened, not told")));
        ++(shownWhole ? whole : shortened);
    }
    box->hidePopup();
    // Entries on either side of what the list holds.
    QVERIFY(whole > 2 && shortened > 2);
}

// Scrolled through far more entries than it shows at once, a list still tells each long
// entry it shows, whichever it painted first.
void tst_ShortenedText::everyLongEntryOfALongListTells()
{
    QStringList entries;
    for (int i = 0; i < 300; ++i)
        entries.append(QStringLiteral("%1 ").arg(i) + longText(150));
    const std::unique_ptr<QWidget> widget = showing(Kind::ChoiceBox, QStringLiteral("Admin hosts"));
    auto* box = static_cast<ChoiceBox*>(widget.get());
    box->addItems(entries);
    QAbstractItemView* list = openedList(box);
    QVERIFY(list);
    const QRect listed = list->viewport()->rect();
    QStringList untold;
    for (int step = 2; step < box->count(); step += 7) {
        list->scrollTo(box->model()->index(step, 0));
        QCoreApplication::processEvents();
        for (int row = 2; row < box->count(); ++row) {
            const QRect entry = list->visualRect(box->model()->index(row, 0));
            if (entry.top() >= listed.top() && entry.bottom() <= listed.bottom()
                && ShownTip::at(list->viewport(), QPoint(listed.center().x(), entry.center().y())).join(QString())
                       != box->itemText(row))
                untold.append(QString::number(row));
        }
    }
    box->hidePopup();
    QCOMPARE(untold, QStringList());
}

void tst_ShortenedText::listEntriesShowOnOneLine_data()
{
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("boxWidth");
    QTest::addColumn<bool>("shortened"); // by the list

    const QList<std::pair<const char*, QString>> breaks{
        {"a line feed", "\n"}, {"a carriage return", "\r"}, {"CR LF", "\r\n"},
        {"a line separator", "\u2028"}, {"a paragraph separator", "\u2029"}};
    const QString eachKind = QStringLiteral("Night\nshift\r\nof the\rwarehouse\u2028team\u2029B");
    for (const auto& [boxName, editable] : {std::pair{"choice box", false}, std::pair{"editable box", true}}) {
        for (const auto& [breakName, lineBreak] : breaks)
            QTest::addRow("%s, %s", boxName, breakName) << editable << "Line" + lineBreak + "separated group" << 400 << false;
        QTest::addRow("%s, a break of each kind", boxName) << editable << eachKind << 400 << false;
        QTest::addRow("%s, a break of each kind, long", boxName) << editable << eachKind + ' ' + longText(300) << 400 << true;
        QTest::addRow("%s, a string terminator", boxName) << editable << "Office\u009cLAN" << 400 << false;
        QTest::addRow("%s, a tab", boxName) << editable << "Line\tseparated group" << 400 << false;
    }
    // A list opened as a popup is as wide as its entries' lines need; another is as wide as
    // its box.
    for (const auto& [separatorName, separator] :
         {std::pair{"a line feed", "\n"}, std::pair{"CR LF", "\r\n"}, std::pair{"a tab", "\t"}}) {
        const QString entry = QStringLiteral("Line%1separated%1group%1of%1hosts").arg(QLatin1String(separator));
        QTest::addRow("choice box narrower than its entries, %s", separatorName) << false << entry << 60 << false;
        QTest::addRow("editable box narrower than its entries, %s", separatorName) << true << entry << 60 << true;
    }
}

// An opened list draws an entry holding line breaks on one line, as the closed box shows it:
// exactly as it draws the entry with a blank for each break, in a row as high. It tells such
// an entry whole, with its own breaks, where it shows it shortened, and tells nothing where it
// shows it whole. Picked, the entry is the box's text exactly as stored.
void tst_ShortenedText::listEntriesShowOnOneLine()
{
    QFETCH(bool, editable);
    QFETCH(QString, entry);
    QFETCH(int, boxWidth);
    QFETCH(bool, shortened);

    const auto boxListing = [editable, boxWidth](const QString& listed) {
        return boxAt(editable ? Kind::EditableBox : Kind::ChoiceBox,
                     {QStringLiteral("Office LAN"), listed, QStringLiteral("Admin hosts")}, placeWithRoom(), boxWidth);
    };
    const std::unique_ptr<ChoiceBox> twin = boxListing(asOneLineShowsIt(entry));
    QAbstractItemView* list = openedList(twin.get());
    QVERIFY(list);
    const QModelIndex twinIndex = twin->model()->index(1, 0);
    QRect row = list->visualRect(twinIndex);
    const QImage drawnWithBlanks = list->viewport()->grab(QRect(0, row.y(), list->viewport()->width(), row.height())).toImage();
    twin->hidePopup();

    const std::unique_ptr<ChoiceBox> box = boxListing(entry);
    list = openedList(box.get());
    QVERIFY(list);
    const QModelIndex index = box->model()->index(1, 0);
    row = list->visualRect(index);
    QCOMPARE(list->viewport()->grab(QRect(0, row.y(), list->viewport()->width(), row.height())).toImage(),
             drawnWithBlanks);
    QCOMPARE(ShownEntry::whole(list, index), !shortened);
    const QStringList tip = ShownTip::at(list->viewport(), QPoint(list->viewport()->width() / 2, row.center().y()));
    if (shortened) {
        QVERIFY(!tip.isEmpty());
        QCOMPARE(tip.first(), ownLines(entry).first());
        QCOMPARE(tip.join(QString()), ownLines(entry).join(QString()));
    } else {
        QCOMPARE(tip, QStringList());
    }

    // As the keyboard picks it: to the window that has the focus, the list's.
    QTest::keyClick(list->window()->windowHandle(), Qt::Key_Down);
    QTest::keyClick(list->window()->windowHandle(), Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(box->currentIndex(), 1);
    QCOMPARE(box->currentText(), entry);
    QCOMPARE(box->itemText(1), entry);
}

void tst_ShortenedText::listOfANarrowBoxAsWideAsItsLines_data()
{
    QTest::addColumn<Kind>("kind"); // with pictures or without
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("added");  // once the list has opened, before it opens again
    QTest::addColumn<qreal>("fontGrowth"); // of the boxes' font once the list has opened

    const QString breaks = QStringLiteral("Line\nseparated\r\ngroup\u2028of hosts");
    const QString tabs = QStringLiteral("Line\tseparated\tgroup\tof hosts");
    const QStringList two{QStringLiteral("Office LAN"), breaks};
    const QStringList twoTabbed{QStringLiteral("Office LAN"), tabs};
    const Kind plain = Kind::ChoiceBox;
    const Kind pictures = Kind::IconBox;
    QTest::newRow("line breaks") << plain << two << QStringList() << 1.0;
    QTest::newRow("line breaks, pictures") << pictures << two << QStringList() << 1.0;
    QTest::newRow("tabs, pictures") << pictures << twoTabbed << QStringList() << 1.0;
    QTest::newRow("one entry") << plain << QStringList{breaks} << QStringList() << 1.0;
    QTest::newRow("one entry, pictures") << pictures << QStringList{tabs} << QStringList() << 1.0;
    QTest::newRow("one entry, then a wider one")
        << plain << QStringList{breaks} << QStringList{QStringLiteral("Night\nshift of the\r\nwarehouse team")} << 1.0;
    QTest::newRow("a larger font once opened") << plain << two << QStringList() << 1.5;
    QTest::newRow("a smaller font once opened") << pictures << two << QStringList() << 0.75;
}

// The list of a box narrower than its entries is exactly as wide as the list of a twin box
// whose entries hold blanks for their breaks and tabs, pictures and all, and stays so as its
// entries or its font change.
void tst_ShortenedText::listOfANarrowBoxAsWideAsItsLines()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, added);
    QFETCH(qreal, fontGrowth);

    const std::unique_ptr<ChoiceBox> box = boxAt(kind, entries, placeWithRoom());
    const std::unique_ptr<ChoiceBox> twin = boxAt(kind, asOneLineShowsThem(entries), placeWithRoom());
    for (ChoiceBox* each : {box.get(), twin.get()})
        QVERIFY(QTest::qWaitForWindowExposed(each));
    QCOMPARE(listPlaced(box.get()), listPlaced(twin.get()));

    QFont font = box->font();
    font.setPointSizeF(font.pointSizeF() * fontGrowth);
    for (ChoiceBox* each : {box.get(), twin.get()}) {
        if (!added.isEmpty()) {
            each->addItems(each == box.get() ? added : asOneLineShowsThem(added));
            dressed(kind, each);
        }
        each->setFont(font);
    }
    const QRect twinList = listPlaced(twin.get());
    QVERIFY(twinList.width() > 2 * twin->width());
    QCOMPARE(listPlaced(box.get()), twinList);
}

void tst_ShortenedText::listStaysOnTheScreenBesideItsBox_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("past");      // how far the list beside its box would reach past the screen
    QTest::addColumn<int>("movedLeft"); // from beside its box

    for (const auto& [name, separator] : {std::pair{"line breaks", "\n"}, std::pair{"tabs", "\t"}}) {
        const QString entry = QStringLiteral("Line%1separated%1group%1of%1hosts").arg(QLatin1String(separator));
        QTest::addRow("%s, room to spare", name) << entry << -25 << 0;
        QTest::addRow("%s, room to the screen's last pixel", name) << entry << 0 << 0;
        QTest::addRow("%s, a pixel short", name) << entry << 1 << 1;
        QTest::addRow("%s, 30 pixels short", name) << entry << 30 << 30;
    }
}

// A narrow box near the screen's right edge opens its list as wide as its lines need, beside
// the box where the screen's free area holds it there, else just as far left as it takes to
// stay on it. (The toolkit measures a tab to the next tab stop: it would move such a list
// left on its own.)
void tst_ShortenedText::listStaysOnTheScreenBesideItsBox()
{
    QFETCH(QString, entry);
    QFETCH(int, past);
    QFETCH(int, movedLeft);

    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    const QStringList entries{QStringLiteral("Office LAN"), entry};
    const std::unique_ptr<ChoiceBox> twin = boxAt(Kind::ChoiceBox, asOneLineShowsThem(entries), placeWithRoom());
    QVERIFY(QTest::qWaitForWindowExposed(twin.get()));
    const QRect twinList = listPlaced(twin.get());
    QVERIFY(twinList.width() > 2 * twin->width());
    const int beside = twinList.left() - twin->mapToGlobal(QPoint()).x();

    // The box's own left, inside the frame its window may have.
    const int left = free.right() + 1 + past - twinList.width() - beside;
    const QPoint frame = twin->mapToGlobal(QPoint()) - twin->pos();
    const std::unique_ptr<ChoiceBox> box = boxAt(Kind::ChoiceBox, entries, QPoint(left - frame.x(), twin->y()));
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QCOMPARE(box->mapToGlobal(QPoint()).x(), left);
    const QRect list = listPlaced(box.get());
    QCOMPARE(list.size(), twinList.size());
    QCOMPARE(list.left(), left + beside - movedLeft);
    QVERIFY(free.contains(list));
}

void tst_ShortenedText::listDrawsTheEntriesOfAModelSetLater_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("boxWidth");

    const QStringList plain{QStringLiteral("Office LAN"), QStringLiteral("Admin hosts"), QStringLiteral("Directory")};
    const QStringList broken{QStringLiteral("Night\nshift"), QStringLiteral("Line\r\nseparated group"),
                             QStringLiteral("Warehouse\u2028team\tB")};
    const QStringList brokenOtherwise{QStringLiteral("POP3\nServer"), QStringLiteral("Office\rhours"),
                                      QStringLiteral("Admin\u2029hosts")};
    QTest::newRow("plain entries, then ones with breaks") << plain << broken << 400;
    QTest::newRow("entries with breaks, then plain ones") << broken << plain << 400;
    QTest::newRow("entries with breaks, then others with breaks") << brokenOtherwise << broken << 400;
    QTest::newRow("plain entries, then ones with breaks, a narrow box") << plain << broken << 60;
    QTest::newRow("entries with breaks, then plain ones, a narrow box") << broken << plain << 60;
}

// A box given another model once shown and once its list has opened, the first one kept,
// lists the new model's entries exactly as a twin box made on that model lists them, asks
// for the same room, and follows the new model's changes as the twin does.
void tst_ShortenedText::listDrawsTheEntriesOfAModelSetLater()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, boxWidth);

    QStringListModel first(before);
    QStringListModel second(after);
    const std::unique_ptr<ChoiceBox> box = boxAt(Kind::ChoiceBox, {}, placeWithRoom(), boxWidth);
    box->setModel(&first);
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const QSize firstHint = box->sizeHint(); // as a layout asks once the box shows
    QVERIFY(listPlaced(box.get()).isValid());
    box->setModel(&second);

    for (const bool changed : {false, true}) {
        if (changed)
            second.setStringList(after + QStringList{QStringLiteral("Regional offices\nand the warehouse segment")});
        const std::unique_ptr<ChoiceBox> twin = boxAt(Kind::ChoiceBox, {}, placeWithRoom(), boxWidth);
        twin->setModel(&second);
        QVERIFY(QTest::qWaitForWindowExposed(twin.get()));
        QVERIFY(twin->sizeHint() != firstHint);
        QImage lists[2];
        for (ChoiceBox* each : {box.get(), twin.get()}) {
            QAbstractItemView* list = openedList(each);
            QVERIFY(list);
            lists[each == twin.get()] = list->viewport()->grab().toImage();
            each->hidePopup();
        }
        QCOMPARE(lists[0], lists[1]);
        QCOMPARE(box->sizeHint(), twin->sizeHint());
    }
}

void tst_ShortenedText::entryShownWholeTellsNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("a line break") << "Office\nLAN";
    QTest::newRow("a carriage return") << "Office\rLAN";
    QTest::newRow("a line separator") << "Office\u2028LAN";
    QTest::newRow("a tab") << "Office\tLAN";
    QTest::newRow("a joiner") << "Office\u200dLAN";
    QTest::newRow("an ampersand") << "R&D";
    QTest::newRow("right to left") << "مَرْحَبًا";
}

// Characters a list draws no glyph for are not missed: an entry shown whole tells nothing.
// (A style may show what follows a tab at the list's far edge, past what the list shows.)
void tst_ShortenedText::entryShownWholeTellsNothing()
{
    QFETCH(QString, entry);
    const std::unique_ptr<QWidget> widget = showing(Kind::ChoiceBox, entry);
    auto* box = static_cast<ChoiceBox*>(widget.get());
    box->setCurrentIndex(0);
    QAbstractItemView* list = openedList(box);
    QVERIFY(list);
    const QModelIndex index = box->model()->index(1, 0);
    const QRect shown = list->visualRect(index);
    const QStringList tip = ShownTip::at(list->viewport(), QPoint(10, shown.center().y()));
    QCOMPARE(tip.join(QString()), ShownEntry::whole(list, index) ? QString() : entry);
    QVERIFY(ShownEntry::whole(list, index) || entry.contains(QLatin1Char('\t')));
    box->hidePopup();
}

void tst_ShortenedText::growsWithItsWindow_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("filledOnceShown");
    QTest::addColumn<int>("formPolicy"); // a horizontal policy the form sets, or -1
    QTest::addColumn<bool>("grows");

    for (const auto& [name, kind] : {std::pair{"choice box", Kind::ChoiceBox}, std::pair{"editable box", Kind::EditableBox},
                                     std::pair{"label", Kind::Label}}) {
        QTest::addRow("%s, shortened", name) << kind << longText(300) << false << -1 << true;
        QTest::addRow("%s, whole", name) << kind << QStringLiteral("Admin hosts") << false << -1 << false;
        QTest::addRow("%s, filled once shown", name) << kind << longText(300) << true << -1 << true;
    }
    // Each line fits the widest text; on one line they do not.
    QStringList lines;
    for (int i = 1; i <= 30; ++i)
        lines.append(QStringLiteral("Office LAN %1").arg(i));
    const QString shortLines = lines.join(QLatin1Char('\n'));
    QTest::newRow("label, many short lines") << Kind::Label << shortLines << false << -1 << true;
    QTest::newRow("choice box, many short lines") << Kind::ChoiceBox << shortLines << false << -1 << true;
    const QString broken = QStringLiteral("POP3 Server\n") + longText(380);
    QTest::newRow("label, a stored line break") << Kind::Label << broken << false << -1 << true;
    QTest::newRow("choice box, a stored line break") << Kind::ChoiceBox << broken << false << -1 << true;
    QTest::newRow("choice box, the form's fixed width") << Kind::ChoiceBox << longText(300) << false
                                                        << int(QSizePolicy::Fixed) << false;
    QTest::newRow("label, the form's least width") << Kind::Label << longText(300) << false
                                                   << int(QSizePolicy::Minimum) << true;
}

// In a row with an Edit button and room to spare, above a text field: a widget showing its
// text shortened takes its share of the room a wider window adds and shows more of its text,
// and gives it back when the window is made narrower again, whenever it was filled. One
// showing its text whole keeps the room it asks for, as the form laid it out, and so does
// one the form gave a width it may not grow beyond.
void tst_ShortenedText::growsWithItsWindow()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(bool, filledOnceShown);
    QFETCH(int, formPolicy);
    QFETCH(bool, grows);

    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* row = new QHBoxLayout;
    QWidget* field = nullptr;
    if (kind == Kind::Label)
        field = new ShortenedLabel(&window);
    else
        field = boxShowing(QStringLiteral("Admin hosts"), kind == Kind::EditableBox, &window);
    const auto fill = [&] {
        if (auto* label = qobject_cast<QLabel*>(field))
            label->setText(text);
        else
            static_cast<QComboBox*>(field)->setItemText(1, text);
    };
    if (formPolicy >= 0)
        field->setSizePolicy(QSizePolicy::Policy(formPolicy), field->sizePolicy().verticalPolicy());
    row->addWidget(new QLabel(QStringLiteral("Group:"), &window));
    row->addWidget(field);
    row->addWidget(new QPushButton(QStringLiteral("Edit..."), &window));
    row->addStretch();
    column->addLayout(row);
    column->addWidget(new QLineEdit(&window));
    if (!filledOnceShown)
        fill();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (filledOnceShown) {
        fill();
        // The event loop runs a while, as it does before the administrator widens the window.
        QTest::qWait(20);
    }

    const auto widthOnceResized = [&](int width) {
        window.resize(width, window.height());
        if (!QTest::qWaitFor([&] { return window.width() == width; }))
            return -1;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return field->width();
    };
    const int opened = widthOnceResized(window.sizeHint().width());
    const QString shownOpened = shownText(field);
    const int wider = widthOnceResized(window.sizeHint().width() + 300);

    if (grows) {
        QVERIFY2(wider > opened + 100, qPrintable(QStringLiteral("%1 to %2").arg(opened).arg(wider)));
        QVERIFY(kind == Kind::EditableBox || shownText(field).size() > shownOpened.size());
    } else {
        QCOMPARE(wider, opened);
    }
    QCOMPARE(widthOnceResized(window.sizeHint().width()), opened);
    QCOMPARE(shownText(field), shownOpened);
    QCOMPARE(currentText(field), text);
    if (formPolicy >= 0)
        QCOMPARE(field->sizePolicy().horizontalPolicy() & ~QSizePolicy::ExpandFlag, formPolicy);
}

// Once the text fits, the widget has the policy its form gave it, or the one the form set
// while the widget grew.
void tst_ShortenedText::formPolicyOutlivesTheGrowth()
{
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    auto* label = new ShortenedLabel(&window);
    row->addWidget(label);
    row->addStretch();
    label->setText(longText(300));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The policy once the event loop has run a while with the text given.
    const auto policyWith = [label](const QString& text) {
        label->setText(text);
        QTest::qWait(20);
        const QSizePolicy policy = label->sizePolicy();
        return std::tuple(policy.horizontalPolicy(), policy.verticalPolicy(), policy.horizontalStretch());
    };
    using P = QSizePolicy;
    QCOMPARE(policyWith(QStringLiteral("Admin hosts")), std::tuple(P::Preferred, P::Preferred, 0));
    QCOMPARE(policyWith(longText(300)), std::tuple(P::Expanding, P::Preferred, 1));
    // The form's own, set while the label grows.
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QCOMPARE(policyWith(QStringLiteral("Admin hosts")), std::tuple(P::Expanding, P::Fixed, 0));
    QCOMPARE(policyWith(longText(300)), std::tuple(P::Expanding, P::Fixed, 1));
    QCOMPARE(policyWith(QStringLiteral("Admin hosts")), std::tuple(P::Expanding, P::Fixed, 0));
}

void tst_ShortenedText::lastAskWinsOverAQueuedOne_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("event"); // the event after which the widget asks again at once
    for (const auto& [name, kind] : {std::pair{"choice box", Kind::ChoiceBox}, std::pair{"label", Kind::Label}}) {
        QTest::addRow("%s, another font", name) << kind << int(QEvent::FontChange);
        QTest::addRow("%s, another style", name) << kind << int(QEvent::StyleChange);
    }
}

// A size hint asked for while the text was long leaves its growth to the event loop; should
// the text be short again and the widget ask at once (another font, another style) before the
// loop runs, the widget keeps the form's policy: what it asked last is what holds.
void tst_ShortenedText::lastAskWinsOverAQueuedOne()
{
    QFETCH(Kind, kind);
    QFETCH(int, event);

    QWidget window;
    auto* row = new QHBoxLayout(&window);
    QWidget* field = nullptr;
    if (kind == Kind::Label)
        field = new ShortenedLabel(&window);
    else
        field = boxShowing(QStringLiteral("Admin hosts"), false, &window);
    const auto fill = [field](const QString& text) {
        if (auto* label = qobject_cast<QLabel*>(field))
            label->setText(text);
        else
            static_cast<QComboBox*>(field)->setItemText(1, text);
    };
    fill(QStringLiteral("Admin hosts"));
    row->addWidget(field);
    row->addStretch();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
    QCOMPARE(field->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);

    fill(longText(300));
    field->sizeHint();
    fill(QStringLiteral("Admin hosts"));
    QEvent asked(static_cast<QEvent::Type>(event));
    QCoreApplication::sendEvent(field, &asked);
    QCOMPARE(field->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    // Only the calls already queued, not what the layouts would ask next.
    QCoreApplication::sendPostedEvents(field, QEvent::MetaCall);
    QCOMPARE(field->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(field->sizePolicy().horizontalStretch(), 0);
}

// A box given another style once its list has opened draws the list as that style draws a
// box's list, and its long entries still tell their text.
void tst_ShortenedText::otherStyleOnceTheListOpened()
{
    const std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
    QVERIFY(windows);
    const QStringList entries{QStringLiteral("Office LAN"), QStringLiteral("Admin hosts")};
    ChoiceBox box;
    box.addItems(entries);
    QComboBox plain;
    plain.addItems(entries);
    for (QComboBox* each : {static_cast<QComboBox*>(&box), &plain}) {
        each->show();
        QVERIFY(QTest::qWaitForWindowExposed(each));
    }
    QVERIFY(openedList(&box));
    box.hidePopup();

    QImage lists[2];
    for (QComboBox* each : {static_cast<QComboBox*>(&box), &plain}) {
        each->setStyle(windows.get());
        QVERIFY(openedList(each));
        lists[each == &plain] = each->view()->viewport()->grab().toImage();
        each->hidePopup();
    }
    QCOMPARE(lists[0], lists[1]);

    box.addItem(longText(300));
    QAbstractItemView* list = openedList(&box);
    QVERIFY(list);
    const QRect entry = list->visualRect(box.model()->index(2, 0));
    const QStringList tip = ShownTip::at(list->viewport(), QPoint(list->viewport()->width() / 2, entry.center().y()));
    QCOMPARE(tip.join(QString()), ShownEntry::whole(list, box.model()->index(2, 0)) ? QString() : longText(300));
    box.hidePopup();
    for (QComboBox* each : {static_cast<QComboBox*>(&box), &plain})
        each->setStyle(nullptr);
}

void tst_ShortenedText::escapeOnAnOpenListClosesOnlyTheList_data()
{
    QTest::addColumn<bool>("editable");
    QTest::newRow("choice box") << false;
    QTest::newRow("editable box") << true;
}

// In a dialog whose Cancel has Escape for its accelerator, Escape on an open list closes the
// list and leaves the dialog and what it holds; with no list open it cancels the dialog.
void tst_ShortenedText::escapeOnAnOpenListClosesOnlyTheList()
{
    QFETCH(bool, editable);
    QDialog dialog;
    ChoiceBox* box = boxShowing(QStringLiteral("Windows NT domain"), editable, &dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout(&dialog);
    row->addWidget(box);
    row->addWidget(cancel);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    box->setFocus();

    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    const ShortcutCount shortcuts;
    // As the keyboard sends it: to the window that has the focus, the list's.
    QTest::keyClick(box->view()->window()->windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!box->view()->isVisible());
    // A shortcut would click Cancel a moment later.
    QCOMPARE(shortcuts.count, 0);
    QVERIFY(dialog.isVisible());
    QCOMPARE(box->currentText(), QStringLiteral("Windows NT domain"));

    QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(tst_ShortenedText)
#include "tst_shortenedtext.moc"
