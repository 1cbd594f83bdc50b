#pragma once
// Password protection of finished PDF files: AES-256 (PDF 2.0 security handler, revision 6)
// through libqpdf. The document is rendered into memory by the engine's own writer and encrypted
// there, so protection does not depend on how the pages were written and the unencrypted
// document never reaches a disk. Safe to call from several threads at once.
#include <QByteArray>
#include <QString>

// The PDF document encrypted so that it opens only with userPassword. Everything is allowed
// once it is open (printing at full quality included): the password keeps strangers out, not
// the recipient. Throws EReportException when the bytes are not a PDF qpdf can read.
QByteArray EncryptPdf(const QByteArray& pdf, const QString& userPassword);
