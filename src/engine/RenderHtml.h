#pragma once
// The HTML writer: one self-contained file, each page an inline SVG sized in inches, whose user
// units are inches, so texts sit on their baselines with the same anchors as in the PDF.
#include <QByteArray>
#include <QString>

#include "engine/DisplayList.h"

QByteArray HtmlDocument(const TReportJob& job);
void WriteHtml(const TReportJob& job, const QString& fileName);  // throws EReportException
