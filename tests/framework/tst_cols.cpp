#include "cols.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <QtTest>

using IntList = QList<int>;

namespace {

// A model declared the way the list pages declare theirs: one letter per column, S for a
// column shown by default and H for one hidden by default, all widths automatic.
Cols declaredModel(const QString& shownHidden)
{
    Cols model;
    for (int id = 0; id < shownHidden.size(); ++id)
        model.add(QStringLiteral("Column %1").arg(id), shownHidden.at(id) == QLatin1Char('S'), -1, false);
    return model;
}

// Runs "show 0", "hide 1", "up 2", "down 0", "reset" on the model.
void apply(Cols* model, const QStringList& operations)
{
    for (const QString& operation : operations) {
        const QStringList words = operation.split(QLatin1Char(' '));
        const int arg = words.value(1).toInt();
        if (words.at(0) == QLatin1String("show"))
            model->show(arg);
        else if (words.at(0) == QLatin1String("hide"))
            model->hide(arg);
        else if (words.at(0) == QLatin1String("up"))
            model->up(arg);
        else if (words.at(0) == QLatin1String("down"))
            model->down(arg);
        else if (words.at(0) == QLatin1String("reset"))
            model->reset();
        else
            QFAIL(qPrintable(QStringLiteral("unknown operation ") + operation));
    }
}

void compareLayout(const Cols& actual, const Cols& expected)
{
    QCOMPARE(actual.cols, expected.cols);
    QCOMPARE(actual.disp, expected.disp);
    QCOMPARE(actual.dispinv, expected.dispinv);
    QCOMPARE(actual.hid, expected.hid);
    QCOMPARE(actual.titles, expected.titles);
    QCOMPARE(actual.showFlags, expected.showFlags);
    QCOMPARE(actual.width, expected.width);
    QCOMPARE(actual.defTitles, expected.defTitles);
    QCOMPARE(actual.defShow, expected.defShow);
    QCOMPARE(actual.defWidth, expected.defWidth);
}

QString adminFileText()
{
    QFile file(QDir::homePath() + QStringLiteral("/.Ornel/adminrc"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromUtf8(file.readAll());
}

const QString mailSection = QStringLiteral("Admin/Mail");

QString layoutKey(const QString& list, const char* item)
{
    return QStringLiteral("/Admin/Mail/") + list + QLatin1Char('/') + QLatin1String(item);
}

} // namespace

class TestCols : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void newModelIsEmpty();
    void add_data();
    void add();
    void addShownAfterMoveGoesRightmost();
    void addKeepsWidthAndDefaults();
    void addFromResetLeavesDefaults();
    void addClearsStaleDispinv();
    void recountSkipsIdsOutOfRange();
    void showDebug_data();
    void showDebug();

    void editing_data();
    void editing();
    void hiddenColumnKeepsWidthUntilReset();
    void resetIsIdempotent();
    void resetWithoutColumns();
    void assignment_data();
    void assignment();
    void selfAssignment();
    void copiesAreIndependent();

    void saveWritesSixEntries_data();
    void saveWritesSixEntries();
    void savedLayoutFileText();
    void saveKeysKeepSectionAsGiven();
    void saveClampsFieldsToFourCharacters();
    void saveAndLoadWithoutColumns();
    void loadRoundTrip();
    void load_data();
    void load();
    void loadOtherVersionThenSave();
    void resetAfterLoad();
    void nullDesktopIsIgnored();

private:
    std::unique_ptr<Desktop> m_desktop;
    void store(const QString& list, int version, const QStringList& entries);
};

void TestCols::init()
{
    // Every test starts from an empty settings folder.
    QDir(QDir::homePath() + QStringLiteral("/.Ornel")).removeRecursively();
    m_desktop = std::make_unique<Desktop>();
}

void TestCols::store(const QString& list, int version, const QStringList& entries)
{
    SettingsStore* settings = m_desktop->settings();
    if (version != -1)
        QVERIFY(settings->writeEntry(layoutKey(list, "ver"), version));
    for (const QString& entry : entries) {
        const int equals = entry.indexOf(QLatin1Char('='));
        QVERIFY(settings->writeEntry(layoutKey(list, qPrintable(entry.left(equals))),
                                     entry.mid(equals + 1)));
    }
}

void TestCols::newModelIsEmpty()
{
    Cols model;
    QVERIFY(model.cols.isEmpty());
    QVERIFY(model.disp.isEmpty());
    QVERIFY(model.dispinv.isEmpty());
    QVERIFY(model.hid.isEmpty());
    QVERIFY(model.titles.isEmpty());
    QVERIFY(model.showFlags.isEmpty());
    QVERIFY(model.width.isEmpty());
    QVERIFY(model.defTitles.isEmpty());
    QVERIFY(model.defShow.isEmpty());
    QVERIFY(model.defWidth.isEmpty());
    QCOMPARE(model.view, nullptr);
    model.recount();
    QVERIFY(model.dispinv.isEmpty());
}

void TestCols::add_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("disp");
    QTest::addColumn<IntList>("dispinv");
    QTest::addColumn<IntList>("hid");
    QTest::addColumn<IntList>("showFlags");

