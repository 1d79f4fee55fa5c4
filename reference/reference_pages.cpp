// SPDX-License-Identifier: MIT
#include "reference/reference_pages.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

#include "reference/reference_tables.h"

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
        controls.push_back({.name = std::string(name),
                            .index = int(i),
                            .kind = Kind::kButton,
                            .parent = std::string(parent),
                            .caption = Text(rows[i].caption),
                            .rect = rect_of(int(i))});
    }
}

const std::vector<Control>& NumbersControls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            // clang-format off
            {.name = "imgSwedishNumbers", .kind = Kind::kPicture, .rect = {1440, 120, 1215, 375}},
            {.name = "Frame4", .kind = Kind::kFrame, .caption = "Cardinal numbers", .rect = {120, 600, 4815, 2325}},
            // clang-format on
        };
        AddButtons(c, "cmdCardinals", "Frame4", kCardinalButtons, [](int i) {
            return forms::Rect{600 + 360 * (i % 10), i < 10 ? 240 : 600, 375, 375};
        });
        // clang-format off
        c.insert(c.end(), {
            {.name = "lblCardinals", .kind = Kind::kLabel, .parent = "Frame4", .caption = "Written form:", .rect = {240, 1080, 975, 255}},
            {.name = "txtboxCardinals", .kind = Kind::kTextBox, .parent = "Frame4", .rect = {1200, 1080, 1470, 255}, .style = forms::kReadOnly, .accessible = "Written form of the number"},
            {.name = "Label9", .kind = Kind::kWrapLabel, .parent = "Frame4", .caption = "Other numbers:", .rect = {240, 1560, 735, 375}},
            {.name = "listboxCardinals", .kind = Kind::kList, .parent = "Frame4", .rect = {1200, 1350, 1695, 840}, .accessible = "Other numbers"},
            {.name = "cmdCardinalsNext", .kind = Kind::kButton, .parent = "Frame4", .caption = "&Next", .rect = {3000, 1590, 735, 375}},
            {.name = "cmdCardinalsPrevious", .kind = Kind::kButton, .parent = "Frame4", .caption = "&Previous", .rect = {3840, 1590, 855, 375}},
            {.name = "Frame6", .kind = Kind::kFrame, .caption = "Fractions", .rect = {120, 3000, 4815, 1005}},
        });
        // clang-format on
        AddButtons(c, "cmdFractions", "Frame6", kFractions, [](int i) {
            return forms::Rect{120 + 720 * i, 285, 495, 375};
        });
        // clang-format off
        c.insert(c.end(), {
            {.name = "cmdFractionsInfo", .kind = Kind::kButton, .parent = "Frame6", .caption = "&More Info", .rect = {3360, 285, 1095, 375}},
            {.name = "lblFractions", .kind = Kind::kLabel, .parent = "Frame6", .caption = "Written form:", .rect = {240, 720, 975, 255}},
            {.name = "txtboxFractions", .kind = Kind::kTextBox, .parent = "Frame6", .rect = {1200, 720, 1470, 225}, .style = forms::kReadOnly, .accessible = "Written form of the fraction"},
        });
        // clang-format on
        return c;
    }();
    return controls;
}

const std::vector<Control>& OrdinalsControls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            {.name = "imgOrdinalNumbers", .kind = Kind::kPicture, .rect = {1440, 240, 1215, 375}},
        };
        // Row by row, the left column's label and button, then the right's, so
        // the keyboard reads the page as the eye does.
        for (int row = 0; row < 10; ++row) {
            for (const int i : {row, row + 10}) {
                const int top = 960 + 240 * (i % 10);
                const bool left = i < 10;
                c.push_back({.name = "Label5",
                             .index = i,
                             .kind = Kind::kLabel,
                             .caption = Text(kOrdinalsEnglish[i]),
                             .rect = {left ? 360 : 2520, top, left ? 705 : 975, 255}});
                c.push_back({.name = "Command1",
                             .index = i,
                             .kind = Kind::kButton,
                             .caption = Text(kOrdinals[i].caption),
                             .rect = {left ? 1080 : 3600, top, 975, 255}});
            }
        }
        c.push_back({.name = "lblOrdinals",
                     .kind = Kind::kWrapLabel,
                     .caption = Text(kOrdinalsNote),
                     .rect = {360, 3480, 4215, 495}});
        return c;
    }();
    return controls;
}

