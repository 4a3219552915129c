#include "colsfixture.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "settingsstore.h"

#include <QTreeWidget>

#include <memory>

namespace {

const QString mailSection = QStringLiteral("Admin/Mail");

QString layoutKey(const QString& list, const QString& item)
{
    return QStringLiteral("/Admin/Mail/%1/%2").arg(list, item);
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

} // namespace

class TestCols : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void layout_data();
    void layout();
    void addKeepsDeclarations();
    void recountStaysInsideDispinv();
    void showDebug_data();
    void showDebug();
    void resetRestoresDeclarations();
    void assignmentKeepsTargetView_data();
    void assignmentKeepsTargetView();

    void save_data();
    void save();
    void savedFileText();
    void saveClampsFieldsToFourCharacters();
    void saveAndLoadWithoutColumns();
    void loadRoundTrip();
    void load_data();
    void load();
    void resetAfterLoadKeepsStore();
    void nullDesktopIsIgnored();

private:
    void store(const QString& list, int version, const QStringList& entries);
    std::unique_ptr<Desktop> m_desktop;
};

void TestCols::init()
{
    QDir(QDir::homePath() + QStringLiteral("/.Ornel")).removeRecursively();
    m_desktop = std::make_unique<Desktop>();
}

void TestCols::store(const QString& list, int version, const QStringList& entries)
{
    SettingsStore* settings = m_desktop->settings();
    if (version != -1)
        QVERIFY(settings->writeEntry(layoutKey(list, QStringLiteral("ver")), version));
    for (const QString& entry : entries)
        QVERIFY(settings->writeEntry(layoutKey(list, entry.section(QLatin1Char('='), 0, 0)),
                                     entry.section(QLatin1Char('='), 1)));
}

void TestCols::layout_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("disp");
    QTest::addColumn<IntList>("dispinv");
    QTest::addColumn<IntList>("hid");
    QTest::addColumn<IntList>("showFlags");

    QTest::newRow("new model") << "" << QStringList{} << IntList{} << IntList{} << IntList{}
                               << IntList{} << IntList{};
    QTest::newRow("add first shown") << "S" << QStringList{} << IntList{0} << IntList{0}
                                     << IntList{0} << IntList{-1} << IntList{1};
    QTest::newRow("add first hidden") << "H" << QStringList{} << IntList{-1} << IntList{-1}
                                      << IntList{-1} << IntList{0} << IntList{0};
    QTest::newRow("add shown, hidden, shown")
        << "SHS" << QStringList{} << IntList{0, 2, -1} << IntList{0, 2, -1} << IntList{0, -1, 1}
        << IntList{1, -1, -1} << IntList{1, 0, 1};
    QTest::newRow("add hidden in order of adding")
        << "HSHH" << QStringList{} << IntList{1, -1, -1, -1} << IntList{1, -1, -1, -1}
        << IntList{-1, 0, -1, -1} << IntList{0, 2, 3, -1} << IntList{0, 1, 0, 0};
    QTest::newRow("add a fifth shown column after a move: rightmost")
        << "SHSH" << QStringList{"up 1", "add S"} << IntList{2, 0, 4, -1, -1}
        << IntList{0, 2, 4, -1, -1} << IntList{0, -1, 1, -1, 2} << IntList{1, 3, -1, -1, -1}
        << IntList{1, 0, 1, 0, 1};

    // One chain on "shown, hidden, shown", the vectors after each step.
    const QStringList chain{"show 0", "hide 0", "up 1", "down 0", "reset"};
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
        << "SHS" << chain.mid(0, 4) << IntList{2, 1, -1} << IntList{1, 2, -1} << IntList{-1, 0, 1}
        << IntList{0, -1, -1} << IntList{0, 1, 1};
    QTest::newRow("then reset")
        << "SHS" << chain << IntList{0, 2, -1} << IntList{0, 2, -1} << IntList{0, -1, 1}
        << IntList{1, -1, -1} << IntList{1, 0, 1};

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
    // A stray call must neither write outside the lists nor break the model.
    QTest::newRow("positions outside the bounds change nothing")
        << "SHS"
        << QStringList{"up 0", "up 2", "down 1", "down -1", "hide 2", "hide -1", "show 1", "show -1"}
        << IntList{0, 2, -1} << IntList{0, 2, -1} << IntList{0, -1, 1} << IntList{1, -1, -1}
        << IntList{1, 0, 1};
}

