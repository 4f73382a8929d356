#pragma once

#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <utility>
#include <vector>

// Every file a thumbnail list has shown, with its rendered cell, for the
// life of the list; and which of them the list shows now, in what order.
// Entries are only ever appended, so an entry's index stays valid for
// requests still in flight.
class CThumbnailCache
{
public:
    enum class EState { Blank, Loading, Ready };
    struct CEntry
    {
        QString path; // as the file system spells it: needed to open the file
        QString key;  // what it sorts by
        QPixmap normal, selected;
        EState state = EState::Blank;
        bool image = false;
        QSize imageSize; // invalid when unknown
    };

    // Shows the files, given as (sort key, path), in ascending order of key
    // and then path; a path shown before keeps its entry.
    void Show(std::vector<std::pair<QString, QString>> files);
    void Hide();

    int Count() const { return int(m_vecDisplay.size()); }
    bool IsShown(int position) const { return position >= 0 && position < Count(); }
    int IndexAt(int position) const { return m_vecDisplay[size_t(position)]; }
    // -1 when the entry is not shown.
    int PositionOf(int index) const { return m_vecPositionOf[size_t(index)]; }
    bool IsIndex(int index) const { return index >= 0 && size_t(index) < m_vecEntries.size(); }
    CEntry& Entry(int index) { return m_vecEntries[size_t(index)]; }
    const CEntry& Entry(int index) const { return m_vecEntries[size_t(index)]; }
    const CEntry& At(int position) const { return Entry(IndexAt(position)); }

    // The file name, and once rendered what kind of picture it holds.
    QString ToolTip(int position) const;

private:
    std::vector<CEntry> m_vecEntries;
    QHash<QString, int> m_mapIndexOfPath;
    std::vector<int> m_vecDisplay;    // position -> index
    std::vector<int> m_vecPositionOf; // index -> position
};
