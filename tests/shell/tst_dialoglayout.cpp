// Every dialog and wizard of the module opened as the administrator opens it, on the
// stand-in server's demo data, at the default font: each shows its whole text, every label
// and button at least at its size hint and every column of its lists as wide as its widest
// entry, and no widget smaller than its minimum size. With every stored text far wider than
// the screen, and such a text typed into every field, each still fits the screen, and so
// does every button of it; every box and label showing such a text shortened tells it whole
// and shows more of it as the dialog is made wider, and shows such a text holding line breaks
// on one line. Escape on any of its open lists closes that list alone, and Return on any of its
// buttons presses that button.

#include "dialogrecorder.h"
#include "dialogutils.h"
#include "dlgmessage.h"
#include "globaldata.h"
#include "layoutcheck.h"
#include "longtexts.h"
#include "shortcutcount.h"
#include "shellharness.h"
#include "wizard.h"
#include "wndlogdbg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTcpSocket>

using namespace StandIn;

namespace {

// The domain of the demo's office network, which the users page imports accounts from.
const char* const NtDomain = "CORVANE";

QString classOf(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

// The widget of the page the window shows that has this slot: the page, or the form
// inside its pane.
QWidget* receiverOf(const WndMain* window, const char* slot)
{
    QWidget* pane = window->getCurrentPane();
    if (!pane)
        return nullptr;
    QList<QWidget*> candidates{pane};
    candidates += pane->findChildren<QWidget*>();
    for (QWidget* widget : std::as_const(candidates)) {
        if (widget->metaObject()->indexOfMethod(slot) >= 0)
            return widget;
    }
    return nullptr;
}

void showItem(WndMain* window, const QString& title)
{
    const QList<QTreeWidgetItem*> found
        = window->getTree()->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
    window->getTree()->setCurrentItem(found.value(0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the administrator sees once the dialog is up: the layouts have done their work.
void settle(QWidget* dialog)
{
    if (!QTest::qWaitForWindowExposed(dialog))
        qWarning("the dialog %s was not shown", qPrintable(classOf(dialog)));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

using Look = std::function<QStringList(QDialog*)>;

// What look finds in the dialog once it is up; a wizard's pages are looked at one after the
// other.
QStringList lookAt(QDialog* dialog, const Look& look)
{
    settle(dialog);
    auto* wizard = qobject_cast<Wizard*>(dialog);
    if (!wizard)
        return look(dialog);
    QStringList found;
    for (int i = 0; i < wizard->pageCount(); ++i) {
        wizard->showPage(wizard->page(i));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        for (const QString& seen : look(dialog))
            found.append(QStringLiteral("%1: %2").arg(wizard->title(wizard->page(i)), seen));
    }
    return found;
}

QStringList cutIn(QDialog* dialog)
{
    QStringList found = LayoutCheck::squeezed(dialog) + LayoutCheck::cutTexts(dialog);
    found.removeDuplicates();
    return found;
}

QString rectText(const QRect& rect)
{
    return QStringLiteral("%1x%2 at %3,%4").arg(rect.width()).arg(rect.height()).arg(rect.x()).arg(rect.y());
}

// What of the dialog lies beyond the screen's available area: the dialog, when it is wider
// or taller, and each of its shown buttons that lies outside the area. And each text shown
// in part with nothing to tell the rest: a plain label or choice box narrower than its text
// (a ShortenedLabel or ChoiceBox shows an ellipsis and tells the whole text as a tool tip).
QStringList beyondTheScreen(QDialog* dialog)
{
    const QRect screen = dialog->screen()->availableGeometry();
    QStringList found;
    const QRect frame = dialog->frameGeometry();
    if (frame.width() > screen.width() || frame.height() > screen.height())
        found.append(QStringLiteral("the dialog %1 on a screen of %2").arg(rectText(frame), rectText(screen)));
    for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (!button->isVisible() || button->window() != dialog)
            continue;
        const QRect global(button->mapToGlobal(QPoint(0, 0)), button->size());
        if (!screen.contains(global))
            found.append(QStringLiteral("%1 %2 \"%3\"").arg(LayoutCheck::nameOf(button), rectText(global), button->text()));
    }
    for (const QString& cut : LayoutCheck::cutWithoutTheRest(dialog))
        found.append(cut + QStringLiteral(" cut"));
    return found;
}

// A long text typed into every field of the dialog the administrator can type into, and
// what is then beyond the screen.
QStringList beyondTheScreenOnceTyped(QDialog* dialog)
{
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
        if (field->isVisible() && field->isEnabled() && !field->isReadOnly() && field->window() == dialog)
            QTest::keyClicks(field, LongTexts::lengthened(QStringLiteral("typed")));
    }
    settle(dialog);
    return beyondTheScreen(dialog);
}

// A step on the way to the dialog looked at, for a dialog of the class before the first
// '.' or ':' it holds: "Class" accepts it; "Class.slot" calls that slot of it, which opens
// the next dialog, and then cancels it; "Class:field=text" types the text into that field
// and accepts it.
int takeStep(QDialog* dialog, const QString& step)
{
    const qsizetype slot = step.indexOf(u'.');
    if (slot > 0) {
        QMetaObject::invokeMethod(dialog, step.mid(slot + 1).toLatin1().constData(), Qt::DirectConnection);
        return QDialog::Rejected;
    }
    const qsizetype field = step.indexOf(u':');
    if (field > 0) {
        const QString typed = step.mid(field + 1);
        auto* edit = dialog->findChild<QLineEdit*>(typed.section(u'=', 0, 0));
        if (edit)
            QTest::keyClicks(edit, typed.section(u'=', 1));
    }
    return QDialog::Accepted;
}

QString stepClass(const QString& step)
{
    return step.section(u'.', 0, 0).section(u':', 0, 0);
}

// The shown window of this class, a dialog the module shows without waiting for it.
QDialog* shownDialog(const QString& className)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && classOf(window) == className)
            return qobject_cast<QDialog*>(window);
    }
    return nullptr;
}

// Whatever of the dialog's stored texts it shows shortened, as it opens and with each box
// showing its longest entry: a box of the toolkit's that cuts them, an entry of an opened
// list, a box or a label whose tip does not tell the text whole, or a box or label that does
// not show more of it in a wider dialog; and one holding line breaks not shown on one line.
QStringList untoldOrNotGrowing(QDialog* dialog)
{
    const auto untold = [dialog] {
        return LayoutCheck::storedLinesNotOnOne(dialog) + LayoutCheck::untoldTexts(dialog)
               + LayoutCheck::fieldsNotGrowing(dialog, dialog, 300);
    };
    QStringList found = LayoutCheck::plainBoxes(dialog) + LayoutCheck::untoldEntries(dialog) + untold();
    LayoutCheck::chooseLongestEntries(dialog);
    return found + untold();
}

// Escape, as the keyboard sends it, on each list of the dialog opened in turn: the list
// closes, no shortcut goes off and the dialog stays. With no list open, on a dialog's last
// page, Escape cancels it.
QStringList escapeOverOpenLists(QDialog* dialog)
{
    QStringList found;
    ShortcutCount shortcuts;
    for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
        if (!box->isVisible() || !box->isEnabled() || box->window() != dialog)
            continue;
        const QString name = LayoutCheck::nameOf(box);
        box->setFocus();
        box->showPopup();
        if (!QTest::qWaitFor([box] { return box->view()->isVisible(); })) {
            found.append(name + QStringLiteral(" opens no list"));
            continue;
        }
        QTest::keyClick(box->view()->window()->windowHandle(), Qt::Key_Escape);
        if (!QTest::qWaitFor([box] { return !box->view()->isVisible(); }))
            found.append(name + QStringLiteral(": the list stays open"));
        if (shortcuts.count > 0 || !dialog->isVisible())
            found.append(name + QStringLiteral(": Escape went past the list"));
        shortcuts.count = 0;
    }
    const auto* wizard = qobject_cast<Wizard*>(dialog);
    if (wizard && wizard->currentPage() != wizard->page(wizard->pageCount() - 1))
        return found;
    // A dialog of the console's own that goes as it closes.
    const QPointer<QDialog> open = dialog;
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
    if (!QTest::qWaitFor([&open] { return !open || !open->isVisible(); }))
        found.append(QStringLiteral("Escape with no list open leaves the dialog open"));
    return found;
}

