#pragma once
// Password protection of finished PDF files: AES-256 (PDF 2.0 security handler, revision 6)
// through libqpdf. The file is rendered first by the engine's own writer and encrypted
// afterwards, so protection does not depend on how the pages were written.
#include <QByteArray>
#include <QString>

// The PDF document encrypted so that it opens only with userPassword. Everything is allowed
// once it is open (printing at full quality included): the password keeps strangers out, not
// the recipient. Throws EReportException when the bytes are not a PDF qpdf can read.
QByteArray EncryptPdf(const QByteArray& pdf, const QString& userPassword);

// Writes the PDF file source encrypted to target; target appears only when the encrypted
// document is complete. Throws EReportException when it cannot be read, encrypted or written.
void EncryptPdfFile(const QString& source, const QString& target, const QString& userPassword);
