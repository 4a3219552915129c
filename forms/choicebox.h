#pragma once

#include "shortenedgrowth.h"
#include "shownline.h"

#include <QComboBox>
#include <QPointer>

#include <optional>

class ListEntryDelegate;
class QFocusEvent;

// A choice box whose entries may be texts the server stores, of any length and holding line
// breaks (shortenedtext.h). A plain box asks its layout for the room of its widest entry;
// this one asks for that room only up to the width of ShortenedText::WidestText average
// characters. It shows its current entry on one line, shortened with an ellipsis where it is
// wider than the room the style gives it, and its opened list shows each entry on one line
// the same way (ListEntryDelegate). While its widest entry needs more room than the
// box asks for, the box grows with its window (ShortenedGrowth), so that a wider window
// shows more of such an entry; it measures its entries at every change once it has shown.
// The box's tool tip, exactly when the box does not show all of its text, and the tool tip
// of an entry the opened list shows shortened, give the whole text (wholetexttip.h). The
// entries themselves, and so the value written back, are never changed. Escape with the
// list open closes the list and nothing else, even where a button of the window has Escape
// for its accelerator.
//
// An editable box holds values or names (makeEditable), and takes a text for one of its
// entries by that one rule wherever it meets one: as its field is left or Return is pressed in
// it, as its list opens and as a text is given to it (ComboBoxes::setCurrentText); it completes
// what is typed by the rule's letter case. Its list opens on the entry equal to the text it
// shows, whatever was typed since an entry was last current, or on none: Return there keeps
// the text, as Escape does.
class ChoiceBox : public QComboBox
{
    Q_OBJECT

public:
    // What an editable box's entries are.
    enum class Entries {
        // Written back exactly as they stand (a mail header, a file pattern): a text is an
        // entry only in that entry's own letters, and nobody's look at the box changes them.
        Values,
        // Names the server compares without regard to letter case (a user, a domain, a set):
        // a text in other letters, or with blanks around it, is that entry, and becomes it, in
        // the entry's letters, as the field is left or Return is pressed in it.
        Names,
    };

    explicit ChoiceBox(QWidget* parent = nullptr);

    // Makes the box editable for entries of that kind. A box made editable otherwise holds
    // values.
    void makeEditable(Entries entries);
    // The entry of box equal to text by box's rule, the one in the same letters first (in a box
    // of names, blanks around the text dropped); -1 for none. A box of the toolkit's own goes by
    // its completer, as it does when its field is left.
    static int entryEqualTo(const QComboBox* box, const QString& text);
    // The name an editable box of names shows: the entry its text is equal to, in the entry's
    // letters, or for a text equal to none that text without the blanks around it.
    static QString nameShown(const QComboBox* box);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

    // The text the box shows at its present size: the current entry (or, with none, the
    // placeholder) on one line, shortened to the room it has. An editable box's line edit
    // holds the current text whole and scrolls through it.
    QString shownText() const;
    // Whether the box shows all of its text at its present size.
    bool showsItAll() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void measureEntriesAgain();
    void followLetterRule();
    void spellTheNameTyped();
    bool leavesTheField(const QFocusEvent* event) const;
    static bool holdsNames(const QComboBox* box);
    void openListOnTheEntryShown();
    void followEntries() const;
    // The widest entry as the toolkit measures it and as the box shows it, in this font.
    struct EntryWidths
    {
        struct Key
        {
            QFont font;
            int dpi;
            QSize iconSize;
            bool operator==(const Key& other) const
            {
                return font == other.font && dpi == other.dpi && iconSize == other.iconSize;
            }
        } key;
        int measured;
        int shown;
        bool icon;           // some entry has one
        bool otherOnOneLine; // some entry shows otherwise on one line than it stands
        std::optional<int> listed; // the widest line of the opened list, once it has opened
    };
    EntryWidths entryWidths() const;
    // The widest line the opened list shows an entry on, as the toolkit measures its list.
    int widestListedLine();
    // A size hint of the toolkit's box (the least one with `least`), as wide as its entries
    // show.
    QSize entriesHint(QSize hint, bool least = false) const;
    void unwrapListDelegate();
    void fitListToItsLines();
    int widthCap() const;
    // Whether the box asks for less room than its widest entry needs.
    bool asksLessThanItsText() const;
    QString wholeText() const;
    // The room the current text has inside the box, in pixels.
    int textRoom() const;

    mutable ShortenedGrowth m_growth{this};
    QPointer<ListEntryDelegate> m_listEntries; // the list's delegate, once the list has opened
    mutable std::optional<EntryWidths> m_entryWidths; // until the entries change
    mutable QPointer<const QAbstractItemModel> m_followed; // whose changes reset them
    // What the style lays the box's text out by.
    struct RoomKey
    {
        QSize size;
        bool noIcon;
        QSize iconSize;
        QFont font;
        int dpi;
        const QStyle* style;
        Qt::LayoutDirection direction;
        bool frame;
        bool operator==(const RoomKey& other) const
        {
            return size == other.size && noIcon == other.noIcon && iconSize == other.iconSize && font == other.font
                   && dpi == other.dpi && style == other.style && direction == other.direction && frame == other.frame;
        }
    };
    mutable RoomKey m_textRoomKey{};
    mutable std::optional<int> m_textRoom;
    mutable ShownLine m_shownLine;
    bool m_shown = false;
    Entries m_entries = Entries::Values;
};