// Return, as the keyboard sends it, on each shown button of the dialog in turn, the keys on
// that button: the button pressed is that one. What the buttons do is disconnected first, so
// that nothing is done, nor is the dialog closed.
QStringList returnOverEachButton(QDialog* dialog)
{
    QList<QPushButton*> buttons;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isVisible() && button->isEnabled() && button->window() == dialog)
            buttons.append(button);
    }
    QStringList pressed;
    const QObject listening;
    for (QPushButton* button : std::as_const(buttons)) {
        button->disconnect();
        QObject::connect(button, &QAbstractButton::clicked, &listening,
                         [&pressed, button] { pressed.append(LayoutCheck::nameOf(button)); });
    }
    QStringList found;
    for (QPushButton* button : std::as_const(buttons)) {
        const QString name = LayoutCheck::nameOf(button);
        pressed.clear();
        button->setFocus();
        if (dialog->focusWidget() != button) {
            found.append(name + QStringLiteral(" takes no focus"));
            continue;
        }
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        if (pressed != QStringList{name})
            found.append(QStringLiteral("Return on %1 pressed: %2").arg(name, pressed.join(QStringLiteral(", "))));
    }
    return found;
}

} // namespace

class tst_DialogLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyDialogShowsItsWholeText_data();
    void everyDialogShowsItsWholeText();
    void longTextsKeepEveryDialogOnTheScreen_data();
    void longTextsKeepEveryDialogOnTheScreen();
    void longTextsToldWholeAndShownMoreOfInAWiderDialog_data();
    void longTextsToldWholeAndShownMoreOfInAWiderDialog();
    void storedLineBreaksOnOneLineAndToldWhole_data();
    void storedLineBreaksOnOneLineAndToldWhole();
    void escapeOnAnOpenListClosesOnlyTheList_data();
    void escapeOnAnOpenListClosesOnlyTheList();
    void returnOnAButtonPressesThatButton_data();
    void returnOnAButtonPressesThatButton();

