#pragma once
// Carrying last year's payer files into this year's format. Names, addresses, identification
// numbers, account numbers and the payer's password come across byte for byte; every amount and
// every form box starts empty. The prior-year files are only read.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

#include "storage/RecordLayout.h"

constexpr int PriorPayerRecSize = 448;
constexpr int PriorPayeeRecSize = 1528;

// Last year's payer record had this year's layout. Last year's payee record shares this year's
// common part (bytes 0 to 439) and then holds last year's form blocks.
const TRecordLayout& PriorPayerLayout();
const TRecordLayout& PriorPayeeLayout();

// The fields carried over, by their name in the prior-year layout. A prior-year field that this
// year's layout does not name (a spare byte between flags) lands at the same offset.
std::span<const char* const> TransferredPayerFields();
std::span<const char* const> TransferredPayeeFields();

// This year's records made from last year's bytes: the carried fields byte for byte (texts cut
// to their width), everything else zero. A transferred payee remembers its 1-based position.
// The fields made from others are made again (a taxpayer number of bare digits gets its
// dashes), and a carried value that this year's record may not hold (a damaged text, a ZIP
// code of four digits) is left empty: each is added to leftEmpty as "field "value" reason".
TPayerRecord TransferPayerRecord(const uint8_t* prior, QStringList* leftEmpty = nullptr);
TPayeeRecord TransferPayeeRecord(const uint8_t* prior, int32_t recNo,
                                 QStringList* leftEmpty = nullptr);

struct TTransferFiles {
  QString OldPayer, OldPayee, NewPayer, NewPayee;
};
// priorFolder and dataFolder end with a delimiter; name is a ".PR24" file name.
TTransferFiles TransferFileNames(const QString& priorFolder, const QString& name,
                                 const QString& dataFolder);

// The ".PR24" file names in priorFolder, sorted by name, each with a leading "*" when
// dataFolder already holds its ".PR25" file.
QStringList PriorYearPayerFiles(const QString& priorFolder, const QString& dataFolder);

// Writes this year's payer file pair for one prior-year payer file. False when the new payer
// file exists and noOverwrite is set (nothing is written). A file that cannot be read or
// written raises EInOutError; each new file is replaced whole or not at all, and the payer
// file, which marks the pair as transferred, is written only after the payee file. Values left
// empty are added to leftEmpty, each line naming the file, the payer or payee and the field.
bool TransferPayerFile(const QString& priorFolder, const QString& name, const QString& dataFolder,
                       bool noOverwrite, QStringList* leftEmpty = nullptr);