    QTest::newRow("first shown") << "S" << IntList{0} << IntList{0} << IntList{0} << IntList{-1}
                                 << IntList{1};
    QTest::newRow("first hidden") << "H" << IntList{-1} << IntList{-1} << IntList{-1} << IntList{0}
                                  << IntList{0};
    QTest::newRow("shown, hidden, shown")
        << "SHS" << IntList{0, 2, -1} << IntList{0, 2, -1} << IntList{0, -1, 1}
        << IntList{1, -1, -1} << IntList{1, 0, 1};
    QTest::newRow("hidden in order of adding")
        << "HSHH" << IntList{1, -1, -1, -1} << IntList{1, -1, -1, -1} << IntList{-1, 0, -1, -1}
        << IntList{0, 2, 3, -1} << IntList{0, 1, 0, 0};
    QTest::newRow("all shown") << "SSS" << IntList{0, 1, 2} << IntList{0, 1, 2} << IntList{0, 1, 2}
                               << IntList{-1, -1, -1} << IntList{1, 1, 1};
}

void TestCols::add()
{
    QFETCH(QString, declared);
    QFETCH(IntList, cols);
    QFETCH(IntList, disp);
    QFETCH(IntList, dispinv);
    QFETCH(IntList, hid);
    QFETCH(IntList, showFlags);

    const Cols model = declaredModel(declared);
    QCOMPARE(model.cols, cols);
    QCOMPARE(model.disp, disp);
    QCOMPARE(model.dispinv, dispinv);
    QCOMPARE(model.hid, hid);
    QCOMPARE(model.showFlags, showFlags);
    QCOMPARE(model.showFlags, model.defShow);
    QCOMPARE(model.titles.size(), declared.size());
    QCOMPARE(model.titles.value(declared.size() - 1), QStringLiteral("Column %1").arg(declared.size() - 1));
    QCOMPARE(model.defTitles, model.titles);
}

void TestCols::addShownAfterMoveGoesRightmost()
{
    Cols model = declaredModel(QStringLiteral("SHSH"));
    model.up(1);
    QCOMPARE(model.cols, (IntList{2, 0, -1, -1}));
    QCOMPARE(model.disp, (IntList{0, 2, -1, -1}));

    model.add(QStringLiteral("Fifth"), true, -1, false);

    QCOMPARE(model.cols, (IntList{2, 0, 4, -1, -1}));
    QCOMPARE(model.disp, (IntList{0, 2, 4, -1, -1}));
    QCOMPARE(model.dispinv, (IntList{0, -1, 1, -1, 2}));
    QCOMPARE(model.hid, (IntList{1, 3, -1, -1, -1}));
    QCOMPARE(model.showFlags, (IntList{1, 0, 1, 0, 1}));
}

