#include "reference_pages.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

#include "reference_tables.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// One button for each row of a table, as a control array.
template <std::size_t N>
void AddButtons(std::vector<Control>& controls, std::string_view name, std::string_view parent,
                const std::array<ReferenceRow, N>& rows, auto rect_of) {
    for (std::size_t i = 0; i < N; ++i) {
        controls.push_back(
            {name, int(i), Kind::kButton, parent, Text(rows[i].Caption), rect_of(int(i))});
    }
}

const std::vector<Control>& NumbersControls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            {"imgSwedishNumbers", -1, Kind::kPicture, "", "", {1440, 120, 1215, 375}},
            {"Frame4", -1, Kind::kFrame, "", "Cardinal numbers", {120, 600, 4815, 2325}},
        };
        AddButtons(c, "cmdCardinals", "Frame4", kCardinalButtons, [](int i) {
            return forms::Rect{600 + 360 * (i % 10), i < 10 ? 240 : 600, 375, 375};
        });
        c.insert(
            c.end(),
            {
                {"lblCardinals",
                 -1,
                 Kind::kLabel,
                 "Frame4",
                 "Written form:",
                 {240, 1080, 975, 255}},
                {"txtboxCardinals",
                 -1,
                 Kind::kTextBox,
                 "Frame4",
                 "",
                 {1200, 1080, 1470, 255},
                 forms::kReadOnly,
                 {},
                 0,
                 "Written form of the number"},
                {"Label9", -1, Kind::kWrapLabel, "Frame4", "Other numbers:", {240, 1560, 735, 375}},
                {"listboxCardinals",
                 -1,
                 Kind::kList,
                 "Frame4",
                 "",
                 {1200, 1350, 1695, 840},
                 forms::kPlain,
                 {},
                 0,
                 "Other numbers"},
                {"cmdCardinalsNext", -1, Kind::kButton, "Frame4", "&Next", {3000, 1590, 735, 375}},
                {"cmdCardinalsPrevious",
                 -1,
                 Kind::kButton,
                 "Frame4",
                 "&Previous",
                 {3840, 1590, 855, 375}},
                {"Frame6", -1, Kind::kFrame, "", "Fractions", {120, 3000, 4815, 1005}},
            });
        AddButtons(c, "cmdFractions", "Frame6", kFractions, [](int i) {
            return forms::Rect{120 + 720 * i, 285, 495, 375};
        });
        c.insert(
            c.end(),
            {
                {"cmdFractionsInfo",
                 -1,
                 Kind::kButton,
                 "Frame6",
                 "&More Info",
                 {3360, 285, 1095, 375}},
                {"lblFractions", -1, Kind::kLabel, "Frame6", "Written form:", {240, 720, 975, 255}},
                {"txtboxFractions",
                 -1,
                 Kind::kTextBox,
                 "Frame6",
                 "",
                 {1200, 720, 1470, 225},
                 forms::kReadOnly,
                 {},
                 0,
                 "Written form of the fraction"},
            });
        return c;
    }();
    return controls;
}

const std::vector<Control>& OrdinalsControls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            {"imgOrdinalNumbers", -1, Kind::kPicture, "", "", {1440, 240, 1215, 375}},
        };
        // Row by row, the left column's label and button, then the right's, so
        // the keyboard reads the page as the eye does.
        for (int row = 0; row < 10; ++row) {
            for (const int i : {row, row + 10}) {
                const int top = 960 + 240 * (i % 10);
                const bool left = i < 10;
                c.push_back({"Label5",
                             i,
                             Kind::kLabel,
                             "",
                             Text(kOrdinalsEnglish[i]),
                             {left ? 360 : 2520, top, left ? 705 : 975, 255}});
                c.push_back({"Command1",
                             i,
                             Kind::kButton,
                             "",
                             Text(kOrdinals[i].Caption),
                             {left ? 1080 : 3600, top, 975, 255}});
            }
        }
        c.push_back(
            {"lblOrdinals", -1, Kind::kWrapLabel, "", Text(kOrdinalsNote), {360, 3480, 4215, 495}});
        return c;
    }();
    return controls;
}

