#include "panels/ThumbnailCache.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

void CThumbnailCache::Show(std::vector<std::pair<QString, QString>> files)
{
    Hide();
    // The original spelling breaks ties, so the order never depends on the
    // file system's.
    std::sort(files.begin(), files.end());
    for (auto& [key, path] : files) {
        auto found = m_mapIndexOfPath.constFind(path);
        int index;
        if (found != m_mapIndexOfPath.constEnd()) {
            index = *found;
        } else {
            index = int(m_vecEntries.size());
            m_mapIndexOfPath.insert(path, index);
            m_vecEntries.push_back(CEntry{path, key, {}, {}, EState::Blank, false, {}});
            m_vecPositionOf.push_back(-1);
        }
        m_vecPositionOf[size_t(index)] = Count();
        m_vecDisplay.push_back(index);
    }
}

void CThumbnailCache::Hide()
{
    m_vecDisplay.clear();
    std::fill(m_vecPositionOf.begin(), m_vecPositionOf.end(), -1);
}

QString CThumbnailCache::ToolTip(int position) const
{
    if (!IsShown(position))
        return QString();
    const CEntry& entry = At(position);
    const QString name = QFileInfo(entry.path).fileName();
    if (entry.state != EState::Ready)
        return name;
    if (!entry.image)
        return QCoreApplication::translate("CThumbnailList", "%1 — not an image").arg(name);
    if (!entry.imageSize.isValid())
        return name;
    return QCoreApplication::translate("CThumbnailList", "%1 — %2 × %3 pixels")
        .arg(name)
        .arg(entry.imageSize.width())
        .arg(entry.imageSize.height());
}