void TestCols::layout()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(IntList, cols);
    QFETCH(IntList, disp);
    QFETCH(IntList, dispinv);
    QFETCH(IntList, hid);
    QFETCH(IntList, showFlags);

    Cols model = declaredModel(declared);
    edit(&model, operations);
    QCOMPARE(model.cols, cols);
    QCOMPARE(model.disp, disp);
    QCOMPARE(model.dispinv, dispinv);
    QCOMPARE(model.hid, hid);
    QCOMPARE(model.showFlags, showFlags);
    // No editing operation touches the titles or the declarations.
    QCOMPARE(model.titles, model.defTitles);
    QCOMPARE(model.defShow.mid(0, declared.size()), declaredModel(declared).defShow);
}

void TestCols::addKeepsDeclarations()
{
    Cols model;
    model.add(QStringLiteral("Name"), true, -1, false);
    model.add(QStringLiteral("Size"), false, 80, false);
    QCOMPARE(model.titles, (QList<QString>{QStringLiteral("Name"), QStringLiteral("Size")}));
    QCOMPARE(model.width, (IntList{-1, 80}));
    QCOMPARE(model.defTitles, model.titles);
    QCOMPARE(model.defWidth, model.width);
    QCOMPARE(model.defShow, (IntList{1, 0}));

    // As reset() re-adds: the current lists grow, the declarations stay.
    model.add(QStringLiteral("Extra"), true, 50, true);
    QCOMPARE(model.cols, (IntList{0, 2, -1}));
    QCOMPARE(model.width, (IntList{-1, 80, 50}));
    QCOMPARE(model.defTitles.size(), 2);
    QCOMPARE(model.defShow, (IntList{1, 0}));
    QCOMPARE(model.defWidth, (IntList{-1, 80}));
}

void TestCols::recountStaysInsideDispinv()
{
    Cols model = declaredModel(QStringLiteral("SS"));
    model.dispinv = IntList{7, 7};
    model.add(QStringLiteral("Hidden"), false, -1, false);
    QCOMPARE(model.dispinv, (IntList{0, 1, -1}));

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
    declaredModel(declared).showDebug();

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.at(0);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY(box.parent.isNull());
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, Dialogs::Buttons(QMessageBox::Ok));
}

void TestCols::resetRestoresDeclarations()
{
    Cols model = declaredModel(QStringLiteral("SHSH"));
    model.titles[0] = QStringLiteral("Renamed");
    model.width[2] = 120;
    // A column hidden and shown again keeps its width, until the reset.
    edit(&model, {"hide 1", "show 2"});
    QCOMPARE(model.width, (IntList{-1, -1, 120, -1}));
    edit(&model, {"show 0", "up 2", "hide 0", "reset"});
    compareLayout(model, declaredModel(QStringLiteral("SHSH")));
    model.reset();
    compareLayout(model, declaredModel(QStringLiteral("SHSH")));

    Cols empty;
    empty.reset();
    compareLayout(empty, Cols());
}

void TestCols::assignmentKeepsTargetView_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("source");

    QTest::newRow("grows") << "S" << "SHSHS";
    QTest::newRow("shrinks to nothing") << "SSH" << "";
}

