#pragma once

#include "ProjectCheck.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The check report as the command line prints it, the status bar shows it and build pipelines
// read it.

// "error  frame 3  element 2 (Register)  message"; a frame's own finding names no element,
// the project's parts are "settings", "alarms" and "image".
QString FindingLine(const CheckFinding& finding);

// "1 error, 6 warnings".
QString CountsLine(const CheckReport& report);

// The image's size against the limit, its sections with address and size, and the largest
// pictures, fonts and frames (at most `largest` of each).
QStringList BudgetLines(const ImageBudget& budget, int largest = 5);

// "镜像 812 / 1024 KB".
QString BudgetSummary(const ImageBudget& budget);

// Everything of the report: the counts, every finding and the whole budget.
QJsonObject ReportJson(const CheckReport& report);
