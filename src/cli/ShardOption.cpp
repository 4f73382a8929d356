#include "ShardOption.h"

#include "CliOutput.h"

#include <QtGlobal>
#include <optional>

namespace {

// Far more slices than any cluster runs; it keeps the arithmetic in range.
constexpr int kMaxShards = 1000000;

std::optional<int> Whole(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The slice the scheduler's variables name, counted from 0.
int IndexFromEnvironment(int count)
{
    const auto read = [](const char* name) -> std::optional<int> {
        if (!qEnvironmentVariableIsSet(name))
            return std::nullopt;
        const std::optional<int> value = Whole(qEnvironmentVariable(name));
        if (!value)
            throw CUsageError{QStringLiteral("--shard auto: %1 is \"%2\", not a whole number.")
                                  .arg(QLatin1String(name), qEnvironmentVariable(name))};
        return value;
    };
    int index = 0;
    QString source;
    if (const std::optional<int> task = read("SLURM_ARRAY_TASK_ID")) {
        const int first = read("SLURM_ARRAY_TASK_MIN").value_or(0);
        index = *task - first;
        source = QStringLiteral("SLURM_ARRAY_TASK_ID %1 less SLURM_ARRAY_TASK_MIN %2").arg(*task).arg(first);
    } else if (const std::optional<int> completion = read("JOB_COMPLETION_INDEX")) {
        index = *completion;
        source = QStringLiteral("JOB_COMPLETION_INDEX %1").arg(*completion);
    } else {
        throw CUsageError{QStringLiteral("--shard auto/%1 needs SLURM_ARRAY_TASK_ID or JOB_COMPLETION_INDEX in the "
                                         "environment.")
                              .arg(count)};
    }
    if (index < 0 || index >= count)
        throw CUsageError{QStringLiteral("--shard auto/%1: the slice from %2 is %3, not from 0 to %4.")
                              .arg(count)
                              .arg(source)
                              .arg(index)
                              .arg(count - 1)};
    return index;
}

} // namespace

CShardChoice ParseShard(const QString& text)
{
    const qsizetype slash = text.indexOf(u'/');
    const QString which = slash < 0 ? QString() : text.left(slash);
    const std::optional<int> count = slash < 0 ? std::nullopt : Whole(text.mid(slash + 1));
    if (!count || which.isEmpty() || *count < 1 || *count > kMaxShards)
        throw CUsageError{QStringLiteral("--shard takes K/N (the K-th of N slices, K from 1 to N) or auto/N, not "
                                         "\"%1\".")
                              .arg(text)};
    if (which == QLatin1String("auto"))
        return {IndexFromEnvironment(*count), *count};
    const std::optional<int> k = Whole(which);
    if (!k || *k < 1 || *k > *count)
        throw CUsageError{QStringLiteral("--shard %1: K must be a whole number from 1 to %2.").arg(text).arg(*count)};
    return {*k - 1, *count};
}