private:
    // How a row opens its dialog.
    struct Opening
    {
        QString page;
        QString domain;
        QString action;
        QStringList steps;
        QString dialogClass;
    };

    static void addDialogRows();
    // The row's opening, from the test data.
    static Opening fetchedOpening();
    // Opens the dialog as the row says, on the server, and returns what look finds in it;
    // sets *seen when the dialog was shown at all.
    QStringList openAndLook(const Opening& opening, TestServer& server, const Look& look, bool* seen);
    // Opens the row's dialog on a server whose stored texts were lengthened by `lengthen`,
    // the row's domain among them.
    QStringList openOnStoredTexts(TestServer& server, QString (*lengthen)(const QString&), const Look& look,
                                  bool* seen);
    // Opens it without a page: a failed connection, or a helper called directly.
    void openWithoutPage(const QString& action, TestServer& server);
    // Opens it from the page of the tree item; what went wrong on the way when it could not.
    QStringList openFromPage(const Opening& opening, TestServer& server);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<TestServer> m_longTexts; // every stored text made long
    std::unique_ptr<TestServer> m_brokenTexts; // and given a line break
    std::unique_ptr<ConsoleStandIn> m_console;
};

void tst_DialogLayout::initTestCase()
{
    m_server = startStandIn();
    m_longTexts = startStandIn();
    LongTexts::lengthenEveryText(*m_longTexts);
    m_brokenTexts = startStandIn();
    LongTexts::lengthenEveryText(*m_brokenTexts, LongTexts::brokenAndLengthened);
}

void tst_DialogLayout::init()
{
    globalData.currentDomain = QString();
    m_console = std::make_unique<ConsoleStandIn>();
}

void tst_DialogLayout::cleanup()
{
    m_console.reset();
}

void tst_DialogLayout::everyDialogShowsItsWholeText_data()
{
    addDialogRows();
}