void TestCols::assignmentKeepsTargetView()
{
    QFETCH(QString, target);
    QFETCH(QString, source);

    QTreeWidget targetView;
    QTreeWidget sourceView;
    Cols to = declaredModel(target);
    to.view = &targetView;
    Cols from = declaredModel(source);
    if (source.contains(QLatin1Char('H')))
        edit(&from, {"show 0"});
    from.width.fill(33);
    from.view = &sourceView;

    to = from;
    compareLayout(to, from);
    QCOMPARE(to.view, &targetView);

    // A copy made by construction carries the view along.
    const Cols copy(from);
    compareLayout(copy, from);
    QCOMPARE(copy.view, &sourceView);
}

void TestCols::save_data()
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

void TestCols::save()
{
    QFETCH(QStringList, operations);
    QFETCH(int, width0);
    QFETCH(QStringList, expected);

    Cols model = declaredModel(QStringLiteral("SSH"));
    edit(&model, operations);
    model.width[0] = width0;
    model.save(m_desktop.get(), mailSection, QStringLiteral("group"), 2);

    QStringList stored;
    for (const char* item : {"ver", "cols", "disp", "hid", "show", "width"})
        stored << m_desktop->settings()->readEntry(layoutKey(QStringLiteral("group"), QLatin1String(item)));
    QCOMPARE(stored, expected);
}

void TestCols::savedFileText()
{
    declaredModel(QStringLiteral("SSH")).save(m_desktop.get(), mailSection, QStringLiteral("group"), 2);
    Cols ranges = declaredModel(QStringLiteral("SS"));
    ranges.width[1] = 75;
    // A section with a slash of its own: the keys begin with two.
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
    QCOMPARE(m_desktop->settings()->readEntry(QStringLiteral("//Admin/Ferrox/IP Groups/width")),
             QStringLiteral("0002-0010075"));

    // A workspace opened later reads the layout back from the file.
    m_desktop = std::make_unique<Desktop>();
    Cols reloaded = declaredModel(QStringLiteral("SS"));
    reloaded.load(m_desktop.get(), QStringLiteral("/Admin/Ferrox"), QStringLiteral("IP Groups"), 1);
    QCOMPARE(reloaded.width, (IntList{-1, 75}));
}

void TestCols::saveClampsFieldsToFourCharacters()
{
    Cols model = declaredModel(QStringLiteral("SSSS"));
    model.width = IntList{12345, 9999, -1000, 0};
    model.save(m_desktop.get(), mailSection, QStringLiteral("user"), 2);
    QCOMPARE(m_desktop->settings()->readEntry(layoutKey(QStringLiteral("user"), QStringLiteral("width"))),
             QStringLiteral("000499999999-9990000"));
}

void TestCols::saveAndLoadWithoutColumns()
{
    Cols model;
    model.save(m_desktop.get(), mailSection, QStringLiteral("empty"), 1);
    for (const char* item : {"cols", "disp", "hid", "show", "width"})
        QCOMPARE(m_desktop->settings()->readEntry(layoutKey(QStringLiteral("empty"), QLatin1String(item))),
                 QStringLiteral("0000"));
    model.load(m_desktop.get(), mailSection, QStringLiteral("empty"), 1);
    compareLayout(model, Cols());
}

void TestCols::loadRoundTrip()
{
    Cols edited = declaredModel(QStringLiteral("SHSHSS"));
    edit(&edited, {"show 1", "hide 0", "up 3", "down 0"});
    edited.width = IntList{10, 200, -1, 9999, 0, 45};
    edited.save(m_desktop.get(), mailSection, QStringLiteral("domain"), 4);

    Cols model = declaredModel(QStringLiteral("SHSHSS"));
    model.load(m_desktop.get(), mailSection, QStringLiteral("domain"), 4);
    compareLayout(model, edited);
}

