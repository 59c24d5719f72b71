#pragma once

#include <QtGlobal>

// The peak resident memory of this process so far (VmHWM of /proc/self/status), in kB; 0 where
// the system does not tell it.
qint64 PeakMemoryKb();
