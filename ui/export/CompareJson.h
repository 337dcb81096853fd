// The comparison of two assessments as the report's "compare" object.
#pragma once

#include "ui/export/ReportJson.h"

#include <string>

struct AssessmentComparison;

// `otherPath` is the other file as given on the command line. Items only in one file have
// null on the other side; numbers are those of a plain report of each file.
ReportJson CompareJson(const AssessmentComparison& comparison, const std::string& otherPath);
