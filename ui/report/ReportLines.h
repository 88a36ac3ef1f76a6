#pragma once
// The report's lines live in report/ (no widgets, shared with the command line).
#include "report/ReportLines.h"
