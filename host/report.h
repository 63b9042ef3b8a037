// The start-up report on standard output, before the window opens.
#pragma once

// Makes every later write to standard output visible as soon as it returns,
// also when standard output is a pipe or a file.
void makeReportUnbuffered();
// Banner, version and credit lines, the adapter's name, the resolution and the
// limits, in that order.
void printReport();