void TestCols::addKeepsWidthAndDefaults()
{
    Cols model;
    model.add(QStringLiteral("Name"), true, -1, false);
    model.add(QStringLiteral("Size"), false, 80, false);
    QCOMPARE(model.width, (IntList{-1, 80}));
    QCOMPARE(model.defWidth, (IntList{-1, 80}));
    QCOMPARE(model.titles, (QList<QString>{QStringLiteral("Name"), QStringLiteral("Size")}));
    QCOMPARE(model.defTitles, model.titles);
    QCOMPARE(model.defShow, (IntList{1, 0}));
}

void TestCols::addFromResetLeavesDefaults()
{
    Cols model = declaredModel(QStringLiteral("SH"));
    model.add(QStringLiteral("Extra"), true, 50, true);
    QCOMPARE(model.cols, (IntList{0, 2, -1}));
    QCOMPARE(model.titles.size(), 3);
    QCOMPARE(model.width, (IntList{-1, -1, 50}));
    QCOMPARE(model.defTitles, (QList<QString>{QStringLiteral("Column 0"), QStringLiteral("Column 1")}));
    QCOMPARE(model.defShow, (IntList{1, 0}));
    QCOMPARE(model.defWidth, (IntList{-1, -1}));
}

void TestCols::addClearsStaleDispinv()
{
    Cols model = declaredModel(QStringLiteral("SS"));
    model.dispinv = IntList{7, 7};
    model.add(QStringLiteral("Hidden"), false, -1, false);
    QCOMPARE(model.dispinv, (IntList{0, 1, -1}));
}

void TestCols::recountSkipsIdsOutOfRange()
{
    Cols model = declaredModel(QStringLiteral("SSS"));
    model.disp = IntList{0, 9, -5};
    model.recount();
    QCOMPARE(model.dispinv, (IntList{0, -1, -1}));
}

void TestCols::showDebug_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "" << "cols: \ndisp: \ndispinv: \nhid: \nshow: ";
    QTest::newRow("shown, hidden, shown")
        << "SHS" << "cols:  0 2 -1\ndisp:  0 2 -1\ndispinv:  0 -1 1\nhid:  1 -1 -1\nshow:  1 0 1";
}

void TestCols::showDebug()
{
    QFETCH(QString, declared);
    QFETCH(QString, text);

    DialogRecorder dialogs;
    Cols model = declaredModel(declared);
    model.showDebug();

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.at(0);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY(box.parent.isNull());
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, Dialogs::Buttons(QMessageBox::Ok));
}