void TestCols::load_data()
{
    // A model "shown, shown, hidden" with the widths 11, 22, 33 before the load, what the
    // store holds under the list "group", and the editing that gives the layout expected.
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<IntList>("width");

    const IntList before{11, 22, 33};
    const QStringList moved{"cols=000300020000-001", "disp=000300000002-001", "hid=00030001-001-001",
                            "show=0003000100000001", "width=0003004000500060"};
    const QStringList movedButWidth = moved.mid(0, 4);
    const QStringList asMoved{"hide 1", "show 0", "up 1"}; // cols 2 0 -1, hid 1 -1 -1

    QTest::newRow("empty store") << -1 << 2 << QStringList{} << QStringList{} << before;
    QTest::newRow("other version") << 3 << 4 << moved << QStringList{} << before;
    QTest::newRow("version -1 never loads") << -1 << -1 << moved << QStringList{} << before;
    QTest::newRow("same version") << 2 << 2 << moved << asMoved << IntList{40, 50, 60};
    QTest::newRow("width with fewer fields keeps the rest")
        << 2 << 2 << movedButWidth + QStringList{"width=00010120"} << asMoved << IntList{120, 22, 33};
    QTest::newRow("width too short for its count")
        << 2 << 2 << movedButWidth + QStringList{"width=00020120"} << asMoved << before;
    QTest::newRow("width of four characters") << 2 << 2 << movedButWidth + QStringList{"width=0003"} << asMoved
                                              << before;
    QTest::newRow("show with characters after its fields")
        << 2 << 2 << moved.mid(0, 3) + QStringList{"show=0003000100000001junk", moved.at(4)} << asMoved
        << IntList{40, 50, 60};
    QTest::newRow("no hid: the declared one fits")
        << 2 << 2 << QStringList{"cols=000300010000-001", "disp=000300000001-001", "show=0003000100010000"}
        << QStringList{"up 1"} << before;

    // Layouts that cannot be this model's are set aside whole.
    auto rejected = [&](const char* name, const QString& entry) {
        // The stored entry of the same item replaced by `entry`, or left out for a bare name.
        const QString item = entry.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        QStringList entries;
        for (const QString& e : moved) {
            if (!e.startsWith(item))
                entries << e;
            else if (entry.contains(QLatin1Char('=')))
                entries << entry;
        }
        QTest::newRow(name) << 2 << 2 << entries << QStringList{} << before;
    };
    rejected("no cols", QStringLiteral("cols"));
    rejected("cols count -001", QStringLiteral("cols=-00100020000-001"));
    rejected("count above the columns", QStringLiteral("cols=000400020000-001-001"));
    rejected("id out of range", QStringLiteral("cols=000300050000-001"));
    rejected("negative id", QStringLiteral("hid=0003-002-001-001"));
    rejected("duplicate id", QStringLiteral("cols=000300000000-001"));
    rejected("id both shown and hidden", QStringLiteral("hid=00030002-001-001"));
    rejected("column in neither list", QStringLiteral("hid=0003-001-001-001"));
    rejected("id after a -1", QStringLiteral("cols=00030002-0010000"));
    rejected("disp not ascending", QStringLiteral("disp=000300020000-001"));
    rejected("disp other ids than cols", QStringLiteral("disp=000300000001-001"));
    rejected("shown flags disagree", QStringLiteral("show=0003000100010001"));
    rejected("width below -1", QStringLiteral("width=00030040-0050060"));
}

void TestCols::load()
{
    QFETCH(int, storedVersion);
    QFETCH(int, version);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, operations);
    QFETCH(IntList, width);

    store(QStringLiteral("group"), storedVersion, entries);
    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSH"));
    model.view = &view;
    model.width = IntList{11, 22, 33};
    Cols expected = declaredModel(QStringLiteral("SSH"));
    edit(&expected, operations);
    expected.width = width;

    model.load(m_desktop.get(), mailSection, QStringLiteral("group"), version);

    compareLayout(model, expected);
    QCOMPARE(model.view, &view);
}

void TestCols::resetAfterLoadKeepsStore()
{
    store(QStringLiteral("user"), 2,
          {"cols=000300020000-001", "disp=000300000002-001", "hid=00030001-001-001",
           "show=0003000100000001", "width=0003004000500060"});
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
    QCOMPARE(adminFileText(), QStringLiteral("<missing>"));
}

QTEST_MAIN(TestCols)
#include "tst_cols.moc"
