#pragma once
// A form is mostly data: the tables below describe what a form screen shows and edits, which
// named parameters its program-generated report receives, and where its text goes on the
// pre-printed red copy. One interpreter (FormValues, FormPrint, FormScreen) serves every form;
// a form keeps only its validation as code.
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "engine/DisplayList.h"

// Where a text comes from. Field names are those of the payer and payee record layouts; A and B
// name the fields a source uses.
enum class TSrc : uint8_t {
  Literal,         // the text A itself
  PayerText,       // payer field A as stored
  PayerUpper,      // payer field A upper-cased
  PayerJoin,       // payer fields A, a space, B
  PayerJoinUpper,  // the same, upper-cased
  PayeeText,       // payee field A as stored
  PayeeUpper,      // payee field A upper-cased
  PayerName1,      // report: upper PayerName when there is a trade name, else empty
  PayerName2,      // report: upper TradeName, or upper PayerName without a trade name
  PayerFIDN,       // the filer's number: EmpIDNum when a valid EIN, else SocSecNum, never masked
  PayerTIN,        // the same (kept for the red copy tables, which name it so)
  RecipientFIDN,   // SSN_IDNum, masked when MaskSSNOption is on and it is a valid SSN
  RecipientName1,  // upper PayeeName when CompName is filled, else empty
  RecipientName2,  // upper CompName, or upper PayeeName when CompName is blank
  Money,           // payee amount A with ",0.00" when it rounds above zero cents, else empty
  PlainMoney,      // payee amount A with "0.00"
  Flag,            // "X" when payee flag A is set
  IntText,         // payee integer A in decimal
  IntNonZero,      // payee integer A in decimal, empty when 0
  ValidDate,       // payee date A when it is a valid date, else empty
  PayeeNonBlank,   // payee field A as stored, empty when it is blank
  TaxYear,         // "2025"
};

struct TValueDef {
  TSrc Src = TSrc::Literal;
  const char* A = nullptr;
  const char* B = nullptr;
};

// A named parameter of the program-generated report.
struct TParamDef {
  const char* Name;
  TValueDef Value;
};

// ---- screen --------------------------------------------------------------------------------

enum class TCtlKind : uint8_t {
  Money,    // TDollarEdit, 9 dollar digits, 2 cent digits, no currency sign, no minus key
  Check,    // TCheckBoxEdit on a flag
  Filter,   // TFilterEdit on a text field
  IntText,  // TFilterEdit of digits on an integer field (written back through TextToInt)
  Date,     // TDateEdit on a date text field
  Text,     // plain edit on a text field
};

enum TCtlFlag : uint8_t {
  cfNone = 0,
  cfNoTabStop = 1,
  cfUpper = 2,
  cfCenter = 4,
  cfRight = 8,
};

// A box control: its name (the objectName), the caption of its box on the form (what a screen
// reader says for it), kind, record field, limits, and the parameter of the form's report whose
// place on the face it takes.
struct TControlDef {
  const char* Name;
  const char* Caption;
  TCtlKind Kind;
  const char* Field;
  int MaxLength = 0;                 // characters; 0 = the field's width
  const char* ValidChars = nullptr;  // TFilterEdit set, e.g. "[A..Z,0..9,-]"
  uint8_t Flags = cfNone;
  const char* Param = nullptr;  // report parameter (or face box) whose place it takes
  // A place of its own, inches, for a control the report does not print (X < 0: none).
  double X = -1, Y = 0, W = 0;  // left, baseline, width
};

// A read-only label of the screen: the caption of the form's box it fills (nullptr for a label
// that is a caption itself), its text and where it sits.
struct TLabelDef {
  const char* Name;
  const char* Caption;
  TValueDef Value;
  const char* Param;  // report parameter (or face box) whose place it takes
  bool Bold = true;
  TAlign Align = TAlign::Left;
  double X = -1, Y = 0, W = 0;  // a place of its own, as for controls
};

// ---- pre-printed red copy --------------------------------------------------------------------

enum class TCond : uint8_t {
  Always,
  PayeeFlag,         // payee flag A set
  PayeePositive,     // payee amount A > 0 (a plain comparison)
  PayeeIntPositive,  // payee integer A > 0
  PayeeNotBlank,     // payee text A not blank
  PayeeValidDate,    // payee date A valid
  HasTradeName,      // the payer's TradeName not blank
  CompNameBlank,     // the payee's CompName blank
  CompNameFilled,    // the payee's CompName not blank
};

enum class TFit : uint8_t {
  None,   // 12 points
  Text,   // FitFontSize(the printed text, Width)
  Field,  // FitFontSize(the text of FitValue, Width)
  Same,   // the size of the item before (a trade name takes the payer name's size)
};

enum TRedFlag : uint8_t {
  rfNone = 0,
  rfLine = 1,      // printed on the current baseline, set to the row first if it is not there
  rfPushPos = 2,   // printed between PushPos and PopPos (the tax year)
  rfPushFont = 4,  // printed between PushFont and PopFont
};

constexpr double kSameRow = std::numeric_limits<double>::quiet_NaN();

struct TRedCopyItem {
  const char* Item;  // what it is, for listings and tests
  TCond Cond;
  const char* CondField;
  double Column;
  double Row;
  double RowNoTrade;  // row when the payer has no trade name; kSameRow when it does not move
  TValueDef Text;
  uint8_t Flags = rfNone;
  TFit Fit = TFit::None;
  double FitWidth = 0;
  TValueDef FitValue = {};
  TAlign Align = TAlign::Left;
};

struct TRedCopyDef {
  const char* JobTitle;              // the print job's name, e.g. "Form 1099-NEC Report"
  std::span<const double> SlotTops;  // top of each form's slot on a sheet, inches
  std::span<const TRedCopyItem> Items;
};

// ---- a whole form ----------------------------------------------------------------------------

// The part of the sheet a form screen shows, inches from the sheet's top-left corner: the form's
// face with its CORRECTED line and footer. Forms differ in height, so each form gives its own.
struct TScreenArea {
  double Left = 0.4;
  double Top = 0.42;
  double Right = 8.1;
  double Bottom = 4.45;
};

class TFrmFormScreen;

struct TFormDef {
  const char* ClassName;  // "TFrm1099NEC"
  const char* Caption;
  uint8_t FormType;          // a TFormType
  const char* Name;          // "Form 1099-NEC": the print type choice's caption, report titles
  const char* Report;        // "Form1099NEC"
  const char* OffsetPrefix;  // "F1099NEC": the offsets "F1099NECVO" and "F1099NECHO"
  const char* Picture;       // objectName of the form picture, "Form1099NEC"
  const char* Instructions;  // "i1099misc25.pdf"
  const char* NoInstructionsText;
  const char* NoFormsText;
  std::span<const TControlDef> Controls;  // in tab order
  std::span<const TLabelDef> Labels;      // the payer and payee blocks and the form's own
  std::span<const TParamDef> PayerParams;
  std::span<const TParamDef> PayeeParams;
  // Which payees file the form is not the table's: one rule for the count of the Form 1096 and
  // both prints (TFormQualifier in FormTotals).
  TRedCopyDef RedCopy;
  bool TradeNameLine = true;  // the payer block has a trade name line
  TScreenArea ScreenArea = {};
};