const std::vector<Control>& MathControls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            // clang-format off
            {.name = "imgBasicMath", .kind = Kind::kPicture, .rect = {1440, 240, 1215, 375}},
            {.name = "frmOperators", .kind = Kind::kFrame, .caption = "Operators", .rect = {240, 720, 4575, 735}},
            // clang-format on
        };
        AddButtons(c, "cmdOperators", "frmOperators", kOperators, [](int i) {
            return forms::Rect{120 + 360 * i, 240, 255, 315};
        });
        // A hyphen at the window's size is too slight to read as minus.
        std::find_if(c.begin(), c.end(), [](const Control& row) {
            return row.name == "cmdOperators" && row.caption == "-";
        })->point_size = 9.75;
        // clang-format off
        c.insert(c.end(), {
            {.name = "lblWrittenForm", .kind = Kind::kLabel, .parent = "frmOperators", .caption = "Written form:", .rect = {2040, 360, 975, 255}},
            {.name = "txtboxOperators", .kind = Kind::kTextBox, .parent = "frmOperators", .rect = {3000, 360, 1215, 195}, .style = forms::kReadOnly, .accessible = "Written form of the operator"},
            {.name = "frmSeparators", .kind = Kind::kFrame, .caption = "Separators", .rect = {240, 1560, 4575, 975}},
            {.name = "Label7", .kind = Kind::kWrapLabel, .parent = "frmSeparators", .caption = Text(kSeparatorsNote), .rect = {135, 225, 4335, 690}},
            {.name = "Expressions", .kind = Kind::kFrame, .caption = "Expressions", .rect = {240, 2640, 4575, 1095}},
        });
        // clang-format on
        const forms::Rect expression_rects[] = {
            {120, 240, 975, 375}, {1560, 240, 1215, 375}, {3240, 240, 1215, 375}};
        AddButtons(c, "cmdExpressions", "Expressions", kExpressions,
                   [&](int i) { return expression_rects[i]; });
        // clang-format off
        c.insert(c.end(), {
            {.name = "Label8", .kind = Kind::kLabel, .parent = "Expressions", .caption = "Written form:", .rect = {120, 720, 975, 255}},
            {.name = "txtboxExpressions", .kind = Kind::kTextBox, .parent = "Expressions", .rect = {1200, 720, 3255, 195}, .style = forms::kReadOnly, .accessible = "Written form of the expression"},
        });
        // clang-format on
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

void Play(Speaker& speaker, const ReferenceRow& row) {
    speaker.PlayNumber(row.clip, row.category);
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
        form.RequireText(box, Text(row.written_form));
    }
}

}  // namespace

