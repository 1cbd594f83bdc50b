#pragma once
// The IRS's answers to Bulk TIN Matching, kept beside the payer file in a small file of the
// program's own (NAME.TM25 next to NAME.PR25), so the record files stay as they are. An answer
// belongs to the name and number that were sent: once a payee's name or number changes, the
// answer is no longer the payee's and is dropped.
//
// The file is text, one answer a line after a header line:
//   Papyra TIN matching answers 1
//   TIN;NAME;INDICATOR;YYYY-MM-DD
// with the nine digits and the name as the request sent them and the date of the answer.
#include <QDate>
#include <QSet>
#include <QString>
#include <vector>

#include "storage/RecordLayout.h"
#include "storage/TinRules.h"

class TRecordSet;

// What the IRS answers for one request line, 0 to 8.
constexpr int kMaxTinIndicator = 8;
// "Name and TIN match", "TIN not currently issued", ...; empty for a number outside 0 to 8.
QString TinIndicatorText(int indicator);
// How an answer weighs before filing: a mismatch, a missing or unissued number is an error,
// an invalid or duplicate request a warning (send it again), a match a note.
TFindingLevel TinIndicatorLevel(int indicator);

// The name as Bulk TIN Matching takes it: a person's "First Last", a company's name; accented
// letters without their accents, only letters, digits, spaces, hyphens and ampersands, single
// spaces, at most 40 characters.
QString TinMatchName(const TPayeeRecord& payee);

// What a payee is matched by: its number's nine digits and its name as sent. Tin is empty for a
// payee without a number of nine digits.
struct TTinMatchKey {
  QString Tin;
  QString Name;
  bool operator==(const TTinMatchKey&) const = default;
};
TTinMatchKey TinMatchKeyOf(const TPayeeRecord& payee);
size_t qHash(const TTinMatchKey& key, size_t seed = 0);

struct TTinAnswer {
  TTinMatchKey Key;
  int Indicator = 0;
  QDate Date;
};

class TTinAnswers {
 public:
  // The answers file of a payer file pair, from either file's name.
  static QString FileFor(const QString& payerOrPayeeFile);
  // The answers in file; none when it does not exist. Lines that are not answers are skipped;
  // throws EInOutError when the file cannot be read.
  static TTinAnswers Load(const QString& file);
  // Writes the answers through the safe writer, readable by the user alone; removes the file
  // when there are none. Throws EInOutError.
  void Save(const QString& file) const;

  // The answer for a key; null when there is none.
  const TTinAnswer* Find(const TTinMatchKey& key) const;
  // Adds an answer, replacing one for the same key.
  void Put(const TTinAnswer& answer);
  // Drops the answers whose key no payee has any more; true when one was dropped.
  bool KeepOnly(const QSet<TTinMatchKey>& keys);
  const std::vector<TTinAnswer>& Items() const { return FItems; }

 private:
  std::vector<TTinAnswer> FItems;
};

// The match keys of every payee of a record set (the current payee is current again after).
QSet<TTinMatchKey> PayeeMatchKeys(TRecordSet& payees);

// The answer's line for the payee screen and the check report: "TIN matching of 12/01/2025:
// Name and TIN match (0)".
QString TinAnswerText(const TTinAnswer& answer);
