#include "colsfixture.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "filewrites.h"
#include "settingsstore.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <memory>

namespace {

const QString mailSection = QStringLiteral("Admin/Mail");

QString layoutKey(const QString& list, const QString& item)
{
    return QStringLiteral("/Admin/Mail/%1/%2").arg(list, item);
}

QStringList visualTitles(const QTreeWidget& view)
{
    QStringList titles;
    for (int visual = 0; visual < view.header()->count(); ++visual)
        titles.append(view.headerItem()->text(view.header()->logicalIndex(visual)));
    return titles;
}

// A view bound to `model` and built from it, with one item.
void bind(Cols* model, QTreeWidget* view)
{
    model->view = view;
    model->clearView();
    model->fillView();
    new QTreeWidgetItem(view, QStringList{"a", "b", "c"});
}

} // namespace

class TestCols : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void layout_data();
    void layout();
    void recountStaysInsideDispinv();
    void showDebug();
    void resetRestoresDeclarations();
    void assignmentKeepsTargetView();

    void save();
    void savedFileText();
    void loadRoundTrip();
    void load_data();
    void load();
    void nullDesktopIsIgnored();

    // The binding to a list view.
    void fillView_data();
    void fillView();
    void withoutViewNothingHappens();
    void changePos_data();
    void changePos();
    void changeSize_data();
    void changeSize();

private:
    std::unique_ptr<Desktop> m_desktop;
};

void TestCols::init()
{
    QDir(QDir::homePath() + QStringLiteral("/.Ornel")).removeRecursively();
    m_desktop = std::make_unique<Desktop>();
}

void TestCols::layout_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QString>("state"); // cols | disp | dispinv | hid | showFlags

    QTest::newRow("add shown, hidden, shown") << "SHS" << QStringList{} << "0 2 -1|0 2 -1|0 -1 1|1 -1 -1|1 0 1";
    QTest::newRow("add hidden in order of adding")
        << "HSHH" << QStringList{} << "1 -1 -1 -1|1 -1 -1 -1|-1 0 -1 -1|0 2 3 -1|0 1 0 0";
    QTest::newRow("add a fifth shown column after a move: rightmost")
        << "SHSH" << QStringList{"up 1", "add S"} << "2 0 4 -1 -1|0 2 4 -1 -1|0 -1 1 -1 2|1 3 -1 -1 -1|1 0 1 0 1";

    // One chain on "shown, hidden, shown", the vectors after each step.
    const QStringList chain{"show 0", "hide 0", "up 1", "down 0", "reset"};
    QTest::newRow("show 0: rightmost, not in the middle") << "SHS" << chain.mid(0, 1) << "0 2 1|0 1 2|0 1 2|-1 -1 -1|1 1 1";
    QTest::newRow("then hide 0") << "SHS" << chain.mid(0, 2) << "2 1 -1|1 2 -1|-1 0 1|0 -1 -1|0 1 1";
    QTest::newRow("then up 1") << "SHS" << chain.mid(0, 3) << "1 2 -1|1 2 -1|-1 0 1|0 -1 -1|0 1 1";
    QTest::newRow("then down 0") << "SHS" << chain.mid(0, 4) << "2 1 -1|1 2 -1|-1 0 1|0 -1 -1|0 1 1";
    QTest::newRow("then reset") << "SHS" << chain << "0 2 -1|0 2 -1|0 -1 1|1 -1 -1|1 0 1";

    QTest::newRow("show into an empty display") << "HSH" << QStringList{"hide 0", "show 1"}
                                                << "2 -1 -1|2 -1 -1|-1 -1 0|0 1 -1|0 0 1";
    QTest::newRow("hide from the middle of a moved order") << "SSSS" << QStringList{"down 0", "down 1", "hide 1"}
                                                           << "1 0 3 -1|0 1 3 -1|0 1 -1 2|2 -1 -1 -1|1 1 0 1";
    // A stray call must neither write outside the lists nor break the model.
    QTest::newRow("positions outside the bounds change nothing")
        << "SHS" << QStringList{"up 0", "up 2", "down 1", "down -1", "hide 2", "hide -1", "show 1", "show -1"}
        << "0 2 -1|0 2 -1|0 -1 1|1 -1 -1|1 0 1";
}

void TestCols::layout()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(QString, state);

    Cols model = declaredModel(declared);
    edit(&model, operations);
    QStringList lists;
    for (const IntList& list : {model.cols, model.disp, model.dispinv, model.hid, model.showFlags}) {
        QStringList numbers;
        for (int value : list)
            numbers.append(QString::number(value));
        lists.append(numbers.join(QLatin1Char(' ')));
    }
    QCOMPARE(lists.join(QLatin1Char('|')), state);
    // No editing operation touches the titles or the declarations.
    QCOMPARE(model.titles, model.defTitles);
    QCOMPARE(model.defShow.mid(0, declared.size()), declaredModel(declared).defShow);
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