NumbersPage::NumbersPage(QWidget* frame, Speaker& speaker, forms::HelpTopic help)
    : Page(frame), speaker_(speaker) {
    form_.Add(NumbersControls());
    cardinal_box_ = form_.Get<QLineEdit>("txtboxCardinals");
    fraction_box_ = form_.Get<QLineEdit>("txtboxFractions");
    list_ = form_.Get<QListWidget>("listboxCardinals");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(false);
    RequireForms(form_, cardinal_box_, kCardinalButtons);
    RequireForms(form_, cardinal_box_, kCardinalList);
    RequireForms(form_, fraction_box_, kFractions);
    for (const ReferenceRow& row : kCardinalList) {
        form_.RequireText(list_, Text(row.caption));
    }
    ConnectArray(form_, "cmdCardinals", kCardinalButtons.size(), this,
                 [this](std::int16_t i) { cmdCardinals_Click(i); });
    ConnectArray(form_, "cmdFractions", kFractions.size(), this,
                 [this](std::int16_t i) { cmdFractions_Click(i); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { listboxCardinals_Click(); });
    connect(form_.Get<QPushButton>("cmdCardinalsNext"), &QPushButton::clicked, this,
            [this] { cmdCardinalsNext_Click(); });
    connect(form_.Get<QPushButton>("cmdCardinalsPrevious"), &QPushButton::clicked, this,
            [this] { cmdCardinalsPrevious_Click(); });
    connect(form_.Get<QPushButton>("cmdFractionsInfo"), &QPushButton::clicked, this,
            [help = std::move(help)] { help(kFractionsContext); });
}

void NumbersPage::Load() {
    CardinalCount = static_cast<std::int16_t>(kCardinalList.size());
    for (std::int16_t i = 0; i < CardinalCount; ++i) {
        list_->addItem(Text(kCardinalList[std::size_t(i)].caption));
    }
    if (list_->count() > 0) {
        list_->item(0)->setSelected(false);
    }
    list_->setCurrentRow(-1);
}

void NumbersPage::cmdCardinals_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kCardinalButtons, Index)) {
        Show(cardinal_box_, row->written_form);
        Play(speaker_, *row);
    }
}

void NumbersPage::listboxCardinals_Click() {
    const int selected = SelectedRow();
    const QString text = selected < 0 ? QString() : list_->item(selected)->text();
    // Found by its text, not its place in the list.
    for (const ReferenceRow& row : kCardinalList) {
        if (Text(row.caption) == text) {
            Show(cardinal_box_, row.written_form);
            Play(speaker_, row);
            return;
        }
    }
}

int NumbersPage::SelectedRow() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
}

void NumbersPage::cmdCardinalsNext_Click() {
    const int k = SelectedRow();
    list_->setCurrentRow(k < CardinalCount - 1 ? k + 1 : 0);
}

void NumbersPage::cmdCardinalsPrevious_Click() {
    const int k = SelectedRow();
    list_->setCurrentRow(k <= 0 ? CardinalCount - 1 : k - 1);
}

void NumbersPage::cmdFractions_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kFractions, Index)) {
        Show(fraction_box_, row->written_form);
        Play(speaker_, *row);
    }
}

OrdinalsPage::OrdinalsPage(QWidget* frame, Speaker& speaker) : Page(frame), speaker_(speaker) {
    form_.Add(OrdinalsControls());
    ConnectArray(form_, "Command1", kOrdinals.size(), this,
                 [this](std::int16_t i) { Command1_Click(i); });
}

void OrdinalsPage::Command1_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kOrdinals, Index)) {
        Play(speaker_, *row);
    }
}

MathPage::MathPage(QWidget* frame, Speaker& speaker) : Page(frame), speaker_(speaker) {
    form_.Add(MathControls());
    operator_box_ = form_.Get<QLineEdit>("txtboxOperators");
    expression_box_ = form_.Get<QLineEdit>("txtboxExpressions");
    RequireForms(form_, operator_box_, kOperators);
    RequireForms(form_, expression_box_, kExpressions);
    ConnectArray(form_, "cmdOperators", kOperators.size(), this,
                 [this](std::int16_t i) { cmdOperators_Click(i); });
    ConnectArray(form_, "cmdExpressions", kExpressions.size(), this,
                 [this](std::int16_t i) { cmdExpressions_Click(i); });
}

void MathPage::cmdOperators_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kOperators, Index)) {
        Show(operator_box_, row->written_form);
        Play(speaker_, *row);
    }
}

void MathPage::cmdExpressions_Click(std::int16_t Index) {
    if (const ReferenceRow* row = Row(kExpressions, Index)) {
        Show(expression_box_, row->written_form);
        Play(speaker_, *row);
    }
}

}  // namespace talmo
