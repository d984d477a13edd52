#pragma once

// What the build benchmark measures of its own process and of the machine, and its warm
// and cold starts.

#include <QString>
#include <QtGlobal>

namespace orv::bench {

// Cold (root only): writes back and drops the page cache; true when it was dropped.
// Warm: reads every file of `folder` once and writes back what waits, so that nothing of
// the album is left to read or write; false.
//
//   const bool cold = prepare(folder, wantCold);  // false: the figures are warm ones
bool prepare(const QString& folder, bool cold);

// Processor time of every thread of this process so far, in milliseconds.
double processorMilliseconds();

// Bytes this process's read calls have returned so far (/proc/self/io's rchar); 0 when
// unknown.
qint64 bytesReadByThisProcess();

// The load average of the last minute, as /proc/loadavg gives it: "1.52", or "?".
QString loadAverage();

}  // namespace orv::bench