void TestCols::showDebug()
{
    DialogRecorder dialogs;
    declaredModel(QStringLiteral("SHS")).showDebug();

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.at(0);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.text, QStringLiteral("cols:  0 2 -1\ndisp:  0 2 -1\ndispinv:  0 -1 1\nhid:  1 -1 -1\nshow:  1 0 1"));
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
}

void TestCols::assignmentKeepsTargetView()
{
    QTreeWidget targetView;
    QTreeWidget sourceView;
    Cols to = declaredModel(QStringLiteral("SSH"));
    to.view = &targetView;
    Cols from = declaredModel(QStringLiteral("SHSHS"));
    from.width.fill(33);
    from.view = &sourceView;

    to = from;
    compareLayout(to, from);
    QCOMPARE(to.view, &targetView);
    // A copy made by construction carries the view along.
    QCOMPARE(Cols(from).view, &sourceView);
}

void TestCols::save()
{
    Cols model = declaredModel(QStringLiteral("SSSH"));
    edit(&model, {"up 1"});
    // Held to four characters, so that a field never outgrows its place.
    model.width = IntList{12345, 9999, -1000, 0};
    model.save(m_desktop.get(), mailSection, QStringLiteral("group"), 2);

    QStringList stored;
    for (const char* item : {"ver", "cols", "disp", "hid", "show", "width"})
        stored << m_desktop->settings()->readEntry(layoutKey(QStringLiteral("group"), QLatin1String(item)));
    QCOMPARE(stored, (QStringList{"2", "0004000100000002-001", "0004000000010002-001", "00040003-001-001-001",
                                  "00040001000100010000", "000499999999-9990000"}));
}

void TestCols::savedFileText()
{
    const QString folder = QDir::homePath() + QStringLiteral("/.Ornel");
    QVERIFY(QDir().mkpath(folder));
    FileWrites writes(folder);
    QVERIFY(writes.isValid());

    declaredModel(QStringLiteral("SSH")).save(m_desktop.get(), mailSection, QStringLiteral("group"), 2);
    // Six entries, one write of the file.
    QCOMPARE(writes.take(QStringLiteral("adminrc")), 1);
    Cols ranges = declaredModel(QStringLiteral("SS"));
    ranges.width[1] = 75;
    // A section with a slash of its own: the keys begin with two.
    ranges.save(m_desktop.get(), QStringLiteral("/Admin/Ferrox"), QStringLiteral("IP Groups"), 1);
    QCOMPARE(writes.take(QStringLiteral("adminrc")), 1);

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

    QTest::newRow("other version") << 3 << 4 << moved << QStringList{} << before;
    QTest::newRow("version -1 never loads") << -1 << -1 << moved << QStringList{} << before;
    QTest::newRow("same version") << 2 << 2 << moved << asMoved << IntList{40, 50, 60};
    QTest::newRow("width with fewer fields keeps the rest")
        << 2 << 2 << movedButWidth + QStringList{"width=00010120"} << asMoved << IntList{120, 22, 33};
    QTest::newRow("width too short for its count")
        << 2 << 2 << movedButWidth + QStringList{"width=00020120"} << asMoved << before;
    QTest::newRow("width of four characters") << 2 << 2 << movedButWidth + QStringList{"width=0003"} << asMoved
                                              << before;
    QTest::newRow("no hid: the declared one fits")
        << 2 << 2 << QStringList{"cols=000300010000-001", "disp=000300000001-001", "show=0003000100010000"}
        << QStringList{"up 1"} << before;

    // Layouts that cannot be this model's are set aside whole.
    auto rejected = [&](const char* name, const QString& entry) {
        const QString item = entry.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        QStringList entries;
        for (const QString& e : moved)
            entries << (e.startsWith(item) ? entry : e);
        QTest::newRow(name) << 2 << 2 << entries << QStringList{} << before;
    };
    rejected("count above the columns", QStringLiteral("cols=000400020000-001-001"));
    rejected("id out of range", QStringLiteral("cols=000300050000-001"));
    rejected("id after a -1", QStringLiteral("cols=00030002-0010000"));
    rejected("duplicate id", QStringLiteral("cols=000300000000-001"));
    rejected("column in neither list", QStringLiteral("hid=0003-001-001-001"));
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

    SettingsStore* settings = m_desktop->settings();
    if (storedVersion != -1)
        QVERIFY(settings->writeEntry(layoutKey(QStringLiteral("group"), QStringLiteral("ver")), storedVersion));
    for (const QString& entry : entries)
        QVERIFY(settings->writeEntry(layoutKey(QStringLiteral("group"), entry.section(QLatin1Char('='), 0, 0)),
                                     entry.section(QLatin1Char('='), 1)));
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

void TestCols::nullDesktopIsIgnored()
{
    Cols model = declaredModel(QStringLiteral("SH"));
    model.save(nullptr, mailSection, QStringLiteral("user"), 2);
    model.load(nullptr, mailSection, QStringLiteral("user"), 2);
    compareLayout(model, declaredModel(QStringLiteral("SH")));
    QCOMPARE(adminFileText(), QStringLiteral("<missing>"));
}

void TestCols::fillView_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QStringList>("visual");

    QTest::newRow("shown 1,0,1, order 2,0") << "SHS" << QStringList{"up 1"} << QStringList{"C2", "C0"};
    QTest::newRow("two swaps") << "SSSS" << QStringList{"down 0", "up 3"}
                               << QStringList{"C1", "C0", "C3", "C2"};
    QTest::newRow("all hidden") << "HH" << QStringList{} << QStringList{};
}

