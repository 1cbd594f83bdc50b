// The registry of forms as a table: every name a form gives (report parameters, face boxes,
// record fields, menu items, help topics, instruction texts) is one that exists and is its own,
// so a misspelt name fails here instead of printing nothing.
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <set>
#include <string_view>

#include "FormsFixture.h"
#include "forms/Form1096.h"
#include "forms/FormRegistry.h"
#include "storage/Globals.h"

namespace {
QList<TReportLayout> Reports() {
  QFile file(SourceProjectFile());
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return TReportProject::ParseProject(file.readAll(), SourceProjectFile());
}

const TReportLayout* FindReport(const QList<TReportLayout>& reports, const char* name) {
  for (const TReportLayout& r : reports)
    if (r.Name == QLatin1String(name)) return &r;
  return nullptr;
}

QSet<QString> ParamNames(const TReportLayout& report) {
  QSet<QString> names;
  for (const TParamField& p : report.Params) names.insert(p.Name);
  return names;
}

// The parameters a form's prints set.
QSet<QString> SetByForm(const TFormDef& form) {
  QSet<QString> names;
  for (const TParamDef& p : form.PayerParams) names.insert(QLatin1String(p.Name));
  for (const TParamDef& p : PayeeParams(form)) names.insert(QLatin1String(p.Name));
  return names;
}

QSet<QString> SetBy1096() {
  QSet<QString> names;
  for (const T1096Param& p : Form1096Params()) names.insert(QLatin1String(p.Name));
  names.insert(QLatin1String(k1096SelectionParam));
  for (const TFormDef* form : FormDefs()) names.insert(QLatin1String(form->Box1096.CheckBox));
  return names;
}

QStringList Sorted(const QSet<QString>& set) {
  QStringList list(set.begin(), set.end());
  list.sort();
  return list;
}

// Fields a value reads from the payee record.
void PayeeFieldsOf(const TValueDef& v, std::set<std::string>& fields) {
  switch (v.Src) {
    case TSrc::PayeeText:
    case TSrc::PayeeUpper:
    case TSrc::Money:
    case TSrc::PlainMoney:
    case TSrc::Flag:
    case TSrc::IntText:
    case TSrc::IntNonZero:
    case TSrc::ValidDate:
    case TSrc::PayeeNonBlank:
      fields.insert(v.A);
      break;
    default:
      break;
  }
}
}  // namespace

// Both ways: a parameter a form sets that its report does not have prints nothing; a parameter
// its report has that no form sets prints empty. The Form 1096 included, and every report of the
// project belongs to a form (but the sample for papyra-batch report).
TEST(FormRegistry, EveryParameterTheFormsSetIsOneTheirReportsHaveAndBack) {
  const QList<TReportLayout> reports = Reports();
  ASSERT_FALSE(reports.isEmpty());
  struct TReportUse {
    const char* Report;
    QSet<QString> Set;
  };
  QList<TReportUse> uses = {{"Form1096", SetBy1096()}};
  for (const TFormDef* form : FormDefs()) uses.append({form->Report, SetByForm(*form)});
  QSet<QString> used = {QStringLiteral("Sample")};
  for (const TReportUse& use : uses) {
    SCOPED_TRACE(use.Report);
    const TReportLayout* report = FindReport(reports, use.Report);
    ASSERT_NE(report, nullptr);
    used.insert(report->Name);
    const QSet<QString> has = ParamNames(*report);
    EXPECT_EQ(Sorted(use.Set - has), QStringList()) << "set, but not in the report";
    EXPECT_EQ(Sorted(has - use.Set), QStringList()) << "in the report, but never set";
  }
  for (const TReportLayout& r : reports) EXPECT_TRUE(used.contains(r.Name)) << r.Name.toStdString();
}

// A box or label of a screen takes the place of a parameter (or a box) of the form's face.
TEST(FormRegistry, EveryScreenPlaceIsOneTheFaceHas) {
  const QList<TReportLayout> reports = Reports();
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->Name);
    const TReportLayout* report = FindReport(reports, form->Report);
    ASSERT_NE(report, nullptr);
    const QStringList boxes = report->BoxNames();
    const QSet<QString> places = ParamNames(*report) + QSet<QString>(boxes.begin(), boxes.end());
    for (const TBoxDef& box : form->Boxes) {
      if (box.Control.Param) {
        EXPECT_TRUE(places.contains(QLatin1String(box.Control.Param))) << box.Control.Param;
      }
    }
    for (const TLabelDef& label : form->Labels) {
      if (label.Param) {
        EXPECT_TRUE(places.contains(QLatin1String(label.Param))) << label.Param;
      }
    }
  }
}

