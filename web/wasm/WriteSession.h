#pragma once
// The page's row of radios written one after another: the result of every
// write goes into one log, which the write window shows while "连续写频" is
// chosen and which can be saved as CSV.
#include "link/WriteLog.h"

WriteLog& TheWriteLog();
