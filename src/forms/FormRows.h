#pragma once
// The rows the forms' tables share: the payer and payee blocks as most forms name them, the
// controls built the same way on every screen, and the red copy rows that sit at the same place
// on every form that has them. A form joins these with its own rows; the order of the joined
// table is the order in which the rows are written, which is tab, drawing and printing order.
#include <array>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "forms/FormTables.h"

namespace form_rows_detail {
template <class T, std::size_t N, std::size_t... I>
constexpr std::array<T, sizeof...(I)> Join(const T* a, const T* b, std::index_sequence<I...>) {
  return {(I < N ? a[I] : b[I - N])...};
}
}  // namespace form_rows_detail

// A table of shared rows followed by a form's own, e.g. Join(kCommonLabels, {...}).
template <class T, std::size_t N, std::size_t M>
constexpr std::array<T, N + M> Join(const std::array<T, N>& shared,
                                    const std::type_identity_t<T> (&own)[M]) {
  return form_rows_detail::Join<T, N>(shared.data(), own, std::make_index_sequence<N + M>());
}

// A form's own rows followed by a table of shared rows.
template <class T, std::size_t N, std::size_t M>
constexpr std::array<T, N + M> Join(const std::type_identity_t<T> (&own)[N],
                                    const std::array<T, M>& shared) {
  return form_rows_detail::Join<T, N>(own, shared.data(), std::make_index_sequence<N + M>());
}

template <class T, std::size_t N, std::size_t M>
constexpr std::array<T, N + M> Join(const std::array<T, N>& a, const std::array<T, M>& b) {
  return form_rows_detail::Join<T, N>(a.data(), b.data(), std::make_index_sequence<N + M>());
}

// Shared rows between a form's own: Join({...}, kCommonRecipientParams, {...}).
template <class T, std::size_t K, std::size_t N, std::size_t M>
constexpr std::array<T, K + N + M> Join(const std::type_identity_t<T> (&before)[K],
                                        const std::array<T, N>& shared,
                                        const std::type_identity_t<T> (&after)[M]) {
  return Join(Join(before, shared), after);
}

// ---- screen --------------------------------------------------------------------------------

// The payer's and the payee's blocks: each label takes the place of the report parameter that
// prints the same field.
// clang-format off
inline constexpr std::array<TLabelDef, 6> kCommonPayerLabels = {{
  {"PayerName",     "Payer's name",                      {}, "PayerName1"},
  {"TradeName",     "Payer's name, second line",         {}, "PayerName2"},
  {"Address",       "Payer's street address",            {}, "PayerAddress"},
  {"CityStZip",     "Payer's city, state and ZIP code",  {}, "PayerCityStateZip"},
  {"PhoneNum",      "Payer's telephone no.",             {}, "PayerTelephone"},
  {"EmpIDNum",      "Payer's TIN",                       {}, "PayerFIDN"},
}};

inline constexpr std::array<TLabelDef, 5> kCommonRecipientLabels = {{
  {"SSN_IDNum",     "Recipient's TIN",                   {}, "RecipientFIDN"},
  {"PayeeName",     "Recipient's name",                  {}, "RecipientName1"},
  {"PayeeCompName", "Recipient's name, second line",     {}, "RecipientName2"},
  {"PayeeAddress1", "Recipient's street address",        {}, "RecipientAddress1"},
  {"PayeeAddress2", "Recipient's city, state and ZIP code", {}, "RecipientAddress2"},
}};
// clang-format on

inline constexpr auto kCommonLabels = Join(kCommonPayerLabels, kCommonRecipientLabels);

// ---- boxes ---------------------------------------------------------------------------------

// An amount on the red copy: printed on its row's baseline, only when it holds more than zero.
constexpr TRedCell RedMoney(const char* item, double column, double row, uint8_t flags = rfLine) {
  return {item, TCond::PayeePositive, column, row, TSrc::PlainMoney, flags};
}

// A check mark on the red copy: an "X" when the box is checked.
constexpr TRedCell RedCheck(const char* item, double column, double row, uint8_t flags = rfLine,
                            TAlign align = TAlign::Left) {
  return {item, TCond::PayeeFlag, column, row, TSrc::Literal, flags, TFit::None, 0, align};
}

// An amount box, named after its field, right-aligned like the amount it prints.
constexpr TBoxDef MoneyBox(const char* field, const char* param, const char* caption,
                           TRedCell red = {}) {
  return {{field, caption, TCtlKind::Money, field, 0, nullptr, cfRight, param}, TSrc::Money, red};
}

constexpr TBoxDef CheckBox(const char* field, const char* param, const char* caption,
                           TRedCell red = {}) {
  return {{field, caption, TCtlKind::Check, field, 0, nullptr, cfNone, param}, TSrc::Flag, red};
}

