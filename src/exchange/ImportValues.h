#pragma once
// A spreadsheet cell read as a value of a payee field, as users and their programs write it:
// amounts with either decimal symbol, dates in the order chosen, check marks in many words,
// texts whose line breaks a spreadsheet kept. Whether the value may be stored is the record
// model's judgement (RecordModel.h), not this file's.
#include <QString>
#include <optional>
#include <variant>

#include "exchange/PayeeExchange.h"
#include "storage/RecordModel.h"

// A value, or why the cell holds none.
struct TCellValue {
  std::optional<TFieldValue> Value;
  QString Problem;  // worded to follow the quoted cell: "is not an amount"
};

TCellValue ReadAmount(const QString& cell, QChar decimal);
TCellValue ReadFlag(const QString& cell);
TCellValue ReadWhole(const QString& cell, bool percent);
// A date as MM/DD/YYYY; blank, or the date box's empty mask, as they are.
TCellValue ReadDate(const QString& cell, TDateOrder order);
// A text as its field keeps it: line breaks and the spaces around them made one space, then
// trimmed (and in capitals) as the field keeps it.
QString CellText(const TFieldDef& field, const QString& cell);

// The decimal symbol the amounts of a file show: '.' or ',' when the cells say so, nullopt when
// none tells ("1,234" may be either); both kinds of cell set conflict.
struct TDecimalEvidence {
  bool Point = false;
  bool Comma = false;
  QString PointCell, CommaCell;  // the first cell of each kind, for the message
  void Add(const QString& cell);
};

// A number a spreadsheet showed in scientific notation ("1.23457E+11"), whose digits are lost.
bool IsScientific(const QString& cell);
// A ZIP code or taxpayer number that most likely lost its leading zero in a spreadsheet ("2134",
// "12345678"), and the value with it; nullopt when the cell is no such case.
std::optional<QString> LeadingZeroRepair(const TFieldDef& field, const QString& cell);
