// The printed report's sensitivity section: the triples whose threat frequency moves Rm
// the most, as a table and the sensitivity window's tornado chart, on a page of their own.
#pragma once

#include "ui/export/ReportSection.h"

ReportSection SensitivitySection();
