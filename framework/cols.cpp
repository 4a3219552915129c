#include "cols.h"

#include "desktop.h"
#include "dialogseam.h"
#include "settingsstore.h"

#include <vector>

namespace {

// Every stored field is exactly four characters wide; a value that would need more is
// held to the nearest one that fits.
const int fieldWidth = 4;
const int fieldMin = -999;
const int fieldMax = 9999;

QString layoutKeyPrefix(const QString& section, const QString& list)
{
    // Concatenated as it stands: a section that begins with a slash gives a key that begins
    // with two, and save() and load() meet on the same entries either way.
    return QLatin1Char('/') + section + QLatin1Char('/') + list + QLatin1Char('/');
}

QString field(int value)
{
    return QString::asprintf("%04d", qBound(fieldMin, value, fieldMax));
}

QString encodeList(const QList<int>& list)
{
    QString text = field(int(list.size()));
    for (int value : list)
        text += field(value);
    return text;
}

int fieldValue(const QString& text, int index)
{
    // A field that is not a number counts as 0.
    return QStringView(text).mid(fieldWidth * index, fieldWidth).toInt();
}

enum class Decoded { Nothing, Read, TooLong };

// Reads the counted fields of a stored list into the front of `list`. A string too short
// for a count, a count of 0 or less, or fewer fields than counted reads nothing; more fields
// than the model has columns cannot belong to this model.
Decoded decodeList(const QString& text, QList<int>* list)
{
    if (text.size() <= fieldWidth)
        return Decoded::Nothing;
    const int count = fieldValue(text, 0);
    if (count <= 0 || text.size() < fieldWidth * (count + 1))
        return Decoded::Nothing;
    if (count > list->size())
        return Decoded::TooLong;
    for (int k = 0; k < count; ++k)
        (*list)[k] = fieldValue(text, k + 1);
    return Decoded::Read;
}

// The number of ids before the first -1, or -1 when an id is out of range or an id follows
// a -1.
int leadingIds(const QList<int>& list, int n)
{
    int count = 0;
    while (count < list.size() && list.at(count) != -1) {
        if (list.at(count) < 0 || list.at(count) >= n)
            return -1;
        ++count;
    }
    for (qsizetype i = count; i < list.size(); ++i) {
        if (list.at(i) != -1)
            return -1;
    }
    return count;
}

// Appends an id to a list of ids followed by -1s. A model keeps a free entry wherever an
// operation needs one; a model whose fields were written out of step must still not make
// this write outside the list.
void writeAtFirstFree(QList<int>* list, int id)
{
    const qsizetype free = list->indexOf(-1);
    if (free >= 0)
        (*list)[free] = id;
}

template<typename T>
void copyResized(QList<T>* to, const QList<T>& from, int n)
{
    *to = from;
    to->resize(n);
}

void appendEntries(QString* text, const char* label, const QList<int>& list)
{
    *text += QLatin1String(label);
    for (int value : list)
        *text += QString::asprintf(" %d", value);
}

} // namespace

Cols& Cols::operator=(const Cols& other)
{
    if (this == &other)
        return *this;
    const int n = other.columnCount();
    copyResized(&cols, other.cols, n);
    copyResized(&disp, other.disp, n);
    copyResized(&dispinv, other.dispinv, n);
    copyResized(&hid, other.hid, n);
    copyResized(&titles, other.titles, n);
    copyResized(&width, other.width, n);
    copyResized(&showFlags, other.showFlags, n);
    copyResized(&defTitles, other.defTitles, n);
    copyResized(&defWidth, other.defWidth, n);
    copyResized(&defShow, other.defShow, n);
    return *this;
}

void Cols::add(QString title, bool shown, int columnWidth, bool fromReset)
{
    const int n = columnCount();
    for (QList<int>* list : {&cols, &showFlags, &width, &disp, &dispinv, &hid})
        list->resize(n + 1);
    titles.resize(n + 1);
    if (!fromReset) {
        defTitles.resize(n + 1);
        defShow.resize(n + 1);
        defWidth.resize(n + 1);
    }
    cols[n] = -1;
    disp[n] = -1;
    hid[n] = -1;

    if (shown) {
        // disp's first -1 stands where cols' does, and the new id is larger than every id
        // present, so disp stays ascending.
        const qsizetype i = cols.indexOf(-1);
        cols[i] = n;
        disp[i] = n;
    } else {
        writeAtFirstFree(&hid, n);
    }

    titles[n] = title;
    showFlags[n] = shown ? 1 : 0;
    width[n] = columnWidth;
    if (!fromReset) {
        defTitles[n] = title;
        defShow[n] = shown ? 1 : 0;
        defWidth[n] = columnWidth;
    }
    recount();
}

void Cols::recount()
{
    dispinv.fill(-1);
    for (qsizetype j = 0; j < disp.size(); ++j) {
        const int id = disp.at(j);
        if (id >= 0 && id < dispinv.size())
            dispinv[id] = int(j);
    }
}

void Cols::showDebug()
{
    QString text;
    appendEntries(&text, "cols: ", cols);
    appendEntries(&text, "\ndisp: ", disp);
    appendEntries(&text, "\ndispinv: ", dispinv);
    appendEntries(&text, "\nhid: ", hid);
    appendEntries(&text, "\nshow: ", showFlags);
    Dialogs::warning(nullptr, QString(), text);
}