// The CORRECTED box stays out of the tab order, which starts at the first amount; the screen
// gives it a key of its own.
constexpr TBoxDef CorrectedBox(const char* field, double column, double row) {
  return {{"Corrected", "CORRECTED", TCtlKind::Check, field, 0, nullptr, cfNoTabStop, "Corrected"},
          TSrc::Flag,
          RedCheck("CORRECTED", column, row)};
}

// The FATCA filing requirement box.
constexpr TBoxDef FatcaBox(const char* field, const char* caption, double column, double row) {
  return {{"FATCA", caption, TCtlKind::Check, field, 0, nullptr, cfNone, "FATCA"},
          TSrc::Flag,
          RedCheck("FATCA", column, row)};
}

// The account number: capitals, digits and hyphens (its field's rule).
constexpr TBoxDef AcctNumBox(const char* field, double column, double row, uint8_t flags = rfNone) {
  constexpr const char* caption = "Account number (see instructions)";
  return {{field, caption, TCtlKind::Filter, field, 0, nullptr, cfUpper, "AcctNum"},
          TSrc::PayeeText,
          {"Account number", TCond::Always, column, row, TSrc::PayeeText, flags}};
}

// Copy A's "2nd TIN not." box, at (x, baseline) in inches on the screen; the report's parameter
// "SecTINnot" prints on the payer's Copy C only, the red copy has an "X" at (column, row).
constexpr TBoxDef SecondTinBox(const char* field, double x, double baseline, double column,
                               double row) {
  return {{"SecTINnot", "2nd TIN not.", TCtlKind::Check, field, 0, nullptr, cfNone, "SecTINnot", x,
           baseline, 0.17},
          TSrc::Flag,
          RedCheck("2nd TIN not.", column, row)};
}

// A text box: the screen's control of its field, the report's parameter and the red copy cell.
constexpr TBoxDef TextBox(const char* field, const char* param, const char* caption, TCtlKind kind,
                          uint8_t flags, TSrc print, TRedCell red = {}, int maxLength = 0) {
  return {{field, caption, kind, field, maxLength, nullptr, flags, param}, print, red};
}

// ---- report ----------------------------------------------------------------------------------

// clang-format off
inline constexpr std::array<TParamDef, 6> kCommonPayerParams = {{
  {"PayerName1",        {TSrc::PayerName1}},
  {"PayerName2",        {TSrc::PayerName2}},
  {"PayerAddress",      {TSrc::PayerJoinUpper, "Address1", "Address2"}},
  {"PayerCityStateZip", {TSrc::PayerUpper, "CityStZip"}},
  {"PayerTelephone",    {TSrc::PayerText, "PhoneNum"}},
  {"PayerFIDN",         {TSrc::PayerFIDN}},
}};

inline constexpr std::array<TParamDef, 5> kCommonRecipientParams = {{
  {"RecipientFIDN",     {TSrc::RecipientFIDN}},
  {"RecipientName1",    {TSrc::RecipientName1}},
  {"RecipientName2",    {TSrc::RecipientName2}},
  {"RecipientAddress1", {TSrc::PayeeUpper, "Address1"}},
  {"RecipientAddress2", {TSrc::PayeeUpper, "CityStZip"}},
}};
// clang-format on

// ---- pre-printed red copy --------------------------------------------------------------------

// A name shrinks to the size at which the stored name fits its line.
inline constexpr TValueDef kPayerNameFit = {TSrc::PayerText, "PayerName"};
inline constexpr TValueDef kPayeeNameFit = {TSrc::PayeeText, "PayeeName"};

// The payer's block, top left on every form with a trade name line. Without a trade name the
// lines below the name move up one.
// clang-format off
inline constexpr TRedCopyItem kRedPayerName =
  {"Payer name",       TCond::Always,       nullptr, 0.6, 0.5,  kSameRow, {TSrc::PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit};
inline constexpr TRedCopyItem kRedPayerTradeName =
  {"Payer trade name", TCond::HasTradeName, nullptr, 0.6, 0.67, kSameRow, {TSrc::PayerUpper, "TradeName"}, rfNone, TFit::Same};
inline constexpr TRedCopyItem kRedPayerAddress =
  {"Payer address",    TCond::Always,       nullptr, 0.6, 0.84, 0.67,     {TSrc::PayerJoinUpper, "Address1", "Address2"}};
inline constexpr TRedCopyItem kRedPayerCityLine =
  {"Payer city line",  TCond::Always,       nullptr, 0.6, 1.01, 0.84,     {TSrc::PayerUpper, "CityStZip"}};
inline constexpr TRedCopyItem kRedPayerPhone =
  {"Payer phone",      TCond::Always,       nullptr, 0.6, 1.18, 1.01,     {TSrc::PayerText, "PhoneNum"}};
// clang-format on