void TestCols::editing_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("disp");
    QTest::addColumn<IntList>("dispinv");
    QTest::addColumn<IntList>("hid");
    QTest::addColumn<IntList>("showFlags");

    // One chain on the model "shown, hidden, shown", the vectors after each step.
    const QStringList chain{"show 0", "hide 0", "up 1", "down 0"};
    QTest::newRow("show 0: rightmost, not in the middle")
        << "SHS" << chain.mid(0, 1) << IntList{0, 2, 1} << IntList{0, 1, 2} << IntList{0, 1, 2}
        << IntList{-1, -1, -1} << IntList{1, 1, 1};
    QTest::newRow("then hide 0")
        << "SHS" << chain.mid(0, 2) << IntList{2, 1, -1} << IntList{1, 2, -1} << IntList{-1, 0, 1}
        << IntList{0, -1, -1} << IntList{0, 1, 1};
    QTest::newRow("then up 1")
        << "SHS" << chain.mid(0, 3) << IntList{1, 2, -1} << IntList{1, 2, -1} << IntList{-1, 0, 1}
        << IntList{0, -1, -1} << IntList{0, 1, 1};
    QTest::newRow("then down 0")
        << "SHS" << chain << IntList{2, 1, -1} << IntList{1, 2, -1} << IntList{-1, 0, 1}
        << IntList{0, -1, -1} << IntList{0, 1, 1};
    QTest::newRow("then reset")
        << "SHS" << (chain + QStringList{"reset"}) << IntList{0, 2, -1} << IntList{0, 2, -1}
        << IntList{0, -1, 1} << IntList{1, -1, -1} << IntList{1, 0, 1};

    QTest::newRow("hide the last shown column")
        << "HSH" << QStringList{"hide 0"} << IntList{-1, -1, -1} << IntList{-1, -1, -1}
        << IntList{-1, -1, -1} << IntList{0, 2, 1} << IntList{0, 0, 0};
    QTest::newRow("show into an empty display")
        << "HSH" << QStringList{"hide 0", "show 1"} << IntList{2, -1, -1} << IntList{2, -1, -1}
        << IntList{-1, -1, 0} << IntList{0, 1, -1} << IntList{0, 0, 1};
    QTest::newRow("hide two, show the first again")
        << "SSS" << QStringList{"hide 0", "hide 0", "show 0"} << IntList{2, 0, -1}
        << IntList{0, 2, -1} << IntList{0, -1, 1} << IntList{1, -1, -1} << IntList{1, 0, 1};
    QTest::newRow("hide from the middle of a moved order")
        << "SSSS" << QStringList{"down 0", "down 1", "hide 1"} << IntList{1, 0, 3, -1}
        << IntList{0, 1, 3, -1} << IntList{0, 1, -1, 2} << IntList{2, -1, -1, -1}
        << IntList{1, 1, 0, 1};

    // Positions outside the bounds leave the model as it was.
    const IntList cols{0, 2, -1}, disp{0, 2, -1}, dispinv{0, -1, 1}, hid{1, -1, -1}, flags{1, 0, 1};
    QTest::newRow("up at position 0") << "SHS" << QStringList{"up 0"} << cols << disp << dispinv << hid << flags;
    QTest::newRow("down at the last shown position")
        << "SHS" << QStringList{"down 1"} << cols << disp << dispinv << hid << flags;
    QTest::newRow("up past the shown positions")
        << "SHS" << QStringList{"up 2"} << cols << disp << dispinv << hid << flags;
    QTest::newRow("hide past the shown positions")
        << "SHS" << QStringList{"hide 2"} << cols << disp << dispinv << hid << flags;
    QTest::newRow("hide at a negative position")
        << "SHS" << QStringList{"hide -1"} << cols << disp << dispinv << hid << flags;
    QTest::newRow("show past the hidden positions")
        << "SHS" << QStringList{"show 1"} << cols << disp << dispinv << hid << flags;
    QTest::newRow("show at a negative position")
        << "SHS" << QStringList{"show -1"} << cols << disp << dispinv << hid << flags;
}

void TestCols::editing()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(IntList, cols);
    QFETCH(IntList, disp);
    QFETCH(IntList, dispinv);
    QFETCH(IntList, hid);
    QFETCH(IntList, showFlags);

    Cols model = declaredModel(declared);
    apply(&model, operations);
    QCOMPARE(model.cols, cols);
    QCOMPARE(model.disp, disp);
    QCOMPARE(model.dispinv, dispinv);
    QCOMPARE(model.hid, hid);
    QCOMPARE(model.showFlags, showFlags);
    // No operation touches the titles or the defaults.
    QCOMPARE(model.titles, declaredModel(declared).titles);
    QCOMPARE(model.defShow, declaredModel(declared).defShow);
}

void TestCols::hiddenColumnKeepsWidthUntilReset()
{
    Cols model = declaredModel(QStringLiteral("SS"));
    model.width[1] = 120;
    model.hide(1);
    QCOMPARE(model.width, (IntList{-1, 120}));
    model.show(0);
    QCOMPARE(model.cols, (IntList{0, 1}));
    QCOMPARE(model.width, (IntList{-1, 120}));
    model.reset();
    QCOMPARE(model.width, (IntList{-1, -1}));
}

void TestCols::resetIsIdempotent()
{
    Cols model = declaredModel(QStringLiteral("SHSH"));
    model.titles[0] = QStringLiteral("Renamed");
    apply(&model, {"show 1", "up 2", "hide 0"});
    model.reset();
    const Cols once = model;
    model.reset();
    compareLayout(model, once);
    compareLayout(model, declaredModel(QStringLiteral("SHSH")));
}

