#pragma once
// Snapshot files: a job's display list in a compact, versioned binary form (see
// docs/snapshot.md). The same job always gives the same bytes. Loading checks everything and
// throws EReportException with a message naming the problem; it never trusts a count or a
// length it has not checked against the bytes that remain.
#include <QByteArray>
#include <QString>

#include "engine/DisplayList.h"

// The job snapshot the report systems write into the current folder.
inline constexpr const char* DefaultSnapshotName = "Papyra.RPT";
inline constexpr const char* SnapshotExtension = "snp";

QByteArray SnapshotBytes(const TReportJob& job);
TReportJob ParseSnapshot(const QByteArray& bytes);  // throws EReportException

void SaveSnapshot(const TReportJob& job, const QString& fileName);  // throws EReportException
TReportJob LoadSnapshot(const QString& fileName);                   // throws EReportException
// Cheap check of the header: is this a snapshot file at all?
bool LooksLikeSnapshot(const QByteArray& bytes);
