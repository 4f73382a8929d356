#include "panels/SwatchLoader.h"

#include "document/ImageCodec.h"

#include <QThread>

CSwatchLoader::CSwatchLoader(CDelivery delivery, QObject* parent)
    : QObject(parent), m_fnDelivery(std::move(delivery))
{
    m_pool.setMaxThreadCount(QThread::idealThreadCount());
    // The first DecodeImage raises the image readers' process-wide allocation
    // limit; doing it here, before any worker runs, keeps that write from
    // racing with a worker's reader.
    DecodeImage(QByteArray(), false);
}

CSwatchLoader::~CSwatchLoader()
{
    CancelQueued();
    m_pool.waitForDone();
}

void CSwatchLoader::Request(int key, QSize cell, CSwatchJob job)
{
    ++m_nPending;
    std::lock_guard lock(m_mutex);
    m_vecQueue.push_back({key, cell, std::move(job)});
    if (m_nWorkers < m_pool.maxThreadCount()) {
        ++m_nWorkers;
        m_pool.start([this] { RunWorker(); });
    }
}

std::vector<int> CSwatchLoader::CancelQueued()
{
    std::vector<CRequest> dropped;
    {
        std::lock_guard lock(m_mutex);
        dropped.swap(m_vecQueue);
    }
    std::vector<int> keys;
    keys.reserve(dropped.size());
    for (const CRequest& request : dropped)
        keys.push_back(request.key);
    m_nPending -= int(keys.size());
    return keys;
}

void CSwatchLoader::RunWorker()
{
    for (;;) {
        CRequest request;
        {
            std::lock_guard lock(m_mutex);
            if (m_vecQueue.empty()) {
                --m_nWorkers;
                return;
            }
            request = std::move(m_vecQueue.back());
            m_vecQueue.pop_back();
        }
        CPreparedSwatch swatch = request.job();
        // Posted to this object: events still queued when it is destroyed
        // are discarded with it.
        QMetaObject::invokeMethod(
            this,
            [this, key = request.key, cell = request.cell, swatch = std::move(swatch)] {
                --m_nPending;
                m_fnDelivery(key, cell, swatch);
            },
            Qt::QueuedConnection);
    }
}