void TestCols::resetWithoutColumns()
{
    Cols model;
    model.reset();
    compareLayout(model, Cols());
}

void TestCols::assignment_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("sourceHasView");

    QTest::newRow("grows") << "SH" << "SHSHS" << false;
    QTest::newRow("shrinks") << "SHSHS" << "HS" << false;
    QTest::newRow("grows, source bound") << "S" << "SSH" << true;
    QTest::newRow("shrinks to nothing, source bound") << "SSH" << "" << true;
}

void TestCols::assignment()
{
    QFETCH(QString, target);
    QFETCH(QString, source);
    QFETCH(bool, sourceHasView);

    QTreeWidget targetView;
    QTreeWidget sourceView;
    Cols to = declaredModel(target);
    to.view = &targetView;
    Cols from = declaredModel(source);
    apply(&from, source.contains(QLatin1Char('H')) ? QStringList{"show 0"} : QStringList{});
    from.width.fill(33);
    if (sourceHasView)
        from.view = &sourceView;

    to = from;

    compareLayout(to, from);
    QCOMPARE(to.view, &targetView);

    // A copy made by construction carries the view along.
    const Cols copy(from);
    compareLayout(copy, from);
    QCOMPARE(copy.view, from.view);
}

void TestCols::selfAssignment()
{
    Cols model = declaredModel(QStringLiteral("SHS"));
    QTreeWidget view;
    model.view = &view;
    const Cols before = model;
    Cols& self = model;
    model = self;
    compareLayout(model, before);
    QCOMPARE(model.view, &view);
}

void TestCols::copiesAreIndependent()
{
    const Cols original = declaredModel(QStringLiteral("SHS"));
    const Cols pristine = declaredModel(QStringLiteral("SHS"));

    Cols copied(original);
    apply(&copied, {"show 0", "hide 0", "up 1"});
    copied.add(QStringLiteral("More"), true, 10, false);
    Cols assigned;
    assigned = original;
    assigned.width[0] = 99;
    assigned.reset();

    compareLayout(original, pristine);
}

void TestCols::saveWritesSixEntries_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<int>("width0");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("declared layout")
        << QStringList{} << -1
        << QStringList{"2", "000300000001-001", "000300000001-001", "00030002-001-001",
                       "0003000100010000", "0003-001-001-001"};
    QTest::newRow("moved and resized")
        << QStringList{"up 1"} << 120
        << QStringList{"2", "000300010000-001", "000300000001-001", "00030002-001-001",
                       "0003000100010000", "00030120-001-001"};
}

void TestCols::saveWritesSixEntries()
{
    QFETCH(QStringList, operations);
    QFETCH(int, width0);
    QFETCH(QStringList, expected);

    Cols model = declaredModel(QStringLiteral("SSH"));
    apply(&model, operations);
    model.width[0] = width0;
    model.save(m_desktop.get(), mailSection, QStringLiteral("group"), 2);

    const char* items[] = {"ver", "cols", "disp", "hid", "show", "width"};
    QStringList stored;
    for (const char* item : items)
        stored << m_desktop->settings()->readEntry(layoutKey(QStringLiteral("group"), item));
    QCOMPARE(stored, expected);
}