const std::vector<Control>& MathControls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            {"imgBasicMath", -1, Kind::kPicture, "", "", {1440, 240, 1215, 375}},
            {"frmOperators", -1, Kind::kFrame, "", "Operators", {240, 720, 4575, 735}},
        };
        AddButtons(c, "cmdOperators", "frmOperators", kOperators, [](int i) {
            return forms::Rect{120 + 360 * i, 240, 255, 315};
        });
        // A hyphen at the window's size is too slight to read as minus.
        std::find_if(c.begin(), c.end(), [](const Control& row) {
            return row.name == "cmdOperators" && row.caption == "-";
        })->point_size = 9.75;
        c.insert(c.end(),
                 {
                     {"lblWrittenForm",
                      -1,
                      Kind::kLabel,
                      "frmOperators",
                      "Written form:",
                      {2040, 360, 975, 255}},
                     {"txtboxOperators",
                      -1,
                      Kind::kTextBox,
                      "frmOperators",
                      "",
                      {3000, 360, 1215, 195},
                      forms::kReadOnly,
                      {},
                      0,
                      "Written form of the operator"},
                     {"frmSeparators", -1, Kind::kFrame, "", "Separators", {240, 1560, 4575, 975}},
                     {"Label7",
                      -1,
                      Kind::kWrapLabel,
                      "frmSeparators",
                      Text(kSeparatorsNote),
                      {135, 225, 4335, 690}},
                     {"Expressions", -1, Kind::kFrame, "", "Expressions", {240, 2640, 4575, 1095}},
                 });
        const forms::Rect expression_rects[] = {
            {120, 240, 975, 375}, {1560, 240, 1215, 375}, {3240, 240, 1215, 375}};
        AddButtons(c, "cmdExpressions", "Expressions", kExpressions,
                   [&](int i) { return expression_rects[i]; });
        c.insert(
            c.end(),
            {
                {"Label8", -1, Kind::kLabel, "Expressions", "Written form:", {120, 720, 975, 255}},
                {"txtboxExpressions",
                 -1,
                 Kind::kTextBox,
                 "Expressions",
                 "",
                 {1200, 720, 3255, 195},
                 forms::kReadOnly,
                 {},
                 0,
                 "Written form of the expression"},
            });
        return c;
    }();
    return controls;
}

// Writes the written form and shows it before the clip plays: playing holds
// the thread, so the box is painted now rather than after the sound.
void Show(QLineEdit* box, std::string_view written_form) {
    box->setText(Text(written_form));
    box->repaint();
}

void Play(const SpeechEngine& speech, const ReferenceRow& row) {
    speech.PlayNumber(row.Clip, row.Category);
}

template <std::size_t N>
const ReferenceRow* Row(const std::array<ReferenceRow, N>& rows, std::int16_t index) {
    return index >= 0 && std::size_t(index) < N ? &rows[std::size_t(index)] : nullptr;
}

// Each button of an array runs the array's handler with its index.
template <typename Handler>
void ConnectArray(const forms::Form& form, std::string_view name, std::size_t count, QObject* owner,
                  Handler handler) {
    for (std::size_t i = 0; i < count; ++i) {
        QObject::connect(form.Get<QPushButton>(name, int(i)), &QPushButton::clicked, owner,
                         [handler, i] { handler(std::int16_t(i)); });
    }
}

template <std::size_t N>
void RequireForms(forms::Form& form, QLineEdit* box, const std::array<ReferenceRow, N>& rows) {
    for (const ReferenceRow& row : rows) {
        form.RequireText(box, Text(row.WrittenForm));
    }
}

}  // namespace

