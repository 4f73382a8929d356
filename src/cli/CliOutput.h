#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

// Exit statuses shared by every command of the tool.
enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// A command line the tool cannot act on; the message says why. Commands
// catch it, print the message and exit with kUsage.
struct CUsageError
{
    QString message;
};

// One message line on stderr, in the terminal's encoding.
inline void PrintError(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// The bytes on stdout; a failed write (a full disk, a closed pipe) fails
// the command rather than passing unnoticed.
inline int WriteStdout(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? kOk : kFailed;
}
