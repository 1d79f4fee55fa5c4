// SPDX-License-Identifier: MIT
#include "forms/form.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace talmo::forms {
namespace {

constexpr double kTwipsPerPixelAt96Dpi = 15.0;

bool WrapFits(const QFontMetrics& fm, const QString& text, const Rect& rect, double scale) {
    const int width = int(std::floor(rect.width * scale));
    const int height = int(std::floor(rect.height * scale));
    const QRect bound = fm.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text);
    return bound.width() <= width && bound.height() <= height;
}

int ButtonMargins(const QWidget* w) {
    const QStyle* style = w->style();
    return style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
}

// A line edit's frame and its text margins, on both sides; a display box
// has only the text margins.
constexpr int kTextBoxMargins = 8;
constexpr int kDisplayMargins = 4;
// The indent of a group box's caption, with room on both sides.
constexpr int kFrameCaptionMargins = 16;

}  // namespace

void Form::Add(std::span<const Control> controls, QWidget* parent) {
    QWidget* base = parent ? parent : root_;
    for (const Control& c : controls) {
        // A control's frame comes before it in the table.
        QWidget* container = c.parent.empty() ? base : Find(c.parent);
        QWidget* widget = CreateControl(c, container);
        widget->setObjectName(QString::fromUtf8(c.name.data(), qsizetype(c.name.size())));
        if (c.index >= 0) {
            widget->setProperty(kIndexProperty, c.index);
        }
        QFont font = widget->font();
        font.setBold((c.style & kBold) != 0);
        if (c.point_size > 0) {
            font.setPointSizeF(c.point_size);
        }
        widget->setFont(font);
        if (c.colour.isValid()) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, c.colour);
            palette.setColor(QPalette::ButtonText, c.colour);
            widget->setPalette(palette);
        }
        if (!c.accessible.isEmpty()) {
            widget->setAccessibleName(c.accessible);
        } else if (c.kind == Kind::kFrame && !c.caption.isEmpty()) {
            // A group inside another would otherwise be announced by the outer one's caption.
            widget->setAccessibleName(ShownText(c.caption));
        }
        if (c.style & kHidden) {
            widget->hide();
        }
        entries_.push_back({widget, c, container});
    }
    // A buddy comes after its label, in keyboard order.
    for (const Control& c : controls) {
        if (!c.buddy.empty()) {
            Get<QLabel>(c.name, c.index)->setBuddy(Find(c.buddy));
        }
    }
}

void Form::RequireText(QWidget* control, const QString& text) {
    required_[control].push_back(text);
}

const Form::Entry* Form::Lookup(std::string_view name, int index) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.control.name == name && e.control.index == index;
    });
    return it == entries_.end() ? nullptr : &*it;
}

bool Form::Has(std::string_view name, int index) const {
    return Lookup(name, index) != nullptr;
}

QWidget* Form::Find(std::string_view name, int index) const {
    if (const Entry* e = Lookup(name, index)) {
        return e->widget;
    }
    throw std::logic_error("the form has no control " + std::string(name) +
                           (index >= 0 ? "(" + std::to_string(index) + ")" : ""));
}