void TestCols::savedLayoutFileText()
{
    Cols model = declaredModel(QStringLiteral("SSH"));
    model.save(m_desktop.get(), mailSection, QStringLiteral("group"), 2);
    Cols ranges = declaredModel(QStringLiteral("SS"));
    ranges.width[1] = 75;
    ranges.save(m_desktop.get(), QStringLiteral("/Admin/Ferrox"), QStringLiteral("IP Groups"), 1);

    QCOMPARE(adminFileText(), QStringLiteral("[Ferrox]\n"
                                             "IP Groups/cols=000200000001\n"
                                             "IP Groups/disp=000200000001\n"
                                             "IP Groups/hid=0002-001-001\n"
                                             "IP Groups/show=000200010001\n"
                                             "IP Groups/ver=1\n"
                                             "IP Groups/width=0002-0010075\n"
                                             "\n"
                                             "[Mail]\n"
                                             "group/cols=000300000001-001\n"
                                             "group/disp=000300000001-001\n"
                                             "group/hid=00030002-001-001\n"
                                             "group/show=0003000100010000\n"
                                             "group/ver=2\n"
                                             "group/width=0003-001-001-001\n"
                                             "\n"));

    // A workspace opened later reads the layout back from the file.
    m_desktop = std::make_unique<Desktop>();
    Cols reloaded = declaredModel(QStringLiteral("SS"));
    reloaded.load(m_desktop.get(), QStringLiteral("/Admin/Ferrox"), QStringLiteral("IP Groups"), 1);
    QCOMPARE(reloaded.width, (IntList{-1, 75}));
}

void TestCols::saveKeysKeepSectionAsGiven()
{
    Cols model = declaredModel(QStringLiteral("SSS"));
    model.width[2] = 64;
    model.save(m_desktop.get(), QStringLiteral("/Admin/Ferrox"), QStringLiteral("Time Intervals"), 1);
    SettingsStore* settings = m_desktop->settings();
    QCOMPARE(settings->readEntry(QStringLiteral("//Admin/Ferrox/Time Intervals/width")),
             QStringLiteral("0003-001-0010064"));
    QCOMPARE(settings->readNumEntry(QStringLiteral("//Admin/Ferrox/Time Intervals/ver"), -1), 1);
}

void TestCols::saveClampsFieldsToFourCharacters()
{
    Cols model = declaredModel(QStringLiteral("SSSS"));
    model.width = IntList{12345, 9999, -1000, 0};
    model.save(m_desktop.get(), mailSection, QStringLiteral("user"), 2);
    const QString width = m_desktop->settings()->readEntry(layoutKey(QStringLiteral("user"), "width"));
    QCOMPARE(width, QStringLiteral("000499999999-9990000"));
    QCOMPARE(width.size(), 4 * (4 + 1));
}

void TestCols::saveAndLoadWithoutColumns()
{
    Cols model;
    model.save(m_desktop.get(), mailSection, QStringLiteral("empty"), 1);
    for (const char* item : {"cols", "disp", "hid", "show", "width"})
        QCOMPARE(m_desktop->settings()->readEntry(layoutKey(QStringLiteral("empty"), item)),
                 QStringLiteral("0000"));
    model.load(m_desktop.get(), mailSection, QStringLiteral("empty"), 1);
    compareLayout(model, Cols());
}

void TestCols::loadRoundTrip()
{
    Cols edited = declaredModel(QStringLiteral("SHSHSS"));
    apply(&edited, {"show 1", "hide 0", "up 3", "down 0"});
    edited.width = IntList{10, 200, -1, 9999, 0, 45};
    edited.save(m_desktop.get(), mailSection, QStringLiteral("domain"), 4);

    Cols model = declaredModel(QStringLiteral("SHSHSS"));
    model.load(m_desktop.get(), mailSection, QStringLiteral("domain"), 4);

    QCOMPARE(model.cols, edited.cols);
    QCOMPARE(model.disp, edited.disp);
    QCOMPARE(model.hid, edited.hid);
    QCOMPARE(model.showFlags, edited.showFlags);
    QCOMPARE(model.width, edited.width);
    QCOMPARE(model.dispinv, edited.dispinv);
    // Titles and defaults come from the declarations, never from the store.
    QCOMPARE(model.defShow, (IntList{1, 0, 1, 0, 1, 1}));
}