void tst_DialogLayout::addDialogRows()
{
    QTest::addColumn<QString>("page");       // the tree item whose page opens it; "" for none
    QTest::addColumn<QString>("domain");     // the domain the account pages show
    QTest::addColumn<QString>("action");     // the page's slot, or how it opens without a page
    QTest::addColumn<QStringList>("steps");  // the dialogs on the way to it (see takeStep)
    QTest::addColumn<QString>("dialog");     // its class

    const QString lakeside = QStringLiteral("lakeside.example");
    auto row = [](const char* name, const char* page, const QString& domain, const char* action,
                  const QStringList& steps, const char* dialog) {
        QTest::newRow(name) << page << domain << action << steps << dialog;
    };
    // The reasons of a failed connection, the network ones the longest.
    row("connection failure: nobody listens", "", {}, "connect to a closed port", {}, "TDlgFailed");
    row("connection failure: wrong password", "", {}, "connect with a wrong password", {}, "TDlgFailed");
    row("message", "", {}, "message", {}, "DlgMessage");
    row("one-line input", "", {}, "input", {}, "QDialog");
    row("one-line input, a narrow field", "", {}, "narrow input", {}, "QDialog");
    row("one-line input, a long label", "", {}, "input with a long label", {}, "QDialog");

    row("users: template chooser", "Users", {}, "slotAdd", {}, "DlgChooseTemp");
    row("users: add wizard", "Users", {}, "slotAdd", {"DlgChooseTemp"}, "WizAddUser");
    // The second domain's groups have the longer descriptions.
    row("users: add wizard's group picker", "Users", lakeside, "slotAdd",
        {"DlgChooseTemp", "WizAddUser.slotAdd"}, "DlgAddGroup");
    row("users: edit", "Users", {}, "slotEdit", {}, "DlgEditUser");
    row("users: import, the domain", "Users", {}, "slotImport", {}, "DlgImport");
    row("users: import, the accounts", "Users", {}, "slotImport",
        {QStringLiteral("DlgImport:m_editDomain=%1").arg(QLatin1String(NtDomain))}, "DlgImport2");
    row("groups: add wizard", "Groups", {}, "slotAdd", {}, "WizAddGroup");
    row("groups: add wizard's user picker", "Groups", lakeside, "slotAdd", {"WizAddGroup.slotAdd"}, "DlgAddUser");
    row("groups: edit", "Groups", {}, "slotEdit", {}, "DlgEditGroup");
    row("templates: edit", "User Templates", {}, "slotEdit", {}, "DlgEditTemplate");
    row("address groups: edit", "IP Address Groups", {}, "slotEdit", {}, "DlgIPGroup");
    row("address groups: rename a group", "IP Address Groups", {}, "slotEdit", {"DlgIPGroup.slotRenameGroup"},
        "QInputDialog");
    row("time ranges: edit", "Time Ranges", {}, "slotEdit", {}, "DlgTimeIntEx");
    row("services: edit", "Services", {}, "slotProp", {}, "DlgService");
    row("antispam: add", "Antispam", {}, "slotAdd", {}, "DlgFilter");
    row("antispam: edit", "Antispam", {}, "slotEdit", {}, "DlgFilter");
    row("antispam: columns", "Antispam", {}, "slotCols", {}, "DlgCols");
    row("antivirus: add", "Antivirus", {}, "slotAdd", {}, "DlgAttach");
    row("antivirus: edit", "Antivirus", {}, "slotEdit", {}, "DlgAttach");
    row("backup: account finder", "Backup", {}, "slotSelect", {}, "DlgBrowse");
    row("advanced: certificate", "Advanced Options", {}, "slotGen", {}, "DlgGenCert");
    row("ETRN: add", "ETRN Download", {}, "slotAdd", {}, "DlgEtrn");
    row("ETRN: edit", "ETRN Download", {}, "slotEdit", {}, "DlgEtrn");
    row("POP3: add an account", "POP3 Download", {}, "slotAdd", {}, "DlgPop3");
    row("POP3: add a sorting rule", "POP3 Download", {}, "slotAdd2", {}, "DlgRule");
    row("POP3: edit an account", "POP3 Download", {}, "slotEdit", {}, "DlgPop3");
    row("POP3: edit a sorting rule", "POP3 Download", {}, "slotEdit2", {}, "DlgRule");
    row("scheduling: add", "Scheduling", {}, "slotAdd", {}, "DlgSched");
    row("scheduling: edit", "Scheduling", {}, "slotEdit", {}, "DlgSched");
    // Shown by the log's menu without waiting for them.
    row("debug log: events", "debug", {}, "log events", {}, "WndLogConf");
    row("debug log: traffic expression", "debug", {}, "log expression", {}, "DlgLogExpr");
}

