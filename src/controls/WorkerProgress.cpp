#include "WorkerProgress.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <thread>

namespace {

// Makes Cancel raise the flag and leave the window up, saying
// "Cancelling..." with the button disabled, until the work is over: the
// work stops only at its next check, and Qt's own cancel would hide the
// window for the next progress report to bring back without a word.
void StayOpenWhenCancelled(QProgressDialog& progress, std::atomic<bool>& cancel)
{
    // Qt makes this connection by name; only a disconnection by name undoes it.
    QObject::disconnect(&progress, SIGNAL(canceled()), &progress, SLOT(cancel()));
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&progress, &cancel] {
        cancel = true;
        progress.setLabelText(QCoreApplication::translate("CWorkerProgress", "Cancelling..."));
        if (QAbstractButton* button = progress.findChild<QAbstractButton*>())
            button->setEnabled(false);
    });
}

} // namespace

CWorkerProgress::CWorkerProgress(Window window, QWidget* parent) : m_window(std::move(window)), m_pParent(parent)
{
}

void CWorkerProgress::Run(const std::function<void()>& work)
{
    QEventLoop loop;
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QProgressDialog progress(m_window.label, QCoreApplication::translate("CWorkerProgress", "Cancel"), 0,
                             m_window.maximum, m_pParent);
    progress.setWindowTitle(m_window.title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(m_window.showAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    StayOpenWhenCancelled(progress, m_cancel);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (m_poll)
            m_poll(progress);
    });
    poll.start(m_window.pollMs);
    progress.setValue(0);
    loop.exec();
    worker.join();
    poll.stop();
    progress.hide();
}
