#pragma once
// Jobs to preview: pages that look like a sheet of forms, numbered so tests can tell them apart.
#include <QByteArray>

#include "engine/DisplayList.h"

// pages sheets, each with three small forms whose texts carry the page number.
TReportJob SampleJob(int pages);
// The same as snapshot bytes.
QByteArray SampleSnapshot(int pages);
// A long job of minimal pages (one line of text each), for size tests.
QByteArray LongSnapshot(int pages);
