#pragma once

#include <QString>

// Which slice of a render's work this process takes: --shard K/N, with K
// counted from 1 (1/N to N/N), or --shard auto/N, with K read from the job
// scheduler's environment: SLURM_ARRAY_TASK_ID (less SLURM_ARRAY_TASK_MIN
// when that is set, so an array numbered from 1 or from 0 alike starts at
// the first slice), else JOB_COMPLETION_INDEX (a Kubernetes Indexed Job,
// counted from 0).
struct CShardChoice
{
    // Counted from 0 here.
    int index = 0;
    int count = 1;

    bool IsWhole() const { return count == 1; }
    // "2/3", counted from 1 as typed.
    QString Describe() const { return QStringLiteral("%1/%2").arg(index + 1).arg(count); }
};

// Reads the value of --shard; raises CUsageError (CliOutput.h) for one it
// cannot take, or for auto/N without a usable index in the environment.
CShardChoice ParseShard(const QString& text);
