#pragma once

#include <QtGlobal>

// While it lives, the offscreen platform's notices of what it cannot do and
// the JPEG reader's complaints about the damaged files the walk offers on
// purpose are dropped: thousands of them would bury anything worth reading.
// Every other message passes.
class CQuietNotices
{
public:
    CQuietNotices();
    ~CQuietNotices();
    CQuietNotices(const CQuietNotices&) = delete;
    CQuietNotices& operator=(const CQuietNotices&) = delete;

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    static inline QtMessageHandler s_previous = nullptr;
};