NumbersPage::NumbersPage(forms::Form& form, QWidget* page, const SpeechEngine& speech)
    : QObject(page), speech_(speech) {
    form.Add(NumbersControls(), page);
    cardinal_box_ = form.Get<QLineEdit>("txtboxCardinals");
    fraction_box_ = form.Get<QLineEdit>("txtboxFractions");
    list_ = form.Get<QListWidget>("listboxCardinals");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(false);
    RequireForms(form, cardinal_box_, kCardinalButtons);
    RequireForms(form, cardinal_box_, kCardinalList);
    RequireForms(form, fraction_box_, kFractions);
    for (const ReferenceRow& row : kCardinalList) {
        form.RequireText(list_, Text(row.Caption));
    }
    ConnectArray(form, "cmdCardinals", kCardinalButtons.size(), this,
                 [this](std::int16_t i) { cmdCardinals_Click(i); });
    ConnectArray(form, "cmdFractions", kFractions.size(), this,
                 [this](std::int16_t i) { cmdFractions_Click(i); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { listboxCardinals_Click(); });
}

void NumbersPage::FillCardinalList(std::int16_t count) {
    for (std::int16_t i = 0; i < count && std::size_t(i) < kCardinalList.size(); ++i) {
        list_->addItem(Text(kCardinalList[std::size_t(i)].Caption));
    }
    if (list_->count() > 0) {
        list_->item(0)->setSelected(false);
    }
    list_->setCurrentRow(-1);
}

void NumbersPage::cmdCardinals_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kCardinalButtons, Index)) {
        Show(cardinal_box_, row->WrittenForm);
        Play(speech_, *row);
    }
}

void NumbersPage::listboxCardinals_Click() {
    const int selected = SelectedRow();
    const QString text = selected < 0 ? QString() : list_->item(selected)->text();
    // Found by its text, not its place in the list.
    for (const ReferenceRow& row : kCardinalList) {
        if (Text(row.Caption) == text) {
            Show(cardinal_box_, row.WrittenForm);
            Play(speech_, row);
            return;
        }
    }
}

int NumbersPage::SelectedRow() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
}

void NumbersPage::cmdCardinalsNext_Click(std::int16_t count) {
    const int k = SelectedRow();
    list_->setCurrentRow(k < count - 1 ? k + 1 : 0);
}

void NumbersPage::cmdCardinalsPrevious_Click(std::int16_t count) {
    const int k = SelectedRow();
    list_->setCurrentRow(k <= 0 ? count - 1 : k - 1);
}

void NumbersPage::cmdFractions_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kFractions, Index)) {
        Show(fraction_box_, row->WrittenForm);
        Play(speech_, *row);
    }
}

OrdinalsPage::OrdinalsPage(forms::Form& form, QWidget* page, const SpeechEngine& speech)
    : QObject(page), speech_(speech) {
    form.Add(OrdinalsControls(), page);
    ConnectArray(form, "Command1", kOrdinals.size(), this,
                 [this](std::int16_t i) { Command1_Click(i); });
}

void OrdinalsPage::Command1_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kOrdinals, Index)) {
        Play(speech_, *row);
    }
}

MathPage::MathPage(forms::Form& form, QWidget* page, const SpeechEngine& speech)
    : QObject(page), speech_(speech) {
    form.Add(MathControls(), page);
    operator_box_ = form.Get<QLineEdit>("txtboxOperators");
    expression_box_ = form.Get<QLineEdit>("txtboxExpressions");
    RequireForms(form, operator_box_, kOperators);
    RequireForms(form, expression_box_, kExpressions);
    ConnectArray(form, "cmdOperators", kOperators.size(), this,
                 [this](std::int16_t i) { cmdOperators_Click(i); });
    ConnectArray(form, "cmdExpressions", kExpressions.size(), this,
                 [this](std::int16_t i) { cmdExpressions_Click(i); });
}

void MathPage::cmdOperators_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kOperators, Index)) {
        Show(operator_box_, row->WrittenForm);
        Play(speech_, *row);
    }
}

void MathPage::cmdExpressions_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kExpressions, Index)) {
        Show(expression_box_, row->WrittenForm);
        Play(speech_, *row);
    }
}

}  // namespace talmo
