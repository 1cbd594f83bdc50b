#pragma once
// Snapshot files: a job's display list in a compact, versioned binary form (see
// docs/snapshot.md). The same job always gives the same bytes. Loading checks everything and
// throws EReportException with a message naming the problem; it never trusts a count or a
// length it has not checked against the bytes that remain.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

#include "engine/DisplayList.h"

// The job snapshot the report systems write into the program's runtime folder.
inline constexpr const char* DefaultSnapshotName = "Papyra.RPT";
inline constexpr const char* SnapshotExtension = "snp";

QByteArray SnapshotBytes(const TReportJob& job);
TReportJob ParseSnapshot(const QByteArray& bytes);  // throws EReportException

void SaveSnapshot(const TReportJob& job, const QString& fileName);  // throws EReportException
TReportJob LoadSnapshot(const QString& fileName);                   // throws EReportException
// Cheap check of the header: is this a snapshot file at all?
bool LooksLikeSnapshot(const QByteArray& bytes);

// Reads a snapshot's directory at once and its pages when asked for, so a preview of a long
// job shows page 1 without reading or decoding every page: a file opened by name is read page
// by page from its open handle. Each page is checked (checksum and contents)
// when it is first read; a damaged page throws EReportException.
class TSnapshotReader {
 public:
  TSnapshotReader() = default;
  void Open(const QString& fileName);  // throws EReportException
  void OpenBytes(const QByteArray& bytes, const QString& nameForMessages = QString());
  bool IsOpen() const { return FOpen; }
  int PageCount() const { return int(FPages.size()); }
  QString Title() const { return FTitle; }
  double PageWidth() const { return FWidth; }
  double PageHeight() const { return FHeight; }
  const QList<TFontSpec>& Fonts() const { return FFonts; }  // every font the pages use
  const TPage& Page(int index);     // 0-based; throws for a damaged page or a bad index
  TPage ReadPage(int index) const;  // the same without keeping the page (streaming)
  TReportJob ReadAll();             // every page
  QByteArray Bytes() const;         // the whole snapshot as stored; throws when unreadable

 private:
  struct TPageRef {
    qint64 Offset = 0;
    quint32 Length = 0;
    quint32 Crc = 0;
    bool Loaded = false;
    TPage Page;
  };
  quint32 ReadHeader(const QByteArray& head, qint64 fileSize) const;
  void ReadDirectory(const QByteArray& bytes, qint64 fileSize);
  QByteArray PageBytes(const TPageRef& ref) const;

  QByteArray FBytes;             // a snapshot opened from bytes
  std::shared_ptr<QFile> FFile;  // or from a file, read on demand
  QString FName;
  bool FOpen = false;
  double FWidth = 0, FHeight = 0;
  QString FTitle;
  QList<TFontSpec> FFonts;
  QList<TPageRef> FPages;
};

// CRC-32 (IEEE 802.3), as the snapshot format uses it.
quint32 SnapshotCrc32(const char* data, qsizetype length);
