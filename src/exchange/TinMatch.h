#pragma once
// The IRS's Bulk TIN Matching both ways: the request file of a payer file's payees (a plain text
// file, one "TINTYPE;TIN;NAME;ACCOUNT" line per payee, at most 100,000 lines a file) and the
// results file the IRS returns (each request line with an indicator 0 to 8 added), whose
// answers are kept beside the payer file (TinAnswers.h).
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "storage/RecordLayout.h"
#include "storage/TinAnswers.h"

struct TFormDef;

// The most lines the IRS takes in one request file.
constexpr int kMaxTinMatchLines = 100000;

// 1 EIN, 2 SSN (an ITIN too), 3 unknown: a number whose shape does not fit the payee's kind (an
// SSN's dashes on a company, an EIN's on a person) may be either.
int TinMatchType(const TPayeeRecord& payee);

struct TTinRequestLine {
  int Record = 0;  // the payee's record number, from 1
  int TinType = 3;
  QString Tin;           // nine digits
  QString Name;          // TinMatchName
  QString Account;       // "PAYEE12": the record number, for reading the answer by eye
  QString Text() const;  // "2;123456789;Jane Smith;PAYEE12"
};

struct TTinRequest {
  std::vector<TTinRequestLine> Lines;
  QStringList Left;  // why payees were left out, one line each
  QString Scope;     // which payees it holds: "payees of Forms 1099-DIV, -INT, -MISC and -NEC"
};

// The forms TIN matching serves: those subject to backup withholding.
bool IsTinMatchForm(const TFormDef& form);
// Their short names in the registry's order, joined by sep and the last two by lastSep.
QString TinMatchFormNames(const QString& sep, const QString& lastSep);

// The request for the payees (record i+1 is payees[i]) who file a form subject to backup
// withholding, or only form: one line per payee with a number of nine digits and a name, the
// same number and name only once.
TTinRequest BuildTinRequest(const std::vector<TPayeeRecord>& payees,
                            const TFormDef* only = nullptr);
// The request's files: ASCII, each line ended by CR LF, at most kMaxTinMatchLines lines a file.
std::vector<QByteArray> TinRequestFiles(const TTinRequest& request);
// Where the files go: out itself for one, "NAME-1.txt", "NAME-2.txt" ... beside out for more.
QStringList TinRequestFileNames(const QString& out, int files);
// Writes the files, all or none (through the safe writer); returns their names. Throws
// EInOutError.
QStringList WriteTinRequest(const TTinRequest& request, const QString& out);

// One line of a results file.
struct TTinResultLine {
  int Line = 0;  // in the file, from 1
  int TinType = 0;
  QString Tin;
  QString Name;
  QString Account;
  int Indicator = 0;
};

// What reading a results file into the answers found.
struct TTinResultsReport {
  struct TMatched {
    int Record;
    QString Payee;
    int Indicator;
  };
  std::vector<TMatched> Matched;  // by record
  QStringList Problems;           // lines that are no answer, answers of no payee
  int Lines = 0;                  // answer lines read
  QString Text() const;           // every matched payee with its answer, then the problems
};

// The bytes of a results file; throws EInOutError when it is missing, not a regular file, larger
// than any results file of 100,000 answers could be, or unreadable.
QByteArray ReadTinResultsFile(const QString& path);

// Reads a results file's bytes: lines that are not a request with an indicator 0 to 8 are
// listed in problems as "Line N: ...".
std::vector<TTinResultLine> ParseTinResults(const QByteArray& bytes, QStringList& problems);

// Puts each answer to the payee of that number and name into answers, dated date, and drops the
// answers no payee has any more.
TTinResultsReport ApplyTinResults(const QByteArray& bytes, const std::vector<TPayeeRecord>& payees,
                                  TTinAnswers& answers, const QDate& date);
