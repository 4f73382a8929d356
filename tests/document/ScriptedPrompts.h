#pragma once

#include "document/IAreasPanelSink.h"
#include "document/IDocumentPrompts.h"
#include "document/IDocumentView.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <deque>
#include <optional>

// Answers the document's questions from queues filled by the test, and
// records what was asked. A question the queues hold no answer for goes to
// the fallback when there is one, and fails loudly otherwise.
class ScriptedPrompts : public IDocumentPrompts
{
public:
    IDocumentPrompts* fallback = nullptr;
    std::deque<std::optional<QString>> names;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> openFiles;
    std::deque<std::optional<QString>> saveFiles;
    QStringList asked;
    QStringList errors;
    QStringList filters;

    std::optional<QString> AskName(const QString& caption, const QString& label, const QString& name) override
    {
        asked << QStringLiteral("name:%1|%2|%3").arg(caption, label, name);
        return Take(names, "name", [&](IDocumentPrompts& p) { return p.AskName(caption, label, name); });
    }
    Answer Ask(const QString& question, bool withCancel) override
    {
        asked << (withCancel ? QStringLiteral("ync:") : QStringLiteral("yn:")) + question;
        return Take(answers, "answer", [&](IDocumentPrompts& p) { return p.Ask(question, withCancel); });
    }
    std::optional<QString> AskOpenFileName(const QString& filter, const QString& folder) override
    {
        filters << filter;
        return Take(openFiles, "open file", [&](IDocumentPrompts& p) { return p.AskOpenFileName(filter, folder); });
    }
    std::optional<QString> AskSaveFileName(const QString& filter, const QString& defaultExt) override
    {
        filters << filter + QStringLiteral(" ext:") + defaultExt;
        return Take(saveFiles, "save file",
                    [&](IDocumentPrompts& p) { return p.AskSaveFileName(filter, defaultExt); });
    }
    void ShowError(const QString& message) override
    {
        errors << message;
        if (fallback)
            fallback->ShowError(message);
    }

private:
    template <typename T, typename Ask>
    T Take(std::deque<T>& queue, const char* what, Ask&& ask)
    {
        if (queue.empty() && fallback)
            return ask(*fallback);
        if (queue.empty())
            throw std::logic_error(std::string("unscripted question: ") + what);
        T v = queue.front();
        queue.pop_front();
        return v;
    }
};

struct CountingView : IDocumentView
{
    int updates = 0;
    void OnUpdate() override { ++updates; }
};

struct CountingPanel : IAreasPanelSink
{
    int notifications = 0;
    IDocumentView* lastView = nullptr;
    void NotifyAreasPanel(CTilemontDoc*, IDocumentView* view, bool force) override
    {
        ++notifications;
        lastView = view;
        EXPECT_TRUE(force);
    }
};
