#pragma once

#include "panels/PreparedSwatch.h"

#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <functional>
#include <mutex>
#include <vector>

// Runs swatch jobs on a private pool and hands each result back on the
// thread that owns the loader. The newest request is served first: after a
// scroll the cells now on screen come before those scrolled away.
class CSwatchLoader : public QObject
{
    Q_OBJECT

public:
    // Called on the owner's thread with the key and cell size of a request.
    using CDelivery = std::function<void(int key, QSize cell, const CPreparedSwatch& swatch)>;

    explicit CSwatchLoader(CDelivery delivery, QObject* parent = nullptr);
    // Drops what has not started and waits for what has: no job outlives
    // the loader, and no delivery arrives after it.
    ~CSwatchLoader() override;

    void Request(int key, QSize cell, CSwatchJob job);
    // Drops the requests no worker has picked up yet and returns their keys;
    // running jobs still deliver.
    std::vector<int> CancelQueued();
    // Requests made and not yet delivered or cancelled.
    int Pending() const { return m_nPending; }

private:
    struct CRequest
    {
        int key = -1;
        QSize cell;
        CSwatchJob job;
    };

    void RunWorker();

    CDelivery m_fnDelivery;
    QThreadPool m_pool;
    std::mutex m_mutex;
    std::vector<CRequest> m_vecQueue; // guarded by m_mutex, newest at the back
    int m_nWorkers = 0;               // guarded by m_mutex
    int m_nPending = 0;               // owner's thread only
};