void TestCols::load_data()
{
    // A model "shown, shown, hidden" with the widths 11, 22, 33 before the load, and what
    // the store holds under the list "group".
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("hid");
    QTest::addColumn<IntList>("showFlags");
    QTest::addColumn<IntList>("width");

    const IntList defCols{0, 1, -1}, defHid{2, -1, -1}, defShow{1, 1, 0}, defWidth{11, 22, 33};
    const QStringList moved{"cols=000300020000-001", "disp=000300000002-001", "hid=00030001-001-001",
                            "show=0003000100000001", "width=0003004000500060"};

    QTest::newRow("empty store") << -1 << 2 << QStringList{} << defCols << defHid << defShow << defWidth;
    QTest::newRow("other version") << 3 << 4 << moved << defCols << defHid << defShow << defWidth;
    QTest::newRow("version -1 never loads") << -1 << -1 << moved << defCols << defHid << defShow << defWidth;
    QTest::newRow("same version") << 2 << 2 << moved << IntList{2, 0, -1} << IntList{1, -1, -1}
                                  << IntList{1, 0, 1} << IntList{40, 50, 60};
    QTest::newRow("width with fewer fields keeps the rest")
        << 2 << 2 << QStringList{moved.mid(0, 4) + QStringList{"width=00010120"}}
        << IntList{2, 0, -1} << IntList{1, -1, -1} << IntList{1, 0, 1} << IntList{120, 22, 33};
    QTest::newRow("width too short for its count")
        << 2 << 2 << QStringList{moved.mid(0, 4) + QStringList{"width=00020120"}}
        << IntList{2, 0, -1} << IntList{1, -1, -1} << IntList{1, 0, 1} << defWidth;
    QTest::newRow("width of four characters or fewer")
        << 2 << 2 << QStringList{moved.mid(0, 4) + QStringList{"width=0003"}}
        << IntList{2, 0, -1} << IntList{1, -1, -1} << IntList{1, 0, 1} << defWidth;
    QTest::newRow("show with characters after its fields")
        << 2 << 2 << QStringList{moved.mid(0, 3) + QStringList{"show=0003000100000001junk", moved.at(4)}}
        << IntList{2, 0, -1} << IntList{1, -1, -1} << IntList{1, 0, 1} << IntList{40, 50, 60};
    QTest::newRow("no hid: the declared one fits")
        << 2 << 2 << QStringList{"cols=000300010000-001", "disp=000300000001-001", "show=0003000100010000"}
        << IntList{1, 0, -1} << defHid << defShow << defWidth;

    // Layouts that cannot be this model's are set aside whole.
    auto rejected = [&](const char* name, const QStringList& entries) {
        QTest::newRow(name) << 2 << 2 << entries << defCols << defHid << defShow << defWidth;
    };
    auto replacing = [&](const QString& entry) {
        QStringList entries = moved;
        const QString item = entry.left(entry.indexOf(QLatin1Char('=')) + 1);
        for (QString& e : entries) {
            if (e.startsWith(item))
                e = entry;
        }
        return entries;
    };
    rejected("no cols", moved.mid(1));
    rejected("cols count -001", replacing(QStringLiteral("cols=-00100020000-001")));
    rejected("cols count above the columns", replacing(QStringLiteral("cols=000400020000-001-001")));
    rejected("width count above the columns", replacing(QStringLiteral("width=00040040005000600070")));
    rejected("id out of range", replacing(QStringLiteral("cols=000300050000-001")));
    rejected("negative id", replacing(QStringLiteral("hid=0003-002-001-001")));
    rejected("duplicate id", replacing(QStringLiteral("cols=000300000000-001")));
    rejected("id both shown and hidden", replacing(QStringLiteral("hid=00030002-001-001")));
    rejected("column in neither list", replacing(QStringLiteral("hid=0003-001-001-001")));
    rejected("id after a -1", replacing(QStringLiteral("cols=00030002-0010000")));
    rejected("field not a number reads as 0", replacing(QStringLiteral("cols=0003abcd0000-001")));
    rejected("disp not ascending", replacing(QStringLiteral("disp=000300020000-001")));
    rejected("disp other ids than cols", replacing(QStringLiteral("disp=000300000001-001")));
    rejected("shown flags disagree", replacing(QStringLiteral("show=0003000100010001")));
    rejected("shown flag not 0 or 1", replacing(QStringLiteral("show=0003000100020001")));
    rejected("width below -1", replacing(QStringLiteral("width=00030040-0050060")));
    rejected("layout of fewer columns", {"cols=00020001-001", "disp=00020001-001", "hid=00020000-001",
                                         "show=000200000001", "width=000200400050"});
}