double Form::NeededScale(const Entry& e, double floor) const {
    const Control& c = e.control;
    const QFontMetrics fm(e.widget->font());
    const QString shown = ShownText(c.caption);
    double need_w = 0;  // pixels
    double need_h = 0;
    auto widest = [&](int margins) {
        int widest_text = shown.isEmpty() ? 0 : fm.horizontalAdvance(shown);
        if (const auto more = required_.find(e.widget); more != required_.end()) {
            for (const QString& text : more->second) {
                widest_text = std::max(widest_text, fm.horizontalAdvance(text));
            }
        }
        return widest_text == 0 ? 0.0 : double(widest_text + margins);
    };
    switch (c.kind) {
        case Kind::kButton:
            need_w = widest(ButtonMargins(e.widget));
            need_h = fm.height() + 4;
            break;
        case Kind::kLabel:
            need_w = widest(1);
            need_h = fm.height();
            break;
        case Kind::kTicks: {
            const QStringList words = shown.split(' ', Qt::SkipEmptyParts);
            need_w = words.isEmpty()
                         ? 0
                         : fm.horizontalAdvance(words.front()) +
                               fm.horizontalAdvance(words.back()) + fm.averageCharWidth();
            need_h = fm.height();
            break;
        }
        case Kind::kWrapLabel: {
            // Wider also means fewer lines: find the least scale at which
            // every text it may show, wrapped, fits the height.
            QStringList texts{shown};
            if (const auto more = required_.find(e.widget); more != required_.end()) {
                texts.append(QStringList(more->second.begin(), more->second.end()));
            }
            // Only a label that does not fit at the scale the rest of the form
            // needs is searched for its own, by halving.
            double scale = floor;
            for (const QString& text : texts) {
                if (WrapFits(fm, text, c.rect, scale)) {
                    continue;
                }
                double low = scale;
                double high = scale * 8;
                while (high / low > 1.001) {
                    const double middle = (low + high) / 2;
                    (WrapFits(fm, text, c.rect, middle) ? high : low) = middle;
                }
                scale = high;
            }
            return scale;
        }
        case Kind::kTextBox: {
            const bool display = (c.style & kReadOnly) != 0;
            need_w = widest(display ? kDisplayMargins : kTextBoxMargins);
            need_h = fm.height() + (display ? 0 : kTextBoxMargins - 2);
            break;
        }
        case Kind::kFrame:
        case Kind::kPage:
            need_w = widest(kFrameCaptionMargins);
            break;
        case Kind::kList: {
            const QStyle* style = e.widget->style();
            need_w = widest(2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                            style->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
            break;
        }
        case Kind::kTabStrip:
            need_w = static_cast<TabStrip*>(e.widget)->Bar()->sizeHint().width();
            break;
        case Kind::kCheckBox:
            need_w = widest(e.widget->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8);
            need_h = fm.height() + 2;
            break;
        case Kind::kChoice: {
            // Room for the arrow and the frame beside the widest choice.
            const QStyle* style = e.widget->style();
            need_w = widest(style->pixelMetric(QStyle::PM_ScrollBarExtent) +
                            2 * style->pixelMetric(QStyle::PM_ComboBoxFrameWidth) + 12);
            need_h = fm.height() + 6;
            break;
        }
        case Kind::kPicture:
        case Kind::kSlider:
            break;
    }
    return std::max(need_w / c.rect.width, need_h / c.rect.height);
}

double Form::FitScale() const {
    double scale = 1.0 / kTwipsPerPixelAt96Dpi;
    // Wrapped labels last: most fit at the scale the others need.
    for (const bool wrapped : {false, true}) {
        for (const Entry& e : entries_) {
            if ((e.control.kind == Kind::kWrapLabel) == wrapped) {
                scale = std::max(scale, NeededScale(e, scale));
            }
        }
    }
    // A little air, and a round figure, so rounding to pixels never clips.
    return std::ceil(scale * 1.02 * 1500.0) / 1500.0;
}

void Form::Layout(double pixels_per_twip) {
    scale_ = pixels_per_twip;
    const auto place = [&](QWidget* widget, const Rect& r) {
        const auto px = [&](int twips) { return int(std::lround(twips * scale_)); };
        widget->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
    };
    for (const Entry& e : entries_) {
        place(e.widget, e.control.rect);
    }
    // The keyboard visits the controls in the order of their tables.
    QWidget* previous = nullptr;
    for (const Entry& e : entries_) {
        QWidget* focus =
            e.control.kind == Kind::kTabStrip ? static_cast<TabStrip*>(e.widget)->Bar() : e.widget;
        if (!(focus->focusPolicy() & Qt::TabFocus)) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, focus);
        }
        previous = focus;
    }
}

QSize Form::Scaled(int width, int height) const {
    return {int(std::lround(width * scale_)), int(std::lround(height * scale_))};
}

}  // namespace talmo::forms