tst_DialogLayout::Opening tst_DialogLayout::fetchedOpening()
{
    QFETCH(QString, page);
    QFETCH(QString, domain);
    QFETCH(QString, action);
    QFETCH(QStringList, steps);
    QFETCH(QString, dialog);
    return {page, domain, action, steps, dialog};
}

void tst_DialogLayout::everyDialogShowsItsWholeText()
{
    bool seen = false;
    const QStringList cut = openAndLook(fetchedOpening(), *m_server, cutIn, &seen);
    QVERIFY2(seen, qPrintable(cut.join(u'\n')));
    QCOMPARE(cut.join(u'\n'), QString());
}

void tst_DialogLayout::longTextsKeepEveryDialogOnTheScreen_data()
{
    addDialogRows();
}

void tst_DialogLayout::longTextsKeepEveryDialogOnTheScreen()
{
    bool seen = false;
    const QStringList beyond = openOnStoredTexts(*m_longTexts, LongTexts::lengthened, beyondTheScreenOnceTyped, &seen);
    QVERIFY2(seen, qPrintable(beyond.join(u'\n')));
    QCOMPARE(beyond.join(u'\n'), QString());
}

void tst_DialogLayout::longTextsToldWholeAndShownMoreOfInAWiderDialog_data()
{
    addDialogRows();
}

void tst_DialogLayout::longTextsToldWholeAndShownMoreOfInAWiderDialog()
{
    bool seen = false;
    const QStringList untold = openOnStoredTexts(*m_longTexts, LongTexts::lengthened, untoldOrNotGrowing, &seen);
    QVERIFY2(seen, qPrintable(untold.join(u'\n')));
    QCOMPARE(untold.join(u'\n'), QString());
}

void tst_DialogLayout::storedLineBreaksOnOneLineAndToldWhole_data()
{
    addDialogRows();
}

void tst_DialogLayout::storedLineBreaksOnOneLineAndToldWhole()
{
    bool seen = false;
    const QStringList untold =
        openOnStoredTexts(*m_brokenTexts, LongTexts::brokenAndLengthened, untoldOrNotGrowing, &seen);
    QVERIFY2(seen, qPrintable(untold.join(u'\n')));
    QCOMPARE(untold.join(u'\n'), QString());
}

QStringList tst_DialogLayout::openOnStoredTexts(TestServer& server, QString (*lengthen)(const QString&),
                                                const Look& look, bool* seen)
{
    Opening opening = fetchedOpening();
    if (!opening.domain.isEmpty())
        opening.domain = lengthen(opening.domain);
    return openAndLook(opening, server, look, seen);
}

void tst_DialogLayout::escapeOnAnOpenListClosesOnlyTheList_data()
{
    addDialogRows();
}

void tst_DialogLayout::escapeOnAnOpenListClosesOnlyTheList()
{
    bool seen = false;
    const QStringList found = openAndLook(fetchedOpening(), *m_server, escapeOverOpenLists, &seen);
    QVERIFY2(seen, qPrintable(found.join(u'\n')));
    QCOMPARE(found.join(u'\n'), QString());
}

void tst_DialogLayout::returnOnAButtonPressesThatButton_data()
{
    addDialogRows();
}

void tst_DialogLayout::returnOnAButtonPressesThatButton()
{
    bool seen = false;
    const QStringList found = openAndLook(fetchedOpening(), *m_server, returnOverEachButton, &seen);
    QVERIFY2(seen, qPrintable(found.join(u'\n')));
    QCOMPARE(found.join(u'\n'), QString());
}