void TestCols::load()
{
    QFETCH(int, storedVersion);
    QFETCH(int, version);
    QFETCH(QStringList, entries);
    QFETCH(IntList, cols);
    QFETCH(IntList, hid);
    QFETCH(IntList, showFlags);
    QFETCH(IntList, width);

    store(QStringLiteral("group"), storedVersion, entries);
    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSH"));
    model.view = &view;
    model.width = IntList{11, 22, 33};

    model.load(m_desktop.get(), mailSection, QStringLiteral("group"), version);

    QCOMPARE(model.cols, cols);
    QCOMPARE(model.hid, hid);
    QCOMPARE(model.showFlags, showFlags);
    QCOMPARE(model.width, width);
    // disp and dispinv always follow the shown ids.
    IntList disp;
    for (int id = 0; id < 3; ++id) {
        if (showFlags.at(id))
            disp << id;
    }
    while (disp.size() < 3)
        disp << -1;
    QCOMPARE(model.disp, disp);
    IntList dispinv{-1, -1, -1};
    for (int j = 0; j < 3; ++j) {
        if (disp.at(j) != -1)
            dispinv[disp.at(j)] = j;
    }
    QCOMPARE(model.dispinv, dispinv);
    QCOMPARE(model.view, &view);
    QCOMPARE(model.defWidth, (IntList{-1, -1, -1}));
}

void TestCols::loadOtherVersionThenSave()
{
    store(QStringLiteral("sched"), 3,
          {"cols=000300020000-001", "disp=000300000002-001", "hid=00030001-001-001",
           "show=0003000100000001", "width=0003004000500060"});
    Cols model = declaredModel(QStringLiteral("SSH"));
    model.load(m_desktop.get(), mailSection, QStringLiteral("sched"), 4);
    compareLayout(model, declaredModel(QStringLiteral("SSH")));

    model.save(m_desktop.get(), mailSection, QStringLiteral("sched"), 4);
    SettingsStore* settings = m_desktop->settings();
    QCOMPARE(settings->readNumEntry(layoutKey(QStringLiteral("sched"), "ver"), -1), 4);
    QCOMPARE(settings->readEntry(layoutKey(QStringLiteral("sched"), "cols")), QStringLiteral("000300000001-001"));
    QCOMPARE(settings->readEntry(layoutKey(QStringLiteral("sched"), "width")), QStringLiteral("0003-001-001-001"));
}

void TestCols::resetAfterLoad()
{
    const QStringList entries{"cols=000300020000-001", "disp=000300000002-001", "hid=00030001-001-001",
                              "show=0003000100000001", "width=0003004000500060"};
    store(QStringLiteral("user"), 2, entries);
    const QString fileBefore = adminFileText();

    Cols model = declaredModel(QStringLiteral("SSH"));
    model.load(m_desktop.get(), mailSection, QStringLiteral("user"), 2);
    QCOMPARE(model.cols, (IntList{2, 0, -1}));
    model.reset();

    compareLayout(model, declaredModel(QStringLiteral("SSH")));
    QCOMPARE(adminFileText(), fileBefore);
}

void TestCols::nullDesktopIsIgnored()
{
    Cols model = declaredModel(QStringLiteral("SH"));
    model.save(nullptr, mailSection, QStringLiteral("user"), 2);
    model.load(nullptr, mailSection, QStringLiteral("user"), 2);
    compareLayout(model, declaredModel(QStringLiteral("SH")));
    QVERIFY(!QFile::exists(QDir::homePath() + QStringLiteral("/.Ornel/adminrc")));
}

QTEST_MAIN(TestCols)
#include "tst_cols.moc"
