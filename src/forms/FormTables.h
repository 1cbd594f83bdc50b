#pragma once
// A form is mostly data: the tables below describe what a form screen shows and edits, which
// named parameters its program-generated report receives, and where its text goes on the
// pre-printed red copy. One interpreter (FormValues, FormPrint, FormScreen) serves every form;
// a form keeps only its validation as code.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "core/EntryChecks.h"
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
  NoParam,         // nothing: a box that sets no report parameter
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
// place on the face it takes. Without limits of its own the control takes its field's: the
// field's width (or the digits of its largest number) and the characters its rule admits.
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

// ---- one box, once ----------------------------------------------------------------------------

// How a box prints on the pre-printed red copy: which item it is, when it prints, where and as
// what. The field is the box's own; a box without an item is not on the red copy.
struct TRedCell {
  const char* Item = nullptr;
  TCond Cond = TCond::Always;  // a condition on the box's field, or Always
  double Column = 0;
  double Row = 0;
  TSrc Text = TSrc::PayeeText;  // the box's field as it prints; Literal prints "X"
  uint8_t Flags = rfNone;
  TFit Fit = TFit::None;
  double FitWidth = 0;
  TAlign Align = TAlign::Left;
};

// One box of a form, described once: the screen's control (its Field the record field, its Param
// the report parameter whose place it takes), how the report prints the field into that parameter
// (TSrc::NoParam: the box sets none), and its cell on the red copy.
struct TBoxDef {
  TControlDef Control;
  TSrc Print = TSrc::NoParam;
  TRedCell Red = {};
};

// The red copy item of a box.
constexpr TRedCopyItem RedBox(const TBoxDef& box) {
  const TRedCell& r = box.Red;
  const char* field = box.Control.Field;
  const TValueDef text =
      r.Text == TSrc::Literal ? TValueDef{TSrc::Literal, "X"} : TValueDef{r.Text, field};
  return {r.Item,     r.Cond,  r.Cond == TCond::Always ? nullptr : field,
          r.Column,   r.Row,   kSameRow,
          text,       r.Flags, r.Fit,
          r.FitWidth, {},      r.Align};
}

// ---- a whole form ----------------------------------------------------------------------------

// The part of the sheet a form screen shows, inches from the sheet's top-left corner: the form's
// face with its CORRECTED line and footer. Forms differ in height, so each form gives its own.
struct TScreenArea {
  double Left = 0.4;
  double Top = 0.42;
  double Right = 8.1;
  double Bottom = 4.45;
};

// The main window's command for the form: its Forms menu item and its tool button.
struct TFormMenu {
  const char* Item;     // "Mnu1099NEC"
  const char* Caption;  // "1099-&NEC"
  const char* Button;   // "Btn1099NEC"
  const char* Hint;     // "Edit Form 1099-NEC"
  const char* Glyph;    // "form:1099 NEC"
};

// The Help menu's item for the IRS instructions the form's Help button opens. Forms that share
// their instructions share the item: only the first of them names it.
struct TInstructionsMenu {
  const char* Item = nullptr;     // "MnuForm1099MISC"
  const char* Caption = nullptr;  // "Form 1099-&MISC/NEC"
  const char* Forms = nullptr;    // "1099-MISC 1099-NEC": the IRS pages offered when it is missing
};

// What the totals scan adds up for the form and who files it: the payee fields whose sum is the
// amount the Form 1096 adds, the box of federal income tax withheld (null when the form has
// none), every money box of the form's federal part (the withheld box included, the state and
// local boxes not), and the direct-sales check box (null when the form has none).
struct TFormTotals {
  std::span<const char* const> AmountFields;
  const char* WithheldField = nullptr;
  std::span<const char* const> FederalFields = {};
  const char* DirectSalesFlag = nullptr;
};

// An amount from which the IRS requires the form for the year: a box, or boxes added together
// (up to four, the rest null), and the least they must reach (0.01: any amount at all).
struct TThreshold {
  std::array<const char*, 4> Fields;
  double Least;
};

// The thresholds of a form, any one of which makes it required, and what a note names them by.
// A form without thresholds gets no note: it is required at any amount.
struct TFilingThreshold {
  const char* Words = nullptr;  // "$600 of nonemployee compensation"
  std::span<const TThreshold> Amounts = {};
};

// The form's type box on the Form 1096: its check box (and report parameter), the code the form
// prints under it, and where its "X" goes on the red copy.
struct TForm1096Box {
  const char* CheckBox;  // "CB1099NEC"
  const char* Code;      // "71"
  double RedCopyX;       // column of the "X"
  double RedCopyRow;     // row of the "X" (4.17 or 4.75)
};

// What a form screen adds to the family's screen beyond the tables.
enum class TScreenExtra : uint8_t {
  None,
  DistCodeList,  // box 7 of the 1099-R: the distribution code list on a double-click, and its hint
};

using TFormCheck = TCheckResult (*)(const TPayeeEntries& entries);

// Everything the program knows of one per-payee form; the registry (FormRegistry.h) lists them
// and every place that offers, checks, counts, prints or exchanges forms goes through it.
struct TFormDef {
  uint8_t FormType;       // a TFormType: the form's number in CurrentFormType
  const char* Tag;        // "1099NEC": the part of its payee fields' names that tells the form
  const char* ShortName;  // "1099-NEC": the Form 1096's name of it, papyra-batch's --form
  const char* Name;       // "Form 1099-NEC": the print type choice's caption, report titles
  const char* ClassName;  // "TFrm1099NEC": the screen's name
  const char* Caption;    // the screen's title
  int HelpContext;        // the screen's topic of the user guide
  TFormMenu Menu;
  const char* Report;        // "Form1099NEC"
  const char* OffsetPrefix;  // "F1099NEC": the offsets "F1099NECVO" and "F1099NECHO"
  const char* Picture;       // objectName of the form picture, "Form1099NEC"
  const char* Instructions;  // the IRS instructions the Help button opens, "i1099misc25.pdf"
  TInstructionsMenu InstructionsMenu;
  const char* NoInstructionsText;
  const char* NoFormsText;
  TFormCheck Check;  // the screen's validation over a payee's entries (FormChecks.h)
  TFormTotals Totals;
  TForm1096Box Box1096;
  TFilingThreshold Threshold = {};
  // Reports payments subject to backup withholding, the ones IRS TIN Matching serves.
  bool BackupWithholding = false;
  std::span<const TBoxDef> Boxes;     // in tab order
  std::span<const TLabelDef> Labels;  // the payer and payee blocks and the form's own
  std::span<const TParamDef> PayerParams;
  // The recipient block's report parameters; the boxes add their own.
  std::span<const TParamDef> RecipientParams;
  TRedCopyDef RedCopy;
  bool TradeNameLine = true;  // the payer block has a trade name line
  TScreenArea ScreenArea = {};
  TScreenExtra ScreenExtra = TScreenExtra::None;
};
