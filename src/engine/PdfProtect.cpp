#include "engine/PdfProtect.h"

// qpdf's smart-pointer transition: this file uses std::shared_ptr only.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <QRandomGenerator>
#include <exception>

#include "platform/Exceptions.h"

namespace {
// The owner password is never shown to anyone: a random one leaves the permissions as set.
std::string RandomOwnerPassword() {
  QByteArray bytes(24, Qt::Uninitialized);
  QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()),
                                        bytes.size() / int(sizeof(quint32)));
  return bytes.toHex().toStdString();
}
}  // namespace

QByteArray EncryptPdf(const QByteArray& pdf, const QString& userPassword) {
  try {
    QPDF doc;
    doc.setSuppressWarnings(true);
    doc.processMemoryFile("document.pdf", pdf.constData(), size_t(pdf.size()));
    QPDFWriter writer(doc);
    writer.setOutputMemory();
    const std::string user = userPassword.toStdString();
    const std::string owner = RandomOwnerPassword();
    writer.setR6EncryptionParameters(user.c_str(), owner.c_str(), true, true, true, true, true,
                                     true, qpdf_r3p_full, true);
    writer.write();
    const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(out->getBuffer()), qsizetype(out->getSize()));
  } catch (const std::exception& e) {
    throw EReportException(QStringLiteral("The PDF document cannot be protected: %1")
                               .arg(QString::fromUtf8(e.what())));
  }
}