// Every record field a form names is a payee field, and the boxes' and thresholds' fields are the
// form's own: a box in another form's block would write that form's boxes.
TEST(FormRegistry, EveryFieldAFormNamesIsInTheRecordAndItsOwn) {
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->Name);
    std::set<std::string> fields;
    for (const TBoxDef& box : form->Boxes) {
      fields.insert(box.Control.Field);
      EXPECT_EQ(FormDefOfField(box.Control.Field), form) << box.Control.Field;
    }
    for (const TParamDef& p : PayeeParams(*form)) PayeeFieldsOf(p.Value, fields);
    for (const TRedCopyItem& item : form->RedCopy.Items) {
      if (item.CondField) fields.insert(item.CondField);
      PayeeFieldsOf(item.Text, fields);
    }
    for (const char* f : form->Totals.AmountFields) fields.insert(f);
    // A threshold reads amounts of its own form: another's, or a text, would judge it wrongly.
    EXPECT_EQ(form->Threshold.Words == nullptr, form->Threshold.Amounts.empty());
    for (const TThreshold& threshold : form->Threshold.Amounts) {
      EXPECT_NE(threshold.Fields[0], nullptr);
      for (const char* f : threshold.Fields) {
        if (!f) continue;
        fields.insert(f);
        EXPECT_EQ(FormDefOfField(f), form) << f;
        const TFieldDef* field = PayeeLayout().Find(std::string_view(f));
        EXPECT_TRUE(field && field->Rule.Value == TValueKind::Money) << f;
      }
    }
    if (form->Totals.WithheldField) fields.insert(form->Totals.WithheldField);
    for (const std::string& f : fields)
      EXPECT_NE(PayeeLayout().Find(std::string_view(f)), nullptr) << f;
  }
}

// Who files a form is decided by its federal money boxes: a federal box left out of the list lets
// a payee paid only in it go without a form, and a state or local box in it makes a form of a
// state amount alone. Each money box is one or the other, told by its caption.
TEST(FormRegistry, EveryMoneyBoxIsFederalOrStateOrLocal) {
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->Name);
    std::set<std::string> federal(form->Totals.FederalFields.begin(),
                                  form->Totals.FederalFields.end());
    for (const TBoxDef& box : form->Boxes) {
      if (box.Control.Kind != TCtlKind::Money) continue;
      const QString caption = QLatin1String(box.Control.Caption);
      const bool stateOrLocal =
          caption.contains(QLatin1String(" State ")) || caption.contains(QLatin1String(" Local "));
      EXPECT_NE(federal.erase(box.Control.Field) == 1, stateOrLocal) << box.Control.Caption;
    }
    EXPECT_EQ(federal, std::set<std::string>()) << "federal, but no money box of the form";
    if (form->Totals.WithheldField) {
      EXPECT_TRUE(std::ranges::find(form->Totals.FederalFields,
                                    std::string_view(form->Totals.WithheldField)) !=
                  form->Totals.FederalFields.end());
    }
  }
}

// The names by which the program, the user and the tool find a form are each one form's, and
// every spelling of a form finds it.
TEST(FormRegistry, EveryFormIsFoundByItsNamesAndNoNameIsShared) {
  std::set<std::string> tags, names, forms1096, menus, buttons, offsets, screens;
  std::set<int> types, helps;
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->Name);
    EXPECT_EQ(FindFormDef(form->FormType), form);
    EXPECT_EQ(FormDefByName(QLatin1String(form->ShortName)), form);
    const QString shortName = QLatin1String(form->ShortName);
    for (const QString& spelling :
         {shortName, shortName.toLower(), QString(shortName).remove('-'),
          QStringLiteral("Form ") + shortName, shortName.section('-', 1)}) {
      if (!spelling.isEmpty()) {
        EXPECT_EQ(FormDefBySpelling(spelling), form) << spelling.toStdString();
      }
    }
    EXPECT_TRUE(types.insert(form->FormType).second);
    EXPECT_TRUE(tags.insert(form->Tag).second);
    EXPECT_TRUE(names.insert(form->ShortName).second);
    EXPECT_TRUE(forms1096.insert(form->Box1096.CheckBox).second);
    EXPECT_TRUE(menus.insert(form->Menu.Item).second);
    EXPECT_TRUE(buttons.insert(form->Menu.Button).second);
    EXPECT_TRUE(offsets.insert(form->OffsetPrefix).second);
    EXPECT_TRUE(screens.insert(form->ClassName).second);
    EXPECT_TRUE(helps.insert(form->HelpContext).second);
    EXPECT_EQ(FormDefOfField(QStringLiteral("AcctNum%1").arg(form->Tag).toLatin1()), form);
  }
  EXPECT_EQ(FormDefBySpelling(QStringLiteral("W-2")), nullptr);
  EXPECT_EQ(FormDefByName(QStringLiteral("NEC")), nullptr);  // the tool takes the form's name
  EXPECT_EQ(FormDefOfField("PayeeName"), nullptr);
}

// What a form needs beside the program: its help topic, its recipient's instructions, and one
// Help menu item for the IRS instructions it shares with others or has alone.
TEST(FormRegistry, EveryFormHasItsHelpTopicInstructionsAndMenuItem) {
  const QString resources = QStringLiteral(PAPYRA_SOURCE_DIR "/resources/");
  QHash<QString, int> menuItems;
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->Name);
    EXPECT_TRUE(
        QFileInfo::exists(resources + QStringLiteral("help/%1.html").arg(form->HelpContext)));
    EXPECT_TRUE(QFileInfo::exists(
        resources + QStringLiteral("instructions/%1.txt").arg(QLatin1String(form->ShortName))));
    if (form->InstructionsMenu.Item) {
      ++menuItems[QLatin1String(form->Instructions)];
      EXPECT_TRUE(QString::fromLatin1(form->InstructionsMenu.Forms)
                      .split(' ')
                      .contains(QLatin1String(form->ShortName)));
    }
  }
  for (const TFormDef* form : FormDefs())
    EXPECT_EQ(menuItems.value(QLatin1String(form->Instructions)), 1) << form->Instructions;
}
