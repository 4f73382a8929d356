#pragma once

#include <QListWidget>

// The Areas panel's list: one 25-pixel row per area, in the document's
// order, drawn by the panel's own rules (the name 50 pixels in, the
// highlight only behind the text, no focus rectangle).
class CAreaListBox : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 25;
    static constexpr int kTextIndent = 50;

    explicit CAreaListBox(QWidget* parent = nullptr);

    // Replaces every row by one per name, without reporting a change of
    // the current row.
    void SetNames(const QStringList& names);
    // The selected row, or -1.
    int SelectedRow() const;
    // Makes row current (-1: none) without reporting it.
    void SetCurrentRowQuietly(int row);
};