void TestCols::fillView()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(QStringList, visual);

    QTreeWidget view;
    Cols model = declaredModel(declared);
    edit(&model, operations);
    bind(&model, &view);

    QCOMPARE(view.columnCount(), int(visual.size()));
    QCOMPARE(visualTitles(view), visual);
    // An item shown through the model puts each id's text under that id's title, and is
    // asked only for the ids on screen.
    QTreeWidgetItem item;
    QList<int> asked;
    model.showItem(&item, [&](int id) {
        asked.append(id);
        return model.titles.at(id);
    });
    QCOMPARE(int(asked.size()), int(visual.size()));
    for (int column = 0; column < view.columnCount(); ++column)
        QCOMPARE(item.text(column), view.headerItem()->text(column));
}

void TestCols::withoutViewNothingHappens()
{
    Cols model = declaredModel(QStringLiteral("SHS"));
    model.fillView();
    model.clearView();
    model.changePos(1, 0);
    QCOMPARE(model.cols, (IntList{2, 0, -1}));
}

void TestCols::changePos_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<IntList>("cols");

    // Three columns shown and one hidden: cols = [0, 1, 2, -1].
    QTest::newRow("0 to 3: first to the end") << 0 << 3 << IntList{1, 2, 0, -1};
    QTest::newRow("2 to 0: last to the front") << 2 << 0 << IntList{2, 0, 1, -1};
    QTest::newRow("1 to 1: back where it was") << 1 << 1 << IntList{0, 1, 2, -1};
    QTest::newRow("1 to 2: before its right neighbour") << 1 << 2 << IntList{0, 1, 2, -1};
    // Positions the header does not have are ignored rather than written outside cols.
    QTest::newRow("from the hidden tail") << 3 << 0 << IntList{0, 1, 2, -1};
    QTest::newRow("past the end") << 0 << 4 << IntList{0, 1, 2, -1};
    QTest::newRow("negative") << -1 << 0 << IntList{0, 1, 2, -1};
}

void TestCols::changePos()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(IntList, cols);

    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSSH"));
    bind(&model, &view);
    const Cols before = model;

    model.changePos(from, to);

    QCOMPARE(model.cols, cols);
    QCOMPARE(model.disp, before.disp);
    QCOMPARE(model.hid, before.hid);
    // A recorded move rebuilds the view, also when nothing moved: no items, columns in the
    // new order.
    const bool valid = from >= 0 && from < 3 && to >= 0 && to <= 3;
    QCOMPARE(view.topLevelItemCount(), valid ? 0 : 1);
    QStringList expected;
    for (int id : cols.mid(0, 3))
        expected.append(QStringLiteral("C%1").arg(id));
    QCOMPARE(visualTitles(view), expected);
}

void TestCols::changeSize_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<int>("section");
    QTest::addColumn<IntList>("widths");

    QTest::newRow("id 1 hidden: section 1 is id 2") << "SHS" << QStringList{} << 1 << IntList{-1, -1, 80};
    // Moving columns changes their places in the header, not their sections.
    QTest::newRow("reordered view") << "SSS" << QStringList{"up 2", "up 1"} << 2 << IntList{-1, -1, 80};
    QTest::newRow("section past the shown ones: ignored") << "SHS" << QStringList{} << 2 << IntList{-1, -1, -1};
}

void TestCols::changeSize()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(int, section);
    QFETCH(IntList, widths);

    Cols model = declaredModel(declared);
    edit(&model, operations);
    model.changeSize(section, 80);
    QCOMPARE(model.width, widths);
}

QTEST_MAIN(TestCols)
#include "tst_cols.moc"