int Cols::shownCount() const
{
    const qsizetype firstFree = cols.indexOf(-1);
    return firstFree < 0 ? columnCount() : int(firstFree);
}

void Cols::reset()
{
    cols.clear();
    disp.clear();
    dispinv.clear();
    hid.clear();
    titles.clear();
    showFlags.clear();
    width.clear();
    for (qsizetype j = 0; j < defTitles.size(); ++j)
        add(defTitles.at(j), defShow.value(j, 1) != 0, defWidth.value(j, -1), true);
}

// The editing operations ignore a position outside their bounds: a stray call must not
// write outside the lists or break the model for every later reader.

void Cols::hide(int i)
{
    const int n = columnCount();
    if (i < 0 || i >= shownCount())
        return;
    const int id = cols.at(i);
    showFlags[id] = 0;

    const int p = dispinv.at(id);
    if (p >= 0 && p < n) {
        disp.removeAt(p);
        disp.append(-1);
    }
    writeAtFirstFree(&hid, id);
    cols.removeAt(i);
    cols.append(-1);
    recount();
}

void Cols::show(int i)
{
    const int n = columnCount();
    if (i < 0 || i >= n - shownCount())
        return;
    const int id = hid.at(i);
    showFlags[id] = 1;

    qsizetype q = 0;
    while (q < disp.size() && disp.at(q) != -1 && disp.at(q) < id)
        ++q;
    disp.insert(q, id);
    disp.removeLast();

    writeAtFirstFree(&cols, id);
    hid.removeAt(i);
    hid.append(-1);
    recount();
}

void Cols::up(int i)
{
    if (i < 1 || i >= shownCount())
        return;
    cols.swapItemsAt(i - 1, i);
}

void Cols::down(int i)
{
    if (i < 0 || i + 1 >= shownCount())
        return;
    cols.swapItemsAt(i, i + 1);
}

void Cols::save(Desktop* desktop, QString section, QString list, int version) const
{
    if (!desktop)
        return;
    SettingsStore* store = desktop->settings();
    const SettingsStore::Batch oneWrite(store);
    const QString prefix = layoutKeyPrefix(section, list);
    store->writeEntry(prefix + QLatin1String("ver"), version);
    store->writeEntry(prefix + QLatin1String("cols"), encodeList(cols));
    store->writeEntry(prefix + QLatin1String("disp"), encodeList(disp));
    store->writeEntry(prefix + QLatin1String("hid"), encodeList(hid));
    store->writeEntry(prefix + QLatin1String("show"), encodeList(showFlags));
    store->writeEntry(prefix + QLatin1String("width"), encodeList(width));
}

void Cols::load(Desktop* desktop, QString section, QString list, int version)
{
    if (!desktop)
        return;
    SettingsStore* store = desktop->settings();
    const QString prefix = layoutKeyPrefix(section, list);
    const int stored = store->readNumEntry(prefix + QLatin1String("ver"), -1);
    if (stored == -1 || stored != version)
        return;

    // The stored layout is assembled beside the model and taken only as a whole: a layout
    // written for other columns, or edited by hand, must not reach the lists that the view
    // and the items index by these ids.
    Cols loaded(*this);
    loaded.cols.fill(-1);
    loaded.disp.fill(-1);
    loaded.showFlags.fill(0);
    const std::pair<const char*, QList<int>*> items[] = {
        {"cols", &loaded.cols},   {"disp", &loaded.disp},   {"hid", &loaded.hid},
        {"show", &loaded.showFlags}, {"width", &loaded.width},
    };
    for (const auto& [item, target] : items) {
        const QString text = store->readEntry(prefix + QLatin1String(item));
        if (decodeList(text, target) == Decoded::TooLong)
            return;
    }
    if (!loaded.isConsistent())
        return;
    loaded.recount();
    *this = loaded;
}

bool Cols::isConsistent() const
{
    const int n = columnCount();
    for (const QList<int>* list : {&disp, &dispinv, &hid, &showFlags, &width}) {
        if (list->size() != n)
            return false;
    }
    if (titles.size() != n)
        return false;

    const int shown = leadingIds(cols, n);
    const int hidden = leadingIds(hid, n);
    if (shown < 0 || hidden < 0 || leadingIds(disp, n) != shown || shown + hidden != n)
        return false;

    // Each id exactly once in cols or hid, flagged accordingly.
    std::vector<bool> seen(size_t(n), false);
    auto place = [&](int id, int flag) {
        if (seen[size_t(id)] || showFlags.at(id) != flag)
            return false;
        seen[size_t(id)] = true;
        return true;
    };
    for (int j = 0; j < shown; ++j) {
        if (!place(cols.at(j), 1))
            return false;
    }
    for (int j = 0; j < hidden; ++j) {
        if (!place(hid.at(j), 0))
            return false;
    }
    // k ascending ids, all flagged shown: the same set as cols.
    for (int j = 0; j < shown; ++j) {
        if (showFlags.at(disp.at(j)) != 1 || (j > 0 && disp.at(j) <= disp.at(j - 1)))
            return false;
    }
    for (int w : width) {
        if (w < -1)
            return false;
    }
    return true;
}