QStringList tst_DialogLayout::openAndLook(const Opening& opening, TestServer& server, const Look& look,
                                          bool* seen)
{
    QStringList cut;
    DialogRecorder recorder;
    for (int i = 0; i < 8; ++i) {
        recorder.answerDialog([&](QDialog* dialog) {
            const QString shown = classOf(dialog);
            if (shown == opening.dialogClass) {
                *seen = true;
                dialog->show();
                cut = lookAt(dialog, look);
                return int(QDialog::Rejected);
            }
            for (const QString& step : opening.steps) {
                if (stepClass(step) == shown)
                    return takeStep(dialog, step);
            }
            return int(QDialog::Rejected);
        });
    }
    if (opening.page.isEmpty()) {
        openWithoutPage(opening.action, server);
        return cut;
    }
    const QStringList failed = openFromPage(opening, server);
    if (!failed.isEmpty())
        return failed;
    // A dialog the page shows without waiting for it.
    if (const QPointer<QDialog> dialog = shownDialog(opening.dialogClass)) {
        *seen = true;
        cut = lookAt(dialog, look);
        if (dialog)
            dialog->close();
    }
    return cut;
}

void tst_DialogLayout::openWithoutPage(const QString& action, TestServer& server)
{
    if (action == QLatin1String("connect to a closed port")) {
        QTcpSocket bound; // holds a port on which nobody listens
        if (bound.bind(QHostAddress::LocalHost))
            m_console->open(bound.localPort());
    } else if (action == QLatin1String("connect with a wrong password")) {
        m_console->open(server.port(), 0, "wrong");
    } else if (action == QLatin1String("message")) {
        DlgMessage message;
        message.setWindowTitle(QStringLiteral("Ornel Administration Console"));
        message.setText("%s", "The server holds changes that were not applied. Apply them now?");
        message.addButton("&Apply", 1, true);
        message.addButton("&Discard", 2);
        message.addButton("&Cancel", 0);
        message.exec();
    } else {
        // The value the server holds for the text the dialog asks for.
        QString value = server.rows(QStringLiteral("ipaccesslist")).value(0).value(0);
        const bool longLabel = action.endsWith(QLatin1String("label"));
        const int width = action.startsWith(QLatin1String("narrow")) ? 100 : 200;
        DialogInput(nullptr, value, "Rename", longLabel ? "Name of the address group:" : "New name:", width);
    }
}

QStringList tst_DialogLayout::openFromPage(const Opening& opening, TestServer& server)
{
    WndMain* window = m_console->open(server.port());
    if (!window)
        return {QStringLiteral("no main window")};
    // The account pages show the domain chosen last.
    globalData.currentDomain = opening.domain;
    showItem(window, opening.page);
    const bool logMenu = opening.action.startsWith(QLatin1String("log "));
    const QByteArray slot = logMenu ? QByteArray("slotPopupMenuSelect(int)") : opening.action.toLatin1() + "()";
    QWidget* page = receiverOf(window, slot.constData());
    if (!page)
        return {QStringLiteral("no page with %1").arg(QLatin1String(slot))};
    // The first entry of each of the page's lists is the one edited.
    for (QTreeWidget* list : page->findChildren<QTreeWidget*>(QRegularExpression(QStringLiteral("^m_list(_2)?$")))) {
        if (list->topLevelItemCount())
            list->setCurrentItem(list->topLevelItem(0));
    }
    if (logMenu) {
        const int entry = opening.action == QLatin1String("log events") ? WndLogDbg::LogEventsId
                                                                          : WndLogDbg::LogExpressionId;
        QMetaObject::invokeMethod(page, "slotPopupMenuSelect", Qt::DirectConnection, Q_ARG(int, entry));
    } else {
        QMetaObject::invokeMethod(page, opening.action.toLatin1().constData(), Qt::DirectConnection);
    }
    return {};
}

QTEST_MAIN(tst_DialogLayout)
#include "tst_dialoglayout.moc"
