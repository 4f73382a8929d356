#include "GroupProgress.h"

#include <QDir>
#include <cmath>

namespace {

constexpr int kBarWidth = 30;

QString Duration(double seconds)
{
    const qint64 s = std::llround(seconds);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString Describe(const CGroupRenderResult& result)
{
    switch (result.status) {
    case CGroupRenderResult::Status::Written:
        return QStringLiteral("written %1").arg(QDir::toNativeSeparators(result.output));
    case CGroupRenderResult::Status::Skipped:
        return QStringLiteral("skipped: %1").arg(result.message);
    case CGroupRenderResult::Status::Failed:
        return QStringLiteral("failed: %1").arg(result.message);
    case CGroupRenderResult::Status::Cancelled:
        break;
    }
    return QStringLiteral("cancelled: %1").arg(QDir::toNativeSeparators(result.texture));
}

} // namespace

CGroupProgress::CGroupProgress(std::FILE* stream, bool terminal) : m_stream(stream), m_bTerminal(terminal)
{
    m_clock.start();
}

void CGroupProgress::Report(int done, int count, const CGroupRenderResult& result)
{
    if (!m_bTerminal) {
        Print(QStringLiteral("[%1/%2] %3").arg(done).arg(count).arg(Describe(result)));
        return;
    }
    // A written file is what the bar counts; the others need reading.
    if (result.status == CGroupRenderResult::Status::Written) {
        ++m_nWritten;
    } else {
        std::fputs("\r\x1b[K", m_stream);
        Print(Describe(result));
    }
    DrawBar(done, count);
}

void CGroupProgress::Finish()
{
    if (m_bBarShown)
        std::fputs("\n", m_stream);
    m_bBarShown = false;
    std::fflush(m_stream);
}

void CGroupProgress::DrawBar(int done, int count)
{
    const int filled = count > 0 ? kBarWidth * done / count : kBarWidth;
    // Skipped files take no time: the rate counts the images written.
    const double seconds = m_clock.elapsed() / 1000.0;
    const double rate = seconds > 0 ? m_nWritten / seconds : 0.0;
    QString line = QStringLiteral("\r[%1%2] %3/%4")
                       .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char('-')))
                       .arg(done)
                       .arg(count);
    if (rate > 0)
        line += QStringLiteral("  %1/s  %2 left").arg(rate, 0, 'f', 1).arg(Duration((count - done) / rate));
    std::fputs((line + QStringLiteral("\x1b[K")).toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
    m_bBarShown = true;
}

void CGroupProgress::Print(const QString& line)
{
    std::fprintf(m_stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(m_stream);
}
