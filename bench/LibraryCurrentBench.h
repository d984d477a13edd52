#pragma once

#include <QStringList>

// library_bench's modes rerun and watch (LibraryCurrentBench.cpp): `args` from the mode's
// name on. Returns the exit status.
int runCurrentBench(const QStringList& args);
